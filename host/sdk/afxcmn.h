// MFC's common-control classes: the list control (report view).
#pragma once

#include "afxwin.h"
#include "commctrl.h"

// A list view. Rows and sub-items are addressed by index from 0; in report view sub-item 0 is the
// first column.
class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    CListCtrl() noexcept = default;

    // Returns the previous extended style.
    DWORD SetExtendedStyle(DWORD dwNewStyle);
    DWORD GetExtendedStyle() const;

    int InsertColumn(int nCol, const LVCOLUMN* pColumn);
    // nWidth -1 leaves the width to the host (the heading's width); nSubItem -1 means nCol.
    int InsertColumn(
        int nCol, LPCTSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1, int nSubItem = -1);
    BOOL DeleteColumn(int nCol);
    int GetColumnWidth(int nCol) const;
    // LVSCW_AUTOSIZE fits the widest cell, LVSCW_AUTOSIZE_USEHEADER also the heading.
    BOOL SetColumnWidth(int nCol, int cx);

    // Returns the new row's index (an index past the end appends), -1 on failure.
    int InsertItem(int nItem, LPCTSTR lpszItem);
    int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
    int InsertItem(const LVITEM* pItem);
    BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
    BOOL SetItem(const LVITEM* pItem);
    BOOL GetItem(LVITEM* pItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    int GetItemCount() const;
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();

    UINT GetSelectedCount() const;
    UINT GetItemState(int nItem, UINT nMask) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    BOOL SetItemState(int nItem, LVITEM* pItem);
    int GetNextItem(int nItem, int nFlags) const;
    int GetSelectionMark() const;
    int SetSelectionMark(int iIndex);
    // The first selected row as a position (null when none); GetNextSelectedItem returns its index
    // and moves to the next selected row.
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    int GetTopIndex() const;
    int GetCountPerPage() const;
};
