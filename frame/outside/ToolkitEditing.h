// The drawing toolkit's editing classes: lengthening, intersections, entity sets and their drag jig,
// system-variable and document-lock guards, and the curve walker TarnCad::QV_CurveTran.
#pragma once

#include <memory>
#include <vector>

#include "acdb.h"
#include "acdocman.h"
#include "adsdef.h"
#include "afx.h"
#include "dbid.h"
#include "dbjig.h"
#include "dbmain.h"
#include "gedblar.h"
#include "gegbl.h"
#include "gept3dar.h"

namespace tarn {

// Lengthens curves along their own course.
class CFEntLengthen {
public:
    // Which end grows.
    enum EXTENDTYPE { EXTEND_END = 1, EXTEND_START = 2, EXTEND_BOTH = 3 };
    // Lengthens the line, arc or open polyline id by length (> 0) at the ends that type names (an
    // EXTENDTYPE value): a line or a straight end segment straight on, an arc or an arc end segment round
    // its circle. 0, with the curve unchanged, for other entities, closed curves, a length not above 0 or an
    // arc that would close on itself.
    static int Lengthen(AcDbObjectId id, double length, int type);
};

class FCurveTran {
public:
    // Distance between two points (in space).
    static double GetDist(const AcGePoint3d& pt1, const AcGePoint3d& pt2);
};

class CCalExtent {
public:
    // points = the intersections of the curves a and b in plan (type says which may be extended: lines
    // to infinity, arcs to full circles, open polylines along their end segments); points closer than tol
    // count once. Ordered along a. The result is their number (0 when they do not meet or cannot be read).
    static int GetCurveIntersect(AcDbObjectId a, AcDbObjectId b, AcGePoint3dArray& points,
        AcDb::Intersect type = AcDb::kOnBothOperands, double tol = AcGeContext::gTol.equalPoint());
};

// A list of entities made in memory, owned by the set until EntsAddToDb puts them into the drawing.
// Slots may be empty (null). Deleting the set deletes the entities that are not in the drawing.
class CEntsGroup {
public:
    CEntsGroup() = default;
    ~CEntsGroup();
    CEntsGroup(const CEntsGroup&) = delete;
    CEntsGroup& operator=(const CEntsGroup&) = delete;

    // Sets the number of slots; new slots are empty, dropped slots delete their entities. The growth
    // argument is accepted for the product's callers and has no effect.
    void SetSize(int size, int growBy = -1);
    int GetSize() const { return static_cast<int>(m_ents.size()); }
    // Appends the entity (the set owns it from now on); returns its index.
    int Add(AcDbEntity* pEnt);
    // Puts the entity into slot index (taking it over), deleting the entity the slot held.
    void SetAt(int index, AcDbEntity* pEnt);
    // The entity of a slot while the set owns it; null for an empty slot, an index out of range, or after
    // EntsAddToDb.
    AcDbEntity* GetAt(int index) const;
    // Applies the matrix to every entity the set owns.
    void TransformBy(const AcGeMatrix3d& mat);
    // Appends every entity to the current space of the working drawing (empty slots stay empty) and closes
    // them; the set keeps their ids. 1 when all were added.
    int EntsAddToDb();
    bool IsInDb() const { return m_bInDb; }
    // ids = one id per slot: the entity's id once in the drawing, null for an empty slot or before.
    void GetObjIds(AcDbObjectIdArray& ids) const;

private:
    std::vector<std::unique_ptr<AcDbEntity>> m_ents;
    std::vector<AcDbObjectId> m_ids;
    bool m_bInDb = false;
};

// Called by CEntTransJig each time the dragged position changes.
typedef void (*JIGCALLBACK)(AcEdJig* pJig);

// Drags a CEntsGroup with the cursor. With drag mode 1 the callback places the entities (the jig only
// tracks the positions: QueryPrePos is where the cursor was at the previous change, QueryPos where it is
// now, both starting at the base point); with any other mode the jig moves the entities with the cursor
// itself and then calls the callback, if any. Positions are world coordinates. The jig does not own the
// group.
class CEntTransJig : public AcEdJig {
public:
    // inputControls: AcEdJig::UserInputControls of the drag; userData: kept for the callback.
    CEntTransJig(CEntsGroup* pGroup, const AcGePoint3d& basePoint, int dragMode = 0,
        unsigned int inputControls = 0, JIGCALLBACK pfnCallback = nullptr, Adesk::Int64 userData = 0);

    DragStatus sampler() override;
    Adesk::Boolean update() override;
    AcDbEntity* entity() const override;

    AcGePoint3d QueryPos() const { return m_curPos; }
    AcGePoint3d QueryPrePos() const { return m_prePos; }
    AcGePoint3d GetBasePoint() const { return m_basePoint; }
    CEntsGroup* GetEnt() const { return m_pGroup; }
    int GetDragMode() const { return m_dragMode; }
    Adesk::Int64 GetUserData() const { return m_userData; }

private:
    CEntsGroup* m_pGroup;
    AcGePoint3d m_basePoint;
    AcGePoint3d m_curPos;
    AcGePoint3d m_prePos;
    int m_dragMode;
    JIGCALLBACK m_pfnCallback;
    Adesk::Int64 m_userData;
    bool m_bMoved = false; // a new position waits for update()
};

// Sets system variables for the lifetime of the object and restores their former values when it goes (in
// reverse order). The list holds pairs: (RTSTR name) then the value, e.g. (RTSTR "OSMODE") (RTSHORT 35);
// it stays the caller's. A variable that cannot be set is left alone and not restored.
class CSysVar {
public:
    explicit CSysVar(const resbuf* pairs);
    ~CSysVar();
    CSysVar(const CSysVar&) = delete;
    CSysVar& operator=(const CSysVar&) = delete;
    // True when every variable of the list was set.
    bool IsSet() const { return m_bAllSet; }

private:
    struct Saved; // a variable's name and former value
    std::vector<Saved> m_saved;
    bool m_bAllSet = true;
};

// Locks a document for writing for the lifetime of the object (null = the current document).
class CFDocLock {
public:
    explicit CFDocLock(AcApDocument* pDoc = nullptr);
    ~CFDocLock();
    CFDocLock(const CFDocLock&) = delete;
    CFDocLock& operator=(const CFDocLock&) = delete;
    bool IsLocked() const { return m_pDoc != nullptr; }

private:
    AcApDocument* m_pDoc = nullptr;
};

} // namespace tarn

namespace TarnCad {

// Walks one curve (line, arc, circle, polyline) of the drawing by distance. The curve is read afresh by
// every call and never kept open.
class QV_CurveTran {
public:
    QV_CurveTran() = default;
    explicit QV_CurveTran(AcDbObjectId id) { SetEnt(id); }
    // Takes the curve; 0 (and no curve) when id is not a live curve.
    int SetEnt(AcDbObjectId id);
    AcDbObjectId GetEnt() const { return m_id; }
    // Length of the curve; 0 without one.
    double GetCurveLen() const;
    // The point at that distance along the curve from its start (clamped to the curve).
    AcGePoint3d GetPointByDis(double dist) const;
    // The point of the curve nearest to pt.
    AcGePoint3d GetClosestPt(const AcGePoint3d& pt) const;
    // Vertices and bulges as tarn::ent::GetCurveParam gives them.
    int GetCurveVect(AcGePoint3dArray& points, AcGeDoubleArray& bulges) const;

private:
    AcDbObjectId m_id;
};

} // namespace TarnCad
