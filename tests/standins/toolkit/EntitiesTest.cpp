// The toolkit's entity operations: copies, erasing, layers and colours, highlighting, moving, styles.
#include "ToolkitFixture.h"

namespace planroad::test {
namespace {

class Entities : public ToolkitFixture {
protected:
    CString layerOf(AcDbObjectId id) { return tarn::ent::GetEntLayerName(id); }
    int colorOf(AcDbObjectId id)
    {
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        return entity->colorIndex();
    }
    std::wstring xdataText(AcDbObjectId id, const wchar_t* app)
    {
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        resbuf* data = entity->xData(app);
        std::wstring text = data != nullptr && data->rbnext != nullptr ? data->rbnext->resval.rstring : L"";
        acutRelRb(data);
        return text;
    }
};

TEST_F(Entities, CopiesKeepLayerColourAndExtendedDataButNotTheGroup)
{
    addLayer(L"DL-道路红线");
    AcDbObjectId red = addLine(0, 0, 10, 0);
    ASSERT_EQ(1, tarn::ent::ChangeLayer(red, L"DL-道路红线"));
    ASSERT_EQ(1, tarn::ent::ChangeColor(red, 3));
    resbuf* data = acutBuildList(1000, L"道路红线", RTNONE);
    ASSERT_EQ(1, tarn::dat::AddObjXdata(red, L"FAPP_DLBX", data));
    acutRelRb(data);
    AcDbObjectId group;
    ASSERT_EQ(1, tarn::ent::CreateGrp(L"红线组", group));
    ASSERT_EQ(1, tarn::ent::AddToGroup(group, red));

    AcDbObjectId copy = tarn::ent::Copy(red);
    ASSERT_TRUE(tarn::ent::FIsValidId(copy));
    EXPECT_NE(red, copy);
    EXPECT_EQ(CString(L"DL-道路红线"), layerOf(copy));
    EXPECT_EQ(3, colorOf(copy));
    EXPECT_EQ(L"道路红线", xdataText(copy, L"FAPP_DLBX"));
    AcGePoint3d s;
    AcGePoint3d e;
    ASSERT_EQ(1, tarn::ent::GetStartEndPt(copy, s, e));
    expectNear(AcGePoint3d(10, 0, 0), e);
    AcDbObjectPointer<AcDbGroup> members(group, AcDb::kForRead);
    EXPECT_TRUE(members->has(red));
    EXPECT_FALSE(members->has(copy));
}

TEST_F(Entities, ACopiedOldStylePolylineOwnsItsVertices)
{
    AcDbObjectId original = add2dPolyline({{0, 0}, {10, 0}, {10, 10}});
    AcDbObjectId copy = tarn::ent::Copy(original);
    ASSERT_EQ(1, tarn::ent::Erase(original));
    AcGePoint3dArray points;
    ASSERT_EQ(1, tarn::ent::GetCurveParam(copy, &points, nullptr));
    EXPECT_EQ(3, points.length());
    EXPECT_DOUBLE_EQ(20.0, tarn::ent::GetCurLen(copy));
}

TEST_F(Entities, ArraysAreCopiedAndErasedInOrder)
{
    AcDbObjectIdArray ids;
    ids.append(addLine(0, 0, 1, 0));
    ids.append(addArc(5, 5, 2, 0, kPi));
    AcDbObjectIdArray copies;
    ASSERT_EQ(1, tarn::ent::Copy(ids, copies));
    ASSERT_EQ(2, copies.length());
    EXPECT_NEAR(1.0, tarn::ent::GetCurLen(copies[0]), 1e-12);
    EXPECT_NEAR(2 * kPi, tarn::ent::GetCurLen(copies[1]), 1e-12);

    EXPECT_EQ(1, tarn::ent::Erase(copies));
    EXPECT_FALSE(tarn::ent::FIsValidId(copies[0]));
    EXPECT_FALSE(tarn::ent::FIsValidId(copies[1]));
    EXPECT_TRUE(tarn::ent::FIsValidId(ids[0]));
    // Erasing what is gone already fails, and so does copying it.
    EXPECT_EQ(0, tarn::ent::Erase(copies));
    EXPECT_TRUE(tarn::ent::Copy(copies[0]).isNull());
}

TEST_F(Entities, LayersAreCreatedOnceFoundWithoutRegardToCaseAndListed)
{
    EXPECT_TRUE(tarn::ent::GetLayer(L"FL_ERROR_切角标注检测").isNull());
    ASSERT_EQ(1, tarn::ent::CreateLayer(L"FL_ERROR_切角标注检测", 1));
    AcDbObjectId layer = tarn::ent::GetLayer(L"fl_error_切角标注检测");
    ASSERT_FALSE(layer.isNull());
    // A second creation leaves the first layer alone.
    EXPECT_EQ(1, tarn::ent::CreateLayer(L"FL_ERROR_切角标注检测", 5));
    AcDbObjectPointer<AcDbLayerTableRecord> record(layer, AcDb::kForRead);
    EXPECT_EQ(1, record->color().colorIndex());
    record.close();

    CStringArray names;
    EXPECT_EQ(2, tarn::ent::GetAllLayerName(names));
    EXPECT_EQ(CString(L"0"), names[0]);
    EXPECT_EQ(CString(L"FL_ERROR_切角标注检测"), names[1]);
}

TEST_F(Entities, ChangeLayerCreatesAMissingLayerAndRefusesAnEmptyName)
{
    AcDbObjectId label = addText(0, 0, L"Q 5.00");
    EXPECT_EQ(1, tarn::ent::ChangeLayer(label, L"DL-圆角标注"));
    EXPECT_EQ(CString(L"DL-圆角标注"), layerOf(label));
    EXPECT_FALSE(tarn::ent::GetLayer(L"DL-圆角标注").isNull());
    EXPECT_EQ(0, tarn::ent::ChangeLayer(label, L""));
    EXPECT_EQ(CString(L"DL-圆角标注"), layerOf(label));
}

TEST_F(Entities, DeletingALayersEntitiesTakesTheNameLiterally)
{
    addLayer(L"DL#1");
    addLayer(L"DL11");
    AcDbObjectId marked = addLine(0, 0, 1, 0);
    AcDbObjectId other = addLine(0, 1, 1, 1);
    AcDbObjectId onZero = addLine(0, 2, 1, 2);
    tarn::ent::ChangeLayer(marked, L"DL#1");
    tarn::ent::ChangeLayer(other, L"DL11");
    // "#" would match any digit as a wildcard: only the layer of that exact name loses its entities.
    EXPECT_EQ(1, tarn::ent::DelAllEntInLayer(L"DL#1"));
    EXPECT_FALSE(tarn::ent::FIsValidId(marked));
    EXPECT_TRUE(tarn::ent::FIsValidId(other));
    EXPECT_TRUE(tarn::ent::FIsValidId(onZero));
    // An empty layer is no error.
    EXPECT_EQ(1, tarn::ent::DelAllEntInLayer(L"DL#1"));
}

TEST_F(Entities, RemovingRepeatedIdsTakesEveryOccurrence)
{
    AcDbObjectId a = addLine(0, 0, 1, 0);
    AcDbObjectId b = addLine(0, 1, 1, 1);
    AcDbObjectId c = addLine(0, 2, 1, 2);
    AcDbObjectIdArray ids;
    for (AcDbObjectId id : {a, b, a, c})
        ids.append(id);
    AcDbObjectIdArray cuts;
    cuts.append(a);
    tarn::ent::FRemoveRepeatId(ids, cuts);
    ASSERT_EQ(2, ids.length());
    EXPECT_EQ(b, ids[0]);
    EXPECT_EQ(c, ids[1]);
}

TEST_F(Entities, HighlightingAndFlashing)
{
    AcDbObjectIdArray ids;
    ids.append(addLine(0, 0, 1, 0));
    ids.append(addLine(0, 1, 1, 1));
    tarn::ent::HighLight(ids);
    EXPECT_TRUE(highlighted(ids[0]));
    EXPECT_TRUE(highlighted(ids[1]));
    tarn::ent::UnHighLight(ids[0]);
    EXPECT_FALSE(highlighted(ids[0]));
    tarn::ent::Flash(ids);
    EXPECT_FALSE(highlighted(ids[1]));
}

TEST_F(Entities, MoveByAVectorOrFromPointToPoint)
{
    AcDbObjectId line = addLine(0, 0, 10, 0);
    ASSERT_EQ(1, tarn::ent::Move(line, AcGeVector3d(1, 2, 0)));
    ASSERT_EQ(1, tarn::ent::Move(line, AcGePoint3d(11, 2, 0), AcGePoint3d(0, 0, 0)));
    AcGePoint3d s;
    AcGePoint3d e;
    tarn::ent::GetStartEndPt(line, s, e);
    expectNear(AcGePoint3d(-10, 0, 0), s);
    expectNear(AcGePoint3d(0, 0, 0), e);
}

TEST_F(Entities, AddedEntitiesGoToTheCurrentSpaceAndLayer)
{
    addLayer(L"DL-图例标注");
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"CLAYER", CString(L"DL-图例标注")));
    auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(3, 4, 0));
    AcDbObjectId id = tarn::ent::AddToDb(line);
    ASSERT_FALSE(id.isNull());
    // The caller closes what AddToDb returns open.
    line->close();
    EXPECT_EQ(CString(L"DL-图例标注"), layerOf(id));
    EXPECT_DOUBLE_EQ(5.0, tarn::ent::GetCurLen(id));
}

TEST_F(Entities, TextStylesAreLookedUpByName)
{
    EXPECT_EQ(db().textstyle(), tarn::ent::GetTextStyle(L"standard"));
    EXPECT_TRUE(tarn::ent::GetTextStyle(L"汉字标注").isNull());
}

} // namespace
} // namespace planroad::test
