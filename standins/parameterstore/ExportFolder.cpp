// Custom parameter store: the folder remembered for exports.
#include "CustomParameterStore.h"

#include "adscodes.h"

namespace {

constexpr const wchar_t* kExportFolderKey = L"导出文件路径";

} // namespace

namespace TarnCad::Fun {

int FGetVROutFilePath(CString& folder)
{
    OTHERPARAM param;
    if (!TarnDB::qvGetOtherParam(kExportFolderKey, param) || param.strValue.IsEmpty())
        return 0;
    folder = param.strValue;
    return 1;
}

int FSetVROutFilePath(const CString& folder)
{
    OTHERPARAM param;
    param.strValue = folder;
    param.nCode1 = RTSTR;
    return TarnDB::qvSetOtherParam(kExportFolderKey, param);
}

} // namespace TarnCad::Fun
