// Files that are not drawings, or broken ones: each refused with one line naming where, none accepted
// silently, none crashing the reader.
#include <regex>

#include "DrawingTestSupport.h"
#include "dxf/DxfTestSupport.h"

namespace planroad::test {
namespace {

// A drawing with a line, a group holding it and a dictionary entry: each case breaks one thing of it.
const std::string kDrawing = dxfLines({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1024",
    "  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", "  5", "20", "330", "1F", "  8", "0",
    " 10", "0.0", " 20", "0.0", " 11", "1.0", " 21", "1.0", "  0", "ENDSEC", "  0", "SECTION", "  2",
    "OBJECTS", "  0", "DICTIONARY", "  5", "C", "330", "0", "100", "AcDbDictionary", "  3", "ACAD_GROUP",
    "350", "D", "  3", "道路", "350", "E", "  0", "DICTIONARY", "  5", "D", "330", "C", "100",
    "AcDbDictionary", "  3", "行道树", "350", "F", "  0", "XRECORD", "  5", "E", "330", "C", "100",
    "AcDbXrecord", "  1", "值", "  0", "GROUP", "  5", "F", "330", "D", "100", "AcDbGroup", "300", "", " 70",
    "0", " 71", "1", "340", "20", "  0", "ENDSEC", "  0", "EOF"});

// `kDrawing` with the first `from` replaced by `to`.
std::string broken(std::string_view from, std::string_view to)
{
    std::string text = kDrawing;
    const std::size_t at = text.find(from);
    return at == std::string::npos ? std::string() : text.replace(at, from.size(), to);
}

// Blocks, each with an INSERT of the block paired with it ({"A", "B"}: A shows B; "" for none), and the
// model space showing the first.
std::string blocksDrawing(std::initializer_list<std::pair<std::string_view, std::string_view>> blocks)
{
    std::string text = dxfLines({"  0", "SECTION", "  2", "BLOCKS"});
    for (const auto& [name, shows] : blocks) {
        text += dxfLines({"  0", "BLOCK", "  8", "0", "  2", name, " 70", "0", " 10", "0.0", " 20", "0.0"});
        if (!shows.empty())
            text += dxfLines({"  0", "INSERT", "  8", "0", "  2", shows, " 10", "1.0", " 20", "1.0"});
        text += dxfLines({"  0", "ENDBLK", "  8", "0"});
    }
    return text
        + dxfLines({"  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES", "  0", "INSERT", "  8", "0", "  2",
            blocks.begin()->first, " 10", "0.0", " 20", "0.0", "  0", "ENDSEC", "  0", "EOF"});
}

struct BadFile {
    const char* name;
    std::string data;
    std::string where; // the start of the message: "line 12" or "byte 40"
    const char* what; // a part of the message
};

void PrintTo(const BadFile& file, std::ostream* out)
{
    *out << file.name;
}

std::vector<BadFile> badFiles()
{
    const std::string cut = kDrawing.substr(0, kDrawing.find("1.0\n") + 4);
    dxftest::BinaryDxf binary;
    binary.string(0, "SECTION").string(2, "ENTITIES").string(0, "LINE").string(8, "0").real(10, 1.5);
    const std::string binaryCut
        = binary.bytes().substr(0, binary.bytes().size() - 3); // in the last tag's double
    const std::string badCode = broken(" 20\n0.0", "2O\n0.0");
    const std::string badNumber = broken(" 20\n0.0", " 20\nzero");
    const std::string badMember = broken("340\n20", "340\nFF");
    const std::string badEntry = broken("350\nE", "350\nEE");
    const std::string entityEntry = broken("350\nE", "350\n20");
    const std::string twice = broken("  5\nE\n", "  5\n20\n");
    const std::string noBlock = broken("LINE\n", "INSERT\n  2\nnowhere\n");
    const std::string self = blocksDrawing({{"SELF", "SELF"}});
    auto line = [](std::string_view text, std::string_view part) {
        return "line " + std::to_string(lineOf(text, part));
    };
    return {
        {"Truncated", cut, "line " + std::to_string(lineOf(cut, "1.0\n") + 1), "truncated: no EOF record"},
        {"Garbage", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\x01", 18), "line 1", "is not a number"},
        {"GroupCodeNotANumber", badCode, line(badCode, "2O\n"), "group code '2O' is not a number"},
        {"ValueNotANumber", badNumber, line(badNumber, "zero"), "zero"},
        {"GroupMemberMissing", badMember, line(badMember, "340\nFF"),
            "group member FF is not in the drawing"},
        {"DictionaryEntryMissing", badEntry, line(badEntry, "350\nEE"), "refers to handle EE"},
        {"DictionaryEntryIsAnEntity", entityEntry, line(entityEntry, "350\n20"),
            "handle 20, which is an entity"},
        // Record errors name the record's line, its group code 0.
        {"HandleUsedTwice", twice, "line " + std::to_string(lineOf(twice, "XRECORD") - 1),
            "handle 20 is used twice"},
        {"BlockNotDefined", noBlock, "line " + std::to_string(lineOf(noBlock, "INSERT") - 1), "nowhere"},
        {"BlockContainsItself", self, "line " + std::to_string(lineOf(self, "INSERT") - 1),
            "INSERT of block \"SELF\" makes the block contain itself"},
        {"BinaryCutShort", binaryCut, "byte " + std::to_string(binary.bytes().size() - 10), "truncated"},
    };
}

class RefusedFile : public ::testing::TestWithParam<BadFile> { };

TEST_P(RefusedFile, WithOneLineNamingWhere)
{
    const BadFile& file = GetParam();
    ASSERT_FALSE(file.data.empty()) << "the case did not apply to the drawing";
    const std::string message = drawingReadError(file.data);
    ASSERT_FALSE(message.empty()) << "read without an error";
    EXPECT_EQ(0u, message.rfind(file.where + ": ", 0)) << message;
    EXPECT_NE(std::string::npos, message.find(file.what)) << message;
    EXPECT_EQ(std::string::npos, message.find('\n')) << message;
}

INSTANTIATE_TEST_SUITE_P(BadInput, RefusedFile, ::testing::ValuesIn(badFiles()),
    [](const ::testing::TestParamInfo<BadFile>& file) { return std::string(file.param.name); });

TEST(BadInput, TheDrawingTheCasesBreakReads)
{
    std::unique_ptr<AcDbDatabase> db;
    ASSERT_NO_THROW(db = dxf::readDrawing(kDrawing));
    AcDbDictionary* groups = nullptr;
    ASSERT_EQ(Acad::eOk, db->getGroupDictionary(groups, AcDb::kForRead));
    EXPECT_TRUE(groups->has(L"行道树")) << describe(*db);
    groups->close();
}

// Through other blocks as well: whatever measures the drawing (the save does) would never return.
TEST(BadInput, BlocksContainingEachOtherAreRefused)
{
    const std::string message = drawingReadError(blocksDrawing({{"A", "B"}, {"B", "C"}, {"C", "A"}}));
    EXPECT_TRUE(std::regex_search(
        message, std::regex("^line [0-9]+: INSERT of block \"[ABC]\" makes the block contain itself$")))
        << message;
    EXPECT_EQ("", drawingReadError(blocksDrawing({{"A", "B"}, {"B", "C"}, {"C", ""}})))
        << "blocks nested, no circle";
}

// An owner or a data pointer to a handle the file does not hold is not an error: the entity belongs where
// the file lists it, and the XRECORD's pointer points nowhere (null), as it would after an erase.
TEST(BadInput, OwnersAndPointersToMissingHandlesAreDropped)
{
    std::string text = broken("330\n1F", "330\n7FFF");
    const std::string_view value = "  1\n值\n";
    text.replace(text.find(value), value.size(), "  1\n值\n340\n2FF\n");
    std::unique_ptr<AcDbDatabase> db;
    ASSERT_NO_THROW(db = dxf::readDrawing(text));
    AcDbObjectId line;
    ASSERT_EQ(Acad::eOk, db->getAcDbObjectId(line, false, AcDbHandle(0x20)));
    AcDbObjectPointer<AcDbLine> entity(line, AcDb::kForRead);
    ASSERT_EQ(Acad::eOk, entity.openStatus());
    EXPECT_EQ(db->modelSpaceId(), entity->ownerId());

    AcDbObjectId xrecordId;
    ASSERT_EQ(Acad::eOk, db->getAcDbObjectId(xrecordId, false, AcDbHandle(0xE)));
    AcDbObjectPointer<AcDbXrecord> xrecord(xrecordId, AcDb::kForRead);
    ASSERT_EQ(Acad::eOk, xrecord.openStatus());
    resbuf* chain = nullptr;
    xrecord->rbChain(&chain);
    ASSERT_TRUE(chain != nullptr && chain->rbnext != nullptr);
    EXPECT_EQ(340, chain->rbnext->restype);
    EXPECT_TRUE(chain->rbnext->resval.rlname[0] == 0 && chain->rbnext->resval.rlname[1] == 0);
    acutRelRb(chain);
}

// Every file of other programs, cut anywhere before its end: refused, with where, and no crash.
TEST(BadInput, SamplesCutShortAreRefused)
{
    if (samplesFolder().empty())
        GTEST_SKIP() << kNoSamples;
    for (const auto& entry : fs::directory_iterator(samplesFolder())) {
        if (entry.path().extension() != ".dxf")
            continue;
        const std::string whole = readBytes(entry.path());
        // Cut before the EOF record: what follows it (trash in one sample) is not read.
        const std::size_t eof = std::min(whole.size(), whole.find("EOF"));
        for (int part = 1; part < 24; ++part) {
            const std::size_t size = eof * static_cast<std::size_t>(part) / 24;
            SCOPED_TRACE(entry.path().filename().string() + " cut at byte " + std::to_string(size));
            const std::string message = drawingReadError(std::string_view(whole).substr(0, size));
            EXPECT_TRUE(std::regex_search(message, std::regex("^(line|byte) [0-9]+: "))) << message;
        }
    }
}

} // namespace
} // namespace planroad::test
