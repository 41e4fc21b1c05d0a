// The dimension check's workbook export: CExcelOper against the host's spreadsheet program, and the
// "导出EXCEL" button end to end (folder, file name, rows, the program missing, a failed save, the answer).
#include <map>

#include "ModelessFixture.h"

#include "CustomParameterStore.h"
#include "cornercheck/YQJDimCheckDlg.h"
#include "export/ExcelOper.h"
#include "ole/ExcelServer.h"
#include "text/Utf8.h"

namespace planroad::test {
namespace {

using arxhost::ole::ExcelServer;
using arxhost::ole::ExcelWorkbook;

const std::wstring kSuffix = L"_圆切角检测.xls";

class ExcelExport : public ModelessFixture {
protected:
    void SetUp() override
    {
        ModelessFixture::SetUp();
        ExcelServer::instance().reset();
        ExcelServer::instance().setStorage(arxhost::ole::ExcelStorage {
            [this](const ExcelWorkbook& book, const std::filesystem::path& file, std::string& error) {
                if (failSaves) {
                    error = "the folder is read-only";
                    return false;
                }
                saved[arxhost::fromUtf8(file.string())] = book;
                return true;
            },
            [this](const std::filesystem::path& file, ExcelWorkbook& book, std::string& error) {
                const auto found = saved.find(arxhost::fromUtf8(file.string()));
                if (found == saved.end()) {
                    error = "no such file";
                    return false;
                }
                book = found->second;
                return true;
            }});
        // ASCII: the host's folder browser cannot take a folder with other characters yet.
        folder = arxhost::fromUtf8(mDataDir.string()) + L"/export";
        std::filesystem::create_directories(std::filesystem::path(arxhost::toUtf8(folder)));
    }
    void TearDown() override
    {
        ExcelServer::instance().reset();
        ModelessFixture::TearDown();
    }

    // The drawing named so, and the check dialog listing `rows` errors.
    void openChecked(const std::wstring& drawingName, int rows)
    {
        session().openDrawing(std::make_unique<AcDbDatabase>(), drawingName);
        type(L"FDeal_RoadYqjDimCheck\n");
        ASSERT_NE(nullptr, g_pYqjDimCheckDlg);
        CYQJDimCheckDlg& check = *g_pYqjDimCheckDlg;
        check.m_allRows.RemoveAll();
        check.m_errRows.RemoveAll();
        for (int i = 0; i < rows; ++i) {
            SYQJINFO row;
            row.strText.Format(L"Q%d.0", 15 + i);
            row.dRealValue = 17.5;
            row.nErrType = 2;
            check.m_allRows.Add(row);
            check.m_errRows.Add(row);
        }
        check.ShowYqjResult();
        CYQJDimCheckDlg::ShowDlg(1);
    }
    const ExcelWorkbook* file(const std::wstring& name) const
    {
        const auto found = saved.find(folder + L"/" + name);
        return found == saved.end() ? nullptr : &found->second;
    }
    std::wstring exportText() { return transcriptFromLast(L"Command: !dialog 31022 click 3"); }

