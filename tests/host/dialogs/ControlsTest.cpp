// The controls: combo boxes sorted or not, list views in report view, radio groups, images, layouts,
// and message maps routing to the right handler.
#include "DialogFixture.h"

namespace planroad::test {
namespace {

// A dialog whose own map handles OK, a range of buttons and the keep-focus message.
class RoutingDialog : public SettingsDialog {
public:
    std::vector<UINT> ranged;
    int oks = 0;

protected:
    afx_msg void OnOkButton() { ++oks; }
    afx_msg void OnSide(UINT id) { ranged.push_back(id); }
    afx_msg LRESULT OnKeep(WPARAM, LPARAM) { return 7; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RoutingDialog, SettingsDialog)
ON_BN_CLICKED(IDOK, &RoutingDialog::OnOkButton)
ON_CONTROL_RANGE(BN_CLICKED, IDC_SIDE_LEFT, IDC_SIDE_RIGHT, &RoutingDialog::OnSide)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &RoutingDialog::OnKeep)
END_MESSAGE_MAP()

class Controls : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        ASSERT_TRUE(mSettings.Create(IDD_SETTINGS));
    }
    void TearDown() override
    {
        mSettings.DestroyWindow();
        DialogFixture::TearDown();
    }
    std::vector<std::wstring> items(CComboBox& box)
    {
        std::vector<std::wstring> result;
        for (int i = 0; i < box.GetCount(); ++i) {
            CString text;
            box.GetLBText(i, text);
            result.emplace_back(text.GetString());
        }
        return result;
    }

    SettingsDialog mSettings;
};

TEST_F(Controls, SortedComboBoxKeepsItsItemsInOrderAndFindsThemIgnoringCase)
{
    CComboBox& box = mSettings.gradeBox;
    EXPECT_EQ((std::vector<std::wstring> {L"Arterial", L"narrow", L"Standard", L"Wide"}), items(box));
    EXPECT_EQ(2, box.AddString(L"Service")); // after Arterial and narrow
    EXPECT_EQ(0, box.InsertString(0, L"Zone")); // placed where it is put, sorted or not
    EXPECT_EQ(6, box.InsertString(-1, L"Alley"));
    EXPECT_EQ((std::vector<std::wstring> {
                  L"Zone", L"Arterial", L"narrow", L"Service", L"Standard", L"Wide", L"Alley"}),
        items(box));

    struct Find {
        int start;
        const wchar_t* text;
        int prefix;
        int exact;
    };
    const Find finds[] = {
        {-1, L"s", 3, CB_ERR},
        {3, L"s", 4, CB_ERR}, // after the start
        {5, L"zo", 0, CB_ERR}, // round to the top
        {-1, L"STANDARD", 4, 4},
        {-1, L"Stand", 4, CB_ERR},
        {-1, L"Motorway", CB_ERR, CB_ERR},
    };
    for (const Find& f : finds) {
        EXPECT_EQ(f.prefix, box.FindString(f.start, f.text)) << f.text << " after " << f.start;
        EXPECT_EQ(f.exact, box.FindStringExact(f.start, f.text)) << f.text << " after " << f.start;
    }

    wchar_t buffer[32] = {};
    EXPECT_EQ(6, box.GetLBText(2, buffer));
    EXPECT_EQ(std::wstring(L"narrow"), buffer);
    EXPECT_EQ(CB_ERR, box.GetLBText(7, buffer));
    EXPECT_EQ(4, box.SelectString(-1, L"st"));
    CString shown;
    box.GetWindowText(shown);
    EXPECT_EQ(CString(L"Standard"), shown);

    // Deleting before the selection moves it with its item; deleting it clears it.
    EXPECT_EQ(6, box.DeleteString(0));
    EXPECT_EQ(3, box.GetCurSel());
    box.DeleteString(3);
    EXPECT_EQ(CB_ERR, box.GetCurSel());
    EXPECT_EQ(CB_ERR, box.SetCurSel(99));
    box.ResetContent();
    EXPECT_EQ(0, box.GetCount());
}

TEST_F(Controls, ScriptSelectsComboItemsByTextOrIndex)
{
    auto* layers = static_cast<CComboBox*>(mSettings.GetDlgItem(IDC_LAYER));
    mSettings.ShowWindow(SW_SHOW);
    type(L"!dialog select 208 WIDE\n!dialog select 207 #1\n");
    EXPECT_EQ(3, mSettings.gradeBox.GetCurSel());
    EXPECT_EQ(1, layers->GetCurSel());
    EXPECT_EQ((std::vector<std::wstring> {L"grade Wide"}), mSettings.events);
    CString layer;
    layers->GetWindowText(layer);
    EXPECT_EQ(CString(L"CURB"), layer);
}

