// The classification of the corner-cut check: each corner cut's annotation found near its corner, its
// number and prefix compared with the actual, standard and recorded values.
#include "StdAfx.h"

#include <cmath>
#include <vector>

#include "YqjCheckBaseDlg.h"
#include "YqjListIndex.h"

#include "DrawingToolkit.h"
#include "ExtendedDataLibrary.h"
#include "PipeBaseLibrary.h"
#include "RoadBaseLibrary.h"

namespace {

const float kValueStep = 2.5F;
const double kEqual = 1e-6;

bool Equal(double a, double b)
{
    return std::fabs(a - b) < kEqual;
}

// The corner cut's recorded value "FD_VIEW" equals the number.
bool RecordedValueIs(AcDbObjectId idYqj, double number)
{
    CString recorded;
    return ARX_DATA::CFGisXData::GetFrom(idYqj, _T("FD_VIEW"), recorded) == 1
        && Equal(_wtof(recorded), number);
}

AcGePoint3d MiddleOf(AcDbObjectId id)
{
    AcGePoint3d middle;
    tarn::ent::GetMidPt(id, middle);
    return middle;
}

} // namespace

AcDbObjectId CYqjCheckBaseDlg::FindYqjText(AcDbObjectId idYqj, AcDbObjectId redS, AcDbObjectId redE)
{
    AcGePoint3d start;
    AcGePoint3d end;
    tarn::ent::GetStartEndPt(idYqj, start, end);
    const AcGePoint3d middleS = MiddleOf(redS);
    const AcGePoint3d middleE = MiddleOf(redE);
    AcGePoint3dArray area;
    area.append(start);
    area.append(end);
    area.append(middleE);
    area.append(middleS);
    if (m_textIds.isEmpty())
        return AcDbObjectId::kNull;

    // The annotation texts whose middle lies in the area, in list order.
    AcDbObjectIdArray indexed;
    const bool useIndex = m_textIndex != nullptr && m_textIndex->Size() == m_textIds.length();
    if (useIndex) {
        AcGePoint2d low(HUGE_VAL, HUGE_VAL);
        AcGePoint2d high(-HUGE_VAL, -HUGE_VAL);
        for (const AcGePoint3d& p : area) {
            low.set(std::min(low.x, p.x), std::min(low.y, p.y));
            high.set(std::max(high.x, p.x), std::max(high.y, p.y));
        }
        std::vector<int> positions;
        m_textIndex->Query(low, high, positions);
        indexed = m_textIndex->IdsAt(positions);
    }
    AcDbObjectIdArray candidates;
    for (const AcDbObjectId text : useIndex ? indexed : m_textIds) {
        AcGePoint3d middle;
        if (tarn::ent::GetMidPt(text, middle) && tarn::geo::IsPtInArea(middle, area, nullptr))
            candidates.append(text);
    }

    if (candidates.isEmpty()) {
        // Not where it belongs: any text of the kind in the corner between the red lines, on any layer.
        AcGePoint3dArray meets;
        if (tarn::CCalExtent::GetCurveIntersect(
                redS, redE, meets, AcDb::kExtendBoth, AcGeContext::gTol.equalPoint())
            > 0) {
            const AcGePoint3d corner
                = meets.length() == 1 ? meets[0] : tarn::geo::GetNearestPt(meets, MiddleOf(idYqj));
            area.removeAll();
            area.append(middleE);
            area.append(middleS);
            area.append(corner);
        }
        resbuf* filter = acutBuildList(RTDXF0, _T("TEXT"), 1, _T("*Q*,*FQ*"), RTNONE);
        tarn::CFArxSelSet selection;
        if (selection.crossingPolygonSelect(area, filter) == tarn::CFArxSelSet::kSelected)
            selection.asArray(candidates);
        acutRelRb(filter);
    }
    if (candidates.isEmpty())
        return AcDbObjectId::kNull;

    // The one nearest to the middle of the cut; of equally near ones the earlier.
    const AcGePoint3d cutMiddle = MiddleOf(idYqj);
    AcDbObjectId nearest = candidates[0];
    double best = tarn::FCurveTran::GetDist(MiddleOf(nearest), cutMiddle);
    for (int i = 1; i < candidates.length(); ++i) {
        const double distance = tarn::FCurveTran::GetDist(MiddleOf(candidates[i]), cutMiddle);
        if (distance < best) {
            best = distance;
            nearest = candidates[i];
        }
    }
    return nearest;
}

