// A road drawing built through the host's interface: Chinese layers and applications, every kind of
// entity the host models, extended data, groups, dictionaries, XRECORDs and a radial dimension.
#pragma once

#include "DrawingTestSupport.h"

namespace planroad::test {

// The handles of the drawing's objects that the tests look at again after a save.
struct RoadDrawing {
    AcDbHandle centreLine;
    AcDbHandle circle;
    AcDbHandle arc;
    AcDbHandle label;
    AcDbHandle outline;
    AcDbHandle lamp;
    AcDbHandle dimension;
    AcDbHandle xrecord;
};

inline constexpr const wchar_t* kCentreLayer = L"DL-道路中线";
inline constexpr const wchar_t* kRoadApp = L"道路数据";

inline AcDbObjectId addEntity(AcDbObjectId blockId, AcDbEntity* entity, const wchar_t* layer = nullptr)
{
    AcDbObjectPointer<AcDbBlockTableRecord> block(blockId, AcDb::kForWrite);
    AcDbObjectId id;
    EXPECT_EQ(Acad::eOk, block->appendAcDbEntity(id, entity));
    if (layer != nullptr) {
        EXPECT_EQ(Acad::eOk, entity->setLayer(layer));
    }
    entity->close();
    return id;
}

inline void setXData(AcDbObjectId id, resbuf* chain)
{
    AcDbObjectPointer<AcDbObject> object(id, AcDb::kForWrite);
    EXPECT_EQ(Acad::eOk, object->setXData(chain));
    acutRelRb(chain);
}

inline AcDbObjectId addXrecord(AcDbDictionary& dictionary, const wchar_t* key, resbuf* chain)
{
    auto* xrecord = new AcDbXrecord();
    AcDbObjectId id;
    EXPECT_EQ(Acad::eOk, dictionary.setAt(key, xrecord, id));
    EXPECT_EQ(Acad::eOk, xrecord->setFromRbChain(*chain));
    acutRelRb(chain);
    xrecord->close();
    return id;
}

// Builds the drawing into `db`, which becomes the working database (applications are registered there).
inline RoadDrawing buildRoadDrawing(AcDbDatabase& db)
{
    acdbHostApplicationServices()->setWorkingDatabase(&db);
    RoadDrawing road;
    {
        AcDbLayerTable* layers = nullptr;
        db.getLayerTable(layers, AcDb::kForWrite);
        struct Layer {
            const wchar_t* name;
            Adesk::UInt16 color;
            bool off;
            bool locked;
        };
        for (const Layer& wanted : {Layer {kCentreLayer, 1, false, false},
                 Layer {L"DL-道路红线", 3, false, true}, Layer {L"标注", 7, true, false}}) {
            auto* layer = new AcDbLayerTableRecord();
            layer->setName(wanted.name);
            AcCmColor color;
            color.setColorIndex(wanted.color);
            layer->setColor(color);
            layer->setIsOff(wanted.off);
            layer->setIsLocked(wanted.locked);
            layer->setLinetypeObjectId(db.continuousLinetype());
            EXPECT_EQ(Acad::eOk, layers->add(layer));
            layer->close();
        }
        layers->close();
    }
    EXPECT_EQ(RTNORM, acdbRegApp(L"FAPP_DLZX"));
    EXPECT_EQ(RTNORM, acdbRegApp(kRoadApp));

    // A named block: a lamp post, a circle and its arm.
    AcDbObjectId lampBlock;
    {
        AcDbBlockTable* blocks = nullptr;
        db.getBlockTable(blocks, AcDb::kForWrite);
        auto* block = new AcDbBlockTableRecord();
        block->setName(L"路灯");
        block->setOrigin(AcGePoint3d(1, 1, 0));
        EXPECT_EQ(Acad::eOk, blocks->add(lampBlock, block));
        block->close();
        blocks->close();
        addEntity(lampBlock, new AcDbCircle(AcGePoint3d(1, 1, 0), AcGeVector3d::kZAxis, 0.5));
        addEntity(lampBlock, new AcDbLine(AcGePoint3d(1, 1, 0), AcGePoint3d(3, 1, 0)));
    }

    const AcDbObjectId model = db.modelSpaceId();
    const AcDbObjectId line
        = addEntity(model, new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(100, 0, 0)), kCentreLayer);
    auto* circle = new AcDbCircle(AcGePoint3d(50, 20, 0), AcGeVector3d::kZAxis, 7.5);
    circle->setColorIndex(5);
    const AcDbObjectId circleId = addEntity(model, circle, L"DL-道路红线");
    const AcDbObjectId arc = addEntity(model, new AcDbArc(AcGePoint3d(10, 10, 0), 5, 0.25, 1.75));
    const AcDbObjectId label = addEntity(
        model, new AcDbText(AcGePoint3d(20, -5, 0), L"人民路 K0+100", db.textstyle(), 3.5, 0.3), L"标注");
    auto* outline = new AcDbPolyline();
    outline->addVertexAt(0, AcGePoint2d(0, 30));
    outline->addVertexAt(1, AcGePoint2d(40, 30), 0.4142, 0.5, 1.0);
    outline->addVertexAt(2, AcGePoint2d(40, 60));
    outline->setClosed(true);
    const AcDbObjectId outlineId = addEntity(model, outline, L"DL-道路红线");
    auto* lamp = new AcDbBlockReference(AcGePoint3d(30, 5, 0), lampBlock);
    lamp->setScaleFactors(AcGeScale3d(2, 2, 1));
    lamp->setRotation(0.5);
    const AcDbObjectId lampId = addEntity(model, lamp);
    const AcDbObjectId dimension = addEntity(
        model, new AcDbRadialDimension(AcGePoint3d(50, 20, 0), AcGePoint3d(57.5, 20, 0), 5.0), L"标注");

