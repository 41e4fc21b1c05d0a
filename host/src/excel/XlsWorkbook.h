// Excel 97-2003 workbooks (.xls, BIFF8 in a compound file) of text cells: written and read back.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace arxhost::excel {

enum class HAlign { General, Left, Centre, Right };

struct Sheet {
    std::wstring name = L"Sheet1";
    std::map<std::pair<int, int>, std::wstring> cells; // (row, column) from 1 -> text
    std::map<int, double> columnWidths; // column from 1 -> width in characters of the default font
    HAlign align = HAlign::General; // of every cell of the sheet
};

struct Workbook {
    std::vector<Sheet> sheets;
};

// Writes the workbook as a BIFF8 .xls file (safely: a temporary file in the folder, renamed).
// Fails, leaving any earlier file untouched, when the workbook breaks the format's limits: no sheet,
// a sheet name Excel refuses (empty, over 31 characters, []:*?/\, repeated), a cell outside rows
// 1..65536 or columns 1..256, a text over 32767 characters. Empty texts are not written.
bool writeXls(const Workbook& book, const std::filesystem::path& file, std::string& error);

// Reads such a file back (the sheets' names, text cells, column widths, alignment). A sheet's alignment
// is that of its first cell, or of its first column width when it has no cells.
std::optional<Workbook> readXls(const std::filesystem::path& file, std::string& error);

} // namespace arxhost::excel
