// Drawings built through the host's interface, saved in every version and read back with nothing lost.
#include "RoadDrawing.h"

namespace planroad::test {
namespace {

class GeneratedDrawing : public ::testing::Test {
protected:
    void SetUp() override { mRoad = buildRoadDrawing(mDb); }

    // Saves the drawing into the scratch folder and reads the file back.
    std::unique_ptr<AcDbDatabase> saveAndRead(const std::string& name, dxf::Version version)
    {
        dxf::WriteOptions options;
        options.version = version;
        std::string error;
        EXPECT_TRUE(dxf::saveDrawingFile(mDb, mFolder / name, options, error)) << error;
        std::unique_ptr<AcDbDatabase> back;
        EXPECT_NO_THROW(back = dxf::readDrawingFile(mFolder / name));
        return back;
    }
    void expectCleanAudit(const std::string& name)
    {
        if (!Checker::available())
            return;
        const Outcome audit = Checker::audit(mFolder / name);
        EXPECT_EQ(0, audit.exitCode) << audit.output;
    }

    AcDbDatabase mDb;
    RoadDrawing mRoad;
    ScratchFolder mFolder;
};

// The values of an object's extended data for one application, after the application's name.
arxhost::TypedValues xdataOf(AcDbDatabase& db, AcDbHandle handle, const wchar_t* app)
{
    AcDbObjectPointer<AcDbObject> object(idOf(db, handle), AcDb::kForRead);
    arxhost::TypedValues values;
    if (object.openStatus() != Acad::eOk)
        return values;
    resbuf* chain = object->xData(app);
    for (const resbuf* rb = chain == nullptr ? nullptr : chain->rbnext; rb != nullptr; rb = rb->rbnext) {
        arxhost::TypedValue value;
        value.code = rb->restype;
        if (rb->restype == 1000 || rb->restype == 1002 || rb->restype == 1005)
            value.value.emplace<std::wstring>(rb->resval.rstring);
        else if (rb->restype == 1040)
            value.value.emplace<double>(rb->resval.rreal);
        else if (rb->restype == 1070)
            value.value.emplace<std::int64_t>(rb->resval.rint);
        else if (rb->restype == 1071)
            value.value.emplace<std::int64_t>(rb->resval.rlong);
        else if (rb->restype == 1010)
            value.value.emplace<arxhost::TypedValue::Point>(arxhost::TypedValue::Point {
                rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]});
        else
            continue;
        values.push_back(std::move(value));
    }
    acutRelRb(chain);
    return values;
}

TEST_F(GeneratedDrawing, EverythingComesBackFromTheSavedFile)
{
    std::unique_ptr<AcDbDatabase> back = saveAndRead("road.dxf", dxf::Version::R2010);
    ASSERT_TRUE(back);
    expectCleanAudit("road.dxf");
    expectSameDrawing(describe(mDb), describe(*back));

    // What the user looks at, asked of the drawing read back.
    {
        AcDbLayerTable* layers = nullptr;
        ASSERT_EQ(Acad::eOk, back->getLayerTable(layers, AcDb::kForRead));
        AcDbLayerTableRecord* centre = nullptr;
        ASSERT_EQ(Acad::eOk, layers->getAt(kCentreLayer, centre, AcDb::kForRead));
        EXPECT_EQ(1, centre->color().colorIndex());
        centre->close();
        AcDbLayerTableRecord* notes = nullptr;
        ASSERT_EQ(Acad::eOk, layers->getAt(L"标注", notes, AcDb::kForRead));
        EXPECT_TRUE(notes->isOff());
        notes->close();
        layers->close();
        AcDbRegAppTable* apps = nullptr;
        ASSERT_EQ(Acad::eOk, back->getRegAppTable(apps, AcDb::kForRead));
        EXPECT_TRUE(apps->has(kRoadApp));
        apps->close();
    }
    {
        AcDbObjectPointer<AcDbLine> line(idOf(*back, mRoad.centreLine), AcDb::kForRead);
        ASSERT_EQ(Acad::eOk, line.openStatus());
        ACHAR* layer = line->layer();
        EXPECT_STREQ(kCentreLayer, layer);
        acutDelString(layer);
        EXPECT_TRUE(line->endPoint().isEqualTo(AcGePoint3d(100, 0, 0)));
        AcDbObjectPointer<AcDbDictionary> xdict(line->extensionDictionary(), AcDb::kForRead);
        ASSERT_EQ(Acad::eOk, xdict.openStatus());
        EXPECT_TRUE(xdict->has(L"桩号"));
    }
    ACHAR circleText[17];
    mRoad.circle.getIntoAsciiBuffer(circleText);
    const arxhost::TypedValues expectedFapp = {{1000, std::wstring(L"道路中线")}, {1040, 12.25},
        {1070, std::int64_t {2}}, {1071, std::int64_t {70000}},
        {1010, arxhost::TypedValue::Point {12.5, -3.25, 0.75}}, {1005, std::wstring(circleText)}};
    EXPECT_EQ(expectedFapp, xdataOf(*back, mRoad.centreLine, L"FAPP_DLZX"));
    const arxhost::TypedValues expectedRoad = {{1000, std::wstring(L"人民路")}, {1002, std::wstring(L"{")},
        {1000, std::wstring(L"宽度")}, {1040, 24.0}, {1002, std::wstring(L"}")}};
    EXPECT_EQ(expectedRoad, xdataOf(*back, mRoad.centreLine, kRoadApp));
    {
        AcDbDictionary* groups = nullptr;
        ASSERT_EQ(Acad::eOk, back->getGroupDictionary(groups, AcDb::kForRead));
        AcDbObjectId treesId;
        EXPECT_EQ(Acad::eOk, groups->getAt(L"行道树", treesId));
        groups->close();
        AcDbObjectPointer<AcDbGroup> trees(treesId, AcDb::kForRead);
        ASSERT_EQ(Acad::eOk, trees.openStatus());
        EXPECT_STREQ(L"道路两侧", trees->description());
        AcDbObjectIdArray members;
        ASSERT_EQ(2u, trees->allEntityIds(members));
        EXPECT_EQ(mRoad.centreLine, members[0].handle());
        EXPECT_EQ(mRoad.circle, members[1].handle());
    }
    {
        AcDbObjectPointer<AcDbXrecord> xrecord(idOf(*back, mRoad.xrecord), AcDb::kForRead);
        ASSERT_EQ(Acad::eOk, xrecord.openStatus());
        resbuf* chain = nullptr;
        xrecord->rbChain(&chain);
        ASSERT_NE(nullptr, chain);
        EXPECT_STREQ(L"城市主干道", chain->resval.rstring);
        const resbuf* pointer = chain->rbnext->rbnext->rbnext->rbnext;
        ASSERT_EQ(340, pointer->restype);
        AcDbObjectId target;
        ads_name name = {pointer->resval.rlname[0], pointer->resval.rlname[1]};
        acdbGetObjectId(target, name);
        EXPECT_EQ(mRoad.centreLine, target.handle());
        acutRelRb(chain);
    }
    {
        AcDbObjectPointer<AcDbRadialDimension> dim(idOf(*back, mRoad.dimension), AcDb::kForRead);
        ASSERT_EQ(Acad::eOk, dim.openStatus());
        EXPECT_TRUE(dim->chordPoint().isEqualTo(AcGePoint3d(57.5, 20, 0)));
        EXPECT_DOUBLE_EQ(5.0, dim->leaderLength());
    }
}

TEST_F(GeneratedDrawing, SavedTwiceTheFilesAreTheSame)
{
    std::unique_ptr<AcDbDatabase> back = saveAndRead("first.dxf", dxf::Version::R2010);
    ASSERT_TRUE(back);
    std::string error;
    ASSERT_TRUE(dxf::saveDrawingFile(*back, mFolder / "second.dxf", {}, error)) << error;
    EXPECT_EQ("", firstDifference(readBytes(mFolder / "first.dxf"), readBytes(mFolder / "second.dxf")));
    if (!Checker::available())
        GTEST_SKIP() << Checker::kMissing;
    const Outcome compare = Checker::compare(mFolder / "first.dxf", mFolder / "second.dxf");
    EXPECT_EQ(0, compare.exitCode) << compare.output;
}

// The texts of the dimension geometry blocks (*D...) of a drawing: what other programs show of them.
std::vector<std::wstring> dimensionBlockTexts(AcDbDatabase& db)
{
    std::vector<std::wstring> texts;
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(Acad::eOk, db.getBlockTable(table, AcDb::kForRead));
    AcDbBlockTableIterator* it = nullptr;
    table->newIterator(it);
    for (; !it->done(); it->step()) {
        AcDbBlockTableRecord* block = nullptr;
        if (it->getRecord(block, AcDb::kForRead) != Acad::eOk)
            continue;
        const ACHAR* name = nullptr;
        block->getName(name);
        if (std::wstring(name).rfind(L"*D", 0) == 0) {
            AcDbBlockTableRecordIterator* entities = nullptr;
            block->newIterator(entities);
            for (; !entities->done(); entities->step()) {
                AcDbEntity* e = nullptr;
                if (entities->getEntity(e, AcDb::kForRead) != Acad::eOk)
                    continue;
                if (const auto* text = AcDbText::cast(e))
                    texts.emplace_back(text->textStringConst());
                e->close();
            }
            delete entities;
        }
        block->close();
    }
    delete it;
    table->close();
    return texts;
}

TEST_F(GeneratedDrawing, AChangedDimensionGetsItsBlockMadeAgainOnSave)
{
    std::unique_ptr<AcDbDatabase> back = saveAndRead("first.dxf", dxf::Version::R2010);
    ASSERT_TRUE(back);
    const std::vector<std::wstring> before = dimensionBlockTexts(*back);
    ASSERT_EQ(before.size(), 1u);
    {
        AcDbObjectPointer<AcDbRadialDimension> dim(idOf(*back, mRoad.dimension), AcDb::kForWrite);
        ASSERT_EQ(Acad::eOk, dim.openStatus());
        ASSERT_EQ(Acad::eOk, dim->setDimensionText(L"R=9.99"));
    }
    std::string error;
    ASSERT_TRUE(dxf::saveDrawingFile(*back, mFolder / "changed.dxf", {}, error)) << error;
    std::unique_ptr<AcDbDatabase> changed = dxf::readDrawingFile(mFolder / "changed.dxf");
    ASSERT_TRUE(changed);
    EXPECT_EQ(dimensionBlockTexts(*changed), std::vector<std::wstring> {L"R=9.99"})
        << "the block shows the old text";
    expectCleanAudit("changed.dxf");

    // Saved again unchanged, the file stays the same.
    ASSERT_TRUE(dxf::saveDrawingFile(*changed, mFolder / "again.dxf", {}, error)) << error;
    EXPECT_EQ("", firstDifference(readBytes(mFolder / "changed.dxf"), readBytes(mFolder / "again.dxf")));
}

TEST_F(GeneratedDrawing, DecimalSeparatorAppliedFromAStyleIsSavedAsItsCharacterCode)
{
    // Applying a style writes every dimension variable to the drawing, DIMDSEP as a character.
    ASSERT_EQ(Acad::eOk, mDb.setDimstyleData(mDb.dimstyle()));
    ASSERT_EQ(Acad::eOk, mDb.setDimdsep(L'.'));
    std::unique_ptr<AcDbDatabase> back = saveAndRead("separator.dxf", dxf::Version::R2010);
    ASSERT_TRUE(back);
    EXPECT_EQ(L'.', back->dimdsep());
    const std::string text = readBytes(mFolder / "separator.dxf");
    EXPECT_NE(std::string::npos, text.find("$DIMDSEP\r\n 70\r\n46\r\n")) << "written as group 70";
    expectCleanAudit("separator.dxf");
}

class SaveVersion : public GeneratedDrawing, public ::testing::WithParamInterface<dxf::Version> { };

TEST_P(SaveVersion, AuditsCleanAndReadsBackEqual)
{
    const dxf::Version version = GetParam();
    std::unique_ptr<AcDbDatabase> back = saveAndRead("road.dxf", version);
    ASSERT_TRUE(back);
    const std::string text = readBytes(mFolder / "road.dxf");
    EXPECT_NE(
        std::string::npos, text.find("$ACADVER\r\n  1\r\n" + std::string(dxf::acadVer(version)) + "\r\n"));
    expectCleanAudit("road.dxf");
    expectSameDrawing(describe(mDb), describe(*back));
}

INSTANTIATE_TEST_SUITE_P(Versions, SaveVersion,
    ::testing::Values(dxf::Version::R2000, dxf::Version::R2004, dxf::Version::R2007, dxf::Version::R2010,
        dxf::Version::R2013, dxf::Version::R2018),
    [](const ::testing::TestParamInfo<dxf::Version>& version) {
        return std::string(dxf::acadVer(version.param));
    });

} // namespace
} // namespace planroad::test
