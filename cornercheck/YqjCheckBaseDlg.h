// What the two corner-cut check dialogs share: the gathered lists and result rows, the check run, the
// classification of each corner cut, the list and error marks, and the zoom to a row.
#pragma once

#include "StdAfx.h"

#include <memory>

#include "YqjCheckInfo.h"

class CYqjListIndex;

class CYqjCheckBaseDlg : public CAcUiDialog {
    DECLARE_DYNAMIC(CYqjCheckBaseDlg)
public:
    typedef ::SYQJINFO SYQJINFO;

    ~CYqjCheckBaseDlg() override;

    // The check run: asks for the area, gathers the corner cuts there and the centrelines, annotation texts
    // and red lines of the drawing, classifies every corner cut and fills the list. 1 when the dialog is
    // to be shown; 0 when the run ended early (cancel, nothing to check, or no error in the dimension
    // check).
    int DoYqjCheck();
    // Refills the list from the kept rows (all or errors only, as m_bShowAll says) and redraws the error
    // marks of every error row.
    void ShowYqjResult();
    // Zooms to the corner cut of row m_nSelRow of the rows the list shows, with its annotation, and
    // flashes them.
    void ZoomToYqjRow();
    // Classifies the corner cuts into m_allRows (one row each, in order) and m_errRows.
    void StatYqjInfo(const AcDbObjectIdArray& yqjIds);

    // The red lines the corner cut joins at its start and at its end; 1 when both were found and differ.
    int GetYqjRedLines(AcDbObjectId idYqj, AcDbObjectId& redS, AcDbObjectId& redE);
    // The value the corner cut's annotation is to state, with its two red lines; 0 when it is irregular.
    int GetYqjRealValue(AcDbObjectId idYqj, AcDbObjectId& redS, AcDbObjectId& redE, double& value);
    // The standard value of the two roads meeting at the corner cut, from the intersection standards file.
    int GetYqjStdValue(AcDbObjectId idYqj, double& value);

    // Handlers both dialogs' message maps name (public: a message-map entry is outside the class).
    // A double-click on a row asks for the zoom to that row; nothing when no row is selected.
    afx_msg void OnDblclkList(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnAcadKeepFocus(WPARAM wParam, LPARAM lParam);

    CListCtrl m_list;
    CArray<SYQJINFO, SYQJINFO> m_allRows;
    CArray<SYQJINFO, SYQJINFO> m_errRows;
    AcDbObjectIdArray m_roadIds;
    AcDbObjectIdArray m_textIds;
    AcDbObjectIdArray m_redLineIds;
    int m_nOprMode; // the operation the dispatcher runs: 1 zoom, 2 refill, 3 repair, 4 check
    int m_bFixPrefix; // check box 210 of the full check
    int m_bFixAnnot; // check box 212 of the full check
    int m_bKeepFocus;
    int m_bShowAll; // 1: the list shows m_allRows, 0: m_errRows
    int m_nSelRow; // the row of the last double-click, -1 before the first

protected:
    CYqjCheckBaseDlg(UINT nIDTemplate, CWnd* pParent, int fixByDefault, int showAll);

    // The dimension check takes the actual value of an annotated row through CutNum and shows only
    // dialogs with errors.
    virtual bool IsDimensionCheck() const = 0;
    // The dispatcher command of the dialog, with its newline ("YqjCheckOPR\n", ...).
    virtual const ACHAR* DispatcherCommand() const = 0;
    // Stores the operation and sends the dispatcher, which runs it as the next command.
    void Dispatch(int mode);
    // Binds the result list.
    void DoDataExchange(CDataExchange* pDX) override;
    // Prepares the result list's style and columns.
    BOOL OnInitDialog() override;
    // The first selected row of the list, -1 when none is selected.
    int FirstSelectedRow();
    // The annotation text of a corner cut whose red lines are known; null when none was found.
    AcDbObjectId FindYqjText(AcDbObjectId idYqj, AcDbObjectId redS, AcDbObjectId redE);

private:
    // Gathers the corner cuts to check; false when the user cancelled or nothing could be selected.
    bool GatherCornerCuts(const CString& cornerLayers, AcDbObjectIdArray& yqjIds);
    bool AskForRange(const resbuf* cornerFilter, AcDbObjectIdArray& yqjIds);
    void GatherRedLines(const AcDbObjectIdArray& yqjIds);
    // The curve of ids nearest to the point (as RoadGreenLineOpr::GetCloseEnt), found through index.
    bool NearestOf(const AcDbObjectIdArray& ids, const CYqjListIndex* index, const AcGePoint3d& point,
        AcDbObjectId& nearest) const;
    AcDbObjectId RedLineAt(const AcGePoint3d& end, const AcGePoint3d& otherEnd, AcDbObjectId idYqj) const;
    void Classify(SYQJINFO& row) const;

    // Spatial indexes of the gathered lists, alive while StatYqjInfo classifies; without them the lookups
    // walk the lists.
    std::unique_ptr<CYqjListIndex> m_redLineIndex;
    std::unique_ptr<CYqjListIndex> m_roadIndex;
    std::unique_ptr<CYqjListIndex> m_textIndex;
};
