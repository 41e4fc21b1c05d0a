// The custom parameter store's entries: opening, creating and rewriting the XRECORDs.
#include "parameterstore/StoreEntries.h"

#include "dbdict.h"
#include "dbobjptr.h"
#include "dbxrecrd.h"

namespace planroad::standins {

namespace {

constexpr const wchar_t* kStoreName = L"QV_CUSTOM_PARAMS";

const wchar_t* kindName(ParamKind kind)
{
    switch (kind) {
    case ParamKind::Other:
        return L"OTHER";
    case ParamKind::Text:
        return L"TEXT";
    case ParamKind::Layer:
        return L"LAYER";
    }
    return L"OTHER";
}

// The entry `name` of the dictionary; null id when missing (or when it is not a dictionary).
AcDbObjectId childDictionary(AcDbObjectId parentId, const wchar_t* name)
{
    AcDbObjectPointer<AcDbDictionary> parent(parentId, AcDb::kForRead);
    AcDbObjectId childId;
    if (parent.openStatus() != Acad::eOk || parent->getAt(name, childId) != Acad::eOk)
        return AcDbObjectId::kNull;
    AcDbObjectPointer<AcDbDictionary> child(childId, AcDb::kForRead);
    return child.openStatus() == Acad::eOk ? childId : AcDbObjectId::kNull;
}

// As above, creating the dictionary when it is missing.
AcDbObjectId makeChildDictionary(AcDbObjectId parentId, const wchar_t* name)
{
    AcDbObjectId existing = childDictionary(parentId, name);
    if (!existing.isNull())
        return existing;
    AcDbObjectPointer<AcDbDictionary> parent(parentId, AcDb::kForWrite);
    if (parent.openStatus() != Acad::eOk)
        return AcDbObjectId::kNull;
    AcDbObjectPointer<AcDbDictionary> child;
    child.create();
    AcDbObjectId childId;
    if (parent->setAt(name, child.object(), childId) != Acad::eOk)
        return AcDbObjectId::kNull;
    return childId;
}

AcDbObjectId entryId(AcDbDatabase* db, ParamKind kind, const CString& key)
{
    if (db == nullptr || key.IsEmpty())
        return AcDbObjectId::kNull;
    const AcDbObjectId store = childDictionary(db->namedObjectsDictionaryId(), kStoreName);
    if (store.isNull())
        return AcDbObjectId::kNull;
    const AcDbObjectId section = childDictionary(store, kindName(kind));
    if (section.isNull())
        return AcDbObjectId::kNull;
    AcDbObjectPointer<AcDbDictionary> dictionary(section, AcDb::kForRead);
    AcDbObjectId id;
    if (dictionary.openStatus() != Acad::eOk || dictionary->getAt(key.GetString(), id) != Acad::eOk)
        return AcDbObjectId::kNull;
    return id;
}

} // namespace

ResbufChain readStoreEntry(AcDbDatabase* db, ParamKind kind, const CString& key, bool& found)
{
    found = false;
    const AcDbObjectId id = entryId(db, kind, key);
    if (id.isNull())
        return nullptr;
    AcDbObjectPointer<AcDbXrecord> record(id, AcDb::kForRead);
    if (record.openStatus() != Acad::eOk)
        return nullptr;
    resbuf* chain = nullptr;
    if (record->rbChain(&chain) != Acad::eOk)
        return nullptr;
    found = true;
    return ResbufChain(chain);
}

bool writeStoreEntry(AcDbDatabase* db, ParamKind kind, const CString& key, const resbuf& values)
{
    if (db == nullptr || key.IsEmpty())
        return false;
    // An existing entry is rewritten in place, so that it keeps its handle.
    const AcDbObjectId existing = entryId(db, kind, key);
    if (!existing.isNull()) {
        AcDbObjectPointer<AcDbXrecord> record(existing, AcDb::kForWrite);
        if (record.openStatus() == Acad::eOk)
            return record->setFromRbChain(values) == Acad::eOk;
    }
    const AcDbObjectId store = makeChildDictionary(db->namedObjectsDictionaryId(), kStoreName);
    const AcDbObjectId section
        = store.isNull() ? AcDbObjectId::kNull : makeChildDictionary(store, kindName(kind));
    if (section.isNull())
        return false;
    AcDbObjectPointer<AcDbDictionary> dictionary(section, AcDb::kForWrite);
    if (dictionary.openStatus() != Acad::eOk)
        return false;
    AcDbObjectPointer<AcDbXrecord> record;
    record.create();
    if (record->setFromRbChain(values) != Acad::eOk)
        return false;
    AcDbObjectId id;
    return dictionary->setAt(key.GetString(), record.object(), id) == Acad::eOk;
}

} // namespace planroad::standins
