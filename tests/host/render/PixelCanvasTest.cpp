// Hairlines written into pixels: where they go, how far-away ends are clipped, how dashes run on.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render/PixelCanvas.h"

namespace {

using arxhost::render::PixelCanvas;

class Canvas {
public:
    Canvas(int width, int height)
        : mWidth(width)
        , mPixels(static_cast<std::size_t>(width) * height, 0)
        , mCanvas(mPixels.data(), width, height, width * 4)
    {
        mCanvas.setColor({255, 0, 0});
    }
    PixelCanvas& draw() { return mCanvas; }
    std::uint32_t value(int x, int y) const { return mPixels[static_cast<std::size_t>(y) * mWidth + x]; }
    bool lit(int x, int y) const { return value(x, y) != 0; }
    int litCount() const
    {
        int n = 0;
        for (std::uint32_t p : mPixels)
            n += p != 0 ? 1 : 0;
        return n;
    }

private:
    int mWidth;
    std::vector<std::uint32_t> mPixels;
    PixelCanvas mCanvas;
};

TEST(PixelCanvas, LinesCoverTheirPixelsFromEndToEnd)
{
    Canvas c(20, 20);
    c.draw().moveTo(2.5, 3.5);
    c.draw().lineTo(12.5, 3.5);
    for (int x = 2; x <= 12; ++x)
        EXPECT_TRUE(c.lit(x, 3)) << x;
    EXPECT_EQ(c.litCount(), 11);

    Canvas d(20, 20);
    d.draw().moveTo(1.5, 1.5);
    d.draw().lineTo(15.5, 15.5);
    for (int i = 1; i <= 15; ++i)
        EXPECT_TRUE(d.lit(i, i)) << i;
    EXPECT_EQ(d.litCount(), 15);
    // Cairo's pixel word: 0x00RRGGBB.
    d.draw().setColor({0x12, 0x34, 0x56});
    d.draw().dot(0.2, 19.9);
    EXPECT_EQ(d.value(0, 19), 0x123456u);
}

TEST(PixelCanvas, FarAwayEndsAreClippedWithoutLosingTheVisiblePart)
{
    // A line across a zoomed-in view whose ends lie a hundred million pixels away.
    Canvas c(50, 10);
    c.draw().moveTo(-1e8, 4.5);
    c.draw().lineTo(1e8, 4.5);
    for (int x = 0; x < 50; ++x)
        EXPECT_TRUE(c.lit(x, 4)) << x;
    EXPECT_EQ(c.litCount(), 50);

    // Steep and far: still one pixel a row, within a pixel of where the line crosses that row.
    Canvas d(10, 50);
    d.draw().moveTo(5.5 - 1e7, -1e9);
    d.draw().lineTo(5.5 + 1e7, 1e9);
    EXPECT_EQ(d.litCount(), 50);
    for (int y = 0; y < 50; ++y) {
        const int exact = static_cast<int>(std::floor(5.5 + 0.01 * (y + 0.5)));
        EXPECT_TRUE(d.lit(exact, y) || d.lit(exact - 1, y) || d.lit(exact + 1, y)) << y;
    }

    // Wholly outside, and not a number: nothing, and no crash.
    Canvas e(10, 10);
    e.draw().moveTo(-100, -100);
    e.draw().lineTo(-50, 200);
    e.draw().moveTo(NAN, 3);
    e.draw().lineTo(5, 5);
    e.draw().dot(INFINITY, 2);
    EXPECT_EQ(e.litCount(), 0);
}

TEST(PixelCanvas, DashesRunOnFromSegmentToSegmentAndRestartWithAPath)
{
    Canvas c(100, 10);
    c.draw().setDashes({6, 4});
    // Two segments meeting at x = 13: the pattern does not restart there.
    c.draw().moveTo(0.5, 2.5);
    c.draw().lineTo(13.5, 2.5);
    c.draw().lineTo(40.5, 2.5);
    std::vector<bool> row;
    for (int x = 0; x <= 40; ++x)
        row.push_back(c.lit(x, 2));
    for (int x = 0; x <= 40; ++x) {
        const bool expected = x % 10 < 6;
        EXPECT_EQ(row[static_cast<std::size_t>(x)], expected) << x;
    }
    // A new path starts with a dash again.
    c.draw().moveTo(3.5, 6.5);
    c.draw().lineTo(20.5, 6.5);
    EXPECT_TRUE(c.lit(3, 6));
    EXPECT_TRUE(c.lit(8, 6));
    EXPECT_FALSE(c.lit(10, 6));

    // A clipped start keeps the phase: the dash pattern of a line entering from the left lines up with
    // the same line drawn whole.
    Canvas whole(100, 10);
    whole.draw().setDashes({6, 4});
    whole.draw().moveTo(0.5, 2.5);
    whole.draw().lineTo(99.5, 2.5);
    Canvas clipped(100, 10);
    clipped.draw().setDashes({6, 4});
    clipped.draw().moveTo(-39.5, 2.5);
    clipped.draw().lineTo(59.5, 2.5);
    for (int x = 0; x < 59; ++x)
        EXPECT_EQ(clipped.lit(x, 2), whole.lit(x + 40, 2)) << x;
}

TEST(PixelCanvas, PatternsFinerThanTwoPixelsOrWithoutGapsDrawSolid)
{
    for (const std::vector<double>& dashes :
        {std::vector<double> {0.5, 0.5}, std::vector<double> {5, 0}, std::vector<double> {}}) {
        Canvas c(30, 3);
        c.draw().setDashes(dashes);
        c.draw().moveTo(0.5, 1.5);
        c.draw().lineTo(29.5, 1.5);
        EXPECT_EQ(c.litCount(), 30);
    }
}

} // namespace
