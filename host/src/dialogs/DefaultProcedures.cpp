// The host's window procedures: what each class of window does with a message nobody else handled.
#include <algorithm>
#include <cwctype>

#include "dialogs/DialogHost.h"
#include "rxmfcapi.h"

namespace arxhost {

namespace {

// The order of a sorted combo box or list view: case folded like the runtime's "C" locale, then by
// code point.
wchar_t fold(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

int compareNoCase(std::wstring_view a, std::wstring_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t x = fold(a[i]);
        const wchar_t y = fold(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool startsWithNoCase(std::wstring_view text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() && compareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

std::wstring textOf(LPARAM lParam)
{
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    return text == nullptr ? std::wstring() : std::wstring(text);
}

// Copies text into a caller's buffer of `size` characters, always terminated; returns what was copied.
int copyOut(const std::wstring& text, wchar_t* buffer, std::size_t size)
{
    if (buffer == nullptr || size == 0)
        return 0;
    const std::size_t n = std::min(text.size(), size - 1);
    text.copy(buffer, n);
    buffer[n] = 0;
    return static_cast<int>(n);
}

// The search of CB_FINDSTRING: the items after `start` (-1: all), wrapping round to the top.
template <class Match> int findItem(const std::vector<ComboItem>& items, WPARAM start, Match match)
{
    const int count = static_cast<int>(items.size());
    const int from = static_cast<int>(static_cast<INT_PTR>(start));
    const int first = from < 0 || from >= count ? 0 : from + 1;
    for (int i = 0; i < count; ++i) {
        const int index = (first + i) % count;
        if (match(items[static_cast<std::size_t>(index)].text))
            return index;
    }
    return CB_ERR;
}

// The pixel width of text in a list view cell: the average character width plus the cell's padding.
int cellWidth(const std::wstring& text)
{
    return displayWidth(text) * 7 + 12;
}

} // namespace

LRESULT DialogHost::defaultProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = find(handle);
    if (window == nullptr)
        return 0;
    switch (window->windowClass) {
    case WindowClass::Button:
        return buttonProc(*window, message, wParam, lParam);
    case WindowClass::Edit:
        return editProc(*window, message, wParam, lParam);
    case WindowClass::Static:
        return staticProc(*window, message, wParam, lParam);
    case WindowClass::ComboBox:
        return comboProc(*window, message, wParam, lParam);
    case WindowClass::ListView:
        return listViewProc(*window, message, wParam, lParam);
    case WindowClass::Dialog:
        return dialogProc(*window, message, wParam, lParam);
    case WindowClass::FolderBrowser:
        if (message == BFFM_SETSELECTIONW && wParam != 0) {
            window->text = textOf(lParam);
            return TRUE;
        }
        return commonProc(*window, message, wParam, lParam);
    default:
        return commonProc(*window, message, wParam, lParam);
    }
}

LRESULT DialogHost::commonProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETTEXT:
        setText(window.handle, textOf(lParam));
        return TRUE;
    case WM_GETTEXT:
        return copyOut(window.text, reinterpret_cast<wchar_t*>(lParam), static_cast<std::size_t>(wParam));
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(window.text.size());
    case WM_SETICON: {
        HICON& slot = wParam == ICON_BIG ? window.bigIcon : window.smallIcon;
        HICON previous = slot;
        slot = reinterpret_cast<HICON>(lParam);
        return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETICON:
        if (wParam == ICON_BIG)
            return reinterpret_cast<LRESULT>(window.bigIcon);
        if (wParam == ICON_SMALL2 && window.smallIcon == nullptr)
            return reinterpret_cast<LRESULT>(window.bigIcon);
        return reinterpret_cast<LRESULT>(window.smallIcon);
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            send(window.handle, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        // The host's own windows stay; others go.
        if (window.handle != mFrameHandle && window.handle != mViewHandle)
            destroyWindow(window.handle);
        return 0;
    default:
        return 0;
    }
}

LRESULT DialogHost::dialogProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE: {
        // As the dialog manager does: the close box is the Cancel button, unless that is disabled.
        HWND cancel = dialogItem(window.handle, IDCANCEL);
        if (cancel != nullptr && !isEnabled(cancel))
            return 0;
        send(window.handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    case DM_GETDEFID:
        return window.defaultId != 0 ? MAKELRESULT(window.defaultId, DC_HASDEFID) : 0;
    case DM_SETDEFID: {
        const UINT previous = window.defaultId;
        window.defaultId = static_cast<UINT>(wParam);
        for (HWND child : window.children) {
            Window* button = find(child);
            if (button->windowClass != WindowClass::Button
                || (button->buttonType() != BS_PUSHBUTTON && button->buttonType() != BS_DEFPUSHBUTTON))
                continue;
            const bool isDefault = button->id == static_cast<int>(wParam);
            button->style = (button->style & ~static_cast<DWORD>(BS_TYPEMASK))
                | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            button->kind = isDefault ? ControlKind::DefPushButton : ControlKind::PushButton;
        }
        if (previous != window.defaultId)
            changed(window.handle);
        return TRUE;
    }
    default:
        return commonProc(window, message, wParam, lParam);
    }
}

// ---- Buttons ----

void DialogHost::setButtonCheck(HWND button, int state)
{
    Window* window = find(button);
    if (window == nullptr || window->check == state)
        return;
    window->check = state;
    changed(button);
}

void DialogHost::clickButton(HWND button)
{
    if (find(button) == nullptr || !isEnabled(button))
        return;
    setFocus(button);
    if (find(button) == nullptr)
        return;
    clickButtonState(button);
    notifyParent(button, BN_CLICKED);
}

void DialogHost::clickButtonState(HWND button)
{
    Window* window = find(button);
    if (window == nullptr)
        return;
    switch (window->buttonType()) {
    case BS_AUTOCHECKBOX:
        setButtonCheck(button, window->check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED);
        break;
    case BS_AUTO3STATE:
        setButtonCheck(button, (window->check + 1) % 3);
        break;
    case BS_AUTORADIOBUTTON: {
        // The other automatic radio buttons of its group go off.
        if (Window* parent = find(window->parent)) {
            const auto& siblings = parent->children;
            auto first = std::find(siblings.begin(), siblings.end(), button);
            while (first != siblings.begin() && (find(*first)->style & WS_GROUP) == 0)
                --first;
            for (auto it = first; it != siblings.end(); ++it) {
                if (it != first && (find(*it)->style & WS_GROUP) != 0)
                    break;
                if (*it != button && find(*it)->buttonType() == BS_AUTORADIOBUTTON)
                    setButtonCheck(*it, BST_UNCHECKED);
            }
        }
        setButtonCheck(button, BST_CHECKED);
        break;
    }
    default:
        break;
    }
}

LRESULT DialogHost::buttonProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int type = window.buttonType();
    const bool checkable = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON
        || type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
    switch (message) {
    case BM_GETCHECK:
        return checkable ? window.check : BST_UNCHECKED;
    case BM_SETCHECK: {
        if (!checkable)
            return 0;
        int state = static_cast<int>(wParam);
        if (state == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE)
            state = BST_CHECKED;
        setButtonCheck(window.handle, std::clamp(state, 0, 2));
        return 0;
    }
    case BM_GETSTATE:
        return window.check | (mFocus == window.handle ? BST_FOCUS : 0);
    case BM_SETSTATE:
        return 0;
    case BM_SETSTYLE:
        window.style = (window.style & ~static_cast<DWORD>(0xFFFF)) | (static_cast<DWORD>(wParam) & 0xFFFF);
        window.kind = classifyControl(window.className, window.style);
        changed(window.handle);
        return 0;
    case BM_CLICK:
        clickButton(window.handle);
        return 0;
    case BM_SETIMAGE: {
        LRESULT previous = 0;
        if (wParam == IMAGE_ICON) {
            previous = reinterpret_cast<LRESULT>(window.icon);
            window.icon = reinterpret_cast<HICON>(lParam);
        } else {
            previous = reinterpret_cast<LRESULT>(window.bitmap);
            window.bitmap = reinterpret_cast<HBITMAP>(lParam);
        }
        changed(window.handle);
        return previous;
    }
    case BM_GETIMAGE:
        return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(window.icon)
                                    : reinterpret_cast<LRESULT>(window.bitmap);
    default:
        return commonProc(window, message, wParam, lParam);
    }
}

// ---- Statics ----

LRESULT DialogHost::staticProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case STM_SETICON:
        return staticProc(window, STM_SETIMAGE, IMAGE_ICON, static_cast<LPARAM>(wParam));
    case STM_GETICON:
        return reinterpret_cast<LRESULT>(window.icon);
    case STM_SETIMAGE: {
        LRESULT previous = 0;
        if (wParam == IMAGE_ICON) {
            previous = reinterpret_cast<LRESULT>(window.icon);
            window.icon = reinterpret_cast<HICON>(lParam);
        } else {
            previous = reinterpret_cast<LRESULT>(window.bitmap);
            window.bitmap = reinterpret_cast<HBITMAP>(lParam);
        }
        changed(window.handle);
        return previous;
    }
    case STM_GETIMAGE:
        return wParam == IMAGE_ICON ? reinterpret_cast<LRESULT>(window.icon)
                                    : reinterpret_cast<LRESULT>(window.bitmap);
    default:
        return commonProc(window, message, wParam, lParam);
    }
}

// ---- Edit controls ----

LRESULT DialogHost::editProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND handle = window.handle;
    switch (message) {
    case WM_SETTEXT:
        // Text set by the program ignores the length limit, and is announced like typed text.
        setText(handle, textOf(lParam));
        if (Window* edit = find(handle)) {
            edit->selectionStart = edit->selectionEnd = 0;
            notifyParent(handle, EN_UPDATE);
            notifyParent(handle, EN_CHANGE);
        }
        return TRUE;
    case EM_SETSEL: {
        const int length = static_cast<int>(window.text.size());
        int start = static_cast<int>(static_cast<INT_PTR>(wParam));
        int end = static_cast<int>(lParam);
        if (start < 0) {
            window.selectionEnd = window.selectionStart;
            return 0;
        }
        if (end < 0)
            end = length;
        window.selectionStart = std::min(std::min(start, end), length);
        window.selectionEnd = std::min(std::max(start, end), length);
        return 0;
    }
    case EM_GETSEL:
        if (wParam != 0)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(window.selectionStart);
        if (lParam != 0)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(window.selectionEnd);
        return MAKELRESULT(window.selectionStart, window.selectionEnd);
    case EM_LIMITTEXT:
        window.limit = static_cast<int>(wParam);
        return 0;
    case EM_GETLIMITTEXT:
        return window.limit > 0 ? window.limit : 30000;
    case EM_SETREADONLY: {
        const DWORD style
            = wParam != 0 ? window.style | ES_READONLY : window.style & ~static_cast<DWORD>(ES_READONLY);
        if (style != window.style) {
            window.style = style;
            changed(handle);
        }
        return TRUE;
    }
    default:
        return commonProc(window, message, wParam, lParam);
    }
}

