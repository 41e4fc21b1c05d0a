// Tests of the C runtime's wide functions: number parsing edge cases, case-insensitive comparison,
// bounded copies and bounded formatting.
#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "tchar.h"
#include "text/Utf8.h"

TEST(CrtWide, WtofTakesTheLongestPrefixThatParses)
{
    struct Case {
        const wchar_t* text;
        double expected;
    };
    const Case cases[] = {
        {L"12.5", 12.5},
        {L" \t\n\v\f\r-3.25", -3.25},
        {L"  +3", 3.0},
        {L"1e", 1.0}, // an exponent needs a digit
        {L"1e+", 1.0},
        {L"1E-2x", 0.01},
        {L"2.5e3m", 2500.0},
        {L".5", 0.5},
        {L"-.5e1x", -5.0},
        {L"5.", 5.0},
        {L"1.2.3", 1.2},
        {L"12abc", 12.0},
        {L"0x1.8p3", 12.0},
        {L"0X10", 16.0},
        {L"0x", 0.0},
        {L"abc", 0.0},
        {L"", 0.0},
        {L"+", 0.0},
        {L".", 0.0},
        {L"-", 0.0},
        {L"e5", 0.0},
        {L"\u3000"
         L"5",
            0.0}, // the ideographic space is not a blank here
        {L"\uff11\uff12", 0.0}, // full-width digits are no digits
        {L"3\uff11", 3.0},
        {L"1e-400", 0.0},
        {L"K1+200", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.text));
        EXPECT_DOUBLE_EQ(_wtof(c.text), c.expected);
    }
    EXPECT_EQ(_wtof(L"0.1"), 0.1); // correctly rounded
    EXPECT_EQ(_wtof(L"2.675"), 2.675);
    EXPECT_EQ(_wtof(L"1e999"), HUGE_VAL);
    EXPECT_EQ(_wtof(L"-1e999"), -HUGE_VAL);
    EXPECT_EQ(_wtof(L" inf"), HUGE_VAL);
    EXPECT_EQ(_wtof(L"-Infinity"), -HUGE_VAL);
    EXPECT_TRUE(std::isnan(_wtof(L"nan")));
    EXPECT_TRUE(std::isnan(_wtof(L"NaN(123)")));
    EXPECT_EQ(_wtof(L"infinit"), HUGE_VAL); // "inf" is the longest prefix that parses
    EXPECT_EQ(_wtof(L"in"), 0.0);
}

TEST(CrtWide, WtoiParsesDecimalIntegersOnly)
{
    struct Case {
        const wchar_t* text;
        long long expected;
    };
    const Case cases[] = {
        {L"42", 42},
        {L" -12abc", -12},
        {L"\t+7", 7},
        {L"1.9", 1},
        {L"0x10", 0},
        {L"1e5", 1},
        {L"", 0},
        {L"+", 0},
        {L"-", 0},
        {L"abc", 0},
        {L"- 5", 0},
        {L"\uff11\uff12", 0},
        {L"007", 7},
        {L"2147483647", INT_MAX},
        {L"2147483648", INT_MAX},
        {L"-2147483648", INT_MIN},
        {L"-2147483649", INT_MIN},
        {L"99999999999999999999999", INT_MAX},
        {L"-99999999999999999999999", INT_MIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.text));
        EXPECT_EQ(_wtoi(c.text), c.expected);
        EXPECT_EQ(_ttoi(c.text), c.expected);
    }
    errno = 0;
    _wtoi(L"3000000000");
    EXPECT_EQ(errno, ERANGE);
    // _wtol saturates at Windows' 32-bit LONG; _wtoi64 at 64 bits.
    EXPECT_EQ(_wtol(L"3000000000"), 2147483647L);
    EXPECT_EQ(_wtol(L"-3000000000"), -2147483647L - 1);
    EXPECT_EQ(_wtoi64(L"3000000000"), 3000000000LL);
    EXPECT_EQ(_wtoi64(L"9223372036854775807"), LLONG_MAX);
    EXPECT_EQ(_wtoi64(L"9223372036854775808"), LLONG_MAX);
    EXPECT_EQ(_wtoi64(L"-9223372036854775808"), LLONG_MIN);
    EXPECT_EQ(_wtoi64(L"-9223372036854775809"), LLONG_MIN);
}

