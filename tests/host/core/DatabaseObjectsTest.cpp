// Contracts of the drawing's objects: extended data, tables, anonymous blocks, groups, dictionaries.
#include "HostFixture.h"

namespace planroad::test {
namespace {

class DatabaseObjects : public HostFixture {
protected:
    resbuf* xdataOf(AcDbObjectId id, const wchar_t* app)
    {
        AcDbObject* object = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(object, id, AcDb::kForRead));
        resbuf* rb = object->xData(app);
        object->close();
        return rb;
    }
    Acad::ErrorStatus setXdata(AcDbObjectId id, resbuf* rb)
    {
        AcDbObject* object = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(object, id, AcDb::kForWrite));
        Acad::ErrorStatus es = object->setXData(rb);
        object->close();
        acutRelRb(rb);
        return es;
    }
};

TEST_F(DatabaseObjects, NewDrawingHasTheStandardContents)
{
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(Acad::eOk, db().getLayerTable(layers, AcDb::kForRead));
    EXPECT_TRUE(layers->has(L"0"));
    layers->close();
    EXPECT_EQ(db().layerZero(), db().clayer());

    AcDbDimStyleTableRecord* style = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(style, db().dimstyle(), AcDb::kForRead));
    const ACHAR* name = nullptr;
    style->getName(name);
    EXPECT_STREQ(L"ISO-25", name);
    style->close();
    EXPECT_DOUBLE_EQ(1.0, db().dimlfac());
    EXPECT_EQ(L',', db().dimdsep());
}

TEST_F(DatabaseObjects, ExtendedDataNeedsARegisteredApplication)
{
    AcDbObjectId id = addLine(0, 0, 1, 0);
    EXPECT_EQ(Acad::eRegappIdNotFound, setXdata(id, acutBuildList(1001, L"FAPP_DLZX", 1000, L"道路中线", 0)));
    ASSERT_EQ(RTNORM, acdbRegApp(L"FAPP_DLZX"));
    EXPECT_EQ(Acad::eOk, setXdata(id, acutBuildList(1001, L"FAPP_DLZX", 1000, L"道路中线", 0)));

    resbuf* rb = xdataOf(id, L"fapp_dlzx"); // application names ignore case
    ASSERT_NE(nullptr, rb);
    EXPECT_EQ(1001, rb->restype);
    EXPECT_STREQ(L"FAPP_DLZX", rb->resval.rstring);
    ASSERT_NE(nullptr, rb->rbnext);
    EXPECT_STREQ(L"道路中线", rb->rbnext->resval.rstring);
    acutRelRb(rb);
}

TEST_F(DatabaseObjects, SettingOneApplicationKeepsTheOthers)
{
    AcDbObjectId id = addLine(0, 0, 1, 0);
    acdbRegApp(L"FD_WIDTH");
    acdbRegApp(L"FS_DLMC");
    ASSERT_EQ(Acad::eOk, setXdata(id, acutBuildList(1001, L"FD_WIDTH", 1000, L"24", 1000, L"道路宽度", 0)));
    ASSERT_EQ(
        Acad::eOk, setXdata(id, acutBuildList(1001, L"FS_DLMC", 1000, L"人民路", 1000, L"道路名称", 0)));
    ASSERT_EQ(Acad::eOk, setXdata(id, acutBuildList(1001, L"FD_WIDTH", 1000, L"30", 1000, L"道路宽度", 0)));

    resbuf* width = xdataOf(id, L"FD_WIDTH");
    ASSERT_NE(nullptr, width);
    EXPECT_STREQ(L"30", width->rbnext->resval.rstring);
    acutRelRb(width);
    resbuf* name = xdataOf(id, L"FS_DLMC");
    ASSERT_NE(nullptr, name);
    EXPECT_STREQ(L"人民路", name->rbnext->resval.rstring);
    acutRelRb(name);

    // An application given without values loses its data.
    ASSERT_EQ(Acad::eOk, setXdata(id, acutBuildList(1001, L"FS_DLMC", 0)));
    EXPECT_EQ(nullptr, xdataOf(id, L"FS_DLMC"));
    resbuf* all = xdataOf(id, nullptr);
    ASSERT_NE(nullptr, all);
    EXPECT_STREQ(L"FD_WIDTH", all->resval.rstring);
    acutRelRb(all);
}

