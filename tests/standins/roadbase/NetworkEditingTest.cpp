// Editing the road network: breaking curves where others cross them, fitting ends to other curves, moving
// a centreline's end, and the small geometric questions the T-junction repair asks.
#include <cmath>
#include <functional>
#include <memory>

#include "RoadFixture.h"

namespace planroad::test {
namespace {

class NetworkEditing : public RoadFixture {
public:
    // For the tables of curve builders.
    using RoadFixture::add2dPolyline;
    using RoadFixture::addArc;
    using RoadFixture::addLine;
    using RoadFixture::addPolyline;

protected:
    // A red line of the through road, as the T-junction repair finds it: on its layer, coloured, with
    // side-line data.
    void dress(AcDbObjectId id)
    {
        addLayerOnce(L"DL-道路红线");
        putOnLayer(id, L"DL-道路红线");
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
        entity->setColorIndex(1);
        entity.close();
        ASSERT_EQ(1, ARX_DATA::CFSimpleXData::SetTo(id, L"FAPP_DLBX", L"道路红线"));
    }
    void addLayerOnce(const wchar_t* name)
    {
        AcDbLayerTable* table = nullptr;
        ASSERT_EQ(Acad::eOk, db().getLayerTable(table, AcDb::kForRead));
        const bool has = table->has(name);
        table->close();
        if (!has)
            addLayer(name);
    }
    // Plan distance from the point to the curve as it is now.
    double distanceTo(AcDbObjectId id, const AcGePoint3d& p)
    {
        AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForRead);
        AcGePoint3d closest;
        curve->getClosestPointTo(p, closest);
        return std::hypot(closest.x - p.x, closest.y - p.y);
    }
    int vertexCount(AcDbObjectId id)
    {
        AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForRead);
        if (const auto* pline = AcDbPolyline::cast(curve.object()))
            return static_cast<int>(pline->numVerts());
        if (const auto* pline2d = AcDb2dPolyline::cast(curve.object())) {
            int count = 0;
            std::unique_ptr<AcDbObjectIterator> it(pline2d->vertexIterator());
            for (it->start(); !it->done(); it->step())
                ++count;
            return count;
        }
        return 2;
    }
};

// A curve of the drawing, made by one of the fixture's builders.
using Builder = std::function<AcDbObjectId(NetworkEditing&)>;

TEST_F(NetworkEditing, BreakingAtACrossingKeepsTheStartPieceAndCopiesTheRest)
{
    struct Named {
        const char* what;
        Builder make;
    };
    // The through road's red line along y = 10 in each curve class, and the dead-end road's probe.
    const Named targets[] = {
        {"line", [](NetworkEditing& f) { return f.addLine(-50, 10, 50, 10); }},
        {"arc", [](NetworkEditing& f) { return f.addArc(0, -40, 50, 30, 150); }},
        {"lightweight polyline with an arc segment",
            [](NetworkEditing& f) {
                return f.addPolyline({{-50, 10}, {-10, 10, 0.2}, {10, 10}, {50, 10}});
            }},
        {"old-style polyline",
            [](NetworkEditing& f) {
                return f.add2dPolyline({{-50, 10}, {-5, 10}, {50, 12}});
            }},
    };
    const Named cutters[] = {
        {"line", [](NetworkEditing& f) { return f.addLine(0, 60, 0, -60); }},
        {"arc", [](NetworkEditing& f) { return f.addArc(1000, 10, 1000, 175, 185); }},
        {"polyline",
            [](NetworkEditing& f) {
                return f.addPolyline({{1, 60}, {0, 30}, {0, -60}});
            }},
    };
    for (const Named& t : targets) {
        for (const Named& c : cutters) {
            SCOPED_TRACE(std::string(t.what) + " broken by a " + c.what);
            AcDbObjectId target = t.make(*this);
            dress(target);
            AcDbObjectId cutter = c.make(*this);
            const AcDbHandle handle = handleOf(target);
            const auto [start, end] = endsOf(target);
            const double length = lengthOf(target);
            const double cutterLength = lengthOf(cutter);

            AcDbObjectIdArray cutterIds;
            cutterIds.append(cutter);
            AcDbObjectIdArray targetIds;
            targetIds.append(target);
            ASSERT_EQ(1, BreakEnt(cutterIds, targetIds, 5.0));
            ASSERT_EQ(2, targetIds.length());
            const AcDbObjectId piece = targetIds[1];

            // The original keeps its handle and its start; the two pieces meet on the cutter.
            EXPECT_EQ(handle, handleOf(target));
            const auto [keptStart, keptEnd] = endsOf(target);
            const auto [pieceStart, pieceEnd] = endsOf(piece);
            expectAt(start, keptStart, 1e-9);
            expectAt(end, pieceEnd, 1e-9);
            expectAt(keptEnd, pieceStart, 1e-9);
            EXPECT_LT(distanceTo(cutter, keptEnd), 1e-6);
            EXPECT_NEAR(length, lengthOf(target) + lengthOf(piece), 1e-6);
            EXPECT_EQ(cutterLength, lengthOf(cutter)) << "the cutter is not broken";

            // The new piece is a red line like the original.
            AcDbObjectPointer<AcDbEntity> original(target, AcDb::kForRead);
            AcDbObjectPointer<AcDbEntity> copy(piece, AcDb::kForRead);
            EXPECT_EQ(original->isA(), copy->isA());
            EXPECT_EQ(original->layerId(), copy->layerId());
            EXPECT_EQ(1, copy->colorIndex());
            original.close();
            copy.close();
            CString role;
            EXPECT_EQ(1, ARX_DATA::CFSimpleXData::GetFrom(piece, L"FAPP_DLBX", role));
            EXPECT_EQ(CString(L"道路红线"), role);
        }
    }
}

