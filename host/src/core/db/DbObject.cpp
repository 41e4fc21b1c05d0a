// AcDbObject: identity, ownership, the open protocol, erasing, extended data, extension dictionary.
#include <algorithm>

#include "acutads.h"
#include "core/Diagnostics.h"
#include "db/DatabaseImpl.h"
#include "db/TypedValueChains.h"
#include "dbdict.h"
#include "dbsymtb.h"

ACRX_DEFINE_MEMBERS(AcDbObject, AcRxObject)

AcRxClass* AcRxObject::desc()
{
    static AcRxClass cls(ACRX_T("AcRxObject"), nullptr);
    return &cls;
}

AcRxClass* AcRxObject::isA() const
{
    return AcRxObject::desc();
}

AcDbObject::AcDbObject() = default;

AcDbObject::AcDbObject(const AcDbObject& other)
    : AcRxObject(other)
    , mOwnerId(other.mOwnerId)
    , mErased(other.mErased)
    , mExtensionDictionary(other.mExtensionDictionary)
    , mXData(other.mXData)
    , mReactors(other.mReactors)
    , mDxfExtras(other.mDxfExtras)
{
}

Acad::ErrorStatus AcDbObject::addPersistentReactor(AcDbObjectId objId)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (objId.isNull())
        return Acad::eNullObjectId;
    if (!hasPersistentReactor(objId))
        mReactors.push_back(objId);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::removePersistentReactor(AcDbObjectId objId)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    auto it = std::find(mReactors.begin(), mReactors.end(), objId);
    if (it == mReactors.end())
        return Acad::eKeyNotFound;
    mReactors.erase(it);
    return Acad::eOk;
}

bool AcDbObject::hasPersistentReactor(AcDbObjectId objId) const
{
    return std::find(mReactors.begin(), mReactors.end(), objId) != mReactors.end();
}

AcDbObject::~AcDbObject() = default;

AcRxObject* AcDbObject::clone() const
{
    // Every concrete class overrides clone(); reaching here means a class forgot to.
    arxhost::reportViolation(L"clone() not provided by a database object class");
    return nullptr;
}

AcDbObjectId AcDbObject::objectId() const
{
    return AcDbObjectId(mpStub);
}

AcDbObjectId AcDbObject::ownerId() const
{
    return mOwnerId;
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId objId)
{
    mOwnerId = objId;
    return Acad::eOk;
}

void AcDbObject::getAcDbHandle(AcDbHandle& handle) const
{
    handle = this->handle();
}

AcDbHandle AcDbObject::handle() const
{
    return mpStub == nullptr ? AcDbHandle() : mpStub->handle();
}

AcDbDatabase* AcDbObject::database() const
{
    return mpStub == nullptr ? nullptr : mpStub->database();
}

Acad::ErrorStatus AcDbObject::close()
{
    if (mpStub == nullptr) {
        arxhost::reportViolation(L"close() of an object that is not in a database (delete it instead)");
        return Acad::eNotInDatabase;
    }
    return mpStub->database()->impl().close(mpStub);
}

Acad::ErrorStatus AcDbObject::cancel()
{
    return close();
}

Acad::ErrorStatus AcDbObject::upgradeOpen()
{
    if (mpStub == nullptr)
        return Acad::eOk;
    return mpStub->database()->impl().upgrade(mpStub);
}

Acad::ErrorStatus AcDbObject::downgradeOpen()
{
    if (mpStub == nullptr)
        return Acad::eOk;
    return mpStub->database()->impl().downgrade(mpStub);
}

bool AcDbObject::hostLoading() const { return mpStub != nullptr && mpStub->database()->impl().loading(); }

Adesk::Boolean AcDbObject::isReadEnabled() const
{
    return mpStub == nullptr || mpStub->readers > 0 || mpStub->writer;
}

Adesk::Boolean AcDbObject::isWriteEnabled() const
{
    return mpStub == nullptr || mpStub->writer;
}

Adesk::Boolean AcDbObject::isNewObject() const
{
    return mpStub == nullptr;
}

void AcDbObject::assertReadEnabled() const
{
    if (!isReadEnabled())
        arxhost::reportViolation(
            L"object read while not open (handle " + arxhost::handleText(handle()) + L")");
}

void AcDbObject::assertWriteEnabled(Adesk::Boolean, Adesk::Boolean) const
{
    writable();
}

bool AcDbObject::writable() const
{
    if (isWriteEnabled() || (mpStub != nullptr && (mpStub->restoring || mpStub->database()->impl().loading())))
        return true;
    arxhost::reportViolation(
        L"object changed while not open for write (handle " + arxhost::handleText(handle()) + L")");
    return false;
}

