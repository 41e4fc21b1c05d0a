// Tests of CString: MFC's clamping, searching, replacing, trimming, tokenizing and formatting rules.
#include <gtest/gtest.h>

#include <cwchar>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "afxstr.h"
#include "text/Utf8.h"

namespace {

std::wstring str(const CString& s)
{
    return std::wstring(s.GetString(), static_cast<std::size_t>(s.GetLength()));
}

} // namespace

TEST(CString, ConstructionAndAssignment)
{
    EXPECT_EQ(str(CString()), L"");
    EXPECT_EQ(str(CString(static_cast<const wchar_t*>(nullptr))), L"");
    EXPECT_EQ(str(CString(L"\u9053\u8def")), L"\u9053\u8def");
    EXPECT_EQ(str(CString("\xE9\x81\x93\xE8\xB7\xAF-K1")), L"\u9053\u8def-K1"); // narrow text is UTF-8
    EXPECT_EQ(str(CString(L'-', 3)), L"---");
    EXPECT_EQ(str(CString(L'-', -2)), L"");
    EXPECT_EQ(str(CString(L"abcdef", 3)), L"abc");
    EXPECT_EQ(str(CString(L"a\0b", 3)), std::wstring(L"a\0b", 3));

    CString a(L"left");
    CString b(a);
    b.SetAt(0, L'L');
    EXPECT_EQ(str(a), L"left"); // copies are independent
    CString c(std::move(b));
    EXPECT_EQ(str(c), L"Left");
    c = L'x';
    EXPECT_EQ(str(c), L"x");
    c = "\xE4\xB8\xAD";
    EXPECT_EQ(str(c), L"\u4e2d");
    c = static_cast<const wchar_t*>(nullptr);
    EXPECT_TRUE(c.IsEmpty());
}

TEST(CString, LengthAccessAndBuffer)
{
    CString s(L"\u9053\u8def1");
    EXPECT_EQ(s.GetLength(), 3); // characters, not bytes
    EXPECT_EQ(s.GetAt(0), L'\u9053');
    EXPECT_EQ(s[2], L'1');
    EXPECT_EQ(s[static_cast<std::size_t>(1)], L'\u8def');
    EXPECT_EQ(s.GetAt(3), L'\0'); // the terminator is readable
    EXPECT_THROW(s.GetAt(4), std::out_of_range);
    EXPECT_THROW(s.GetAt(-1), std::out_of_range);
    EXPECT_THROW(s.SetAt(3, L'x'), std::out_of_range);
    EXPECT_EQ(std::wcscmp(static_cast<LPCTSTR>(s), L"\u9053\u8def1"), 0);

    CString buffer;
    wchar_t* p = buffer.GetBuffer(16);
    std::wcscpy(p, L"written");
    buffer.ReleaseBuffer();
    EXPECT_EQ(str(buffer), L"written");
    p = buffer.GetBuffer(4);
    p[2] = 0;
    buffer.ReleaseBuffer();
    EXPECT_EQ(str(buffer), L"wr");
    buffer.GetBuffer(10);
    buffer.ReleaseBuffer(1);
    EXPECT_EQ(str(buffer), L"w");
    p = buffer.GetBufferSetLength(3);
    p[1] = L'x';
    p[2] = L'y';
    buffer.ReleaseBuffer(-1);
    EXPECT_EQ(str(buffer), L"wxy");
    buffer.GetBuffer(0); // never shrinks
    buffer.ReleaseBuffer();
    EXPECT_EQ(str(buffer), L"wxy");
    buffer.Empty();
    EXPECT_TRUE(buffer.IsEmpty());
}

