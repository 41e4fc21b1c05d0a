// The corner-cut check dialog: its one instance, its controls, and the clicks that become "YqjCheckOPR".
#include "StdAfx.h"

#include "YQJCheckDlg.h"

#include "DrawingToolkit.h"
#include "ModelessDialog.h"
#include "PipeBaseLibrary.h"

CYQJCheckDlg* g_pYqjCheckDlg = nullptr;

IMPLEMENT_DYNAMIC(CYQJCheckDlg, CYqjCheckBaseDlg)

BEGIN_MESSAGE_MAP(CYQJCheckDlg, CYqjCheckBaseDlg)
ON_BN_CLICKED(IDC_YQJ_SHOW_ALL, &CYQJCheckDlg::OnShowAll)
ON_BN_CLICKED(IDC_YQJ_SHOW_ERRORS, &CYQJCheckDlg::OnShowErrors)
ON_BN_CLICKED(IDC_YQJ_SELECT, &CYQJCheckDlg::OnSelectYqj)
ON_NOTIFY(NM_DBLCLK, IDC_YQJ_LIST, &CYqjCheckBaseDlg::OnDblclkList)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CYqjCheckBaseDlg::OnAcadKeepFocus)
END_MESSAGE_MAP()

CYQJCheckDlg::CYQJCheckDlg(CWnd* pParent)
    : CYqjCheckBaseDlg(CYQJCheckDlg::IDD, pParent, 1, 1)
{
}

CYQJCheckDlg::~CYQJCheckDlg() = default;

int CYQJCheckDlg::ShowDlg(int visible)
{
    return ShowModelessDlg(g_pYqjCheckDlg, CYQJCheckDlg::IDD, visible);
}

int CYQJCheckDlg::DestroyDlg()
{
    return DestroyModelessDlg(g_pYqjCheckDlg);
}

void CYQJCheckDlg::DoDataExchange(CDataExchange* pDX)
{
    CYqjCheckBaseDlg::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_YQJ_FIX_PREFIX, m_bFixPrefix);
    DDX_Check(pDX, IDC_YQJ_FIX_ANNOT, m_bFixAnnot);
}

BOOL CYQJCheckDlg::PreTranslateMessage(MSG* pMsg)
{
    if (g_pYqjCheckDlg != nullptr)
        TakeFocusOnMouseMove(*this, pMsg, m_bKeepFocus);
    return CYqjCheckBaseDlg::PreTranslateMessage(pMsg);
}

BOOL CYQJCheckDlg::OnInitDialog()
{
    CYqjCheckBaseDlg::OnInitDialog();
    SendDlgItemMessage(IDC_YQJ_SHOW_ALL, BM_SETCHECK, BST_CHECKED, 0);
    return TRUE;
}

void CYQJCheckDlg::OnShowAll()
{
    m_bShowAll = 1;
    Dispatch(2);
}

void CYQJCheckDlg::OnShowErrors()
{
    m_bShowAll = 0;
    Dispatch(2);
}

void CYQJCheckDlg::OnSelectYqj()
{
    Dispatch(4);
}

void CYQJCheckDlg::OnOK()
{
    // The list keeps showing what it shows; the repair works on the error rows whatever the view.
    Dispatch(3);
}

void CYQJCheckDlg::RepairYqjText()
{
    if (m_bFixAnnot == 1) {
        // The number behind the last 'Q' becomes the actual value.
        for (int i = 0; i < m_errRows.GetSize(); ++i) {
            const SYQJINFO& row = m_errRows[i];
            if (row.nErrType != 2)
                continue;
            CString number;
            number.Format(_T("%.1f"), row.dRealValue);
            ModiText(row.idText, row.strText.Left(row.strText.ReverseFind(_T('Q')) + 1) + number);
        }
    }
    if (m_bFixPrefix == 1) {
        for (int i = 0; i < m_errRows.GetSize(); ++i) {
            const SYQJINFO& row = m_errRows[i];
            if (row.nErrType != 3)
                continue;
            CString text = row.strText;
            if (row.strRightPrefix != _T("Q"))
                text.Replace(_T("Q"), _T("FQ"));
            else
                text.Replace(_T("FQ"), _T("Q"));
            ModiText(row.idText, text);
        }
    }
}
