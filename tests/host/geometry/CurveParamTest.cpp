// Curve kernel: parameters, distances, derivatives, closest points, extents and areas of each curve type.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "GeTestSupport.h"
#include "gedblar.h"
#include "geometry/CurveKernel.h"
#include "gept3dar.h"

namespace {

using arxhost::geom::Path;

constexpr double kPi = std::numbers::pi;

double deg(double degrees)
{
    return degrees * kPi / 180.0;
}

Path polyline(std::vector<AcGePoint3d> points, std::vector<double> bulges, bool closed)
{
    return Path::polyline(points, bulges, closed);
}

// One row: a parameter on a curve and what the curve must answer for it.
struct ParamCase {
    const char* name;
    Path path;
    double param;
    AcGePoint3d point;
    double dist;
    AcGeVector3d deriv;
};

TEST(CurveParams, PointDistanceAndDerivativeAgree)
{
    const ParamCase cases[] = {
        {"line: parameter is distance", Path::line({1, 1, 2}, {4, 5, 2}), 2.5, {2.5, 3, 2}, 2.5,
            {0.6, 0.8, 0}},
        {"arc across 0 degrees: parameter is angle", Path::arc({0, 0, 2}, 2, deg(350), deg(10)), 2 * kPi,
            {2, 0, 2}, 2 * deg(10), {0, 2, 0}},
        {"circle starts at angle 0", Path::circle({1, 1, 0}, 1), kPi / 2, {1, 2, 0}, kPi / 2, {-1, 0, 0}},
        {"polyline vertex", polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {}, false), 1.0, {10, 0, 0}, 10,
            {0, 10, 0}},
        {"clockwise bulge arc", polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {0, -1}, false), 1.5,
            {5, 5, 0}, 10 + 2.5 * kPi, {0, 5 * kPi, 0}},
        {"closing segment of a closed polyline",
            polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, {}, true), 3.5, {0, 5, 0}, 35,
            {0, -10, 0}},
        {"zero-length segment keeps its slot",
            polyline({{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {}, false), 2.5, {10, 5, 0}, 15,
            {0, 10, 0}},
        {"inside a zero-length slot the next segment gives the direction",
            polyline({{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {}, false), 1.5, {10, 0, 0}, 10,
            {0, 10, 0}},
    };
    for (const ParamCase& c : cases) {
        AcGePoint3d p;
        ASSERT_TRUE(c.path.pointAtParam(c.param, p)) << c.name;
        EXPECT_TRUE(Near(p, c.point)) << c.name;
        double dist = -1;
        ASSERT_TRUE(c.path.distAtParam(c.param, dist)) << c.name;
        EXPECT_NEAR(dist, c.dist, 1e-9) << c.name;
        AcGeVector3d d;
        ASSERT_TRUE(c.path.firstDeriv(c.param, d)) << c.name;
        EXPECT_TRUE(Near(d, c.deriv)) << c.name;
        // Going back from the point and from the distance lands on the same place.
        double param = -1;
        ASSERT_TRUE(c.path.paramAtPoint(c.point, param)) << c.name;
        AcGePoint3d again;
        ASSERT_TRUE(c.path.pointAtParam(param, again)) << c.name;
        EXPECT_TRUE(Near(again, c.point)) << c.name;
        ASSERT_TRUE(c.path.pointAtDist(c.dist, again)) << c.name;
        EXPECT_TRUE(Near(again, c.point)) << c.name;
    }
}

TEST(CurveParams, RangesAndEnds)
{
    const Path arc = Path::arc({0, 0, 0}, 2, deg(350), deg(10));
    EXPECT_NEAR(arc.startParam(), deg(350), 1e-12);
    EXPECT_NEAR(arc.endParam(), deg(370), 1e-12);
    EXPECT_NEAR(arc.length(), 2 * deg(20), 1e-12);
    EXPECT_TRUE(Near(arc.startPoint(), AcGePoint3d(2 * std::cos(deg(350)), 2 * std::sin(deg(350)), 0)));
    EXPECT_FALSE(arc.isClosed());

    const Path circle = Path::circle({1, 1, 0}, 1);
    EXPECT_TRUE(circle.isClosed());
    EXPECT_DOUBLE_EQ(circle.endParam(), 2 * kPi);
    EXPECT_TRUE(Near(circle.startPoint(), circle.endPoint()));

    const Path square
        = Path::polygon(std::vector<AcGePoint3d> {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}});
    EXPECT_DOUBLE_EQ(square.endParam(), 4.0);
    EXPECT_DOUBLE_EQ(square.length(), 40.0);
    EXPECT_TRUE(Near(square.endPoint(), AcGePoint3d(0, 0, 0)));

    const Path open = polyline({{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {}, false);
    EXPECT_DOUBLE_EQ(open.endParam(), 3.0);
    EXPECT_DOUBLE_EQ(open.length(), 20.0);

    // Outside the curve every query fails rather than clamping.
    AcGePoint3d p;
    double value = 0;
    EXPECT_FALSE(arc.pointAtParam(deg(340), p));
    EXPECT_FALSE(square.pointAtParam(4.5, p));
    EXPECT_FALSE(square.paramAtDist(41, value));
    EXPECT_FALSE(square.paramAtPoint(AcGePoint3d(5, 5, 0), value));
    EXPECT_FALSE(Path::line({0, 0, 0}, {10, 0, 0}).paramAtPoint(AcGePoint3d(5, 1e-6, 0), value));
    EXPECT_FALSE(Path().pointAtParam(0, p));
}

TEST(CurveParams, ExtendedParametersContinueTheEndSegments)
{
    AcGePoint3d p;
    ASSERT_TRUE(Path::line({0, 0, 0}, {10, 0, 0}).pointAtParamExtended(-2, p));
    EXPECT_TRUE(Near(p, AcGePoint3d(-2, 0, 0)));
    ASSERT_TRUE(Path::arc({0, 0, 0}, 1, 0, kPi / 2).pointAtParamExtended(kPi, p));
    EXPECT_TRUE(Near(p, AcGePoint3d(-1, 0, 0)));
    const Path bent = polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {}, false);
    ASSERT_TRUE(bent.pointAtParamExtended(2.5, p));
    EXPECT_TRUE(Near(p, AcGePoint3d(10, 15, 0)));
    EXPECT_FALSE(Path::circle({0, 0, 0}, 1).pointAtParamExtended(7, p));
}

struct BulgeCase {
    AcGePoint3d p1;
    AcGePoint3d p2;
    double bulge;
};

TEST(CurveBulges, ArcRoundTripAndSide)
{
    const BulgeCase cases[] = {
        {{0, 0, 0}, {10, 0, 0}, 0.5},
        {{0, 0, 0}, {10, 0, 0}, -0.5},
        {{3, 4, 0}, {-2, 7, 0}, 1.0},
        {{3, 4, 0}, {-2, 7, 0}, -1.0},
        {{1, 1, 5}, {2, 9, 5}, 2.5},
        {{1, 1, 5}, {2, 9, 5}, -2.5},
        {{0, 0, 0}, {0, -4, 0}, 0.05},
    };
    for (const BulgeCase& c : cases) {
        AcGePoint3d center;
        double radius = 0;
        double start = 0;
        double end = 0;
        ASSERT_TRUE(arxhost::geom::bulgeToArc(c.p1, c.p2, c.bulge, center, radius, start, end)) << c.bulge;
        EXPECT_NEAR(center.distanceTo(c.p1), radius, 1e-9) << c.bulge;
        EXPECT_NEAR(center.distanceTo(c.p2), radius, 1e-9) << c.bulge;
        EXPECT_NEAR(end - start, 4 * std::atan(std::fabs(c.bulge)), 1e-12) << c.bulge;
        EXPECT_NEAR(arxhost::geom::arcToBulge(c.p1, c.p2, center, c.bulge < 0), c.bulge, 1e-9) << c.bulge;
        // The arc's midpoint sits |b| * chord / 2 off the chord: right of the travel direction for a positive
        // bulge (counter-clockwise), left for a negative one.
        AcGePoint3d mid;
        ASSERT_TRUE(polyline({c.p1, c.p2}, {c.bulge}, false).pointAtParam(0.5, mid));
        const AcGeVector3d chord = c.p2 - c.p1;
        const AcGeVector3d left = AcGeVector3d(-chord.y, chord.x, 0).normal();
        const AcGePoint3d expected = c.p1 + chord / 2 - left * (c.bulge * chord.length() / 2);
        EXPECT_TRUE(Near(mid, expected)) << c.bulge;
    }
    AcGePoint3d center;
    double r = 0;
    double s = 0;
    double e = 0;
    EXPECT_FALSE(arxhost::geom::bulgeToArc({1, 1, 0}, {2, 2, 0}, 0.0, center, r, s, e));
}

struct ClosestCase {
    const char* name;
    Path path;
    AcGePoint3d given;
    AcGePoint3d onCurve;
    AcGePoint3d onExtended;
};

TEST(CurveClosestPoint, WithAndWithoutExtension)
{
    const AcGePoint3d below(1, -10, 0);
    const ClosestCase cases[] = {
        {"line", Path::line({0, 0, 0}, {10, 0, 0}), {15, 3, 0}, {10, 0, 0}, {15, 0, 0}},
        {"arc continues as its circle", Path::arc({0, 0, 0}, 5, 0, kPi), below, {5, 0, 0},
            AcGePoint3d::kOrigin + (below - AcGePoint3d::kOrigin).normal() * 5},
        {"open polyline before its start", polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {}, false),
            {-5, 1, 0}, {0, 0, 0}, {-5, 0, 0}},
        {"open polyline past its end", polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {}, false), {12, 15, 0},
            {10, 10, 0}, {10, 15, 0}},
        {"closed polyline never extends",
            polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, {}, true), {-5, 1, 0}, {0, 1, 0},
            {0, 1, 0}},
    };
    for (const ClosestCase& c : cases) {
        EXPECT_TRUE(Near(c.path.closestPoint(c.given, false), c.onCurve)) << c.name;
        EXPECT_TRUE(Near(c.path.closestPoint(c.given, true), c.onExtended)) << c.name;
        EXPECT_NEAR(arxhost::geom::distanceTo(c.path, c.given), c.given.distanceTo(c.onCurve), 1e-9)
            << c.name;
    }
}

