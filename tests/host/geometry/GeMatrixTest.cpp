// AcGeMatrix3d and AcGeMatrix2d: the standard transformations, product order, inversion and coordinate
// systems.
#include <gtest/gtest.h>

#include <numbers>

#include "GeTestSupport.h"
#include "geline3d.h"
#include "gemat2d.h"
#include "gemat3d.h"
#include "geplane.h"

namespace {

constexpr double kPi = std::numbers::pi;

struct TransformCase {
    const char* name;
    AcGeMatrix3d matrix;
    AcGePoint3d in;
    AcGePoint3d out;
};

TEST(GeMatrix3d, StandardTransformsMovePoints)
{
    const TransformCase cases[] = {
        {"translation", AcGeMatrix3d::translation(AcGeVector3d(1, 2, 3)), {1, 1, 1}, {2, 3, 4}},
        {"quarter turn about Z through (1,1)",
            AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis, {1, 1, 0}), {2, 1, 7}, {1, 2, 7}},
        {"half turn about X through the origin", AcGeMatrix3d::rotation(kPi, AcGeVector3d::kXAxis), {1, 2, 3},
            {1, -2, -3}},
        {"scaling about a centre", AcGeMatrix3d::scaling(2, {1, 1, 1}), {2, 3, 4}, {3, 5, 7}},
        {"point reflection", AcGeMatrix3d::mirroring(AcGePoint3d(1, 0, 0)), {3, 1, 1}, {-1, -1, -1}},
        {"reflection in a raised XY plane",
            AcGeMatrix3d::mirroring(AcGePlane(AcGePoint3d(0, 0, 2), AcGeVector3d::kZAxis)), {1, 1, 5},
            {1, 1, -1}},
        {"half turn about a line",
            AcGeMatrix3d::mirroring(AcGeLine3d(AcGePoint3d(0, 1, 0), AcGeVector3d::kXAxis)), {2, 3, 1},
            {2, -1, -1}},
    };
    for (const TransformCase& c : cases) {
        AcGePoint3d p = c.in;
        EXPECT_TRUE(Near(p.transformBy(c.matrix), c.out)) << c.name;
        EXPECT_TRUE(Near(c.matrix * c.in, c.out)) << c.name;
        // Every one of these can be undone.
        EXPECT_FALSE(c.matrix.isSingular()) << c.name;
        EXPECT_TRUE(Near(c.matrix.inverse() * c.out, c.in)) << c.name;
    }
}

TEST(GeMatrix3d, ProductAppliesTheRightOperandFirst)
{
    const AcGeMatrix3d move = AcGeMatrix3d::translation(AcGeVector3d(10, 0, 0));
    const AcGeMatrix3d turn = AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis);
    const AcGePoint3d p(1, 0, 0);
    EXPECT_TRUE(Near((move * turn) * p, AcGePoint3d(10, 1, 0)));
    EXPECT_TRUE(Near((turn * move) * p, AcGePoint3d(0, 11, 0)));

    AcGeMatrix3d pre = turn;
    pre.preMultBy(move);
    EXPECT_TRUE(pre.isEqualTo(move * turn));
    AcGeMatrix3d post = move;
    post.postMultBy(turn);
    EXPECT_TRUE(post.isEqualTo(move * turn));
    AcGeMatrix3d product;
    product.setToProduct(move, turn);
    EXPECT_TRUE(product == move * turn);

    // Vectors ignore the translation.
    AcGeVector3d v(1, 0, 0);
    EXPECT_TRUE(Near(v.transformBy(move * turn), AcGeVector3d(0, 1, 0)));
}

TEST(GeMatrix3d, InverseDeterminantAndSingularity)
{
    const AcGeMatrix3d m = AcGeMatrix3d::translation(AcGeVector3d(3, -2, 7))
        * AcGeMatrix3d::rotation(0.7, AcGeVector3d(1, 2, 3), AcGePoint3d(4, 5, 6))
        * AcGeMatrix3d::scaling(2.5);
    EXPECT_TRUE((m * m.inverse()).isEqualTo(AcGeMatrix3d::kIdentity));
    AcGeMatrix3d inv = m;
    inv.invert();
    EXPECT_TRUE((inv * m).isEqualTo(AcGeMatrix3d::kIdentity));
    EXPECT_NEAR(m.det(), 2.5 * 2.5 * 2.5, 1e-9);
    EXPECT_NEAR(m.scale(), 2.5, 1e-12);
    EXPECT_TRUE(m.isUniScaledOrtho());
    EXPECT_NEAR(AcGeMatrix3d::mirroring(AcGePoint3d(1, 2, 3)).det(), -1.0, 1e-12);

    // A flattening matrix cannot be inverted: it stays as it was.
    const AcGeMatrix3d flat = AcGeMatrix3d::scaling(0.0);
    EXPECT_TRUE(flat.isSingular());
    AcGeMatrix3d out;
    EXPECT_FALSE(flat.inverse(out, 1e-12));
    EXPECT_TRUE(out.isEqualTo(AcGeMatrix3d::kIdentity));
    EXPECT_TRUE(flat.inverse().isEqualTo(flat));

    EXPECT_TRUE(m.transpose().transpose().isEqualTo(m));
    EXPECT_DOUBLE_EQ(m.transpose()(0, 3), m(3, 0));
}

