// The modeless result dialog of the corner-cut check ("FDeal_RoadYqjCheck"): the rows of the last check,
// the switch between all rows and errors only, the two repair options and the button to check again.
#pragma once

#include "StdAfx.h"

#include "YqjCheckInfo.h"

class CYQJCheckDlg : public CAcUiDialog {
    DECLARE_DYNAMIC(CYQJCheckDlg)
public:
    enum { IDD = IDD_YQJCHECK };
    typedef ::SYQJINFO SYQJINFO;

    explicit CYQJCheckDlg(CWnd* pParent = nullptr);
    ~CYQJCheckDlg() override;

    // Shows (1) or hides (0) the one instance, creating it hidden on first use; 0 when it cannot be made.
    static int ShowDlg(int visible);
    // Destroys the one instance at unload; returns 1.
    static int DestroyDlg();

    // The check run: gathers and classifies the corner cuts and fills the rows and the list. 1 when the
    // dialog is to be shown. Filled in by the corner-cut collection and check run; until then 0.
    int DoYqjCheck();
    // Operation mode 2: refills the list from the kept rows and redraws the error marks. Filled in by the
    // corner-cut collection and check run.
    void ShowYqjResult();
    // Operation mode 1: zooms to the corner cut of row m_nSelRow. Filled in by the check result dialog's
    // zoom.
    void ZoomToYqjRow();
    // Operation mode 3: rewrites the wrong annotations as the repair options say. Filled in by the check
    // result dialog's repair.
    void RepairYqjText();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    CListCtrl m_list;
    CArray<SYQJINFO, SYQJINFO> m_allRows;
    CArray<SYQJINFO, SYQJINFO> m_errRows;
    AcDbObjectIdArray m_roadIds;
    AcDbObjectIdArray m_textIds;
    AcDbObjectIdArray m_redLineIds;
    int m_nOprMode; // the operation the dispatcher "YqjCheckOPR" runs: 1 zoom, 2 refill, 3 repair, 4 check
    int m_bFixPrefix; // check box 210
    int m_bFixAnnot; // check box 212
    int m_bKeepFocus;
    int m_bShowAll; // 1: the list shows m_allRows, 0: m_errRows
    int m_nSelRow; // the row of the last double-click, -1 before the first

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // "确定": asks for the repair; the dialog stays open.
    void OnOK() override;
    afx_msg void OnShowAll();
    afx_msg void OnShowErrors();
    afx_msg void OnSelectYqj();
    afx_msg void OnDblclkList(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The one instance; null until the first "FDeal_RoadYqjCheck" and after unload.
extern CYQJCheckDlg* g_pYqjCheckDlg;
