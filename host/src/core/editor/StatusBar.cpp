// The progress meter.
#include "editor/StatusBar.h"

#include <algorithm>
#include <ostream>

#include "text/Utf8.h"

namespace arxhost {

namespace {
constexpr int kBarWidth = 30;
} // namespace

StatusBar::StatusBar(std::ostream& out, bool terminal)
    : mOut(out)
    , mTerminal(terminal)
{
}

int StatusBar::start(const std::wstring& label, int minPos, int maxPos)
{
    if (maxPos < minPos)
        return -1;
    if (mActive)
        restore();
    mActive = true;
    mLabel = label;
    mMin = minPos;
    mMax = maxPos;
    mPos = minPos;
    mMoves = 0;
    mDrawnPercent = -1;
    draw();
    return 0;
}

int StatusBar::setPosition(int pos)
{
    if (!mActive)
        return -1;
    mPos = pos < 0 ? mPos - pos : pos;
    ++mMoves;
    draw();
    return 0;
}

void StatusBar::draw()
{
    if (!mTerminal)
        return;
    const int span = std::max(mMax - mMin, 1);
    const int percent = std::clamp((mPos - mMin) * 100 / span, 0, 100);
    if (percent == mDrawnPercent)
        return;
    mDrawnPercent = percent;
    const int filled = percent * kBarWidth / 100;
    mOut << '\r' << toUtf8(mLabel) << " [" << std::string(static_cast<std::size_t>(filled), '#')
         << std::string(static_cast<std::size_t>(kBarWidth - filled), '.') << "] " << percent << '%';
    mOut.flush();
}

void StatusBar::restore()
{
    if (!mActive)
        return;
    mActive = false;
    if (mTerminal) {
        mOut << '\r' << std::string(toUtf8(mLabel).size() + kBarWidth + 10, ' ') << '\r';
    } else {
        const int done = std::clamp(mPos - mMin + 1, 0, mMax - mMin + 1);
        mOut << toUtf8(mLabel) << ' ' << done << '/' << (mMax - mMin + 1) << '\n';
    }
    mOut.flush();
}

} // namespace arxhost
