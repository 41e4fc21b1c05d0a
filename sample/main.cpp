// planroad_sample: writes a generated road drawing and the corner-cut check's expected results.
#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "IntersectionStandards.h"
#include "SampleDrawing.h"
#include "dxf/drawing/DrawingWriter.h"
#include "text/Utf8.h"

namespace {

namespace fs = std::filesystem;

const char* const kUsage = R"(usage: planroad_sample --out FILE [options]
  --out FILE          the drawing to write (DXF)
  --expected FILE     where the expected check results go (default: FILE with .expected.csv)
  --intersections N   number of road crossings, 1 to 10000 (default 4)
  --seed N            the same seed gives the same drawing (default 1)
  --faults SHARE      share of corner annotations with a fault, 0 to 1 (default 0.35)
  --config DIR        configuration root holding the intersection standards (default: the installed one)
  --save-version V    DXF version: R2000, R2004, R2007, R2010 (default), R2013, R2018
)";

int fail(const std::string& message)
{
    std::cerr << "planroad_sample: " << message << "\n";
    return 2;
}

template <typename T> bool parseNumber(std::string_view text, T& out)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

// The configuration root installed beside the program, as the runner finds it.
fs::path defaultConfigRoot()
{
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self.parent_path() / ".." / "share" / "planroad" / "config";
}

} // namespace

int main(int argc, char** argv)
{
    planroad::sample::PlanOptions options;
    std::optional<fs::path> out;
    std::optional<fs::path> expected;
    fs::path config = defaultConfigRoot();
    dxf::WriteOptions writeOptions;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (i + 1 >= argc)
            return fail(
                "missing value after " + std::string(arg) + " (planroad_sample --help shows the usage)");
        const std::string_view value = argv[++i];
        if (arg == "--out") {
            out = fs::path(value);
        } else if (arg == "--expected") {
            expected = fs::path(value);
        } else if (arg == "--intersections") {
            if (!parseNumber(value, options.intersections) || options.intersections < 1
                || options.intersections > 10000)
                return fail(
                    "--intersections takes a whole number from 1 to 10000, not '" + std::string(value) + "'");
        } else if (arg == "--seed") {
            if (!parseNumber(value, options.seed))
                return fail("--seed takes a whole number, not '" + std::string(value) + "'");
        } else if (arg == "--faults") {
            if (!parseNumber(value, options.faultShare) || options.faultShare < 0 || options.faultShare > 1)
                return fail("--faults takes a share from 0 to 1, not '" + std::string(value) + "'");
        } else if (arg == "--config") {
            config = fs::path(value);
        } else if (arg == "--save-version") {
            if (!dxf::parseVersion(value, writeOptions.version))
                return fail("unknown DXF version " + std::string(value)
                    + " (R2000, R2004, R2007, R2010, R2013 or R2018)");
        } else {
            return fail("unknown option " + std::string(arg) + " (planroad_sample --help shows the usage)");
        }
    }
    if (!out)
        return fail("--out FILE is required (planroad_sample --help shows the usage)");
    if (!expected)
        expected = fs::path(*out).replace_extension(".expected.csv");

    // The standard values come from the same file the check reads.
    const fs::path standardsFile = config / "config" / "jckdata.ss";
    CQvRoadJckData standards;
    if (!standards.ReadFromFile(CString(arxhost::fromUtf8(standardsFile.string()).c_str())))
        return fail("cannot read the intersection standards " + standardsFile.string());
    const planroad::sample::StandardLookup lookup = [&standards](double w1, double w2) {
        double value = 0;
        return standards.GetRoadRadium(w1, w2, value) ? value : 0.0;
    };

    const planroad::sample::Plan plan = planroad::sample::makePlan(options, lookup);
    planroad::sample::SampleDrawing drawing = planroad::sample::buildSampleDrawing(plan);
    std::string error;
    if (!dxf::saveDrawingFile(*drawing.database, *out, writeOptions, error))
        return fail(error);
    std::ofstream csv(*expected, std::ios::binary);
    planroad::sample::writeExpectedCorners(drawing.corners, csv);
    csv.close();
    if (!csv)
        return fail("cannot write " + expected->string());
    std::cout << "wrote " << out->string() << " (" << plan.corners.size() << " corner cuts, "
              << plan.roads.size() << " roads) and " << expected->string() << "\n";
    return 0;
}
