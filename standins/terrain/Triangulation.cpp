// Delaunay triangulation by a radial sweep with edge flips, and a grid of triangles for elevation lookups.
#include "terrain/Triangulation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace planroad::standins::terrain {

namespace {

constexpr std::int32_t kNoEdge = -1;
// How far outside a triangle (in barycentric terms) a point may lie and still count as on its edge.
constexpr double kEdgeSlack = 1e-9;

// a * b - c * d with the rounding of both products compensated, so that the sign of a near-zero result
// is right.
double differenceOfProducts(double a, double b, double c, double d)
{
    const double cd = c * d;
    const double error = std::fma(-c, d, cd);
    const double result = std::fma(a, b, -cd);
    return result + error;
}

// Positive when p, q, r turn counter-clockwise, negative clockwise, 0 when collinear.
template <class P> double turn(const P& p, const P& q, const P& r)
{
    return differenceOfProducts(q.x - p.x, r.y - p.y, q.y - p.y, r.x - p.x);
}

// Whether p lies clearly inside the circle through the clockwise triangle a, b, c. Near-cocircular
// cases count as outside, so that a flip is never undone by the next test.
template <class P> bool insideCircle(const P& a, const P& b, const P& c, const P& p)
{
    const double dx = a.x - p.x;
    const double dy = a.y - p.y;
    const double ex = b.x - p.x;
    const double ey = b.y - p.y;
    const double fx = c.x - p.x;
    const double fy = c.y - p.y;
    const double ap = dx * dx + dy * dy;
    const double bp = ex * ex + ey * ey;
    const double cp = fx * fx + fy * fy;
    const double t1 = dx * (ey * cp - bp * fy);
    const double t2 = dy * (ex * cp - bp * fx);
    const double t3 = ap * (ex * fy - ey * fx);
    const double det = t1 - t2 + t3;
    const double magnitude = std::fabs(t1) + std::fabs(t2) + std::fabs(t3);
    return det < -1e-12 * magnitude;
}

// Squared radius of the circle through a, b, c; infinity when they are collinear.
template <class P> double circumradius2(const P& a, const P& b, const P& c)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double ex = c.x - a.x;
    const double ey = c.y - a.y;
    const double cross = dx * ey - dy * ex;
    if (cross == 0.0)
        return std::numeric_limits<double>::infinity();
    const double bl = dx * dx + dy * dy;
    const double cl = ex * ex + ey * ey;
    const double d = 0.5 / cross;
    const double x = (ey * bl - dy * cl) * d;
    const double y = (dx * cl - ex * bl) * d;
    const double r2 = x * x + y * y;
    return std::isfinite(r2) ? r2 : std::numeric_limits<double>::infinity();
}

template <class P> void circumcenter(const P& a, const P& b, const P& c, double& x, double& y)
{
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double ex = c.x - a.x;
    const double ey = c.y - a.y;
    const double bl = dx * dx + dy * dy;
    const double cl = ex * ex + ey * ey;
    const double d = 0.5 / (dx * ey - dy * ex);
    x = a.x + (ey * bl - dy * cl) * d;
    y = a.y + (dx * cl - ex * bl) * d;
}

// A number in [0, 1) that grows with the angle of (dx, dy), cheaper than atan2 and as good for hashing.
double pseudoAngle(double dx, double dy)
{
    const double sum = std::fabs(dx) + std::fabs(dy);
    if (!(sum > 0.0))
        return 0.0;
    const double p = dx / sum;
    return (dy > 0.0 ? 3.0 - p : 1.0 + p) / 4.0;
}

} // namespace