    // Extended data of every kind, under an ASCII and a Chinese application name.
    const AcDbHandle circleHandle = circleId.handle();
    ACHAR circleText[17];
    circleHandle.getIntoAsciiBuffer(circleText);
    ads_point where = {12.5, -3.25, 0.75};
    setXData(line,
        acutBuildList(1001, L"FAPP_DLZX", 1000, L"道路中线", 1040, 12.25, 1070, 2, 1071, 70000, 1010, where,
            1005, circleText, 0));
    setXData(line,
        acutBuildList(1001, kRoadApp, 1000, L"人民路", 1002, L"{", 1000, L"宽度", 1040, 24.0, 1002, L"}", 0));
    setXData(label, acutBuildList(1001, kRoadApp, 1000, L"桩号", 0));

    // Groups: one named, one anonymous.
    {
        AcDbDictionary* groups = nullptr;
        db.getGroupDictionary(groups, AcDb::kForWrite);
        auto* trees = new AcDbGroup(L"道路两侧");
        AcDbObjectId treesId;
        EXPECT_EQ(Acad::eOk, groups->setAt(L"行道树", trees, treesId));
        trees->append(line);
        trees->append(circleId);
        trees->close();
        auto* anonymous = new AcDbGroup(L"", false);
        anonymous->setAnonymous();
        AcDbObjectId anonymousId;
        EXPECT_EQ(Acad::eOk, groups->setAt(L"*", anonymous, anonymousId));
        anonymous->append(arc);
        anonymous->close();
        groups->close();
    }

    // A dictionary of the named object dictionary with XRECORDs, one pointing at the centre line.
    {
        AcDbDictionary* named = nullptr;
        db.getNamedObjectsDictionary(named, AcDb::kForWrite);
        auto* store = new AcDbDictionary();
        AcDbObjectId storeId;
        EXPECT_EQ(Acad::eOk, named->setAt(L"PLANROAD_道路", store, storeId));
        named->close();
        ads_name lineName;
        acdbGetAdsName(lineName, line);
        ads_point origin = {100, 200, 0};
        road.xrecord = addXrecord(
            *store, L"参数", acutBuildList(1, L"城市主干道", 40, 40.0, 70, 4, 10, origin, 340, lineName, 0))
                           .handle();
        addXrecord(*store, L"空", acutBuildList(300, L"", 0));
        store->close();
    }
    // The centre line's extension dictionary, holding its chainage.
    {
        AcDbObjectPointer<AcDbLine> centre(line, AcDb::kForWrite);
        EXPECT_EQ(Acad::eOk, centre->createExtensionDictionary());
        const AcDbObjectId xdict = centre->extensionDictionary();
        centre.close();
        AcDbObjectPointer<AcDbDictionary> dictionary(xdict, AcDb::kForWrite);
        addXrecord(*dictionary.object(), L"桩号", acutBuildList(1, L"K0+000", 40, 0.0, 0));
    }

    road.centreLine = line.handle();
    road.circle = circleHandle;
    road.arc = arc.handle();
    road.label = label.handle();
    road.outline = outlineId.handle();
    road.lamp = lampId.handle();
    road.dimension = dimension.handle();
    return road;
}

// The id of the object with that handle in `db`; null when there is none.
inline AcDbObjectId idOf(AcDbDatabase& db, AcDbHandle handle)
{
    AcDbObjectId id;
    db.getAcDbObjectId(id, false, handle);
    return id;
}

} // namespace planroad::test
