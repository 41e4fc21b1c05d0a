// MFC's window classes and the framework entry points the module uses: windows, dialogs, controls,
// message maps, dialog data exchange and message boxes.
#pragma once

#include "afx.h"
#include "winuser.h"

#define afx_msg
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

namespace arxhost {
class WindowHooks;
}

class CDC;
class CDataExchange;
class CWnd;
struct CCreateContext;
struct AFX_CMDHANDLERINFO;

// ---- Points, sizes and rectangles ----

class CSize : public tagSIZE {
public:
    CSize() noexcept
        : tagSIZE {0, 0}
    {
    }
    CSize(int initCX, int initCY) noexcept
        : tagSIZE {initCX, initCY}
    {
    }
    CSize(SIZE initSize) noexcept
        : tagSIZE(initSize)
    {
    }
    CSize(POINT initPt) noexcept
        : tagSIZE {initPt.x, initPt.y}
    {
    }

    bool operator==(SIZE size) const noexcept { return cx == size.cx && cy == size.cy; }
    bool operator!=(SIZE size) const noexcept { return !(*this == size); }
    CSize operator+(SIZE size) const noexcept { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const noexcept { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const noexcept { return CSize(-cx, -cy); }
};

class CPoint : public tagPOINT {
public:
    CPoint() noexcept
        : tagPOINT {0, 0}
    {
    }
    CPoint(int initX, int initY) noexcept
        : tagPOINT {initX, initY}
    {
    }
    CPoint(POINT initPt) noexcept
        : tagPOINT(initPt)
    {
    }
    CPoint(SIZE initSize) noexcept
        : tagPOINT {initSize.cx, initSize.cy}
    {
    }
    // The coordinates packed in a message's LPARAM (x in the low word, y in the high word, signed).
    explicit CPoint(LPARAM dwPoint) noexcept
        : tagPOINT {GET_X_LPARAM(dwPoint), GET_Y_LPARAM(dwPoint)}
    {
    }

    void Offset(int xOffset, int yOffset) noexcept
    {
        x += xOffset;
        y += yOffset;
    }
    void Offset(POINT point) noexcept { Offset(point.x, point.y); }
    void SetPoint(int X, int Y) noexcept
    {
        x = X;
        y = Y;
    }
    bool operator==(POINT point) const noexcept { return x == point.x && y == point.y; }
    bool operator!=(POINT point) const noexcept { return !(*this == point); }
    void operator+=(SIZE size) noexcept { Offset(size.cx, size.cy); }
    void operator-=(SIZE size) noexcept { Offset(-size.cx, -size.cy); }
    CPoint operator+(SIZE size) const noexcept { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const noexcept { return CPoint(x - size.cx, y - size.cy); }
    CSize operator-(POINT point) const noexcept { return CSize(x - point.x, y - point.y); }
    CPoint operator-() const noexcept { return CPoint(-x, -y); }
};

// A rectangle whose right and bottom edges are outside it, as everywhere in Windows.
class CRect : public tagRECT {
public:
    CRect() noexcept
        : tagRECT {0, 0, 0, 0}
    {
    }
    CRect(int l, int t, int r, int b) noexcept
        : tagRECT {l, t, r, b}
    {
    }
    CRect(const RECT& srcRect) noexcept
        : tagRECT(srcRect)
    {
    }
    CRect(LPCRECT lpSrcRect) noexcept
        : tagRECT(*lpSrcRect)
    {
    }
    CRect(POINT point, SIZE size) noexcept
        : tagRECT {point.x, point.y, point.x + size.cx, point.y + size.cy}
    {
    }
    CRect(POINT topLeft, POINT bottomRight) noexcept
        : tagRECT {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}
    {
    }

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    CSize Size() const noexcept { return CSize(Width(), Height()); }
    CPoint TopLeft() const noexcept { return CPoint(left, top); }
    CPoint BottomRight() const noexcept { return CPoint(right, bottom); }
    CPoint CenterPoint() const noexcept { return CPoint((left + right) / 2, (top + bottom) / 2); }
    BOOL IsRectEmpty() const noexcept { return right <= left || bottom <= top; }
    BOOL IsRectNull() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT point) const noexcept
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
    void SetRect(int x1, int y1, int x2, int y2) noexcept
    {
        left = x1;
        top = y1;
        right = x2;
        bottom = y2;
    }
    void SetRectEmpty() noexcept { SetRect(0, 0, 0, 0); }
    void CopyRect(LPCRECT lpSrcRect) noexcept { *static_cast<RECT*>(this) = *lpSrcRect; }
    BOOL EqualRect(LPCRECT lpRect) const noexcept
    {
        return left == lpRect->left && top == lpRect->top && right == lpRect->right
            && bottom == lpRect->bottom;
    }
    void InflateRect(int x, int y) noexcept { SetRect(left - x, top - y, right + x, bottom + y); }
    void InflateRect(SIZE size) noexcept { InflateRect(size.cx, size.cy); }
    void DeflateRect(int x, int y) noexcept { InflateRect(-x, -y); }
    void DeflateRect(SIZE size) noexcept { InflateRect(-size.cx, -size.cy); }
    void OffsetRect(int x, int y) noexcept { SetRect(left + x, top + y, right + x, bottom + y); }
    void OffsetRect(POINT point) noexcept { OffsetRect(point.x, point.y); }
    void OffsetRect(SIZE size) noexcept { OffsetRect(size.cx, size.cy); }
    void MoveToX(int x) noexcept { OffsetRect(x - left, 0); }
    void MoveToY(int y) noexcept { OffsetRect(0, y - top); }
    void MoveToXY(int x, int y) noexcept { OffsetRect(x - left, y - top); }
    void MoveToXY(POINT point) noexcept { MoveToXY(point.x, point.y); }
    void NormalizeRect() noexcept;
    BOOL IntersectRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept;
    BOOL UnionRect(LPCRECT lpRect1, LPCRECT lpRect2) noexcept;

    operator LPRECT() noexcept { return this; }
    operator LPCRECT() const noexcept { return this; }
    bool operator==(const RECT& rect) const noexcept { return EqualRect(&rect) != FALSE; }
    bool operator!=(const RECT& rect) const noexcept { return !(*this == rect); }
    void operator+=(POINT point) noexcept { OffsetRect(point); }
    void operator-=(POINT point) noexcept { OffsetRect(-point.x, -point.y); }
    CRect operator+(POINT point) const noexcept
    {
        CRect rect(*this);
        rect.OffsetRect(point);
        return rect;
    }
    CRect operator-(POINT point) const noexcept
    {
        CRect rect(*this);
        rect.OffsetRect(-point.x, -point.y);
        return rect;
    }
};

// ---- Message maps ----

class CCmdTarget;

// Calls one message-map handler: the control id (for ranges), the message's parameters, its result.
typedef BOOL (*AFX_PMSG)(CCmdTarget& target, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage; // the window message: WM_COMMAND, WM_NOTIFY or another
    UINT nCode; // the control notification (WM_COMMAND) or the notify code (WM_NOTIFY)
    UINT nID; // the first control id of the entry
    UINT nLastID; // the last one (equal to nID but for ranges)
    AFX_PMSG pfn; // null ends the map
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Handler thunks: each calls one member function of the class that declares it, with the message's
// parameters cracked as MFC cracks them.
namespace afx_detail {
template <class F> struct MemberOf;
template <class C, class R, class... A> struct MemberOf<R (C::*)(A...)> {
    using type = C;
};
template <class C, class R, class... A> struct MemberOf<R (C::*)(A...) noexcept> {
    using type = C;
};
template <auto Fn> using ClassOf = typename MemberOf<decltype(Fn)>::type;
template <auto Fn> ClassOf<Fn>& target(CCmdTarget& t)
{
    return static_cast<ClassOf<Fn>&>(t);
}

template <auto Fn> BOOL onCommand(CCmdTarget& t, UINT, WPARAM, LPARAM, LRESULT*)
{
    (target<Fn>(t).*Fn)();
    return TRUE;
}
template <auto Fn> BOOL onCommandRange(CCmdTarget& t, UINT nID, WPARAM, LPARAM, LRESULT*)
{
    (target<Fn>(t).*Fn)(nID);
    return TRUE;
}
template <auto Fn> BOOL onNotify(CCmdTarget& t, UINT, WPARAM, LPARAM lParam, LRESULT* pResult)
{
    (target<Fn>(t).*Fn)(reinterpret_cast<NMHDR*>(lParam), pResult);
    return TRUE;
}
template <auto Fn> BOOL onNotifyRange(CCmdTarget& t, UINT nID, WPARAM, LPARAM lParam, LRESULT* pResult)
{
    (target<Fn>(t).*Fn)(nID, reinterpret_cast<NMHDR*>(lParam), pResult);
    return TRUE;
}
template <auto Fn> BOOL onMessage(CCmdTarget& t, UINT, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    *pResult = (target<Fn>(t).*Fn)(wParam, lParam);
    return TRUE;
}
template <auto Fn> BOOL onVoid(CCmdTarget& t, UINT, WPARAM, LPARAM, LRESULT* pResult)
{
    (target<Fn>(t).*Fn)();
    *pResult = 0;
    return TRUE;
}
template <auto Fn> BOOL onMouse(CCmdTarget& t, UINT, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    (target<Fn>(t).*Fn)(static_cast<UINT>(wParam), CPoint(lParam));
    *pResult = 0;
    return TRUE;
}
template <auto Fn> BOOL onSize(CCmdTarget& t, UINT, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    (target<Fn>(t).*Fn)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
    *pResult = 0;
    return TRUE;
}
template <auto Fn> BOOL onShowWindow(CCmdTarget& t, UINT, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    (target<Fn>(t).*Fn)(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
    *pResult = 0;
    return TRUE;
}
template <auto Fn> BOOL onSysCommand(CCmdTarget& t, UINT, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    (target<Fn>(t).*Fn)(static_cast<UINT>(wParam), lParam);
    *pResult = 0;
    return TRUE;
}
template <auto Fn> BOOL onTimer(CCmdTarget& t, UINT, WPARAM wParam, LPARAM, LRESULT* pResult)
{
    (target<Fn>(t).*Fn)(static_cast<UINT_PTR>(wParam));
    *pResult = 0;
    return TRUE;
}
} // namespace afx_detail

#define DECLARE_MESSAGE_MAP()                                                                                \
protected:                                                                                                   \
    static const AFX_MSGMAP* GetThisMessageMap();                                                            \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                               \
    const AFX_MSGMAP* theClass::GetMessageMap() const                                                        \
    {                                                                                                        \
        return GetThisMessageMap();                                                                          \
    }                                                                                                        \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                                          \
    {                                                                                                        \
        using ThisClass [[maybe_unused]] = theClass;                                                         \
        using TheBaseClass = baseClass;                                                                      \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

// clang-format off
#define END_MESSAGE_MAP()                                                                                    \
            {0, 0, 0, 0, nullptr}};                                                                          \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};        \
        return &messageMap;                                                                                  \
    }
// clang-format on

#define ON_COMMAND(id, memberFxn) {WM_COMMAND, 0, (UINT)(id), (UINT)(id), &afx_detail::onCommand<memberFxn>},
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                              \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(idLast), &afx_detail::onCommandRange<memberFxn>},
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                               \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), &afx_detail::onCommand<memberFxn>},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn)                                                 \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), &afx_detail::onCommandRange<memberFxn>},
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                                \
    {WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), &afx_detail::onNotify<memberFxn>},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                                  \
    {WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(idLast), &afx_detail::onNotifyRange<memberFxn>},
