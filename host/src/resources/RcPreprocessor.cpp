// The C preprocessor subset of the resource compiler, turning a script and its headers into tokens.
#include "resources/RcPreprocessor.h"

#include <array>
#include <limits>
#include <optional>
#include <utility>

#include "resources/RcSystemHeaders.h"
#include "resources/RcText.h"

namespace arxhost::rc {

bool Token::isKeyword(std::string_view keyword) const noexcept
{
    return kind == TokenKind::Identifier && equalsNoCase(text, keyword);
}

namespace {

constexpr int maxIncludeDepth = 32;
constexpr int maxMacroDepth = 64;

bool isSpace(char c) noexcept
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}
bool isDigit(char c) noexcept
{
    return c >= '0' && c <= '9';
}
bool isIdentStart(char c) noexcept
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool isIdentChar(char c) noexcept
{
    return isIdentStart(c) || isDigit(c);
}

std::string describe(const Token& token)
{
    switch (token.kind) {
    case TokenKind::End:
        return "end of file";
    case TokenKind::String:
        return "a string";
    default:
        return "'" + token.text + "'";
    }
}

// A pp-number as the resource compiler reads it: decimal, or hex after 0x, with optional U/L
// suffixes. A leading zero does not make it octal.
std::optional<std::int64_t> parseNumber(std::string_view spelling)
{
    std::uint64_t value = 0;
    std::size_t i = 0;
    int base = 10;
    if (spelling.size() > 2 && spelling[0] == '0' && (spelling[1] == 'x' || spelling[1] == 'X')) {
        base = 16;
        i = 2;
    }
    std::size_t digits = 0;
    for (; i < spelling.size(); ++i, ++digits) {
        const char c = spelling[i];
        int digit = -1;
        if (isDigit(c)) {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            break;
        }
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
    }
    if (digits == 0) {
        return std::nullopt;
    }
    for (; i < spelling.size(); ++i) {
        const char c = spelling[i];
        if (c != 'u' && c != 'U' && c != 'l' && c != 'L') {
            return std::nullopt;
        }
    }
    return static_cast<std::int64_t>(value);
}

bool isHeaderName(std::string_view name) noexcept
{
    const auto dot = name.find_last_of('.');
    if (dot == std::string_view::npos || name.find_first_of("/\\", dot) != std::string_view::npos) {
        return false;
    }
    const auto ext = name.substr(dot + 1);
    static constexpr std::array headerExtensions {std::string_view("h"), std::string_view("hh"),
        std::string_view("hpp"), std::string_view("hxx"), std::string_view("c"), std::string_view("cpp"),
        std::string_view("cxx")};
    for (const auto candidate : headerExtensions) {
        if (equalsNoCase(ext, candidate)) {
            return true;
        }
    }
    return false;
}

struct LogicalLine {
    std::string text;
    int line;
};

// The C integer expression evaluator; see evaluate() in the header.
class Evaluator {
public:
    Evaluator(std::span<const Token> tokens, std::size_t& pos, const IdentifierValue& identifier)
        : tokens_(tokens)
        , pos_(pos)
        , identifier_(identifier)
    {
    }

    std::int64_t expression(bool stopAtOr) { return binary(stopAtOr ? xorLevel : 0); }

private:
    static constexpr int xorLevel = 3;
    static constexpr int unaryLevel = 10;

    const Token& peek() const
    {
        static const Token end;
        return pos_ < tokens_.size() ? tokens_[pos_] : end;
    }

    [[noreturn]] void fail(std::string message) const { throw ExpressionError {pos_, std::move(message)}; }

    // Binary operators by level, lowest first; -1 when the token is none of that level.
    static int levelOf(const Token& token) noexcept
    {
        if (token.kind != TokenKind::Punctuator) {
            return -1;
        }
        const std::string& t = token.text;
        if (t == "||") {
            return 0;
        }
        if (t == "&&") {
            return 1;
        }
        if (t == "|") {
            return 2;
        }
        if (t == "^") {
            return 3;
        }
        if (t == "&") {
            return 4;
        }
        if (t == "==" || t == "!=") {
            return 5;
        }
        if (t == "<" || t == ">" || t == "<=" || t == ">=") {
            return 6;
        }
        if (t == "<<" || t == ">>") {
            return 7;
        }
        if (t == "+" || t == "-") {
            return 8;
        }
        if (t == "*" || t == "/" || t == "%") {
            return 9;
        }
        return -1;
    }

