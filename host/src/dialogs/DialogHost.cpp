// The host's screen: windows and their messages, geometry, activation and focus, images, the command line.
#include "dialogs/DialogHost.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/Diagnostics.h"
#include "dbapserv.h"
#include "dialogs/WindowHooks.h"
#include "editor/Editor.h"
#include "editor/Transcript.h"
#include "resources/ResourceScript.h"
#include "rx/ModuleLoader.h"
#include "rxmfcapi.h"
#include "text/Utf8.h"

namespace arxhost {

namespace {

const char kExtensionKey = 0;

std::unique_ptr<SessionExtension> makeDialogHost(Session& session)
{
    return std::make_unique<DialogHost>(session);
}

// Every session gets a screen.
const bool kRegistered = (Session::registerExtension(&kExtensionKey, &makeDialogHost), true);

// The host's main window and drawing view as MFC objects.
class HostFrame : public CMDIFrameWnd { };
class HostView : public CView {
public:
    void OnDraw(CDC*) override { }
};

// Pops the message stack however the window procedure ends.
class MessageScope {
public:
    MessageScope(std::vector<DialogHost::CurrentMessage>& stack, const DialogHost::CurrentMessage& message)
        : mStack(stack)
    {
        mStack.push_back(message);
    }
    ~MessageScope() { mStack.pop_back(); }
    MessageScope(const MessageScope&) = delete;
    MessageScope& operator=(const MessageScope&) = delete;

private:
    std::vector<DialogHost::CurrentMessage>& mStack;
};

WindowClass classOfKind(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Static:
    case ControlKind::Icon:
        return WindowClass::Static;
    case ControlKind::Edit:
        return WindowClass::Edit;
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::GroupBox:
        return WindowClass::Button;
    case ControlKind::ComboBox:
        return WindowClass::ComboBox;
    case ControlKind::ListBox:
        return WindowClass::ListBox;
    case ControlKind::ListView:
        return WindowClass::ListView;
    case ControlKind::Other:
        break;
    }
    return WindowClass::Other;
}

ResourceScript parseModuleScript(const LoadedModule& module)
{
    const auto& files = module.resources.files;
    if (files.empty())
        return {};
    IncludeResolver resolver = [&files](std::string_view name) -> std::optional<std::string> {
        for (const auto& [fileName, text] : files)
            if (fileName == name)
                return text;
        return std::nullopt;
    };
    return parseResourceScript(files.front().second, resolver, files.front().first);
}

// The modules whose resources are searched, the preferred one first, then the current resource module,
// then every other in load order.
std::vector<LoadedModule*> resourceCandidates(Session& session, HINSTANCE preferred)
{
    std::vector<LoadedModule*> candidates;
    ModuleLoader& loader = session.modules();
    auto add = [&candidates](LoadedModule* module) {
        if (module != nullptr && std::find(candidates.begin(), candidates.end(), module) == candidates.end())
            candidates.push_back(module);
    };
    if (preferred != nullptr)
        add(loader.byInstance(preferred));
    add(loader.byInstance(loader.currentResourceHandle()));
    for (const std::wstring& name : loader.names())
        add(loader.find(name));
    return candidates;
}

bool contains(const RECT& rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

} // namespace

DialogHost::DialogHost(Session& session)
    : mSession(session)
{
    (void)kRegistered;
    Window& frame = createWindow(WindowClass::Frame, nullptr, L"AfxMDIFrame", applicationTitle(),
        WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_MAXIMIZE, kFrameRect, 0);
    mFrameHandle = frame.handle;
    mImages[mNextImage] = Image {true, 0, L"(host)"};
    mHostIcon = reinterpret_cast<HICON>(mNextImage++);
    frame.smallIcon = mHostIcon;
    frame.bigIcon = mHostIcon;
    mFrame = std::make_unique<HostFrame>();
    attach(mFrameHandle, *mFrame);

    Window& view
        = createWindow(WindowClass::View, mFrameHandle, L"AfxView", L"", WS_CHILD | WS_VISIBLE, kViewRect, 0);
    mViewHandle = view.handle;
    mView = std::make_unique<HostView>();
    attach(mViewHandle, *mView);
    mFrame->SetActiveView(mView.get());
    mActive = mFrameHandle;
    mFocus = mViewHandle;

    Editor& editor = mSession.editor();
    editor.registerDirective(L"dialog", [this](const std::wstring& args) {
        echoInput(L"!dialog " + args);
        try {
            return dialogDirective(args, nullptr);
        } catch (const RuleViolation&) {
            throw;
        } catch (const std::exception& e) {
            // A handler failing, as the framework's window procedure reports it.
            write(L"\n*Error in a dialog: " + fromUtf8(e.what()) + L"*");
            return false;
        }
    });
    auto noBox = [this](const std::wstring& name) {
        return [this, name](const std::wstring& args) {
            echoInput(L"!" + name + (args.empty() ? L"" : L" " + args));
            write(L"\n*No " + std::wstring(name == L"answer" ? L"message box" : L"folder browser")
                + L" is open*");
            return false;
        };
    };
    editor.registerDirective(L"answer", noBox(L"answer"));
    editor.registerDirective(L"folder", noBox(L"folder"));
}

DialogHost::~DialogHost()
{
    Editor& editor = mSession.editor();
    editor.unregisterDirective(L"dialog");
    editor.unregisterDirective(L"answer");
    editor.unregisterDirective(L"folder");
    // The modules are gone: their objects are let go without calls into their code.
    for (auto& [handle, window] : mWindows) {
        if (window->wrapper != nullptr)
            window->wrapper->m_hWnd = nullptr;
        if (window->temporary)
            window->temporary->m_hWnd = nullptr;
    }
    mWindows.clear();
}

DialogHost* DialogHost::current()
{
    Session* session = Session::currentOrNull();
    if (session == nullptr)
        return nullptr;
    return static_cast<DialogHost*>(session->extension(&kExtensionKey));
}

void DialogHost::idle()
{
    deliverPosted();
    flush();
}

// ---- Windows ----

Window* DialogHost::find(HWND handle) const
{
    if (handle == nullptr)
        return nullptr;
    auto it = mWindows.find(handle);
    return it == mWindows.end() ? nullptr : it->second.get();
}

Window& DialogHost::createWindow(WindowClass windowClass, HWND parent, const std::wstring& className,
    const std::wstring& text, DWORD style, const RECT& rect, int id)
{
    auto window = std::make_unique<Window>();
    window->handle = reinterpret_cast<HWND>(mNextHandle++);
    window->windowClass = windowClass;
    window->className = className;
    window->kind = classifyControl(className, style);
    window->text = text;
    window->style = style;
    window->rect = rect;
    window->id = id;
    window->parent = parent;
    Window& result = *window;
    mWindows.emplace(result.handle, std::move(window));
    if (result.isChild()) {
        if (Window* p = find(parent))
            p->children.push_back(result.handle);
    } else {
        mTopLevelOrder.push_back(result.handle);
    }
    return result;
}

LoadedModule* DialogHost::resourceModule(HINSTANCE preferred, int dialogId) const
{
    for (LoadedModule* module : resourceCandidates(mSession, preferred)) {
        try {
            if (parseModuleScript(*module).dialog(dialogId) != nullptr)
                return module;
        } catch (const std::exception&) {
            // A module whose script cannot be read has no dialogs to offer.
        }
    }
    return nullptr;
}

void DialogHost::executeDialogInit(HWND dialog)
{
    const auto pending = mDialogInit.find(dialog);
    if (pending == mDialogInit.end())
        return;
    const std::vector<DialogInitItem> items = std::move(pending->second);
    mDialogInit.erase(pending);
    for (const DialogInitItem& item : items) {
        // The resource editor writes the 16-bit messages; MFC translates them.
        UINT message = 0;
        if (item.message == 0x0401)
            message = LB_ADDSTRING;
        else if (item.message == 0x0403)
            message = CB_ADDSTRING;
        const HWND control = ::GetDlgItem(dialog, item.controlId);
        if (message != 0 && control != nullptr)
            send(control, message, 0, reinterpret_cast<LPARAM>(item.text.c_str()));
    }
}

HWND DialogHost::createDialog(CDialog& dialog, UINT templateId, HINSTANCE resource, HWND owner, bool modal)
{
    const int id = static_cast<int>(templateId);
    LoadedModule* module = resourceModule(resource, id);
    if (module == nullptr) {
        std::fprintf(stderr, "planroad: no dialog template %d in the resources of the loaded modules\n", id);
        return nullptr;
    }
    const ResourceScript script = parseModuleScript(*module);
    const DialogTemplate& dlg = *script.dialog(id);

    HWND ownerHandle = owner != nullptr ? topLevelOf(owner) : mFrameHandle;
    if (find(ownerHandle) == nullptr)
        ownerHandle = mFrameHandle;
    const DWORD style = (dlg.style & ~static_cast<DWORD>(WS_VISIBLE | WS_CHILD)) | WS_POPUP;
    Window& window
        = createWindow(WindowClass::Dialog, ownerHandle, L"#32770", dlg.caption, style, RECT {}, id);
    const HWND handle = window.handle;
    window.idName = dlg.idName;
    window.modal = modal;
    window.exStyle = dlg.exStyle;
    if (dlg.fontSize > 0) {
        window.baseUnitX = std::max(1, (7 * dlg.fontSize + 4) / 9);
        window.baseUnitY = std::max(1, (16 * dlg.fontSize + 4) / 9);
    }
    if ((style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) != 0 || (style & DS_MODALFRAME) != 0)
        window.margins = RECT {kBorder, kBorder, kBorder, kBorder};
    if ((style & WS_CAPTION) == WS_CAPTION)
        window.margins.top += kCaption;

    const RECT client = mapDialogRect(handle, RECT {dlg.x, dlg.y, dlg.x + dlg.cx, dlg.y + dlg.cy});
    const int width = client.right - client.left + window.margins.left + window.margins.right;
    const int height = client.bottom - client.top + window.margins.top + window.margins.bottom;
    POINT origin = (dlg.style & DS_ABSALIGN) != 0 ? POINT {0, 0} : clientOrigin(ownerHandle);
    window.rect = RECT {origin.x + client.left, origin.y + client.top, origin.x + client.left + width,
        origin.y + client.top + height};
    if ((dlg.style & DS_CENTER) != 0)
        centerWindow(handle, nullptr);

    dialog.m_hWnd = handle;
    window.wrapper = &dialog;
    if (const auto items = script.dialogInit.find(id); items != script.dialogInit.end())
        mDialogInit[handle] = items->second;

    HINSTANCE instance = module->instance();
    for (const ControlTemplate& control : dlg.controls) {
        const WindowClass controlClass = classOfKind(control.kind);
        RECT rect = mapDialogRect(
            handle, RECT {control.x, control.y, control.x + control.cx, control.y + control.cy});
        if (controlClass == WindowClass::ComboBox)
            rect.bottom = rect.top + std::min<LONG>(rect.bottom - rect.top, (12 * window.baseUnitY) / 8);
        Window& item = createWindow(controlClass, handle, control.className,
            control.textIsResourceId ? L"" : control.text, control.style | WS_CHILD, rect, control.id);
        item.kind = control.kind;
        item.idName = control.idName;
        item.exStyle = control.exStyle;
        if (control.textIsResourceId) {
            const DWORD type = control.style & SS_TYPEMASK;
            const bool icon
                = control.kind == ControlKind::Icon ? type == SS_ICON : (control.style & BS_ICON) != 0;
            HGDIOBJ image = loadImage(instance, control.textResourceId, icon);
            if (icon)
                item.icon = static_cast<HICON>(image);
            else
                item.bitmap = static_cast<HBITMAP>(image);
        }
        if (control.kind == ControlKind::DefPushButton && find(handle)->defaultId == 0)
            find(handle)->defaultId = static_cast<UINT>(control.id);
    }

    HWND firstTab = nullptr;
    for (HWND child : find(handle)->children) {
        const Window* c = find(child);
        if ((c->style & WS_TABSTOP) != 0 && c->visibleStyle() && c->enabledStyle()) {
            firstTab = child;
            break;
        }
    }
    const LRESULT focusFirst = send(handle, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTab), 0);
    if (find(handle) == nullptr)
        return nullptr;
    if (modal || (dlg.style & WS_VISIBLE) != 0)
        showWindow(handle, SW_SHOWNORMAL);
    if (focusFirst != 0 && firstTab != nullptr && find(firstTab) != nullptr && isVisible(handle))
        setFocus(firstTab);
    return find(handle) != nullptr ? handle : nullptr;
}

