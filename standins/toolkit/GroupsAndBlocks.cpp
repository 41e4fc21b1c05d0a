// Drawing toolkit: groups, and turning entities into an (anonymous) block with a reference in their place.
#include "DrawingToolkit.h"

#include <vector>

#include "dbdict.h"
#include "dbents.h"
#include "dbgroup.h"
#include "dbobjptr.h"
#include "dbsymtb.h"
#include "toolkit/ToolkitSupport.h"

namespace {

// The groups of the drawing that hold any of the ids.
std::vector<AcDbObjectId> groupsHolding(AcDbDatabase* db, const AcDbObjectIdArray& ids)
{
    std::vector<AcDbObjectId> found;
    AcDbDictionary* groups = nullptr;
    if (db->getGroupDictionary(groups, AcDb::kForRead) != Acad::eOk)
        return found;
    std::unique_ptr<AcDbDictionaryIterator> it(groups->newIterator());
    groups->close();
    for (; it != nullptr && !it->done(); it->next()) {
        AcDbObjectPointer<AcDbGroup> group(it->objectId(), AcDb::kForRead);
        if (group.openStatus() != Acad::eOk)
            continue;
        for (const AcDbObjectId& id : ids) {
            if (group->has(id)) {
                found.push_back(it->objectId());
                break;
            }
        }
    }
    return found;
}

// A block definition holding copies of the entities, or null.
AcDbObjectId defineBlock(AcDbDatabase* db, const CString& name, const AcGePoint3d& base,
    std::vector<std::unique_ptr<AcDbEntity>> entities)
{
    AcDbBlockTable* table = nullptr;
    if (db->getBlockTable(table, AcDb::kForWrite) != Acad::eOk)
        return AcDbObjectId::kNull;
    auto record = std::make_unique<AcDbBlockTableRecord>();
    // Any name of the "*U" family asks the drawing for the next anonymous block name.
    const bool anonymous = name.GetLength() >= 2 && name.Left(2).CompareNoCase(L"*U") == 0;
    AcDbObjectId blockId;
    if (record->setName(anonymous ? CString(L"*U") : name) != Acad::eOk
        || record->setOrigin(base) != Acad::eOk || table->add(blockId, record.get()) != Acad::eOk) {
        table->close();
        return AcDbObjectId::kNull;
    }
    AcDbBlockTableRecord* block = record.release();
    table->close();
    for (std::unique_ptr<AcDbEntity>& entity : entities) {
        AcDbObjectId entityId;
        if (block->appendAcDbEntity(entityId, entity.get()) == Acad::eOk)
            entity.release()->close();
    }
    block->close();
    return blockId;
}

} // namespace

namespace tarn::ent {

int CreateGrp(const CString& name, AcDbObjectId& groupId)
{
    groupId.setNull();
    AcDbDatabase* db = support::workingDb();
    if (db == nullptr || name.IsEmpty())
        return 0;
    AcDbDictionary* groups = nullptr;
    if (db->getGroupDictionary(groups, AcDb::kForWrite) != Acad::eOk)
        return 0;
    const bool anonymous = name.GetAt(0) == L'*';
    if (!anonymous && groups->has(name)) {
        groups->close();
        return 0;
    }
    auto group = std::make_unique<AcDbGroup>(name, true);
    if (anonymous)
        group->setAnonymous();
    if (groups->setAt(anonymous ? L"*" : name.GetString(), group.get(), groupId) == Acad::eOk)
        group.release()->close();
    groups->close();
    return groupId.isNull() ? 0 : 1;
}

int AddToGroup(AcDbObjectId groupId, AcDbObjectId entId)
{
    if (!FIsValidId(entId))
        return 0;
    AcDbObjectPointer<AcDbGroup> group(groupId, AcDb::kForWrite);
    return group.openStatus() == Acad::eOk && group->append(entId) == Acad::eOk ? 1 : 0;
}

int CreateBlkAll(const AcDbObjectIdArray& ids, const CString& name, const AcGePoint3d& base,
    AcDbObjectId& blockId, AcDbObjectId& refId)
{
    blockId.setNull();
    refId.setNull();
    if (ids.isEmpty() || name.IsEmpty())
        return 1;
    AcDbDatabase* db = ids[0].database();
    AcDbObjectId spaceId;
    std::vector<std::unique_ptr<AcDbEntity>> copies;
    for (const AcDbObjectId& id : ids) {
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        if (entity.openStatus() != Acad::eOk || id.database() != db)
            return 1;
        if (spaceId.isNull())
            spaceId = entity->ownerId();
        else if (entity->ownerId() != spaceId)
            return 1;
        copies.push_back(support::copyEntity(*entity));
        if (copies.back() == nullptr)
            return 1;
    }
    // The definition's base is the given point and its entities keep their coordinates, so the reference
    // at that point shows them exactly where they were.
    blockId = defineBlock(db, name, base, std::move(copies));
    if (blockId.isNull())
        return 2;
    auto reference = std::make_unique<AcDbBlockReference>(base, blockId);
    reference->setDatabaseDefaults(db);
    refId = support::appendClosed(spaceId, std::move(reference));
    if (refId.isNull()) {
        AcDbObjectPointer<AcDbBlockTableRecord> block(blockId, AcDb::kForWrite);
        if (block.openStatus() == Acad::eOk)
            block->erase();
        blockId.setNull();
        return 3;
    }
    for (const AcDbObjectId& groupId : groupsHolding(db, ids)) {
        AcDbObjectPointer<AcDbGroup> group(groupId, AcDb::kForWrite);
        if (group.openStatus() != Acad::eOk)
            continue;
        for (const AcDbObjectId& id : ids)
            if (group->has(id))
                group->remove(id);
        group->append(refId);
    }
    Erase(ids);
    return 0;
}

} // namespace tarn::ent
