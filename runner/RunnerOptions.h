// The runner's command line: the options planroad takes, how they are parsed, and the usage text.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace planroad {

struct RunnerOptions {
    std::optional<std::filesystem::path> drawing;
    std::optional<std::filesystem::path> script;
    std::optional<std::filesystem::path> save;
    std::optional<std::filesystem::path> configRoot;
    std::optional<std::filesystem::path> module;
    // Where the per-user dialog data is kept (the user's configuration folder unless given); made when
    // a dialog first stores something.
    std::optional<std::filesystem::path> userDataDir;
    // The DXF version --save writes ("R2010" unless given).
    std::optional<std::string> saveVersion;
    // A picture (PNG, SVG or PDF by extension) of the view when the script has run, and its size.
    std::optional<std::filesystem::path> render;
    int renderWidth = 1600;
    int renderHeight = 1200;
    // The host's spreadsheet program counts as not installed (the workbook export then fails).
    bool noExcel = false;
    bool help = false;
};

// Parses the arguments (without the program name); on a bad argument returns nothing and
// sets `error` to a one-line message.
std::optional<RunnerOptions> parseRunnerOptions(const std::vector<std::string>& args, std::string& error);

const char* runnerUsage();

// Parses a picture size "WxH" (whole pixels, 1 to 20000 each); nothing when it is not one.
std::optional<std::pair<int, int>> parsePictureSize(const std::string& text);

} // namespace planroad
