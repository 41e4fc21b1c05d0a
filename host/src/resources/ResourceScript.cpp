// Reader of the module's Windows resource script (.rc plus its headers): dialogs, strings, bitmaps, icons.
#include "resources/ResourceScript.h"

#include <algorithm>
#include <array>
#include <utility>

#include "resources/RcPreprocessor.h"
#include "resources/RcText.h"

namespace arxhost {

ResourceScriptError::ResourceScriptError(std::string file, int line, const std::string& message)
    : std::runtime_error(file + ":" + std::to_string(line) + ": " + message)
    , file_(std::move(file))
    , line_(line)
    , message_(message)
{
}

namespace {

using rc::Token;
using rc::TokenKind;

// Styles the reader applies itself; the script sees the same values through the system headers.
constexpr std::uint32_t wsPopup = 0x80000000u;
constexpr std::uint32_t wsChild = 0x40000000u;
constexpr std::uint32_t wsVisible = 0x10000000u;
constexpr std::uint32_t wsCaption = 0x00C00000u;
constexpr std::uint32_t wsBorder = 0x00800000u;
constexpr std::uint32_t wsSysMenu = 0x00080000u;
constexpr std::uint32_t wsGroup = 0x00020000u;
constexpr std::uint32_t wsTabStop = 0x00010000u;
constexpr std::uint32_t dsSetFont = 0x40u;
constexpr std::uint32_t ssLeft = 0x0u;
constexpr std::uint32_t ssCenter = 0x1u;
constexpr std::uint32_t ssRight = 0x2u;
constexpr std::uint32_t ssIcon = 0x3u;
constexpr std::uint32_t ssBitmap = 0xEu;
constexpr std::uint32_t ssTypeMask = 0x1Fu;
constexpr std::uint32_t esLeft = 0x0u;
constexpr std::uint32_t bsPushButton = 0x0u;
constexpr std::uint32_t bsDefPushButton = 0x1u;
constexpr std::uint32_t bsCheckBox = 0x2u;
constexpr std::uint32_t bsAutoCheckBox = 0x3u;
constexpr std::uint32_t bsRadioButton = 0x4u;
constexpr std::uint32_t bs3State = 0x5u;
constexpr std::uint32_t bsAuto3State = 0x6u;
constexpr std::uint32_t bsGroupBox = 0x7u;
constexpr std::uint32_t bsAutoRadioButton = 0x9u;
constexpr std::uint32_t bsPushBox = 0xAu;
constexpr std::uint32_t bsTypeMask = 0xFu;
constexpr std::uint32_t cbsSimple = 0x1u;
constexpr std::uint32_t lbsNotify = 0x1u;
constexpr std::uint32_t sbsHorz = 0x0u;

enum class ControlForm {
    Text, // KEYWORD text, id, x, y, cx, cy [, style [, exstyle [, helpid]]]
    NoText, // KEYWORD id, x, y, cx, cy [, style [, exstyle [, helpid]]]
    Icon, // ICON text, id, x, y [, cx, cy [, style [, exstyle [, helpid]]]]
};

struct ControlStatement {
    std::string_view keyword;
    ControlForm form;
    std::wstring_view className;
    std::uint32_t defaultStyle; // besides WS_CHILD | WS_VISIBLE, which every control gets
};

// The statements and the default styles the resource compiler gives them.
constexpr std::array controlStatements {
    ControlStatement {"LTEXT", ControlForm::Text, L"Static", ssLeft | wsGroup},
    ControlStatement {"RTEXT", ControlForm::Text, L"Static", ssRight | wsGroup},
    ControlStatement {"CTEXT", ControlForm::Text, L"Static", ssCenter | wsGroup},
    ControlStatement {"EDITTEXT", ControlForm::NoText, L"Edit", esLeft | wsBorder | wsTabStop},
    ControlStatement {"COMBOBOX", ControlForm::NoText, L"ComboBox", cbsSimple | wsTabStop},
    ControlStatement {"LISTBOX", ControlForm::NoText, L"ListBox", lbsNotify | wsBorder},
    ControlStatement {"SCROLLBAR", ControlForm::NoText, L"ScrollBar", sbsHorz},
    ControlStatement {"PUSHBUTTON", ControlForm::Text, L"Button", bsPushButton | wsTabStop},
    ControlStatement {"DEFPUSHBUTTON", ControlForm::Text, L"Button", bsDefPushButton | wsTabStop},
    ControlStatement {"PUSHBOX", ControlForm::Text, L"Button", bsPushBox | wsTabStop},
    ControlStatement {"GROUPBOX", ControlForm::Text, L"Button", bsGroupBox},
    ControlStatement {"CHECKBOX", ControlForm::Text, L"Button", bsCheckBox | wsTabStop},
    ControlStatement {"AUTOCHECKBOX", ControlForm::Text, L"Button", bsAutoCheckBox | wsTabStop},
    ControlStatement {"STATE3", ControlForm::Text, L"Button", bs3State | wsTabStop},
    ControlStatement {"AUTO3STATE", ControlForm::Text, L"Button", bsAuto3State | wsTabStop},
    ControlStatement {"RADIOBUTTON", ControlForm::Text, L"Button", bsRadioButton | wsTabStop},
    ControlStatement {"AUTORADIOBUTTON", ControlForm::Text, L"Button", bsAutoRadioButton | wsTabStop},
    ControlStatement {"ICON", ControlForm::Icon, L"Static", ssIcon},
};

// The class keywords of the CONTROL statement and the class names they stand for.
constexpr std::array<std::pair<std::string_view, std::wstring_view>, 6> classKeywords {{
    {"BUTTON", L"Button"},
    {"EDIT", L"Edit"},
    {"STATIC", L"Static"},
    {"LISTBOX", L"ListBox"},
    {"SCROLLBAR", L"ScrollBar"},
    {"COMBOBOX", L"ComboBox"},
}};

constexpr std::array memoryOptions {std::string_view("PRELOAD"), std::string_view("LOADONCALL"),
    std::string_view("FIXED"), std::string_view("MOVEABLE"), std::string_view("DISCARDABLE"),
    std::string_view("PURE"), std::string_view("IMPURE"), std::string_view("SHARED"),
    std::string_view("NONSHARED")};

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

bool isBlockOpen(const Token& token) noexcept
{
    return token.isKeyword("BEGIN") || token.isPunct("{");
}
bool isBlockClose(const Token& token) noexcept
{
    return token.isKeyword("END") || token.isPunct("}");
}

bool isBinaryOperator(const Token& token) noexcept
{
    static constexpr std::array operators {std::string_view("|"), std::string_view("&"),
        std::string_view("^"), std::string_view("+"), std::string_view("-"), std::string_view("*"),
        std::string_view("/"), std::string_view("%"), std::string_view("<<"), std::string_view(">>"),
        std::string_view("||"), std::string_view("&&")};
    return token.kind == TokenKind::Punctuator
        && std::find(operators.begin(), operators.end(), token.text) != operators.end();
}

bool startsWithNoCase(std::wstring_view text, std::wstring_view prefix) noexcept
{
    return text.size() >= prefix.size() && rc::equalsNoCase(text.substr(0, prefix.size()), prefix);
}

class ScriptParser {
public:
    explicit ScriptParser(rc::Preprocessed preprocessed)
        : pre_(std::move(preprocessed))
        , tokens_(pre_.tokens)
    {
    }