TEST_F(DatabaseObjects, ExtendedDataKeepsEveryValueKind)
{
    AcDbObjectId id = addLine(0, 0, 1, 0);
    acdbRegApp(L"DL_ZD_DIM");
    ads_point p = {1.5, 2.5, 3.5};
    ASSERT_EQ(Acad::eOk,
        setXdata(id,
            acutBuildList(1001, L"DL_ZD_DIM", 1040, 12.25, 1070, 2, 1071, 70000, 1010, p, 1005, L"1F", 0)));
    resbuf* rb = xdataOf(id, L"DL_ZD_DIM");
    ASSERT_NE(nullptr, rb);
    resbuf* v = rb->rbnext;
    EXPECT_DOUBLE_EQ(12.25, v->resval.rreal);
    v = v->rbnext;
    EXPECT_EQ(2, v->resval.rint);
    v = v->rbnext;
    EXPECT_EQ(70000, v->resval.rlong);
    v = v->rbnext;
    EXPECT_DOUBLE_EQ(2.5, v->resval.rpoint[1]);
    v = v->rbnext;
    EXPECT_STREQ(L"1F", v->resval.rstring);
    acutRelRb(rb);
}

TEST_F(DatabaseObjects, AnonymousBlocksGetTheNextFreeName)
{
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(Acad::eOk, db().getBlockTable(table, AcDb::kForWrite));
    std::vector<std::wstring> names;
    for (int i = 0; i < 2; ++i) {
        auto* block = new AcDbBlockTableRecord();
        block->setName(L"*U");
        AcDbObjectId id;
        ASSERT_EQ(Acad::eOk, table->add(id, block));
        EXPECT_TRUE(block->isAnonymous());
        const ACHAR* name = nullptr;
        block->getName(name);
        names.emplace_back(name);
        block->close();
    }
    auto* named = new AcDbBlockTableRecord();
    named->setName(L"PegDim");
    ASSERT_EQ(Acad::eOk, table->add(named));
    EXPECT_FALSE(named->isAnonymous());
    named->close();
    auto* duplicate = new AcDbBlockTableRecord();
    duplicate->setName(L"pegdim");
    EXPECT_EQ(Acad::eDuplicateRecordName, table->add(duplicate));
    delete duplicate;
    table->close();
    EXPECT_EQ((std::vector<std::wstring> {L"*U1", L"*U2"}), names);
}

TEST_F(DatabaseObjects, BlockReferenceExtentsFollowItsBlock)
{
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(Acad::eOk, db().getBlockTable(table, AcDb::kForWrite));
    auto* block = new AcDbBlockTableRecord();
    block->setName(L"*U");
    AcDbObjectId blockId;
    ASSERT_EQ(Acad::eOk, table->add(blockId, block));
    table->close();
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
    ASSERT_EQ(Acad::eOk, block->appendAcDbEntity(line));
    line->close();
    block->close();

    auto* ref = new AcDbBlockReference(AcGePoint3d(100, 50, 0), blockId);
    ref->setRotation(3.14159265358979323846 / 2);
    AcDbObjectId refId = add(ref);
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(entity, refId, AcDb::kForRead));
    AcDbExtents ext;
    entity->getGeomExtents(ext);
    entity->close();
    // The block's 10 units along X, turned by 90 degrees, run up from the insertion point.
    EXPECT_NEAR(100.0, ext.minPoint().x, 1e-9);
    EXPECT_NEAR(50.0, ext.minPoint().y, 1e-9);
    EXPECT_NEAR(60.0, ext.maxPoint().y, 1e-9);
}

TEST_F(DatabaseObjects, GroupsKeepTheirMembersInOrder)
{
    AcDbObjectId a = addLine(0, 0, 1, 0);
    AcDbObjectId b = addLine(0, 0, 2, 0);
    AcDbDictionary* groups = nullptr;
    ASSERT_EQ(Acad::eOk, db().getGroupDictionary(groups, AcDb::kForWrite));
    auto* group = new AcDbGroup(L"PegDim");
    group->setAnonymous();
    AcDbObjectId groupId;
    ASSERT_EQ(Acad::eOk, groups->setAt(L"*", group, groupId));
    groups->close();
    EXPECT_EQ(Acad::eOk, group->append(b));
    EXPECT_EQ(Acad::eOk, group->append(a));
    EXPECT_EQ(Acad::eDuplicateKey, group->append(a));
    EXPECT_STREQ(L"*A1", group->name());
    AcDbObjectIdArray members;
    EXPECT_EQ(2u, group->allEntityIds(members));
    EXPECT_EQ(b, members[0]);
    EXPECT_EQ(a, members[1]);
    group->close();
}

