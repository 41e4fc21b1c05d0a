// Lengthening lines, arcs and polylines at their end, their start or both.
#include "ToolkitFixture.h"

namespace planroad::test {
namespace {

class Lengthen : public ToolkitFixture { };

TEST_F(Lengthen, EachCurveTypeInEachMode)
{
    const double r = std::sqrt(0.5) * 10;
    struct Case {
        const char* name;
        std::function<AcDbObjectId()> make;
        double length;
        int type;
        AcGePoint3d start;
        AcGePoint3d end;
    };
    // Quarter-circle growth of the arc (radius 10) and of the polyline's end arc (radius 5).
    const double arcEighth = 10 * kPi / 4;
    const double plineQuarter = 5 * kPi / 2;
    auto line = [this] { return addLine(0, 0, 10, 0); };
    auto arc = [this] { return addArc(0, 0, 10, 0, kPi / 2); };
    auto straightEnds = [this] { return addPolyline({{0, 0}, {10, 0}, {10, 10}}); };
    // Ends with a half circle about (10, 5) from (10, 0) to (10, 10), counter-clockwise.
    auto arcEnd = [this] { return addPolyline({{0, 0}, {10, 0, 1.0}, {10, 10}}); };
    // Starts with a clockwise half circle about (5, 0) from (0, 0) to (10, 0).
    auto arcStart = [this] { return addPolyline({{0, 0, -1.0}, {10, 0}, {20, 0}}); };
    auto oldStyle = [this] { return add2dPolyline({{0, 0}, {0, 10}, {10, 10}}); };
    const Case cases[] = {
        {"line, end", line, 5, 1, {0, 0, 0}, {15, 0, 0}},
        {"line, start", line, 5, 2, {-5, 0, 0}, {10, 0, 0}},
        {"line, both", line, 5, 3, {-5, 0, 0}, {15, 0, 0}},
        {"arc, end", arc, arcEighth, 1, {10, 0, 0}, {-r, r, 0}},
        {"arc, start", arc, arcEighth, 2, {r, -r, 0}, {0, 10, 0}},
        {"arc, both", arc, arcEighth, 3, {r, -r, 0}, {-r, r, 0}},
        {"polyline straight on, end", straightEnds, 5, 1, {0, 0, 0}, {10, 15, 0}},
        {"polyline straight on, start", straightEnds, 5, 2, {-5, 0, 0}, {10, 10, 0}},
        {"polyline straight on, both", straightEnds, 5, 3, {-5, 0, 0}, {10, 15, 0}},
        {"polyline round its end arc", arcEnd, plineQuarter, 1, {0, 0, 0}, {5, 5, 0}},
        {"polyline round its start arc", arcStart, plineQuarter, 2, {5, -5, 0}, {20, 0, 0}},
        {"polyline with arcs, both", arcEnd, plineQuarter, 3, {-plineQuarter, 0, 0}, {5, 5, 0}},
        {"old-style polyline, both", oldStyle, 2, 3, {0, -2, 0}, {12, 10, 0}},
    };
    for (const Case& c : cases) {
        const AcDbObjectId id = c.make();
        const double before = tarn::ent::GetCurLen(id);
        ASSERT_EQ(1, tarn::CFEntLengthen::Lengthen(id, c.length, c.type)) << c.name;
        AcGePoint3d s;
        AcGePoint3d e;
        ASSERT_EQ(1, tarn::ent::GetStartEndPt(id, s, e)) << c.name;
        EXPECT_NEAR(c.start.x, s.x, 1e-9) << c.name;
        EXPECT_NEAR(c.start.y, s.y, 1e-9) << c.name;
        EXPECT_NEAR(c.end.x, e.x, 1e-9) << c.name;
        EXPECT_NEAR(c.end.y, e.y, 1e-9) << c.name;
        const int ends = c.type == 3 ? 2 : 1;
        EXPECT_NEAR(before + ends * c.length, tarn::ent::GetCurLen(id), 1e-9) << c.name;
    }
}

TEST_F(Lengthen, WhatCannotGrowStaysAsItWas)
{
    AcDbObjectId closed = addPolyline({{0, 0}, {10, 0}, {10, 10}}, true);
    AcDbObjectId line = addLine(0, 0, 10, 0);
    AcDbObjectId arc = addArc(0, 0, 1, 0, kPi);
    AcDbObjectId text = addText(0, 0, L"Q 5.00");
    EXPECT_EQ(0, tarn::CFEntLengthen::Lengthen(closed, 5, 1));
    EXPECT_EQ(0, tarn::CFEntLengthen::Lengthen(line, 0, 1));
    EXPECT_EQ(0, tarn::CFEntLengthen::Lengthen(line, -3, 3));
    EXPECT_EQ(0, tarn::CFEntLengthen::Lengthen(line, 5, 4));
    EXPECT_EQ(0, tarn::CFEntLengthen::Lengthen(text, 5, 1));
    // Half a circle grown by a quarter at each end would close on itself.
    EXPECT_EQ(0, tarn::CFEntLengthen::Lengthen(arc, kPi / 2, 3));
    EXPECT_DOUBLE_EQ(10.0, tarn::ent::GetCurLen(line));
    EXPECT_NEAR(kPi, tarn::ent::GetCurLen(arc), 1e-12);
    EXPECT_EQ(1, tarn::CFEntLengthen::Lengthen(arc, kPi / 2 - 0.01, 3));
}

} // namespace
} // namespace planroad::test