bool DialogHost::destroyWindow(HWND handle)
{
    Window* window = find(handle);
    if (window == nullptr || window->destroying || handle == mFrameHandle)
        return false;
    window->destroying = true;
    mDialogInit.erase(handle);
    if (!window->isChild()) {
        // The windows it owns go first.
        std::vector<HWND> owned;
        for (HWND top : mTopLevelOrder)
            if (top != handle && find(top) != nullptr && find(top)->parent == handle)
                owned.push_back(top);
        for (HWND top : owned)
            destroyWindow(top);
        window = find(handle);
        if (window->windowClass == WindowClass::Dialog && window->shownOnTranscript && !window->modal)
            write(L"\n[Dialog " + std::to_wstring(window->id) + L" closed]");
        window->shownOnTranscript = false;
    }
    // The focus and the activation leave the window.
    if (within(mFocus, handle))
        mFocus = nullptr;
    if (mActive == handle) {
        mActive = nullptr;
        HWND owner = find(handle)->parent;
        setActive(owner != nullptr && find(owner) != nullptr ? owner : mFrameHandle);
    }

    send(handle, WM_DESTROY, 0, 0);
    std::vector<HWND> children = find(handle)->children;
    for (HWND child : children)
        destroyWindow(child);
    send(handle, WM_NCDESTROY, 0, 0);

    window = find(handle);
    CWnd* wrapper = window->wrapper;
    if (wrapper != nullptr)
        wrapper->m_hWnd = nullptr;
    if (window->temporary)
        window->temporary->m_hWnd = nullptr;
    if (window->isChild()) {
        if (Window* parent = find(window->parent))
            std::erase(parent->children, handle);
    } else {
        std::erase(mTopLevelOrder, handle);
    }
    if (mFocus == nullptr && mActive != nullptr)
        mFocus = mActive == mFrameHandle ? mViewHandle : nullptr;
    mWindows.erase(handle);
    if (wrapper != nullptr)
        WindowHooks::postNcDestroy(*wrapper);
    return true;
}

