// AcDbDictionary and its iterator.
#include "core/StringCopy.h"
#include "db/DatabaseImpl.h"
#include "dbdict.h"

ACRX_DEFINE_MEMBERS_DXF(AcDbDictionary, AcDbObject, ACRX_T("DICTIONARY"))
ACRX_DEFINE_MEMBERS(AcDbDictionaryIterator, AcRxObject)

AcDbDictionary::~AcDbDictionary() = default;

int AcDbDictionary::findIndex(const ACHAR* key) const
{
    if (key == nullptr)
        return -1;
    for (std::size_t i = 0; i < mEntries.size(); ++i)
        if (arxhost::sameName(mEntries[i].first.c_str(), key))
            return static_cast<int>(i);
    return -1;
}

Acad::ErrorStatus AcDbDictionary::getAt(
    const ACHAR* entryName, AcDbObject*& entryObj, AcDb::OpenMode mode) const
{
    entryObj = nullptr;
    AcDbObjectId id;
    Acad::ErrorStatus es = getAt(entryName, id);
    return es != Acad::eOk ? es : acdbOpenObject(entryObj, id, mode);
}

Acad::ErrorStatus AcDbDictionary::getAt(const ACHAR* entryName, AcDbObjectId& entryObj) const
{
    entryObj.setNull();
    int at = findIndex(entryName);
    if (at < 0 || mEntries[static_cast<std::size_t>(at)].second.isErased())
        return Acad::eKeyNotFound;
    entryObj = mEntries[static_cast<std::size_t>(at)].second;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId objId, ACHAR*& name) const
{
    name = nullptr;
    for (const auto& [key, id] : mEntries) {
        if (id == objId) {
            name = arxhost::copyForCaller(key);
            return Acad::eOk;
        }
    }
    return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId objId, AcString& name) const
{
    for (const auto& [key, id] : mEntries) {
        if (id == objId) {
            name = key.c_str();
            return Acad::eOk;
        }
    }
    return Acad::eKeyNotFound;
}

bool AcDbDictionary::has(const ACHAR* entryName) const
{
    AcDbObjectId id;
    return getAt(entryName, id) == Acad::eOk;
}

bool AcDbDictionary::has(AcDbObjectId objId) const
{
    for (const auto& entry : mEntries)
        if (entry.second == objId)
            return !objId.isErased();
    return false;
}

Acad::ErrorStatus AcDbDictionary::setAt(const ACHAR* srchKey, AcDbObject* newValue, AcDbObjectId& retObjId)
{
    retObjId.setNull();
    if (srchKey == nullptr || *srchKey == 0)
        return Acad::eInvalidKey;
    if (newValue == nullptr)
        return Acad::eNullObjectPointer;
    if (!isDatabaseResident())
        return Acad::eNoDatabase;
    if (!writable())
        return Acad::eNotOpenForWrite;
    arxhost::DatabaseImpl& impl = database()->impl();
    std::wstring key = srchKey;
    if (key == L"*" || key == L"*A" || key == L"*a") {
        // Anonymous entries get the first free "*An" key.
        int n = 1;
        do {
            key = L"*A" + std::to_wstring(n++);
        } while (findIndex(key.c_str()) >= 0);
    }
    if (newValue->isDatabaseResident()) {
        retObjId = newValue->objectId();
        newValue->setOwnerId(objectId());
    } else {
        Acad::ErrorStatus es = impl.add(newValue, objectId(), retObjId);
        if (es != Acad::eOk)
            return es;
    }
    int at = findIndex(key.c_str());
    if (at >= 0) {
        // The replaced object goes; the key keeps its place.
        AcDbObjectId old = mEntries[static_cast<std::size_t>(at)].second;
        if (old != retObjId && !old.isErased()) {
            if (AcDbObject* oldObject = impl.modify(old))
                oldObject->hostSetErased(true);
        }
        mEntries[static_cast<std::size_t>(at)].second = retObjId;
    } else {
        mEntries.emplace_back(key, retObjId);
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key)
{
    AcDbObjectId id;
    return remove(key, id);
}

Acad::ErrorStatus AcDbDictionary::remove(const ACHAR* key, AcDbObjectId& returnId)
{
    returnId.setNull();
    if (!writable())
        return Acad::eNotOpenForWrite;
    int at = findIndex(key);
    if (at < 0)
        return Acad::eKeyNotFound;
    returnId = mEntries[static_cast<std::size_t>(at)].second;
    mEntries.erase(mEntries.begin() + at);
    if (AcDbStub* stub = returnId) {
        if (AcDbObject* object = database()->impl().modify(stub))
            object->setOwnerId(AcDbObjectId());
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(AcDbObjectId objId)
{
    for (const auto& entry : mEntries)
        if (entry.second == objId)
            return remove(std::wstring(entry.first).c_str());
    return Acad::eKeyNotFound;
}

bool AcDbDictionary::setName(const ACHAR* oldName, const ACHAR* newName)
{
    if (!writable() || newName == nullptr || *newName == 0)
        return false;
    int at = findIndex(oldName);
    if (at < 0 || findIndex(newName) >= 0)
        return false;
    mEntries[static_cast<std::size_t>(at)].first = newName;
    return true;
}

bool AcDbDictionary::hostRename(const ACHAR* oldName, const ACHAR* newName)
{
    if (newName == nullptr || *newName == 0)
        return false;
    int at = findIndex(oldName);
    int clash = findIndex(newName);
    if (at < 0 || (clash >= 0 && clash != at))
        return false;
    mEntries[static_cast<std::size_t>(at)].first = newName;
    return true;
}

AcDbDictionaryIterator* AcDbDictionary::newIterator() const
{
    std::vector<std::pair<std::wstring, AcDbObjectId>> live;
    for (const auto& entry : mEntries)
        if (!entry.second.isErased())
            live.push_back(entry);
    return new AcDbDictionaryIterator(std::move(live));
}

AcDbDictionaryIterator::AcDbDictionaryIterator(std::vector<std::pair<std::wstring, AcDbObjectId>> entries)
    : mEntries(std::move(entries))
{
}

const ACHAR* AcDbDictionaryIterator::name() const
{
    return done() ? nullptr : mEntries[mIndex].first.c_str();
}

Acad::ErrorStatus AcDbDictionaryIterator::getObject(AcDbObject*& pObject, AcDb::OpenMode mode)
{
    pObject = nullptr;
    if (done())
        return Acad::eIteratorDone;
    return acdbOpenObject(pObject, mEntries[mIndex].second, mode);
}

AcDbObjectId AcDbDictionaryIterator::objectId() const
{
    return done() ? AcDbObjectId() : mEntries[mIndex].second;
}

bool AcDbDictionaryIterator::done() const
{
    return mIndex >= mEntries.size();
}

bool AcDbDictionaryIterator::next()
{
    if (done())
        return false;
    ++mIndex;
    return !done();
}

bool AcDbDictionaryIterator::setPosition(AcDbObjectId objId)
{
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        if (mEntries[i].second == objId) {
            mIndex = i;
            return true;
        }
    }
    return false;
}
