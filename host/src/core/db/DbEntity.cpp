// AcDbEntity: layer, colour, linetype and the geometric services common to all entities.
#include "arxhost/Session.h"
#include "core/StringCopy.h"
#include "db/DatabaseImpl.h"
#include "dbapserv.h"
#include "dbsymtb.h"
#include "geometry/CurveKernel.h"

ACRX_DEFINE_MEMBERS(AcDbEntity, AcDbObject)

const AcDbFullSubentPath kNullSubent;

AcDbEntity::AcDbEntity() = default;
AcDbEntity::AcDbEntity(const AcDbEntity& other) = default;
AcDbEntity::~AcDbEntity() = default;

namespace {

// The database an entity's names are looked up in: its own, else the working one.
AcDbDatabase* lookupDatabase(const AcDbEntity& entity)
{
    if (entity.database() != nullptr)
        return entity.database();
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    return services == nullptr ? nullptr : services->workingDatabase();
}

const ACHAR* recordName(AcDbObjectId id)
{
    const auto* record = AcDbSymbolTableRecord::cast(arxhost::DatabaseImpl::peek(id));
    return record == nullptr ? L"" : record->hostName();
}

template <class Table> AcDbObjectId findRecord(AcDbDatabase* db, const ACHAR* name)
{
    if (db == nullptr || name == nullptr)
        return AcDbObjectId();
    Table* table = nullptr;
    if (db->getSymbolTable(table, AcDb::kForRead) != Acad::eOk)
        return AcDbObjectId();
    AcDbObjectId id;
    table->getAt(name, id);
    table->close();
    return id;
}

} // namespace

Acad::ErrorStatus AcDbEntity::setColor(const AcCmColor& color, Adesk::Boolean)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mColor = color;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setColorIndex(Adesk::UInt16 color, Adesk::Boolean)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    AcCmColor c;
    if (c.setColorIndex(color) != Acad::eOk)
        return Acad::eInvalidInput;
    mColor = c;
    return Acad::eOk;
}

ACHAR* AcDbEntity::layer() const
{
    return arxhost::copyForCaller(recordName(mLayerId));
}

Acad::ErrorStatus AcDbEntity::setLayer(const ACHAR* newVal, Adesk::Boolean doSubents, bool allowHiddenLayer)
{
    if (newVal == nullptr)
        return Acad::eInvalidInput;
    AcDbObjectId id = findRecord<AcDbLayerTable>(lookupDatabase(*this), newVal);
    if (id.isNull())
        return Acad::eKeyNotFound;
    return setLayer(id, doSubents, allowHiddenLayer);
}

Acad::ErrorStatus AcDbEntity::setLayer(AcDbObjectId newVal, Adesk::Boolean, bool)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (AcDbLayerTableRecord::cast(arxhost::DatabaseImpl::peek(newVal)) == nullptr)
        return Acad::eInvalidLayer;
    mLayerId = newVal;
    return Acad::eOk;
}

ACHAR* AcDbEntity::linetype() const
{
    return arxhost::copyForCaller(recordName(mLinetypeId));
}

Acad::ErrorStatus AcDbEntity::setLinetype(const ACHAR* newVal, Adesk::Boolean doSubents)
{
    if (newVal == nullptr)
        return Acad::eInvalidInput;
    AcDbObjectId id = findRecord<AcDbLinetypeTable>(lookupDatabase(*this), newVal);
    if (id.isNull())
        return Acad::eKeyNotFound;
    return setLinetype(id, doSubents);
}

