// The modeless result dialog of the corner-cut dimension check ("FDeal_RoadYqjDimCheck"): the error rows
// of the last check, resizable, with the export of the list to a workbook.
#pragma once

#include "StdAfx.h"

#include "YqjCheckInfo.h"

class CYQJDimCheckDlg : public CAcUiDialog {
    DECLARE_DYNAMIC(CYQJDimCheckDlg)
public:
    enum { IDD = IDD_YQJDIMCHECK };
    typedef ::SYQJINFO SYQJINFO;

    explicit CYQJDimCheckDlg(CWnd* pParent = nullptr);
    ~CYQJDimCheckDlg() override;

    // Shows (1) or hides (0) the one instance, creating it hidden on first use; 0 when it cannot be made.
    static int ShowDlg(int visible);
    // Destroys the one instance at unload; returns 1.
    static int DestroyDlg();

    // The check run (operation mode 4 and the opener): 1 when the dialog is to be shown. Filled in by the
    // corner-cut collection and check run; until then 0.
    int DoYqjCheck();
    // Operation mode 2: refills the list from the kept rows and redraws the error marks. Filled in by the
    // corner-cut collection and check run.
    void ShowYqjResult();
    // Operation mode 1: zooms to the corner cut of row m_nSelRow. Filled in by the check result dialog's
    // zoom.
    void ZoomToYqjRow();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    CListCtrl m_list;
    CArray<SYQJINFO, SYQJINFO> m_allRows;
    CArray<SYQJINFO, SYQJINFO> m_errRows;
    AcDbObjectIdArray m_roadIds;
    AcDbObjectIdArray m_textIds;
    AcDbObjectIdArray m_redLineIds;
    int m_nOprMode; // the operation the dispatcher runs: 1 zoom, 2 refill, 4 check
    int m_bFixPrefix; // not used by this dialog
    int m_bFixAnnot; // not used by this dialog
    int m_bKeepFocus;
    int m_bShowAll; // always 0: the list shows m_errRows
    int m_nSelRow; // the row of the last double-click, -1 before the first

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // "确定": runs the dispatcher with the mode last stored, then ends (hides) the dialog.
    void OnOK() override;
    afx_msg void OnDblclkList(NMHDR* pNMHDR, LRESULT* pResult);
    // "导出EXCEL": writes the listed rows to a workbook. Filled in by the spreadsheet export.
    afx_msg void OnExportExcel();
    afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The one instance; null until the first "FDeal_RoadYqjDimCheck" and after unload.
extern CYQJDimCheckDlg* g_pYqjDimCheckDlg;
