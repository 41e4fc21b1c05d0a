// The curve kernel: construction of paths, parameter and distance queries, intersections and area tests.
#include "geometry/CurveKernel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "gegbl.h"

namespace arxhost::geom {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kHalfPi = 0.5 * std::numbers::pi;
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Absolute floor of the point tolerance: computed coordinates that should meet may miss by rounding noise
// (1e-9 and a little more), and the global tolerance alone (1e-10 by default) would let them.
constexpr double kNoiseFloor = 1e-8;
// Growth of the tolerance with the size of the coordinates: survey coordinates in the millions lose digits.
constexpr double kRelativeNoise = 1e-12;
// Relative slack on parameters at the ends of a path.
constexpr double kParamSlack = 1e-9;

// Angle in [0, 2pi).
double normalizeAngle(double angle)
{
    double a = std::fmod(angle, kTwoPi);
    if (a < 0.0)
        a += kTwoPi;
    return a >= kTwoPi ? 0.0 : a;
}

double angleOf(const AcGePoint3d& center, const AcGePoint3d& point)
{
    return normalizeAngle(std::atan2(point.y - center.y, point.x - center.x));
}

double planarDistance(const AcGePoint3d& a, const AcGePoint3d& b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

double cross2d(const AcGeVector3d& a, const AcGeVector3d& b)
{
    return a.x * b.y - a.y * b.x;
}

AcGeVector3d planar(const AcGeVector3d& v)
{
    return {v.x, v.y, 0.0};
}

// The point on the circle at the angle, at the centre's elevation.
AcGePoint3d onCircle(const AcGePoint3d& center, double radius, double angle)
{
    return {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle), center.z};
}

double magnitudeOf(const AcGePoint3d& min, const AcGePoint3d& max)
{
    return std::max({std::fabs(min.x), std::fabs(min.y), std::fabs(max.x), std::fabs(max.y)});
}

// The angle (along the direction of travel) from the arc's travel start to `angle`, in [0, 2pi).
double travelOffset(const Segment& s, double angle)
{
    return s.clockwise ? normalizeAngle(s.endAngle - angle) : normalizeAngle(angle - s.startAngle);
}

// Where a point lies relative to a segment that may be continued before its start and/or after its end.
struct Projection {
    double t = 0.0; // fraction along the direction of travel, outside [0, 1] on a continuation
    AcGePoint3d point;
    double distance = 0.0;
};

// With `planarOnly` the point is compared with the segment's shadow in XY and `distance` is measured in XY;
// otherwise in space. Arcs are planar either way: the closest point of a circle lies at the point's own
// angle.
Projection project(
    const Segment& s, const AcGePoint3d& p, bool extendBack, bool extendFwd, bool planarOnly = false)
{
    Projection r;
    if (!s.isArc()) {
        const AcGeVector3d d = planarOnly ? planar(s.end - s.start) : s.end - s.start;
        const AcGeVector3d v = planarOnly ? planar(p - s.start) : p - s.start;
        const double len2 = d.lengthSqrd();
        const double t = len2 > 0.0 ? v.dotProduct(d) / len2 : 0.0;
        r.t = std::clamp(t, extendBack ? -kInfinity : 0.0, extendFwd ? kInfinity : 1.0);
    } else if (s.isDegenerate()) {
        r.t = 0.0;
    } else if (planarDistance(p, s.center) == 0.0) {
        r.t = 0.0; // every point of the circle is as close; take the start
    } else {
        const double sweep = s.sweep();
        const double offset = travelOffset(s, angleOf(s.center, p));
        if (offset <= sweep) {
            r.t = offset / sweep;
        } else {
            const double pastEnd = offset - sweep;
            const double beforeStart = kTwoPi - offset;
            if (extendBack && (!extendFwd || beforeStart < pastEnd))
                r.t = -beforeStart / sweep;
            else if (extendFwd)
                r.t = 1.0 + pastEnd / sweep;
            else
                r.t = p.distanceTo(s.start) <= p.distanceTo(s.end) ? 0.0 : 1.0;
        }
    }
    r.point = s.pointAt(r.t);
    r.distance = planarOnly ? planarDistance(p, r.point) : p.distanceTo(r.point);
    return r;
}

// Index of the segment holding the parameter: the one starting at a vertex parameter, the last at the end.
std::size_t segmentAtParam(const std::vector<Segment>& segments, double param)
{
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (param < segments[i].endParam)
            return i;
    }
    return segments.size() - 1;
}

