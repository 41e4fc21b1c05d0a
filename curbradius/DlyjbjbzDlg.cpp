// The curb-return radius annotation dialog: construction, data exchange and the stored settings.
#include "StdAfx.h"

#include "DlyjbjbzDlg.h"

#include <algorithm>

#include "CustomParameterStore.h"

namespace {

const ACHAR* const kKeyRadiusPrefix = _T("标注前缀");
const ACHAR* const kKeyStdCutPrefix = _T("标注前缀Qj");
const ACHAR* const kKeyNonStdCutPrefix = _T("F标注前缀Qj");
const ACHAR* const kKeyPrecision = _T("标注精度");
const ACHAR* const kKeyDrawLeader = _T("绘制引线");
const ACHAR* const kKeyCurb = _T("标注沿石半径");
const ACHAR* const kKeyRedLine = _T("标注红线半径");
const ACHAR* const kKeyCentreline = _T("标注中线半径");

const ACHAR* const kTextParamKey = _T("道路圆角半径标注字符");
const ACHAR* const kLayerParamKey = _T("FL_BZ_DLQXYS");
const ACHAR* const kCutLengthModeKey = _T("圆切角标注半径计算方式[计算值(0)/属性值(1)]");

const ACHAR* const kYes = _T("是");
const ACHAR* const kNo = _T("否");

const int kMaxPrecision = 8;

} // namespace

IMPLEMENT_DYNAMIC(CDlyjbjbzDlg, CAcUiDialog)

BEGIN_MESSAGE_MAP(CDlyjbjbzDlg, CAcUiDialog)
ON_BN_CLICKED(IDC_DLYJ_ANNOTATE, &CDlyjbjbzDlg::OnAnnotate)
END_MESSAGE_MAP()

CDlyjbjbzDlg::CDlyjbjbzDlg(CWnd* pParent)
    : CAcUiDialog(CDlyjbjbzDlg::IDD, pParent)
    , m_nDrawLeader(0)
    , m_strRadiusPrefix(_T("R-"))
    , m_nPrecision(1)
    , m_dTextHeight(3.0)
    , m_strStdCutPrefix(_T("Q "))
    , m_strNonStdCutPrefix(_T("FQ"))
{
}

CDlyjbjbzDlg::~CDlyjbjbzDlg() = default;

void CDlyjbjbzDlg::DoDataExchange(CDataExchange* pDX)
{
    CAcUiDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DLYJ_TEXT_STYLE, m_cbTextStyle);
    DDX_Text(pDX, IDC_DLYJ_RADIUS_PREFIX, m_strRadiusPrefix);
    DDX_CBIndex(pDX, IDC_DLYJ_PRECISION, m_nPrecision);
    DDX_Text(pDX, IDC_DLYJ_TEXT_HEIGHT, m_dTextHeight);
    DDV_MinMaxDouble(pDX, m_dTextHeight, 0.01, 1000000000.0);
    DDX_Text(pDX, IDC_DLYJ_STD_CUT_PREFIX, m_strStdCutPrefix);
    DDX_Text(pDX, IDC_DLYJ_NONSTD_CUT_PREFIX, m_strNonStdCutPrefix);
}

BOOL CDlyjbjbzDlg::OnInitDialog()
{
    CAcUiDialog::OnInitDialog();
    CenterWindow();
    if (CWnd* parent = GetParent()) {
        const LRESULT bigIcon = parent->SendMessage(WM_GETICON, 1, 0);
        const LRESULT smallIcon = parent->SendMessage(WM_GETICON, 0, 0);
        SendMessage(WM_SETICON, 1, bigIcon);
        SendMessage(WM_SETICON, 0, smallIcon);
    }
    LoadSettings();
    return TRUE;
}