    ResourceScript run()
    {
        while (peek().kind != TokenKind::End) {
            statement();
        }
        script_.defines = std::move(pre_.numericMacros);
        return std::move(script_);
    }

private:
    const Token& peek() const noexcept { return tokens_[pos_]; }

    const Token& next() noexcept
    {
        const Token& token = tokens_[pos_];
        if (token.kind != TokenKind::End) {
            ++pos_;
        }
        return token;
    }

    [[noreturn]] void fail(const Token& token, const std::string& message) const
    {
        throw ResourceScriptError(pre_.files[static_cast<std::size_t>(token.file)], token.line, message);
    }

    bool acceptComma() noexcept
    {
        if (peek().isPunct(",")) {
            ++pos_;
            return true;
        }
        return false;
    }

    void expectComma(std::string_view after)
    {
        if (!acceptComma()) {
            fail(peek(), "expected ',' after " + std::string(after));
        }
    }

    bool acceptMemoryOption() noexcept
    {
        for (const auto option : memoryOptions) {
            if (peek().isKeyword(option)) {
                ++pos_;
                return true;
            }
        }
        return false;
    }

    std::int64_t expression(bool stopAtOr = false)
    {
        const rc::IdentifierValue identifier = [](const Token& token, std::size_t index) -> std::int64_t {
            switch (token.macro.kind) {
            case rc::MacroMeaning::Kind::Number:
                return token.macro.value;
            case rc::MacroMeaning::Kind::NotAMacro:
                throw rc::ExpressionError {index, "unknown identifier '" + token.text + "'"};
            case rc::MacroMeaning::Kind::String:
                throw rc::ExpressionError {index, "macro '" + token.text + "' is a string, not a number"};
            case rc::MacroMeaning::Kind::Unusable:
                break;
            }
            throw rc::ExpressionError {index, token.macro.text};
        };
        try {
            return rc::evaluate(tokens_, pos_, identifier, stopAtOr);
        } catch (const rc::ExpressionError& error) {
            fail(tokens_[std::min(error.index, tokens_.size() - 1)], error.message);
        }
    }