double fractionOf(const Segment& s, double param)
{
    const double span = s.endParam - s.startParam;
    return span == 0.0 ? 0.0 : (param - s.startParam) / span;
}

// First and last segments with geometry: those an open path extends. npos when the path is a single point.
struct SolidEnds {
    std::size_t first = static_cast<std::size_t>(-1);
    std::size_t last = static_cast<std::size_t>(-1);
    bool any() const { return first != static_cast<std::size_t>(-1); }
};

SolidEnds solidEnds(const std::vector<Segment>& segments)
{
    SolidEnds ends;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        if (segments[i].isDegenerate())
            continue;
        if (!ends.any())
            ends.first = i;
        ends.last = i;
    }
    return ends;
}

// A segment of a path as the intersection and closest-point code sees it: with its continuations.
struct Piece {
    const Segment* segment = nullptr;
    std::size_t index = 0;
    bool extendBack = false;
    bool extendFwd = false;
};

std::vector<Piece> piecesOf(const Path& path, bool extend)
{
    const std::vector<Segment>& segments = path.segments();
    const bool extending = extend && !path.isClosed();
    const SolidEnds ends = solidEnds(segments);
    std::vector<Piece> pieces;
    pieces.reserve(segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i) {
        Piece piece;
        piece.segment = &segments[i];
        piece.index = i;
        piece.extendBack = extending && ends.any() && i == ends.first;
        piece.extendFwd = extending && ends.any() && i == ends.last;
        pieces.push_back(piece);
    }
    return pieces;
}

bool isExtended(const Piece& p)
{
    return p.extendBack || p.extendFwd;
}

// The path parameter of fraction t on a piece; continuations before the start or after the end carry on
// from the path's first or last parameter at the rate of the piece they continue.
double pathParam(const Path& path, const Piece& piece, double t)
{
    const Segment& s = *piece.segment;
    const double span = s.endParam - s.startParam;
    if (t < 0.0)
        return path.startParam() + t * span;
    if (t > 1.0)
        return path.endParam() + (t - 1.0) * span;
    return s.startParam + t * span;
}

struct Closest {
    std::size_t index = 0;
    Projection projection;
};

Closest closestOnPath(const Path& path, const AcGePoint3d& point, bool extend)
{
    Closest best;
    bool found = false;
    for (const Piece& piece : piecesOf(path, extend)) {
        const Projection pr = project(*piece.segment, point, piece.extendBack, piece.extendFwd);
        if (!found || pr.distance < best.projection.distance) {
            best.index = piece.index;
            best.projection = pr;
            found = true;
        }
    }
    return best;
}

// Box of a piece in XY, or an unbounded box when the piece is extended.
struct Box {
    double minX = kInfinity;
    double minY = kInfinity;
    double maxX = -kInfinity;
    double maxY = -kInfinity;

