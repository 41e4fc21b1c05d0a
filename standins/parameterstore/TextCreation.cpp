// Custom parameter store: text styles and texts drawn from a text parameter.
#include "CustomParameterStore.h"

#include "dbapserv.h"
#include "dbents.h"
#include "dbobjptr.h"
#include "dbsymtb.h"

namespace {

AcDbDatabase* currentDrawing()
{
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    return services == nullptr ? nullptr : services->workingDatabase();
}

template <class Table> AcDbObjectId recordNamed(AcDbObjectId tableId, const CString& name)
{
    if (name.IsEmpty())
        return AcDbObjectId::kNull;
    AcDbObjectPointer<Table> table(tableId, AcDb::kForRead);
    AcDbObjectId id;
    if (table.openStatus() != Acad::eOk || table->getAt(name.GetString(), id) != Acad::eOk)
        return AcDbObjectId::kNull;
    return id;
}

// The layer of that name, created (colour 7, continuous) when the drawing lacks it.
AcDbObjectId layerNamed(AcDbDatabase* db, const CString& name)
{
    AcDbObjectId id = recordNamed<AcDbLayerTable>(db->layerTableId(), name);
    if (!id.isNull() || name.IsEmpty())
        return id;
    AcDbObjectPointer<AcDbLayerTable> table(db->layerTableId(), AcDb::kForWrite);
    if (table.openStatus() != Acad::eOk)
        return AcDbObjectId::kNull;
    AcDbObjectPointer<AcDbLayerTableRecord> layer;
    layer.create();
    if (layer->setName(name.GetString()) != Acad::eOk)
        return AcDbObjectId::kNull;
    AcCmColor color;
    color.setColorIndex(7);
    layer->setColor(color);
    layer->setLinetypeObjectId(db->continuousLinetype());
    if (table->add(id, layer.object()) != Acad::eOk)
        return AcDbObjectId::kNull;
    return id;
}

AcDbObjectId linetypeNamed(AcDbDatabase* db, const CString& name)
{
    if (name.CompareNoCase(L"ByLayer") == 0 || name.IsEmpty())
        return db->byLayerLinetype();
    if (name.CompareNoCase(L"ByBlock") == 0)
        return db->byBlockLinetype();
    const AcDbObjectId id = recordNamed<AcDbLinetypeTable>(db->linetypeTableId(), name);
    return id.isNull() ? db->byLayerLinetype() : id;
}

} // namespace

namespace TarnDB {

AcDbObjectId qvGetTextStyle(const CString& name)
{
    AcDbDatabase* db = currentDrawing();
    return db == nullptr ? AcDbObjectId::kNull
                         : recordNamed<AcDbTextStyleTable>(db->textStyleTableId(), name);
}

AcDbObjectId qvCreateTextStyle(const CString& name)
{
    AcDbDatabase* db = currentDrawing();
    if (db == nullptr || name.IsEmpty())
        return AcDbObjectId::kNull;
    AcDbObjectId id = recordNamed<AcDbTextStyleTable>(db->textStyleTableId(), name);
    if (!id.isNull())
        return id;
    AcDbObjectPointer<AcDbTextStyleTable> table(db->textStyleTableId(), AcDb::kForWrite);
    if (table.openStatus() != Acad::eOk)
        return AcDbObjectId::kNull;
    AcDbObjectPointer<AcDbTextStyleTableRecord> style;
    style.create();
    if (style->setName(name.GetString()) != Acad::eOk)
        return AcDbObjectId::kNull;
    // Chinese annotation needs a big font beside the shape font.
    style->setFileName(L"txt.shx");
    style->setBigFontFileName(L"gbcbig.shx");
    if (table->add(id, style.object()) != Acad::eOk)
        return AcDbObjectId::kNull;
    return id;
}

int qvCreateTextEx(const AcGePoint3d& point, const CString& text, double rotation, int horzMode, int vertMode,
    const TEXTPARAM& param, AcDbObjectId& id)
{
    AcDbDatabase* db = currentDrawing();
    if (db == nullptr || horzMode < AcDb::kTextLeft || horzMode > AcDb::kTextFit || vertMode < AcDb::kTextBase
        || vertMode > AcDb::kTextTop)
        return 0;
    AcDbObjectId style = recordNamed<AcDbTextStyleTable>(db->textStyleTableId(), param.strTextStyle);
    if (style.isNull())
        style = db->textstyle();
    const AcDbObjectId layer = layerNamed(db, param.strLayer);

    AcDbObjectPointer<AcDbText> entity;
    entity.create();
    entity->setDatabaseDefaults(db);
    entity->setTextString(text.GetString());
    entity->setTextStyle(style);
    entity->setHeight(param.dHeight > 0.0 ? param.dHeight : 3.0);
    entity->setRotation(rotation);
    entity->setPosition(point);
    entity->setHorizontalMode(static_cast<AcDb::TextHorzMode>(horzMode));
    entity->setVerticalMode(static_cast<AcDb::TextVertMode>(vertMode));
    if (horzMode != AcDb::kTextLeft || vertMode != AcDb::kTextBase) {
        // An aligned text hangs on its alignment point; the host places the start point from it.
        entity->setAlignmentPoint(point);
        entity->adjustAlignment(db);
    }
    if (!layer.isNull())
        entity->setLayer(layer);
    if (param.nColor >= 0 && param.nColor <= 256)
        entity->setColorIndex(static_cast<Adesk::UInt16>(param.nColor));
    entity->setLinetype(linetypeNamed(db, param.strLineType));

    AcDbObjectPointer<AcDbBlockTableRecord> space(db->currentSpaceId(), AcDb::kForWrite);
    if (space.openStatus() != Acad::eOk)
        return 0;
    AcDbObjectId newId;
    if (space->appendAcDbEntity(newId, entity.object()) != Acad::eOk)
        return 0;
    id = newId;
    return 1;
}

} // namespace TarnDB
