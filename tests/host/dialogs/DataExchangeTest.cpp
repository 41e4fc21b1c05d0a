// Dialog data exchange outside a script: numbers to text and back with MFC's rules, check boxes, radio
// groups and combo box indexes in both directions.
#include "DialogFixture.h"

namespace planroad::test {
namespace {

class DataExchange : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        ASSERT_TRUE(mDialog.Create(IDD_SETTINGS));
    }
    void TearDown() override
    {
        mDialog.DestroyWindow();
        DialogFixture::TearDown();
    }
    std::wstring text(int id)
    {
        CString value;
        mDialog.GetDlgItemText(id, value);
        return value.GetString();
    }

    SettingsDialog mDialog;
};

TEST_F(DataExchange, NumbersAreShownWithFifteenSignificantDigits)
{
    const std::pair<double, const wchar_t*> cases[] = {
        {12.0, L"12"},
        {3.5, L"3.5"},
        {0.1, L"0.1"},
        {1.0 / 3.0, L"0.333333333333333"},
        {123456.789, L"123456.789"},
        {1e-5, L"1e-05"},
        {1e20, L"1e+20"},
        {-0.25, L"-0.25"},
    };
    for (const auto& [value, shown] : cases) {
        mDialog.width = value;
        ASSERT_TRUE(mDialog.UpdateData(FALSE));
        EXPECT_EQ(shown, text(IDC_WIDTH));
    }
}

TEST_F(DataExchange, TypedNumbersAreReadAsMfcReadsThem)
{
    struct Case {
        const wchar_t* typed;
        bool accepted;
        double value;
    };
    const Case cases[] = {
        {L"7.25", true, 7.25},
        {L"  7.25\t", true, 7.25},
        {L"1e1", true, 10.0},
        {L"-0.5e1", false, 0}, // below the range
        {L"0", false, 0}, // below the range
        {L"0.75", true, 0.75},
        {L"7.25m", false, 0},
        {L"7,25", false, 0},
        {L"", false, 0},
        {L".5", true, 0.5},
        {L"abc", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        mDialog.width = 12.0;
        mDialog.SetDlgItemText(IDC_WIDTH, c.typed);
        EXPECT_EQ(c.accepted ? TRUE : FALSE, mDialog.UpdateData(TRUE));
        if (c.accepted) {
            EXPECT_DOUBLE_EQ(c.value, mDialog.width);
        }
        // What was typed stays for the user to correct.
        EXPECT_EQ(c.typed, text(IDC_WIDTH));
    }
    // Each refusal told the user why (the message boxes took OK at the end of the input).
    EXPECT_TRUE(contains(transcript(), L"Please enter a number.\n"));
    EXPECT_TRUE(contains(transcript(), L"Please enter a number between 0.5 and 100.\n"));
}

TEST_F(DataExchange, TypedIntegersAreWholeDecimalNumbers)
{
    const std::pair<const wchar_t*, int> accepted[] = {{L"4", 4}, {L" 8 ", 8}, {L"+2", 2}, {L"01", 1}};
    for (const auto& [typed, value] : accepted) {
        mDialog.SetDlgItemText(IDC_COUNT, typed);
        EXPECT_TRUE(mDialog.UpdateData(TRUE)) << typed;
        EXPECT_EQ(value, mDialog.lanes);
    }
    for (const wchar_t* typed : {L"4.0", L"four", L"4 lanes", L"0x4"}) {
        mDialog.lanes = 3;
        mDialog.SetDlgItemText(IDC_COUNT, typed);
        EXPECT_FALSE(mDialog.UpdateData(TRUE)) << typed;
        EXPECT_EQ(3, mDialog.lanes) << typed;
    }
}

TEST_F(DataExchange, ChoicesGoBothWays)
{
    mDialog.stakes = BST_UNCHECKED;
    mDialog.side = 1;
    mDialog.grade = 3;
    mDialog.layer = L"CURB";
    ASSERT_TRUE(mDialog.UpdateData(FALSE));
    EXPECT_EQ(BST_UNCHECKED, mDialog.IsDlgButtonChecked(IDC_STAKES));
    EXPECT_EQ(BST_UNCHECKED, mDialog.IsDlgButtonChecked(IDC_SIDE_LEFT));
    EXPECT_EQ(BST_CHECKED, mDialog.IsDlgButtonChecked(IDC_SIDE_RIGHT));
    EXPECT_EQ(3, mDialog.gradeBox.GetCurSel());
    auto* layers = static_cast<CComboBox*>(mDialog.GetDlgItem(IDC_LAYER));
    EXPECT_EQ(1, layers->GetCurSel()); // the item CURB

    mDialog.CheckDlgButton(IDC_STAKES, BST_CHECKED);
    mDialog.CheckRadioButton(IDC_SIDE_LEFT, IDC_SIDE_RIGHT, IDC_SIDE_LEFT);
    mDialog.gradeBox.SetCurSel(0);
    layers->SetWindowText(L"BRIDGE");
    ASSERT_TRUE(mDialog.UpdateData(TRUE));
    EXPECT_EQ(BST_CHECKED, mDialog.stakes);
    EXPECT_EQ(0, mDialog.side);
    EXPECT_EQ(0, mDialog.grade);
    EXPECT_EQ(CString(L"BRIDGE"), mDialog.layer);

    // No button of the group checked, no item selected: -1, as MFC reads them.
    mDialog.CheckRadioButton(IDC_SIDE_LEFT, IDC_SIDE_RIGHT, 0);
    mDialog.gradeBox.SetCurSel(-1);
    ASSERT_TRUE(mDialog.UpdateData(TRUE));
    EXPECT_EQ(-1, mDialog.side);
    EXPECT_EQ(-1, mDialog.grade);
}

TEST_F(DataExchange, ExchangeWithAControlTheDialogLacksIsAnError)
{
    struct Broken : SettingsDialog {
        void DoDataExchange(CDataExchange* pDX) override
        {
            int missing = 0;
            DDX_Text(pDX, 4242, missing);
        }
    } broken;
    // The dialog's first exchange, in OnInitDialog, already fails.
    EXPECT_THROW(broken.Create(IDD_SETTINGS), std::logic_error);
    EXPECT_THROW(broken.UpdateData(TRUE), std::logic_error);
}

TEST_F(DataExchange, ControlNotificationsAreIgnoredWhileTheDataGoesIn)
{
    mDialog.width = 42.0;
    ASSERT_TRUE(mDialog.UpdateData(FALSE));
    EXPECT_EQ(L"42", text(IDC_WIDTH));
    // The handler of EN_CHANGE did not see the text the exchange put in; it sees the program's own.
    EXPECT_TRUE(mDialog.events.empty());
    mDialog.SetDlgItemText(IDC_WIDTH, L"43");
    EXPECT_EQ((std::vector<std::wstring> {L"width 43"}), mDialog.events);
}

} // namespace
} // namespace planroad::test