    std::int64_t binary(int level)
    {
        if (level == unaryLevel) {
            return unary();
        }
        std::int64_t left = binary(level + 1);
        while (levelOf(peek()) == level) {
            const std::string op = peek().text;
            const std::size_t opPos = pos_;
            ++pos_;
            const std::int64_t right = binary(level + 1);
            left = apply(op, left, right, opPos);
        }
        return left;
    }

    std::int64_t apply(const std::string& op, std::int64_t a, std::int64_t b, std::size_t opPos) const
    {
        // Unsigned arithmetic wraps instead of overflowing, as 32-bit style masks expect.
        const auto ua = static_cast<std::uint64_t>(a);
        const auto ub = static_cast<std::uint64_t>(b);
        if (op == "||") {
            return (a != 0 || b != 0) ? 1 : 0;
        }
        if (op == "&&") {
            return (a != 0 && b != 0) ? 1 : 0;
        }
        if (op == "|") {
            return static_cast<std::int64_t>(ua | ub);
        }
        if (op == "^") {
            return static_cast<std::int64_t>(ua ^ ub);
        }
        if (op == "&") {
            return static_cast<std::int64_t>(ua & ub);
        }
        if (op == "==") {
            return a == b ? 1 : 0;
        }
        if (op == "!=") {
            return a != b ? 1 : 0;
        }
        if (op == "<") {
            return a < b ? 1 : 0;
        }
        if (op == ">") {
            return a > b ? 1 : 0;
        }
        if (op == "<=") {
            return a <= b ? 1 : 0;
        }
        if (op == ">=") {
            return a >= b ? 1 : 0;
        }
        if (op == "<<") {
            return (b < 0 || b > 63) ? 0 : static_cast<std::int64_t>(ua << b);
        }
        if (op == ">>") {
            return (b < 0 || b > 63) ? 0 : (a >> b);
        }
        if (op == "+") {
            return static_cast<std::int64_t>(ua + ub);
        }
        if (op == "-") {
            return static_cast<std::int64_t>(ua - ub);
        }
        if (op == "*") {
            return static_cast<std::int64_t>(ua * ub);
        }
        if (b == 0) {
            throw ExpressionError {opPos, "division by zero"};
        }
        if (a == std::numeric_limits<std::int64_t>::min() && b == -1) {
            return op == "/" ? a : 0;
        }
        return op == "/" ? a / b : a % b;
    }

    std::int64_t unary()
    {
        const Token& token = peek();
        if (token.isPunct("-")) {
            ++pos_;
            return static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(unary()));
        }
        if (token.isPunct("+")) {
            ++pos_;
            return unary();
        }
        if (token.isPunct("~")) {
            ++pos_;
            return static_cast<std::int64_t>(~static_cast<std::uint64_t>(unary()));
        }
        if (token.isPunct("!")) {
            ++pos_;
            return unary() == 0 ? 1 : 0;
        }
        if (token.isPunct("(")) {
            ++pos_;
            const std::int64_t value = binary(0);
            if (!peek().isPunct(")")) {
                fail("expected ')', found " + describe(peek()));
            }
            ++pos_;
            return value;
        }
        if (token.kind == TokenKind::Number) {
            if (!token.validNumber) {
                fail("invalid number '" + token.text + "'");
            }
            ++pos_;
            return token.number;
        }
        if (token.kind == TokenKind::Identifier) {
            const std::int64_t value = identifier_(token, pos_);
            ++pos_;
            return value;
        }
        fail("expected a number, found " + describe(token));
    }

    std::span<const Token> tokens_;
    std::size_t& pos_;
    const IdentifierValue& identifier_;
};

struct Macro {
    std::vector<Token> body;
    bool functionLike = false;
};

struct Conditional {
    bool parentActive; // the enclosing region is read
    bool taken; // some branch of this #if chain was (or could no longer be) chosen
    bool active; // the current branch is read
    bool sawElse;
    int file;
    int line;
};

