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
    auto script = writeScript("basic", "# a comment line\nDLDMTK\nNOSUCH\nSETVAR\nPICKSTYLE\n0\n");
    RunResult r = runRunner("--script '" + script.string() + "'");
    std::filesystem::remove(script);
    EXPECT_EQ(0, r.exitCode) << r.err;
    EXPECT_EQ("planroad.arx successfully loaded.\n"
              "Command: DLDMTK\n"
              "图库条目“单幅路道路断面”不可用：图库未安装。\n"
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
