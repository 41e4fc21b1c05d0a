// The result row of the corner-cut check and the result list that both check dialogs show it in.
#pragma once

#include "StdAfx.h"

// One checked corner cut: what was found, the values compared and the outcome (0 = no error).
struct SYQJINFO {
    AcDbObjectId idYqj; // the corner cut
    AcDbObjectId idText; // its annotation text; null when none was found
    CString strText; // the annotation's content; empty when none
    double dRealValue = 0.0; // actual value, one decimal
    double dStdValue = 0.0; // standard value; 0 when it could not be obtained
    int nErrType = 0; // error type, 0 to 7
    CString strRightPrefix; // the prefix the annotation should carry ("Q" or "FQ"), for type 3 only
};

// The text of an error type as the list and the export show it; empty for 0 and unknown types.
CString YqjErrorText(int type);

// Prepares a result list: grid lines, full-row selection and flat scroll bars, and the five centred
// columns "序号", "标注文字", "实际值", "标准值", "错误类型", sized as 1, 2, 1.8, 1.8 and 2.4 ninths of
// the list's width (each truncated to whole pixels).
void InitYqjResultColumns(CListCtrl& list);