TEST(GeMatrix3d, CoordinateSystems)
{
    const AcGePoint3d origin(5, 5, 0);
    const AcGeVector3d x(0, 1, 0);
    const AcGeVector3d y(-1, 0, 0);
    const AcGeVector3d z(0, 0, 1);
    AcGeMatrix3d cs;
    cs.setCoordSystem(origin, x, y, z);
    AcGePoint3d o;
    AcGeVector3d ax;
    AcGeVector3d ay;
    AcGeVector3d az;
    cs.getCoordSystem(o, ax, ay, az);
    EXPECT_TRUE(Near(o, origin));
    EXPECT_TRUE(Near(ax, x));
    EXPECT_TRUE(Near(ay, y));
    EXPECT_TRUE(Near(az, z));
    EXPECT_TRUE(Near(cs.translation(), origin.asVector()));

    // World to the turned system: a point one unit along world X lands one unit along the new X.
    const AcGeMatrix3d align = AcGeMatrix3d::alignCoordSys(AcGePoint3d::kOrigin, AcGeVector3d::kXAxis,
        AcGeVector3d::kYAxis, AcGeVector3d::kZAxis, origin, x, y, z);
    EXPECT_TRUE(Near(align * AcGePoint3d(1, 0, 0), AcGePoint3d(5, 6, 0)));
    EXPECT_TRUE(Near(align * AcGePoint3d(0, 2, 0), AcGePoint3d(3, 5, 0)));
}

TEST(GeMatrix3d, PlaneSystemsFollowTheArbitraryAxisRule)
{
    EXPECT_TRUE(AcGeMatrix3d::worldToPlane(AcGeVector3d::kZAxis).isEqualTo(AcGeMatrix3d::kIdentity));
    // Seen from below, the plane's X axis is world -X.
    EXPECT_TRUE(Near(
        AcGeMatrix3d::planeToWorld(AcGeVector3d(0, 0, -1)) * AcGePoint3d(1, 0, 0), AcGePoint3d(-1, 0, 0)));

    const AcGeVector3d normal(1, 2, 3);
    const AcGeMatrix3d toWorld = AcGeMatrix3d::planeToWorld(normal);
    EXPECT_TRUE((AcGeMatrix3d::worldToPlane(normal) * toWorld).isEqualTo(AcGeMatrix3d::kIdentity));
    EXPECT_TRUE(toWorld.isUniScaledOrtho());
    EXPECT_TRUE(Near(toWorld * AcGeVector3d::kZAxis, normal.normal()));

    const AcGePlane raised(AcGePoint3d(0, 0, 4), AcGeVector3d::kZAxis);
    EXPECT_TRUE(Near(AcGeMatrix3d::worldToPlane(raised) * AcGePoint3d(1, 2, 4), AcGePoint3d(1, 2, 0)));
}

TEST(GeMatrix2d, RotationAboutCentreAndInverse)
{
    const AcGeMatrix2d r = AcGeMatrix2d::rotation(kPi / 2, AcGePoint2d(1, 1));
    AcGePoint2d p(2, 1);
    p.transformBy(r);
    EXPECT_NEAR(p.x, 1.0, 1e-12);
    EXPECT_NEAR(p.y, 2.0, 1e-12);
    const AcGeMatrix2d m = AcGeMatrix2d::translation(AcGeVector2d(3, 4)) * r * AcGeMatrix2d::scaling(2);
    EXPECT_TRUE((m * m.inverse()).isEqualTo(AcGeMatrix2d::kIdentity));
    EXPECT_NEAR(m.det(), 4.0, 1e-12);
    EXPECT_TRUE(AcGeMatrix2d::scaling(0).isSingular());
}

} // namespace
