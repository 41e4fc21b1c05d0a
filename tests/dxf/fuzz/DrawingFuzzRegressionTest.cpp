// What the drawing reader's fuzzer found, each case cut down to its point: a clean ReadError naming the
// line, or a drawing that reads, is written in every version and reads again. Built with the sanitizers
// in the fuzz build, so that a leak on the error path fails the test too.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "arxHeaders.h"
#include "dbobjptr.h"
#include "dxf/DxfTestSupport.h"
#include "dxf/ReadError.h"
#include "dxf/drawing/DrawingReader.h"
#include "dxf/drawing/DrawingWriter.h"

namespace {

using dxftest::lines;

// An R2010 drawing whose ENTITIES section holds `entities` and whose other sections come before it.
std::string drawing(std::string_view sections, std::string_view entities)
{
    return lines({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1024", "  0", "ENDSEC"})
        + std::string(sections) + lines({"  0", "SECTION", "  2", "ENTITIES"}) + std::string(entities)
        + lines({"  0", "ENDSEC", "  0", "EOF"});
}

// A LINE with `groups` among its entity's groups.
std::string line(std::string_view groups)
{
    return lines({"  0", "LINE", "100", "AcDbEntity", "  8", "0"}) + std::string(groups)
        + lines({"100", "AcDbLine", " 10", "0.0", " 20", "0.0", " 11", "1.0", " 21", "1.0"});
}

// An R2000 drawing in ANSI_1252 with the entities `entities`.
std::string r2000(std::string_view entities)
{
    return lines({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1015", "  9",
               "$DWGCODEPAGE", "  3", "ANSI_1252", "  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"})
        + std::string(entities) + lines({"  0", "ENDSEC", "  0", "EOF"});
}

// A CIRCLE with `groups` after its own.
std::string circleWith(std::initializer_list<std::string_view> groups)
{
    return lines({"  0", "CIRCLE", "  8", "0", " 10", "0.0", " 20", "0.0", " 40", "1.0"}) + lines(groups);
}

std::string objects(std::string_view records)
{
    return lines({"  0", "SECTION", "  2", "OBJECTS", "  0", "DICTIONARY", "  5", "C", "330", "0", "100",
               "AcDbDictionary"})
        + std::string(records) + lines({"  0", "ENDSEC"});
}

std::string tables(std::string_view tablesText)
{
    return lines({"  0", "SECTION", "  2", "TABLES"}) + std::string(tablesText) + lines({"  0", "ENDSEC"});
}

std::string readError(std::string_view data)
{
    try {
        dxf::readDrawing(data);
    } catch (const dxf::ReadError& error) {
        return error.what();
    }
    return "";
}

// ---- Refused: each thrown after the reader made the object, which must not leak ----

struct Refused {
    const char* name;
    std::string data;
    const char* message; // a part of the ReadError's message
};

void PrintTo(const Refused& refused, std::ostream* out)
{
    *out << refused.name;
}

std::vector<Refused> refusedInputs()
{
    const std::string layerTable = lines({"  0", "TABLE", "  2", "LAYER", " 70", "1"});
    return {
        {"LayerWithoutName",
            drawing(tables(layerTable + lines({"  0", "LAYER", " 70", "0", "  0", "ENDTAB"})), ""),
            "a LAYER record has no name"},
        // An entry of no name was read, then written as a handle without its name, which did not read.
        {"DictionaryEntryWithoutAName",
            drawing(lines({"  0", "SECTION", "  2", "OBJECTS", "  0", "DICTIONARY", "  5", "C", "330", "0",
                        "100", "AcDbDictionary", "  3", "", "350", "C", "  0", "ENDSEC"}),
                ""),
            "a dictionary entry has an empty name"},
        {"TableTwice",
            drawing(
                tables(layerTable + lines({"  0", "ENDTAB"}) + layerTable + lines({"  0", "ENDTAB"})), ""),
            "the LAYER table comes twice"},
        // The block records in a dimension style table were lost on writing, with model space's entities.
        {"BlockRecordInTheDimensionStyleTable",
            drawing(tables(lines({"  0", "TABLE", "  2", "DIMSTYLE", "  0", "BLOCK_RECORD", "  5", "1F",
                        "  2", "*Model_Space", "  0", "ENDTAB"})),
                line("")),
            "a BLOCK_RECORD record cannot be part of the DIMSTYLE table"},
        {"StyleWithBrokenExtendedData",
            drawing(tables(lines({"  0", "TABLE", "  2", "STYLE", "  0", "STYLE", "  2", "Standard", "1001",
                        "APP", "1020", "1.0", "  0", "ENDTAB"})),
                ""),
            "extended data coordinate 1020 without its X value"},
        {"DictionaryEntryWithoutName", drawing(objects(lines({"350", "D"})), ""),
            "a dictionary entry's handle comes without its name"},
        {"GroupWithBrokenExtendedData",
            drawing(objects(lines({"  0", "GROUP", "  5", "F", "330", "C", "100", "AcDbGroup", "300", "g",
                        "1001", "APP", "1010", "1.0", "1020", "2.0", "1030", "3.0", "1020", "4.0"})),
                ""),
            "extended data coordinate 1020 without its X value"},
        {"XrecordWithBrokenExtendedData",
            drawing(objects(lines({"  0", "XRECORD", "  5", "E", "330", "C", "100", "AcDbXrecord", "  1", "v",
                        "1001", "APP", "1025", "1.0"})),
                ""),
            "extended data coordinate 1025 without its X value"},
        // Read as text (and in a binary file not even that), they could not be written back.
        {"ExtendedDataUnderAnIntegerCodeOfNoMeaning",
            drawing("", line("") + lines({"1001", "APP", "1064", "5"})),
            "group code 1064 cannot be part of extended data"},
        {"ExtendedDataUnderARealCodeOfNoMeaning",
            drawing("", line("") + lines({"1001", "APP", "1015", "5.0"})),
            "group code 1015 cannot be part of extended data"},
        {"HandleOutOfRange", drawing("", line(lines({"  5", "1000000000000"}))), "is out of range"},
        {"LineweightThatIsNotOne", drawing("", line(lines({"370", "1234"}))), "1234 is not a lineweight"},
        // Read as an entity of the paper space, the ENDSEC was written into the ENTITIES section, ending it.
        {"EndsecInsideTheSpaceBlock",
            drawing(lines({"  0", "SECTION", "  2", "BLOCKS", "  0", "BLOCK", "  8", "0", "  2",
                        "$PAPER_SPACE", " 70", "0", " 10", "0.0", " 20", "0.0", "  0", "ENDSEC", "  0",
                        "ENDBLK", "  0", "ENDSEC"}),
                ""),
            "expected an entity, found ENDSEC"},
        {"SequenceCutByEndsec",
            drawing("",
                lines({"  0", "POLYLINE", "  8", "0", " 66", "1", " 70", "8", "  0", "VERTEX", "  8", "0",
                    " 10", "1.0", "  0", "ENDSEC", "  0", "SEQEND"})),
            "POLYLINE has no SEQEND"},
    };
}

class RefusedDrawing : public ::testing::TestWithParam<Refused> { };

TEST_P(RefusedDrawing, WithAReadErrorNamingTheLine)
{
    const std::string message = readError(GetParam().data);
    EXPECT_NE(std::string::npos, message.find(GetParam().message)) << message;
    EXPECT_EQ(0u, message.find("line ")) << message;
}

INSTANTIATE_TEST_SUITE_P(FuzzFindings, RefusedDrawing, ::testing::ValuesIn(refusedInputs()),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Accepted: read, then written in every version, and what was written reads again ----

// The first entity of the model space.
// The model space's entity `index`, in the file's order.
AcDbObjectId entityAt(AcDbDatabase& db, std::size_t index)
{
    AcDbBlockTableRecord* model = nullptr;
    if (acdbOpenObject(model, db.modelSpaceId(), AcDb::kForRead) != Acad::eOk)
        return AcDbObjectId();
    const AcDbObjectId id
        = index < model->hostEntityIds().size() ? model->hostEntityIds()[index] : AcDbObjectId();
    model->close();
    return id;
}

AcDbObjectId firstEntity(AcDbDatabase& db)
{
    return entityAt(db, 0);
}

std::wstring layerOfFirstEntity(AcDbDatabase& db)
{
    AcDbObjectPointer<AcDbEntity> entity(firstEntity(db), AcDb::kForRead);
    if (entity.openStatus() != Acad::eOk)
        return L"(no entity)";
    ACHAR* name = entity->layer();
    std::wstring layer = name;
    acutDelString(name);
    return layer;
}

struct Accepted {
    const char* name;
    std::string data;
    const char* written; // what each written file holds, "\n" standing for its line ends
};

void PrintTo(const Accepted& accepted, std::ostream* out)
{
    *out << accepted.name;
}

std::vector<Accepted> acceptedInputs()
{
    return {
        // An entity on a layer of no name went onto a new, nameless layer: written, it did not read.
        {"EntityOnALayerWithoutName",
            drawing("", lines({"  0", "CIRCLE", "  8", "", " 10", "0.0", " 20", "0.0", " 40", "1.0"})),
            "\n  8\n0\n"},
        // A name in a handle code (as some writers put there) made writing throw std::invalid_argument.
        {"NameInAHandleCode", drawing("", line(lines({"340", "Standard"}))), "\n340\nStandard\n"},
        {"TextInAHandleCodeOfAnotherSection",
            drawing(lines({"  0", "SECTION", "  2", "ACDSDATA", "330", "not a handle", "  0", "ENDSEC"}), ""),
            "\n330\nnot a handle\n"},
        // A header variable under a group code of another type: written back with its own code.
        {"HeaderVariableUnderAStringCode",
            lines({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1024", "  9", "$DIMTOL",
                "  1", "", "  0", "ENDSEC", "  0", "EOF"}),
            "\n$DIMTOL\n 70\n0\n"},
        // A text variable the file gave under a number's code: writing it under its own code threw.
        {"TextVariableUnderANumbersCode",
            lines({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1024", "  9", "$UCSNAME",
                " 70", "21582", "  0", "ENDSEC", "  0", "EOF"}),
            "\n$UCSNAME\n  2\n21582\n"},
        // Its extents overflowed to infinities, which the header's $EXTMIN could not be written with.
        {"ArcSegmentOfAHugeBulge",
            drawing("",
                lines({"  0", "LWPOLYLINE", "100", "AcDbEntity", "  8", "0", "100", "AcDbPolyline", " 90",
                    "2", " 70", "0", " 10", "0.0", " 20", "0.0", " 42", "1e200", " 10", "1.0", " 20",
                    "-1.6e-19"})),
            "\n$EXTMIN\n 10\n1.0e+20\n"},
        // Groups of an entity that look like header variables were taken for the header's: an unknown
        // code page refused the file (once written with them, the fuzzer's did not read).
        {"HeaderVariableInsideAnEntity", r2000(circleWith({"  9", "$DWGCODEPAGE", "  3", "NOPE"})),
            "\n  9\n$DWGCODEPAGE\n  3\nNOPE\n"},
        // A layer named by NUL bytes was made and saved with them; the saved LAYER record read as nameless.
        // Its name is now replacement characters.
        {"EntityOnALayerOfNuls",
            drawing("",
                lines({"  0", "LINE", "100", "AcDbEntity", "  8"}) + std::string(8, '\0') + "\n"
                    + lines({"100", "AcDbLine", " 10", "0.0", " 20", "0.0", " 11", "1.0", " 21", "1.0"})),
            "\nLAYER\n"},
        // A table named "L<NULs>TYPE" was kept as a table of its own, then written as a second LTYPE table.
        {"TableNamedWithNuls",
            drawing(lines({"  0", "SECTION", "  2", "TABLES", "  0", "TABLE", "  2"})
                    + std::string("L\0\0TYPE\n", 8)
                    + lines({"  5", "5", " 70", "0", "  0", "ENDTAB", "  0", "ENDSEC"}),
                ""),
            "\nLTYPE\n"},
        // Kept before the dictionary's own groups, its 360 was read back as an entry without a name.
        {"DictionaryWithoutSubclassMarkers",
            drawing(lines({"  0", "SECTION", "  2", "OBJECTS", "  0", "DICTIONARY", "  5", "C", "330", "0",
                        "  3", "ROAD", "360", "E", "  0", "XRECORD", "  5", "E", "330", "C", "100",
                        "AcDbXrecord", "  1", "v", "  0", "ENDSEC"}),
                ""),
            "\n  3\nROAD\n360\nE\n"},
    };
}

class AcceptedDrawing : public ::testing::TestWithParam<Accepted> { };

TEST_P(AcceptedDrawing, IsWrittenInEveryVersionAsAFileThatReads)
{
    std::unique_ptr<AcDbDatabase> db;
    ASSERT_NO_THROW(db = dxf::readDrawing(GetParam().data));
    for (const dxf::Version version : {dxf::Version::R2000, dxf::Version::R2004, dxf::Version::R2007,
             dxf::Version::R2010, dxf::Version::R2013, dxf::Version::R2018}) {
        SCOPED_TRACE(std::string(dxf::acadVer(version)));
        dxf::WriteOptions options;
        options.version = version;
        options.lineEnd = dxf::LineEnd::Lf;
        std::string written;
        ASSERT_NO_THROW(written = dxf::writeDrawing(*db, options));
        EXPECT_NE(std::string::npos, written.find(GetParam().written));
        EXPECT_EQ("", readError(written));
    }
}

INSTANTIATE_TEST_SUITE_P(FuzzFindings, AcceptedDrawing, ::testing::ValuesIn(acceptedInputs()),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FuzzFindings, AnEntityOnALayerWithoutNameIsOnLayerZero)
{
    std::unique_ptr<AcDbDatabase> db = dxf::readDrawing(acceptedInputs().front().data);
    EXPECT_EQ(L"0", layerOfFirstEntity(*db));
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(Acad::eOk, db->getLayerTable(layers, AcDb::kForRead));
    EXPECT_FALSE(layers->has(L""));
    layers->close();
}

TEST(FuzzFindings, GroupsOfAnEntityLikeHeaderVariablesDoNotChangeTheEncoding)
{
    // Taken for the header's, the first two switched the rest of the file to UTF-8.
    const std::string data
        = r2000(circleWith({"  9", "$ACADVER", "  1", "AC1032", "  9", "$DWGCODEPAGE", "  3", "ANSI_936"})
            + lines({"  0", "TEXT", "  8", "0", " 10", "0.0", " 20", "0.0", " 40", "1.0", "  1",
                "Stra\xDF"
                "e"}));
    std::unique_ptr<AcDbDatabase> db = dxf::readDrawing(data);
    AcDbObjectPointer<AcDbText> text(entityAt(*db, 1), AcDb::kForRead);
    ASSERT_EQ(Acad::eOk, text.openStatus());
    EXPECT_STREQ(L"Stra\u00DFe", text->textStringConst());
}

TEST(FuzzFindings, LineweightsOfTheFileAreKept)
{
    for (const int weight : {-3, -2, -1, 0, 35, 211}) {
        std::unique_ptr<AcDbDatabase> db
            = dxf::readDrawing(drawing("", line(lines({"370", std::to_string(weight)}))));
        AcDbObjectPointer<AcDbEntity> entity(firstEntity(*db), AcDb::kForRead);
        ASSERT_EQ(Acad::eOk, entity.openStatus());
        EXPECT_EQ(weight, static_cast<int>(entity->lineWeight()));
    }
}

} // namespace
