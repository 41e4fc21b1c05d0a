// Text helpers of the resource-script reader: string literals, UTF-8, case-insensitive keywords.
#include "resources/RcText.h"

#include <cstdint>

namespace arxhost::rc {

namespace {

void appendCodePoint(std::wstring& out, char32_t cp)
{
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

// Decodes the UTF-8 sequence starting at raw[i] and advances i past it.
char32_t decodeUtf8(std::string_view raw, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(raw[i]);
    int length = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
    } else {
        throw std::invalid_argument("invalid UTF-8 in string literal");
    }
    if (i + static_cast<std::size_t>(length) > raw.size()) {
        throw std::invalid_argument("invalid UTF-8 in string literal");
    }
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(raw[i + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80) {
            throw std::invalid_argument("invalid UTF-8 in string literal");
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < smallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        throw std::invalid_argument("invalid UTF-8 in string literal");
    }
    i += static_cast<std::size_t>(length);
    return cp;
}

int hexValue(char c) noexcept
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

char asciiUpper(char c) noexcept
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

wchar_t wideUpper(wchar_t c) noexcept
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

} // namespace

std::wstring decodeStringLiteral(std::string_view raw, bool wide)
{
    std::wstring out;
    out.reserve(raw.size());
    std::size_t i = 0;
    while (i < raw.size()) {
        const char c = raw[i];
        if (c == '"') {
            // The lexer only lets quotes through in pairs.
            out += L'"';
            i += 2;
            continue;
        }
        if (c != '\\' || i + 1 == raw.size()) {
            appendCodePoint(out, decodeUtf8(raw, i));
            continue;
        }
        const char e = raw[i + 1];
        i += 2;
        switch (e) {
        case 'n':
            out += L'\n';
            break;
        case 't':
            out += L'\t';
            break;
        case 'r':
            out += L'\r';
            break;
        case 'a':
            out += static_cast<wchar_t>(0x08);
            break;
        case '\\':
            out += L'\\';
            break;
        case '"':
            out += L'"';
            break;
        case 'x':
        case 'X': {
            const std::size_t maxDigits = wide ? 4 : 2;
            char32_t value = 0;
            std::size_t digits = 0;
            while (digits < maxDigits && i < raw.size() && hexValue(raw[i]) >= 0) {
                value = value * 16 + static_cast<char32_t>(hexValue(raw[i]));
                ++i;
                ++digits;
            }
            if (digits == 0) {
                out += L"\\x";
            } else {
                appendCodePoint(out, value);
            }
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                char32_t value = static_cast<char32_t>(e - '0');
                for (int k = 0; k < 2 && i < raw.size() && raw[i] >= '0' && raw[i] <= '7'; ++k, ++i) {
                    value = value * 8 + static_cast<char32_t>(raw[i] - '0');
                }
                appendCodePoint(out, value);
            } else {
                out += L'\\';
                --i; // the escaped character is read again as text (it may start a UTF-8 sequence)
            }
            break;
        }
    }
    return out;
}

std::string toUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto cp = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()) {
                const auto low = static_cast<char32_t>(text[i + 1]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    ++i;
                }
            }
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

std::wstring widenAscii(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    for (const char c : text) {
        out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) noexcept
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i])) {
            return false;
        }
    }
    return true;
}

bool equalsNoCase(std::wstring_view a, std::wstring_view b) noexcept
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (wideUpper(a[i]) != wideUpper(b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace arxhost::rc
