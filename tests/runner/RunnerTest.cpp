// The runner end to end: arguments, scripts, the transcript on standard output, exit codes.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RunnerOptions.h"
#include "runner/RunnerSupport.h"

namespace planroad::test {
namespace {

TEST(Runner, RunsAScriptAndShowsTheCommandLine)
{
    auto script = writeScript("basic", "# a comment line\nDLDMTK\n0,0\nNOSUCH\nSETVAR\nPICKSTYLE\n0\n");
    RunResult r = runRunner("--script '" + script.string() + "'");
    std::filesystem::remove(script);
    EXPECT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("planroad.arx successfully loaded.\n"
              "Command: DLDMTK\n"
              "指定插入点:0,0\n"
              "Command: NOSUCH\n"
              "Unknown command \"NOSUCH\".  Press F1 for help.\n"
              "Command: SETVAR\n"
              "Enter variable name or [?]: PICKSTYLE\n"
              "Enter new value for PICKSTYLE <1>: 0\n"
              "Command: \n",
        r.out);
}

TEST(Runner, ReadsTheScriptFromStandardInputWhenNoneIsGiven)
{
    RunResult r = runRunner("", "ZOOM\nE\n");
    EXPECT_EQ(0, r.exitCode);
    EXPECT_NE(std::string::npos, r.out.find("<real time>: E\nCommand: "));
}

TEST(Runner, BadArgumentsGiveOneLineAndAnError)
{
    for (const std::string& args :
        {std::string("--bogus"), std::string("--script"), std::string("--script /no/such/file.scr"),
            std::string("a.dxf b.dxf"), std::string("--config /no/such/dir")}) {
        RunResult r = runRunner(args);
        EXPECT_NE(0, r.exitCode) << args;
        EXPECT_EQ(0u, r.out.size()) << args;
        EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n')) << args << ": " << r.err;
        EXPECT_EQ(0u, r.err.rfind("planroad: ", 0)) << r.err;
    }
}

TEST(Runner, ModuleThatCannotBeLoadedIsAnError)
{
    RunResult r = runRunner("--module /no/such/module.arx", "");
    EXPECT_NE(0, r.exitCode);
    EXPECT_NE(std::string::npos, r.err.find("cannot load the module"));
}

// A drawing of one line, with the line ends the host writes.
const std::string kLineDrawing
    = "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n0.0\r\n 20\r\n"
      "0.0\r\n 11\r\n1.0\r\n 21\r\n1.0\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n";

TEST(RunnerDrawing, ABadDrawingGivesOneLineNamingWhereAndAnError)
{
    struct Bad {
        const char* name;
        std::string text;
    };
    const Bad bad[] = {
        {"truncated", kLineDrawing.substr(0, kLineDrawing.size() / 2)},
        {"garbage", std::string("\177ELF\2\1\1\0\0\0", 10)},
        {"group code", "  0\nSECTION\n  2\nENTITIES\nten\nLINE\n  0\nENDSEC\n  0\nEOF\n"},
    };
    DrawingFolder folder;
    for (const Bad& file : bad) {
        const auto path = folder.write(std::string(file.name) + ".dxf", file.text);
        RunResult r = runRunner("'" + path.string() + "'");
        EXPECT_NE(0, r.exitCode) << file.name;
        EXPECT_EQ("", r.out) << file.name;
        EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n')) << r.err;
        EXPECT_EQ(0u, r.err.rfind("planroad: cannot read " + path.string() + ": line ", 0)) << r.err;
    }
}

// Opens a drawing of that name without saving: the file stays as it was, nothing appears beside it, and
// DWGNAME is the file's name.
void expectOpenedUntouched(const std::string& name)
{
    DrawingFolder folder;
    const auto drawing = folder.write(name, kLineDrawing);
    const auto written = std::filesystem::last_write_time(drawing);
    auto script = writeScript("dwgname", "SETVAR\nDWGNAME\n");
    RunResult r = runRunner("'" + drawing.string() + "' --script '" + script.string() + "'");
    std::filesystem::remove(script);
    EXPECT_EQ(0, r.exitCode) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("DWGNAME = \"" + name + "\"")) << r.out;

    std::ifstream in(drawing, std::ios::binary);
    EXPECT_EQ(
        kLineDrawing, std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()));
    EXPECT_EQ(written, std::filesystem::last_write_time(drawing));
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder.path), {}))
        << "files left beside it";
}

