// The drawing toolkit's selection classes: selection sets (CFArxSelSet) and single picks (CFEntsel).
#pragma once

#include "adsdef.h"
#include "afx.h"
#include "dbid.h"
#include "gept3dar.h"

namespace tarn {

// One selection set made through the host's acedSSGet, freed when the object goes or selects again.
// Points are in the current UCS, as acedSSGet takes them. Filters are group-code lists (acutBuildList) and
// stay the caller's; a null filter admits everything.
class CFArxSelSet {
public:
    // kSelected (0): a set was made. Anything else: no set (kNone: nothing matched, kCanceled: the user
    // pressed Esc, kRejected: bad arguments or an invalid filter).
    enum SelSetStatus { kSelected = 0, kNone = 1, kCanceled = 2, kRejected = 3 };

    CFArxSelSet() = default;
    ~CFArxSelSet();
    CFArxSelSet(const CFArxSelSet&) = delete;
    CFArxSelSet& operator=(const CFArxSelSet&) = delete;

    // Every entity of the drawing that passes the filter.
    SelSetStatus allSelect(const resbuf* filter = nullptr);
    // The user selects at the command line; prompt replaces "Select objects:", removePrompt the prompt of
    // the remove mode.
    SelSetStatus userSelect(
        const CString& prompt, const CString& removePrompt, const resbuf* filter = nullptr);
    SelSetStatus userSelect(const resbuf* filter = nullptr);
    // Entities inside or crossing the rectangle of two corners.
    SelSetStatus crossingSelect(
        const AcGePoint3d& pt1, const AcGePoint3d& pt2, const resbuf* filter = nullptr);
    // Entities inside the rectangle of two corners.
    SelSetStatus windowSelect(const AcGePoint3d& pt1, const AcGePoint3d& pt2, const resbuf* filter = nullptr);
    // Entities inside or crossing the polygon (closed implicitly; at least 3 points).
    SelSetStatus crossingPolygonSelect(const AcGePoint3dArray& points, const resbuf* filter = nullptr);
    // Entities entirely inside the polygon.
    SelSetStatus windowPolygonSelect(const AcGePoint3dArray& points, const resbuf* filter = nullptr);

    SelSetStatus lastStatus() const { return m_status; }
    // Number of entities in the set (0 without a set).
    long length() const;
    // ids = the set's entities in selection order (empty without a set).
    void asArray(AcDbObjectIdArray& ids) const;
    // Frees the set.
    void clear();

private:
    SelSetStatus take(int result);
    SelSetStatus polygonSelect(const ACHAR* mode, const AcGePoint3dArray& points, const resbuf* filter);
    SelSetStatus cornerSelect(
        const ACHAR* mode, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const resbuf* filter);
    ads_name m_ss = {0, 0};
    bool m_bHaveSet = false;
    SelSetStatus m_status = kNone;
};

// A single pick with keywords: "select a range line [Draw (D)/Select (S)]". The entity must match the type,
// layer and extended-data conditions (wildcard lists as in selection filters, e.g. "LINE,*POLYLINE"; "*"
// or empty admits every value, an empty application admits entities without extended data); a pick of
// anything else prints the message (or a standard one) and asks again, as does a pick that hits nothing.
class CFEntsel {
public:
    CFEntsel(const CString& prompt, const CString& entTypes = _T("*"), const CString& layers = _T("*"),
        const CString& appName = _T(""), const CString& rejectMessage = _T(""));
    // Keywords separated by blanks ("D S"); the user types one (or its capitals) instead of picking.
    void SetInitKword(const CString& keywords);
    // 1: an entity was picked (GetSelEnt, GetSelPt); 2: a keyword was typed (GetSelKword); 0: Enter;
    // -1: Esc.
    int FEntsel();
    AcDbObjectId GetSelEnt() const { return m_selEnt; }
    // The picked point, in the current UCS.
    AcGePoint3d GetSelPt() const { return m_selPt; }
    CString GetSelKword() const { return m_selKword; }

private:
    bool Admits(AcDbObjectId id) const;
    CString m_prompt;
    CString m_entTypes;
    CString m_layers;
    CString m_appName;
    CString m_rejectMessage;
    CString m_keywords;
    AcDbObjectId m_selEnt;
    AcGePoint3d m_selPt;
    CString m_selKword;
};

} // namespace tarn
