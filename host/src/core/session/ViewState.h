// The drawing view of the headless screen: centre, height, and the stack that "ZOOM P" walks back.
#pragma once

#include <deque>

#include "gepnt3d.h"

namespace arxhost {

class ViewState {
public:
    // The screen the view is shown on, in pixels (the pick box is measured on it).
    static constexpr int kScreenWidth = 1600;
    static constexpr int kScreenHeight = 1000;
    static constexpr std::size_t kPreviousViews = 10;

    AcGePoint3d center() const { return mCenter; }
    double height() const { return mHeight; }
    double width() const { return mHeight * kScreenWidth / kScreenHeight; }
    // Drawing units per screen pixel.
    double unitsPerPixel() const { return mHeight / kScreenHeight; }
    bool contains(const AcGePoint3d& wcsPoint) const;

    // Shows the window spanned by two corners (the larger of its sides fits the screen).
    void zoomWindow(const AcGePoint3d& a, const AcGePoint3d& b);
    void zoomCenter(const AcGePoint3d& center, double height);
    void zoomScale(double factor);
    // Goes back to the view before the last zoom; false when there is none.
    bool previous();
    void reset(const AcGePoint3d& center, double height);

private:
    void push();
    AcGePoint3d mCenter {210, 148.5, 0};
    double mHeight = 297;
    std::deque<std::pair<AcGePoint3d, double>> mPrevious;
};

} // namespace arxhost
