// The test module's resources, the dialog classes the tests drive, and the session fixture.
#include "DialogFixture.h"

#include <unistd.h>

namespace planroad::test {

namespace {

const char* const kResourceHeader = R"(// Used by DialogTest.rc
#define IDD_RESULT      3100
#define IDD_SETTINGS    3101
#define IDB_MODE_A      130
#define IDB_MODE_B      131
#define IDC_REPAIR      204
#define IDC_LAYER       207
#define IDC_GRADE       208
#define IDC_WIDTH       209
#define IDC_COUNT       210
#define IDC_STAKES      222
#define IDC_SIDE_LEFT   223
#define IDC_SIDE_RIGHT  224
#define IDC_MODE_A      301
#define IDC_MODE_B      302
#define IDC_LIST        1001
)";

const char* const kResourceScript = R"(#include "resource.h"
#include "afxres.h"

IDB_MODE_A BITMAP "res\\mode_a.bmp"
IDB_MODE_B BITMAP "res\\mode_b.bmp"

IDD_SETTINGS DIALOGEX 0, 0, 200, 140
STYLE DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "Road settings"
FONT 9, "SimSun", 400, 0, 0x86
BEGIN
    LTEXT           "Width:",IDC_STATIC,7,9,40,8
    EDITTEXT        IDC_WIDTH,50,7,60,14,ES_AUTOHSCROLL
    LTEXT           "Lanes:",IDC_STATIC,7,27,40,8
    EDITTEXT        IDC_COUNT,50,25,60,14,ES_AUTOHSCROLL
    COMBOBOX        IDC_GRADE,50,43,80,80,CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP
    CONTROL         "",IDC_LAYER,"ComboBox",CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP,50,61,80,80
    CONTROL         "Label stakes",IDC_STAKES,"Button",BS_AUTOCHECKBOX | WS_TABSTOP,7,80,80,10
    CONTROL         "Left",IDC_SIDE_LEFT,"Button",BS_AUTORADIOBUTTON | WS_GROUP,7,94,40,10
    CONTROL         "Right",IDC_SIDE_RIGHT,"Button",BS_AUTORADIOBUTTON,50,94,40,10
    DEFPUSHBUTTON   "OK",IDOK,86,119,50,14,WS_GROUP
    PUSHBUTTON      "Cancel",IDCANCEL,143,119,50,14
END

// The layer box starts with ROAD from here; OnInitDialog adds CURB after it.
IDD_SETTINGS DLGINIT
BEGIN
    IDC_LAYER, 0x403, 5, 0
0x4f52, 0x4441, "\000"
    0
END

IDD_RESULT DIALOGEX 0, 0, 260, 160
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME
CAPTION "Check result"
FONT 9, "SimSun", 400, 0, 0x86
BEGIN
    CONTROL         "",IDC_LIST,"SysListView32",LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,7,7,246,110
    CONTROL         "",IDC_MODE_A,"Button",BS_AUTORADIOBUTTON | BS_PUSHLIKE | BS_BITMAP | WS_GROUP,7,122,20,20
    CONTROL         "",IDC_MODE_B,"Button",BS_AUTORADIOBUTTON | BS_PUSHLIKE | BS_BITMAP,30,122,20,20
    PUSHBUTTON      "Repair",IDC_REPAIR,150,139,50,14
    PUSHBUTTON      "Close",IDCANCEL,203,139,50,14
END
)";

AcRx::AppRetCode testEntryPoint(AcRx::AppMsgCode, void*)
{
    return AcRx::kRetOK;
}

std::map<std::size_t, std::function<void()>>& commandBodies()
{
    static std::map<std::size_t, std::function<void()>> bodies;
    return bodies;
}

template <std::size_t N> void callCommand()
{
    commandBodies()[N]();
}

void sendCommand(const wchar_t* text)
{
    acDocManager->sendStringToExecute(acDocManager->curDocument(), text);
}

} // namespace

// ---- The settings dialog ----

IMPLEMENT_DYNAMIC(SettingsDialog, CAcUiDialog)

BEGIN_MESSAGE_MAP(SettingsDialog, CAcUiDialog)
ON_BN_CLICKED(IDC_STAKES, &SettingsDialog::OnStakesClicked)
ON_CBN_SELCHANGE(IDC_GRADE, &SettingsDialog::OnGradeChanged)
ON_EN_CHANGE(IDC_WIDTH, &SettingsDialog::OnWidthChanged)
END_MESSAGE_MAP()

SettingsDialog::SettingsDialog(CWnd* parent)
    : CAcUiDialog(IDD_SETTINGS, parent)
{
}

