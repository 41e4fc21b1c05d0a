// The status bar's progress meter: a live bar on a terminal, one closing line otherwise.
#pragma once

#include <iosfwd>
#include <string>

namespace arxhost {

class StatusBar {
public:
    StatusBar(std::ostream& out, bool terminal);

    // acedSetStatusBarProgressMeter: 0, or -1 for a range that is empty the wrong way round.
    int start(const std::wstring& label, int minPos, int maxPos);
    // acedSetStatusBarProgressMeterPos: an absolute position, or a relative step when negative.
    int setPosition(int pos);
    // acedRestoreStatusBar: the meter goes; without a terminal a summary line is written.
    void restore();
    bool active() const { return mActive; }
    int position() const { return mPos; }
    // How often the meter was moved since it was shown (tests check long work reports progress).
    int moves() const { return mMoves; }

private:
    void draw();
    std::ostream& mOut;
    bool mTerminal;
    bool mActive = false;
    std::wstring mLabel;
    int mMin = 0;
    int mMax = 0;
    int mPos = 0;
    int mMoves = 0;
    int mDrawnPercent = -1;
};

} // namespace arxhost
