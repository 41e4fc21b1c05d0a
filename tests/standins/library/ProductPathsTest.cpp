// The product family's folders and the planning standards' files, under a session's configuration root.
#include "ProductPaths.h"
#include "CustomParameterStore.h"
#include "FileUtility.h"
#include "LibraryTestSupport.h"
#include "fileutility/PathText.h"

namespace planroad::test {
namespace {

bool endsWithSeparator(const CString& path)
{
    return path.GetLength() > 0
        && (path[path.GetLength() - 1] == L'/' || path[path.GetLength() - 1] == L'\\');
}

TEST(ProductPaths, FoldersEndWithASeparatorAndAreEmptyWithoutARoot)
{
    {
        ConfiguredSession configured {fs::path()};
        EXPECT_TRUE(daroviz::FGetCADCommonFilePath().IsEmpty());
        EXPECT_TRUE(QV_PATH::FGetCommonQVCADPath().IsEmpty());
        CString path = L"untouched";
        EXPECT_EQ(0,
            CTarnDataSet::FGetGStandardOneFilePath(path, L"参数配置\\", L"道路交叉口参数.ini", L"国标", 0));
        EXPECT_EQ(CString(L"untouched"), path);
    }
    ScratchFolder folder;
    ConfiguredSession configured {folder.path() / "配置"};
    const CString common = daroviz::FGetCADCommonFilePath();
    const CString root = QV_PATH::FGetCommonQVCADPath();
    EXPECT_TRUE(endsWithSeparator(common));
    EXPECT_TRUE(endsWithSeparator(root));
    EXPECT_EQ(folder.path() / "配置" / "common", standins::toPath(common).parent_path());
    EXPECT_EQ(folder.path() / "配置", standins::toPath(root).parent_path());
}

TEST(ProductPaths, TheStandardComesFromTheDrawingAndDefaultsToTheNationalOne)
{
    ConfiguredSession configured {repositoryConfig()};
    EXPECT_EQ(CString(L"国标"), CTarnDataSet::FGetStandardName());
    OTHERPARAM param;
    param.strValue = L"  ";
    TarnDB::qvSetOtherParam(L"规划标准", param);
    EXPECT_EQ(CString(L"国标"), CTarnDataSet::FGetStandardName());
    param.strValue = L"地方标准";
    TarnDB::qvSetOtherParam(L"规划标准", param);
    EXPECT_EQ(CString(L"地方标准"), CTarnDataSet::FGetStandardName());
}

// The lookup the corner-cut check makes: the standard's own file, else config\jckdata.ss below the root.
TEST(ProductPaths, TheIntersectionStandardsFileIsFoundWhereTheCheckLooks)
{
    ConfiguredSession configured {repositoryConfig()};
    CString path;
    ASSERT_EQ(1,
        CTarnDataSet::FGetGStandardOneFilePath(
            path, L"参数配置\\", L"道路交叉口参数.ini", CTarnDataSet::FGetStandardName(), 1));
    EXPECT_EQ(1, daroviz::FileExist(path));
    EXPECT_EQ(repositoryConfig() / "standards" / "国标" / "参数配置" / "道路交叉口参数.ini",
        standins::toPath(path));

    // A standard without its own file falls back to the common one.
    CString missing = L"untouched";
    EXPECT_EQ(0,
        CTarnDataSet::FGetGStandardOneFilePath(
            missing, L"参数配置\\", L"道路交叉口参数.ini", L"地方标准", 1));
    EXPECT_EQ(CString(L"untouched"), missing);
    EXPECT_EQ(1,
        CTarnDataSet::FGetGStandardOneFilePath(
            missing, L"参数配置\\", L"道路交叉口参数.ini", L"地方标准", 0));
    EXPECT_EQ(repositoryConfig() / "standards" / "地方标准" / "参数配置" / "道路交叉口参数.ini",
        standins::toPath(missing));
    const CString common = QV_PATH::FGetCommonQVCADPath() + L"config\\jckdata.ss";
    ASSERT_EQ(1, daroviz::FileExist(common));

    // Both files hold the same standard.
    for (const CString& file : {path, common}) {
        daroviz::CIniFile ini;
        ini.SetPath(file);
        ASSERT_EQ(1, ini.ReadFile());
        EXPECT_EQ(CString(L"40"), ini.GetValue(L"道路等级", L"主干路"));
        EXPECT_EQ(CString(L"10"), ini.GetValue(L"切角标准", L"次干路-支路"));
        CStringArray classes;
        CStringArray widths;
        ASSERT_EQ(1, ini.GetValue(L"道路等级", classes, widths));
        ASSERT_EQ(4, classes.GetSize());
        EXPECT_EQ(CString(L"街坊路"), classes.GetAt(3));
        EXPECT_EQ(CString(L"0"), widths.GetAt(3));
    }
}

// Every annotation category of every road object in bzlayer.ini names a layer parameter that a
// drawing without its own gets from the store.
TEST(ProductPaths, TheAnnotationLayerFileNamesTheRoadObjectsAndKnownLayerParameters)
{
    ConfiguredSession configured {repositoryConfig()};
    daroviz::CIniFile ini;
    ini.SetPath(daroviz::FGetCADCommonFilePath() + L"bzlayer.ini");
    ASSERT_EQ(1, ini.ReadFile());
    CStringArray types;
    CStringArray labels;
    ASSERT_EQ(1, ini.GetValue(L"ENT_TYPE", types, labels));
    std::vector<std::wstring> names;
    for (INT_PTR i = 0; i < types.GetSize(); ++i)
        names.emplace_back(types.GetAt(i).GetString());
    EXPECT_EQ((std::vector<std::wstring> {L"FAPP_DLZX", L"FAPP_DLBX", L"FAPP_DLYQJ", L"DLYQJ_XDATA"}), names);
    for (const std::wstring& type : names) {
        for (const wchar_t* category : {L"DIM", L"COR", L"RAD", L"TXT"}) {
            const CString key = ini.GetValue(type.c_str(), category);
            LAYERPARAM layer;
            EXPECT_EQ(1, TarnDB::qvGetLayerParam(key, layer, 1, TarnDB::qvGetQvCustomDatabase()))
                << "no layer parameter for " << standins::toPath(type.c_str()) << " "
                << standins::toPath(category);
            EXPECT_NE(CString(L"0"), layer.strName);
        }
    }
}

} // namespace
} // namespace planroad::test
