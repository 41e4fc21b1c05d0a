// The three lookups of the corner-cut check: the red lines a corner cut joins, its actual value, and
// the standard value of the roads meeting at it.
#include "StdAfx.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "YqjCheckBaseDlg.h"
#include "YqjListIndex.h"

#include "DrawingToolkit.h"
#include "FileUtility.h"
#include "IntersectionStandards.h"
#include "ProductPaths.h"
#include "RoadBaseLibrary.h"

namespace {

// Farther than this (in plan) from a point, a curve does not pass through it (tarn_isPtOnLine's 0.001,
// with room to spare).
const double kThroughPoint = 0.002;
// The half side of the first square searched for the nearest road line.
const double kFirstReach = 8.0;
// Doublings of the square before the whole list is asked instead.
const int kMaxRounds = 64;

bool IsLive(AcDbObjectId id)
{
    return !id.isNull() && id.isValid() && !id.isErased();
}

double PlanDistanceToCurve(AcDbObjectId curve, const AcGePoint3d& point)
{
    const TarnCad::QV_CurveTran walker(curve);
    const AcGePoint3d closest = walker.GetClosestPt(point);
    return std::hypot(closest.x - point.x, closest.y - point.y);
}

AcDbObjectIdArray Near(const CYqjListIndex& index, const AcGePoint3d& point, double reach)
{
    std::vector<int> positions;
    index.Query(AcGePoint2d(point.x - reach, point.y - reach), AcGePoint2d(point.x + reach, point.y + reach),
        positions);
    return index.IdsAt(positions);
}

} // namespace

bool CYqjCheckBaseDlg::NearestOf(const AcDbObjectIdArray& ids, const CYqjListIndex* index,
    const AcGePoint3d& point, AcDbObjectId& nearest) const
{
    if (index == nullptr || index->Size() != ids.length())
        return RoadGreenLineOpr::GetCloseEnt(ids, point, nearest) != 0;
    // Every curve within the distance of the nearest one found so far has its box within that distance
    // of the point: asking the grid for that square again gives the whole list's answer, ties included.
    // Road lines are a few metres to a few tens of metres from the corners asked about: start small, so
    // that the first square holds one or two of them rather than every road crossing a grid cell.
    double reach = std::min(index->CellSize(), kFirstReach);
    for (int round = 0; round < kMaxRounds && reach <= index->Reach(); ++round, reach *= 2.0) {
        const AcDbObjectIdArray candidates = Near(*index, point, reach);
        AcDbObjectId best;
        if (candidates.isEmpty() || !RoadGreenLineOpr::GetCloseEnt(candidates, point, best))
            continue;
        const double distance = PlanDistanceToCurve(best, point);
        if (distance > reach) {
            const AcDbObjectIdArray wider = Near(*index, point, distance * (1.0 + 1e-9) + 1e-6);
            return RoadGreenLineOpr::GetCloseEnt(wider, point, nearest) != 0;
        }
        nearest = best;
        return true;
    }
    return RoadGreenLineOpr::GetCloseEnt(ids, point, nearest) != 0;
}

