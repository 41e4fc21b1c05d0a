// Drawing toolkit: geometry read from entities (ends, middles, lengths, vertices, extents, intersections)
// through the host's curve interfaces, and the curve walker QV_CurveTran.
#include "DrawingToolkit.h"

#include <algorithm>
#include <cmath>

#include "dbcurve.h"
#include "dbents.h"
#include "dbobjptr.h"
#include "dbpl.h"
#include "toolkit/ToolkitSupport.h"

namespace {

// The length of a curve.
bool curveLength(const AcDbCurve& curve, double& length)
{
    double endParam = 0.0;
    return curve.getEndParam(endParam) == Acad::eOk && curve.getDistAtParam(endParam, length) == Acad::eOk;
}

AcGePoint3d middleOf(const AcDbExtents& box)
{
    return box.minPoint() + (box.maxPoint() - box.minPoint()) * 0.5;
}

} // namespace

namespace tarn {

namespace ent {

int GetStartEndPt(AcDbObjectId id, AcGePoint3d& start, AcGePoint3d& end)
{
    AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForRead);
    if (curve.openStatus() != Acad::eOk)
        return 0;
    return curve->getStartPoint(start) == Acad::eOk && curve->getEndPoint(end) == Acad::eOk ? 1 : 0;
}

int GetStartEndBlg(AcDbObjectId id, AcGePoint3d& start, AcGePoint3d& end, double& bulge)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    if (entity.openStatus() != Acad::eOk)
        return 0;
    AcGePoint3dArray points;
    AcGeDoubleArray bulges;
    if (!support::curveVertices(*entity, points, bulges) || points.length() != 2)
        return 0;
    // A closed two-vertex polyline is two segments, not one.
    if (auto* curve = AcDbCurve::cast(entity.object()); curve->isClosed() && AcDbArc::cast(curve) == nullptr)
        return 0;
    start = points[0];
    end = points[1];
    bulge = bulges[0];
    return 1;
}

int GetMidPt(AcDbObjectId id, AcGePoint3d& mid)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    if (entity.openStatus() != Acad::eOk)
        return 0;
    if (auto* curve = AcDbCurve::cast(entity.object())) {
        double length = 0.0;
        if (curveLength(*curve, length) && curve->getPointAtDist(length / 2.0, mid) == Acad::eOk)
            return 1;
    }
    if (auto* point = AcDbPoint::cast(entity.object())) {
        mid = point->position();
        return 1;
    }
    AcDbExtents box;
    if (entity->getGeomExtents(box) != Acad::eOk)
        return 0;
    mid = middleOf(box);
    return 1;
}

double GetCurLen(AcDbObjectId id)
{
    AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForRead);
    double length = 0.0;
    if (curve.openStatus() != Acad::eOk || !curveLength(*curve, length))
        return 0.0;
    return length;
}

int GetCurveParam(AcDbObjectId id, AcGePoint3dArray* points, AcGeDoubleArray* bulges)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    if (entity.openStatus() != Acad::eOk)
        return 0;
    AcGePoint3dArray vertices;
    AcGeDoubleArray vertexBulges;
    if (!support::curveVertices(*entity, vertices, vertexBulges))
        return 0;
    if (points != nullptr)
        *points = vertices;
    if (bulges != nullptr)
        *bulges = vertexBulges;
    return 1;
}

int GetEntRect(AcDbObjectId id, AcGePoint3d& min, AcGePoint3d& max)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    AcDbExtents box;
    if (entity.openStatus() != Acad::eOk || entity->getGeomExtents(box) != Acad::eOk)
        return 0;
    min = box.minPoint();
    max = box.maxPoint();
    return 1;
}

int GetSSRect(const AcDbObjectIdArray& ids, AcDbExtents& ext)
{
    AcDbExtents total;
    bool any = false;
    for (const AcDbObjectId& id : ids) {
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        AcDbExtents box;
        if (entity.openStatus() != Acad::eOk || entity->getGeomExtents(box) != Acad::eOk)
            continue;
        total.addExt(box);
        any = true;
    }
    if (!any)
        return 0;
    ext = total;
    return 1;
}

