// Planning settings library: the product root and the files of the planning standards.
#include "ProductPaths.h"

#include "CustomParameterStore.h"
#include "fileutility/PathText.h"

namespace {

// The key under which a drawing names its planning standard, and the standard of drawings that
// name none.
constexpr const wchar_t* kStandardKey = L"规划标准";
constexpr const wchar_t* kDefaultStandard = L"国标";

} // namespace

namespace QV_PATH {

CString FGetCommonQVCADPath()
{
    return planroad::standins::folderText(planroad::standins::configurationRoot());
}

} // namespace QV_PATH

CString CTarnDataSet::FGetStandardName()
{
    OTHERPARAM param;
    param.strValue = kDefaultStandard;
    TarnDB::CCustomDatabase* store = TarnDB::qvGetCustomDatabase();
    if (store == nullptr || !store->GetOtherCustomParam(kStandardKey, &param))
        return kDefaultStandard;
    param.strValue.Trim();
    return param.strValue.IsEmpty() ? CString(kDefaultStandard) : param.strValue;
}

int CTarnDataSet::FGetGStandardOneFilePath(
    CString& path, CString folder, CString fileName, CString standardName, int bMustExist)
{
    const std::filesystem::path root = planroad::standins::configurationRoot();
    standardName.Trim();
    if (root.empty() || standardName.IsEmpty() || fileName.IsEmpty())
        return 0;
    // relative_path() drops a leading separator, so that the folder stays below the standard.
    const std::filesystem::path file = root / "standards"
        / planroad::standins::toPath(standardName).relative_path()
        / planroad::standins::toPath(folder).relative_path()
        / planroad::standins::toPath(fileName).relative_path();
    std::error_code ec;
    if (bMustExist != 0 && !std::filesystem::is_regular_file(file, ec))
        return 0;
    path = planroad::standins::fromPath(file.lexically_normal());
    return 1;
}
