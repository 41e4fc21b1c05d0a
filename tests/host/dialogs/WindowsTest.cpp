// Windows at large: focus and its notifications, posted messages, destruction and the objects attached
// to windows, geometry helpers, and how controls of every kind read on the command line.
#include "DialogFixture.h"

namespace planroad::test {
namespace {

// A settings dialog that records focus changes, typed text, posted messages and its own end.
class ProbeDialog : public CAcUiDialog {
public:
    ProbeDialog()
        : CAcUiDialog(IDD_SETTINGS)
    {
    }
    std::vector<std::wstring> events;
    static int deleted;

protected:
    afx_msg void OnWidthLeft() { events.push_back(L"width left"); }
    afx_msg void OnWidthEntered() { events.push_back(L"width entered"); }
    afx_msg void OnLayerTyped()
    {
        CString text;
        GetDlgItemText(IDC_LAYER, text);
        events.push_back(L"layer " + std::wstring(text.GetString()));
    }
    afx_msg LRESULT OnPosted(WPARAM wParam, LPARAM)
    {
        events.push_back(L"posted " + std::to_wstring(wParam));
        return 0;
    }
    afx_msg void OnDestroy()
    {
        events.push_back(L"destroy");
        CAcUiDialog::OnDestroy();
    }
    void PostNcDestroy() override
    {
        ++deleted;
        delete this;
    }
    DECLARE_MESSAGE_MAP()
};

int ProbeDialog::deleted = 0;

BEGIN_MESSAGE_MAP(ProbeDialog, CAcUiDialog)
ON_EN_KILLFOCUS(IDC_WIDTH, &ProbeDialog::OnWidthLeft)
ON_EN_SETFOCUS(IDC_WIDTH, &ProbeDialog::OnWidthEntered)
ON_CBN_EDITCHANGE(IDC_LAYER, &ProbeDialog::OnLayerTyped)
ON_MESSAGE(WM_APP + 1, &ProbeDialog::OnPosted)
ON_WM_DESTROY()
END_MESSAGE_MAP()

class Windows : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        ProbeDialog::deleted = 0;
        mProbe = new ProbeDialog(); // deletes itself once its window is gone
        ASSERT_TRUE(mProbe->Create(IDD_SETTINGS));
        mHandle = mProbe->m_hWnd;
    }
    void TearDown() override
    {
        if (::IsWindow(mHandle))
            ::DestroyWindow(mHandle);
        DialogFixture::TearDown();
    }

    ProbeDialog* mProbe = nullptr;
    HWND mHandle = nullptr;
};

TEST_F(Windows, FocusMovesWithNotificationsToTheDialog)
{
    mProbe->ShowWindow(SW_SHOW);
    mProbe->events.clear();
    ASSERT_EQ(IDC_WIDTH, CWnd::GetFocus()->GetDlgCtrlID()); // the first control that takes Tab
    type(L"!dialog focus 210\n!dialog focus 209\n!dialog set 210 5\n");
    EXPECT_EQ((std::vector<std::wstring> {L"width left", L"width entered", L"width left"}), mProbe->events);
    EXPECT_EQ(IDC_COUNT, CWnd::GetFocus()->GetDlgCtrlID());
    EXPECT_EQ(mProbe, CWnd::GetActiveWindow());
}

TEST_F(Windows, PostedMessagesArriveWhenTheHostWaitsForInput)
{
    std::size_t seenInCommand = 99;
    defineCommand(L"POST", [this, &seenInCommand] {
        mProbe->PostMessage(WM_APP + 1, 7);
        ::PostMessageW(mHandle, WM_APP + 1, 8, 0);
        seenInCommand = mProbe->events.size();
    });
    mProbe->events.clear();
    type(L"POST\n");
    EXPECT_EQ(0u, seenInCommand);
    EXPECT_EQ((std::vector<std::wstring> {L"posted 7", L"posted 8"}), mProbe->events);
    EXPECT_FALSE(::PostMessageW(reinterpret_cast<HWND>(0x7777), WM_APP + 1, 0, 0));
}