TEST_F(Controls, ListViewRowsAndColumns)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(
        WC_LISTVIEW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 300, 200), &mSettings, 500));
    EXPECT_EQ(0u, list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES));
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES), list.GetExtendedStyle());
    LVCOLUMN column {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<LPWSTR>(L"Road");
    column.cx = 90;
    EXPECT_EQ(0, list.InsertColumn(0, &column));
    EXPECT_EQ(1, list.InsertColumn(5, L"Width", LVCFMT_RIGHT, 50));
    EXPECT_EQ(90, list.GetColumnWidth(0));

    EXPECT_EQ(0, list.InsertItem(0, L"Elm"));
    EXPECT_EQ(1, list.InsertItem(99, L"Oak")); // past the end: appended
    EXPECT_EQ(0, list.InsertItem(0, L"Ash"));
    EXPECT_TRUE(list.SetItemText(2, 1, L"12.5"));
    EXPECT_FALSE(list.SetItemText(3, 1, L"9"));
    EXPECT_EQ(3, list.GetItemCount());
    EXPECT_EQ(CString(L"Oak"), list.GetItemText(2, 0));
    EXPECT_EQ(CString(L"12.5"), list.GetItemText(2, 1));
    EXPECT_EQ(CString(L""), list.GetItemText(0, 1));
    EXPECT_TRUE(list.SetItemData(1, 77));
    EXPECT_EQ(77u, list.GetItemData(1));

    // A list without LVS_SINGLESEL keeps every selected row; one row has the focus.
    list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(2u, list.GetSelectedCount());
    EXPECT_EQ(0u, list.GetItemState(0, LVIS_FOCUSED));
    std::vector<int> selected;
    for (POSITION pos = list.GetFirstSelectedItemPosition(); pos != nullptr;)
        selected.push_back(list.GetNextSelectedItem(pos));
    EXPECT_EQ((std::vector<int> {0, 2}), selected);

    EXPECT_TRUE(list.SetColumnWidth(0, LVSCW_AUTOSIZE_USEHEADER));
    EXPECT_GE(list.GetColumnWidth(0), 4 * 7);
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(1u, list.GetSelectedCount());
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_EQ(nullptr, list.GetFirstSelectedItemPosition());
    list.DestroyWindow();
}

TEST_F(Controls, SingleSelectionListKeepsOneSelectedRowAndScrollsToAskedRows)
{
    defineResultCommands({{L"A", L"1"}, {L"B", L"2"}, {L"C", L"3"}});
    type(L"SHOWRESULT\n");
    CListCtrl& list = gResultDialog->list;
    for (int i = 0; i < 40; ++i)
        list.InsertItem(list.GetItemCount(), L"row");
    list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(1u, list.GetSelectedCount());
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED), list.GetItemState(1, LVIS_SELECTED));
    const int page = list.GetCountPerPage();
    ASSERT_GT(page, 1);
    ASSERT_LT(page, 40);
    EXPECT_EQ(0, list.GetTopIndex());
    EXPECT_TRUE(list.EnsureVisible(30, FALSE));
    EXPECT_EQ(30 - page + 1, list.GetTopIndex());
    EXPECT_TRUE(list.EnsureVisible(2, FALSE));
    EXPECT_EQ(2, list.GetTopIndex());
}

TEST_F(Controls, RadioButtonsOfAGroupGoOffTogether)
{
    mSettings.ShowWindow(SW_SHOW);
    type(L"!dialog check 224\n");
    EXPECT_EQ(BST_UNCHECKED, mSettings.IsDlgButtonChecked(IDC_SIDE_LEFT));
    EXPECT_EQ(BST_CHECKED, mSettings.IsDlgButtonChecked(IDC_SIDE_RIGHT));
    EXPECT_EQ(IDC_SIDE_RIGHT, mSettings.GetCheckedRadioButton(IDC_SIDE_LEFT, IDC_SIDE_RIGHT));
    // The check box is not of the group: a click there leaves the radio buttons alone.
    auto* stakes = static_cast<CButton*>(mSettings.GetDlgItem(IDC_STAKES));
    stakes->SendMessage(BM_CLICK);
    EXPECT_EQ(BST_UNCHECKED, stakes->GetCheck());
    EXPECT_EQ(BST_CHECKED, mSettings.IsDlgButtonChecked(IDC_SIDE_RIGHT));
    EXPECT_EQ((std::vector<std::wstring> {L"stakes off"}), mSettings.events);
}

TEST_F(Controls, ImagesComeFromTheModulesScript)
{
    CBitmap known;
    EXPECT_TRUE(known.LoadBitmap(IDB_MODE_B));
    EXPECT_NE(nullptr, known.GetSafeHandle());
    CBitmap unknown;
    EXPECT_FALSE(unknown.LoadBitmap(999));
    auto* button = static_cast<CButton*>(mSettings.GetDlgItem(IDOK));
    EXPECT_EQ(nullptr, button->SetBitmap(known));
    EXPECT_EQ(static_cast<HBITMAP>(known), button->GetBitmap());
    EXPECT_TRUE(known.DeleteObject());
    EXPECT_FALSE(known.DeleteObject());
}