    int integer() { return static_cast<int>(expression()); }

    // An id: its value, and the identifier it was written as when it was a single one.
    std::pair<int, std::wstring> controlId()
    {
        const std::size_t start = pos_;
        const int value = integer();
        std::wstring name;
        if (pos_ == start + 1 && tokens_[start].kind == TokenKind::Identifier) {
            name = rc::widenAscii(tokens_[start].text);
        }
        return {value, std::move(name)};
    }

    // A style: `value | value | NOT value ...` applied in order to initial.
    std::uint32_t styleList(std::uint32_t initial)
    {
        std::uint32_t style = initial;
        for (;;) {
            if (peek().isKeyword("NOT")) {
                ++pos_;
                style &= ~static_cast<std::uint32_t>(expression(true));
            } else {
                style |= static_cast<std::uint32_t>(expression(true));
            }
            if (!peek().isPunct("|")) {
                return style;
            }
            ++pos_;
        }
    }

    bool atString() const noexcept
    {
        const Token& token = peek();
        return token.kind == TokenKind::String
            || (token.kind == TokenKind::Identifier && token.macro.kind == rc::MacroMeaning::Kind::String);
    }

    // A string literal, or a macro standing for one.
    std::wstring quoted(std::string_view expected)
    {
        if (!atString()) {
            fail(peek(), "expected " + std::string(expected) + ", found " + describe(peek()));
        }
        const Token& token = next();
        try {
            return token.kind == TokenKind::String
                ? rc::decodeStringLiteral(token.text, token.wide)
                : rc::decodeStringLiteral(token.macro.text, token.macro.wide);
        } catch (const std::invalid_argument& error) {
            fail(token, error.what());
        }
    }

    // Skips a value the reader has no use for (LANGUAGE arguments, VERSION, ...) without evaluating
    // it, since its names need not be defined.
    void skipValue()
    {
        while (peek().isPunct("-") || peek().isPunct("+") || peek().isPunct("~") || peek().isPunct("!")) {
            ++pos_;
        }
        const Token& token = peek();
        if (token.isPunct("(")) {
            int depth = 0;
            do {
                if (peek().kind == TokenKind::End) {
                    fail(token, "expected ')'");
                }
                depth += peek().isPunct("(") ? 1 : (peek().isPunct(")") ? -1 : 0);
                ++pos_;
            } while (depth > 0);
        } else if (token.kind == TokenKind::Identifier || token.kind == TokenKind::Number) {
            ++pos_;
        } else {
            fail(token, "expected a value, found " + describe(token));
        }
        if (isBinaryOperator(peek())) {
            ++pos_;
            skipValue();
        }
    }

    // LANGUAGE, VERSION and CHARACTERISTICS, wherever they appear; true when one was skipped.
    bool skipCommonStatement()
    {
        if (peek().isKeyword("LANGUAGE")) {
            ++pos_;
            skipValue();
            expectComma("the language");
            skipValue();
            return true;
        }
        if (peek().isKeyword("VERSION") || peek().isKeyword("CHARACTERISTICS")) {
            ++pos_;
            skipValue();
            return true;
        }
        return false;
    }

