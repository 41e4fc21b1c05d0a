// Tests of .xls workbooks: read back by the host and by python3-xlrd, Unicode, sizes, failed and safe saving.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "excel/XlsWorkbook.h"

namespace {

namespace fs = std::filesystem;
using arxhost::excel::HAlign;
using arxhost::excel::readXls;
using arxhost::excel::Sheet;
using arxhost::excel::Workbook;
using arxhost::excel::writeXls;

class TempFolder {
public:
    TempFolder()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path()
            / (std::string("xls-") + info->name() + "-" + std::to_string(::getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& path() const { return path_; }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(path_))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    fs::path path_;
};

std::string fileBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void expectSameBook(const Workbook& expected, const Workbook& actual, bool compareAlignment = true)
{
    ASSERT_EQ(expected.sheets.size(), actual.sheets.size());
    for (std::size_t i = 0; i < expected.sheets.size(); ++i) {
        const Sheet& want = expected.sheets[i];
        const Sheet& got = actual.sheets[i];
        SCOPED_TRACE("sheet " + std::to_string(i));
        EXPECT_TRUE(want.name == got.name);
        std::map<std::pair<int, int>, std::wstring> wantCells;
        for (const auto& [at, text] : want.cells) {
            if (!text.empty()) // empty texts are empty cells
                wantCells[at] = text;
        }
        EXPECT_EQ(wantCells.size(), got.cells.size());
        EXPECT_TRUE(wantCells == got.cells);
        EXPECT_EQ(want.columnWidths, got.columnWidths);
        if (compareAlignment) {
            EXPECT_EQ(want.align, got.align);
        }
    }
}

// The workbook as another reader sees it, with the horizontal alignments it found on each sheet's cells.
struct ReaderView {
    Workbook book;
    std::vector<std::set<int>> alignments;
};

std::wstring fromHex(std::istringstream& in)
{
    std::wstring text;
    std::string code;
    while (in >> code)
        text += static_cast<wchar_t>(std::stoul(code, nullptr, 16));
    return text;
}

bool haveXlrd()
{
    const std::string command = std::string(PLANROAD_PYTHON) + " -c 'import xlrd' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

bool haveLibreOffice()
{
    return std::system("command -v soffice >/dev/null 2>&1") == 0;
}

// Runs one of the inventory scripts (xlrd's or LibreOffice's) on a workbook and reads what it printed.
ReaderView readInventory(const char* script, const fs::path& file)
{
    const std::string command = std::string(PLANROAD_PYTHON) + " " + script + " '" + file.string() + "' 2>&1";
    std::string output;
    FILE* pipe = ::popen(command.c_str(), "r");
    EXPECT_NE(pipe, nullptr);
    if (pipe == nullptr)
        return {};
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    EXPECT_EQ(::pclose(pipe), 0) << output;

    ReaderView view;
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream in(line);
        std::string kind;
        in >> kind;
        if (kind == "sheet") {
            view.book.sheets.emplace_back();
            view.book.sheets.back().name = fromHex(in);
            view.alignments.emplace_back();
        } else if (kind == "cell" && !view.book.sheets.empty()) {
            int row = 0, column = 0, align = 0;
            in >> row >> column >> align;
            view.book.sheets.back().cells[{row, column}] = fromHex(in);
            view.alignments.back().insert(align);
        } else if (kind == "width" && !view.book.sheets.empty()) {
            int column = 0;
            double width = 0;
            in >> column >> width;
            view.book.sheets.back().columnWidths[column] = width;
        } else if (!line.empty()) {
            ADD_FAILURE() << script << ": " << line;
        }
    }
    return view;
}

Sheet sheetOf(std::wstring name, HAlign align)
{
    Sheet sheet;
    sheet.name = std::move(name);
    sheet.align = align;
    return sheet;
}

// An export as the module makes it, on four sheets with the four alignments.
Workbook exportBook()
{
    Workbook book;
    const HAlign aligns[] = {HAlign::Centre, HAlign::General, HAlign::Left, HAlign::Right};
    const wchar_t* names[] = {L"检查结果", L"Sheet2", L"Straße & Ämter", L"路口 (2)"};
    for (int i = 0; i < 4; ++i) {
        Sheet sheet = sheetOf(names[i], aligns[i]);
        sheet.cells[{1, 1}] = L"序号";
        sheet.cells[{1, 2}] = L"标注文字";
        sheet.cells[{1, 3}] = L"Radius (m)";
        for (int row = 2; row <= 40; ++row) {
            sheet.cells[{row, 1}] = std::to_wstring(row - 1);
            sheet.cells[{row, 2}] = L"R=" + std::to_wstring(row * 3) + L" 转角" + std::to_wstring(i);
        }
        sheet.cells[{70, 256}] = L"last column, emoji \U0001F6A7, é";
        sheet.cells[{65536, 3}] = L"last row";
        sheet.columnWidths = {{1, 6.0}, {2, 40.5}, {3, 12.25}, {256, 0.5}};
        book.sheets.push_back(std::move(sheet));
    }
    return book;
}

TEST(XlsWorkbook, ReadBackGivesTheSameSheetsCellsWidthsAndAlignment)
{
    TempFolder folder;
    const fs::path file = folder.path() / "检查结果.xls";
    const Workbook book = exportBook();
    std::string error;
    ASSERT_TRUE(writeXls(book, file, error)) << error;
    const std::optional<Workbook> back = readXls(file, error);
    ASSERT_TRUE(back) << error;
    expectSameBook(book, *back);
    EXPECT_EQ(folder.entries(), std::vector<std::string> {"检查结果.xls"}); // no temporary left behind
}

TEST(XlsWorkbook, XlrdReadsTheSameCellsNamesWidthsAndAlignment)
{
    if (!haveXlrd())
        GTEST_SKIP() << "python3-xlrd is not installed (scripts/install-deps.sh)";
    TempFolder folder;
    const fs::path file = folder.path() / "export.xls";
    const Workbook book = exportBook();
    std::string error;
    ASSERT_TRUE(writeXls(book, file, error)) << error;
    const ReaderView view = readInventory(PLANROAD_XLS_INVENTORY, file);
    expectSameBook(book, view.book, false);
    // The inventories' codes: 0 general, 1 left, 2 centred, 3 right.
    const std::set<int> expected[] = {{2}, {0}, {1}, {3}};
    ASSERT_EQ(view.alignments.size(), 4U);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(view.alignments[i], expected[i]) << "sheet " << i;
}

// LibreOffice is a reader of its own make, stricter about the records than xlrd; it gives widths in
// centimetres, which must keep the proportions of the character widths.
TEST(XlsWorkbook, LibreOfficeReadsTheSameCellsNamesAlignmentAndWidthProportions)
{
    if (!haveLibreOffice())
        GTEST_SKIP() << "LibreOffice is not installed (scripts/install-deps.sh)";
    TempFolder folder;
    const fs::path file = folder.path() / "导出.xls";
    const Workbook book = exportBook();
    std::string error;
    ASSERT_TRUE(writeXls(book, file, error)) << error;
    ReaderView view = readInventory(PLANROAD_LO_INVENTORY, file);
    ASSERT_EQ(view.book.sheets.size(), book.sheets.size());
    const std::set<int> expected[] = {{2}, {0}, {1}, {3}};
    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        SCOPED_TRACE("sheet " + std::to_string(i));
        EXPECT_EQ(view.alignments[i], expected[i]);
        std::map<int, double>& widths = view.book.sheets[i].columnWidths;
        ASSERT_EQ(widths.size(), book.sheets[i].columnWidths.size());
        const double centimetresPerCharacter = widths[2] / book.sheets[i].columnWidths.at(2);
        for (const auto& [column, characters] : book.sheets[i].columnWidths) {
            if (characters >= 1.0) { // narrower columns are rounded to LibreOffice's own units
                EXPECT_NEAR(
                    widths[column] / characters, centimetresPerCharacter, 0.03 * centimetresPerCharacter)
                    << "column " << column;
            }
        }
        widths = book.sheets[i].columnWidths; // compared above
    }
    expectSameBook(book, view.book, false);
}

TEST(XlsWorkbook, EmptySheetsAndEmptyTextsStayEmpty)
{
    TempFolder folder;
    const fs::path file = folder.path() / "empty.xls";
    Workbook book;
    book.sheets.push_back(sheetOf(L"空表", HAlign::General));
    Sheet blanks = sheetOf(L"Blanks", HAlign::Centre);
    blanks.cells[{3, 3}] = L"";
    blanks.cells[{5, 2}] = L"only";
    book.sheets.push_back(blanks);
    Sheet widthsOnly = sheetOf(L"Widths", HAlign::Right);
    widthsOnly.columnWidths[4] = 20.0;
    book.sheets.push_back(widthsOnly);

    std::string error;
    ASSERT_TRUE(writeXls(book, file, error)) << error;
    const std::optional<Workbook> back = readXls(file, error);
    ASSERT_TRUE(back) << error;
    expectSameBook(book, *back);
    if (haveXlrd()) {
        const ReaderView view = readInventory(PLANROAD_XLS_INVENTORY, file);
        expectSameBook(book, view.book, false);
    }
}

TEST(XlsWorkbook, ThousandsOfRowsAndLongTextsSurviveContinueRecords)
{
    TempFolder folder;
    const fs::path file = folder.path() / "many.xls";
    Sheet sheet = sheetOf(L"桩号", HAlign::Centre);
    for (int row = 1; row <= 4000; ++row) {
        sheet.cells[{row, 1}] = L"K" + std::to_wstring(row) + L"+000";
        sheet.cells[{row, 2}] = L"道路中心线 " + std::to_wstring(row);
        sheet.cells[{row, 3}] = row % 3 == 0 ? L"合格" : L"不合格"; // shared strings used many times
    }
    // Longer than one record: split inside the characters, the wide one at an odd byte offset.
    sheet.cells[{4001, 1}] = std::wstring(9000, L'x');
    sheet.cells[{4001, 2}] = L"a" + std::wstring(6000, L'路');
    sheet.cells[{4001, 3}] = std::wstring(32767, L'z');
    Workbook book;
    book.sheets.push_back(sheet);

    std::string error;
    ASSERT_TRUE(writeXls(book, file, error)) << error;
    const std::optional<Workbook> back = readXls(file, error);
    ASSERT_TRUE(back) << error;
    expectSameBook(book, *back);
    if (haveXlrd()) {
        const ReaderView view = readInventory(PLANROAD_XLS_INVENTORY, file);
        expectSameBook(book, view.book, false);
        EXPECT_EQ(view.alignments.at(0), std::set<int> {2});
    }
}

TEST(XlsWorkbook, SavingReplacesAnEarlierFile)
{
    TempFolder folder;
    const fs::path file = folder.path() / "export.xls";
    std::string error;
    ASSERT_TRUE(writeXls(exportBook(), file, error)) << error;
    Workbook smaller;
    smaller.sheets.push_back(sheetOf(L"Only", HAlign::Left));
    smaller.sheets.back().cells[{2, 2}] = L"新";
    ASSERT_TRUE(writeXls(smaller, file, error)) << error;
    const std::optional<Workbook> back = readXls(file, error);
    ASSERT_TRUE(back) << error;
    expectSameBook(smaller, *back);
    EXPECT_EQ(folder.entries().size(), 1U);
}

TEST(XlsWorkbook, SavingIntoAMissingFolderFailsLeavingNothing)
{
    TempFolder folder;
    const fs::path missing = folder.path() / "no such folder";
    std::string error;
    EXPECT_FALSE(writeXls(exportBook(), missing / "export.xls", error));
    EXPECT_NE(error.find("does not exist"), std::string::npos) << error;
    EXPECT_NE(error.find("no such folder"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_TRUE(folder.entries().empty());
}

struct Refused {
    const char* what;
    Workbook book;
    const char* reason;
};

Workbook oneSheet(std::wstring name, std::pair<int, int> at = {1, 1}, std::wstring text = L"x")
{
    Workbook book;
    book.sheets.push_back(sheetOf(std::move(name), HAlign::General));
    book.sheets.back().cells[at] = std::move(text);
    return book;
}

TEST(XlsWorkbook, WorkbooksBeyondTheFormatAreRefusedAndTheOldFileKept)
{
    Workbook twins = oneSheet(L"Sheet1");
    twins.sheets.push_back(sheetOf(L"SHEET1", HAlign::General));
    Workbook badWidth = oneSheet(L"W");
    badWidth.sheets.back().columnWidths[2] = -1.0;
    Workbook badWidthColumn = oneSheet(L"W");
    badWidthColumn.sheets.back().columnWidths[257] = 10.0;
    const Refused cases[] = {
        {"no sheet", Workbook {}, "at least one sheet"},
        {"empty name", oneSheet(L""), "is empty"},
        {"32 characters", oneSheet(std::wstring(32, L'名')), "longer than 31"},
        {"slash", oneSheet(L"a/b"), "[]:*?/\\"},
        {"bracket", oneSheet(L"[x]"), "[]:*?/\\"},
        {"apostrophe", oneSheet(L"'quoted'"), "apostrophe"},
        {"same name in other case", twins, "two sheets"},
        {"row 0", oneSheet(L"S", {0, 1}), "outside rows"},
        {"row 65537", oneSheet(L"S", {65537, 1}), "outside rows"},
        {"column 257", oneSheet(L"S", {1, 257}), "outside rows"},
        {"text of 32768", oneSheet(L"S", {1, 1}, std::wstring(32768, L'a')), "32767"},
        {"negative width", badWidth, "width of column 2"},
        {"width of column 257", badWidthColumn, "column 257"},
    };
    TempFolder folder;
    const fs::path file = folder.path() / "kept.xls";
    std::string error;
    ASSERT_TRUE(writeXls(exportBook(), file, error)) << error;
    const std::string before = fileBytes(file);
    for (const Refused& refused : cases) {
        SCOPED_TRACE(refused.what);
        error.clear();
        EXPECT_FALSE(writeXls(refused.book, file, error));
        EXPECT_NE(error.find(refused.reason), std::string::npos) << error;
        EXPECT_EQ(fileBytes(file), before);
        EXPECT_EQ(folder.entries(), std::vector<std::string> {"kept.xls"});
    }
}

TEST(XlsWorkbook, ReadingWhatIsNotAWorkbookSaysWhy)
{
    TempFolder folder;
    const fs::path text = folder.path() / "text.xls";
    std::ofstream(text) << "序号,标注文字\n1,R=12\n";
    std::string error;
    EXPECT_FALSE(readXls(text, error));
    EXPECT_NE(error.find("not an Excel 97-2003 workbook"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(readXls(folder.path() / "absent.xls", error));
    EXPECT_NE(error.find("no such file"), std::string::npos) << error;
}

} // namespace
