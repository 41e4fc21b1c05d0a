// The module's three modeless result dialogs: one instance each, created hidden by its opener, clicks
// that become the dispatcher command, the focus that follows the mouse, teardown at unload, the resource
// handle on every path, and the per-user dialog data kept between sessions.
#include <fstream>

#include "ModelessFixture.h"

#include "centreline/RoadWidthCheckDlg.h"
#include "cornercheck/YQJCheckDlg.h"
#include "cornercheck/YQJDimCheckDlg.h"
#include "dialogs/DialogHost.h"

namespace planroad::test {
namespace {

struct DialogCase {
    const wchar_t* opener;
    const wchar_t* dispatcher;
    int templateId;
    int listId;
    const char* className;
    CDialog* (*instance)();
    int (*show)(int visible);
};

const DialogCase kDialogs[] = {
    {L"FDeal_RoadYqjCheck", L"YqjCheckOPR", IDD_YQJCHECK, IDC_YQJ_LIST, "CYQJCheckDlg",
        []() -> CDialog* { return g_pYqjCheckDlg; }, &CYQJCheckDlg::ShowDlg},
    {L"FDeal_RoadYqjDimCheck", L"FDeal_RoadYqjDimCheckCommand", IDD_YQJDIMCHECK, IDC_YQJ_LIST,
        "CYQJDimCheckDlg", []() -> CDialog* { return g_pYqjDimCheckDlg; }, &CYQJDimCheckDlg::ShowDlg},
    {L"FROADWIDTHCHECK", L"FROADWIDTHCHECKCommand", IDD_ROADWIDTHCHECK, IDC_ROADWIDTH_LIST,
        "CRoadWidthCheckDlg", []() -> CDialog* { return g_pRoadWidthCheckDlg; },
        &CRoadWidthCheckDlg::ShowDlg},
};

class ModelessDialogs : public ModelessFixture {
protected:
    // Opens the dialog with its opener, puts rows into its list as a collection would, and shows it.
    CDialog* openFilled(const DialogCase& dialog, int rows)
    {
        type(std::wstring(dialog.opener) + L"\n");
        CDialog* dlg = dialog.instance();
        if (dlg == nullptr)
            return nullptr;
        if (auto* check = dynamic_cast<CYqjCheckBaseDlg*>(dlg)) {
            // Rows as a check leaves them, all of them errors so that both views list them.
            check->m_allRows.RemoveAll();
            check->m_errRows.RemoveAll();
            for (int i = 0; i < rows; ++i) {
                SYQJINFO row;
                row.strText.Format(L"Q%d.0", 15 + i);
                row.dRealValue = 17.5;
                row.nErrType = 2;
                check->m_allRows.Add(row);
                check->m_errRows.Add(row);
            }
            check->ShowYqjResult();
        } else {
            auto* list = static_cast<CListCtrl*>(dlg->GetDlgItem(dialog.listId));
            for (int i = 0; i < rows; ++i) {
                list->InsertItem(i, std::to_wstring(i + 1).c_str());
                list->SetItemText(i, 1, (L"Q" + std::to_wstring(15 + i) + L".0").c_str());
            }
        }
        dialog.show(1);
        return dlg;
    }
    arxhost::Window* window(HWND handle) { return arxhost::DialogHost::current()->find(handle); }
};

TEST_F(ModelessDialogs, OpenerCreatesOneHiddenDialogOnceAndDispatcherBeforeItDoesNothing)
{
    for (const DialogCase& dialog : kDialogs) {
        SCOPED_TRACE(dialog.templateId);
        const std::size_t depth = resourceDepth();
        const std::wstring opener = dialog.opener;
        const std::wstring dispatcher = dialog.dispatcher;
        type(dispatcher + L"\n" + opener + L"\n");
        CDialog* first = dialog.instance();
        ASSERT_NE(nullptr, first);
        const HWND handle = first->m_hWnd;
        EXPECT_TRUE(IsWindow(handle));
        type(opener + L"\n");
        EXPECT_EQ(first, dialog.instance());
        EXPECT_EQ(handle, dialog.instance()->m_hWnd);

        // Nothing was collected, so nothing is shown and nothing is said.
        EXPECT_FALSE(first->IsWindowVisible());
        EXPECT_EQ(L"Command: " + dispatcher + L"\nCommand: " + opener + L"\nCommand: \n\nCommand: " + opener
                + L"\nCommand: \n",
            transcriptFromLast(L"Command: " + dispatcher + L"\n"));
        EXPECT_EQ(depth, resourceDepth());
        EXPECT_EQ(acedGetAcadFrame(), first->GetParent());
        EXPECT_STREQ(dialog.className, first->GetRuntimeClass()->m_lpszClassName);
        EXPECT_EQ(dialog.templateId, window(handle)->id);
    }
}

TEST_F(ModelessDialogs, UnloadDestroysTheDialogsAndReloadMakesFreshOnes)
{
    std::vector<HWND> before;
    for (const DialogCase& dialog : kDialogs) {
        type(std::wstring(dialog.opener) + L"\n");
        ASSERT_NE(nullptr, dialog.instance());
        before.push_back(dialog.instance()->m_hWnd);
    }
    std::wstring error;
    ASSERT_TRUE(session().modules().unload(L"planroad.arx", error));
    for (std::size_t i = 0; i < std::size(kDialogs); ++i) {
        EXPECT_EQ(nullptr, kDialogs[i].instance());
        EXPECT_FALSE(IsWindow(before[i]));
    }
    // The dispatchers went with the module.
    type(L"YqjCheckOPR\n");
    EXPECT_TRUE(contains(transcript(), L"Unknown command \"YQJCHECKOPR\""));

    ASSERT_TRUE(session().modules().loadLinked(
        L"planroad.arx", &acrxEntryPoint, &DllMain, embeddedResourceFiles(), error));
    for (std::size_t i = 0; i < std::size(kDialogs); ++i) {
        EXPECT_EQ(nullptr, kDialogs[i].instance());
        type(std::wstring(kDialogs[i].opener) + L"\n");
        ASSERT_NE(nullptr, kDialogs[i].instance());
        EXPECT_NE(before[i], kDialogs[i].instance()->m_hWnd);
        EXPECT_TRUE(IsWindow(kDialogs[i].instance()->m_hWnd));
    }
}

struct ClickCase {
    const wchar_t* directive;
    int mode;
    int showAll;
    int selRow;
    bool dispatched;
};

TEST_F(ModelessDialogs, CheckDialogClicksStoreTheirModeAndRunTheDispatcherNext)
{
    CDialog* dlg = openFilled(kDialogs[0], 4);
    ASSERT_NE(nullptr, dlg);
    CYQJCheckDlg& check = *g_pYqjCheckDlg;
    const ClickCase clicks[] = {
        {L"!dialog 102 click 207", 2, 0, -1, true},
        {L"!dialog 102 click 206", 2, 1, -1, true},
        {L"!dialog 102 click 4", 4, 1, -1, true},
        {L"!dialog 102 dblclick 213 2", 1, 1, 2, true},
        {L"!dialog 102 click OK", 3, 1, 2, true},
        {L"!dialog 102 dblclick 213 #0", 1, 1, 0, true},
        // A repair option is only a state; the dialog asks nothing of the drawing.
        {L"!dialog 102 uncheck 210", 1, 1, 0, false},
    };
    for (const ClickCase& click : clicks) {
        SCOPED_TRACE(click.directive);
        type(std::wstring(click.directive) + L"\n");
        EXPECT_EQ(click.mode, check.m_nOprMode);
        EXPECT_EQ(click.showAll, check.m_bShowAll);
        EXPECT_EQ(click.selRow, check.m_nSelRow);
        // The dispatcher is the next command (a refilled list shows the dialog again after it).
        const std::wstring next = click.dispatched ? L"Command: YqjCheckOPR\n" : L"Command: \n";
        const std::wstring shown = transcriptFromLast(L"Command: " + std::wstring(click.directive));
        EXPECT_EQ(L"Command: " + std::wstring(click.directive) + L"\n" + next,
            shown.substr(0, std::wstring(click.directive).size() + 10 + next.size()));
    }
    // OK leaves the check dialog open; the radio buttons follow the clicks.
    EXPECT_TRUE(dlg->IsWindowVisible());
    EXPECT_EQ(BST_CHECKED, dlg->IsDlgButtonChecked(IDC_YQJ_SHOW_ALL));
    EXPECT_EQ(BST_UNCHECKED, dlg->IsDlgButtonChecked(IDC_YQJ_SHOW_ERRORS));
}

TEST_F(ModelessDialogs, DimensionCheckOkRunsTheLastModeAndEndsTheDialog)
{
    CDialog* dlg = openFilled(kDialogs[1], 3);
    ASSERT_NE(nullptr, dlg);
    CYQJDimCheckDlg& check = *g_pYqjDimCheckDlg;
    // Before any double-click OK sends the dispatcher with mode 0, which does nothing, and hides the dialog.
    type(L"!dialog 31022 click OK\n");
    EXPECT_EQ(0, check.m_nOprMode);
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_EQ(L"Command: !dialog 31022 click OK\n[Dialog 31022 hidden]\nCommand: "
              L"FDeal_RoadYqjDimCheckCommand\nCommand: \n",
        transcriptFromLast(L"Command: !dialog 31022 click OK"));

    CYQJDimCheckDlg::ShowDlg(1);
    type(L"!dialog 31022 dblclick 213 1\n");
    EXPECT_EQ(1, check.m_nOprMode);
    EXPECT_EQ(1, check.m_nSelRow);
    EXPECT_EQ(L"Command: !dialog 31022 dblclick 213 1\nCommand: FDeal_RoadYqjDimCheckCommand\nCommand: \n",
        transcriptFromLast(L"Command: !dialog 31022 dblclick 213 1"));
    // The export button is no dispatcher operation: no command follows it, the mode stays (here the folder
    // browser is cancelled, so the export ends at once).
    type(L"!dialog 31022 click 3\n!folder cancel\n");
    EXPECT_EQ(1, check.m_nOprMode);
    const std::wstring exported = transcriptFromLast(L"Command: !dialog 31022 click 3");
    EXPECT_TRUE(contains(exported, L"[Browse for folder]"));
    EXPECT_FALSE(contains(exported, L"FDeal_RoadYqjDimCheckCommand"));
    // After a double-click OK runs that row's operation once more.
    type(L"!dialog 31022 click OK\n");
    EXPECT_EQ(1, check.m_nOprMode);
    EXPECT_EQ(1, check.m_nSelRow);
    EXPECT_TRUE(contains(transcriptFromLast(L"Command: !dialog 31022 click OK"),
        L"[Dialog 31022 hidden]\nCommand: FDeal_RoadYqjDimCheckCommand\n"));
    EXPECT_EQ(g_pYqjDimCheckDlg, &check);
}

TEST_F(ModelessDialogs, RoadWidthDialogZoomsByDoubleClickAndChecksAgainByButton)
{
    CDialog* dlg = openFilled(kDialogs[2], 3);
    ASSERT_NE(nullptr, dlg);
    CRoadWidthCheckDlg& check = *g_pRoadWidthCheckDlg;
    type(L"!dialog 205 dblclick 228 2\n");
    EXPECT_EQ(1, check.m_nOprMode);
    EXPECT_EQ(2, check.selectedRow);
    type(L"!dialog 205 click IDC_ROADWIDTH_RECHECK\n");
    EXPECT_EQ(2, check.m_nOprMode);
    EXPECT_EQ(2, check.selectedRow);
    EXPECT_EQ(2, occurrencesIn(transcript(), L"\nCommand: FROADWIDTHCHECKCommand\n"));
    // "退出" hides the dialog; the next opener finds the same one.
    type(L"!dialog 205 click Cancel\nFROADWIDTHCHECK\n");
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_EQ(dlg, g_pRoadWidthCheckDlg);
    EXPECT_TRUE(contains(transcript(), L"Command: !dialog 205 click Cancel\n[Dialog 205 hidden]\n"));
}

TEST_F(ModelessDialogs, DoubleClickWithoutASelectedRowSendsNothing)
{
    for (const DialogCase& dialog : kDialogs) {
        SCOPED_TRACE(dialog.templateId);
        CDialog* dlg = openFilled(dialog, 2);
        ASSERT_NE(nullptr, dlg);
        auto* list = static_cast<CListCtrl*>(dlg->GetDlgItem(dialog.listId));
        ASSERT_EQ(0u, list->GetSelectedCount());
        NMITEMACTIVATE activate = {};
        activate.hdr.hwndFrom = list->m_hWnd;
        activate.hdr.idFrom = static_cast<UINT_PTR>(dialog.listId);
        activate.hdr.code = NM_DBLCLK;
        activate.iItem = -1;
        dlg->SendMessage(WM_NOTIFY, static_cast<WPARAM>(dialog.listId), reinterpret_cast<LPARAM>(&activate));
        type(L"REDRAW\n");
        EXPECT_FALSE(contains(transcript(), std::wstring(L"Command: ") + dialog.dispatcher));
    }
    EXPECT_EQ(0, g_pYqjCheckDlg->m_nOprMode);
    EXPECT_EQ(-1, g_pYqjCheckDlg->m_nSelRow);
    EXPECT_EQ(0, g_pRoadWidthCheckDlg->m_nOprMode);
    EXPECT_EQ(-1, g_pRoadWidthCheckDlg->selectedRow);
}

TEST_F(ModelessDialogs, ShownCheckDialogListsTheFiveResultColumnsWithAllRowsAndBothRepairsOn)
{
    ASSERT_NE(nullptr, openFilled(kDialogs[0], 2));
    arxhost::DialogHost::current()->flush();
    EXPECT_EQ(L"[Dialog 102 \"红线切角标注检查\"]\n"
              L"  GroupBox         -1 \"\"\n"
              L"  RadioButton     206 IDC_YQJ_SHOW_ALL (o) \"显示全部\"\n"
              L"  RadioButton     207 IDC_YQJ_SHOW_ERRORS ( ) \"显示错误\"\n"
              L"  ListView        213 IDC_YQJ_LIST 2 rows\n"
              L"      # | 序号 | 标注文字 | 实际值 | 标准值 | 错误类型\n"
              L"      0 | 1    | Q15.0    | 17.5   | 0.0    | 标注错\n"
              L"      1 | 2    | Q16.0    | 17.5   | 0.0    | 标注错\n"
              L"  CheckBox        210 IDC_YQJ_FIX_PREFIX [x] \"自动修复前缀错误\"\n"
              L"  CheckBox        212 IDC_YQJ_FIX_ANNOT [x] \"自动修复标注错误\"\n"
              L"  PushButton        4 IDC_YQJ_SELECT \"选择圆切角\"\n"
              L"  DefPushButton     1 IDOK \"确定\"\n"
              L"  PushButton        2 IDCANCEL \"取消\"",
        transcriptFromLast(L"[Dialog 102"));
}

TEST_F(ModelessDialogs, ResultListsHaveGridFullRowSelectionAndTheirColumns)
{
    struct Columns {
        int templateId;
        std::vector<std::wstring> headings;
        std::vector<double> ninthsOrHalves; // widths as multiples of the list's unit
        int unitDivisor; // the unit: (width - offset) / divisor
        int offset;
    };
    const std::vector<std::wstring> results {L"序号", L"标注文字", L"实际值", L"标准值", L"错误类型"};
    const Columns cases[] = {
        {IDD_YQJCHECK, results, {1, 2, 1.8, 1.8, 2.4}, 9, 0},
        {IDD_YQJDIMCHECK, results, {1, 2, 1.8, 1.8, 2.4}, 9, 0},
        {IDD_ROADWIDTHCHECK, {L"序号", L"道路宽度"}, {0.6, 1.4}, 2, 3},
    };
    for (std::size_t c = 0; c < std::size(cases); ++c) {
        SCOPED_TRACE(cases[c].templateId);
        type(std::wstring(kDialogs[c].opener) + L"\n");
        CDialog* dlg = kDialogs[c].instance();
        ASSERT_NE(nullptr, dlg);
        auto* list = static_cast<CListCtrl*>(dlg->GetDlgItem(kDialogs[c].listId));
        EXPECT_EQ(static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB),
            list->GetExtendedStyle());
        CRect rect;
        list->GetWindowRect(&rect);
        const int unit = (rect.Width() - cases[c].offset) / cases[c].unitDivisor;
        EXPECT_GT(unit, 10);
        const arxhost::Window& shown = *window(list->m_hWnd);
        ASSERT_EQ(cases[c].headings.size(), shown.columns.size());
        for (std::size_t i = 0; i < shown.columns.size(); ++i) {
            EXPECT_EQ(cases[c].headings[i], shown.columns[i].heading);
            EXPECT_EQ(LVCFMT_CENTER, shown.columns[i].format);
            EXPECT_EQ(static_cast<int>(cases[c].ninthsOrHalves[i] * unit),
                list->GetColumnWidth(static_cast<int>(i)));
        }
    }
    // 237 dialog units of an 8-point font: 355 pixels, so a unit of 39 and columns of 39, 78, 70, 70, 93.
    CRect rect;
    g_pYqjCheckDlg->m_list.GetWindowRect(&rect);
    EXPECT_EQ(355, rect.Width());
    EXPECT_EQ(93, g_pYqjCheckDlg->m_list.GetColumnWidth(4));
}

TEST_F(ModelessDialogs, RoadWidthDialogSitsAtTheDrawingsCornerAndResizableListsFollowTheFrame)
{
    type(L"FROADWIDTHCHECK\nFDeal_RoadYqjDimCheck\n");
    CRect view;
    acedGetAcadDwgView()->GetWindowRect(&view);
    CRect placed;
    g_pRoadWidthCheckDlg->GetWindowRect(&placed);
    EXPECT_EQ(view.TopLeft(), placed.TopLeft());

    struct Layout {
        CDialog* dlg;
        int list;
        std::vector<int> buttons;
    };
    const Layout layouts[] = {
        {g_pRoadWidthCheckDlg, IDC_ROADWIDTH_LIST, {IDC_ROADWIDTH_RECHECK, IDCANCEL}},
        {g_pYqjDimCheckDlg, IDC_YQJ_LIST, {IDC_YQJ_EXPORT, IDOK, IDCANCEL}},
    };
    for (const Layout& layout : layouts) {
        auto rectOf = [&layout](int id) {
            CRect r;
            layout.dlg->GetDlgItem(id)->GetWindowRect(&r);
            layout.dlg->ScreenToClient(&r);
            return r;
        };
        const CRect listBefore = rectOf(layout.list);
        std::vector<CRect> buttonsBefore;
        for (int id : layout.buttons)
            buttonsBefore.push_back(rectOf(id));
        CRect frame;
        layout.dlg->GetWindowRect(&frame);
        layout.dlg->SetWindowPos(
            nullptr, 0, 0, frame.Width() + 120, frame.Height() + 60, SWP_NOMOVE | SWP_NOZORDER);
        const CRect listAfter = rectOf(layout.list);
        EXPECT_EQ(listBefore.TopLeft(), listAfter.TopLeft());
        EXPECT_EQ(listBefore.Width() + 120, listAfter.Width());
        EXPECT_EQ(listBefore.Height() + 60, listAfter.Height());
        for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
            const CRect after = rectOf(layout.buttons[i]);
            EXPECT_EQ(buttonsBefore[i].left, after.left) << layout.buttons[i];
            EXPECT_EQ(buttonsBefore[i].top + 60, after.top) << layout.buttons[i];
        }
    }
}

