// Entities' geometry through the SDK: curve questions, intersections with extension, text boxes.
#include <cmath>

#include "HostFixture.h"
#include "geline3d.h"

namespace planroad::test {
namespace {

constexpr double kPi = 3.14159265358979323846;

class EntityGeometry : public HostFixture {
protected:
    std::vector<AcGePoint3d> intersections(AcDbObjectId a, AcDbObjectId b, AcDb::Intersect mode)
    {
        AcDbEntity* first = nullptr;
        AcDbEntity* second = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenAcDbEntity(first, a, AcDb::kForRead));
        EXPECT_EQ(Acad::eOk, acdbOpenAcDbEntity(second, b, AcDb::kForRead));
        AcGePoint3dArray points;
        EXPECT_EQ(Acad::eOk, first->intersectWith(second, mode, points));
        first->close();
        second->close();
        return std::vector<AcGePoint3d>(points.begin(), points.end());
    }
};

// A red line ending short of a side line, and the arc of a rounded corner whose full circle reaches
// further than the arc: the corner searches of the module rely on each extend mode.
TEST_F(EntityGeometry, IntersectionsFollowTheExtendModes)
{
    AcDbObjectId shortLine = addLine(0, 0, 4, 0); // ends 6 short of x = 10
    AcDbObjectId side = addLine(10, -20, 10, 20);
    struct Case {
        AcDbObjectId a;
        AcDbObjectId b;
        AcDb::Intersect mode;
        std::size_t expected;
    };
    const Case lineCases[] = {
        {shortLine, side, AcDb::kOnBothOperands, 0},
        {shortLine, side, AcDb::kExtendThis, 1},
        {shortLine, side, AcDb::kExtendArg, 0},
        {side, shortLine, AcDb::kExtendArg, 1},
        {shortLine, side, AcDb::kExtendBoth, 1},
    };
    for (const Case& c : lineCases) {
        auto points = intersections(c.a, c.b, c.mode);
        ASSERT_EQ(c.expected, points.size()) << "mode " << c.mode;
        if (!points.empty()) {
            EXPECT_NEAR(10.0, points.front().x, 1e-9);
            EXPECT_NEAR(0.0, points.front().y, 1e-9);
        }
    }

    // The upper left quarter of a circle of radius 5 about (0, 10), and the line x = 3 well above it.
    AcDbObjectId arc = add(new AcDbArc(AcGePoint3d(0, 10, 0), 5, kPi / 2, kPi));
    AcDbObjectId vertical = addLine(3, 100, 3, 90);
    EXPECT_TRUE(intersections(arc, vertical, AcDb::kOnBothOperands).empty());
    EXPECT_TRUE(intersections(arc, vertical, AcDb::kExtendArg).empty()); // x = 3 misses the quarter
    EXPECT_TRUE(intersections(arc, vertical, AcDb::kExtendThis).empty()); // the segment is far above
    auto both = intersections(arc, vertical, AcDb::kExtendBoth);
    ASSERT_EQ(2u, both.size());
    EXPECT_NEAR(3.0, both[0].x, 1e-9);
    EXPECT_NEAR(14.0, std::max(both[0].y, both[1].y), 1e-9);
    EXPECT_NEAR(6.0, std::min(both[0].y, both[1].y), 1e-9);
}

TEST_F(EntityGeometry, PolylineParametersCountVerticesIncludingTheClosingSegment)
{
    auto* pline = new AcDbPolyline();
    pline->addVertexAt(0, AcGePoint2d(0, 0));
    pline->addVertexAt(1, AcGePoint2d(10, 0), 1.0); // a half circle to (10, 10), bulging to the right
    pline->addVertexAt(2, AcGePoint2d(10, 10));
    pline->setClosed(true);
    AcDbObjectId id = add(pline);
    AcDbCurve* curve = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(curve, id, AcDb::kForRead));
    double end = 0;
    curve->getEndParam(end);
    EXPECT_DOUBLE_EQ(3.0, end);
    AcGePoint3d mid;
    curve->getPointAtParam(1.5, mid);
    EXPECT_NEAR(15.0, mid.x, 1e-9);
    EXPECT_NEAR(5.0, mid.y, 1e-9);
    double length = 0;
    curve->getDistAtParam(end, length);
    EXPECT_NEAR(10 + 5 * kPi + std::sqrt(200.0), length, 1e-9);
    EXPECT_TRUE(curve->isClosed());
    curve->close();
}