// ---- Combo boxes ----

LRESULT DialogHost::comboProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& items = window.items;
    const int count = static_cast<int>(items.size());
    auto select = [this, &window](int index) {
        window.selection = index;
        const std::wstring text
            = index >= 0 ? window.items[static_cast<std::size_t>(index)].text : std::wstring();
        window.text = text;
        changed(window.handle);
    };
    switch (message) {
    case CB_ADDSTRING: {
        const std::wstring text = textOf(lParam);
        auto at = items.end();
        if (window.sortedCombo())
            at = std::upper_bound(
                items.begin(), items.end(), text, [](const std::wstring& value, const ComboItem& item) {
                    return compareNoCase(value, item.text) < 0;
                });
        const int index = static_cast<int>(at - items.begin());
        items.insert(at, ComboItem {text, 0});
        if (window.selection >= index)
            ++window.selection;
        changed(window.handle);
        return index;
    }
    case CB_INSERTSTRING: {
        int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index > count)
            return CB_ERR;
        if (index < 0)
            index = count;
        items.insert(items.begin() + index, ComboItem {textOf(lParam), 0});
        if (window.selection >= index)
            ++window.selection;
        changed(window.handle);
        return index;
    }
    case CB_DELETESTRING: {
        const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index < 0 || index >= count)
            return CB_ERR;
        items.erase(items.begin() + index);
        if (window.selection == index)
            select(-1);
        else if (window.selection > index)
            --window.selection;
        changed(window.handle);
        return count - 1;
    }
    case CB_RESETCONTENT:
        items.clear();
        window.selection = -1;
        window.text.clear();
        changed(window.handle);
        return CB_OKAY;
    case CB_GETCOUNT:
        return count;
    case CB_GETCURSEL:
        return window.selection;
    case CB_SETCURSEL: {
        const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index < 0 || index >= count) {
            select(-1);
            return CB_ERR;
        }
        select(index);
        return index;
    }
    case CB_GETLBTEXT: {
        const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index < 0 || index >= count || lParam == 0)
            return CB_ERR;
        const std::wstring& text = items[static_cast<std::size_t>(index)].text;
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        text.copy(buffer, text.size());
        buffer[text.size()] = 0;
        return static_cast<LRESULT>(text.size());
    }
    case CB_GETLBTEXTLEN: {
        const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index < 0 || index >= count)
            return CB_ERR;
        return static_cast<LRESULT>(items[static_cast<std::size_t>(index)].text.size());
    }
    case CB_FINDSTRING: {
        const std::wstring text = textOf(lParam);
        return findItem(
            items, wParam, [&text](const std::wstring& item) { return startsWithNoCase(item, text); });
    }
    case CB_FINDSTRINGEXACT: {
        const std::wstring text = textOf(lParam);
        return findItem(
            items, wParam, [&text](const std::wstring& item) { return compareNoCase(item, text) == 0; });
    }
    case CB_SELECTSTRING: {
        const std::wstring text = textOf(lParam);
        const int index = findItem(
            items, wParam, [&text](const std::wstring& item) { return startsWithNoCase(item, text); });
        if (index != CB_ERR)
            select(index);
        return index;
    }
    case CB_SETITEMDATA: {
        const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index < 0 || index >= count)
            return CB_ERR;
        items[static_cast<std::size_t>(index)].data = static_cast<DWORD_PTR>(lParam);
        return CB_OKAY;
    }
    case CB_GETITEMDATA: {
        const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index < 0 || index >= count)
            return CB_ERR;
        return static_cast<LRESULT>(items[static_cast<std::size_t>(index)].data);
    }
    case CB_SHOWDROPDOWN:
        window.dropped = wParam != 0;
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return window.dropped ? TRUE : FALSE;
    case CB_LIMITTEXT:
        window.limit = static_cast<int>(wParam);
        return TRUE;
    case WM_SETTEXT: {
        const std::wstring text = textOf(lParam);
        if (window.editableCombo()) {
            setText(window.handle, text);
            return TRUE;
        }
        // A drop-down list shows only its items: the text selects the item it names.
        const int index = findItem(items, static_cast<WPARAM>(-1),
            [&text](const std::wstring& item) { return compareNoCase(item, text) == 0; });
        if (index == CB_ERR)
            return CB_ERR;
        select(index);
        return TRUE;
    }
    default:
        return commonProc(window, message, wParam, lParam);
    }
}