TEST_F(ModelessDialogs, MouseOverTakesTheFocusAndTheAnswerFollowsOneQuestionLater)
{
    CDialog* dlg = openFilled(kDialogs[2], 1);
    ASSERT_NE(nullptr, dlg);
    acedGetAcadFrame()->SetActiveWindow();
    type(L"!dialog 205 hover\n");
    EXPECT_EQ(dlg, CWnd::GetActiveWindow());
    EXPECT_EQ(1, g_pRoadWidthCheckDlg->m_bKeepFocus);
    EXPECT_TRUE(contains(transcriptFromLast(L"Command: !dialog 205 hover"), L"  -> focus: dialog 205\n"));
    // The dialog answers with the state before the question: the first question off the dialog still
    // keeps the focus, the next one gives it back to the drawing.
    type(L"!dialog 205 leave\n");
    EXPECT_EQ(0, g_pRoadWidthCheckDlg->m_bKeepFocus);
    EXPECT_TRUE(contains(transcriptFromLast(L"Command: !dialog 205 leave"), L"  -> focus: dialog 205\n"));
    type(L"!dialog 205 leave\n");
    EXPECT_TRUE(contains(transcriptFromLast(L"Command: !dialog 205 leave"), L"  -> focus: drawing\n"));
    EXPECT_EQ(acedGetAcadFrame(), CWnd::GetActiveWindow());
    // Back over the dialog, the mouse move alone takes the focus again.
    type(L"!dialog 205 hover\n");
    EXPECT_EQ(dlg, CWnd::GetActiveWindow());
}