LRESULT DialogHost::send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* window = find(handle);
    if (window == nullptr)
        return 0;
    MessageScope scope(mMessages, CurrentMessage {handle, message, wParam, lParam});
    if (window->wrapper != nullptr)
        return WindowHooks::windowProc(*window->wrapper, message, wParam, lParam);
    return defaultProc(handle, message, wParam, lParam);
}

bool DialogHost::post(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (find(handle) == nullptr)
        return false;
    mPosted.push_back(Posted {handle, message, wParam, lParam});
    return true;
}

void DialogHost::deliverPosted()
{
    // A window that keeps posting to itself does not hang the host.
    for (int delivered = 0; !mPosted.empty() && delivered < 10000; ++delivered) {
        Posted posted = mPosted.front();
        mPosted.pop_front();
        send(posted.handle, posted.message, posted.wParam, posted.lParam);
    }
}

const DialogHost::CurrentMessage* DialogHost::currentMessage() const
{
    return mMessages.empty() ? nullptr : &mMessages.back();
}

bool DialogHost::attach(HWND handle, CWnd& wrapper)
{
    Window* window = find(handle);
    if (window == nullptr || (window->wrapper != nullptr && window->wrapper != &wrapper))
        return false;
    window->wrapper = &wrapper;
    wrapper.m_hWnd = handle;
    return true;
}

