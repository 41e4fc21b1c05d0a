// Tests of reading ASCII DXF: values of every type, line ends, blanks, EOF and every kind of error.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "DxfTestSupport.h"

using dxf::Tag;
using dxf::TagReader;
using dxf::ValueType;
using dxftest::lines;
using dxftest::readAll;
using dxftest::readError;

TEST(DxfValueType, GroupCodesClassifiedByTheReference)
{
    struct Range {
        int first;
        int last;
        ValueType type;
    };
    using enum ValueType;
    const Range ranges[] = {
        {0, 9, String},
        {10, 59, Double},
        {60, 79, Int16},
        {90, 99, Int32},
        {100, 100, String},
        {102, 102, String},
        {105, 105, String},
        {110, 149, Double},
        {160, 169, Int64},
        {170, 179, Int16},
        {210, 239, Double},
        {270, 289, Int16},
        {290, 299, Bool},
        {300, 309, String},
        {310, 319, Binary},
        {320, 369, Handle},
        {370, 389, Int16},
        {390, 399, Handle},
        {400, 409, Int16},
        {410, 419, String},
        {420, 429, Int32},
        {430, 439, String},
        {440, 459, Int32},
        {460, 469, Double},
        {470, 479, String},
        {480, 481, Handle},
        {999, 999, String},
        {1000, 1003, String},
        {1004, 1004, Binary},
        {1005, 1009, String},
        {1010, 1059, Double},
        {1060, 1070, Int16},
        {1071, 1071, Int32},
        {-5, -1, String},
        {1072, 1100, String},
    };
    for (const Range& range : ranges)
        for (int code = range.first; code <= range.last; ++code)
            EXPECT_EQ(dxf::valueTypeOf(code), range.type) << "group code " << code;
}

TEST(DxfAsciiReader, ValuesOfEveryType)
{
    const std::string text = lines({"  0", "LINE", "  5", "2AF", " 10", "-12.5", " 40", "1e3", " 70", "-7",
        " 90", "2147483647", "160", "-9223372036854775808", "290", "1", "310", "0aFF10", "330", "1F", "1071",
        "-2147483648", "1040", "0.1", "  0", "EOF"});
    TagReader reader(text);
    const auto tags = readAll(reader);
    ASSERT_EQ(tags.size(), 12u);
    EXPECT_EQ(tags[0].code, 0);
    EXPECT_EQ(tags[0].raw(), "LINE");
    EXPECT_EQ(tags[0].asText(), L"LINE");
    EXPECT_EQ(tags[1].asHandle(), 0x2AFu);
    EXPECT_EQ(tags[2].type(), ValueType::Double);
    EXPECT_EQ(tags[2].asDouble(), -12.5);
    EXPECT_EQ(tags[3].asDouble(), 1000.0);
    EXPECT_EQ(tags[4].type(), ValueType::Int16);
    EXPECT_EQ(tags[4].asInt(), -7);
    EXPECT_EQ(tags[4].asDouble(), -7.0); // integers read as doubles too
    EXPECT_EQ(tags[5].asInt(), 2147483647);
    EXPECT_EQ(tags[6].asInt(), INT64_MIN);
    EXPECT_TRUE(tags[7].asBool());
    EXPECT_EQ(tags[8].asBinary(), (std::vector<std::uint8_t> {0x0A, 0xFF, 0x10}));
    EXPECT_EQ(tags[9].type(), ValueType::Handle);
    EXPECT_EQ(tags[9].asHandle(), 0x1Fu);
    EXPECT_EQ(tags[10].asInt(), -2147483648LL);
    EXPECT_EQ(tags[11].asDouble(), 0.1);
}

TEST(DxfAsciiReader, AccessorsOfTheWrongTypeAreCallerFaults)
{
    const std::string text = lines({"  8", "Layer", " 10", "1.5", "310", "AB", "  0", "EOF"});
    TagReader reader(text);
    const auto tags = readAll(reader);
    ASSERT_EQ(tags.size(), 3u);
    EXPECT_THROW(tags[0].asDouble(), std::logic_error);
    EXPECT_THROW(tags[0].asInt(), std::logic_error);
    EXPECT_THROW(tags[0].asBinary(), std::logic_error);
    EXPECT_THROW(tags[1].asInt(), std::logic_error);
    EXPECT_EQ(tags[1].asText(), L"1.5"); // the text as written
    EXPECT_THROW(tags[2].asDouble(), std::logic_error);
}

