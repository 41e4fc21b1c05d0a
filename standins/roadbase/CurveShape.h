// Every road curve (line, arc, lightweight or old-style polyline) seen as one polyline of vertices and
// bulges, so that the road editing works the same way on all of them.
#pragma once

#include <vector>

#include "dbcurve.h"
#include "gepnt3d.h"

namespace planroad::standins::roadbase {

// A polyline in plan: vertex i carries the bulge of the segment from vertex i to i + 1 (the last vertex's
// bulge belongs to the closing segment of a closed shape). z of every vertex is the elevation.
struct CurveShape {
    std::vector<AcGePoint3d> points;
    std::vector<double> bulges;
    std::vector<double> startWidths;
    std::vector<double> endWidths;
    bool closed = false;

    int segmentCount() const
    {
        const int n = static_cast<int>(points.size());
        return closed ? n : n - 1;
    }
};

// A circular arc of a segment: centre, radius, and the angles at the segment's start and end (radians,
// the end angle reached by turning counter-clockwise when `clockwise` is false).
struct SegmentArc {
    AcGePoint3d center;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;
    bool clockwise = false;
};

// The shape of a line, arc, lightweight polyline or old-style polyline (open for read at least). False for
// other entities and for polylines without vertices.
bool readShape(const AcDbCurve& curve, CurveShape& shape);
// Gives the curve (open for write) the shape, keeping the curve's class, handle, properties and data. A
// line takes the two ends of a straight shape; an arc the arc of a one-segment shape with a bulge.
// eNotApplicable for a shape the curve's class cannot take.
Acad::ErrorStatus writeShape(AcDbCurve& curve, const CurveShape& shape);

// The arc of a segment from p1 to p2 with the bulge (not 0).
SegmentArc arcOfBulge(const AcGePoint3d& p1, const AcGePoint3d& p2, double bulge);
// The bulge of the arc about `center` from p1 to p2, turning clockwise or not.
double bulgeOfArc(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& center, bool clockwise);

// Plan (XY) distance.
double planDistance(const AcGePoint3d& a, const AcGePoint3d& b);

} // namespace planroad::standins::roadbase
