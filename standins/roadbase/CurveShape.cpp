// Road curves as polylines of vertices and bulges: reading any curve class, writing back into it.
#include "roadbase/CurveShape.h"

#include <cmath>
#include <memory>

#include "dbents.h"
#include "dbpl.h"

namespace planroad::standins::roadbase {

namespace {

constexpr double kPi = 3.14159265358979323846;

void addVertex(CurveShape& shape, const AcGePoint3d& point, double bulge, double startWidth, double endWidth)
{
    shape.points.push_back(point);
    shape.bulges.push_back(bulge);
    shape.startWidths.push_back(startWidth);
    shape.endWidths.push_back(endWidth);
}

// The bulge of the segment from parameter i to i + 1 from its middle point: the sagitta over half the chord,
// positive when the middle lies to the right of the chord (a counter-clockwise arc).
double bulgeFromMiddle(const AcGePoint3d& a, const AcGePoint3d& middle, const AcGePoint3d& b)
{
    const double cx = b.x - a.x;
    const double cy = b.y - a.y;
    const double chord = std::hypot(cx, cy);
    if (chord == 0.0)
        return 0.0;
    const double right = ((middle.x - a.x) * cy - (middle.y - a.y) * cx) / chord;
    const double bulge = 2.0 * right / chord;
    return std::fabs(bulge) < 1e-12 ? 0.0 : bulge;
}

bool read2dPolyline(const AcDb2dPolyline& pline, CurveShape& shape)
{
    shape.closed = pline.isClosed();
    if (pline.isDatabaseResident()) {
        std::unique_ptr<AcDbObjectIterator> it(pline.vertexIterator());
        for (it->start(); !it->done(); it->step()) {
            AcDb2dVertex* vertex = nullptr;
            if (pline.openVertex(vertex, it->objectId(), AcDb::kForRead) != Acad::eOk)
                continue;
            addVertex(shape, pline.vertexPosition(*vertex), vertex->bulge(), vertex->startWidth(),
                vertex->endWidth());
            vertex->close();
        }
        return !shape.points.empty();
    }
    // A polyline not yet in a drawing (a piece of a split) answers only through its parameters.
    double endParam = 0;
    if (pline.getEndParam(endParam) != Acad::eOk)
        return false;
    const int segments = static_cast<int>(std::lround(endParam));
    const int vertices = shape.closed ? segments : segments + 1;
    for (int i = 0; i < vertices; ++i) {
        AcGePoint3d p;
        AcGePoint3d middle;
        AcGePoint3d next;
        pline.getPointAtParam(i, p);
        double bulge = 0;
        if (i < segments) {
            pline.getPointAtParam(i + 0.5, middle);
            pline.getPointAtParam(i + 1, next);
            bulge = bulgeFromMiddle(p, middle, next);
        }
        addVertex(shape, p, bulge, pline.defaultStartWidth(), pline.defaultEndWidth());
    }
    return !shape.points.empty();
}

Acad::ErrorStatus write2dPolyline(AcDb2dPolyline& pline, const CurveShape& shape)
{
    if (!pline.isDatabaseResident())
        return Acad::eNotInDatabase;
    std::vector<AcDbObjectId> old;
    {
        std::unique_ptr<AcDbObjectIterator> it(pline.vertexIterator());
        for (it->start(); !it->done(); it->step())
            old.push_back(it->objectId());
    }
    const double elevation = shape.points.front().z;
    for (std::size_t i = 0; i < shape.points.size(); ++i) {
        AcGePoint3d p(shape.points[i].x, shape.points[i].y, elevation);
        auto vertex
            = std::make_unique<AcDb2dVertex>(p, shape.bulges[i], shape.startWidths[i], shape.endWidths[i]);
        Acad::ErrorStatus es = pline.appendVertex(vertex.get());
        if (es != Acad::eOk)
            return es;
        vertex.release(); // the polyline owns it now
    }
    for (AcDbObjectId id : old) {
        AcDb2dVertex* vertex = nullptr;
        if (pline.openVertex(vertex, id, AcDb::kForWrite) == Acad::eOk) {
            vertex->erase();
            vertex->close();
        }
    }
    pline.setElevation(elevation);
    return shape.closed ? pline.makeClosed() : pline.makeOpen();
}

} // namespace

double planDistance(const AcGePoint3d& a, const AcGePoint3d& b)
{
    return std::hypot(a.x - b.x, a.y - b.y);
}

SegmentArc arcOfBulge(const AcGePoint3d& p1, const AcGePoint3d& p2, double bulge)
{
    SegmentArc arc;
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    const double chord = std::hypot(dx, dy);
    // The centre lies on the chord's perpendicular bisector, chord (1 - b^2) / 4b to the left of it.
    const double offset = chord * (1.0 - bulge * bulge) / (4.0 * bulge);
    arc.center
        = AcGePoint3d((p1.x + p2.x) / 2 - dy / chord * offset, (p1.y + p2.y) / 2 + dx / chord * offset, p1.z);
    arc.radius = chord * (1.0 + bulge * bulge) / (4.0 * std::fabs(bulge));
    arc.startAngle = std::atan2(p1.y - arc.center.y, p1.x - arc.center.x);
    arc.endAngle = std::atan2(p2.y - arc.center.y, p2.x - arc.center.x);
    arc.clockwise = bulge < 0;
    return arc;
}

double bulgeOfArc(const AcGePoint3d& p1, const AcGePoint3d& p2, const AcGePoint3d& center, bool clockwise)
{
    const double a1 = std::atan2(p1.y - center.y, p1.x - center.x);
    const double a2 = std::atan2(p2.y - center.y, p2.x - center.x);
    double sweep = clockwise ? a1 - a2 : a2 - a1;
    sweep = std::fmod(sweep, 2 * kPi);
    if (sweep <= 0)
        sweep += 2 * kPi;
    const double bulge = std::tan(sweep / 4);
    return clockwise ? -bulge : bulge;
}

bool readShape(const AcDbCurve& curve, CurveShape& shape)
{
    shape = CurveShape();
    if (const auto* line = AcDbLine::cast(&curve)) {
        addVertex(shape, line->startPoint(), 0.0, 0.0, 0.0);
        addVertex(shape, line->endPoint(), 0.0, 0.0, 0.0);
        return true;
    }
    if (const auto* arc = AcDbArc::cast(&curve)) {
        AcGePoint3d s;
        AcGePoint3d e;
        arc->getStartPoint(s);
        arc->getEndPoint(e);
        addVertex(shape, s, std::tan(arc->totalAngle() / 4), 0.0, 0.0);
        addVertex(shape, e, 0.0, 0.0, 0.0);
        return true;
    }
    if (const auto* pline = AcDbPolyline::cast(&curve)) {
        shape.closed = pline->isClosed();
        for (unsigned int i = 0; i < pline->numVerts(); ++i) {
            AcGePoint3d p;
            double bulge = 0;
            double sw = 0;
            double ew = 0;
            pline->getPointAt(i, p);
            pline->getBulgeAt(i, bulge);
            pline->getWidthsAt(i, sw, ew);
            addVertex(shape, p, bulge, sw, ew);
        }
        return !shape.points.empty();
    }
    if (const auto* pline2d = AcDb2dPolyline::cast(&curve))
        return read2dPolyline(*pline2d, shape);
    return false;
}

Acad::ErrorStatus writeShape(AcDbCurve& curve, const CurveShape& shape)
{
    if (shape.points.size() < 2)
        return Acad::eInvalidInput;
    if (auto* line = AcDbLine::cast(&curve)) {
        if (shape.points.size() != 2 || shape.closed || shape.bulges[0] != 0.0)
            return Acad::eNotApplicable;
        Acad::ErrorStatus es = line->setStartPoint(shape.points[0]);
        return es == Acad::eOk ? line->setEndPoint(shape.points[1]) : es;
    }
    if (auto* arc = AcDbArc::cast(&curve)) {
        if (shape.points.size() != 2 || shape.closed || shape.bulges[0] == 0.0)
            return Acad::eNotApplicable;
        const SegmentArc geometry = arcOfBulge(shape.points[0], shape.points[1], shape.bulges[0]);
        // An arc entity always turns counter-clockwise: a clockwise shape is the same arc seen from its end.
        Acad::ErrorStatus es = arc->setCenter(geometry.center);
        if (es == Acad::eOk)
            es = arc->setRadius(geometry.radius);
        if (es == Acad::eOk)
            es = arc->setStartAngle(geometry.clockwise ? geometry.endAngle : geometry.startAngle);
        if (es == Acad::eOk)
            es = arc->setEndAngle(geometry.clockwise ? geometry.startAngle : geometry.endAngle);
        return es;
    }
    if (auto* pline = AcDbPolyline::cast(&curve)) {
        if (!pline->isWriteEnabled())
            return Acad::eNotOpenForWrite;
        while (pline->numVerts() > 0)
            pline->removeVertexAt(pline->numVerts() - 1);
        for (std::size_t i = 0; i < shape.points.size(); ++i)
            pline->addVertexAt(static_cast<unsigned int>(i),
                AcGePoint2d(shape.points[i].x, shape.points[i].y), shape.bulges[i], shape.startWidths[i],
                shape.endWidths[i]);
        pline->setElevation(shape.points.front().z);
        pline->setClosed(shape.closed);
        return Acad::eOk;
    }
    if (auto* pline2d = AcDb2dPolyline::cast(&curve))
        return write2dPolyline(*pline2d, shape);
    return Acad::eNotApplicable;
}

} // namespace planroad::standins::roadbase
