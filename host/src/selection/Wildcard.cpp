// Wildcard pattern compilation and matching, and the SDK's acutWcMatch.
#include "selection/Wildcard.h"

#include <cstdint>
#include <optional>
#include <utility>

#include "acutads.h"

namespace arxhost {

namespace {

bool between(wchar_t c, wchar_t first, wchar_t last)
{
    return c >= first && c <= last;
}

// Latin Extended-A holds case pairs side by side; in some blocks the capital is the even code,
// in others the odd one. U+0130/0131 (dotted and dotless i) have no partner here.
bool isPairedCapital(wchar_t c)
{
    if (between(c, 0x100, 0x12F) || between(c, 0x132, 0x137) || between(c, 0x14A, 0x177))
        return c % 2 == 0;
    if (between(c, 0x139, 0x148) || between(c, 0x179, 0x17E))
        return c % 2 == 1;
    return false;
}

bool isPairedSmall(wchar_t c)
{
    if (between(c, 0x100, 0x12F) || between(c, 0x132, 0x137) || between(c, 0x14A, 0x177))
        return c % 2 == 1;
    if (between(c, 0x139, 0x148) || between(c, 0x179, 0x17E))
        return c % 2 == 0;
    return false;
}

// The inverse of foldCase, used for bracket ranges given in capitals and matched ignoring case.
wchar_t upperCase(wchar_t c)
{
    if (between(c, L'a', L'z') || (between(c, 0xE0, 0xFE) && c != 0xF7) || between(c, 0x3B1, 0x3C1)
        || between(c, 0x3C3, 0x3C9) || between(c, 0x430, 0x44F) || between(c, 0xFF41, 0xFF5A))
        return static_cast<wchar_t>(c - 32);
    if (isPairedSmall(c))
        return static_cast<wchar_t>(c - 1);
    if (between(c, 0x450, 0x45F))
        return static_cast<wchar_t>(c - 80);
    if (between(c, 0x3AD, 0x3AF))
        return static_cast<wchar_t>(c - 37);
    if (between(c, 0x3CD, 0x3CE))
        return static_cast<wchar_t>(c - 63);
    switch (c) {
    case 0xFF:
        return 0x178;
    case 0x3C2: // final sigma
        return 0x3A3;
    case 0x3AC:
        return 0x386;
    case 0x3CC:
        return 0x38C;
    default:
        return c;
    }
}

} // namespace

bool isWildcardDigit(wchar_t c)
{
    return between(c, L'0', L'9');
}

bool isWildcardAlpha(wchar_t c)
{
    if (between(c, L'a', L'z') || between(c, L'A', L'Z'))
        return true;
    if (between(c, 0x3400, 0x4DBF) || between(c, 0x4E00, 0x9FFF) || between(c, 0xF900, 0xFAFF))
        return true;
    // Supplementary ideographs exist as single characters only where wchar_t is 32 bits wide.
    const auto code = static_cast<std::uint32_t>(c);
    return code >= 0x20000 && code <= 0x3134F;
}

wchar_t foldCase(wchar_t c)
{
    if (between(c, L'A', L'Z') || (between(c, 0xC0, 0xDE) && c != 0xD7) || between(c, 0x391, 0x3A1)
        || between(c, 0x3A3, 0x3A9) || between(c, 0x410, 0x42F) || between(c, 0xFF21, 0xFF3A))
        return static_cast<wchar_t>(c + 32);
    if (isPairedCapital(c))
        return static_cast<wchar_t>(c + 1);
    if (between(c, 0x400, 0x40F))
        return static_cast<wchar_t>(c + 80);
    if (between(c, 0x388, 0x38A))
        return static_cast<wchar_t>(c + 37);
    if (between(c, 0x38E, 0x38F))
        return static_cast<wchar_t>(c + 63);
    switch (c) {
    case 0x178:
        return 0xFF;
    case 0x3C2: // final sigma folds with sigma
        return 0x3C3;
    case 0x386:
        return 0x3AC;
    case 0x38C:
        return 0x3CC;
    default:
        return c;
    }
}

WildcardPattern::WildcardPattern(std::wstring_view pattern, bool ignoreCase)
    : mSource(pattern)
    , mIgnoreCase(ignoreCase)
{
    mAlternatives.clear();
    const std::size_t size = pattern.size();
    Alternative current;
    bool atStart = true;

    auto literal = [&](wchar_t c) {
        Token token;
        token.kind = Token::Kind::Literal;
        token.literal = mIgnoreCase ? foldCase(c) : c;
        current.tokens.push_back(std::move(token));
    };
    auto single = [&](Token::Kind kind) {
        // Runs of * behave as one; keeping one keeps the matcher's backtracking short.
        if (kind == Token::Kind::AnySequence && !current.tokens.empty()
            && current.tokens.back().kind == Token::Kind::AnySequence)
            return;
        Token token;
        token.kind = kind;
        current.tokens.push_back(std::move(token));
    };
    // Reads the bracket expression opening at pattern[open]; returns the set and the index after
    // its closing bracket, or nothing when it is not closed.
    auto readSet = [&](std::size_t open) -> std::optional<std::pair<Token, std::size_t>> {
        Token set;
        set.kind = Token::Kind::Set;
        std::size_t j = open + 1;
        if (j < size && pattern[j] == L'~') {
            set.negated = true;
            ++j;
        }
        auto member = [&]() {
            if (pattern[j] == L'`' && j + 1 < size) {
                j += 2;
                return pattern[j - 1];
            }
            return pattern[j++];
        };
        bool first = true;
        while (j < size) {
            if (pattern[j] == L']' && !first)
                return std::pair {std::move(set), j + 1};
            first = false;
            const wchar_t low = member();
            if (j + 1 < size && pattern[j] == L'-' && pattern[j + 1] != L']') {
                ++j;
                const wchar_t high = member();
                set.ranges.push_back(low <= high ? Range {low, high} : Range {high, low});
            } else {
                set.ranges.push_back(Range {low, low});
            }
        }
        return std::nullopt;
    };

    std::size_t i = 0;
    while (i < size) {
        const wchar_t c = pattern[i];
        if (atStart && c == L'~') {
            current.negated = true;
            atStart = false;
            ++i;
            continue;
        }
        atStart = false;
        switch (c) {
        case L',':
            mAlternatives.push_back(std::move(current));
            current = Alternative {};
            atStart = true;
            ++i;
            break;
        case L'`':
            literal(i + 1 < size ? pattern[i + 1] : L'`');
            i += 2;
            break;
        case L'#':
            single(Token::Kind::Digit);
            ++i;
            break;
        case L'@':
            single(Token::Kind::Alpha);
            ++i;
            break;
        case L'.':
            single(Token::Kind::NonAlnum);
            ++i;
            break;
        case L'?':
            single(Token::Kind::AnyOne);
            ++i;
            break;
        case L'*':
            single(Token::Kind::AnySequence);
            ++i;
            break;
        case L'[':
            if (auto set = readSet(i)) {
                current.tokens.push_back(std::move(set->first));
                i = set->second;
            } else {
                literal(c);
                ++i;
            }
            break;
        default:
            literal(c);
            ++i;
            break;
        }
    }
    mAlternatives.push_back(std::move(current));
}

bool WildcardPattern::matchesToken(const Token& token, wchar_t c) const
{
    switch (token.kind) {
    case Token::Kind::Literal:
        return (mIgnoreCase ? foldCase(c) : c) == token.literal;
    case Token::Kind::Digit:
        return isWildcardDigit(c);
    case Token::Kind::Alpha:
        return isWildcardAlpha(c);
    case Token::Kind::NonAlnum:
        return !isWildcardAlpha(c) && !isWildcardDigit(c);
    case Token::Kind::AnyOne:
        return true;
    case Token::Kind::AnySequence:
        return false; // handled by the matcher
    case Token::Kind::Set: {
        const wchar_t lower = mIgnoreCase ? foldCase(c) : c;
        const wchar_t upper = mIgnoreCase ? upperCase(c) : c;
        bool inside = false;
        for (const Range& range : token.ranges) {
            if (between(c, range.first, range.last) || between(lower, range.first, range.last)
                || between(upper, range.first, range.last)) {
                inside = true;
                break;
            }
        }
        return inside != token.negated;
    }
    }
    return false;
}

bool WildcardPattern::matchesAlternative(const Alternative& alternative, std::wstring_view text) const
{
    // Greedy scan that remembers the last * and, on a mismatch, lets it swallow one more
    // character. Every other token consumes exactly one character, so this is exact.
    const auto& tokens = alternative.tokens;
    const std::size_t count = tokens.size();
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t starToken = none;
    std::size_t starText = 0;
    while (t < text.size()) {
        if (p < count && tokens[p].kind == Token::Kind::AnySequence) {
            starToken = p++;
            starText = t;
        } else if (p < count && matchesToken(tokens[p], text[t])) {
            ++p;
            ++t;
        } else if (starToken != none) {
            p = starToken + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < count && tokens[p].kind == Token::Kind::AnySequence)
        ++p;
    return p == count;
}

bool WildcardPattern::matches(std::wstring_view text) const
{
    for (const Alternative& alternative : mAlternatives) {
        if (matchesAlternative(alternative, text) != alternative.negated)
            return true;
    }
    return false;
}

bool wcMatch(std::wstring_view text, std::wstring_view pattern, bool ignoreCase)
{
    return WildcardPattern(pattern, ignoreCase).matches(text);
}

} // namespace arxhost

int acutWcMatch(const ACHAR* string, const ACHAR* pattern)
{
    if (string == nullptr || pattern == nullptr)
        return RTERROR;
    return arxhost::wcMatch(string, pattern, false) ? RTNORM : RTERROR;
}