Acad::ErrorStatus AcDbEntity::setLinetype(AcDbObjectId newVal, Adesk::Boolean)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (AcDbLinetypeTableRecord::cast(arxhost::DatabaseImpl::peek(newVal)) == nullptr)
        return Acad::eInvalidInput;
    mLinetypeId = newVal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLinetypeScale(double newval, Adesk::Boolean)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!(newval > 0))
        return Acad::eInvalidInput;
    mLinetypeScale = newval;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setVisibility(AcDb::Visibility newVal, Adesk::Boolean)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mVisibility = newVal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setLineWeight(AcDb::LineWeight newVal, Adesk::Boolean)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mLineWeight = newVal;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::setPropertiesFrom(const AcDbEntity& other, Adesk::Boolean)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mColor = other.mColor;
    mLayerId = other.mLayerId;
    mLinetypeId = other.mLinetypeId;
    mLinetypeScale = other.mLinetypeScale;
    mVisibility = other.mVisibility;
    mLineWeight = other.mLineWeight;
    return Acad::eOk;
}

void AcDbEntity::setDatabaseDefaults()
{
    setDatabaseDefaults(lookupDatabase(*this));
}

void AcDbEntity::setDatabaseDefaults(AcDbDatabase* pDb)
{
    if (pDb == nullptr)
        return;
    mLayerId = pDb->clayer();
    mLinetypeId = pDb->celtype();
    mColor = pDb->cecolor();
    mLinetypeScale = pDb->celtscale();
}

Acad::ErrorStatus AcDbEntity::transformBy(const AcGeMatrix3d&)
{
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbEntity::getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& ent) const
{
    ent = static_cast<AcDbEntity*>(clone());
    if (ent == nullptr)
        return Acad::eNotApplicable;
    ent->hostAttach(nullptr);
    Acad::ErrorStatus es = ent->transformBy(xform);
    if (es != Acad::eOk) {
        delete ent;
        ent = nullptr;
    }
    return es;
}

Acad::ErrorStatus AcDbEntity::getGeomExtents(AcDbExtents& extents) const
{
    arxhost::geom::Path path;
    if (!hostPath(path) || path.empty())
        return Acad::eInvalidExtents;
    AcGePoint3d min;
    AcGePoint3d max;
    path.extents(min, max);
    extents.set(min, max);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::intersectWith(const AcDbEntity* pEnt, AcDb::Intersect intType,
    AcGePoint3dArray& points, Adesk::GsMarker, Adesk::GsMarker) const
{
    if (pEnt == nullptr)
        return Acad::eNullEntityPointer;
    arxhost::geom::Path mine;
    arxhost::geom::Path theirs;
    if (!hostPath(mine) || !pEnt->hostPath(theirs))
        return Acad::eNotApplicable;
    for (const AcGePoint3d& p :
        arxhost::geom::intersect(mine, theirs, static_cast<arxhost::geom::Mode>(intType)))
        points.append(p);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::highlight(const AcDbFullSubentPath&, const Adesk::Boolean) const
{
    if (arxhost::Session* session = arxhost::Session::currentOrNull())
        session->setHighlighted(objectId(), true);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbEntity::unhighlight(const AcDbFullSubentPath&, const Adesk::Boolean) const
{
    if (arxhost::Session* session = arxhost::Session::currentOrNull())
        session->setHighlighted(objectId(), false);
    return Acad::eOk;
}

bool AcDbEntity::hostPath(arxhost::geom::Path&) const
{
    return false;
}

bool AcDbEntity::filterGroup(short code, arxhost::TypedValue& out) const
{
    switch (code) {
    case 8:
        out = {8, std::wstring(recordName(mLayerId))};
        return true;
    case 6:
        out = {6, std::wstring(recordName(mLinetypeId))};
        return true;
    case 62:
        out = {62, static_cast<std::int64_t>(mColor.colorIndex())};
        return true;
    case 48:
        out = {48, mLinetypeScale};
        return true;
    case 60:
        out = {60, static_cast<std::int64_t>(mVisibility)};
        return true;
    case 370:
        out = {370, static_cast<std::int64_t>(mLineWeight)};
        return true;
    case 410: {
        AcDbDatabase* db = database();
        if (db == nullptr)
            return false;
        out = {410, std::wstring(ownerId() == db->paperSpaceId() ? L"Layout1" : L"Model")};
        return true;
    }
    default:
        return AcDbObject::filterGroup(code, out);
    }
}