void CYqjCheckBaseDlg::Classify(SYQJINFO& row) const
{
    const double value = row.dRealValue;
    const CString& text = row.strText;
    const int q = text.ReverseFind(_T('Q'));
    const double number = _wtof(text.Mid(q + 1));
    // The step is tested in single precision, as the values were always compared.
    if (std::fabs(std::fmod(static_cast<float>(value), kValueStep)) < kEqual) {
        if (std::fabs(number - value) > kEqual) {
            row.nErrType = RecordedValueIs(row.idYqj, number) ? 6 : 2;
            return;
        }
        CString prefix = text.Left(q + 1);
        prefix.TrimLeft();
        const CString required = Equal(number, row.dStdValue) ? _T("Q") : _T("FQ");
        if (prefix.Compare(required) != 0) {
            row.nErrType = 3;
            row.strRightPrefix = required;
        } else {
            row.nErrType = 0;
        }
        return;
    }
    row.nErrType = RecordedValueIs(row.idYqj, number) ? 7 : 1;
}

void CYqjCheckBaseDlg::StatYqjInfo(const AcDbObjectIdArray& yqjIds)
{
    m_allRows.RemoveAll();
    m_errRows.RemoveAll();
    acedCommand(RTSTR, _T("ZOOM"), RTSTR, _T("E"), RTNONE);
    const bool haveTexts = !m_textIds.isEmpty();
    const int count = yqjIds.length();
    acedSetStatusBarProgressMeter(_T("正在统计数据，请稍候..."), 0, count);

    // The lists are searched near each corner cut through grids over them, built once per run.
    m_redLineIndex = std::make_unique<CYqjListIndex>(m_redLineIds, CYqjListIndex::Keys::Extents);
    m_roadIndex = std::make_unique<CYqjListIndex>(m_roadIds, CYqjListIndex::Keys::Extents);
    m_textIndex = std::make_unique<CYqjListIndex>(m_textIds, CYqjListIndex::Keys::Middles);

    for (int i = 0; i < count; ++i) {
        acedSetStatusBarProgressMeterPos(i);
        SYQJINFO row;
        row.idYqj = yqjIds[i];
        AcDbObjectId redS;
        AcDbObjectId redE;
        double value = 0.0;
        if (!GetYqjRealValue(row.idYqj, redS, redE, value)) {
            row.nErrType = 5;
            m_allRows.Add(row);
            m_errRows.Add(row);
            continue;
        }
        value = ARX_DATA::ArxDbgUtils_NewGe::getLimitedDouble(value, 1);
        const AcDbObjectId text = haveTexts ? FindYqjText(row.idYqj, redS, redE) : AcDbObjectId::kNull;
        if (text.isNull()) {
            row.nErrType = 4;
            row.dRealValue = value;
            GetYqjStdValue(row.idYqj, row.dStdValue);
            m_allRows.Add(row);
            m_errRows.Add(row);
            continue;
        }
        row.dRealValue = IsDimensionCheck() ? tarn::geo::CutNum(value) : value;
        GetYqjStdValue(row.idYqj, row.dStdValue);
        row.idText = text;
        row.strText = GetTextValue(text);
        Classify(row);
        m_allRows.Add(row);
        if (row.nErrType != 0)
            m_errRows.Add(row);
    }

    m_redLineIndex.reset();
    m_roadIndex.reset();
    m_textIndex.reset();
    acedRestoreStatusBar();
    acedCommand(RTSTR, _T("Zoom"), RTSTR, _T("P"), RTNONE);
    tarn::cad::DisplayCommandLine();
}