TEST(DxfAsciiReader, LineEndsAndBlanks)
{
    // The same drawing with LF, CRLF and a mix; blanks around group codes and numbers; values keep
    // their own leading and trailing blanks.
    const std::string variants[] = {
        "0\nSECTION\n  1\n  two words \n 10\n  2.5  \n\t70\t\n 3 \n0\nEOF\n",
        "0\r\nSECTION\r\n  1\r\n  two words \r\n 10\r\n  2.5  \r\n\t70\t\r\n 3 \r\n0\r\nEOF\r\n",
        "0\r\nSECTION\n  1\r\n  two words \n 10\r\n  2.5  \n\t70\t\r\n 3 \n0\r\nEOF",
    };
    for (const std::string& text : variants) {
        TagReader reader(text);
        const auto tags = readAll(reader);
        ASSERT_EQ(tags.size(), 4u) << text;
        EXPECT_TRUE(tags[0].is(0, "SECTION"));
        EXPECT_EQ(tags[1].code, 1);
        EXPECT_EQ(tags[1].raw(), "  two words ");
        EXPECT_EQ(tags[1].asText(), L"  two words ");
        EXPECT_EQ(tags[2].asDouble(), 2.5);
        EXPECT_EQ(tags[3].code, 70);
        EXPECT_EQ(tags[3].asInt(), 3);
    }
}

TEST(DxfAsciiReader, OnlyTheLineEndsCarriageReturnIsRemoved)
{
    TagReader reader("  1\nA\r\r\n  1\n\r\n0\nEOF\n");
    const auto tags = readAll(reader);
    ASSERT_EQ(tags.size(), 2u);
    EXPECT_EQ(tags[0].raw(), "A\r");
    EXPECT_EQ(tags[1].raw(), "");
}

TEST(DxfAsciiReader, ByteOrderMarkSkipped)
{
    TagReader reader("\xEF\xBB\xBF  0\nSECTION\n  0\nEOF\n");
    const auto tags = readAll(reader);
    ASSERT_EQ(tags.size(), 1u);
    EXPECT_TRUE(tags[0].is(0, "SECTION"));
}

TEST(DxfAsciiReader, EofEndsTheFileAndWhatFollowsIsIgnored)
{
    const std::string text = lines({"0", "SECTION", "0", "EOF", "ignore", "invalid", "garbage", "x.5"});
    TagReader reader(text);
    Tag tag;
    ASSERT_TRUE(reader.next(tag));
    EXPECT_FALSE(reader.next(tag));
    EXPECT_FALSE(reader.next(tag)); // and stays at the end
}

TEST(DxfAsciiReader, EveryCutOfAFileBeforeItsEofIsAnError)
{
    const std::string text
        = lines({"  0", "SECTION", "  2", "ENTITIES", "  0", "LINE", " 10", "1.25", "  0", "EOF"});
    const std::size_t complete = text.find("EOF") + 3;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        const std::string message = readError(std::string_view(text).substr(0, cut));
        if (cut >= complete)
            EXPECT_EQ(message, "") << "cut at " << cut;
        else
            EXPECT_NE(message.find("truncated"), std::string::npos) << "cut at " << cut << ": " << message;
    }
}

