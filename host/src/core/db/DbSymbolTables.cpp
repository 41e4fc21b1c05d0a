// Symbol tables, their records and iterators.
#include <algorithm>
#include <cmath>
#include <cwchar>

#include "core/StringCopy.h"
#include "db/DatabaseImpl.h"
#include "db/DimVarAccessors.h"
#include "dbents.h"
#include "dbsymtb.h"

ACRX_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)
ACRX_DEFINE_MEMBERS(AcDbSymbolTableIterator, AcRxObject)
ACRX_DEFINE_MEMBERS_DXF(AcDbBlockTable, AcDbSymbolTable, ACRX_T("TABLE"))
ACRX_DEFINE_MEMBERS_DXF(AcDbLayerTable, AcDbSymbolTable, ACRX_T("TABLE"))
ACRX_DEFINE_MEMBERS_DXF(AcDbTextStyleTable, AcDbSymbolTable, ACRX_T("TABLE"))
ACRX_DEFINE_MEMBERS_DXF(AcDbLinetypeTable, AcDbSymbolTable, ACRX_T("TABLE"))
ACRX_DEFINE_MEMBERS_DXF(AcDbDimStyleTable, AcDbSymbolTable, ACRX_T("TABLE"))
ACRX_DEFINE_MEMBERS_DXF(AcDbRegAppTable, AcDbSymbolTable, ACRX_T("TABLE"))
ACRX_DEFINE_MEMBERS_DXF(AcDbBlockTableRecord, AcDbSymbolTableRecord, ACRX_T("BLOCK_RECORD"))
ACRX_DEFINE_MEMBERS(AcDbBlockTableRecordIterator, AcRxObject)
ACRX_DEFINE_MEMBERS_DXF(AcDbLayerTableRecord, AcDbSymbolTableRecord, ACRX_T("LAYER"))
ACRX_DEFINE_MEMBERS_DXF(AcDbTextStyleTableRecord, AcDbSymbolTableRecord, ACRX_T("STYLE"))
ACRX_DEFINE_MEMBERS_DXF(AcDbLinetypeTableRecord, AcDbSymbolTableRecord, ACRX_T("LTYPE"))
ACRX_DEFINE_MEMBERS_DXF(AcDbDimStyleTableRecord, AcDbSymbolTableRecord, ACRX_T("DIMSTYLE"))
ACRX_DEFINE_MEMBERS_DXF(AcDbRegAppTableRecord, AcDbSymbolTableRecord, ACRX_T("APPID"))

namespace {

// Symbol names: not empty, at most 255 characters, none of the characters the host reserves.
bool validSymbolName(const ACHAR* name, bool allowLeadingStar)
{
    if (name == nullptr || *name == 0 || std::wcslen(name) > 255)
        return false;
    for (const ACHAR* p = name; *p != 0; ++p) {
        if (std::wcschr(L"<>/\\\":;?,|=`", *p) != nullptr)
            return false;
        if (*p == L'*' && !(allowLeadingStar && p == name))
            return false;
    }
    return true;
}

bool isAnonymousBlockRequest(const std::wstring& name)
{
    return name == L"*U" || name == L"*u";
}

} // namespace

// ---- Table ----

AcDbSymbolTable::~AcDbSymbolTable() = default;

