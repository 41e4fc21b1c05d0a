// The road width check dialog, its command pair "FROADWIDTHCHECK" / "FROADWIDTHCHECKCommand", and the
// clicks that become the dispatcher command.
#include "StdAfx.h"

#include "RoadWidthCheckDlg.h"

#include "CommandHandlers.h"
#include "DrawingToolkit.h"
#include "ModelessDialog.h"

CRoadWidthCheckDlg* g_pRoadWidthCheckDlg = nullptr;

namespace {

const ACHAR* const kDispatcher = _T("FROADWIDTHCHECKCommand\n");

} // namespace

IMPLEMENT_DYNAMIC(CRoadWidthCheckDlg, CAcUiDialog)

BEGIN_MESSAGE_MAP(CRoadWidthCheckDlg, CAcUiDialog)
ON_MESSAGE(WM_ACAD_KEEPFOCUS, &CRoadWidthCheckDlg::OnAcadKeepFocus)
ON_NOTIFY(NM_DBLCLK, IDC_ROADWIDTH_LIST, &CRoadWidthCheckDlg::OnDblClkList)
ON_BN_CLICKED(IDC_ROADWIDTH_RECHECK, &CRoadWidthCheckDlg::OnRecheck)
END_MESSAGE_MAP()

CRoadWidthCheckDlg::CRoadWidthCheckDlg(CWnd* pParent)
    : CAcUiDialog(CRoadWidthCheckDlg::IDD, pParent)
    , m_nOprMode(0)
    , selectedRow(-1)
    , m_bKeepFocus(0)
{
}

CRoadWidthCheckDlg::~CRoadWidthCheckDlg() = default;

int CRoadWidthCheckDlg::ShowDlg(int visible)
{
    return ShowModelessDlg(g_pRoadWidthCheckDlg, CRoadWidthCheckDlg::IDD, visible);
}

int CRoadWidthCheckDlg::DestroyDlg()
{
    return DestroyModelessDlg(g_pRoadWidthCheckDlg);
}

void CRoadWidthCheckDlg::DoDataExchange(CDataExchange* pDX)
{
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ROADWIDTH_LIST, m_list);
}

BOOL CRoadWidthCheckDlg::PreTranslateMessage(MSG* pMsg)
{
    if (g_pRoadWidthCheckDlg != nullptr)
        TakeFocusOnMouseMove(*this, pMsg, m_bKeepFocus);
    return CAcUiDialog::PreTranslateMessage(pMsg);
}

BOOL CRoadWidthCheckDlg::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    // The dialog's top left corner goes to the top left corner of the drawing view.
    CRect rcView;
    acedGetAcadDwgView()->GetWindowRect(&rcView);
    SetWindowPos(nullptr, rcView.left, rcView.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);

    m_list.SendMessage(
        LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB);
    CRect rcList;
    m_list.GetWindowRect(&rcList);
    const int w = (rcList.Width() - 3) / 2;
    m_list.InsertColumn(0, _T("序号"), LVCFMT_CENTER, static_cast<int>(w * 0.6));
    m_list.InsertColumn(1, _T("道路宽度"), LVCFMT_CENTER, static_cast<int>(w * 1.4));

    DLGCTLINFO layout[] = {{IDC_ROADWIDTH_LIST, ELASTICX, 100}, {IDC_ROADWIDTH_LIST, ELASTICY, 100},
        {IDC_ROADWIDTH_RECHECK, MOVEY, 100}, {IDCANCEL, MOVEY, 100}};
    SetControlProperty(layout, 4);
    return TRUE;
}

void CRoadWidthCheckDlg::OnDblClkList(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    if (m_list.GetSelectedCount() == 0)
        return;
    const int nCount = m_list.GetItemCount();
    for (int i = 0; i < nCount; ++i) {
        if ((m_list.GetItemState(i, LVIS_SELECTED) & LVIS_SELECTED) != 0) {
            selectedRow = i;
            break;
        }
    }
    m_nOprMode = 1;
    tarn::cad::SendCmdToAcad(kDispatcher);
}

void CRoadWidthCheckDlg::OnRecheck()
{
    m_nOprMode = 2;
    tarn::cad::SendCmdToAcad(kDispatcher);
}

LRESULT CRoadWidthCheckDlg::OnAcadKeepFocus(WPARAM, LPARAM)
{
    return AnswerKeepFocus(*this, m_bKeepFocus);
}

// ---- Commands ----

void RoadWidthCheckCommand()
{
    if (CRoadWidthCheckDlg::ShowDlg(0) == 0)
        return;
    if (g_pRoadWidthCheckDlg->CollectRoads() == 1)
        CRoadWidthCheckDlg::ShowDlg(1);
}

void RoadWidthCheckOprCommand()
{
    CRoadWidthCheckDlg* pDlg = g_pRoadWidthCheckDlg;
    if (pDlg == nullptr)
        return;
    switch (pDlg->m_nOprMode) {
    case 1:
        pDlg->ZoomToSelectedRoad();
        break;
    case 2:
        pDlg->CollectRoads();
        break;
    default:
        break;
    }
}

void DestroyRoadWidthCheckDlg()
{
    CRoadWidthCheckDlg::DestroyDlg();
}
