// Drawing toolkit: adding, copying, erasing and restyling entities, layers, text styles, highlighting.
#include "DrawingToolkit.h"

#include <unordered_set>

#include "acedads.h"
#include "dbobjptr.h"
#include "dbsymtb.h"
#include "toolkit/ToolkitSupport.h"

namespace tarn::ent {

using support::workingDb;

AcDbObjectId AddToDb(AcDbEntity* pEnt)
{
    AcDbDatabase* db = workingDb();
    if (pEnt == nullptr || db == nullptr || pEnt->isDatabaseResident())
        return AcDbObjectId::kNull;
    AcDbObjectPointer<AcDbBlockTableRecord> space(db->currentSpaceId(), AcDb::kForWrite);
    if (space.openStatus() != Acad::eOk)
        return AcDbObjectId::kNull;
    AcDbObjectId id;
    if (space->appendAcDbEntity(id, pEnt) != Acad::eOk)
        return AcDbObjectId::kNull;
    return id;
}

AcDbObjectId Copy(AcDbObjectId id)
{
    std::unique_ptr<AcDbEntity> copy;
    AcDbObjectId spaceId;
    {
        AcDbObjectPointer<AcDbEntity> source(id, AcDb::kForRead);
        if (source.openStatus() != Acad::eOk)
            return AcDbObjectId::kNull;
        copy = support::copyEntity(*source);
        spaceId = source->ownerId();
    }
    return support::appendClosed(spaceId, std::move(copy));
}

int Copy(const AcDbObjectIdArray& ids, AcDbObjectIdArray& copies)
{
    copies.removeAll();
    int result = 1;
    for (const AcDbObjectId& id : ids) {
        AcDbObjectId copy = Copy(id);
        if (copy.isNull())
            result = 0;
        copies.append(copy);
    }
    return result;
}

int Erase(AcDbObjectId id)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
    return entity.openStatus() == Acad::eOk && entity->erase() == Acad::eOk ? 1 : 0;
}

int Erase(const AcDbObjectIdArray& ids)
{
    int result = 1;
    for (const AcDbObjectId& id : ids)
        if (Erase(id) == 0)
            result = 0;
    return result;
}

int ChangeLayer(AcDbObjectId id, const CString& layer)
{
    if (layer.IsEmpty() || !FIsValidId(id))
        return 0;
    // The layer lives in the entity's own drawing, which need not be the working one.
    AcDbDatabase* db = id.database();
    AcDbObjectId layerId;
    {
        AcDbLayerTable* table = nullptr;
        if (db->getLayerTable(table, AcDb::kForRead) != Acad::eOk)
            return 0;
        table->getAt(layer, layerId);
        table->close();
    }
    if (layerId.isNull()) {
        AcDbDatabase* working = workingDb();
        if (working != db || CreateLayer(layer) == 0)
            return 0;
        layerId = GetLayer(layer);
    }
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
    return entity.openStatus() == Acad::eOk && entity->setLayer(layerId) == Acad::eOk ? 1 : 0;
}

int ChangeColor(AcDbObjectId id, int colorIndex)
{
    if (colorIndex < 0 || colorIndex > 256)
        return 0;
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
    return entity.openStatus() == Acad::eOk
            && entity->setColorIndex(static_cast<Adesk::UInt16>(colorIndex)) == Acad::eOk
        ? 1
        : 0;
}

int CreateLayer(const CString& name, int colorIndex, const CString& lineType)
{
    AcDbDatabase* db = workingDb();
    if (db == nullptr || name.IsEmpty())
        return 0;
    if (!GetLayer(name).isNull())
        return 1;
    AcDbObjectId lineTypeId = db->continuousLinetype();
    {
        AcDbLinetypeTable* lineTypes = nullptr;
        if (db->getLinetypeTable(lineTypes, AcDb::kForRead) == Acad::eOk) {
            AcDbObjectId found;
            if (lineTypes->getAt(lineType, found) == Acad::eOk)
                lineTypeId = found;
            lineTypes->close();
        }
    }
    AcDbLayerTable* table = nullptr;
    if (db->getLayerTable(table, AcDb::kForWrite) != Acad::eOk)
        return 0;
    auto record = std::make_unique<AcDbLayerTableRecord>();
    AcCmColor color;
    color.setColorIndex(static_cast<Adesk::UInt16>(colorIndex >= 1 && colorIndex <= 255 ? colorIndex : 7));
    record->setColor(color);
    record->setLinetypeObjectId(lineTypeId);
    int result = 0;
    if (record->setName(name) == Acad::eOk && table->add(record.get()) == Acad::eOk) {
        record.release()->close();
        result = 1;
    }
    table->close();
    return result;
}

