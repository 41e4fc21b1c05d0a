// The host's screen for one session: its windows and their messages, focus, cursor, images, modal
// loops, message boxes, and the command-line side of dialogs (showing them, driving them by script).
#pragma once

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "arxhost/Session.h"
#include "dialogs/Window.h"
#include "shlobj.h"

class CMDIFrameWnd;
class CView;

namespace arxhost {

struct LoadedModule;

// The screen's layout, in pixels.
inline constexpr int kScreenWidth = 1920;
inline constexpr int kScreenHeight = 1080;
inline constexpr RECT kFrameRect {0, 0, 1920, 1040};
// The drawing view in the frame's client coordinates (the ribbon above, the command line below).
inline constexpr RECT kViewRect {0, 150, 1920, 870};
// A dialog's border and title bar.
inline constexpr int kBorder = 3;
inline constexpr int kCaption = 23;
// A list view's header and rows.
inline constexpr int kListHeaderHeight = 24;
inline constexpr int kListRowHeight = 19;

class DialogHost : public SessionExtension {
public:
    explicit DialogHost(Session& session);
    ~DialogHost() override;
    DialogHost(const DialogHost&) = delete;
    DialogHost& operator=(const DialogHost&) = delete;

    // The current session's screen, or null without a session.
    static DialogHost* current();

    Session& session() { return mSession; }
    // Delivers posted messages and shows dialogs that changed.
    void idle() override;

    // ---- Windows ----
    Window* find(HWND handle) const;
    // A new window; a child when style has WS_CHILD (rect in the parent's client coordinates), else
    // a top-level window owned by parent (rect in screen coordinates).
    Window& createWindow(WindowClass windowClass, HWND parent, const std::wstring& className,
        const std::wstring& text, DWORD style, const RECT& rect, int id);
    // A dialog and its controls from the template, attached to the object; sends WM_INITDIALOG and
    // shows the dialog when it is modal or its template says so. Null when there is no such template.
    HWND createDialog(CDialog& dialog, UINT templateId, HINSTANCE resource, HWND owner, bool modal);
    // Destroys the window, its children and the windows it owns; false for an unknown window.
    bool destroyWindow(HWND handle);
    // Adds the initial list and combo box items of the dialog's template (its DLGINIT block) to its
    // controls, once; MFC does this in CDialog::OnInitDialog.
    void executeDialogInit(HWND dialog);

