// Curves cut into pieces with getSplitCurves: pieces of the same class that join up to the original.
#include <cmath>
#include <memory>

#include "HostFixture.h"

namespace planroad::test {
namespace {

constexpr double kPi = 3.14159265358979323846;

// The pieces of one split, owned by the test.
struct Pieces {
    std::vector<std::unique_ptr<AcDbCurve>> curves;

    explicit Pieces(const AcDbVoidPtrArray& raw)
    {
        for (void* p : raw)
            curves.emplace_back(static_cast<AcDbCurve*>(p));
    }
    double length(std::size_t i) const
    {
        double end = 0;
        double dist = 0;
        curves[i]->getEndParam(end);
        curves[i]->getDistAtParam(end, dist);
        return dist;
    }
    AcGePoint3d start(std::size_t i) const
    {
        AcGePoint3d p;
        curves[i]->getStartPoint(p);
        return p;
    }
    AcGePoint3d end(std::size_t i) const
    {
        AcGePoint3d p;
        curves[i]->getEndPoint(p);
        return p;
    }
};

class CurveSplit : public HostFixture {
protected:
    // Splits the entity, checks that the pieces meet end to end from its start to its end and that their
    // lengths add up to its length, and returns them.
    Pieces split(AcDbObjectId id, const AcGeDoubleArray& params, Acad::ErrorStatus expected = Acad::eOk)
    {
        AcDbCurve* curve = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(curve, id, AcDb::kForRead));
        AcDbVoidPtrArray raw;
        EXPECT_EQ(expected, curve->getSplitCurves(params, raw));
        Pieces pieces(raw);
        if (expected == Acad::eOk && !pieces.curves.empty()) {
            AcGePoint3d s;
            AcGePoint3d e;
            double endParam = 0;
            double total = 0;
            curve->getStartPoint(s);
            curve->getEndPoint(e);
            curve->getEndParam(endParam);
            curve->getDistAtParam(endParam, total);
            EXPECT_TRUE(pieces.start(0).isEqualTo(s));
            EXPECT_TRUE(pieces.end(pieces.curves.size() - 1).isEqualTo(e));
            double sum = 0;
            for (std::size_t i = 0; i < pieces.curves.size(); ++i) {
                sum += pieces.length(i);
                EXPECT_EQ(curve->isA(), pieces.curves[i]->isA());
                if (i > 0) {
                    EXPECT_TRUE(pieces.start(i).isEqualTo(pieces.end(i - 1), AcGeTol()));
                }
            }
            EXPECT_NEAR(total, sum, 1e-9);
        }
        curve->close();
        return pieces;
    }
    static AcGeDoubleArray params(std::initializer_list<double> values)
    {
        AcGeDoubleArray out;
        for (double v : values)
            out.append(v);
        return out;
    }
};

TEST_F(CurveSplit, LinesAndArcsSplitAtTheirParameters)
{
    AcDbObjectId line = addLine(0, 0, 10, 0);
    Pieces pieces = split(line, params({7, 2.5}));
    ASSERT_EQ(3u, pieces.curves.size());
    EXPECT_NEAR(2.5, pieces.end(0).x, 1e-12);
    EXPECT_NEAR(7.0, pieces.end(1).x, 1e-12);

    // A quarter arc split at 45 degrees: two eighths about the same centre.
    AcDbObjectId arc = add(new AcDbArc(AcGePoint3d(5, 5, 0), 2, 0, kPi / 2));
    pieces = split(arc, params({kPi / 4}));
    ASSERT_EQ(2u, pieces.curves.size());
    auto* second = AcDbArc::cast(pieces.curves[1].get());
    ASSERT_NE(nullptr, second);
    EXPECT_NEAR(kPi / 4, second->startAngle(), 1e-12);
    EXPECT_NEAR(2.0, second->radius(), 1e-12);
}

TEST_F(CurveSplit, ArcsCrossingZeroDegreesSplitOnTheirOwnSide)
{
    // From 270 to 90 degrees through 0: the cut at 0 (parameter 2pi) makes two quarters.
    AcDbObjectId arc = add(new AcDbArc(AcGePoint3d(0, 0, 0), 1, 3 * kPi / 2, kPi / 2));
    Pieces pieces = split(arc, params({2 * kPi}));
    ASSERT_EQ(2u, pieces.curves.size());
    EXPECT_NEAR(1.0, pieces.end(0).x, 1e-12);
    EXPECT_NEAR(0.0, pieces.end(0).y, 1e-12);
}

TEST_F(CurveSplit, PolylineArcSegmentsKeepTheirCircle)
{
    // A straight segment, then a clockwise half circle of radius 5 (bulging back towards the start), then a
    // straight segment.
    auto* pline = new AcDbPolyline();
    pline->addVertexAt(0, AcGePoint2d(0, 0));
    pline->addVertexAt(1, AcGePoint2d(10, 0), -1.0);
    pline->addVertexAt(2, AcGePoint2d(10, 10));
    pline->addVertexAt(3, AcGePoint2d(0, 10));
    pline->setElevation(3.0);
    AcDbObjectId id = add(pline);

    Pieces pieces = split(id, params({1.5}));
    ASSERT_EQ(2u, pieces.curves.size());
    auto* first = AcDbPolyline::cast(pieces.curves[0].get());
    auto* rest = AcDbPolyline::cast(pieces.curves[1].get());
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, rest);
    EXPECT_EQ(3u, first->numVerts());
    EXPECT_EQ(3u, rest->numVerts());
    // Half of the half circle is a quarter: bulge tan(pi/8), still clockwise.
    double bulge = 0;
    first->getBulgeAt(1, bulge);
    EXPECT_NEAR(-std::tan(kPi / 8), bulge, 1e-12);
    rest->getBulgeAt(0, bulge);
    EXPECT_NEAR(-std::tan(kPi / 8), bulge, 1e-12);
    EXPECT_NEAR(5.0, pieces.end(0).x, 1e-9);
    EXPECT_NEAR(5.0, pieces.end(0).y, 1e-9);
    EXPECT_DOUBLE_EQ(3.0, first->elevation());
    EXPECT_FALSE(first->isClosed());

