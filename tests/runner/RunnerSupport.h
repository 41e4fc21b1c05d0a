// Running the runner from a test: a run's exit code and output, scripts and folders of a test's own.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace planroad::test {

struct RunResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline std::string slurp(const std::filesystem::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

// Runs the runner with arguments (quoted for the shell) and an optional standard input.
inline RunResult runRunner(const std::string& arguments, const std::string& input = "")
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
    result.out = slurp(out);
    result.err = slurp(err);
    std::filesystem::remove_all(dir);
    return result;
}

inline std::filesystem::path writeScript(const std::string& name, const std::string& text)
{
    auto file = std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid()) + ".scr");
    std::ofstream(file) << text;
    return file;
}

// A folder for a test's drawings (and whatever else it writes), removed at the end.
struct DrawingFolder {
    std::filesystem::path path;
    explicit DrawingFolder(const std::string& name = "drawings")
        : path(std::filesystem::temp_directory_path()
            / ("planroad-runner-" + name + "-" + std::to_string(getpid())))
    {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~DrawingFolder() { std::filesystem::remove_all(path); }
    DrawingFolder(const DrawingFolder&) = delete;
    DrawingFolder& operator=(const DrawingFolder&) = delete;
    std::filesystem::path write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path / name, std::ios::binary) << text;
        return path / name;
    }
};

// The repository: from the test environment, else two folders above this header's.
inline std::filesystem::path sourceRoot()
{
    if (const char* root = std::getenv("PLANROAD_SOURCE_DIR"))
        return std::filesystem::path(root);
    return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path();
}

// Quotes a path for the shell.
inline std::string shellQuoted(const std::filesystem::path& path)
{
    std::string text = "'";
    for (char c : path.string())
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

inline std::string python()
{
    const char* chosen = std::getenv("PLANROAD_TEST_PYTHON");
    return chosen != nullptr && *chosen != 0 ? chosen : "/usr/bin/python3";
}

// What a checking script of tests/runner printed: its "key value" lines, and its "fault ..." lines apart.
struct ScriptReport {
    int exitCode = -1;
    std::map<std::string, std::vector<std::string>> values;
    std::vector<std::string> faults;
    std::string output;

    int number(const std::string& key) const
    {
        const auto it = values.find(key);
        return it == values.end() || it->second.empty() ? -1 : std::stoi(it->second.front());
    }
    std::set<std::string> all(const std::string& key) const
    {
        const auto it = values.find(key);
        return it == values.end() ? std::set<std::string>()
                                  : std::set<std::string>(it->second.begin(), it->second.end());
    }
};

// Runs a checking script of tests/runner (python with ezdxf) with the arguments, already quoted.
inline ScriptReport runPythonCheck(const std::string& scriptName, const std::string& arguments)
{
    const std::filesystem::path script = sourceRoot() / "tests" / "runner" / scriptName;
    const std::string command = shellQuoted(python()) + " " + shellQuoted(script) + " " + arguments + " 2>&1";
    ScriptReport report;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    if (!pipe)
        return report;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr)
        report.output += buffer;
    const int status = pclose(pipe.release());
    report.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::istringstream lines(report.output);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        if (key == "fault")
            report.faults.push_back(value);
        else
            report.values[key].push_back(value);
    }
    return report;
}

} // namespace planroad::test
