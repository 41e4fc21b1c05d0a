// AcDb2dPolyline and AcDb2dVertex: the old-style polyline whose vertices are objects of their own.
#include <cmath>

#include "db/DatabaseImpl.h"
#include "dbents.h"
#include "geometry/CurveKernel.h"

ACRX_DEFINE_MEMBERS_DXF(AcDb2dPolyline, AcDbCurve, ACRX_T("POLYLINE"))
ACRX_DEFINE_MEMBERS_DXF(AcDb2dVertex, AcDbEntity, ACRX_T("VERTEX"))
ACRX_DEFINE_MEMBERS(AcDbObjectIterator, AcRxObject)

// ---- Vertex ----

AcDb2dVertex::AcDb2dVertex() = default;

AcDb2dVertex::AcDb2dVertex(
    const AcGePoint3d& position, double bulge, double startWidth, double endWidth, double)
    : mPosition(position)
    , mBulge(bulge)
    , mStartWidth(startWidth)
    , mEndWidth(endWidth)
{
}

Acad::ErrorStatus AcDb2dVertex::setPosition(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mPosition = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setBulge(double newVal)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mBulge = newVal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setStartWidth(double newVal)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mStartWidth = newVal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::setEndWidth(double newVal)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mEndWidth = newVal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dVertex::transformBy(const AcGeMatrix3d& xform)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mPosition.transformBy(xform);
    return Acad::eOk;
}

// ---- Iterator ----

AcDbObjectIterator::AcDbObjectIterator(std::vector<AcDbObjectId> ids)
    : mIds(std::move(ids))
{
}

bool AcDbObjectIterator::done() const
{
    return mIndex < 0 || mIndex >= static_cast<int>(mIds.size());
}

void AcDbObjectIterator::step(bool backwards, bool skipDeleted)
{
    do {
        mIndex += backwards ? -1 : 1;
    } while (!done() && skipDeleted && mIds[static_cast<std::size_t>(mIndex)].isErased());
}

void AcDbObjectIterator::start(bool atEnd)
{
    mIndex = atEnd ? static_cast<int>(mIds.size()) - 1 : 0;
    if (!done() && mIds[static_cast<std::size_t>(mIndex)].isErased())
        step(atEnd, true);
}

AcDbEntity* AcDbObjectIterator::entity()
{
    if (done())
        return nullptr;
    // The SDK hands out the vertex without opening it; reads through it are the caller's risk.
    return AcDbEntity::cast(
        const_cast<AcDbObject*>(arxhost::DatabaseImpl::peek(mIds[static_cast<std::size_t>(mIndex)])));
}

AcDbObjectId AcDbObjectIterator::objectId()
{
    return done() ? AcDbObjectId() : mIds[static_cast<std::size_t>(mIndex)];
}

void AcDbObjectIterator::setPosition(AcDbObjectId pObj)
{
    for (std::size_t i = 0; i < mIds.size(); ++i)
        if (mIds[i] == pObj)
            mIndex = static_cast<int>(i);
}

// ---- Polyline ----

AcDb2dPolyline::AcDb2dPolyline() = default;

AcDb2dPolyline::AcDb2dPolyline(AcDb::Poly2dType type, const AcGePoint3dArray& vertices, double elevation,
    Adesk::Boolean closed, double defStartWidth, double defEndWidth, const AcGeDoubleArray* bulges)
    : mType(type)
    , mClosed(closed)
    , mElevation(elevation)
    , mDefaultStartWidth(defStartWidth)
    , mDefaultEndWidth(defEndWidth)
{
    for (int i = 0; i < vertices.length(); ++i) {
        double bulge = (bulges != nullptr && i < bulges->length()) ? bulges->at(i) : 0.0;
        AcGePoint3d p(vertices[i].x, vertices[i].y, elevation);
        mPendingVertices.push_back(std::make_unique<AcDb2dVertex>(p, bulge, defStartWidth, defEndWidth));
    }
}

