// A host session with a test module whose resource script holds two dialogs, and the dialog classes
// the tests drive: a modal settings dialog and a modeless result dialog in the module's style.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "acui.h"
#include "arxHeaders.h"
#include "arxhost/Session.h"
#include "editor/Transcript.h"
#include "rx/ModuleLoader.h"
#include "rxmfcapi.h"

#define IDD_RESULT 3100
#define IDD_SETTINGS 3101
#define IDB_MODE_A 130
#define IDB_MODE_B 131
#define IDC_REPAIR 204
#define IDC_LAYER 207
#define IDC_GRADE 208
#define IDC_WIDTH 209
#define IDC_COUNT 210
#define IDC_STAKES 222
#define IDC_SIDE_LEFT 223
#define IDC_SIDE_RIGHT 224
#define IDC_MODE_A 301
#define IDC_MODE_B 302
#define IDC_LIST 1001

namespace planroad::test {

// The settings dialog: a modal one with data exchange in every direction MFC offers.
class SettingsDialog : public CAcUiDialog {
    DECLARE_DYNAMIC(SettingsDialog)
public:
    explicit SettingsDialog(CWnd* parent = nullptr);

    double width = 12.0;
    int lanes = 3;
    int grade = 1;
    int stakes = BST_CHECKED;
    int side = 0;
    CString layer = L"ROAD";
    std::vector<std::wstring> grades {L"Wide", L"narrow", L"Standard", L"Arterial"};

    CComboBox gradeBox;
    std::vector<std::wstring> events; // what the handlers saw, in order
    std::vector<double> widthAfterOk; // the members after each OK
    std::vector<int> lanesAfterOk;
    std::vector<int> focusAfterOk; // the control with the focus after each OK

    void DoDataExchange(CDataExchange* pDX) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnStakesClicked();
    afx_msg void OnGradeChanged();
    afx_msg void OnWidthChanged();
    DECLARE_MESSAGE_MAP()
};

// The result dialog: modeless, created hidden on first use behind a module-wide pointer; its buttons
// store a mode and send the dispatcher command RESULTDISPATCH, as the module's result dialogs do.
class ResultDialog : public CAcUiDialog {
    DECLARE_DYNAMIC(ResultDialog)
public:
    ResultDialog();
    ~ResultDialog() override;

    static int created;
    CListCtrl list;
    CButton modeA;
    CButton modeB;
    CBitmap bitmapA;
    CBitmap bitmapB;
    int mode = 0;
    int clickedRow = -1;
    int mouseMoves = 0;
    int keepFocusQueries = 0;

    // Refills the list: one row per road with its number, name and width.
    void fill(const std::vector<std::pair<std::wstring, std::wstring>>& roads);
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    afx_msg void OnRepair();
    afx_msg void OnListDblClk(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg LRESULT OnKeepFocus(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};

// The module-wide pointer of the result dialog.
extern ResultDialog* gResultDialog;

class DialogFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts a session (ending the current one) whose per-user data lives in `dataDir`.
    void startSession(const std::filesystem::path& dataDir);
    void endSession();

    arxhost::Session& session() { return *mSession; }
    std::wstring transcript() const { return mSession->transcript().text(); }
    // The command line from the first occurrence of `marker` on.
    std::wstring transcriptFrom(const std::wstring& marker) const;
    // Types the lines (an empty one is Enter) and runs the command prompt until they are used up.
    void type(const std::wstring& lines);
    // Registers a command of group "TEST" whose body is the lambda.
    void defineCommand(const std::wstring& name, std::function<void()> body);
    // The commands of the result dialog: SHOWRESULT opens it (filled with the roads), RESULTDISPATCH
    // acts on the mode its buttons stored (2: repair drops the first road).
    void defineResultCommands(std::vector<std::pair<std::wstring, std::wstring>> roads);

    std::filesystem::path mDataDir;
    std::vector<std::wstring> mDispatched; // modes RESULTDISPATCH saw

private:
    std::ostringstream mOut;
    std::unique_ptr<arxhost::Session> mSession;
};

inline bool contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

inline int occurrences(const std::wstring& text, const std::wstring& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size()))
        ++count;
    return count;
}

} // namespace planroad::test
