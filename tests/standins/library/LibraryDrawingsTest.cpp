// Library drawings of the planning settings library: inserted as blocks at the picked point, at the
// drawing scale, with their layers and text styles; a missing entry is reported.
#include "CustomParameterStore.h"
#include "HostFixture.h"
#include "LibraryTestSupport.h"
#include "PlanningSettings.h"
#include "dbobjptr.h"

namespace planroad::test {
namespace {

class LibraryDrawingsTest : public HostFixture {
protected:
    void adjustOptions(arxhost::SessionOptions& options) override { options.configRoot = mConfigRoot; }
    void SetUp() override
    {
        HostFixture::SetUp();
        defineCommand(L"ARROW", [this] { mResult = CQvSetting::QV_Call_TK(L"道路图库/道路方向符"); });
        defineCommand(L"SECTION", [this] { mResult = CQvSetting::QV_Call_TK_DLHDM(L"单幅路道路断面"); });
        defineCommand(L"MISSING", [this] { mResult = CQvSetting::QV_Call_TK(L"道路图库/没有的条目"); });
    }

    std::vector<AcDbObjectId> references()
    {
        std::vector<AcDbObjectId> ids;
        AcDbBlockTableRecord* space = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(space, db().modelSpaceId(), AcDb::kForRead));
        AcDbBlockTableRecordIterator* it = nullptr;
        space->newIterator(it);
        for (; !it->done(); it->step()) {
            AcDbEntity* entity = nullptr;
            it->getEntity(entity, AcDb::kForRead);
            if (AcDbBlockReference::cast(entity) != nullptr)
                ids.push_back(entity->objectId());
            entity->close();
        }
        delete it;
        space->close();
        return ids;
    }
    int blockEntityCount(AcDbObjectId blockId)
    {
        AcDbBlockTableRecord* block = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(block, blockId, AcDb::kForRead));
        AcDbBlockTableRecordIterator* it = nullptr;
        block->newIterator(it);
        int count = 0;
        for (; !it->done(); it->step())
            ++count;
        delete it;
        block->close();
        return count;
    }

    fs::path mConfigRoot = repositoryConfig();
    int mResult = -1;
};

TEST_F(LibraryDrawingsTest, AnEntryIsInsertedAtThePickedPointAtTheDrawingScale)
{
    OTHERPARAM scale;
    scale.strValue = L"500";
    TarnDB::qvGetCustomDatabase()->SetOtherCustomParam(L"绘图比例", &scale);
    type(L"ARROW\n100,200\n");
    EXPECT_EQ(1, mResult);
    const std::vector<AcDbObjectId> inserted = references();
    ASSERT_EQ(1u, inserted.size());
    AcDbObjectPointer<AcDbBlockReference> reference(inserted[0], AcDb::kForRead);
    ASSERT_EQ(Acad::eOk, reference.openStatus());
    EXPECT_TRUE(reference->position().isEqualTo(AcGePoint3d(100, 200, 0)));
    EXPECT_DOUBLE_EQ(0.5, reference->scaleFactors().sx);
    AcDbObjectPointer<AcDbBlockTableRecord> block(reference->blockTableRecord(), AcDb::kForRead);
    const ACHAR* name = nullptr;
    block->getName(name);
    EXPECT_EQ(std::wstring(L"道路方向符"), name);
    EXPECT_EQ(1, blockEntityCount(reference->blockTableRecord()));
    // The library's layer came along.
    AcDbLayerTable* layers = nullptr;
    db().getLayerTable(layers, AcDb::kForRead);
    EXPECT_TRUE(layers->has(L"DL-道路方向符"));
    layers->close();
}

TEST_F(LibraryDrawingsTest, ASecondInsertionReusesTheBlockAndTextsKeepTheirStyle)
{
    type(L"SECTION\n0,0\nSECTION\n50,0\n");
    EXPECT_EQ(1, mResult);
    const std::vector<AcDbObjectId> inserted = references();
    ASSERT_EQ(2u, inserted.size());
    AcDbObjectPointer<AcDbBlockReference> first(inserted[0], AcDb::kForRead);
    AcDbObjectPointer<AcDbBlockReference> second(inserted[1], AcDb::kForRead);
    EXPECT_EQ(first->blockTableRecord(), second->blockTableRecord());
    // The cross-section: its outline, two red lines, the centre mark and nine labels.
    EXPECT_EQ(13, blockEntityCount(first->blockTableRecord()));
    AcDbTextStyleTable* styles = nullptr;
    db().getTextStyleTable(styles, AcDb::kForRead);
    EXPECT_TRUE(styles->has(L"HZ"));
    styles->close();
}

TEST_F(LibraryDrawingsTest, AMissingEntryIsReportedAndInsertsNothing)
{
    type(L"MISSING\n");
    EXPECT_EQ(0, mResult);
    EXPECT_TRUE(contains(transcript(), L"图库中没有“道路图库/没有的条目”：找不到图库文件"));
    EXPECT_TRUE(references().empty());
}

TEST_F(LibraryDrawingsTest, CancellingThePointInsertsNothing)
{
    type(L"ARROW\n^C\n");
    EXPECT_EQ(0, mResult);
    EXPECT_TRUE(references().empty());
}

class LibraryWithoutConfigurationTest : public LibraryDrawingsTest {
protected:
    LibraryWithoutConfigurationTest() { mConfigRoot.clear(); }
};

TEST_F(LibraryWithoutConfigurationTest, SaysThatNoConfigurationIsSet)
{
    type(L"ARROW\n");
    EXPECT_EQ(0, mResult);
    EXPECT_TRUE(contains(transcript(), L"未设置配置目录"));
}

} // namespace
} // namespace planroad::test