TEST_F(Windows, EditsAndEditableCombosTakeTypedTextWithinTheirLimits)
{
    mProbe->ShowWindow(SW_SHOW);
    auto* width = static_cast<CEdit*>(mProbe->GetDlgItem(IDC_WIDTH));
    width->SetLimitText(4);
    EXPECT_EQ(4u, width->GetLimitText());
    auto* lanes = static_cast<CEdit*>(mProbe->GetDlgItem(IDC_COUNT));
    lanes->ModifyStyle(0, ES_NUMBER);
    type(L"!dialog set 209 123456\n!dialog set 210 4a\n!dialog set IDC_LAYER  \"  BRIDGE \"\n");
    CString text;
    mProbe->GetDlgItemText(IDC_WIDTH, text);
    EXPECT_EQ(CString(L"1234"), text); // what does not fit is not typed
    mProbe->GetDlgItemText(IDC_COUNT, text);
    EXPECT_EQ(CString(L""), text);
    EXPECT_TRUE(contains(transcript(), L"*Control 210 takes digits only*"));
    EXPECT_EQ(L"layer   BRIDGE ", mProbe->events.back());
    lanes->SetReadOnly(TRUE);
    type(L"!dialog set 210 4\n");
    EXPECT_TRUE(contains(transcript(), L"*Control 210 is read-only*"));
    int start = -1;
    int end = -1;
    width->SetSel(1, -1);
    width->GetSel(start, end);
    EXPECT_EQ(1, start);
    EXPECT_EQ(4, end);
}

TEST_F(Windows, DestroyingTellsTheObjectWhichMayDeleteItself)
{
    CWnd* temporary = mProbe->GetDlgItem(IDC_WIDTH);
    ASSERT_NE(nullptr, temporary);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(temporary->m_hWnd));
    EXPECT_EQ(mProbe, CWnd::FromHandlePermanent(mHandle));
    EXPECT_TRUE(mProbe->DestroyWindow());
    EXPECT_EQ(1, ProbeDialog::deleted);
    EXPECT_FALSE(::IsWindow(mHandle));
    EXPECT_EQ(nullptr, CWnd::FromHandle(mHandle));
    EXPECT_FALSE(::DestroyWindow(mHandle));
}

TEST_F(Windows, AnObjectDestroysItsWindowAndControlsCanBeAttachedAndDetached)
{
    HWND dialogHandle = nullptr;
    HWND listHandle = nullptr;
    {
        ResultDialog dialog;
        ASSERT_TRUE(dialog.Create(IDD_RESULT));
        dialogHandle = dialog.m_hWnd;
        listHandle = dialog.list.Detach();
        EXPECT_EQ(nullptr, dialog.list.m_hWnd);
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(listHandle));
        CListCtrl other;
        EXPECT_TRUE(other.Attach(listHandle));
        EXPECT_EQ(&other, CWnd::FromHandlePermanent(listHandle));
        CListCtrl third;
        EXPECT_FALSE(third.SubclassWindow(listHandle)); // one object per window
        other.Detach();
    }
    EXPECT_FALSE(::IsWindow(dialogHandle));
    EXPECT_FALSE(::IsWindow(listHandle));
}

TEST_F(Windows, ControlsOfEveryKindReadOnTheCommandLine)
{
    auto* stakes = static_cast<CButton*>(mProbe->GetDlgItem(IDC_STAKES));
    stakes->SetCheck(BST_INDETERMINATE); // a two-state box takes it as checked
    auto* lanes = static_cast<CEdit*>(mProbe->GetDlgItem(IDC_COUNT));
    lanes->ModifyStyle(0, ES_PASSWORD | ES_READONLY);
    mProbe->SetDlgItemText(IDC_COUNT, L"secret");
    mProbe->SetDlgItemText(IDC_WIDTH, L"two\r\nlines \"quoted\"");
    mProbe->GetDlgItem(IDC_SIDE_RIGHT)->ShowWindow(SW_HIDE);
    mProbe->GetDlgItem(IDOK)->EnableWindow(FALSE);
    mProbe->SetWindowText(L"Probe");
    mProbe->ShowWindow(SW_SHOW);
    type(L"");
    const std::wstring shown = transcriptFrom(L"[Dialog 3101");
    EXPECT_EQ(0u, shown.find(L"[Dialog 3101 \"Probe\"]\n"));
    EXPECT_TRUE(contains(shown, L"  Edit            209 IDC_WIDTH \"two\\r\\nlines \\\"quoted\\\"\"\n"));
    EXPECT_TRUE(contains(shown, L"  Edit            210 IDC_COUNT \"******\" (read-only)\n"));
    EXPECT_TRUE(contains(shown, L"  CheckBox        222 IDC_STAKES [x] \"Label stakes\"\n"));
    EXPECT_TRUE(contains(shown, L"  ComboBox        208 IDC_GRADE (none) {}\n"));
    EXPECT_FALSE(contains(shown, L"IDC_SIDE_RIGHT"));
    EXPECT_TRUE(contains(shown, L"  DefPushButton     1 IDOK \"OK\" (disabled)\n"));
}

