// The Windows user-interface functions over the host's screen, the framework's message boxes, the shell's
// folder browser and the host's frame and view.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "commctrl.h"
#include "dialogs/DialogHost.h"
#include "rxmfcapi.h"
#include "shlobj.h"
#include "text/Utf8.h"

using arxhost::DialogHost;

namespace {

DialogHost* host()
{
    return DialogHost::current();
}

arxhost::Window* windowOf(HWND handle)
{
    DialogHost* h = host();
    return h != nullptr ? h->find(handle) : nullptr;
}

} // namespace

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    DialogHost* h = host();
    return h != nullptr ? h->send(hWnd, Msg, wParam, lParam) : 0;
}

BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    DialogHost* h = host();
    return h != nullptr && h->post(hWnd, Msg, wParam, lParam) ? TRUE : FALSE;
}

LRESULT SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    return SendMessageW(GetDlgItem(hDlg, nIDDlgItem), Msg, wParam, lParam);
}

BOOL IsWindow(HWND hWnd)
{
    return windowOf(hWnd) != nullptr ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hWnd)
{
    DialogHost* h = host();
    return h != nullptr && h->isVisible(hWnd) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hWnd)
{
    const arxhost::Window* window = windowOf(hWnd);
    return window != nullptr && window->enabledStyle() ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable)
{
    DialogHost* h = host();
    return h != nullptr && h->enableWindow(hWnd, bEnable != FALSE) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND hWnd, int nCmdShow)
{
    DialogHost* h = host();
    return h != nullptr && h->showWindow(hWnd, nCmdShow) ? TRUE : FALSE;
}

BOOL DestroyWindow(HWND hWnd)
{
    // The object attached to the window is detached and told, as CWnd::DestroyWindow does.
    DialogHost* h = host();
    return h != nullptr && h->destroyWindow(hWnd) ? TRUE : FALSE;
}

HWND GetParent(HWND hWnd)
{
    const arxhost::Window* window = windowOf(hWnd);
    if (window == nullptr)
        return nullptr;
    // A child's parent, a pop-up's owner.
    if (window->isChild() || (window->style & WS_POPUP) != 0)
        return window->parent;
    return nullptr;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    DialogHost* h = host();
    return h != nullptr ? h->dialogItem(hDlg, nIDDlgItem) : nullptr;
}

int GetDlgCtrlID(HWND hWnd)
{
    const arxhost::Window* window = windowOf(hWnd);
    return window != nullptr && window->isChild() ? window->id : 0;
}

BOOL SetWindowTextW(HWND hWnd, LPCWSTR lpString)
{
    return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != CB_ERR ? TRUE : FALSE;
}

int GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount)
{
    if (lpString == nullptr || nMaxCount <= 0)
        return 0;
    lpString[0] = 0;
    return static_cast<int>(
        SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthW(HWND hWnd)
{
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString)
{
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    return item != nullptr ? SetWindowTextW(item, lpString) : FALSE;
}

UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax)
{
    HWND item = GetDlgItem(hDlg, nIDDlgItem);
    if (item == nullptr) {
        if (lpString != nullptr && cchMax > 0)
            lpString[0] = 0;
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(item, lpString, cchMax));
}

BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck)
{
    HWND item = GetDlgItem(hDlg, nIDButton);
    if (item == nullptr)
        return FALSE;
    SendMessageW(item, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND hDlg, int nIDButton)
{
    return static_cast<UINT>(SendDlgItemMessageW(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton)
{
    for (int id = nIDFirstButton; id <= nIDLastButton; ++id)
        if (HWND item = GetDlgItem(hDlg, id))
            SendMessageW(item, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    return TRUE;
}

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect)
{
    DialogHost* h = host();
    if (h == nullptr || lpRect == nullptr || h->find(hWnd) == nullptr)
        return FALSE;
    *lpRect = h->windowRect(hWnd);
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect)
{
    DialogHost* h = host();
    if (h == nullptr || lpRect == nullptr || h->find(hWnd) == nullptr)
        return FALSE;
    *lpRect = h->clientRect(hWnd);
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint)
{
    DialogHost* h = host();
    if (h == nullptr || lpPoint == nullptr || h->find(hWnd) == nullptr)
        return FALSE;
    const POINT origin = h->clientOrigin(hWnd);
    lpPoint->x += origin.x;
    lpPoint->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint)
{
    DialogHost* h = host();
    if (h == nullptr || lpPoint == nullptr || h->find(hWnd) == nullptr)
        return FALSE;
    const POINT origin = h->clientOrigin(hWnd);
    lpPoint->x -= origin.x;
    lpPoint->y -= origin.y;
    return TRUE;
}

BOOL SetWindowPos(HWND hWnd, HWND, int X, int Y, int cx, int cy, UINT uFlags)
{
    DialogHost* h = host();
    return h != nullptr && h->setWindowPos(hWnd, X, Y, cx, cy, uFlags) ? TRUE : FALSE;
}

BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL)
{
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND SetFocus(HWND hWnd)
{
    DialogHost* h = host();
    return h != nullptr ? h->setFocus(hWnd) : nullptr;
}

HWND GetFocus()
{
    DialogHost* h = host();
    return h != nullptr ? h->focus() : nullptr;
}

HWND SetActiveWindow(HWND hWnd)
{
    DialogHost* h = host();
    return h != nullptr ? h->setActive(hWnd) : nullptr;
}

HWND GetActiveWindow()
{
    DialogHost* h = host();
    return h != nullptr ? h->active() : nullptr;
}

BOOL SetForegroundWindow(HWND hWnd)
{
    return SetActiveWindow(hWnd) != nullptr || GetActiveWindow() == hWnd ? TRUE : FALSE;
}

BOOL InvalidateRect(HWND hWnd, const RECT*, BOOL)
{
    return IsWindow(hWnd);
}

BOOL UpdateWindow(HWND hWnd)
{
    return IsWindow(hWnd);
}

BOOL EndDialog(HWND hDlg, INT_PTR nResult)
{
    DialogHost* h = host();
    if (h == nullptr || h->find(hDlg) == nullptr)
        return FALSE;
    h->endDialog(hDlg, nResult);
    return TRUE;
}

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect)
{
    DialogHost* h = host();
    if (h == nullptr || lpRect == nullptr || h->find(hDlg) == nullptr)
        return FALSE;
    *lpRect = h->mapDialogRect(hDlg, *lpRect);
    return TRUE;
}

LONG GetDialogBaseUnits()
{
    return MAKELONG(7, 16);
}

int GetSystemMetrics(int nIndex)
{
    switch (nIndex) {
    case SM_CXSCREEN:
        return arxhost::kScreenWidth;
    case SM_CYSCREEN:
        return arxhost::kScreenHeight;
    default:
        return 0;
    }
}

BOOL GetCursorPos(LPPOINT lpPoint)
{
    DialogHost* h = host();
    if (h == nullptr || lpPoint == nullptr)
        return FALSE;
    *lpPoint = h->cursor();
    return TRUE;
}

BOOL SetCursorPos(int X, int Y)
{
    DialogHost* h = host();
    if (h == nullptr)
        return FALSE;
    h->setCursor(
        POINT {std::clamp(X, 0, arxhost::kScreenWidth - 1), std::clamp(Y, 0, arxhost::kScreenHeight - 1)});
    return TRUE;
}

int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType)
{
    DialogHost* h = host();
    if (h == nullptr)
        return 0;
    return h->messageBox(
        hWnd, lpText != nullptr ? lpText : L"", lpCaption != nullptr ? lpCaption : L"Error", uType);
}

int MessageBeep(UINT)
{
    return TRUE;
}

HBITMAP LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName)
{
    DialogHost* h = host();
    if (h == nullptr || !IS_INTRESOURCE(lpBitmapName))
        return nullptr;
    return static_cast<HBITMAP>(
        h->loadImage(hInstance, static_cast<int>(reinterpret_cast<ULONG_PTR>(lpBitmapName)), false));
}

HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName)
{
    DialogHost* h = host();
    if (h == nullptr || !IS_INTRESOURCE(lpIconName))
        return nullptr;
    return static_cast<HICON>(
        h->loadImage(hInstance, static_cast<int>(reinterpret_cast<ULONG_PTR>(lpIconName)), true));
}

