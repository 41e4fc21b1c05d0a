// The scripted user: modal loops, message boxes and the folder browser read the input queue, and
// "!dialog" directives click, type and select in dialogs.
#include <algorithm>
#include <filesystem>

#include "dialogs/DialogHost.h"
#include "editor/Editor.h"
#include "editor/InputQueue.h"
#include "editor/Transcript.h"
#include "rxmfcapi.h"

namespace arxhost {

namespace {

wchar_t fold(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool equalNoCase(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return fold(x) == fold(y); });
}

std::wstring trim(const std::wstring& text)
{
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return L"";
    const auto last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

std::optional<int> wholeNumber(const std::wstring& text)
{
    if (text.empty())
        return std::nullopt;
    std::size_t i = text[0] == L'-' ? 1 : 0;
    if (i == text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < L'0' || text[i] > L'9' || value > 100000000)
            return std::nullopt;
        value = value * 10 + (text[i] - L'0');
    }
    return static_cast<int>(text[0] == L'-' ? -value : value);
}

std::wstring unquote(const std::wstring& text)
{
    const std::wstring trimmed = trim(text);
    if (trimmed.size() >= 2 && trimmed.front() == L'"' && trimmed.back() == L'"') {
        const std::vector<std::wstring> words = splitArguments(trimmed);
        if (words.size() == 1)
            return words.front();
    }
    return trimmed;
}

// The rest of the argument text after the first `count` words, as typed.
std::wstring restAfter(const std::wstring& text, std::size_t count)
{
    std::size_t i = 0;
    for (std::size_t word = 0; word < count; ++word) {
        while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
            ++i;
        bool inQuotes = false;
        while (i < text.size() && (inQuotes || (text[i] != L' ' && text[i] != L'\t'))) {
            if (text[i] == L'\\' && inQuotes && i + 1 < text.size())
                ++i;
            else if (text[i] == L'"')
                inQuotes = !inQuotes;
            ++i;
        }
    }
    return i < text.size() ? text.substr(i) : L"";
}

const std::vector<std::wstring>& actionNames()
{
    static const std::vector<std::wstring> names {L"set", L"check", L"uncheck", L"select", L"click",
        L"dblclick", L"focus", L"hover", L"leave", L"close"};
    return names;
}

bool isAction(const std::wstring& word)
{
    const auto& names = actionNames();
    return std::any_of(
        names.begin(), names.end(), [&word](const std::wstring& n) { return equalNoCase(n, word); });
}

struct MessageButton {
    int id;
    const wchar_t* name;
};

std::vector<MessageButton> buttonsOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, L"OK"}, {IDCANCEL, L"Cancel"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, L"Abort"}, {IDRETRY, L"Retry"}, {IDIGNORE, L"Ignore"}};
    case MB_YESNOCANCEL:
        return {{IDYES, L"Yes"}, {IDNO, L"No"}, {IDCANCEL, L"Cancel"}};
    case MB_YESNO:
        return {{IDYES, L"Yes"}, {IDNO, L"No"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, L"Retry"}, {IDCANCEL, L"Cancel"}};
    case MB_CANCELTRYCONTINUE:
        return {{IDCANCEL, L"Cancel"}, {IDTRYAGAIN, L"Try Again"}, {IDCONTINUE, L"Continue"}};
    default:
        return {{IDOK, L"OK"}};
    }
}

const wchar_t* iconName(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return L"error";
    case MB_ICONQUESTION:
        return L"question";
    case MB_ICONEXCLAMATION:
        return L"warning";
    case MB_ICONASTERISK:
        return L"information";
    default:
        return nullptr;
    }
}

std::wstring resultName(INT_PTR result)
{
    switch (result) {
    case IDOK:
        return L"OK";
    case IDCANCEL:
        return L"Cancel";
    case IDABORT:
        return L"Abort";
    case IDRETRY:
        return L"Retry";
    case IDIGNORE:
        return L"Ignore";
    case IDYES:
        return L"Yes";
    case IDNO:
        return L"No";
    default:
        return std::to_wstring(result);
    }
}

bool contains(const RECT& rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

std::wstring tokenLine(const InputToken& token)
{
    if (token.kind != InputToken::Kind::Directive)
        return token.text;
    return L"!" + token.text + (token.args.empty() ? L"" : L" " + token.args);
}

} // namespace