TEST_F(Windows, DialogUnitsFollowTheFontSize)
{
    struct Case {
        int pointSize;
        RECT units;
        RECT pixels;
    };
    const Case cases[] = {
        {9, {4, 8, 8, 16}, {7, 16, 14, 32}},
        {9, {1, 1, 3, 3}, {2, 2, 5, 6}}, // 1.75 rounds to 2, 5.25 to 5
        {8, {4, 8, 8, 16}, {6, 14, 12, 28}},
        {12, {4, 8, 8, 16}, {9, 21, 18, 42}},
    };
    for (const Case& c : cases) {
        const std::string script
            = "100 DIALOGEX 0, 0, 40, 40\nFONT " + std::to_string(c.pointSize) + ", \"SimSun\"\nBEGIN\nEND\n";
        startSession(mDataDir);
        std::wstring error;
        ASSERT_TRUE(session().modules().loadLinked(
            L"font.arx", [](AcRx::AppMsgCode, void*) { return AcRx::kRetOK; }, nullptr, {{"Font.rc", script}},
            error));
        CAcUiDialog dialog(100);
        ASSERT_TRUE(dialog.Create(100));
        RECT rect = c.units;
        dialog.MapDialogRect(&rect);
        EXPECT_EQ(c.pixels.left, rect.left) << c.pointSize;
        EXPECT_EQ(c.pixels.top, rect.top) << c.pointSize;
        EXPECT_EQ(c.pixels.right, rect.right) << c.pointSize;
        EXPECT_EQ(c.pixels.bottom, rect.bottom) << c.pointSize;
        dialog.DestroyWindow();
    }
}

TEST(WindowsWithoutASession, FailQuietly)
{
    EXPECT_EQ(nullptr, acedGetAcadFrame());
    EXPECT_EQ(nullptr, acedGetAcadDwgView());
    EXPECT_EQ(0, AfxMessageBox(L"nobody sees this"));
    EXPECT_EQ(0, ::MessageBoxW(nullptr, L"nobody", nullptr, MB_OK));
    POINT cursor {};
    EXPECT_FALSE(GetCursorPos(&cursor));
    CAcUiDialog dialog(IDD_SETTINGS);
    EXPECT_FALSE(dialog.Create(IDD_SETTINGS));
    EXPECT_EQ(-1, dialog.DoModal());
    CString value;
    EXPECT_FALSE(dialog.GetDialogData(L"Mode", value));
}

TEST(WindowsGeometry, RectanglesAndRoundingFollowWindows)
{
    struct MulDivCase {
        int number, numerator, denominator, expected;
    };
    const MulDivCase mulDivs[] = {
        {5, 7, 4, 9}, // 8.75
        {3, 7, 4, 5}, // 5.25
        {2, 7, 4, 4}, // 3.5: half away from zero
        {-2, 7, 4, -4}, {10, 1, 0, -1}, {2000000000, 3, 2, -1}, // beyond int: an overflow
        {2000000000, 3, 4, 1500000000}, // the product may exceed int on the way
    };
    for (const MulDivCase& c : mulDivs)
        EXPECT_EQ(c.expected, MulDiv(c.number, c.numerator, c.denominator)) << c.number << "*" << c.numerator;

    CRect a(0, 0, 10, 10);
    CRect b(5, 5, 20, 8);
    CRect both;
    EXPECT_TRUE(both.IntersectRect(a, b));
    EXPECT_EQ(CRect(5, 5, 10, 8), both);
    EXPECT_FALSE(both.IntersectRect(a, CRect(10, 0, 20, 10))); // edges touch, nothing shared
    EXPECT_TRUE(both.IsRectEmpty());
    CRect all;
    EXPECT_TRUE(all.UnionRect(a, b));
    EXPECT_EQ(CRect(0, 0, 20, 10), all);
    EXPECT_TRUE(a.PtInRect(CPoint(0, 9)));
    EXPECT_FALSE(a.PtInRect(CPoint(10, 5))); // the right edge is outside
    CRect flipped(10, 10, 0, 0);
    flipped.NormalizeRect();
    EXPECT_EQ(a, flipped);
    EXPECT_EQ(CPoint(5, 5), a.CenterPoint());
    EXPECT_EQ(CPoint(-3, 4), CPoint(MAKELPARAM(-3, 4)));
}

} // namespace
} // namespace planroad::test
