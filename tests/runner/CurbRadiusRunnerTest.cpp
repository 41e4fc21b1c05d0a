// The curb-return radius annotation through the runner: labels saved, replaced by a second run, the dialog's
// settings kept for the next process. The saved drawings are read back by ezdxf (curb_labels.py).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runner/RunnerSupport.h"

namespace planroad::test {
namespace {

namespace fs = std::filesystem;

// The sample drawing's role layers (curb lines and red lines) and where the run puts its labels: the
// preset layer of the radius annotation parameter the layer rule picks for corner curves.
const char* const kCurbLayer = "DL-道路边线";
const char* const kRedLayer = "DL-道路红线";
const char* const kLabelLayer = "DL-道路圆角标注";

ScriptReport inspect(const fs::path& drawing, const std::string& options)
{
    return runPythonCheck("curb_labels.py", shellQuoted(drawing) + " " + options);
}

std::string layersOption(const std::vector<const char*>& layers)
{
    std::string list;
    for (const char* layer : layers)
        list += (list.empty() ? "" : ",") + std::string(layer);
    return "--layers " + shellQuoted(list);
}

class CurbRadiusRunner : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::system((shellQuoted(python()) + " -c 'import ezdxf' > /dev/null 2>&1").c_str()) != 0)
            GTEST_SKIP() << python() << " with ezdxf is needed to read the saved drawings back";
        ASSERT_TRUE(fs::is_regular_file(sample())) << sample();
    }

    static fs::path sample() { return sourceRoot() / "examples" / "road-sample.dxf"; }

    // Runs the script on the drawing in a runner of its own with the test's user data folder, saving to
    // `saved` when given.
    RunResult run(const fs::path& drawing, const std::string& script, const fs::path& saved = {}) const
    {
        const fs::path file = mFolder.write("script.scr", script);
        std::string arguments = shellQuoted(drawing) + " --script " + shellQuoted(file) + " --user-data "
            + shellQuoted(userData());
        if (!saved.empty())
            arguments += " --save " + shellQuoted(saved);
        return runRunner(arguments);
    }

    fs::path userData() const { return mFolder.path / "user"; }
    fs::path file(const std::string& name) const { return mFolder.path / name; }

    DrawingFolder mFolder {"curb-radius"};
};

// Opens the dialog, sets its boxes and annotates everything.
std::string annotateAll(const std::string& boxes)
{
    return "QVDLYJBJBZ\n" + boxes + "!dialog click 204\nALL\n\n";
}
const std::string kTextRunBothRoles = annotateAll("!dialog uncheck 222\n!dialog check 221\n");

void expectCleanTextRun(const ScriptReport& report)
{
    ASSERT_EQ(0, report.exitCode) << report.output;
    EXPECT_TRUE(report.faults.empty()) << report.output;
    EXPECT_EQ(0, report.number("audit_errors"));
    EXPECT_GT(report.number("radius_arcs"), 0) << report.output;
    EXPECT_EQ(report.number("radius_arcs"), report.number("radius_labels"));
    EXPECT_EQ(report.number("cuts"), report.number("cut_labels"));
    EXPECT_EQ(report.number("radius_labels") + report.number("cut_labels"), report.number("labels"));
    EXPECT_EQ(report.number("labels"), report.number("texts"));
    EXPECT_EQ(std::set<std::string> {kLabelLayer}, report.all("label_layer"));
}

TEST_F(CurbRadiusRunner, TextRunLabelsEveryArcAndSymmetricCutOfTheRolesSwitchedOn)
{
    // The curb box is on and the red-line box off unless the script says otherwise.
    struct Case {
        const char* name;
        std::string boxes;
        std::vector<const char*> layers;
    };
    const Case cases[] = {
        {"curb and red lines", "!dialog uncheck 222\n!dialog check 221\n", {kCurbLayer, kRedLayer}},
        {"curb lines by default", "!dialog uncheck 222\n", {kCurbLayer}},
        {"red lines only", "!dialog uncheck 222\n!dialog uncheck 220\n!dialog check 221\n", {kRedLayer}},
    };
    std::map<std::string, int> arcs;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(userData());
        const fs::path saved = file("annotated.dxf");
        RunResult r = run(sample(), annotateAll(c.boxes), saved);
        ASSERT_EQ(0, r.exitCode) << r.err;
        EXPECT_NE(std::string::npos, r.out.find("[Dialog 3100 closed: OK]")) << r.out;
        const ScriptReport report = inspect(saved, layersOption(c.layers));
        expectCleanTextRun(report);
        arcs[c.name] = report.number("radius_arcs");
        // Only the red lines have straight polyline cuts.
        if (c.layers.back() == kRedLayer)
            EXPECT_GT(report.number("cuts"), 0) << report.output;
        else
            EXPECT_EQ(0, report.number("cuts")) << report.output;
    }
    EXPECT_EQ(arcs["curb and red lines"], arcs["curb lines by default"] + arcs["red lines only"]);
}

