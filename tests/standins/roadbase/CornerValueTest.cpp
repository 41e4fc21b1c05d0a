// The value a corner curve's annotation states, from the corner curve and its two red lines.
#include <cmath>

#include "RoadFixture.h"

namespace planroad::test {
namespace {

class CornerValue : public RoadFixture { };

TEST_F(CornerValue, AStraightCutMeasuresFromTheCornerOfItsRedLines)
{
    // Red lines along the axes, both stopping short of the corner at the origin; the cut joins them.
    AcDbObjectId redS = addLine(5, 0, 100, 0);
    AcDbObjectId redE = addLine(0, 7, 0, 100);
    struct Case {
        const char* what;
        AcDbObjectId cut;
    };
    const Case cases[] = {
        {"line", addLine(5, 0, 0, 7)},
        {"line the other way", addLine(0, 7, 5, 0)},
        {"two-vertex polyline", addPolyline({{5, 0}, {0, 7}})},
        {"two-vertex old-style polyline", add2dPolyline({{5, 0}, {0, 7}})},
    };
    for (const Case& c : cases) {
        double a = 0;
        double b = 0;
        ASSERT_EQ(1, GetYqjViewByGeo(c.cut, redS, redE, a, b)) << c.what;
        EXPECT_NEAR(5.0, a, 1e-9) << c.what;
        EXPECT_NEAR(7.0, b, 1e-9) << c.what;
    }
}

TEST_F(CornerValue, OfSeveralCornersTheOneNearestTheCutCounts)
{
    // A red line along a circle meets the straight one twice: at (-6, 8) and at (6, 8).
    AcDbObjectId redS = addArc(0, 0, 10, 0, 180);
    AcDbObjectId redE = addLine(20, 8, 30, 8);
    AcDbObjectId cut = addLine(8, 6, 6, 9); // right beside (6, 8)
    double a = 0;
    double b = 0;
    ASSERT_EQ(1, GetYqjViewByGeo(cut, redS, redE, a, b));
    EXPECT_NEAR(1.0, a, 1e-9); // to (6, 9); from (-6, 8) it would be 12.04
    EXPECT_NEAR(std::hypot(2.0, 2.0), b, 1e-9); // to (8, 6)
}

TEST_F(CornerValue, ARoundedCornerStatesItsRadius)
{
    AcDbObjectId redS = addLine(10, 0, 100, 0);
    AcDbObjectId redE = addLine(0, 10, 0, 100);
    double a = 0;
    double b = 0;
    ASSERT_EQ(1, GetYqjViewByGeo(addArc(10, 10, 10, 180, 270), redS, redE, a, b));
    EXPECT_DOUBLE_EQ(10.0, a);
    EXPECT_DOUBLE_EQ(10.0, b);
    // A one-arc polyline: a quarter circle of radius 10 from (10, 0) to (0, 10) turning clockwise.
    ASSERT_EQ(1, GetYqjViewByGeo(addPolyline({{10, 0, -std::tan(kPi / 8)}, {0, 10}}), redS, redE, a, b));
    EXPECT_NEAR(10.0, a, 1e-9);
    EXPECT_NEAR(10.0, b, 1e-9);
    // Its red lines do not matter.
    ASSERT_EQ(1, GetYqjViewByGeo(addArc(0, 0, 12, 0, 90), AcDbObjectId(), AcDbObjectId(), a, b));
    EXPECT_DOUBLE_EQ(12.0, a);
}

TEST_F(CornerValue, IrregularCornersGiveNothing)
{
    AcDbObjectId redS = addLine(5, 0, 100, 0);
    AcDbObjectId parallel = addLine(5, 9, 100, 9);
    AcDbObjectId redE = addLine(0, 7, 0, 100);
    const struct {
        const char* what;
        AcDbObjectId cut;
        AcDbObjectId redS;
        AcDbObjectId redE;
    } cases[] = {
        {"parallel red lines", addLine(5, 0, 5, 9), redS, parallel},
        {"a red line missing", addLine(5, 0, 0, 7), redS, AcDbObjectId()},
        {"three vertices", addPolyline({{5, 0}, {2, 2}, {0, 7}}), redS, redE},
        {"a circle", add(new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 3)), redS, redE},
        {"a text", add(new AcDbText(AcGePoint3d(0, 0, 0), L"Q5")), redS, redE},
    };
    for (const auto& c : cases) {
        double a = -1;
        double b = -1;
        EXPECT_EQ(0, GetYqjViewByGeo(c.cut, c.redS, c.redE, a, b)) << c.what;
        EXPECT_EQ(-1, a) << c.what;
        EXPECT_EQ(-1, b) << c.what;
    }
}

} // namespace
} // namespace planroad::test
