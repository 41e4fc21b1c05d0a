// The network editing primitives in the order the T-junction repair runs them: a probe along the dead-end
// centreline breaks the through road's lines, then both centrelines are fitted to the junction.
#include <cmath>
#include <functional>

#include "RoadFixture.h"

namespace planroad::test {
namespace {

class TJunction : public RoadFixture {
public:
    using RoadFixture::addArc;
    using RoadFixture::addLine;
    using RoadFixture::addPolyline;

protected:
    struct Result {
        bool met = false;
        AcGePoint3d junction;
        int newPieces = 0;
    };

    // The repair's steps after the picks: the probe is the straight dead-end centreline lengthened by
    // `reach` at both ends; it is erased at the end.
    Result repair(AcDbObjectId deadEnd, AcDbObjectId through, AcDbObjectIdArray& sides, double tolerance,
        double reach = 30.0)
    {
        Result result;
        const auto [s, e] = endsOf(deadEnd);
        const AcGeVector3d along = (e - s).normal() * reach;
        AcDbObjectId probe = addLine(s.x - along.x, s.y - along.y, e.x + along.x, e.y + along.y);
        AcGePoint3dArray points;
        if (JudgeIntersect(probe, through, points) != 0) {
            result.met = true;
            result.junction = points[0];
            AcDbObjectIdArray targets = sides;
            targets.append(through);
            AcDbObjectIdArray cutters;
            cutters.append(probe);
            result.newPieces = BreakEnt(cutters, targets, tolerance);
            sides = targets;

            const auto [ts, te] = endsOf(through);
            const double d1 = ts.distanceTo(result.junction);
            const double d2 = te.distanceTo(result.junction);
            if (d1 < tolerance && d2 > tolerance)
                makeExorSh(through, probe, 0);
            else if (d2 < tolerance && d1 > tolerance)
                makeExorSh(through, probe, 1);

            const double e1 = s.distanceTo(result.junction);
            const double e2 = e.distanceTo(result.junction);
            const int nearEnd = e2 <= e1 ? 1 : 0;
            if (JudgeIntersect(deadEnd, through, points) != 0)
                makeExorSh(deadEnd, through, nearEnd);
            else
                tarn_dl_change2dPline(deadEnd, result.junction, nearEnd);
        }
        AcDbObjectPointer<AcDbEntity> erase(probe, AcDb::kForWrite);
        erase->erase();
        return result;
    }
};

using Builder = std::function<AcDbObjectId(TJunction&, double offset)>;

// The through road runs along y = 0 near the junction at the origin; `offset` shifts a line of it to
// y = offset. Each class passes x = 0 at (0, offset).
const struct {
    const char* what;
    Builder make;
} kThroughRoads[] = {
    {"lines", [](TJunction& f, double offset) { return f.addLine(-100, offset, 100, offset); }},
    {"arcs", [](TJunction& f, double offset) { return f.addArc(0, -1000, 1000 + offset, 84, 96); }},
    {"polylines",
        [](TJunction& f, double offset) {
            return f.addPolyline(
                {{-100, offset + 20}, {-40, offset, 0.0}, {40, offset, 0.1}, {100, offset + 5}});
        }},
};

TEST_F(TJunction, ADeadEndShortOfTheThroughRoadIsJoinedAndTheThroughRoadBroken)
{
    for (const auto& road : kThroughRoads) {
        for (const auto& sides : kThroughRoads) {
            SCOPED_TRACE(std::string("centreline of ") + road.what + ", sides of " + sides.what);
            AcDbObjectId through = road.make(*this, 0);
            makeCentreline(through, L"", L"rx5cx10rx5");
            AcDbObjectIdArray sideIds;
            sideIds.append(sides.make(*this, 10));
            sideIds.append(sides.make(*this, -10));
            for (AcDbObjectId id : sideIds)
                ASSERT_EQ(1, ARX_DATA::CFSimpleXData::SetTo(id, L"FAPP_DLBX", L"车行道线"));
            AcDbObjectId deadEnd = addLine(0, 60, 0, 3); // 3 short of the through centreline
            makeCentreline(deadEnd, L"16");
            const AcDbHandle throughHandle = handleOf(through);
            const auto throughStart = endsOf(through).first;

            const Result result = repair(deadEnd, through, sideIds, 5.0);
            ASSERT_TRUE(result.met);
            expectAt(AcGePoint3d(0, 0, 0), result.junction, 1e-9);
            // Both side lines and the through centreline are broken at the probe.
            EXPECT_EQ(3, result.newPieces);
            ASSERT_EQ(6, sideIds.length());
            for (int i = 3; i < 6; ++i) {
                EXPECT_LT(std::fabs(endsOf(sideIds[i]).first.x), 1e-6);
                CString text;
                EXPECT_EQ(1,
                    ARX_DATA::CFSimpleXData::GetFrom(sideIds[i], i < 5 ? L"FAPP_DLBX" : L"FAPP_DLZX", text));
            }
            EXPECT_EQ(throughHandle, handleOf(through));
            expectAt(throughStart, endsOf(through).first, 1e-9);
            expectAt(AcGePoint3d(0, 0, 0), endsOf(through).second, 1e-6);
            EXPECT_DOUBLE_EQ(20.0, GetRoadWidth(sideIds[5]))
                << "the new piece is a centreline of the same road";
            // The dead end now reaches the junction and keeps its data.
            expectAt(AcGePoint3d(0, 0, 0), endsOf(deadEnd).second, 1e-6);
            expectAt(AcGePoint3d(0, 60, 0), endsOf(deadEnd).first, 1e-9);
            EXPECT_DOUBLE_EQ(16.0, GetRoadWidth(deadEnd));
        }
    }
}

TEST_F(TJunction, ADeadEndOvershootingTheThroughRoadIsTrimmed)
{
    AcDbObjectId through = addPolyline({{-100, 0}, {100, 0}});
    makeCentreline(through, L"30");
    AcDbObjectId deadEnd = addPolyline({{0, 60}, {0, 20}, {0, -4}});
    makeCentreline(deadEnd, L"16");
    AcDbObjectIdArray sides;
    ASSERT_TRUE(repair(deadEnd, through, sides, 5.0).met);
    expectAt(AcGePoint3d(0, 0, 0), endsOf(deadEnd).second, 1e-9);
    AcDbObjectPointer<AcDbPolyline> read(deadEnd, AcDb::kForRead);
    EXPECT_EQ(3u, read->numVerts());
}

TEST_F(TJunction, AThroughEndNearTheJunctionIsFittedWithinTheToleranceAndBrokenOutsideIt)
{
    // The through centreline overshoots the junction by 3 on its start side.
    struct Case {
        double tolerance;
        bool broken;
    };
    for (const Case c : {Case {5.0, false}, Case {2.0, true}}) {
        AcDbObjectId through = addLine(-3, 0, 100, 0);
        makeCentreline(through, L"30");
        AcDbObjectId deadEnd = addLine(0, 60, 0, 12);
        AcDbObjectIdArray sides;
        const Result result = repair(deadEnd, through, sides, c.tolerance);
        ASSERT_TRUE(result.met);
        EXPECT_EQ(c.broken ? 1 : 0, result.newPieces) << c.tolerance;
        if (c.broken) {
            // Broken into a stub that keeps the handle and the rest; neither end is then fitted.
            expectAt(AcGePoint3d(-3, 0, 0), endsOf(through).first);
            expectAt(AcGePoint3d(0, 0, 0), endsOf(through).second);
        } else {
            // Whole, with its start trimmed back onto the probe.
            expectAt(AcGePoint3d(0, 0, 0), endsOf(through).first);
            expectAt(AcGePoint3d(100, 0, 0), endsOf(through).second);
        }
        expectAt(AcGePoint3d(0, 0, 0), endsOf(deadEnd).second);
    }
}

TEST_F(TJunction, AProbeThatMissesChangesNothing)
{
    AcDbObjectId through = addLine(5, 0, 100, 0); // starts beyond the dead end's line
    AcDbObjectId deadEnd = addLine(0, 60, 0, 12);
    AcDbObjectIdArray sides;
    sides.append(addLine(-100, 10, 100, 10));
    EXPECT_FALSE(repair(deadEnd, through, sides, 5.0).met);
    EXPECT_EQ(1, sides.length());
    expectAt(AcGePoint3d(100, 10, 0), endsOf(sides[0]).second);
    expectAt(AcGePoint3d(0, 12, 0), endsOf(deadEnd).second);
}

} // namespace
} // namespace planroad::test
