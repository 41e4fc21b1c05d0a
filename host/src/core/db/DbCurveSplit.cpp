// AcDbCurve::getSplitCurves: a line, arc or polyline cut into pieces of its own class.
#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "db/DatabaseImpl.h"
#include "dbents.h"
#include "dbpl.h"
#include "geometry/CurveKernel.h"

namespace {

// One piece to make: the parameters where it starts and ends on the original curve.
struct Span {
    double from;
    double to;
};

// A polyline vertex of a piece: its position, the bulge and widths of the segment that leaves it.
struct PieceVertex {
    AcGePoint3d point;
    double bulge = 0.0;
    double startWidth = 0.0;
    double endWidth = 0.0;
};

// The vertices of one polyline, whichever kind, as the piece builder needs them.
struct PolylineData {
    std::vector<AcGePoint3d> points;
    std::vector<double> bulges;
    std::vector<double> startWidths;
    std::vector<double> endWidths;
    bool closed = false;
};

// Parameters closer than this (relative to the curve's parameter range) are the same place.
constexpr double kParamSlack = 1e-9;

// Splits [from, to] of a polyline at its vertices; each segment piece gets the part of its segment's bulge
// that its share of the segment subtends (the parameter is proportional to the arc length, so to the angle).
std::vector<PieceVertex> polylinePiece(const PolylineData& pl, const arxhost::geom::Path& path, Span span)
{
    const int n = static_cast<int>(pl.points.size());
    const int segments = pl.closed ? n : n - 1;
    std::vector<double> breaks {span.from};
    for (int k = static_cast<int>(std::floor(span.from)) + 1; k < span.to; ++k)
        if (k - span.from > kParamSlack && span.to - k > kParamSlack)
            breaks.push_back(k);
    breaks.push_back(span.to);

    auto pointAt = [&](double param) {
        const double nearest = std::round(param);
        if (std::fabs(param - nearest) <= kParamSlack && nearest >= 0 && nearest <= segments)
            return pl.points[static_cast<std::size_t>(static_cast<int>(nearest) % n)];
        AcGePoint3d p;
        path.pointAtParam(param, p);
        return p;
    };

    std::vector<PieceVertex> out;
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
        const double u = breaks[i];
        const double v = breaks[i + 1];
        const int j = std::clamp(static_cast<int>(std::floor(u + kParamSlack)), 0, segments - 1);
        const auto sj = static_cast<std::size_t>(j);
        PieceVertex vertex;
        vertex.point = pointAt(u);
        vertex.bulge = std::tan((v - u) * std::atan(pl.bulges[sj]));
        const double w0 = pl.startWidths[sj];
        const double w1 = pl.endWidths[sj];
        vertex.startWidth = w0 + (w1 - w0) * (u - j);
        vertex.endWidth = w0 + (w1 - w0) * (v - j);
        out.push_back(vertex);
    }
    PieceVertex last;
    last.point = pointAt(span.to);
    out.push_back(last);
    return out;
}

AcDbCurve* linePiece(const AcDbLine& line, const arxhost::geom::Path& path, Span span)
{
    AcGePoint3d a;
    AcGePoint3d b;
    path.pointAtParam(span.from, a);
    path.pointAtParam(span.to, b);
    auto piece = std::make_unique<AcDbLine>(a, b);
    piece->setThickness(line.thickness());
    piece->setNormal(line.normal());
    return piece.release();
}

AcDbCurve* arcPiece(const AcDbArc& arc, Span span)
{
    auto piece = std::make_unique<AcDbArc>(arc.center(), arc.normal(), arc.radius(), span.from, span.to);
    piece->setThickness(arc.thickness());
    return piece.release();
}

PolylineData dataOf(const AcDbPolyline& pl)
{
    PolylineData data;
    data.closed = pl.isClosed();
    for (unsigned int i = 0; i < pl.numVerts(); ++i) {
        AcGePoint3d p;
        double bulge = 0;
        double sw = 0;
        double ew = 0;
        pl.getPointAt(i, p);
        pl.getBulgeAt(i, bulge);
        pl.getWidthsAt(i, sw, ew);
        data.points.push_back(p);
        data.bulges.push_back(bulge);
        data.startWidths.push_back(sw);
        data.endWidths.push_back(ew);
    }
    return data;
}

