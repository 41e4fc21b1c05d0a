// How "!dialog" finds its dialog and control when several dialogs are open, and how its words are read.
#include "DialogFixture.h"
#include "dialogs/DialogHost.h"

namespace planroad::test {
namespace {

class Scripting : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        defineResultCommands({{L"Ring road", L"24"}, {L"Elm", L"12"}});
        defineCommand(L"SETTINGS", [this] {
            SettingsDialog dialog;
            mResults.push_back(dialog.DoModal());
        });
    }
    std::vector<INT_PTR> mResults;
};

TEST_F(Scripting, ModalDialogIsTheDefaultTargetAndOthersAreNamed)
{
    type(L"SHOWRESULT\n"
         L"SETTINGS\n"
         L"!dialog \"Check result\" click 204\n" // the modeless dialog beside it, by caption
         L"!dialog 3100 dblclick IDC_LIST 1\n" // by template id
         L"!dialog click 204\n" // the modal dialog has no such button
         L"!dialog click OK\n"); // the modal dialog
    EXPECT_EQ((std::vector<INT_PTR> {IDOK}), mResults);
    // The dispatcher commands wait for the command that runs the modal dialog to end.
    // The second click overwrote the mode the first stored, as it does at the real host.
    EXPECT_EQ((std::vector<std::wstring> {L"3", L"0"}), mDispatched);
    EXPECT_EQ(1, gResultDialog->clickedRow);
    EXPECT_TRUE(contains(transcript(), L"Dialog 3101: !dialog click 204\n*Dialog 3101 has no control 204*"));
}

TEST_F(Scripting, AModalDialogOverAnotherDisablesIt)
{
    struct Outer : SettingsDialog {
        INT_PTR inner = 0;
        BOOL OnInitDialog() override
        {
            SettingsDialog::OnInitDialog();
            SetWindowText(L"Outer");
            return TRUE;
        }
        void OnOK() override
        {
            SettingsDialog dialog(this);
            inner = dialog.DoModal();
        }
    };
    INT_PTR outerResult = 0;
    INT_PTR innerResult = 0;
    defineCommand(L"NESTED", [&] {
        Outer outer;
        outerResult = outer.DoModal();
        innerResult = outer.inner;
    });
    type(L"NESTED\n!dialog click OK\n!dialog Outer click Cancel\n!dialog click OK\n!dialog click Cancel\n");
    EXPECT_EQ(IDOK, innerResult);
    EXPECT_EQ(IDCANCEL, outerResult);
    const std::wstring shown = transcript();
    EXPECT_EQ(1, occurrences(shown, L"[Dialog 3101 \"Outer\" modal]\n"));
    EXPECT_EQ(1, occurrences(shown, L"[Dialog 3101 \"Road settings\" modal]\n"));
    // The outer dialog takes no input while the inner one runs.
    EXPECT_TRUE(contains(shown, L"Dialog 3101: !dialog Outer click Cancel\n*Dialog 3101 is disabled*"));
    EXPECT_TRUE(contains(shown, L"[Dialog 3101 closed: OK]\nDialog 3101: !dialog click Cancel"));
}

TEST_F(Scripting, OkAndCancelWorkWithoutSuchButtonsAsEnterAndEsc)
{
    const char* const bare = "200 DIALOGEX 0, 0, 100, 40\n"
                             "CAPTION \"Bare\"\n"
                             "BEGIN\n"
                             "    LTEXT \"Nothing to press\",-1,5,5,80,8\n"
                             "END\n";
    std::wstring error;
    ASSERT_TRUE(session().modules().loadLinked(
        L"bare.arx", [](AcRx::AppMsgCode, void*) { return AcRx::kRetOK; }, nullptr, {{"Bare.rc", bare}},
        error));
    defineCommand(L"BARE", [this] { mResults.push_back(CAcUiDialog(200).DoModal()); });
    type(L"BARE\n!dialog click OK\nBARE\n!dialog Bare click Cancel\n");
    EXPECT_EQ((std::vector<INT_PTR> {IDOK, IDCANCEL}), mResults);
}

TEST_F(Scripting, DirectivesWithoutAnActionOrControlAreRefused)
{
    type(L"SHOWRESULT\n!dialog\n!dialog 3100\n!dialog click\n!dialog wiggle 204\n");
    const std::wstring shown = transcript();
    EXPECT_EQ(2, occurrences(shown, L"*What to do in the dialog?"));
    EXPECT_TRUE(contains(shown, L"*Which control?*"));
    EXPECT_TRUE(contains(shown, L"*No dialog wiggle is open*"));
    EXPECT_TRUE(mDispatched.empty());
}

TEST(ScriptWords, QuotesGroupBlanksAndEscapeThemselves)
{
    using arxhost::splitArguments;
    const std::pair<std::wstring, std::vector<std::wstring>> cases[] = {
        {L"set 209 3.5", {L"set", L"209", L"3.5"}},
        {L"  click\tOK  ", {L"click", L"OK"}},
        {L"\"Check result\" click 204", {L"Check result", L"click", L"204"}},
        {L"set 211 \"say \\\"hi\\\" \\\\ \"", {L"set", L"211", L"say \"hi\" \\ "}},
        {L"set 211 a\"b c\"d", {L"set", L"211", L"ab cd"}},
        {L"set 211 \"\"", {L"set", L"211", L""}},
        {L"", {}},
    };
    for (const auto& [text, words] : cases)
        EXPECT_EQ(words, splitArguments(text)) << text;
}

TEST(ScriptWords, WideCharactersTakeTwoColumns)
{
    using arxhost::displayWidth;
    EXPECT_EQ(4, displayWidth(L"Road"));
    EXPECT_EQ(4, displayWidth(L"宽度"));
    EXPECT_EQ(6, displayWidth(L"A-宽度"));
    EXPECT_EQ(2, displayWidth(L"ＡＢ") / 2);
    EXPECT_EQ(1, displayWidth(L"é"));
    EXPECT_EQ(0, displayWidth(L""));
}

} // namespace
} // namespace planroad::test
