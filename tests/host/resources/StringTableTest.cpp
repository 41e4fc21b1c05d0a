// Tests of string tables, string escapes and file resources (bitmaps, icons) of a resource script.
#include <gtest/gtest.h>

#include <string>

#include "host/resources/ScriptTestSupport.h"

namespace {

const char* const stringHeader = R"(
#define IDS_BASE        57600
#define IDS_TITLE       (IDS_BASE + 0)
#define IDS_QUOTE       (IDS_BASE + 1)
#define IDS_LINES       (IDS_BASE + 2)
#define IDS_TAB         (IDS_BASE + 3)
#define IDS_PATH        (IDS_BASE + 4)
#define IDS_ESCAPED     (IDS_BASE + 5)
#define IDS_HEX         (IDS_BASE + 6)
#define IDS_WIDE        (IDS_BASE + 7)
#define IDS_JOINED      (IDS_BASE + 8)
#define IDS_FORMAT      (IDS_BASE + 9)
#define IDS_COMMA       (IDS_BASE + 10)
#define IDS_OCTAL       (IDS_BASE + 11)
#define IDS_UNKNOWN     (IDS_BASE + 12)
#define IDS_ASTRAL      (IDS_BASE + 13)
#define IDS_COMMENTISH  (IDS_BASE + 14)
#define IDB_CROSSING    130
#define IDR_PLANROAD    128
)";

const char* const stringScript = R"(#include "resource.h"
#pragma code_page(65001)

STRINGTABLE DISCARDABLE
BEGIN
    IDS_TITLE       "道路规划"
    IDS_QUOTE       "他说""好"""
    IDS_LINES       "第一行\n第二行"
    IDS_TAB         "桩号\t里程"
    IDS_PATH        "D:\\道路\\图纸"
    IDS_ESCAPED     "选择 \"交叉口\""
    IDS_HEX         "\x41\x42C"
    IDS_WIDE        L"\x6C5F\x6CB3"
    IDS_JOINED      "前" "后"
    IDS_FORMAT      "%d 个交叉口, %.3f 米"
END

STRINGTABLE
LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED
{
    IDS_COMMA,      "逗号"
    IDS_OCTAL       "a\101\0b"
    IDS_UNKNOWN     "\q\é"
    IDS_ASTRAL      "𝄞"
    IDS_COMMENTISH  "http://道路/*不是注释*/"
}

IDB_CROSSING            BITMAP                  "res\\crossing.bmp"
IDR_PLANROAD            ICON    DISCARDABLE     "res\\PlanRoad.ico"
131                     BITMAP                  "res\\路口.bmp"
)";

struct StringCase {
    int offset; // from IDS_BASE
    std::wstring text;
};

const StringCase stringCases[] = {
    {0, L"道路规划"},
    {1, L"他说\"好\""},
    {2, L"第一行\n第二行"},
    {3, L"桩号\t里程"},
    {4, L"D:\\道路\\图纸"},
    {5, L"选择 \"交叉口\""},
    {6, L"ABC"}, // two hex digits at most in a narrow string
    {7, L"江河"}, // four in a wide one
    {8, L"前后"},
    {9, L"%d 个交叉口, %.3f 米"},
    {10, L"逗号"},
    {11, std::wstring(L"aA") + L'\0' + L"b"},
    {12, L"\\q\\é"}, // unknown escapes stay as written
    {13, L"\U0001D11E"},
    {14, L"http://道路/*不是注释*/"},
};

TEST(StringTableTest, EntriesAreDecodedWithTheirEscapes)
{
    const scripttest::Files files {{"resource.h", stringHeader}};
    const auto script = scripttest::parse(stringScript, files);
    EXPECT_EQ(script.strings.size(), std::size(stringCases));
    for (const StringCase& c : stringCases) {
        const std::wstring* text = script.string(57600 + c.offset);
        ASSERT_NE(text, nullptr) << "IDS_BASE + " << c.offset;
        EXPECT_EQ(*text, c.text) << "IDS_BASE + " << c.offset;
    }
    EXPECT_EQ(script.string(57599), nullptr);
}

TEST(StringTableTest, BitmapsAndIconsMapIdsToFileNames)
{
    const scripttest::Files files {{"resource.h", stringHeader}};
    const auto script = scripttest::parse(stringScript, files);
    ASSERT_EQ(script.bitmaps.size(), 2u);
    EXPECT_EQ(script.bitmaps.at(130), "res\\crossing.bmp");
    EXPECT_EQ(script.bitmaps.at(131), "res\\路口.bmp");
    ASSERT_EQ(script.icons.size(), 1u);
    EXPECT_EQ(script.icons.at(128), "res\\PlanRoad.ico");
}

TEST(StringTableTest, MacrosStandingForStringsCanBeUsedAsText)
{
    const auto script = scripttest::parse(R"(
#define APP_NAME "道路规划"
#define IDS_APP 5
STRINGTABLE BEGIN IDS_APP APP_NAME END
)");
    ASSERT_NE(script.string(5), nullptr);
    EXPECT_EQ(*script.string(5), L"道路规划");
}

} // namespace
