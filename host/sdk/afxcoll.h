// CStringArray: MFC's growable array of CString, indexed by INT_PTR.
#pragma once

#include "afxstr.h"
#include "afxtempl.h"

// Out-of-range indexes and negative sizes throw std::out_of_range / std::invalid_argument where MFC
// throws its invalid-argument exception.
class CStringArray : public CArray<CString, const CString&> {
public:
    using CArray<CString, const CString&>::Add;
    using CArray<CString, const CString&>::SetAt;
    using CArray<CString, const CString&>::SetAtGrow;
    using CArray<CString, const CString&>::InsertAt;

    INT_PTR Add(LPCTSTR newElement) { return Add(CString(newElement)); }
    void SetAt(INT_PTR nIndex, LPCTSTR newElement) { SetAt(nIndex, CString(newElement)); }
    void SetAtGrow(INT_PTR nIndex, LPCTSTR newElement) { SetAtGrow(nIndex, CString(newElement)); }
    void InsertAt(INT_PTR nIndex, LPCTSTR newElement, INT_PTR nCount = 1)
    {
        InsertAt(nIndex, CString(newElement), nCount);
    }
};