CWnd* DialogHost::detach(HWND handle)
{
    Window* window = find(handle);
    if (window == nullptr || window->wrapper == nullptr)
        return nullptr;
    CWnd* wrapper = window->wrapper;
    window->wrapper = nullptr;
    wrapper->m_hWnd = nullptr;
    return wrapper;
}

CWnd* DialogHost::wrapperOf(HWND handle, bool makeTemporary)
{
    Window* window = find(handle);
    if (window == nullptr)
        return nullptr;
    if (window->wrapper != nullptr)
        return window->wrapper;
    if (!makeTemporary)
        return nullptr;
    if (!window->temporary) {
        window->temporary = std::make_unique<CWnd>();
        window->temporary->m_hWnd = handle;
    }
    return window->temporary.get();
}

HWND DialogHost::dialogItem(HWND dialog, int id) const
{
    const Window* window = find(dialog);
    if (window == nullptr)
        return nullptr;
    for (HWND child : window->children)
        if (find(child)->id == id)
            return child;
    return nullptr;
}

HWND DialogHost::topLevelOf(HWND handle) const
{
    const Window* window = find(handle);
    while (window != nullptr && window->isChild() && find(window->parent) != nullptr)
        window = find(window->parent);
    return window != nullptr ? window->handle : nullptr;
}