    void skipBlock()
    {
        const Token& open = next();
        int depth = 1;
        while (depth > 0) {
            const Token& token = next();
            if (token.kind == TokenKind::End) {
                fail(open, "block opened here has no END");
            }
            if (isBlockOpen(token)) {
                ++depth;
            } else if (isBlockClose(token)) {
                --depth;
            }
        }
    }

    // The numeric id of a resource named by the token at index.
    std::pair<int, std::wstring> resourceId(std::size_t index, std::string_view what) const
    {
        const Token& token = tokens_[index];
        switch (token.kind) {
        case TokenKind::Number:
            if (!token.validNumber) {
                fail(token, "invalid number '" + token.text + "'");
            }
            return {static_cast<int>(token.number), std::wstring()};
        case TokenKind::Identifier:
            switch (token.macro.kind) {
            case rc::MacroMeaning::Kind::Number:
                return {static_cast<int>(token.macro.value), rc::widenAscii(token.text)};
            case rc::MacroMeaning::Kind::NotAMacro:
                fail(token, "unknown identifier '" + token.text + "'");
            case rc::MacroMeaning::Kind::String:
                fail(token, "macro '" + token.text + "' is a string, not a number");
            case rc::MacroMeaning::Kind::Unusable:
                fail(token, token.macro.text);
            }
            break;
        default:
            break;
        }
        fail(token, "a " + std::string(what) + " needs a numeric id, found " + describe(token));
    }

    void statement()
    {
        const Token& first = peek();
        if (skipCommonStatement()) {
            return;
        }
        if (first.isKeyword("STRINGTABLE")) {
            ++pos_;
            stringTable(first);
            return;
        }
        if (isBlockOpen(first) || isBlockClose(first)
            || (first.kind != TokenKind::Identifier && first.kind != TokenKind::Number
                && first.kind != TokenKind::String)) {
            fail(first, "expected a resource statement, found " + describe(first));
        }
        const std::size_t nameAt = pos_++;
        const Token& type = peek();
        if (type.kind != TokenKind::Identifier && type.kind != TokenKind::Number
            && type.kind != TokenKind::String) {
            fail(type, "expected a resource type after " + describe(first) + ", found " + describe(type));
        }
        ++pos_;
        if (type.isKeyword("DIALOG") || type.isKeyword("DIALOGEX")) {
            dialog(nameAt, type.isKeyword("DIALOGEX"));
        } else if (type.isKeyword("DLGINIT")) {
            dialogInit(nameAt);
        } else if (type.isKeyword("BITMAP")) {
            fileResource(nameAt, script_.bitmaps, "bitmap");
        } else if (type.isKeyword("ICON")) {
            fileResource(nameAt, script_.icons, "icon");
        } else {
            skipResource(nameAt, type);
        }
    }

    // Any resource the host does not read: up to its file name or past its block. Only VERSIONINFO and
    // TOOLBAR have statements of their own before the block; anything else must come straight to
    // the point, which catches misspelt keywords such as DIALOGX.
    void skipResource(std::size_t nameAt, const Token& type)
    {
        const bool freeHeader = type.isKeyword("VERSIONINFO") || type.isKeyword("TOOLBAR");
        for (;;) {
            if (acceptMemoryOption() || skipCommonStatement()) {
                continue;
            }
            const Token& token = peek();
            if (isBlockOpen(token)) {
                skipBlock();
                return;
            }
            if (token.kind == TokenKind::String) {
                ++pos_;
                return;
            }
            if (token.kind == TokenKind::End || !freeHeader) {
                fail(token,
                    "expected a file name or BEGIN after " + describe(tokens_[nameAt]) + " " + type.text
                        + ", found " + describe(token));
            }
            ++pos_;
        }
    }