AcDb2dPolyline::AcDb2dPolyline(const AcDb2dPolyline& other)
    : AcDbCurve(other)
    , mType(other.mType)
    , mClosed(other.mClosed)
    , mElevation(other.mElevation)
    , mDefaultStartWidth(other.mDefaultStartWidth)
    , mDefaultEndWidth(other.mDefaultEndWidth)
    , mNormal(other.mNormal)
    , mVertexIds(other.mVertexIds)
{
    for (const auto& v : other.mPendingVertices)
        mPendingVertices.push_back(std::unique_ptr<AcDb2dVertex>(static_cast<AcDb2dVertex*>(v->clone())));
}

AcDb2dPolyline::~AcDb2dPolyline() = default;

Acad::ErrorStatus AcDb2dPolyline::setPolyType(AcDb::Poly2dType type)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mType = type;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::makeClosed()
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mClosed = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::makeOpen()
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mClosed = false;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setElevation(double elev)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mElevation = elev;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setNormal(const AcGeVector3d& normal)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mNormal = normal.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setDefaultStartWidth(double w)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mDefaultStartWidth = w;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::setDefaultEndWidth(double w)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mDefaultEndWidth = w;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDb2dVertex* pNewVertex)
{
    AcDbObjectId id;
    return appendVertex(id, pNewVertex);
}

Acad::ErrorStatus AcDb2dPolyline::appendVertex(AcDbObjectId& objId, AcDb2dVertex* pNewVertex)
{
    if (pNewVertex == nullptr)
        return Acad::eNullEntityPointer;
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!isDatabaseResident()) {
        mPendingVertices.emplace_back(pNewVertex);
        objId.setNull();
        return Acad::eOk;
    }
    pNewVertex->setPropertiesFrom(*this);
    Acad::ErrorStatus es = database()->impl().add(pNewVertex, objectId(), objId);
    if (es != Acad::eOk)
        return es;
    mVertexIds.push_back(objId);
    // The vertex comes back open for write, as the SDK hands it out; close it for the caller.
    pNewVertex->close();
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::insertVertexAt(const AcDb2dVertex* pIndexVert, AcDb2dVertex* pNewVertex)
{
    if (pNewVertex == nullptr)
        return Acad::eNullEntityPointer;
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!isDatabaseResident())
        return Acad::eNotInDatabase;
    std::size_t at = 0;
    if (pIndexVert != nullptr) {
        AcDbObjectId after = pIndexVert->objectId();
        for (std::size_t i = 0; i < mVertexIds.size(); ++i)
            if (mVertexIds[i] == after)
                at = i + 1;
    }
    pNewVertex->setPropertiesFrom(*this);
    AcDbObjectId id;
    Acad::ErrorStatus es = database()->impl().add(pNewVertex, objectId(), id);
    if (es != Acad::eOk)
        return es;
    mVertexIds.insert(mVertexIds.begin() + static_cast<std::ptrdiff_t>(at), id);
    pNewVertex->close();
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::openVertex(
    AcDb2dVertex*& pVertex, AcDbObjectId vertId, AcDb::OpenMode mode, bool openErasedOne) const
{
    pVertex = nullptr;
    bool mine = false;
    for (AcDbObjectId id : mVertexIds)
        mine = mine || id == vertId;
    if (!mine)
        return Acad::eInvalidInput;
    return acdbOpenObject(pVertex, vertId, mode, openErasedOne);
}

AcDbObjectIterator* AcDb2dPolyline::vertexIterator() const
{
    auto* it = new AcDbObjectIterator(mVertexIds);
    it->start();
    return it;
}

AcGePoint3d AcDb2dPolyline::vertexPosition(const AcDb2dVertex& vert) const
{
    AcGePoint3d p = vert.position();
    return AcGePoint3d(p.x, p.y, mElevation);
}

int AcDb2dPolyline::hostVertexCount() const
{
    AcGePoint3dArray points;
    AcGeDoubleArray bulges;
    hostVertices(points, bulges);
    return points.length();
}

void AcDb2dPolyline::hostVertices(AcGePoint3dArray& points, AcGeDoubleArray& bulges) const
{
    points.removeAll();
    bulges.removeAll();
    auto add = [&](const AcDb2dVertex& v) {
        points.append(vertexPosition(v));
        bulges.append(v.bulge());
    };
    if (!isDatabaseResident()) {
        for (const auto& v : mPendingVertices)
            add(*v);
        return;
    }
    for (AcDbObjectId id : mVertexIds) {
        const auto* v = AcDb2dVertex::cast(arxhost::DatabaseImpl::peek(id));
        if (v != nullptr && !v->isErased())
            add(*v);
    }
}

