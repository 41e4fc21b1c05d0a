// Clipped Bresenham lines with a dash pattern measured along the path.
#include "render/PixelCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace arxhost::render {

PixelCanvas::PixelCanvas(std::uint32_t* pixels, int width, int height, int stride)
    : mRows(pixels)
    , mWidth(width)
    , mHeight(height)
    , mStride(stride / static_cast<int>(sizeof(std::uint32_t)))
{
}

void PixelCanvas::setColor(const Rgb& color)
{
    mColor
        = (static_cast<std::uint32_t>(color.r) << 16) | (static_cast<std::uint32_t>(color.g) << 8) | color.b;
}

void PixelCanvas::setDashes(std::vector<double> onOff)
{
    for (double& d : onOff)
        d = std::abs(d);
    if (onOff.size() % 2 == 1)
        onOff.push_back(0.0);
    const double period = std::accumulate(onOff.begin(), onOff.end(), 0.0);
    double skipped = 0;
    for (std::size_t i = 1; i < onOff.size(); i += 2)
        skipped += onOff[i];
    if (period < 2.0 || skipped <= 0.0) {
        mDashes.clear();
        mPeriod = 0;
        return;
    }
    mDashes = std::move(onOff);
    mPeriod = period;
}

bool PixelCanvas::drawnAt(double distance) const
{
    double at = std::fmod(distance, mPeriod);
    for (std::size_t i = 0; i < mDashes.size(); ++i) {
        if (at < mDashes[i])
            return i % 2 == 0;
        at -= mDashes[i];
    }
    return true;
}

void PixelCanvas::moveTo(double x, double y)
{
    mX = x;
    mY = y;
    mTravelled = 0;
}

void PixelCanvas::lineTo(double x, double y)
{
    segment(mX, mY, x, y);
    mTravelled += std::hypot(x - mX, y - mY);
    mX = x;
    mY = y;
}

void PixelCanvas::dot(double x, double y)
{
    if (std::isfinite(x) && std::isfinite(y) && std::abs(x) < 1e9 && std::abs(y) < 1e9)
        plot(static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)));
}

void PixelCanvas::segment(double x0, double y0, double x1, double y1)
{
    if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1))
        return;
    // Liang-Barsky against the picture with a pixel of margin, so that integer arithmetic never sees the
    // far-away coordinates of a zoomed-in drawing.
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 + 1, mWidth - x0, y0 + 1, mHeight - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return;
    }
    const double length = std::hypot(dx, dy);
    int x = static_cast<int>(std::floor(x0 + t0 * dx));
    int y = static_cast<int>(std::floor(y0 + t0 * dy));
    const int xEnd = static_cast<int>(std::floor(x0 + t1 * dx));
    const int yEnd = static_cast<int>(std::floor(y0 + t1 * dy));
    const int adx = std::abs(xEnd - x);
    const int ady = -std::abs(yEnd - y);
    const int sx = x < xEnd ? 1 : -1;
    const int sy = y < yEnd ? 1 : -1;
    // Dashed, a pixel's place in the pattern is how far along the path its centre lies.
    const bool solid = mPeriod <= 0;
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const double perPixel = length / (alongX ? dx : dy);
    const double origin = alongX ? x0 : y0;
    int err = adx + ady;
    for (;;) {
        if (solid || drawnAt(mTravelled + ((alongX ? x : y) + 0.5 - origin) * perPixel))
            plot(x, y);
        if (x == xEnd && y == yEnd)
            break;
        const int e2 = 2 * err;
        if (e2 >= ady) {
            err += ady;
            x += sx;
        }
        if (e2 <= adx) {
            err += adx;
            y += sy;
        }
    }
}

} // namespace arxhost::render