    std::map<std::wstring, ExcelWorkbook> saved;
    bool failSaves = false;
    std::wstring folder;
};

TEST_F(ExcelExport, FirstExportAsksForTheFolderTheSecondRemembersIt)
{
    openChecked(L"road.dwg", 2);
    type(L"!dialog 31022 click 3\n!folder " + folder + L"\n!answer No\n");
    const std::wstring first = exportText();
    EXPECT_NE(std::wstring::npos, first.find(L"[Browse for folder]"));
    EXPECT_NE(std::wstring::npos, first.find(L"请选择保存的位置"));
    EXPECT_NE(std::wstring::npos, first.find(L"Excel文件导出成功！"));
    EXPECT_NE(std::wstring::npos,
        first.find(L"[Message box \"打开确认\" question] 成功导出检测结果到" + folder + L"/road" + kSuffix
            + L"。是否打开？\n  Buttons: Yes No*"));
    const ExcelWorkbook* book = file(L"road" + kSuffix);
    ASSERT_NE(nullptr, book);
    const arxhost::ole::ExcelSheet& sheet = book->sheets.front();
    EXPECT_EQ(3u, book->sheets.size());
    EXPECT_EQ(
        (std::map<std::pair<int, int>, std::wstring> {{{1, 1}, L"序号"}, {{1, 2}, L"标注文字"},
            {{1, 3}, L"实际值"}, {{1, 4}, L"标准值"}, {{1, 5}, L"错误类型"}, {{2, 1}, L"1"},
            {{2, 2}, L"Q15.0"}, {{2, 3}, L"17.5"}, {{2, 4}, L"0.0"}, {{2, 5}, L"标注错"}, {{3, 1}, L"2"},
            {{3, 2}, L"Q16.0"}, {{3, 3}, L"17.5"}, {{3, 4}, L"0.0"}, {{3, 5}, L"标注错"}}),
        sheet.cells);
    EXPECT_EQ(arxhost::ole::kXlCenter, sheet.align);
    EXPECT_EQ(8.0, sheet.columnWidths.at(2)); // "标注文字": four wide characters
    // "No": the program the export started is gone.
    ASSERT_EQ(1u, ExcelServer::instance().instances().size());
    EXPECT_TRUE(ExcelServer::instance().instances().front()->quit);

    // The folder is remembered: the second export asks for nothing but the answer.
    saved.clear();
    type(L"!dialog 31022 click 3\n!answer No\n");
    EXPECT_EQ(std::wstring::npos, exportText().find(L"[Browse for folder]"));
    EXPECT_NE(nullptr, file(L"road" + kSuffix));
}

TEST_F(ExcelExport, CancelledFolderBrowserEndsSilently)
{
    openChecked(L"road.dwg", 2);
    type(L"!dialog 31022 click 3\n!folder cancel\n");
    EXPECT_TRUE(saved.empty());
    EXPECT_TRUE(ExcelServer::instance().instances().empty());
    EXPECT_EQ(std::wstring::npos, exportText().find(L"Excel文件"));
    CString remembered;
    EXPECT_EQ(0, TarnCad::Fun::FGetVROutFilePath(remembered));
}

TEST_F(ExcelExport, WorkbookIsNamedAfterTheDrawingAndAnEmptyListGivesTheHeaderOnly)
{
    const struct {
        const wchar_t* drawing;
        const wchar_t* workbook;
    } names[] = {{L"road.dwg", L"road"}, {L"plan.v2.dwg", L"plan.v2"}, {L"untitled", L"untitled"}};
    for (const auto& name : names) {
        SCOPED_TRACE(name.drawing);
        saved.clear();
        openChecked(name.drawing, 0);
        TarnCad::Fun::FSetVROutFilePath(folder.c_str());
        type(L"!dialog 31022 click 3\n!answer No\n");
        const ExcelWorkbook* book = file(name.workbook + kSuffix);
        ASSERT_NE(nullptr, book);
        EXPECT_EQ(5u, book->sheets.front().cells.size());
        EXPECT_EQ(L"错误类型", book->sheets.front().cells.at({1, 5}));
    }
}

TEST_F(ExcelExport, MissingProgramIsReportedAndNothingIsWritten)
{
    openChecked(L"road.dwg", 2);
    ExcelServer::instance().setInstalled(false);
    TarnCad::Fun::FSetVROutFilePath(folder.c_str());
    type(L"!dialog 31022 click 3\n\n");
    const std::wstring text = exportText();
    const std::size_t missing = text.find(L"[Message box \"提示\"] 没有安装Excel");
    ASSERT_NE(std::wstring::npos, missing);
    EXPECT_NE(std::wstring::npos, text.find(L"Excel文件导出失败！", missing));
    EXPECT_EQ(std::wstring::npos, text.find(L"打开确认"));
    EXPECT_TRUE(saved.empty());
}

TEST_F(ExcelExport, FailedSaveIsReportedAndTheProgramClosed)
{
    openChecked(L"road.dwg", 1);
    failSaves = true;
    TarnCad::Fun::FSetVROutFilePath(folder.c_str());
    type(L"!dialog 31022 click 3\n");
    const std::wstring text = exportText();
    EXPECT_NE(std::wstring::npos, text.find(L"Excel文件导出失败！"));
    EXPECT_EQ(std::wstring::npos, text.find(L"打开确认"));
    ASSERT_EQ(1u, ExcelServer::instance().instances().size());
    EXPECT_TRUE(ExcelServer::instance().instances().front()->quit);
}

TEST_F(ExcelExport, YesShowsTheWorkbookInTheProgram)
{
    openChecked(L"road.dwg", 1);
    TarnCad::Fun::FSetVROutFilePath(folder.c_str());
    type(L"!dialog 31022 click 3\n!answer Yes\n");
    EXPECT_NE(std::wstring::npos, exportText().find(L"[Excel: road" + kSuffix + L" shown]"));
    const std::shared_ptr<arxhost::ole::ExcelInstance> app = ExcelServer::instance().running();
    ASSERT_NE(nullptr, app);
    EXPECT_TRUE(app->visible);
    ASSERT_EQ(1u, app->workbooks.size());
    EXPECT_EQ(L"road" + kSuffix, app->workbooks.front()->name);
}

TEST_F(ExcelExport, AttachedProgramKeepsTheUsersWorkbooksAndRuns)
{
    ExcelWorkbook budget {L"预算.xls", {}, {{L"Sheet1", {{{1, 1}, L"未保存的修改"}}, {}, 1}}};
    const std::shared_ptr<arxhost::ole::ExcelInstance> users = ExcelServer::instance().startByUser({budget});
    users->sheetsInNewWorkbook = 1;
    openChecked(L"road.dwg", 2);
    TarnCad::Fun::FSetVROutFilePath(folder.c_str());
    type(L"!dialog 31022 click 3\n!answer No\n");
    EXPECT_NE(nullptr, file(L"road" + kSuffix));
    EXPECT_EQ(1u, ExcelServer::instance().instances().size()); // no program of its own
    EXPECT_FALSE(users->quit);
    EXPECT_TRUE(users->visible);
    EXPECT_TRUE(users->displayAlerts);
    EXPECT_EQ(1, users->sheetsInNewWorkbook);
    ASSERT_EQ(1u, users->workbooks.size());
    EXPECT_EQ(L"未保存的修改", users->workbooks.front()->sheets.front().cells.at({1, 1}));
}

TEST_F(ExcelExport, OperatorDoesNothingUntilStartedAndMapsAlignments)
{
    CExcelOper idle;
    CStringArray row;
    row.Add(L"x");
    const std::function<BOOL()> steps[]
        = {[&] { return idle.NewWorkbook(); }, [&] { return idle.SelectSheet(1); },
            [&] { return idle.SetHAlign(2); }, [&] { return idle.WriteRow(1, row); },
            [&] { return idle.AutoFitColumns(); }, [&] { return idle.SaveAs(L"a.xls"); },
            [&] { return idle.OpenWorkbook(L"a.xls"); }, [&] { return idle.Close(); }};
    for (const auto& step : steps)
        EXPECT_EQ(0, step());
    EXPECT_TRUE(ExcelServer::instance().instances().empty());

    CExcelOper excel;
    ASSERT_TRUE(excel.StartExcel(FALSE));
    ASSERT_TRUE(excel.NewWorkbook());
    const std::shared_ptr<arxhost::ole::ExcelInstance> app = ExcelServer::instance().instances().back();
    EXPECT_FALSE(app->visible);
    EXPECT_FALSE(app->displayAlerts);
    EXPECT_EQ(3u, app->workbooks.front()->sheets.size());
    const long& align = app->workbooks.front()->sheets.front().align;
    const struct {
        int mode;
        BOOL done;
        long align;
    } modes[] = {{1, TRUE, -4131}, {0, TRUE, 1}, {2, TRUE, -4108}, {3, TRUE, -4152}, {4, FALSE, -4152},
        {-1, FALSE, -4152}};
    for (const auto& mode : modes) {
        SCOPED_TRACE(mode.mode);
        EXPECT_EQ(mode.done, excel.SetHAlign(mode.mode));
        EXPECT_EQ(mode.align, align);
    }
    // A failed call leaves the framework's message.
    EXPECT_EQ(0, excel.SelectSheet(9));
    EXPECT_EQ(CString(L"Invalid index."), excel.m_strError);
    EXPECT_TRUE(excel.Close());
    EXPECT_TRUE(app->quit);
    EXPECT_EQ(0, excel.Close());
}

} // namespace
} // namespace planroad::test
