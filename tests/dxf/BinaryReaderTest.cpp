// Tests of reading binary DXF: both group code widths, every value type, and cuts at every byte.
#include <gtest/gtest.h>

#include <limits>

#include "DxfTestSupport.h"

using dxf::Tag;
using dxf::TagReader;
using dxf::ValueType;
using dxftest::BinaryDxf;
using dxftest::readAll;
using dxftest::readError;

namespace {

// One tag of each type; `oneByte` picks the R12 layout, where codes from 255 on take an escape.
BinaryDxf everyType(bool oneByte)
{
    BinaryDxf file(oneByte);
    file.string(0, "SECTION")
        .string(2, "ENTITIES")
        .string(0, "LINE")
        .string(5, "2AF")
        .real(10, -12.5)
        .integer(70, -7, 2)
        .integer(90, -2000000000, 4)
        .integer(160, std::numeric_limits<std::int64_t>::min(), 8)
        .integer(290, 1, 1)
        .chunk(310, std::string("\x00\xFF\x10", 3))
        .string(330, "1F")
        .string(1000, "xdata")
        .real(1040, 0.1)
        .integer(1071, 123456789, 4)
        .eof();
    return file;
}

} // namespace

TEST(DxfBinaryReader, EveryValueTypeInBothLayouts)
{
    for (const bool oneByte : {false, true}) {
        SCOPED_TRACE(oneByte ? "one-byte group codes" : "two-byte group codes");
        const BinaryDxf file = everyType(oneByte);
        TagReader reader(file.bytes());
        const auto tags = readAll(reader);
        EXPECT_TRUE(reader.binary());
        ASSERT_EQ(tags.size(), 14u);
        EXPECT_TRUE(tags[0].is(0, "SECTION"));
        EXPECT_TRUE(tags[2].is(0, "LINE"));
        EXPECT_EQ(tags[3].asHandle(), 0x2AFu);
        EXPECT_EQ(tags[4].type(), ValueType::Double);
        EXPECT_EQ(tags[4].asDouble(), -12.5);
        EXPECT_EQ(tags[5].asInt(), -7);
        EXPECT_EQ(tags[6].asInt(), -2000000000);
        EXPECT_EQ(tags[7].asInt(), std::numeric_limits<std::int64_t>::min());
        EXPECT_TRUE(tags[8].asBool());
        EXPECT_EQ(tags[9].asBinary(), (std::vector<std::uint8_t> {0x00, 0xFF, 0x10}));
        EXPECT_EQ(tags[10].code, 330);
        EXPECT_EQ(tags[10].asHandle(), 0x1Fu);
        EXPECT_EQ(tags[11].code, 1000);
        EXPECT_EQ(tags[11].asText(), L"xdata");
        EXPECT_EQ(tags[12].asDouble(), 0.1);
        EXPECT_EQ(tags[13].asInt(), 123456789);
        // Positions are byte offsets: the first tag right after the sentinel.
        EXPECT_EQ(tags[0].position().describe(), "byte 22");
        EXPECT_THROW((void)tags[4].asText(), std::logic_error);
    }
}

TEST(DxfBinaryReader, HeaderSetsTheEncoding)
{
    BinaryDxf file(true);
    file.string(0, "SECTION")
        .string(2, "HEADER")
        .string(9, "$ACADVER")
        .string(1, "AC1009")
        .string(9, "$DWGCODEPAGE")
        .string(3, "ansi_1251")
        .string(0, "ENDSEC")
        .string(1, "\xCF\xF0\xE8")
        .eof();
    TagReader reader(file.bytes());
    const auto tags = readAll(reader);
    ASSERT_EQ(tags.size(), 8u);
    EXPECT_EQ(reader.codec().version(), 1009);
    EXPECT_EQ(reader.codec().codePage(), "ANSI_1251");
    EXPECT_EQ(tags[7].asText(), L"\u041F\u0440\u0438");
}

TEST(DxfBinaryReader, EveryCutIsAnErrorWithItsOffset)
{
    const BinaryDxf file = everyType(false);
    const std::string& bytes = file.bytes();
    for (std::size_t cut = dxf::kBinarySentinel.size(); cut < bytes.size(); ++cut) {
        const std::string message = readError(std::string_view(bytes).substr(0, cut));
        EXPECT_EQ(message.rfind("byte ", 0), 0u) << "cut at " << cut << ": " << message;
        EXPECT_NE(message.find("truncated"), std::string::npos) << "cut at " << cut << ": " << message;
    }
    // The offset named is that of the tag that was cut: here the double of group code 10, whose
    // tag starts after the sentinel and four string tags.
    const std::size_t lineTag = dxf::kBinarySentinel.size() + (2 + 8) + (2 + 9) + (2 + 5) + (2 + 4);
    EXPECT_EQ(readError(std::string_view(bytes).substr(0, lineTag + 5)),
        "byte " + std::to_string(lineTag) + ": truncated binary DXF");
    EXPECT_EQ(readError(std::string_view(bytes).substr(0, lineTag)),
        "byte " + std::to_string(lineTag) + ": truncated: no EOF record");
}

TEST(DxfBinaryReader, ValuesThatCannotBeCoordinatesAreRefused)
{
    BinaryDxf file;
    file.string(0, "LINE").real(10, std::numeric_limits<double>::quiet_NaN()).eof();
    EXPECT_EQ(readError(file.bytes()), "byte 29: value of group code 10 is not a finite number");
}

TEST(DxfBinaryReader, AChunkLongerThanTheFileIsACut)
{
    BinaryDxf file;
    file.code(310);
    std::string bytes = file.bytes() + "\xFF" + "abc";
    EXPECT_EQ(readError(bytes), "byte 22: truncated binary DXF");
}

TEST(DxfBinaryReader, SentinelAloneIsTruncated)
{
    EXPECT_EQ(readError(dxf::kBinarySentinel), "byte 22: truncated: no EOF record");
}