Triangulation::Triangulation(const std::vector<ElevationPoint>& input)
{
    if (input.empty())
        return;
    double minX = input[0].x;
    double maxX = minX;
    double minY = input[0].y;
    double maxY = minY;
    for (const ElevationPoint& p : input) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    mOriginX = (minX + maxX) / 2;
    mOriginY = (minY + maxY) / 2;

    // Points in the same cell of a grid a billionth of the extent wide are one point; the first in the
    // input order stands for them.
    const double extent = std::max(maxX - minX, maxY - minY);
    const double cell = std::max(extent * 1e-9, 1e-12);
    struct Snapped {
        long long sx;
        long long sy;
        std::uint32_t index;
    };
    std::vector<Snapped> snapped;
    snapped.reserve(input.size());
    for (std::uint32_t i = 0; i < input.size(); ++i)
        snapped.push_back(
            {std::llround((input[i].x - mOriginX) / cell), std::llround((input[i].y - mOriginY) / cell), i});
    std::sort(snapped.begin(), snapped.end(), [](const Snapped& a, const Snapped& b) {
        return a.sx != b.sx ? a.sx < b.sx : a.sy != b.sy ? a.sy < b.sy : a.index < b.index;
    });
    std::vector<std::uint32_t> kept;
    for (std::size_t i = 0; i < snapped.size(); ++i)
        if (i == 0 || snapped[i].sx != snapped[i - 1].sx || snapped[i].sy != snapped[i - 1].sy)
            kept.push_back(snapped[i].index);
    std::sort(kept.begin(), kept.end());
    mPoints.reserve(kept.size());
    mLocal.reserve(kept.size());
    for (std::uint32_t i : kept) {
        mPoints.push_back(input[i]);
        mLocal.push_back({input[i].x - mOriginX, input[i].y - mOriginY});
    }

    triangulate();
    buildLocator();
}

std::uint32_t Triangulation::addTriangle(
    std::uint32_t a, std::uint32_t b, std::uint32_t c, std::int32_t ab, std::int32_t bc, std::int32_t ca)
{
    const auto t = static_cast<std::uint32_t>(mTriangles.size());
    mTriangles.insert(mTriangles.end(), {a, b, c});
    mHalfedges.insert(mHalfedges.end(), {kNoEdge, kNoEdge, kNoEdge});
    const auto e = static_cast<std::int32_t>(t);
    link(e, ab);
    link(e + 1, bc);
    link(e + 2, ca);
    return t;
}

void Triangulation::link(std::int32_t a, std::int32_t b)
{
    mHalfedges[static_cast<std::size_t>(a)] = b;
    if (b != kNoEdge)
        mHalfedges[static_cast<std::size_t>(b)] = a;
}

std::size_t Triangulation::hashKey(double x, double y) const
{
    const std::size_t size = mHullHash.size();
    const auto key = static_cast<std::size_t>(
        std::floor(pseudoAngle(x - mCenterX, y - mCenterY) * static_cast<double>(size)));
    return key % size;
}

// Restores the empty-circle property around the halfedge a of a new triangle, flipping edges as far as
// needed (with an explicit stack instead of recursion). Returns the halfedge of a's triangle that leaves
// the new point after the flips: the new point's hull edge.
std::int32_t Triangulation::legalize(std::int32_t a)
{
    mEdgeStack.clear();
    std::int32_t ar = 0;
    auto tri = [this](std::int32_t e) -> std::uint32_t& { return mTriangles[static_cast<std::size_t>(e)]; };
    auto twin = [this](std::int32_t e) { return mHalfedges[static_cast<std::size_t>(e)]; };
    while (true) {
        const std::int32_t b = twin(a);
        const std::int32_t a0 = a - a % 3;
        ar = a0 + (a + 2) % 3;
        if (b == kNoEdge) {
            if (mEdgeStack.empty())
                break;
            a = mEdgeStack.back();
            mEdgeStack.pop_back();
            continue;
        }
        // Triangles a = (pr, pl, p0) and b = (pl, pr, p1) share the edge pr-pl. When p1 lies inside the
        // circle of a, the shared edge is flipped to p0-p1: a becomes (p1, pl, p0), b becomes (p0, pr, p1).
        const std::int32_t b0 = b - b % 3;
        const std::int32_t al = a0 + (a + 1) % 3;
        const std::int32_t bl = b0 + (b + 2) % 3;
        const std::uint32_t p0 = tri(ar);
        const std::uint32_t pr = tri(a);
        const std::uint32_t pl = tri(al);
        const std::uint32_t p1 = tri(bl);
        if (insideCircle(mLocal[p0], mLocal[pr], mLocal[pl], mLocal[p1])) {
            tri(a) = p1;
            tri(b) = p0;
            const std::int32_t hbl = twin(bl);
            if (hbl == kNoEdge) {
                // The flipped edge was on the hull: the hull's reference to it moves to a.
                std::uint32_t e = mHullStart;
                do {
                    if (mHullTri[e] == bl) {
                        mHullTri[e] = a;
                        break;
                    }
                    e = mHullPrev[e];
                } while (e != mHullStart);
            }
            link(a, hbl);
            link(b, twin(ar));
            link(ar, bl);
            mEdgeStack.push_back(b0 + (b + 1) % 3);
        } else {
            if (mEdgeStack.empty())
                break;
            a = mEdgeStack.back();
            mEdgeStack.pop_back();
        }
    }
    return ar;
}