TEST(CString, FormatAndAppend)
{
    CString s;
    CString fmt;
    fmt.Format(L"%%s%%0.%df", 2);
    CString value;
    value.Format(fmt, L"R-", 12.346);
    EXPECT_EQ(str(value), L"R-12.35");

    CString name(L"\u4e2d\u7ebf");
    s.Format(L"[%-4s]%d", static_cast<LPCTSTR>(name), 7);
    EXPECT_EQ(str(s), L"[\u4e2d\u7ebf  ]7");
    s.AppendFormat(L"+%03d", 5);
    EXPECT_EQ(str(s), L"[\u4e2d\u7ebf  ]7+005");
    s.Format(L"%d", 0);
    EXPECT_EQ(str(s), L"0"); // Format replaces
    EXPECT_THROW(s.Format(L"%n", nullptr), std::invalid_argument);
    EXPECT_EQ(str(s), L"0"); // a rejected format leaves the string as it was

    CString a(L"a");
    a.Append(L"bc");
    a.Append(CString(L"d"));
    a.Append(L"efgh", 2);
    a.Append(L"x\0yz", 4); // stops at the terminator
    a.AppendChar(L'!');
    a += L'?';
    a += L"\u9053";
    a += "\xE8\xB7\xAF";
    EXPECT_EQ(str(a), L"abcdefx!?\u9053\u8def");
}

TEST(CString, ConcatenationInEveryCombination)
{
    const CString s(L"K");
    EXPECT_EQ(str(s + CString(L"1")), L"K1");
    EXPECT_EQ(str(s + L"2"), L"K2");
    EXPECT_EQ(str(L"3" + s), L"3K");
    EXPECT_EQ(str(s + L'+'), L"K+");
    EXPECT_EQ(str(L'-' + s), L"-K");
    EXPECT_EQ(str(L"A" + s + L'+' + L"500"), L"AK+500");
}

TEST(CString, ComparisonsAreCaseSensitiveUnlessAsked)
{
    const CString abc(L"abc");
    EXPECT_EQ(abc.Compare(L"abc"), 0);
    EXPECT_LT(abc.Compare(L"abd"), 0);
    EXPECT_GT(abc.Compare(L"ABC"), 0);
    EXPECT_GT(abc.Compare(L"ab"), 0);
    EXPECT_EQ(abc.CompareNoCase(L"ABC"), 0);
    EXPECT_LT(abc.CompareNoCase(L"ABD"), 0);
    // Folding goes to lower case, so '_' (0x5F) sorts before letters, as _wcsicmp does.
    EXPECT_GT(CString(L"a").CompareNoCase(L"_"), 0);
    // Only A-Z fold, as in the runtime's "C" locale.
    EXPECT_NE(CString(L"\u00e9").CompareNoCase(L"\u00c9"), 0);
    EXPECT_EQ(CString(L"\u9053\u8defA").CompareNoCase(L"\u9053\u8defa"), 0);

    EXPECT_TRUE(abc == L"abc");
    EXPECT_TRUE(L"abc" == abc);
    EXPECT_TRUE(abc == CString(L"abc"));
    EXPECT_TRUE(abc != L"ABC");
    EXPECT_TRUE(L"abd" != abc);
    EXPECT_TRUE(abc < L"abd");
    EXPECT_TRUE(L"abb" < abc);
    EXPECT_TRUE(abc > CString(L"ab"));
    EXPECT_TRUE(abc <= L"abc");
    EXPECT_TRUE(abc >= CString(L"abc"));
    EXPECT_FALSE(abc > L"abc");
    EXPECT_TRUE(L"b" >= abc);
}

TEST(CString, FindAndReverseFind)
{
    const CString s(L"K1+200.5+K1");
    struct Case {
        int actual;
        int expected;
    };
    const Case cases[] = {
        {s.Find(L"K1"), 0},
        {s.Find(L"K1", 1), 9},
        {s.Find(L"K1", 10), -1},
        {s.Find(L"", 4), 4},
        {s.Find(L"", 11), 11}, // an empty substring is found even at the end
        {s.Find(L"K1", 12), -1}, // start beyond the end
        {s.Find(L"K1", -1), -1},
        {s.Find(L'+'), 2},
        {s.Find(L'+', 3), 8},
        {s.Find(L'+', 11), -1}, // for a character, the end itself is beyond
        {s.Find(L'+', 99), -1},
        {s.Find(L'x'), -1},
        {s.ReverseFind(L'+'), 8},
        {s.ReverseFind(L'x'), -1},
        {s.FindOneOf(L".+"), 2},
        {s.FindOneOf(L"xyz"), -1},
        {CString(L"\u9053\u8def\u4e2d").Find(L"\u4e2d"), 2},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].actual, cases[i].expected);
    }
}

