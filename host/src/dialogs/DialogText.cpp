// How the command line shows a dialog: its caption, then each visible control with its state.
#include <algorithm>

#include "dialogs/DialogHost.h"
#include "text/Escaped.h"

namespace arxhost {

namespace {

bool isWide(wchar_t c)
{
    const auto u = static_cast<std::uint32_t>(c);
    return (u >= 0x1100 && u <= 0x115F) || (u >= 0x2E80 && u <= 0x303E) || (u >= 0x3041 && u <= 0x33FF)
        || (u >= 0x3400 && u <= 0x4DBF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xA000 && u <= 0xA4CF)
        || (u >= 0xAC00 && u <= 0xD7A3) || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFE30 && u <= 0xFE4F)
        || (u >= 0xFF00 && u <= 0xFF60) || (u >= 0xFFE0 && u <= 0xFFE6) || (u >= 0x20000 && u <= 0x3FFFD);
}

std::wstring quoted(const std::wstring& text)
{
    return L"\"" + backslashEscaped(text, L"\"") + L"\"";
}

std::wstring padRight(const std::wstring& text, int width)
{
    return text + std::wstring(static_cast<std::size_t>(std::max(0, width - displayWidth(text))), L' ');
}

std::wstring padLeft(const std::wstring& text, int width)
{
    return std::wstring(static_cast<std::size_t>(std::max(0, width - displayWidth(text))), L' ') + text;
}

std::wstring trimRight(std::wstring text)
{
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    return text;
}

std::wstring kindName(const Window& control)
{
    if (control.windowClass == WindowClass::Other)
        return control.className;
    const std::string_view name = controlKindName(control.kind);
    return std::wstring(name.begin(), name.end());
}

// The cell a list view shows at column position `column`.
std::wstring cellText(const Window& list, const ListRow& row, std::size_t column)
{
    const std::size_t subItem
        = list.columns.empty() ? 0 : static_cast<std::size_t>(std::max(0, list.columns[column].subItem));
    return subItem < row.cells.size() ? row.cells[subItem] : std::wstring();
}

void describeTable(const Window& list, std::wstring& out)
{
    const std::size_t columnCount = std::max<std::size_t>(1, list.columns.size());
    std::vector<std::vector<std::wstring>> lines;
    std::vector<std::wstring> header {L"#"};
    for (std::size_t c = 0; c < columnCount; ++c)
        header.push_back(list.columns.empty() ? std::wstring() : list.columns[c].heading);
    lines.push_back(header);
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
        std::vector<std::wstring> line {std::to_wstring(r)};
        for (std::size_t c = 0; c < columnCount; ++c)
            line.push_back(cellText(list, list.rows[r], c));
        lines.push_back(line);
    }
    std::vector<int> widths(columnCount + 1, 0);
    for (const auto& line : lines)
        for (std::size_t c = 0; c < line.size(); ++c)
            widths[c] = std::max(widths[c], displayWidth(line[c]));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool selected = i > 0 && (list.rows[i - 1].state & LVIS_SELECTED) != 0;
        std::wstring text = selected ? L"    * " : L"      ";
        for (std::size_t c = 0; c < lines[i].size(); ++c) {
            if (c > 0)
                text += L" | ";
            text += c == 0 ? padLeft(lines[i][c], widths[c]) : padRight(lines[i][c], widths[c]);
        }
        out += L"\n" + trimRight(text);
    }
}

std::wstring imageText(const DialogHost& host, const Window& control)
{
    std::wstring out;
    if (control.bitmap != nullptr)
        out += L" [" + host.describeImage(control.bitmap) + L"]";
    if (control.icon != nullptr)
        out += L" [" + host.describeImage(control.icon) + L"]";
    return out;
}

std::wstring describeControl(const DialogHost& host, const Window& control)
{
    std::wstring detail;
    switch (control.kind) {
    case ControlKind::CheckBox:
        detail = (control.check == BST_CHECKED                ? L"[x] "
                         : control.check == BST_INDETERMINATE ? L"[-] "
                                                              : L"[ ] ")
            + quoted(control.text);
        break;
    case ControlKind::RadioButton:
        detail = (control.check == BST_CHECKED ? L"(o) " : L"( ) ") + quoted(control.text);
        break;
    case ControlKind::Edit:
        detail = (control.style & ES_PASSWORD) != 0 ? quoted(std::wstring(control.text.size(), L'*'))
                                                    : quoted(control.text);
        if ((control.style & ES_READONLY) != 0)
            detail += L" (read-only)";
        break;
    case ControlKind::ComboBox: {
        detail = control.selection < 0 && control.text.empty() ? L"(none)" : quoted(control.text);
        detail += L" {";
        for (std::size_t i = 0; i < control.items.size(); ++i)
            detail += (i > 0 ? L" | " : L"") + control.items[i].text;
        detail += L"}";
        break;
    }
    case ControlKind::ListView: {
        const std::size_t rows = control.rows.size();
        detail = std::to_wstring(rows) + (rows == 1 ? L" row" : L" rows");
        break;
    }
    case ControlKind::Icon:
        break;
    default:
        detail = quoted(control.text);
        break;
    }
    detail += imageText(host, control);
    std::wstring line
        = L"  " + padRight(kindName(control), 13) + L" " + padLeft(std::to_wstring(control.id), 5);
    if (!control.idName.empty() && control.id != -1)
        line += L" " + control.idName;
    if (!detail.empty())
        line += L" " + (detail.front() == L' ' ? detail.substr(1) : detail);
    if (!control.enabledStyle())
        line += L" (disabled)";
    if (control.kind == ControlKind::ListView)
        describeTable(control, line);
    return trimRight(line);
}

} // namespace

int displayWidth(std::wstring_view text)
{
    int width = 0;
    for (wchar_t c : text)
        width += isWide(c) ? 2 : 1;
    return width;
}

std::wstring describeDialog(const DialogHost& host, const Window& dialog)
{
    std::wstring out = L"[Dialog " + std::to_wstring(dialog.id) + L" " + quoted(dialog.text);
    if (dialog.modal)
        out += L" modal";
    if (!dialog.enabledStyle())
        out += L" disabled";
    out += L"]";
    for (HWND child : dialog.children) {
        const Window* control = host.find(child);
        if (control == nullptr || !control->visibleStyle())
            continue;
        out += L"\n" + describeControl(host, *control);
    }
    return out;
}

} // namespace arxhost
