// Tests of the wide formatter against the Microsoft runtime's printf rules.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "text/Utf8.h"
#include "text/WideFormat.h"

using arxhost::formatWide;

namespace {

double quietNaN(bool negative)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return negative ? -nan : nan;
}

std::wstring viaVaList(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    std::wstring out = formatWide(format, args);
    va_end(args);
    return out;
}

} // namespace

TEST(WideFormat, TwoStageFormatsBuildThenFormat)
{
    struct Case {
        int precision;
        const wchar_t* stage1;
        const wchar_t* stage2;
    };
    const Case cases[] = {
        {0, L"%s%0.0f", L"R-12"},
        {2, L"%s%0.2f", L"R-12.35"},
        {8, L"%s%0.8f", L"R-12.34600000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.precision);
        const std::wstring format = formatWide(L"%%s%%0.%df", c.precision);
        EXPECT_EQ(format, c.stage1);
        EXPECT_EQ(formatWide(format.c_str(), L"R-", 12.346), c.stage2);
    }
}

TEST(WideFormat, StringConversionsFollowTheWideRuntime)
{
    EXPECT_EQ(formatWide(L"[%s]", L"\u9053\u8def"), L"[\u9053\u8def]");
    EXPECT_EQ(formatWide(L"[%S]", "\xE9\x81\x93\xE8\xB7\xAF"), L"[\u9053\u8def]");
    EXPECT_EQ(formatWide(L"[%hs]", "abc"), L"[abc]");
    EXPECT_EQ(formatWide(L"[%ls|%ws|%lS]", L"a", L"b", L"c"), L"[a|b|c]");
    EXPECT_EQ(formatWide(L"[%hS]", "n"), L"[n]");
    // Invalid UTF-8 in a narrow argument shows as U+FFFD rather than failing.
    EXPECT_EQ(formatWide(L"[%S]", "a\xFFz"), L"[a\uFFFDz]");
}

TEST(WideFormat, WidthAndPrecisionCountCharacters)
{
    const wchar_t* road = L"\u9053\u8def\u4e2d\u7ebf"; // four CJK characters
    const char* roadUtf8 = "\xE9\x81\x93\xE8\xB7\xAF\xE4\xB8\xAD\xE7\xBA\xBF";
    struct Case {
        const wchar_t* format;
        bool narrow;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"[%6s]", false, L"[  \u9053\u8def\u4e2d\u7ebf]"},
        {L"[%-6s]", false, L"[\u9053\u8def\u4e2d\u7ebf  ]"},
        {L"[%.2s]", false, L"[\u9053\u8def]"},
        {L"[%5.3s]", false, L"[  \u9053\u8def\u4e2d]"},
        {L"[%-5.1s]", false, L"[\u9053    ]"},
        {L"[%3s]", false, L"[\u9053\u8def\u4e2d\u7ebf]"},
        {L"[%6S]", true, L"[  \u9053\u8def\u4e2d\u7ebf]"},
        {L"[%.2S]", true, L"[\u9053\u8def]"},
        {L"[%-4.3hs]", true, L"[\u9053\u8def\u4e2d ]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.format));
        const std::wstring out = c.narrow ? formatWide(c.format, roadUtf8) : formatWide(c.format, road);
        EXPECT_EQ(out, c.expected);
    }
    EXPECT_EQ(formatWide(L"[%-8.3s]", L"abcdef"), L"[abc     ]");
    EXPECT_EQ(formatWide(L"[%*s]", 4, L"ab"), L"[  ab]");
    EXPECT_EQ(formatWide(L"[%*s]", -4, L"ab"), L"[ab  ]");
    EXPECT_EQ(formatWide(L"[%.*s]", 1, L"ab"), L"[a]");
    // The runtime pads text with zeros too when asked.
    EXPECT_EQ(formatWide(L"[%05s]", L"ab"), L"[000ab]");
    // The precision bounds the read: the characters after it need not be terminated.
    const wchar_t unterminated[2] = {L'x', L'y'};
    EXPECT_EQ(formatWide(L"[%.2s]", unterminated), L"[xy]");
}

TEST(WideFormat, NullStringsPrintNullCutByThePrecision)
{
    const wchar_t* nullWide = nullptr;
    const char* nullNarrow = nullptr;
    EXPECT_EQ(formatWide(L"[%s]", nullWide), L"[(null)]");
    EXPECT_EQ(formatWide(L"[%S]", nullNarrow), L"[(null)]");
    EXPECT_EQ(formatWide(L"[%8s]", nullWide), L"[  (null)]");
    EXPECT_EQ(formatWide(L"[%.3s]", nullWide), L"[(nu]");
}

TEST(WideFormat, Characters)
{
    EXPECT_EQ(formatWide(L"[%c]", L'\u8def'), L"[\u8def]");
    EXPECT_EQ(formatWide(L"[%3c|%-3c]", L'x', L'y'), L"[  x|y  ]");
    EXPECT_EQ(formatWide(L"[%hc%C%lc%wc]", 'a', 'b', L'\u4e2d', L'\u7ebf'), L"[ab\u4e2d\u7ebf]");
    EXPECT_EQ(formatWide(L"[%hc]", static_cast<char>(0xE9)), L"[\uFFFD]"); // half a UTF-8 sequence
}

TEST(WideFormat, Integers)
{
    struct Case {
        std::wstring actual;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {formatWide(L"%+d|%+d|%+d", 5, -5, 0), L"+5|-5|+0"}, {formatWide(L"% d|% d", 5, -5), L" 5|-5"},
        {formatWide(L"%x|%X|%#x|%#X|%#x", 255, 255, 255, 255, 0), L"ff|FF|0xff|0XFF|0"},
        {formatWide(L"%#08x|%-6x|", 255, 255), L"0x0000ff|ff    |"},
        {formatWide(L"%o|%#o|%#o", 8, 8, 0), L"10|010|0"}, {formatWide(L"%u", -1), L"4294967295"},
        {formatWide(L"%05d|%-5d|%5d", -42, 42, 42), L"-0042|42   |   42"},
        {formatWide(L"%5.3d|%05.3d|%.0d|", 7, 7, 0), L"  007|  007||"},
        {formatWide(L"%*d|%-*d|%*d", 5, 42, 5, 42, -5, 42), L"   42|42   |42   "},
        {formatWide(L"%I64d|%I64d", INT64_MAX, static_cast<long long>(-1)), L"9223372036854775807|-1"},
        {formatWide(L"%I64u|%I64x", UINT64_MAX, 0x1234567890ABCDEFULL),
            L"18446744073709551615|1234567890abcdef"},
        {formatWide(L"%lld|%llu", INT64_MIN, 10ULL), L"-9223372036854775808|10"},
        {formatWide(L"%zu|%Iu|%jd|%td", SIZE_MAX, static_cast<std::size_t>(7), static_cast<std::intmax_t>(-3),
             static_cast<std::ptrdiff_t>(-4)),
            L"18446744073709551615|7|-3|-4"},
        {formatWide(L"%I32d|%I32u", -7, 7u), L"-7|7"},
        {formatWide(L"%hd|%hu|%hhd|%hhu", 65535, 65536, 255, 257), L"-1|0|-1|1"},
        // 'l' is Windows' 32-bit long: a LONG/DWORD passes as 32 bits.
        {formatWide(L"%ld|%lu|%lx", -2147483647 - 1, 4294967295u, 0xFFFFFFFFu),
            L"-2147483648|4294967295|ffffffff"},
        {formatWide(L"%i", 0), L"0"}, // a literal 0 is an int here, not a null va_list
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, c.expected);
}

TEST(WideFormat, FloatingPointAsTheModernRuntimePrintsIt)
{
    struct Case {
        const wchar_t* format;
        double value;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"%.2f", 2.675, L"2.67"}, // the binary value is 2.67499999...
        {L"%.2f", 1.005, L"1.00"},
        {L"%.3f", 12345.6785, L"12345.678"}, // 12345.678499...
        {L"%.2f", 0.125, L"0.12"}, // exactly representable: ties go to even
        {L"%f", 0.1, L"0.100000"},
        {L"%.0f", 0.5, L"0"}, // round half to even on the exact binary value
        {L"%.0f", 1.5, L"2"},
        {L"%05.1f", 3.14159, L"003.1"},
        {L"%05.1f", -3.14159, L"-03.1"},
        {L"%+.1f", 2.0, L"+2.0"},
        {L"%-8.2f|", 1.0, L"1.00    |"},
        {L"%#.0f", 3.0, L"3."},
        {L"%g", 1e6, L"1e+06"},
        {L"%g", 0.0001, L"0.0001"},
        {L"%g", 0.00001, L"1e-05"},
        {L"%g", 1234.5, L"1234.5"},
        {L"%g", 123456789.0, L"1.23457e+08"},
        {L"%G", 1e-10, L"1E-10"},
        {L"%.10g", 0.1, L"0.1"},
        {L"%#g", 1.0, L"1.00000"},
        {L"%e", 1.5, L"1.500000e+00"},
        {L"%.3e", 12345.678, L"1.235e+04"},
        {L"%E", 1e100, L"1.000000E+100"},
        {L"%e", 1e-300, L"1.000000e-300"},
        {L"%a", 1.0, L"0x1.0000000000000p+0"},
        {L"%A", 1.5, L"0X1.8000000000000P+0"},
        {L"%.1a", 1.5, L"0x1.8p+0"},
        {L"%a", 0.0, L"0x0.0000000000000p+0"},
        {L"%f", -0.0, L"-0.000000"},
        {L"%.2F", 7.0, L"7.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.format) + " of " + std::to_string(c.value));
        EXPECT_EQ(formatWide(c.format, c.value), c.expected);
    }
    EXPECT_EQ(formatWide(L"%.*f", 3, 2.0), L"2.000");
    EXPECT_EQ(formatWide(L"%.*f", -1, 2.0), L"2.000000"); // negative precision: as if none
    EXPECT_EQ(formatWide(L"%lf|%Lf", 1.25, 1.25L), L"1.250000|1.250000");
    EXPECT_EQ(formatWide(L"%f", 1.5f), L"1.500000"); // float promotes to double
}

TEST(WideFormat, InfinityAndNaN)
{
    const double inf = std::numeric_limits<double>::infinity();
    double signalling = std::numeric_limits<double>::signaling_NaN();
    struct Case {
        const wchar_t* format;
        double value;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"%f", inf, L"inf"},
        {L"%F", inf, L"INF"},
        {L"%e", -inf, L"-inf"},
        {L"%+g", inf, L"+inf"},
        {L"% .2f", inf, L" inf"},
        {L"%6.1f|", inf, L"   inf|"},
        {L"%-6f|", -inf, L"-inf  |"},
        {L"%06f", inf, L"   inf"},
        {L"%f", quietNaN(false), L"nan"},
        {L"%G", quietNaN(false), L"NAN"},
        {L"%f", quietNaN(true), L"-nan(ind)"}, // the x86 default NaN, e.g. 0.0 / 0.0
        {L"%E", quietNaN(true), L"-NAN(IND)"},
        {L"%f", signalling, L"nan(snan)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.format));
        EXPECT_EQ(formatWide(c.format, c.value), c.expected);
    }
    // A NaN with a payload is not the indefinite one: just "-nan".
    std::uint64_t bits = 0xFFF8000000000001ULL;
    double payload = 0;
    std::memcpy(&payload, &bits, sizeof payload);
    EXPECT_EQ(formatWide(L"%f", payload), L"-nan");
}

TEST(WideFormat, PointersAndPercent)
{
    EXPECT_EQ(formatWide(L"%p", reinterpret_cast<void*>(0x12ab)), L"00000000000012AB");
    EXPECT_EQ(formatWide(L"%p", static_cast<void*>(nullptr)), L"0000000000000000");
    EXPECT_EQ(formatWide(L"100%% of %d%%", 5), L"100% of 5%");
    EXPECT_EQ(formatWide(L"no conversions"), L"no conversions");
    EXPECT_EQ(formatWide(L""), L"");
}

TEST(WideFormat, VaListOverloadsConsumeTheCallersArguments)
{
    EXPECT_EQ(viaVaList(L"%s=%.1f (%d)", L"R", 2.25, 3), L"R=2.2 (3)");
    EXPECT_EQ(viaVaList(L"%d", 0), L"0");
}

TEST(WideFormat, RejectsWhatTheRuntimeRejects)
{
    int written = 0;
    EXPECT_THROW(formatWide(L"%n", &written), arxhost::FormatError);
    EXPECT_THROW(formatWide(L"%y", 1), arxhost::FormatError);
    EXPECT_THROW(formatWide(L"abc%"), arxhost::FormatError);
    EXPECT_THROW(formatWide(L"%5"), arxhost::FormatError);
    EXPECT_THROW(formatWide(L"%1$d", 1), arxhost::FormatError);
    EXPECT_THROW(formatWide(L"%99999999999d", 1), arxhost::FormatError);
    EXPECT_THROW(formatWide(static_cast<const wchar_t*>(nullptr)), arxhost::FormatError);
    EXPECT_EQ(written, 0);
}

TEST(WideFormat, IgnoresTheProcessLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    const char* commaLocales[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8", "de_DE"};
    bool switched = false;
    for (const char* name : commaLocales)
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            switched = true;
            break;
        }
    if (!switched)
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    const std::wstring out = formatWide(L"%.2f|%g|%e", 1.5, 0.25, 2.5);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(out, L"1.50|0.25|2.500000e+00");
}
