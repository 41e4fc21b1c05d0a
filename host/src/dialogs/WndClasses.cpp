// MFC's object root, command targets with their message maps, and CWnd over the host's windows.
#include <cstring>
#include <vector>

#include "dialogs/DialogHost.h"
#include "dialogs/WindowHooks.h"

using arxhost::DialogHost;

// ---- Run-time classes ----

CObject* CRuntimeClass::CreateObject()
{
    return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const
{
    for (const CRuntimeClass* c = this; c != nullptr;
         c = c->m_pfnGetBaseClass != nullptr ? c->m_pfnGetBaseClass() : nullptr)
        if (c == pBaseClass)
            return TRUE;
    return FALSE;
}

const CRuntimeClass CObject::classCObject
    = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr, nullptr, nullptr};

CRuntimeClass* CObject::GetThisClass()
{
    return _RUNTIME_CLASS(CObject);
}

CRuntimeClass* CObject::GetRuntimeClass() const
{
    return _RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const
{
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

// ---- Message maps ----

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

BOOL CCmdTarget::DispatchToMessageMap(
    UINT message, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map != nullptr;
         map = map->pfnGetBaseMap != nullptr ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn != nullptr; ++entry) {
            if (entry->nMessage != message)
                continue;
            if ((message == WM_COMMAND || message == WM_NOTIFY)
                && (entry->nCode != nCode || nID < entry->nID || nID > entry->nLastID))
                continue;
            return entry->pfn(*this, nID, wParam, lParam, pResult);
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, AFX_CMDHANDLERINFO*)
{
    LRESULT result = 0;
    return DispatchToMessageMap(WM_COMMAND, static_cast<UINT>(nCode), nID, 0, 0, &result);
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

// ---- CWnd ----

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd() noexcept
    : m_hWnd(nullptr)
{
}

CWnd::CWnd(HWND special) noexcept
    : m_hWnd(special)
{
}

CWnd::~CWnd()
{
    if (m_hWnd == nullptr)
        return;
    try {
        DialogHost* host = DialogHost::current();
        arxhost::Window* window = host != nullptr ? host->find(m_hWnd) : nullptr;
        if (window != nullptr && window->wrapper == this)
            host->destroyWindow(m_hWnd);
    } catch (...) {
        // A handler failing while the window goes cannot stop the object from going.
    }
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    DialogHost* host = DialogHost::current();
    return host != nullptr ? host->wrapperOf(hWnd, true) : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    DialogHost* host = DialogHost::current();
    return host != nullptr ? host->wrapperOf(hWnd, false) : nullptr;
}

BOOL CWnd::Attach(HWND hWndNew)
{
    DialogHost* host = DialogHost::current();
    if (host == nullptr || m_hWnd != nullptr)
        return FALSE;
    return host->attach(hWndNew, *this) ? TRUE : FALSE;
}

HWND CWnd::Detach()
{
    const HWND handle = m_hWnd;
    if (DialogHost* host = DialogHost::current(); host != nullptr && handle != nullptr)
        host->detach(handle);
    m_hWnd = nullptr;
    return handle;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    return Attach(hWnd);
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    DialogHost* host = DialogHost::current();
    if (host == nullptr || pParent == nullptr)
        return FALSE;
    HWND item = host->dialogItem(pParent->m_hWnd, static_cast<int>(nID));
    return item != nullptr ? Attach(item) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    return Detach();
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
    CWnd* pParentWnd, UINT nID, CCreateContext*)
{
    DialogHost* host = DialogHost::current();
    if (host == nullptr || m_hWnd != nullptr)
        return FALSE;
    const HWND parent = pParentWnd != nullptr ? pParentWnd->m_hWnd : nullptr;
    if ((dwStyle & WS_CHILD) != 0 && host->find(parent) == nullptr)
        return FALSE;
    const std::wstring className = lpszClassName != nullptr ? lpszClassName : L"";
    const arxhost::ControlKind kind = arxhost::classifyControl(className, dwStyle);
    arxhost::WindowClass windowClass = arxhost::WindowClass::Other;
    switch (kind) {
    case arxhost::ControlKind::Static:
    case arxhost::ControlKind::Icon:
        windowClass = arxhost::WindowClass::Static;
        break;
    case arxhost::ControlKind::Edit:
        windowClass = arxhost::WindowClass::Edit;
        break;
    case arxhost::ControlKind::PushButton:
    case arxhost::ControlKind::DefPushButton:
    case arxhost::ControlKind::CheckBox:
    case arxhost::ControlKind::RadioButton:
    case arxhost::ControlKind::GroupBox:
        windowClass = arxhost::WindowClass::Button;
        break;
    case arxhost::ControlKind::ComboBox:
        windowClass = arxhost::WindowClass::ComboBox;
        break;
    case arxhost::ControlKind::ListBox:
        windowClass = arxhost::WindowClass::ListBox;
        break;
    case arxhost::ControlKind::ListView:
        windowClass = arxhost::WindowClass::ListView;
        break;
    case arxhost::ControlKind::Other:
        break;
    }
    arxhost::Window& window = host->createWindow(windowClass, parent, className,
        lpszWindowName != nullptr ? lpszWindowName : L"", dwStyle, rect, static_cast<int>(nID));
    const HWND handle = window.handle;
    host->attach(handle, *this);
    host->send(handle, WM_CREATE, 0, 0);
    if ((dwStyle & WS_VISIBLE) != 0)
        host->changed(handle);
    return host->find(handle) != nullptr ? TRUE : FALSE;
}

BOOL CWnd::DestroyWindow()
{
    DialogHost* host = DialogHost::current();
    if (host == nullptr || m_hWnd == nullptr)
        return FALSE;
    return host->destroyWindow(m_hWnd) ? TRUE : FALSE;
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    return ::ShowWindow(m_hWnd, nCmdShow);
}

BOOL CWnd::IsWindowVisible() const
{
    return ::IsWindowVisible(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

DWORD CWnd::GetStyle() const
{
    DialogHost* host = DialogHost::current();
    const arxhost::Window* window = host != nullptr ? host->find(m_hWnd) : nullptr;
    return window != nullptr ? window->style : 0;
}

DWORD CWnd::GetExStyle() const
{
    DialogHost* host = DialogHost::current();
    const arxhost::Window* window = host != nullptr ? host->find(m_hWnd) : nullptr;
    return window != nullptr ? window->exStyle : 0;
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DialogHost* host = DialogHost::current();
    arxhost::Window* window = host != nullptr ? host->find(m_hWnd) : nullptr;
    if (window == nullptr)
        return FALSE;
    const DWORD style = (window->style & ~dwRemove) | dwAdd;
    if (style == window->style)
        return FALSE;
    window->style = style;
    host->changed(m_hWnd);
    if (nFlags != 0)
        host->setWindowPos(m_hWnd, 0, 0, 0, 0, nFlags | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER);
    return TRUE;
}

void CWnd::GetWindowRect(LPRECT lpRect) const
{
    ::GetWindowRect(m_hWnd, lpRect);
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    ::GetClientRect(m_hWnd, lpRect);
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    ::ClientToScreen(m_hWnd, lpPoint);
}

void CWnd::ClientToScreen(LPRECT lpRect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    ::ScreenToClient(m_hWnd, lpPoint);
}

void CWnd::ScreenToClient(LPRECT lpRect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->left));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(&lpRect->right));
}

BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags)
{
    return ::SetWindowPos(
        m_hWnd, pWndInsertAfter != nullptr ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint)
{
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}

void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint)
{
    MoveWindow(
        lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, bRepaint);
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    if (DialogHost* host = DialogHost::current())
        host->centerWindow(m_hWnd, pAlternateOwner != nullptr ? pAlternateOwner->m_hWnd : nullptr);
}

void CWnd::BringWindowToTop()
{
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendDlgItemMessageW(m_hWnd, nID, message, wParam, lParam);
}

CWnd* CWnd::SetActiveWindow()
{
    return FromHandle(::SetActiveWindow(m_hWnd));
}

CWnd* CWnd::GetActiveWindow()
{
    return FromHandle(::GetActiveWindow());
}

CWnd* CWnd::SetFocus()
{
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus()
{
    return FromHandle(::GetFocus());
}

BOOL CWnd::SetForegroundWindow()
{
    return ::SetForegroundWindow(m_hWnd);
}

void CWnd::Invalidate(BOOL bErase)
{
    ::InvalidateRect(m_hWnd, nullptr, bErase);
}

void CWnd::UpdateWindow()
{
    ::UpdateWindow(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

void CWnd::GetDlgItem(int nID, HWND* phWnd) const
{
    *phWnd = ::GetDlgItem(m_hWnd, nID);
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetOwner() const
{
    DialogHost* host = DialogHost::current();
    if (host == nullptr)
        return nullptr;
    const arxhost::Window* window = host->find(m_hWnd);
    return window != nullptr ? FromHandle(window->parent) : nullptr;
}

CWnd* CWnd::GetTopLevelParent() const
{
    DialogHost* host = DialogHost::current();
    return host != nullptr ? FromHandle(host->topLevelOf(m_hWnd)) : nullptr;
}

void CWnd::SetWindowText(LPCTSTR lpszString)
{
    ::SetWindowTextW(m_hWnd, lpszString);
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
{
    return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
}

void CWnd::GetWindowText(CString& rString) const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, 0);
    const int copied = ::GetWindowTextW(m_hWnd, buffer.data(), length + 1);
    rString = CString(buffer.data(), copied);
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthW(m_hWnd);
}

void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString)
{
    ::SetDlgItemTextW(m_hWnd, nID, lpszString);
}

int CWnd::GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const
{
    return static_cast<int>(::GetDlgItemTextW(m_hWnd, nID, lpStr, nMaxCount));
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    rString.Empty();
    HWND item = ::GetDlgItem(m_hWnd, nID);
    if (item == nullptr)
        return 0;
    CWnd* control = FromHandle(item);
    control->GetWindowText(rString);
    return rString.GetLength();
}

void CWnd::SetDlgItemInt(int nID, UINT nValue, BOOL bSigned)
{
    const std::wstring text = bSigned ? std::to_wstring(static_cast<int>(nValue))
                                      : std::to_wstring(static_cast<unsigned>(nValue));
    ::SetDlgItemTextW(m_hWnd, nID, text.c_str());
}

UINT CWnd::GetDlgItemInt(int nID, BOOL* lpTrans, BOOL bSigned) const
{
    CString text;
    GetDlgItemText(nID, text);
    const wchar_t* p = text.GetString();
    while (*p == L' ' || *p == L'\t')
        ++p;
    bool negative = false;
    if (bSigned && *p == L'-') {
        negative = true;
        ++p;
    }
    long long value = 0;
    bool digits = false;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        digits = true;
        value = value * 10 + (*p - L'0');
        if (value > 0xFFFFFFFFll)
            break;
    }
    while (*p == L' ' || *p == L'\t')
        ++p;
    const bool ok = digits && *p == 0
        && (bSigned ? value <= (negative ? 2147483648ll : 2147483647ll) : value <= 0xFFFFFFFFll);
    if (lpTrans != nullptr)
        *lpTrans = ok ? TRUE : FALSE;
    if (!ok)
        return 0;
    return static_cast<UINT>(negative ? -value : value);
}

void CWnd::CheckDlgButton(int nIDButton, UINT nCheck)
{
    ::CheckDlgButton(m_hWnd, nIDButton, nCheck);
}

UINT CWnd::IsDlgButtonChecked(int nIDButton) const
{
    return ::IsDlgButtonChecked(m_hWnd, nIDButton);
}

void CWnd::CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    ::CheckRadioButton(m_hWnd, nIDFirstButton, nIDLastButton, nIDCheckButton);
}

int CWnd::GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        if (::IsDlgButtonChecked(m_hWnd, id) != 0)
            return id;
    return 0;
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon)
{
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

HICON CWnd::GetIcon(BOOL bBigIcon) const
{
    return reinterpret_cast<HICON>(::SendMessageW(m_hWnd, WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0));
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    DialogHost* host = DialogHost::current();
    // Control notifications to this window are ignored while the data is exchanged.
    struct Lockout {
        DialogHost* host;
        HWND previous;
        ~Lockout()
        {
            if (host != nullptr)
                host->setLockout(previous);
        }
    } lockout {host, host != nullptr ? host->setLockout(m_hWnd) : nullptr};
    CDataExchange exchange(this, bSaveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const arxhost::DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

void CWnd::DoDataExchange(CDataExchange*) { }

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    DialogHost* host = DialogHost::current();
    if (host == nullptr)
        return 0;
    const std::wstring caption = lpszCaption != nullptr ? lpszCaption : host->applicationTitle();
    return host->messageBox(m_hWnd, lpszText != nullptr ? lpszText : L"", caption, nType);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND handle = pMsg->hwnd; handle != nullptr; handle = ::GetParent(handle)) {
        CWnd* window = FromHandlePermanent(handle);
        if (window != nullptr && window->PreTranslateMessage(pMsg))
            return TRUE;
        if (handle == hWndStop)
            break;
    }
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return header != nullptr && header->hwndFrom != nullptr && OnNotify(wParam, lParam, pResult);
    }
    return DispatchToMessageMap(message, 0, 0, wParam, lParam, pResult);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogHost* host = DialogHost::current();
    return host != nullptr ? host->defaultProc(m_hWnd, message, wParam, lParam) : 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    DialogHost* host = DialogHost::current();
    if (lParam != 0 && host != nullptr && host->lockout() == m_hWnd)
        return TRUE; // a control's notification while UpdateData runs
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    DialogHost* host = DialogHost::current();
    if (host != nullptr && host->lockout() == m_hWnd)
        return TRUE;
    return DispatchToMessageMap(
        WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom), wParam, lParam, pResult);
}

void CWnd::PostNcDestroy() { }

LRESULT CWnd::Default()
{
    DialogHost* host = DialogHost::current();
    if (host == nullptr)
        return 0;
    const DialogHost::CurrentMessage* message = host->currentMessage();
    if (message == nullptr)
        return 0;
    return DefWindowProc(message->message, message->wParam, message->lParam);
}

void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}

void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}

void CWnd::OnClose()
{
    Default();
}

void CWnd::OnDestroy()
{
    Default();
}

void CWnd::OnPaint()
{
    Default();
}

void CWnd::OnSize(UINT, int, int)
{
    Default();
}

void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}

void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
