// AcDbBlockReference: a block shown at a position, scale and rotation.
#include <cmath>

#include "db/DatabaseImpl.h"
#include "dbents.h"
#include "dbsymtb.h"
#include "geometry/CurveKernel.h"

ACRX_DEFINE_MEMBERS_DXF(AcDbBlockReference, AcDbEntity, ACRX_T("INSERT"))

AcDbBlockReference::AcDbBlockReference() = default;

AcDbBlockReference::AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec)
    : mBlockId(blockTableRec)
    , mPosition(position)
{
}

Acad::ErrorStatus AcDbBlockReference::setBlockTableRecord(AcDbObjectId id)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (AcDbBlockTableRecord::cast(arxhost::DatabaseImpl::peek(id)) == nullptr)
        return Acad::eInvalidInput;
    mBlockId = id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setPosition(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mPosition = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setScaleFactors(const AcGeScale3d& scale)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    // A file may hold a degenerate scale; it is kept as it is, but never set by a command.
    if ((scale.sx == 0 || scale.sy == 0 || scale.sz == 0) && !hostLoading())
        return Acad::eInvalidInput;
    mScale = scale;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setRotation(double newVal)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mRotation = newVal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::setNormal(const AcGeVector3d& newVal)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mNormal = newVal.normal();
    return Acad::eOk;
}

AcGeMatrix3d AcDbBlockReference::blockTransform() const
{
    AcGePoint3d origin;
    if (const auto* block = AcDbBlockTableRecord::cast(arxhost::DatabaseImpl::peek(mBlockId)))
        origin = block->origin();
    AcGeMatrix3d scale;
    scale.entry[0][0] = mScale.sx;
    scale.entry[1][1] = mScale.sy;
    scale.entry[2][2] = mScale.sz;
    return AcGeMatrix3d::translation(mPosition.asVector())
        * AcGeMatrix3d::rotation(mRotation, AcGeVector3d::kZAxis) * scale
        * AcGeMatrix3d::translation(-origin.asVector());
}

Acad::ErrorStatus AcDbBlockReference::setBlockTransform(const AcGeMatrix3d& mat)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    AcGePoint3d origin;
    if (const auto* block = AcDbBlockTableRecord::cast(arxhost::DatabaseImpl::peek(mBlockId)))
        origin = block->origin();
    AcGePoint3d position = origin;
    position.transformBy(mat);
    AcGeVector3d x = AcGeVector3d::kXAxis;
    AcGeVector3d y = AcGeVector3d::kYAxis;
    AcGeVector3d z = AcGeVector3d::kZAxis;
    x.transformBy(mat);
    y.transformBy(mat);
    z.transformBy(mat);
    mPosition = position;
    mRotation = std::atan2(x.y, x.x);
    double sign = x.crossProduct(y).z < 0 ? -1.0 : 1.0;
    mScale = AcGeScale3d(x.length(), sign * y.length(), z.length());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockReference::transformBy(const AcGeMatrix3d& xform)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    return setBlockTransform(xform * blockTransform());
}

Acad::ErrorStatus AcDbBlockReference::getGeomExtents(AcDbExtents& extents) const
{
    const auto* block = AcDbBlockTableRecord::cast(arxhost::DatabaseImpl::peek(mBlockId));
    if (block == nullptr)
        return Acad::eInvalidExtents;
    AcGeMatrix3d toWorld = blockTransform();
    extents = AcDbExtents();
    bool any = false;
    for (AcDbObjectId id : block->hostEntityIds()) {
        const AcDbEntity* entity = AcDbEntity::cast(arxhost::DatabaseImpl::peek(id));
        if (entity == nullptr || entity->isErased())
            continue;
        AcDbExtents inner;
        if (entity->getGeomExtents(inner) != Acad::eOk)
            continue;
        inner.transformBy(toWorld);
        extents.addExt(inner);
        any = true;
    }
    if (!any) {
        extents.set(mPosition, mPosition);
    }
    return Acad::eOk;
}

bool AcDbBlockReference::hostPath(arxhost::geom::Path& path) const
{
    // Picking and crossing tests see a block reference as the outline of its extents.
    AcDbExtents ext;
    if (getGeomExtents(ext) != Acad::eOk)
        return false;
    AcGePoint3d a = ext.minPoint();
    AcGePoint3d c = ext.maxPoint();
    const AcGePoint3d corners[4] = {a, AcGePoint3d(c.x, a.y, a.z), c, AcGePoint3d(a.x, c.y, a.z)};
    path = arxhost::geom::Path::polygon(std::span<const AcGePoint3d>(corners, 4));
    return true;
}

bool AcDbBlockReference::filterGroup(short code, arxhost::TypedValue& out) const
{
    switch (code) {
    case 2: {
        const auto* block = AcDbSymbolTableRecord::cast(arxhost::DatabaseImpl::peek(mBlockId));
        out = {2, std::wstring(block == nullptr ? L"" : block->hostName())};
        return true;
    }
    case 10:
        out = {10, arxhost::TypedValue::Point {mPosition.x, mPosition.y, mPosition.z}};
        return true;
    case 41:
        out = {41, mScale.sx};
        return true;
    case 42:
        out = {42, mScale.sy};
        return true;
    case 43:
        out = {43, mScale.sz};
        return true;
    case 50:
        out = {50, mRotation * 180.0 / 3.14159265358979323846};
        return true;
    default:
        return AcDbEntity::filterGroup(code, out);
    }
}
