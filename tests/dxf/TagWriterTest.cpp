// Tests of the tag writer: the layout of each value type, refusals, and round trips through the reader.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>
#include <stdexcept>

#include "DxfTestSupport.h"
#include "dxf/TagWriter.h"

using dxf::LineEnd;
using dxf::TagReader;
using dxf::TagWriter;
using dxf::Version;
using dxftest::readAll;

TEST(DxfTagWriter, LayoutOfEachValueType)
{
    TagWriter writer;
    writer.writeString(0, "LINE");
    writer.writeHandle(5, 0x2AF);
    writer.writeHandle(330, 0x1F);
    writer.writeString(100, "AcDbEntity");
    writer.writeInt(70, -7);
    writer.writeInt(90, 4294967295LL);
    writer.writeInt(160, std::numeric_limits<std::int64_t>::min());
    writer.writeBool(290, true);
    const std::uint8_t chunk[] = {0x0A, 0xFF};
    writer.writeBinary(310, chunk);
    writer.writePoint(10, 1, -2.5, 1e20);
    writer.writeDouble(1040, 0.1);
    writer.writeText(1000, L"\u9053");
    EXPECT_EQ(writer.data(),
        "  0\r\nLINE\r\n  5\r\n2AF\r\n330\r\n1F\r\n100\r\nAcDbEntity\r\n 70\r\n-7\r\n"
        " 90\r\n4294967295\r\n160\r\n-9223372036854775808\r\n290\r\n1\r\n310\r\n0AFF\r\n"
        " 10\r\n1.0\r\n 20\r\n-2.5\r\n 30\r\n1.0e+20\r\n1040\r\n0.1\r\n"
        "1000\r\n\xE9\x81\x93\r\n");
}

TEST(DxfTagWriter, DoublesInTheirShortestFormWithAPoint)
{
    struct Case {
        double value;
        std::string_view text;
    };
    const Case cases[] = {{0.0, "0.0"}, {-0.0, "-0.0"}, {1.0, "1.0"}, {-12.0, "-12.0"}, {0.1, "0.1"},
        {1.0 / 3, "0.3333333333333333"}, {123456.789, "123456.789"}, {500000.0, "500000.0"},
        {100000.25, "100000.25"}, {1e-5, "0.00001"}, {1e15, "1000000000000000.0"}, {-3e16, "-3.0e+16"},
        {1e20, "1.0e+20"}, {1.5e-7, "1.5e-07"}, {1e-7, "1.0e-07"}, {5e-324, "5.0e-324"},
        {1.7976931348623157e308, "1.7976931348623157e+308"}};
    for (const Case& c : cases) {
        TagWriter writer(Version::R2010, "ANSI_1252", LineEnd::Lf);
        writer.writeDouble(40, c.value);
        EXPECT_EQ(writer.data(), " 40\n" + std::string(c.text) + "\n") << c.text;
    }
}

TEST(DxfTagWriter, ValuesThatWouldNotReadBackAreRefused)
{
    TagWriter writer;
    EXPECT_THROW(writer.writeDouble(8, 1.0), std::invalid_argument);
    EXPECT_THROW(writer.writeDouble(40, std::numeric_limits<double>::infinity()), std::invalid_argument);
    EXPECT_THROW(writer.writeDouble(40, std::nan("")), std::invalid_argument);
    EXPECT_THROW(writer.writeInt(70, 70000), std::invalid_argument);
    EXPECT_THROW(writer.writeInt(90, 5000000000LL), std::invalid_argument);
    EXPECT_THROW(writer.writeInt(40, 1), std::invalid_argument);
    EXPECT_THROW(writer.writeText(10, L"x"), std::invalid_argument);
    EXPECT_THROW(writer.writeString(330, "1F"), std::invalid_argument);
    EXPECT_THROW(writer.writeHandle(70, 1), std::invalid_argument);
    EXPECT_THROW(writer.writeBool(70, true), std::invalid_argument);
    EXPECT_THROW(writer.writeBinary(1000, {}), std::invalid_argument);
    EXPECT_EQ(writer.size(), 0u); // nothing half-written
    EXPECT_THROW(TagWriter(Version::R2004, "ANSI_9999"), std::invalid_argument);
}

TEST(DxfTagWriter, LineBreaksNeverSplitAValue)
{
    TagWriter writer(Version::R2010, "ANSI_1252", LineEnd::Lf);
    writer.writeText(1, L"first\nsecond\r\n");
    writer.writeString(1, "raw\nbytes");
    writer.writeString(0, "EOF");
    EXPECT_EQ(writer.data(), "  1\nfirst\\U+000Asecond\\U+000D\\U+000A\n  1\nraw\\U+000Abytes\n  0\nEOF\n");
    TagReader reader(writer.data());
    const auto tags = readAll(reader);
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0].asText(), L"first\nsecond\r\n");
    EXPECT_EQ(tags[1].asText(), L"raw\nbytes");
}