Acad::ErrorStatus AcDbSymbolTable::getAt(
    const ACHAR* entryName, AcDbObjectId& recordId, bool getErasedRecord) const
{
    recordId.setNull();
    if (entryName == nullptr)
        return Acad::eInvalidInput;
    AcDbObjectId erasedMatch;
    for (AcDbObjectId id : mRecords) {
        const auto* record = AcDbSymbolTableRecord::cast(arxhost::DatabaseImpl::peek(id));
        if (record == nullptr || !arxhost::sameName(record->hostName(), entryName))
            continue;
        if (!record->isErased()) {
            recordId = id;
            return Acad::eOk;
        }
        erasedMatch = id;
    }
    if (getErasedRecord && !erasedMatch.isNull()) {
        recordId = erasedMatch;
        return Acad::eOk;
    }
    return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(
    const ACHAR* entryName, AcDbSymbolTableRecord*& pRec, AcDb::OpenMode openMode, bool openErasedRec) const
{
    pRec = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getAt(entryName, id, openErasedRec);
    if (es != Acad::eOk)
        return es;
    return acdbOpenObject(pRec, id, openMode, openErasedRec);
}

bool AcDbSymbolTable::has(const ACHAR* name) const
{
    AcDbObjectId id;
    return getAt(name, id) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const
{
    return std::find(mRecords.begin(), mRecords.end(), id) != mRecords.end() && !id.isErased();
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(
    AcDbSymbolTableIterator*& pIterator, bool atBeginning, bool skipDeleted) const
{
    pIterator = new AcDbSymbolTableIterator(mRecords, atBeginning, skipDeleted);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* pRecord)
{
    AcDbObjectId id;
    return add(id, pRecord);
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord)
{
    recordId.setNull();
    if (pRecord == nullptr)
        return Acad::eNullObjectPointer;
    if (!isDatabaseResident())
        return Acad::eNoDatabase;
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!acceptsRecord(pRecord))
        return Acad::eWrongObjectType;
    if (pRecord->isDatabaseResident())
        return Acad::eAlreadyInDb;
    arxhost::DatabaseImpl& impl = database()->impl();
    std::wstring name = pRecord->hostName();
    const bool isBlock = AcDbBlockTableRecord::cast(pRecord) != nullptr;
    if (isBlock && isAnonymousBlockRequest(name)) {
        // The database names anonymous blocks "*U1", "*U2", ... skipping names in use.
        do {
            name = L"*U" + std::to_wstring(impl.nextAnonymousBlock++);
        } while (has(name.c_str()));
        pRecord->hostSetName(name.c_str());
    }
    if (!validSymbolName(name.c_str(), isBlock))
        return Acad::eInvalidSymbolTableName;
    if (has(name.c_str()))
        return Acad::eDuplicateRecordName;
    Acad::ErrorStatus es = impl.add(pRecord, objectId(), recordId);
    if (es != Acad::eOk)
        return es;
    mRecords.push_back(recordId);
    return Acad::eOk;
}

#define ARXHOST_DEFINE_SYMBOL_TABLE(TABLE, RECORD, ITERATOR)                                                 \
    Acad::ErrorStatus ITERATOR::getRecord(RECORD*& pRecord, AcDb::OpenMode openMode, bool openErasedRec)     \
        const                                                                                                \
    {                                                                                                        \
        pRecord = nullptr;                                                                                   \
        AcDbObjectId id;                                                                                     \
        Acad::ErrorStatus es = getRecordId(id);                                                              \
        return es != Acad::eOk ? es : acdbOpenObject(pRecord, id, openMode, openErasedRec);                  \
    }                                                                                                        \
    Acad::ErrorStatus TABLE::getAt(                                                                          \
        const ACHAR* entryName, RECORD*& pRec, AcDb::OpenMode openMode, bool openErasedRec) const            \
    {                                                                                                        \
        pRec = nullptr;                                                                                      \
        AcDbObjectId id;                                                                                     \
        Acad::ErrorStatus es = AcDbSymbolTable::getAt(entryName, id, openErasedRec);                         \
        return es != Acad::eOk ? es : acdbOpenObject(pRec, id, openMode, openErasedRec);                     \
    }                                                                                                        \
    Acad::ErrorStatus TABLE::newIterator(ITERATOR*& pIterator, bool atBeginning, bool skipDeleted) const     \
    {                                                                                                        \
        pIterator = new ITERATOR(hostRecordIds(), atBeginning, skipDeleted);                                 \
        return Acad::eOk;                                                                                    \
    }                                                                                                        \
    bool TABLE::acceptsRecord(const AcDbSymbolTableRecord* pRecord) const                                    \
    {                                                                                                        \
        return RECORD::cast(pRecord) != nullptr;                                                             \
    }

ARXHOST_DEFINE_SYMBOL_TABLE(AcDbBlockTable, AcDbBlockTableRecord, AcDbBlockTableIterator)
ARXHOST_DEFINE_SYMBOL_TABLE(AcDbLayerTable, AcDbLayerTableRecord, AcDbLayerTableIterator)
ARXHOST_DEFINE_SYMBOL_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, AcDbTextStyleTableIterator)
ARXHOST_DEFINE_SYMBOL_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, AcDbLinetypeTableIterator)
ARXHOST_DEFINE_SYMBOL_TABLE(AcDbDimStyleTable, AcDbDimStyleTableRecord, AcDbDimStyleTableIterator)
ARXHOST_DEFINE_SYMBOL_TABLE(AcDbRegAppTable, AcDbRegAppTableRecord, AcDbRegAppTableIterator)

