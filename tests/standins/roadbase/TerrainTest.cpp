// The terrain surface: Delaunay triangles through the elevation points, and elevations read off them.
#include <algorithm>
#include <cmath>
#include <random>

#include "RoadFixture.h"
#include "TerrainLibrary.h"
#include "terrain/Triangulation.h"

namespace planroad::test {
namespace {

using standins::terrain::ElevationPoint;
using standins::terrain::Triangulation;

// An inclined plane: linear interpolation reproduces it exactly inside every triangle.
double plane(double x, double y)
{
    return 3.0 * x - 2.0 * y + 5.0;
}

std::vector<ElevationPoint> onPlane(std::initializer_list<std::pair<double, double>> xy)
{
    std::vector<ElevationPoint> points;
    for (auto [x, y] : xy)
        points.push_back({x, y, plane(x, y)});
    return points;
}

// Area of the convex hull of the points (monotone chain), and the number of its corners.
std::pair<double, std::size_t> hullOf(std::vector<ElevationPoint> points)
{
    std::sort(
        points.begin(), points.end(), [](auto& a, auto& b) { return a.x != b.x ? a.x < b.x : a.y < b.y; });
    auto cross = [](const ElevationPoint& o, const ElevationPoint& a, const ElevationPoint& b) {
        return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
    };
    std::vector<ElevationPoint> hull(2 * points.size());
    std::size_t k = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    for (std::size_t i = points.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], points[i]) <= 0)
            --k;
        hull[k++] = points[i];
    }
    hull.resize(k - 1);
    double area = 0;
    for (std::size_t i = 0; i < hull.size(); ++i) {
        const auto& a = hull[i];
        const auto& b = hull[(i + 1) % hull.size()];
        area += a.x * b.y - b.x * a.y;
    }
    return {std::fabs(area) / 2, hull.size()};
}

TEST(Triangulation, ElevationsInsideOnEdgesAndAtCornersFollowThePlane)
{
    Triangulation surface(onPlane({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {4, 6}}));
    ASSERT_EQ(4u, surface.triangleCount());
    struct Case {
        double x;
        double y;
        bool covered;
    };
    const Case cases[] = {
        {2, 3, true}, // inside
        {5, 0, true}, // on the outer edge
        {10, 7.5, true}, // on the outer edge
        {4, 6, true}, // at an inner corner
        {10, 10, true}, // at an outer corner
        {7, 8, true}, // on an inner edge ((4, 6) to (10, 10))
        {-0.001, 5, false},
        {5, 10.001, false},
        {50, 50, false},
    };
    for (const Case& c : cases) {
        double z = -99;
        EXPECT_EQ(c.covered, surface.elevationAt(c.x, c.y, z)) << c.x << ", " << c.y;
        if (c.covered)
            EXPECT_NEAR(plane(c.x, c.y), z, 1e-9) << c.x << ", " << c.y;
        else
            EXPECT_EQ(-99, z);
    }
}

TEST(Triangulation, TooFewOrCollinearPointsMakeNoSurface)
{
    const std::vector<std::vector<ElevationPoint>> cases = {
        {},
        onPlane({{1, 1}}),
        onPlane({{1, 1}, {5, 5}}),
        onPlane({{0, 0}, {1, 1}, {2, 2}, {5, 5}, {-3, -3}}),
        onPlane({{0, 0}, {0, 0}, {0, 0}}),
    };
    for (const auto& points : cases) {
        Triangulation surface(points);
        EXPECT_EQ(0u, surface.triangleCount()) << points.size() << " points";
        double z = 0;
        EXPECT_FALSE(surface.elevationAt(1, 1, z));
        EXPECT_FALSE(surface.elevationAt(0.5, 0.5, z));
    }
}

TEST(Triangulation, CollinearRunsAndDuplicatesAreTriangulated)
{
    // Five points on the x axis and one above them: a fan of four triangles.
    Triangulation fan(onPlane({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {2, 5}}));
    EXPECT_EQ(4u, fan.triangleCount());
    double z = 0;
    ASSERT_TRUE(fan.elevationAt(2.5, 0, z)); // on the collinear base
    EXPECT_NEAR(plane(2.5, 0), z, 1e-9);
    ASSERT_TRUE(fan.elevationAt(2, 2, z));
    EXPECT_NEAR(plane(2, 2), z, 1e-9);

    // The same plan position twice: the first elevation counts.
    std::vector<ElevationPoint> points = onPlane({{0, 0}, {10, 0}, {0, 10}});
    points.push_back({10, 0, 1000.0});
    points.push_back({1e-12, 0, -1000.0});
    Triangulation surface(points);
    EXPECT_EQ(3u, surface.points().size());
    ASSERT_TRUE(surface.elevationAt(10, 0, z));
    EXPECT_NEAR(plane(10, 0), z, 1e-9);
    ASSERT_TRUE(surface.elevationAt(0, 0, z));
    EXPECT_NEAR(plane(0, 0), z, 1e-9);
}

