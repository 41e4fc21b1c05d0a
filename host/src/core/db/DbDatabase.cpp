// AcDbDatabase: a new drawing's standard contents, table access and header variables.
#include <cmath>
#include <cwchar>

#include "adscodes.h"

#include "db/DatabaseImpl.h"
#include "db/DimVarAccessors.h"
#include "db/SystemVariables.h"
#include "dbapserv.h"
#include "dbdict.h"
#include "dbents.h"
#include "dbsymtb.h"

ACRX_DEFINE_MEMBERS(AcDbDatabase, AcRxObject)

namespace {

using arxhost::DatabaseImpl;

template <class T> T* addObject(DatabaseImpl& impl, T* object, AcDbObjectId owner, AcDbObjectId& id)
{
    impl.add(object, owner, id);
    return object;
}

template <class Table, class Record>
AcDbObjectId addRecord(DatabaseImpl& impl, AcDbObjectId tableId, Record* record, const wchar_t* name)
{
    record->hostSetName(name);
    AcDbObjectId id;
    impl.add(record, tableId, id);
    static_cast<Table*>(impl.modify(tableId))->hostAdoptRecord(id);
    record->close();
    return id;
}

} // namespace

AcDbDatabase::AcDbDatabase(bool buildDefaultDrawing, bool)
    : mImpl(std::make_unique<arxhost::DatabaseImpl>(*this))
{
    DatabaseImpl& impl = *mImpl;
    arxhost::fillDrawingDefaults(impl.header());
    if (!buildDefaultDrawing)
        return;

    // The tables and the named object dictionary, with handles in the order the host gives them.
    auto closeNew = [](AcDbObject* object) { object->close(); };
    closeNew(addObject(impl, new AcDbBlockTable(), AcDbObjectId(), impl.blockTable));
    closeNew(addObject(impl, new AcDbLayerTable(), AcDbObjectId(), impl.layerTable));
    closeNew(addObject(impl, new AcDbTextStyleTable(), AcDbObjectId(), impl.textStyleTable));
    closeNew(addObject(impl, new AcDbLinetypeTable(), AcDbObjectId(), impl.linetypeTable));
    closeNew(addObject(impl, new AcDbRegAppTable(), AcDbObjectId(), impl.regAppTable));
    closeNew(addObject(impl, new AcDbDimStyleTable(), AcDbObjectId(), impl.dimStyleTable));
    auto* nod = addObject(impl, new AcDbDictionary(), AcDbObjectId(), impl.namedObjects);
    nod->close();
    auto* groups = new AcDbDictionary();
    impl.add(groups, impl.namedObjects, impl.groupDictionary);
    groups->close();
    static_cast<AcDbDictionary*>(impl.modify(impl.namedObjects))
        ->hostAdoptEntry(L"ACAD_GROUP", impl.groupDictionary);

    impl.modelSpace
        = addRecord<AcDbBlockTable>(impl, impl.blockTable, new AcDbBlockTableRecord(), ACDB_MODEL_SPACE);
    impl.paperSpace
        = addRecord<AcDbBlockTable>(impl, impl.blockTable, new AcDbBlockTableRecord(), ACDB_PAPER_SPACE);

    impl.linetypeByBlock
        = addRecord<AcDbLinetypeTable>(impl, impl.linetypeTable, new AcDbLinetypeTableRecord(), L"ByBlock");
    impl.linetypeByLayer
        = addRecord<AcDbLinetypeTable>(impl, impl.linetypeTable, new AcDbLinetypeTableRecord(), L"ByLayer");
    auto* continuous = new AcDbLinetypeTableRecord();
    continuous->setComments(L"Solid line");
    impl.linetypeContinuous
        = addRecord<AcDbLinetypeTable>(impl, impl.linetypeTable, continuous, L"Continuous");

    auto* zero = new AcDbLayerTableRecord();
    zero->setLinetypeObjectId(impl.linetypeContinuous);
    impl.layerZero = addRecord<AcDbLayerTable>(impl, impl.layerTable, zero, L"0");

    impl.textStyleStandard = addRecord<AcDbTextStyleTable>(
        impl, impl.textStyleTable, new AcDbTextStyleTableRecord(), L"Standard");
    addRecord<AcDbRegAppTable>(impl, impl.regAppTable, new AcDbRegAppTableRecord(), L"ACAD");

    // "Standard" with the host's inch defaults, and "ISO-25" (current) with the metric ones.
    auto* standard = new AcDbDimStyleTableRecord();
    standard->hostSetValue(arxhost::DimVar::Dimasz, 0.18);
    standard->hostSetValue(arxhost::DimVar::Dimtxt, 0.18);
    standard->hostSetValue(arxhost::DimVar::Dimexo, 0.0625);
    standard->hostSetValue(arxhost::DimVar::Dimexe, 0.18);
    standard->hostSetValue(arxhost::DimVar::Dimgap, 0.09);
    standard->hostSetValue(arxhost::DimVar::Dimdli, 0.38);
    standard->hostSetValue(arxhost::DimVar::Dimcen, 0.09);
    standard->hostSetValue(arxhost::DimVar::Dimdec, 4);
    standard->hostSetValue(arxhost::DimVar::Dimtdec, 4);
    standard->hostSetValue(arxhost::DimVar::Dimdsep, L'.');
    standard->hostSetValue(arxhost::DimVar::Dimtih, true);
    standard->hostSetValue(arxhost::DimVar::Dimtoh, true);
    standard->hostSetValue(arxhost::DimVar::Dimtad, 0);
    standard->hostSetValue(arxhost::DimVar::Dimzin, 0);
    standard->hostSetValue(arxhost::DimVar::Dimtofl, false);
    standard->hostSetValue(arxhost::DimVar::Dimtxsty, impl.textStyleStandard);
    impl.dimStyleStandard = addRecord<AcDbDimStyleTable>(impl, impl.dimStyleTable, standard, L"Standard");
    auto* iso = new AcDbDimStyleTableRecord();
    iso->hostSetValue(arxhost::DimVar::Dimtxsty, impl.textStyleStandard);
    AcDbObjectId isoId = addRecord<AcDbDimStyleTable>(impl, impl.dimStyleTable, iso, L"ISO-25");

    impl.header().set(L"CLAYER", impl.layerZero);
    impl.header().set(L"CELTYPE", impl.linetypeByLayer);
    impl.header().set(L"TEXTSTYLE", impl.textStyleStandard);
    impl.header().set(L"DIMSTYLE", isoId);
    impl.header().set(L"DIMTXSTY", impl.textStyleStandard);
}