#define ON_MESSAGE(message, memberFxn) {(UINT)(message), 0, 0, 0, &afx_detail::onMessage<memberFxn>},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)

#define ON_WM_MOUSEMOVE() {WM_MOUSEMOVE, 0, 0, 0, &afx_detail::onMouse<&ThisClass::OnMouseMove>},
#define ON_WM_LBUTTONDOWN() {WM_LBUTTONDOWN, 0, 0, 0, &afx_detail::onMouse<&ThisClass::OnLButtonDown>},
#define ON_WM_LBUTTONUP() {WM_LBUTTONUP, 0, 0, 0, &afx_detail::onMouse<&ThisClass::OnLButtonUp>},
#define ON_WM_LBUTTONDBLCLK() {WM_LBUTTONDBLCLK, 0, 0, 0, &afx_detail::onMouse<&ThisClass::OnLButtonDblClk>},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, &afx_detail::onVoid<&ThisClass::OnClose>},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, &afx_detail::onVoid<&ThisClass::OnDestroy>},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, &afx_detail::onVoid<&ThisClass::OnPaint>},
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, &afx_detail::onSize<&ThisClass::OnSize>},
#define ON_WM_SHOWWINDOW() {WM_SHOWWINDOW, 0, 0, 0, &afx_detail::onShowWindow<&ThisClass::OnShowWindow>},
#define ON_WM_SYSCOMMAND() {WM_SYSCOMMAND, 0, 0, 0, &afx_detail::onSysCommand<&ThisClass::OnSysCommand>},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, &afx_detail::onTimer<&ThisClass::OnTimer>},

