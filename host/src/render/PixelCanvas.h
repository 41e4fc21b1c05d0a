// Hairlines written straight into a picture's pixels: one pixel wide, not smoothed, solid or dashed, as
// the host's screen draws its thin geometry. Much faster than a general path stroker for the hundreds of
// thousands of short lines of a city drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "render/AciPalette.h"

namespace arxhost::render {

class PixelCanvas {
public:
    // Pixels as 32-bit words 0x00RRGGBB, `stride` bytes from one row to the next.
    PixelCanvas(std::uint32_t* pixels, int width, int height, int stride);

    void setColor(const Rgb& color);
    // Alternating drawn and skipped lengths in pixels, starting with a drawn one; empty or all drawn is
    // solid. A pattern whose period is under two pixels draws solid: it could not be seen.
    void setDashes(std::vector<double> onOff);

    // A path of straight segments in pixel coordinates (x right, y down); the dash pattern runs on from
    // segment to segment and starts afresh with each path.
    void moveTo(double x, double y);
    void lineTo(double x, double y);
    // One pixel.
    void dot(double x, double y);

private:
    void segment(double x0, double y0, double x1, double y1);
    void plot(int x, int y)
    {
        if (x >= 0 && y >= 0 && x < mWidth && y < mHeight)
            mRows[static_cast<std::ptrdiff_t>(y) * mStride + x] = mColor;
    }
    // Whether the pattern draws at `distance` along the path.
    bool drawnAt(double distance) const;

    std::uint32_t* mRows;
    int mWidth;
    int mHeight;
    std::ptrdiff_t mStride; // in pixels
    std::uint32_t mColor = 0;
    std::vector<double> mDashes;
    double mPeriod = 0;
    double mX = 0, mY = 0;
    double mTravelled = 0; // along the current path, for the dash pattern
};

} // namespace arxhost::render
