// The toolkit's geometry of entities: middles, ends and bulges, vertices, closure, extents, intersections.
#include "ToolkitFixture.h"

namespace planroad::test {
namespace {

class EntityGeometry : public ToolkitFixture { };

TEST_F(EntityGeometry, MiddlePointsOfCurvesLieAtHalfTheirLength)
{
    struct Case {
        const char* name;
        std::function<AcDbObjectId()> make;
        AcGePoint3d mid;
    };
    // The polyline runs 10 straight, then a half circle of radius 5 about (10, 5): half its length,
    // (10 + 5pi) / 2, lies on the arc at the angle -1 radian.
    const Case cases[] = {
        {"line", [this] { return addLine(0, 0, 10, 4); }, AcGePoint3d(5, 2, 0)},
        {"arc", [this] { return addArc(0, 0, 10, 0, kPi / 2); },
            AcGePoint3d(10 * std::cos(kPi / 4), 10 * std::sin(kPi / 4), 0)},
        {"polyline with an arc segment",
            [this] {
                return addPolyline({{0, 0}, {10, 0, 1.0}, {10, 10}});
            },
            AcGePoint3d(10 + 5 * std::cos(-1.0), 5 + 5 * std::sin(-1.0), 0)},
        {"old-style polyline",
            [this] {
                return add2dPolyline({{0, 0}, {0, 6}, {8, 6}});
            },
            AcGePoint3d(1, 6, 0)},
    };
    for (const Case& c : cases) {
        AcGePoint3d mid;
        ASSERT_EQ(1, tarn::ent::GetMidPt(c.make(), mid)) << c.name;
        EXPECT_NEAR(c.mid.x, mid.x, 1e-9) << c.name;
        EXPECT_NEAR(c.mid.y, mid.y, 1e-9) << c.name;
    }
}

TEST_F(EntityGeometry, TheMiddleOfATextIsTheMiddleOfItsBox)
{
    // A text centred both ways on a point has that point in its middle.
    auto* centred = new AcDbText(AcGePoint3d(0, 0, 0), L"Q 15.00", db().textstyle(), 3.0, 0.7);
    centred->setHorizontalMode(AcDb::kTextMid);
    centred->setAlignmentPoint(AcGePoint3d(40, 30, 0));
    AcGePoint3d mid;
    ASSERT_EQ(1, tarn::ent::GetMidPt(add(centred), mid));
    expectNear(AcGePoint3d(40, 30, 0), mid, 1e-6);

    // A left-aligned text on its base line: half its height above the base line, to the right of its start.
    ASSERT_EQ(1, tarn::ent::GetMidPt(addText(100, 50, L"FQ5.00", 4.0), mid));
    EXPECT_NEAR(52.0, mid.y, 1e-6);
    EXPECT_GT(mid.x, 100.0);
}

TEST_F(EntityGeometry, EndsBulgesAndVerticesOfCurves)
{
    struct Case {
        const char* name;
        std::function<AcDbObjectId()> make;
        int vertices; // what GetCurveParam gives
        bool oneSegment; // GetStartEndBlg succeeds
        double bulge; // of the first segment
        AcGePoint3d start;
        AcGePoint3d end;
    };
    const Case cases[] = {
        {"line", [this] { return addLine(1, 1, 5, 1); }, 2, true, 0.0, {1, 1, 0}, {5, 1, 0}},
        {"quarter arc", [this] { return addArc(0, 0, 2, 0, kPi / 2); }, 2, true, std::tan(kPi / 8), {2, 0, 0},
            {0, 2, 0}},
        {"straight cut as polyline",
            [this] {
                return addPolyline({{0, 0}, {3, 4}});
            },
            2, true, 0.0, {0, 0, 0}, {3, 4, 0}},
        {"clockwise half circle",
            [this] {
                return addPolyline({{0, 0, -1.0}, {4, 0}});
            },
            2, true, -1.0, {0, 0, 0}, {4, 0, 0}},
        {"three vertices",
            [this] {
                return addPolyline({{0, 0}, {3, 0}, {3, 3}});
            },
            3, false, 0.0, {0, 0, 0}, {3, 3, 0}},
        // A closed polyline lists each vertex once.
        {"closed square",
            [this] {
                return addPolyline({{0, 0}, {1, 0}, {1, 1}, {0, 1}}, true);
            },
            4, false, 0.0, {0, 0, 0}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        const AcDbObjectId id = c.make();
        AcGePoint3dArray points;
        AcGeDoubleArray bulges;
        ASSERT_EQ(1, tarn::ent::GetCurveParam(id, &points, &bulges)) << c.name;
        EXPECT_EQ(c.vertices, points.length()) << c.name;
        EXPECT_NEAR(c.bulge, bulges[0], 1e-12) << c.name;
        AcGePoint3d s;
        AcGePoint3d e;
        ASSERT_EQ(1, tarn::ent::GetStartEndPt(id, s, e)) << c.name;
        expectNear(c.start, s);
        expectNear(c.end, e);
        double bulge = 99.0;
        EXPECT_EQ(c.oneSegment ? 1 : 0, tarn::ent::GetStartEndBlg(id, s, e, bulge)) << c.name;
        if (c.oneSegment) {
            EXPECT_NEAR(c.bulge, bulge, 1e-12) << c.name;
        }
    }
    EXPECT_EQ(0, tarn::ent::GetCurveParam(addText(0, 0, L"R-12.00"), nullptr, nullptr));
}

TEST_F(EntityGeometry, ClosedCurves)
{
    EXPECT_TRUE(tarn::ent::IsClosed(addPolyline({{0, 0}, {10, 0}, {10, 10}}, true)));
    // Drawn back to the first point without the closing flag.
    EXPECT_TRUE(tarn::ent::IsClosed(addPolyline({{0, 0}, {10, 0}, {10, 10}, {0, 0}})));
    EXPECT_TRUE(tarn::ent::IsClosed(add(new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 3))));
    EXPECT_FALSE(tarn::ent::IsClosed(addPolyline({{0, 0}, {10, 0}, {10, 10}})));
    EXPECT_FALSE(tarn::ent::IsClosed(addLine(0, 0, 1, 0)));
    EXPECT_FALSE(tarn::ent::IsClosed(addText(0, 0, L"Q")));
}

TEST_F(EntityGeometry, BoxesOfOneEntityAndOfSeveralSkippingErasedOnes)
{
    AcDbObjectIdArray ids;
    ids.append(addLine(0, 0, 10, 5));
    ids.append(addArc(20, 0, 5, 0, kPi)); // its top is the quadrant point (20, 5)
    ids.append(addLine(-100, -100, -90, -90));
    tarn::ent::Erase(ids[2]);
    AcGePoint3d min;
    AcGePoint3d max;
    ASSERT_EQ(1, tarn::ent::GetSSRect(ids, min, max));
    expectNear(AcGePoint3d(0, 0, 0), min);
    expectNear(AcGePoint3d(25, 5, 0), max);
    ASSERT_EQ(1, tarn::ent::GetEntRect(ids[1], min, max));
    expectNear(AcGePoint3d(15, 0, 0), min);
    AcDbObjectIdArray gone;
    gone.append(ids[2]);
    EXPECT_EQ(0, tarn::ent::GetSSRect(gone, min, max));
}

TEST_F(EntityGeometry, JudgeIntersectNamesTheCurvesACutMeets)
{
    AcDbObjectId cut = addLine(0, 5, 5, 0);
    AcDbObjectId redS = addLine(0, 0, 0, 20); // meets the cut at (0, 5)
    AcDbObjectId redE = addLine(0, 0, 20, 0); // meets it at (5, 0)
    AcDbObjectId far = addLine(30, 30, 40, 30);
    AcDbObjectIdArray reds;
    for (AcDbObjectId id : {far, redE, cut, redS})
        reds.append(id);
    AcDbObjectIdArray hits;
    EXPECT_EQ(2, tarn::ent::JudgeIntersect(cut, reds, hits));
    ASSERT_EQ(2, hits.length());
    EXPECT_EQ(redE, hits[0]);
    EXPECT_EQ(redS, hits[1]);
}

TEST_F(EntityGeometry, CurveIntersectionsByExtensionMode)
{
    AcDbObjectId a = addLine(0, 0, 4, 0);
    AcDbObjectId b = addLine(10, 2, 10, 8); // would meet a's extension at (10, 0)
    AcDbObjectId circle = addArc(0, 0, 2, 0, kPi); // upper half circle: meets the x axis only at its ends
    AcGePoint3dArray points;
    EXPECT_EQ(0, tarn::CCalExtent::GetCurveIntersect(a, b, points));
    EXPECT_EQ(0, tarn::CCalExtent::GetCurveIntersect(a, b, points, AcDb::kExtendThis));
    ASSERT_EQ(1, tarn::CCalExtent::GetCurveIntersect(a, b, points, AcDb::kExtendBoth));
    expectNear(AcGePoint3d(10, 0, 0), points[0]);
    ASSERT_EQ(1, tarn::CCalExtent::GetCurveIntersect(a, circle, points));
    expectNear(AcGePoint3d(2, 0, 0), points[0]);
    // Extended to its full circle the arc meets the extended line twice, ordered along the line.
    ASSERT_EQ(2, tarn::CCalExtent::GetCurveIntersect(a, circle, points, AcDb::kExtendBoth));
    expectNear(AcGePoint3d(-2, 0, 0), points[0]);
    expectNear(AcGePoint3d(2, 0, 0), points[1]);
    EXPECT_EQ(0, tarn::CCalExtent::GetCurveIntersect(a, AcDbObjectId::kNull, points));
}

TEST_F(EntityGeometry, TheCurveWalkerMeasuresAlongTheCurve)
{
    TarnCad::QV_CurveTran walker;
    EXPECT_EQ(0, walker.SetEnt(addText(0, 0, L"R-8.00")));
    ASSERT_EQ(1, walker.SetEnt(addPolyline({{0, 0}, {30, 0}, {30, 30}})));
    EXPECT_DOUBLE_EQ(60.0, walker.GetCurveLen());
    expectNear(AcGePoint3d(20, 0, 0), walker.GetPointByDis(20.0));
    expectNear(AcGePoint3d(30, 10, 0), walker.GetPointByDis(40.0));
    // Beyond either end the walker stops at the end.
    expectNear(AcGePoint3d(30, 30, 0), walker.GetPointByDis(100.0));
    expectNear(AcGePoint3d(0, 0, 0), walker.GetPointByDis(-5.0));
    expectNear(AcGePoint3d(30, 12, 0), walker.GetClosestPt(AcGePoint3d(45, 12, 0)));
    AcGePoint3dArray points;
    AcGeDoubleArray bulges;
    ASSERT_EQ(1, walker.GetCurveVect(points, bulges));
    EXPECT_EQ(3, points.length());
}

} // namespace
} // namespace planroad::test