Acad::ErrorStatus AcDbObject::erase(Adesk::Boolean erasing)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (mErased == erasing)
        return erasing ? Acad::eWasErased : Acad::eWasNotErased;
    mErased = erasing;
    return Acad::eOk;
}

bool AcDbObject::hasXDataOf(const ACHAR* appName) const
{
    for (const arxhost::TypedValue& v : mXData)
        if (v.code == 1001 && arxhost::sameName(std::get_if<std::wstring>(&v.value)->c_str(), appName))
            return true;
    return false;
}

namespace {

// Extended data split by application, in stored order.
struct AppData {
    std::wstring app;
    arxhost::TypedValues values; // the 1001 group first
};

std::vector<AppData> splitByApp(const arxhost::TypedValues& flat)
{
    std::vector<AppData> apps;
    for (const arxhost::TypedValue& v : flat) {
        if (v.code == 1001) {
            apps.push_back({std::get<std::wstring>(v.value), {v}});
        } else if (!apps.empty()) {
            apps.back().values.push_back(v);
        }
    }
    return apps;
}

} // namespace

resbuf* AcDbObject::xData(const ACHAR* regappName) const
{
    if (regappName == nullptr)
        return arxhost::toResbufChain(mXData);
    for (const AppData& data : splitByApp(mXData))
        if (arxhost::sameName(data.app.c_str(), regappName))
            return arxhost::toResbufChain(data.values);
    return nullptr;
}

Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (xdata == nullptr)
        return Acad::eOk;
    arxhost::TypedValues incoming;
    short badCode = 0;
    if (!arxhost::fromResbufChain(xdata, incoming, badCode))
        return Acad::eInvalidResBuf;
    if (incoming.empty() || incoming.front().code != 1001)
        return Acad::eBadDxfSequence;
    for (const arxhost::TypedValue& v : incoming)
        if (v.code != 1001 && (v.code < 1000 || v.code > 1071))
            return Acad::eInvalidDxfCode;

    std::vector<AppData> current = splitByApp(mXData);
    std::vector<AppData> updates = splitByApp(incoming);
    AcDbDatabase* db = database();
    for (const AppData& update : updates) {
        if (db != nullptr) {
            AcDbRegAppTable* table = nullptr;
            bool registered = false;
            if (db->getRegAppTable(table, AcDb::kForRead) == Acad::eOk) {
                registered = table->has(update.app.c_str());
                table->close();
            }
            if (!registered)
                return Acad::eRegappIdNotFound;
        }
    }
    for (const AppData& update : updates) {
        auto it = std::find_if(current.begin(), current.end(),
            [&](const AppData& d) { return arxhost::sameName(d.app.c_str(), update.app.c_str()); });
        bool remove = update.values.size() == 1;
        if (it != current.end()) {
            if (remove)
                current.erase(it);
            else
                *it = update;
        } else if (!remove) {
            current.push_back(update);
        }
    }
    mXData.clear();
    for (const AppData& data : current)
        mXData.insert(mXData.end(), data.values.begin(), data.values.end());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::createExtensionDictionary()
{
    if (!mExtensionDictionary.isNull() && !mExtensionDictionary.isErased())
        return Acad::eAlreadyInDb;
    if (mpStub == nullptr)
        return Acad::eNoDatabase;
    if (!writable())
        return Acad::eNotOpenForWrite;
    auto* dict = new AcDbDictionary();
    AcDbObjectId id;
    Acad::ErrorStatus es = mpStub->database()->impl().add(dict, objectId(), id);
    if (es != Acad::eOk) {
        delete dict;
        return es;
    }
    dict->close();
    mExtensionDictionary = id;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::releaseExtensionDictionary()
{
    if (mExtensionDictionary.isNull())
        return Acad::eOk;
    if (!writable())
        return Acad::eNotOpenForWrite;
    AcDbDictionary* dict = nullptr;
    Acad::ErrorStatus es = acdbOpenObject(dict, mExtensionDictionary, AcDb::kForWrite);
    if (es != Acad::eOk)
        return es;
    bool empty = dict->numEntries() == 0;
    if (empty)
        dict->erase();
    dict->close();
    if (!empty)
        return Acad::eContainerNotEmpty;
    mExtensionDictionary.setNull();
    return Acad::eOk;
}

bool AcDbObject::filterGroup(short code, arxhost::TypedValue& out) const
{
    if (code == 0) {
        out = {0, std::wstring(dxfTypeName())};
        return true;
    }
    if (code == 5) {
        out = {5, arxhost::handleText(handle())};
        return true;
    }
    return false;
}

const ACHAR* AcDbObject::dxfTypeName() const
{
    return ACRX_T("OBJECT");
}
