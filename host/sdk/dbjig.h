// AcEdJig: dragging entities under the cursor until the user accepts a point.
#pragma once

#include <string>

#include "dbmain.h"

class AcEdJig {
public:
    enum UserInputControls {
        kGovernedByOrthoMode = 0x000001,
        kNullResponseAccepted = 0x000002,
        kDontEchoCancelForCtrlC = 0x000004,
        kDontUpdateLastPoint = 0x000008,
        kNoDwgLimitsChecking = 0x000010,
        kNoZeroResponseAccepted = 0x000020,
        kNoNegativeResponseAccepted = 0x000040,
        kAccept3dCoordinates = 0x000080,
        kAcceptMouseUpAsPoint = 0x000100,
        kAnyBlankTerminatesInput = 0x000200,
        kInitialBlankTerminatesInput = 0x000400,
        kAcceptOtherInputString = 0x000800
    };
    enum DragStatus {
        kModeless = -17,
        kNoChange = -6,
        kCancel = -4,
        kOther = -3,
        kNull = -1,
        kNormal = 0,
        kKW1 = 1,
        kKW2 = 2,
        kKW3 = 3,
        kKW4 = 4,
        kKW5 = 5,
        kKW6 = 6,
        kKW7 = 7,
        kKW8 = 8,
        kKW9 = 9
    };
    enum CursorType { kNoSpecialCursor = -1, kCrosshair = 0, kRectCursor = 1, kRubberBand = 2 };

    AcEdJig();
    virtual ~AcEdJig();
    AcEdJig(const AcEdJig&) = delete;
    AcEdJig& operator=(const AcEdJig&) = delete;

    // Runs the drag: sampler() and update() for every cursor move until a point is accepted
    // (kNormal), Enter (kNull), a keyword (kKW1...) or cancel (kCancel).
    DragStatus drag();
    virtual DragStatus sampler();
    virtual Adesk::Boolean update();
    virtual AcDbEntity* entity() const;
    AcDbObjectId append();

    const ACHAR* dispPrompt() const;
    void setDispPrompt(const ACHAR* prompt, ...);
    const ACHAR* keywordList() const;
    void setKeywordList(const ACHAR* kwl);
    UserInputControls userInputControls() const { return mControls; }
    void setUserInputControls(UserInputControls controls) { mControls = controls; }
    CursorType specialCursorType() const { return mCursor; }
    void setSpecialCursorType(CursorType type) { mCursor = type; }

    DragStatus acquirePoint(AcGePoint3d& point);
    DragStatus acquirePoint(AcGePoint3d& point, const AcGePoint3d& basePnt);
    DragStatus acquireDist(double& distance);
    DragStatus acquireDist(double& distance, const AcGePoint3d& basePnt);
    DragStatus acquireAngle(double& angle);
    DragStatus acquireAngle(double& angle, const AcGePoint3d& basePnt);

private:
    std::wstring mPrompt;
    std::wstring mKeywords;
    UserInputControls mControls = kGovernedByOrthoMode;
    CursorType mCursor = kNoSpecialCursor;
};