bool DialogHost::within(HWND handle, HWND ancestor) const
{
    for (const Window* window = find(handle); window != nullptr;
         window = window->isChild() ? find(window->parent) : nullptr)
        if (window->handle == ancestor)
            return true;
    return false;
}

bool DialogHost::isVisible(HWND handle) const
{
    for (const Window* window = find(handle); window != nullptr;
         window = window->isChild() ? find(window->parent) : nullptr)
        if (!window->visibleStyle())
            return false;
    return find(handle) != nullptr;
}

bool DialogHost::isEnabled(HWND handle) const
{
    for (const Window* window = find(handle); window != nullptr;
         window = window->isChild() ? find(window->parent) : nullptr)
        if (!window->enabledStyle())
            return false;
    return find(handle) != nullptr;
}

bool DialogHost::enableWindow(HWND handle, bool enable)
{
    Window* window = find(handle);
    if (window == nullptr)
        return false;
    const bool wasDisabled = !window->enabledStyle();
    if (wasDisabled == enable) {
        window->style
            = enable ? window->style & ~static_cast<DWORD>(WS_DISABLED) : window->style | WS_DISABLED;
        // A control going grey is shown; a dialog disabled under a modal one is not shown again for it.
        if (window->isChild())
            changed(handle);
        send(handle, WM_ENABLE, enable ? TRUE : FALSE, 0);
    }
    return wasDisabled;
}

void DialogHost::setText(HWND handle, const std::wstring& text)
{
    Window* window = find(handle);
    if (window == nullptr || window->text == text)
        return;
    window->text = text;
    changed(handle);
}

// ---- Geometry ----

RECT DialogHost::windowRect(HWND handle) const
{
    const Window* window = find(handle);
    if (window == nullptr)
        return RECT {0, 0, 0, 0};
    if (!window->isChild())
        return window->rect;
    const POINT origin = clientOrigin(window->parent);
    return RECT {origin.x + window->rect.left, origin.y + window->rect.top, origin.x + window->rect.right,
        origin.y + window->rect.bottom};
}

