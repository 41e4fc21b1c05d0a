// Planning settings library: library drawings inserted as blocks at a point the user picks.
#include "PlanningSettings.h"

#include <filesystem>
#include <memory>
#include <string>

#include "DrawingSettings.h"
#include "DrawingToolkit.h"
#include "acedads.h"
#include "acutads.h"
#include "adscodes.h"
#include "dbapserv.h"
#include "dbents.h"
#include "dbobjptr.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "dxf/ReadError.h"
#include "dxf/drawing/DrawingReader.h"
#include "fileutility/PathText.h"
#include "text/Utf8.h"
#include "toolkit/ToolkitSupport.h"

namespace {

namespace fs = std::filesystem;

// "道路图库/道路方向符" (either separator) is the file library/道路图库/道路方向符.dxf under the
// configuration root; its block takes the last part of the name.
fs::path entryFile(const CString& entry)
{
    const fs::path root = planroad::standins::configurationRoot();
    if (root.empty())
        return {};
    CString relative = entry;
    relative.Replace(L'\\', L'/');
    return root / "library" / (arxhost::toUtf8(relative.GetString()) + ".dxf");
}

CString blockNameOf(const CString& entry)
{
    CString name = entry;
    name.Replace(L'\\', L'/');
    const int slash = name.ReverseFind(L'/');
    return slash < 0 ? name : name.Mid(slash + 1);
}

// The record of the same name in the target's table, made like the source's when missing.
AcDbObjectId layerIn(AcDbDatabase& target, const AcDbLayerTableRecord& source)
{
    AcDbLayerTable* table = nullptr;
    if (target.getLayerTable(table, AcDb::kForWrite) != Acad::eOk)
        return AcDbObjectId::kNull;
    AcDbObjectId id;
    const ACHAR* name = nullptr;
    source.getName(name);
    if (table->getAt(name, id) != Acad::eOk) {
        auto* layer = new AcDbLayerTableRecord();
        layer->setName(name);
        layer->setColor(source.color());
        if (table->add(id, layer) == Acad::eOk)
            layer->close();
        else
            delete layer;
    }
    table->close();
    return id;
}

// The text style of the same name in the target, made with the source's fonts when missing.
AcDbObjectId textStyleIn(AcDbDatabase& target, AcDbObjectId sourceStyle)
{
    AcDbObjectPointer<AcDbTextStyleTableRecord> source(sourceStyle, AcDb::kForRead);
    if (source.openStatus() != Acad::eOk)
        return target.textstyle();
    const ACHAR* name = nullptr;
    source->getName(name);
    AcDbTextStyleTable* table = nullptr;
    if (name == nullptr || target.getTextStyleTable(table, AcDb::kForWrite) != Acad::eOk)
        return target.textstyle();
    AcDbObjectId id;
    if (table->getAt(name, id) != Acad::eOk) {
        auto* style = new AcDbTextStyleTableRecord();
        style->setName(name);
        const ACHAR* font = nullptr;
        if (source->fileName(font) == Acad::eOk && font != nullptr)
            style->setFileName(font);
        if (source->bigFontFileName(font) == Acad::eOk && font != nullptr)
            style->setBigFontFileName(font);
        style->setTextSize(source->textSize());
        style->setXScale(source->xScale());
        if (table->add(id, style) == Acad::eOk)
            style->close();
        else
            delete style;
    }
    table->close();
    return id.isNull() ? target.textstyle() : id;
}

template <typename Table> AcDbObjectId recordNamed(AcDbDatabase& db, const ACHAR* name)
{
    Table* table = nullptr;
    AcDbObjectId id;
    if (db.getSymbolTable(table, AcDb::kForRead) == Acad::eOk) {
        table->getAt(name, id);
        table->close();
    }
    return id;
}

template <typename Record> CString recordName(AcDbObjectId id)
{
    AcDbObjectPointer<Record> record(id, AcDb::kForRead);
    const ACHAR* name = nullptr;
    if (record.openStatus() != Acad::eOk || record->getName(name) != Acad::eOk || name == nullptr)
        return CString();
    return CString(name);
}

// A copy of a library entity for the target drawing: its layer, linetype and text style become the
// target's records of the same names. Null for entities the library cannot carry over.
std::unique_ptr<AcDbEntity> carryOver(const AcDbEntity& source, AcDbDatabase& target)
{
    const bool supported = AcDbLine::cast(&source) || AcDbArc::cast(&source) || AcDbCircle::cast(&source)
        || AcDbPolyline::cast(&source) || AcDb2dPolyline::cast(&source) || AcDbText::cast(&source)
        || AcDbPoint::cast(&source);
    if (!supported)
        return nullptr;
    std::unique_ptr<AcDbEntity> copy = tarn::support::copyEntity(source);
    if (copy == nullptr)
        return nullptr;
    AcDbObjectPointer<AcDbLayerTableRecord> layer(source.layerId(), AcDb::kForRead);
    if (layer.openStatus() != Acad::eOk)
        return nullptr;
    copy->setLayer(layerIn(target, *layer));
    const CString linetype = recordName<AcDbLinetypeTableRecord>(source.linetypeId());
    const AcDbObjectId linetypeId
        = recordNamed<AcDbLinetypeTable>(target, linetype.IsEmpty() ? L"ByLayer" : linetype.GetString());
    copy->setLinetype(linetypeId.isNull() ? target.byLayerLinetype() : linetypeId);
    if (auto* text = AcDbText::cast(copy.get()))
        text->setTextStyle(textStyleIn(target, AcDbText::cast(&source)->textStyle()));
    return copy;
}

// The block of the entry in the current drawing, defined from the library drawing on first use.
// `skipped` counts the library's entities that could not be carried over.
AcDbObjectId defineBlock(AcDbDatabase& target, const CString& name, AcDbDatabase& library, int& skipped)
{
    AcDbObjectId blockId = recordNamed<AcDbBlockTable>(target, name.GetString());
    if (!blockId.isNull())
        return blockId;
    AcDbBlockTable* blocks = nullptr;
    if (target.getBlockTable(blocks, AcDb::kForWrite) != Acad::eOk)
        return AcDbObjectId::kNull;
    auto* block = new AcDbBlockTableRecord();
    block->setName(name.GetString());
    if (blocks->add(blockId, block) != Acad::eOk) {
        delete block;
        blocks->close();
        return AcDbObjectId::kNull;
    }
    block->close();
    blocks->close();

    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, library.modelSpaceId(), AcDb::kForRead) != Acad::eOk)
        return blockId;
    AcDbBlockTableRecordIterator* it = nullptr;
    space->newIterator(it);
    std::unique_ptr<AcDbBlockTableRecordIterator> entities(it);
    space->close();
    for (; entities != nullptr && !entities->done(); entities->step()) {
        AcDbEntity* entity = nullptr;
        if (entities->getEntity(entity, AcDb::kForRead) != Acad::eOk)
            continue;
        std::unique_ptr<AcDbEntity> copy = carryOver(*entity, target);
        entity->close();
        if (copy == nullptr || tarn::support::appendClosed(blockId, std::move(copy)).isNull())
            ++skipped;
    }
    return blockId;
}

