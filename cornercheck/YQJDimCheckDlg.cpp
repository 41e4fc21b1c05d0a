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

IMPLEMENT_DYNAMIC(CYQJDimCheckDlg, CYqjCheckBaseDlg)

BEGIN_MESSAGE_MAP(CYQJDimCheckDlg, CYqjCheckBaseDlg)
ON_NOTIFY(NM_DBLCLK, IDC_YQJ_LIST, &CYQJDimCheckDlg::OnDblclkList)
ON_BN_CLICKED(IDC_YQJ_EXPORT, &CYQJDimCheckDlg::OnExportExcel)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CYQJDimCheckDlg::OnAcadKeepFocus)
END_MESSAGE_MAP()

CYQJDimCheckDlg::CYQJDimCheckDlg(CWnd* pParent)
    : CYqjCheckBaseDlg(CYQJDimCheckDlg::IDD, pParent, 0, 0)
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
    CYqjCheckBaseDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_YQJ_LIST, m_list);
}

BOOL CYQJDimCheckDlg::PreTranslateMessage(MSG* pMsg)
{
    if (g_pYqjDimCheckDlg != nullptr)
        TakeFocusOnMouseMove(*this, pMsg, m_bKeepFocus);
    return CYqjCheckBaseDlg::PreTranslateMessage(pMsg);
}

BOOL CYQJDimCheckDlg::OnInitDialog()
{
    CYqjCheckBaseDlg::OnInitDialog();
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
    CYqjCheckBaseDlg::OnOK();
}

void CYQJDimCheckDlg::OnDblclkList(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    const int row = FirstSelectedRow();
    if (row < 0)
        return;
    m_nSelRow = row;
    m_nOprMode = 1;
    tarn::cad::SendCmdToAcad(kDispatcher);
}

void CYQJDimCheckDlg::OnExportExcel()
{
    // The workbook export is not part of this build: say so rather than do nothing.
    acutPrintf(_T("\n导出EXCEL: 该功能尚未提供。"));
}

LRESULT CYQJDimCheckDlg::OnAcadKeepFocus(WPARAM, LPARAM)
{
    return AnswerKeepFocus(*this, m_bKeepFocus);
}
