// Reads the DXF files of other programs kept beside the repository: every one to its EOF, with the
// entities and texts an independent reader sees.
#include <gtest/gtest.h>

#include <map>

#include "DxfTestSupport.h"
#include "dxf/TagWriter.h"

using dxf::Tag;
using dxf::TagReader;

namespace {

struct Sample {
    std::string_view file;
    std::size_t tags; // up to EOF and not counting it; counted by lines, apart from this reader
    std::map<std::string, std::size_t, std::less<>> entities; // some 0/<type> counts
};

std::filesystem::path samplePath(std::string_view file)
{
    return dxftest::samplesFolder() / file;
}

constexpr const char* kNoSamples
    = "no DXF samples: set PLANROAD_DXF_SAMPLES or put them in ../shared/dxf-samples";

const Sample kSamples[] = {
    {"acadsharp-sample_2007_ascii.dxf", 24988,
        {{"ARC", 5}, {"LINE", 120}, {"LWPOLYLINE", 10}, {"MTEXT", 44}, {"TEXT", 4}}},
    {"acadsharp-xdata.dxf", 6721, {{"TEXT", 13}}},
    {"bjnortier-dimensions.dxf", 1662, {{"DIMENSION", 2}}},
    {"ezdxf-ASCII_R12.dxf", 594, {}},
    {"ezdxf-POLI-ALL210_12.dxf", 1776, {{"POLYLINE", 30}}},
    {"ezdxf-R12_with_trash_beyond_EOF.dxf", 8, {{"CIRCLE", 1}}},
    {"ezdxf-bin_dxf_r12.dxf", 498, {{"LINE", 3}}},
    {"ezdxf-groups.dxf", 6223, {{"GROUP", 2}}},
    {"libredwg-example_2004.dxf", 39613, {{"ARC", 5}, {"LINE", 68}, {"LWPOLYLINE", 11}, {"MTEXT", 18}}},
    {"libredwg-r11_entities-2d.dxf", 707, {}},
    {"netdxf-sample_2000.dxf", 7096, {}},
    {"qcad-dimradial000.dxf", 9581, {{"DIMENSION", 1}}},
    {"qcad-text018.dxf", 19423, {{"TEXT", 17}, {"LWPOLYLINE", 268}}},
};

} // namespace

TEST(DxfSampleFiles, EveryFileReadsToItsEofWithCleanText)
{
    if (dxftest::samplesFolder().empty())
        GTEST_SKIP() << kNoSamples;
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(std::string(sample.file));
        TagReader reader = TagReader::open(samplePath(sample.file));
        std::map<std::string, std::size_t, std::less<>> entities;
        std::size_t tags = 0;
        std::size_t replaced = 0;
        Tag tag;
        while (reader.next(tag)) {
            ++tags;
            if (tag.code == 0)
                ++entities[std::string(tag.raw())];
            if (tag.type() == dxf::ValueType::String && tag.asText().find(L'\uFFFD') != std::wstring::npos)
                ++replaced;
        }
        EXPECT_EQ(tags, sample.tags);
        for (const auto& [type, count] : sample.entities)
            EXPECT_EQ(entities[type], count) << type;
        EXPECT_EQ(replaced, 0u) << "strings with bytes invalid in the drawing's encoding";
    }
}

TEST(DxfSampleFiles, TextInEachEncoding)
{
    if (dxftest::samplesFolder().empty())
        GTEST_SKIP() << kNoSamples;
    struct Case {
        std::string_view file;
        int version;
        std::wstring_view text; // in some string of the file
    };
    const Case cases[] = {
        {"ezdxf-ASCII_R12.dxf", 1009, L"ABC\u00C4\u00DC\u00D6\u03B1\u03B2\u03B3"}, // cp1252 and \U+ escapes
        {"ezdxf-ASCII_R12.dxf", 1009, L"\u039B\u0391\u0393\u0395\u03A1\u00C4\u00DC\u00D6"}, // a layer name
        {"qcad-text018.dxf", 1024, L"\u65E5\u672C\u8A9E"}, // UTF-8 despite ANSI_1252
        {"acadsharp-sample_2007_ascii.dxf", 1021, L"\u00B0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file));
        TagReader reader = TagReader::open(samplePath(c.file));
        bool found = false;
        Tag tag;
        while (reader.next(tag))
            if (tag.type() == dxf::ValueType::String && tag.asText().find(c.text) != std::wstring::npos)
                found = true;
        EXPECT_TRUE(found);
        EXPECT_EQ(reader.codec().version(), c.version);
    }
}

TEST(DxfSampleFiles, BinaryFileWithOneByteGroupCodes)
{
    if (dxftest::samplesFolder().empty())
        GTEST_SKIP() << kNoSamples;
    TagReader reader = TagReader::open(samplePath("ezdxf-bin_dxf_r12.dxf"));
    EXPECT_TRUE(reader.binary());
    Tag tag;
    ASSERT_TRUE(reader.skipTo(9, tag));
    EXPECT_EQ(tag.raw(), "$ACADVER");
    ASSERT_TRUE(reader.next(tag));
    EXPECT_TRUE(tag.is(1, "AC1009"));
    ASSERT_TRUE(reader.skipTo(9, tag));
    ASSERT_TRUE(reader.next(tag));
    EXPECT_TRUE(tag.is(3, "ansi_1252"));
    EXPECT_EQ(reader.codec().codePage(), "ANSI_1252");
    // $INSBASE is at the origin.
    ASSERT_TRUE(reader.skipTo(9, tag));
    EXPECT_EQ(tag.raw(), "$INSBASE");
    for (const int code : {10, 20, 30}) {
        ASSERT_TRUE(reader.next(tag));
        EXPECT_EQ(tag.code, code);
        EXPECT_EQ(tag.asDouble(), 0.0);
    }
}

TEST(DxfSampleFiles, WrittenBackEveryFileReadsTheSame)
{
    if (dxftest::samplesFolder().empty())
        GTEST_SKIP() << kNoSamples;
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(std::string(sample.file));
        TagReader original = TagReader::open(samplePath(sample.file));
        dxf::TagWriter writer(dxf::Version::R2018);
        const auto tags = dxftest::readAll(original);
        for (const Tag& tag : tags)
            writer.write(tag);
        writer.writeString(0, "EOF");

        TagReader copy(writer.data());
        copy.followHeader(false); // the copy is UTF-8 whatever its header says
        copy.codec().setVersion("AC1032");
        const auto copied = dxftest::readAll(copy);
        ASSERT_EQ(copied.size(), tags.size());
        std::size_t differences = 0;
        for (std::size_t i = 0; i < tags.size(); ++i) {
            const Tag& a = tags[i];
            const Tag& b = copied[i];
            bool same = a.code == b.code && a.type() == b.type();
            if (same && (a.type() == dxf::ValueType::String || a.type() == dxf::ValueType::Handle))
                same = a.asText() == b.asText() || (a.tryHandle() && a.tryHandle() == b.tryHandle());
            else if (same && a.type() == dxf::ValueType::Double)
                same = std::bit_cast<std::uint64_t>(a.asDouble())
                    == std::bit_cast<std::uint64_t>(b.asDouble());
            else if (same && a.type() == dxf::ValueType::Binary)
                same = a.asBinary() == b.asBinary();
            else if (same)
                same = a.asInt() == b.asInt();
            if (!same && ++differences < 5)
                ADD_FAILURE() << "tag " << i << " (group code " << a.code << ") differs";
        }
        EXPECT_EQ(differences, 0u);
    }
}
