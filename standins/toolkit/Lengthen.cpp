// Drawing toolkit: lengthening a curve at its ends along its own course.
#include "DrawingToolkit.h"

#include <cmath>
#include <numbers>

#include "dbcurve.h"
#include "dbents.h"
#include "dbobjptr.h"

namespace tarn {

namespace {

// The parameter a distance beyond one end of the curve. A curve's parameter runs in proportion to its
// length along each end segment (distance for a line, angle for an arc, a fraction of the segment for a
// polyline), so the derivative's length at the end converts the distance.
bool paramBeyond(const AcDbCurve& curve, bool atStart, double length, double& param)
{
    double end = 0.0;
    if ((atStart ? curve.getStartParam(end) : curve.getEndParam(end)) != Acad::eOk)
        return false;
    AcGeVector3d derivative;
    if (curve.getFirstDeriv(end, derivative) != Acad::eOk || derivative.length() <= 0.0)
        return false;
    const double step = length / derivative.length();
    param = atStart ? end - step : end + step;
    return true;
}

} // namespace

int CFEntLengthen::Lengthen(AcDbObjectId id, double length, int type)
{
    if (!(length > 0.0) || type < EXTEND_END || type > EXTEND_BOTH)
        return 0;
    AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForWrite);
    if (curve.openStatus() != Acad::eOk || curve->isClosed())
        return 0;
    const bool atEnd = type == EXTEND_END || type == EXTEND_BOTH;
    const bool atStart = type == EXTEND_START || type == EXTEND_BOTH;
    if (const auto* arc = AcDbArc::cast(curve.object())) {
        // An arc may grow round its circle only until it would meet itself.
        const double growth = (atEnd ? 1 : 0) + (atStart ? 1 : 0);
        if (arc->totalAngle() + growth * length / arc->radius() >= 2.0 * std::numbers::pi)
            return 0;
    }
    // Both parameters are taken before the curve changes (growing one end never moves the other's
    // parameter, but the curve's own answers are read from one state).
    double endParam = 0.0;
    double startParam = 0.0;
    if ((atEnd && !paramBeyond(*curve, false, length, endParam))
        || (atStart && !paramBeyond(*curve, true, length, startParam)))
        return 0;
    if (atEnd && curve->extend(endParam) != Acad::eOk)
        return 0;
    if (atStart && curve->extend(startParam) != Acad::eOk)
        return 0;
    return 1;
}

} // namespace tarn
