// The BIFF8 workbook stream of a Workbook, without the compound-file container around it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "excel/XlsWorkbook.h"

namespace arxhost::excel::biff8 {

// The record types the writer and the reader use, by their names in the format's documentation.
enum : std::uint16_t {
    rtBof = 0x0809,
    rtEof = 0x000A,
    rtContinue = 0x003C,
    rtInterfaceHdr = 0x00E1,
    rtMms = 0x00C1,
    rtInterfaceEnd = 0x00E2,
    rtWriteAccess = 0x005C,
    rtCodePage = 0x0042,
    rtDsf = 0x0161,
    rtRrTabId = 0x013D,
    rtWinProtect = 0x0019,
    rtProtect = 0x0012,
    rtPassword = 0x0013,
    rtProt4Rev = 0x01AF,
    rtProt4RevPass = 0x01BC,
    rtWindow1 = 0x003D,
    rtBackup = 0x0040,
    rtHideObj = 0x008D,
    rtDate1904 = 0x0022,
    rtCalcPrecision = 0x000E,
    rtRefreshAll = 0x01B7,
    rtBookBool = 0x00DA,
    rtFont = 0x0031,
    rtFormat = 0x041E,
    rtXf = 0x00E0,
    rtStyle = 0x0293,
    rtUsesElfs = 0x0160,
    rtBoundSheet8 = 0x0085,
    rtCountry = 0x008C,
    rtSst = 0x00FC,
    rtExtSst = 0x00FF,
    rtIndex = 0x020B,
    rtCalcMode = 0x000D,
    rtCalcCount = 0x000C,
    rtCalcRefMode = 0x000F,
    rtCalcIter = 0x0011,
    rtCalcDelta = 0x0010,
    rtCalcSaveRecalc = 0x005F,
    rtPrintRowCol = 0x002A,
    rtPrintGrid = 0x002B,
    rtGridSet = 0x0082,
    rtGuts = 0x0080,
    rtDefaultRowHeight = 0x0225,
    rtWsBool = 0x0081,
    rtHeader = 0x0014,
    rtFooter = 0x0015,
    rtHCenter = 0x0083,
    rtVCenter = 0x0084,
    rtSetup = 0x00A1,
    rtDefColWidth = 0x0055,
    rtColInfo = 0x007D,
    rtDimensions = 0x0200,
    rtRow = 0x0208,
    rtLabelSst = 0x00FD,
    rtDbCell = 0x00D7,
    rtWindow2 = 0x023E,
    rtSelection = 0x001D,
    rtLabel = 0x0204, // older writers' text cells; read, never written
};

// Largest record body; longer data goes on in Continue records.
inline constexpr std::size_t kMaxRecordData = 8224;

// The Workbook stream's bytes: the globals substream, then one worksheet substream per sheet.
// Empty when the workbook breaks the format's limits (error says which and where).
std::optional<std::vector<std::uint8_t>> buildStream(const Workbook& book, std::string& error);

// Reads a Workbook stream; only BIFF8 (Excel 97 and later) is accepted.
std::optional<Workbook> parseStream(std::span<const std::uint8_t> stream, std::string& error);

// wchar_t text (UTF-32 here) to and from the UTF-16 of the file; unpaired surrogates pass through.
std::u16string toUtf16(std::wstring_view text);
std::wstring fromUtf16(std::u16string_view text);

} // namespace arxhost::excel::biff8
