// The dimension check's workbook export through the runner on the sample drawing: the example script
// writes a real .xls named after the drawing into the folder it chooses; with --no-excel the export says
// the program is missing and writes nothing.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

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

// The rows of the last list of dialog 31022 the command line showed, their cells joined by tabs.
std::vector<std::string> listedRows(const std::string& transcript)
{
    std::vector<std::string> rows;
    const std::size_t shown = transcript.rfind("[Dialog 31022 \"");
    if (shown == std::string::npos)
        return rows;
    std::istringstream lines(transcript.substr(shown));
    bool header = true;
    for (std::string line; std::getline(lines, line);) {
        if (line.find(" | ") == std::string::npos) {
            if (!rows.empty())
                break;
            continue;
        }
        // The first column is the list's item index, the second the header or the row's "序号".
        std::vector<std::string> cells;
        std::size_t from = line.find(" | ") + 3;
        for (;;) {
            const std::size_t to = line.find(" |", from);
            std::string cell = line.substr(from, to == std::string::npos ? std::string::npos : to - from);
            while (!cell.empty() && cell.back() == ' ')
                cell.pop_back();
            cells.push_back(cell);
            if (to == std::string::npos)
                break;
            from = to + 2 + (line.compare(to, 3, " | ") == 0 ? 1 : 0);
        }
        std::string row;
        for (std::size_t i = 0; i < cells.size(); ++i)
            row += (i == 0 ? "" : "\t") + cells[i];
        if (header)
            header = false; // the column headers, which the workbook's first row repeats
        rows.push_back(row);
    }
    return rows;
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
    // Read by an independent reader, the workbook holds the list's header and rows, cell for cell.
    const ScriptReport read = runPythonCheck("xls_rows.py", shellQuoted(workbook));
    if (read.output.find("No module named") != std::string::npos)
        GTEST_SKIP() << python() << " with xlrd is needed to read the workbook back";
    ASSERT_EQ(0, read.exitCode) << read.output;
    const std::vector<std::string> listed = listedRows(run.out);
    ASSERT_GT(listed.size(), 1u) << run.out;
    ASSERT_EQ(1u, read.values.count("row")) << read.output;
    EXPECT_EQ(listed, read.values.at("row"));
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
