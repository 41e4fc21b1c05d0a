// The labels of the curb-return radius annotation: radius texts, radial dimensions and tangent-length
// texts, each tagged and linked from its road line so that a later run finds and replaces it.
#include "StdAfx.h"

#include <cmath>

#include "DlyjbjbzDlg.h"

#include "AnnotationLayer.h"
#include "CustomParameterStore.h"
#include "DrawingToolkit.h"
#include "ExtendedDataLibrary.h"
#include "RoadBaseLibrary.h"

namespace {

const double kPi = 3.14159265358979323846;
const ACHAR* const kTextParamKey = _T("道路圆角半径标注字符");
const ACHAR* const kLinkKey = _T("道路圆角标注");
const ACHAR* const kLabelApp = _T("FAPP_DLYQJBZ");
const ACHAR* const kLabelText = _T("道路圆切角标注=");
const ACHAR* const kArrow = _T("实心闭合");

// Marks an annotation as one of ours and links it from its entity.
void TagLabel(AcDbObjectId entity, AcDbObjectId label, const CString& layer)
{
    tarn::ent::ChangeLayer(label, layer);
    ARX_DATA::CFSimpleXData::SetTo(label, kLabelApp, kLabelText);
    tarn::dat::PasteSoftId(entity, kLinkKey, label);
}

// The angle of the vector from the X axis, counter-clockwise, in [0, 2pi).
double AngleOf(const AcGeVector3d& v)
{
    double angle = std::atan2(v.y, v.x);
    if (angle < 0.0)
        angle += 2.0 * kPi;
    return angle;
}

// A text reads from left to right: an angle pointing leftwards is turned round.
double Readable(double angle)
{
    return angle > kPi / 2.0 && angle < 3.0 * kPi / 2.0 ? angle + kPi : angle;
}

// The unit vector from the arc's centre through the middle of its chord; for a half circle, whose
// chord runs through the centre, the direction of the arc's middle point.
AcGeVector3d Bisector(const tarn::tarn_geo_arc& geo, const CDlyjbjbzDlg::FRoad_Arc& arc)
{
    const AcGePoint3d centre = geo.GetCenter();
    AcGeVector3d u = (geo.GetStartPt() - centre) + (geo.GetEndPt() - centre);
    if (u.length() <= 1e-9 * geo.GetRadius())
        u = arc.ptMid - centre;
    u.z = 0.0;
    return u.normal();
}

} // namespace

AcDbObjectId CDlyjbjbzDlg::DrawLabel(AcDbObjectId entity, const AcGePoint3d& at, const CString& text,
    double rotation, const TEXTPARAM& textParam, const CString& layer) const
{
    AcDbObjectId id;
    if (!TarnDB::qvCreateTextEx(at, text, rotation, 1, 1, textParam, id))
        return AcDbObjectId::kNull;
    TagLabel(entity, id, layer);
    return id;
}

void CDlyjbjbzDlg::AnnotateArcsAsTexts(AcDbObjectId entity, const FRoadArcArray& arcs, int cornerType,
    bool askUser, const TEXTPARAM& textParam, const CString& layer)
{
    const double h = textParam.dHeight;
    for (int k = 0; k < arcs.GetSize(); ++k) {
        const FRoad_Arc& arc = arcs[k];
        const tarn::tarn_geo_arc geo(arc.ptStart, arc.ptMid, arc.ptEnd);
        if (!geo.IsValid())
            continue;
        const double radius = geo.GetRadius();
        const AcGeVector3d u = Bisector(geo, arc);
        AcGePoint3d at = geo.GetCenter() + u * radius - u * h;
        double rotation = Readable(AngleOf(geo.GetEndPt() - geo.GetStartPt()));

        if (askUser) {
            const AcGePoint3d base = tarn::geo::Wcs2ucs(at);
            const ads_point basePoint = {base.x, base.y, base.z};
            ads_point picked = {0.0, 0.0, 0.0};
            const int pointStatus = acedGetPoint(basePoint, _T("\n输入标注文字的插入点:"), picked);
            if (pointStatus == RTNORM)
                at = tarn::geo::Ucs2wcs(AcGePoint3d(picked[0], picked[1], picked[2]));
            else if (pointStatus != RTNONE)
                return;
            CString prompt;
            prompt.Format(_T("\n输入标注文字的旋转角度:<%0.2f>"), rotation * 180.0 / kPi);
            ads_real angle = 0.0;
            const int angleStatus = acedGetAngle(basePoint, prompt, &angle);
            if (angleStatus == RTNORM)
                rotation = angle + tarn::cad::GetUcsAngle();
            else if (angleStatus != RTNONE)
                return;
        }
        if (cornerType == 2)
            continue;
        DrawLabel(
            entity, at, FormatLabel(m_strRadiusPrefix, radius * m_run.dimlfac), rotation, textParam, layer);
    }
}

