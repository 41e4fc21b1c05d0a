// Planning settings library: the library drawings that "DLDMTK" and "DLFXFTK" ask for.
#include "PlanningSettings.h"

#include "acutads.h"

namespace {

// The library's drawings are not installed yet: say so instead of failing silently.
int reportMissingEntry(const CString& entry)
{
    acutPrintf(L"\n图库条目“%s”不可用：图库未安装。", entry.GetString());
    return 0;
}

} // namespace

int CQvSetting::QV_Call_TK(CString entry)
{
    return reportMissingEntry(entry);
}

int CQvSetting::QV_Call_TK_DLHDM(CString entry)
{
    return reportMissingEntry(entry);
}
