// The road width check and the cross-section conversion through the runner on the sample drawing: the
// listed widths and the zoom window agree with the centrelines read from the DXF file, and the saved
// drawing carries the converted road data and nothing else changed.
#include <algorithm>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runner/RunnerSupport.h"

namespace planroad::test {
namespace {

namespace fs = std::filesystem;

// A road centreline as the DXF file has it: the points of its geometry and its extended data, by
// application, as the strings that follow the application name.
struct Centreline {
    std::string handle;
    std::string layer;
    std::vector<double> xs;
    std::vector<double> ys;
    std::map<std::string, std::vector<std::string>> data;

    std::string field(const std::string& app, std::size_t index = 0) const
    {
        const auto it = data.find(app);
        return it == data.end() || it->second.size() <= index ? std::string() : it->second[index];
    }
    // The width the check reads: the width field when positive, else the numbers of the cross-section
    // summed.
    double width() const
    {
        const double field = std::atof(this->field("FD_WIDTH").c_str());
        if (field > 0)
            return field;
        double sum = 0;
        const std::string section = this->field("FS_DLDM");
        const std::regex number(R"(\d+(\.\d+)?)");
        for (auto it = std::sregex_iterator(section.begin(), section.end(), number);
             it != std::sregex_iterator(); ++it)
            sum += std::stod(it->str());
        return sum;
    }
};

// The entities of the ENTITIES section marked as centrelines, in file order.
std::vector<Centreline> centrelinesOf(const std::string& dxf)
{
    std::istringstream in(dxf);
    std::vector<Centreline> all;
    Centreline current;
    bool inEntities = false;
    bool inEntity = false;
    std::string app;
    auto finish = [&] {
        if (inEntity && current.data.count("FAPP_DLZX") != 0)
            all.push_back(current);
        current = Centreline();
        app.clear();
    };
    auto trim = [](std::string text) {
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        const std::size_t first = text.find_first_not_of(' ');
        return first == std::string::npos ? std::string() : text.substr(first);
    };
    for (std::string codeLine, value; std::getline(in, codeLine) && std::getline(in, value);) {
        const int code = std::stoi(trim(codeLine));
        value = trim(value);
        if (code == 2 && value == "ENTITIES")
            inEntities = true;
        if (!inEntities)
            continue;
        if (code == 0) {
            finish();
            inEntity = value != "ENDSEC";
            if (!inEntity)
                break;
        } else if (code == 5) {
            current.handle = value;
        } else if (code == 8) {
            current.layer = value;
        } else if ((code == 10 || code == 11) && app.empty()) {
            current.xs.push_back(std::stod(value));
        } else if ((code == 20 || code == 21) && app.empty()) {
            current.ys.push_back(std::stod(value));
        } else if (code == 1001) {
            app = value;
            current.data[app];
        } else if (code == 1000 && !app.empty()) {
            current.data[app].push_back(value);
        }
    }
    return all;
}

// The "number|width" rows of the last list of dialog 205 in the transcript.
std::vector<std::string> listedRows(const std::string& transcript)
{
    std::vector<std::string> rows;
    const std::size_t shown = transcript.rfind("[Dialog 205 \"");
    if (shown == std::string::npos)
        return rows;
    std::istringstream lines(transcript.substr(shown));
    const std::regex row(R"(^ +\d+ \| (\d+) +\| (\S+)$)");
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (line.rfind("  PushButton", 0) == 0)
            break;
        if (std::regex_match(line, match, row))
            rows.push_back(match[1].str() + "|" + match[2].str());
    }
    return rows;
}

std::vector<std::string> expectedRows(const std::vector<Centreline>& roads)
{
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < roads.size(); ++i) {
        char width[32];
        std::snprintf(width, sizeof width, "%.2f", roads[i].width());
        rows.push_back(std::to_string(i + 1) + "|" + width);
    }
    return rows;
}

