// The C preprocessor subset of the resource compiler, turning a script and its headers into tokens.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resources/ResourceScript.h"

namespace arxhost::rc {

enum class TokenKind {
    Identifier,
    Number,
    String, // text is the raw body between the quotes, escapes undecoded
    Punctuator, // also any character the grammar has no use for, which the parser then rejects
    End,
};

// What an identifier meant where it was written, under the macros defined at that point: the script
// is read after preprocessing, so a later #define or #undef must not change an earlier use.
struct MacroMeaning {
    enum class Kind {
        NotAMacro,
        Number,
        String, // a macro whose body is one string literal
        Unusable, // text says why (no value, a function-like macro, an unknown name inside, ...)
    };
    Kind kind = Kind::NotAMacro;
    std::int64_t value = 0;
    std::string text;
    bool wide = false;
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    std::int64_t number = 0;
    bool validNumber = true; // false for a pp-number such as "1.5" or "12ab"
    bool wide = false; // L"..." strings
    int file = 0; // index into Preprocessed::files
    int line = 0;
    MacroMeaning macro; // identifiers only

    bool isPunct(std::string_view punct) const noexcept
    {
        return kind == TokenKind::Punctuator && text == punct;
    }
    // Resource-script keywords are case-insensitive; keyword is given in upper case.
    bool isKeyword(std::string_view keyword) const noexcept;
};

struct Preprocessed {
    std::vector<std::string> files; // names for messages, the script first
    std::vector<Token> tokens; // the active text of the script and included scripts, ending with End
    std::map<std::string, std::int64_t, std::less<>> numericMacros; // in force at the end
};

// Runs the preprocessor. Headers (.h, .hh, .hpp, .c, .cpp) contribute only their directives, as with
// the resource compiler; included scripts (.rc, .rc2, .dlg) contribute their text too.
Preprocessed preprocess(std::string_view text, std::string_view fileName, const IncludeResolver& resolver);

// Thrown by the expression evaluator; the caller knows the file names and turns it into a
// ResourceScriptError at the token.
struct ExpressionError {
    std::size_t index; // of the offending token in the evaluated span
    std::string message;
};

// Maps an identifier (other than `defined`) to its value, or throws ExpressionError.
using IdentifierValue = std::function<std::int64_t(const Token& token, std::size_t index)>;

// Evaluates a C integer expression (| ^ & == != < > <= >= << >> + - * / % ! ~ unary -, parentheses)
// starting at pos, and leaves pos after it. Stops before the first token that cannot continue it, so
// `7, 7` evaluates `7` and `IDS_A "text"` evaluates IDS_A. With stopAtOr, a top-level `|` also ends
// the expression (for the items of a style list). Throws ExpressionError.
std::int64_t evaluate(std::span<const Token> tokens, std::size_t& pos, const IdentifierValue& identifier,
    bool stopAtOr = false);

} // namespace arxhost::rc