// ---- List views ----

std::vector<DialogHost::RowChange> DialogHost::applyListState(Window& list, int row, UINT state, UINT mask)
{
    std::vector<RowChange> changes;
    const int count = static_cast<int>(list.rows.size());
    if (row < 0 || row >= count)
        return changes;
    const bool single = (list.style & LVS_SINGLESEL) != 0;
    std::vector<UINT> before;
    for (const ListRow& r : list.rows)
        before.push_back(r.state);
    ListRow& target = list.rows[static_cast<std::size_t>(row)];
    target.state = (target.state & ~mask) | (state & mask);
    // One row has the focus; a single-selection list has one selected row.
    for (int i = 0; i < count; ++i) {
        if (i == row)
            continue;
        ListRow& other = list.rows[static_cast<std::size_t>(i)];
        if ((mask & LVIS_FOCUSED) != 0 && (target.state & LVIS_FOCUSED) != 0)
            other.state &= ~static_cast<UINT>(LVIS_FOCUSED);
        if (single && (mask & LVIS_SELECTED) != 0 && (target.state & LVIS_SELECTED) != 0)
            other.state &= ~static_cast<UINT>(LVIS_SELECTED);
    }
    if ((target.state & LVIS_SELECTED) != 0 && (mask & LVIS_SELECTED) != 0)
        list.selectionMark = row;
    for (int i = 0; i < count; ++i) {
        const UINT now = list.rows[static_cast<std::size_t>(i)].state;
        if (now != before[static_cast<std::size_t>(i)])
            changes.push_back(RowChange {i, before[static_cast<std::size_t>(i)], now});
        if (((now ^ before[static_cast<std::size_t>(i)]) & LVIS_SELECTED) != 0)
            changed(list.handle);
    }
    return changes;
}