BOOL DestroyIcon(HICON hIcon)
{
    DialogHost* h = host();
    return h != nullptr && h->deleteImage(hIcon) ? TRUE : FALSE;
}

BOOL DeleteObject(HGDIOBJ ho)
{
    DialogHost* h = host();
    return h != nullptr && h->deleteImage(ho) ? TRUE : FALSE;
}

// ---- Rectangles ----

BOOL PtInRect(const RECT* lprc, POINT pt)
{
    return lprc != nullptr && pt.x >= lprc->left && pt.x < lprc->right && pt.y >= lprc->top
            && pt.y < lprc->bottom
        ? TRUE
        : FALSE;
}

BOOL SetRect(LPRECT lprc, int xLeft, int yTop, int xRight, int yBottom)
{
    if (lprc == nullptr)
        return FALSE;
    *lprc = RECT {xLeft, yTop, xRight, yBottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT lprc)
{
    return SetRect(lprc, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT lprcDst, const RECT* lprcSrc)
{
    if (lprcDst == nullptr || lprcSrc == nullptr)
        return FALSE;
    *lprcDst = *lprcSrc;
    return TRUE;
}

BOOL InflateRect(LPRECT lprc, int dx, int dy)
{
    if (lprc == nullptr)
        return FALSE;
    *lprc = RECT {lprc->left - dx, lprc->top - dy, lprc->right + dx, lprc->bottom + dy};
    return TRUE;
}

BOOL OffsetRect(LPRECT lprc, int dx, int dy)
{
    if (lprc == nullptr)
        return FALSE;
    *lprc = RECT {lprc->left + dx, lprc->top + dy, lprc->right + dx, lprc->bottom + dy};
    return TRUE;
}

BOOL IsRectEmpty(const RECT* lprc)
{
    return lprc == nullptr || lprc->right <= lprc->left || lprc->bottom <= lprc->top ? TRUE : FALSE;
}

BOOL EqualRect(const RECT* lprc1, const RECT* lprc2)
{
    return lprc1 != nullptr && lprc2 != nullptr && lprc1->left == lprc2->left && lprc1->top == lprc2->top
            && lprc1->right == lprc2->right && lprc1->bottom == lprc2->bottom
        ? TRUE
        : FALSE;
}

BOOL IntersectRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2)
{
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr)
        return FALSE;
    RECT r {std::max(lprcSrc1->left, lprcSrc2->left), std::max(lprcSrc1->top, lprcSrc2->top),
        std::min(lprcSrc1->right, lprcSrc2->right), std::min(lprcSrc1->bottom, lprcSrc2->bottom)};
    if (IsRectEmpty(&r)) {
        SetRectEmpty(lprcDst);
        return FALSE;
    }
    *lprcDst = r;
    return TRUE;
}

BOOL UnionRect(LPRECT lprcDst, const RECT* lprcSrc1, const RECT* lprcSrc2)
{
    if (lprcDst == nullptr || lprcSrc1 == nullptr || lprcSrc2 == nullptr)
        return FALSE;
    if (IsRectEmpty(lprcSrc1))
        return CopyRect(lprcDst, lprcSrc2) && !IsRectEmpty(lprcSrc2);
    if (IsRectEmpty(lprcSrc2))
        return CopyRect(lprcDst, lprcSrc1);
    *lprcDst = RECT {std::min(lprcSrc1->left, lprcSrc2->left), std::min(lprcSrc1->top, lprcSrc2->top),
        std::max(lprcSrc1->right, lprcSrc2->right), std::max(lprcSrc1->bottom, lprcSrc2->bottom)};
    return TRUE;
}

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0)
        return -1;
    // Rounded half away from zero, as Windows rounds.
    const long long product = static_cast<long long>(nNumber) * nNumerator;
    const bool negative = (product < 0) != (nDenominator < 0);
    const long long magnitude = (std::llabs(product) + std::llabs(static_cast<long long>(nDenominator)) / 2)
        / std::llabs(static_cast<long long>(nDenominator));
    if (magnitude > 2147483647ll)
        return -1; // an overflow, as Windows reports it
    return static_cast<int>(negative ? -magnitude : magnitude);
}

