// The drawing toolkit library of the product family (namespace tarn): entities, host glue, geometry, data.
#pragma once

#include "adsdef.h"
#include "afx.h"
#include "dbid.h"
#include "dbmain.h"
#include "gedblar.h"
#include "gept3dar.h"

#include "ToolkitEditing.h"
#include "ToolkitSelection.h"

// Conventions of the whole toolkit: ids are AcDbObjectId, points are world coordinates unless a function
// says otherwise, an int result is 1 on success and 0 on failure, and no function leaves an object open.
namespace tarn {

namespace ent {
// Appends the entity to the current space of the working drawing and returns its id; the entity stays open
// for write and the caller closes it. Null (the caller keeps the entity) when it cannot be appended.
AcDbObjectId AddToDb(AcDbEntity* pEnt);
// A copy of the entity in the same space, with its layer, colour, linetype and extended data; null on
// failure. The copy belongs to none of the original's groups.
AcDbObjectId Copy(AcDbObjectId id);
// Copies every entity of ids; copies[i] is the copy of ids[i] (null where copying failed). 1 when all copied.
int Copy(const AcDbObjectIdArray& ids, AcDbObjectIdArray& copies);
// Erases the entity, or every entity of the array; 1 when all of them were erased here.
int Erase(AcDbObjectId id);
int Erase(const AcDbObjectIdArray& ids);
// Puts the entity on the layer, creating the layer when the drawing lacks it; an empty name fails.
int ChangeLayer(AcDbObjectId id, const CString& layer);
// Gives the entity a colour index (0 ByBlock, 1-255, 256 ByLayer).
int ChangeColor(AcDbObjectId id, int colorIndex);
// Creates the layer in the working drawing unless it exists (an existing layer is left as it is); 1 when
// the layer exists afterwards. An unknown linetype gives CONTINUOUS.
int CreateLayer(const CString& name, int colorIndex = 7, const CString& lineType = _T("CONTINUOUS"));
// The layer's id in the working drawing, null when there is no such layer (names ignore case).
AcDbObjectId GetLayer(const CString& name);
// The entity's layer name; empty when the entity cannot be read.
CString GetEntLayerName(AcDbObjectId id);
// Every layer name of the working drawing, in table order; the result is their number.
int GetAllLayerName(CStringArray& names);
// Erases every entity of the drawing that lies on the layer; 1 unless the name is empty.
int DelAllEntInLayer(const CString& layer);
// Start and end point of a curve (line, arc, circle, polyline).
int GetStartEndPt(AcDbObjectId id, AcGePoint3d& start, AcGePoint3d& end);
// Start, end and the bulge between them of a one-segment curve: a line (0), an arc (tan of a quarter of
// its angle) or a polyline of two vertices. Fails for longer polylines.
int GetStartEndBlg(AcDbObjectId id, AcGePoint3d& start, AcGePoint3d& end, double& bulge);
// The point at half the length of a curve; for a text (and any other entity) the middle of its extents box.
int GetMidPt(AcDbObjectId id, AcGePoint3d& mid);
// Length of a curve; 0 when the entity is no curve.
double GetCurLen(AcDbObjectId id);
// Vertices and bulges of a curve, either output may be null: a line gives its two ends (bulges 0, 0), an
// arc its two ends (bulges tan(angle/4), 0), a polyline its vertices and their bulges (a closed one does not
// repeat its first vertex). Fails for other entities.
int GetCurveParam(AcDbObjectId id, AcGePoint3dArray* points, AcGeDoubleArray* bulges);
// The entity's extents box.
int GetEntRect(AcDbObjectId id, AcGePoint3d& min, AcGePoint3d& max);
// The box around every entity of ids that has extents (others are skipped); 0 when none has.
int GetSSRect(const AcDbObjectIdArray& ids, AcGePoint3d& min, AcGePoint3d& max);
int GetSSRect(const AcDbObjectIdArray& ids, AcDbExtents& ext);
// A closed curve: a closed polyline or circle, or a curve whose end point is its start point.
bool IsClosed(AcDbObjectId id);
// Not null, of a live drawing and not erased.
bool FIsValidId(AcDbObjectId id);
// Removes from ids every id that others holds.
void FRemoveRepeatId(AcDbObjectIdArray& ids, const AcDbObjectIdArray& others);
// hits = the entities of ids (in their order, id itself left out) that the curve id meets where both
// stand; the result is their number.
int JudgeIntersect(AcDbObjectId id, const AcDbObjectIdArray& ids, AcDbObjectIdArray& hits);
// Highlights or unhighlights entities; invalid ids are skipped.
void HighLight(AcDbObjectId id);
void HighLight(const AcDbObjectIdArray& ids);
void UnHighLight(AcDbObjectId id);
void UnHighLight(const AcDbObjectIdArray& ids);
// Flashes the entities to show the user where they are; they end unhighlighted.
void Flash(const AcDbObjectIdArray& ids);
// Asks the user to pick one entity with the prompt; a pick that hits nothing asks again. 1 with the id when
// an entity was picked, 0 on Enter or Esc.
int SelectEnt(AcDbObjectId& id, const CString& prompt);
// Lets the user draw a lightweight polyline (points, "C" closes, "U" takes the last point back, Enter ends);
// 1 with its id when at least two points were given, 0 (nothing drawn) otherwise.
int DrawPline(AcDbObjectId& id);
// Moves the entity by the vector, or from one point to another.
int Move(AcDbObjectId id, const AcGeVector3d& offset);
int Move(AcDbObjectId id, const AcGePoint3d& from, const AcGePoint3d& to);
// The entities of a selection set, in its order, appended to ids; the set stays the caller's to free.
int SSToIds(const ads_name ss, AcDbObjectIdArray& ids);
// Creates a group in the working drawing. A name beginning with "*" makes an anonymous group (its key is
// given by the drawing, the name becomes its description); any other name is the group's key and must be
// new.
int CreateGrp(const CString& name, AcDbObjectId& groupId);
// Appends the entity to the group.
int AddToGroup(AcDbObjectId groupId, AcDbObjectId entId);
// Turns the entities into one block: a block definition named name ("*U" or a name beginning with it makes
// it anonymous) with base point base that takes them over unchanged in place, and a reference of it at base
// in their space, on the current layer. The entities leave the drawing; groups that held them hold the
// reference instead. blockId = the definition, refId = the reference. Result 0 on success; 1 for no or
// invalid entities, 2 when the definition could not be made, 3 when the reference could not be inserted.
int CreateBlkAll(const AcDbObjectIdArray& ids, const CString& name, const AcGePoint3d& base,
    AcDbObjectId& blockId, AcDbObjectId& refId);
// The text style's id in the working drawing, null when there is none of that name.
AcDbObjectId GetTextStyle(const CString& name);
} // namespace ent

namespace cad {
// Types the text on the host's command line; it runs once the current command has ended.
// Callers end the text with a newline.
void SendCmdToAcad(CString cmd);
// A system variable as a number (reals, integers) or as text; eOk, or eInvalidInput when there is no such
// variable or it has the other kind of value.
Acad::ErrorStatus GetSysVar(const CString& name, double& value);
Acad::ErrorStatus GetSysVar(const CString& name, CString& value);
// Sets a system variable; a number is stored in the variable's own type (rounded for integers).
Acad::ErrorStatus SetSysVar(const CString& name, double value);
Acad::ErrorStatus SetSysVar(const CString& name, const CString& value);
// Angle of the current UCS x axis from the world x axis, in [0, 2pi).
double GetUcsAngle();
// Whether the point (current UCS) lies inside the drawing window's current view.
bool IsPtInView(const AcGePoint3d& pt);
// Silences the host's command echo for bulk work (acedCommand runs print nothing), and brings it back.
// Calls pair up and may nest; the echo returns with the last DisplayCommandLine.
void ShieldCommandLine();
void DisplayCommandLine();
} // namespace cad

namespace geo {
// World to current UCS and back.
AcGePoint3d Wcs2ucs(const AcGePoint3d& pt);
void Wcs2ucs(const AcGePoint3d& pt, AcGePoint3d& result);
AcGePoint3d Ucs2wcs(const AcGePoint3d& pt);
void Ucs2wcs(const AcGePoint3d& pt, AcGePoint3d& result);
// The point of points nearest to ref (the first of equals); ref itself when points is empty.
AcGePoint3d GetNearestPt(const AcGePoint3dArray& points, const AcGePoint3d& ref);
// Whether pt lies inside the polygon area (its vertices in order, closed implicitly) in plan; a point on
// the border counts as inside and sets *onBorder when that is given.
bool IsPtInArea(const AcGePoint3d& pt, const AcGePoint3dArray& area, bool* onBorder = nullptr);
// Foot of the perpendicular from pt to the segment from start to end with the bulge: on the segment's line
// (bulge 0) or on its arc's circle (taken in plan, at the segment's elevation). 0 when the segment has no
// length or pt is the arc's centre.
int Perpt(
    const AcGePoint3d& pt, const AcGePoint3d& start, const AcGePoint3d& end, double bulge, AcGePoint3d& foot);
// value rounded half away from zero to 4 decimals (removes noise such as 17.499999999).
double CutNum(double value);
} // namespace geo

// The circular arc through three points (start, a point on the arc, end), in plan at the start's
// elevation. Invalid when the points are collinear or two of them coincide.
class tarn_geo_arc {
public:
    tarn_geo_arc(const AcGePoint3d& ptStart, const AcGePoint3d& ptMid, const AcGePoint3d& ptEnd);
    bool IsValid() const { return m_bValid; }
    AcGePoint3d GetStartPt() const { return m_ptStart; }
    AcGePoint3d GetEndPt() const { return m_ptEnd; }
    AcGePoint3d GetCenter() const { return m_ptCenter; }
    double GetRadius() const { return m_dRadius; }
    // True when the arc runs clockwise from its start to its end.
    bool IsClockwise() const { return m_bClockwise; }
    // The polyline bulge of the arc from start to end (negative when clockwise).
    double GetBulge() const;
    double GetLength() const;

private:
    AcGePoint3d m_ptStart;
    AcGePoint3d m_ptEnd;
    AcGePoint3d m_ptCenter;
    double m_dRadius = 0.0;
    double m_dSweep = 0.0; // angle swept from start to end, in (0, 2pi)
    bool m_bClockwise = false;
    bool m_bValid = false;
};

namespace dat {
// Sets the entity's extended data of the application to the values (a chain without the 1001 name; one
// that starts with it is taken as well), registering the application; what it held before is replaced.
// The chain stays the caller's.
int AddObjXdata(AcDbObjectId id, const CString& app, const resbuf* values);
// Links obj from id under the key: the application key holds one 1005 handle per link, in the order they
// were added; the new link is appended (links to objects no longer in the drawing are dropped).
int PasteSoftId(AcDbObjectId id, const CString& key, AcDbObjectId obj);
// ids = the linked objects under the key that are still live, in link order. 1 when the entity carries
// the key (ids may then be empty), 0 otherwise.
int GetSoftIds(AcDbObjectId id, const CString& key, AcDbObjectIdArray& ids);
} // namespace dat

} // namespace tarn