AcDbObjectId GetLayer(const CString& name)
{
    AcDbDatabase* db = workingDb();
    AcDbObjectId id;
    if (db == nullptr || name.IsEmpty())
        return id;
    AcDbLayerTable* table = nullptr;
    if (db->getLayerTable(table, AcDb::kForRead) != Acad::eOk)
        return id;
    table->getAt(name, id);
    table->close();
    return id;
}

CString GetEntLayerName(AcDbObjectId id)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    if (entity.openStatus() != Acad::eOk)
        return CString();
    ACHAR* name = entity->layer();
    CString result(name);
    acutDelString(name);
    return result;
}

int GetAllLayerName(CStringArray& names)
{
    names.RemoveAll();
    AcDbDatabase* db = workingDb();
    AcDbLayerTable* table = nullptr;
    if (db == nullptr || db->getLayerTable(table, AcDb::kForRead) != Acad::eOk)
        return 0;
    AcDbLayerTableIterator* raw = nullptr;
    table->newIterator(raw);
    std::unique_ptr<AcDbLayerTableIterator> it(raw);
    for (; it != nullptr && !it->done(); it->step()) {
        AcDbLayerTableRecord* record = nullptr;
        if (it->getRecord(record, AcDb::kForRead) != Acad::eOk)
            continue;
        const ACHAR* name = nullptr;
        record->getName(name);
        names.Add(name);
        record->close();
    }
    table->close();
    return static_cast<int>(names.GetSize());
}

int DelAllEntInLayer(const CString& layer)
{
    if (layer.IsEmpty())
        return 0;
    const CString pattern = support::escapeWildcards(layer);
    support::ResbufPtr filter(acutBuildList(8, pattern.GetString(), RTNONE));
    ads_name ss;
    if (acedSSGet(L"X", nullptr, nullptr, filter.get(), ss) != RTNORM)
        return 1; // nothing on the layer
    AcDbObjectIdArray ids;
    SSToIds(ss, ids);
    acedSSFree(ss);
    Erase(ids);
    return 1;
}

bool FIsValidId(AcDbObjectId id)
{
    return !id.isNull() && id.isValid() && !id.isErased();
}

void FRemoveRepeatId(AcDbObjectIdArray& ids, const AcDbObjectIdArray& others)
{
    // Linear in both lists: a check removes thousands of corner cuts from tens of thousands of red lines.
    std::unordered_set<Adesk::IntPtr> remove;
    remove.reserve(static_cast<std::size_t>(others.length()));
    for (const AcDbObjectId id : others)
        remove.insert(id.asOldId());
    AcDbObjectIdArray kept;
    kept.setPhysicalLength(ids.length());
    for (const AcDbObjectId id : ids)
        if (remove.count(id.asOldId()) == 0)
            kept.append(id);
    ids = kept;
}

namespace {

void setHighlight(AcDbObjectId id, bool on)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    if (entity.openStatus() != Acad::eOk)
        return;
    if (on)
        entity->highlight();
    else
        entity->unhighlight();
}

} // namespace

void HighLight(AcDbObjectId id)
{
    setHighlight(id, true);
}

void HighLight(const AcDbObjectIdArray& ids)
{
    for (const AcDbObjectId& id : ids)
        setHighlight(id, true);
}

void UnHighLight(AcDbObjectId id)
{
    setHighlight(id, false);
}

void UnHighLight(const AcDbObjectIdArray& ids)
{
    for (const AcDbObjectId& id : ids)
        setHighlight(id, false);
}

void Flash(const AcDbObjectIdArray& ids)
{
    // Three blinks; the screen redraws between the steps.
    for (int blink = 0; blink < 3; ++blink) {
        HighLight(ids);
        UnHighLight(ids);
    }
}

int Move(AcDbObjectId id, const AcGeVector3d& offset)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
    return entity.openStatus() == Acad::eOk
            && entity->transformBy(AcGeMatrix3d::translation(offset)) == Acad::eOk
        ? 1
        : 0;
}

int Move(AcDbObjectId id, const AcGePoint3d& from, const AcGePoint3d& to)
{
    return Move(id, to - from);
}

int SSToIds(const ads_name ss, AcDbObjectIdArray& ids)
{
    Adesk::Int32 length = 0;
    if (acedSSLength(ss, &length) != RTNORM)
        return 0;
    for (Adesk::Int32 i = 0; i < length; ++i) {
        ads_name name;
        AcDbObjectId id;
        if (acedSSName(ss, i, name) == RTNORM && acdbGetObjectId(id, name) == Acad::eOk)
            ids.append(id);
    }
    return 1;
}

AcDbObjectId GetTextStyle(const CString& name)
{
    AcDbDatabase* db = workingDb();
    AcDbObjectId id;
    AcDbTextStyleTable* table = nullptr;
    if (db == nullptr || name.IsEmpty() || db->getTextStyleTable(table, AcDb::kForRead) != Acad::eOk)
        return id;
    table->getAt(name, id);
    table->close();
    return id;
}

} // namespace tarn::ent
