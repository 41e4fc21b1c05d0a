// Road base library: geometric questions about road curves (meeting points, nearness, corner values).
#include <algorithm>
#include <cmath>

#include "RoadBaseLibrary.h"
#include "dbents.h"
#include "dbobjptr.h"
#include "roadbase/CurveShape.h"

using planroad::standins::roadbase::planDistance;

namespace {

// How far from a curve, in plan, a point may lie and still count as on it.
constexpr double kOnCurveTolerance = 1e-3;

bool meetingPoints(AcDbObjectId id1, AcDbObjectId id2, AcDb::Intersect mode, AcGePoint3dArray& points)
{
    AcDbObjectPointer<AcDbCurve> first(id1, AcDb::kForRead);
    if (first.openStatus() != Acad::eOk)
        return false;
    // The same curve twice is opened for read twice, which the open protocol allows.
    AcDbObjectPointer<AcDbCurve> second(id2, AcDb::kForRead);
    if (second.openStatus() != Acad::eOk)
        return false;
    return first->intersectWith(second.object(), mode, points) == Acad::eOk;
}

// Plan distance from the point to the curve; false when the id is not a curve.
bool distanceToCurve(AcDbObjectId id, const AcGePoint3d& point, double& distance)
{
    AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForRead);
    if (curve.openStatus() != Acad::eOk)
        return false;
    AcGePoint3d closest;
    if (curve->getClosestPointTo(point, closest) != Acad::eOk)
        return false;
    distance = planDistance(point, closest);
    return true;
}

} // namespace

int JudgeIntersect(AcDbObjectId id1, AcDbObjectId id2, AcGePoint3dArray& points)
{
    points.removeAll();
    if (!meetingPoints(id1, id2, AcDb::kOnBothOperands, points))
        return 0;
    return points.isEmpty() ? 0 : 1;
}

int JudgePtAtStart(AcDbObjectId id, const AcGePoint3d& point)
{
    AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForRead);
    if (curve.openStatus() != Acad::eOk)
        return 0;
    AcGePoint3d start;
    AcGePoint3d end;
    if (curve->getStartPoint(start) != Acad::eOk || curve->getEndPoint(end) != Acad::eOk)
        return 0;
    return planDistance(point, start) <= planDistance(point, end) ? 1 : 0;
}

int tarn_isPtOnLine(AcDbObjectId id, const AcGePoint3d& point)
{
    double distance = 0;
    return distanceToCurve(id, point, distance) && distance <= kOnCurveTolerance ? 1 : 0;
}

int RoadGreenLineOpr::GetCloseEnt(const AcDbObjectIdArray& ids, const AcGePoint3d& point, AcDbObjectId& id)
{
    bool found = false;
    double best = 0;
    for (AcDbObjectId candidate : ids) {
        double distance = 0;
        if (!distanceToCurve(candidate, point, distance))
            continue;
        if (!found || distance < best) {
            found = true;
            best = distance;
            id = candidate;
        }
    }
    return found ? 1 : 0;
}

int GetYqjViewByGeo(AcDbObjectId yqj, AcDbObjectId redS, AcDbObjectId redE, double& a, double& b)
{
    planroad::standins::roadbase::CurveShape shape;
    double radius = 0;
    {
        AcDbObjectPointer<AcDbCurve> cut(yqj, AcDb::kForRead);
        if (cut.openStatus() != Acad::eOk || !planroad::standins::roadbase::readShape(*cut, shape))
            return 0;
        if (const auto* arc = AcDbArc::cast(cut.object()))
            radius = arc->radius();
    }
    if (shape.points.size() != 2 || shape.closed)
        return 0;
    const AcGePoint3d s = shape.points[0];
    const AcGePoint3d e = shape.points[1];
    if (shape.bulges[0] != 0.0) {
        if (radius == 0.0)
            radius = planroad::standins::roadbase::arcOfBulge(s, e, shape.bulges[0]).radius;
        a = radius;
        b = radius;
        return 1;
    }

    AcGePoint3dArray corners;
    if (!meetingPoints(redS, redE, AcDb::kExtendBoth, corners) || corners.isEmpty())
        return 0;
    const AcGePoint3d middle((s.x + e.x) / 2, (s.y + e.y) / 2, (s.z + e.z) / 2);
    AcGePoint3d corner = corners[0];
    for (const AcGePoint3d& candidate : corners)
        if (planDistance(candidate, middle) < planDistance(corner, middle))
            corner = candidate;
    const double toStart = planDistance(corner, s);
    const double toEnd = planDistance(corner, e);
    a = std::min(toStart, toEnd);
    b = std::max(toStart, toEnd);
    return 1;
}
