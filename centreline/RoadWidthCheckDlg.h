// The modeless result dialog of the road width check ("FROADWIDTHCHECK"): every road centreline with its
// width, a double-click zooms to the road of a row, "重新检测" collects the roads again.
#pragma once

#include "StdAfx.h"

class CRoadWidthCheckDlg : public CAcUiDialog {
    DECLARE_DYNAMIC(CRoadWidthCheckDlg)
public:
    enum { IDD = IDD_ROADWIDTHCHECK };

    explicit CRoadWidthCheckDlg(CWnd* pParent = nullptr);
    ~CRoadWidthCheckDlg() override;

    // Shows (1) or hides (0) the one instance, creating it hidden on first use; 0 when it cannot be made.
    static int ShowDlg(int visible);
    // Destroys the one instance at unload; returns 1.
    static int DestroyDlg();

    // Collects the road centrelines into roadIds and refills the list (operation mode 2 and the opener):
    // 1 when roads were found; when none is found the rows stay as they were.
    int CollectRoads();
    // Operation mode 1: zooms to the road of row selectedRow, with 30 units beside it and 20 above and
    // below, and flashes it.
    void ZoomToSelectedRoad();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    CListCtrl m_list;
    AcDbObjectIdArray roadIds; // the centrelines in list order
    int m_nOprMode; // the operation the dispatcher runs: 1 zoom, 2 collect again
    int selectedRow; // the row of the last double-click, -1 before the first
    int m_bKeepFocus;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnDblClkList(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnRecheck();
    afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The one instance; null until the first "FROADWIDTHCHECK" and after unload.
extern CRoadWidthCheckDlg* g_pRoadWidthCheckDlg;