    void add(const AcGePoint3d& p)
    {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    bool overlaps(const Box& o, double tol) const
    {
        return minX <= o.maxX + tol && o.minX <= maxX + tol && minY <= o.maxY + tol && o.minY <= maxY + tol;
    }
};

Box boxOf(const Piece& piece)
{
    Box box;
    if (isExtended(piece)) {
        box.minX = box.minY = -kInfinity;
        box.maxX = box.maxY = kInfinity;
        return box;
    }
    const Segment& s = *piece.segment;
    box.add(s.start);
    box.add(s.end);
    if (s.isArc()) {
        // Quadrant points are few; take the circle's box, which is enough for rejection.
        box.add(AcGePoint3d(s.center.x - s.radius, s.center.y - s.radius, 0.0));
        box.add(AcGePoint3d(s.center.x + s.radius, s.center.y + s.radius, 0.0));
    }
    return box;
}

// Points where the carriers (infinite line or full circle) of two pieces meet, in XY. Coincident carriers
// give none: their common stretches come from the end point checks.
std::vector<AcGePoint3d> carrierCrossings(const Segment& a, const Segment& b, double tol)
{
    std::vector<AcGePoint3d> out;
    if (!a.isArc() && !b.isArc()) {
        const AcGeVector3d da = planar(a.end - a.start);
        const AcGeVector3d db = planar(b.end - b.start);
        const double denom = cross2d(da, db);
        if (std::fabs(denom) <= 1e-14 * da.length() * db.length())
            return out;
        const double t = cross2d(planar(b.start - a.start), db) / denom;
        out.push_back(a.start + da * t);
        return out;
    }
    if (a.isArc() != b.isArc()) {
        const Segment& ln = a.isArc() ? b : a;
        const Segment& arc = a.isArc() ? a : b;
        const AcGeVector3d d = planar(ln.end - ln.start).normal();
        const AcGeVector3d toCenter = planar(arc.center - ln.start);
        const AcGePoint3d foot = ln.start + d * toCenter.dotProduct(d);
        const AcGePoint3d c(arc.center.x, arc.center.y, ln.start.z);
        const double h = planarDistance(foot, c);
        if (h > arc.radius + tol)
            return out;
        if (std::fabs(h - arc.radius) <= tol) {
            // Tangent (or as good as): one point, on the circle nearest the line.
            out.push_back(h > 0.0 ? c + planar(foot - c) * (arc.radius / h) : foot);
            return out;
        }
        const double half = std::sqrt(arc.radius * arc.radius - h * h);
        out.push_back(foot - d * half);
        out.push_back(foot + d * half);
        return out;
    }
    const AcGeVector3d between = planar(b.center - a.center);
    const double d = between.length();
    const double r1 = a.radius;
    const double r2 = b.radius;
    if (d <= tol)
        return out; // concentric: no crossing, or the same circle
    if (d > r1 + r2 + tol || d < std::fabs(r1 - r2) - tol)
        return out;
    const AcGeVector3d u = between / d;
    const double along = (d * d + r1 * r1 - r2 * r2) / (2.0 * d);
    if (std::fabs(d - (r1 + r2)) <= tol || std::fabs(d - std::fabs(r1 - r2)) <= tol) {
        out.push_back(a.center + u * std::clamp(along, -r1, r1));
        return out;
    }
    const double half = std::sqrt(std::max(0.0, r1 * r1 - along * along));
    const AcGeVector3d perp(-u.y, u.x, 0.0);
    const AcGePoint3d mid = a.center + u * along;
    out.push_back(mid + perp * half);
    out.push_back(mid - perp * half);
    return out;
}

// The finite end points of a piece: its travel start unless continued backwards, its end unless continued
// forwards; a full circle (an arc continued either way) has none, a degenerate piece its one point.
std::vector<AcGePoint3d> finiteEnds(const Piece& piece)
{
    const Segment& s = *piece.segment;
    if (s.isDegenerate())
        return {s.start};
    if (s.isArc() && isExtended(piece))
        return {};
    std::vector<AcGePoint3d> ends;
    if (!piece.extendBack)
        ends.push_back(s.start);
    if (!piece.extendFwd)
        ends.push_back(s.end);
    return ends;
}

struct Hit {
    AcGePoint3d point;
    double param = 0.0;
};

// Whether curves in XY meet does not depend on their z.
Projection projectPlanar(const Piece& piece, const AcGePoint3d& p)
{
    return project(*piece.segment, p, piece.extendBack, piece.extendFwd, true);
}

// Intersections of two pieces as hits on path `a`, candidates in order of preference: the end points of a's
// piece (exact vertices), the carrier crossings, and b's end points brought onto a.
void intersectPieces(const Path& pathA, const Piece& a, const Piece& b, double tol, std::vector<Hit>& hits)
{
    auto accept = [&](const AcGePoint3d& candidate) {
        const Projection onA = projectPlanar(a, candidate);
        if (onA.distance > tol)
            return;
        const Projection onB = projectPlanar(b, candidate);
        if (onB.distance > tol)
            return;
        hits.push_back({onA.point, pathParam(pathA, a, onA.t)});
    };
    for (const AcGePoint3d& e : finiteEnds(a))
        accept(e);
    if (!a.segment->isDegenerate() && !b.segment->isDegenerate()) {
        for (const AcGePoint3d& c : carrierCrossings(*a.segment, *b.segment, tol))
            accept(c);
    }
    for (const AcGePoint3d& e : finiteEnds(b))
        accept(e);
}

double pathMagnitude(const Path& path)
{
    if (path.empty())
        return 0.0;
    AcGePoint3d min;
    AcGePoint3d max;
    path.extents(min, max);
    return magnitudeOf(min, max);
}

// All intersection hits of a with b, merged and ordered along a.
std::vector<Hit> intersectHits(const Path& a, const Path& b, bool extendA, bool extendB)
{
    std::vector<Hit> hits;
    if (a.empty() || b.empty())
        return hits;
    const double tol = pointTolerance(std::max(pathMagnitude(a), pathMagnitude(b)));
    const std::vector<Piece> piecesA = piecesOf(a, extendA);
    const std::vector<Piece> piecesB = piecesOf(b, extendB);
    std::vector<Box> boxesB;
    boxesB.reserve(piecesB.size());
    for (const Piece& pb : piecesB)
        boxesB.push_back(boxOf(pb));
    for (const Piece& pa : piecesA) {
        const Box boxA = boxOf(pa);
        for (std::size_t j = 0; j < piecesB.size(); ++j) {
            if (boxA.overlaps(boxesB[j], tol))
                intersectPieces(a, pa, piecesB[j], tol, hits);
        }
    }
    // Merge coincident hits, keeping the first found (the preferred candidate), then order along a.
    std::vector<Hit> merged;
    for (const Hit& h : hits) {
        const bool seen = std::any_of(merged.begin(), merged.end(),
            [&](const Hit& m) { return planarDistance(m.point, h.point) <= tol; });
        if (!seen)
            merged.push_back(h);
    }
    std::stable_sort(
        merged.begin(), merged.end(), [](const Hit& l, const Hit& r) { return l.param < r.param; });
    return merged;
}

bool insideBox(const AcGePoint3d& p, const AcGePoint3d& min, const AcGePoint3d& max, double tol)
{
    return p.x >= min.x - tol && p.x <= max.x + tol && p.y >= min.y - tol && p.y <= max.y + tol;
}

std::vector<AcGePoint3d> rectangle(const AcGePoint3d& min, const AcGePoint3d& max)
{
    const double lowX = std::min(min.x, max.x);
    const double highX = std::max(min.x, max.x);
    const double lowY = std::min(min.y, max.y);
    const double highY = std::max(min.y, max.y);
    return {{lowX, lowY, 0.0}, {highX, lowY, 0.0}, {highX, highY, 0.0}, {lowX, highY, 0.0}};
}

double pointToSegment2d(const AcGePoint3d& p, const AcGePoint3d& a, const AcGePoint3d& b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

} // namespace

double pointTolerance(double magnitude)
{
    return std::max(AcGeContext::gTol.equalPoint(), kNoiseFloor) + kRelativeNoise * magnitude;
}

// ---- Segment ----

Segment Segment::line(const AcGePoint3d& from, const AcGePoint3d& to)
{
    Segment s;
    s.kind = Kind::kLine;
    s.start = from;
    s.end = to;
    return s;
}

Segment Segment::arc(
    const AcGePoint3d& center, double radius, double startAngle, double endAngle, bool clockwise)
{
    Segment s;
    s.kind = Kind::kArc;
    s.center = center;
    s.radius = radius;
    s.startAngle = normalizeAngle(startAngle);
    double sweep = normalizeAngle(endAngle - startAngle);
    if (sweep <= 0.0)
        sweep = kTwoPi;
    s.endAngle = s.startAngle + sweep;
    s.clockwise = clockwise;
    const AcGePoint3d first = onCircle(center, radius, s.startAngle);
    const AcGePoint3d last = onCircle(center, radius, s.endAngle);
    s.start = clockwise ? last : first;
    s.end = clockwise ? first : last;
    return s;
}

double Segment::length() const
{
    return isArc() ? radius * sweep() : start.distanceTo(end);
}

bool Segment::isDegenerate() const
{
    const double size = isArc() ? radius * std::min(sweep(), kPi) : planarDistance(start, end);
    return size <= AcGeContext::gTol.equalPoint();
}

AcGePoint3d Segment::pointAt(double t) const
{
    if (t == 0.0)
        return start;
    if (t == 1.0)
        return end;
    if (!isArc())
        return start + (end - start) * t;
    const double angle = clockwise ? endAngle - t * sweep() : startAngle + t * sweep();
    return onCircle(center, radius, angle);
}

AcGeVector3d Segment::tangentAt(double t) const
{
    if (!isArc())
        return (end - start).normal();
    if (radius == 0.0)
        return {};
    const double angle = clockwise ? endAngle - t * sweep() : startAngle + t * sweep();
    const AcGeVector3d ccw(-std::sin(angle), std::cos(angle), 0.0);
    return clockwise ? -ccw : ccw;
}

// ---- Path construction ----

Path Path::line(const AcGePoint3d& start, const AcGePoint3d& end)
{
    Path path;
    Segment s = Segment::line(start, end);
    s.startParam = 0.0;
    s.endParam = s.length();
    path.mSegments.push_back(s);
    return path;
}

Path Path::arc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
{
    Path path;
    Segment s = Segment::arc(center, radius, startAngle, endAngle);
    s.startParam = s.startAngle;
    s.endParam = s.endAngle;
    path.mSegments.push_back(s);
    return path;
}

Path Path::circle(const AcGePoint3d& center, double radius)
{
    Path path;
    Segment s = Segment::arc(center, radius, 0.0, kTwoPi);
    s.startParam = 0.0;
    s.endParam = kTwoPi;
    path.mSegments.push_back(s);
    path.mClosed = true;
    return path;
}

Path Path::polyline(std::span<const AcGePoint3d> points, std::span<const double> bulges, bool closed)
{
    Path path;
    const std::size_t n = points.size();
    if (n == 0)
        return path;
    path.mClosed = closed;
    if (n == 1 && !closed) {
        Segment s = Segment::line(points[0], points[0]);
        path.mSegments.push_back(s);
        return path;
    }
    const std::size_t count = closed ? n : n - 1;
    for (std::size_t i = 0; i < count; ++i) {
        const AcGePoint3d& from = points[i];
        const AcGePoint3d& to = points[(i + 1) % n];
        const double bulge = i < bulges.size() ? bulges[i] : 0.0;
        Segment s;
        AcGePoint3d center;
        double radius = 0.0;
        double startAngle = 0.0;
        double endAngle = 0.0;
        if (bulge != 0.0 && bulgeToArc(from, to, bulge, center, radius, startAngle, endAngle)) {
            s.kind = Segment::Kind::kArc;
            s.center = center;
            s.radius = radius;
            s.startAngle = startAngle;
            s.endAngle = endAngle;
            s.clockwise = bulge < 0.0;
            s.start = from;
            s.end = to;
        } else {
            s = Segment::line(from, to);
        }
        s.startParam = static_cast<double>(i);
        s.endParam = static_cast<double>(i + 1);
        path.mSegments.push_back(s);
    }
    return path;
}

Path Path::polygon(std::span<const AcGePoint3d> points)
{
    return polyline(points, {}, true);
}

// ---- Path queries ----

AcGePoint3d Path::startPoint() const
{
    return empty() ? AcGePoint3d() : mSegments.front().start;
}

AcGePoint3d Path::endPoint() const
{
    return empty() ? AcGePoint3d() : mSegments.back().end;
}

double Path::startParam() const
{
    return empty() ? 0.0 : mSegments.front().startParam;
}

double Path::endParam() const
{
    return empty() ? 0.0 : mSegments.back().endParam;
}

double Path::length() const
{
    double total = 0.0;
    for (const Segment& s : mSegments)
        total += s.length();
    return total;
}

bool Path::pointAtParam(double param, AcGePoint3d& point) const
{
    if (empty())
        return false;
    const double lo = startParam();
    const double hi = endParam();
    const double slack = kParamSlack * std::max({1.0, std::fabs(lo), std::fabs(hi)});
    if (param < lo - slack || param > hi + slack)
        return false;
    param = std::clamp(param, lo, hi);
    const Segment& s = mSegments[segmentAtParam(mSegments, param)];
    point = s.pointAt(fractionOf(s, param));
    return true;
}

bool Path::pointAtParamExtended(double param, AcGePoint3d& point) const
{
    if (empty())
        return false;
    if (param >= startParam() && param <= endParam())
        return pointAtParam(param, point);
    if (mClosed)
        return false;
    const SolidEnds ends = solidEnds(mSegments);
    if (!ends.any())
        return false;
    const bool before = param < startParam();
    const Segment& s = mSegments[before ? ends.first : ends.last];
    const double span = s.endParam - s.startParam;
    if (span == 0.0)
        return false;
    const double t = before ? (param - startParam()) / span : 1.0 + (param - endParam()) / span;
    point = s.pointAt(t);
    return true;
}

bool Path::paramAtPoint(const AcGePoint3d& point, double& param) const
{
    if (empty())
        return false;
    const Closest c = closestOnPath(*this, point, false);
    if (c.projection.distance
        > pointTolerance(std::max({std::fabs(point.x), std::fabs(point.y), pathMagnitude(*this)})))
        return false;
    const Segment& s = mSegments[c.index];
    param = s.startParam + c.projection.t * (s.endParam - s.startParam);
    return true;
}

bool Path::distAtParam(double param, double& dist) const
{
    AcGePoint3d unused;
    if (!pointAtParam(param, unused))
        return false;
    param = std::clamp(param, startParam(), endParam());
    const std::size_t index = segmentAtParam(mSegments, param);
    double total = 0.0;
    for (std::size_t i = 0; i < index; ++i)
        total += mSegments[i].length();
    dist = total + fractionOf(mSegments[index], param) * mSegments[index].length();
    return true;
}

bool Path::paramAtDist(double dist, double& param) const
{
    if (empty())
        return false;
    const double total = length();
    const double slack = kParamSlack * std::max(1.0, total);
    if (dist < -slack || dist > total + slack)
        return false;
    if (dist <= 0.0 || total == 0.0) {
        param = startParam();
        return true;
    }
    double before = 0.0;
    for (const Segment& s : mSegments) {
        const double len = s.length();
        if (len > 0.0 && dist <= before + len) {
            param = s.startParam + (dist - before) / len * (s.endParam - s.startParam);
            return true;
        }
        before += len;
    }
    param = endParam();
    return true;
}

bool Path::pointAtDist(double dist, AcGePoint3d& point) const
{
    double param = 0.0;
    return paramAtDist(dist, param) && pointAtParam(param, point);
}

bool Path::firstDeriv(double param, AcGeVector3d& deriv) const
{
    AcGePoint3d unused;
    if (!pointAtParam(param, unused))
        return false;
    param = std::clamp(param, startParam(), endParam());
    std::size_t index = segmentAtParam(mSegments, param);
    double t = fractionOf(mSegments[index], param);
    if (mSegments[index].length() == 0.0) {
        // A zero-length slot has no direction of its own: take the next segment with length, else the last
        // before.
        std::size_t next = index;
        while (next < mSegments.size() && mSegments[next].length() == 0.0)
            ++next;
        if (next < mSegments.size()) {
            index = next;
            t = 0.0;
        } else {
            while (index > 0 && mSegments[index].length() == 0.0)
                --index;
            t = 1.0;
        }
    }
    const Segment& s = mSegments[index];
    const double span = s.endParam - s.startParam;
    deriv = span == 0.0 ? AcGeVector3d() : s.tangentAt(t) * (s.length() / span);
    return true;
}

AcGePoint3d Path::closestPoint(const AcGePoint3d& point, bool extend) const
{
    if (empty())
        return point;
    return closestOnPath(*this, point, extend).projection.point;
}

void Path::extents(AcGePoint3d& min, AcGePoint3d& max) const
{
    if (empty()) {
        min = max = AcGePoint3d();
        return;
    }
    min.set(kInfinity, kInfinity, kInfinity);
    max.set(-kInfinity, -kInfinity, -kInfinity);
    auto add = [&](const AcGePoint3d& p) {
        min.set(std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z));
        max.set(std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z));
    };
    for (const Segment& s : mSegments) {
        add(s.start);
        add(s.end);
        if (!s.isArc())
            continue;
        // Quadrant points inside the sweep, with exact coordinates.
        const double first = std::ceil(s.startAngle / kHalfPi);
        const double last = std::floor(s.endAngle / kHalfPi);
        for (double k = first; k <= last; k += 1.0) {
            switch (static_cast<int>(k) % 4) {
            case 0:
                add(AcGePoint3d(s.center.x + s.radius, s.center.y, s.center.z));
                break;
            case 1:
                add(AcGePoint3d(s.center.x, s.center.y + s.radius, s.center.z));
                break;
            case 2:
                add(AcGePoint3d(s.center.x - s.radius, s.center.y, s.center.z));
                break;
            default:
                add(AcGePoint3d(s.center.x, s.center.y - s.radius, s.center.z));
                break;
            }
        }
    }
}