TEST(DxfAsciiReader, ErrorsNameTheLineAndTheProblem)
{
    struct Case {
        std::string text;
        std::string message;
    };
    const std::string head = lines({"  0", "SECTION", "  2", "HEADER"});
    const Case cases[] = {
        {"", "line 1: truncated: no EOF record"},
        {head, "line 5: truncated: no EOF record"},
        {head + "  0", "line 6: truncated: group code 0 has no value"},
        {head + "  0\n", "line 6: truncated: group code 0 has no value"},
        {head + "abc\nx\n", "line 5: group code 'abc' is not a number"},
        {head + "\nx\n", "line 5: group code '' is not a number"},
        {head + "1 0\nx\n", "line 5: group code '1 0' is not a number"},
        {head
                + "\xFF\xFE"
                  "0\nx\n",
            "line 5: group code '\\xff\\xfe0' is not a number"},
        {head + "70000\nx\n", "line 5: group code '70000' is out of range"},
        {head + " 40\nx.5\n", "line 6: value 'x.5' of group code 40 is not a number"},
        {head + " 40\n\n", "line 6: value '' of group code 40 is not a number"},
        {head + " 40\n1.5.1\n", "line 6: value '1.5.1' of group code 40 is not a number"},
        {head + " 40\n1,5\n", "line 6: value '1,5' of group code 40 is not a number"},
        {head + " 40\nnan\n", "line 6: value 'nan' of group code 40 is not a number"},
        {head + " 40\n-inf\n", "line 6: value '-inf' of group code 40 is not a number"},
        {head + " 40\n1e999\n", "line 6: value '1e999' of group code 40 is out of range"},
        {head + " 70\n1.5\n", "line 6: value '1.5' of group code 70 is not an integer"},
        {head + " 70\n70000\n", "line 6: value '70000' of group code 70 is out of range"},
        {head + " 90\n5000000000\n", "line 6: value '5000000000' of group code 90 is out of range"},
        {head + "160\n99999999999999999999\n",
            "line 6: value '99999999999999999999' of group code 160 is out of range"},
        {head + "290\nyes\n", "line 6: value 'yes' of group code 290 is not an integer"},
        {head + "  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n  3\nANSI_9999\n",
            "line 11: unknown code page 'ANSI_9999'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readError(c.text), c.message) << c.text;
}

TEST(DxfAsciiReader, NumbersInTheirUsualSpellings)
{
    struct Case {
        std::string_view text;
        double value;
    };
    const Case cases[] = {{"1", 1.0}, {"-0.5", -0.5}, {"+2.5", 2.5}, {".25", 0.25}, {"3.", 3.0},
        {"1E-3", 0.001}, {"1e+3", 1000}, {"  7.5", 7.5}, {"-0", -0.0},
        {"4.9406564584124654e-324", 4.9406564584124654e-324}};
    for (const Case& c : cases) {
        const std::string text = " 40\n" + std::string(c.text) + "\n  0\nEOF\n";
        TagReader reader(text);
        Tag tag;
        ASSERT_TRUE(reader.next(tag)) << c.text;
        EXPECT_EQ(tag.asDouble(), c.value) << c.text;
        EXPECT_EQ(std::signbit(tag.asDouble()), std::signbit(c.value)) << c.text;
    }
}

TEST(DxfAsciiReader, HandlesAndChunksAreCheckedWhenAsked)
{
    // Files in the wild put names and nothing at all into handle codes: that is not a reason to refuse
    // the file, but asking for the handle is.
    const std::string text
        = lines({"340", "Standard", "341", "", "  5", " 0A ", "310", "ABC", "310", "GG", "  0", "EOF"});
    TagReader reader(text);
    const auto tags = readAll(reader);
    ASSERT_EQ(tags.size(), 5u);
    EXPECT_FALSE(tags[0].tryHandle());
    try {
        (void)tags[0].asHandle();
        ADD_FAILURE() << "no error";
    } catch (const dxf::ReadError& error) {
        EXPECT_STREQ(error.what(), "line 2: value 'Standard' of group code 340 is not a handle");
    }
    EXPECT_THROW((void)tags[1].asHandle(), dxf::ReadError);
    EXPECT_EQ(tags[2].asHandle(), 0xAu);
    try {
        (void)tags[3].asBinary();
        ADD_FAILURE() << "no error";
    } catch (const dxf::ReadError& error) {
        EXPECT_STREQ(error.what(), "line 8: value 'ABC' of group code 310 is not hexadecimal data");
    }
    EXPECT_THROW((void)tags[4].asBinary(), dxf::ReadError);
}

TEST(DxfAsciiReader, UngetAndSkip)
{
    const std::string text
        = lines({"  0", "LINE", "  8", "0", " 10", "1.0", "  0", "CIRCLE", " 40", "2.0", "  0", "EOF"});
    TagReader reader(text);
    Tag tag;
    ASSERT_TRUE(reader.next(tag));
    ASSERT_TRUE(reader.next(tag));
    EXPECT_EQ(tag.code, 8);
    EXPECT_EQ(reader.line(), 3u);
    reader.unget();
    reader.unget(); // one tag only
    ASSERT_TRUE(reader.next(tag));
    EXPECT_EQ(tag.code, 8);
    EXPECT_EQ(reader.line(), 3u);

    ASSERT_TRUE(reader.skipTo(0, tag));
    EXPECT_TRUE(tag.is(0, "CIRCLE"));
    EXPECT_EQ(reader.line(), 7u);
    EXPECT_EQ(tag.position().describe(), "line 7");
    EXPECT_FALSE(reader.skipTo(0, tag)); // only EOF is left
    reader.unget(); // nothing to give back after the end
    EXPECT_FALSE(reader.next(tag));
}

TEST(DxfAsciiReader, OpenNamesTheFileItCannotRead)
{
    try {
        (void)TagReader::open("no-such-folder/no-such-drawing.dxf");
        ADD_FAILURE() << "no error";
    } catch (const dxf::ReadError& error) {
        EXPECT_STREQ(
            error.what(), "cannot open 'no-such-folder/no-such-drawing.dxf': No such file or directory");
    }
}
