// The wide printf engine: parses conversions, lays out text itself and hands numbers to snprintf.
#include "text/WideFormat.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string_view>

#include "text/ClassicLocale.h"
#include "text/Utf8.h"

namespace arxhost {

namespace {

enum class Length { None, hh, h, l, ll, L, I, I32, I64, z, j, t, w };

struct Conversion {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alternate = false;
    bool zero = false;
    int width = 0;
    int precision = -1; // -1: none given
    Length length = Length::None;
    wchar_t letter = 0; // the conversion character
};

// A va_list reached through a pointer, so that helpers consume arguments of the caller's list.
using Args = va_list*;

[[noreturn]] void reject(const wchar_t* format, const char* why)
{
    throw FormatError(std::string("invalid format \"") + toUtf8(format) + "\": " + why);
}

// Pads `body` to the field width: with zeros when the 0 flag asks (the runtime does so for text too),
// else with spaces, on the left unless the - flag is given.
void appendPadded(std::wstring& out, const Conversion& conv, std::wstring_view body)
{
    const std::size_t width = static_cast<std::size_t>(conv.width);
    const std::size_t padding = width > body.size() ? width - body.size() : 0;
    if (conv.left) {
        out += body;
        out.append(padding, L' ');
    } else {
        out.append(padding, conv.zero ? L'0' : L' ');
        out += body;
    }
}

// The printf directive for snprintf: flags, resolved width and precision, and `tail` (the length
// modifier and conversion letter).
std::string narrowDirective(const Conversion& conv, const char* tail)
{
    std::string d = "%";
    if (conv.left)
        d += '-';
    if (conv.plus)
        d += '+';
    if (conv.space)
        d += ' ';
    if (conv.alternate)
        d += '#';
    if (conv.zero)
        d += '0';
    if (conv.width > 0)
        d += std::to_string(conv.width);
    if (conv.precision >= 0)
        d += '.' + std::to_string(conv.precision);
    d += tail;
    return d;
}

// Runs snprintf (in the "C" locale, which the caller has selected) and widens its ASCII output.
template <class T> void appendPrinted(std::wstring& out, const std::string& directive, T value)
{
    char small[128];
    const int n = std::snprintf(small, sizeof small, directive.c_str(), value);
    if (n < 0)
        throw FormatError("snprintf failed on \"" + directive + "\"");
    if (static_cast<std::size_t>(n) < sizeof small) {
        out.append(small, small + n);
        return;
    }
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    std::snprintf(big.data(), big.size(), directive.c_str(), value);
    out.append(big.begin(), big.begin() + n);
}

long long readSigned(Args args, Length length)
{
    switch (length) {
    case Length::hh:
        return static_cast<signed char>(va_arg(*args, int));
    case Length::h:
        return static_cast<short>(va_arg(*args, int));
    case Length::ll:
    case Length::L:
    case Length::I64:
        return va_arg(*args, long long);
    case Length::I:
        return va_arg(*args, std::intptr_t);
    case Length::z:
        return va_arg(*args, std::make_signed_t<std::size_t>);
    case Length::j:
        return va_arg(*args, std::intmax_t);
    case Length::t:
        return va_arg(*args, std::ptrdiff_t);
    default: // none, l (Windows' long is 32 bits), I32, w
        return va_arg(*args, int);
    }
}

unsigned long long readUnsigned(Args args, Length length)
{
    switch (length) {
    case Length::hh:
        return static_cast<unsigned char>(va_arg(*args, unsigned int));
    case Length::h:
        return static_cast<unsigned short>(va_arg(*args, unsigned int));
    case Length::ll:
    case Length::L:
    case Length::I64:
        return va_arg(*args, unsigned long long);
    case Length::I:
        return va_arg(*args, std::uintptr_t);
    case Length::z:
        return va_arg(*args, std::size_t);
    case Length::j:
        return va_arg(*args, std::uintmax_t);
    case Length::t:
        return static_cast<unsigned long long>(va_arg(*args, std::ptrdiff_t));
    default:
        return va_arg(*args, unsigned int);
    }
}

void formatInteger(std::wstring& out, const Conversion& conv, Args args)
{
    const char tail[] = {'l', 'l', static_cast<char>(conv.letter), '\0'};
    const std::string directive = narrowDirective(conv, tail);
    if (conv.letter == L'd' || conv.letter == L'i')
        appendPrinted(out, directive, readSigned(args, conv.length));
    else
        appendPrinted(out, directive, readUnsigned(args, conv.length));
}

void formatPointer(std::wstring& out, Conversion conv, Args args)
{
    const auto value = reinterpret_cast<std::uintptr_t>(va_arg(*args, void*));
    conv.precision = 2 * static_cast<int>(sizeof(void*));
    appendPrinted(out, narrowDirective(conv, "llX"), static_cast<unsigned long long>(value));
}

// inf and NaN as the Microsoft runtime spells them; the field is padded with spaces.
void formatNonFinite(std::wstring& out, Conversion conv, double value)
{
    std::wstring text;
    if (std::signbit(value))
        text += L'-';
    else if (conv.plus)
        text += L'+';
    else if (conv.space)
        text += L' ';
    if (std::isinf(value)) {
        text += L"inf";
    } else {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        constexpr std::uint64_t kQuiet = 0x0008000000000000ULL;
        constexpr std::uint64_t kPayload = 0x0007FFFFFFFFFFFFULL;
        text += L"nan";
        if ((bits & kQuiet) == 0)
            text += L"(snan)";
        else if (std::signbit(value) && (bits & kPayload) == 0)
            text += L"(ind)";
    }
    if (conv.letter == L'F' || conv.letter == L'E' || conv.letter == L'G' || conv.letter == L'A')
        for (wchar_t& c : text)
            c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    conv.zero = false;
    appendPadded(out, conv, text);
}

void formatFloating(std::wstring& out, Conversion conv, Args args)
{
    // Windows' long double is a double: read what the caller passed, print it as a double.
    const double value
        = conv.length == Length::L ? static_cast<double>(va_arg(*args, long double)) : va_arg(*args, double);
    if (!std::isfinite(value)) {
        formatNonFinite(out, conv, value);
        return;
    }
    if ((conv.letter == L'a' || conv.letter == L'A') && conv.precision < 0)
        conv.precision = 13;
    const char tail[] = {static_cast<char>(conv.letter), '\0'};
    appendPrinted(out, narrowDirective(conv, tail), value);
}

// Narrow unless 'l' or 'w' asks for wide; %S and %C flip the default, 'h' always means narrow.
bool isWideText(const Conversion& conv)
{
    if (conv.length == Length::h)
        return false;
    if (conv.length == Length::l || conv.length == Length::w)
        return true;
    return conv.letter == L's' || conv.letter == L'c';
}

void formatChar(std::wstring& out, const Conversion& conv, Args args)
{
    wchar_t c = 0;
    if (isWideText(conv)) {
        c = static_cast<wchar_t>(va_arg(*args, int));
    } else {
        const char narrow = static_cast<char>(va_arg(*args, int));
        c = static_cast<unsigned char>(narrow) < 0x80 ? static_cast<wchar_t>(narrow) : L'\xFFFD';
    }
    appendPadded(out, conv, std::wstring_view(&c, 1));
}

void formatString(std::wstring& out, const Conversion& conv, Args args)
{
    const std::size_t limit = conv.precision >= 0 ? static_cast<std::size_t>(conv.precision) : SIZE_MAX;
    if (isWideText(conv)) {
        const wchar_t* text = va_arg(*args, const wchar_t*);
        if (text == nullptr)
            text = L"(null)";
        std::size_t n = 0;
        while (n < limit && text[n] != 0)
            ++n;
        appendPadded(out, conv, std::wstring_view(text, n));
        return;
    }
    const char* text = va_arg(*args, const char*);
    if (text == nullptr)
        text = "(null)";
    std::wstring wide = fromUtf8(std::string_view(text, utf8PrefixBytes(text, limit)));
    if (wide.size() > limit)
        wide.resize(limit);
    appendPadded(out, conv, wide);
}

// Reads a decimal field width or precision; the runtime rejects values that overflow an int.
int parseNumber(const wchar_t* format, const wchar_t*& p)
{
    long long value = 0;
    while (*p >= L'0' && *p <= L'9') {
        value = value * 10 + (*p++ - L'0');
        if (value > INT32_MAX)
            reject(format, "width or precision too large");
    }
    return static_cast<int>(value);
}

Length parseLength(const wchar_t*& p)
{
    switch (*p) {
    case L'h':
        ++p;
        if (*p == L'h') {
            ++p;
            return Length::hh;
        }
        return Length::h;
    case L'l':
        ++p;
        if (*p == L'l') {
            ++p;
            return Length::ll;
        }
        return Length::l;
    case L'L':
        ++p;
        return Length::L;
    case L'I':
        ++p;
        if (p[0] == L'3' && p[1] == L'2') {
            p += 2;
            return Length::I32;
        }
        if (p[0] == L'6' && p[1] == L'4') {
            p += 2;
            return Length::I64;
        }
        return Length::I;
    case L'z':
        ++p;
        return Length::z;
    case L'j':
        ++p;
        return Length::j;
    case L't':
        ++p;
        return Length::t;
    case L'w':
        ++p;
        return Length::w;
    default:
        return Length::None;
    }
}

// Parses the directive after '%' and moves `p` past it.
Conversion parseConversion(const wchar_t* format, const wchar_t*& p, Args args)
{
    Conversion conv;
    for (;; ++p) {
        if (*p == L'-')
            conv.left = true;
        else if (*p == L'+')
            conv.plus = true;
        else if (*p == L' ')
            conv.space = true;
        else if (*p == L'#')
            conv.alternate = true;
        else if (*p == L'0')
            conv.zero = true;
        else
            break;
    }
    if (*p == L'*') {
        ++p;
        const int width = va_arg(*args, int);
        if (width < 0) {
            conv.left = true;
            conv.width = width == INT32_MIN ? INT32_MAX : -width;
        } else {
            conv.width = width;
        }
    } else {
        conv.width = parseNumber(format, p);
    }
    if (*p == L'.') {
        ++p;
        if (*p == L'*') {
            ++p;
            const int precision = va_arg(*args, int);
            conv.precision = precision < 0 ? -1 : precision;
        } else {
            conv.precision = parseNumber(format, p);
        }
    }
    if (*p == L'$')
        reject(format, "positional arguments need the _p functions");
    conv.length = parseLength(p);
    if (*p == 0)
        reject(format, "the format ends inside a conversion");
    conv.letter = *p++;
    if (conv.left)
        conv.zero = false;
    return conv;
}

std::wstring formatWith(const wchar_t* format, Args args)
{
    if (format == nullptr)
        throw FormatError("null format");
    const ScopedClassicLocale classic;
    std::wstring out;
    const wchar_t* p = format;
    while (*p != 0) {
        if (*p != L'%') {
            const wchar_t* run = p;
            while (*p != 0 && *p != L'%')
                ++p;
            out.append(run, p);
            continue;
        }
        ++p;
        if (*p == L'%') {
            out += L'%';
            ++p;
            continue;
        }
        const Conversion conv = parseConversion(format, p, args);
        switch (conv.letter) {
        case L'd':
        case L'i':
        case L'u':
        case L'o':
        case L'x':
        case L'X':
            formatInteger(out, conv, args);
            break;
        case L'f':
        case L'F':
        case L'e':
        case L'E':
        case L'g':
        case L'G':
        case L'a':
        case L'A':
            formatFloating(out, conv, args);
            break;
        case L'c':
        case L'C':
            formatChar(out, conv, args);
            break;
        case L's':
        case L'S':
            formatString(out, conv, args);
            break;
        case L'p':
            formatPointer(out, conv, args);
            break;
        case L'n':
            reject(format, "%n is disabled");
        default:
            reject(format, "unknown conversion");
        }
    }
    return out;
}

} // namespace

std::wstring formatWide(const wchar_t* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    std::wstring out;
    try {
        out = formatWith(format, &copy);
    } catch (...) {
        va_end(copy);
        throw;
    }
    va_end(copy);
    return out;
}

std::wstring formatWideV(const wchar_t* format, va_list args)
{
    return formatWide(format, args);
}

namespace detail {

std::wstring formatWideVariadic(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring out;
    try {
        out = formatWide(format, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
    return out;
}

} // namespace detail

} // namespace arxhost