class Preprocessor {
public:
    explicit Preprocessor(const IncludeResolver& resolver)
        : resolver_(resolver)
    {
        // The resource compiler defines these itself.
        define("RC_INVOKED", "1");
        define("_WIN32", "1");
    }

    Preprocessed run(std::string_view text, std::string_view fileName)
    {
        const int lastLine = processFile(text, std::string(fileName), false, 0);
        Token end;
        end.kind = TokenKind::End;
        end.file = 0;
        end.line = lastLine;
        out_.tokens.push_back(std::move(end));
        for (const auto& [name, macro] : macros_) {
            const MacroMeaning meaning = meaningOf(name, 0);
            if (meaning.kind == MacroMeaning::Kind::Number) {
                out_.numericMacros.emplace(name, meaning.value);
            }
        }
        return std::move(out_);
    }

private:
    [[noreturn]] void fail(int file, int line, const std::string& message) const
    {
        throw ResourceScriptError(out_.files[static_cast<std::size_t>(file)], line, message);
    }

    void define(const std::string& name, std::string_view body)
    {
        macros_[name] = Macro {tokenize(body, 0, 0), false};
    }

    bool active() const noexcept { return conditionals_.empty() || conditionals_.back().active; }

    // Processes one file and returns its number of lines.
    int processFile(std::string_view text, std::string name, bool headerOnly, int depth)
    {
        const int file = static_cast<int>(out_.files.size());
        out_.files.push_back(std::move(name));
        if (text.starts_with("\xEF\xBB\xBF")) {
            text.remove_prefix(3);
        }
        const std::size_t outerConditionals = conditionals_.size();
        int lastLine = 1;
        for (const LogicalLine& logical : logicalLines(stripComments(text, file), lastLine)) {
            std::string_view line = logical.text;
            while (!line.empty() && isSpace(line.front())) {
                line.remove_prefix(1);
            }
            if (line.starts_with('#')) {
                directive(line.substr(1), file, logical.line, depth, outerConditionals);
            } else if (active() && !headerOnly) {
                for (Token& token : tokenize(line, file, logical.line)) {
                    if (token.kind == TokenKind::Identifier) {
                        token.macro = meaningOf(token.text, 0);
                    }
                    out_.tokens.push_back(std::move(token));
                }
            }
        }
        if (conditionals_.size() > outerConditionals) {
            const Conditional& open = conditionals_.back();
            fail(open.file, open.line, "#if without #endif");
        }
        return lastLine;
    }

