// printf-style formatting of wide text by the rules of the Microsoft C runtime's wide printf family.
#pragma once

#include <cstdarg>
#include <stdexcept>
#include <string>

namespace arxhost {

// Thrown for a format the Microsoft runtime rejects as an invalid parameter: an unknown conversion,
// a format ending inside a conversion, positional arguments, or %n.
class FormatError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Formats like the Microsoft runtime's vswprintf (and so CString::FormatV), not like glibc:
//  - %s and %c take wide text (const wchar_t*, wchar_t); %S, %hs, %C, %hc take narrow UTF-8 text;
//    %ls, %ws, %lc, %wc are wide whatever the conversion's case. Width and precision count
//    characters (for narrow text, decoded characters). A null string pointer prints "(null)",
//    cut by the precision like any string. The 0 flag pads strings and characters with zeros.
//  - Length modifiers hh h l ll L I I32 I64 z j t w. 'l' on an integer means 32 bits, as Windows'
//    long; 'I', 'z', 'j', 't' and 'I64' mean 64 bits; 'L' reads a long double and prints it as the
//    double that Windows' long double is.
//  - %p prints the pointer as 16 upper-case hex digits without a prefix; %a/%A default to 13 hex
//    digits after the point; infinities and NaNs print "inf", "nan", "-nan(ind)" for the default
//    (indefinite) NaN and "nan(snan)" for a signalling one, upper case for F, E, G and A.
//  - Floating output is the exact binary value correctly rounded, ties of exactly representable
//    values to even, exponents with at least two digits: the runtime of Windows 10 2004 and later
//    (%.2f of 2.675 is "2.67", %.0f of 2.5 is "2", %g of 1e6 is "1e+06").
//  - Numbers never follow the process locale: the decimal point is always '.'.
// Throws FormatError for what the runtime rejects (see above) and for a null format.
std::wstring formatWide(const wchar_t* format, va_list args);
// The same, under a name that can't be mistaken for the variadic overload below.
std::wstring formatWideV(const wchar_t* format, va_list args);

namespace detail {
std::wstring formatWideVariadic(const wchar_t* format, ...);
}

// Variadic convenience, e.g. formatWide(L"%.*f", 2, x). It is a template so that a literal 0 argument
// is not taken for a null va_list; arguments pass through C varargs, so class objects are refused
// at compile time (pass CString as (LPCTSTR)s).
template <class... Args> std::wstring formatWide(const wchar_t* format, Args... args)
{
    return detail::formatWideVariadic(format, args...);
}

} // namespace arxhost
