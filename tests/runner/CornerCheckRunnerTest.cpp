// The corner-cut check through the runner on generated road drawings: the list the check shows and the
// error marks it saves agree with what the generator made wrong at each corner; a repair followed by a
// second check leaves only the errors a repair does not touch.
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runner/RunnerSupport.h"

namespace planroad::test {
namespace {

namespace fs = std::filesystem;

// The error types as the list shows them, by their code.
const std::map<std::string, int> kTypeOfText {{"", 0}, {"数值错", 1}, {"标注错", 2}, {"前缀错", 3}, {"无标注", 4},
    {"圆切角不规范", 5}, {"标注错,但标注值与属性值一致", 6}, {"数值错,但标注值与属性值一致", 7}};

// The error type of every row of the last list of dialog 102 shown from `from` on; -1 for a text that
// is no error type.
std::vector<int> listedTypes(const std::string& transcript, std::size_t from = 0)
{
    const std::size_t shown = transcript.rfind("[Dialog 102 \"");
    std::vector<int> types;
    if (shown == std::string::npos || shown < from)
        return types;
    std::istringstream lines(transcript.substr(shown));
    const std::regex row(R"(^ +\d+ \|[^|]*\|[^|]*\|[^|]*\|[^|]*\| ?(.*?) *$)");
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (line.rfind("  CheckBox", 0) == 0)
            break;
        if (std::regex_match(line, match, row)) {
            const auto type = kTypeOfText.find(match[1].str());
            types.push_back(type == kTypeOfText.end() ? -1 : type->second);
        }
    }
    return types;
}

// The outcome column of the generator's expected results, in corner order.
std::vector<int> expectedOutcomes(const fs::path& csv)
{
    std::ifstream in(csv);
    std::vector<int> outcomes;
    std::string line;
    std::getline(in, line); // the header
    while (std::getline(in, line)) {
        const std::size_t comma = line.find(',');
        outcomes.push_back(std::stoi(line.substr(comma + 1)));
    }
    return outcomes;
}

class CornerCheckRunner : public ::testing::Test {
protected:
    // A generated drawing of crossings with its expected results beside it.
    fs::path generate(int crossings, int seed)
    {
        const fs::path drawing = mFolder.path / ("city-" + std::to_string(seed) + ".dxf");
        const std::string command = shellQuoted(PLANROAD_SAMPLE_TOOL) + " --out " + shellQuoted(drawing)
            + " --intersections " + std::to_string(crossings) + " --seed " + std::to_string(seed) + " > /dev/null";
        EXPECT_EQ(0, std::system(command.c_str())) << command;
        return drawing;
    }
    RunResult run(const fs::path& drawing, const fs::path& script, const fs::path& saved) const
    {
        return runRunner(shellQuoted(drawing) + " --script " + shellQuoted(script) + " --user-data "
            + shellQuoted(mFolder.path / "user") + " --save " + shellQuoted(saved));
    }
    static fs::path example(const char* name) { return sourceRoot() / "examples" / name; }
    static fs::path expectedOf(const fs::path& drawing)
    {
        fs::path csv = drawing;
        return csv.replace_extension(".expected.csv");
    }

    DrawingFolder mFolder {"corner-check"};
};

TEST_F(CornerCheckRunner, ListAndMarksAgreeWithTheGeneratedFaults)
{
    for (const int seed : {3, 11}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const fs::path drawing = generate(12, seed);
        const fs::path saved = mFolder.path / "checked.dxf";
        const RunResult result = run(drawing, example("corner-check.scr"), saved);
        ASSERT_EQ(0, result.exitCode) << result.err;
        // Rows come in the drawing's order, which is the order the generator made the corners in.
        const std::vector<int> expected = expectedOutcomes(expectedOf(drawing));
        ASSERT_GT(expected.size(), 40u);
        EXPECT_EQ(expected, listedTypes(result.out));

        const ScriptReport marks
            = runPythonCheck("corner_marks.py", shellQuoted(saved) + " " + shellQuoted(expectedOf(drawing)));
        if (marks.exitCode != 0 && marks.output.find("No module named") != std::string::npos)
            GTEST_SKIP() << python() << " with ezdxf is needed to read the marks back";
        ASSERT_EQ(0, marks.exitCode) << marks.output;
        EXPECT_TRUE(marks.faults.empty()) << marks.output;
        const auto errors = std::count_if(expected.begin(), expected.end(), [](int outcome) { return outcome != 0; });
        EXPECT_EQ(std::to_string(errors), marks.values.at("corner_marks").front());
    }
}

TEST_F(CornerCheckRunner, RepairLeavesOnlyTheErrorsItDoesNotTouch)
{
    const fs::path drawing = generate(12, 5);
    const RunResult result = run(drawing, example("corner-repair.scr"), mFolder.path / "repaired.dxf");
    ASSERT_EQ(0, result.exitCode) << result.err;
    const std::size_t second = result.out.find("Command: YqjCheckOPR", result.out.find("!dialog 102 click 4"));
    ASSERT_NE(std::string::npos, second);
    const std::vector<int> before = listedTypes(result.out.substr(0, second));
    const std::vector<int> after = listedTypes(result.out, second);
    ASSERT_EQ(before.size(), after.size());
    int repaired = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] == 2 || before[i] == 3) {
            // A wrong number is rewritten with its prefix as it was, which may still be the wrong one.
            EXPECT_TRUE(after[i] == 0 || (before[i] == 2 && after[i] == 3)) << "row " << i;
            ++repaired;
        } else {
            EXPECT_EQ(before[i], after[i]) << "row " << i;
        }
    }
    EXPECT_GT(repaired, 0);
}

} // namespace
} // namespace planroad::test
