// The modeless result dialog of the corner-cut dimension check ("FDeal_RoadYqjDimCheck"): the error rows
// of the last check, resizable, with the export of the list to a workbook.
#pragma once

#include "StdAfx.h"

#include "YqjCheckBaseDlg.h"

class CYQJDimCheckDlg : public CYqjCheckBaseDlg {
    DECLARE_DYNAMIC(CYQJDimCheckDlg)
public:
    enum { IDD = IDD_YQJDIMCHECK };

    explicit CYQJDimCheckDlg(CWnd* pParent = nullptr);
    ~CYQJDimCheckDlg() override;

    // Shows (1) or hides (0) the one instance, creating it hidden on first use; 0 when it cannot be made.
    static int ShowDlg(int visible);
    // Destroys the one instance at unload; returns 1.
    static int DestroyDlg();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    const ACHAR* DispatcherCommand() const override { return _T("FDeal_RoadYqjDimCheckCommand\n"); }
    bool IsDimensionCheck() const override { return true; }
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // "确定": runs the dispatcher with the mode last stored, then ends (hides) the dialog.
    void OnOK() override;
    // "导出EXCEL": the listed rows into "<drawing>_圆切角检测.xls" in the export folder (asked for once),
    // then the workbook opened or the program closed, as the user answers.
    afx_msg void OnExportExcel();
    DECLARE_MESSAGE_MAP()
};

// The one instance; null until the first "FDeal_RoadYqjDimCheck" and after unload.
extern CYQJDimCheckDlg* g_pYqjDimCheckDlg;
