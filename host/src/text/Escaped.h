// Texts written into the host's own line-oriented files and transcripts with backslash escapes.
#pragma once

#include <string>
#include <string_view>

namespace arxhost {

// Backslash, line breaks and tabs as \\, \n, \r and \t, and a backslash before each character of
// `special` (the quote or bracket that would end the text where it is written).
std::wstring backslashEscaped(std::wstring_view text, std::wstring_view special);

} // namespace arxhost
