// Pictures of how entities are styled: linetypes and their scales, lineweights, point styles, text
// styles' fonts and slant, and texts too small to read.
#include <algorithm>
#include <climits>

#include "RenderFixture.h"
#include "dbsymtb.h"

namespace planroad::test {
namespace {

using arxhost::render::Rgb;

class RenderStylesTest : public RenderFixture {
protected:
    // A linetype of the given dash lengths (drawing units; negative for gaps, 0 for dots).
    AcDbObjectId addLinetype(const std::wstring& name, const std::vector<double>& dashes)
    {
        AcDbLinetypeTable* table = nullptr;
        EXPECT_EQ(Acad::eOk, db().getLinetypeTable(table, AcDb::kForWrite));
        auto* linetype = new AcDbLinetypeTableRecord();
        linetype->setName(name.c_str());
        linetype->setNumDashes(static_cast<int>(dashes.size()));
        for (std::size_t i = 0; i < dashes.size(); ++i)
            linetype->setDashLengthAt(static_cast<int>(i), dashes[i]);
        AcDbObjectId id;
        EXPECT_EQ(Acad::eOk, table->add(id, linetype));
        linetype->close();
        table->close();
        return id;
    }

    void setVar(const std::wstring& name, const std::wstring& value)
    {
        type(L"SETVAR\n" + name + L"\n" + value + L"\n");
    }

    // The runs of one colour along a pixel row from x0 to x1: their lengths, in order.
    static std::vector<int> runs(const Picture& picture, int y, int x0, int x1, const Rgb& colour)
    {
        std::vector<int> lengths;
        int length = 0;
        for (int x = x0; x <= x1; ++x) {
            if (picture.at(x, y) == colour) {
                ++length;
            } else if (length > 0) {
                lengths.push_back(length);
                length = 0;
            }
        }
        if (length > 0)
            lengths.push_back(length);
        return lengths;
    }

    // How many rows around `y` the colour covers at column x.
    static int thickness(const Picture& picture, int x, int y, const Rgb& colour)
    {
        int rows = 0;
        for (int dy = -10; dy <= 10; ++dy)
            rows += picture.at(x, y + dy) == colour ? 1 : 0;
        return rows;
    }
};

TEST_F(RenderStylesTest, DashedLinetypeShowsItsDashesAndGapsToScale)
{
    // 5 units drawn, 2.5 skipped: 20 and 10 pixels at four pixels a unit.
    const AcDbObjectId dashed = addLinetype(L"DASHED", {5.0, -2.5});
    auto* line = new AcDbLine(AcGePoint3d(0, 50, 0), AcGePoint3d(100, 50, 0));
    line->setDatabaseDefaults(&db());
    line->setColorIndex(1);
    line->setLinetype(dashed);
    add(line);
    auto* scaled = new AcDbLine(AcGePoint3d(0, 20, 0), AcGePoint3d(100, 20, 0));
    scaled->setDatabaseDefaults(&db());
    scaled->setColorIndex(1);
    scaled->setLinetype(dashed);
    scaled->setLinetypeScale(2.0);
    add(scaled);
    Picture picture = draw();

    const auto [x0, y] = pixelOf(0.1, 50);
    std::vector<int> dashes = runs(picture, y, x0, 399, kRed);
    ASSERT_GE(dashes.size(), 10u);
    for (std::size_t i = 0; i + 1 < dashes.size(); ++i) // the last dash may be cut by the line's end
        EXPECT_NEAR(dashes[i], 20, 1) << "dash " << i;
    const std::vector<int> gaps = runs(picture, y, x0, 395, kBlack);
    EXPECT_NEAR(gaps.front(), 10, 1);

    // The entity's linetype scale doubles them.
    const int y2 = pixelOf(0, 20).second;
    dashes = runs(picture, y2, x0, 399, kRed);
    ASSERT_GE(dashes.size(), 5u);
    EXPECT_NEAR(dashes.front(), 40, 1);

    // So does the drawing's LTSCALE, for both lines.
    setVar(L"LTSCALE", L"2");
    Picture twice = draw("ltscale.png");
    EXPECT_NEAR(runs(twice, y, x0, 399, kRed).front(), 40, 1);
    EXPECT_NEAR(runs(twice, y2, x0, 399, kRed).front(), 80, 1);
}

TEST_F(RenderStylesTest, ByLayerLinetypeComesFromTheLayerAndTooFineAPatternDrawsSolid)
{
    const AcDbObjectId center = addLinetype(L"CENTER", {10.0, -2.0, 2.0, -2.0});
    const AcDbObjectId fine = addLinetype(L"FINE", {0.1, -0.1}); // under a pixel a period
    const AcDbObjectId layerId = addColouredLayer(L"中线", 3);
    AcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(layer, layerId, AcDb::kForWrite));
    layer->setLinetypeObjectId(center);
    layer->close();
    auto* onLayer = new AcDbLine(AcGePoint3d(0, 60, 0), AcGePoint3d(100, 60, 0));
    onLayer->setDatabaseDefaults(&db());
    onLayer->setLayer(layerId);
    add(onLayer); // colour and linetype ByLayer
    auto* dense = new AcDbLine(AcGePoint3d(0, 30, 0), AcGePoint3d(100, 30, 0));
    dense->setDatabaseDefaults(&db());
    dense->setColorIndex(1);
    dense->setLinetype(fine);
    add(dense);
    Picture picture = draw();