void Triangulation::triangulate()
{
    const auto n = static_cast<std::uint32_t>(mLocal.size());
    if (n < 3)
        return;
    double minX = mLocal[0].x;
    double maxX = minX;
    double minY = mLocal[0].y;
    double maxY = minY;
    for (const Local& p : mLocal) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const Local middle {(minX + maxX) / 2, (minY + maxY) / 2};
    auto distance2 = [](const Local& a, const Local& b) {
        return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
    };

    // The seed triangle: the point nearest the middle, its nearest neighbour, and the point that makes the
    // smallest circle with them.
    std::uint32_t i0 = 0;
    for (std::uint32_t i = 1; i < n; ++i)
        if (distance2(mLocal[i], middle) < distance2(mLocal[i0], middle))
            i0 = i;
    std::uint32_t i1 = i0;
    double best = std::numeric_limits<double>::infinity();
    for (std::uint32_t i = 0; i < n; ++i) {
        const double d = distance2(mLocal[i], mLocal[i0]);
        if (i != i0 && d > 0.0 && d < best) {
            best = d;
            i1 = i;
        }
    }
    std::uint32_t i2 = i0;
    best = std::numeric_limits<double>::infinity();
    for (std::uint32_t i = 0; i < n; ++i) {
        if (i == i0 || i == i1)
            continue;
        const double r2 = circumradius2(mLocal[i0], mLocal[i1], mLocal[i]);
        if (r2 < best) {
            best = r2;
            i2 = i;
        }
    }
    if (i1 == i0 || !std::isfinite(best))
        return; // all points on one line: no surface
    // The sweep keeps every triangle clockwise.
    if (turn(mLocal[i0], mLocal[i1], mLocal[i2]) > 0)
        std::swap(i1, i2);
    circumcenter(mLocal[i0], mLocal[i1], mLocal[i2], mCenterX, mCenterY);

    // Sweep the points in order of distance from the seed circle's centre: each one lies outside the hull
    // of those before it.
    const Local center {mCenterX, mCenterY};
    std::vector<double> distances(n);
    for (std::uint32_t i = 0; i < n; ++i)
        distances[i] = distance2(mLocal[i], center);
    std::vector<std::uint32_t> order(n);
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
        return distances[a] != distances[b] ? distances[a] < distances[b] : a < b;
    });

    const std::size_t maxTriangles = 2 * static_cast<std::size_t>(n) - 5;
    mTriangles.reserve(maxTriangles * 3);
    mHalfedges.reserve(maxTriangles * 3);
    mHullPrev.assign(n, 0);
    mHullNext.assign(n, 0);
    mHullTri.assign(n, kNoEdge);
    mHullHash.assign(static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(n)))), kNoEdge);

    mHullStart = i0;
    mHullNext[i0] = mHullPrev[i2] = i1;
    mHullNext[i1] = mHullPrev[i0] = i2;
    mHullNext[i2] = mHullPrev[i1] = i0;
    mHullTri[i0] = 0;
    mHullTri[i1] = 1;
    mHullTri[i2] = 2;
    for (std::uint32_t i : {i0, i1, i2})
        mHullHash[hashKey(mLocal[i].x, mLocal[i].y)] = static_cast<std::int32_t>(i);
    addTriangle(i0, i1, i2, kNoEdge, kNoEdge, kNoEdge);

    auto visible = [this](const Local& p, std::uint32_t from, std::uint32_t to) {
        return turn(p, mLocal[from], mLocal[to]) > 0;
    };
    for (std::uint32_t i : order) {
        if (i == i0 || i == i1 || i == i2)
            continue;
        const Local p = mLocal[i];

        // A hull vertex near the point's direction, then along the hull to an edge the point sees.
        std::int32_t start = 0;
        const std::size_t key = hashKey(p.x, p.y);
        for (std::size_t j = 0; j < mHullHash.size(); ++j) {
            start = mHullHash[(key + j) % mHullHash.size()];
            if (start != kNoEdge
                && static_cast<std::uint32_t>(start) != mHullNext[static_cast<std::uint32_t>(start)])
                break;
        }
        if (start == kNoEdge
            || static_cast<std::uint32_t>(start) == mHullNext[static_cast<std::uint32_t>(start)])
            start = static_cast<std::int32_t>(mHullStart);
        const std::uint32_t first = mHullPrev[static_cast<std::uint32_t>(start)];
        std::uint32_t e = first;
        bool seen = true;
        while (!visible(p, e, mHullNext[e])) {
            e = mHullNext[e];
            if (e == first) {
                seen = false;
                break;
            }
        }
        if (!seen)
            continue; // on the hull's boundary to within rounding: nothing to add

        std::uint32_t t = addTriangle(e, i, mHullNext[e], kNoEdge, kNoEdge, mHullTri[e]);
        mHullTri[i] = legalize(static_cast<std::int32_t>(t) + 2);
        mHullTri[e] = static_cast<std::int32_t>(t);

        // Fan forward over the further edges the point sees.
        std::uint32_t next = mHullNext[e];
        for (std::uint32_t q = mHullNext[next]; visible(p, next, q); q = mHullNext[next]) {
            t = addTriangle(next, i, q, mHullTri[i], kNoEdge, mHullTri[next]);
            mHullTri[i] = legalize(static_cast<std::int32_t>(t) + 2);
            mHullNext[next] = next; // off the hull
            next = q;
        }
        // And backward, when the first visible edge was where the search began.
        if (e == first) {
            for (std::uint32_t q = mHullPrev[e]; visible(p, q, e); q = mHullPrev[e]) {
                t = addTriangle(q, i, e, kNoEdge, mHullTri[e], mHullTri[q]);
                legalize(static_cast<std::int32_t>(t) + 2);
                mHullTri[q] = static_cast<std::int32_t>(t);
                mHullNext[e] = e; // off the hull
                e = q;
            }
        }
        mHullStart = mHullPrev[i] = e;
        mHullNext[e] = mHullPrev[next] = i;
        mHullNext[i] = next;
        mHullHash[hashKey(p.x, p.y)] = static_cast<std::int32_t>(i);
        mHullHash[hashKey(mLocal[e].x, mLocal[e].y)] = static_cast<std::int32_t>(e);
    }

    // The sweep state is not needed for lookups.
    std::vector<std::uint32_t>().swap(mHullPrev);
    std::vector<std::uint32_t>().swap(mHullNext);
    std::vector<std::int32_t>().swap(mHullTri);
    std::vector<std::int32_t>().swap(mHullHash);
    std::vector<std::int32_t>().swap(mEdgeStack);
    std::vector<std::int32_t>().swap(mHalfedges);
}

