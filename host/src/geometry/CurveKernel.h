// The curve kernel: every host curve as a path of line and arc segments, and the curve questions of the SDK
// on it.
#pragma once

#include <span>
#include <vector>

#include "gepnt3d.h"
#include "gevec3d.h"

namespace arxhost::geom {

// How far each operand of an intersection may be extended; the values are those of AcDb::Intersect.
enum class Mode { kOnBothOperands = 0, kExtendThis = 1, kExtendArg = 2, kExtendBoth = 3 };

// One piece of a path: a straight line or a circular arc in a plane parallel to XY.
//
// Arcs are stored as the counter-clockwise sweep from startAngle to endAngle (0 <= startAngle < 2pi,
// startAngle < endAngle <= startAngle + 2pi) about a centre whose z is the arc's elevation; `clockwise` says
// the path runs that sweep backwards, from endAngle to startAngle. `start` and `end` are the exact points
// where the path enters and leaves the segment. The path's parameter runs from startParam to endParam over
// the segment, in proportion to the length travelled.
struct Segment {
    enum class Kind { kLine, kArc };

    Kind kind = Kind::kLine;
    AcGePoint3d start;
    AcGePoint3d end;
    AcGePoint3d center;
    double radius = 0.0;
    double startAngle = 0.0;
    double endAngle = 0.0;
    bool clockwise = false;
    double startParam = 0.0;
    double endParam = 0.0;

    static Segment line(const AcGePoint3d& from, const AcGePoint3d& to);
    // Angles are normalised as above; equal angles make a full circle.
    static Segment arc(
        const AcGePoint3d& center, double radius, double startAngle, double endAngle, bool clockwise = false);

    bool isArc() const { return kind == Kind::kArc; }
    double sweep() const { return endAngle - startAngle; }
    double length() const;
    // A segment with no extent in the XY plane; paths keep its parameter slot but no geometry beyond a point.
    bool isDegenerate() const;
    // The point at fraction t of the way along the direction of travel; outside [0, 1] a line continues
    // straight on and an arc continues round its circle. t = 0 and t = 1 give `start` and `end` exactly.
    AcGePoint3d pointAt(double t) const;
    // Unit direction of travel at fraction t (the zero vector for a degenerate segment).
    AcGeVector3d tangentAt(double t) const;
};

// A connected curve made of segments, with the parameter convention of the entity it stands for:
//   line      parameter = distance from the start point, 0..length
//   arc       parameter = angle, startAngle..endAngle (endAngle raised by 2pi when below startAngle)
//   circle    parameter = angle, 0..2pi, starting at angle 0
//   polyline  parameter i at vertex i, linear in length along each segment; a closed polyline ends at n
// Points keep their z; arcs lie at their centre's elevation.
class Path {
public:
    Path() = default;

    static Path line(const AcGePoint3d& start, const AcGePoint3d& end);
    static Path arc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
    static Path circle(const AcGePoint3d& center, double radius);
    // Vertex i carries the bulge of the segment from vertex i to i + 1 (missing bulges count as 0). A closed
    // polyline also runs from the last vertex back to the first with the last vertex's bulge. A single vertex
    // gives a degenerate one-point path.
    static Path polyline(std::span<const AcGePoint3d> points, std::span<const double> bulges, bool closed);
    // A closed polyline of straight sides.
    static Path polygon(std::span<const AcGePoint3d> points);

    bool empty() const { return mSegments.empty(); }
    bool isClosed() const { return mClosed; }
    const std::vector<Segment>& segments() const { return mSegments; }

    AcGePoint3d startPoint() const;
    AcGePoint3d endPoint() const;
    double startParam() const;
    double endParam() const;
    double length() const;

    // The queries below fail (return false) for an empty path or an argument outside the curve.
    bool pointAtParam(double param, AcGePoint3d& point) const;
    // As pointAtParam, but a parameter before the start or after the end of an open path continues along the
    // first or last segment (straight on for a line, round the circle for an arc). Closed paths do not
    // extend.
    bool pointAtParamExtended(double param, AcGePoint3d& point) const;
    // The point must lie on the curve within the kernel's point tolerance.
    bool paramAtPoint(const AcGePoint3d& point, double& param) const;
    bool distAtParam(double param, double& dist) const;
    bool paramAtDist(double dist, double& param) const;
    bool pointAtDist(double dist, AcGePoint3d& point) const;
    // Derivative of the point with respect to the parameter: unit for a line, radius long for an arc,
    // segment long for a polyline. At a vertex the segment leaving it counts.
    bool firstDeriv(double param, AcGeVector3d& deriv) const;

    // With extend, lines count as infinite, arcs as full circles, and an open polyline's first and last
    // segments as continued beyond its ends; closed paths never extend.
    AcGePoint3d closestPoint(const AcGePoint3d& point, bool extend = false) const;
    // Exact box: arcs add the quadrant points they pass through.
    void extents(AcGePoint3d& min, AcGePoint3d& max) const;
    // Area enclosed by the path, closed by a straight chord from its end to its start when open.
    double area() const;

private:
    std::vector<Segment> mSegments;
    bool mClosed = false;
};

// Converts a polyline segment into its arc: centre (at p1's elevation), radius, and the counter-clockwise
// sweep startAngle..endAngle (startAngle in [0, 2pi), endAngle = startAngle + 4 atan|bulge|). A negative
// bulge runs clockwise from p1 to p2, so the sweep then goes from p2 to p1. False for a zero bulge or
// coincident points.
bool bulgeToArc(const AcGePoint3d& p1, const AcGePoint3d& p2, double bulge, AcGePoint3d& center,
    double& radius, double& startAngle, double& endAngle);
// The bulge of the arc about `center` running from p1 to p2, counter-clockwise or clockwise.
double arcToBulge(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& center, bool clockwise);

// The distance below which two points coincide in the kernel: the global point tolerance, but never less than
// a floor that absorbs the rounding noise of computed coordinates, and growing with the size of the
// coordinates.
double pointTolerance(double magnitude);

// Intersections of two curves in the XY plane, as points on the first operand (with its z). Extended lines
// are infinite, extended arcs full circles, an extended open polyline continues its first segment backwards
// and its last segment forwards; closed curves never extend. Coincident results are merged (a tangency counts
// once), overlapping stretches give their end points, and the points are ordered along the first operand.
std::vector<AcGePoint3d> intersect(const Path& a, const Path& b, Mode mode);

// Area tests of the editor's selection, all in the XY plane. On the boundary counts as inside.
bool intersectsRect(const Path& path, const AcGePoint3d& min, const AcGePoint3d& max);
bool insideRect(const Path& path, const AcGePoint3d& min, const AcGePoint3d& max);
// Even-odd rule over the closed vertex list.
bool pointInPolygon(const AcGePoint3d& point, std::span<const AcGePoint3d> polygon);
bool intersectsPolygon(const Path& path, std::span<const AcGePoint3d> polygon);
bool insidePolygon(const Path& path, std::span<const AcGePoint3d> polygon);
double distanceTo(const Path& path, const AcGePoint3d& point);

} // namespace arxhost::geom