void DialogHost::announceListChanges(HWND list, const std::vector<RowChange>& changes)
{
    for (const RowChange& change : changes) {
        const Window* window = find(list);
        if (window == nullptr)
            return;
        NMLISTVIEW notice {};
        notice.hdr.code = LVN_ITEMCHANGED;
        notice.iItem = change.row;
        notice.uNewState = change.newState;
        notice.uOldState = change.oldState;
        notice.uChanged = LVIF_STATE;
        if (change.row < static_cast<int>(window->rows.size()))
            notice.lParam = window->rows[static_cast<std::size_t>(change.row)].data;
        notifyParent(list, notice.hdr);
    }
}

void DialogHost::setListItemState(Window& list, int row, UINT state, UINT mask)
{
    const HWND handle = list.handle;
    announceListChanges(handle, applyListState(list, row, state, mask));
}

std::vector<DialogHost::RowChange> DialogHost::selectListRow(HWND list, int row)
{
    std::vector<RowChange> changes;
    Window* window = find(list);
    if (window == nullptr)
        return changes;
    std::vector<UINT> before;
    for (const ListRow& r : window->rows)
        before.push_back(r.state);
    for (int i = 0; i < static_cast<int>(window->rows.size()); ++i)
        if (i != row)
            applyListState(*window, i, 0, LVIS_SELECTED);
    applyListState(*window, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    for (std::size_t i = 0; i < window->rows.size(); ++i)
        if (window->rows[i].state != before[i])
            changes.push_back(RowChange {static_cast<int>(i), before[i], window->rows[i].state});
    return changes;
}

LRESULT DialogHost::listViewProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto& rows = window.rows;
    auto& columns = window.columns;
    const int count = static_cast<int>(rows.size());
    const int row = static_cast<int>(static_cast<INT_PTR>(wParam));
    auto cell = [](ListRow& r, int subItem) -> std::wstring& {
        if (static_cast<int>(r.cells.size()) <= subItem)
            r.cells.resize(static_cast<std::size_t>(subItem) + 1);
        return r.cells[static_cast<std::size_t>(subItem)];
    };
    auto perPage
        = [&window]() { return std::max(1, (window.height() - 4 - kListHeaderHeight) / kListRowHeight); };
    switch (message) {
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        const DWORD previous = window.listExStyle;
        const DWORD mask = wParam == 0 ? 0xFFFFFFFF : static_cast<DWORD>(wParam);
        window.listExStyle = (previous & ~mask) | (static_cast<DWORD>(lParam) & mask);
        return static_cast<LRESULT>(previous);
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return static_cast<LRESULT>(window.listExStyle);
    case LVM_INSERTCOLUMNW: {
        const auto* column = reinterpret_cast<const LVCOLUMNW*>(lParam);
        if (column == nullptr || row < 0)
            return -1;
        const int index = std::min(row, static_cast<int>(columns.size()));
        ListColumn inserted;
        inserted.heading
            = (column->mask & LVCF_TEXT) != 0 && column->pszText != nullptr ? column->pszText : L"";
        inserted.format = (column->mask & LVCF_FMT) != 0 ? column->fmt : LVCFMT_LEFT;
        inserted.width = (column->mask & LVCF_WIDTH) != 0 ? column->cx : cellWidth(inserted.heading);
        inserted.subItem = (column->mask & LVCF_SUBITEM) != 0 ? column->iSubItem : index;
        columns.insert(columns.begin() + index, inserted);
        changed(window.handle);
        return index;
    }
    case LVM_DELETECOLUMN:
        if (row < 0 || row >= static_cast<int>(columns.size()))
            return FALSE;
        columns.erase(columns.begin() + row);
        changed(window.handle);
        return TRUE;
    case LVM_GETCOLUMNW: {
        auto* column = reinterpret_cast<LVCOLUMNW*>(lParam);
        if (column == nullptr || row < 0 || row >= static_cast<int>(columns.size()))
            return FALSE;
        const ListColumn& c = columns[static_cast<std::size_t>(row)];
        if ((column->mask & LVCF_FMT) != 0)
            column->fmt = c.format;
        if ((column->mask & LVCF_WIDTH) != 0)
            column->cx = c.width;
        if ((column->mask & LVCF_SUBITEM) != 0)
            column->iSubItem = c.subItem;
        if ((column->mask & LVCF_TEXT) != 0 && column->cchTextMax > 0)
            copyOut(c.heading, column->pszText, static_cast<std::size_t>(column->cchTextMax));
        return TRUE;
    }
    case LVM_SETCOLUMNW: {
        const auto* column = reinterpret_cast<const LVCOLUMNW*>(lParam);
        if (column == nullptr || row < 0 || row >= static_cast<int>(columns.size()))
            return FALSE;
        ListColumn& c = columns[static_cast<std::size_t>(row)];
        if ((column->mask & LVCF_FMT) != 0)
            c.format = column->fmt;
        if ((column->mask & LVCF_WIDTH) != 0)
            c.width = column->cx;
        if ((column->mask & LVCF_SUBITEM) != 0)
            c.subItem = column->iSubItem;
        if ((column->mask & LVCF_TEXT) != 0)
            c.heading = column->pszText != nullptr ? column->pszText : L"";
        changed(window.handle);
        return TRUE;
    }
    case LVM_GETCOLUMNWIDTH:
        if (row < 0 || row >= static_cast<int>(columns.size()))
            return 0;
        return columns[static_cast<std::size_t>(row)].width;
    case LVM_SETCOLUMNWIDTH: {
        if (row < 0 || row >= static_cast<int>(columns.size()))
            return FALSE;
        ListColumn& c = columns[static_cast<std::size_t>(row)];
        const int width = static_cast<short>(LOWORD(lParam));
        if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
            int widest = width == LVSCW_AUTOSIZE_USEHEADER ? cellWidth(c.heading) : 0;
            for (ListRow& r : rows)
                widest = std::max(widest, cellWidth(cell(r, c.subItem)));
            c.width = widest;
        } else {
            c.width = std::max(0, width);
        }
        return TRUE;
    }
    case LVM_INSERTITEMW: {
        const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
        if (item == nullptr || item->iSubItem != 0 || item->iItem < 0)
            return -1;
        ListRow inserted;
        if ((item->mask & LVIF_TEXT) != 0)
            cell(inserted, 0) = item->pszText != nullptr ? item->pszText : L"";
        if ((item->mask & LVIF_PARAM) != 0)
            inserted.data = item->lParam;
        int index = std::min(item->iItem, count);
        const bool ascending = (window.style & LVS_SORTASCENDING) != 0;
        const bool descending = (window.style & LVS_SORTDESCENDING) != 0;
        if (ascending || descending) {
            const std::wstring text = cell(inserted, 0);
            index = 0;
            while (index < count) {
                const int order = compareNoCase(text, cell(rows[static_cast<std::size_t>(index)], 0));
                if ((ascending && order < 0) || (descending && order > 0))
                    break;
                ++index;
            }
        }
        rows.insert(rows.begin() + index, std::move(inserted));
        if (window.selectionMark >= index)
            ++window.selectionMark;
        changed(window.handle);
        if ((item->mask & LVIF_STATE) != 0 && (item->state & item->stateMask) != 0)
            setListItemState(window, index, item->state, item->stateMask);
        return index;
    }
    case LVM_SETITEMW: {
        const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
        if (item == nullptr || item->iItem < 0 || item->iItem >= count || item->iSubItem < 0)
            return FALSE;
        ListRow& r = rows[static_cast<std::size_t>(item->iItem)];
        if ((item->mask & LVIF_TEXT) != 0) {
            cell(r, item->iSubItem) = item->pszText != nullptr ? item->pszText : L"";
            changed(window.handle);
        }
        if ((item->mask & LVIF_PARAM) != 0 && item->iSubItem == 0)
            r.data = item->lParam;
        if ((item->mask & LVIF_STATE) != 0)
            setListItemState(window, item->iItem, item->state, item->stateMask);
        return TRUE;
    }
    case LVM_GETITEMW: {
        auto* item = reinterpret_cast<LVITEMW*>(lParam);
        if (item == nullptr || item->iItem < 0 || item->iItem >= count || item->iSubItem < 0)
            return FALSE;
        ListRow& r = rows[static_cast<std::size_t>(item->iItem)];
        if ((item->mask & LVIF_TEXT) != 0 && item->cchTextMax > 0)
            copyOut(cell(r, item->iSubItem), item->pszText, static_cast<std::size_t>(item->cchTextMax));
        if ((item->mask & LVIF_STATE) != 0)
            item->state = r.state & item->stateMask;
        if ((item->mask & LVIF_PARAM) != 0)
            item->lParam = r.data;
        return TRUE;
    }
    case LVM_SETITEMTEXTW: {
        const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
        if (item == nullptr || row < 0 || row >= count || item->iSubItem < 0)
            return FALSE;
        std::wstring& text = cell(rows[static_cast<std::size_t>(row)], item->iSubItem);
        const std::wstring value = item->pszText != nullptr ? item->pszText : L"";
        if (text != value) {
            text = value;
            changed(window.handle);
        }
        return TRUE;
    }
    case LVM_GETITEMTEXTW: {
        auto* item = reinterpret_cast<LVITEMW*>(lParam);
        if (item == nullptr || item->pszText == nullptr || item->cchTextMax <= 0)
            return 0;
        if (row < 0 || row >= count || item->iSubItem < 0) {
            item->pszText[0] = 0;
            return 0;
        }
        return copyOut(cell(rows[static_cast<std::size_t>(row)], item->iSubItem), item->pszText,
            static_cast<std::size_t>(item->cchTextMax));
    }
    case LVM_GETITEMCOUNT:
        return count;
    case LVM_DELETEITEM:
        if (row < 0 || row >= count)
            return FALSE;
        rows.erase(rows.begin() + row);
        if (window.selectionMark == row)
            window.selectionMark = -1;
        else if (window.selectionMark > row)
            --window.selectionMark;
        window.topIndex = std::max(0, std::min(window.topIndex, static_cast<int>(rows.size()) - 1));
        changed(window.handle);
        return TRUE;
    case LVM_DELETEALLITEMS:
        if (!rows.empty())
            changed(window.handle);
        rows.clear();
        window.selectionMark = -1;
        window.topIndex = 0;
        return TRUE;
    case LVM_GETITEMSTATE:
        if (row < 0 || row >= count)
            return 0;
        return static_cast<LRESULT>(rows[static_cast<std::size_t>(row)].state & static_cast<UINT>(lParam));
    case LVM_SETITEMSTATE: {
        const auto* item = reinterpret_cast<const LVITEMW*>(lParam);
        if (item == nullptr)
            return FALSE;
        if (row == -1) {
            const HWND handle = window.handle;
            for (int i = 0; i < count; ++i)
                if (Window* list = find(handle))
                    setListItemState(*list, i, item->state, item->stateMask);
            return TRUE;
        }
        if (row < 0 || row >= count)
            return FALSE;
        setListItemState(window, row, item->state, item->stateMask);
        return TRUE;
    }
    case LVM_GETSELECTEDCOUNT:
        return std::count_if(
            rows.begin(), rows.end(), [](const ListRow& r) { return (r.state & LVIS_SELECTED) != 0; });
    case LVM_GETNEXTITEM: {
        const UINT flags = static_cast<UINT>(lParam) & 0xFFFF;
        for (int i = row < 0 ? 0 : row + 1; i < count; ++i) {
            const UINT state = rows[static_cast<std::size_t>(i)].state;
            if (((flags & LVNI_SELECTED) == 0 || (state & LVIS_SELECTED) != 0)
                && ((flags & LVNI_FOCUSED) == 0 || (state & LVIS_FOCUSED) != 0))
                return i;
        }
        return -1;
    }
    case LVM_GETSELECTIONMARK:
        return window.selectionMark;
    case LVM_SETSELECTIONMARK: {
        const int previous = window.selectionMark;
        window.selectionMark = static_cast<int>(lParam);
        return previous;
    }
    case LVM_ENSUREVISIBLE: {
        if (row < 0 || row >= count)
            return FALSE;
        const int page = perPage();
        if (row < window.topIndex)
            window.topIndex = row;
        else if (row >= window.topIndex + page)
            window.topIndex = row - page + 1;
        return TRUE;
    }
    case LVM_GETTOPINDEX:
        return window.topIndex;
    case LVM_GETCOUNTPERPAGE:
        return perPage();
    default:
        return commonProc(window, message, wParam, lParam);
    }
}

// ---- Notifications ----

void DialogHost::notifyParent(HWND control, UINT code)
{
    const Window* window = find(control);
    if (window == nullptr || !window->isChild())
        return;
    send(window->parent, WM_COMMAND, MAKEWPARAM(window->id, code), reinterpret_cast<LPARAM>(control));
}

LRESULT DialogHost::notifyParent(HWND control, NMHDR& header)
{
    const Window* window = find(control);
    if (window == nullptr || !window->isChild())
        return 0;
    header.hwndFrom = control;
    header.idFrom = static_cast<UINT_PTR>(window->id);
    return send(
        window->parent, WM_NOTIFY, static_cast<WPARAM>(window->id), reinterpret_cast<LPARAM>(&header));
}

} // namespace arxhost