TEST_F(EntityGeometry, OldStylePolylineVerticesAreObjectsOfTheirOwn)
{
    AcGePoint3dArray points;
    points.append(AcGePoint3d(0, 0, 0));
    points.append(AcGePoint3d(5, 0, 0));
    points.append(AcGePoint3d(5, 5, 0));
    AcGeDoubleArray bulges;
    bulges.append(0);
    bulges.append(-1);
    bulges.append(0);
    AcDbObjectId id = add(new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 2.0, false, 0, 0, &bulges));
    AcDb2dPolyline* pline = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(pline, id, AcDb::kForRead));
    AcDbObjectIterator* it = pline->vertexIterator();
    std::vector<double> seen;
    for (it->start(); !it->done(); it->step()) {
        AcDb2dVertex* vertex = nullptr;
        ASSERT_EQ(Acad::eOk, pline->openVertex(vertex, it->objectId(), AcDb::kForRead));
        seen.push_back(vertex->bulge());
        EXPECT_DOUBLE_EQ(2.0, pline->vertexPosition(*vertex).z);
        vertex->close();
    }
    delete it;
    EXPECT_EQ((std::vector<double> {0, -1, 0}), seen);
    AcGePoint3d end;
    pline->getEndPoint(end);
    EXPECT_DOUBLE_EQ(5.0, end.y);
    pline->close();
}

TEST_F(EntityGeometry, TextBoxFollowsTheAlignmentPoint)
{
    auto* text = new AcDbText(AcGePoint3d(0, 0, 0), L"道路", AcDbObjectId::kNull, 2.0, 0);
    text->setHorizontalMode(AcDb::kTextCenter);
    text->setVerticalMode(AcDb::kTextVertMid);
    text->setAlignmentPoint(AcGePoint3d(100, 50, 0));
    AcDbObjectId id = add(text);
    AcDbText* read = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(read, id, AcDb::kForRead));
    AcDbExtents ext;
    read->getGeomExtents(ext);
    // Two ideographs, each a full cell of the text height: 4 wide, 2 high, centred on the alignment point.
    EXPECT_NEAR(98.0, ext.minPoint().x, 1e-9);
    EXPECT_NEAR(102.0, ext.maxPoint().x, 1e-9);
    EXPECT_NEAR(49.0, ext.minPoint().y, 1e-9);
    EXPECT_NEAR(51.0, ext.maxPoint().y, 1e-9);
    // Closing the text placed its insertion point, as the host does.
    EXPECT_NEAR(98.0, read->position().x, 1e-9);
    read->close();
}

TEST_F(EntityGeometry, TransformsRotateAboutAPoint)
{
    AcDbObjectId id = add(new AcDbArc(AcGePoint3d(10, 0, 0), 2, 0, kPi / 2));
    AcDbArc* arc = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(arc, id, AcDb::kForWrite));
    ASSERT_EQ(Acad::eOk,
        arc->transformBy(AcGeMatrix3d::rotation(kPi / 2, AcGeVector3d::kZAxis, AcGePoint3d(0, 0, 0))));
    EXPECT_NEAR(0.0, arc->center().x, 1e-9);
    EXPECT_NEAR(10.0, arc->center().y, 1e-9);
    EXPECT_NEAR(kPi / 2, arc->startAngle(), 1e-9);
    EXPECT_NEAR(kPi, arc->endAngle(), 1e-9);
    // A mirror turns the direction of the arc round.
    AcGeMatrix3d mirror;
    mirror.setToMirroring(AcGeLine3d(AcGePoint3d(0, 0, 0), AcGeVector3d::kYAxis));
    ASSERT_EQ(Acad::eOk, arc->transformBy(mirror));
    EXPECT_NEAR(0.0, arc->startAngle(), 1e-9);
    EXPECT_NEAR(kPi / 2, arc->endAngle(), 1e-9);
    arc->close();
}

} // namespace
} // namespace planroad::test
