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