void CDlyjbjbzDlg::AnnotateArcsAsDimensions(AcDbObjectId entity, const FRoadArcArray& arcs,
    const AcGePoint3dArray& curvePoints, const TEXTPARAM& textParam, AcDbObjectId dimTextStyle,
    const CString& layer)
{
    // A road line whose first segment is shorter than this is too small to carry dimensions.
    if (curvePoints[0].distanceTo(curvePoints[1]) < 0.5)
        return;
    // Red-line dimensions beside curb-line ones go to a third of the way along the line.
    const bool moveRedLine = m_run.annotateCurb && m_run.annotateRedLine
        && tarn::ent::GetEntLayerName(entity).CompareNoCase(m_run.redLayer) == 0;
    CString dimPost;
    dimPost.Format(_T("%s<>"), m_strRadiusPrefix.GetString());

    for (int k = 0; k < arcs.GetSize(); ++k) {
        const FRoad_Arc& arc = arcs[k];
        const tarn::tarn_geo_arc geo(arc.ptStart, arc.ptMid, arc.ptEnd);
        if (!geo.IsValid())
            continue;
        const double radius = geo.GetRadius();
        const AcGePoint3d centre = geo.GetCenter();
        const AcGeVector3d u = Bisector(geo, arc);
        const AcGePoint3d chordPoint = centre + u * radius;

        const TarnCad::QV_CurveTran walker(entity);
        const double length = walker.GetCurveLen();
        const AcGePoint3d third = walker.GetClosestPt(walker.GetPointByDis(length / 3.0));

        const double leaderLength = (u * radius).length() - 1.1 * radius;
        auto* dimension
            = new AcDbRadialDimension(centre, chordPoint, leaderLength, nullptr, AcDbObjectId::kNull);
        dimension->setDimpost(dimPost);
        dimension->setDimblk(kArrow);
        dimension->setDimldrblk(kArrow);
        dimension->setDimtoh(true);
        dimension->setDimtofl(false);
        dimension->setDimdec(m_nPrecision);
        dimension->setDimscale(1.0 / m_run.dimlfac);
        dimension->setDimtxsty(dimTextStyle);
        dimension->setDimtxt(textParam.dHeight);
        dimension->setDimscale(1.0 / GetSysVarDimlfac());
        const AcDbObjectId id = tarn::ent::AddToDb(dimension);
        if (id.isNull()) {
            delete dimension;
            continue;
        }
        dimension->close();
        if (moveRedLine)
            tarn::ent::Move(id, third - chordPoint);
        tarn::dat::PasteSoftId(entity, kLinkKey, id);
        tarn::ent::ChangeLayer(id, layer);
        ARX_DATA::CFSimpleXData::SetTo(id, kLabelApp, kLabelText);
    }
}

void CDlyjbjbzDlg::AnnotateStdCut(AcDbObjectId entity, const CString& layer, bool leaderRun)
{
    const CString cutLayer = tarn::ent::GetEntLayerName(entity);
    double length = 0.0;
    AcGePoint3d corner;
    if (m_run.cutLengthMode == 0) {
        if (ComputeCutLength(entity, length, corner, cutLayer) != 1)
            return;
    } else {
        CString recorded;
        if (!ARX_DATA::CFGisXData::GetFrom(entity, _T("FD_VIEW"), recorded)
            || FindCornerPoint(entity, corner, cutLayer) != 1)
            return;
        length = _wtof(recorded);
    }
    TEXTPARAM textParam;
    TarnDB::qvGetTextParam(kTextParamKey, textParam);
    const double h = textParam.dHeight;
    AcGePoint3d middle;
    tarn::ent::GetMidPt(entity, middle);
    const AcGeVector3d w = (middle - corner).normal();
    const AcGePoint3d at = middle + w * length - w * h;
    double rotation = tarn::cad::GetUcsAngle();
    if (leaderRun)
        rotation = Readable(std::fmod(std::fmod(rotation, 2.0 * kPi) + 2.0 * kPi, 2.0 * kPi));
    DrawLabel(entity, at, FormatLabel(m_strStdCutPrefix, length * m_run.dimlfac), rotation, textParam, layer);
}

void CDlyjbjbzDlg::DrawNonStdCutLabels(
    AcDbObjectId entity, const SCornerFound& found, double d1, double d2, double factor)
{
    const CString layer = GetAnnotationLayer(entity);
    TEXTPARAM textParam;
    TarnDB::qvGetTextParam(kTextParamKey, textParam);
    double dimlfac = 1.0;
    tarn::cad::GetSysVar(_T("dimlfac"), dimlfac);
    const double h = textParam.dHeight;
    AcGePoint3d middle;
    tarn::ent::GetMidPt(entity, middle);
    const AcGeVector3d w = (middle - found.corner).normal();

    // Both labels stand the first tangent length (less a text height) off the cut's ends.
    DrawLabel(entity, found.start + w * (d1 - h), FormatLabel(m_strNonStdCutPrefix, d1 * dimlfac), 0.0,
        textParam, layer);
    CString second;
    second.Format(_T("%.2f"), d2 * factor);
    ARX_DATA::CFGisXData::SetTo(entity, _T("FD_VIEW1"), second, _T("切距边长1"));
    DrawLabel(entity, found.end + w * (d1 - h), FormatLabel(m_strNonStdCutPrefix, d2 * dimlfac), 0.0,
        textParam, layer);
}
