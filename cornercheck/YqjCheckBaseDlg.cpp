// The shared part of the corner-cut check dialogs: construction, the selected row, and the zoom to a row.
#include "StdAfx.h"

#include "YqjCheckBaseDlg.h"
#include "YqjListIndex.h"

#include "DrawingToolkit.h"
#include "ModelessDialog.h"

IMPLEMENT_DYNAMIC(CYqjCheckBaseDlg, CAcUiDialog)

CYqjCheckBaseDlg::CYqjCheckBaseDlg(UINT nIDTemplate, CWnd* pParent, int fixByDefault, int showAll)
    : CAcUiDialog(nIDTemplate, pParent)
    , m_nOprMode(0)
    , m_bFixPrefix(fixByDefault)
    , m_bFixAnnot(fixByDefault)
    , m_bKeepFocus(0)
    , m_bShowAll(showAll)
    , m_nSelRow(-1)
{
}

CYqjCheckBaseDlg::~CYqjCheckBaseDlg() = default;

void CYqjCheckBaseDlg::Dispatch(int mode)
{
    m_nOprMode = mode;
    tarn::cad::SendCmdToAcad(DispatcherCommand());
}

void CYqjCheckBaseDlg::DoDataExchange(CDataExchange* pDX)
{
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_YQJ_LIST, m_list);
}

BOOL CYqjCheckBaseDlg::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    InitYqjResultColumns(m_list);
    return TRUE;
}

void CYqjCheckBaseDlg::OnDblclkList(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    const int row = FirstSelectedRow();
    if (row < 0)
        return;
    m_nSelRow = row;
    Dispatch(1);
}

LRESULT CYqjCheckBaseDlg::OnAcadKeepFocus(WPARAM, LPARAM)
{
    return AnswerKeepFocus(*this, m_bKeepFocus);
}

int CYqjCheckBaseDlg::FirstSelectedRow()
{
    if (m_list.GetSelectedCount() == 0)
        return -1;
    const int count = m_list.GetItemCount();
    for (int i = 0; i < count; ++i)
        if ((m_list.GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED) != 0)
            return i;
    return -1;
}

void CYqjCheckBaseDlg::ZoomToYqjRow()
{
    const CArray<SYQJINFO, SYQJINFO>& rows = m_bShowAll == 1 ? m_allRows : m_errRows;
    if (m_nSelRow < 0 || m_nSelRow >= rows.GetSize())
        return;
    const SYQJINFO& row = rows[m_nSelRow];
    AcDbObjectIdArray ids;
    if (row.nErrType != 4 && row.nErrType != 5)
        ids.append(row.idText);
    ids.append(row.idYqj);
    AcGePoint3d low;
    AcGePoint3d high;
    if (!tarn::ent::GetSSRect(ids, low, high))
        return;
    low = tarn::geo::Wcs2ucs(low);
    high = tarn::geo::Wcs2ucs(high);
    const ads_point a = {low.x - 30.0, low.y - 20.0, 0.0};
    const ads_point b = {high.x + 30.0, high.y + 20.0, 0.0};
    acedCommand(RTSTR, _T("ZOOM"), RTSTR, _T("W"), RTPOINT, a, RTPOINT, b, RTNONE);
    tarn::ent::Flash(ids);
}
