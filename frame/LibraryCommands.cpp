// "DLDMTK" and "DLFXFTK": hand a fixed entry name to the planning settings library.
#include "StdAfx.h"

#include "CommandHandlers.h"
#include "PlanningSettings.h"

void DldmtkCommand()
{
    CQvSetting::QV_Call_TK_DLHDM(_T("单幅路道路断面"));
}

void DlfxftkCommand()
{
    CQvSetting::QV_Call_TK(_T("道路图库/道路方向符"));
}
