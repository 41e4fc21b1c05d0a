// The geometry behind the curb-return labels: the arcs of each kind of curve, and the corner and tangent
// lengths of a straight cut, including the drawing-unit factor of the recorded length.
#include <cmath>
#include <string>

#include "CurbRadiusFixture.h"
#include "curbradius/DlyjbjbzDlg.h"

namespace planroad::test {
namespace {

class CurbRadiusGeometry : public CurbRadiusFixture {
protected:
    CDlyjbjbzDlg mDialog;

    std::vector<CDlyjbjbzDlg::FRoad_Arc> arcsOf(AcDbObjectId id, int expectedResult = 1)
    {
        CDlyjbjbzDlg::FRoadArcArray arcs;
        arcs.Add(CDlyjbjbzDlg::FRoad_Arc {}); // emptied first
        EXPECT_EQ(expectedResult, mDialog.CollectArcs(id, arcs));
        std::vector<CDlyjbjbzDlg::FRoad_Arc> result;
        for (int i = 0; i < arcs.GetSize(); ++i)
            result.push_back(arcs[i]);
        return result;
    }
};

void expectAt(const AcGePoint3d& expected, const AcGePoint3d& actual, const char* what)
{
    EXPECT_NEAR(expected.x, actual.x, 1e-9) << what;
    EXPECT_NEAR(expected.y, actual.y, 1e-9) << what;
}

TEST_F(CurbRadiusGeometry, AnArcGivesItsEndsAndItsMiddle)
{
    const auto arcs = arcsOf(cornerArc(L"CURB", AcGePoint3d(10, 10, 0), 5.0, 30, 150));
    ASSERT_EQ(1u, arcs.size());
    expectAt(AcGePoint3d(10 + 5 * std::cos(radians(30)), 10 + 2.5, 0), arcs[0].ptStart, "start");
    expectAt(AcGePoint3d(10, 15, 0), arcs[0].ptMid, "middle");
    expectAt(AcGePoint3d(10 - 5 * std::cos(radians(30)), 10 + 2.5, 0), arcs[0].ptEnd, "end");
}

TEST_F(CurbRadiusGeometry, PolylinesGiveOneArcPerBulgedSegmentClosingSegmentIncluded)
{
    const auto open = arcsOf(polyline(L"CURB", {{0, 0}, {10, 0}, {20, 0}, {30, 0}}, {1.0, 0.0, -1.0, 0.0}));
    ASSERT_EQ(2u, open.size());
    expectAt(AcGePoint3d(0, 0, 0), open[0].ptStart, "first start");
    expectAt(AcGePoint3d(5, -5, 0), open[0].ptMid, "first middle"); // a half circle turning right
    expectAt(AcGePoint3d(20, 0, 0), open[1].ptStart, "second start");
    expectAt(AcGePoint3d(25, 5, 0), open[1].ptMid, "second middle");

    // The last vertex of a closed polyline carries the bulge of the segment back to the first.
    const auto closed = arcsOf(polyline(L"CURB", {{0, 0}, {10, 0}, {10, 10}}, {0.0, 0.0, 0.5}, true));
    ASSERT_EQ(1u, closed.size());
    expectAt(AcGePoint3d(10, 10, 0), closed[0].ptStart, "closing start");
    expectAt(AcGePoint3d(0, 0, 0), closed[0].ptEnd, "closing end");
    // The last vertex of an open polyline has no segment after it.
    EXPECT_TRUE(arcsOf(polyline(L"CURB", {{0, 0}, {10, 0}}, {0.0, 1.0})).empty());
}

TEST_F(CurbRadiusGeometry, OldStylePolylinesAreWalkedVertexByVertex)
{
    AcGePoint3dArray points;
    AcGeDoubleArray bulges;
    for (const auto& [x, bulge] : {std::pair {0.0, 0.0}, std::pair {10.0, 1.0}, std::pair {20.0, 0.0}}) {
        points.append(AcGePoint3d(x, 0, 0));
        bulges.append(bulge);
    }
    const AcDbObjectId id
        = add(new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 0.0, Adesk::kFalse, 0.0, 0.0, &bulges));
    const auto arcs = arcsOf(id);
    ASSERT_EQ(1u, arcs.size());
    expectAt(AcGePoint3d(10, 0, 0), arcs[0].ptStart, "start");
    expectAt(AcGePoint3d(15, -5, 0), arcs[0].ptMid, "middle");
}

TEST_F(CurbRadiusGeometry, OtherEntitiesGiveNoArcsAndOnlyALostIdFails)
{
    EXPECT_TRUE(arcsOf(lineOn(L"CURB", AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0))).empty());
    const AcDbObjectId erased = cornerArc(L"CURB", AcGePoint3d(0, 0, 0), 5, 0, 90);
    tarn::ent::Erase(erased);
    EXPECT_TRUE(arcsOf(erased, 0).empty());
    EXPECT_TRUE(arcsOf(AcDbObjectId::kNull, 0).empty());
}