// ---- Iterator ----

AcDbSymbolTableIterator::AcDbSymbolTableIterator(
    std::vector<AcDbObjectId> records, bool atBeginning, bool skipDeleted)
    : mRecords(std::move(records))
{
    start(atBeginning, skipDeleted);
}

void AcDbSymbolTableIterator::skip(bool forward, bool skipDeleted)
{
    while (!done() && skipDeleted && mRecords[static_cast<std::size_t>(mIndex)].isErased())
        mIndex += forward ? 1 : -1;
}

void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted)
{
    mIndex = atBeginning ? 0 : static_cast<int>(mRecords.size()) - 1;
    skip(atBeginning, skipDeleted);
}

bool AcDbSymbolTableIterator::done() const
{
    return mIndex < 0 || mIndex >= static_cast<int>(mRecords.size());
}

void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted)
{
    if (done())
        return;
    mIndex += forward ? 1 : -1;
    skip(forward, skipDeleted);
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const
{
    if (done())
        return Acad::eIteratorDone;
    id = mRecords[static_cast<std::size_t>(mIndex)];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(
    AcDbSymbolTableRecord*& pRecord, AcDb::OpenMode openMode, bool openErasedRec) const
{
    pRecord = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getRecordId(id);
    return es != Acad::eOk ? es : acdbOpenObject(pRecord, id, openMode, openErasedRec);
}

Acad::ErrorStatus AcDbSymbolTableIterator::seek(AcDbObjectId id)
{
    for (std::size_t i = 0; i < mRecords.size(); ++i) {
        if (mRecords[i] == id) {
            mIndex = static_cast<int>(i);
            return Acad::eOk;
        }
    }
    return Acad::eKeyNotFound;
}

// ---- Record ----

AcDbSymbolTableRecord::~AcDbSymbolTableRecord() = default;

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const ACHAR*& pName) const
{
    pName = mName.c_str();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(ACHAR*& pName) const
{
    pName = arxhost::copyForCaller(mName);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(AcString& sName) const
{
    sName = mName.c_str();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const ACHAR* pName)
{
    if (pName == nullptr)
        return Acad::eNullObjectPointer;
    if (!writable())
        return Acad::eNotOpenForWrite;
    const bool isBlock = AcDbBlockTableRecord::cast(this) != nullptr;
    if (!(isBlock && isAnonymousBlockRequest(pName)) && !validSymbolName(pName, isBlock))
        return Acad::eInvalidSymbolTableName;
    if (const auto* table = AcDbSymbolTable::cast(arxhost::DatabaseImpl::peek(ownerId()))) {
        AcDbObjectId other;
        if (table->getAt(pName, other) == Acad::eOk && other != objectId())
            return Acad::eDuplicateRecordName;
    }
    mName = pName;
    return Acad::eOk;
}

void AcDbSymbolTableRecord::hostSetName(const ACHAR* pName)
{
    mName = pName == nullptr ? L"" : pName;
}

// ---- Block record ----

AcDbBlockTableRecord::~AcDbBlockTableRecord() = default;

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* pEntity)
{
    AcDbObjectId id;
    return appendAcDbEntity(id, pEntity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& pOutputId, AcDbEntity* pEntity)
{
    pOutputId.setNull();
    if (pEntity == nullptr)
        return Acad::eNullEntityPointer;
    if (!isDatabaseResident())
        return Acad::eNoDatabase;
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (pEntity->isDatabaseResident())
        return Acad::eAlreadyInDb;
    arxhost::DatabaseImpl& impl = database()->impl();
    if (!pEntity->hasDatabaseDefaults())
        pEntity->setDatabaseDefaults(database());
    Acad::ErrorStatus es = impl.add(pEntity, objectId(), pOutputId);
    if (es != Acad::eOk)
        return es;
    mEntities.push_back(pOutputId);
    // An old-style polyline brings its vertices along as objects of their own.
    if (auto* polyline = AcDb2dPolyline::cast(pEntity)) {
        for (AcDb2dVertex* vertex : polyline->hostTakePendingVertices()) {
            vertex->setPropertiesFrom(*polyline);
            AcDbObjectId vertexId;
            if (impl.add(vertex, pOutputId, vertexId) == Acad::eOk) {
                polyline->hostAdoptVertexId(vertexId);
                vertex->close();
            } else {
                delete vertex;
            }
        }
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(
    AcDbBlockTableRecordIterator*& pIterator, bool atBeginning, bool skipDeleted) const
{
    pIterator = new AcDbBlockTableRecordIterator(mEntities, atBeginning, skipDeleted);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mOrigin = pt;
    return Acad::eOk;
}

bool AcDbBlockTableRecord::isAnonymous() const
{
    return hostName()[0] == L'*' && !isLayout();
}

bool AcDbBlockTableRecord::isLayout() const
{
    return arxhost::sameName(hostName(), ACDB_MODEL_SPACE)
        || std::wcsncmp(hostName(), L"*Paper_Space", 12) == 0
        || std::wcsncmp(hostName(), L"*PAPER_SPACE", 12) == 0;
}

Acad::ErrorStatus AcDbBlockTableRecord::comments(ACHAR*& pString) const
{
    pString = arxhost::copyForCaller(mComments);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::setComments(const ACHAR* pString)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mComments = pString == nullptr ? L"" : pString;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::getBlockReferenceIds(AcDbObjectIdArray& ids, bool, bool) const
{
    ids.removeAll();
    AcDbDatabase* db = database();
    if (db == nullptr)
        return Acad::eNoDatabase;
    const auto* table = AcDbBlockTable::cast(arxhost::DatabaseImpl::peek(db->blockTableId()));
    if (table == nullptr)
        return Acad::eOk;
    for (AcDbObjectId blockId : table->hostRecordIds()) {
        const auto* block = AcDbBlockTableRecord::cast(arxhost::DatabaseImpl::peek(blockId));
        if (block == nullptr || block->isErased())
            continue;
        for (AcDbObjectId id : block->hostEntityIds()) {
            const auto* ref = AcDbBlockReference::cast(arxhost::DatabaseImpl::peek(id));
            if (ref != nullptr && !ref->isErased() && ref->blockTableRecord() == objectId())
                ids.append(id);
        }
    }
    return Acad::eOk;
}

AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator(
    std::vector<AcDbObjectId> entities, bool atBeginning, bool skipDeleted)
    : mEntities(std::move(entities))
{
    start(atBeginning, skipDeleted);
}

void AcDbBlockTableRecordIterator::skip(bool forward, bool skipDeleted)
{
    while (!done() && skipDeleted && mEntities[static_cast<std::size_t>(mIndex)].isErased())
        mIndex += forward ? 1 : -1;
}

void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted)
{
    mIndex = atBeginning ? 0 : static_cast<int>(mEntities.size()) - 1;
    skip(atBeginning, skipDeleted);
}

bool AcDbBlockTableRecordIterator::done() const
{
    return mIndex < 0 || mIndex >= static_cast<int>(mEntities.size());
}

void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted)
{
    if (done())
        return;
    mIndex += forward ? 1 : -1;
    skip(forward, skipDeleted);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& entityId) const
{
    if (done())
        return Acad::eIteratorDone;
    entityId = mEntities[static_cast<std::size_t>(mIndex)];
    return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(
    AcDbEntity*& pEntity, AcDb::OpenMode openMode, bool openErasedEntity) const
{
    pEntity = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getEntityId(id);
    return es != Acad::eOk ? es : acdbOpenAcDbEntity(pEntity, id, openMode, openErasedEntity);
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::seek(AcDbObjectId id)
{
    for (std::size_t i = 0; i < mEntities.size(); ++i) {
        if (mEntities[i] == id) {
            mIndex = static_cast<int>(i);
            return Acad::eOk;
        }
    }
    return Acad::eKeyNotFound;
}

// ---- Layer ----

void AcDbLayerTableRecord::setColor(const AcCmColor& color)
{
    if (writable())
        mColor = color;
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsFrozen(bool frozen)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    // The current layer cannot be frozen.
    if (frozen && database() != nullptr && database()->clayer() == objectId())
        return Acad::eInvalidLayer;
    mFrozen = frozen;
    return Acad::eOk;
}

void AcDbLayerTableRecord::setIsOff(bool off)
{
    if (writable())
        mOff = off;
}

void AcDbLayerTableRecord::setIsLocked(bool locked)
{
    if (writable())
        mLocked = locked;
}

Acad::ErrorStatus AcDbLayerTableRecord::setIsPlottable(bool plot)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mPlottable = plot;
    return Acad::eOk;
}

void AcDbLayerTableRecord::setLinetypeObjectId(AcDbObjectId id)
{
    if (writable())
        mLinetypeId = id;
}

Acad::ErrorStatus AcDbLayerTableRecord::setLineWeight(AcDb::LineWeight weight)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mLineWeight = weight;
    return Acad::eOk;
}

// ---- Text style ----

Acad::ErrorStatus AcDbTextStyleTableRecord::fileName(const ACHAR*& name) const
{
    name = mFileName.c_str();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setFileName(const ACHAR* name)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mFileName = name == nullptr ? L"" : name;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::bigFontFileName(const ACHAR*& name) const
{
    name = mBigFontFileName.c_str();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setBigFontFileName(const ACHAR* name)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mBigFontFileName = name == nullptr ? L"" : name;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setTextSize(double size)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (size < 0)
        return Acad::eInvalidInput;
    mTextSize = size;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setXScale(double xScale)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!(xScale > 0))
        return Acad::eInvalidInput;
    mXScale = xScale;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setObliquingAngle(double obliquingAngle)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mObliquingAngle = obliquingAngle;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbTextStyleTableRecord::setPriorSize(double priorSize)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mPriorSize = priorSize;
    return Acad::eOk;
}

void AcDbTextStyleTableRecord::setFlagBits(Adesk::UInt8 flagBits)
{
    if (writable())
        mFlagBits = flagBits;
}

// ---- Linetype ----

Acad::ErrorStatus AcDbLinetypeTableRecord::comments(const ACHAR*& pString) const
{
    pString = mComments.c_str();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLinetypeTableRecord::setComments(const ACHAR* pString)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mComments = pString == nullptr ? L"" : pString;
    return Acad::eOk;
}

double AcDbLinetypeTableRecord::patternLength() const
{
    double length = 0;
    for (double d : mDashes)
        length += std::fabs(d);
    return length;
}

void AcDbLinetypeTableRecord::setNumDashes(int count)
{
    if (writable() && count >= 0)
        mDashes.resize(static_cast<std::size_t>(count), 0.0);
}

double AcDbLinetypeTableRecord::dashLengthAt(int index) const
{
    return index >= 0 && index < numDashes() ? mDashes[static_cast<std::size_t>(index)] : 0.0;
}

void AcDbLinetypeTableRecord::setDashLengthAt(int index, double value)
{
    if (writable() && index >= 0 && index < numDashes())
        mDashes[static_cast<std::size_t>(index)] = value;
}

// ---- Dimension style ----

#define ARXHOST_DIMSTYLE_DIMVAR(Cap, low, Kind, code, def)                                                   \
    ARXHOST_DIMVAR_DEF_##Kind(AcDbDimStyleTableRecord, Cap, low)
ARXHOST_DIMVARS(ARXHOST_DIMSTYLE_DIMVAR)
#undef ARXHOST_DIMSTYLE_DIMVAR

AcDbDimStyleTableRecord::AcDbDimStyleTableRecord()
{
    for (int i = 0; i < static_cast<int>(arxhost::DimVar::Count); ++i)
        mValues.push_back(arxhost::dimVarDefault(static_cast<arxhost::DimVar>(i)));
}

arxhost::DimVarValue AcDbDimStyleTableRecord::hostDimVarGet(arxhost::DimVar var) const
{
    return mValues[static_cast<std::size_t>(var)];
}

Acad::ErrorStatus AcDbDimStyleTableRecord::hostDimVarSet(arxhost::DimVar var, arxhost::DimVarValue value)
{
    if (!arxhost::dimVarValueAllowed(var, value))
        return Acad::eInvalidInput;
    if (!writable())
        return Acad::eNotOpenForWrite;
    mValues[static_cast<std::size_t>(var)] = std::move(value);
    return Acad::eOk;
}

const AcDbDatabase* AcDbDimStyleTableRecord::hostDimVarDatabase() const
{
    return database();
}

void AcDbDimStyleTableRecord::hostSetValue(arxhost::DimVar var, arxhost::DimVarValue value)
{
    mValues[static_cast<std::size_t>(var)] = std::move(value);
}
