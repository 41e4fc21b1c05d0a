// Tests of the script preprocessor (includes, defines, conditionals, comments) and of skipped blocks.
#include <gtest/gtest.h>

#include <string>

#include "host/resources/ScriptTestSupport.h"

namespace {

const char* const resourceHeader = R"(//{{NO_DEPENDENCIES}}
#include "ids_base.h"
#define IDD_CROSSING                    (IDD_BASE + 1)
#define IDC_FIRST                       1001
#define IDC_SECOND                      (IDC_FIRST + 1)
#define IDC_MASKED                      (0x8000 | 0x0040)
#define IDC_BELOW                       (IDC_FIRST - 2)
#define IDC_SHIFTED                     (1 << 4)
#define IDC_SUFFIXED                    0x10L

// Next default values for new objects
#ifdef APSTUDIO_INVOKED
#ifndef APSTUDIO_READONLY_SYMBOLS
#define _APS_NEXT_RESOURCE_VALUE        133
#endif
#endif
)";

const char* const baseHeader = R"(#pragma once
#define IDD_BASE 3000
/* shared with the C++ code, whose lines the resource compiler ignores */
extern int planRoadResourceVersion;
inline int resourceBase() { return "3000"[0]; }
)";

TEST(ScriptDefinesTest, HeadersContributeTheirNumericDefines)
{
    const scripttest::Files files {{"resource.h", resourceHeader}, {"ids_base.h", baseHeader}};
    const auto script = scripttest::parse("#include \"resource.h\"\n#include \"afxres.h\"\n", files);

    struct Case {
        const char* name;
        std::int64_t value;
    };
    const Case cases[] = {
        {"IDD_BASE", 3000},
        {"IDD_CROSSING", 3001},
        {"IDC_SECOND", 1002},
        {"IDC_MASKED", 0x8040},
        {"IDC_BELOW", 999},
        {"IDC_SHIFTED", 16},
        {"IDC_SUFFIXED", 16},
        {"IDOK", 1},
        {"IDCANCEL", 2},
        {"IDC_STATIC", -1},
        {"WS_CHILD", 0x40000000},
        {"WS_EX_CLIENTEDGE", 0x200},
        {"LVS_REPORT", 1},
        {"CBS_DROPDOWNLIST", 3},
        {"BS_PUSHLIKE", 0x1000},
        {"SS_BITMAP", 0xE},
        {"DS_MODALFRAME", 0x80},
        {"ES_AUTOHSCROLL", 0x80},
        {"WS_OVERLAPPEDWINDOW", 0x00CF0000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(script.define(c.name), c.value) << c.name;
    }
    EXPECT_FALSE(script.define("_APS_NEXT_RESOURCE_VALUE").has_value());
    EXPECT_FALSE(script.define("APSTUDIO_READONLY_SYMBOLS").has_value());
    EXPECT_FALSE(script.define("planRoadResourceVersion").has_value());
}

TEST(ScriptDefinesTest, SystemDefinitionsComeOnlyWithASystemHeader)
{
    const auto bare = scripttest::parse("#define IDC_X 5\n");
    EXPECT_EQ(bare.define("IDC_X"), 5);
    EXPECT_FALSE(bare.define("IDOK").has_value());

    const auto withWinres = scripttest::parse("#include <winres.h>\n");
    EXPECT_EQ(withWinres.define("IDOK"), 1);
}

TEST(ScriptDefinesTest, AUseSeesTheDefinitionInForceWhereItIsWritten)
{
    const auto script = scripttest::parse(R"(
#define IDS_A 5
STRINGTABLE BEGIN IDS_A "first" END
#undef IDS_A
#define IDS_A 6
STRINGTABLE BEGIN IDS_A "second" END
)");
    ASSERT_EQ(script.strings.size(), 2u);
    EXPECT_EQ(script.strings.at(5), L"first");
    EXPECT_EQ(script.strings.at(6), L"second");
    EXPECT_EQ(script.define("IDS_A"), 6);
}

struct ConditionalCase {
    const char* name;
    const char* block; // leaves exactly one STRINGTABLE entry 1 active
    const wchar_t* text;
};

const ConditionalCase conditionalCases[] = {
    {"ifdef taken", "#define F\n#ifdef F\nA\n#else\nB\n#endif\n", L"A"},
    {"ifdef not taken", "#ifdef F\nA\n#else\nB\n#endif\n", L"B"},
    {"ifndef", "#ifndef F\nA\n#else\nB\n#endif\n", L"A"},
    {"undef", "#define F\n#undef F\n#ifdef F\nA\n#else\nB\n#endif\n", L"B"},
    {"defined and not", "#define F\n#if defined(F) && !defined G\nA\n#else\nB\n#endif\n", L"A"},
    {"value test", "#define LEVEL 2\n#if LEVEL >= 3\nA\n#elif LEVEL == 2\nB\n#else\nC\n#endif\n", L"B"},
    {"elif after taken", "#if 1\nA\n#elif 1\nB\n#endif\n", L"A"},
    {"undefined is zero", "#if UNDEFINED_NAME\nA\n#else\nB\n#endif\n", L"B"},
    {"nested in skipped", "#if 0\n#ifdef RC_INVOKED\nA\n#endif\n#else\nB\n#endif\n", L"B"},
    {"rc predefines", "#if defined(RC_INVOKED) && defined(_WIN32)\nA\n#endif\n", L"A"},
    {"studio block", "#ifdef APSTUDIO_INVOKED\nA\n#endif\n#ifndef APSTUDIO_INVOKED\nB\n#endif\n", L"B"},
};

TEST(ScriptConditionalTest, OnlyTheChosenBranchIsRead)
{
    for (const ConditionalCase& c : conditionalCases) {
        SCOPED_TRACE(c.name);
        std::string script = c.block;
        // Each branch letter becomes a string-table entry 1 with that letter as text.
        for (const char letter : {'A', 'B', 'C'}) {
            const std::string line = std::string("\n") + letter + "\n";
            const std::string entry = std::string("\nSTRINGTABLE BEGIN 1 \"") + letter + "\" END\n";
            for (auto at = script.find(line); at != std::string::npos;
                 at = script.find(line, at + entry.size())) {
                script.replace(at, line.size(), entry);
            }
        }
        const auto parsed = scripttest::parse(script);
        ASSERT_EQ(parsed.strings.size(), 1u) << script;
        EXPECT_EQ(parsed.strings.at(1), c.text);
    }
}

// The blocks a resource editor writes besides dialogs and strings, which the host skips.
const char* const studioScript = R"(#include "resource.h"
#include "afxres.h"

LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED
#pragma code_page(65001)

#ifdef APSTUDIO_INVOKED
1 TEXTINCLUDE
BEGIN
    "resource.h\0"
END
#endif

3 TEXTINCLUDE
BEGIN
    "#include ""res\\PlanRoad.rc2""\r\n"
    "\0"
END

GUIDELINES DESIGNINFO
BEGIN
    IDD_CROSSING, DIALOG
    BEGIN
        LEFTMARGIN, 7
        BOTTOMMARGIN, 95
    END
END

VS_VERSION_INFO VERSIONINFO
 FILEVERSION 1,0,0,1
 PRODUCTVERSION 1,0,0,1
 FILEFLAGSMASK 0x3fL
#ifdef _DEBUG
 FILEFLAGS 0x1L
#else
 FILEFLAGS 0x0L
#endif
 FILEOS VOS_NT_WINDOWS32
 FILETYPE VFT_DLL
BEGIN
    BLOCK "StringFileInfo"
    BEGIN
        BLOCK "080404b0"
        BEGIN
            VALUE "FileDescription", "道路规划模块"
            VALUE "FileVersion", "1.0.0.1"
        END
    END
    BLOCK "VarFileInfo"
    BEGIN
        VALUE "Translation", 0x804, 1200
    END
END

IDR_POPUP MENU
BEGIN
    POPUP "道路"
    BEGIN
        MENUITEM "交叉口(&C)...\tCtrl+J", ID_ROAD_CROSSING
        MENUITEM SEPARATOR
    END
END

IDR_ACCEL ACCELERATORS
BEGIN
    "J", ID_ROAD_CROSSING, VIRTKEY, CONTROL, NOINVERT
END

IDD_CROSSING AFX_DIALOG_LAYOUT
BEGIN
    0
END

IDD_CROSSING DLGINIT
BEGIN
    IDC_FIRST, 0x403, 7, 0
0x81e9, 0xe893, 0xafb7, "\000"
    0
END

1 24 "PlanRoad.manifest"
IDR_TOOLBAR TOOLBAR 16, 15
BEGIN
    BUTTON ID_ROAD_CROSSING
END

IDD_CROSSING DIALOGEX 0, 0, 120, 60
STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION
LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED
CAPTION "交叉口" // the caption
FONT 9, "宋体", 0, 0, 0x0
BEGIN
    /* the two
       fields */
    EDITTEXT        IDC_FIRST,7,7,50,14 // first
    EDITTEXT        IDC_SECOND,7,24,50,14
END

STRINGTABLE
BEGIN
    IDC_FIRST "after every block"
END
)";

