// The file utility library: ini files as the product family writes them, folders and file tests.
#include "FileUtility.h"
#include "LibraryTestSupport.h"
#include "fileutility/PathText.h"

namespace planroad::test {
namespace {

using daroviz::CIniFile;

std::vector<std::wstring> items(const CStringArray& list)
{
    std::vector<std::wstring> out;
    for (INT_PTR i = 0; i < list.GetSize(); ++i)
        out.emplace_back(list.GetAt(i).GetString());
    return out;
}

CIniFile read(const fs::path& file)
{
    CIniFile ini;
    ini.SetPath(standins::fromPath(file));
    EXPECT_EQ(1, ini.ReadFile());
    return ini;
}

TEST(IniFile, ReadsUtf8WithAByteOrderMarkCommentsBlankLinesAndCrLf)
{
    ScratchFolder folder;
    const fs::path file = folder.write("标注图层.ini",
        "\xEF\xBB\xBF; 注释\r\n"
        "[ENT_TYPE]\r\n"
        "\r\n"
        "FAPP_DLZX = 道路中线\r\n"
        "# another comment\r\n"
        "FAPP_DLBX=道路边线\r\n"
        "  [ FAPP_DLZX ]  \r\n"
        "RAD=\"FL_BZ_DLQXYS\"\r\n"
        "name with=equals=sign\r\n");
    const CIniFile ini = read(file);
    EXPECT_EQ(CString(L"道路中线"), ini.GetValue(L"ENT_TYPE", L"FAPP_DLZX"));
    EXPECT_EQ(CString(L"道路边线"), ini.GetValue(L"ent_type", L"fapp_dlbx"));
    EXPECT_EQ(CString(L"FL_BZ_DLQXYS"), ini.GetValue(L"FAPP_DLZX", L"RAD"));
    EXPECT_EQ(CString(L"equals=sign"), ini.GetValue(L"FAPP_DLZX", L"name with"));
    EXPECT_TRUE(ini.GetValue(L"FAPP_DLZX", L"DIM").IsEmpty());
    EXPECT_TRUE(ini.GetValue(L"NOSECTION", L"RAD").IsEmpty());
}

TEST(IniFile, TheTwoListFormKeepsFileOrderAndRepeatedKeysWhileALookupTakesTheFirst)
{
    ScratchFolder folder;
    const fs::path file = folder.write("a.ini",
        "top=before any section\n"
        "[道路等级]\n"
        "主干路=40\n"
        "次干路=24\n"
        "主干路=45\n"
        "[其他]\n"
        "x=1\n"
        "[道路等级]\n"
        "支路=12\n"
        "无值行\n"
        "[空]\n");
    const CIniFile ini = read(file);
    CStringArray keys;
    CStringArray values;
    keys.Add(L"stale");
    ASSERT_EQ(1, ini.GetValue(L"道路等级", keys, values));
    EXPECT_EQ((std::vector<std::wstring> {L"主干路", L"次干路", L"主干路", L"支路", L"无值行"}), items(keys));
    EXPECT_EQ((std::vector<std::wstring> {L"40", L"24", L"45", L"12", L""}), items(values));
    EXPECT_EQ(CString(L"40"), ini.GetValue(L"道路等级", L"主干路"));

    EXPECT_EQ(1, ini.GetValue(L"空", keys, values));
    EXPECT_EQ(0, keys.GetSize());
    EXPECT_EQ(0, ini.GetValue(L"缺少", keys, values));
    EXPECT_TRUE(ini.GetValue(L"", L"top").IsEmpty());
}

TEST(IniFile, ReadsUtf16WithItsByteOrderMark)
{
    ScratchFolder folder;
    const std::u16string text = u"[切角标准]\r\n支路-支路=5\r\n";
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    const CIniFile ini = read(folder.write("utf16.ini", bytes));
    EXPECT_EQ(CString(L"5"), ini.GetValue(L"切角标准", L"支路-支路"));
}

TEST(IniFile, AMissingFileReadsAsNothingAndForgetsAnEarlierRead)
{
    ScratchFolder folder;
    CIniFile ini;
    EXPECT_EQ(0, ini.ReadFile());
    ini.SetPath(standins::fromPath(folder.write("a.ini", "[s]\nk=v\n")));
    ASSERT_EQ(1, ini.ReadFile());
    EXPECT_EQ(CString(L"v"), ini.GetValue(L"s", L"k"));
    ini.SetPath(standins::fromPath(folder.path() / "missing.ini"));
    EXPECT_EQ(0, ini.ReadFile());
    EXPECT_TRUE(ini.GetValue(L"s", L"k").IsEmpty());
    CStringArray keys;
    CStringArray values;
    EXPECT_EQ(0, ini.GetValue(L"s", keys, values));
    // A folder is not a file.
    ini.SetPath(standins::fromPath(folder.path()));
    EXPECT_EQ(0, ini.ReadFile());
}

TEST(FileExist, FindsFilesNamedWithBackslashesButNotFolders)
{
    ScratchFolder folder;
    folder.write("config/jckdata.ss", "[道路等级]\n");
    const CString root = standins::folderText(folder.path());
    EXPECT_EQ(1, daroviz::FileExist(root + L"config\\jckdata.ss"));
    EXPECT_EQ(1, daroviz::FileExist(root + L"config/jckdata.ss"));
    EXPECT_EQ(0, daroviz::FileExist(root + L"config"));
    EXPECT_EQ(0, daroviz::FileExist(root + L"config\\missing.ss"));
    EXPECT_EQ(0, daroviz::FileExist(L""));
}

TEST(ConfirmBackslash, AddsTheSeparatorThePathIsWrittenWith)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"D:\\导出", L"D:\\导出\\"},
        {L"D:\\导出\\", L"D:\\导出\\"},
        {L"规划/项目/out", L"规划/项目/out/"},
        {L"规划/项目/out/", L"规划/项目/out/"},
        {L"out", L"out/"},
        {L"D:/mixed\\path", L"D:/mixed\\path/"},
        {L"", L""},
    };
    for (const auto& [given, expected] : cases) {
        CString path = given;
        fgdutil::ConfirmBackslash(path);
        EXPECT_EQ(CString(expected), path) << "for " << standins::toPath(given);
    }
}

} // namespace
} // namespace planroad::test
