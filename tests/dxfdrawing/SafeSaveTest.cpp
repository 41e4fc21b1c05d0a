// Saving safely: a save that cannot be done says why in one line and leaves the folder as it was.
#include <sys/stat.h>

#include "DrawingTestSupport.h"

namespace planroad::test {
namespace {

constexpr std::string_view kOldBytes = "the drawing saved before\r\n";

struct Failure {
    const char* name;
    fs::path target; // relative to the scratch folder
    void (*prepare)(const fs::path&); // given the scratch folder
    const char* why; // a part of the message
};

const Failure kFailures[] = {
    {"MissingFolder", "no-such-folder/road.dxf", [](const fs::path&) {}, "does not exist"},
    {"ReadOnlyFolder", "road.dxf",
        [](const fs::path& folder) {
            writeBytes(folder / "road.dxf", kOldBytes);
            fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
        },
        "Permission denied"},
    // A folder where the file would go: the new file cannot take its place.
    {"TargetIsAFolder", "road.dxf",
        [](const fs::path& folder) {
            fs::create_directory(folder / "road.dxf");
            writeBytes(folder / "road.dxf" / "inside.dxf", kOldBytes);
        },
        "Is a directory"},
};

void PrintTo(const Failure& failure, std::ostream* out)
{
    *out << failure.name;
}

class FailedSave : public ::testing::TestWithParam<Failure> {
protected:
    AcDbDatabase mDb;
    ScratchFolder mFolder;
};

TEST_P(FailedSave, SaysWhyAndLeavesTheFolderAsItWas)
{
    const Failure& failure = GetParam();
    writeBytes(mFolder / "other.dxf", kOldBytes);
    failure.prepare(mFolder.path());
    if (std::string(failure.name) == "ReadOnlyFolder" && access(mFolder.path().c_str(), W_OK) == 0)
        GTEST_SKIP() << "folder permissions do not stop this user (root): the read-only case cannot be made";
    const std::vector<std::string> before = mFolder.names();

    std::string error;
    EXPECT_FALSE(dxf::saveDrawingFile(mDb, mFolder / failure.target, {}, error));
    EXPECT_EQ(0u, error.rfind("cannot save ", 0)) << error;
    EXPECT_NE(std::string::npos, error.find(failure.why)) << error;
    EXPECT_EQ(std::string::npos, error.find('\n')) << error;

    EXPECT_EQ(before, mFolder.names()) << "a file was left behind";
    EXPECT_EQ(kOldBytes, readBytes(mFolder / "other.dxf"));
    if (fs::is_regular_file(mFolder / "road.dxf")) {
        EXPECT_EQ(kOldBytes, readBytes(mFolder / "road.dxf"));
    }
}

INSTANTIATE_TEST_SUITE_P(Saves, FailedSave, ::testing::ValuesIn(kFailures),
    [](const ::testing::TestParamInfo<Failure>& failure) { return std::string(failure.param.name); });

TEST(SafeSave, ReplacesTheOldFileKeepingItsPermissionsAndNoTemporaryFile)
{
    ScratchFolder folder;
    const fs::path target = folder / "道路.dxf";
    writeBytes(target, kOldBytes);
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    AcDbDatabase db;
    std::string error;
    ASSERT_TRUE(dxf::saveDrawingFile(db, target, {}, error)) << error;

    EXPECT_EQ(std::vector<std::string> {"道路.dxf"}, folder.names());
    EXPECT_EQ(drawingText(db), readBytes(target));
    EXPECT_EQ(fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
        fs::status(target).permissions());
    // The drawing now goes by the name it was saved as, and so does the drawing read from the file.
    std::unique_ptr<AcDbDatabase> back;
    ASSERT_NO_THROW(back = dxf::readDrawingFile(target));
    for (AcDbDatabase* drawing : {&db, back.get()}) {
        const ACHAR* name = nullptr;
        drawing->getFilename(name);
        ASSERT_NE(nullptr, name);
        EXPECT_TRUE(std::wstring(name).ends_with(L"/道路.dxf"))
            << "the drawing's file name is not the file's";
    }
}

} // namespace
} // namespace planroad::test
