// The modeless result dialog of the corner-cut check ("FDeal_RoadYqjCheck"): the rows of the last check,
// the switch between all rows and errors only, the two repair options and the button to check again.
#pragma once

#include "StdAfx.h"

#include "YqjCheckBaseDlg.h"

class CYQJCheckDlg : public CYqjCheckBaseDlg {
    DECLARE_DYNAMIC(CYQJCheckDlg)
public:
    enum { IDD = IDD_YQJCHECK };

    explicit CYQJCheckDlg(CWnd* pParent = nullptr);
    ~CYQJCheckDlg() override;

    // Shows (1) or hides (0) the one instance, creating it hidden on first use; 0 when it cannot be made.
    static int ShowDlg(int visible);
    // Destroys the one instance at unload; returns 1.
    static int DestroyDlg();

    // Operation mode 3: rewrites the annotations of the error rows the repair boxes ask for (type 2: the
    // number, type 3: the prefix). The rows, list and marks stay as they are until the next check.
    void RepairYqjText();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    const ACHAR* DispatcherCommand() const override { return _T("YqjCheckOPR\n"); }
    bool IsDimensionCheck() const override { return false; }
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // "确定": asks for the repair; the dialog stays open and its list shows what it showed.
    void OnOK() override;
    afx_msg void OnShowAll();
    afx_msg void OnShowErrors();
    afx_msg void OnSelectYqj();
    DECLARE_MESSAGE_MAP()
};

// The one instance; null until the first "FDeal_RoadYqjCheck" and after unload.
extern CYQJCheckDlg* g_pYqjCheckDlg;