TEST_F(ModelessDialogs, RepairOptionsAreStoredWhenTheHostAsksAboutTheFocus)
{
    ASSERT_NE(nullptr, openFilled(kDialogs[0], 1));
    type(L"!dialog 102 uncheck 210\n");
    // Unchecking is a state of the control only, until the dialog stores its data.
    EXPECT_EQ(1, g_pYqjCheckDlg->m_bFixPrefix);
    type(L"!dialog 102 leave\n");
    EXPECT_EQ(0, g_pYqjCheckDlg->m_bFixPrefix);
    EXPECT_EQ(1, g_pYqjCheckDlg->m_bFixAnnot);
    type(L"!dialog 102 check 210\n!dialog 102 uncheck 212\n!dialog 102 hover\n");
    EXPECT_EQ(1, g_pYqjCheckDlg->m_bFixPrefix);
    EXPECT_EQ(0, g_pYqjCheckDlg->m_bFixAnnot);
}

// Removes the lines from the one holding `first` to the next one that equals `last` (trailing blanks and
// carriage returns aside); with `last` empty, the line holding `first` alone.
void eraseLines(std::string& script, const std::string& first, const std::string& last)
{
    const std::size_t at = script.find(first);
    ASSERT_NE(std::string::npos, at) << first;
    std::size_t from = script.rfind('\n', at);
    from = from == std::string::npos ? 0 : from + 1;
    std::size_t to = script.find('\n', at);
    while (!last.empty() && to != std::string::npos) {
        const std::size_t next = script.find('\n', to + 1);
        std::string line = script.substr(to + 1, next - to - 1);
        line.erase(line.find_last_not_of(" \r") + 1);
        to = next;
        if (line == last)
            break;
    }
    script.erase(from, to == std::string::npos ? std::string::npos : to - from + 1);
}