std::vector<AcDb2dVertex*> AcDb2dPolyline::hostTakePendingVertices()
{
    std::vector<AcDb2dVertex*> out;
    for (auto& v : mPendingVertices)
        out.push_back(v.release());
    mPendingVertices.clear();
    return out;
}

Acad::ErrorStatus AcDb2dPolyline::transformBy(const AcGeMatrix3d& xform)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    AcGeVector3d x = AcGeVector3d::kXAxis;
    AcGeVector3d y = AcGeVector3d::kYAxis;
    x.transformBy(xform);
    y.transformBy(xform);
    bool mirror = x.crossProduct(y).z < 0;
    auto move = [&](AcDb2dVertex& v) {
        AcGePoint3d p = v.position();
        p.z = mElevation;
        p.transformBy(xform);
        v.hostMoveTo(AcGePoint3d(p.x, p.y, 0), mirror ? -v.bulge() : v.bulge());
    };
    if (!isDatabaseResident()) {
        for (auto& v : mPendingVertices)
            move(*v);
    } else {
        for (AcDbObjectId id : mVertexIds)
            if (auto* v = AcDb2dVertex::cast(database()->impl().modify(id)))
                move(*v);
    }
    AcGePoint3d origin(0, 0, mElevation);
    origin.transformBy(xform);
    mElevation = origin.z;
    return Acad::eOk;
}

Acad::ErrorStatus AcDb2dPolyline::extend(Adesk::Boolean extendStart, const AcGePoint3d& toPoint)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (mClosed)
        return Acad::eNotApplicable;
    std::vector<AcDb2dVertex*> live;
    if (!isDatabaseResident()) {
        for (auto& v : mPendingVertices)
            live.push_back(v.get());
    } else {
        for (AcDbObjectId id : mVertexIds)
            if (auto* v = AcDb2dVertex::cast(database()->impl().modify(id)); v != nullptr && !v->isErased())
                live.push_back(v);
    }
    if (live.size() < 2)
        return Acad::eNotApplicable;
    AcDb2dVertex* moved = extendStart ? live.front() : live.back();
    AcDb2dVertex* segmentStart = extendStart ? live[0] : live[live.size() - 2];
    double bulge = segmentStart->bulge();
    if (bulge != 0.0) {
        AcGePoint3d a = segmentStart->position();
        AcGePoint3d b = (extendStart ? live[1] : live.back())->position();
        AcGePoint3d center;
        double radius = 0;
        double start = 0;
        double end = 0;
        arxhost::geom::bulgeToArc(a, b, bulge, center, radius, start, end);
        AcGePoint3d target(toPoint.x, toPoint.y, 0);
        double newBulge = extendStart ? arxhost::geom::arcToBulge(target, b, center, bulge < 0)
                                      : arxhost::geom::arcToBulge(a, target, center, bulge < 0);
        segmentStart->hostMoveTo(segmentStart->position(), newBulge);
    }
    moved->hostMoveTo(AcGePoint3d(toPoint.x, toPoint.y, 0), moved->bulge());
    return Acad::eOk;
}

bool AcDb2dPolyline::hostPath(arxhost::geom::Path& path) const
{
    AcGePoint3dArray points;
    AcGeDoubleArray bulges;
    hostVertices(points, bulges);
    if (points.isEmpty())
        return false;
    path = arxhost::geom::Path::polyline(
        std::span<const AcGePoint3d>(points.asArrayPtr(), static_cast<std::size_t>(points.length())),
        std::span<const double>(bulges.asArrayPtr(), static_cast<std::size_t>(bulges.length())), mClosed);
    return true;
}

bool AcDb2dPolyline::filterGroup(short code, arxhost::TypedValue& out) const
{
    switch (code) {
    case 70:
        out = {70, static_cast<std::int64_t>(mClosed ? 1 : 0)};
        return true;
    case 10:
        out = {10, arxhost::TypedValue::Point {0, 0, mElevation}};
        return true;
    default:
        return AcDbCurve::filterGroup(code, out);
    }
}