TEST_F(NetworkEditing, ACutterEndingShortBreaksOnlyWithinTheTolerance)
{
    struct Case {
        double cutterEndY; // the cutter runs down x = 0 from y = 60 to here; the target lies along y = 10
        double tolerance;
        int pieces;
    };
    const Case cases[] = {
        {13, 5.0, 1}, // 3 short, within 5
        {13, 2.0, 0}, // 3 short, beyond 2
        {10, 0.0, 1}, // ends on the target
        {-20, 0.0, 1}, // crosses it
    };
    for (const Case& c : cases) {
        AcDbObjectId target = addLine(-50, 10, 50, 10);
        AcDbObjectIdArray cutters;
        cutters.append(addLine(0, 60, 0, c.cutterEndY));
        AcDbObjectIdArray targets;
        targets.append(target);
        EXPECT_EQ(c.pieces, BreakEnt(cutters, targets, c.tolerance)) << c.cutterEndY << " / " << c.tolerance;
        if (c.pieces == 1)
            expectAt(AcGePoint3d(0, 10, 0), endsOf(target).second);
        else
            expectAt(AcGePoint3d(50, 10, 0), endsOf(target).second);
    }
}

TEST_F(NetworkEditing, ATargetIsNotBrokenNearItsOwnEnds)
{
    // The through centreline overshoots the junction by 3: its end is left for the end fit.
    AcDbObjectIdArray cutters;
    cutters.append(addLine(0, 60, 0, -60));
    AcDbObjectIdArray targets;
    targets.append(addLine(-3, 0, 100, 0));
    targets.append(addLine(100, 20, -3, 20)); // the same the other way round: the end is near
    EXPECT_EQ(0, BreakEnt(cutters, targets, 5.0));
    EXPECT_EQ(2, BreakEnt(cutters, targets, 2.0));
}

TEST_F(NetworkEditing, CuttersAndRepeatedTargetsAreBrokenAtMostOnce)
{
    AcDbObjectId first = addLine(-10, 60, -10, -60);
    AcDbObjectId second = addLine(10, 60, 10, -60);
    AcDbObjectId target = addLine(-50, 0, 50, 0);
    AcDbObjectIdArray cutters;
    cutters.append(first);
    cutters.append(second);
    AcDbObjectIdArray targets;
    targets.append(target);
    targets.append(first); // a cutter among the targets stays whole
    targets.append(target);
    ASSERT_EQ(2, BreakEnt(cutters, targets, 1.0));
    ASSERT_EQ(5, targets.length());
    // Three pieces in order along the target: the original holds the first.
    expectAt(AcGePoint3d(-10, 0, 0), endsOf(target).second);
    expectAt(AcGePoint3d(-10, 0, 0), endsOf(targets[3]).first);
    expectAt(AcGePoint3d(10, 0, 0), endsOf(targets[3]).second);
    expectAt(AcGePoint3d(50, 0, 0), endsOf(targets[4]).second);
    EXPECT_NEAR(120.0, lengthOf(first), 1e-12);
}

