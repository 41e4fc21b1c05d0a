// Road base library: editing the road network, breaking curves where others cross them and fitting curve
// ends to other curves.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "RoadBaseLibrary.h"
#include "dbents.h"
#include "dbobjptr.h"
#include "dbsymtb.h"
#include "roadbase/CurveShape.h"
#include "roadbase/DrawingQueries.h"

using planroad::standins::roadbase::CurveShape;
using planroad::standins::roadbase::planDistance;

namespace {

// Computed meeting points carry rounding noise; below this two places are one (grows with the coordinates).
double noiseTolerance(const AcGePoint3d& p)
{
    return 1e-6 + 1e-9 * std::max(std::fabs(p.x), std::fabs(p.y));
}

using CurvePieces = std::vector<std::unique_ptr<AcDbCurve>>;

CurvePieces splitAt(const AcDbCurve& curve, const AcGeDoubleArray& params)
{
    AcDbVoidPtrArray raw;
    curve.getSplitCurves(params, raw);
    CurvePieces pieces;
    for (void* piece : raw)
        pieces.emplace_back(static_cast<AcDbCurve*>(piece));
    return pieces;
}

// Gives the curve the geometry of one of its pieces.
bool takeShapeOf(AcDbCurve& curve, const AcDbCurve& piece)
{
    // An arc takes its piece's angles as they are, rather than through a bulge and back.
    auto* arc = AcDbArc::cast(&curve);
    const auto* pieceArc = AcDbArc::cast(&piece);
    if (arc != nullptr && pieceArc != nullptr)
        return arc->setStartAngle(pieceArc->startAngle()) == Acad::eOk
            && arc->setEndAngle(pieceArc->endAngle()) == Acad::eOk;
    CurveShape shape;
    return planroad::standins::roadbase::readShape(piece, shape)
        && planroad::standins::roadbase::writeShape(curve, shape) == Acad::eOk;
}

// The parameters on the target where the cutters cross it or, extended, meet it within the tolerance of
// their own ends; none within the tolerance of the target's ends. Sorted, without repeats.
AcGeDoubleArray breakParams(const AcDbCurve& target, const AcDbObjectIdArray& cutters, double tolerance)
{
    AcGePoint3d start;
    AcGePoint3d end;
    target.getStartPoint(start);
    target.getEndPoint(end);
    std::vector<double> params;
    for (AcDbObjectId cutterId : cutters) {
        if (cutterId == target.objectId())
            continue;
        AcDbObjectPointer<AcDbCurve> cutter(cutterId, AcDb::kForRead);
        if (cutter.openStatus() != Acad::eOk)
            continue;
        AcGePoint3dArray points;
        if (target.intersectWith(cutter.object(), AcDb::kExtendArg, points) != Acad::eOk)
            continue;
        for (const AcGePoint3d& p : points) {
            AcGePoint3d onCutter;
            if (cutter->getClosestPointTo(p, onCutter) != Acad::eOk
                || planDistance(p, onCutter) > tolerance + noiseTolerance(p))
                continue;
            if (planDistance(p, start) <= tolerance || planDistance(p, end) <= tolerance)
                continue;
            double param = 0;
            if (target.getParamAtPoint(p, param) == Acad::eOk)
                params.push_back(param);
        }
    }
    std::sort(params.begin(), params.end());
    AcGeDoubleArray unique;
    for (double p : params)
        if (unique.isEmpty() || p - unique.last() > 1e-9 * std::max(1.0, std::fabs(p)))
            unique.append(p);
    return unique;
}

// Breaks the target at the parameters: it keeps the first piece, the others join the drawing beside it
// with its extended data. Returns the ids of the new pieces.
std::vector<AcDbObjectId> breakTarget(
    AcDbObjectId targetId, const AcDbObjectIdArray& cutters, double tolerance)
{
    AcDbObjectPointer<AcDbCurve> target(targetId, AcDb::kForWrite);
    if (target.openStatus() != Acad::eOk)
        return {};
    const AcGeDoubleArray params = breakParams(*target, cutters, tolerance);
    if (params.isEmpty())
        return {};
    CurvePieces pieces = splitAt(*target, params);
    if (pieces.size() < 2 || !takeShapeOf(*target, *pieces.front()))
        return {};
    planroad::standins::roadbase::ResbufList xdata(target->xData());
    const AcDbObjectId ownerId = target->ownerId();
    target.close();

    AcDbObjectPointer<AcDbBlockTableRecord> owner(ownerId, AcDb::kForWrite);
    if (owner.openStatus() != Acad::eOk)
        return {};
    std::vector<AcDbObjectId> added;
    for (std::size_t i = 1; i < pieces.size(); ++i) {
        AcDbObjectId id;
        if (owner->appendAcDbEntity(id, pieces[i].get()) != Acad::eOk)
            continue;
        AcDbCurve* piece = pieces[i].release(); // the drawing owns it now
        if (xdata != nullptr)
            piece->setXData(xdata.get());
        piece->close();
        added.push_back(id);
    }
    return added;
}

// Whether a point off the curve lies on the continuation of its start (`atEnd` false) or end segment: a
// straight segment continues straight on, an arc segment round its circle.
bool onContinuation(const CurveShape& shape, bool atEnd, const AcGePoint3d& p)
{
    const std::size_t n = shape.points.size();
    const AcGePoint3d& tip = atEnd ? shape.points[n - 1] : shape.points[0];
    const AcGePoint3d& inner = atEnd ? shape.points[n - 2] : shape.points[1];
    const double bulge = atEnd ? shape.bulges[n - 2] : shape.bulges[0];
    if (bulge != 0.0) {
        const auto arc = planroad::standins::roadbase::arcOfBulge(inner, tip, bulge);
        return std::fabs(planDistance(p, arc.center) - arc.radius) <= noiseTolerance(p);
    }
    const double dx = tip.x - inner.x;
    const double dy = tip.y - inner.y;
    const double length = std::hypot(dx, dy);
    if (length == 0.0)
        return false;
    const double along = ((p.x - tip.x) * dx + (p.y - tip.y) * dy) / length;
    const double across = std::fabs((p.x - tip.x) * dy - (p.y - tip.y) * dx) / length;
    return along > 0.0 && across <= noiseTolerance(p);
}

} // namespace

