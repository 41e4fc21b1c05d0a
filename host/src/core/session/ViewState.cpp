// The drawing view.
#include "session/ViewState.h"

#include <algorithm>
#include <cmath>

namespace arxhost {

bool ViewState::contains(const AcGePoint3d& p) const
{
    return std::fabs(p.x - mCenter.x) <= width() / 2 && std::fabs(p.y - mCenter.y) <= mHeight / 2;
}

void ViewState::push()
{
    mPrevious.emplace_back(mCenter, mHeight);
    if (mPrevious.size() > kPreviousViews)
        mPrevious.pop_front();
}

void ViewState::zoomWindow(const AcGePoint3d& a, const AcGePoint3d& b)
{
    double dx = std::fabs(b.x - a.x);
    double dy = std::fabs(b.y - a.y);
    double height = std::max(dy, dx * kScreenHeight / kScreenWidth);
    if (!(height > 0))
        height = mHeight;
    push();
    mCenter = AcGePoint3d((a.x + b.x) / 2, (a.y + b.y) / 2, 0);
    mHeight = height;
}

void ViewState::zoomCenter(const AcGePoint3d& center, double height)
{
    push();
    mCenter = AcGePoint3d(center.x, center.y, 0);
    if (height > 0)
        mHeight = height;
}

void ViewState::zoomScale(double factor)
{
    if (!(factor > 0))
        return;
    push();
    mHeight /= factor;
}

bool ViewState::previous()
{
    if (mPrevious.empty())
        return false;
    mCenter = mPrevious.back().first;
    mHeight = mPrevious.back().second;
    mPrevious.pop_back();
    return true;
}

void ViewState::reset(const AcGePoint3d& center, double height)
{
    mPrevious.clear();
    mCenter = center;
    mHeight = height > 0 ? height : 297;
}

} // namespace arxhost
