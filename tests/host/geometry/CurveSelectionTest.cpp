// Curve kernel area tests for window, crossing and polygon selection.
#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "GeTestSupport.h"
#include "geometry/CurveKernel.h"

namespace {

using arxhost::geom::Path;
using Points = std::vector<AcGePoint3d>;

constexpr double kPi = std::numbers::pi;

double deg(double degrees)
{
    return degrees * kPi / 180.0;
}

struct RectCase {
    const char* name;
    Path path;
    AcGePoint3d min;
    AcGePoint3d max;
    bool crosses;
    bool inside;
};

TEST(CurveSelection, Rectangles)
{
    // An arc of radius 12 about (5, -10) from 60 to 120 degrees: ends at (11, 0.39) and (-1, 0.39), top at
    // (5, 2).
    const Path flatArc = Path::arc({5, -10, 0}, 12, deg(60), deg(120));
    const RectCase cases[] = {
        {"line through the window, no vertex inside", Path::line({-10, 5, 0}, {20, 5, 0}), {0, 0, 0},
            {10, 10, 0}, true, false},
        {"arc passing through the window only by its bulge", flatArc, {0, 1, 0}, {10, 10, 0}, true, false},
        {"arc passing below the window", flatArc, {0, 3, 0}, {10, 10, 0}, false, false},
        {"circle around the window is not selected", Path::circle({5, 5, 0}, 100), {0, 0, 0}, {10, 10, 0},
            false, false},
        {"small circle inside", Path::circle({5, 5, 0}, 2), {0, 0, 0}, {10, 10, 0}, true, true},
        {"circle touching the edges from inside", Path::circle({5, 5, 0}, 5), {0, 0, 0}, {10, 10, 0}, true,
            true},
        {"circle poking out", Path::circle({5, 5, 0}, 5.5), {0, 0, 0}, {10, 10, 0}, true, false},
        {"corners given in any order", Path::line({2, 2, 0}, {3, 3, 0}), {10, 10, 0}, {0, 0, 0}, true, true},
        {"line outside", Path::line({11, 0, 0}, {20, 10, 0}), {0, 0, 0}, {10, 10, 0}, false, false},
    };
    for (const RectCase& c : cases) {
        EXPECT_EQ(arxhost::geom::intersectsRect(c.path, c.min, c.max), c.crosses) << c.name;
        EXPECT_EQ(arxhost::geom::insideRect(c.path, c.min, c.max), c.inside) << c.name;
    }
}

// An L shape: the square 0..10 with its upper right quarter 4..10 x 4..10 cut away.
const Points kEll {{0, 0, 0}, {10, 0, 0}, {10, 4, 0}, {4, 4, 0}, {4, 10, 0}, {0, 10, 0}};

TEST(CurveSelection, PointInPolygonEvenOddWithEdges)
{
    struct Case {
        AcGePoint3d point;
        bool inside;
    };
    const Case cases[] = {
        {{2, 2, 0}, true},
        {{8, 8, 0}, false}, // in the notch
        {{5, 5, 0}, false},
        {{10, 2, 0}, true}, // on an outer edge
        {{4, 7, 0}, true}, // on an inner edge
        {{4, 4, 0}, true}, // on the reflex vertex
        {{12, 2, 0}, false},
        {{2, 4, 0}, true}, // level with a horizontal edge
        {{-1, 4, 0}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(arxhost::geom::pointInPolygon(c.point, kEll), c.inside) << c.point;
}

struct PolygonCase {
    const char* name;
    Path path;
    bool crosses;
    bool inside;
};

Path polyline(Points points, std::vector<double> bulges, bool closed)
{
    return Path::polyline(points, bulges, closed);
}

TEST(CurveSelection, Polygons)
{
    const PolygonCase cases[] = {
        {"wholly inside", Path::line({1, 1, 0}, {3, 3, 0}), true, true},
        {"both ends inside, middle through the notch", Path::line({2, 8, 0}, {8, 2, 0}), true, false},
        {"runs along an edge", Path::line({0, 1, 0}, {0, 9, 0}), true, true},
        {"across the polygon, no vertex inside", Path::line({-5, 2, 0}, {15, 2, 0}), true, false},
        {"inside the notch only", Path::line({6, 6, 0}, {9, 9, 0}), false, false},
        {"bulge leaving through the notch", polyline({{2, 3, 0}, {2, 9, 0}}, {1}, false), true, false},
        {"bulge staying inside", polyline({{3, 2, 0}, {3, 8, 0}}, {-0.5}, false), true, true},
        {"circle around the whole polygon", Path::circle({5, 5, 0}, 50), false, false},
    };
    for (const PolygonCase& c : cases) {
        EXPECT_EQ(arxhost::geom::intersectsPolygon(c.path, kEll), c.crosses) << c.name;
        EXPECT_EQ(arxhost::geom::insidePolygon(c.path, kEll), c.inside) << c.name;
    }
}

} // namespace
