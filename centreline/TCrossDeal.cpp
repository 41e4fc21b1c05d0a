// The T-junction repair "TCrossDeal": brings a dead-end centreline onto the through centreline it meets and
// breaks the through road's centreline, side lines and red lines at the junction.
#include "StdAfx.h"

#include <algorithm>
#include <optional>

#include "CommandHandlers.h"
#include "DrawingToolkit.h"
#include "RoadBaseLibrary.h"

namespace {

// Every run starts from this tolerance; "S" changes it for the run only.
constexpr double kDefaultTolerance = 5.0;

const ACHAR* const kDeadEndPrompt = _T("\n选择T形路口的断头中线[容差设置(S)/回退(U)]:");
const ACHAR* const kTolerancePrompt = _T("\n输入容差<%.2f>:");
const ACHAR* const kThroughPrompt = _T("\n选择T形路口的贯穿中线:");
const ACHAR* const kNotCentreline = _T("\n该对象不是道路中线,请重新选择!");

// What the first question ended with.
enum class DeadEndAnswer { Picked, Undo, End };

// Asks for the dead-end centreline until one is picked; "S" sets the tolerance on the way (Enter keeps
// it), "U" asks for the previous repair to be undone. Esc, Enter or a cancelled tolerance end the run.
DeadEndAnswer AskDeadEnd(double& tolerance, AcDbObjectId& deadEndId)
{
    for (;;) {
        tarn::CFEntsel pick(kDeadEndPrompt, _T("*"), _T("*"), _T(""), _T(""));
        pick.SetInitKword(_T("S U"));
        const int status = pick.FEntsel();
        if (status == 1) {
            deadEndId = pick.GetSelEnt();
            if (CRoadXdata::IsRoadByXdata(deadEndId) != 0)
                return DeadEndAnswer::Picked;
            acutPrintf(kNotCentreline);
            continue;
        }
        if (status != 2)
            return DeadEndAnswer::End;
        if (pick.GetSelKword().CompareNoCase(_T("S")) != 0)
            return DeadEndAnswer::Undo;
        CString prompt;
        prompt.Format(kTolerancePrompt, tolerance);
        double value = tolerance;
        const int result = acedGetReal(prompt, &value);
        if (result == RTNORM)
            tolerance = value;
        else if (result != RTNONE)
            return DeadEndAnswer::End;
    }
}

// Asks for the through centreline until a centreline is picked; false when the pick is given up.
bool AskThrough(AcDbObjectId& throughId)
{
    for (;;) {
        if (tarn::ent::SelectEnt(throughId, kThroughPrompt) == 0)
            return false;
        if (CRoadXdata::IsRoadByXdata(throughId) != 0)
            return true;
        acutPrintf(kNotCentreline);
    }
}

// Keeps the picked centrelines highlighted while the run lasts.
class CPickedHighlight {
public:
    CPickedHighlight() = default;
    ~CPickedHighlight() { tarn::ent::UnHighLight(m_ids); }
    CPickedHighlight(const CPickedHighlight&) = delete;
    CPickedHighlight& operator=(const CPickedHighlight&) = delete;
    void Add(AcDbObjectId id)
    {
        m_ids.append(id);
        tarn::ent::HighLight(id);
    }

private:
    AcDbObjectIdArray m_ids;
};

// Erases the lengthened copy of the dead end when the run ends, however it ends.
class CProbeEraser {
public:
    explicit CProbeEraser(AcDbObjectId id)
        : m_id(id)
    {
    }
    ~CProbeEraser() { tarn::ent::Erase(m_id); }
    CProbeEraser(const CProbeEraser&) = delete;
    CProbeEraser& operator=(const CProbeEraser&) = delete;

private:
    AcDbObjectId m_id;
};

// Zooms to the window of two UCS corners when either lies outside the view, and back when it goes.
class CZoomToJunction {
public:
    CZoomToJunction(const AcGePoint3d& low, const AcGePoint3d& high)
        : m_zoomed(!tarn::cad::IsPtInView(low) || !tarn::cad::IsPtInView(high))
    {
        if (!m_zoomed)
            return;
        const ads_point a = {low.x, low.y, low.z};
        const ads_point b = {high.x, high.y, high.z};
        acedCommand(RTSTR, _T("ZOOM"), RTSTR, _T("W"), RT3DPOINT, a, RT3DPOINT, b, RTNONE);
    }
    ~CZoomToJunction()
    {
        if (m_zoomed)
            acedCommand(RTSTR, _T("ZOOM"), RTSTR, _T("P"), RTNONE);
    }
    CZoomToJunction(const CZoomToJunction&) = delete;
    CZoomToJunction& operator=(const CZoomToJunction&) = delete;

private:
    bool m_zoomed;
};

// Distances from the curve's start and end to the point; false when the curve has no ends.
bool EndDistances(AcDbObjectId id, const AcGePoint3d& point, double& fromStart, double& fromEnd)
{
    AcGePoint3d start;
    AcGePoint3d end;
    if (tarn::ent::GetStartEndPt(id, start, end) == 0)
        return false;
    fromStart = tarn::FCurveTran::GetDist(start, point);
    fromEnd = tarn::FCurveTran::GetDist(end, point);
    return true;
}

// Breaks the through road's side and red lines found around the junction, and the through centreline,
// where the probe crosses them.
void BreakThroughRoad(AcDbObjectId probeId, AcDbObjectId throughId, const AcGePoint3d& low,
    const AcGePoint3d& high, resbuf* filter, double tolerance)
{
    AcDbObjectIdArray targets;
    {
        tarn::CFArxSelSet selection;
        if (selection.crossingSelect(low, high, filter) == tarn::CFArxSelSet::kSelected)
            selection.asArray(targets);
    }
    acutRelRb(filter);
    targets.append(throughId);
    AcDbObjectIdArray cutters;
    cutters.append(probeId);
    BreakEnt(cutters, targets, tolerance);
}

// Fits the through centreline's end to the probe when exactly one of its ends lies within the tolerance
// of the junction (BreakEnt leaves such an end alone).
void FitThroughEnd(
    AcDbObjectId throughId, AcDbObjectId probeId, const AcGePoint3d& junction, double tolerance)
{
    double d1 = 0.0;
    double d2 = 0.0;
    if (!EndDistances(throughId, junction, d1, d2))
        return;
    if (d1 < tolerance && d2 > tolerance)
        makeExorSh(throughId, probeId, 0);
    else if (d2 < tolerance && d1 > tolerance)
        makeExorSh(throughId, probeId, 1);
}

// Brings the dead end's nearer end (the end one on a tie) onto the through centreline: trimmed or
// extended to it when the two meet, else its end vertex moved to the junction.
void FitDeadEnd(AcDbObjectId deadEndId, AcDbObjectId throughId, const AcGePoint3d& junction)
{
    double e1 = 0.0;
    double e2 = 0.0;
    if (!EndDistances(deadEndId, junction, e1, e2))
        return;
    const int nearEnd = e2 <= e1 ? 1 : 0;
    AcGePoint3dArray points;
    if (JudgeIntersect(deadEndId, throughId, points) != 0)
        makeExorSh(deadEndId, throughId, nearEnd);
    else
        tarn_dl_change2dPline(deadEndId, junction, nearEnd);
}

// One repair of a picked pair. The probe (the dead end lengthened at both ends by the wider road's
// width) finds the junction on the through centreline and cuts the through road there.
void RepairJunction(AcDbObjectId deadEndId, AcDbObjectId throughId, double tolerance)
{
    const double length = std::max(CRoadXdata::GetRoadWidth(deadEndId), CRoadXdata::GetRoadWidth(throughId));
    const AcDbObjectId probeId = tarn::ent::Copy(deadEndId);
    if (probeId.isNull())
        return;
    // Declared before the eraser: the probe goes first, then the view comes back.
    std::optional<CZoomToJunction> zoom;
    const CProbeEraser eraser(probeId);
    tarn::CFEntLengthen::Lengthen(probeId, length, tarn::CFEntLengthen::EXTEND_BOTH);

    AcDbObjectIdArray pair;
    pair.append(throughId);
    pair.append(probeId);
    AcGePoint3d low;
    AcGePoint3d high;
    tarn::ent::GetSSRect(pair, low, high);
    low = tarn::geo::Wcs2ucs(low);
    high = tarn::geo::Wcs2ucs(high);

    CString layers;
    layers.Format(
        _T("%s,%s"), RoadGreenLineOpr::GetBXLayer().GetString(), RoadGreenLineOpr::GetRXLayer().GetString());
    resbuf* filter = acutBuildList(8, layers.GetString(), RTNONE);
    if (filter == nullptr)
        return;

    zoom.emplace(low, high);
    AcGePoint3dArray points;
    if (JudgeIntersect(probeId, throughId, points) == 0 || points.isEmpty()) {
        acutRelRb(filter);
        return;
    }
    const AcGePoint3d junction = points[0];
    BreakThroughRoad(probeId, throughId, low, high, filter, tolerance);
    FitThroughEnd(throughId, probeId, junction, tolerance);
    FitDeadEnd(deadEndId, throughId, junction);
}

} // namespace

void TCrossDealCommand()
{
    double tolerance = kDefaultTolerance;
    AcDbObjectId deadEndId;
    switch (AskDeadEnd(tolerance, deadEndId)) {
    case DeadEndAnswer::Picked:
        break;
    case DeadEndAnswer::Undo:
        // The first UNDO takes back this command's own (empty) step, the second the previous repair.
        acedCommand(RTSTR, _T("UNDO"), RTSTR, _T(""), RTNONE);
        acedCommand(RTSTR, _T("UNDO"), RTSTR, _T(""), RTNONE);
        return;
    case DeadEndAnswer::End:
        return;
    }

    CPickedHighlight highlight;
    highlight.Add(deadEndId);
    AcDbObjectId throughId;
    if (!AskThrough(throughId))
        return;
    highlight.Add(throughId);
    RepairJunction(deadEndId, throughId, tolerance);
}
