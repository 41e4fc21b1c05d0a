// Text helpers of the resource-script reader: string literals, UTF-8, case-insensitive keywords.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace arxhost::rc {

// The body of a string literal (between the quotes) decoded into wide text: UTF-8 is decoded, `""`
// is a quote, and the escapes \n \t \r \a (0x08, as the resource compiler has it) \\ \" \ooo (octal)
// and \x.. (two hex digits, four in an L"" string) are replaced. An unknown escape is kept as written.
// Throws std::invalid_argument for malformed UTF-8.
std::wstring decodeStringLiteral(std::string_view raw, bool wide);

// Wide text as UTF-8 (for file names).
std::string toUtf8(std::wstring_view text);

// ASCII text (identifiers, class names) widened one to one.
std::wstring widenAscii(std::string_view text);

bool equalsNoCase(std::string_view a, std::string_view b) noexcept;
bool equalsNoCase(std::wstring_view a, std::wstring_view b) noexcept;

} // namespace arxhost::rc