AcDbObjectId CYqjCheckBaseDlg::RedLineAt(
    const AcGePoint3d& end, const AcGePoint3d& otherEnd, AcDbObjectId idYqj) const
{
    const bool indexed = m_redLineIndex != nullptr && m_redLineIndex->Size() == m_redLineIds.length();
    const AcDbObjectIdArray nearEnd
        = indexed ? Near(*m_redLineIndex, end, kThroughPoint) : AcDbObjectIdArray();
    for (const AcDbObjectId red : indexed ? nearEnd : m_redLineIds) {
        if (!tarn_isPtOnLine(red, end))
            continue;
        AcGePoint3d start;
        AcGePoint3d finish;
        // A red line ending where the cut's other end is belongs to that end.
        if (tarn::ent::GetStartEndPt(red, start, finish)
            && (start.isEqualTo(otherEnd) || finish.isEqualTo(otherEnd)))
            continue;
        return red;
    }
    // No red line passes through the end: the nearest of those the cut meets.
    AcDbObjectIdArray nearCut;
    if (indexed) {
        AcGePoint3d low;
        AcGePoint3d high;
        if (tarn::ent::GetEntRect(idYqj, low, high)) {
            std::vector<int> positions;
            m_redLineIndex->Query(AcGePoint2d(low.x - kThroughPoint, low.y - kThroughPoint),
                AcGePoint2d(high.x + kThroughPoint, high.y + kThroughPoint), positions);
            nearCut = m_redLineIndex->IdsAt(positions);
        } else {
            nearCut = m_redLineIds;
        }
    }
    AcDbObjectIdArray hits;
    AcDbObjectId red;
    if (tarn::ent::JudgeIntersect(idYqj, indexed ? nearCut : m_redLineIds, hits) > 0
        && RoadGreenLineOpr::GetCloseEnt(hits, end, red))
        return red;
    return AcDbObjectId::kNull;
}

int CYqjCheckBaseDlg::GetYqjRedLines(AcDbObjectId idYqj, AcDbObjectId& redS, AcDbObjectId& redE)
{
    AcGePoint3d start;
    AcGePoint3d end;
    if (!tarn::ent::GetStartEndPt(idYqj, start, end))
        return 0;
    redS = RedLineAt(start, end, idYqj);
    redE = RedLineAt(end, start, idYqj);
    return !redS.isNull() && !redE.isNull() && redS != redE ? 1 : 0;
}

int CYqjCheckBaseDlg::GetYqjRealValue(
    AcDbObjectId idYqj, AcDbObjectId& redS, AcDbObjectId& redE, double& value)
{
    if (!IsLive(idYqj) || m_redLineIds.length() < 2)
        return 0;
    if (!GetYqjRedLines(idYqj, redS, redE))
        return 0;
    double a = 0.0;
    double b = 0.0;
    if (!GetYqjViewByGeo(idYqj, redS, redE, a, b))
        return 0;
    value = a;
    return 1;
}

int CYqjCheckBaseDlg::GetYqjStdValue(AcDbObjectId idYqj, double& value)
{
    AcGePoint3d start;
    AcGePoint3d end;
    if (!IsLive(idYqj) || m_roadIds.length() < 2 || !tarn::ent::GetStartEndPt(idYqj, start, end))
        return 0;
    AcDbObjectId roadS;
    AcDbObjectId roadE;
    if (!NearestOf(m_roadIds, m_roadIndex.get(), start, roadS)
        || !NearestOf(m_roadIds, m_roadIndex.get(), end, roadE))
        return 0;
    if (roadS == roadE) {
        // Both ends by the same road: the roads are those nearest to the middles of the red lines.
        AcDbObjectId redS;
        AcDbObjectId redE;
        if (!GetYqjRedLines(idYqj, redS, redE))
            return 0;
        AcGePoint3d middleS;
        AcGePoint3d middleE;
        if (!tarn::ent::GetMidPt(redS, middleS) || !tarn::ent::GetMidPt(redE, middleE)
            || !NearestOf(m_roadIds, m_roadIndex.get(), middleS, roadS)
            || !NearestOf(m_roadIds, m_roadIndex.get(), middleE, roadE))
            return 0;
    }

    // The standards file is looked up and read for every corner cut: it may change between two.
    CString path;
    if (!CTarnDataSet::FGetGStandardOneFilePath(
            path, _T("参数配置\\"), _T("道路交叉口参数.ini"), CTarnDataSet::FGetStandardName(), 1)) {
        path = QV_PATH::FGetCommonQVCADPath() + _T("config\\jckdata.ss");
        if (!daroviz::FileExist(path)) {
            AfxMessageBox(_T("配置文件读取失败!"), MB_OK);
            return 0;
        }
    }
    CQvRoadJckData standards;
    standards.ReadFromFile(path);
    return standards.GetRoadRadium(GetRoadWidth(roadS), GetRoadWidth(roadE), value) ? 1 : 0;
}