void SettingsDialog::DoDataExchange(CDataExchange* pDX)
{
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GRADE, gradeBox);
    DDX_Text(pDX, IDC_WIDTH, width);
    DDV_MinMaxDouble(pDX, width, 0.5, 100.0);
    DDX_Text(pDX, IDC_COUNT, lanes);
    DDV_MinMaxInt(pDX, lanes, 1, 8);
    DDX_CBIndex(pDX, IDC_GRADE, grade);
    DDX_CBString(pDX, IDC_LAYER, layer);
    DDX_Check(pDX, IDC_STAKES, stakes);
    DDX_Radio(pDX, IDC_SIDE_LEFT, side);
}

BOOL SettingsDialog::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    for (const std::wstring& name : grades)
        gradeBox.AddString(name.c_str());
    gradeBox.SetCurSel(grade);
    auto* layers = static_cast<CComboBox*>(GetDlgItem(IDC_LAYER));
    layers->AddString(L"CURB");
    return TRUE;
}

void SettingsDialog::OnOK()
{
    events.push_back(L"OnOK");
    CAcUiDialog::OnOK();
    widthAfterOk.push_back(width);
    lanesAfterOk.push_back(lanes);
    CWnd* focus = CWnd::GetFocus();
    focusAfterOk.push_back(focus != nullptr ? focus->GetDlgCtrlID() : 0);
}

void SettingsDialog::OnStakesClicked()
{
    // Without stake labels there is no width to give.
    const bool on = IsDlgButtonChecked(IDC_STAKES) == BST_CHECKED;
    events.push_back(std::wstring(L"stakes ") + (on ? L"on" : L"off"));
    GetDlgItem(IDC_WIDTH)->EnableWindow(on ? TRUE : FALSE);
}

void SettingsDialog::OnGradeChanged()
{
    CString text;
    gradeBox.GetLBText(gradeBox.GetCurSel(), text);
    events.push_back(L"grade " + std::wstring(text.GetString()));
}

void SettingsDialog::OnWidthChanged()
{
    CString text;
    GetDlgItemText(IDC_WIDTH, text);
    events.push_back(L"width " + std::wstring(text.GetString()));
}

// ---- The result dialog ----

ResultDialog* gResultDialog = nullptr;
int ResultDialog::created = 0;

IMPLEMENT_DYNAMIC(ResultDialog, CAcUiDialog)

BEGIN_MESSAGE_MAP(ResultDialog, CAcUiDialog)
ON_BN_CLICKED(IDC_REPAIR, &ResultDialog::OnRepair)
ON_NOTIFY(NM_DBLCLK, IDC_LIST, &ResultDialog::OnListDblClk)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &ResultDialog::OnKeepFocus)
END_MESSAGE_MAP()

ResultDialog::ResultDialog()
    : CAcUiDialog(IDD_RESULT, acedGetAcadFrame())
{
    ++created;
}

ResultDialog::~ResultDialog()
{
    if (gResultDialog == this)
        gResultDialog = nullptr;
}

void ResultDialog::DoDataExchange(CDataExchange* pDX)
{
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST, list);
    DDX_Control(pDX, IDC_MODE_A, modeA);
    DDX_Control(pDX, IDC_MODE_B, modeB);
}

BOOL ResultDialog::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES | LVS_EX_FLATSB);
    list.InsertColumn(0, L"No.", LVCFMT_LEFT, 40);
    list.InsertColumn(1, L"Road", LVCFMT_LEFT, 120);
    list.InsertColumn(2, L"宽度", LVCFMT_RIGHT, 60);
    bitmapA.LoadBitmap(IDB_MODE_A);
    bitmapB.LoadBitmap(IDB_MODE_B);
    modeA.SetBitmap(bitmapA);
    modeB.SetBitmap(bitmapB);
    modeA.SetCheck(BST_CHECKED);
    DLGCTLINFO layout[] = {{IDC_LIST, ELASTICX | ELASTICY, 100}, {IDC_REPAIR, MOVEX | MOVEY, 100},
        {IDCANCEL, MOVEX | MOVEY, 100}};
    SetControlProperty(layout, 3);
    SetIcon(acedGetAcadFrame()->GetIcon(TRUE), TRUE);
    return TRUE;
}

void ResultDialog::fill(const std::vector<std::pair<std::wstring, std::wstring>>& roads)
{
    list.DeleteAllItems();
    for (std::size_t i = 0; i < roads.size(); ++i) {
        const int row = list.InsertItem(static_cast<int>(i), std::to_wstring(i + 1).c_str());
        list.SetItemText(row, 1, roads[i].first.c_str());
        list.SetItemText(row, 2, roads[i].second.c_str());
    }
}