TEST_F(CurbRadiusGeometry, RecordedLengthIsInDrawingUnitsOnlyForAnUnambiguousCorner)
{
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"DIMLFAC", 2.0));
    mDialog.m_nPrecision = 2;

    // Two straight red lines: one meeting point.
    lineOn(L"RED", AcGePoint3d(50, 0, 0), AcGePoint3d(5, 0, 0));
    lineOn(L"RED", AcGePoint3d(0, 50, 0), AcGePoint3d(0, 5, 0));
    const AcDbObjectId single = cornerCut(L"RED", AcGePoint2d(5, 0), AcGePoint2d(0, 5));
    double length = -1.0;
    AcGePoint3d corner(9, 9, 9);
    ASSERT_EQ(1, mDialog.ComputeCutLength(single, length, corner, L"RED"));
    EXPECT_NEAR(5.0, length, 1e-9);
    expectAt(AcGePoint3d(0, 0, 0), corner, "single corner");
    EXPECT_EQ(L"10.00", field(single, L"FD_VIEW"));

    // A straight red line and a round one, whose lengthened copies meet twice: at the corner and 6 to
    // its left. The corner is the meeting point nearer the cut.
    const double x = 200.0;
    const AcGePoint3d centre(x - 3, 4, 0); // radius 5 through the corner (x, 0)
    // The other point 5 from both: half-way between the centres, then half the chord across.
    const double halfChord = std::sqrt(25.0 - 6.25);
    const AcGePoint3d e(x - 1.5 + 0.8 * halfChord, 2.0 + 0.6 * halfChord, 0);
    ASSERT_NEAR(5.0, e.distanceTo(AcGePoint3d(x, 0, 0)), 1e-9);
    ASSERT_NEAR(5.0, e.distanceTo(centre), 1e-9);
    lineOn(L"RED", AcGePoint3d(x + 50, 0, 0), AcGePoint3d(x + 5, 0, 0));
    const double start = std::atan2(e.y - centre.y, e.x - centre.x);
    auto* round = new AcDbArc(centre, 5.0, start, kPi / 2);
    round->setLayer(L"RED");
    add(round);
    const AcDbObjectId several = cornerCut(L"RED", AcGePoint2d(x + 5, 0), AcGePoint2d(e.x, e.y));
    ASSERT_EQ(1, mDialog.ComputeCutLength(several, length, corner, L"RED"));
    EXPECT_NEAR(5.0, length, 1e-6);
    expectAt(AcGePoint3d(x, 0, 0),
        AcGePoint3d(std::round(corner.x * 1e6) / 1e6, std::round(corner.y * 1e6) / 1e6, 0),
        "corner of several");
    EXPECT_EQ(L"5.00", field(several, L"FD_VIEW"));

    // The corner alone, as the attribute mode asks for it.
    AcGePoint3d found;
    ASSERT_EQ(1, mDialog.FindCornerPoint(single, found, L"RED"));
    expectAt(AcGePoint3d(0, 0, 0), found, "corner point");
}

TEST_F(CurbRadiusGeometry, CurvedCutsAndCutsWithoutNeighboursHaveNoCorner)
{
    lineOn(L"RED", AcGePoint3d(50, 0, 0), AcGePoint3d(5, 0, 0));
    lineOn(L"RED", AcGePoint3d(0, 50, 0), AcGePoint3d(0, 5, 0));
    const AcDbObjectId bulged = polyline(L"RED", {{5, 0}, {0, 5}}, {0.2, 0.0});
    markCorner(bulged, 2);
    AcGePoint3d corner(1, 2, 3);
    double length = 7.0;
    EXPECT_EQ(0, mDialog.ComputeCutLength(bulged, length, corner, L"RED"));
    EXPECT_EQ(0.0, length);
    expectAt(AcGePoint3d(0, 0, 0), corner, "reset on entry");
    // Only the cut itself ends at its ends.
    const AcDbObjectId alone = cornerCut(L"RED", AcGePoint2d(105, 0), AcGePoint2d(100, 5));
    EXPECT_EQ(0, mDialog.FindCornerPoint(alone, corner, L"RED"));
    // Neighbours on another layer are not looked at.
    const AcDbObjectId elsewhere = cornerCut(L"CURB", AcGePoint2d(5, 0), AcGePoint2d(0, 5));
    EXPECT_EQ(0, mDialog.FindCornerPoint(elsewhere, corner, L"CURB"));
}

TEST_F(CurbRadiusGeometry, TouchingCurvesEndWithinOneCentimetreOfThePoint)
{
    const AcDbObjectId a = lineOn(L"RED", AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    const AcDbObjectId b = lineOn(L"RED", AcGePoint3d(10.009, 0.009, 5), AcGePoint3d(20, 10, 5));
    lineOn(L"RED", AcGePoint3d(10.02, 0, 0), AcGePoint3d(20, -10, 0)); // 0.02 away
    lineOn(L"RED", AcGePoint3d(5, -5, 0), AcGePoint3d(15, 5, 0)); // passes through, ends elsewhere
    lineOn(L"CURB", AcGePoint3d(10, 0, 0), AcGePoint3d(10, 10, 0)); // another layer
    AcDbObjectIdArray ids;
    CDlyjbjbzDlg::FindTouchingCurves(AcGePoint3d(10, 0, 0), ids, L"RED");
    ASSERT_EQ(2, ids.length());
    EXPECT_TRUE(ids.contains(a));
    EXPECT_TRUE(ids.contains(b));
}

} // namespace
} // namespace planroad::test
