// Conversion between the host's wide text and UTF-8, used wherever text leaves for a terminal or a file.
#pragma once

#include <string>
#include <string_view>

namespace arxhost {

// Encodes wide text (one code point per wchar_t) as UTF-8. A high/low surrogate pair stored in two
// units, as text taken over from a 16-bit wchar_t platform may carry, is joined into one character;
// lone surrogates and values beyond U+10FFFF become U+FFFD. Never throws except std::bad_alloc.
std::string toUtf8(std::wstring_view text);
// Same as above for a C string; a null pointer gives an empty result.
std::string toUtf8(const wchar_t* text);

// Decodes UTF-8. Each maximal ill-formed subsequence (stray continuation bytes, overlong forms,
// encoded surrogates, values beyond U+10FFFF, truncated sequences) becomes one U+FFFD, as the
// Unicode standard recommends. Never throws except std::bad_alloc.
std::wstring fromUtf8(std::string_view text);
// Same as above for a C string; a null pointer gives an empty result.
std::wstring fromUtf8(const char* text);

// The number of bytes that the first `maxChars` characters of a NUL-terminated UTF-8 string occupy,
// reading no byte beyond them (so that the string need not be terminated when it is long enough).
std::size_t utf8PrefixBytes(const char* text, std::size_t maxChars);

} // namespace arxhost