struct ExtentsCase {
    double startDeg;
    double endDeg;
    double minX, minY, maxX, maxY;
};

TEST(CurveExtents, ArcsIncludeTheQuadrantPointsTheyPass)
{
    // Centre (1, 2), radius 3: the quadrant points are x = -2 / 4 and y = -1 / 5.
    auto cx = [](double d) { return 1 + 3 * std::cos(deg(d)); };
    auto cy = [](double d) { return 2 + 3 * std::sin(deg(d)); };
    const ExtentsCase cases[] = {
        {10, 80, cx(80), cy(10), cx(10), cy(80)},
        {80, 100, cx(100), cy(80), cx(80), 5},
        {170, 190, -2, cy(190), cx(170), cy(170)},
        {260, 280, cx(260), -1, cx(280), cy(260)},
        {350, 10, cx(10), cy(350), 4, cy(10)},
        {45, 315, -2, -1, cx(45), 5},
    };
    for (const ExtentsCase& c : cases) {
        AcGePoint3d min;
        AcGePoint3d max;
        Path::arc({1, 2, 7}, 3, deg(c.startDeg), deg(c.endDeg)).extents(min, max);
        EXPECT_TRUE(Near(min, AcGePoint3d(c.minX, c.minY, 7))) << c.startDeg << ".." << c.endDeg;
        EXPECT_TRUE(Near(max, AcGePoint3d(c.maxX, c.maxY, 7))) << c.startDeg << ".." << c.endDeg;
    }
    // A bulge arc below its chord reaches down by its radius.
    AcGePoint3d min;
    AcGePoint3d max;
    polyline({{0, 0, 0}, {10, 0, 0}}, {1}, false).extents(min, max);
    EXPECT_TRUE(Near(min, AcGePoint3d(0, -5, 0)));
    EXPECT_TRUE(Near(max, AcGePoint3d(10, 0, 0)));
}

TEST(CurveArea, EnclosedAreaWithBulges)
{
    const std::vector<AcGePoint3d> square {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    EXPECT_NEAR(Path::polygon(square).area(), 100, 1e-9);
    // A positive bulge on the bottom edge pushes out of the square, a negative one into it.
    EXPECT_NEAR(polyline(square, {1, 0, 0, 0}, true).area(), 100 + 12.5 * kPi, 1e-9);
    EXPECT_NEAR(polyline(square, {-1, 0, 0, 0}, true).area(), 100 - 12.5 * kPi, 1e-9);
    EXPECT_NEAR(Path::circle({3, 3, 0}, 2).area(), 4 * kPi, 1e-9);
    EXPECT_NEAR(Path::arc({3, 3, 0}, 1, 0, kPi).area(), kPi / 2, 1e-9);
    EXPECT_DOUBLE_EQ(Path::line({0, 0, 0}, {5, 5, 0}).area(), 0.0);
}

} // namespace