int insertEntry(const CString& entry)
{
    AcDbDatabase* target = acdbHostApplicationServices()->workingDatabase();
    if (target == nullptr)
        return 0;
    const fs::path file = entryFile(entry);
    std::error_code ec;
    if (file.empty() || !fs::is_regular_file(file, ec)) {
        acutPrintf(L"\n图库中没有“%s”：找不到图库文件 %s。", entry.GetString(),
            file.empty() ? L"（未设置配置目录）" : arxhost::fromUtf8(file.string()).c_str());
        return 0;
    }
    std::unique_ptr<AcDbDatabase> library;
    try {
        library = dxf::readDrawingFile(file);
    } catch (const dxf::ReadError& e) {
        acutPrintf(L"\n图库条目“%s”无法读取：%s", entry.GetString(), arxhost::fromUtf8(e.what()).c_str());
        return 0;
    }
    // Reading made the library the working drawing; the block goes into the user's.
    acdbHostApplicationServices()->setWorkingDatabase(target);

    int skipped = 0;
    const AcDbObjectId blockId = defineBlock(*target, blockNameOf(entry), *library, skipped);
    library.reset();
    acdbHostApplicationServices()->setWorkingDatabase(target);
    if (blockId.isNull()) {
        acutPrintf(L"\n图库条目“%s”无法定义为图块。", entry.GetString());
        return 0;
    }
    if (skipped > 0)
        acutPrintf(L"\n图库条目“%s”中有 %d 个对象无法插入。", entry.GetString(), skipped);

    ads_point picked;
    if (acedGetPoint(nullptr, L"\n指定插入点:", picked) != RTNORM)
        return 0;
    const AcGePoint3d at = tarn::geo::Ucs2wcs(AcGePoint3d(picked[X], picked[Y], picked[Z]));
    auto reference = std::make_unique<AcDbBlockReference>(at, blockId);
    const double scale = CDrawingSetting::GetSysScale();
    reference->setScaleFactors(AcGeScale3d(scale, scale, scale));
    reference->setRotation(tarn::cad::GetUcsAngle());
    reference->setDatabaseDefaults(target);
    return tarn::support::appendClosed(target->currentSpaceId(), std::move(reference)).isNull() ? 0 : 1;
}

} // namespace

int CQvSetting::QV_Call_TK(CString entry)
{
    return insertEntry(entry);
}

int CQvSetting::QV_Call_TK_DLHDM(CString entry)
{
    return insertEntry(entry);
}