std::vector<std::wstring> splitArguments(const std::wstring& text)
{
    std::vector<std::wstring> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
            ++i;
        if (i == text.size())
            break;
        std::wstring word;
        bool inQuotes = false;
        while (i < text.size() && (inQuotes || (text[i] != L' ' && text[i] != L'\t'))) {
            if (inQuotes && text[i] == L'\\' && i + 1 < text.size()
                && (text[i + 1] == L'"' || text[i + 1] == L'\\')) {
                word += text[i + 1];
                i += 2;
                continue;
            }
            if (text[i] == L'"')
                inQuotes = !inQuotes;
            else
                word += text[i];
            ++i;
        }
        words.push_back(word);
    }
    return words;
}

void DialogHost::echoInput(const std::wstring& line)
{
    Transcript& out = mSession.transcript();
    const std::wstring& shown = out.text();
    // After a prompt the line reads as its answer; elsewhere it takes a line of its own.
    if (shown.size() < 2 || shown.compare(shown.size() - 2, 2, L": ") != 0)
        out.write(L"\n");
    out.echo(line);
}

void DialogHost::promptFor(const std::wstring& prompt)
{
    write(L"\n" + prompt + L": ");
}

// ---- Modal dialogs ----

INT_PTR DialogHost::runModal(HWND dialog)
{
    Window* window = find(dialog);
    if (window == nullptr)
        return -1;
    // The owner takes no input while the dialog runs.
    const HWND owner = window->parent;
    const bool disableOwner = owner != nullptr && find(owner) != nullptr && find(owner)->enabledStyle();
    if (disableOwner)
        enableWindow(owner, false);
    mModalStack.push_back(dialog);
    struct Restore {
        DialogHost& host;
        HWND dialog;
        HWND owner;
        bool enable;
        ~Restore()
        {
            std::erase(host.mModalStack, dialog);
            try {
                if (enable)
                    host.enableWindow(owner, true);
            } catch (...) {
                // The owner's handler failing while the dialog unwinds cannot stop the unwinding.
            }
        }
    } restore {*this, dialog, owner, disableOwner};

    const std::wstring prompt = L"Dialog " + std::to_wstring(window->id);
    bool inputEnded = false;
    while (true) {
        idle();
        window = find(dialog);
        if (window == nullptr || window->ended)
            break;
        if (inputEnded) {
            // The dialog refused to close: the user closes it anyway.
            endDialog(dialog, IDCANCEL);
            break;
        }
        promptFor(prompt);
        std::optional<InputToken> token = mSession.input().next();
        if (!token) {
            write(L"*end of input*");
            inputEnded = true;
            send(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                reinterpret_cast<LPARAM>(dialogItem(dialog, IDCANCEL)));
            continue;
        }
        switch (token->kind) {
        case InputToken::Kind::Cancel:
            // Esc: the Cancel command, as the dialog manager sends it.
            write(L"*Cancel*");
            send(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                reinterpret_cast<LPARAM>(dialogItem(dialog, IDCANCEL)));
            break;
        case InputToken::Kind::Directive:
            mSession.transcript().echo(tokenLine(*token));
            if (token->text == L"dialog")
                dialogDirective(token->args, dialog);
            else if (token->text == L"answer" || token->text == L"folder")
                write(L"\n*No " + std::wstring(token->text == L"answer" ? L"message box" : L"folder browser")
                    + L" is open*");
            else if (token->text != L"break")
                mSession.editor().handleDirectiveAtPrompt(token->text, token->args);
            break;
        case InputToken::Kind::Text:
            mSession.transcript().echo(token->text);
            write(L"\n*Dialog " + std::to_wstring(find(dialog) != nullptr ? find(dialog)->id : 0)
                + L" is open: the line is ignored*");
            break;
        }
    }
    window = find(dialog);
    const INT_PTR result = window != nullptr && window->ended ? window->result : -1;
    if (window != nullptr) {
        write(L"\n[Dialog " + std::to_wstring(window->id) + L" closed: " + resultName(result) + L"]");
        window->shownOnTranscript = false;
        window->dirty = false;
    }
    return result;
}

// ---- Message boxes and the folder browser ----

