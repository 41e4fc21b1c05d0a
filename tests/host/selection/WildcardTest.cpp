// Tests of the wildcard grammar and of acutWcMatch.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "acutads.h"
#include "selection/Wildcard.h"

namespace {

struct MatchCase {
    const wchar_t* pattern;
    const wchar_t* text;
    bool expected;
};

void expectCases(const std::vector<MatchCase>& cases, bool ignoreCase)
{
    for (const MatchCase& c : cases) {
        EXPECT_EQ(arxhost::wcMatch(c.text, c.pattern, ignoreCase), c.expected)
            << "pattern " << testing::PrintToString(std::wstring(c.pattern)) << " text "
            << testing::PrintToString(std::wstring(c.text)) << (ignoreCase ? " ignoring case" : "");
    }
}

TEST(Wildcard, SingleCharacterClasses)
{
    expectCases(
        {
            {L"#", L"7", true},
            {L"#", L"a", false},
            {L"#", L"７", false}, // fullwidth digits are not digits
            {L"R-##", L"R-12", true},
            {L"R-##", L"R-1a", false},
            {L"@", L"q", true},
            {L"@", L"Z", true},
            {L"@", L"5", false},
            {L"@", L"-", false},
            {L"@@", L"道路", true}, // CJK ideographs count as alphabetic
            {L"@", L"é", false}, // as in the C locale, Latin-1 letters do not
            {L".", L"-", true},
            {L".", L" ", true},
            {L".", L"、", true},
            {L".", L"a", false},
            {L".", L"3", false},
            {L".", L"中", false},
            {L"?", L"中", true},
            {L"?", L"", false},
            {L"??", L"a", false},
            {L"a?c", L"abc", true},
        },
        false);
}

TEST(Wildcard, Sequences)
{
    expectCases(
        {
            {L"*", L"", true},
            {L"*", L"anything", true},
            {L"A*", L"A", true},
            {L"*Q*", L"FQ12.50", true},
            {L"*Q*", L"R-12", false},
            {L"*.50", L"FQ12.50", true}, // '.' is the class here, and matches the point
            {L"a*b*c", L"aXXbYYc", true},
            {L"a*b*c", L"aXXcYYb", false},
            {L"**x", L"abx", true},
            {L"*ab", L"aab", true},
            {L"*a*a*a*b", L"aaaaaaaab", true},
            {L"", L"", true},
            {L"", L"a", false},
            {L"abc", L"abcd", false},
            {L"abcd", L"abc", false},
        },
        false);
}

TEST(Wildcard, NegationAppliesToItsOwnAlternative)
{
    expectCases(
        {
            {L"~A*", L"B1", true},
            {L"~A*", L"A1", false},
            {L"~", L"", false},
            {L"~", L"x", true},
            {L"a~b", L"a~b", true}, // not at the start: literal
            {L"~A*,A1", L"A1", true},
            {L"~A*,A1", L"A2", false},
            {L"B*,~*1", L"A1", false},
            {L"B*,~*1", L"B1", true},
            {L"B*,~*1", L"C2", true},
            {L"~~x", L"~x", false},
            {L"~~x", L"x", true},
        },
        false);
}

TEST(Wildcard, Alternatives)
{
    expectCases(
        {
            {L"ARC,LINE", L"LINE", true},
            {L"ARC,LINE", L"POLYLINE", false},
            {L"*Q*,*FQ*", L"Q 15", true},
            {L"*Q*,*FQ*", L"R-12", false},
            {L"A,", L"", true}, // empty second alternative
            {L"A,", L"B", false},
            {L",", L"", true},
            {L"DL-道路边线,DL-道路红线", L"DL-道路红线", true},
            {L"DL-道路边线,DL-道路红线", L"DL-道路中线", false},
        },
        false);
}

TEST(Wildcard, Brackets)
{
    expectCases(
        {
            {L"[abc]", L"b", true},
            {L"[abc]", L"d", false},
            {L"[a-c]x", L"bx", true},
            {L"[a-c]x", L"dx", false},
            {L"[c-a]", L"b", true}, // bounds in either order
            {L"[~a-c]", L"d", true},
            {L"[~a-c]", L"b", false},
            {L"[~a-c]", L"", false},
            {L"[0-9A-F][0-9A-F]", L"7E", true},
            {L"[-a]", L"-", true},
            {L"[a-]", L"-", true},
            {L"[a-]", L"b", false},
            {L"[]]", L"]", true},
            {L"[~]]", L"]", false},
            {L"[~]]", L"x", true},
            {L"[,]", L",", true}, // a comma in brackets is a member, not a separator
            {L"[a,b]", L"b", true},
            {L"[`]]", L"]", true}, // escaped closing bracket
            {L"[a", L"[a", true}, // unclosed: the bracket is literal
            {L"[a", L"a", false},
            {L"[道路]", L"路", true},
            {L"[一-龥]", L"道", true},
            {L"[*?]", L"?", true},
            {L"[*?]", L"x", false},
        },
        false);
}

TEST(Wildcard, Escapes)
{
    expectCases(
        {
            {L"`*", L"*", true},
            {L"`*", L"a", false},
            {L"`#", L"#", true},
            {L"`#", L"1", false},
            {L"a`,b", L"a,b", true},
            {L"a`,b", L"a", false},
            {L"`~a", L"~a", true},
            {L"`~a", L"b", false},
            {L"``", L"`", true},
            {L"a`", L"a`", true}, // trailing backquote is itself
            {L"`[a]", L"[a]", true},
            {L"1`.5", L"1.5", true},
            {L"1`.5", L"1-5", false},
        },
        false);
}

TEST(Wildcard, CaseSensitivityIsChosenByTheCaller)
{
    expectCases(
        {
            {L"arc", L"ARC", false},
            {L"[a-z]", L"Q", false},
            {L"*q*", L"FQ12.50", false},
        },
        false);
    expectCases(
        {
            {L"arc", L"ARC", true},
            {L"ARC,LWPOLYLINE", L"LwPolyline", true},
            {L"[a-z]1", L"Q1", true},
            {L"[A-Z]1", L"q1", true},
            {L"[~a-z]", L"Q", false},
            {L"*Q*,*FQ*", L"q5", true},
            {L"ÉCLAIRAGE", L"éclairage", true},
            {L"ДОРОГА", L"дорога", true},
            {L"ΣΩ", L"σω", true},
            {L"道路", L"道路", true},
        },
        true);
}

TEST(Wildcard, CompiledPatternIsReusable)
{
    const arxhost::WildcardPattern layers(L"DL-*,~*红线", true);
    EXPECT_TRUE(layers.matches(L"dl-道路红线"));
    EXPECT_TRUE(layers.matches(L"道路边线"));
    EXPECT_FALSE(layers.matches(L"道路红线"));
    EXPECT_TRUE(layers.ignoresCase());

    const arxhost::WildcardPattern empty;
    EXPECT_TRUE(empty.matches(L""));
    EXPECT_FALSE(empty.matches(L"x"));
}

TEST(Wildcard, ManyStarsStayFast)
{
    // A naive recursive matcher takes exponential time on this; the host matches names in loops.
    const std::wstring text(2000, L'a');
    const arxhost::WildcardPattern pattern(L"*a*a*a*a*a*a*a*a*a*a*b", false);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(pattern.matches(text));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(Wildcard, AcutWcMatchIsCaseSensitiveAndReturnsAdsCodes)
{
    EXPECT_EQ(acutWcMatch(L"LINE", L"LINE,ARC"), RTNORM);
    EXPECT_EQ(acutWcMatch(L"line", L"LINE,ARC"), RTERROR);
    EXPECT_EQ(acutWcMatch(L"Road12", L"@*##"), RTNORM);
    EXPECT_EQ(acutWcMatch(L"Road1x", L"@*##"), RTERROR);
    EXPECT_EQ(acutWcMatch(L"", L""), RTNORM);
    EXPECT_EQ(acutWcMatch(nullptr, L"*"), RTERROR);
    EXPECT_EQ(acutWcMatch(L"x", nullptr), RTERROR);
}

} // namespace
