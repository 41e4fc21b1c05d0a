// Generic-text mappings of a Unicode build and the Microsoft C runtime's wide string functions.
#pragma once

#include <cerrno>
#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <cwchar>
#include <cwctype>

#include "AdAChar.h"

typedef wchar_t _TCHAR;
typedef wchar_t _TSCHAR;
typedef wchar_t _TUCHAR;
typedef wchar_t _TXCHAR;
typedef int errno_t;

#ifndef _TRUNCATE
#define _TRUNCATE ((std::size_t)-1)
#endif
#ifndef STRUNCATE
#define STRUNCATE 80
#endif

extern "C" {

// Number parsing as the Microsoft runtime does it, independent of the process locale: leading
// blanks (space, \t, \n, \v, \f, \r) skipped, an optional sign, the longest prefix that parses,
// trailing text ignored, 0 when nothing parses.
// _wtof also accepts an exponent only when a digit follows it, "inf", "infinity", "nan" and
// hexadecimal floating point ("0x1.8p3"); it gives +-HUGE_VAL on overflow.
double _wtof(const wchar_t* str);
// Decimal digits only; saturates at INT_MAX / INT_MIN (errno = ERANGE).
int _wtoi(const wchar_t* str);
// As _wtoi; saturates at the limits of Windows' 32-bit long, whatever long's width here.
long _wtol(const wchar_t* str);
// As _wtoi with 64 bits.
long long _wtoi64(const wchar_t* str);

// Case-insensitive comparisons; case folds as in the runtime's "C" locale (A-Z only). The result is
// the difference of the first differing characters after folding to lower case.
int _wcsicmp(const wchar_t* a, const wchar_t* b);
int _wcsnicmp(const wchar_t* a, const wchar_t* b, std::size_t count);
// In-place case mapping of A-Z / a-z; return their argument.
wchar_t* _wcsupr(wchar_t* str);
wchar_t* _wcslwr(wchar_t* str);

// Bounds-checked copies (the runtime's invalid-parameter handler returning): EINVAL for a null
// destination or source or a zero size, ERANGE when the text does not fit, the destination then
// holding an empty string. wcsncpy_s with count _TRUNCATE copies what fits and returns STRUNCATE.
errno_t wcscpy_s(wchar_t* dest, std::size_t destSize, const wchar_t* src);
errno_t wcsncpy_s(wchar_t* dest, std::size_t destSize, const wchar_t* src, std::size_t count);
errno_t wcscat_s(wchar_t* dest, std::size_t destSize, const wchar_t* src);

// Formatting with the Microsoft rules (%s is wide; see arxhost::formatWide). The _s forms return the
// number of characters written without the terminator, or -1 (empty destination, errno set) for an
// invalid format (EINVAL) or a buffer too small (ERANGE). _snwprintf_s writes at most `count`
// characters; with _TRUNCATE it writes what fits and returns -1 when it had to cut.
int swprintf_s(wchar_t* buffer, std::size_t bufferSize, const wchar_t* format, ...);
int vswprintf_s(wchar_t* buffer, std::size_t bufferSize, const wchar_t* format, va_list args);
int _snwprintf_s(wchar_t* buffer, std::size_t bufferSize, std::size_t count, const wchar_t* format, ...);
int _vsnwprintf_s(
    wchar_t* buffer, std::size_t bufferSize, std::size_t count, const wchar_t* format, va_list args);
// The length the formatted text would have, or -1 for an invalid format.
int _scwprintf(const wchar_t* format, ...);
int _vscwprintf(const wchar_t* format, va_list args);

} // extern "C"

// The runtime's overloads that take the destination size from an array.
template <std::size_t N> errno_t wcscpy_s(wchar_t (&dest)[N], const wchar_t* src)
{
    return wcscpy_s(dest, N, src);
}
template <std::size_t N> errno_t wcsncpy_s(wchar_t (&dest)[N], const wchar_t* src, std::size_t count)
{
    return wcsncpy_s(dest, N, src, count);
}
template <std::size_t N> errno_t wcscat_s(wchar_t (&dest)[N], const wchar_t* src)
{
    return wcscat_s(dest, N, src);
}
template <std::size_t N> int vswprintf_s(wchar_t (&buffer)[N], const wchar_t* format, va_list args)
{
    return vswprintf_s(buffer, N, format, args);
}
template <std::size_t N, class... Args>
int swprintf_s(wchar_t (&buffer)[N], const wchar_t* format, Args... args)
{
    return swprintf_s(buffer, N, format, args...);
}
template <std::size_t N, class... Args>
int _snwprintf_s(wchar_t (&buffer)[N], std::size_t count, const wchar_t* format, Args... args)
{
    return _snwprintf_s(buffer, N, count, format, args...);
}

// Generic-text names of a Unicode build.
#define _tcscmp wcscmp
#define _tcsncmp wcsncmp
#define _tcsicmp _wcsicmp
#define _tcsnicmp _wcsnicmp
#define _tcslen wcslen
#define _tcscpy wcscpy
#define _tcsncpy wcsncpy
#define _tcscat wcscat
#define _tcschr wcschr
#define _tcsrchr wcsrchr
#define _tcsstr wcsstr
#define _tcsspn wcsspn
#define _tcscspn wcscspn
#define _tcspbrk wcspbrk
#define _tcsupr _wcsupr
#define _tcslwr _wcslwr
#define _tcscpy_s wcscpy_s
#define _tcsncpy_s wcsncpy_s
#define _tcscat_s wcscat_s
#define _ttoi _wtoi
#define _tstoi _wtoi
#define _ttol _wtol
#define _tstol _wtol
#define _ttoi64 _wtoi64
#define _tstoi64 _wtoi64
#define _tstof _wtof
#define _ttof _wtof
#define _tcstod wcstod
#define _tcstol wcstol
#define _tcstoul wcstoul
#define _stprintf_s swprintf_s
#define _vstprintf_s vswprintf_s
#define _sntprintf_s _snwprintf_s
#define _vsntprintf_s _vsnwprintf_s
#define _sctprintf _scwprintf
#define _vsctprintf _vscwprintf
#define _istspace iswspace
#define _istdigit iswdigit
#define _istalpha iswalpha
#define _istalnum iswalnum
#define _totupper towupper
#define _totlower towlower