int DialogHost::messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)
{
    (void)owner;
    flush();
    const std::vector<MessageButton> buttons = buttonsOf(type);
    std::size_t defaultIndex = (type & MB_DEFMASK) >> 8;
    if (defaultIndex >= buttons.size())
        defaultIndex = 0;
    std::optional<int> escape;
    for (const MessageButton& button : buttons)
        if (button.id == IDCANCEL)
            escape = IDCANCEL;
    if (!escape && (type & MB_TYPEMASK) == MB_OK)
        escape = IDOK;

    std::wstring header = L"\n[Message box \"" + caption + L"\"";
    if (const wchar_t* icon = iconName(type))
        header += std::wstring(L" ") + icon;
    header += L"]";
    std::wstring body = text;
    std::size_t at = 0;
    while ((at = body.find(L'\n', at)) != std::wstring::npos) {
        if (at > 0 && body[at - 1] == L'\r')
            body.erase(--at, 1);
        body.insert(at + 1, L"  ");
        at += 3;
    }
    write(header + L" " + body);
    std::wstring buttonLine = L"\n  Buttons:";
    for (std::size_t i = 0; i < buttons.size(); ++i)
        buttonLine += std::wstring(L" ") + buttons[i].name + (i == defaultIndex ? L"*" : L"");
    write(buttonLine);

    int answer = 0;
    while (answer == 0) {
        promptFor(L"Message box");
        std::optional<InputToken> token = mSession.input().next();
        if (!token) {
            write(L"*end of input*");
            answer = escape.value_or(buttons[defaultIndex].id);
            break;
        }
        switch (token->kind) {
        case InputToken::Kind::Cancel:
            write(L"*Cancel*");
            if (escape)
                answer = *escape;
            else
                write(L"\n*Esc does not close this message box*");
            break;
        case InputToken::Kind::Directive: {
            mSession.transcript().echo(tokenLine(*token));
            if (token->text != L"answer") {
                write(L"\n*A message box is open: the directive is ignored*");
                break;
            }
            const std::wstring wanted = unquote(token->args);
            for (const MessageButton& button : buttons)
                if (equalNoCase(wanted, button.name))
                    answer = button.id;
            if (answer == 0)
                write(L"\n*\"" + wanted + L"\" is not a button of this message box*");
            break;
        }
        case InputToken::Kind::Text:
            mSession.transcript().echo(token->text);
            if (trim(token->text).empty())
                answer = buttons[defaultIndex].id; // Enter presses the default button
            else
                write(L"\n*A message box is open: the line is ignored*");
            break;
        }
    }
    write(L"\n  -> " + resultName(answer));
    return answer;
}

std::optional<std::wstring> DialogHost::browseForFolder(const BROWSEINFOW& info)
{
    flush();
    write(L"\n[Browse for folder]"
        + std::wstring(info.lpszTitle != nullptr ? L" " + std::wstring(info.lpszTitle) : L""));
    // The callback may choose the folder shown first (BFFM_SETSELECTION to the browser's window).
    HWND browser
        = createWindow(WindowClass::FolderBrowser, info.hwndOwner, L"#32770", L"", WS_POPUP, RECT {}, 0)
              .handle;
    if (info.lpfn != nullptr)
        info.lpfn(browser, BFFM_INITIALIZED, 0, info.lParam);
    const std::wstring initial = find(browser) != nullptr ? find(browser)->text : L"";
    if (!initial.empty())
        write(L"\n  Selected: " + initial);
    const bool typed = (info.ulFlags & BIF_EDITBOX) != 0 && (info.ulFlags & BIF_VALIDATE) == 0;

    std::optional<std::wstring> chosen;
    bool done = false;
    while (!done) {
        promptFor(L"Folder");
        std::optional<InputToken> token = mSession.input().next();
        if (!token) {
            write(L"*end of input*");
            break;
        }
        switch (token->kind) {
        case InputToken::Kind::Cancel:
            write(L"*Cancel*");
            done = true;
            break;
        case InputToken::Kind::Directive: {
            mSession.transcript().echo(tokenLine(*token));
            if (token->text != L"folder") {
                write(L"\n*The folder browser is open: the directive is ignored*");
                break;
            }
            const std::wstring path = unquote(token->args);
            if (equalNoCase(path, L"cancel")) {
                done = true;
                break;
            }
            std::error_code error;
            if (path.empty()
                || (!typed && !std::filesystem::is_directory(std::filesystem::path(path), error))) {
                write(L"\n*No folder \"" + path + L"\"*");
                break;
            }
            chosen = path;
            done = true;
            break;
        }
        case InputToken::Kind::Text:
            mSession.transcript().echo(token->text);
            if (trim(token->text).empty() && !initial.empty()) {
                chosen = initial; // Enter takes the folder selected
                done = true;
            } else {
                write(L"\n*The folder browser is open: the line is ignored*");
            }
            break;
        }
    }
    if (find(browser) != nullptr)
        destroyWindow(browser);
    write(L"\n  -> " + (chosen ? *chosen : std::wstring(L"Cancel")));
    return chosen;
}

