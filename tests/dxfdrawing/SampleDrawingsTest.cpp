// The drawings of other programs: each reads, saves as R2010 with nothing lost, and saves again unchanged.
#include <algorithm>
#include <cctype>

#include "DrawingTestSupport.h"

namespace planroad::test {
namespace {

// Every DXF file in the samples folder; one empty name when there is no folder, so that the test says so.
std::vector<std::string> sampleNames()
{
    std::vector<std::string> names;
    const fs::path folder = samplesFolder();
    if (!folder.empty()) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            std::string extension = entry.path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(),
                [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (entry.is_regular_file() && extension == ".dxf")
                names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    if (names.empty())
        names.emplace_back();
    return names;
}

std::string testName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = info.param.empty() ? "NoSamples" : fs::path(info.param).stem().string();
    std::replace_if(
        name.begin(), name.end(), [](unsigned char c) { return std::isalnum(c) == 0; }, '_');
    return name;
}

class SampleDrawing : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        if (GetParam().empty())
            GTEST_SKIP() << kNoSamples;
        mOriginal = samplesFolder() / GetParam();
    }

    fs::path mOriginal;
    ScratchFolder mFolder;
};

TEST_P(SampleDrawing, SavesAsR2010WithNothingLostAndSavesAgainByteForByte)
{
    std::unique_ptr<AcDbDatabase> db;
    ASSERT_NO_THROW(db = dxf::readDrawingFile(mOriginal));
    const fs::path first = mFolder / "first.dxf";
    std::string error;
    ASSERT_TRUE(dxf::saveDrawingFile(*db, first, {}, error)) << error;

    // Read again and saved again, the file does not change: nothing drifts from one save to the next.
    std::unique_ptr<AcDbDatabase> again;
    ASSERT_NO_THROW(again = dxf::readDrawingFile(first));
    const fs::path second = mFolder / "second.dxf";
    ASSERT_TRUE(dxf::saveDrawingFile(*again, second, {}, error)) << error;
    EXPECT_EQ("", firstDifference(readBytes(first), readBytes(second)))
        << "the second save differs from the first";

    // Objects keep the handles the file gave them.
    const HandleScan scan = scanHandles(readBytes(first));
    expectConsistent(scan);
    expectKept(scanHandles(readBytes(mOriginal)), scan);

    if (!Checker::available())
        GTEST_SKIP() << Checker::kMissing;
    const Outcome audit = Checker::audit(first);
    EXPECT_EQ(0, audit.exitCode) << audit.output;
    const Outcome compare = Checker::compare(mOriginal, first);
    EXPECT_EQ(0, compare.exitCode) << compare.output;
}

TEST_P(SampleDrawing, ReadsBackTheSameFromEverySaveVersion)
{
    std::unique_ptr<AcDbDatabase> db = dxf::readDrawingFile(mOriginal);
    for (dxf::Version version : {dxf::Version::R2000, dxf::Version::R2004, dxf::Version::R2007,
             dxf::Version::R2010, dxf::Version::R2013, dxf::Version::R2018}) {
        SCOPED_TRACE(std::string(dxf::acadVer(version)));
        const std::string text = drawingText(*db, version);
        std::unique_ptr<AcDbDatabase> back;
        ASSERT_NO_THROW(back = dxf::readDrawing(text));
        expectSameDrawing(describe(*db), describe(*back));
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleDrawing, ::testing::ValuesIn(sampleNames()), testName);

} // namespace
} // namespace planroad::test
