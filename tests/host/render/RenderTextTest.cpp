// Pictures of texts: the alignment modes put the text where the host puts it, and Chinese shows as glyphs.
#include <algorithm>
#include <climits>

#include "RenderFixture.h"
#include "dbdim.h"

namespace planroad::test {
namespace {

using arxhost::render::Rgb;

// The pixel box of everything that is not background.
struct Ink {
    int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN, count = 0;
};
Ink inkOf(const Picture& picture, const Rgb& background)
{
    Ink ink;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (Picture::differs(picture.at(x, y), background, 60)) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
                ++ink.count;
            }
    return ink;
}

class RenderTextTest : public RenderFixture {
protected:
    AcDbObjectId addText(const wchar_t* text, AcDb::TextHorzMode h, AcDb::TextVertMode v,
        const AcGePoint3d& at, double height, int colour = 7)
    {
        auto* t = new AcDbText(at, text, AcDbObjectId::kNull, height, 0);
        t->setHorizontalMode(h);
        t->setVerticalMode(v);
        if (h != AcDb::kTextLeft || v != AcDb::kTextBase)
            t->setAlignmentPoint(at);
        return addColoured(t, colour);
    }
};

TEST_F(RenderTextTest, HorizontalModesPlaceTheTextAtItsAlignmentPoint)
{
    struct Case {
        AcDb::TextHorzMode mode;
        const char* name;
    };
    const auto [anchorX, anchorY] = pixelOf(50, 50);
    for (const Case& c : {Case {AcDb::kTextLeft, "left"}, Case {AcDb::kTextCenter, "centre"},
             Case {AcDb::kTextRight, "right"}}) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        addText(L"ROAD 12", c.mode, AcDb::kTextBase, AcGePoint3d(50, 50, 0), 5);
        const Ink ink = inkOf(draw(), kBlack);
        ASSERT_GT(ink.count, 100);
        // Capitals 5 units (20 pixels) high standing on the baseline.
        EXPECT_NEAR(anchorY, ink.bottom, 2);
        EXPECT_NEAR(20, ink.bottom - ink.top, 3);
        const int width = ink.right - ink.left;
        EXPECT_GT(width, 60);
        switch (c.mode) {
        case AcDb::kTextLeft:
            EXPECT_NEAR(anchorX, ink.left, 3);
            break;
        case AcDb::kTextCenter:
            EXPECT_NEAR(anchorX, (ink.left + ink.right) / 2, 3);
            break;
        default:
            EXPECT_NEAR(anchorX, ink.right, 3);
            break;
        }
    }
}

TEST_F(RenderTextTest, VerticalModesAndWidthFactor)
{
    const auto [anchorX, anchorY] = pixelOf(50, 50);
    addText(L"HX", AcDb::kTextLeft, AcDb::kTextTop, AcGePoint3d(50, 50, 0), 5);
    const Ink top = inkOf(draw("top.png"), kBlack);
    EXPECT_NEAR(anchorY, top.top, 2);
    TearDown();
    SetUp();
    addText(L"HX", AcDb::kTextMid, AcDb::kTextBase, AcGePoint3d(50, 50, 0), 5);
    const Ink mid = inkOf(draw("mid.png"), kBlack);
    EXPECT_NEAR(anchorY, (mid.top + mid.bottom) / 2, 2);
    EXPECT_NEAR(anchorX, (mid.left + mid.right) / 2, 2);
    // Twice as wide at the width factor 2.
    TearDown();
    SetUp();
    auto* wide = new AcDbText(AcGePoint3d(20, 50, 0), L"HX", AcDbObjectId::kNull, 5, 0);
    wide->setWidthFactor(2.0);
    addColoured(wide, 7);
    const Ink stretched = inkOf(draw("wide.png"), kBlack);
    EXPECT_NEAR(2.0 * (mid.right - mid.left), stretched.right - stretched.left, 4);
}

TEST_F(RenderTextTest, RotatedTextRunsUpwards)
{
    addColoured(
        new AcDbText(AcGePoint3d(50, 20, 0), L"NORTH", AcDbObjectId::kNull, 5, 3.14159265358979 / 2), 7);
    const Ink ink = inkOf(draw(), kBlack);
    EXPECT_GT(ink.bottom - ink.top, 2 * (ink.right - ink.left));
    EXPECT_NEAR(pixelOf(50, 20).second, ink.bottom, 3);
    EXPECT_LE(ink.right, pixelOf(50, 20).first + 2);
}

TEST_F(RenderTextTest, ChineseTextDrawsGlyphsNotBoxes)
{
    options.whiteBackground = true;
    addText(L"道路中心线", AcDb::kTextLeft, AcDb::kTextBase, AcGePoint3d(10, 50, 0), 10);
    Picture chinese = draw("chinese.png");
    const Ink ink = inkOf(chinese, kWhite);
    EXPECT_EQ(0, stats.unknownGlyphs);
    ASSERT_GT(ink.count, 500);
    // Dark glyphs (colour 7 on white), five characters wide.
    const int dark = chinese.width() * chinese.height() - chinese.countDifferent(kBlack, 80);
    EXPECT_GT(dark, 300);
    EXPECT_GT(ink.right - ink.left, 150);

    // Characters no font has are boxes: the renderer counts them, and they look different.
    TearDown();
    SetUp();
    options.whiteBackground = true;
    addText(L"\U0010FFF0\U0010FFF1\U0010FFF2\U0010FFF3\U0010FFF4", AcDb::kTextLeft, AcDb::kTextBase,
        AcGePoint3d(10, 50, 0), 10);
    Picture boxes = draw("boxes.png");
    EXPECT_EQ(5, stats.unknownGlyphs);
    int different = 0;
    for (int y = ink.top; y <= ink.bottom; ++y)
        for (int x = ink.left; x <= ink.right; ++x)
            different += Picture::differs(chinese.at(x, y), boxes.at(x, y), 100) ? 1 : 0;
    EXPECT_GT(different, ink.count / 3);
}

TEST_F(RenderTextTest, RadialDimensionDrawsLeaderArrowAndText)
{
    auto* dim = new AcDbRadialDimension(AcGePoint3d(30, 50, 0), AcGePoint3d(50, 50, 0), 20, L"R20");
    addColoured(dim, 1);
    Picture picture = draw();
    // The leader from the chord point outwards, its arrow at the chord point, the text past its end.
    EXPECT_EQ(kRed, colourAt(picture, 60, 50));
    EXPECT_EQ(kRed, colourAt(picture, 52, 50.2));
    int textInk = 0;
    for (int y = pixelOf(0, 55).second; y < pixelOf(0, 45).second; ++y)
        for (int x = pixelOf(71, 0).first; x < 400; ++x)
            textInk += Picture::differs(picture.at(x, y), kBlack, 60) ? 1 : 0;
    EXPECT_GT(textInk, 20);
    EXPECT_EQ(kBlack, colourAt(picture, 20, 50));
}

} // namespace
} // namespace planroad::test