class RoadWidthRunner : public ::testing::Test {
protected:
    void SetUp() override
    {
        mSample = slurp(sourceRoot() / "examples" / "road-sample.dxf");
        // Every centreline of the sample lies on the centreline layer of its parameters.
        mRoads = centrelinesOf(mSample);
        ASSERT_GT(mRoads.size(), 10u);
    }
    RunResult run(const char* script, const fs::path& saved) const
    {
        return runRunner(shellQuoted(sourceRoot() / "examples" / "road-sample.dxf") + " --script "
            + shellQuoted(sourceRoot() / "examples" / script) + " --user-data "
            + shellQuoted(mFolder.path / "user") + " --save " + shellQuoted(saved));
    }

    DrawingFolder mFolder {"road-width"};
    std::string mSample;
    std::vector<Centreline> mRoads;
};

TEST_F(RoadWidthRunner, ListsEveryCentrelineAndZoomsToTheDoubleClickedOne)
{
    const RunResult result = run("road-width.scr", mFolder.path / "checked.dxf");
    ASSERT_EQ(0, result.exitCode) << result.err;
    const std::vector<std::string> expected = expectedRows(mRoads);
    // The list as shown first and after "重新检测".
    const std::size_t recheck = result.out.find("!dialog 205 click IDC_ROADWIDTH_RECHECK");
    ASSERT_NE(std::string::npos, recheck);
    EXPECT_EQ(expected, listedRows(result.out.substr(0, recheck)));
    EXPECT_EQ(expected, listedRows(result.out.substr(recheck)));

    // Row 12: the window is the road's extents widened by 30 to the sides and 20 up and down.
    const Centreline& road = mRoads[12];
    const std::regex corners(R"(Specify first corner: (\S+),(\S+)\nSpecify opposite corner: (\S+),(\S+)\n)");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(result.out, match, corners)) << result.out;
    EXPECT_DOUBLE_EQ(*std::min_element(road.xs.begin(), road.xs.end()) - 30, std::stod(match[1].str()));
    EXPECT_DOUBLE_EQ(*std::min_element(road.ys.begin(), road.ys.end()) - 20, std::stod(match[2].str()));
    EXPECT_DOUBLE_EQ(*std::max_element(road.xs.begin(), road.xs.end()) + 30, std::stod(match[3].str()));
    EXPECT_DOUBLE_EQ(*std::max_element(road.ys.begin(), road.ys.end()) + 20, std::stod(match[4].str()));
    EXPECT_NE(std::string::npos, result.out.find("[Dialog 205 hidden]"));
}

TEST_F(RoadWidthRunner, ConversionRewritesTheCodedTwoPanelRoadAndKeepsTheRest)
{
    const fs::path saved = mFolder.path / "converted.dxf";
    const RunResult result = run("cross-section.scr", saved);
    ASSERT_EQ(0, result.exitCode) << result.err;
    // Only the two-panel road is coded with enough runs; the one-panel codes of the sample have six.
    EXPECT_NE(std::string::npos, result.out.find("成功转化1个道路中线.")) << result.out;

    const std::vector<Centreline> after = centrelinesOf(slurp(saved));
    ASSERT_EQ(mRoads.size(), after.size());
    int converted = 0;
    for (std::size_t i = 0; i < after.size(); ++i) {
        SCOPED_TRACE(after[i].handle);
        EXPECT_EQ(mRoads[i].handle, after[i].handle);
        if (mRoads[i].field("FS_DLDM") != "rx4cx10fg2cx10rx4") {
            EXPECT_EQ(mRoads[i].data, after[i].data);
            continue;
        }
        ++converted;
        EXPECT_EQ((std::vector<std::string> {"4+10+2+10+4", "道路断面"}), after[i].data.at("FS_DLDM"));
        EXPECT_EQ((std::vector<std::string> {"30", "道路宽度"}), after[i].data.at("FD_WIDTH"));
        EXPECT_EQ((std::vector<std::string> {"二板块", "道路板块"}), after[i].data.at("FS_DLBK"));
        EXPECT_EQ(mRoads[i].data.at("FS_DLMC"), after[i].data.at("FS_DLMC"));
    }
    EXPECT_EQ(1, converted);
    // The width check after it lists the same widths.
    EXPECT_EQ(expectedRows(after), listedRows(result.out));
}

} // namespace
} // namespace planroad::test
