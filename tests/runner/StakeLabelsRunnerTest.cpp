// The stake-point annotation through the runner: examples/stake-labels.scr on the sample drawing, the saved
// labels read back by ezdxf (stake_labels.py) and compared with what the dialogs showed.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "runner/RunnerSupport.h"

namespace planroad::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);)
        parts.push_back(part);
    return parts;
}

// The values an edit box showed, in the order the dialogs were shown.
std::vector<double> shownValues(const std::string& out, const std::string& control)
{
    std::vector<double> values;
    const std::string marker = control + " \"";
    for (std::size_t at = out.find(marker); at != std::string::npos; at = out.find(marker, at + 1)) {
        const std::size_t start = at + marker.size();
        values.push_back(std::stod(out.substr(start, out.find('"', start) - start)));
    }
    return values;
}

// The elevation as the label shows it with that many decimals.
std::string shown(const char* prefix, double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s%.*f", prefix, decimals, value);
    return text;
}

class StakeLabelsRunner : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system((shellQuoted(python()) + " -c 'import ezdxf' > /dev/null 2>&1").c_str()) != 0)
            GTEST_SKIP() << python() << " with ezdxf is needed to read the saved drawing back";
        ASSERT_TRUE(fs::is_regular_file(sourceRoot() / "examples" / "road-sample.dxf"));
    }
    DrawingFolder mFolder {"stake-labels"};
};

TEST_F(StakeLabelsRunner, ExampleScriptLeavesThreeLabelsWithTheirValuesOnTheSidesDraggedTo)
{
    const fs::path saved = mFolder.path / "stakes.dxf";
    const RunResult r = runRunner(shellQuoted(sourceRoot() / "examples" / "road-sample.dxf") + " --script "
        + shellQuoted(sourceRoot() / "examples" / "stake-labels.scr") + " --user-data "
        + shellQuoted(mFolder.path / "user") + " --save " + shellQuoted(saved));
    ASSERT_EQ(0, r.exitCode) << r.err << r.out;
    const std::vector<double> planned = shownValues(r.out, "IDC_ZD_PLANNED_ELEV");
    const std::vector<double> existing = shownValues(r.out, "IDC_ZD_EXISTING_ELEV");
    ASSERT_EQ(3u, planned.size()) << r.out;
    ASSERT_EQ(3u, existing.size());
    // The first two points lie among the elevation points, the third outside them.
    EXPECT_NE(0.0, planned[0]);
    EXPECT_NE(0.0, existing[1]);
    EXPECT_EQ(0.0, planned[2]);
    EXPECT_EQ(0.0, existing[2]);

    const ScriptReport report = runPythonCheck("stake_labels.py", shellQuoted(saved));
    ASSERT_EQ(0, report.exitCode) << report.output;
    EXPECT_TRUE(report.faults.empty()) << report.output;
    EXPECT_EQ(0, report.number("audit_errors"));
    EXPECT_EQ(3, report.number("groups"));
    ASSERT_EQ(3, report.number("labels")) << report.output;
    const auto it = report.values.find("label");
    ASSERT_NE(report.values.end(), it);
    ASSERT_EQ(3u, it->second.size());

    struct Expected {
        std::string at;
        std::string side;
        double held;
        std::string x;
        std::string y;
        std::string h;
        std::string existing;
    };
    // The second label's H was typed, with two decimals for the elevations from then on.
    const Expected expected[] = {
        {"100,100", "right", planned[0], "X=100.00", "Y=100.00", shown("H=", planned[0], 3),
            shown("h=", existing[0], 3)},
        {"300,250", "left", 25.5, "X=300.00", "Y=250.00", "H=25.50", shown("h=", existing[1], 2)},
        {"700,100", "right", 0.0, "X=700.00", "Y=100.00", "H=0.00", "h=0.00"},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(expected[i].at);
        const std::vector<std::string> fields = split(it->second[i], '|');
        ASSERT_EQ(7u, fields.size()) << it->second[i];
        EXPECT_EQ(expected[i].at, fields[0]);
        EXPECT_EQ(expected[i].side, fields[1]);
        EXPECT_NEAR(expected[i].held, std::stod(fields[2]), 1e-9);
        EXPECT_EQ(expected[i].x, fields[3]);
        EXPECT_EQ(expected[i].y, fields[4]);
        EXPECT_EQ(expected[i].h, fields[5]);
        EXPECT_EQ(expected[i].existing, fields[6]);
    }

    // The elevation precision chosen at the second point went into the saved drawing: a run on it opens
    // the dialog with two decimals, where the sample drawing itself still has three.
    const std::string look = "QVZDBZ\n100,100\n!dialog click Cancel\n\n";
    const fs::path script = mFolder.write("look.scr", look);
    for (const auto& [drawing, precision] :
        {std::pair {saved, "0.01"}, std::pair {sourceRoot() / "examples" / "road-sample.dxf", "0.001"}}) {
        const RunResult again = runRunner(shellQuoted(drawing) + " --script " + shellQuoted(script)
            + " --user-data " + shellQuoted(mFolder.path / "user"));
        ASSERT_EQ(0, again.exitCode) << again.err;
        EXPECT_NE(std::string::npos, again.out.find("IDC_ZD_ELEV_PREC \"" + std::string(precision) + "\" {"))
            << again.out;
    }
}

} // namespace
} // namespace planroad::test
