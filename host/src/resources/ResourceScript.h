// Reader of the module's Windows resource script (.rc plus its headers): dialogs, strings, bitmaps, icons.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace arxhost {

// Returns the text of an included file by the name written in the #include directive ("resource.h",
// "res\\PlanRoad.rc2"), or nothing when there is no such file. System headers the resolver does not
// know (afxres.h, winres.h, windows.h, commctrl.h, ...) fall back to built-in definitions of the
// standard ids and window, dialog and control styles.
using IncludeResolver = std::function<std::optional<std::string>(std::string_view name)>;

// A script that cannot be read. what() is "<file>:<line>: <message>".
class ResourceScriptError : public std::runtime_error {
public:
    ResourceScriptError(std::string file, int line, const std::string& message);

    const std::string& file() const noexcept { return file_; }
    int line() const noexcept { return line_; }
    // The message without the location prefix.
    const std::string& message() const noexcept { return message_; }

private:
    std::string file_;
    int line_;
    std::string message_;
};

// What a control is, for the dialog model: the window class, refined by the button / static type.
enum class ControlKind {
    Static,
    Edit,
    PushButton,
    DefPushButton,
    CheckBox, // two- and three-state, automatic or not
    RadioButton, // automatic or not; BS_PUSHLIKE / BS_BITMAP ones too
    GroupBox,
    ComboBox, // the drop-down and sort bits stay in the style
    ListBox,
    ListView, // "SysListView32"
    Icon, // a static showing an icon or a bitmap (SS_ICON, SS_BITMAP)
    Other,
};

// Classifies a control by its window class (compared case-insensitively) and style.
ControlKind classifyControl(std::wstring_view className, std::uint32_t style);

// A readable name of a kind ("PushButton"), for messages.
std::string_view controlKindName(ControlKind kind);

struct ControlTemplate {
    int id = 0; // -1 for IDC_STATIC
    std::wstring idName; // the identifier the script used for the id, empty for a bare number
    std::wstring className; // "Button", "Static", "SysListView32", ...
    // The caption. When the script gives a resource (a bitmap or icon id) instead of a string, as in
    // `ICON IDR_MAIN, ...` or `CONTROL IDB_LOGO, -1, "Static", SS_BITMAP, ...`, text is the raw
    // spelling ("IDB_LOGO" or "130"), textIsResourceId is set and textResourceId is its value.
    std::wstring text;
    bool textIsResourceId = false;
    int textResourceId = 0;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::uint32_t style = 0; // with the defaults the resource compiler applies, WS_CHILD included
    std::uint32_t exStyle = 0;
    ControlKind kind = ControlKind::Other;
    int helpId = 0; // DIALOGEX only
};

struct DialogTemplate {
    int id = 0;
    std::wstring idName;
    bool extended = false; // DIALOGEX rather than DIALOG
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::wstring caption;
    std::wstring fontName; // empty without a FONT statement
    int fontSize = 0;
    int fontWeight = 0; // 0 = the default weight
    bool italic = false;
    int charset = 1; // DEFAULT_CHARSET unless FONT names one
    int helpId = 0;
    std::vector<ControlTemplate> controls; // in the order of the script, which is the tab order

    // The first control with this id, or null.
    const ControlTemplate* control(int controlId) const noexcept;
};

// One initial item of a dialog control, from the dialog's DLGINIT block: the message (the 16-bit
// values the resource editor writes: 0x0401 list box add string, 0x0403 combo box add string) and its
// text.
struct DialogInitItem {
    int controlId = 0;
    int message = 0;
    std::wstring text;
};

struct ResourceScript {
    // Every numeric #define in force at the end of the script, from the script and every header it
    // includes (the built-in system definitions among them).
    std::map<std::string, std::int64_t, std::less<>> defines;
    std::map<int, std::wstring> strings; // STRINGTABLE entries
    std::map<int, std::string> bitmaps; // id -> file name as written (escapes decoded, UTF-8)
    std::map<int, std::string> icons;
    std::map<int, DialogTemplate> dialogs;
    std::map<int, std::vector<DialogInitItem>> dialogInit; // dialog id -> its items in script order

    std::optional<std::int64_t> define(std::string_view name) const;
    const DialogTemplate* dialog(int id) const noexcept;
    const std::wstring* string(int id) const noexcept;
};

// Reads a resource script. scriptName only serves the error messages ("PlanRoad.rc:42: ...").
// Throws ResourceScriptError for anything the resource compiler would reject, and for identifiers
// used as ids that no header defines. Blocks other than DIALOG, DIALOGEX, DLGINIT, STRINGTABLE, BITMAP
// and ICON (DESIGNINFO, TEXTINCLUDE, VERSIONINFO, MENU, ACCELERATORS, AFX_DIALOG_LAYOUT, ...) are
// skipped; LANGUAGE statements and #pragma code_page are ignored, the text is always UTF-8.
ResourceScript parseResourceScript(
    std::string_view utf8Text, const IncludeResolver& resolver, std::string_view scriptName = "<script>");

} // namespace arxhost
