// The intersection standards file: road classes by width and the corner-cut standard of two classes.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "IntersectionStandards.h"

namespace planroad::test {
namespace {

namespace fs = std::filesystem;

const char* const kStandards = "\xEF\xBB\xBF"
                               "[道路等级]\n"
                               "; road class = lowest road width of the class\n"
                               "主干路=40\n"
                               "次干路=24\n"
                               "支路 = 12\n"
                               "街坊路=0\n"
                               "\n"
                               "[切角标准]\r\n"
                               "主干路-主干路=20\r\n"
                               "主干路-次干路=15\r\n"
                               "# pairs may be written either way round\r\n"
                               "支路 - 主干路=10\r\n"
                               "次干路-次干路=15 ; the same as above\r\n"
                               "次干路-支路=10\r\n"
                               "支路-支路=5\r\n";

class IntersectionStandards : public ::testing::Test {
protected:
    IntersectionStandards()
        : mFolder(fs::temp_directory_path() / ("planroad-roadbase-" + std::to_string(getpid())))
    {
        fs::create_directories(mFolder / "config");
    }
    ~IntersectionStandards() override
    {
        std::error_code ec;
        fs::remove_all(mFolder, ec);
    }
    // Writes the file and returns its path as the product family writes paths: with backslashes.
    CString write(const std::string& name, const std::string& bytes)
    {
        const fs::path file = mFolder / "config" / fs::path(std::u8string(name.begin(), name.end()));
        std::ofstream(file, std::ios::binary) << bytes;
        std::string text = (mFolder / "config").string() + "\\" + name;
        return CString(text.c_str());
    }

    fs::path mFolder;
};

TEST_F(IntersectionStandards, WidthsAreClassifiedByTheGreatestLowerBoundAndPairsLookedUpEitherWay)
{
    CQvRoadJckData data;
    ASSERT_EQ(1, data.ReadFromFile(write("道路交叉口参数.ini", kStandards)));
    struct Case {
        double w1;
        double w2;
        double expected; // 0: no standard
    };
    const Case cases[] = {
        {50, 50, 20}, // 主干路-主干路
        {40, 24, 15}, // both exactly on their class bounds
        {24, 40, 15}, // the other order
        {39.99, 40, 15}, // just below a bound is the class beneath
        {12, 60, 10}, // written as 支路-主干路
        {60, 12, 10}, {30, 30, 15}, {11.99, 24, 0}, // 街坊路-次干路 has no entry
        {5, 5, 0}, // 街坊路-街坊路 neither
        {-1, 40, 0}, // a negative width has no class
        {24 - 1e-9, 12, 10}, // a width sum a hair below 24 still counts as 24
    };
    for (const Case& c : cases) {
        double value = -1;
        const int found = data.GetRoadRadium(c.w1, c.w2, value);
        if (c.expected == 0) {
            EXPECT_EQ(0, found) << c.w1 << " / " << c.w2;
            EXPECT_EQ(-1, value) << "left untouched";
        } else {
            EXPECT_NE(0, found) << c.w1 << " / " << c.w2;
            EXPECT_EQ(c.expected, value) << c.w1 << " / " << c.w2;
        }
    }
}

TEST_F(IntersectionStandards, AMissingFileOrSectionGivesNoStandard)
{
    CQvRoadJckData data;
    ASSERT_EQ(1, data.ReadFromFile(write("jckdata.ss", kStandards)));
    double value = -1;
    ASSERT_NE(0, data.GetRoadRadium(40, 40, value));

    // Reading a file that is not there forgets what was read before.
    EXPECT_EQ(0, data.ReadFromFile(write("jckdata.ss", kStandards) + L".missing"));
    value = -1;
    EXPECT_EQ(0, data.GetRoadRadium(40, 40, value));
    EXPECT_EQ(-1, value);

    CQvRoadJckData classesOnly;
    ASSERT_EQ(1, classesOnly.ReadFromFile(write("classes.ini", "[道路等级]\n主干路=40\n")));
    EXPECT_EQ(0, classesOnly.GetRoadRadium(40, 40, value));
    CQvRoadJckData standardsOnly;
    ASSERT_EQ(1, standardsOnly.ReadFromFile(write("pairs.ini", "[切角标准]\n主干路-主干路=20\n")));
    EXPECT_EQ(0, standardsOnly.GetRoadRadium(40, 40, value));
    EXPECT_EQ(-1, value);
}

TEST_F(IntersectionStandards, MalformedLinesAreSkippedAndTheRestStillCounts)
{
    const std::string text = "[道路等级\n" // no closing bracket: not a section, not a pair
                             "主干路=40\n"
                             "[道路等级]\n"
                             "主干路=四十\n" // not a number
                             "次干路=24\n"
                             "=12\n" // no name
                             "支路 12\n" // no equals sign
                             "支路=12\n"
                             "[其他]\n"
                             "主干路=1\n" // another section's key is not a class
                             "[切角标准]\n"
                             "次干路-支路=\n" // no value
                             "次干路-次干路=15x\n" // trailing garbage
                             "支路-支路=5\n";
    CQvRoadJckData data;
    ASSERT_EQ(1, data.ReadFromFile(write("bad.ini", text)));
    double value = -1;
    EXPECT_NE(0, data.GetRoadRadium(12, 20, value));
    EXPECT_EQ(5, value);
    value = -1;
    EXPECT_EQ(0, data.GetRoadRadium(24, 24, value)); // its standard line was garbage
    EXPECT_EQ(0, data.GetRoadRadium(24, 12, value));
    // "主干路" never got a valid class line: 50 is a 次干路.
    EXPECT_EQ(0, data.GetRoadRadium(50, 12, value));
    EXPECT_EQ(-1, value);
}

} // namespace
} // namespace planroad::test
