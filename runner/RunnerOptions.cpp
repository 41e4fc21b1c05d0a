// The runner's command line.
#include "RunnerOptions.h"

#include <algorithm>
#include <cctype>

namespace planroad {

const char* runnerUsage()
{
    return "usage: planroad [DRAWING] [--script FILE] [--save FILE] [--save-version VER] [--config DIR]\n"
           "                [--user-data DIR] [--module FILE] [--render FILE [--render-size WxH]] "
           "[--no-excel]\n"
           "  DRAWING          the DXF drawing to open (a new drawing when none is given)\n"
           "  --script FILE    the command script to run (default: standard input)\n"
           "  --save FILE      where to save the drawing (DXF) when the script has run\n"
           "  --save-version V the DXF version to save: R2000, R2004, R2007, R2010 (default), R2013, R2018\n"
           "  --config DIR     the configuration root of the road tools\n"
           "  --user-data DIR  where the dialogs' per-user data is kept (default: "
           "$XDG_CONFIG_HOME/planroad,\n"
           "                   else ~/.config/planroad)\n"
           "  --module FILE    the module to load (default: planroad.arx beside the runner)\n"
           "  --render FILE    draw the view when the script has run (the last zoom, else the extents)\n"
           "                   into a PNG, SVG or PDF file, chosen by the extension\n"
           "  --render-size WxH the picture's size in pixels (default: 1600x1200)\n"
           "  --no-excel       run as if no spreadsheet program were installed (exports to .xls fail)\n";
}

std::optional<std::pair<int, int>> parsePictureSize(const std::string& text)
{
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos)
        return std::nullopt;
    auto number = [](const std::string& digits) -> std::optional<int> {
        if (digits.empty() || digits.size() > 5
            || !std::all_of(
                digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
            return std::nullopt;
        const int v = std::stoi(digits);
        return v >= 1 && v <= 20000 ? std::optional<int>(v) : std::nullopt;
    };
    const std::optional<int> w = number(text.substr(0, x));
    const std::optional<int> h = number(text.substr(x + 1));
    if (!w || !h)
        return std::nullopt;
    return std::make_pair(*w, *h);
}

std::optional<RunnerOptions> parseRunnerOptions(const std::vector<std::string>& args, std::string& error)
{
    RunnerOptions options;
    std::optional<std::pair<int, int>> renderSize;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::optional<std::filesystem::path>& target) -> bool {
            if (target) {
                error = "option " + arg + " given twice";
                return false;
            }
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "option " + arg + " needs a value";
                return false;
            }
            target = std::filesystem::path(args[++i]);
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--no-excel") {
            options.noExcel = true;
        } else if (arg == "--script") {
            if (!value(options.script))
                return std::nullopt;
        } else if (arg == "--save") {
            if (!value(options.save))
                return std::nullopt;
        } else if (arg == "--config") {
            if (!value(options.configRoot))
                return std::nullopt;
        } else if (arg == "--save-version") {
            if (options.saveVersion) {
                error = "option --save-version given twice";
                return std::nullopt;
            }
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "option --save-version needs a value";
                return std::nullopt;
            }
            options.saveVersion = args[++i];
        } else if (arg == "--user-data") {
            if (!value(options.userDataDir))
                return std::nullopt;
        } else if (arg == "--render") {
            if (!value(options.render))
                return std::nullopt;
        } else if (arg == "--render-size") {
            if (renderSize) {
                error = "option --render-size given twice";
                return std::nullopt;
            }
            if (i + 1 >= args.size() || !(renderSize = parsePictureSize(args[i + 1]))) {
                error = "option --render-size needs a size WxH in pixels (1 to 20000 each)";
                return std::nullopt;
            }
            ++i;
            options.renderWidth = renderSize->first;
            options.renderHeight = renderSize->second;
        } else if (arg == "--module") {
            if (!value(options.module))
                return std::nullopt;
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else if (!options.drawing) {
            options.drawing = std::filesystem::path(arg);
        } else {
            error = "more than one drawing given (" + arg + ")";
            return std::nullopt;
        }
    }
    if (renderSize && !options.render) {
        error = "--render-size needs --render";
        return std::nullopt;
    }
    return options;
}

} // namespace planroad