    // Long dash, gap, short dash, gap: 40, 8, 8, 8 pixels.
    const auto [x0, y] = pixelOf(0.1, 60);
    const std::vector<int> dashes = runs(picture, y, x0, 399, kGreen);
    ASSERT_GE(dashes.size(), 6u);
    EXPECT_NEAR(dashes[0], 40, 1);
    EXPECT_NEAR(dashes[1], 8, 1);
    EXPECT_NEAR(dashes[2], 40, 1);
    const std::vector<int> solid = runs(picture, pixelOf(0, 30).second, x0, 399, kRed);
    ASSERT_EQ(solid.size(), 1u);
    EXPECT_GE(solid.front(), 398);
}

TEST_F(RenderStylesTest, LineweightsShowOnlyWhenDisplayed)
{
    auto* heavy = new AcDbLine(AcGePoint3d(10, 50, 0), AcGePoint3d(90, 50, 0));
    heavy->setDatabaseDefaults(&db());
    heavy->setColorIndex(1);
    heavy->setLineWeight(static_cast<AcDb::LineWeight>(100)); // 1.00 mm
    add(heavy);
    auto* thin = new AcDbLine(AcGePoint3d(10, 20, 0), AcGePoint3d(90, 20, 0));
    thin->setDatabaseDefaults(&db());
    thin->setColorIndex(3);
    add(thin); // ByLayer: the layer's default weight, 0.25 mm
    const auto [x, y] = pixelOf(50, 50);
    const auto [xt, yt] = pixelOf(50, 20);

    Picture hidden = draw("hidden.png");
    EXPECT_EQ(thickness(hidden, x, y, kRed), 1);

    setVar(L"LWDISPLAY", L"1");
    Picture shown = draw("shown.png");
    // 1 mm at 96 pixels an inch: four pixels; 0.25 mm stays one.
    EXPECT_NEAR(thickness(shown, x, y, kRed), 4, 1);
    EXPECT_EQ(thickness(shown, xt, yt, kGreen), 1);
}

TEST_F(RenderStylesTest, PointStylesDrawTheirFigures)
{
    addColoured(new AcDbPoint(AcGePoint3d(50, 50, 0)), 2);
    const Rgb yellow {255, 255, 0};

    // Mode 3, an x, 10 units across.
    setVar(L"PDMODE", L"3");
    setVar(L"PDSIZE", L"10");
    Picture cross = draw("x.png");
    EXPECT_TRUE(near(cross, 54, 54, yellow));
    EXPECT_TRUE(near(cross, 46, 54, yellow));
    EXPECT_TRUE(near(cross, 54, 46, yellow));
    EXPECT_FALSE(near(cross, 54, 50, yellow));

    // Mode 34: a plus in a circle; the size negative: per cent of the view's 100 units.
    setVar(L"PDMODE", L"34");
    setVar(L"PDSIZE", L"-20");
    Picture circled = draw("circled.png");
    EXPECT_TRUE(near(circled, 59, 50, yellow));
    EXPECT_TRUE(near(circled, 50, 59, yellow));
    EXPECT_TRUE(near(circled, 50 + 10 * std::cos(0.6), 50 + 10 * std::sin(0.6), yellow));
    EXPECT_FALSE(near(circled, 55, 55, yellow));

    // Mode 1 shows nothing at all.
    setVar(L"PDMODE", L"1");
    Picture none = draw("none.png");
    EXPECT_EQ(none.countDifferent(kBlack), 0);
}

// The pixel box and the mean column of the ink in a band of rows.
struct Band {
    int count = 0;
    double meanX = 0;
};
Band inkBetween(const Picture& picture, int top, int bottom)
{
    Band band;
    double sum = 0;
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (Picture::differs(picture.at(x, y), {0, 0, 0}, 60)) {
                ++band.count;
                sum += x;
            }
    band.meanX = band.count > 0 ? sum / band.count : 0;
    return band;
}

TEST_F(RenderStylesTest, ObliqueTextsLeanAndStyleFontsChangeTheFace)
{
    // A tall "I": upright, its top and bottom halves lie over each other; slanted 30 degrees, the top
    // half lies to the right by about tan(30) times the half height.
    auto* upright = new AcDbText(AcGePoint3d(20, 20, 0), L"I", AcDbObjectId::kNull, 40, 0);
    const AcDbObjectId id = addColoured(upright, 7);
    Picture straight = draw("upright.png");
    const auto [left, baseline] = pixelOf(20, 20);
    const int capTop = pixelOf(20, 60).second;
    const int middle = (baseline + capTop) / 2;
    const Band top = inkBetween(straight, capTop, middle - 10);
    const Band bottom = inkBetween(straight, middle + 10, baseline);
    ASSERT_GT(top.count, 50);
    EXPECT_NEAR(top.meanX, bottom.meanX, 3);

    AcDbText* text = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(text, id, AcDb::kForWrite));
    text->setOblique(30.0 * 3.14159265358979 / 180.0);
    text->close();
    Picture slanted = draw("slanted.png");
    const Band slantTop = inkBetween(slanted, capTop, middle - 10);
    const Band slantBottom = inkBetween(slanted, middle + 10, baseline);
    // The bands' centres lie about 20 units apart in height: 80 pixels, times tan 30.
    EXPECT_NEAR(slantTop.meanX - slantBottom.meanX, (middle - capTop + baseline - middle) / 2.0 * 0.577, 12);
    (void)left;

