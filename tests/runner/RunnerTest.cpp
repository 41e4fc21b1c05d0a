// The runner end to end: arguments, scripts, the transcript on standard output, exit codes.
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "RunnerOptions.h"

namespace planroad::test {
namespace {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs the runner with arguments (quoted for the shell) and an optional standard input.
RunResult runRunner(const std::string& arguments, const std::string& input = "")
{
    const std::filesystem::path dir
        = std::filesystem::temp_directory_path() / ("planroad-runner-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const auto in = dir / "stdin.txt";
    const auto out = dir / "stdout.txt";
    const auto err = dir / "stderr.txt";
    std::ofstream(in) << input;
    const std::string command = std::string("'") + PLANROAD_RUNNER + "' " + arguments + " < '" + in.string()
        + "' > '" + out.string() + "' 2> '" + err.string() + "'";
    RunResult result;
    int status = std::system(command.c_str());
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    auto slurp = [](const std::filesystem::path& file) {
        std::ifstream stream(file);
        return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    };
    result.out = slurp(out);
    result.err = slurp(err);
    std::filesystem::remove_all(dir);
    return result;
}

std::filesystem::path writeScript(const std::string& name, const std::string& text)
{
    auto file = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()) + ".scr");
    std::ofstream(file) << text;
    return file;
}

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

// A folder for a test's drawings, removed at the end.
struct DrawingFolder {
    std::filesystem::path path
        = std::filesystem::temp_directory_path() / ("planroad-runner-drawings-" + std::to_string(getpid()));
    DrawingFolder() { std::filesystem::create_directories(path); }
    ~DrawingFolder() { std::filesystem::remove_all(path); }
    std::filesystem::path write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path / name, std::ios::binary) << text;
        return path / name;
    }
};

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
    auto options = parseRunnerOptions(
        {"road.dxf", "--script", "s.scr", "--save", "out.dxf", "--config", "cfg"}, error);
    ASSERT_TRUE(options.has_value()) << error;
    EXPECT_EQ("road.dxf", options->drawing->string());
    EXPECT_EQ("s.scr", options->script->string());
    EXPECT_EQ("out.dxf", options->save->string());
    EXPECT_EQ("cfg", options->configRoot->string());
    EXPECT_FALSE(parseRunnerOptions({"--save", "a", "--save", "b"}, error).has_value());
    EXPECT_EQ("option --save given twice", error);
}

} // namespace
} // namespace planroad::test