TEST_F(DatabaseObjects, DictionariesAndXrecordsRoundTripTheirData)
{
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(Acad::eOk, db().getNamedObjectsDictionary(nod, AcDb::kForWrite));
    auto* store = new AcDbDictionary();
    AcDbObjectId storeId;
    ASSERT_EQ(Acad::eOk, nod->setAt(L"QV_CUSTOM_PARAMS", store, storeId));
    nod->close();
    auto* record = new AcDbXrecord();
    AcDbObjectId recordId;
    ASSERT_EQ(Acad::eOk, store->setAt(L"道路中线层", record, recordId));
    store->close();
    resbuf* data = acutBuildList(8, L"DL-道路中线", 62, 1, 6, L"CONTINUOUS", 0);
    ASSERT_EQ(Acad::eOk, record->setFromRbChain(*data));
    acutRelRb(data);
    record->close();

    AcDbDictionary* found = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(found, storeId, AcDb::kForRead));
    AcDbObjectId again;
    EXPECT_EQ(Acad::eOk, found->getAt(L"道路中线层", again));
    EXPECT_EQ(recordId, again);
    EXPECT_EQ(Acad::eKeyNotFound, found->getAt(L"行车道线层", again));
    found->close();

    AcDbXrecord* read = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(read, recordId, AcDb::kForRead));
    resbuf* chain = nullptr;
    read->rbChain(&chain);
    read->close();
    ASSERT_NE(nullptr, chain);
    EXPECT_STREQ(L"DL-道路中线", chain->resval.rstring);
    EXPECT_EQ(1, chain->rbnext->resval.rint);
    acutRelRb(chain);
}

TEST_F(DatabaseObjects, DimensionStyleDataBecomesTheDrawingsCurrentValues)
{
    AcDbDimStyleTable* table = nullptr;
    ASSERT_EQ(Acad::eOk, db().getDimStyleTable(table, AcDb::kForRead));
    AcDbObjectId standard;
    ASSERT_EQ(Acad::eOk, table->getAt(L"standard", standard));
    table->close();
    ASSERT_EQ(Acad::eOk, db().setDimstyle(standard));
    ASSERT_EQ(Acad::eOk, db().setDimstyleData(standard));
    EXPECT_EQ(L'.', db().dimdsep());
    EXPECT_EQ(4, db().dimdec());
    EXPECT_EQ(Acad::eInvalidInput, db().setDimdec(9));
}

TEST_F(DatabaseObjects, RadialDimensionOverridesWinOverItsStyle)
{
    auto* dim = new AcDbRadialDimension(AcGePoint3d(0, 0, 0), AcGePoint3d(12.346, 0, 0), -1.2346);
    dim->setDimpost(L"R-<>");
    dim->setDimblk(L"实心闭合");
    dim->setDimdec(2);
    dim->setDimdsep(L'.');
    AcDbObjectId id = add(dim);
    AcDbRadialDimension* read = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(read, id, AcDb::kForRead));
    EXPECT_EQ(std::wstring(L"R-12.35"), std::wstring(read->hostFormattedText().kwszPtr()));
    // DIMTXT was not overridden: the current style's 2.5 shows through.
    EXPECT_DOUBLE_EQ(2.5, read->dimtxt());
    read->close();
}

TEST_F(DatabaseObjects, LayersOfEntitiesAreLookedUpByName)
{
    addLayer(L"DL-道路红线");
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
    EXPECT_EQ(Acad::eKeyNotFound, line->setLayer(L"no such layer"));
    EXPECT_EQ(Acad::eOk, line->setLayer(L"dl-道路红线"));
    AcDbObjectId id = add(line);
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(entity, id, AcDb::kForRead));
    ACHAR* layer = entity->layer();
    EXPECT_STREQ(L"DL-道路红线", layer);
    acutDelString(layer);
    entity->close();
}

} // namespace
} // namespace planroad::test
