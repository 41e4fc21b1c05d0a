// Character classes shared by CString and the C runtime functions, fixed whatever the process locale.
#pragma once

namespace arxhost {

// The ISO 30112 "space" class: what iswspace answers in a Unicode locale and what Windows answers
// even in the "C" locale. The no-break spaces U+00A0, U+2007 and U+202F are not in it.
constexpr bool isWideSpace(wchar_t c) noexcept
{
    return (c >= L'\t' && c <= L'\r') || c == L' ' || c == L'\x1680' || (c >= L'\x2000' && c <= L'\x2006')
        || (c >= L'\x2008' && c <= L'\x200A') || c == L'\x2028' || c == L'\x2029' || c == L'\x205F'
        || c == L'\x3000';
}

// The blanks that the runtime's number parsers skip: space, \t, \n, \v, \f, \r.
constexpr bool isParseBlank(wchar_t c) noexcept
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

// Case mapping of the runtime's "C" locale: A-Z and a-z only.
constexpr wchar_t toLowerAscii(wchar_t c) noexcept
{
    return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c;
}
constexpr wchar_t toUpperAscii(wchar_t c) noexcept
{
    return c >= L'a' && c <= L'z' ? c - (L'a' - L'A') : c;
}

} // namespace arxhost