// ---- "!dialog" ----

HWND DialogHost::resolveDialog(const std::wstring& target, HWND defaultTarget, std::wstring& error) const
{
    auto isDialog = [this](HWND handle) {
        const Window* window = find(handle);
        return window != nullptr && window->windowClass == WindowClass::Dialog;
    };
    if (target.empty()) {
        if (defaultTarget != nullptr && find(defaultTarget) != nullptr)
            return defaultTarget;
        if (!mModalStack.empty())
            return mModalStack.back();
        if (isDialog(mActive) && isVisible(mActive))
            return mActive;
        for (auto it = mTopLevelOrder.rbegin(); it != mTopLevelOrder.rend(); ++it)
            if (isDialog(*it) && isVisible(*it))
                return *it;
        error = L"No dialog is open";
        return nullptr;
    }
    const std::optional<int> id = wholeNumber(target);
    HWND found = nullptr;
    for (auto it = mTopLevelOrder.rbegin(); it != mTopLevelOrder.rend(); ++it) {
        if (!isDialog(*it))
            continue;
        const Window* window = find(*it);
        const bool match = id ? window->id == *id : equalNoCase(window->text, target);
        if (match && isVisible(*it))
            return *it;
        if (match && found == nullptr)
            found = *it;
    }
    error
        = found != nullptr ? L"Dialog " + target + L" is not visible" : L"No dialog " + target + L" is open";
    return nullptr;
}

HWND DialogHost::resolveControl(HWND dialog, const std::wstring& name, std::wstring& error) const
{
    const Window* window = find(dialog);
    std::optional<int> id = wholeNumber(name);
    if (!id && equalNoCase(name, L"OK"))
        id = IDOK;
    if (!id && equalNoCase(name, L"Cancel"))
        id = IDCANCEL;
    HWND found = nullptr;
    for (HWND child : window->children) {
        const Window* control = find(child);
        const bool match = id ? control->id == *id : equalNoCase(control->idName, name);
        if (match && control->visibleStyle())
            return child;
        if (match && found == nullptr)
            found = child;
    }
    if (found != nullptr)
        error = L"Control " + name + L" of dialog " + std::to_wstring(window->id) + L" is hidden";
    else
        error = L"Dialog " + std::to_wstring(window->id) + L" has no control " + name;
    return nullptr;
}