void CRect::NormalizeRect() noexcept
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
}

BOOL CRect::IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept
{
    return ::IntersectRect(this, lpRect1, lpRect2);
}

BOOL CRect::UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept
{
    return ::UnionRect(this, lpRect1, lpRect2);
}

void InitCommonControls() { }

// ---- The framework ----

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT)
{
    DialogHost* h = host();
    if (h == nullptr)
        return 0;
    // The framework's icons when none is given.
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
            nType |= MB_ICONEXCLAMATION;
            break;
        case MB_YESNO:
        case MB_YESNOCANCEL:
            nType |= MB_ICONQUESTION;
            break;
        default:
            break;
        }
    }
    return h->messageBox(h->active(), lpszText != nullptr ? lpszText : L"", h->applicationTitle(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text.GetString(), nType, nIDHelp);
}

CWnd* AfxGetMainWnd()
{
    DialogHost* h = host();
    return h != nullptr ? h->frame() : nullptr;
}

CMDIFrameWnd* acedGetAcadFrame()
{
    DialogHost* h = host();
    return h != nullptr ? h->frame() : nullptr;
}

CView* acedGetAcadDwgView()
{
    DialogHost* h = host();
    return h != nullptr ? h->view() : nullptr;
}

// ---- The shell ----

// An item id list here holds one item: the folder's path in UTF-8, then the terminating empty item.
PIDLIST_ABSOLUTE SHBrowseForFolderW(LPBROWSEINFOW lpbi)
{
    DialogHost* h = host();
    if (h == nullptr || lpbi == nullptr)
        return nullptr;
    std::optional<std::wstring> folder = h->browseForFolder(*lpbi);
    if (!folder)
        return nullptr;
    const std::string path = arxhost::toUtf8(*folder);
    if (path.size() + sizeof(USHORT) * 2 > 0xFFFF)
        return nullptr;
    const std::size_t itemSize = sizeof(USHORT) + path.size() + 1;
    auto* block = static_cast<BYTE*>(CoTaskMemAlloc(itemSize + sizeof(USHORT)));
    if (block == nullptr)
        return nullptr;
    const auto cb = static_cast<USHORT>(itemSize);
    std::memcpy(block, &cb, sizeof cb);
    std::memcpy(block + sizeof cb, path.c_str(), path.size() + 1);
    const USHORT end = 0;
    std::memcpy(block + itemSize, &end, sizeof end);
    if (lpbi->pszDisplayName != nullptr) {
        // The last component, split on the text itself: a path conversion would need the locale.
        std::wstring name = *folder;
        while (name.size() > 1 && (name.back() == L'/' || name.back() == L'\\'))
            name.pop_back();
        if (const std::size_t slash = name.find_last_of(L"/\\");
            slash != std::wstring::npos && slash + 1 < name.size())
            name = name.substr(slash + 1);
        const std::size_t n = std::min<std::size_t>(name.size(), MAX_PATH - 1);
        name.copy(lpbi->pszDisplayName, n);
        lpbi->pszDisplayName[n] = 0;
    }
    return reinterpret_cast<PIDLIST_ABSOLUTE>(block);
}

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE pidl, LPWSTR pszPath)
{
    if (pidl == nullptr || pszPath == nullptr)
        return FALSE;
    const auto* block = reinterpret_cast<const BYTE*>(pidl);
    USHORT cb = 0;
    std::memcpy(&cb, block, sizeof cb);
    if (cb <= sizeof cb) {
        pszPath[0] = 0;
        return FALSE;
    }
    const std::wstring path = arxhost::fromUtf8(reinterpret_cast<const char*>(block + sizeof cb));
    if (path.size() >= MAX_PATH) {
        pszPath[0] = 0;
        return FALSE;
    }
    path.copy(pszPath, path.size());
    pszPath[path.size()] = 0;
    return TRUE;
}

LPVOID CoTaskMemAlloc(std::size_t cb)
{
    return std::malloc(cb == 0 ? 1 : cb);
}

void CoTaskMemFree(LPVOID pv)
{
    std::free(pv);
}