TEST_F(ModelessDialogs, FailedCreationSaysSoLeavesNoDialogAndBalancesTheResourceHandle)
{
    startSession([](std::string& script) { eraseLines(script, "IDD_ROADWIDTHCHECK DIALOGEX", "END"); });
    const std::size_t depth = resourceDepth();
    type(L"FROADWIDTHCHECK\nFROADWIDTHCHECK\nFROADWIDTHCHECKCommand\n");
    EXPECT_EQ(nullptr, g_pRoadWidthCheckDlg);
    EXPECT_EQ(depth, resourceDepth());
    // Each opener tries again, and ends after the message without collecting.
    EXPECT_EQ(L"Command: FROADWIDTHCHECK\n不能创建对话框.\n\nCommand: FROADWIDTHCHECK\n不能创建对话框.\n\n"
              L"Command: FROADWIDTHCHECKCommand\nCommand: \n",
        transcript());
    // The other dialogs are not affected.
    type(L"FDeal_RoadYqjCheck\n");
    EXPECT_NE(nullptr, g_pYqjCheckDlg);
    EXPECT_EQ(depth, resourceDepth());
}

TEST_F(ModelessDialogs, FailureInsideCreationPopsTheResourceHandleAndDropsTheDialog)
{
    // A template without the list: binding the list control fails while the dialog is being created.
    startSession([](std::string& script) {
        eraseLines(
            script, "IDC_YQJ_LIST,\"SysListView32\",LVS_REPORT | LVS_ALIGNLEFT | WS_BORDER | WS_GROUP", "");
    });
    const std::size_t depth = resourceDepth();
    type(L"FDeal_RoadYqjCheck\n");
    EXPECT_TRUE(contains(transcript(), L"Error in command FDEAL_ROADYQJCHECK"));
    EXPECT_EQ(nullptr, g_pYqjCheckDlg);
    EXPECT_EQ(depth, resourceDepth());
    type(L"!dialog 102 click 4\n");
    EXPECT_TRUE(contains(transcript(), L"*No dialog 102 is open*"));
}