AcDbDatabase::~AcDbDatabase()
{
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    if (services != nullptr && services->workingDatabase() == this)
        services->setWorkingDatabase(nullptr);
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& objId, AcDbObject* pObj)
{
    return mImpl->add(pObj, AcDbObjectId(), objId);
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObject* pObj)
{
    AcDbObjectId id;
    return addAcDbObject(id, pObj);
}

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(
    AcDbObjectId& retId, bool createIfNotFound, const AcDbHandle& objHandle, Adesk::UInt32)
{
    retId.setNull();
    if (AcDbStub* stub = mImpl->stubOf(objHandle)) {
        retId = AcDbObjectId(stub);
        return Acad::eOk;
    }
    return createIfNotFound ? Acad::eNotImplementedYet : Acad::eUnknownHandle;
}

#define ARXHOST_TABLE_GETTER(TABLE, MEMBER)                                                                  \
    Acad::ErrorStatus AcDbDatabase::getSymbolTable(TABLE*& pTable, AcDb::OpenMode mode)                      \
    {                                                                                                        \
        return acdbOpenObject(pTable, mImpl->MEMBER, mode);                                                  \
    }
ARXHOST_TABLE_GETTER(AcDbBlockTable, blockTable)
ARXHOST_TABLE_GETTER(AcDbLayerTable, layerTable)
ARXHOST_TABLE_GETTER(AcDbTextStyleTable, textStyleTable)
ARXHOST_TABLE_GETTER(AcDbLinetypeTable, linetypeTable)
ARXHOST_TABLE_GETTER(AcDbDimStyleTable, dimStyleTable)
ARXHOST_TABLE_GETTER(AcDbRegAppTable, regAppTable)
#undef ARXHOST_TABLE_GETTER

Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& pDict, AcDb::OpenMode mode)
{
    return acdbOpenObject(pDict, mImpl->namedObjects, mode);
}