bool DialogHost::hover(HWND dialog, bool enter)
{
    POINT point = mCursor;
    HWND target = nullptr;
    if (enter) {
        const RECT rect = windowRect(dialog);
        point = POINT {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        target = windowAt(dialog, point);
    } else {
        // A point of the drawing view that no visible dialog covers.
        const RECT view = windowRect(mViewHandle);
        point = POINT {(view.left + view.right) / 2, (view.top + view.bottom) / 2};
        auto covered = [this](POINT p) {
            for (HWND top : mTopLevelOrder) {
                const Window* w = find(top);
                if (w->windowClass == WindowClass::Dialog && isVisible(top) && contains(windowRect(top), p))
                    return true;
            }
            return false;
        };
        for (LONG y = view.top + 20; covered(point) && y < view.bottom; y += 40)
            for (LONG x = view.left + 20; x < view.right; x += 40)
                if (!covered(POINT {x, y})) {
                    point = POINT {x, y};
                    break;
                }
        target = mViewHandle;
    }
    mCursor = point;
    const POINT origin = clientOrigin(target);
    MSG message {target, WM_MOUSEMOVE, 0, MAKELPARAM(point.x - origin.x, point.y - origin.y), 0, point};
    if (!CWnd::WalkPreTranslateTree(nullptr, &message))
        send(target, WM_MOUSEMOVE, 0, message.lParam);
    // The host asks the dialog whether it keeps the keyboard focus.
    if (find(dialog) == nullptr)
        return true;
    const bool keep = send(dialog, WM_ACAD_KEEPFOCUS, 0, 0) != 0;
    if (find(dialog) == nullptr)
        return true;
    if (enter && keep) {
        setActive(dialog);
    } else if (!enter && !keep && (mActive == dialog || topLevelOf(mFocus) == dialog)) {
        setActive(mFrameHandle);
        setFocus(mViewHandle);
    }
    write(L"\n  -> focus: "
        + (topLevelOf(mFocus) == dialog ? L"dialog " + std::to_wstring(find(dialog)->id)
                                        : std::wstring(L"drawing")));
    return true;
}

bool DialogHost::dialogDirective(const std::wstring& args, HWND defaultTarget)
{
    std::vector<std::wstring> words = splitArguments(args);
    std::size_t used = 0;
    std::wstring targetName;
    if (!words.empty() && !isAction(words[0])) {
        targetName = words[0];
        ++used;
    }
    auto fail = [this](const std::wstring& reason) {
        write(L"\n*" + reason + L"*");
        return false;
    };
    if (used >= words.size())
        return fail(L"What to do in the dialog? (set, check, uncheck, select, click, dblclick, focus, hover, "
                    L"leave, close)");
    std::wstring action = words[used++];
    std::transform(action.begin(), action.end(), action.begin(), fold);
    if ((action == L"hover" || action == L"leave") && targetName.empty() && used < words.size())
        targetName = words[used++];

    std::wstring error;
    const HWND dialog = resolveDialog(targetName, targetName.empty() ? defaultTarget : nullptr, error);
    if (dialog == nullptr)
        return fail(error);
    const Window* window = find(dialog);
    const std::wstring dialogName = L"Dialog " + std::to_wstring(window->id);
    if (!isVisible(dialog))
        return fail(dialogName + L" is not visible");
    if (action == L"hover" || action == L"leave")
        return hover(dialog, action == L"hover");
    if (!isEnabled(dialog))
        return fail(dialogName + L" is disabled");
    if (action == L"close") {
        send(dialog, WM_CLOSE, 0, 0);
        return true;
    }

    if (used >= words.size())
        return fail(L"Which control?");
    const std::wstring controlName = words[used++];
    const HWND control = resolveControl(dialog, controlName, error);
    if (control == nullptr) {
        // OK and Cancel are Enter and Esc even without such buttons.
        int id = 0;
        if (equalNoCase(controlName, L"OK") || controlName == L"1")
            id = IDOK;
        else if (equalNoCase(controlName, L"Cancel") || controlName == L"2")
            id = IDCANCEL;
        if (action == L"click" && id != 0) {
            send(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            return true;
        }
        return fail(error);
    }
    if (!isEnabled(control))
        return fail(L"Control " + controlName + L" is disabled");
    Window* item = find(control);
    const std::wstring argument = used < words.size() ? unquote(restAfter(args, used)) : L"";

    // Finds a list row: "#n" or a number is its index, other text the first column's text.
    auto rowOf = [this, control](const std::wstring& text) -> int {
        const Window* list = find(control);
        const std::wstring digits = !text.empty() && text[0] == L'#' ? text.substr(1) : text;
        if (std::optional<int> index = wholeNumber(digits))
            return *index >= 0 && *index < static_cast<int>(list->rows.size()) ? *index : -1;
        for (std::size_t i = 0; i < list->rows.size(); ++i)
            if (!list->rows[i].cells.empty() && equalNoCase(list->rows[i].cells[0], text))
                return static_cast<int>(i);
        return -1;
    };
    auto notifyRow = [this, control](int row, UINT code) {
        NMITEMACTIVATE notice {};
        notice.hdr.code = code;
        notice.iItem = row;
        notice.iSubItem = 0;
        notice.ptAction = POINT {8, kListHeaderHeight + row * kListRowHeight + kListRowHeight / 2};
        notifyParent(control, notice.hdr);
    };
    // Whether changes made before the user's own one wait to be shown (they are not taken as seen).
    auto pendingChanges = [this, dialog] {
        const Window* w = find(dialog);
        return w != nullptr && w->dirty;
    };
    // A click on a row: the focus, the selection (the user's own change), then the notifications.
    auto clickRow = [this, control, notifyRow, pendingChanges](int row) {
        setFocus(control);
        if (find(control) == nullptr)
            return;
        const bool pending = pendingChanges();
        const std::vector<RowChange> changes = selectListRow(control, row);
        if (!pending)
            acceptUserChange(control);
        announceListChanges(control, changes);
        if (find(control) != nullptr)
            notifyRow(row, NM_CLICK);
    };

    if (action == L"focus") {
        setFocus(control);
        return true;
    }
    if (action == L"set") {
        const bool edit = item->windowClass == WindowClass::Edit;
        const bool combo = item->windowClass == WindowClass::ComboBox && item->editableCombo();
        if (!edit && !combo)
            return fail(L"Control " + controlName + L" takes no typed text");
        if (edit && (item->style & ES_READONLY) != 0)
            return fail(L"Control " + controlName + L" is read-only");
        std::wstring text = argument;
        if (edit && (item->style & ES_NUMBER) != 0
            && !std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
            return fail(L"Control " + controlName + L" takes digits only");
        setFocus(control);
        item = find(control);
        if (item == nullptr)
            return true;
        if (item->limit > 0 && static_cast<int>(text.size()) > item->limit)
            text.resize(static_cast<std::size_t>(item->limit)); // what does not fit is not typed
        const bool pending = pendingChanges();
        item->text = text;
        item->selectionStart = item->selectionEnd = static_cast<int>(text.size());
        if (combo) {
            item->selection = -1;
            for (std::size_t i = 0; i < item->items.size(); ++i)
                if (item->items[i].text == text)
                    item->selection = static_cast<int>(i);
        }
        changed(control);
        if (!pending)
            acceptUserChange(control);
        notifyParent(control, edit ? EN_UPDATE : CBN_EDITUPDATE);
        notifyParent(control, edit ? EN_CHANGE : CBN_EDITCHANGE);
        return true;
    }
    if (action == L"check" || action == L"uncheck") {
        if (item->kind != ControlKind::CheckBox && item->kind != ControlKind::RadioButton)
            return fail(L"Control " + controlName + L" is not a check box or radio button");
        const int wanted = action == L"check" ? BST_CHECKED : BST_UNCHECKED;
        if (item->kind == ControlKind::RadioButton && wanted == BST_UNCHECKED)
            return fail(L"A radio button goes off when another of its group is checked");
        if (item->check == wanted)
            return true;
        setFocus(control);
        if (Window* button = find(control)) {
            const bool pending = pendingChanges();
            const int type = button->buttonType();
            if (type == BS_AUTORADIOBUTTON)
                clickButtonState(control);
            else if (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE)
                setButtonCheck(control, wanted);
            if (!pending)
                acceptUserChange(control);
            notifyParent(control, BN_CLICKED);
        }
        return true;
    }
    if (action == L"select") {
        if (item->windowClass == WindowClass::ListView) {
            const int row = rowOf(argument);
            if (row < 0)
                return fail(L"List " + controlName + L" has no row " + argument);
            clickRow(row);
            return true;
        }
        if (item->windowClass != WindowClass::ComboBox)
            return fail(L"Control " + controlName + L" has no items to select");
        int index = -1;
        if (!argument.empty() && argument[0] == L'#') {
            const std::optional<int> number = wholeNumber(argument.substr(1));
            if (number && *number >= 0 && *number < static_cast<int>(item->items.size()))
                index = *number;
        } else {
            for (std::size_t i = 0; i < item->items.size() && index < 0; ++i)
                if (equalNoCase(item->items[i].text, argument))
                    index = static_cast<int>(i);
        }
        if (index < 0)
            return fail(L"Combo box " + controlName + L" has no item " + argument);
        setFocus(control);
        item = find(control);
        if (item == nullptr)
            return true;
        const bool pending = pendingChanges();
        item->selection = index;
        item->text = item->items[static_cast<std::size_t>(index)].text;
        changed(control);
        if (!pending)
            acceptUserChange(control);
        notifyParent(control, CBN_SELENDOK);
        notifyParent(control, CBN_SELCHANGE);
        return true;
    }
    if (action == L"click" || action == L"dblclick") {
        if (item->windowClass == WindowClass::ListView) {
            const int row = rowOf(argument);
            if (row < 0)
                return fail(L"List " + controlName + L" has no row " + argument);
            clickRow(row);
            if (action == L"dblclick" && find(control) != nullptr)
                notifyRow(row, NM_DBLCLK);
            return true;
        }
        if (action == L"dblclick")
            return fail(L"Control " + controlName + L" is not a list");
        if (item->windowClass != WindowClass::Button && item->windowClass != WindowClass::Static)
            return fail(L"Control " + controlName + L" cannot be clicked");
        setFocus(control);
        if (find(control) != nullptr) {
            const bool pending = pendingChanges();
            clickButtonState(control);
            if (!pending)
                acceptUserChange(control);
            notifyParent(control, BN_CLICKED);
        }
        return true;
    }
    return fail(L"Unknown dialog action \"" + action + L"\"");
}

} // namespace arxhost
