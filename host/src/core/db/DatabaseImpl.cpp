// The open protocol, object registration, header variables and index upkeep of a drawing.
#include "db/DatabaseImpl.h"

#include <algorithm>
#include <cwctype>

#include "core/Diagnostics.h"
#include "dbsymtb.h"

namespace arxhost {

namespace {
// The host allows this many simultaneous read-opens of one object, as the real one does.
constexpr int kMaxReaders = 256;
} // namespace

bool sameName(const wchar_t* a, const wchar_t* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    for (; *a != 0 && *b != 0; ++a, ++b)
        if (std::towupper(static_cast<wint_t>(*a)) != std::towupper(static_cast<wint_t>(*b)))
            return false;
    return *a == *b;
}

std::wstring upperName(const wchar_t* name)
{
    std::wstring out = name == nullptr ? std::wstring() : std::wstring(name);
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return out;
}

DatabaseImpl::DatabaseImpl(AcDbDatabase& owner)
    : mOwner(owner)
    , mUndo([this](AcDbStub* stub) { refreshIndex(stub); })
{
}

DatabaseImpl::~DatabaseImpl()
{
    // Objects may refer to each other in their destructors' absence of care; drop them in reverse.
    for (auto it = mStubs.rbegin(); it != mStubs.rend(); ++it)
        it->replaceObject(nullptr);
}

Acad::ErrorStatus DatabaseImpl::add(
    AcDbObject* object, AcDbObjectId ownerId, AcDbObjectId& idOut, AcDbHandle handle)
{
    if (object == nullptr)
        return Acad::eNullObjectPointer;
    if (object->isDatabaseResident())
        return Acad::eAlreadyInDb;
    Adesk::UInt64 value = handle.isNull() ? mNextHandle : handle.value();
    auto [slot, inserted] = mByHandle.try_emplace(value, nullptr);
    if (!inserted)
        return Acad::eHandleInUse;
    mNextHandle = std::max(mNextHandle, value + 1);
    AcDbStub* raw = &mStubs.emplace_back(&mOwner, AcDbHandle(value));
    slot->second = raw;
    raw->replaceObject(std::unique_ptr<AcDbObject>(object));
    object->setOwnerId(ownerId);
    // A new object comes back open for write, as after appendAcDbEntity.
    raw->writer = true;
    mUndo.recordCreation(raw);
    idOut = AcDbObjectId(raw);
    return Acad::eOk;
}

bool DatabaseImpl::rehandle(AcDbStub* stub, AcDbHandle handle)
{
    if (mByHandle.count(handle.value()) != 0)
        return false;
    mByHandle.erase(stub->handle().value());
    stub->setHandle(handle);
    mByHandle.emplace(handle.value(), stub);
    mNextHandle = std::max(mNextHandle, handle.value() + 1);
    return true;
}

AcDbStub* DatabaseImpl::stubOf(AcDbHandle handle) const
{
    auto it = mByHandle.find(handle.value());
    return it == mByHandle.end() ? nullptr : it->second;
}

void DatabaseImpl::reserveHandlesBelow(Adesk::UInt64 seed)
{
    mNextHandle = std::max(mNextHandle, seed);
}

Acad::ErrorStatus DatabaseImpl::open(AcDbStub* stub, AcDb::OpenMode mode, bool openErased, AcDbObject*& out)
{
    out = nullptr;
    AcDbObject* object = stub->object();
    if (object == nullptr)
        return Acad::ePermanentlyErased;
    if (object->isErased() && !openErased)
        return Acad::eWasErased;
    switch (mode) {
    case AcDb::kForRead:
        if (stub->writer)
            return Acad::eWasOpenForWrite;
        if (stub->readers >= kMaxReaders)
            return Acad::eAtMaxReaders;
        ++stub->readers;
        break;
    case AcDb::kForWrite:
        if (stub->writer)
            return Acad::eWasOpenForWrite;
        if (stub->readers > 0)
            return Acad::eWasOpenForRead;
        mUndo.recordBeforeChange(stub);
        stub->writer = true;
        object = stub->object();
        break;
    case AcDb::kForNotify:
    case AcDb::kNotOpen:
        return Acad::eInvalidOpenState;
    }
    out = object;
    return Acad::eOk;
}

Acad::ErrorStatus DatabaseImpl::close(AcDbStub* stub)
{
    if (stub->writer) {
        if (stub->object() != nullptr)
            stub->object()->hostOnWriteClose();
        stub->writer = false;
        refreshIndex(stub);
        return Acad::eOk;
    }
    if (stub->readers > 0) {
        --stub->readers;
        return Acad::eOk;
    }
    reportViolation(L"close() of an object that is not open (handle " + handleText(stub->handle()) + L")");
    return Acad::eNotOpenForRead;
}

Acad::ErrorStatus DatabaseImpl::upgrade(AcDbStub* stub)
{
    if (stub->writer)
        return Acad::eWasOpenForWrite;
    if (stub->readers != 1)
        return stub->readers == 0 ? Acad::eNotOpenForRead : Acad::eHadMultipleReaders;
    stub->readers = 0;
    mUndo.recordBeforeChange(stub);
    stub->writer = true;
    return Acad::eOk;
}

Acad::ErrorStatus DatabaseImpl::downgrade(AcDbStub* stub)
{
    if (!stub->writer)
        return Acad::eWasNotOpenForWrite;
    stub->writer = false;
    refreshIndex(stub);
    stub->readers = 1;
    return Acad::eOk;
}

std::vector<AcDbStub*> DatabaseImpl::openStubs() const
{
    std::vector<AcDbStub*> open;
    for (const AcDbStub& stub : mStubs)
        if (stub.writer || stub.readers > 0)
            open.push_back(const_cast<AcDbStub*>(&stub));
    return open;
}

AcDbObject* DatabaseImpl::modify(AcDbStub* stub)
{
    if (!stub->writer)
        mUndo.recordBeforeChange(stub);
    return stub->object();
}

const AcDbObject* DatabaseImpl::peek(AcDbObjectId id)
{
    AcDbStub* stub = id;
    return stub == nullptr ? nullptr : stub->object();
}

HeaderValue DatabaseImpl::headerValue(const std::wstring& name) const
{
    const HeaderValue* value = mHeader.find(name);
    return value == nullptr ? HeaderValue {} : *value;
}

void DatabaseImpl::setHeaderValue(const std::wstring& name, HeaderValue value)
{
    const HeaderValue* old = mHeader.find(name);
    if (old != nullptr && *old == value)
        return;
    mUndo.recordHeaderVar(name, old == nullptr ? HeaderValue {} : *old);
    mHeader.set(name, std::move(value));
}

namespace {
bool boxOf(const AcDbEntity& entity, Box2d& box)
{
    AcDbExtents ext;
    if (entity.getGeomExtents(ext) != Acad::eOk || ext.isEmpty())
        return false;
    box = {ext.minPoint().x, ext.minPoint().y, ext.maxPoint().x, ext.maxPoint().y};
    return true;
}
} // namespace

void DatabaseImpl::refreshIndex(AcDbStub* stub)
{
    if (mIndexSuspended || mIndexStale)
        return;
    const AcDbEntity* entity = AcDbEntity::cast(stub->object());
    Box2d box;
    if (entity == nullptr || entity->isErased() || entity->ownerId() != modelSpace || !boxOf(*entity, box)) {
        mIndex.remove(stub);
        return;
    }
    mIndex.put(stub, box);
}

void DatabaseImpl::rebuildIndex()
{
    std::vector<std::pair<AcDbStub*, Box2d>> entries;
    const auto* space = AcDbBlockTableRecord::cast(peek(modelSpace));
    if (space != nullptr) {
        entries.reserve(space->hostEntityIds().size());
        for (AcDbObjectId id : space->hostEntityIds()) {
            const AcDbEntity* entity = AcDbEntity::cast(peek(id));
            Box2d box;
            if (entity != nullptr && !entity->isErased() && boxOf(*entity, box))
                entries.emplace_back(static_cast<AcDbStub*>(id), box);
        }
    }
    mIndex.rebuild(entries);
    mIndexStale = false;
}

DatabaseImpl* implOf(AcDbObjectId id)
{
    AcDbStub* stub = id;
    if (stub == nullptr || stub->database() == nullptr)
        return nullptr;
    return &stub->database()->impl();
}

} // namespace arxhost