// The receiver of commands: message maps are looked up from the most derived class to CCmdTarget.
class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;
    // Routes a command or control notification (nCode) from control nID through the message maps;
    // TRUE when a handler took it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
    // Calls the first handler of the maps for the message (and, for WM_COMMAND and WM_NOTIFY, the
    // code and control id); FALSE when no map has one.
    BOOL DispatchToMessageMap(
        UINT message, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};

// ---- Windows ----

// A window of the host's screen, or the C++ side of one. The window itself lives in the host (its
// controls' contents, position and state); a CWnd is attached to it, so that messages reach its
// message map. Control classes add no data, so that casting GetDlgItem's CWnd* to CComboBox* etc.
// works as in MFC.
class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() noexcept;
    // Destroys the window if it still exists.
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd;
    operator HWND() const noexcept { return m_hWnd; }
    HWND GetSafeHwnd() const noexcept { return m_hWnd; }

    // The object attached to the window, else a temporary one that lives as long as the window.
    static CWnd* FromHandle(HWND hWnd);
    // The object attached to the window, or null.
    static CWnd* FromHandlePermanent(HWND hWnd);
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // A window of the class ("Button", "Edit", "SysListView32", ...), a child when pParentWnd is given.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL DestroyWindow();

    BOOL ShowWindow(int nCmdShow);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);

    // Rectangles in screen pixels (window) and client pixels (client, whose origin is 0,0).
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    // Positions are in the parent's client coordinates for a child, in screen coordinates otherwise.
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    // Centres on the owner (or pAlternateOwner), or on the screen when there is none.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    void BringWindowToTop();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    CWnd* SetActiveWindow();
    static CWnd* GetActiveWindow();
    CWnd* SetFocus();
    static CWnd* GetFocus();
    BOOL SetForegroundWindow();
    void Invalidate(BOOL bErase = TRUE);
    void UpdateWindow();

    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    int GetDlgCtrlID() const;
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;

    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, LPTSTR lpStr, int nMaxCount) const;
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    int GetCheckedRadioButton(int nIDFirstButton, int nIDLastButton);

    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;

    // Dialog data exchange: FALSE when a value did not validate (the user was told, the focus is on
    // the control).
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // The message box of the host: a null caption is the application's title.
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption = nullptr, UINT nType = MB_OK);

    // Called for each message the host's message loop takes for this window (mouse moves) before it is
    // dispatched; TRUE keeps it from being dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Offers the message to PreTranslateMessage of its window and each parent up to hWndStop.
    static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

    // Insertion places of SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

