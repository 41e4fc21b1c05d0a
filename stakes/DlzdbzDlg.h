// The stake-point annotation dialog of "QVZDBZ": the values of one label, its layout, precisions, text
// height and alignment.
#pragma once

#include "StdAfx.h"

#include "StakeSettings.h"

class CDlzdbzDlg : public CAcUiDialog {
    DECLARE_DYNAMIC(CDlzdbzDlg)
public:
    enum { IDD = IDD_DLZDBZ };

    explicit CDlzdbzDlg(CWnd* pParent = nullptr);
    ~CDlzdbzDlg() override;

    // Shows the record's values and settings (the layout is the dialog's own, remembered per user).
    void FromSettings(const SZDBZPARAM& param);
    // Takes the dialog's values, settings and layout into the record.
    void ToSettings(SZDBZPARAM& param) const;

    CComboBox m_cbCoordPrec;
    CComboBox m_cbElevPrec;
    CComboBox m_cbAlign;
    CBitmap m_bmpTable; // bitmap 203: the two-by-two layout
    CBitmap m_bmpColumn; // bitmap 204: the one-column layout
    double dX;
    double dY;
    double dH;
    double dh;
    int nMode;
    double dTextHeight;
    int nCoordPrec;
    int nElevPrec;
    int nAlign;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    // "取消(&C)": the layout is remembered even when the dialog is cancelled.
    afx_msg void OnCancelClicked();
    DECLARE_MESSAGE_MAP()

private:
    void RememberLayout();
};
