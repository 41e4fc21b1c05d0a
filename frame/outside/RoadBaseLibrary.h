// The road base library of the product family: the road model, the road layers, editing of the road network
// and number formatting.
#pragma once

#include "afx.h"
#include "dbid.h"
#include "gepnt3d.h"
#include "gept3dar.h"

// The road data of a centreline or side line, as tarn_dl_Get_Xdata reads it; text fields the entity lacks
// stay as they were.
struct ROADPARAM {
    CString strAppName; // "FAPP_DLZX" for a centreline, "FAPP_DLBX" for a side line
    CString strRole; // the application's text: "道路中线", "车行道线", "人行道线" or "道路红线"
    double dWidth = 0.0; // road width (GetRoadWidth); 0 when the entity states none
    CString strSection; // cross-section "FS_DLDM", plain ("5+14+5") or coded ("rx5cx14rx5")
    CString strPanels; // carriageway panels "FS_DLBK"
    CString strName; // road name "FS_DLMC"
};

// Road recognition and road width.
class CRoadXdata {
public:
    // Nonzero when the entity is a road centreline: a LINE, ARC, LWPOLYLINE or POLYLINE carrying the
    // centreline application "FAPP_DLZX".
    static int IsRoadByXdata(AcDbObjectId id);
    // The road width of the entity: its "FD_WIDTH" field when that is a positive number; else the sum of
    // the widths of its cross-section "FS_DLDM" ("5+14+5" and "rx5cx14rx5" both give 24); else 0.
    static double GetRoadWidth(AcDbObjectId id);
};

// The same as CRoadXdata::GetRoadWidth.
double GetRoadWidth(AcDbObjectId id);
// The extended data application every road centreline carries ("FAPP_DLZX"), for selection filters.
CString GetRoadZxFilterAppName();
// 1 when the entity carries centreline ("FAPP_DLZX") or side-line ("FAPP_DLBX") data, which is then read
// into `param`; 0 when it carries neither; -1 when the id names no live entity.
int tarn_dl_Get_Xdata(AcDbObjectId id, ROADPARAM& param);
// Nonzero when the entity is a corner curve (application "FAPP_DLYQJ" or the older "DLYQJ_XDATA"); `type`
// is then its leading 1070 value (1 rounded corner, 2 straight corner cut), or 0 when it has none.
// `type` is untouched otherwise.
int qvIsYqjByXdata_PLAN_TEST(AcDbObjectId id, int& type);
// Replaces `ids` by every LINE, ARC, LWPOLYLINE and POLYLINE on the red-line layer
// (RoadGreenLineOpr::GetRXLayer), in drawing order. Nonzero when there is at least one.
int GetRxdIdsFromSym_PLAN_TEST(AcDbObjectIdArray& ids);
// The value the annotation of a corner curve states. For a straight cut (a line, or a polyline of two
// vertices without bulge) the corner point is where the two red lines meet, both extended (of several
// such points, the one nearest to the cut's midpoint); `a` and `b` are the smaller and the larger distance
// from it to the cut's ends. For an arc (or a one-arc polyline) `a` = `b` = its radius. Returns 0, outputs
// untouched, when the red lines of a straight cut do not meet or the curve is neither kind.
int GetYqjViewByGeo(AcDbObjectId yqj, AcDbObjectId redS, AcDbObjectId redE, double& a, double& b);

// The road layers, from the layer parameters of the current drawing's custom parameter store. An empty
// name means that the role is not configured in the drawing.
class RoadGreenLineOpr {
public:
    static CString GetZXLayer(); // road centrelines: parameter "道路中线层"
    static CString GetRXLayer(); // red lines: parameter "道路红线层"
    static CString GetBXLayer(); // side lines: parameter "道路边线层"
    // The curve of `ids` that passes nearest to the point (distance in plan; the first of equals); 1 with
    // its id, 0 (id untouched) when `ids` holds no curve.
    static int GetCloseEnt(const AcDbObjectIdArray& ids, const AcGePoint3d& point, AcDbObjectId& id);
};

// Network editing. Curves are lines, arcs and polylines (lightweight and old style); distances are in plan.

// Nonzero when the two curves meet as they are (not extended); `points` is replaced by the meeting
// points, in order along the first curve.
int JudgeIntersect(AcDbObjectId id1, AcDbObjectId id2, AcGePoint3dArray& points);
// Breaks every curve of `targets` where a curve of `ids` crosses it, or passes within `tolerance` of it
// (the cutter's extension meets the target no farther than `tolerance` beyond the cutter's end). A
// target is not broken within `tolerance` of its own ends: fitting an end is left to makeExorSh. The
// piece holding the target's start keeps its handle and data; each other piece is a new entity with the
// target's layer, colour, linetype and extended data, appended to `targets`. Curves of `ids` are not
// broken. Returns the number of new pieces.
int BreakEnt(const AcDbObjectIdArray& ids, AcDbObjectIdArray& targets, double tolerance);
// Extends or trims the open curve `id` at its start (`flag` 0) or end (`flag` 1) so that the end lies on
// `reference`: at the meeting point of the two, each extended as needed, nearest to that end (a point
// that would turn the curve back past its other end does not count). 1 on success, 0 when they do not
// meet.
int makeExorSh(AcDbObjectId id, AcDbObjectId reference, int flag);
// Moves the start (`flag` 0) or end (`flag` 1) vertex of the centreline `id` to the point, keeping its
// other vertices, the bulge of each segment (an arc keeps its included angle), its handle and data.
// 1 on success.
int tarn_dl_change2dPline(AcDbObjectId id, const AcGePoint3d& point, int flag);
// Nonzero when the point lies nearer to the start of the curve than to its end (ties count as the start).
int JudgePtAtStart(AcDbObjectId id, const AcGePoint3d& point);
// Nonzero when the point lies on the curve (within 0.001 drawing units in plan).
int tarn_isPtOnLine(AcDbObjectId id, const AcGePoint3d& point);

// Formatting and scale.

// Fixed notation with `decimals` places (negative counts as 0), halves of the decimal value rounded away
// from zero ("1234.50" for 1234.5 with 2; "2.68" for 2.675 with 2); a result of zero has no minus sign.
CString DoubleToString(double value, int decimals);
CString IntToString(int value);
// The linear dimension factor of the current drawing (system variable DIMLFAC); 1.0 when it cannot be
// read or is 0.
double GetSysVarDimlfac();