RECT DialogHost::clientRect(HWND handle) const
{
    const Window* window = find(handle);
    if (window == nullptr)
        return RECT {0, 0, 0, 0};
    return RECT {0, 0, std::max(0, window->clientWidth()), std::max(0, window->clientHeight())};
}

POINT DialogHost::clientOrigin(HWND handle) const
{
    const Window* window = find(handle);
    if (window == nullptr)
        return POINT {0, 0};
    const RECT rect = windowRect(handle);
    return POINT {rect.left + window->margins.left, rect.top + window->margins.top};
}

bool DialogHost::setWindowPos(HWND handle, int x, int y, int cx, int cy, UINT flags)
{
    Window* window = find(handle);
    if (window == nullptr)
        return false;
    const RECT before = window->rect;
    RECT& rect = window->rect;
    if ((flags & SWP_NOMOVE) == 0) {
        const int w = rect.right - rect.left;
        const int h = rect.bottom - rect.top;
        rect = RECT {x, y, x + w, y + h};
    }
    if ((flags & SWP_NOSIZE) == 0) {
        rect.right = rect.left + std::max(0, cx);
        rect.bottom = rect.top + std::max(0, cy);
    }
    const bool moved = rect.left != before.left || rect.top != before.top;
    const bool sized = rect.right - rect.left != before.right - before.left
        || rect.bottom - rect.top != before.bottom - before.top;
    if (moved) {
        const POINT origin = window->isChild() ? POINT {rect.left, rect.top} : clientOrigin(handle);
        send(handle, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    }
    if (sized && find(handle) != nullptr) {
        const RECT client = clientRect(handle);
        send(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    }
    if ((flags & SWP_SHOWWINDOW) != 0)
        showWindow(handle, (flags & SWP_NOACTIVATE) != 0 ? SW_SHOWNA : SW_SHOW);
    if ((flags & SWP_HIDEWINDOW) != 0)
        showWindow(handle, SW_HIDE);
    if ((flags & SWP_NOACTIVATE) == 0 && find(handle) != nullptr && !find(handle)->isChild()
        && isVisible(handle))
        setActive(handle);
    return true;
}

void DialogHost::centerWindow(HWND handle, HWND alternateOwner)
{
    Window* window = find(handle);
    if (window == nullptr)
        return;
    if (window->isChild()) {
        const RECT parent = clientRect(window->parent);
        const int x = (parent.right - window->width()) / 2;
        const int y = (parent.bottom - window->height()) / 2;
        setWindowPos(handle, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    HWND owner = alternateOwner != nullptr ? topLevelOf(alternateOwner) : window->parent;
    RECT area = kFrameRect; // the screen's work area
    if (owner != nullptr && isVisible(owner))
        area = windowRect(owner);
    int x = area.left + (area.right - area.left - window->width()) / 2;
    int y = area.top + (area.bottom - area.top - window->height()) / 2;
    // Kept on the work area, as Windows does.
    x = std::max<int>(kFrameRect.left, std::min<int>(x, kFrameRect.right - window->width()));
    y = std::max<int>(kFrameRect.top, std::min<int>(y, kFrameRect.bottom - window->height()));
    setWindowPos(handle, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT DialogHost::mapDialogRect(HWND dialog, const RECT& units) const
{
    const Window* window = find(dialog);
    const int bx = window != nullptr ? window->baseUnitX : 7;
    const int by = window != nullptr ? window->baseUnitY : 16;
    return RECT {MulDiv(units.left, bx, 4), MulDiv(units.top, by, 8), MulDiv(units.right, bx, 4),
        MulDiv(units.bottom, by, 8)};
}

HWND DialogHost::windowAt(HWND topLevel, POINT screen) const
{
    const Window* window = find(topLevel);
    if (window == nullptr)
        return nullptr;
    // Later children are drawn over earlier ones, so the last that contains the point wins.
    for (auto it = window->children.rbegin(); it != window->children.rend(); ++it) {
        const Window* child = find(*it);
        if (child->visibleStyle() && contains(windowRect(*it), screen))
            return windowAt(*it, screen);
    }
    return topLevel;
}

// ---- Visibility, activation and focus ----

bool DialogHost::showWindow(HWND handle, int command)
{
    Window* window = find(handle);
    if (window == nullptr)
        return false;
    const bool wasVisible = window->visibleStyle();
    const bool show = command != SW_HIDE;
    if (show != wasVisible) {
        window->style = show ? window->style | WS_VISIBLE : window->style & ~static_cast<DWORD>(WS_VISIBLE);
        send(handle, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    }
    window = find(handle);
    if (window == nullptr)
        return wasVisible;
    if (window->isChild()) {
        if (show != wasVisible)
            changed(handle);
        return wasVisible;
    }
    if (show) {
        std::erase(mTopLevelOrder, handle);
        mTopLevelOrder.push_back(handle);
        if (window->windowClass == WindowClass::Dialog && !wasVisible)
            window->dirty = true;
        const bool activate
            = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE && command != SW_SHOWMINNOACTIVE;
        if (activate)
            setActive(handle);
    } else {
        if (window->windowClass == WindowClass::Dialog && window->shownOnTranscript && !window->modal)
            write(L"\n[Dialog " + std::to_wstring(window->id) + L" hidden]");
        window->shownOnTranscript = false;
        window->dirty = false;
        if (mActive == handle) {
            HWND owner = window->parent;
            setActive(owner != nullptr && isVisible(owner) ? owner : mFrameHandle);
        }
    }
    return wasVisible;
}

HWND DialogHost::setFocus(HWND handle)
{
    const HWND old = mFocus;
    if (old == handle || (handle != nullptr && find(handle) == nullptr))
        return old;
    mFocus = handle;
    if (Window* previous = find(old)) {
        send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(handle), 0);
        if (previous->windowClass == WindowClass::Edit)
            notifyParent(old, EN_KILLFOCUS);
        else if (find(old) != nullptr && find(old)->windowClass == WindowClass::ComboBox)
            notifyParent(old, CBN_KILLFOCUS);
    }
    if (Window* next = find(handle); next != nullptr && mFocus == handle) {
        if (topLevelOf(handle) != mActive)
            setActive(topLevelOf(handle));
        send(handle, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
        if (find(handle) != nullptr && find(handle)->windowClass == WindowClass::Edit)
            notifyParent(handle, EN_SETFOCUS);
        else if (find(handle) != nullptr && find(handle)->windowClass == WindowClass::ComboBox)
            notifyParent(handle, CBN_SETFOCUS);
    }
    return old;
}

HWND DialogHost::setActive(HWND handle)
{
    const HWND old = mActive;
    handle = topLevelOf(handle);
    if (old == handle || find(handle) == nullptr)
        return old;
    mActive = handle;
    std::erase(mTopLevelOrder, handle);
    mTopLevelOrder.push_back(handle);
    if (find(old) != nullptr)
        send(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(handle));
    if (find(handle) != nullptr)
        send(handle, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
    // The focus follows into the window that became active.
    if (mActive == handle && (mFocus == nullptr || topLevelOf(mFocus) != handle)) {
        HWND target = handle == mFrameHandle ? mViewHandle : handle;
        if (const Window* window = find(handle); window != nullptr && handle != mFrameHandle) {
            for (HWND child : window->children) {
                const Window* c = find(child);
                if ((c->style & WS_TABSTOP) != 0 && c->visibleStyle() && c->enabledStyle()) {
                    target = child;
                    break;
                }
            }
        }
        setFocus(target);
    }
    return old;
}

CMDIFrameWnd* DialogHost::frame() const
{
    return mFrame.get();
}

CView* DialogHost::view() const
{
    return mView.get();
}

// ---- Images ----

HGDIOBJ DialogHost::loadImage(HINSTANCE module, int resourceId, bool icon)
{
    for (LoadedModule* candidate : resourceCandidates(mSession, module)) {
        try {
            const ResourceScript script = parseModuleScript(*candidate);
            const auto& table = icon ? script.icons : script.bitmaps;
            auto it = table.find(resourceId);
            if (it == table.end())
                continue;
            mImages[mNextImage] = Image {icon, resourceId, fromUtf8(it->second)};
            return reinterpret_cast<HGDIOBJ>(mNextImage++);
        } catch (const std::exception&) {
            // A module whose script cannot be read has no images to offer.
        }
        if (module != nullptr)
            break; // a named module is the only one searched
    }
    return nullptr;
}

bool DialogHost::deleteImage(HGDIOBJ image)
{
    const auto key = reinterpret_cast<std::uintptr_t>(image);
    if (image == mHostIcon)
        return true; // shared by the host, never freed
    return mImages.erase(key) != 0;
}

std::wstring DialogHost::describeImage(HGDIOBJ image) const
{
    auto it = mImages.find(reinterpret_cast<std::uintptr_t>(image));
    if (it == mImages.end())
        return image == nullptr ? L"" : L"image (unknown)";
    return std::wstring(it->second.icon ? L"icon " : L"bitmap ") + it->second.file;
}

// ---- Dialogs ----

void DialogHost::endDialog(HWND dialog, INT_PTR result)
{
    Window* window = find(dialog);
    if (window == nullptr)
        return;
    window->result = result;
    window->ended = true;
    if (!window->modal)
        showWindow(dialog, SW_HIDE);
}

HWND DialogHost::setLockout(HWND dialog)
{
    const HWND previous = mLockout;
    mLockout = dialog;
    return previous;
}

// ---- The command line ----

void DialogHost::changed(HWND handle)
{
    Window* top = find(topLevelOf(handle));
    if (top != nullptr && top->windowClass == WindowClass::Dialog)
        top->dirty = true;
}

void DialogHost::acceptUserChange(HWND handle)
{
    Window* top = find(topLevelOf(handle));
    if (top != nullptr && top->windowClass == WindowClass::Dialog && top->shownOnTranscript && top->dirty) {
        top->shownText = describeDialog(*this, *top);
        top->dirty = false;
    }
}

void DialogHost::flush()
{
    const std::vector<HWND> order = mTopLevelOrder;
    for (HWND handle : order) {
        Window* window = find(handle);
        if (window == nullptr || window->windowClass != WindowClass::Dialog || !window->dirty)
            continue;
        if (!isVisible(handle))
            continue;
        window->dirty = false;
        std::wstring text = describeDialog(*this, *window);
        if (window->shownOnTranscript && text == window->shownText)
            continue;
        write(L"\n" + text);
        window->shownText = std::move(text);
        window->shownOnTranscript = true;
    }
}

void DialogHost::write(const std::wstring& text)
{
    mSession.transcript().write(text);
}

std::wstring DialogHost::applicationTitle() const
{
    return mSession.services().product();
}

std::filesystem::path DialogHost::userDataFile() const
{
    std::filesystem::path folder = mSession.options().userDataDir;
    if (folder.empty()) {
        const char* config = std::getenv("XDG_CONFIG_HOME");
        const char* home = std::getenv("HOME");
        if (config != nullptr && *config != 0)
            folder = std::filesystem::path(config) / "planroad";
        else if (home != nullptr && *home != 0)
            folder = std::filesystem::path(home) / ".config" / "planroad";
        else
            folder = std::filesystem::path(".planroad");
    }
    return folder / "dialogs.ini";
}

} // namespace arxhost