void ResultDialog::OnCancel()
{
    // The module's result dialogs stay alive: closing hides them.
    ShowWindow(SW_HIDE);
}

void ResultDialog::OnRepair()
{
    mode = 2;
    sendCommand(L"RESULTDISPATCH\n");
}

void ResultDialog::OnListDblClk(NMHDR* pNMHDR, LRESULT* pResult)
{
    clickedRow = reinterpret_cast<NMITEMACTIVATE*>(pNMHDR)->iItem;
    mode = 3;
    sendCommand(L"RESULTDISPATCH\n");
    *pResult = 0;
}

BOOL ResultDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE)
        ++mouseMoves;
    return CAcUiDialog::PreTranslateMessage(pMsg);
}

LRESULT ResultDialog::OnKeepFocus(WPARAM, LPARAM)
{
    ++keepFocusQueries;
    POINT cursor;
    GetCursorPos(&cursor);
    CRect rect;
    GetWindowRect(&rect);
    return rect.PtInRect(cursor) ? TRUE : FALSE;
}

// ---- The fixture ----

void DialogFixture::SetUp()
{
    mDataDir = std::filesystem::temp_directory_path()
        / ("planroad-dialogs-" + std::to_string(getpid()) + "-"
            + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(mDataDir);
    ResultDialog::created = 0;
    startSession(mDataDir);
}

void DialogFixture::TearDown()
{
    endSession();
    std::filesystem::remove_all(mDataDir);
}

void DialogFixture::endSession()
{
    // The module's dialog goes with the module, before the session.
    delete gResultDialog;
    gResultDialog = nullptr;
    mSession.reset();
    commandBodies().clear();
}

void DialogFixture::startSession(const std::filesystem::path& dataDir)
{
    endSession();
    mOut.str("");
    arxhost::SessionOptions options;
    options.transcript = &mOut;
    options.strict = true;
    options.userDataDir = dataDir;
    mSession = std::make_unique<arxhost::Session>(options);
    std::wstring error;
    ASSERT_TRUE(mSession->modules().loadLinked(L"dialogtest.arx", &testEntryPoint, nullptr,
        {{"DialogTest.rc", kResourceScript}, {"resource.h", kResourceHeader}}, error));
    acDocManager->pushResourceHandle(mSession->modules().find(L"dialogtest.arx")->instance());
}

std::wstring DialogFixture::transcriptFrom(const std::wstring& marker) const
{
    const std::wstring text = transcript();
    const std::size_t at = text.find(marker);
    return at == std::wstring::npos ? std::wstring() : text.substr(at);
}

void DialogFixture::type(const std::wstring& lines)
{
    mSession->addInputText(lines);
    mSession->run();
}

void DialogFixture::defineCommand(const std::wstring& name, std::function<void()> body)
{
    static const AcRxFunctionPtr trampolines[] = {&callCommand<0>, &callCommand<1>, &callCommand<2>,
        &callCommand<3>, &callCommand<4>, &callCommand<5>, &callCommand<6>, &callCommand<7>};
    const std::size_t slot = commandBodies().size();
    ASSERT_LT(slot, std::size(trampolines));
    commandBodies()[slot] = std::move(body);
    ASSERT_EQ(Acad::eOk,
        acedRegCmds->addCommand(L"TEST", name.c_str(), name.c_str(), ACRX_CMD_MODAL, trampolines[slot]));
}

void DialogFixture::defineResultCommands(std::vector<std::pair<std::wstring, std::wstring>> roads)
{
    auto shared = std::make_shared<std::vector<std::pair<std::wstring, std::wstring>>>(std::move(roads));
    defineCommand(L"SHOWRESULT", [shared] {
        if (gResultDialog == nullptr) {
            gResultDialog = new ResultDialog();
            gResultDialog->Create(IDD_RESULT, acedGetAcadFrame());
        }
        gResultDialog->fill(*shared);
        gResultDialog->ShowWindow(SW_SHOW);
    });
    defineCommand(L"RESULTDISPATCH", [this, shared] {
        if (gResultDialog == nullptr)
            return;
        mDispatched.push_back(std::to_wstring(gResultDialog->mode));
        if (gResultDialog->mode == 2 && !shared->empty()) {
            shared->erase(shared->begin());
            gResultDialog->fill(*shared);
        }
        gResultDialog->mode = 0;
    });
}

} // namespace planroad::test
