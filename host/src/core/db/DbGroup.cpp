// AcDbGroup: named, ordered entity sets.
#include <algorithm>

#include "core/StringCopy.h"
#include "db/DatabaseImpl.h"
#include "dbdict.h"
#include "dbgroup.h"

ACRX_DEFINE_MEMBERS_DXF(AcDbGroup, AcDbObject, ACRX_T("GROUP"))

AcDbGroup::AcDbGroup() = default;

AcDbGroup::AcDbGroup(const ACHAR* grpDesc, bool selectable)
    : mDescription(grpDesc == nullptr ? L"" : grpDesc)
    , mSelectable(selectable)
{
}

AcDbGroup::~AcDbGroup() = default;

const ACHAR* AcDbGroup::name() const
{
    // The name is the group's key in its dictionary.
    static thread_local std::wstring key;
    key.clear();
    if (const auto* dict = AcDbDictionary::cast(arxhost::DatabaseImpl::peek(ownerId()))) {
        for (const auto& [k, id] : dict->hostEntries())
            if (id == objectId())
                key = k;
    }
    return key.c_str();
}

Acad::ErrorStatus AcDbGroup::getName(ACHAR*& pName) const
{
    pName = arxhost::copyForCaller(name());
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::setName(const ACHAR* newName)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    auto* dict = AcDbDictionary::cast(const_cast<AcDbObject*>(arxhost::DatabaseImpl::peek(ownerId())));
    if (dict == nullptr)
        return Acad::eNotInDatabase;
    std::wstring old = name();
    AcDbObject* writableDict = database()->impl().modify(ownerId());
    if (writableDict == nullptr
        || !static_cast<AcDbDictionary*>(writableDict)->hostRename(old.c_str(), newName))
        return Acad::eDuplicateKey;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::setDescription(const ACHAR* grpDesc)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mDescription = grpDesc == nullptr ? L"" : grpDesc;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::setSelectable(bool selectable)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mSelectable = selectable;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::setAnonymous()
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mAnonymous = true;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::append(AcDbObjectId id)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (id.isNull())
        return Acad::eNullObjectId;
    if (AcDbEntity::cast(arxhost::DatabaseImpl::peek(id)) == nullptr)
        return Acad::eNotAnEntity;
    if (id.isErased())
        return Acad::eWasErased;
    if (database() != nullptr && id.database() != database())
        return Acad::eWrongDatabase;
    if (has(id))
        return Acad::eDuplicateKey;
    mMembers.push_back(id);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::append(const AcDbObjectIdArray& ids)
{
    for (const AcDbObjectId& id : ids) {
        Acad::ErrorStatus es = append(id);
        if (es != Acad::eOk)
            return es;
    }
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::prepend(AcDbObjectId id)
{
    Acad::ErrorStatus es = append(id);
    if (es == Acad::eOk)
        std::rotate(mMembers.rbegin(), mMembers.rbegin() + 1, mMembers.rend());
    return es;
}

Acad::ErrorStatus AcDbGroup::remove(AcDbObjectId id)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    auto it = std::find(mMembers.begin(), mMembers.end(), id);
    if (it == mMembers.end())
        return Acad::eKeyNotFound;
    mMembers.erase(it);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbGroup::clear()
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mMembers.clear();
    return Acad::eOk;
}

bool AcDbGroup::has(const AcDbEntity* pEntity) const
{
    return pEntity != nullptr && has(pEntity->objectId());
}

bool AcDbGroup::has(AcDbObjectId id) const
{
    return std::find(mMembers.begin(), mMembers.end(), id) != mMembers.end();
}

Adesk::UInt32 AcDbGroup::numEntities() const
{
    Adesk::UInt32 n = 0;
    for (AcDbObjectId id : mMembers)
        n += id.isErased() ? 0 : 1;
    return n;
}

Adesk::UInt32 AcDbGroup::allEntityIds(AcDbObjectIdArray& ids) const
{
    ids.removeAll();
    for (AcDbObjectId id : mMembers)
        if (!id.isErased())
            ids.append(id);
    return static_cast<Adesk::UInt32>(ids.length());
}

Acad::ErrorStatus AcDbGroup::highlight() const
{
    for (AcDbObjectId id : mMembers)
        if (const auto* entity = AcDbEntity::cast(arxhost::DatabaseImpl::peek(id)))
            entity->highlight();
    return Acad::eOk;
}
