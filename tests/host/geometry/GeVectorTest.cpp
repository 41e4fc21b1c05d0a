// AcGe points and vectors: angles, direction tests, tolerances and plane conversions.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "GeTestSupport.h"
#include "geassign.h"
#include "gegbl.h"
#include "geplane.h"
#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gept3dar.h"
#include "gevec2d.h"
#include "gevec3d.h"

namespace {

constexpr double kPi = std::numbers::pi;

struct AngleCase {
    const char* name;
    AcGeVector3d from;
    AcGeVector3d to;
    AcGeVector3d ref;
    double expected;
};

TEST(GeVector3d, AngleToAboutReferenceCoversFullTurn)
{
    const AngleCase cases[] = {
        {"quarter turn left about +Z", {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, kPi / 2},
        {"same quarter seen from -Z", {1, 0, 0}, {0, 1, 0}, {0, 0, -1}, 3 * kPi / 2},
        {"half turn", {1, 0, 0}, {-1, 0, 0}, {0, 0, 1}, kPi},
        {"identical directions", {2, 0, 0}, {5, 0, 0}, {0, 0, 1}, 0.0},
        {"seven eighths", {1, 0, 0}, {1, -1, 0}, {0, 0, 1}, 7 * kPi / 4},
        {"tilted vectors measured about their own normal", {0, 1, 1}, {0, -1, 1}, {1, 0, 0}, kPi / 2},
    };
    for (const AngleCase& c : cases) {
        const double a = c.from.angleTo(c.to, c.ref);
        EXPECT_NEAR(a, c.expected, 1e-12) << c.name;
        EXPECT_GE(a, 0.0) << c.name;
        EXPECT_LT(a, 2 * kPi) << c.name;
        // The unsigned form never exceeds a half turn and does not care about order.
        EXPECT_NEAR(c.from.angleTo(c.to), c.to.angleTo(c.from), 1e-15) << c.name;
        EXPECT_LE(c.from.angleTo(c.to), kPi) << c.name;
    }
}

struct DirectionCase {
    const char* name;
    AcGeVector3d a;
    AcGeVector3d b;
    bool parallel;
    bool codirectional;
    bool perpendicular;
};

TEST(GeVector3d, DirectionTests)
{
    const DirectionCase cases[] = {
        {"same direction, other length", {1, 2, 3}, {2, 4, 6}, true, true, false},
        {"opposite", {1, 2, 3}, {-1, -2, -3}, true, false, false},
        {"right angle", {1, 1, 0}, {-1, 1, 0}, false, false, true},
        {"oblique", {1, 0, 0}, {1, 1, 0}, false, false, false},
        {"zero vector passes nothing", {0, 0, 0}, {1, 0, 0}, false, false, false},
    };
    for (const DirectionCase& c : cases) {
        EXPECT_EQ(c.a.isParallelTo(c.b), c.parallel) << c.name;
        EXPECT_EQ(c.a.isCodirectionalTo(c.b), c.codirectional) << c.name;
        EXPECT_EQ(c.a.isPerpendicularTo(c.b), c.perpendicular) << c.name;
    }
}

TEST(GeVector3d, LengthsNormalsAndProducts)
{
    const AcGeVector3d v(3, 4, 12);
    EXPECT_DOUBLE_EQ(v.length(), 13.0);
    EXPECT_DOUBLE_EQ(v.lengthSqrd(), 169.0);
    EXPECT_TRUE(v.normal().isUnitLength());
    EXPECT_TRUE(Near(AcGeVector3d::kXAxis.crossProduct(AcGeVector3d::kYAxis), AcGeVector3d::kZAxis));
    EXPECT_DOUBLE_EQ(v.dotProduct(AcGeVector3d(1, 1, 1)), 19.0);
    EXPECT_TRUE(AcGeVector3d::kIdentity.isZeroLength());
    // Normalising a zero vector leaves it alone instead of producing NaNs.
    AcGeVector3d zero;
    zero.normalize();
    EXPECT_TRUE(Near(zero, AcGeVector3d(0, 0, 0)));
    EXPECT_EQ(AcGeVector3d(1, -7, 3).largestElement(), 1u);
}

TEST(GeVector3d, RotationAndPerpendicular)
{
    AcGeVector3d v(1, 0, 0);
    v.rotateBy(kPi / 2, AcGeVector3d(0, 0, 2));
    EXPECT_TRUE(Near(v, AcGeVector3d(0, 1, 0)));
    v.rotateBy(kPi / 2, AcGeVector3d::kXAxis);
    EXPECT_TRUE(Near(v, AcGeVector3d(0, 0, 1)));

    // The arbitrary axis rule: world Z gives world X; a normal far from Z takes its axis from world Z.
    EXPECT_TRUE(Near(AcGeVector3d::kZAxis.perpVector(), AcGeVector3d::kXAxis));
    EXPECT_TRUE(Near(AcGeVector3d(0, 0, -1).perpVector(), AcGeVector3d(-1, 0, 0)));
    const AcGeVector3d n(1, 2, 3);
    EXPECT_TRUE(n.perpVector().isPerpendicularTo(n));

    AcGeVector3d m(1, 2, 3);
    m.mirror(AcGeVector3d::kZAxis);
    EXPECT_TRUE(Near(m, AcGeVector3d(1, 2, -3)));
    EXPECT_TRUE(Near(AcGeVector3d(1, 2, 3).orthoProject(AcGeVector3d(0, 0, 5)), AcGeVector3d(1, 2, 0)));
}

TEST(GePoint3d, ArithmeticAndDistances)
{
    const AcGePoint3d a(1, 2, 3);
    const AcGePoint3d b(4, 6, 3);
    const AcGeVector3d d = b - a;
    EXPECT_TRUE(Near(d, AcGeVector3d(3, 4, 0)));
    EXPECT_TRUE(Near(a + d, b));
    EXPECT_TRUE(Near(b - d, a));
    EXPECT_DOUBLE_EQ(a.distanceTo(b), 5.0);
    EXPECT_TRUE(Near(a.asVector(), AcGeVector3d(1, 2, 3)));
    EXPECT_DOUBLE_EQ(a[0] + a[1] + a[2], 6.0);
    AcGePoint3d p(2, 0, 0);
    p.rotateBy(kPi, AcGeVector3d::kZAxis, AcGePoint3d(1, 0, 0));
    EXPECT_TRUE(Near(p, AcGePoint3d(0, 0, 0)));
    p.set(2, 2, 2).scaleBy(3, AcGePoint3d(1, 1, 1));
    EXPECT_TRUE(Near(p, AcGePoint3d(4, 4, 4)));
}

TEST(GePoint3d, EqualityFollowsTheGlobalTolerance)
{
    const AcGePoint3d a(100, 100, 0);
    const AcGePoint3d near(100 + 5e-11, 100, 0);
    const AcGePoint3d off(100 + 1e-6, 100, 0);
    EXPECT_TRUE(a.isEqualTo(near));
    EXPECT_FALSE(a.isEqualTo(off));
    AcGeTol loose;
    loose.setEqualPoint(1e-5);
    EXPECT_TRUE(a.isEqualTo(off, loose));

    // operator== and the arrays' searches go through the global tolerance, which the application may widen.
    AcGePoint3dArray points;
    points.append(a);
    EXPECT_FALSE(points.contains(off));
    const AcGeTol saved = AcGeContext::gTol;
    AcGeContext::gTol.setEqualPoint(1e-5);
    EXPECT_TRUE(points.contains(off));
    EXPECT_TRUE(a == off);
    AcGeContext::gTol = saved;
    EXPECT_TRUE(a != off);
}

TEST(GePoint3d, PlaneCoordinatesRoundTrip)
{
    // A plane lifted to z = 5 and turned a quarter: its first axis is world Y.
    const AcGePlane plane(AcGePoint3d(1, 1, 5), AcGeVector3d(0, 1, 0), AcGeVector3d(-1, 0, 0));
    const AcGePoint3d p(3, 4, 9);
    const AcGePoint2d local = p.convert2d(plane);
    EXPECT_NEAR(local.x, 3.0, 1e-12);
    EXPECT_NEAR(local.y, -2.0, 1e-12);
    EXPECT_TRUE(Near(AcGePoint3d(plane, local), AcGePoint3d(3, 4, 5)));
    const AcGeVector2d v = AcGeVector3d(2, 0, 7).convert2d(plane);
    EXPECT_NEAR(v.x, 0.0, 1e-12);
    EXPECT_NEAR(v.y, -2.0, 1e-12);
    EXPECT_NEAR(plane.signedDistanceTo(p), 4.0, 1e-12);
    EXPECT_TRUE(Near(p.orthoProject(plane), AcGePoint3d(3, 4, 5)));
}

TEST(GePoint3d, AdsArrayViewsShareStorage)
{
    // The ADS calls take double[3]; the views read and write the same coordinates.
    double raw[3] = {1, 2, 3};
    AcGePoint3d& p = asPnt3d(raw);
    p.x = 7;
    EXPECT_DOUBLE_EQ(raw[0], 7.0);
    EXPECT_TRUE(Near(asPnt3d(raw), AcGePoint3d(7, 2, 3)));
    const AcGeVector3d v(4, 5, 6);
    EXPECT_DOUBLE_EQ(asDblArray(v)[2], 6.0);
    AcGePoint3d q;
    asDblArray(q)[1] = 9;
    EXPECT_DOUBLE_EQ(q.y, 9.0);
}

TEST(GeVector2d, AnglesAndRotation)
{
    EXPECT_NEAR(AcGeVector2d(0, -1).angle(), 3 * kPi / 2, 1e-15);
    EXPECT_NEAR(AcGeVector2d(1, 0).angleTo(AcGeVector2d(0, -3)), kPi / 2, 1e-15);
    AcGeVector2d v(1, 0);
    v.rotateBy(kPi / 2);
    EXPECT_NEAR(v.x, 0.0, 1e-15);
    EXPECT_NEAR(v.y, 1.0, 1e-15);
    AcGePoint2d p(2, 1);
    p.rotateBy(kPi / 2, AcGePoint2d(1, 1));
    EXPECT_NEAR(p.x, 1.0, 1e-15);
    EXPECT_NEAR(p.y, 2.0, 1e-15);
    EXPECT_TRUE(AcGeVector2d(1, 1).isParallelTo(AcGeVector2d(-2, -2)));
    EXPECT_FALSE(AcGeVector2d(1, 1).isCodirectionalTo(AcGeVector2d(-2, -2)));
}

} // namespace
