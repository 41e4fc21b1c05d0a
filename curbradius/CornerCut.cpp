// Straight corner cuts: the corner of the two road lines a cut joins, its tangent lengths, and the two
// labels of an asymmetric cut.
#include "StdAfx.h"

#include <algorithm>
#include <cmath>

#include "DlyjbjbzDlg.h"

#include "AnnotationLayer.h"
#include "DrawingToolkit.h"
#include "ExtendedDataLibrary.h"
#include "RoadBaseLibrary.h"

namespace {

const double kPi = 3.14159265358979323846;
const double kTouchTolerance = 0.01;
// Tangent lengths closer than this make a symmetric cut; lengths a whole centimetre apart (5.00 and 4.99,
// whose difference comes out a hair below 0.01 in binary) do not.
const double kSymmetricTolerance = 0.01 - 1e-9;
// Copies of the two neighbour curves are lengthened by the cut's length and this much, so that they
// meet where the road lines would.
const double kCopyExtension = 10.0;

void EraseCopies(AcDbObjectId a, AcDbObjectId b)
{
    if (!a.isNull())
        tarn::ent::Erase(a);
    if (!b.isNull())
        tarn::ent::Erase(b);
}

// A copy of the curve lengthened beyond its end that touches the cut; null when it cannot be copied.
AcDbObjectId LengthenedCopy(AcDbObjectId curve, const AcGePoint3d& touching, double length)
{
    const AcDbObjectId copy = tarn::ent::Copy(curve);
    if (copy.isNull())
        return copy;
    const int mode = JudgePtAtStart(copy, touching) ? tarn::CFEntLengthen::EXTEND_START
                                                    : tarn::CFEntLengthen::EXTEND_END;
    tarn::CFEntLengthen::Lengthen(copy, length, mode);
    return copy;
}

CString LengthText(double length)
{
    CString text;
    text.Format(_T("%.2f"), length);
    return text;
}

} // namespace

void CDlyjbjbzDlg::FindTouchingCurves(const AcGePoint3d& point, AcDbObjectIdArray& ids, const CString& layer)
{
    const AcGePoint3d ucsPoint = tarn::geo::Wcs2ucs(point);
    const double r = 1.0 / GetSysVarDimlfac();
    AcGePoint3dArray square;
    for (const double degrees : {45.0, 135.0, 225.0, 315.0}) {
        const double angle = degrees * kPi / 180.0;
        square.append(ucsPoint + AcGeVector3d(std::cos(angle), std::sin(angle), 0.0) * r);
    }
    square.append(square[0]);

    AcDbObjectIdArray found;
    resbuf* filter = acutBuildList(8, layer.GetString(), RTNONE);
    tarn::CFArxSelSet selection;
    if (selection.crossingPolygonSelect(square, filter) == tarn::CFArxSelSet::kSelected)
        selection.asArray(found);
    acutRelRb(filter);

    const AcGePoint3d world = tarn::geo::Ucs2wcs(ucsPoint);
    auto touches = [&world](const AcGePoint3d& end) {
        return std::fabs(end.x - world.x) <= kTouchTolerance && std::fabs(end.y - world.y) <= kTouchTolerance;
    };
    for (int i = 0; i < found.length(); ++i) {
        AcGePoint3d start;
        AcGePoint3d end;
        if (tarn::ent::GetStartEndPt(found[i], start, end) && (touches(start) || touches(end)))
            ids.append(found[i]);
    }
}

bool CDlyjbjbzDlg::SearchCorner(AcDbObjectId entity, const CString& layer, SCornerFound& found) const
{
    TarnCad::QV_CurveTran walker;
    AcGePoint3dArray points;
    AcGeDoubleArray bulges;
    if (!walker.SetEnt(entity) || !walker.GetCurveVect(points, bulges) || points.length() != 2)
        return false;
    if (!tarn::ent::GetStartEndBlg(entity, found.start, found.end, found.bulge)
        || std::fabs(found.bulge) > 0.0)
        return false;

    AcDbObjectIdArray atStart;
    AcDbObjectIdArray atEnd;
    FindTouchingCurves(found.start, atStart, layer);
    FindTouchingCurves(found.end, atEnd, layer);
    atStart.remove(entity);
    atEnd.remove(entity);
    if (atStart.isEmpty() || atEnd.isEmpty())
        return false;

    const double extension = tarn::ent::GetCurLen(entity) + kCopyExtension;
    const AcDbObjectId copyA = LengthenedCopy(atStart[0], found.start, extension);
    const AcDbObjectId copyB = LengthenedCopy(atEnd[0], found.end, extension);
    AcGePoint3dArray meets;
    if (!copyA.isNull() && !copyB.isNull())
        tarn::CCalExtent::GetCurveIntersect(
            copyA, copyB, meets, AcDb::kOnBothOperands, AcGeContext::gTol.equalPoint());
    EraseCopies(copyA, copyB);
    if (meets.isEmpty())
        tarn::CCalExtent::GetCurveIntersect(atStart[0], atEnd[0], meets, AcDb::kExtendBoth);
    if (meets.isEmpty())
        return false;

    found.intersections = meets.length();
    found.corner = meets[0];
    if (meets.length() > 1) {
        AcGePoint3d middle;
        tarn::ent::GetMidPt(entity, middle);
        for (int i = 1; i < meets.length(); ++i) {
            if (meets[i].distanceTo(middle) < found.corner.distanceTo(middle))
                found.corner = meets[i];
        }
    }
    return true;
}

int CDlyjbjbzDlg::FindCornerPoint(AcDbObjectId entity, AcGePoint3d& corner, const CString& layer)
{
    SCornerFound found;
    if (!SearchCorner(entity, layer, found))
        return 0;
    corner = found.corner;
    return 1;
}

int CDlyjbjbzDlg::ComputeCutLength(
    AcDbObjectId entity, double& length, AcGePoint3d& corner, const CString& layer)
{
    length = 0.0;
    corner = AcGePoint3d::kOrigin;
    SCornerFound found;
    if (!SearchCorner(entity, layer, found))
        return 0;
    corner = found.corner;
    AcGePoint3d foot;
    tarn::geo::Perpt(corner, found.start, found.end, found.bulge, foot);
    if (corner.distanceTo(foot) <= 0.0)
        return 1;

    // The stored text is in the drawing's units when the corner was unambiguous.
    const double factor = found.intersections == 1 ? GetSysVarDimlfac() : 1.0;
    const double d1 = found.start.distanceTo(corner);
    const double d2 = found.end.distanceTo(corner);
    if (std::fabs(d1 - d2) < kSymmetricTolerance) {
        length = std::min(d1, d2);
        ARX_DATA::CFGisXData::SetTo(entity, _T("FD_VIEW"), LengthText(length * factor), _T("切距边长"));
        return 1;
    }
    ARX_DATA::CFGisXData::SetTo(entity, _T("FD_VIEW"), LengthText(d1 * factor), _T("切距边长"));
    DrawNonStdCutLabels(entity, found, d1, d2, factor);
    return 0;
}