double Path::area() const
{
    // Shoelace over the chords, plus the circular segment between each arc and its chord.
    double twice = 0.0;
    for (const Segment& s : mSegments) {
        twice += s.start.x * s.end.y - s.end.x * s.start.y;
        if (s.isArc()) {
            const double theta = s.sweep();
            const double bite = s.radius * s.radius * (theta - std::sin(theta));
            twice += s.clockwise ? -bite : bite;
        }
    }
    if (!empty()) {
        const AcGePoint3d& from = endPoint();
        const AcGePoint3d& to = startPoint();
        twice += from.x * to.y - to.x * from.y;
    }
    return std::fabs(twice) / 2.0;
}

// ---- Bulges ----

bool bulgeToArc(const AcGePoint3d& p1, const AcGePoint3d& p2, double bulge, AcGePoint3d& center,
    double& radius, double& startAngle, double& endAngle)
{
    const double chord = planarDistance(p1, p2);
    if (bulge == 0.0 || chord == 0.0)
        return false;
    // With b = tan(sweep / 4): the centre sits (chord / 2) * (1 - b^2) / (2b) to the left of the chord's
    // midpoint (to the right for a negative bulge), and the radius is (chord / 2) * (1 + b^2) / (2|b|).
    const double half = chord / 2.0;
    const AcGeVector3d along((p2.x - p1.x) / chord, (p2.y - p1.y) / chord, 0.0);
    const AcGeVector3d left(-along.y, along.x, 0.0);
    const double offset = half * (1.0 - bulge * bulge) / (2.0 * bulge);
    center.set((p1.x + p2.x) / 2.0 + left.x * offset, (p1.y + p2.y) / 2.0 + left.y * offset, p1.z);
    radius = half * (1.0 + bulge * bulge) / (2.0 * std::fabs(bulge));
    const double sweep = 4.0 * std::atan(std::fabs(bulge));
    startAngle = angleOf(center, bulge > 0.0 ? p1 : p2);
    endAngle = startAngle + sweep;
    return true;
}