TEST(SkippedBlockTest, OtherResourcesAreSkippedAndWhatFollowsIsRead)
{
    const scripttest::Files files {{"resource.h", resourceHeader}, {"ids_base.h", baseHeader}};
    const auto script = scripttest::parse(studioScript, files);
    ASSERT_EQ(script.dialogs.size(), 1u);
    const arxhost::DialogTemplate* dialog = script.dialog(3001);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->caption, L"交叉口");
    EXPECT_EQ(dialog->charset, 0);
    ASSERT_EQ(dialog->controls.size(), 2u);
    EXPECT_EQ(dialog->controls[0].idName, L"IDC_FIRST");
    EXPECT_EQ(dialog->controls[1].id, 1002);
    ASSERT_EQ(script.strings.size(), 1u);
    EXPECT_EQ(script.strings.at(1001), L"after every block");
    EXPECT_TRUE(script.bitmaps.empty());
    EXPECT_TRUE(script.icons.empty());
}

TEST(IncludedScriptTest, ScriptsIncludedFromAScriptContributeResources)
{
    const scripttest::Files files {
        {"resource.h", "#define IDS_EXTRA 77\n"},
        {"res\\PlanRoad.rc2", "STRINGTABLE\nBEGIN\n    IDS_EXTRA \"附加\"\nEND\n"},
    };
    const auto script = scripttest::parse(
        "#include \"resource.h\"\n#ifndef APSTUDIO_INVOKED\n#include \"res\\PlanRoad.rc2\"\n"
        "#include \"l.chs\\afxres.rc\"\n#endif\n",
        files);
    ASSERT_NE(script.string(77), nullptr);
    EXPECT_EQ(*script.string(77), L"附加");
}

} // namespace