    // A DLGINIT block: entries "control, message, length, 0," followed by the item's bytes (words
    // written as numbers, low byte first, and string literals), and a lone 0 at the end.
    void dialogInit(std::size_t nameAt)
    {
        const auto [dialogId, name] = resourceId(nameAt, "DLGINIT block");
        while (acceptMemoryOption() || skipCommonStatement()) { }
        if (!isBlockOpen(peek())) {
            fail(peek(), "expected BEGIN after DLGINIT, found " + describe(peek()));
        }
        const Token& open = next();
        std::vector<DialogInitItem>& items = script_.dialogInit[dialogId];
        for (;;) {
            if (isBlockClose(peek())) {
                ++pos_;
                return;
            }
            if (peek().kind == TokenKind::End) {
                fail(open, "DLGINIT has no END");
            }
            const Token& entry = peek();
            DialogInitItem item;
            item.controlId = integer();
            acceptComma();
            if (item.controlId == 0) {
                continue; // the terminating 0
            }
            item.message = integer();
            expectComma("the message of a DLGINIT entry");
            const int length = integer();
            expectComma("the length of a DLGINIT entry");
            integer(); // the high word of the length
            acceptComma();
            if (length < 0) {
                fail(entry, "negative length in DLGINIT");
            }
            std::string bytes;
            while (static_cast<int>(bytes.size()) < length) {
                if (atString()) {
                    bytes += rc::toUtf8(quoted("item text"));
                } else if (peek().kind == TokenKind::Number) {
                    const auto word = static_cast<std::uint32_t>(integer());
                    bytes += static_cast<char>(word & 0xFF);
                    bytes += static_cast<char>((word >> 8) & 0xFF);
                } else {
                    fail(peek(), "expected the bytes of a DLGINIT entry, found " + describe(peek()));
                }
                acceptComma();
            }
            bytes.resize(static_cast<std::size_t>(length));
            while (!bytes.empty() && bytes.back() == '\0') {
                bytes.pop_back();
            }
            // The bytes are UTF-8 text (the script's code page); decoded as a literal with nothing escaped.
            std::string literal;
            for (const char c : bytes) {
                literal += c;
                if (c == '\\' || c == '"') {
                    literal += c == '"' ? '"' : '\\';
                }
            }
            try {
                item.text = rc::decodeStringLiteral(literal, false);
            } catch (const std::invalid_argument& error) {
                fail(entry, std::string("DLGINIT item: ") + error.what());
            }
            items.push_back(std::move(item));
        }
    }

    void fileResource(std::size_t nameAt, std::map<int, std::string>& files, std::string_view what)
    {
        const auto [resource, name] = resourceId(nameAt, what);
        while (acceptMemoryOption()) { }
        if (isBlockOpen(peek())) {
            skipBlock(); // data written inline; the host only loads resources from files
            return;
        }
        const std::string file = rc::toUtf8(quoted("a file name"));
        if (!files.emplace(resource, file).second) {
            fail(tokens_[nameAt], "duplicate " + std::string(what) + " id " + std::to_string(resource));
        }
    }

    void stringTable(const Token& keyword)
    {
        for (;;) {
            if (isBlockOpen(peek())) {
                break;
            }
            if (!acceptMemoryOption() && !skipCommonStatement()) {
                fail(peek(), "expected BEGIN after STRINGTABLE, found " + describe(peek()));
            }
        }
        ++pos_;
        while (!isBlockClose(peek())) {
            if (peek().kind == TokenKind::End) {
                fail(keyword, "STRINGTABLE has no END");
            }
            const Token& idToken = peek();
            const int stringId = integer();
            acceptComma();
            std::wstring text = quoted("a string after the string id");
            while (atString()) {
                text += quoted("a string");
            }
            if (!script_.strings.emplace(stringId, std::move(text)).second) {
                fail(idToken, "duplicate string id " + std::to_string(stringId));
            }
        }
        ++pos_;
    }