int GetSSRect(const AcDbObjectIdArray& ids, AcGePoint3d& min, AcGePoint3d& max)
{
    AcDbExtents box;
    if (GetSSRect(ids, box) == 0)
        return 0;
    min = box.minPoint();
    max = box.maxPoint();
    return 1;
}

bool IsClosed(AcDbObjectId id)
{
    AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForRead);
    if (curve.openStatus() != Acad::eOk)
        return false;
    if (curve->isClosed())
        return true;
    // A polyline drawn back to its first point without the closing flag closes all the same.
    AcGePoint3d start;
    AcGePoint3d end;
    double length = 0.0;
    return curve->getStartPoint(start) == Acad::eOk && curve->getEndPoint(end) == Acad::eOk
        && curveLength(*curve, length) && length > AcGeContext::gTol.equalPoint() && start.isEqualTo(end);
}

int JudgeIntersect(AcDbObjectId id, const AcDbObjectIdArray& ids, AcDbObjectIdArray& hits)
{
    hits.removeAll();
    AcDbObjectPointer<AcDbEntity> curve(id, AcDb::kForRead);
    if (curve.openStatus() != Acad::eOk)
        return 0;
    for (const AcDbObjectId& other : ids) {
        if (other == id)
            continue;
        AcDbObjectPointer<AcDbEntity> entity(other, AcDb::kForRead);
        AcGePoint3dArray points;
        if (entity.openStatus() == Acad::eOk
            && curve->intersectWith(entity.object(), AcDb::kOnBothOperands, points) == Acad::eOk
            && !points.isEmpty())
            hits.append(other);
    }
    return hits.length();
}

} // namespace ent

double FCurveTran::GetDist(const AcGePoint3d& pt1, const AcGePoint3d& pt2)
{
    return pt1.distanceTo(pt2);
}

int CCalExtent::GetCurveIntersect(
    AcDbObjectId a, AcDbObjectId b, AcGePoint3dArray& points, AcDb::Intersect type, double tol)
{
    points.removeAll();
    AcDbObjectPointer<AcDbEntity> first(a, AcDb::kForRead);
    if (first.openStatus() != Acad::eOk)
        return 0;
    AcDbObjectPointer<AcDbEntity> second(b, AcDb::kForRead);
    if (second.openStatus() != Acad::eOk)
        return 0;
    AcGePoint3dArray found;
    if (first->intersectWith(second.object(), type, found) != Acad::eOk)
        return 0;
    const double limit = std::max(tol, 0.0);
    for (const AcGePoint3d& point : found) {
        const bool seen = std::any_of(points.begin(), points.end(),
            [&](const AcGePoint3d& kept) { return kept.distanceTo(point) <= limit; });
        if (!seen)
            points.append(point);
    }
    return points.length();
}

} // namespace tarn

namespace TarnCad {

int QV_CurveTran::SetEnt(AcDbObjectId id)
{
    m_id.setNull();
    AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForRead);
    if (curve.openStatus() != Acad::eOk)
        return 0;
    m_id = id;
    return 1;
}

double QV_CurveTran::GetCurveLen() const
{
    return tarn::ent::GetCurLen(m_id);
}

AcGePoint3d QV_CurveTran::GetPointByDis(double dist) const
{
    AcDbObjectPointer<AcDbCurve> curve(m_id, AcDb::kForRead);
    AcGePoint3d point;
    double length = 0.0;
    if (curve.openStatus() != Acad::eOk || !curveLength(*curve, length))
        return point;
    curve->getPointAtDist(std::clamp(dist, 0.0, length), point);
    return point;
}

AcGePoint3d QV_CurveTran::GetClosestPt(const AcGePoint3d& pt) const
{
    AcDbObjectPointer<AcDbCurve> curve(m_id, AcDb::kForRead);
    AcGePoint3d point;
    if (curve.openStatus() == Acad::eOk)
        curve->getClosestPointTo(pt, point);
    return point;
}

int QV_CurveTran::GetCurveVect(AcGePoint3dArray& points, AcGeDoubleArray& bulges) const
{
    return tarn::ent::GetCurveParam(m_id, &points, &bulges);
}

} // namespace TarnCad
