// Tests of text encodings: code pages, UTF-8 by version, the \U+ and \M+ escapes, invalid bytes.
#include <gtest/gtest.h>

#include "DxfTestSupport.h"
#include "dxf/TagWriter.h"
#include "dxf/TextCodec.h"

using dxf::Tag;
using dxf::TagReader;
using dxf::TextCodec;
using dxftest::lines;
using dxftest::readAll;

namespace {

// "道路中线" (road centre line) in GBK, as a pre-2007 Chinese drawing holds it.
constexpr std::string_view kRoadCentreLineGbk = "\xB5\xC0\xC2\xB7\xD6\xD0\xCF\xDF";
constexpr std::wstring_view kRoadCentreLine = L"\u9053\u8def\u4e2d\u7ebf";

TextCodec codec(std::string_view version, std::string_view codePage)
{
    TextCodec result;
    EXPECT_TRUE(result.setVersion(version));
    EXPECT_TRUE(result.setCodePage(codePage));
    return result;
}

// The text of the first tag with group code 1 after the header of a drawing of this version and code page.
std::wstring textIn(std::string_view version, std::string_view codePage, std::string_view bytes)
{
    std::string file
        = lines({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1"}) + std::string(version) + "\n";
    if (!codePage.empty())
        file += "  9\n$DWGCODEPAGE\n  3\n" + std::string(codePage) + "\n";
    file += "  0\nENDSEC\n  1\n" + std::string(bytes) + "\n  0\nEOF\n";
    TagReader reader(file);
    Tag tag;
    while (reader.next(tag))
        if (tag.code == 1 && tag.raw() == bytes)
            return tag.asText();
    ADD_FAILURE() << "no text tag";
    return {};
}

} // namespace

TEST(DxfTextCodec, CodePageNames)
{
    struct Case {
        std::string_view name;
        std::string_view canonical;
    };
    const Case known[] = {{"ANSI_1252", "ANSI_1252"}, {"ansi_936", "ANSI_936"}, {" Ansi_950 ", "ANSI_950"},
        {"ANSI_874", "ANSI_874"}, {"ANSI_932", "ANSI_932"}, {"ANSI_949", "ANSI_949"},
        {"ANSI_1250", "ANSI_1250"}, {"ANSI_1258", "ANSI_1258"}, {"gb2312", "ANSI_936"}, {"BIG5", "ANSI_950"},
        {"DOS866", "DOS866"}, {"UTF8", "UTF-8"}};
    for (const Case& c : known) {
        TextCodec codec;
        EXPECT_TRUE(codec.setCodePage(c.name)) << c.name;
        EXPECT_EQ(codec.codePage(), c.canonical) << c.name;
    }
    TextCodec codec;
    for (const std::string_view unknown : {"ANSI_9999", "", "ANSI_12520", "1252"})
        EXPECT_FALSE(codec.setCodePage(unknown)) << unknown;
    EXPECT_EQ(codec.codePage(), "ANSI_1252"); // the default, unchanged by the failures
}

TEST(DxfTextCodec, DecodingByVersionAndCodePage)
{
    struct Case {
        std::string_view version;
        std::string_view codePage; // "" when the header names none
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {"AC1015", "",
            "Stra\xDF"
            "e \xC4",
            L"Stra\u00DFe \u00C4"}, // ANSI_1252 by default
        {"AC1018", "ANSI_936", std::string(kRoadCentreLineGbk), std::wstring(kRoadCentreLine)},
        {"AC1018", "ANSI_950", "\xB9\x44\xB8\xF4", L"\u9053\u8def"}, // Big5
        {"AC1015", "ANSI_932", "\x93\xFA\x96\x7B", L"\u65E5\u672C"}, // Shift-JIS
        {"AC1015", "ANSI_932", "\x83\x5C", L"\u30BD"}, // trail byte 0x5C is no backslash
        {"AC1015", "ANSI_949", "\xB5\xB5\xB7\xCE", L"\uB3C4\uB85C"}, // Korean
        {"AC1015", "ANSI_1251", "\xC4\xEE\xF0\xEE\xE3\xE0", L"\u0414\u043E\u0440\u043E\u0433\u0430"},
        {"AC1015", "ANSI_1253", "\xE4\xF1\xFC\xEC\xEF\xF2", L"\u03B4\u03C1\u03CC\u03BC\u03BF\u03C2"},
        {"AC1015", "ANSI_874", "\xB6\xB9\xB9", L"\u0E16\u0E19\u0E19"},
        // From R2007 on, UTF-8 whatever $DWGCODEPAGE says.
        {"AC1021", "ANSI_1252", "\xE9\x81\x93\xE8\xB7\xAF", L"\u9053\u8def"},
        {"AC1032", "ANSI_936", "\xC3\x84", L"\u00C4"},
        {"AC1024", "ANSI_9999", "ok", L"ok"}, // an unknown code page does not matter then
        // Invalid bytes become U+FFFD, the rest decodes.
        {"AC1024", "", "a\xC3", L"a\uFFFD"},
        {"AC1024", "", "\xE9\x81x", L"\uFFFDx"},
        {"AC1024", "", "\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"}, // an encoded surrogate
        {"AC1018", "ANSI_936", "\xB5\xC0\xFF\xB5", L"\u9053\uFFFD\uFFFD"},
        {"AC1018", "ANSI_1252", "\x81", L"\uFFFD"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(textIn(c.version, c.codePage, c.bytes), c.text)
            << c.version << " " << c.codePage << " " << c.bytes;
}

TEST(DxfTextCodec, EscapesDecoded)
{
    struct Case {
        std::string_view bytes;
        std::wstring_view text;
    };
    const Case cases[] = {
        {"\\U+0041", L"A"},
        {"x\\U+00e4y", L"x\u00E4y"},
        {"\\U+9053\\U+8DEF", L"\u9053\u8def"},
        {"\\\\U+0041", L"\\A"}, // a doubled backslash escapes nothing
        {"\\U+004", L"\\U+004"},
        {"\\U+00G1", L"\\U+00G1"},
        {"\\u+0041", L"\\u+0041"},
        {"\\U0041", L"\\U0041"},
        {"\\P\\S1^2;", L"\\P\\S1^2;"}, // MTEXT's own codes are for the caller
        {"\\U+D83D\\U+DE00", L"\U0001F600"},
        {"\\U+D83D", L"\uFFFD"},
        {"\\U+DE00x", L"\uFFFDx"},
        {"\\U+D83Dx", L"\uFFFDx"},
        {"\\M+5B5C0", L"\u9053"}, // GBK
        {"\\M+193FA", L"\u65E5"}, // Shift-JIS
        {"\\M+5FFFF", L"\uFFFD"}, // no such character
        {"\\M+6B5C0", L"\\M+6B5C0"}, // no such code page
        {"\\U+005CU+0041", L"\\U+0041"},
        // NULs, as bytes or escaped, cannot live in the host's strings: replaced.
        {std::string_view("a\0b\0", 4), L"a\uFFFDb\uFFFD"},
        {std::string_view("\0\0", 2), L"\uFFFD\uFFFD"},
        {"x\\U+0000y", L"x\uFFFDy"},
    };
    TextCodec codec;
    for (const Case& c : cases) {
        EXPECT_EQ(codec.decode(c.bytes), c.text) << c.bytes;
        EXPECT_EQ(textIn("AC1024", "", c.bytes), c.text) << c.bytes << " in UTF-8";
    }
}

TEST(DxfTextCodec, EncodingForEachVersion)
{
    struct Case {
        std::string_view version;
        std::string_view codePage;
        std::wstring_view text;
        std::string_view bytes;
    };
    const Case cases[] = {
        {"AC1018", "ANSI_936", kRoadCentreLine, kRoadCentreLineGbk},
        {"AC1018", "ANSI_936", L"K1+200 \u05D0", "K1+200 \\U+05D0"}, // no Hebrew in GBK
        {"AC1015", "ANSI_1252", L"\u00C4\u20AC", "\xC4\x80"},
        {"AC1015", "ANSI_1252", L"\u03B1\u9053", "\\U+03B1\\U+9053"},
        {"AC1015", "ANSI_1252", L"\U0001F600", "\\U+D83D\\U+DE00"},
        {"AC1015", "ANSI_1251", L"\u0414", "\xC4"},
        {"AC1015", "ANSI_932", L"\u65E5\u00A5", "\x93\xFA\\U+00A5"}, // no yen sign that reads back as itself
        {"AC1024", "ANSI_1252", kRoadCentreLine, "\xE9\x81\x93\xE8\xB7\xAF\xE4\xB8\xAD\xE7\xBA\xBF"},
        {"AC1024", "ANSI_1252", L"\U0001F600", "\xF0\x9F\x98\x80"},
        {"AC1024", "ANSI_1252", std::wstring_view(L"\xD800x", 2), "\xEF\xBF\xBDx"},
        // Line breaks and backslashes that would start an escape, in every version.
        {"AC1015", "ANSI_1252", L"a\r\nb", "a\\U+000D\\U+000Ab"},
        {"AC1024", "ANSI_1252", L"a\nb", "a\\U+000Ab"},
        {"AC1024", "ANSI_1252", L"\\U+0041", "\\U+005CU+0041"},
        {"AC1024", "ANSI_1252", L"\\M+5B5C0", "\\U+005CM+5B5C0"},
        {"AC1024", "ANSI_1252", L"\\P\\\\x\\", "\\P\\\\x\\"},
    };
    for (const Case& c : cases) {
        const TextCodec codec = ::codec(c.version, c.codePage);
        const std::string bytes = codec.encode(c.text);
        EXPECT_EQ(bytes, c.bytes) << c.version << " " << c.codePage;
        std::wstring expected(c.text);
        for (wchar_t& ch : expected)
            if (ch >= 0xD800 && ch <= 0xDFFF)
                ch = 0xFFFD;
        EXPECT_EQ(codec.decode(bytes), expected) << c.version << " " << c.codePage << ": round trip";
    }
}

TEST(DxfTextCodec, RepresentableCharacters)
{
    const TextCodec gbk = codec("AC1018", "ANSI_936");
    EXPECT_TRUE(gbk.representable(L'\u9053'));
    EXPECT_TRUE(gbk.representable(L'a'));
    EXPECT_FALSE(gbk.representable(L'\u05D0'));
    const TextCodec latin = codec("AC1015", "ANSI_1252");
    EXPECT_TRUE(latin.representable(L'\u00C4'));
    EXPECT_FALSE(latin.representable(L'\u9053'));
    const TextCodec unicode = codec("AC1024", "ANSI_1252");
    EXPECT_TRUE(unicode.representable(L'\u9053'));
    EXPECT_FALSE(unicode.representable(static_cast<wchar_t>(0xD800)));
}

TEST(DxfTextCodec, ChineseDrawingRoundTripInGbk)
{
    // An R2004 drawing in ANSI_936: layer and text in Chinese, one character GBK lacks.
    dxf::TagWriter writer(dxf::Version::R2004, "ANSI_936", dxf::LineEnd::Lf);
    writer.writeString(0, "SECTION");
    writer.writeString(2, "HEADER");
    writer.writeString(9, "$ACADVER");
    writer.writeString(1, dxf::acadVer(writer.version()));
    writer.writeString(9, "$DWGCODEPAGE");
    writer.writeString(3, writer.codec().codePage());
    writer.writeString(0, "ENDSEC");
    writer.writeString(0, "TEXT");
    writer.writeText(8, L"\u9053\u8def-\u4e2d\u7ebf");
    writer.writeText(1, std::wstring(kRoadCentreLine) + L" K0+100 \u05D0");
    writer.writeString(0, "EOF");
    const std::string file(writer.data());
    EXPECT_NE(file.find(std::string(kRoadCentreLineGbk) + " K0+100 \\U+05D0\n"), std::string::npos);

    TagReader reader(file);
    const auto tags = readAll(reader);
    ASSERT_EQ(tags.size(), 10u);
    EXPECT_EQ(reader.codec().codePage(), "ANSI_936");
    EXPECT_EQ(tags[8].asText(), L"\u9053\u8def-\u4e2d\u7ebf");
    EXPECT_EQ(tags[9].asText(), std::wstring(kRoadCentreLine) + L" K0+100 \u05D0");
}

TEST(DxfTextCodec, CallerMaySetTheEncodingOfADrawingWithoutHeader)
{
    const std::string file = "  1\n" + std::string(kRoadCentreLineGbk) + "\n  0\nEOF\n";
    TagReader reader(file);
    ASSERT_TRUE(reader.codec().setCodePage("ANSI_936"));
    Tag tag;
    ASSERT_TRUE(reader.next(tag));
    EXPECT_EQ(tag.asText(), kRoadCentreLine);
}

TEST(DxfTextCodec, CallerSettingsWinWhenTheHeaderIsNotFollowed)
{
    const std::string file = lines({"  9", "$ACADVER", "  1", "AC1015", "  9", "$DWGCODEPAGE", "  3",
        "ANSI_1252", "  1", "\xE9\x81\x93", "  0", "EOF"});
    TagReader reader(file);
    reader.followHeader(false);
    ASSERT_TRUE(reader.codec().setVersion("AC1024"));
    const auto tags = readAll(reader);
    ASSERT_EQ(tags.size(), 5u);
    EXPECT_EQ(tags[4].asText(), L"\u9053");
    EXPECT_EQ(reader.codec().version(), 1024);
}