TEST(RunnerDrawing, WithoutSaveTheDrawingIsLeftAsItWasAndDwgnameIsItsName)
{
    expectOpenedUntouched("road plan.dxf");
}

// Disabled while the runner hands the drawing's path to the session through path::wstring(), which throws
// for a non-ASCII name in the C library's "C" locale: the runner aborts.
TEST(RunnerDrawing, AChineseFileNameOpensToo)
{
    expectOpenedUntouched("道路 平面.dxf");
}

TEST(RunnerDrawing, SavesInTheVersionAskedOrSaysWhyItCannot)
{
    DrawingFolder folder;
    const auto drawing = folder.write("road.dxf", kLineDrawing);
    RunResult saved = runRunner("'" + drawing.string() + "' --save '" + (folder.path / "out.dxf").string()
        + "' --save-version R2004");
    EXPECT_EQ(0, saved.exitCode) << saved.err;
    std::ifstream in(folder.path / "out.dxf", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(std::string::npos, text.find("$ACADVER\r\n  1\r\nAC1018\r\n"));

    RunResult failed = runRunner(
        "'" + drawing.string() + "' --save '" + (folder.path / "no-such" / "out.dxf").string() + "'");
    EXPECT_NE(0, failed.exitCode);
    EXPECT_EQ(1, std::count(failed.err.begin(), failed.err.end(), '\n')) << failed.err;
    EXPECT_EQ(0u, failed.err.rfind("planroad: cannot save ", 0)) << failed.err;
    EXPECT_NE(std::string::npos, failed.err.find("does not exist")) << failed.err;
}

TEST(RunnerOptions, ParsesEachOptionOnce)
{
    std::string error;
    auto options = parseRunnerOptions({"road.dxf", "--script", "s.scr", "--save", "out.dxf", "--config",
                                          "cfg", "--user-data", "user data", "--module", "m.arx"},
        error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_EQ("road.dxf", options->drawing->string());
    EXPECT_EQ("s.scr", options->script->string());
    EXPECT_EQ("out.dxf", options->save->string());
    EXPECT_EQ("cfg", options->configRoot->string());
    EXPECT_EQ("user data", options->userDataDir->string());
    EXPECT_EQ("m.arx", options->module->string());

    EXPECT_FALSE(options->noExcel);

    options = parseRunnerOptions({"road.dxf"}, error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_FALSE(options->userDataDir.has_value()) << "the session falls back to the user's own folder";
    options = parseRunnerOptions({"--no-excel", "road.dxf"}, error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_TRUE(options->noExcel);
}

TEST(RunnerOptions, RejectsABadArgumentWithOneMessage)
{
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{"--save", "a", "--save", "b"}, "option --save given twice"},
        {{"--user-data", "a", "--user-data", "b"}, "option --user-data given twice"},
        {{"road.dxf", "--user-data"}, "option --user-data needs a value"},
        {{"--user-data", "", "road.dxf"}, "option --user-data needs a value"},
        {{"--userdata", "a"}, "unknown option --userdata"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(parseRunnerOptions(c.args, error).has_value()) << c.message;
        EXPECT_EQ(c.message, error);
    }
}

TEST(RunnerOptions, UsageNamesEveryOption)
{
    const std::string usage = runnerUsage();
    for (const char* option :
        {"--script", "--save", "--save-version", "--config", "--user-data", "--module", "--no-excel"})
        EXPECT_NE(std::string::npos, usage.find(std::string("  ") + option + " ")) << option;
    RunResult help = runRunner("--help");
    EXPECT_EQ(0, help.exitCode);
    EXPECT_EQ(usage, help.out);
}

TEST(Runner, AUserDataFolderThatIsAFileIsAnError)
{
    DrawingFolder folder("user-data");
    const auto file = folder.write("dialogs", "not a folder");
    RunResult r = runRunner("--user-data " + shellQuoted(file), "");
    EXPECT_EQ(2, r.exitCode);
    EXPECT_EQ("", r.out);
    EXPECT_EQ("planroad: user data folder " + file.string() + " is not a folder\n", r.err);
    EXPECT_EQ("not a folder", slurp(file));
}

} // namespace
} // namespace planroad::test
