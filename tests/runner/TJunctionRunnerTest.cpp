// The T-junction repair through the runner: examples/t-junction.scr on a drawing of one T junction built
// from a generated drawing (its layers and parameter store kept), saved and read back with ezdxf.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "runner/RunnerSupport.h"

namespace planroad::test {
namespace {

namespace fs = std::filesystem;

TEST(TJunctionRunner, ExampleScriptRepairsTheJunctionAndBreaksTheThroughRoad)
{
    DrawingFolder folder("t-junction");
    const fs::path generated = folder.path / "generated.dxf";
    const std::string generate = shellQuoted(PLANROAD_SAMPLE_TOOL) + " --out " + shellQuoted(generated)
        + " --intersections 1 --seed 1 > /dev/null";
    ASSERT_EQ(0, std::system(generate.c_str())) << generate;

    const fs::path drawing = folder.path / "t-junction.dxf";
    const ScriptReport built
        = runPythonCheck("t_junction.py", "build " + shellQuoted(generated) + " " + shellQuoted(drawing));
    if (built.exitCode != 0 && built.output.find("No module named") != std::string::npos)
        GTEST_SKIP() << python() << " with ezdxf is needed to build the drawing";
    ASSERT_EQ(0, built.exitCode) << built.output;

    // The drawing as built fails the check: the check sees what the repair has to change.
    const ScriptReport unrepaired = runPythonCheck("t_junction.py", "check " + shellQuoted(drawing));
    ASSERT_EQ(0, unrepaired.exitCode) << unrepaired.output;
    EXPECT_EQ(2, unrepaired.number("centrelines"));
    EXPECT_FALSE(unrepaired.faults.empty());

    const fs::path saved = folder.path / "repaired.dxf";
    const RunResult result = runRunner(shellQuoted(drawing) + " --script "
        + shellQuoted(sourceRoot() / "examples" / "t-junction.scr") + " --user-data "
        + shellQuoted(folder.path / "user") + " --save " + shellQuoted(saved));
    ASSERT_EQ(0, result.exitCode) << result.err;
    EXPECT_NE(std::string::npos, result.out.find("选择T形路口的贯穿中线:"));
    EXPECT_EQ(std::string::npos, result.out.find("该对象不是道路中线")) << result.out;

    const ScriptReport repaired = runPythonCheck("t_junction.py", "check " + shellQuoted(saved));
    ASSERT_EQ(0, repaired.exitCode) << repaired.output;
    EXPECT_TRUE(repaired.faults.empty()) << repaired.output;
    EXPECT_EQ(3, repaired.number("centrelines"));
    EXPECT_EQ(12, repaired.number("road_lines"));
}

} // namespace
} // namespace planroad::test