    // Replaces comments by spaces, keeping their newlines so that line numbers stay right. Comment
    // markers inside string literals are text.
    std::string stripComments(std::string_view text, int file) const
    {
        std::string out;
        out.reserve(text.size());
        int line = 1;
        bool inString = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\n') {
                inString = false;
                ++line;
                out += c;
            } else if (inString) {
                out += c;
                if (c == '\\' && i + 1 < text.size() && text[i + 1] != '\n') {
                    out += text[++i];
                } else if (c == '"') {
                    inString = false;
                }
            } else if (c == '"') {
                inString = true;
                out += c;
            } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '/') {
                while (i + 1 < text.size() && text[i + 1] != '\n') {
                    ++i;
                }
                out += ' ';
            } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
                const int startLine = line;
                const auto close = text.find("*/", i + 2);
                if (close == std::string_view::npos) {
                    fail(file, startLine, "unterminated comment");
                }
                out += ' ';
                for (std::size_t k = i + 2; k < close; ++k) {
                    if (text[k] == '\n') {
                        out += '\n';
                        ++line;
                    }
                }
                i = close + 1;
            } else {
                out += c;
            }
        }
        return out;
    }

    // Splits into lines, joining those continued with a trailing backslash; lastLine receives the
    // number of physical lines.
    static std::vector<LogicalLine> logicalLines(const std::string& text, int& lastLine)
    {
        std::vector<LogicalLine> lines;
        int lineNo = 0;
        std::size_t start = 0;
        std::string pending;
        int pendingLine = 0;
        while (start <= text.size()) {
            auto end = text.find('\n', start);
            if (end == std::string::npos) {
                end = text.size();
            }
            std::string_view physical(text.data() + start, end - start);
            ++lineNo;
            if (!physical.empty() && physical.back() == '\r') {
                physical.remove_suffix(1);
            }
            if (pending.empty()) {
                pendingLine = lineNo;
            }
            if (!physical.empty() && physical.back() == '\\' && end < text.size()) {
                pending.append(physical.substr(0, physical.size() - 1));
                pending += ' ';
            } else {
                pending.append(physical);
                lines.push_back({std::move(pending), pendingLine});
                pending.clear();
            }
            start = end + 1;
        }
        lastLine = lineNo;
        return lines;
    }

    std::vector<Token> tokenize(std::string_view line, int file, int lineNo) const
    {
        std::vector<Token> tokens;
        std::size_t i = 0;
        const std::size_t n = line.size();
        while (i < n) {
            const char c = line[i];
            if (isSpace(c)) {
                ++i;
                continue;
            }
            Token token;
            token.file = file;
            token.line = lineNo;
            if (c == '"' || (c == 'L' && i + 1 < n && line[i + 1] == '"')) {
                token.kind = TokenKind::String;
                token.wide = c == 'L';
                const std::size_t start = i + (token.wide ? 2 : 1);
                std::size_t j = start;
                for (;;) {
                    if (j >= n) {
                        fail(file, lineNo, "unterminated string literal");
                    }
                    if (line[j] == '\\') {
                        j += 2;
                    } else if (line[j] == '"') {
                        if (j + 1 < n && line[j + 1] == '"') {
                            j += 2;
                        } else {
                            break;
                        }
                    } else {
                        ++j;
                    }
                }
                token.text = std::string(line.substr(start, j - start));
                i = j + 1;
            } else if (isIdentStart(c)) {
                std::size_t j = i + 1;
                while (j < n && isIdentChar(line[j])) {
                    ++j;
                }
                token.kind = TokenKind::Identifier;
                token.text = std::string(line.substr(i, j - i));
                i = j;
            } else if (isDigit(c)) {
                std::size_t j = i + 1;
                while (j < n && (isIdentChar(line[j]) || line[j] == '.')) {
                    ++j;
                }
                token.kind = TokenKind::Number;
                token.text = std::string(line.substr(i, j - i));
                const auto value = parseNumber(token.text);
                token.validNumber = value.has_value();
                token.number = value.value_or(0);
                i = j;
            } else {
                static constexpr std::array twoCharOps {std::string_view("||"), std::string_view("&&"),
                    std::string_view("=="), std::string_view("!="), std::string_view("<="),
                    std::string_view(">="), std::string_view("<<"), std::string_view(">>")};
                token.kind = TokenKind::Punctuator;
                std::size_t length = 1;
                for (const auto op : twoCharOps) {
                    if (line.substr(i).starts_with(op)) {
                        length = 2;
                    }
                }
                // A character outside ASCII stays whole, so that the message can show it.
                if (static_cast<unsigned char>(c) >= 0x80) {
                    while (i + length < n && (static_cast<unsigned char>(line[i + length]) & 0xC0) == 0x80) {
                        ++length;
                    }
                }
                token.text = std::string(line.substr(i, length));
                i += length;
            }
            tokens.push_back(std::move(token));
        }
        return tokens;
    }

    static std::string_view readIdentifier(std::string_view& rest)
    {
        while (!rest.empty() && isSpace(rest.front())) {
            rest.remove_prefix(1);
        }
        std::size_t length = 0;
        if (!rest.empty() && isIdentStart(rest.front())) {
            while (length < rest.size() && isIdentChar(rest[length])) {
                ++length;
            }
        }
        const auto name = rest.substr(0, length);
        rest.remove_prefix(length);
        return name;
    }

    void directive(std::string_view rest, int file, int line, int depth, std::size_t outer)
    {
        const std::string name(readIdentifier(rest));
        if (name.empty()) {
            return; // the null directive
        }
        if (name == "if" || name == "ifdef" || name == "ifndef") {
            if (!active()) {
                conditionals_.push_back({false, true, false, false, file, line});
                return;
            }
            bool condition = false;
            if (name == "if") {
                condition = evaluateCondition(rest, file, line);
            } else {
                const std::string macro(readIdentifier(rest));
                if (macro.empty()) {
                    fail(file, line, "expected a macro name after #" + name);
                }
                condition = macros_.contains(macro) == (name == "ifdef");
            }
            conditionals_.push_back({true, condition, condition, false, file, line});
            return;
        }
        if (name == "elif" || name == "else" || name == "endif") {
            if (conditionals_.size() <= outer) {
                fail(file, line, "#" + name + " without #if");
            }
            Conditional& top = conditionals_.back();
            if (name == "endif") {
                conditionals_.pop_back();
                return;
            }
            if (top.sawElse) {
                fail(file, line, "#" + name + " after #else");
            }
            if (name == "else") {
                top.sawElse = true;
                top.active = top.parentActive && !top.taken;
                top.taken = true;
            } else if (!top.parentActive || top.taken) {
                top.active = false;
            } else {
                top.active = evaluateCondition(rest, file, line);
                top.taken = top.active;
            }
            return;
        }
        if (!active()) {
            return;
        }
        if (name == "define") {
            const std::string macro(readIdentifier(rest));
            if (macro.empty()) {
                fail(file, line, "expected a macro name after #define");
            }
            const bool functionLike = rest.starts_with('(');
            macros_[macro] = Macro {tokenize(rest, file, line), functionLike};
        } else if (name == "undef") {
            const std::string macro(readIdentifier(rest));
            if (macro.empty()) {
                fail(file, line, "expected a macro name after #undef");
            }
            macros_.erase(macro);
        } else if (name == "include") {
            include(rest, file, line, depth);
        } else if (name == "error") {
            while (!rest.empty() && isSpace(rest.front())) {
                rest.remove_prefix(1);
            }
            fail(file, line, "#error " + std::string(rest));
        } else if (name == "pragma" || name == "line" || name == "warning" || name == "ident") {
            // #pragma code_page names the encoding of the text, which is always UTF-8 here.
        } else {
            fail(file, line, "unknown preprocessor directive '#" + name + "'");
        }
    }

    void include(std::string_view rest, int file, int line, int depth)
    {
        while (!rest.empty() && isSpace(rest.front())) {
            rest.remove_prefix(1);
        }
        const bool angled = rest.starts_with('<');
        if (rest.empty() || (!angled && rest.front() != '"')) {
            fail(file, line, "expected \"file\" or <file> after #include");
        }
        const auto close = rest.find(angled ? '>' : '"', 1);
        if (close == std::string_view::npos) {
            fail(file, line, "expected \"file\" or <file> after #include");
        }
        const std::string name(rest.substr(1, close - 1));
        if (depth + 1 > maxIncludeDepth) {
            fail(file, line, "#include nested too deeply");
        }
        std::optional<std::string> text;
        if (resolver_) {
            text = resolver_(name);
        }
        if (text) {
            processFile(*text, name, isHeaderName(name), depth + 1);
        } else if (isSystemScript(name)) {
            // MFC's own resources (afxres.rc and the like) are not needed by the host.
        } else if (isSystemHeader(name, angled)) {
            if (!systemDefinitionsLoaded_) {
                systemDefinitionsLoaded_ = true;
                processFile(systemDefinitions(), name, true, depth + 1);
            }
        } else {
            fail(file, line, "cannot open include file '" + name + "'");
        }
    }

    bool evaluateCondition(std::string_view rest, int file, int line)
    {
        const std::vector<Token> raw = tokenize(rest, file, line);
        std::vector<Token> expr;
        for (std::size_t i = 0; i < raw.size(); ++i) {
            if (raw[i].kind != TokenKind::Identifier || raw[i].text != "defined") {
                expr.push_back(raw[i]);
                continue;
            }
            const bool parenthesised = i + 1 < raw.size() && raw[i + 1].isPunct("(");
            const std::size_t nameAt = i + (parenthesised ? 2 : 1);
            if (nameAt >= raw.size() || raw[nameAt].kind != TokenKind::Identifier
                || (parenthesised && (nameAt + 1 >= raw.size() || !raw[nameAt + 1].isPunct(")")))) {
                fail(file, line, "expected a macro name after 'defined'");
            }
            Token value = raw[i];
            value.kind = TokenKind::Number;
            value.number = macros_.contains(raw[nameAt].text) ? 1 : 0;
            expr.push_back(std::move(value));
            i = nameAt + (parenthesised ? 1 : 0);
        }
        if (expr.empty()) {
            fail(file, line, "#if with no expression");
        }
        std::size_t pos = 0;
        try {
            const IdentifierValue identifier
                = [this](const Token& token, std::size_t) { return conditionValue(token.text, 0); };
            const std::int64_t value = evaluate(expr, pos, identifier);
            if (pos != expr.size()) {
                fail(file, line, "unexpected " + describe(expr[pos]) + " in #if");
            }
            return value != 0;
        } catch (const ExpressionError& error) {
            fail(file, line, error.message + " in #if");
        }
    }

    // The value of a name in #if: undefined names, function-like macros and empty macros are 0.
    std::int64_t conditionValue(const std::string& name, int depth) const
    {
        const auto found = macros_.find(name);
        if (found == macros_.end() || found->second.functionLike || found->second.body.empty()
            || depth > maxMacroDepth) {
            return 0;
        }
        const auto& body = found->second.body;
        std::size_t pos = 0;
        const IdentifierValue identifier = [this, depth](const Token& token, std::size_t) {
            return conditionValue(token.text, depth + 1);
        };
        const std::int64_t value = evaluate(body, pos, identifier);
        if (pos != body.size()) {
            throw ExpressionError {0, "macro '" + name + "' is not a number"};
        }
        return value;
    }

    // What a name stands for in the script at this point.
    MacroMeaning meaningOf(const std::string& name, int depth) const
    {
        MacroMeaning meaning;
        const auto found = macros_.find(name);
        if (found == macros_.end()) {
            return meaning;
        }
        const Macro& macro = found->second;
        meaning.kind = MacroMeaning::Kind::Unusable;
        if (macro.functionLike) {
            meaning.text = "function-like macro '" + name + "' cannot be used here";
            return meaning;
        }
        if (macro.body.empty()) {
            meaning.text = "macro '" + name + "' has no value";
            return meaning;
        }
        if (depth > maxMacroDepth) {
            meaning.text = "macro '" + name + "' refers to itself";
            return meaning;
        }
        if (macro.body.size() == 1 && macro.body.front().kind == TokenKind::String) {
            meaning.kind = MacroMeaning::Kind::String;
            meaning.text = macro.body.front().text;
            meaning.wide = macro.body.front().wide;
            return meaning;
        }
        try {
            const IdentifierValue identifier = [&](const Token& token, std::size_t index) -> std::int64_t {
                const MacroMeaning inner = meaningOf(token.text, depth + 1);
                switch (inner.kind) {
                case MacroMeaning::Kind::Number:
                    return inner.value;
                case MacroMeaning::Kind::NotAMacro:
                    throw ExpressionError {index,
                        "unknown identifier '" + token.text + "' in the value of macro '" + name + "'"};
                case MacroMeaning::Kind::String:
                    throw ExpressionError {index, "macro '" + token.text + "' is a string, not a number"};
                case MacroMeaning::Kind::Unusable:
                    break;
                }
                throw ExpressionError {index, inner.text};
            };
            std::size_t pos = 0;
            const std::int64_t value = evaluate(macro.body, pos, identifier);
            if (pos != macro.body.size()) {
                meaning.text = "macro '" + name + "' is not a number";
                return meaning;
            }
            meaning.kind = MacroMeaning::Kind::Number;
            meaning.value = value;
        } catch (const ExpressionError& error) {
            meaning.text = error.message;
        }
        return meaning;
    }

    const IncludeResolver& resolver_;
    Preprocessed out_;
    std::map<std::string, Macro, std::less<>> macros_;
    std::vector<Conditional> conditionals_;
    bool systemDefinitionsLoaded_ = false;
};

} // namespace

std::int64_t evaluate(
    std::span<const Token> tokens, std::size_t& pos, const IdentifierValue& identifier, bool stopAtOr)
{
    Evaluator evaluator(tokens, pos, identifier);
    return evaluator.expression(stopAtOr);
}

Preprocessed preprocess(std::string_view text, std::string_view fileName, const IncludeResolver& resolver)
{
    Preprocessor preprocessor(resolver);
    return preprocessor.run(text, fileName);
}

} // namespace arxhost::rc
