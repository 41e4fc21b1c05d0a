// The corner-cut dimension check dialog: its one instance, its controls, and the clicks that become
// "FDeal_RoadYqjDimCheckCommand".
#include "StdAfx.h"

#include "YQJDimCheckDlg.h"

#include "DrawingToolkit.h"
#include "ModelessDialog.h"

CYQJDimCheckDlg* g_pYqjDimCheckDlg = nullptr;

namespace {

const ACHAR* const kDispatcher = _T("FDeal_RoadYqjDimCheckCommand\n");

} // namespace

IMPLEMENT_DYNAMIC(CYQJDimCheckDlg, CAcUiDialog)

BEGIN_MESSAGE_MAP(CYQJDimCheckDlg, CAcUiDialog)
ON_NOTIFY(NM_DBLCLK, IDC_YQJ_LIST, &CYQJDimCheckDlg::OnDblclkList)
ON_BN_CLICKED(IDC_YQJ_EXPORT, &CYQJDimCheckDlg::OnExportExcel)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CYQJDimCheckDlg::OnAcadKeepFocus)
END_MESSAGE_MAP()

CYQJDimCheckDlg::CYQJDimCheckDlg(CWnd* pParent)
    : CAcUiDialog(CYQJDimCheckDlg::IDD, pParent)
    , m_nOprMode(0)
    , m_bFixPrefix(0)
    , m_bFixAnnot(0)
    , m_bKeepFocus(0)
    , m_bShowAll(0)
    , m_nSelRow(-1)
{
}

CYQJDimCheckDlg::~CYQJDimCheckDlg() = default;

int CYQJDimCheckDlg::ShowDlg(int visible)
{
    return ShowModelessDlg(g_pYqjDimCheckDlg, CYQJDimCheckDlg::IDD, visible);
}

int CYQJDimCheckDlg::DestroyDlg()
{
    return DestroyModelessDlg(g_pYqjDimCheckDlg);
}

void CYQJDimCheckDlg::DoDataExchange(CDataExchange* pDX)
{
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_YQJ_LIST, m_list);
}

BOOL CYQJDimCheckDlg::PreTranslateMessage(MSG* pMsg)
{
    if (g_pYqjDimCheckDlg != nullptr)
        TakeFocusOnMouseMove(*this, pMsg, m_bKeepFocus);
    return CAcUiDialog::PreTranslateMessage(pMsg);
}

BOOL CYQJDimCheckDlg::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    InitYqjResultColumns(m_list);
    DLGCTLINFO layout[] = {{IDC_YQJ_LIST, ELASTICX, 100}, {IDC_YQJ_LIST, ELASTICY, 100},
        {IDC_YQJ_EXPORT, MOVEY, 100}, {IDOK, MOVEY, 100}, {IDCANCEL, MOVEY, 100}};
    SetControlProperty(layout, 5);
    return TRUE;
}

void CYQJDimCheckDlg::OnOK()
{
    // Before any double-click the mode is 0 and the dispatcher does nothing: OK then only ends the dialog.
    tarn::cad::SendCmdToAcad(kDispatcher);
    CAcUiDialog::OnOK();
}

void CYQJDimCheckDlg::OnDblclkList(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_list.GetSelectedCount() == 0)
        return;
    const int nCount = m_list.GetItemCount();
    for (int i = 0; i < nCount; ++i) {
        if ((m_list.GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED) != 0) {
            m_nSelRow = i;
            break;
        }
    }
    m_nOprMode = 1;
    tarn::cad::SendCmdToAcad(kDispatcher);
}

void CYQJDimCheckDlg::OnExportExcel() { }

LRESULT CYQJDimCheckDlg::OnAcadKeepFocus(WPARAM, LPARAM)
{
    return AnswerKeepFocus(*this, m_bKeepFocus);
}

int CYQJDimCheckDlg::DoYqjCheck()
{
    return 0;
}

void CYQJDimCheckDlg::ShowYqjResult() { }

void CYQJDimCheckDlg::ZoomToYqjRow() { }
