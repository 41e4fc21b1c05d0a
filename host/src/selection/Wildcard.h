// The host's wildcard patterns, as used by acutWcMatch, selection filters and name lookups.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace arxhost {

// Pattern grammar (one pattern may list alternatives separated by commas):
//   #       any digit 0-9
//   @       any alphabetic character (see isWildcardAlpha)
//   .       any character that is neither alphabetic nor a digit
//   *       any sequence of characters, the empty one included
//   ?       any single character
//   ~       first character of an alternative: the alternative matches what the rest does not;
//           anywhere else it is an ordinary character
//   [...]   any one of the enclosed characters; `a-z` between two members is a range (bounds in
//           either order), a `-` first or last is literal; `]` right after `[` or `[~` is a
//           member; an opening `[` with no closing `]` is an ordinary character
//   [~...]  any single character not enclosed
//   `       the next character is literal (also inside brackets); a trailing ` is itself literal
//   ,       separates alternatives; the text matches if any alternative matches. A comma inside
//           brackets or after ` is literal. "A," has an empty second alternative matching "".
// The empty pattern matches only the empty text. Text is compared character by character on
// wchar_t (32-bit here, so a CJK ideograph outside the BMP is one character).
// With ignoreCase, letters compare after case folding (foldCase), ranges included.
class WildcardPattern {
public:
    WildcardPattern() = default; // matches only the empty text
    explicit WildcardPattern(std::wstring_view pattern, bool ignoreCase);

    bool matches(std::wstring_view text) const;

    const std::wstring& source() const { return mSource; }
    bool ignoresCase() const { return mIgnoreCase; }

private:
    struct Range {
        wchar_t first;
        wchar_t last;
    };
    struct Token {
        enum class Kind { Literal, Digit, Alpha, NonAlnum, AnyOne, AnySequence, Set };
        Kind kind = Kind::Literal;
        wchar_t literal = 0; // Literal (already folded under ignoreCase)
        bool negated = false; // Set
        std::vector<Range> ranges; // Set; a single member is a range of one
    };
    struct Alternative {
        bool negated = false;
        std::vector<Token> tokens;
    };

    bool matchesAlternative(const Alternative& alternative, std::wstring_view text) const;
    bool matchesToken(const Token& token, wchar_t c) const;

    std::wstring mSource;
    bool mIgnoreCase = false;
    std::vector<Alternative> mAlternatives {Alternative {}};
};

// One-off match of text against pattern (compiles the pattern each call).
bool wcMatch(std::wstring_view text, std::wstring_view pattern, bool ignoreCase);

// Character classes of the grammar, independent of the process locale (module code may call
// setlocale): alphabetic means what iswalpha accepts in the C locale (ASCII letters) plus the CJK
// ideographs (U+3400-4DBF, U+4E00-9FFF, U+F900-FAFF, U+20000-3134F), so that `@` accepts Chinese
// names. Digits are 0-9 only.
bool isWildcardAlpha(wchar_t c);
bool isWildcardDigit(wchar_t c);

// Simple lower-case folding used by ignoreCase comparisons: ASCII, Latin-1, Latin Extended-A
// pairs, Greek, Cyrillic and fullwidth Latin letters. Other characters are returned unchanged.
wchar_t foldCase(wchar_t c);

} // namespace arxhost
