// Modeless dialogs in the module's pattern: created hidden on first use, shown and hidden, clicked at the
// command prompt so that their dispatcher command runs next, hovered and left by the mouse.
#include "DialogFixture.h"

namespace planroad::test {
namespace {

class ModelessDialog : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        defineResultCommands({{L"Ring road", L"24"}, {L"Bridge St", L"9.5"}, {L"Elm", L"12"}});
        defineCommand(L"AFTER", [this] { mDispatched.push_back(L"after"); });
    }
};

TEST_F(ModelessDialog, AClickRunsTheDispatcherAsTheNextCommandWhichRefillsTheList)
{
    type(L"SHOWRESULT\n!dialog click 204\nAFTER\n");
    EXPECT_EQ((std::vector<std::wstring> {L"2", L"after"}), mDispatched);
    EXPECT_EQ(L"Command: SHOWRESULT\n"
              L"[Dialog 3100 \"Check result\"]\n"
              L"  ListView       1001 IDC_LIST 3 rows\n"
              L"      # | No. | Road      | 宽度\n"
              L"      0 | 1   | Ring road | 24\n"
              L"      1 | 2   | Bridge St | 9.5\n"
              L"      2 | 3   | Elm       | 12\n"
              L"  RadioButton     301 IDC_MODE_A (o) \"\" [bitmap res\\mode_a.bmp]\n"
              L"  RadioButton     302 IDC_MODE_B ( ) \"\" [bitmap res\\mode_b.bmp]\n"
              L"  PushButton      204 IDC_REPAIR \"Repair\"\n"
              L"  PushButton        2 IDCANCEL \"Close\"\n"
              L"Command: !dialog click 204\n"
              L"Command: RESULTDISPATCH\n"
              L"[Dialog 3100 \"Check result\"]\n"
              L"  ListView       1001 IDC_LIST 2 rows\n"
              L"      # | No. | Road      | 宽度\n"
              L"      0 | 1   | Bridge St | 9.5\n"
              L"      1 | 2   | Elm       | 12\n"
              L"  RadioButton     301 IDC_MODE_A (o) \"\" [bitmap res\\mode_a.bmp]\n"
              L"  RadioButton     302 IDC_MODE_B ( ) \"\" [bitmap res\\mode_b.bmp]\n"
              L"  PushButton      204 IDC_REPAIR \"Repair\"\n"
              L"  PushButton        2 IDCANCEL \"Close\"\n"
              L"Command: AFTER\n"
              L"Command: \n",
        transcriptFrom(L"Command: SHOWRESULT"));
}

TEST_F(ModelessDialog, DoubleClickOnARowReachesItsHandlerWithTheRow)
{
    type(L"SHOWRESULT\n!dialog dblclick 1001 1\n");
    ASSERT_NE(nullptr, gResultDialog);
    EXPECT_EQ(1, gResultDialog->clickedRow);
    EXPECT_EQ((std::vector<std::wstring> {L"3"}), mDispatched);
    // The row clicked is the selected one, as the handler reads it from the list.
    CListCtrl& list = gResultDialog->list;
    EXPECT_EQ(1u, list.GetSelectedCount());
    POSITION pos = list.GetFirstSelectedItemPosition();
    EXPECT_EQ(1, list.GetNextSelectedItem(pos));
    EXPECT_EQ(nullptr, pos);
    // The user's own click is not shown again; a row the program selects is, marked.
    EXPECT_EQ(1, occurrences(transcript(), L"[Dialog 3100"));
    defineCommand(L"PICKLAST", [] { gResultDialog->list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED); });
    type(L"PICKLAST\n");
    EXPECT_TRUE(contains(transcript(), L"      1 | 2   | Bridge St | 9.5\n    * 2 | 3   | Elm       | 12\n"));

    // Rows by index with '#'; a row that is not there.
    type(L"!dialog dblclick 1001 #0\n!dialog click IDC_LIST 9\n");
    EXPECT_EQ(0, gResultDialog->clickedRow);
    EXPECT_TRUE(contains(transcript(), L"*List IDC_LIST has no row 9*"));
}