Acad::ErrorStatus AcDbDatabase::getGroupDictionary(AcDbDictionary*& pDict, AcDb::OpenMode mode)
{
    return acdbOpenObject(pDict, mImpl->groupDictionary, mode);
}

AcDbObjectId AcDbDatabase::blockTableId() const
{
    return mImpl->blockTable;
}
AcDbObjectId AcDbDatabase::layerTableId() const
{
    return mImpl->layerTable;
}
AcDbObjectId AcDbDatabase::textStyleTableId() const
{
    return mImpl->textStyleTable;
}
AcDbObjectId AcDbDatabase::linetypeTableId() const
{
    return mImpl->linetypeTable;
}
AcDbObjectId AcDbDatabase::dimStyleTableId() const
{
    return mImpl->dimStyleTable;
}
AcDbObjectId AcDbDatabase::regAppTableId() const
{
    return mImpl->regAppTable;
}
AcDbObjectId AcDbDatabase::namedObjectsDictionaryId() const
{
    return mImpl->namedObjects;
}
AcDbObjectId AcDbDatabase::groupDictionaryId() const
{
    return mImpl->groupDictionary;
}
AcDbObjectId AcDbDatabase::currentSpaceId() const
{
    return mImpl->modelSpace;
}
AcDbObjectId AcDbDatabase::modelSpaceId() const
{
    return mImpl->modelSpace;
}
AcDbObjectId AcDbDatabase::paperSpaceId() const
{
    return mImpl->paperSpace;
}
AcDbObjectId AcDbDatabase::byLayerLinetype() const
{
    return mImpl->linetypeByLayer;
}
AcDbObjectId AcDbDatabase::byBlockLinetype() const
{
    return mImpl->linetypeByBlock;
}
AcDbObjectId AcDbDatabase::continuousLinetype() const
{
    return mImpl->linetypeContinuous;
}
AcDbObjectId AcDbDatabase::layerZero() const
{
    return mImpl->layerZero;
}

namespace {

AcDbObjectId headerId(const DatabaseImpl& impl, const wchar_t* name, AcDbObjectId fallback)
{
    const arxhost::HeaderValue* value = impl.header().find(name);
    if (value != nullptr)
        if (const auto* id = std::get_if<AcDbObjectId>(value);
            id != nullptr && !id->isNull() && !id->isErased())
            return *id;
    return fallback;
}

} // namespace

AcDbObjectId AcDbDatabase::clayer() const
{
    return headerId(*mImpl, L"CLAYER", mImpl->layerZero);
}

Acad::ErrorStatus AcDbDatabase::setClayer(AcDbObjectId objId)
{
    const auto* layer = AcDbLayerTableRecord::cast(DatabaseImpl::peek(objId));
    if (layer == nullptr || layer->isErased() || objId.database() != this)
        return Acad::eInvalidLayer;
    if (layer->isFrozen())
        return Acad::eInvalidLayer;
    mImpl->setHeaderValue(L"CLAYER", objId);
    return Acad::eOk;
}

AcDbObjectId AcDbDatabase::textstyle() const
{
    return headerId(*mImpl, L"TEXTSTYLE", mImpl->textStyleStandard);
}

Acad::ErrorStatus AcDbDatabase::setTextstyle(AcDbObjectId objId)
{
    if (AcDbTextStyleTableRecord::cast(DatabaseImpl::peek(objId)) == nullptr)
        return Acad::eInvalidTextStyle;
    mImpl->setHeaderValue(L"TEXTSTYLE", objId);
    return Acad::eOk;
}

AcDbObjectId AcDbDatabase::celtype() const
{
    return headerId(*mImpl, L"CELTYPE", mImpl->linetypeByLayer);
}

Acad::ErrorStatus AcDbDatabase::setCeltype(AcDbObjectId objId)
{
    if (AcDbLinetypeTableRecord::cast(DatabaseImpl::peek(objId)) == nullptr)
        return Acad::eInvalidInput;
    mImpl->setHeaderValue(L"CELTYPE", objId);
    return Acad::eOk;
}

