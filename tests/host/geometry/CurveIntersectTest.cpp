// Curve kernel intersections: every pair of curve kinds under the four extension modes.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "GeTestSupport.h"
#include "gemat3d.h"
#include "geometry/CurveKernel.h"

namespace {

using arxhost::geom::Mode;
using arxhost::geom::Path;
using Points = std::vector<AcGePoint3d>;

constexpr double kPi = std::numbers::pi;

Path polyline(Points points, std::vector<double> bulges, bool closed)
{
    return Path::polyline(points, bulges, closed);
}

// One pair of curves and the expected points, in order along the first curve, for each AcDb::Intersect mode.
struct IntersectCase {
    const char* name;
    Path a;
    Path b;
    Points onBoth;
    Points extendThis;
    Points extendArg;
    Points extendBoth;
};

testing::AssertionResult SamePoints(const Points& actual, const Points& expected)
{
    bool same = actual.size() == expected.size();
    for (std::size_t i = 0; same && i < actual.size(); ++i)
        same = actual[i].distanceTo(expected[i]) <= 1e-7;
    if (same)
        return testing::AssertionSuccess();
    testing::AssertionResult failure = testing::AssertionFailure();
    failure << "got";
    for (const AcGePoint3d& p : actual)
        failure << " " << p;
    failure << ", expected";
    for (const AcGePoint3d& p : expected)
        failure << " " << p;
    return failure;
}

void runCases(const std::vector<IntersectCase>& cases)
{
    for (const IntersectCase& c : cases) {
        EXPECT_TRUE(SamePoints(intersect(c.a, c.b, Mode::kOnBothOperands), c.onBoth))
            << c.name << " / on both";
        EXPECT_TRUE(SamePoints(intersect(c.a, c.b, Mode::kExtendThis), c.extendThis))
            << c.name << " / extend this";
        EXPECT_TRUE(SamePoints(intersect(c.a, c.b, Mode::kExtendArg), c.extendArg))
            << c.name << " / extend arg";
        EXPECT_TRUE(SamePoints(intersect(c.a, c.b, Mode::kExtendBoth), c.extendBoth))
            << c.name << " / extend both";
    }
}

TEST(CurveIntersect, LineLine)
{
    const double n = 1e-9; // rounding noise in the coordinates
    runCases({
        {"crossing", Path::line({0, 0, 0}, {10, 10, 0}), Path::line({0, 10, 0}, {10, 0, 0}), {{5, 5, 0}},
            {{5, 5, 0}}, {{5, 5, 0}}, {{5, 5, 0}}},
        {"only this one must grow", Path::line({0, 0, 0}, {2, 2, 0}), Path::line({0, 10, 0}, {10, 0, 0}), {},
            {{5, 5, 0}}, {}, {{5, 5, 0}}},
        {"meeting end to end with noise", Path::line({0, 0, 0}, {10, 10, 0}),
            Path::line({10 + n, 10 - n, 0}, {20, 0, 0}), {{10, 10, 0}}, {{10, 10, 0}}, {{10, 10, 0}},
            {{10, 10, 0}}},
        {"end stopping just short of the other line", Path::line({0, 0, 0}, {10, 0, 0}),
            Path::line({5, 10, 0}, {5, n, 0}), {{5, 0, 0}}, {{5, 0, 0}}, {{5, 0, 0}}, {{5, 0, 0}}},
        {"parallel", Path::line({0, 0, 0}, {10, 0, 0}), Path::line({0, 1, 0}, {10, 1, 0}), {}, {}, {}, {}},
        {"collinear overlap gives its ends", Path::line({0, 0, 0}, {10, 0, 0}),
            Path::line({5, 0, 0}, {15, 0, 0}), {{5, 0, 0}, {10, 0, 0}}, {{5, 0, 0}, {15, 0, 0}},
            {{0, 0, 0}, {10, 0, 0}}, {}},
        {"overlap ordered along a reversed first line", Path::line({10, 0, 0}, {0, 0, 0}),
            Path::line({5, 0, 0}, {15, 0, 0}), {{10, 0, 0}, {5, 0, 0}}, {{15, 0, 0}, {5, 0, 0}},
            {{10, 0, 0}, {0, 0, 0}}, {}},
        {"collinear end to end", Path::line({0, 0, 0}, {5, 0, 0}), Path::line({5, 0, 0}, {10, 0, 0}),
            {{5, 0, 0}}, {{5, 0, 0}, {10, 0, 0}}, {{0, 0, 0}, {5, 0, 0}}, {}},
        {"result takes the first operand's elevation", Path::line({0, 0, 3}, {10, 10, 3}),
            Path::line({0, 10, -1}, {10, 0, -1}), {{5, 5, 3}}, {{5, 5, 3}}, {{5, 5, 3}}, {{5, 5, 3}}},
    });
}

TEST(CurveIntersect, LineArc)
{
    const Path upperHalf = Path::arc({0, 0, 0}, 5, 0, kPi);
    runCases({
        {"secant", Path::line({-10, 3, 0}, {10, 3, 0}), upperHalf, {{-4, 3, 0}, {4, 3, 0}},
            {{-4, 3, 0}, {4, 3, 0}}, {{-4, 3, 0}, {4, 3, 0}}, {{-4, 3, 0}, {4, 3, 0}}},
        {"the arc's circle meets a line the arc does not", upperHalf, Path::line({-10, -3, 0}, {10, -3, 0}),
            {}, {{4, -3, 0}, {-4, -3, 0}}, {}, {{4, -3, 0}, {-4, -3, 0}}},
        {"tangent counts once", Path::line({-10, 5, 0}, {10, 5, 0}), upperHalf, {{0, 5, 0}}, {{0, 5, 0}},
            {{0, 5, 0}}, {{0, 5, 0}}},
        {"grazing a hair inside stays one tangency", Path::line({-10, 5 - 1e-9, 0}, {10, 5 - 1e-9, 0}),
            upperHalf, {{0, 5, 0}}, {{0, 5, 0}}, {{0, 5, 0}}, {{0, 5, 0}}},
        {"missing by a hair still touches", Path::line({-10, 5 + 1e-9, 0}, {10, 5 + 1e-9, 0}), upperHalf,
            {{0, 5, 0}}, {{0, 5, 0}}, {{0, 5, 0}}, {{0, 5, 0}}},
        {"tangent at the arc's end point", upperHalf, Path::line({5, -5, 0}, {5, 5, 0}), {{5, 0, 0}},
            {{5, 0, 0}}, {{5, 0, 0}}, {{5, 0, 0}}},
        {"short line inside the circle", Path::line({-1, 1, 0}, {1, 1, 0}), upperHalf, {},
            {{-std::sqrt(24.0), 1, 0}, {std::sqrt(24.0), 1, 0}}, {},
            {{-std::sqrt(24.0), 1, 0}, {std::sqrt(24.0), 1, 0}}},
    });
}

TEST(CurveIntersect, ArcArcAndCircle)
{
    const Path upperHalf = Path::arc({0, 0, 0}, 5, 0, kPi);
    runCases({
        {"crossing arcs", upperHalf, Path::arc({6, 0, 0}, 5, kPi / 2, 3 * kPi / 2), {{3, 4, 0}},
            {{3, -4, 0}, {3, 4, 0}}, {{3, 4, 0}}, {{3, -4, 0}, {3, 4, 0}}},
        {"arc touching a circle from outside", Path::arc({0, 0, 0}, 5, -kPi / 2, kPi / 2),
            Path::circle({10, 0, 0}, 5), {{5, 0, 0}}, {{5, 0, 0}}, {{5, 0, 0}}, {{5, 0, 0}}},
        {"circle never extends, the arc does", Path::arc({0, 0, 0}, 5, kPi / 2, 3 * kPi / 2),
            Path::circle({8, 0, 0}, 5), {}, {{4, 3, 0}, {4, -3, 0}}, {}, {{4, 3, 0}, {4, -3, 0}}},
        {"circle against arc in the other order", Path::circle({8, 0, 0}, 5),
            Path::arc({0, 0, 0}, 5, kPi / 2, 3 * kPi / 2), {}, {}, {{4, 3, 0}, {4, -3, 0}},
            {{4, 3, 0}, {4, -3, 0}}},
        {"overlapping arcs of one circle", upperHalf, Path::arc({0, 0, 0}, 5, kPi / 2, 3 * kPi / 2),
            {{0, 5, 0}, {-5, 0, 0}}, {{0, 5, 0}, {0, -5, 0}}, {{5, 0, 0}, {-5, 0, 0}}, {}},
    });
}

TEST(CurveIntersect, PolylineLine)
{
    // Open polyline ending in a semicircle bulging to the right (centre (10, 5), radius 5).
    const Path hook = polyline({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {0, 1}, false);
    const Points square {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    const Path post = Path::line({-5, -5, 0}, {-5, 20, 0});
    runCases({
        {"extended last bulge meets a line", hook, Path::line({4, 5, 0}, {8, 5, 0}), {}, {{5, 5, 0}},
            {{15, 5, 0}}, {{15, 5, 0}, {5, 5, 0}}},
        {"open polyline extends both end segments", polyline(square, {}, false), post, {},
            {{-5, 0, 0}, {-5, 10, 0}}, {}, {{-5, 0, 0}, {-5, 10, 0}}},
        {"closed polyline does not extend", polyline(square, {}, true), post, {}, {}, {}, {}},
        {"closed polyline against an extended line", polyline(square, {}, true),
            Path::line({12, 5, 0}, {20, 5, 0}), {}, {}, {{10, 5, 0}, {0, 5, 0}}, {{10, 5, 0}, {0, 5, 0}}},
        {"line touching a vertex counts once", polyline({{0, 0, 0}, {5, 5, 0}, {10, 0, 0}}, {}, false),
            Path::line({0, 5, 0}, {10, 5, 0}), {{5, 5, 0}}, {{5, 5, 0}}, {{5, 5, 0}}, {{5, 5, 0}}},
        {"zero-length segment adds nothing",
            polyline({{0, 0, 0}, {10, 0, 0}, {10, 0, 0}, {10, 10, 0}}, {}, false),
            Path::line({5, 5, 0}, {15, 5, 0}), {{10, 5, 0}}, {{10, 5, 0}}, {{10, 5, 0}}, {{10, 5, 0}}},
    });
}

TEST(CurveIntersect, SurveyScaleCoordinatesKeepContacts)
{
    // Site coordinates in the millions, turned: every computed vertex carries rounding noise.
    const AcGeMatrix3d toSite = AcGeMatrix3d::translation(AcGeVector3d(3512345.678, 498765.432, 0))
        * AcGeMatrix3d::rotation(0.7, AcGeVector3d::kZAxis);
    auto site = [&](double x, double y) { return toSite * AcGePoint3d(x, y, 0); };
    struct Case {
        const char* name;
        Path a;
        Path b;
        AcGePoint3d expected;
    };
    const Case cases[] = {
        {"end to end", Path::line(site(0, 0), site(10, 10)), Path::line(site(10, 10), site(20, 0)),
            site(10, 10)},
        {"T junction", Path::line(site(0, 0), site(10, 0)), Path::line(site(5, 10), site(5, 0)), site(5, 0)},
        {"tangent", Path::line(site(-10, 5), site(10, 5)), Path::arc(site(0, 0), 5, 0.7, 0.7 + kPi),
            site(0, 5)},
        {"through a vertex", polyline({site(0, 0), site(5, 5), site(10, 0)}, {}, false),
            Path::line(site(0, 5), site(10, 5)), site(5, 5)},
    };
    for (const Case& c : cases) {
        const Points hits = intersect(c.a, c.b, Mode::kOnBothOperands);
        ASSERT_EQ(hits.size(), 1u) << c.name;
        EXPECT_TRUE(Near(hits[0], c.expected, 1e-6)) << c.name;
        double param = 0;
        EXPECT_TRUE(c.a.paramAtPoint(c.expected, param)) << c.name;
    }
}

TEST(CurveIntersect, PointEntityAndEmptyPaths)
{
    const Path dot = Path::line({5, 0, 0}, {5, 0, 0});
    const Path ground = Path::line({0, 0, 0}, {10, 0, 0});
    EXPECT_TRUE(SamePoints(intersect(dot, ground, Mode::kOnBothOperands), {{5, 0, 0}}));
    EXPECT_TRUE(SamePoints(intersect(ground, dot, Mode::kExtendBoth), {{5, 0, 0}}));
    EXPECT_TRUE(intersect(Path(), ground, Mode::kExtendBoth).empty());
}

} // namespace