TEST(DxfTagWriter, RoundTripOfEveryValueTypeInEveryVersion)
{
    const std::wstring text = L"  \u9053\u8def K0+050.00 \u00C4 \\U+0041 \U0001F600 ";
    for (const Version version :
        {Version::R2000, Version::R2004, Version::R2007, Version::R2010, Version::R2013, Version::R2018}) {
        SCOPED_TRACE(std::string(dxf::acadVer(version)));
        TagWriter writer(version, "ANSI_936");
        writer.writeString(9, "$ACADVER");
        writer.writeString(1, dxf::acadVer(version));
        writer.writeString(9, "$DWGCODEPAGE");
        writer.writeString(3, "ANSI_936");
        writer.writeText(1, text);
        writer.writeDouble(10, -1234.5678);
        writer.writeInt(62, -32768);
        writer.writeInt(90, -2147483648LL);
        writer.writeInt(160, std::numeric_limits<std::int64_t>::max());
        writer.writeBool(290, false);
        writer.writeHandle(330, 0xFFFFFFFFFFFFFFFFull);
        const std::uint8_t chunk[] = {0, 1, 0xFE, 0xFF};
        writer.writeBinary(1004, chunk);
        writer.writeString(0, "EOF");

        TagReader reader(writer.data());
        const auto tags = readAll(reader);
        ASSERT_EQ(tags.size(), 12u);
        EXPECT_EQ(tags[4].asText(), text);
        EXPECT_EQ(tags[5].asDouble(), -1234.5678);
        EXPECT_EQ(tags[6].asInt(), -32768);
        EXPECT_EQ(tags[7].asInt(), -2147483648LL);
        EXPECT_EQ(tags[8].asInt(), std::numeric_limits<std::int64_t>::max());
        EXPECT_FALSE(tags[9].asBool());
        EXPECT_EQ(tags[10].asHandle(), 0xFFFFFFFFFFFFFFFFull);
        EXPECT_EQ(tags[11].asBinary(), (std::vector<std::uint8_t> {0, 1, 0xFE, 0xFF}));
    }
}

TEST(DxfTagWriter, DoublesRoundTripBitExactly)
{
    std::vector<double> values = {0.0, -0.0, 0.1, 1.0 / 3, 2.0 / 3, std::numeric_limits<double>::min(),
        std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
        std::numeric_limits<double>::lowest(), std::numeric_limits<double>::epsilon(), 500000.12345678901,
        3.141592653589793};
    std::mt19937_64 random(20261205);
    while (values.size() < 20000) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value))
            values.push_back(value);
    }
    std::uniform_real_distribution<double> coordinate(-1e6, 1e6);
    for (int i = 0; i < 5000; ++i)
        values.push_back(coordinate(random));

    TagWriter writer;
    for (const double value : values)
        writer.writeDouble(40, value);
    writer.writeString(0, "EOF");
    TagReader reader(writer.data());
    const auto tags = readAll(reader);
    ASSERT_EQ(tags.size(), values.size());
    std::size_t mismatches = 0;
    for (std::size_t i = 0; i < values.size(); ++i)
        if (std::bit_cast<std::uint64_t>(tags[i].asDouble()) != std::bit_cast<std::uint64_t>(values[i]))
            ++mismatches;
    EXPECT_EQ(mismatches, 0u);
}

TEST(DxfTagWriter, CopiesReadTagsIntoAnotherEncoding)
{
    // An R2000 Latin drawing copied tag by tag into R2018: the text changes encoding, the values not.
    const std::string source = dxftest::lines({"  9", "$ACADVER", "  1", "AC1015", "  1",
        "Stra\xDF"
        "e \\U+9053",
        "340", "Standard", "330", "0A", " 70", "  3", "  0", "EOF"});
    TagReader reader(source);
    TagWriter writer(Version::R2018, "ANSI_1252", LineEnd::Lf);
    dxf::Tag tag;
    while (reader.next(tag)) {
        if (tag.is(1, "AC1015"))
            writer.writeString(1, dxf::acadVer(writer.version()));
        else
            writer.write(tag);
    }
    EXPECT_EQ(writer.data(),
        "  9\n$ACADVER\n  1\nAC1032\n  1\nStra\xC3\x9F"
        "e \xE9\x81\x93\n340\nStandard\n"
        "330\nA\n 70\n3\n");
}

TEST(DxfTagWriter, ClearKeepsWriting)
{
    TagWriter writer(Version::R2010, "ANSI_1252", LineEnd::Lf);
    std::string flushed;
    for (int i = 0; i < 100000; ++i) {
        writer.writeInt(90, i);
        if (writer.size() > 4096) {
            flushed += writer.data();
            writer.clear();
        }
    }
    writer.writeString(0, "EOF");
    flushed += writer.data();
    TagReader reader(flushed);
    const auto tags = readAll(reader);
    ASSERT_EQ(tags.size(), 100000u);
    EXPECT_EQ(tags.back().asInt(), 99999);
}