AcCmColor AcDbDatabase::cecolor() const
{
    AcCmColor color;
    const arxhost::HeaderValue* value = mImpl->header().find(L"CECOLOR");
    const auto* text = value == nullptr ? nullptr : std::get_if<std::wstring>(value);
    if (text == nullptr || arxhost::sameName(text->c_str(), L"BYLAYER"))
        color.setByLayer();
    else if (arxhost::sameName(text->c_str(), L"BYBLOCK"))
        color.setByBlock();
    else
        color.setColorIndex(static_cast<Adesk::UInt16>(std::wcstol(text->c_str(), nullptr, 10)));
    return color;
}

Acad::ErrorStatus AcDbDatabase::setCecolor(const AcCmColor& color)
{
    std::wstring text = color.isByLayer() ? L"BYLAYER"
        : color.isByBlock()               ? L"BYBLOCK"
                                          : std::to_wstring(color.colorIndex());
    mImpl->setHeaderValue(L"CECOLOR", text);
    return Acad::eOk;
}

double AcDbDatabase::celtscale() const
{
    const arxhost::HeaderValue* value = mImpl->header().find(L"CELTSCALE");
    const auto* d = value == nullptr ? nullptr : std::get_if<double>(value);
    return d == nullptr ? 1.0 : *d;
}

AcDbObjectId AcDbDatabase::dimstyle() const
{
    return headerId(*mImpl, L"DIMSTYLE", mImpl->dimStyleStandard);
}