TEST(CrtWide, ParsingIgnoresTheProcessLocale)
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
    const double dot = _wtof(L"1.5");
    const double comma = _wtof(L"1,5");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(dot, 1.5);
    EXPECT_EQ(comma, 1.0);
}

TEST(CrtWide, CaseInsensitiveComparisonAndMapping)
{
    EXPECT_EQ(_wcsicmp(L"Layer-A", L"LAYER-a"), 0);
    EXPECT_LT(_wcsicmp(L"abc", L"ABD"), 0);
    EXPECT_GT(_wcsicmp(L"abc", L"AB"), 0);
    EXPECT_GT(_wcsicmp(L"a", L"_"), 0); // folded to lower case
    EXPECT_NE(_wcsicmp(L"\u00e9", L"\u00c9"), 0);
    EXPECT_EQ(_tcsicmp(L"\u9053X", L"\u9053x"), 0);
    EXPECT_EQ(_wcsnicmp(L"ROADx", L"roady", 4), 0);
    EXPECT_NE(_wcsnicmp(L"ROADx", L"roady", 5), 0);
    EXPECT_EQ(_wcsnicmp(L"ab", L"AB", 10), 0);

    wchar_t text[] = L"Road \u9053 k1";
    EXPECT_EQ(_wcsupr(text), text);
    EXPECT_STREQ(text, L"ROAD \u9053 K1");
    _tcslwr(text);
    EXPECT_STREQ(text, L"road \u9053 k1");
}

TEST(CrtWide, BoundedCopies)
{
    wchar_t buf[6] = L"?????";
    EXPECT_EQ(wcscpy_s(buf, L"abcde"), 0);
    EXPECT_STREQ(buf, L"abcde");
    EXPECT_EQ(wcscpy_s(buf, L"abcdef"), ERANGE);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(wcscpy_s(buf, 6, nullptr), EINVAL);
    EXPECT_EQ(wcscpy_s(nullptr, 6, L"a"), EINVAL);

    EXPECT_EQ(wcsncpy_s(buf, L"abcdef", 3), 0);
    EXPECT_STREQ(buf, L"abc");
    EXPECT_EQ(wcsncpy_s(buf, L"abcdefgh", _TRUNCATE), STRUNCATE);
    EXPECT_STREQ(buf, L"abcde");
    EXPECT_EQ(wcsncpy_s(buf, L"abcdefgh", 6), ERANGE);
    EXPECT_STREQ(buf, L"");

    EXPECT_EQ(wcscpy_s(buf, L"ab"), 0);
    EXPECT_EQ(wcscat_s(buf, L"cde"), 0);
    EXPECT_STREQ(buf, L"abcde");
    EXPECT_EQ(wcscat_s(buf, L"f"), ERANGE);
    EXPECT_STREQ(buf, L"");
    wchar_t unterminated[2] = {L'x', L'y'};
    EXPECT_EQ(wcscat_s(unterminated, L"z"), EINVAL);
}

TEST(CrtWide, BoundedFormattingUsesTheMicrosoftRules)
{
    wchar_t buf[16];
    EXPECT_EQ(swprintf_s(buf, L"%s=%.2f", L"\u9053", 2.675), 6);
    EXPECT_STREQ(buf, L"\u9053=2.67");
    EXPECT_EQ(_stprintf_s(buf, 16, L"%S", "ab"), 2);
    EXPECT_STREQ(buf, L"ab");
    errno = 0;
    EXPECT_EQ(swprintf_s(buf, L"%s", L"0123456789abcdefgh"), -1);
    EXPECT_STREQ(buf, L"");
    EXPECT_EQ(errno, ERANGE);
    errno = 0;
    EXPECT_EQ(swprintf_s(buf, L"%n", nullptr), -1);
    EXPECT_EQ(errno, EINVAL);

    EXPECT_EQ(_snwprintf_s(buf, _TRUNCATE, L"%s", L"0123456789abcdefgh"), -1);
    EXPECT_STREQ(buf, L"0123456789abcde");
    EXPECT_EQ(_snwprintf_s(buf, 3, L"%d", 12345), -1);
    EXPECT_STREQ(buf, L"123");
    EXPECT_EQ(_snwprintf_s(buf, 8, L"%d", 12), 2);
    EXPECT_STREQ(buf, L"12");

    EXPECT_EQ(_scwprintf(L"%5d|%s", 1, L"\u9053\u8def"), 8);
    EXPECT_EQ(_scwprintf(L"%q"), -1);
}
