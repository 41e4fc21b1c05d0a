// Tests of the UTF-8 conversions: round trips, characters outside the BMP and ill-formed input.
#include <gtest/gtest.h>

#include <string>

#include "text/Utf8.h"

using arxhost::fromUtf8;
using arxhost::toUtf8;

TEST(Utf8, RoundTripsTextOfEveryEncodedLength)
{
    // 1, 2, 3 and 4 bytes: ASCII, Latin, CJK (the road names), and U+20BB7 (outside the BMP).
    const std::wstring text = L"K12+500 \u00e9 \u9053\u8def\u4e2d\u7ebf \U00020BB7\U0001F6A7";
    const std::string utf8 = toUtf8(text);
    EXPECT_EQ(utf8,
        "K12+500 \xC3\xA9 \xE9\x81\x93\xE8\xB7\xAF\xE4\xB8\xAD\xE7\xBA\xBF \xF0\xA0\xAE\xB7\xF0\x9F\x9A\xA7");
    EXPECT_EQ(fromUtf8(utf8), text);
    EXPECT_EQ(fromUtf8(utf8).size(), 17u); // one wchar_t per character, also outside the BMP
}

TEST(Utf8, EncodesTheBoundariesOfEachLength)
{
    struct Case {
        wchar_t c;
        const char* bytes;
    };
    const Case cases[] = {
        {L'\x7F', "\x7F"},
        {L'\x80', "\xC2\x80"},
        {L'\x7FF', "\xDF\xBF"},
        {L'\x800', "\xE0\xA0\x80"},
        {L'\xFFFF', "\xEF\xBF\xBF"},
        {static_cast<wchar_t>(0x10000), "\xF0\x90\x80\x80"},
        {static_cast<wchar_t>(0x10FFFF), "\xF4\x8F\xBF\xBF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.c));
        EXPECT_EQ(toUtf8(std::wstring(1, c.c)), c.bytes);
        EXPECT_EQ(fromUtf8(c.bytes), std::wstring(1, c.c));
    }
}

TEST(Utf8, EncodingReplacesWhatIsNoCharacterAndJoinsSurrogatePairs)
{
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(toUtf8(std::wstring(1, L'\xD800')), replacement);
    EXPECT_EQ(toUtf8(std::wstring {L'a', L'\xDC00', L'b'}), "a" + replacement + "b");
    EXPECT_EQ(toUtf8(std::wstring(1, static_cast<wchar_t>(0x110000))), replacement);
    // A UTF-16 pair carried over in two units is one character.
    EXPECT_EQ(toUtf8(std::wstring {L'\xD83D', L'\xDEA7'}), "\xF0\x9F\x9A\xA7");
    // A high surrogate at the end or before a non-surrogate stays lone.
    EXPECT_EQ(toUtf8(std::wstring {L'\xD83D', L'x'}), replacement + "x");
}

TEST(Utf8, DecodingReplacesEachMaximalIllFormedSubsequence)
{
    const std::wstring r = L"\xFFFD";
    struct Case {
        const char* name;
        std::string bytes;
        std::wstring expected;
    };
    const Case cases[] = {
        {"stray continuation", "a\x80z", L"a" + r + L"z"},
        {"two stray continuations", "\x80\xBF", r + r},
        {"overlong slash", "\xC0\xAF", r + r},
        {"overlong three-byte", "\xE0\x80\xAF", r + r + r},
        {"encoded surrogate", "\xED\xA0\x80", r + r + r},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r},
        {"invalid lead F5", "\xF5\x80", r + r},
        {"truncated three-byte at end", "a\xE9\x81", L"a" + r},
        {"truncated then ASCII", "\xE9\x81z", r + L"z"},
        {"truncated four-byte then valid", "\xF0\x9F\x9A\xE9\x81\x93", r + L"\u9053"},
        {"lone lead FF", "\xFF", r},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fromUtf8(c.bytes), c.expected);
    }
}

TEST(Utf8, NullAndEmbeddedNulAreHandled)
{
    EXPECT_EQ(toUtf8(static_cast<const wchar_t*>(nullptr)), "");
    EXPECT_EQ(fromUtf8(static_cast<const char*>(nullptr)), L"");
    EXPECT_EQ(fromUtf8(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

TEST(Utf8, PrefixBytesCountWholeCharacters)
{
    const char* text = "\xE9\x81\x93\xE8\xB7\xAF"
                       "ab";
    EXPECT_EQ(arxhost::utf8PrefixBytes(text, 0), 0u);
    EXPECT_EQ(arxhost::utf8PrefixBytes(text, 1), 3u);
    EXPECT_EQ(arxhost::utf8PrefixBytes(text, 3), 7u);
    EXPECT_EQ(arxhost::utf8PrefixBytes(text, 99), 8u);
    // Reads no byte after the characters asked for: the buffer below is not terminated.
    const char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ(arxhost::utf8PrefixBytes(unterminated, 3), 3u);
}