bool CDlyjbjbzDlg::IsChecked(int controlId)
{
    CWnd* box = GetDlgItem(controlId);
    return box != nullptr && box->SendMessage(BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CDlyjbjbzDlg::SetChecked(int controlId, bool checked)
{
    if (CWnd* box = GetDlgItem(controlId))
        box->SendMessage(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CDlyjbjbzDlg::LoadSettings()
{
    m_strRadiusPrefix = _T("R-");
    m_nDrawLeader = 0;
    m_nPrecision = 2;

    CString value;
    if (!GetDialogData(kKeyRadiusPrefix, m_strRadiusPrefix))
        m_strRadiusPrefix = _T("R-");
    if (!GetDialogData(kKeyStdCutPrefix, m_strStdCutPrefix))
        m_strStdCutPrefix = _T("Q ");
    if (!GetDialogData(kKeyNonStdCutPrefix, m_strNonStdCutPrefix))
        m_strNonStdCutPrefix = _T("FQ");
    // The first two boxes are on unless "否" was stored, the last two only when "是" was.
    SetChecked(IDC_DLYJ_LEADER, !GetDialogData(kKeyDrawLeader, value) || value != kNo);
    SetChecked(IDC_DLYJ_CURB, !GetDialogData(kKeyCurb, value) || value != kNo);
    SetChecked(IDC_DLYJ_RED_LINE, GetDialogData(kKeyRedLine, value) && value == kYes);
    SetChecked(IDC_DLYJ_CENTRELINE, GetDialogData(kKeyCentreline, value) && value == kYes);
    if (GetDialogData(kKeyPrecision, value))
        m_nPrecision = _wtoi(value);
    // A hand-edited value out of the list's range would leave the list without a selection.
    m_nPrecision = std::clamp(m_nPrecision, 0, kMaxPrecision);

    TEXTPARAM textParam;
    TarnDB::qvGetTextParam(kTextParamKey, textParam);
    LAYERPARAM2013EX layerParam;
    CString wantedStyle;
    if (TarnDB::qvGetLayerParam(kLayerParamKey, layerParam, 0, 1, 1, nullptr)) {
        m_dTextHeight = layerParam.dTextHeight;
        wantedStyle = layerParam.strTextStyle;
    } else {
        m_dTextHeight = textParam.dHeight;
        wantedStyle = textParam.strTextStyle;
    }
    if (m_dTextHeight < 0.1)
        m_dTextHeight = 3.0;

    AcDbTextStyleTable* table = nullptr;
    AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
    if (db != nullptr && db->getTextStyleTable(table, AcDb::kForRead) == Acad::eOk) {
        AcDbTextStyleTableIterator* iterator = nullptr;
        if (table->newIterator(iterator) == Acad::eOk) {
            for (iterator->start(); !iterator->done(); iterator->step()) {
                AcDbTextStyleTableRecord* record = nullptr;
                if (iterator->getRecord(record, AcDb::kForRead) != Acad::eOk)
                    continue;
                const ACHAR* name = nullptr;
                record->getName(name);
                CString text;
                text.Format(_T("%s"), name != nullptr ? name : _T(""));
                record->close();
                if (!text.IsEmpty())
                    m_cbTextStyle.SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.GetString()));
            }
            delete iterator;
        }
        table->close();
    }

    auto findStyle = [this](const CString& wanted) {
        for (int i = 0; i < m_cbTextStyle.GetCount(); ++i) {
            CString item;
            m_cbTextStyle.GetLBText(i, item);
            item.Trim();
            if (item.CompareNoCase(wanted) == 0)
                return i;
        }
        return -1;
    };
    int selected = findStyle(wantedStyle);
    if (selected < 0)
        selected = findStyle(_T("Standard"));
    m_cbTextStyle.SetCurSel(selected < 0 ? 0 : selected);

    UpdateData(FALSE);
}

void CDlyjbjbzDlg::SaveSettings()
{
    UpdateData(TRUE);
    CString text;
    SetDialogData(kKeyRadiusPrefix, m_strRadiusPrefix);
    SetDialogData(kKeyStdCutPrefix, m_strStdCutPrefix);
    SetDialogData(kKeyNonStdCutPrefix, m_strNonStdCutPrefix);
    text.Format(_T("%d"), m_nPrecision);
    SetDialogData(kKeyPrecision, text);

    CString styleName;
    m_cbTextStyle.GetWindowText(styleName);
    TEXTPARAM textParam;
    TarnDB::qvGetTextParam(kTextParamKey, textParam);
    textParam.dHeight = m_dTextHeight;
    textParam.strTextStyle = styleName;
    if (TarnDB::CCustomDatabase* store = TarnDB::qvGetQvCustomDatabase())
        store->SetTextCustomParam(kTextParamKey, &textParam);

    // The annotation layer parameter is updated, never created here.
    LAYERPARAM2013EX layerParam;
    if (TarnDB::qvGetLayerParam(kLayerParamKey, layerParam, 0, 1, 1, nullptr)) {
        layerParam.dTextHeight = m_dTextHeight;
        layerParam.strTextStyle = styleName;
        TarnDB::qvSetLayerParam(kLayerParamKey, layerParam, 0, 1, 1, nullptr);
    }

    SetDialogData(kKeyDrawLeader, IsChecked(IDC_DLYJ_LEADER) ? kYes : kNo);
    SetDialogData(kKeyCurb, IsChecked(IDC_DLYJ_CURB) ? kYes : kNo);
    SetDialogData(kKeyRedLine, IsChecked(IDC_DLYJ_RED_LINE) ? kYes : kNo);
    SetDialogData(kKeyCentreline, IsChecked(IDC_DLYJ_CENTRELINE) ? kYes : kNo);
}

int CDlyjbjbzDlg::GetCutLengthMode()
{
    OTHERPARAM record;
    record.strValue = _T("0");
    record.nCode1 = 5001; // a real
    record.nCode2 = 2;
    TarnDB::CCustomDatabase* store = TarnDB::qvGetCustomDatabase();
    if (store == nullptr)
        return 0;
    if (!store->GetOtherCustomParam(kCutLengthModeKey, &record))
        store->SetOtherCustomParam(kCutLengthModeKey, &record);
    return _wtoi(record.strValue) == 1 ? 1 : 0;
}

CString CDlyjbjbzDlg::FormatLabel(const CString& prefix, double value) const
{
    CString format;
    format.Format(_T("%%s%%0.%df"), m_nPrecision);
    CString label;
    label.Format(format, prefix.GetString(), value);
    return label;
}
