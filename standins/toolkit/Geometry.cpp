// Drawing toolkit: plane geometry (coordinate systems, nearest points, areas, feet of perpendiculars,
// rounding) and the arc through three points.
#include "DrawingToolkit.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "acedads.h"
#include "gegbl.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// acedTrans between the world (0) and the current UCS (1).
AcGePoint3d transform(const AcGePoint3d& pt, short from, short to)
{
    resbuf rbFrom {};
    rbFrom.restype = RTSHORT;
    rbFrom.resval.rint = from;
    resbuf rbTo {};
    rbTo.restype = RTSHORT;
    rbTo.resval.rint = to;
    const ads_point in = {pt.x, pt.y, pt.z};
    ads_point out = {pt.x, pt.y, pt.z};
    if (acedTrans(in, &rbFrom, &rbTo, 0, out) != RTNORM)
        return pt;
    return AcGePoint3d(out[X], out[Y], out[Z]);
}

double planDistance(const AcGePoint3d& a, const AcGePoint3d& b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Distance in plan from p to the segment a-b.
double distanceToSegment(const AcGePoint3d& p, const AcGePoint3d& a, const AcGePoint3d& b)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    if (lengthSquared == 0.0)
        return planDistance(p, a);
    const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0);
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

double normalizedAngle(double angle)
{
    angle = std::fmod(angle, kTwoPi);
    return angle < 0.0 ? angle + kTwoPi : angle;
}

} // namespace

namespace tarn {

namespace geo {

AcGePoint3d Wcs2ucs(const AcGePoint3d& pt)
{
    return transform(pt, 0, 1);
}

void Wcs2ucs(const AcGePoint3d& pt, AcGePoint3d& result)
{
    result = transform(pt, 0, 1);
}

AcGePoint3d Ucs2wcs(const AcGePoint3d& pt)
{
    return transform(pt, 1, 0);
}

void Ucs2wcs(const AcGePoint3d& pt, AcGePoint3d& result)
{
    result = transform(pt, 1, 0);
}

AcGePoint3d GetNearestPt(const AcGePoint3dArray& points, const AcGePoint3d& ref)
{
    AcGePoint3d nearest = ref;
    double best = -1.0;
    for (const AcGePoint3d& point : points) {
        const double distance = point.distanceTo(ref);
        if (best < 0.0 || distance < best) {
            best = distance;
            nearest = point;
        }
    }
    return nearest;
}

bool IsPtInArea(const AcGePoint3d& pt, const AcGePoint3dArray& area, bool* onBorder)
{
    if (onBorder != nullptr)
        *onBorder = false;
    const int n = area.length();
    if (n < 3)
        return false;
    double magnitude = std::max(std::fabs(pt.x), std::fabs(pt.y));
    for (const AcGePoint3d& vertex : area)
        magnitude = std::max({magnitude, std::fabs(vertex.x), std::fabs(vertex.y)});
    const double tolerance = std::max(AcGeContext::gTol.equalPoint(), 1e-9 * magnitude);
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const AcGePoint3d& a = area[i];
        const AcGePoint3d& b = area[j];
        if (distanceToSegment(pt, a, b) <= tolerance) {
            if (onBorder != nullptr)
                *onBorder = true;
            return true;
        }
        // Even-odd rule: count the edges a ray to the right crosses.
        if ((a.y > pt.y) != (b.y > pt.y) && pt.x < a.x + (pt.y - a.y) * (b.x - a.x) / (b.y - a.y))
            inside = !inside;
    }
    return inside;
}

int Perpt(
    const AcGePoint3d& pt, const AcGePoint3d& start, const AcGePoint3d& end, double bulge, AcGePoint3d& foot)
{
    const AcGeVector3d chord(end.x - start.x, end.y - start.y, 0.0);
    const double length = chord.length();
    if (length <= AcGeContext::gTol.equalPoint())
        return 0;
    if (bulge == 0.0) {
        const AcGeVector3d full = end - start;
        const double t = (pt - start).dotProduct(full) / full.dotProduct(full);
        foot = start + full * t;
        return 1;
    }
    // Centre of the segment's arc: off the chord's middle, to the left for a positive (counter-clockwise)
    // bulge.
    const AcGeVector3d left(-chord.y / length, chord.x / length, 0.0);
    const double offset = length / 2.0 * (1.0 - bulge * bulge) / (2.0 * bulge);
    const double radius = length / 2.0 * (1.0 + bulge * bulge) / (2.0 * std::fabs(bulge));
    const AcGePoint3d center(
        (start.x + end.x) / 2.0 + left.x * offset, (start.y + end.y) / 2.0 + left.y * offset, start.z);
    const AcGeVector3d toPoint(pt.x - center.x, pt.y - center.y, 0.0);
    if (toPoint.length() <= AcGeContext::gTol.equalPoint())
        return 0;
    foot = center + toPoint * (radius / toPoint.length());
    return 1;
}

double CutNum(double value)
{
    // Scaled halves are recognised with a little slack, so that 2.00005 (stored a hair below) still goes up.
    const double scaled = std::fabs(value) * 1e4;
    const double whole = std::floor(scaled);
    const double rounded = scaled - whole >= 0.5 - 1e-9 ? whole + 1.0 : whole;
    return rounded == 0.0 ? 0.0 : std::copysign(rounded, value) / 1e4;
}

} // namespace geo

tarn_geo_arc::tarn_geo_arc(const AcGePoint3d& ptStart, const AcGePoint3d& ptMid, const AcGePoint3d& ptEnd)
    : m_ptStart(ptStart)
    , m_ptEnd(ptEnd)
{
    // Circumcentre in plan.
    const double ax = ptStart.x;
    const double ay = ptStart.y;
    const double bx = ptMid.x;
    const double by = ptMid.y;
    const double cx = ptEnd.x;
    const double cy = ptEnd.y;
    const double d = 2.0 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
    const double scale = std::max({planDistance(ptStart, ptMid), planDistance(ptMid, ptEnd), 1e-300});
    if (std::fabs(d) <= 1e-12 * scale * scale
        || planDistance(ptStart, ptEnd) <= AcGeContext::gTol.equalPoint())
        return;
    const double a2 = ax * ax + ay * ay;
    const double b2 = bx * bx + by * by;
    const double c2 = cx * cx + cy * cy;
    m_ptCenter = AcGePoint3d((a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d,
        (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d, ptStart.z);
    m_dRadius = planDistance(m_ptCenter, ptStart);
    // The turn start -> mid -> end gives the direction: a left turn runs counter-clockwise.
    const double turn = (bx - ax) * (cy - by) - (by - ay) * (cx - bx);
    m_bClockwise = turn < 0.0;
    const double startAngle = std::atan2(ay - m_ptCenter.y, ax - m_ptCenter.x);
    const double endAngle = std::atan2(cy - m_ptCenter.y, cx - m_ptCenter.x);
    m_dSweep = m_bClockwise ? normalizedAngle(startAngle - endAngle) : normalizedAngle(endAngle - startAngle);
    m_bValid = m_dSweep > 0.0;
}

double tarn_geo_arc::GetBulge() const
{
    if (!m_bValid)
        return 0.0;
    const double bulge = std::tan(m_dSweep / 4.0);
    return m_bClockwise ? -bulge : bulge;
}

double tarn_geo_arc::GetLength() const
{
    return m_bValid ? m_dRadius * m_dSweep : 0.0;
}

} // namespace tarn