TEST_F(ModelessDialogs, DialogDataOfAResultDialogSurvivesIntoTheNextSession)
{
    type(L"FROADWIDTHCHECK\n");
    ASSERT_NE(nullptr, g_pRoadWidthCheckDlg);
    EXPECT_TRUE(g_pRoadWidthCheckDlg->SetDialogData(L"显示方式", L"是"));
    EXPECT_TRUE(g_pRoadWidthCheckDlg->SetDialogData(L"列宽", DWORD {48}));

    startSession();
    EXPECT_EQ(nullptr, g_pRoadWidthCheckDlg);
    type(L"FROADWIDTHCHECK\nFDeal_RoadYqjCheck\n");
    ASSERT_NE(nullptr, g_pRoadWidthCheckDlg);
    CString text;
    DWORD number = 0;
    EXPECT_TRUE(g_pRoadWidthCheckDlg->GetDialogData(L"显示方式", text));
    EXPECT_EQ(CString(L"是"), text);
    EXPECT_TRUE(g_pRoadWidthCheckDlg->GetDialogData(L"列宽", number));
    EXPECT_EQ(48u, number);
    // Filed under the dialog's class: another dialog of the module does not see it.
    ASSERT_NE(nullptr, g_pYqjCheckDlg);
    EXPECT_FALSE(g_pYqjCheckDlg->GetDialogData(L"显示方式", text));
    std::ifstream file(mDataDir / "dialogs.ini");
    const std::string ini((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, ini.find("[CRoadWidthCheckDlg]"));
}

} // namespace
} // namespace planroad::test
