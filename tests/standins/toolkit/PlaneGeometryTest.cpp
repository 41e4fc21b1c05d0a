// The toolkit's plane geometry: rounding, nearest points, areas, feet of perpendiculars, arcs by 3 points.
#include "ToolkitFixture.h"

namespace planroad::test {
namespace {

TEST(CutNum, RoundsHalfAwayFromZeroToFourDecimals)
{
    struct Case {
        double value;
        double expected;
    };
    const Case cases[] = {
        {17.499999999, 17.5},
        {2.00005, 2.0001},
        {-2.00005, -2.0001},
        {1.23454, 1.2345},
        {1234.56789, 1234.5679},
        {-0.00001, 0.0},
        {0.0, 0.0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(c.expected, tarn::geo::CutNum(c.value)) << c.value;
    EXPECT_FALSE(std::signbit(tarn::geo::CutNum(-0.00001)));
}

TEST(NearestPoint, FirstOfTheNearestOrTheReferenceItself)
{
    AcGePoint3dArray points;
    EXPECT_TRUE(tarn::geo::GetNearestPt(points, AcGePoint3d(1, 2, 3)).isEqualTo(AcGePoint3d(1, 2, 3)));
    points.append(AcGePoint3d(10, 0, 0));
    points.append(AcGePoint3d(0, 3, 0));
    points.append(AcGePoint3d(-3, 0, 0));
    EXPECT_TRUE(tarn::geo::GetNearestPt(points, AcGePoint3d(0, 0, 0)).isEqualTo(AcGePoint3d(0, 3, 0)));
}

TEST(PointInArea, InsideOutsideAndOnTheBorderOfAConcaveArea)
{
    // An L-shaped area: the notch (5..10, 5..10) is outside.
    AcGePoint3dArray area;
    for (const auto& [x, y] :
        {std::pair {0.0, 0.0}, {10.0, 0.0}, {10.0, 5.0}, {5.0, 5.0}, {5.0, 10.0}, {0.0, 10.0}})
        area.append(AcGePoint3d(x, y, 0));
    struct Case {
        double x;
        double y;
        bool inside;
        bool border;
    };
    const Case cases[] = {
        {2, 2, true, false},
        {2, 8, true, false},
        {8, 2, true, false},
        {8, 8, false, false},
        {-1, 5, false, false},
        {10, 2.5, true, true},
        {5, 7, true, true},
        {0, 0, true, true},
    };
    for (const Case& c : cases) {
        bool border = !c.border;
        EXPECT_EQ(c.inside, tarn::geo::IsPtInArea(AcGePoint3d(c.x, c.y, 7), area, &border))
            << c.x << "," << c.y;
        EXPECT_EQ(c.border, border) << c.x << "," << c.y;
    }
    AcGePoint3dArray twoPoints;
    twoPoints.append(AcGePoint3d(0, 0, 0));
    twoPoints.append(AcGePoint3d(1, 1, 0));
    EXPECT_FALSE(tarn::geo::IsPtInArea(AcGePoint3d(0.5, 0.5, 0), twoPoints));
}

TEST(Perpendicular, FootOnALineOrOnAnArcsCircle)
{
    AcGePoint3d foot;
    // The corner (0, 0) of a symmetric cut from (0, 5) to (5, 0): the foot is the cut's middle.
    ASSERT_EQ(
        1, tarn::geo::Perpt(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 5, 0), AcGePoint3d(5, 0, 0), 0.0, foot));
    EXPECT_TRUE(foot.isEqualTo(AcGePoint3d(2.5, 2.5, 0)));
    // Beyond the segment the foot lies on its line.
    ASSERT_EQ(
        1, tarn::geo::Perpt(AcGePoint3d(20, 3, 0), AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), 0.0, foot));
    EXPECT_TRUE(foot.isEqualTo(AcGePoint3d(20, 0, 0)));
    // A counter-clockwise half circle from (0, 0) to (10, 0) has its centre at (5, 0) and runs below.
    ASSERT_EQ(
        1, tarn::geo::Perpt(AcGePoint3d(5, -20, 0), AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), 1.0, foot));
    EXPECT_NEAR(5.0, foot.x, 1e-12);
    EXPECT_NEAR(-5.0, foot.y, 1e-12);
    // A quarter circle (bulge tan(pi/8)) from (10, 0) to (0, 10) about the origin.
    ASSERT_EQ(1,
        tarn::geo::Perpt(
            AcGePoint3d(20, 20, 0), AcGePoint3d(10, 0, 0), AcGePoint3d(0, 10, 0), std::tan(kPi / 8), foot));
    EXPECT_NEAR(10 * std::cos(kPi / 4), foot.x, 1e-9);
    EXPECT_NEAR(10 * std::sin(kPi / 4), foot.y, 1e-9);
    EXPECT_EQ(
        0, tarn::geo::Perpt(AcGePoint3d(1, 1, 0), AcGePoint3d(3, 3, 0), AcGePoint3d(3, 3, 0), 0.0, foot));
    EXPECT_EQ(
        0, tarn::geo::Perpt(AcGePoint3d(5, 0, 0), AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0), 1.0, foot));
}

TEST(ArcByThreePoints, CentreRadiusDirectionAndBulge)
{
    // Counter-clockwise quarter circle of radius 10 about (3, 4).
    const tarn::tarn_geo_arc ccw(AcGePoint3d(13, 4, 0),
        AcGePoint3d(3 + 10 * std::cos(kPi / 4), 4 + 10 * std::sin(kPi / 4), 0), AcGePoint3d(3, 14, 0));
    ASSERT_TRUE(ccw.IsValid());
    EXPECT_NEAR(3.0, ccw.GetCenter().x, 1e-9);
    EXPECT_NEAR(4.0, ccw.GetCenter().y, 1e-9);
    EXPECT_NEAR(10.0, ccw.GetRadius(), 1e-9);
    EXPECT_FALSE(ccw.IsClockwise());
    EXPECT_NEAR(std::tan(kPi / 8), ccw.GetBulge(), 1e-9);
    EXPECT_NEAR(5 * kPi, ccw.GetLength(), 1e-9);
    EXPECT_TRUE(ccw.GetStartPt().isEqualTo(AcGePoint3d(13, 4, 0)));

    // Three quarters of a circle, clockwise, through the far side.
    const tarn::tarn_geo_arc cw(AcGePoint3d(10, 0, 0), AcGePoint3d(-10, 0, 0), AcGePoint3d(0, 10, 0));
    ASSERT_TRUE(cw.IsValid());
    EXPECT_TRUE(cw.IsClockwise());
    EXPECT_NEAR(-std::tan(3 * kPi / 8), cw.GetBulge(), 1e-9);
    EXPECT_NEAR(15 * kPi, cw.GetLength(), 1e-9);

    EXPECT_FALSE(
        tarn::tarn_geo_arc(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(2, 2, 0)).IsValid());
    EXPECT_FALSE(
        tarn::tarn_geo_arc(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0), AcGePoint3d(0, 0, 0)).IsValid());
}

} // namespace
} // namespace planroad::test