Acad::ErrorStatus AcDbDatabase::setDimstyle(AcDbObjectId styleId)
{
    if (AcDbDimStyleTableRecord::cast(DatabaseImpl::peek(styleId)) == nullptr || styleId.isErased())
        return Acad::eInvalidDimStyle;
    mImpl->setHeaderValue(L"DIMSTYLE", styleId);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::setDimstyleData(AcDbObjectId id)
{
    const auto* style = AcDbDimStyleTableRecord::cast(DatabaseImpl::peek(id));
    if (style == nullptr)
        return Acad::eInvalidDimStyle;
    return setDimstyleData(const_cast<AcDbDimStyleTableRecord*>(style));
}

Acad::ErrorStatus AcDbDatabase::setDimstyleData(AcDbDimStyleTableRecord* pRec)
{
    if (pRec == nullptr)
        return Acad::eNullObjectPointer;
    for (int i = 0; i < static_cast<int>(arxhost::DimVar::Count); ++i) {
        auto var = static_cast<arxhost::DimVar>(i);
        mImpl->setHeaderValue(
            arxhost::dimVarInfo(var).name, arxhost::toHeaderValue(pRec->hostDimVarGet(var)));
    }
    return Acad::eOk;
}

#define ARXHOST_DATABASE_DIMVAR(Cap, low, Kind, code, def) ARXHOST_DIMVAR_DEF_##Kind(AcDbDatabase, Cap, low)
ARXHOST_DIMVARS(ARXHOST_DATABASE_DIMVAR)
#undef ARXHOST_DATABASE_DIMVAR

arxhost::DimVarValue AcDbDatabase::hostDimVarGet(arxhost::DimVar var) const
{
    const arxhost::HeaderValue* value = mImpl->header().find(arxhost::dimVarInfo(var).name);
    return value == nullptr ? arxhost::dimVarDefault(var) : arxhost::fromHeaderValue(var, *value);
}

Acad::ErrorStatus AcDbDatabase::hostDimVarSet(arxhost::DimVar var, arxhost::DimVarValue value)
{
    if (!arxhost::dimVarValueAllowed(var, value))
        return Acad::eInvalidInput;
    mImpl->setHeaderValue(arxhost::dimVarInfo(var).name, arxhost::toHeaderValue(value));
    return Acad::eOk;
}

const AcDbDatabase* AcDbDatabase::hostDimVarDatabase() const
{
    return this;
}

AcDbHandle AcDbDatabase::handseed() const
{
    return mImpl->handseed();
}

namespace {
AcGePoint3d headerPoint(const DatabaseImpl& impl, const wchar_t* name, AcGePoint3d fallback)
{
    const arxhost::HeaderValue* value = impl.header().find(name);
    const auto* p = value == nullptr ? nullptr : std::get_if<std::array<double, 3>>(value);
    return p == nullptr ? fallback : AcGePoint3d((*p)[0], (*p)[1], (*p)[2]);
}

// Extents an entity can have: geometry at the limits of doubles (a bulge of 1e200) overflows to
// infinities, which no drawing extents can hold.
bool finiteExtents(const AcDbExtents& ext)
{
    const AcGePoint3d lo = ext.minPoint();
    const AcGePoint3d hi = ext.maxPoint();
    for (const double v : {lo.x, lo.y, lo.z, hi.x, hi.y, hi.z})
        if (!std::isfinite(v))
            return false;
    return true;
}
} // namespace

AcGePoint3d AcDbDatabase::ucsorg() const
{
    return headerPoint(*mImpl, L"UCSORG", AcGePoint3d::kOrigin);
}

AcGeVector3d AcDbDatabase::ucsxdir() const
{
    return headerPoint(*mImpl, L"UCSXDIR", AcGePoint3d(1, 0, 0)).asVector();
}

AcGeVector3d AcDbDatabase::ucsydir() const
{
    return headerPoint(*mImpl, L"UCSYDIR", AcGePoint3d(0, 1, 0)).asVector();
}

AcGePoint3d AcDbDatabase::extmin() const
{
    return headerPoint(*mImpl, L"EXTMIN", AcGePoint3d(1e20, 1e20, 1e20));
}

AcGePoint3d AcDbDatabase::extmax() const
{
    return headerPoint(*mImpl, L"EXTMAX", AcGePoint3d(-1e20, -1e20, -1e20));
}

Acad::ErrorStatus AcDbDatabase::updateExt(bool)
{
    AcDbExtents all;
    const auto* space = AcDbBlockTableRecord::cast(DatabaseImpl::peek(mImpl->modelSpace));
    if (space != nullptr) {
        for (AcDbObjectId id : space->hostEntityIds()) {
            const auto* entity = AcDbEntity::cast(DatabaseImpl::peek(id));
            AcDbExtents ext;
            if (entity != nullptr && !entity->isErased() && entity->getGeomExtents(ext) == Acad::eOk
                && finiteExtents(ext))
                all.addExt(ext);
        }
    }
    if (all.isEmpty()) {
        mImpl->header().set(L"EXTMIN", std::array<double, 3> {1e20, 1e20, 1e20});
        mImpl->header().set(L"EXTMAX", std::array<double, 3> {-1e20, -1e20, -1e20});
        return Acad::eOk;
    }
    AcGePoint3d lo = all.minPoint();
    AcGePoint3d hi = all.maxPoint();
    mImpl->header().set(L"EXTMIN", std::array<double, 3> {lo.x, lo.y, lo.z});
    mImpl->header().set(L"EXTMAX", std::array<double, 3> {hi.x, hi.y, hi.z});
    return Acad::eOk;
}

Adesk::Int32 AcDbDatabase::approxNumObjects() const
{
    return static_cast<Adesk::Int32>(mImpl->objectCount());
}

Acad::ErrorStatus AcDbDatabase::getFilename(const ACHAR*& pOutput) const
{
    pOutput = mImpl->fileName.c_str();
    return Acad::eOk;
}

// ---- Extents ----

AcDbExtents::AcDbExtents()
    : mMin(1e20, 1e20, 1e20)
    , mMax(-1e20, -1e20, -1e20)
{
}

AcDbExtents::AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max)
    : mMin(min)
    , mMax(max)
{
}

Acad::ErrorStatus AcDbExtents::set(const AcGePoint3d& min, const AcGePoint3d& max)
{
    if (min.x > max.x || min.y > max.y || min.z > max.z)
        return Acad::eInvalidExtents;
    mMin = min;
    mMax = max;
    return Acad::eOk;
}