PolylineData dataOf(const AcDb2dPolyline& pl)
{
    PolylineData data;
    data.closed = pl.isClosed();
    AcGePoint3dArray points;
    AcGeDoubleArray bulges;
    pl.hostVertices(points, bulges);
    for (int i = 0; i < points.length(); ++i) {
        data.points.push_back(points[i]);
        data.bulges.push_back(bulges[i]);
        data.startWidths.push_back(pl.defaultStartWidth());
        data.endWidths.push_back(pl.defaultEndWidth());
    }
    return data;
}

AcDbCurve* lwPolylinePiece(const AcDbPolyline& pl, const arxhost::geom::Path& path, Span span)
{
    const std::vector<PieceVertex> vertices = polylinePiece(dataOf(pl), path, span);
    auto piece = std::make_unique<AcDbPolyline>(static_cast<unsigned int>(vertices.size()));
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        const PieceVertex& v = vertices[i];
        piece->addVertexAt(static_cast<unsigned int>(i), AcGePoint2d(v.point.x, v.point.y), v.bulge,
            v.startWidth, v.endWidth);
    }
    piece->setElevation(pl.elevation());
    piece->setNormal(pl.normal());
    piece->setThickness(pl.thickness());
    return piece.release();
}

AcDbCurve* polyline2dPiece(const AcDb2dPolyline& pl, const arxhost::geom::Path& path, Span span)
{
    const std::vector<PieceVertex> vertices = polylinePiece(dataOf(pl), path, span);
    AcGePoint3dArray points;
    AcGeDoubleArray bulges;
    for (const PieceVertex& v : vertices) {
        points.append(v.point);
        bulges.append(v.bulge);
    }
    auto piece = std::make_unique<AcDb2dPolyline>(pl.polyType(), points, pl.elevation(), Adesk::kFalse,
        pl.defaultStartWidth(), pl.defaultEndWidth(), &bulges);
    piece->setNormal(pl.normal());
    return piece.release();
}

} // namespace

Acad::ErrorStatus AcDbCurve::getSplitCurves(
    const AcGeDoubleArray& params, AcDbVoidPtrArray& curveSegments) const
{
    const auto* line = AcDbLine::cast(this);
    const auto* arc = AcDbArc::cast(this);
    const auto* lwPolyline = AcDbPolyline::cast(this);
    const auto* polyline2d = AcDb2dPolyline::cast(this);
    if (line == nullptr && arc == nullptr && lwPolyline == nullptr && polyline2d == nullptr)
        return Acad::eNotApplicable;
    arxhost::geom::Path path;
    if (!hostPath(path) || path.empty())
        return Acad::eNotApplicable;
    if (params.isEmpty())
        return Acad::eInvalidInput;

    const double first = path.startParam();
    const double last = path.endParam();
    const double slack = kParamSlack * std::max(1.0, last - first);
    std::vector<double> cuts {first};
    for (double p : params) {
        if (p < first - slack || p > last + slack)
            return Acad::eInvalidInput;
        cuts.push_back(std::clamp(p, first, last));
    }
    std::sort(cuts.begin() + 1, cuts.end());
    cuts.push_back(last);

    // A piece shorter than the point tolerance is a coincident pair of cuts: it is not made.
    std::vector<Span> spans;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        double from = 0;
        double to = 0;
        path.distAtParam(cuts[i], from);
        path.distAtParam(cuts[i + 1], to);
        if (to - from > arxhost::geom::pointTolerance(0.0))
            spans.push_back({cuts[i], cuts[i + 1]});
    }

    for (const Span& span : spans) {
        AcDbCurve* piece = nullptr;
        if (line != nullptr)
            piece = linePiece(*line, path, span);
        else if (arc != nullptr)
            piece = arcPiece(*arc, span);
        else if (lwPolyline != nullptr)
            piece = lwPolylinePiece(*lwPolyline, path, span);
        else
            piece = polyline2dPiece(*polyline2d, path, span);
        piece->setPropertiesFrom(*this);
        curveSegments.append(piece);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getSplitCurves(
    const AcGePoint3dArray& points, AcDbVoidPtrArray& curveSegments) const
{
    if (points.isEmpty())
        return Acad::eInvalidInput;
    AcGeDoubleArray params;
    for (const AcGePoint3d& point : points) {
        double param = 0;
        Acad::ErrorStatus es = getParamAtPoint(point, param);
        if (es != Acad::eOk)
            return es == Acad::eNotApplicable ? es : Acad::eInvalidInput;
        params.append(param);
    }
    return getSplitCurves(params, curveSegments);
}