void Triangulation::buildLocator()
{
    const std::size_t count = triangleCount();
    if (count == 0)
        return;
    double minX = mLocal[0].x;
    double maxX = minX;
    double minY = mLocal[0].y;
    double maxY = minY;
    for (const Local& p : mLocal) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    const double width = std::max(maxX - minX, 1e-12);
    const double height = std::max(maxY - minY, 1e-12);
    // About one triangle per cell, cells as square as the extent allows.
    const double cells = static_cast<double>(count);
    mColumns = static_cast<std::size_t>(std::clamp(std::sqrt(cells * width / height), 1.0, cells));
    mRows = static_cast<std::size_t>(std::clamp(cells / static_cast<double>(mColumns), 1.0, cells));
    mGridMinX = minX;
    mGridMinY = minY;
    mCellWidth = width / static_cast<double>(mColumns);
    mCellHeight = height / static_cast<double>(mRows);
    const double slack = 1e-9 * std::max(width, height);

    auto column = [this](double x) {
        return static_cast<std::size_t>(
            std::clamp(std::floor((x - mGridMinX) / mCellWidth), 0.0, static_cast<double>(mColumns - 1)));
    };
    auto row = [this](double y) {
        return static_cast<std::size_t>(
            std::clamp(std::floor((y - mGridMinY) / mCellHeight), 0.0, static_cast<double>(mRows - 1)));
    };
    // Each triangle goes into every cell its box (with a little slack) touches: counted first, then filled.
    struct Box {
        std::size_t c0, c1, r0, r1;
    };
    std::vector<Box> boxes(count);
    mCellStart.assign(mColumns * mRows + 1, 0);
    for (std::size_t t = 0; t < count; ++t) {
        const Local& a = mLocal[mTriangles[3 * t]];
        const Local& b = mLocal[mTriangles[3 * t + 1]];
        const Local& c = mLocal[mTriangles[3 * t + 2]];
        Box box {column(std::min({a.x, b.x, c.x}) - slack), column(std::max({a.x, b.x, c.x}) + slack),
            row(std::min({a.y, b.y, c.y}) - slack), row(std::max({a.y, b.y, c.y}) + slack)};
        boxes[t] = box;
        for (std::size_t r = box.r0; r <= box.r1; ++r)
            for (std::size_t col = box.c0; col <= box.c1; ++col)
                ++mCellStart[r * mColumns + col + 1];
    }
    std::partial_sum(mCellStart.begin(), mCellStart.end(), mCellStart.begin());
    mCellTriangles.resize(mCellStart.back());
    std::vector<std::uint32_t> fill(mCellStart.begin(), mCellStart.end() - 1);
    for (std::size_t t = 0; t < count; ++t)
        for (std::size_t r = boxes[t].r0; r <= boxes[t].r1; ++r)
            for (std::size_t col = boxes[t].c0; col <= boxes[t].c1; ++col)
                mCellTriangles[fill[r * mColumns + col]++] = static_cast<std::uint32_t>(t);
}