TEST_F(CurbRadiusRunner, ASecondRunOnTheSavedDrawingReplacesTheLabels)
{
    const fs::path first = file("first.dxf");
    const fs::path second = file("second.dxf");
    ASSERT_EQ(0, run(sample(), kTextRunBothRoles, first).exitCode);
    RunResult again = run(first, kTextRunBothRoles, second);
    ASSERT_EQ(0, again.exitCode) << again.err;

    const std::string layers = layersOption({kCurbLayer, kRedLayer});
    const ScriptReport before = inspect(first, layers);
    const ScriptReport after = inspect(second, layers);
    expectCleanTextRun(before);
    expectCleanTextRun(after);
    EXPECT_EQ(before.number("labels"), after.number("labels"));
    // Every label of the first run is gone: the second run's are new objects.
    const std::set<std::string> old = before.all("handle");
    for (const std::string& handle : after.all("handle"))
        EXPECT_EQ(0u, old.count(handle)) << "label " << handle << " of the first run is still there";
}

TEST_F(CurbRadiusRunner, LeaderRunSavesRadialDimensionsWithGeometryBlocks)
{
    const fs::path saved = file("leaders.dxf");
    // A new user has the leader box checked.
    RunResult r = run(sample(), annotateAll("!dialog check 221\n"), saved);
    ASSERT_EQ(0, r.exitCode) << r.err;
    EXPECT_NE(std::string::npos, r.out.find("IDC_DLYJ_LEADER [x]")) << r.out;

    const ScriptReport report = inspect(saved, "--mode leader " + layersOption({kCurbLayer, kRedLayer}));
    ASSERT_EQ(0, report.exitCode) << report.output;
    EXPECT_TRUE(report.faults.empty()) << report.output;
    EXPECT_EQ(0, report.number("audit_errors"));
    EXPECT_GT(report.number("dimensions"), 0) << report.output;
    EXPECT_EQ(report.number("radius_arcs"), report.number("dimensions"));
    EXPECT_EQ(report.number("dimensions"), report.number("dimension_blocks"));
    // The cuts' tangent lengths stay texts.
    EXPECT_GT(report.number("cut_labels"), 0);
    EXPECT_EQ(report.number("cut_labels"), report.number("texts"));
    EXPECT_EQ(std::set<std::string> {kLabelLayer}, report.all("label_layer"));
}

TEST_F(CurbRadiusRunner, DialogSettingsReachTheNextRunnerProcess)
{
    // Stored by the annotate button even when the selection is then cancelled.
    RunResult first = run(sample(),
        "QVDLYJBJBZ\n!dialog set 205 RR-\n!dialog select 206 0.0\n!dialog uncheck 222\n!dialog click "
        "204\n^C\n");
    ASSERT_EQ(0, first.exitCode) << first.err;
    EXPECT_NE(std::string::npos, first.out.find("*Cancel*")) << first.out;
    EXPECT_TRUE(fs::is_regular_file(userData() / "dialogs.ini"));

    // Closing the dialog with its cancel button stores nothing.
    RunResult cancelled
        = run(sample(), "QVDLYJBJBZ\n!dialog set 205 XX-\n!dialog select 206 0\n!dialog click Cancel\n");
    ASSERT_EQ(0, cancelled.exitCode) << cancelled.err;

    const std::string show = "QVDLYJBJBZ\n!dialog click Cancel\n";
    RunResult second = run(sample(), show);
    ASSERT_EQ(0, second.exitCode) << second.err;
    EXPECT_NE(std::string::npos, second.out.find("IDC_DLYJ_RADIUS_PREFIX \"RR-\"")) << second.out;
    EXPECT_NE(std::string::npos, second.out.find("IDC_DLYJ_PRECISION \"0.0\" {")) << second.out;
    EXPECT_NE(std::string::npos, second.out.find("IDC_DLYJ_LEADER [ ]")) << second.out;

    // Another user data folder starts from the defaults.
    fs::remove_all(userData());
    RunResult fresh = run(sample(), show);
    ASSERT_EQ(0, fresh.exitCode) << fresh.err;
    EXPECT_NE(std::string::npos, fresh.out.find("IDC_DLYJ_RADIUS_PREFIX \"R-\"")) << fresh.out;
    EXPECT_NE(std::string::npos, fresh.out.find("IDC_DLYJ_PRECISION \"0.00\" {")) << fresh.out;
    EXPECT_NE(std::string::npos, fresh.out.find("IDC_DLYJ_LEADER [x]")) << fresh.out;
}

TEST_F(CurbRadiusRunner, StoredPrefixAndPrecisionShapeTheLabels)
{
    ASSERT_EQ(0,
        run(sample(), "QVDLYJBJBZ\n!dialog set 205 RR-\n!dialog select 206 0.0\n!dialog click 204\n^C\n")
            .exitCode);
    // The next process takes the stored prefix and precision without being told again.
    const fs::path saved = file("stored.dxf");
    RunResult r = run(sample(), annotateAll("!dialog uncheck 222\n"), saved);
    ASSERT_EQ(0, r.exitCode) << r.err;
    const ScriptReport report
        = inspect(saved, "--prefix RR- --decimals 1 --cut-prefix 'Q ' " + layersOption({kCurbLayer}));
    expectCleanTextRun(report);
}

} // namespace
} // namespace planroad::test