void AcDbExtents::addPoint(const AcGePoint3d& pt)
{
    mMin.set(std::min(mMin.x, pt.x), std::min(mMin.y, pt.y), std::min(mMin.z, pt.z));
    mMax.set(std::max(mMax.x, pt.x), std::max(mMax.y, pt.y), std::max(mMax.z, pt.z));
}

void AcDbExtents::addExt(const AcDbExtents& src)
{
    if (src.isEmpty())
        return;
    addPoint(src.mMin);
    addPoint(src.mMax);
}

void AcDbExtents::expandBy(const AcGeVector3d& vec)
{
    if (isEmpty())
        return;
    addPoint(mMin + vec);
    addPoint(mMax + vec);
}

void AcDbExtents::transformBy(const AcGeMatrix3d& mat)
{
    if (isEmpty())
        return;
    AcGePoint3d corners[8];
    for (int i = 0; i < 8; ++i)
        corners[i].set((i & 1) ? mMax.x : mMin.x, (i & 2) ? mMax.y : mMin.y, (i & 4) ? mMax.z : mMin.z);
    *this = AcDbExtents();
    for (AcGePoint3d& c : corners) {
        c.transformBy(mat);
        addPoint(c);
    }
}

bool AcDbExtents::isEmpty() const
{
    return mMin.x > mMax.x || mMin.y > mMax.y || mMin.z > mMax.z;
}

// ---- Application registration and entity names ----

int acdbRegApp(const ACHAR* appname)
{
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    AcDbDatabase* db = services == nullptr ? nullptr : services->workingDatabase();
    if (db == nullptr || appname == nullptr || *appname == 0)
        return RTERROR;
    AcDbRegAppTable* table = nullptr;
    if (db->getRegAppTable(table, AcDb::kForRead) != Acad::eOk)
        return RTERROR;
    if (table->has(appname)) {
        table->close();
        return RTNORM;
    }
    table->upgradeOpen();
    auto* record = new AcDbRegAppTableRecord();
    if (record->setName(appname) != Acad::eOk) {
        delete record;
        table->close();
        return RTERROR;
    }
    AcDbObjectId id;
    Acad::ErrorStatus es = table->add(id, record);
    if (es == Acad::eOk)
        record->close();
    else
        delete record;
    table->close();
    return es == Acad::eOk ? RTNORM : RTERROR;
}

namespace {

const AcDbBlockTableRecord* currentSpace()
{
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    AcDbDatabase* db = services == nullptr ? nullptr : services->workingDatabase();
    return db == nullptr ? nullptr : AcDbBlockTableRecord::cast(DatabaseImpl::peek(db->currentSpaceId()));
}

} // namespace

int acdbEntLast(ads_name result)
{
    const AcDbBlockTableRecord* space = currentSpace();
    if (space != nullptr) {
        const auto& ids = space->hostEntityIds();
        for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
            if (!it->isErased()) {
                ads_name name;
                acdbGetAdsName(name, *it);
                result[0] = name[0];
                result[1] = name[1];
                return RTNORM;
            }
        }
    }
    result[0] = result[1] = 0;
    return RTERROR;
}

int acdbEntNext(const ads_name ent, ads_name result)
{
    const AcDbBlockTableRecord* space = currentSpace();
    if (space == nullptr)
        return RTERROR;
    AcDbObjectId after;
    if (ent != nullptr && !(ent[0] == 0 && ent[1] == 0))
        acdbGetObjectId(after, ent);
    bool passed = after.isNull();
    for (AcDbObjectId id : space->hostEntityIds()) {
        if (passed && !id.isErased()) {
            ads_name name;
            acdbGetAdsName(name, id);
            result[0] = name[0];
            result[1] = name[1];
            return RTNORM;
        }
        if (id == after)
            passed = true;
    }
    return RTERROR;
}

int acdbEntDel(const ads_name ent)
{
    AcDbObjectId id;
    if (acdbGetObjectId(id, ent) != Acad::eOk)
        return RTERROR;
    AcDbObject* object = nullptr;
    bool erased = id.isErased();
    if (acdbOpenObject(object, id, AcDb::kForWrite, true) != Acad::eOk)
        return RTERROR;
    object->erase(!erased);
    object->close();
    return RTNORM;
}