bool Triangulation::elevationAt(double x, double y, double& z) const
{
    if (mCellStart.empty())
        return false;
    const double lx = x - mOriginX;
    const double ly = y - mOriginY;
    const double slack = 1e-9
        * std::max(mCellWidth * static_cast<double>(mColumns), mCellHeight * static_cast<double>(mRows));
    if (lx < mGridMinX - slack || ly < mGridMinY - slack
        || lx > mGridMinX + mCellWidth * static_cast<double>(mColumns) + slack
        || ly > mGridMinY + mCellHeight * static_cast<double>(mRows) + slack)
        return false;
    const auto col = static_cast<std::size_t>(
        std::clamp(std::floor((lx - mGridMinX) / mCellWidth), 0.0, static_cast<double>(mColumns - 1)));
    const auto r = static_cast<std::size_t>(
        std::clamp(std::floor((ly - mGridMinY) / mCellHeight), 0.0, static_cast<double>(mRows - 1)));
    const std::size_t cell = r * mColumns + col;
    for (std::uint32_t k = mCellStart[cell]; k < mCellStart[cell + 1]; ++k) {
        const std::uint32_t t = mCellTriangles[k];
        const std::uint32_t ia = mTriangles[3 * t];
        const std::uint32_t ib = mTriangles[3 * t + 1];
        const std::uint32_t ic = mTriangles[3 * t + 2];
        const Local& a = mLocal[ia];
        const Local& b = mLocal[ib];
        const Local& c = mLocal[ic];
        const double det = (b.y - c.y) * (a.x - c.x) + (c.x - b.x) * (a.y - c.y);
        if (det == 0.0)
            continue;
        const double wa = ((b.y - c.y) * (lx - c.x) + (c.x - b.x) * (ly - c.y)) / det;
        const double wb = ((c.y - a.y) * (lx - c.x) + (a.x - c.x) * (ly - c.y)) / det;
        const double wc = 1.0 - wa - wb;
        if (wa < -kEdgeSlack || wb < -kEdgeSlack || wc < -kEdgeSlack)
            continue;
        z = wa * mPoints[ia].z + wb * mPoints[ib].z + wc * mPoints[ic].z;
        return true;
    }
    return false;
}

} // namespace planroad::standins::terrain
