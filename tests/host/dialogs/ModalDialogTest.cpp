// Modal dialogs driven by script: shown on the command line, typed into, validated, and closed by OK,
// Cancel, Esc, the close box or the end of the input.
#include "DialogFixture.h"

namespace planroad::test {
namespace {

class ModalDialog : public DialogFixture {
protected:
    // Defines SETTINGS, which runs the settings dialog; the dialog object stays for the assertions.
    void defineSettings()
    {
        defineCommand(L"SETTINGS", [this] {
            mDialog = std::make_unique<SettingsDialog>();
            mResult = mDialog->DoModal();
        });
    }

    std::unique_ptr<SettingsDialog> mDialog;
    INT_PTR mResult = 0;
};

TEST_F(ModalDialog, ShowsEveryControlOfTheTemplateWithItsValue)
{
    defineSettings();
    type(L"SETTINGS\n!dialog click Cancel\n");
    // The combo box is sorted, its selection set by index; the edits hold the members' values.
    EXPECT_EQ(L"[Dialog 3101 \"Road settings\" modal]\n"
              L"  Static           -1 \"Width:\"\n"
              L"  Edit            209 IDC_WIDTH \"12\"\n"
              L"  Static           -1 \"Lanes:\"\n"
              L"  Edit            210 IDC_COUNT \"3\"\n"
              L"  ComboBox        208 IDC_GRADE \"narrow\" {Arterial | narrow | Standard | Wide}\n"
              L"  ComboBox        207 IDC_LAYER \"ROAD\" {ROAD | CURB}\n"
              L"  CheckBox        222 IDC_STAKES [x] \"Label stakes\"\n"
              L"  RadioButton     223 IDC_SIDE_LEFT (o) \"Left\"\n"
              L"  RadioButton     224 IDC_SIDE_RIGHT ( ) \"Right\"\n"
              L"  DefPushButton     1 IDOK \"OK\"\n"
              L"  PushButton        2 IDCANCEL \"Cancel\"\n"
              L"Dialog 3101: !dialog click Cancel\n"
              L"[Dialog 3101 closed: Cancel]\n"
              L"Command: \n",
        transcriptFrom(L"[Dialog 3101"));
}

TEST_F(ModalDialog, EndsAsTheUserEndsIt)
{
    struct Case {
        const wchar_t* script;
        INT_PTR result;
        double width;
        const wchar_t* shown;
    };
    const Case cases[] = {
        {L"!dialog set 209 3.5\n!dialog click OK\n", IDOK, 3.5, L"[Dialog 3101 closed: OK]"},
        {L"!dialog set 209 3.5\n!dialog click Cancel\n", IDCANCEL, 12.0, L"[Dialog 3101 closed: Cancel]"},
        {L"!dialog set 209 3.5\n^C\n", IDCANCEL, 12.0,
            L"Dialog 3101: *Cancel*\n[Dialog 3101 closed: Cancel]"},
        {L"!dialog close\n", IDCANCEL, 12.0, L"[Dialog 3101 closed: Cancel]"},
        {L"!dialog set 209 3.5\n", IDCANCEL, 12.0,
            L"Dialog 3101: *end of input*\n[Dialog 3101 closed: Cancel]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        startSession(mDataDir);
        defineSettings();
        type(std::wstring(L"SETTINGS\n") + c.script);
        EXPECT_EQ(c.result, mResult);
        EXPECT_DOUBLE_EQ(c.width, mDialog->width);
        EXPECT_TRUE(contains(transcript(), c.shown)) << transcript();
        // The window is gone; the object stays usable.
        EXPECT_EQ(nullptr, mDialog->m_hWnd);
        mDialog.reset();
    }
}

TEST_F(ModalDialog, TextTypedWhileItIsOpenIsReportedAndIgnored)
{
    defineSettings();
    int later = 0;
    defineCommand(L"LATER", [&later] { ++later; });
    type(L"SETTINGS\nLATER\n!dialog click OK\nLATER\n");
    EXPECT_EQ(IDOK, mResult);
    EXPECT_EQ(1, later); // only the line after the dialog ran
    EXPECT_TRUE(contains(transcript(), L"Dialog 3101: LATER\n*Dialog 3101 is open: the line is ignored*"));
}

TEST_F(ModalDialog, HandlersSeeWhatTheScriptDoesAndTheMembersTakeIt)
{
    defineSettings();
    type(L"SETTINGS\n"
         L"!dialog set 210 4\n"
         L"!dialog select 208 standard\n"
         L"!dialog check IDC_SIDE_RIGHT\n"
         L"!dialog set IDC_LAYER CURB\n"
         L"!dialog click OK\n");
    ASSERT_EQ(IDOK, mResult);
    EXPECT_EQ(4, mDialog->lanes);
    EXPECT_EQ(2, mDialog->grade); // Arterial, narrow, Standard
    EXPECT_EQ(1, mDialog->side);
    EXPECT_EQ(CString(L"CURB"), mDialog->layer);
    EXPECT_EQ((std::vector<std::wstring> {L"grade Standard", L"OnOK"}), mDialog->events);
}

TEST_F(ModalDialog, IsShownAgainOnlyForWhatItsHandlersChange)
{
    defineSettings();
    type(L"SETTINGS\n!dialog set 210 4\n!dialog uncheck 222\n!dialog set 209 5\n!dialog click Cancel\n");
    const std::wstring shown = transcriptFrom(L"Dialog 3101: !dialog set 210 4");
    // Typing shows nothing new; the handler disabling the width does.
    EXPECT_EQ(
        0u, shown.find(L"Dialog 3101: !dialog set 210 4\nDialog 3101: !dialog uncheck 222\n[Dialog 3101"));
    EXPECT_TRUE(contains(shown, L"  Edit            209 IDC_WIDTH \"12\" (disabled)\n"));
    EXPECT_TRUE(contains(shown, L"  Edit            210 IDC_COUNT \"4\"\n"));
    EXPECT_TRUE(contains(shown, L"  CheckBox        222 IDC_STAKES [ ] \"Label stakes\"\n"));
    // A disabled control takes no input.
    EXPECT_TRUE(contains(shown, L"Dialog 3101: !dialog set 209 5\n*Control 209 is disabled*"));
    EXPECT_EQ((std::vector<std::wstring> {L"stakes off"}), mDialog->events);
}

TEST_F(ModalDialog, AValueThatDoesNotValidateKeepsTheDialogOpen)
{
    struct Case {
        const wchar_t* typed;
        const wchar_t* message;
        int control;
        double width; // the members after the failed OK
        int lanes;
    };
    const Case cases[] = {
        {L"!dialog set 209 abc", L"Please enter a number.", IDC_WIDTH, 12.0, 3},
        {L"!dialog set 209 .0", L"Please enter a number.", IDC_WIDTH, 12.0, 3},
        // The number is taken before its range is checked, as MFC does.
        {L"!dialog set 209 150", L"Please enter a number between 0.5 and 100.", IDC_WIDTH, 150.0, 3},
        {L"!dialog set 210 2.5", L"Please enter an integer.", IDC_COUNT, 12.0, 3},
        {L"!dialog set 210 9", L"Please enter an integer between 1 and 8.", IDC_COUNT, 12.0, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        startSession(mDataDir);
        defineSettings();
        type(std::wstring(L"SETTINGS\n") + c.typed
            + L"\n!dialog click OK\n!answer OK\n!dialog click Cancel\n");
        EXPECT_EQ(IDCANCEL, mResult);
        EXPECT_TRUE(
            contains(transcript(), std::wstring(L"[Message box \"Headless host\" warning] ") + c.message))
            << transcript();
        ASSERT_EQ(1u, mDialog->widthAfterOk.size());
        EXPECT_DOUBLE_EQ(c.width, mDialog->widthAfterOk[0]);
        EXPECT_EQ(c.lanes, mDialog->lanesAfterOk[0]);
        // The user is back on the control that failed.
        EXPECT_EQ(c.control, mDialog->focusAfterOk[0]);
        mDialog.reset();
    }
}

TEST_F(ModalDialog, ScriptMistakesAreReportedWithoutClosingIt)
{
    defineSettings();
    type(L"SETTINGS\n"
         L"!dialog click 999\n"
         L"!dialog set 222 x\n"
         L"!dialog select 208 Motorway\n"
         L"!dialog uncheck 223\n"
         L"!dialog 3100 click OK\n"
         L"!answer Yes\n"
         L"!dialog click OK\n");
    EXPECT_EQ(IDOK, mResult);
    const std::wstring shown = transcript();
    EXPECT_TRUE(contains(shown, L"*Dialog 3101 has no control 999*"));
    EXPECT_TRUE(contains(shown, L"*Control 222 takes no typed text*"));
    EXPECT_TRUE(contains(shown, L"*Combo box 208 has no item Motorway*"));
    EXPECT_TRUE(contains(shown, L"*A radio button goes off when another of its group is checked*"));
    EXPECT_TRUE(contains(shown, L"*No dialog 3100 is open*"));
    EXPECT_TRUE(contains(shown, L"*No message box is open*"));
}

TEST_F(ModalDialog, TemplateComesFromTheModuleAskedElseFromTheCurrentResourceModule)
{
    const char* const otherScript = "3101 DIALOGEX 0, 0, 100, 50\n"
                                    "CAPTION \"Other settings\"\n"
                                    "BEGIN\n"
                                    "    DEFPUSHBUTTON \"OK\",1,10,10,50,14\n"
                                    "END\n";
    std::wstring error;
    ASSERT_TRUE(session().modules().loadLinked(
        L"other.arx", [](AcRx::AppMsgCode, void*) { return AcRx::kRetOK; }, nullptr,
        {{"Other.rc", otherScript}}, error));
    const HINSTANCE other = session().modules().find(L"other.arx")->instance();
    std::vector<INT_PTR> results;
    defineCommand(L"OPEN", [&results, other] {
        results.push_back(CAcUiDialog(IDD_SETTINGS).DoModal());
        results.push_back(CAcUiDialog(IDD_SETTINGS, nullptr, other).DoModal());
        acDocManager->pushResourceHandle(other);
        results.push_back(CAcUiDialog(IDD_SETTINGS).DoModal());
        acDocManager->popResourceHandle();
        results.push_back(CAcUiDialog(4000).DoModal());
    });
    type(L"OPEN\n!dialog click OK\n!dialog click OK\n!dialog click OK\n");
    EXPECT_EQ((std::vector<INT_PTR> {IDOK, IDOK, IDOK, -1}), results);
    const std::wstring shown = transcript();
    const std::size_t first = shown.find(L"[Dialog 3101 \"Road settings\" modal]");
    const std::size_t second = shown.find(L"[Dialog 3101 \"Other settings\" modal]");
    const std::size_t third = shown.find(L"[Dialog 3101 \"Other settings\" modal]", second + 1);
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_NE(std::wstring::npos, third);
}

TEST_F(ModalDialog, IsCentredOnTheFrameAndSizedInDialogUnits)
{
    RECT window {};
    RECT edit {};
    defineCommand(L"SETTINGS", [&] {
        SettingsDialog dialog;
        dialog.Create(IDD_SETTINGS);
        dialog.GetWindowRect(&window);
        dialog.GetDlgItem(IDC_WIDTH)->GetWindowRect(&edit);
        dialog.ScreenToClient(&edit);
    });
    type(L"SETTINGS\n");
    // 200 x 140 dialog units of a 9-point font: 350 x 280 pixels, plus the frame and the title bar.
    EXPECT_EQ(350 + 6, window.right - window.left);
    EXPECT_EQ(280 + 6 + 23, window.bottom - window.top);
    EXPECT_EQ((1920 - (window.right - window.left)) / 2, window.left);
    EXPECT_EQ((1040 - (window.bottom - window.top)) / 2, window.top);
    // EDITTEXT IDC_WIDTH,50,7,60,14.
    EXPECT_EQ(88, edit.left);
    EXPECT_EQ(14, edit.top);
    EXPECT_EQ(193, edit.right);
    EXPECT_EQ(42, edit.bottom);
}

} // namespace
} // namespace planroad::test