TEST_F(NetworkEditing, AClosedTargetOpensAtItsStartAndBreaksAtEachCrossing)
{
    AcDbObjectId block = addPolyline({{-20, 0}, {20, 0}, {20, 20}, {-20, 20}}, true);
    AcDbObjectIdArray cutters;
    cutters.append(addLine(0, -10, 0, 30));
    AcDbObjectIdArray targets;
    targets.append(block);
    ASSERT_EQ(2, BreakEnt(cutters, targets, 1.0));
    double total = 0;
    for (AcDbObjectId id : targets)
        total += lengthOf(id);
    EXPECT_NEAR(120.0, total, 1e-9);
    AcDbObjectPointer<AcDbCurve> kept(block, AcDb::kForRead);
    EXPECT_FALSE(kept->isClosed());
    kept.close();
    expectAt(AcGePoint3d(-20, 0, 0), endsOf(block).first);
    expectAt(AcGePoint3d(0, 0, 0), endsOf(block).second);
    expectAt(AcGePoint3d(-20, 0, 0), endsOf(targets[2]).second);
}

TEST_F(NetworkEditing, EndsAreExtendedOrTrimmedOntoTheReference)
{
    struct Case {
        const char* what;
        Builder make;
        double referenceX; // the reference is the line x = referenceX
        int flag;
        AcGePoint3d newEnd;
        int vertices; // after the edit (2 for lines and arcs)
    };
    auto line = [](double x1, double x2) {
        return Builder([=](NetworkEditing& f) { return f.addLine(x1, 0, x2, 0); });
    };
    auto pline = [](NetworkEditing& f) { return f.addPolyline({{-20, 0}, {0, 0}, {5, 0}}); };
    auto pline2d = [](NetworkEditing& f) { return f.add2dPolyline({{-20, 0}, {0, 0}, {5, 0}}); };
    const Case cases[] = {
        {"line extended at its end", line(0, 5), 10, 1, {10, 0, 0}, 2},
        {"line extended at its start", line(0, 5), -10, 0, {-10, 0, 0}, 2},
        {"line trimmed at its end", line(-20, 20), 10, 1, {10, 0, 0}, 2},
        {"line trimmed at its start", line(-20, 20), -10, 0, {-10, 0, 0}, 2},
        {"polyline extended at its end", pline, 10, 1, {10, 0, 0}, 3},
        {"polyline trimmed into an earlier segment", pline, -10, 1, {-10, 0, 0}, 2},
        {"polyline trimmed at its start", pline, -10, 0, {-10, 0, 0}, 3},
        {"polyline extended at its start", pline, -30, 0, {-30, 0, 0}, 3},
        {"old-style polyline trimmed into an earlier segment", pline2d, -10, 1, {-10, 0, 0}, 2},
        {"old-style polyline extended at its end", pline2d, 10, 1, {10, 0, 0}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AcDbObjectId id = c.make(*this);
        makeCentreline(id, L"24");
        const AcDbHandle handle = handleOf(id);
        const auto [start, end] = endsOf(id);
        AcDbObjectId reference = addLine(c.referenceX, -100, c.referenceX, 100);
        ASSERT_EQ(1, makeExorSh(id, reference, c.flag));
        const auto [newStart, newEnd] = endsOf(id);
        expectAt(c.newEnd, c.flag == 1 ? newEnd : newStart);
        expectAt(c.flag == 1 ? start : end, c.flag == 1 ? newStart : newEnd);
        EXPECT_EQ(c.vertices, vertexCount(id));
        EXPECT_EQ(handle, handleOf(id));
        EXPECT_DOUBLE_EQ(24.0, GetRoadWidth(id));
    }
}

TEST_F(NetworkEditing, CurvedEndsFollowTheirCircle)
{
    // A flat arc about (0, -50) from 80 to 100 degrees: its end (at 100 degrees) lies left of x = 0.
    AcDbObjectId arc = addArc(0, -50, 50, 80, 100);
    ASSERT_EQ(1, makeExorSh(arc, addLine(-10, -100, -10, 100), 1));
    const AcGePoint3d end = endsOf(arc).second;
    EXPECT_NEAR(-10.0, end.x, 1e-9);
    EXPECT_NEAR(50.0, std::hypot(end.x, end.y + 50), 1e-9);
    ASSERT_EQ(1, makeExorSh(arc, addLine(5, -100, 5, 100), 0)); // trims the start back to x = 5
    EXPECT_NEAR(5.0, endsOf(arc).first.x, 1e-9);

    // A polyline ending in a quarter circle about (10, 10) from (10, 0) to (20, 10): extended round it.
    AcDbObjectId pline = addPolyline({{0, 0}, {10, 0, std::tan(kPi / 8)}, {20, 10}});
    ASSERT_EQ(1, makeExorSh(pline, addLine(-100, 15, 100, 15), 1));
    const AcGePoint3d plineEnd = endsOf(pline).second;
    EXPECT_NEAR(15.0, plineEnd.y, 1e-9);
    EXPECT_NEAR(10.0, std::hypot(plineEnd.x - 10, plineEnd.y - 10), 1e-9);
    EXPECT_GT(plineEnd.x, 10.0) << "continued round the same side of the circle";
}

TEST_F(NetworkEditing, TheMeetingPointNearestTheEndIsTakenAndNoneMeansNoChange)
{
    // An arch over the line meets it at x = 5 and x = 25.
    AcDbObjectId arch = addPolyline({{5, -5}, {5, 5}, {25, 5}, {25, -5}});
    AcDbObjectId atEnd = addLine(0, 0, 30, 0);
    ASSERT_EQ(1, makeExorSh(atEnd, arch, 1));
    expectAt(AcGePoint3d(25, 0, 0), endsOf(atEnd).second);
    AcDbObjectId atStart = addLine(0, 2, 30, 2);
    ASSERT_EQ(1, makeExorSh(atStart, arch, 0));
    expectAt(AcGePoint3d(5, 2, 0), endsOf(atStart).first);

    // A reference only reachable by turning the line back over its start, a parallel one, a bad flag.
    AcDbObjectId stub = addLine(0, 0, 5, 0);
    EXPECT_EQ(0, makeExorSh(stub, addLine(-10, -100, -10, 100), 1));
    EXPECT_EQ(0, makeExorSh(stub, addLine(0, 3, 5, 3), 1));
    EXPECT_EQ(0, makeExorSh(stub, addLine(10, -100, 10, 100), 2));
    expectAt(AcGePoint3d(5, 0, 0), endsOf(stub).second);
    // A closed curve has no end to move.
    AcDbObjectId ring = addPolyline({{0, 0}, {10, 0}, {10, 10}}, true);
    EXPECT_EQ(0, makeExorSh(ring, addLine(20, -100, 20, 100), 1));
}

TEST_F(NetworkEditing, MovingACentrelineEndKeepsItsOtherVerticesAndShape)
{
    AcDbObjectId line = addLine(0, 0, 10, 0);
    makeCentreline(line, L"30");
    const AcDbHandle handle = handleOf(line);
    ASSERT_EQ(1, tarn_dl_change2dPline(line, AcGePoint3d(12, 3, 7), 1));
    expectAt(AcGePoint3d(12, 3, 0), endsOf(line).second);
    EXPECT_EQ(0.0, endsOf(line).second.z) << "the centreline stays in its plane";
    EXPECT_EQ(handle, handleOf(line));
    EXPECT_DOUBLE_EQ(30.0, GetRoadWidth(line));

    AcDbObjectId pline = addPolyline({{0, 0}, {10, 0, 0.5}, {20, 0}});
    ASSERT_EQ(1, tarn_dl_change2dPline(pline, AcGePoint3d(-5, 0, 0), 0));
    {
        AcDbObjectPointer<AcDbPolyline> read(pline, AcDb::kForRead);
        ASSERT_EQ(3u, read->numVerts());
        AcGePoint3d middle;
        double bulge = 0;
        read->getPointAt(1, middle);
        read->getBulgeAt(1, bulge);
        expectAt(AcGePoint3d(10, 0, 0), middle);
        EXPECT_DOUBLE_EQ(0.5, bulge);
    }
    expectAt(AcGePoint3d(-5, 0, 0), endsOf(pline).first);

    AcDbObjectId pline2d = add2dPolyline({{0, 0}, {10, 0}, {20, 5}});
    ASSERT_EQ(1, tarn_dl_change2dPline(pline2d, AcGePoint3d(25, 5, 0), 1));
    expectAt(AcGePoint3d(25, 5, 0), endsOf(pline2d).second);
    EXPECT_EQ(3, vertexCount(pline2d));

    // A quarter arc keeps its included angle when its end moves.
    AcDbObjectId arc = addArc(0, 0, 10, 0, 90);
    ASSERT_EQ(1, tarn_dl_change2dPline(arc, AcGePoint3d(0, 20, 0), 1));
    {
        AcDbObjectPointer<AcDbArc> read(arc, AcDb::kForRead);
        EXPECT_NEAR(kPi / 2, read->totalAngle(), 1e-9);
    }
    expectAt(AcGePoint3d(10, 0, 0), endsOf(arc).first);
    expectAt(AcGePoint3d(0, 20, 0), endsOf(arc).second);

    EXPECT_EQ(0, tarn_dl_change2dPline(line, AcGePoint3d(0, 0, 0), 1)) << "onto the other end";
    EXPECT_EQ(0, tarn_dl_change2dPline(line, AcGePoint3d(1, 1, 0), 3));
}

TEST_F(NetworkEditing, MeetingPointsAreListedAlongTheFirstCurve)
{
    AcDbObjectId line = addLine(-20, 5, 20, 5);
    AcDbObjectId arc = addArc(0, 0, 10, 0, 180);
    AcGePoint3dArray points;
    ASSERT_EQ(1, JudgeIntersect(line, arc, points));
    ASSERT_EQ(2, points.length());
    EXPECT_LT(points[0].x, points[1].x);
    EXPECT_NEAR(std::sqrt(75.0), points[1].x, 1e-9);
    // Meeting only when extended is no meeting; the points are replaced, not appended.
    AcDbObjectId far = addLine(30, -10, 30, 10);
    EXPECT_EQ(0, JudgeIntersect(line, far, points));
    EXPECT_TRUE(points.isEmpty());
}

TEST_F(NetworkEditing, PointsAreTestedAgainstCurvesInPlan)
{
    AcDbObjectId line = addLine(0, 0, 10, 0);
    AcDbObjectId arc = addArc(0, 0, 10, 0, 90);
    struct Case {
        AcDbObjectId id;
        AcGePoint3d point;
        int onLine;
        int atStart;
    };
    const Case cases[] = {
        {line, {5, 0, 0}, 1, 1}, // the middle counts as the start
        {line, {5, 0.0005, 3}, 1, 1}, // z does not matter, a rounding-size offset neither
        {line, {5, 0.01, 0}, 0, 1},
        {line, {9, 0, 0}, 1, 0},
        {line, {-1, 0, 0}, 0, 1}, // beyond the start is not on it
        {arc, {0, 10, 0}, 1, 0},
        {arc, {10 * std::cos(0.3), 10 * std::sin(0.3), 0}, 1, 1},
        {arc, {-10, 0, 0}, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.onLine, tarn_isPtOnLine(c.id, c.point)) << c.point.x << ", " << c.point.y;
        EXPECT_EQ(c.atStart, JudgePtAtStart(c.id, c.point)) << c.point.x << ", " << c.point.y;
    }
    AcDbObjectId text = add(new AcDbText(AcGePoint3d(0, 0, 0), L"中线"));
    EXPECT_EQ(0, tarn_isPtOnLine(text, AcGePoint3d(0, 0, 0)));
    EXPECT_EQ(0, JudgePtAtStart(text, AcGePoint3d(0, 0, 0)));
}

TEST_F(NetworkEditing, TheClosestCurveIsFoundAmongTheGivenOnes)
{
    AcDbObjectIdArray ids;
    AcDbObjectId text = add(new AcDbText(AcGePoint3d(0, 1, 0), L"近"));
    ids.append(text);
    ids.append(addLine(0, 10, 100, 10));
    ids.append(addArc(50, 0, 4, 0, 180)); // 4 away from its centre (50, 0)
    ids.append(addLine(0, -4, 100, -4)); // as near as the arc: the first of equals wins
    AcDbObjectId found;
    ASSERT_EQ(1, RoadGreenLineOpr::GetCloseEnt(ids, AcGePoint3d(50, 0, 0), found));
    EXPECT_EQ(ids[2], found);
    ASSERT_EQ(1, RoadGreenLineOpr::GetCloseEnt(ids, AcGePoint3d(0, 9, 0), found));
    EXPECT_EQ(ids[1], found);

    AcDbObjectIdArray onlyText;
    onlyText.append(text);
    AcDbObjectId untouched = text;
    EXPECT_EQ(0, RoadGreenLineOpr::GetCloseEnt(onlyText, AcGePoint3d(0, 0, 0), untouched));
    EXPECT_EQ(0, RoadGreenLineOpr::GetCloseEnt(AcDbObjectIdArray(), AcGePoint3d(0, 0, 0), untouched));
    EXPECT_EQ(text, untouched);
}

} // namespace
} // namespace planroad::test
