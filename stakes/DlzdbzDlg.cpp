// The stake-point annotation dialog: its lists, bitmaps, data exchange and the layout kept per user.
#include "StdAfx.h"

#include "DlzdbzDlg.h"

#include "RoadBaseLibrary.h"

namespace {

const ACHAR* const kLayoutKey = _T("标注方式");

void FillPrecisions(CComboBox& list, int selected)
{
    for (const ACHAR* item : {_T("0"), _T("0.1"), _T("0.01"), _T("0.001"), _T("0.0001")})
        list.AddString(item);
    if (selected >= 0 && selected < list.GetCount())
        list.SetCurSel(selected);
}

} // namespace

IMPLEMENT_DYNAMIC(CDlzdbzDlg, CAcUiDialog)

BEGIN_MESSAGE_MAP(CDlzdbzDlg, CAcUiDialog)
ON_BN_CLICKED(IDCANCEL, &CDlzdbzDlg::OnCancelClicked)
END_MESSAGE_MAP()

CDlzdbzDlg::CDlzdbzDlg(CWnd* pParent)
    : CAcUiDialog(CDlzdbzDlg::IDD, pParent)
    , dX(0.0)
    , dY(0.0)
    , dH(0.0)
    , dh(0.0)
    , nMode(0)
    , dTextHeight(4.0)
    , nCoordPrec(2)
    , nElevPrec(3)
    , nAlign(0)
{
    m_bmpTable.LoadBitmap(IDB_ZDBZ_TABLE);
    m_bmpColumn.LoadBitmap(IDB_ZDBZ_COLUMN);
}

CDlzdbzDlg::~CDlzdbzDlg()
{
    m_bmpTable.DeleteObject();
    m_bmpColumn.DeleteObject();
}

void CDlzdbzDlg::FromSettings(const SZDBZPARAM& param)
{
    dX = param.dX;
    dY = param.dY;
    dH = param.dH;
    dh = param.dh;
    dTextHeight = param.dTextHeight;
    nCoordPrec = param.nCoordPrec;
    nElevPrec = param.nElevPrec;
    nAlign = param.nAlign;
}

void CDlzdbzDlg::ToSettings(SZDBZPARAM& param) const
{
    param.dX = dX;
    param.dY = dY;
    param.dH = dH;
    param.dh = dh;
    param.nMode = nMode;
    param.dTextHeight = dTextHeight;
    param.nCoordPrec = nCoordPrec;
    param.nElevPrec = nElevPrec;
    param.nAlign = nAlign;
}

void CDlzdbzDlg::DoDataExchange(CDataExchange* pDX)
{
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ZD_COORD_PREC, m_cbCoordPrec);
    DDX_Control(pDX, IDC_ZD_ELEV_PREC, m_cbElevPrec);
    DDX_Control(pDX, IDC_ZD_ALIGN, m_cbAlign);
    DDX_Radio(pDX, IDC_ZD_MODE_TABLE, nMode);
    DDX_Text(pDX, IDC_ZD_X, dX);
    DDX_Text(pDX, IDC_ZD_Y, dY);
    DDX_Text(pDX, IDC_ZD_PLANNED_ELEV, dH);
    DDX_Text(pDX, IDC_ZD_EXISTING_ELEV, dh);
    DDX_Text(pDX, IDC_ZD_TEXT_HEIGHT, dTextHeight);
    DDV_MinMaxDouble(pDX, dTextHeight, 0.00001, 10000000000000.0);
}

BOOL CDlzdbzDlg::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    CenterWindow();
    if (CWnd* parent = GetParent()) {
        SendMessage(WM_SETICON, 1, parent->SendMessage(WM_GETICON, 1, 0));
        SendMessage(WM_SETICON, 0, parent->SendMessage(WM_GETICON, 0, 0));
    }
    static_cast<CButton*>(GetDlgItem(IDC_ZD_MODE_TABLE))->SetBitmap(m_bmpTable);
    static_cast<CButton*>(GetDlgItem(IDC_ZD_MODE_COLUMN))->SetBitmap(m_bmpColumn);

    FillPrecisions(m_cbCoordPrec, nCoordPrec);
    FillPrecisions(m_cbElevPrec, nElevPrec);
    m_cbAlign.ResetContent();
    for (const ACHAR* item : {_T("左对齐"), _T("居中对齐"), _T("右对齐")})
        m_cbAlign.AddString(item);
    m_cbAlign.SetCurSel(0);
    m_cbAlign.SetCurSel(m_cbAlign.GetCount() > nAlign ? nAlign : 0);

    CString layout;
    nMode = GetDialogData(kLayoutKey, layout) ? _wtoi(layout) : 0;
    UpdateData(FALSE);
    return TRUE;
}

void CDlzdbzDlg::RememberLayout()
{
    SetDialogData(kLayoutKey, IntToString(nMode));
}

void CDlzdbzDlg::OnOK()
{
    UpdateData(TRUE);
    RememberLayout();
    nElevPrec = m_cbElevPrec.GetCurSel();
    nCoordPrec = m_cbCoordPrec.GetCurSel();
    nAlign = m_cbAlign.GetCurSel();
    CAcUiDialog::OnOK();
}

void CDlzdbzDlg::OnCancelClicked()
{
    UpdateData(TRUE);
    RememberLayout();
    CAcUiDialog::OnCancel();
}
