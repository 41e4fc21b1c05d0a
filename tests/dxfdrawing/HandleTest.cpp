// Handles across a save: kept for what came from the file, above every old one for what is new, under
// the $HANDSEED the file states, never twice.
#include "RoadDrawing.h"

namespace planroad::test {
namespace {

struct Source {
    const char* name;
    std::string (*text)();
};

const Source kSources[] = {
    {"BuiltThroughTheHost",
        [] {
            AcDbDatabase db;
            buildRoadDrawing(db);
            return drawingText(db);
        }},
    // An old file without handles: the reader gives every object one.
    {"WithoutHandles",
        [] {
            return dxfLines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", "  8", "0", " 10", "0.0",
                " 20", "0.0", " 11", "1.0", " 21", "1.0", "  0", "CIRCLE", "  8", "道路", " 10", "5.0", " 20",
                "5.0", " 40", "2.0", "  0", "ENDSEC", "  0", "EOF"});
        }},
    // A $HANDSEED below the handles the file uses.
    {"SeedTooLow",
        [] {
            return dxfLines({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1015", "  9",
                "$HANDSEED", "  5", "10", "  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES", "  0", "LINE",
                "  5", "2A0", "  8", "0", " 10", "0.0", " 20", "0.0", " 11", "1.0", " 21", "1.0", "  0",
                "ENDSEC", "  0", "EOF"});
        }},
};

void PrintTo(const Source& source, std::ostream* out)
{
    *out << source.name;
}

class Handles : public ::testing::TestWithParam<Source> { };

TEST_P(Handles, OldObjectsKeepThemAndNewOnesGetHandlesAboveAll)
{
    const std::string original = GetParam().text();
    std::unique_ptr<AcDbDatabase> db = dxf::readDrawing(original);
    const std::string first = drawingText(*db);
    const HandleScan before = scanHandles(first);
    expectConsistent(before);
    expectKept(scanHandles(original), before);

    // New objects of every kind: an entity, a table record, a dictionary entry, a group.
    acdbHostApplicationServices()->setWorkingDatabase(db.get());
    std::vector<AcDbHandle> added;
    added.push_back(
        addEntity(db->modelSpaceId(), new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(5, 5, 0))).handle());
    {
        AcDbLayerTable* layers = nullptr;
        db->getLayerTable(layers, AcDb::kForWrite);
        auto* layer = new AcDbLayerTableRecord();
        layer->setName(L"新图层");
        AcDbObjectId id;
        EXPECT_EQ(Acad::eOk, layers->add(id, layer));
        layer->close();
        layers->close();
        added.push_back(id.handle());
    }
    {
        AcDbDictionary* named = nullptr;
        db->getNamedObjectsDictionary(named, AcDb::kForWrite);
        added.push_back(addXrecord(*named, L"新数据", acutBuildList(1, L"值", 0)).handle());
        named->close();
        AcDbDictionary* groups = nullptr;
        db->getGroupDictionary(groups, AcDb::kForWrite);
        auto* group = new AcDbGroup(L"新组");
        AcDbObjectId id;
        EXPECT_EQ(Acad::eOk, groups->setAt(L"新组", group, id));
        group->append(idOf(*db, added.front()));
        group->close();
        groups->close();
        added.push_back(id.handle());
    }

    const HandleScan after = scanHandles(drawingText(*db));
    expectConsistent(after);
    expectKept(before, after);
    const std::uint64_t oldMost = before.types.rbegin()->first;
    for (AcDbHandle handle : added) {
        EXPECT_GT(handle.value(), oldMost);
        EXPECT_EQ(1u, after.types.count(handle.value()))
            << "new object " << std::hex << handle.value() << " not saved";
    }
    EXPECT_GT(db->handseed().value(), after.types.rbegin()->first);
}

INSTANTIATE_TEST_SUITE_P(Drawings, Handles, ::testing::ValuesIn(kSources),
    [](const ::testing::TestParamInfo<Source>& source) { return std::string(source.param.name); });

} // namespace
} // namespace planroad::test
