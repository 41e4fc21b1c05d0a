// A window of the host's screen as the host keeps it: class, place, text, and each control's contents.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "afxwin.h"
#include "commctrl.h"
#include "resources/ResourceScript.h"

namespace arxhost {

// How the host handles a window's messages by default (its window procedure).
enum class WindowClass {
    Frame, // the host's main window
    View, // the drawing view
    Dialog,
    Button, // push buttons, check boxes, radio buttons, group boxes
    Edit,
    Static, // text, icons and bitmaps
    ComboBox,
    ListBox,
    ListView,
    FolderBrowser,
    Other,
};

struct ComboItem {
    std::wstring text;
    DWORD_PTR data = 0;
};

struct ListColumn {
    std::wstring heading;
    int format = LVCFMT_LEFT;
    int width = 0;
    int subItem = 0;
};

struct ListRow {
    std::vector<std::wstring> cells; // one per column position, missing ones empty
    UINT state = 0; // LVIS_SELECTED, LVIS_FOCUSED
    LPARAM data = 0;
};

struct Window {
    HWND handle = nullptr;
    WindowClass windowClass = WindowClass::Other;
    ControlKind kind = ControlKind::Other; // what a control is (from its class and style)
    std::wstring className;
    int id = 0; // a control's id; a dialog's template id
    std::wstring idName; // the identifier the resource script used, if any
    HWND parent = nullptr; // a child's parent; a top-level window's owner
    std::vector<HWND> children; // in creation order, which is the tab order
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    // The window rectangle: in screen pixels for a top-level window, in the parent's client
    // coordinates for a child.
    RECT rect {0, 0, 0, 0};
    // The non-client margins (border and caption) around the client area.
    RECT margins {0, 0, 0, 0};
    // Dialog base units (pixels per 4 horizontal and 8 vertical dialog units).
    int baseUnitX = 7;
    int baseUnitY = 16;

    // The C++ object attached to the window, and a temporary one FromHandle made for it.
    CWnd* wrapper = nullptr;
    std::unique_ptr<CWnd> temporary;

    // Buttons and statics.
    int check = BST_UNCHECKED;
    HBITMAP bitmap = nullptr;
    HICON icon = nullptr;
    // Top-level windows: the title bar's icons.
    HICON smallIcon = nullptr;
    HICON bigIcon = nullptr;

    // Edit controls.
    int limit = 0; // 0 = no limit
    int selectionStart = 0;
    int selectionEnd = 0;

    // Combo boxes.
    std::vector<ComboItem> items;
    int selection = -1;
    bool dropped = false;

    // List views.
    std::vector<ListColumn> columns;
    std::vector<ListRow> rows;
    DWORD listExStyle = 0;
    int selectionMark = -1;
    int topIndex = 0;

    // Dialogs.
    UINT defaultId = 0;
    bool modal = false;
    bool ended = false;
    INT_PTR result = 0;
    // Whether the command line shows the dialog as it is (clean) or must show it again (dirty), and
    // whether it showed it open at all.
    bool dirty = false;
    bool shownOnTranscript = false;
    std::wstring shownText; // what the command line showed last

    bool destroying = false;

    bool visibleStyle() const { return (style & WS_VISIBLE) != 0; }
    bool enabledStyle() const { return (style & WS_DISABLED) == 0; }
    bool isChild() const { return (style & WS_CHILD) != 0; }
    int width() const { return rect.right - rect.left; }
    int height() const { return rect.bottom - rect.top; }
    int clientWidth() const { return width() - margins.left - margins.right; }
    int clientHeight() const { return height() - margins.top - margins.bottom; }
    int buttonType() const { return static_cast<int>(style & BS_TYPEMASK); }
    bool sortedCombo() const { return (style & CBS_SORT) != 0; }
    bool editableCombo() const { return (style & 0x3) != CBS_DROPDOWNLIST; }
};

} // namespace arxhost