double arcToBulge(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& center, bool clockwise)
{
    const double from = angleOf(center, p1);
    const double to = angleOf(center, p2);
    const double sweep = clockwise ? normalizeAngle(from - to) : normalizeAngle(to - from);
    const double bulge = std::tan(sweep / 4.0);
    return clockwise ? -bulge : bulge;
}

// ---- Intersections and area tests ----

std::vector<AcGePoint3d> intersect(const Path& a, const Path& b, Mode mode)
{
    const bool extendA = mode == Mode::kExtendThis || mode == Mode::kExtendBoth;
    const bool extendB = mode == Mode::kExtendArg || mode == Mode::kExtendBoth;
    std::vector<AcGePoint3d> points;
    for (const Hit& h : intersectHits(a, b, extendA, extendB))
        points.push_back(h.point);
    return points;
}

bool intersectsRect(const Path& path, const AcGePoint3d& min, const AcGePoint3d& max)
{
    return intersectsPolygon(path, rectangle(min, max));
}

bool insideRect(const Path& path, const AcGePoint3d& min, const AcGePoint3d& max)
{
    if (path.empty())
        return false;
    const std::vector<AcGePoint3d> corners = rectangle(min, max);
    AcGePoint3d low;
    AcGePoint3d high;
    path.extents(low, high);
    const double tol = pointTolerance(std::max(magnitudeOf(low, high), magnitudeOf(corners[0], corners[2])));
    return insideBox(low, corners[0], corners[2], tol) && insideBox(high, corners[0], corners[2], tol);
}