TEST_F(Controls, LayoutMovesAndStretchesControlsWithTheDialog)
{
    defineResultCommands({{L"A", L"1"}});
    type(L"SHOWRESULT\n");
    ResultDialog& dialog = *gResultDialog;
    auto rectOf = [&dialog](int id) {
        CRect rect;
        dialog.GetDlgItem(id)->GetWindowRect(&rect);
        dialog.ScreenToClient(&rect);
        return rect;
    };
    const CRect list = rectOf(IDC_LIST);
    const CRect repair = rectOf(IDC_REPAIR);
    CRect window;
    dialog.GetWindowRect(&window);
    dialog.SetWindowPos(nullptr, 0, 0, window.Width() + 100, window.Height() + 40, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(list.TopLeft(), rectOf(IDC_LIST).TopLeft());
    EXPECT_EQ(list.Width() + 100, rectOf(IDC_LIST).Width());
    EXPECT_EQ(list.Height() + 40, rectOf(IDC_LIST).Height());
    EXPECT_EQ(repair + CPoint(100, 40), rectOf(IDC_REPAIR));
    // Back to the first size, back to the first places.
    dialog.SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(list, rectOf(IDC_LIST));
    EXPECT_EQ(repair, rectOf(IDC_REPAIR));
}

TEST_F(Controls, LayoutEntriesOfOneControlAddUpAndALaterCallReplacesThem)
{
    defineResultCommands({{L"A", L"1"}});
    type(L"SHOWRESULT\n");
    ResultDialog& dialog = *gResultDialog;
    auto rectOf = [&dialog](int id) {
        CRect rect;
        dialog.GetDlgItem(id)->GetWindowRect(&rect);
        dialog.ScreenToClient(&rect);
        return rect;
    };
    CRect window;
    dialog.GetWindowRect(&window);
    auto resize = [&dialog, &window](int dx, int dy) {
        dialog.SetWindowPos(
            nullptr, 0, 0, window.Width() + dx, window.Height() + dy, SWP_NOMOVE | SWP_NOZORDER);
    };
    const CRect list = rectOf(IDC_LIST);
    const CRect repair = rectOf(IDC_REPAIR);
    const CRect cancel = rectOf(IDCANCEL);
    // Stretch across fully and downwards by half, as separate entries of the same control.
    DLGCTLINFO split[] = {{IDC_LIST, ELASTICX, 100}, {IDC_LIST, ELASTICY, 50}, {IDC_REPAIR, MOVEX, 100},
        {IDC_REPAIR, MOVEY, 100}};
    ASSERT_TRUE(dialog.SetControlProperty(split, 4));
    resize(100, 40);
    EXPECT_EQ(list.TopLeft(), rectOf(IDC_LIST).TopLeft());
    EXPECT_EQ(list.Width() + 100, rectOf(IDC_LIST).Width());
    EXPECT_EQ(list.Height() + 20, rectOf(IDC_LIST).Height());
    EXPECT_EQ(repair + CPoint(100, 40), rectOf(IDC_REPAIR));
    EXPECT_EQ(cancel + CPoint(100, 40), rectOf(IDCANCEL)); // not named: as OnInitDialog set it

    // A later call about the button replaces both of its entries, measured from where it is now.
    resize(0, 0);
    DLGCTLINFO downOnly[] = {{IDC_REPAIR, MOVEY, 100}};
    ASSERT_TRUE(dialog.SetControlProperty(downOnly, 1));
    resize(100, 40);
    EXPECT_EQ(repair + CPoint(0, 40), rectOf(IDC_REPAIR));
    EXPECT_EQ(list.Width() + 100, rectOf(IDC_LIST).Width());
}

TEST_F(Controls, MessageMapsFindTheMostDerivedHandler)
{
    RoutingDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_SETTINGS));
    // The derived map's OK handler stands in for CDialog::OnOK, which would have ended the dialog.
    dialog.SendMessage(
        WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(dialog.GetDlgItem(IDOK)->m_hWnd));
    EXPECT_EQ(1, dialog.oks);
    EXPECT_TRUE(dialog.events.empty());
    // Ranges, the base class's handlers and plain messages.
    static_cast<CButton*>(dialog.GetDlgItem(IDC_SIDE_RIGHT))->SendMessage(BM_CLICK);
    static_cast<CButton*>(dialog.GetDlgItem(IDC_STAKES))->SendMessage(BM_CLICK);
    EXPECT_EQ((std::vector<UINT> {IDC_SIDE_RIGHT}), dialog.ranged);
    EXPECT_EQ((std::vector<std::wstring> {L"stakes off"}), dialog.events);
    EXPECT_EQ(7, dialog.SendMessage(WM_ACAD_KEEPFOCUS));
    EXPECT_EQ(0, dialog.SendMessage(WM_USER + 5));
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CAcUiDialog)));
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_FALSE(dialog.IsKindOf(RUNTIME_CLASS(ResultDialog)));
    dialog.DestroyWindow();
}

} // namespace
} // namespace planroad::test
