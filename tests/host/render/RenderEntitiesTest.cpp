// Pictures of entities: colours as the host resolves them, layers hidden, geometry where it belongs.
#include <cmath>

#include "RenderFixture.h"
#include "dbpl.h"

namespace planroad::test {
namespace {

using arxhost::render::aciColor;
using arxhost::render::Rgb;

struct PaletteCase {
    int index;
    bool light;
    Rgb expected;
};

TEST(AciPaletteTest, IndicesShowTheHostsColours)
{
    const PaletteCase cases[] = {
        {1, false, {255, 0, 0}},
        {2, false, {255, 255, 0}},
        {3, false, {0, 255, 0}},
        {5, false, {0, 0, 255}},
        {7, false, {255, 255, 255}},
        {7, true, {0, 0, 0}},
        {8, false, {128, 128, 128}},
        {10, false, {255, 0, 0}},
        {11, false, {255, 128, 128}},
        {14, false, {127, 0, 0}},
        {30, false, {255, 128, 0}},
        {50, false, {255, 255, 0}},
        {80, false, {64, 255, 0}},
        {90, false, {0, 255, 0}},
        {150, false, {0, 128, 255}},
        {250, false, {51, 51, 51}},
        {254, false, {190, 190, 190}},
        // Unresolved ByBlock and ByLayer show as colour 7.
        {0, false, {255, 255, 255}},
        {256, true, {0, 0, 0}},
    };
    for (const PaletteCase& c : cases) {
        const Rgb got = aciColor(c.index, c.light);
        EXPECT_NEAR(got.r, c.expected.r, 1) << "index " << c.index;
        EXPECT_NEAR(got.g, c.expected.g, 1) << "index " << c.index;
        EXPECT_NEAR(got.b, c.expected.b, 1) << "index " << c.index;
    }
}

class RenderEntitiesTest : public RenderFixture { };

TEST_F(RenderEntitiesTest, RedLineLiesWhereItIsAndNowhereElse)
{
    addColoured(new AcDbLine(AcGePoint3d(10, 50, 0), AcGePoint3d(90, 50, 0)), 1);
    Picture picture = draw();
    ASSERT_TRUE(picture.valid());
    EXPECT_EQ(400, picture.width());
    for (double x : {12.0, 50.0, 88.0})
        EXPECT_EQ(kRed, colourAt(picture, x, 50)) << x;
    EXPECT_EQ(kBlack, colourAt(picture, 50, 52));
    EXPECT_EQ(kBlack, colourAt(picture, 5, 50));
    // A one-pixel line the length of 80 units, four pixels each.
    EXPECT_NEAR(320, picture.countDifferent(kBlack), 4);
    EXPECT_EQ(1u, stats.entities);
}

TEST_F(RenderEntitiesTest, WhiteBackgroundTurnsColourSevenBlack)
{
    addColoured(new AcDbLine(AcGePoint3d(10, 50, 0), AcGePoint3d(90, 50, 0)), 7);
    EXPECT_EQ(kWhite, colourAt(draw("dark.png"), 50, 50));
    options.whiteBackground = true;
    Picture light = draw("light.png");
    EXPECT_EQ(kBlack, colourAt(light, 50, 50));
    EXPECT_EQ(kWhite, colourAt(light, 50, 60));
}

TEST_F(RenderEntitiesTest, ByLayerCircleTakesItsLayersColour)
{
    const AcDbObjectId green = addColouredLayer(L"GREEN", 3);
    addColoured(new AcDbCircle(AcGePoint3d(50, 50, 0), AcGeVector3d::kZAxis, 20), 256, green);
    Picture picture = draw();
    for (double a : {0.0, 0.9, 2.0, 3.14159, 4.5})
        EXPECT_EQ(kGreen, colourAt(picture, 50 + 20 * std::cos(a), 50 + 20 * std::sin(a))) << a;
    EXPECT_EQ(kBlack, colourAt(picture, 50, 50));
}

TEST_F(RenderEntitiesTest, ArcDrawsOnlyItsSweep)
{
    auto* arc = new AcDbArc(AcGePoint3d(50, 50, 0), 20, 0, 3.14159265358979 / 2);
    addColoured(arc, 1);
    Picture picture = draw();
    EXPECT_EQ(kRed, colourAt(picture, 50 + 20 * std::cos(0.7), 50 + 20 * std::sin(0.7)));
    EXPECT_EQ(kBlack, colourAt(picture, 30, 50));
    EXPECT_EQ(kBlack, colourAt(picture, 50, 30));
}

TEST_F(RenderEntitiesTest, ByBlockEntitiesTakeTheReferencesColourThroughItsTransform)
{
    // A unit line along X in the block, ByBlock; the reference at (20,30) scaled by 40, blue.
    auto* tick = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    tick->setColorIndex(0);
    const AcDbObjectId block = addBlock(L"TICK", {tick});
    auto* ref = new AcDbBlockReference(AcGePoint3d(20, 30, 0), block);
    ref->setScaleFactors(AcGeScale3d(40, 40, 1));
    addColoured(ref, 5);
    // The same block nested in another, whose reference is magenta and turned a quarter.
    auto* inner = new AcDbBlockReference(AcGePoint3d(0, 0, 0), block);
    inner->setScaleFactors(AcGeScale3d(30, 30, 1));
    inner->setColorIndex(0);
    const AcDbObjectId outer = addBlock(L"OUTER", {inner});
    auto* outerRef = new AcDbBlockReference(AcGePoint3d(80, 40, 0), outer);
    outerRef->setRotation(3.14159265358979 / 2);
    addColoured(outerRef, 6);

    Picture picture = draw();
    EXPECT_EQ(kBlue, colourAt(picture, 40, 30));
    EXPECT_EQ(kBlue, colourAt(picture, 58, 30));
    EXPECT_EQ(kBlack, colourAt(picture, 62, 30));
    EXPECT_EQ(kMagenta, colourAt(picture, 80, 55));
    EXPECT_EQ(kBlack, colourAt(picture, 95, 40));
    EXPECT_EQ(2u, stats.entities);
}

TEST_F(RenderEntitiesTest, FrozenAndOffLayersDrawNothing)
{
    struct Case {
        const wchar_t* name;
        bool frozen, off;
    };
    for (const Case& c : {Case {L"FROZEN", true, false}, Case {L"OFF", false, true}}) {
        const AcDbObjectId layer = addColouredLayer(c.name, 1);
        AcDbLayerTableRecord* record = nullptr;
        ASSERT_EQ(Acad::eOk, acdbOpenObject(record, layer, AcDb::kForWrite));
        record->setIsFrozen(c.frozen);
        record->setIsOff(c.off);
        record->close();
        addColoured(new AcDbLine(AcGePoint3d(10, 10, 0), AcGePoint3d(90, 90, 0)), 256, layer);
        addColoured(new AcDbCircle(AcGePoint3d(50, 50, 0), AcGeVector3d::kZAxis, 10), 2, layer);
    }
    Picture picture = draw();
    EXPECT_EQ(0, picture.countDifferent(kBlack));
}

TEST_F(RenderEntitiesTest, WidePolylineFillsItsBandAndBulgesBow)
{
    // A straight wide segment, then a half circle (bulge 1) bowing to the right of its run.
    auto* pline = new AcDbPolyline();
    pline->addVertexAt(0, AcGePoint2d(10, 70), 0, 8, 8);
    pline->addVertexAt(1, AcGePoint2d(50, 70), 0, 8, 8);
    addColoured(pline, 1);
    auto* arc = new AcDbPolyline();
    arc->addVertexAt(0, AcGePoint2d(30, 30), 1.0);
    arc->addVertexAt(1, AcGePoint2d(70, 30));
    addColoured(arc, 3);
    Picture picture = draw();
    EXPECT_EQ(kRed, colourAt(picture, 30, 73));
    EXPECT_EQ(kRed, colourAt(picture, 30, 67));
    EXPECT_EQ(kBlack, colourAt(picture, 30, 75));
    EXPECT_TRUE(near(picture, 50, 10, kGreen));
    EXPECT_EQ(kBlack, colourAt(picture, 50, 50));
}

TEST_F(RenderEntitiesTest, OnlyEntitiesInTheViewAreDrawn)
{
    for (int i = 0; i < 3; ++i)
        addColoured(new AcDbLine(AcGePoint3d(10, 20 + 10 * i, 0), AcGePoint3d(90, 20 + 10 * i, 0)), 1);
    addColoured(new AcDbLine(AcGePoint3d(1000, 0, 0), AcGePoint3d(1100, 0, 0)), 1);
    addColoured(new AcDbCircle(AcGePoint3d(-500, 50, 0), AcGeVector3d::kZAxis, 10), 1);
    Picture picture = draw();
    EXPECT_EQ(3u, stats.entities);
    EXPECT_EQ(kRed, colourAt(picture, 50, 40));
}

TEST_F(RenderEntitiesTest, HighlightedEntitiesAreDashed)
{
    const AcDbObjectId plain = addColoured(new AcDbLine(AcGePoint3d(10, 30, 0), AcGePoint3d(90, 30, 0)), 1);
    const AcDbObjectId lit = addColoured(new AcDbLine(AcGePoint3d(10, 70, 0), AcGePoint3d(90, 70, 0)), 1);
    options.highlighted = {lit};
    Picture picture = draw();
    auto gaps = [&](double y) {
        int count = 0;
        for (double x = 12; x < 88; x += 0.25)
            count += colourAt(picture, x, y) == kBlack ? 1 : 0;
        return count;
    };
    EXPECT_EQ(0, gaps(30));
    EXPECT_GT(gaps(70), 50);
    EXPECT_LT(gaps(70), 250);
    (void)plain;
}

TEST_F(RenderEntitiesTest, PointsShowAsDots)
{
    addColoured(new AcDbPoint(AcGePoint3d(25, 75, 0)), 2);
    Picture picture = draw();
    EXPECT_EQ((Rgb {255, 255, 0}), colourAt(picture, 25, 75));
    EXPECT_LE(picture.countDifferent(kBlack), 9);
}

} // namespace
} // namespace planroad::test
