// The Microsoft C runtime's wide string, number parsing and bounded formatting functions.
#include "tchar.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "text/ClassicLocale.h"
#include "text/WideChars.h"
#include "text/WideFormat.h"

namespace {

// Parses [blanks][sign]digits in base 10, saturating at [low, high].
long long parseDecimal(const wchar_t* str, long long low, long long high)
{
    if (str == nullptr) {
        errno = EINVAL;
        return 0;
    }
    const wchar_t* p = str;
    while (arxhost::isParseBlank(*p))
        ++p;
    const bool negative = *p == L'-';
    if (*p == L'-' || *p == L'+')
        ++p;
    // Accumulate towards the limit of the sign, so that the most negative value is reachable.
    const unsigned long long limit
        = negative ? static_cast<unsigned long long>(-(low + 1)) + 1 : static_cast<unsigned long long>(high);
    unsigned long long value = 0;
    bool overflow = false;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        const auto digit = static_cast<unsigned long long>(*p - L'0');
        if (value > (limit - digit) / 10) {
            overflow = true;
            value = limit;
        } else if (!overflow) {
            value = value * 10 + digit;
        }
    }
    if (overflow) {
        errno = ERANGE;
        return negative ? low : high;
    }
    return negative ? static_cast<long long>(0 - value) : static_cast<long long>(value);
}

// Writes formatted text into a caller's buffer with the _s functions' contract; `count` limits the
// characters written (_TRUNCATE: as many as fit).
int printBounded(wchar_t* buffer, std::size_t size, std::size_t count, bool countGiven, const wchar_t* format,
    va_list args)
{
    if (buffer == nullptr || size == 0 || format == nullptr) {
        if (buffer != nullptr && size > 0)
            buffer[0] = 0;
        errno = EINVAL;
        return -1;
    }
    std::wstring text;
    try {
        text = arxhost::formatWide(format, args);
    } catch (const arxhost::FormatError&) {
        buffer[0] = 0;
        errno = EINVAL;
        return -1;
    }
    bool truncated = false;
    if (countGiven && count != _TRUNCATE && count < size && text.size() > count) {
        text.resize(count);
        truncated = true;
    }
    if (text.size() >= size) {
        if (!(countGiven && count == _TRUNCATE)) {
            buffer[0] = 0;
            errno = ERANGE;
            return -1;
        }
        text.resize(size - 1);
        truncated = true;
    }
    text.copy(buffer, text.size());
    buffer[text.size()] = 0;
    return truncated ? -1 : static_cast<int>(text.size());
}

} // namespace

extern "C" {

double _wtof(const wchar_t* str)
{
    if (str == nullptr) {
        errno = EINVAL;
        return 0;
    }
    // Every character a number can use is ASCII, so the narrow copy stops at the first other one;
    // strtod in the "C" locale then takes the longest prefix by the same grammar as the runtime.
    std::string narrow;
    for (const wchar_t* p = str; *p > 0 && *p < 0x80; ++p)
        narrow += static_cast<char>(*p);
    return strtod_l(narrow.c_str(), nullptr, arxhost::classicLocale());
}

int _wtoi(const wchar_t* str)
{
    return static_cast<int>(parseDecimal(str, INT_MIN, INT_MAX));
}

long _wtol(const wchar_t* str)
{
    return static_cast<long>(parseDecimal(str, INT32_MIN, INT32_MAX));
}

long long _wtoi64(const wchar_t* str)
{
    return parseDecimal(str, LLONG_MIN, LLONG_MAX);
}

int _wcsicmp(const wchar_t* a, const wchar_t* b)
{
    return _wcsnicmp(a, b, SIZE_MAX);
}

int _wcsnicmp(const wchar_t* a, const wchar_t* b, std::size_t count)
{
    if (a == nullptr || b == nullptr) {
        errno = EINVAL;
        return INT_MAX;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const wchar_t x = arxhost::toLowerAscii(a[i]);
        const wchar_t y = arxhost::toLowerAscii(b[i]);
        if (x != y || x == 0)
            return static_cast<int>(x) - static_cast<int>(y);
    }
    return 0;
}

wchar_t* _wcsupr(wchar_t* str)
{
    for (wchar_t* p = str; p != nullptr && *p != 0; ++p)
        *p = arxhost::toUpperAscii(*p);
    return str;
}

wchar_t* _wcslwr(wchar_t* str)
{
    for (wchar_t* p = str; p != nullptr && *p != 0; ++p)
        *p = arxhost::toLowerAscii(*p);
    return str;
}

errno_t wcscpy_s(wchar_t* dest, std::size_t destSize, const wchar_t* src)
{
    return wcsncpy_s(dest, destSize, src, SIZE_MAX - 1);
}

errno_t wcsncpy_s(wchar_t* dest, std::size_t destSize, const wchar_t* src, std::size_t count)
{
    if (dest == nullptr || destSize == 0)
        return EINVAL;
    if (src == nullptr) {
        dest[0] = 0;
        return EINVAL;
    }
    const bool truncate = count == _TRUNCATE;
    std::size_t n = 0;
    while ((truncate || n < count) && src[n] != 0) {
        if (n + 1 >= destSize) {
            if (truncate) {
                dest[n] = 0;
                return STRUNCATE;
            }
            dest[0] = 0;
            return ERANGE;
        }
        dest[n] = src[n];
        ++n;
    }
    dest[n] = 0;
    return 0;
}

errno_t wcscat_s(wchar_t* dest, std::size_t destSize, const wchar_t* src)
{
    if (dest == nullptr || destSize == 0)
        return EINVAL;
    std::size_t end = 0;
    while (end < destSize && dest[end] != 0)
        ++end;
    if (src == nullptr || end == destSize) {
        dest[0] = 0;
        return EINVAL;
    }
    const errno_t status = wcscpy_s(dest + end, destSize - end, src);
    if (status != 0)
        dest[0] = 0;
    return status;
}

int swprintf_s(wchar_t* buffer, std::size_t bufferSize, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const int n = vswprintf_s(buffer, bufferSize, format, args);
    va_end(args);
    return n;
}

int vswprintf_s(wchar_t* buffer, std::size_t bufferSize, const wchar_t* format, va_list args)
{
    return printBounded(buffer, bufferSize, 0, false, format, args);
}

int _snwprintf_s(wchar_t* buffer, std::size_t bufferSize, std::size_t count, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const int n = _vsnwprintf_s(buffer, bufferSize, count, format, args);
    va_end(args);
    return n;
}

int _vsnwprintf_s(
    wchar_t* buffer, std::size_t bufferSize, std::size_t count, const wchar_t* format, va_list args)
{
    return printBounded(buffer, bufferSize, count, true, format, args);
}

int _scwprintf(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const int n = _vscwprintf(format, args);
    va_end(args);
    return n;
}

int _vscwprintf(const wchar_t* format, va_list args)
{
    try {
        return static_cast<int>(arxhost::formatWide(format, args).size());
    } catch (const arxhost::FormatError&) {
        errno = EINVAL;
        return -1;
    }
}

} // extern "C"