protected:
    // The window procedure: the message maps, then DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The host's own handling of the message for the window's class.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called after the window was destroyed and detached (a modeless dialog may delete itself here).
    virtual void PostNcDestroy();
    // DefWindowProc for the message being handled.
    LRESULT Default();

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnTimer(UINT_PTR nIDEvent);

    DECLARE_MESSAGE_MAP()

private:
    explicit CWnd(HWND special) noexcept;
    friend class arxhost::WindowHooks;
};

// A dialog from a template of the module's resource script: modal (DoModal runs until EndDialog)
// or modeless (Create, then ShowWindow and DestroyWindow).
class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() noexcept;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr) noexcept;
    ~CDialog() override;

    using CWnd::Create;
    // Creates the dialog modeless; it shows at once only when its template has WS_VISIBLE.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Shows the dialog and runs until it ends; the result given to EndDialog, or -1 when the template
    // cannot be found.
    virtual INT_PTR DoModal();
    // Ends a modal dialog with the result; hides a modeless one.
    void EndDialog(int nResult);

    // Called once the controls exist; the default exchanges the data into the controls. TRUE lets the
    // framework put the focus on the first control.
    virtual BOOL OnInitDialog();

    // Converts dialog units to pixels of this dialog's font.
    void MapDialogRect(LPRECT lpRect) const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    DWORD GetDefID() const;
    void SetDefID(UINT nID);

    UINT m_nIDHelp;
    LPCTSTR m_lpszTemplateName;
    CWnd* m_pParentWnd;

