// The extended data library of the product family: named fields and single texts kept as XDATA.
#pragma once

#include "afx.h"
#include "dbid.h"

namespace ARX_DATA {

// A named field of an entity: the XDATA of application `app` holds `1000 value`, `1000 label`.
class CFGisXData {
public:
    // 1 when the object carries XDATA of `app`; `value` is then its first 1000 string (empty when it
    // has none). 0 (outputs untouched) when the application is absent or the object cannot be opened.
    static int GetFrom(AcDbObjectId id, const CString& app, CString& value);
    // As above; `label` is the second 1000 string (empty when there is none).
    static int GetFrom(AcDbObjectId id, const CString& app, CString& value, CString& label);
    // Replaces what `app` held on the object by the value and its label, registering the application
    // name in the drawing first. 1 on success.
    static int SetTo(AcDbObjectId id, const CString& app, const CString& value, const CString& label);
};

// A single text of an entity: the XDATA of application `app` holds `1000 text`.
class CFSimpleXData {
public:
    // 1 when the object carries XDATA of `app`; `value` is its first 1000 string (empty when none).
    static int GetFrom(AcDbObjectId id, const CString& app, CString& value);
    // Replaces what `app` held on the object by the one text; registers the application. 1 on success.
    static int SetTo(AcDbObjectId id, const CString& app, const CString& value);
};

class ArxDbgUtils_NewGe {
public:
    // `value` rounded half away from zero to `decimals` places (negative `decimals` count as 0).
    static double getLimitedDouble(double value, int decimals);
};

} // namespace ARX_DATA