int BreakEnt(const AcDbObjectIdArray& ids, AcDbObjectIdArray& targets, double tolerance)
{
    tolerance = std::max(tolerance, 0.0);
    const int count = targets.length();
    std::vector<AcDbObjectId> added;
    for (int i = 0; i < count; ++i) {
        const AcDbObjectId target = targets[i];
        // A target listed twice is broken once; a cutter is never broken.
        bool seen = ids.contains(target);
        for (int j = 0; j < i && !seen; ++j)
            seen = targets[j] == target;
        if (seen)
            continue;
        for (AcDbObjectId id : breakTarget(target, ids, tolerance))
            added.push_back(id);
    }
    for (AcDbObjectId id : added)
        targets.append(id);
    return static_cast<int>(added.size());
}

int makeExorSh(AcDbObjectId id, AcDbObjectId reference, int flag)
{
    if ((flag != 0 && flag != 1) || id == reference)
        return 0;
    const bool atEnd = flag == 1;
    AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForWrite);
    if (curve.openStatus() != Acad::eOk || curve->isClosed())
        return 0;
    CurveShape shape;
    if (!planroad::standins::roadbase::readShape(*curve, shape) || shape.points.size() < 2)
        return 0;
    AcGePoint3dArray points;
    {
        AcDbObjectPointer<AcDbCurve> other(reference, AcDb::kForRead);
        if (other.openStatus() != Acad::eOk
            || curve->intersectWith(other.object(), AcDb::kExtendBoth, points) != Acad::eOk)
            return 0;
    }
    AcGePoint3d start;
    AcGePoint3d end;
    curve->getStartPoint(start);
    curve->getEndPoint(end);
    const AcGePoint3d& tip = atEnd ? end : start;
    const AcGePoint3d& otherTip = atEnd ? start : end;

    // The meeting point nearest to the end that the end can reach: on the curve (a trim) or on the
    // continuation of its end segment (an extension); never the other end itself.
    bool found = false;
    bool onCurve = false;
    double param = 0;
    AcGePoint3d target;
    for (const AcGePoint3d& p : points) {
        double candidateParam = 0;
        const bool inside = curve->getParamAtPoint(p, candidateParam) == Acad::eOk;
        if (inside ? planDistance(p, otherTip) <= noiseTolerance(p) : !onContinuation(shape, atEnd, p))
            continue;
        if (!found || planDistance(p, tip) < planDistance(target, tip)) {
            found = true;
            onCurve = inside;
            param = candidateParam;
            target = p;
        }
    }
    if (!found)
        return 0;
    if (!onCurve)
        return curve->extend(atEnd ? Adesk::kFalse : Adesk::kTrue, target) == Acad::eOk ? 1 : 0;
    if (planDistance(target, tip) <= noiseTolerance(target))
        return 1;
    AcGeDoubleArray params;
    params.append(param);
    CurvePieces pieces = splitAt(*curve, params);
    if (pieces.size() != 2)
        return 0;
    return takeShapeOf(*curve, atEnd ? *pieces.front() : *pieces.back()) ? 1 : 0;
}

int tarn_dl_change2dPline(AcDbObjectId id, const AcGePoint3d& point, int flag)
{
    if (flag != 0 && flag != 1)
        return 0;
    AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForWrite);
    if (curve.openStatus() != Acad::eOk)
        return 0;
    CurveShape shape;
    if (!planroad::standins::roadbase::readShape(*curve, shape) || shape.points.size() < 2)
        return 0;
    const std::size_t index = flag == 0 ? 0 : shape.points.size() - 1;
    const std::size_t neighbour = flag == 0 ? 1 : shape.points.size() - 2;
    // The curve stays in its plane: only the plan position of the vertex moves.
    const AcGePoint3d moved(point.x, point.y, shape.points[index].z);
    if (planDistance(moved, shape.points[neighbour]) <= noiseTolerance(moved))
        return 0;
    shape.points[index] = moved;
    return planroad::standins::roadbase::writeShape(*curve, shape) == Acad::eOk ? 1 : 0;
}