    void dialog(std::size_t nameAt, bool extended)
    {
        DialogTemplate dlg;
        std::tie(dlg.id, dlg.idName) = resourceId(nameAt, "dialog");
        dlg.extended = extended;
        while (acceptMemoryOption()) { }
        dlg.x = integer();
        expectComma("dialog x");
        dlg.y = integer();
        expectComma("dialog y");
        dlg.cx = integer();
        expectComma("dialog width");
        dlg.cy = integer();
        if (extended && acceptComma()) {
            dlg.helpId = integer();
        }

        bool styleGiven = false;
        bool hasCaption = false;
        while (!isBlockOpen(peek())) {
            const Token& option = peek();
            if (skipCommonStatement()) {
                continue;
            }
            ++pos_;
            if (option.isKeyword("STYLE")) {
                dlg.style = styleList(0);
                styleGiven = true;
            } else if (option.isKeyword("EXSTYLE")) {
                dlg.exStyle = styleList(0);
            } else if (option.isKeyword("CAPTION")) {
                dlg.caption = quoted("a string after CAPTION");
                hasCaption = true;
            } else if (option.isKeyword("FONT")) {
                dlg.fontSize = integer();
                expectComma("font size");
                dlg.fontName = quoted("the typeface name");
                if (acceptComma()) {
                    dlg.fontWeight = integer();
                    if (acceptComma()) {
                        dlg.italic = expression() != 0;
                        if (acceptComma()) {
                            dlg.charset = integer();
                        }
                    }
                }
            } else if (option.isKeyword("MENU") || option.isKeyword("CLASS")) {
                const Token& value = next();
                if (value.kind != TokenKind::Identifier && value.kind != TokenKind::Number
                    && value.kind != TokenKind::String) {
                    fail(value, "expected a name after " + option.text + ", found " + describe(value));
                }
            } else {
                fail(option,
                    "expected BEGIN or a dialog statement (STYLE, EXSTYLE, CAPTION, FONT, ...), found "
                        + describe(option));
            }
        }
        // As the resource compiler has it: a default style without STYLE, a title bar for a
        // caption, DS_SETFONT for a FONT.
        if (!styleGiven) {
            dlg.style = wsPopup | wsBorder | wsSysMenu;
        }
        if (hasCaption) {
            dlg.style |= wsCaption;
        }
        if (!dlg.fontName.empty()) {
            dlg.style |= dsSetFont;
        }

        const Token& open = next();
        while (!isBlockClose(peek())) {
            if (peek().kind == TokenKind::End) {
                fail(open, "dialog " + describe(tokens_[nameAt]) + " has no END");
            }
            dlg.controls.push_back(control(extended));
        }
        ++pos_;
        if (!script_.dialogs.emplace(dlg.id, std::move(dlg)).second) {
            fail(tokens_[nameAt], "duplicate dialog id " + describe(tokens_[nameAt]));
        }
    }

    // The caption of a control: a string, or a resource id for icons and bitmaps.
    void controlText(ControlTemplate& target)
    {
        if (atString()) {
            target.text = quoted("the control text");
            return;
        }
        const Token& token = peek();
        if (token.kind != TokenKind::Identifier && token.kind != TokenKind::Number) {
            fail(token, "expected the control text, found " + describe(token));
        }
        const std::size_t start = pos_;
        target.textResourceId = integer();
        target.textIsResourceId = true;
        for (std::size_t i = start; i < pos_; ++i) {
            target.text += rc::widenAscii(tokens_[i].text);
        }
    }

    std::wstring controlClass()
    {
        if (atString()) {
            return quoted("a control class");
        }
        for (const auto& [keyword, className] : classKeywords) {
            if (peek().isKeyword(keyword)) {
                ++pos_;
                return std::wstring(className);
            }
        }
        fail(peek(), "expected a control class, found " + describe(peek()));
    }

    ControlTemplate control(bool extended)
    {
        const Token& keyword = peek();
        const ControlStatement* known = nullptr;
        for (const auto& candidate : controlStatements) {
            if (keyword.isKeyword(candidate.keyword)) {
                known = &candidate;
            }
        }
        const bool generic = keyword.isKeyword("CONTROL");
        if (known == nullptr && !generic) {
            fail(keyword, "expected a control statement, found " + describe(keyword));
        }
        ++pos_;

        ControlTemplate result;
        if (generic || known->form != ControlForm::NoText) {
            controlText(result);
            expectComma("control text");
        }
        std::tie(result.id, result.idName) = controlId();
        expectComma("control id");
        result.style = wsChild | wsVisible;
        if (generic) {
            result.className = controlClass();
            expectComma("control class");
            result.style = styleList(result.style);
            expectComma("control style");
        } else {
            result.className = std::wstring(known->className);
            result.style |= known->defaultStyle;
        }
        result.x = integer();
        expectComma("control x");
        result.y = integer();
        const bool icon = !generic && known->form == ControlForm::Icon;
        if (!icon || acceptComma()) {
            if (!icon) {
                expectComma("control y");
            }
            result.cx = integer();
            expectComma("control width");
            result.cy = integer();
            // CONTROL has its style before the position; the others may add one after the size.
            if (generic || acceptComma()) {
                if (!generic) {
                    // A combo box's type bits (simple, drop-down, drop-down list) are one field: a
                    // given style replaces the default CBS_SIMPLE rather than adding to it.
                    if (known->className == L"ComboBox")
                        result.style &= ~cbsSimple;
                    result.style = styleList(result.style);
                }
                if (acceptComma()) {
                    result.exStyle = styleList(0);
                    if (extended && acceptComma()) {
                        result.helpId = integer();
                    }
                }
            }
        }
        if (isBlockOpen(peek())) {
            skipBlock(); // DIALOGEX control data
        }
        result.kind = classifyControl(result.className, result.style);
        return result;
    }