    // Cuts at vertices give whole segments.
    pieces = split(id, params({1, 2}));
    ASSERT_EQ(3u, pieces.curves.size());
    EXPECT_EQ(2u, AcDbPolyline::cast(pieces.curves[1].get())->numVerts());
}

TEST_F(CurveSplit, ClosedPolylinesEndBackAtTheirStart)
{
    auto* square = new AcDbPolyline();
    square->addVertexAt(0, AcGePoint2d(0, 0));
    square->addVertexAt(1, AcGePoint2d(10, 0));
    square->addVertexAt(2, AcGePoint2d(10, 10));
    square->addVertexAt(3, AcGePoint2d(0, 10));
    square->setClosed(true);
    AcDbObjectId id = add(square);
    Pieces pieces = split(id, params({0.5, 3.5}));
    ASSERT_EQ(3u, pieces.curves.size());
    // The last piece runs along the closing side back to the first vertex.
    EXPECT_NEAR(0.0, pieces.start(2).x, 1e-12);
    EXPECT_NEAR(5.0, pieces.start(2).y, 1e-12);
    EXPECT_TRUE(pieces.end(2).isEqualTo(AcGePoint3d(0, 0, 0)));
    EXPECT_EQ(5u, AcDbPolyline::cast(pieces.curves[1].get())->numVerts());
}

TEST_F(CurveSplit, OldStylePolylinesSplitIntoOldStylePolylines)
{
    AcGePoint3dArray points;
    points.append(AcGePoint3d(0, 0, 0));
    points.append(AcGePoint3d(10, 0, 0));
    points.append(AcGePoint3d(20, 0, 0));
    AcDbObjectId id = add(new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 1.5));
    Pieces pieces = split(id, params({0.25, 1.0}));
    ASSERT_EQ(3u, pieces.curves.size());
    auto* middle = AcDb2dPolyline::cast(pieces.curves[1].get());
    ASSERT_NE(nullptr, middle);
    EXPECT_EQ(2, middle->hostVertexCount());
    EXPECT_NEAR(1.5, pieces.start(1).z, 1e-12);
}

TEST_F(CurveSplit, CoincidentAndEndCutsMakeNoEmptyPieces)
{
    AcDbObjectId line = addLine(0, 0, 10, 0);
    EXPECT_EQ(2u, split(line, params({0, 4, 4, 10})).curves.size());
    EXPECT_EQ(1u, split(line, params({10})).curves.size());
}

TEST_F(CurveSplit, CutsOffTheCurveAreRefusedWholesale)
{
    AcDbObjectId line = addLine(0, 0, 10, 0);
    EXPECT_TRUE(split(line, params({5, 11}), Acad::eInvalidInput).curves.empty());
    EXPECT_TRUE(split(line, AcGeDoubleArray(), Acad::eInvalidInput).curves.empty());

    AcDbLine* read = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(read, line, AcDb::kForRead));
    AcGePoint3dArray off;
    off.append(AcGePoint3d(5, 0, 0));
    off.append(AcGePoint3d(6, 1, 0));
    AcDbVoidPtrArray raw;
    EXPECT_EQ(Acad::eInvalidInput, read->getSplitCurves(off, raw));
    EXPECT_TRUE(raw.isEmpty());
    off.removeAt(1);
    EXPECT_EQ(Acad::eOk, read->getSplitCurves(off, raw));
    Pieces pieces(raw);
    EXPECT_EQ(2u, pieces.curves.size());
    read->close();
}

TEST_F(CurveSplit, PiecesCarryTheOriginalsProperties)
{
    addLayer(L"DL-道路红线");
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    line->setDatabaseDefaults(&db());
    line->setLayer(L"DL-道路红线");
    line->setColorIndex(3);
    AcDbObjectId id = add(line);
    Pieces pieces = split(id, params({5}));
    ASSERT_EQ(2u, pieces.curves.size());
    for (const auto& piece : pieces.curves) {
        ACHAR* layer = piece->layer();
        EXPECT_EQ(std::wstring(L"DL-道路红线"), layer);
        acutDelString(layer);
        EXPECT_EQ(3, piece->colorIndex());
        EXPECT_FALSE(piece->isDatabaseResident());
    }
}

} // namespace
} // namespace planroad::test