// Random survey points at grid coordinates far from the origin, as on a city map: every triangle's circle
// is empty, the triangles tile the convex hull, and their count is 2n - 2 - h.
TEST(Triangulation, RandomPointsGiveADelaunayTilingOfTheirHull)
{
    std::mt19937 random(42);
    std::uniform_real_distribution<double> coordinate(0.0, 500.0);
    std::vector<ElevationPoint> points;
    for (int i = 0; i < 1500; ++i) {
        const double x = 3500000.0 + coordinate(random);
        const double y = 500000.0 + coordinate(random);
        points.push_back({x, y, plane(x - 3500000.0, y - 500000.0)});
    }
    Triangulation surface(points);
    const auto [hullArea, hullCorners] = hullOf(points);
    ASSERT_EQ(2 * points.size() - 2 - hullCorners, surface.triangleCount());

    const auto& tri = surface.triangles();
    const auto& p = surface.points();
    double area = 0;
    for (std::size_t t = 0; t < surface.triangleCount(); ++t) {
        const ElevationPoint& a = p[tri[3 * t]];
        const ElevationPoint& b = p[tri[3 * t + 1]];
        const ElevationPoint& c = p[tri[3 * t + 2]];
        const double ax = a.x - c.x;
        const double ay = a.y - c.y;
        const double bx = b.x - c.x;
        const double by = b.y - c.y;
        area += std::fabs(ax * by - ay * bx) / 2;
        // Circumcentre relative to c.
        const double d = 2 * (ax * by - ay * bx);
        const double ux = (by * (ax * ax + ay * ay) - ay * (bx * bx + by * by)) / d;
        const double uy = (ax * (bx * bx + by * by) - bx * (ax * ax + ay * ay)) / d;
        const double r2 = ux * ux + uy * uy;
        for (const ElevationPoint& q : p) {
            const double dx = q.x - c.x - ux;
            const double dy = q.y - c.y - uy;
            ASSERT_GE(dx * dx + dy * dy, r2 * (1 - 1e-9)) << "a point inside the circle of triangle " << t;
        }
    }
    EXPECT_NEAR(hullArea, area, 1e-6 * hullArea);

    std::uniform_real_distribution<double> inside(100.0, 400.0);
    for (int i = 0; i < 200; ++i) {
        const double x = inside(random);
        const double y = inside(random);
        double z = 0;
        ASSERT_TRUE(surface.elevationAt(3500000.0 + x, 500000.0 + y, z));
        EXPECT_NEAR(plane(x, y), z, 1e-6);
    }
}

TEST(Triangulation, ARegularGridIsTiledWithoutGapsOrOverlaps)
{
    std::vector<ElevationPoint> points;
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 30; ++j)
            points.push_back({i * 5.0, j * 5.0, plane(i * 5.0, j * 5.0)});
    Triangulation surface(points);
    ASSERT_EQ(2u * 29 * 29, surface.triangleCount());
    for (double x = 0; x <= 145; x += 2.5)
        for (double y = 0; y <= 145; y += 7.25) {
            double z = 0;
            ASSERT_TRUE(surface.elevationAt(x, y, z)) << x << ", " << y;
            EXPECT_NEAR(plane(x, y), z, 1e-9);
        }
}

class Terrain : public RoadFixture {
protected:
    void addElevationPoint(double x, double y, double z, const wchar_t* layer)
    {
        AcDbObjectId id = add(new AcDbPoint(AcGePoint3d(x, y, z)));
        putOnLayer(id, layer);
    }
};

TEST_F(Terrain, PlannedAndExistingSurfacesComeFromTheirOwnLayers)
{
    addLayer(L"GC-规划高程");
    addLayer(L"GC-现状高程");
    setLayerParameter(L"规划高程点层", L"GC-规划高程");
    setLayerParameter(L"现状高程点层", L"GC-现状高程");
    for (auto [x, y] : {std::pair {0.0, 0.0}, {100.0, 0.0}, {100.0, 100.0}, {0.0, 100.0}}) {
        addElevationPoint(x, y, 50.0 + x / 10, L"GC-规划高程");
        addElevationPoint(x, y, 40.0, L"GC-现状高程");
    }
    addElevationPoint(50, 50, 999.0, L"0"); // on no elevation layer
    add(new AcDbText(AcGePoint3d(50, 50, 0), L"H=999")); // not a point

    TARNQVTRI::CGetQvPtHeightClass planned(true);
    TARNQVTRI::CGetQvPtHeightClass existing(false);
    AcGePoint3d p(50, 50, 0);
    ASSERT_TRUE(planned.getQvPtHeight(p));
    EXPECT_NEAR(55.0, p.z, 1e-9);
    ASSERT_TRUE(existing.getQvPtHeight(p));
    EXPECT_NEAR(40.0, p.z, 1e-9);
    p = AcGePoint3d(100, 30, 0);
    ASSERT_TRUE(planned.getQvPtHeight(p));
    EXPECT_NEAR(60.0, p.z, 1e-9);

    AcGePoint3d outside(150, 50, 7);
    EXPECT_FALSE(planned.getQvPtHeight(outside));
    EXPECT_EQ(7.0, outside.z) << "left untouched";
}

TEST_F(Terrain, WithoutALayerOrEnoughPointsThereIsNoElevation)
{
    addLayer(L"GC-规划高程");
    addElevationPoint(0, 0, 10, L"GC-规划高程");
    addElevationPoint(10, 0, 10, L"GC-规划高程");
    addElevationPoint(0, 10, 10, L"GC-规划高程");
    AcGePoint3d p(1, 1, 3);
    EXPECT_FALSE(TARNQVTRI::CGetQvPtHeightClass(true).getQvPtHeight(p)) << "layer not configured";
    setLayerParameter(L"规划高程点层", L"GC-规划高程");
    setLayerParameter(L"现状高程点层", L"GC-现状高程");
    EXPECT_TRUE(TARNQVTRI::CGetQvPtHeightClass(true).getQvPtHeight(p));
    EXPECT_NEAR(10.0, p.z, 1e-9);
    addLayer(L"GC-现状高程");
    addElevationPoint(0, 0, 10, L"GC-现状高程");
    addElevationPoint(10, 0, 10, L"GC-现状高程");
    p.z = 3;
    EXPECT_FALSE(TARNQVTRI::CGetQvPtHeightClass(false).getQvPtHeight(p)) << "two points";
    EXPECT_EQ(3.0, p.z);
}

} // namespace
} // namespace planroad::test