TEST(CString, LeftMidRightClamp)
{
    const CString s(L"abcdef");
    struct Case {
        CString actual;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {s.Left(2), L"ab"},
        {s.Left(0), L""},
        {s.Left(-3), L""},
        {s.Left(99), L"abcdef"},
        {s.Right(2), L"ef"},
        {s.Right(-1), L""},
        {s.Right(99), L"abcdef"},
        {s.Mid(2), L"cdef"},
        {s.Mid(-1), L"abcdef"},
        {s.Mid(6), L""},
        {s.Mid(9), L""},
        {s.Mid(1, 3), L"bcd"},
        {s.Mid(-1, 3), L"abc"}, // as Mid(0, 3)
        {s.Mid(4, 99), L"ef"},
        {s.Mid(2, -1), L""},
        {s.Mid(7, 2), L""},
        {s.Mid(0, 2147483647), L"abcdef"},
        {s.Mid(3, 2147483647), L"def"},
        {CString(L"\u9053\u8def\u4e2d\u7ebf").Mid(1, 2), L"\u8def\u4e2d"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(str(cases[i].actual), cases[i].expected);
    }
    EXPECT_EQ(str(s.SpanIncluding(L"cba")), L"abc");
    EXPECT_EQ(str(s.SpanIncluding(L"x")), L"");
    EXPECT_EQ(str(s.SpanExcluding(L"dx")), L"abc");
    EXPECT_EQ(str(s.SpanExcluding(L"xyz")), L"abcdef");
}

TEST(CString, ReplaceCountsNonOverlappingMatches)
{
    struct Case {
        const wchar_t* text;
        const wchar_t* from;
        const wchar_t* to;
        int count;
        const wchar_t* result;
    };
    const Case cases[] = {
        {L"aaa", L"aa", L"b", 1, L"ba"},
        {L"aaaa", L"aa", L"b", 2, L"bb"},
        {L"K1+K2+K3", L"+", L"", 2, L"K1K2K3"},
        {L"abc", L"x", L"y", 0, L"abc"},
        {L"abc", L"", L"y", 0, L"abc"},
        {L"aBc", L"b", L"x", 0, L"aBc"}, // case-sensitive
        {L"a.b", L".", L"..", 1, L"a..b"}, // replacement text is not searched again
        {L"\u9053\u8def\u9053", L"\u9053", L"\u8857", 2, L"\u8857\u8def\u8857"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.text));
        CString s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.count);
        EXPECT_EQ(str(s), c.result);
    }
    CString s(L"a-b-c");
    EXPECT_EQ(s.Replace(static_cast<const wchar_t*>(nullptr), L"x"), 0);
    EXPECT_EQ(s.Replace(L'-', L'+'), 2);
    EXPECT_EQ(str(s), L"a+b+c");
    EXPECT_EQ(s.Replace(L'+', L'+'), 0); // same character: nothing replaced
    EXPECT_EQ(s.Remove(L'+'), 2);
    EXPECT_EQ(str(s), L"abc");
}

TEST(CString, InsertAndDeleteClamp)
{
    CString s(L"abc");
    EXPECT_EQ(s.Insert(1, L'x'), 4);
    EXPECT_EQ(str(s), L"axbc");
    EXPECT_EQ(s.Insert(-5, L"<"), 5);
    EXPECT_EQ(s.Insert(99, L">"), 6);
    EXPECT_EQ(str(s), L"<axbc>");
    EXPECT_EQ(s.Delete(1), 5);
    EXPECT_EQ(str(s), L"<xbc>");
    EXPECT_EQ(s.Delete(3, 99), 3);
    EXPECT_EQ(str(s), L"<xb");
    EXPECT_EQ(s.Delete(-2, 1), 2);
    EXPECT_EQ(str(s), L"xb");
    EXPECT_EQ(s.Delete(5, 1), 2);
    EXPECT_EQ(s.Delete(0, -1), 2);
    EXPECT_EQ(str(s), L"xb");
}

