// Tests of DLGINIT blocks: the list and combo box items a dialog is created with.
#include <gtest/gtest.h>

#include <string>

#include "host/resources/ScriptTestSupport.h"

namespace {

const char* const initHeader = R"(
#define IDD_PRECISION 3100
#define IDC_DIGITS    206
#define IDC_NAMES     207
)";

// As the resource editor writes it: the bytes of each item as little-endian words, an odd
// length ending in a "\000" literal, and a lone 0 at the end.
const char* const initScript = R"(#include "resource.h"
#pragma code_page(65001)

IDD_PRECISION DLGINIT
BEGIN
    IDC_DIGITS, 0x403, 2, 0
0x0030,
    IDC_DIGITS, 0x403, 4, 0
0x2e30, 0x0030,
    IDC_DIGITS, 0x403, 5, 0
0x2e30, 0x3030, "\000"
    IDC_NAMES, 0x401, 7, 0
0x81e9, 0xe893, 0xafb7, "\000"
    IDC_NAMES, 0x401, 6, 0
"a""b\\c", 0
    0
END

STRINGTABLE
BEGIN
    1 "after the block"
END
)";

TEST(DialogInitTest, ItemsKeepTheirControlMessageAndTextInScriptOrder)
{
    const scripttest::Files files {{"resource.h", initHeader}};
    const auto script = scripttest::parse(initScript, files);
    ASSERT_EQ(script.dialogInit.count(3100), 1u);
    const auto& items = script.dialogInit.at(3100);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0].controlId, 206);
    EXPECT_EQ(items[0].message, 0x403);
    EXPECT_EQ(items[0].text, L"0");
    EXPECT_EQ(items[1].text, L"0.0");
    EXPECT_EQ(items[2].text, L"0.00"); // the odd byte is the terminating zero
    EXPECT_EQ(items[3].controlId, 207);
    EXPECT_EQ(items[3].message, 0x401);
    EXPECT_EQ(items[3].text, L"道路");
    EXPECT_EQ(items[4].text, L"a\"b\\c"); // literal quotes and backslashes are the item's own
    // What follows the block is still read.
    ASSERT_NE(script.string(1), nullptr);
    EXPECT_EQ(*script.string(1), L"after the block");
}

TEST(DialogInitTest, ABlockCutShortNamesItsLine)
{
    const scripttest::Files files {{"resource.h", initHeader}};
    const std::string cutShort = R"(#include "resource.h"
IDD_PRECISION DLGINIT
BEGIN
    IDC_DIGITS, 0x403, 4, 0
0x2e30,
)";
    try {
        scripttest::parse(cutShort, files);
        FAIL() << "a DLGINIT without END was accepted";
    } catch (const std::exception& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("PlanRoad.rc"), std::string::npos) << message;
        EXPECT_NE(message.find("DLGINIT"), std::string::npos) << message;
    }
}

} // namespace
