// The runner's command line.
#include "RunnerOptions.h"

namespace planroad {

const char* runnerUsage()
{
    return "usage: planroad [DRAWING] [--script FILE] [--save FILE] [--save-version VER] [--config DIR]\n"
           "                [--user-data DIR] [--module FILE]\n"
           "  DRAWING          the DXF drawing to open (a new drawing when none is given)\n"
           "  --script FILE    the command script to run (default: standard input)\n"
           "  --save FILE      where to save the drawing (DXF) when the script has run\n"
           "  --save-version V the DXF version to save: R2000, R2004, R2007, R2010 (default), R2013, R2018\n"
           "  --config DIR     the configuration root of the road tools\n"
           "  --user-data DIR  where the dialogs' per-user data is kept (default: "
           "$XDG_CONFIG_HOME/planroad,\n"
           "                   else ~/.config/planroad)\n"
           "  --module FILE    the module to load (default: planroad.arx beside the runner)\n";
}

std::optional<RunnerOptions> parseRunnerOptions(const std::vector<std::string>& args, std::string& error)
{
    RunnerOptions options;
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
    return options;
}

} // namespace planroad
