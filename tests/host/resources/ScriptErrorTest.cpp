// Tests of the errors a malformed resource script raises: file, line and what was expected.
#include <gtest/gtest.h>

#include <string>

#include "host/resources/ScriptTestSupport.h"

namespace {

const char* const defaultHeader = "#define IDD_X 100\n#define IDC_OK 1000\n";

// A dialog around one control line; the comment shifts the lines so that numbering is tested too.
std::string inDialog(const std::string& line)
{
    return "#include \"resource.h\"\n#include \"afxres.h\"\n/* the dialog\n   of the test */\n"
           "IDD_X DIALOGEX 0, 0, 100, 100\nBEGIN\n    "
        + line + "\nEND\n";
}

struct ErrorCase {
    const char* name;
    std::string script;
    std::string header; // resource.h
    const char* file; // where the error is, which holds the marker '@' on the offending line
    const char* message;
};

const ErrorCase errorCases[] = {
    {"comma after id", inDialog("LTEXT \"a\", IDC_STATIC 7, 7, 10, 8 // @"), defaultHeader, "PlanRoad.rc",
        "expected ',' after control id"},
    {"comma after x", inDialog("PUSHBUTTON \"a\", IDC_OK, 7 7, 10, 8 // @"), defaultHeader, "PlanRoad.rc",
        "expected ',' after control x"},
    {"unknown control id", inDialog("EDITTEXT IDC_MISSING, 7, 7, 10, 8 // @"), defaultHeader, "PlanRoad.rc",
        "unknown identifier 'IDC_MISSING'"},
    {"unknown dialog id", "IDD_MISSING DIALOGEX 0, 0, 10, 10 // @\nBEGIN\nEND\n", defaultHeader,
        "PlanRoad.rc", "unknown identifier 'IDD_MISSING'"},
    {"unknown name inside a macro", inDialog("EDITTEXT IDC_B, 7, 7, 10, 8 // @"),
        std::string(defaultHeader) + "#define IDC_B (IDC_A + 1)\n", "PlanRoad.rc",
        "unknown identifier 'IDC_A' in the value of macro 'IDC_B'"},
    {"string macro as id", inDialog("EDITTEXT IDC_NAME, 7, 7, 10, 8 // @"),
        std::string(defaultHeader) + "#define IDC_NAME \"x\"\n", "PlanRoad.rc",
        "macro 'IDC_NAME' is a string, not a number"},
    {"function-like macro", inDialog("EDITTEXT MAKE_ID, 7, 7, 10, 8 // @"),
        std::string(defaultHeader) + "#define MAKE_ID(n) (1000 + n)\n", "PlanRoad.rc",
        "function-like macro 'MAKE_ID' cannot be used here"},
    {"division by zero", inDialog("EDITTEXT 100 / 0, 7, 7, 10, 8 // @"), defaultHeader, "PlanRoad.rc",
        "division by zero"},
    {"unknown control statement", inDialog("SLIDER IDC_OK, 7, 7, 10, 8 // @"), defaultHeader, "PlanRoad.rc",
        "expected a control statement, found 'SLIDER'"},
    {"unterminated string", inDialog("LTEXT \"abc, IDC_STATIC, 1, 2, 3, 4 // @"), defaultHeader,
        "PlanRoad.rc", "unterminated string literal"},
    {"class missing", inDialog("CONTROL \"a\", IDC_OK, 7, 7, 10, 8, 9 // @"), defaultHeader, "PlanRoad.rc",
        "expected a control class, found '7'"},
    {"font without comma",
        "#include \"resource.h\"\nIDD_X DIALOG 0, 0, 10, 10\nFONT 9 \"宋体\" // @\nBEGIN\nEND\n",
        defaultHeader, "PlanRoad.rc", "expected ',' after font size"},
    {"dialog without END",
        "#include \"resource.h\"\nIDD_X DIALOGEX 0, 0, 10, 10\nBEGIN // @\n  LTEXT \"a\", 1, 1, 1, 1, 1\n",
        defaultHeader, "PlanRoad.rc", "has no END"},
    {"string without text", "STRINGTABLE\nBEGIN\n    1 2 // @\nEND\n", defaultHeader, "PlanRoad.rc",
        "expected a string after the string id, found '2'"},
    {"duplicate string", "STRINGTABLE\nBEGIN\n    1 \"a\"\n    1 \"b\" // @\nEND\n", defaultHeader,
        "PlanRoad.rc", "duplicate string id 1"},
    {"duplicate dialog", "5 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n5 DIALOG 0, 0, 1, 1 // @\nBEGIN\nEND\n",
        defaultHeader, "PlanRoad.rc", "duplicate dialog id '5'"},
    {"stray END", "END // @\n", defaultHeader, "PlanRoad.rc", "expected a resource statement, found 'END'"},
    {"endif without if", "#define A 1\n#endif // @\n", defaultHeader, "PlanRoad.rc", "#endif without #if"},
    {"if without endif", "#define A 1\n#if A // @\nSTRINGTABLE BEGIN 1 \"a\" END\n", defaultHeader,
        "PlanRoad.rc", "#if without #endif"},
    {"else after else", "#if 0\n#else\n#else // @\n#endif\n", defaultHeader, "PlanRoad.rc",
        "#else after #else"},
    {"missing include", "#include \"resource.h\"\n#include \"missing.h\" // @\n", defaultHeader,
        "PlanRoad.rc", "cannot open include file 'missing.h'"},
    {"error directive", "#ifndef UNICODE_BUILD\n#error 需要 Unicode // @\n#endif\n", defaultHeader,
        "PlanRoad.rc", "#error 需要 Unicode"},
    {"unterminated comment", "#define A 1\n/* @ never closed\nSTRINGTABLE BEGIN 1 \"a\" END\n", defaultHeader,
        "PlanRoad.rc", "unterminated comment"},
    {"invalid UTF-8", "STRINGTABLE\nBEGIN\n    1 \"\xC3(\" // @\nEND\n", defaultHeader, "PlanRoad.rc",
        "invalid UTF-8 in string literal"},
    {"bad directive in header", "#include \"resource.h\"\n", "#define IDC_A 1\n\n#bogus 2 // @\n",
        "resource.h", "unknown preprocessor directive '#bogus'"},
    {"open #if in header", "#include \"resource.h\"\n#endif\n", "#define IDC_A 1\n#ifdef IDC_A // @\n",
        "resource.h", "#if without #endif"},
};

TEST(ScriptErrorTest, ErrorsNameTheFileTheLineAndWhatWasExpected)
{
    for (const ErrorCase& c : errorCases) {
        SCOPED_TRACE(c.name);
        const scripttest::Files files {{"resource.h", c.header}};
        const std::string& where = std::string(c.file) == "resource.h" ? c.header : c.script;
        const int line = scripttest::lineOf(where, "@");
        ASSERT_GT(line, 0) << "the case has no marker";
        try {
            scripttest::parse(c.script, files);
            ADD_FAILURE() << "no error raised";
        } catch (const arxhost::ResourceScriptError& error) {
            EXPECT_EQ(error.file(), c.file);
            EXPECT_EQ(error.line(), line);
            EXPECT_NE(error.message().find(c.message), std::string::npos) << error.message();
            const std::string prefix = std::string(c.file) + ":" + std::to_string(line) + ": ";
            EXPECT_EQ(std::string(error.what()).rfind(prefix, 0), 0u) << error.what();
        }
    }
}

TEST(ScriptErrorTest, MessageReadsAsFileLineAndExpectation)
{
    const std::string script
        = "#include \"afxres.h\"\n7 DIALOG 0, 0, 10, 10\nBEGIN\n    LTEXT \"a\", -1 1, 1, 1, 1\nEND\n";
    try {
        scripttest::parse(script);
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "PlanRoad.rc:4: expected ',' after control id");
    }
}

} // namespace
