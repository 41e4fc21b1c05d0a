// AcDbPolyline: the lightweight polyline with bulges, widths and a closing segment.
#include <cmath>

#include "db/DatabaseImpl.h"
#include "dbpl.h"
#include "geometry/CurveKernel.h"

ACRX_DEFINE_MEMBERS_DXF(AcDbPolyline, AcDbCurve, ACRX_T("LWPOLYLINE"))

AcDbPolyline::AcDbPolyline() = default;

AcDbPolyline::AcDbPolyline(unsigned int num_verts)
{
    mVertices.reserve(num_verts);
}

Acad::ErrorStatus AcDbPolyline::addVertexAt(
    unsigned int index, const AcGePoint2d& pt, double bulge, double startWidth, double endWidth, Adesk::Int32)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (index > mVertices.size())
        index = static_cast<unsigned int>(mVertices.size());
    Vertex v;
    v.point = pt;
    v.bulge = bulge;
    v.startWidth = startWidth < 0 ? mConstantWidth : startWidth;
    v.endWidth = endWidth < 0 ? mConstantWidth : endWidth;
    mVertices.insert(mVertices.begin() + index, v);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!validIndex(index))
        return Acad::eInvalidIndex;
    mVertices.erase(mVertices.begin() + index);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const
{
    if (!validIndex(index))
        return Acad::eInvalidIndex;
    // Vertices lie in the plane of the polyline at its elevation (normal along Z).
    pt = AcGePoint3d(mVertices[index].point.x, mVertices[index].point.y, mElevation);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const
{
    if (!validIndex(index))
        return Acad::eInvalidIndex;
    pt = mVertices[index].point;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!validIndex(index))
        return Acad::eInvalidIndex;
    mVertices[index].point = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const
{
    if (!validIndex(index))
        return Acad::eInvalidIndex;
    bulge = mVertices[index].bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!validIndex(index))
        return Acad::eInvalidIndex;
    mVertices[index].bulge = bulge;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const
{
    if (!validIndex(index))
        return Acad::eInvalidIndex;
    startWidth = mVertices[index].startWidth;
    endWidth = mVertices[index].endWidth;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth, double endWidth)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!validIndex(index))
        return Acad::eInvalidIndex;
    mVertices[index].startWidth = startWidth;
    mVertices[index].endWidth = endWidth;
    return Acad::eOk;
}

AcDbPolyline::SegType AcDbPolyline::segType(unsigned int index) const
{
    if (mVertices.empty())
        return kEmpty;
    if (mVertices.size() == 1)
        return kPoint;
    if (!validIndex(index))
        return kEmpty;
    unsigned int next = index + 1;
    if (next == mVertices.size()) {
        if (!mClosed)
            return kPoint;
        next = 0;
    }
    const AcGePoint2d& a = mVertices[index].point;
    const AcGePoint2d& b = mVertices[next].point;
    if (a.isEqualTo(b))
        return kCoincident;
    return mVertices[index].bulge == 0.0 ? kLine : kArc;
}

void AcDbPolyline::setClosed(Adesk::Boolean closed)
{
    if (writable())
        mClosed = closed;
}

void AcDbPolyline::setElevation(double elev)
{
    if (writable())
        mElevation = elev;
}