protected:
    // OK: UpdateData(TRUE), then EndDialog(IDOK) when it validated.
    virtual void OnOK();
    virtual void OnCancel();
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

    // Where the template is looked up first (null: the current resource module).
    HINSTANCE m_hDialogResource;

private:
    UINT m_nIDTemplate;
    INT_PTR m_nModalResult;
    bool m_bModalRunning;
    friend class arxhost::WindowHooks;
};

// ---- Controls ----

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton() noexcept = default;
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit() noexcept = default;
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void SetLimitText(UINT nMax);
    void LimitText(int nChars = 0);
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic() noexcept = default;
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};

// A combo box; with CBS_SORT, AddString keeps the list in order (case ignored), InsertString never.
class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox() noexcept = default;
    int AddString(LPCTSTR lpszString);
    int InsertString(int nIndex, LPCTSTR lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetLBText(int nIndex, LPTSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    // The first item after nStartAfter (-1: from the top) that starts with the text, case ignored.
    int FindString(int nStartAfter, LPCTSTR lpszString) const;
    // The first item after nStartAfter equal to the text, case ignored.
    int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCTSTR lpszString);
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    DWORD_PTR GetItemData(int nIndex) const;
    void ShowDropDown(BOOL bShowIt = TRUE);
    BOOL GetDroppedState() const;
    BOOL LimitText(int nMaxChars);
};

// ---- Drawing objects ----

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() noexcept = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    operator HGDIOBJ() const noexcept { return m_hObject; }
    HGDIOBJ GetSafeHandle() const noexcept { return m_hObject; }
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();
};

class CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    CBitmap() noexcept = default;
    // A bitmap of the current resource module's script; FALSE when it has none with that id.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(LPCTSTR lpszResourceName);
    operator HBITMAP() const noexcept { return static_cast<HBITMAP>(m_hObject); }
};

// ---- Frames and views ----

class CView;

class CFrameWnd : public CWnd {
    DECLARE_DYNAMIC(CFrameWnd)
public:
    CFrameWnd() noexcept = default;
    CView* GetActiveView() const;
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);

private:
    CView* m_pActiveView = nullptr;
};

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNAMIC(CMDIFrameWnd)
public:
    CMDIFrameWnd() noexcept = default;
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() noexcept = default;
    virtual void OnDraw(CDC* pDC) = 0;
};

// ---- Dialog data exchange ----

// One UpdateData pass: TRUE = from the controls to the members (validating), FALSE = the other way.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) noexcept;

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;
    // The id of the control exchanged last (the one Fail puts the focus on).
    UINT m_idLastControl;
    BOOL m_bEditLastControl;

    // The control's window; throws std::logic_error when the dialog has no such control.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends the exchange as failed: the focus goes to the last control, UpdateData returns FALSE.
    [[noreturn]] void Fail();
};

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// nIDC is the first radio button of a group (the next WS_GROUP control ends it); value is the index of
// the checked one, -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal, double maxVal);
void DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal);
void DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars);

// ---- Framework functions ----

// The message box of the framework: the application's title as caption; without an icon, OK boxes get
// the exclamation mark and Yes/No boxes the question mark.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
// The host's main frame.
CWnd* AfxGetMainWnd();