    // The window procedure of the attached object, else the host's.
    LRESULT send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    bool post(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    void deliverPosted();
    // The host's own handling of messages, by window class.
    LRESULT defaultProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    // The message being handled, for CWnd::Default.
    struct CurrentMessage {
        HWND handle;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    const CurrentMessage* currentMessage() const;

    bool attach(HWND handle, CWnd& wrapper);
    CWnd* detach(HWND handle);
    // The attached object, else (when makeTemporary) a temporary CWnd living as long as the window.
    CWnd* wrapperOf(HWND handle, bool makeTemporary);

    HWND dialogItem(HWND dialog, int id) const;
    HWND topLevelOf(HWND handle) const;
    // Whether handle is ancestor or one of its child windows (at any depth).
    bool within(HWND handle, HWND ancestor) const;
    bool isVisible(HWND handle) const;
    bool isEnabled(HWND handle) const;
    bool enableWindow(HWND handle, bool enable);
    void setText(HWND handle, const std::wstring& text);

    // ---- Geometry ----
    RECT windowRect(HWND handle) const; // screen coordinates
    RECT clientRect(HWND handle) const; // client coordinates
    POINT clientOrigin(HWND handle) const; // where client (0,0) is on the screen
    bool setWindowPos(HWND handle, int x, int y, int cx, int cy, UINT flags);
    void centerWindow(HWND handle, HWND alternateOwner);
    RECT mapDialogRect(HWND dialog, const RECT& dialogUnits) const;
    // The deepest visible window under a screen point among the top-level window's descendants.
    HWND windowAt(HWND topLevel, POINT screen) const;

    // ---- Visibility, activation and focus ----
    bool showWindow(HWND handle, int command);
    HWND setFocus(HWND handle);
    HWND focus() const { return mFocus; }
    HWND setActive(HWND handle);
    HWND active() const { return mActive; }
    POINT cursor() const { return mCursor; }
    void setCursor(POINT point) { mCursor = point; }

    HWND frameHandle() const { return mFrameHandle; }
    HWND viewHandle() const { return mViewHandle; }
    CMDIFrameWnd* frame() const;
    CView* view() const;

    // ---- Images of module resources ----
    // A bitmap or icon of a module's script (null module: the current resource module, then all).
    HGDIOBJ loadImage(HINSTANCE module, int resourceId, bool icon);
    bool deleteImage(HGDIOBJ image);
    // What the command line shows for an image ("bitmap res\crossing.bmp").
    std::wstring describeImage(HGDIOBJ image) const;

    // ---- Dialogs ----
    // Runs the modal loop of the dialog on the input queue until EndDialog; returns the result.
    INT_PTR runModal(HWND dialog);
    void endDialog(HWND dialog, INT_PTR result);
    // The dialog UpdateData works on, whose control notifications are ignored meanwhile.
    HWND lockout() const { return mLockout; }
    HWND setLockout(HWND dialog);

    // ---- The command line ----
    // A change the user can see: the dialog is shown again when the host next waits for input.
    void changed(HWND handle);
    // Shows the dialogs that changed, and the ones that were shown or hidden.
    void flush();
    // The user's own change (typed or clicked by the script) is taken as seen: the dialog is shown again
    // only for what its handlers change beyond it.
    void acceptUserChange(HWND handle);
    void write(const std::wstring& text);
    // The application's title, the caption of the framework's message boxes.
    std::wstring applicationTitle() const;

    // The message box: printed, answered from the input queue. Returns IDOK, IDYES, ...
    int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
    // The folder browser: the chosen folder, or nothing when cancelled.
    std::optional<std::wstring> browseForFolder(const BROWSEINFOW& info);

    // "!dialog ..." (the text after the name); defaultTarget null: the top modal dialog, else the
    // active or last shown dialog. False, with the reason on the command line, when it cannot be done.
    bool dialogDirective(const std::wstring& args, HWND defaultTarget);

    // Where per-user dialog data is kept.
    std::filesystem::path userDataFile() const;

    // Templates and images are looked up in a module's resource script.
    LoadedModule* resourceModule(HINSTANCE preferred, int dialogId) const;

private:
    struct Posted {
        HWND handle;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    struct Image {
        bool icon = false;
        int resourceId = 0;
        std::wstring file;
    };

    // DefaultProcedures.cpp
    LRESULT buttonProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT editProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT staticProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT comboProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT listViewProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT dialogProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT commonProc(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
    struct RowChange {
        int row;
        UINT oldState;
        UINT newState;
    };
    // Sets a row's state (keeping one focused row, and one selected in a single-selection list).
    std::vector<RowChange> applyListState(Window& list, int row, UINT state, UINT mask);
    void announceListChanges(HWND list, const std::vector<RowChange>& changes);
    void setListItemState(Window& list, int row, UINT state, UINT mask);

public:
    // Control behaviour shared by the default procedures and the scripted user.
    void notifyParent(HWND control, UINT code);
    LRESULT notifyParent(HWND control, NMHDR& header);
    // A click on a button: the focus goes to it, the automatic check box and radio button change state,
    // BN_CLICKED goes out. clickButtonState only changes the state.
    void clickButton(HWND button);
    void clickButtonState(HWND button);
    void setButtonCheck(HWND button, int state);
    // Selects a row of a list view alone, as a click does; returns the rows whose state changed.
    std::vector<RowChange> selectListRow(HWND list, int row);

private:
    // Scripting.cpp
    HWND resolveDialog(const std::wstring& target, HWND defaultTarget, std::wstring& error) const;
    HWND resolveControl(HWND dialog, const std::wstring& name, std::wstring& error) const;
    bool hover(HWND dialog, bool enter);
    void echoInput(const std::wstring& line);
    // Reads the next token for a modal loop; shows the prompt first.
    void promptFor(const std::wstring& prompt);

    Session& mSession;
    std::map<HWND, std::unique_ptr<Window>> mWindows;
    std::map<HWND, std::vector<DialogInitItem>> mDialogInit; // items not yet added, by dialog
    std::uintptr_t mNextHandle = 0x1000;
    std::vector<HWND> mTopLevelOrder; // top-level windows, the most recently shown or activated last
    std::deque<Posted> mPosted;
    std::vector<CurrentMessage> mMessages;
    std::map<std::uintptr_t, Image> mImages;
    std::uintptr_t mNextImage = 0x10000;
    std::vector<HWND> mModalStack;
    HWND mFocus = nullptr;
    HWND mActive = nullptr;
    HWND mLockout = nullptr;
    POINT mCursor {kScreenWidth / 2, kScreenHeight / 2};

    HWND mFrameHandle = nullptr;
    HWND mViewHandle = nullptr;
    HICON mHostIcon = nullptr;
    std::unique_ptr<CMDIFrameWnd> mFrame;
    std::unique_ptr<CView> mView;
};

// The text of a dialog as the command line shows it: a header line, then one line per visible control
// (a list view also as a table). Lines are separated by "\n", with no newline at the end.
std::wstring describeDialog(const DialogHost& host, const Window& dialog);
// The columns text takes on a terminal: East Asian wide and full-width characters take two.
int displayWidth(std::wstring_view text);
// The words of a directive's arguments; "..." groups blanks into one word (\" and \\ inside).
std::vector<std::wstring> splitArguments(const std::wstring& text);

} // namespace arxhost