void AcDbPolyline::setNormal(const AcGeVector3d& normal)
{
    if (writable())
        mNormal = normal.normal();
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const
{
    width = mConstantWidth;
    for (const Vertex& v : mVertices)
        if (v.startWidth != mConstantWidth || v.endWidth != mConstantWidth)
            return Acad::eInvalidInput;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mConstantWidth = width;
    for (Vertex& v : mVertices)
        v.startWidth = v.endWidth = width;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setThickness(double thickness)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mThickness = thickness;
    return Acad::eOk;
}

bool AcDbPolyline::hasBulges() const
{
    for (const Vertex& v : mVertices)
        if (v.bulge != 0.0)
            return true;
    return false;
}

bool AcDbPolyline::hasWidth() const
{
    for (const Vertex& v : mVertices)
        if (v.startWidth != 0.0 || v.endWidth != 0.0)
            return true;
    return false;
}

void AcDbPolyline::reset(Adesk::Boolean reuse, unsigned int numVerts)
{
    if (!writable())
        return;
    if (!reuse) {
        mVertices.clear();
        return;
    }
    if (numVerts < mVertices.size())
        mVertices.resize(numVerts);
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& xform)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    AcGeVector3d x = AcGeVector3d::kXAxis;
    AcGeVector3d y = AcGeVector3d::kYAxis;
    x.transformBy(xform);
    y.transformBy(xform);
    if (std::fabs(x.length() - y.length()) > 1e-9 * std::max(1.0, x.length()))
        return Acad::eCannotScaleNonUniformly;
    bool mirror = x.crossProduct(y).z < 0;
    double scale = x.length();
    for (Vertex& v : mVertices) {
        AcGePoint3d p(v.point.x, v.point.y, mElevation);
        p.transformBy(xform);
        v.point = AcGePoint2d(p.x, p.y);
        if (mirror)
            v.bulge = -v.bulge;
        v.startWidth *= scale;
        v.endWidth *= scale;
    }
    AcGePoint3d origin(0, 0, mElevation);
    origin.transformBy(xform);
    mElevation = origin.z;
    mConstantWidth *= scale;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::extend(Adesk::Boolean extendStart, const AcGePoint3d& toPoint)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (mVertices.size() < 2 || mClosed)
        return Acad::eNotApplicable;
    std::size_t index = extendStart ? 0 : mVertices.size() - 1;
    // The end segment keeps its circle when it is an arc: recompute its bulge for the new end.
    std::size_t segment = extendStart ? 0 : mVertices.size() - 2;
    const double bulge = mVertices[segment].bulge;
    AcGePoint2d target(toPoint.x, toPoint.y);
    if (bulge != 0.0) {
        const AcGePoint2d a = mVertices[segment].point;
        const AcGePoint2d b = mVertices[segment + 1].point;
        AcGePoint3d center;
        double radius = 0;
        double start = 0;
        double end = 0;
        arxhost::geom::bulgeToArc(
            AcGePoint3d(a.x, a.y, 0), AcGePoint3d(b.x, b.y, 0), bulge, center, radius, start, end);
        AcGePoint3d fixed = extendStart ? AcGePoint3d(b.x, b.y, 0) : AcGePoint3d(a.x, a.y, 0);
        AcGePoint3d moved(target.x, target.y, 0);
        double newBulge = extendStart ? arxhost::geom::arcToBulge(moved, fixed, center, bulge < 0)
                                      : arxhost::geom::arcToBulge(fixed, moved, center, bulge < 0);
        mVertices[segment].bulge = newBulge;
    }
    mVertices[index].point = target;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::reverseCurve()
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    std::size_t n = mVertices.size();
    if (n < 2)
        return Acad::eOk;
    std::vector<Vertex> reversed(n);
    for (std::size_t i = 0; i < n; ++i)
        reversed[i] = mVertices[n - 1 - i];
    // Segment i of the reversed polyline is segment n-2-i of the original, run backwards.
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const Vertex& src = mVertices[n - 2 - i];
        reversed[i].bulge = -src.bulge;
        reversed[i].startWidth = src.endWidth;
        reversed[i].endWidth = src.startWidth;
    }
    if (mClosed) {
        // The closing segment (last vertex to first) reverses too.
        const Vertex& src = mVertices[n - 1];
        reversed[n - 1].bulge = -src.bulge;
        reversed[n - 1].startWidth = src.endWidth;
        reversed[n - 1].endWidth = src.startWidth;
    } else {
        reversed[n - 1].bulge = 0;
    }
    mVertices = std::move(reversed);
    return Acad::eOk;
}

bool AcDbPolyline::hostPath(arxhost::geom::Path& path) const
{
    if (mVertices.empty())
        return false;
    AcGePoint3dArray points;
    AcGeDoubleArray bulges;
    for (const Vertex& v : mVertices) {
        points.append(AcGePoint3d(v.point.x, v.point.y, mElevation));
        bulges.append(v.bulge);
    }
    path = arxhost::geom::Path::polyline(
        std::span<const AcGePoint3d>(points.asArrayPtr(), static_cast<std::size_t>(points.length())),
        std::span<const double>(bulges.asArrayPtr(), static_cast<std::size_t>(bulges.length())), mClosed);
    return true;
}

bool AcDbPolyline::filterGroup(short code, arxhost::TypedValue& out) const
{
    switch (code) {
    case 70:
        out = {70, static_cast<std::int64_t>(mClosed ? 1 : 0)};
        return true;
    case 90:
        out = {90, static_cast<std::int64_t>(mVertices.size())};
        return true;
    case 38:
        out = {38, mElevation};
        return true;
    case 43:
        out = {43, mConstantWidth};
        return true;
    case 10:
        if (mVertices.empty())
            return false;
        out = {10, arxhost::TypedValue::Point {mVertices[0].point.x, mVertices[0].point.y, 0}};
        return true;
    default:
        return AcDbCurve::filterGroup(code, out);
    }
}