    // A style naming an installed TrueType file draws in that face: the serif face's "I" has feet.
    AcDbTextStyleTable* styles = nullptr;
    ASSERT_EQ(Acad::eOk, db().getTextStyleTable(styles, AcDb::kForWrite));
    auto* serif = new AcDbTextStyleTableRecord();
    serif->setName(L"衬线");
    serif->setFileName(L"DejaVuSerif.ttf");
    AcDbObjectId serifId;
    ASSERT_EQ(Acad::eOk, styles->add(serifId, serif));
    serif->close();
    styles->close();
    ASSERT_EQ(Acad::eOk, acdbOpenObject(text, id, AcDb::kForWrite));
    text->setOblique(0);
    text->setTextStyle(serifId);
    text->close();
    Picture serifed = draw("serif.png");
    const Band serifFoot = inkBetween(serifed, baseline - 6, baseline);
    const Band sansFoot = inkBetween(straight, baseline - 6, baseline);
    EXPECT_GT(serifFoot.count, sansFoot.count * 2) << "no serifs at the foot of the I";
}

TEST_F(RenderStylesTest, TextsTooSmallToReadShowAsALineOfTheirLength)
{
    // Ten characters 0.25 units high (one pixel): a line about 10 x 0.6 x 0.25 units long.
    addColoured(new AcDbText(AcGePoint3d(40, 50, 0), L"ABCDEFGHIJ", AcDbObjectId::kNull, 0.25, 0), 1);
    Picture picture = draw();
    const int drawn = picture.countDifferent(kBlack);
    EXPECT_NEAR(drawn, 10 * 0.6 * 0.25 * 4, 2);
    const auto [x, y] = pixelOf(40.2, 50.125);
    EXPECT_TRUE(picture.at(x, y) == kRed || picture.at(x, y + 1) == kRed || picture.at(x, y - 1) == kRed);
}

} // namespace
} // namespace planroad::test