TEST(CString, CaseMappingAndReverse)
{
    CString s(L"Road\u9053\u00e9x");
    s.MakeUpper();
    EXPECT_EQ(str(s), L"ROAD\u9053\u00e9X"); // only A-Z, as in the "C" locale
    s.MakeLower();
    EXPECT_EQ(str(s), L"road\u9053\u00e9x");
    EXPECT_EQ(str(CString(L"ab\u9053").MakeReverse()), L"\u9053ba");
}

TEST(CString, TrimUsesUnicodeSpacesIncludingTheIdeographicSpace)
{
    // U+3000 is the full-width space of Chinese input methods; U+2003 an em space.
    struct Case {
        const wchar_t* text;
        const wchar_t* both;
        const wchar_t* left;
        const wchar_t* right;
    };
    const Case cases[] = {
        {L"  \u9053\u8def  ", L"\u9053\u8def", L"\u9053\u8def  ", L"  \u9053\u8def"},
        {L"\u3000\u9053 \u8def\u3000", L"\u9053 \u8def", L"\u9053 \u8def\u3000", L"\u3000\u9053 \u8def"},
        {L"\t\r\n\v\f x \u2003", L"x", L"x \u2003", L"\t\r\n\v\f x"},
        {L"\u00a0x\u00a0", L"\u00a0x\u00a0", L"\u00a0x\u00a0", L"\u00a0x\u00a0"}, // no-break space stays
        {L"   ", L"", L"", L""},
        {L"", L"", L"", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.text));
        EXPECT_EQ(str(CString(c.text).Trim()), c.both);
        EXPECT_EQ(str(CString(c.text).TrimLeft()), c.left);
        EXPECT_EQ(str(CString(c.text).TrimRight()), c.right);
    }
    EXPECT_EQ(str(CString(L"--K1--").Trim(L'-')), L"K1");
    EXPECT_EQ(str(CString(L"--K1--").TrimLeft(L'-')), L"K1--");
    EXPECT_EQ(str(CString(L"--K1--").TrimRight(L'-')), L"--K1");
    EXPECT_EQ(str(CString(L"<\u3000K1 >").Trim(L"<> \u3000")), L"K1");
    EXPECT_EQ(str(CString(L"xyK1yx").TrimLeft(L"xy")), L"K1yx");
    EXPECT_EQ(str(CString(L"xyK1yx").TrimRight(L"xy")), L"xyK1");
    EXPECT_EQ(str(CString(L"xy").Trim(L"")), L"xy");
}

TEST(CString, TokenizeWalksTokensAndSkipsEmptyOnes)
{
    const CString s(L",K1+200,,\u9053\u8def;end,");
    std::vector<std::wstring> tokens;
    int pos = 0;
    for (CString token = s.Tokenize(L",;", pos); pos != -1; token = s.Tokenize(L",;", pos))
        tokens.push_back(str(token));
    EXPECT_EQ(tokens, (std::vector<std::wstring> {L"K1+200", L"\u9053\u8def", L"end"}));

    int start = 0;
    EXPECT_EQ(str(CString(L",,,").Tokenize(L",", start)), L"");
    EXPECT_EQ(start, -1);
    start = 2;
    EXPECT_EQ(str(CString(L"abc").Tokenize(L"", start)), L"c"); // no delimiters: the rest, start kept
    EXPECT_EQ(start, 2);
    start = 3;
    EXPECT_EQ(str(CString(L"abc").Tokenize(L"", start)), L"");
    EXPECT_EQ(start, -1);
    start = -1;
    EXPECT_THROW(CString(L"abc").Tokenize(L",", start), std::invalid_argument);
}
