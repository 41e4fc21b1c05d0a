// Per-user dialog data: kept between sessions, filed per dialog, written whole, read back exactly.
#include <cstdlib>
#include <fstream>

#include "DialogFixture.h"
#include "dialogs/DialogData.h"

namespace planroad::test {
namespace {

using arxhost::DialogDataStore;

class DialogData : public DialogFixture { };

TEST_F(DialogData, SurvivesIntoTheNextSessionWithTheSameFolder)
{
    {
        SettingsDialog dialog;
        EXPECT_TRUE(dialog.SetDialogData(L"Folder", L"/data/plan roads"));
        EXPECT_TRUE(dialog.SetDialogData(L"Mode", DWORD {2}));
        EXPECT_TRUE(dialog.SetDialogData(L"Mode", DWORD {3})); // replaced
    }
    startSession(mDataDir);
    SettingsDialog dialog;
    CString folder;
    DWORD mode = 0;
    EXPECT_TRUE(dialog.GetDialogData(L"Folder", folder));
    EXPECT_EQ(CString(L"/data/plan roads"), folder);
    EXPECT_TRUE(dialog.GetDialogData(L"Mode", mode));
    EXPECT_EQ(3u, mode);
    // A value is read as the type it was stored with, or not at all.
    EXPECT_FALSE(dialog.GetDialogData(L"Folder", mode));
    EXPECT_FALSE(dialog.GetDialogData(L"Mode", folder));
    EXPECT_FALSE(dialog.GetDialogData(L"Unknown", folder));
    EXPECT_EQ(CString(L"/data/plan roads"), folder);
    EXPECT_EQ(L"SettingsDialog", std::wstring(dialog.GetDialogName().GetString()));
}

TEST_F(DialogData, EachDialogHasItsOwnUnlessTheyShareAName)
{
    SettingsDialog settings;
    ResultDialog result;
    ASSERT_TRUE(settings.SetDialogData(L"Mode", DWORD {1}));
    DWORD mode = 0;
    EXPECT_FALSE(result.GetDialogData(L"Mode", mode));
    // A dialog of the library's own class is filed under its template.
    CAcUiDialog plain(IDD_SETTINGS);
    EXPECT_EQ(L"Dialog3101", std::wstring(plain.GetDialogName().GetString()));
    EXPECT_FALSE(plain.GetDialogData(L"Mode", mode));
    result.SetDialogName(L"SettingsDialog");
    EXPECT_TRUE(result.GetDialogData(L"Mode", mode));
    EXPECT_EQ(1u, mode);
}

TEST_F(DialogData, WithoutAFolderGivenItLivesInTheUsersConfiguration)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("XDG_CONFIG_HOME", mDataDir.c_str(), 1);
    startSession({});
    SettingsDialog dialog;
    EXPECT_TRUE(dialog.SetDialogData(L"Mode", DWORD {4}));
    EXPECT_TRUE(std::filesystem::exists(mDataDir / "planroad" / "dialogs.ini"));
    if (saved != nullptr)
        setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
}

TEST_F(DialogData, FileIsReplacedWholeAndLeavesNothingBehind)
{
    SettingsDialog dialog;
    for (DWORD i = 0; i < 5; ++i)
        ASSERT_TRUE(dialog.SetDialogData(L"Count", i));
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(mDataDir))
        files.push_back(entry.path().filename());
    EXPECT_EQ((std::vector<std::filesystem::path> {"dialogs.ini"}), files);
    // An unwritable place makes SetDialogData fail rather than lose the value silently.
    std::ofstream(mDataDir / "blocked") << "a file, not a folder";
    startSession(mDataDir / "blocked");
    SettingsDialog blocked;
    EXPECT_FALSE(blocked.SetDialogData(L"Count", DWORD {1}));
}

TEST(DialogDataStore, NamesAndValuesComeBackExactly)
{
    DialogDataStore::Sections sections;
    sections[L"Dialog [1]"] = {
        {L"plain", std::wstring(L"text")},
        {L"quote \" and \\ back", std::wstring(L"say \"hi\"\\")},
        {L"lines", std::wstring(L"one\ntwo\r\tend")},
        {L"name = value", std::wstring(L"= [x] # not a comment")},
        {L"  blanks  ", std::wstring(L"  kept  ")},
        {L"empty", std::wstring()},
        {L"道路", std::wstring(L"宽度 12")},
        {L"zero", std::uint32_t {0}},
        {L"max", std::uint32_t {4294967295u}},
    };
    sections[L"Other"] = {{L"plain", std::uint32_t {7}}};
    EXPECT_EQ(sections, DialogDataStore::parse(DialogDataStore::format(sections)));
}

TEST(DialogDataStore, UnreadableLinesAreSkipped)
{
    const std::string text = "# comment\n"
                             "\"before any section\" = 1\n"
                             "[Dialog]\r\n"
                             "\"good\" = 5\r\n"
                             "\"too big\" = 4294967296\n"
                             "\"negative\" = -1\n"
                             "\"unterminated\" = \"abc\n"
                             "no quotes = 3\n"
                             "\"no value\"\n"
                             "\"text\" = \"ok\"\n";
    const DialogDataStore::Sections expected {
        {L"Dialog", {{L"good", std::uint32_t {5}}, {L"text", std::wstring(L"ok")}}}};
    EXPECT_EQ(expected, DialogDataStore::parse(text));
}

} // namespace
} // namespace planroad::test