bool pointInPolygon(const AcGePoint3d& point, std::span<const AcGePoint3d> polygon)
{
    const std::size_t n = polygon.size();
    if (n == 0)
        return false;
    const double tol = pointTolerance(std::max(std::fabs(point.x), std::fabs(point.y)));
    bool inside = false;
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const AcGePoint3d& a = polygon[i];
        const AcGePoint3d& b = polygon[j];
        if (pointToSegment2d(point, a, b) <= tol)
            return true;
        // Crossing count of a ray towards +x; half-open in y so that a vertex is counted once.
        if ((a.y > point.y) != (b.y > point.y)) {
            const double x = a.x + (point.y - a.y) / (b.y - a.y) * (b.x - a.x);
            if (x > point.x)
                inside = !inside;
        }
    }
    return inside;
}

bool intersectsPolygon(const Path& path, std::span<const AcGePoint3d> polygon)
{
    if (path.empty() || polygon.empty())
        return false;
    // A connected curve that meets no edge lies wholly inside or wholly outside; its start point says which.
    if (pointInPolygon(path.startPoint(), polygon))
        return true;
    return !intersectHits(path, Path::polygon(polygon), false, false).empty();
}

bool insidePolygon(const Path& path, std::span<const AcGePoint3d> polygon)
{
    if (path.empty() || polygon.empty())
        return false;
    // Between consecutive boundary contacts and vertices the curve stays on one side of the boundary, so
    // checking the vertices and one point between each pair of neighbouring parameters decides.
    std::vector<double> params;
    for (const Segment& s : path.segments()) {
        params.push_back(s.startParam);
        params.push_back(s.endParam);
    }
    for (const Hit& h : intersectHits(path, Path::polygon(polygon), false, false))
        params.push_back(h.param);
    std::sort(params.begin(), params.end());
    params.erase(std::unique(params.begin(), params.end()), params.end());
    for (std::size_t i = 0; i < params.size(); ++i) {
        AcGePoint3d p;
        if (path.pointAtParam(params[i], p) && !pointInPolygon(p, polygon))
            return false;
        if (i + 1 < params.size() && path.pointAtParam((params[i] + params[i + 1]) / 2.0, p)
            && !pointInPolygon(p, polygon))
            return false;
    }
    return true;
}

double distanceTo(const Path& path, const AcGePoint3d& point)
{
    if (path.empty())
        return kInfinity;
    return closestOnPath(path, point, false).projection.distance;
}

} // namespace arxhost::geom