    rc::Preprocessed pre_;
    const std::vector<Token>& tokens_;
    std::size_t pos_ = 0;
    ResourceScript script_;
};

} // namespace

ControlKind classifyControl(std::wstring_view className, std::uint32_t style)
{
    if (rc::equalsNoCase(className, L"Button")) {
        switch (style & bsTypeMask) {
        case bsDefPushButton:
        case 0xD: // BS_DEFSPLITBUTTON
        case 0xF: // BS_DEFCOMMANDLINK
            return ControlKind::DefPushButton;
        case bsCheckBox:
        case bsAutoCheckBox:
        case bs3State:
        case bsAuto3State:
            return ControlKind::CheckBox;
        case bsRadioButton:
        case bsAutoRadioButton:
            return ControlKind::RadioButton;
        case bsGroupBox:
            return ControlKind::GroupBox;
        default: // push, user, push box, owner-drawn, split and command-link buttons
            return ControlKind::PushButton;
        }
    }
    if (rc::equalsNoCase(className, L"Static")) {
        const std::uint32_t type = style & ssTypeMask;
        return (type == ssIcon || type == ssBitmap) ? ControlKind::Icon : ControlKind::Static;
    }
    if (rc::equalsNoCase(className, L"Edit") || startsWithNoCase(className, L"RichEdit")) {
        return ControlKind::Edit;
    }
    if (rc::equalsNoCase(className, L"ComboBox") || rc::equalsNoCase(className, L"ComboBoxEx32")) {
        return ControlKind::ComboBox;
    }
    if (rc::equalsNoCase(className, L"ListBox")) {
        return ControlKind::ListBox;
    }
    if (rc::equalsNoCase(className, L"SysListView32")) {
        return ControlKind::ListView;
    }
    return ControlKind::Other;
}

std::string_view controlKindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Static:
        return "Static";
    case ControlKind::Edit:
        return "Edit";
    case ControlKind::PushButton:
        return "PushButton";
    case ControlKind::DefPushButton:
        return "DefPushButton";
    case ControlKind::CheckBox:
        return "CheckBox";
    case ControlKind::RadioButton:
        return "RadioButton";
    case ControlKind::GroupBox:
        return "GroupBox";
    case ControlKind::ComboBox:
        return "ComboBox";
    case ControlKind::ListBox:
        return "ListBox";
    case ControlKind::ListView:
        return "ListView";
    case ControlKind::Icon:
        return "Icon";
    case ControlKind::Other:
        break;
    }
    return "Other";
}

const ControlTemplate* DialogTemplate::control(int controlId) const noexcept
{
    const auto found = std::find_if(controls.begin(), controls.end(),
        [controlId](const ControlTemplate& c) { return c.id == controlId; });
    return found == controls.end() ? nullptr : &*found;
}

std::optional<std::int64_t> ResourceScript::define(std::string_view name) const
{
    const auto found = defines.find(name);
    if (found == defines.end()) {
        return std::nullopt;
    }
    return found->second;
}

const DialogTemplate* ResourceScript::dialog(int id) const noexcept
{
    const auto found = dialogs.find(id);
    return found == dialogs.end() ? nullptr : &found->second;
}

const std::wstring* ResourceScript::string(int id) const noexcept
{
    const auto found = strings.find(id);
    return found == strings.end() ? nullptr : &found->second;
}

ResourceScript parseResourceScript(
    std::string_view utf8Text, const IncludeResolver& resolver, std::string_view scriptName)
{
    ScriptParser parser(rc::preprocess(utf8Text, scriptName, resolver));
    return parser.run();
}

} // namespace arxhost
