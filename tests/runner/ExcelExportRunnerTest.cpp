// The dimension check's workbook export through the runner on the sample drawing: the example script
// writes a real .xls named after the drawing into the folder it chooses; with --no-excel the export says
// the program is missing and writes nothing.
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "runner/RunnerSupport.h"

namespace planroad::test {
namespace {

// The example script with its folder replaced by the test's own and, unless answered, Enter for the
// last message box.
std::filesystem::path exportScript(const std::filesystem::path& folder, bool answered)
{
    std::string text = slurp(sourceRoot() / "examples" / "corner-export.scr");
    const auto replace = [&text](const std::string& line, const std::string& by) {
        const std::size_t at = text.find(line);
        if (at != std::string::npos)
            text.replace(at, line.size(), by);
    };
    replace("!folder out\n", "!folder " + folder.string() + "\n");
    if (!answered)
        replace("!answer No\n", "\n");
    return writeScript(answered ? "corner-export" : "corner-export-ok", text);
}

TEST(ExcelExportRunner, ExampleScriptWritesTheWorkbookNamedAfterTheDrawing)
{
    DrawingFolder folder("excel-export");
    const std::string common = shellQuoted(sourceRoot() / "examples" / "road-sample.dxf") + " --user-data "
        + shellQuoted(folder.path / "user") + " --script ";
    const std::filesystem::path workbook = folder.path / "road-sample_圆切角检测.xls";

    const std::filesystem::path script = exportScript(folder.path, true);
    const RunResult run = runRunner(common + shellQuoted(script));
    EXPECT_EQ(0, run.exitCode) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("Excel文件导出成功！"));
    EXPECT_NE(std::string::npos,
        run.out.find(
            "成功导出检测结果到" + folder.path.string() + "/road-sample_圆切角检测.xls。是否打开？"));
    ASSERT_TRUE(std::filesystem::exists(workbook));
    // A compound file (the container of .xls workbooks) by its signature.
    EXPECT_EQ(std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8), slurp(workbook).substr(0, 8));
    std::filesystem::remove(workbook);

    const std::filesystem::path enter = exportScript(folder.path, false);
    const RunResult missing = runRunner(common + shellQuoted(enter) + " --no-excel");
    EXPECT_EQ(0, missing.exitCode) << missing.err;
    const std::size_t told = missing.out.find("没有安装Excel");
    ASSERT_NE(std::string::npos, told);
    EXPECT_NE(std::string::npos, missing.out.find("Excel文件导出失败！", told));
    EXPECT_EQ(std::string::npos, missing.out.find("打开确认"));
    EXPECT_FALSE(std::filesystem::exists(workbook));
    std::filesystem::remove(script);
    std::filesystem::remove(enter);
}

} // namespace
} // namespace planroad::test