TEST_F(ModelessDialog, HidingAndShowingKeepsTheSameWindowAndContents)
{
    type(L"SHOWRESULT\n");
    ASSERT_NE(nullptr, gResultDialog);
    const HWND handle = gResultDialog->m_hWnd;
    type(L"!dialog click Cancel\n!dialog click 204\n!dialog 3100 click 204\nSHOWRESULT\n");
    EXPECT_EQ(1, ResultDialog::created);
    EXPECT_EQ(handle, gResultDialog->m_hWnd);
    EXPECT_TRUE(gResultDialog->IsWindowVisible());
    EXPECT_TRUE(mDispatched.empty()); // the hidden dialog took no click
    const std::wstring shown = transcript();
    EXPECT_TRUE(contains(shown, L"Command: !dialog click Cancel\n[Dialog 3100 hidden]\nCommand: "));
    EXPECT_TRUE(contains(shown, L"Command: !dialog click 204\n*No dialog is open*"));
    EXPECT_TRUE(contains(shown, L"Command: !dialog 3100 click 204\n*Dialog 3100 is not visible*"));
    // Shown again on the command line when shown again on the screen.
    EXPECT_EQ(
        2, occurrences(shown, L"[Dialog 3100 \"Check result\"]\n  ListView       1001 IDC_LIST 3 rows"));
}

TEST_F(ModelessDialog, DestroyedDialogIsGoneFromTheScreen)
{
    defineCommand(L"CLOSERESULT", [] {
        gResultDialog->DestroyWindow();
        delete gResultDialog;
    });
    type(L"SHOWRESULT\nCLOSERESULT\n!dialog click 204\n");
    EXPECT_EQ(nullptr, gResultDialog);
    EXPECT_TRUE(contains(transcript(), L"Command: CLOSERESULT\n[Dialog 3100 closed]"));
    EXPECT_TRUE(contains(transcript(), L"*No dialog is open*"));
    EXPECT_EQ(acedGetAcadFrame(), CWnd::GetActiveWindow());
}

TEST_F(ModelessDialog, MouseOverAndOutAsksWhetherItKeepsTheFocus)
{
    type(L"SHOWRESULT\n");
    ASSERT_NE(nullptr, gResultDialog);
    gResultDialog->mouseMoves = 0;
    CWnd::FromHandle(acedGetAcadFrame()->m_hWnd)->SetActiveWindow();
    ASSERT_EQ(acedGetAcadFrame(), CWnd::GetActiveWindow());

    type(L"!dialog hover 3100\n");
    EXPECT_EQ(1, gResultDialog->mouseMoves); // offered to its PreTranslateMessage
    EXPECT_EQ(1, gResultDialog->keepFocusQueries);
    POINT cursor;
    ASSERT_TRUE(GetCursorPos(&cursor));
    CRect rect;
    gResultDialog->GetWindowRect(&rect);
    EXPECT_TRUE(rect.PtInRect(cursor));
    EXPECT_EQ(gResultDialog, CWnd::GetActiveWindow());

    type(L"!dialog leave\n");
    EXPECT_EQ(2, gResultDialog->keepFocusQueries);
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_FALSE(rect.PtInRect(cursor));
    CRect view;
    acedGetAcadDwgView()->GetWindowRect(&view);
    EXPECT_TRUE(view.PtInRect(cursor));
    EXPECT_EQ(acedGetAcadFrame(), CWnd::GetActiveWindow());
    EXPECT_EQ(acedGetAcadDwgView(), CWnd::GetFocus());
    EXPECT_TRUE(contains(transcript(), L"Command: !dialog hover 3100\n  -> focus: dialog 3100\nCommand: "));
    EXPECT_TRUE(contains(transcript(), L"Command: !dialog leave\n  -> focus: drawing\nCommand: "));
}

TEST_F(ModelessDialog, TakesTheFramesIconAndStaysOwnedByTheFrame)
{
    type(L"SHOWRESULT\n");
    ASSERT_NE(nullptr, gResultDialog);
    const HICON frameIcon = acedGetAcadFrame()->GetIcon(TRUE);
    EXPECT_NE(nullptr, frameIcon);
    EXPECT_EQ(frameIcon, gResultDialog->GetIcon(TRUE));
    EXPECT_EQ(acedGetAcadFrame(), gResultDialog->GetParent());
    EXPECT_EQ(acedGetAcadFrame(), AfxGetMainWnd());
    EXPECT_EQ(acedGetAcadDwgView(), acedGetAcadFrame()->GetActiveView());
}

} // namespace
} // namespace planroad::test
