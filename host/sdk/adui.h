// The host's dialog library base classes: per-user dialog data and resizable layouts.
#pragma once

#include <vector>

#include "afxcmn.h"
#include "afxwin.h"

// How a control follows the dialog's size: move and/or stretch by pct percent of the size change.
typedef struct _dlgControlTag {
    DWORD id;
    DWORD flags;
    DWORD pct;
} DLGCTLINFO, *PDLGCTLINFO;

#define MOVEX 0x0001
#define MOVEY 0x0002
#define MOVEXY 0x0003
#define ELASTICX 0x0010
#define ELASTICY 0x0020
#define ELASTICXY 0x0030

// A dialog of the host's library: per-user data kept between sessions, keyed by the dialog's name
// (SetDialogName; else its run-time class name when the class declares one; else "Dialog<id>").
class CAdUiBaseDialog : public CDialog {
    DECLARE_DYNAMIC(CAdUiBaseDialog)
public:
    explicit CAdUiBaseDialog(UINT idd, CWnd* pParent = nullptr, HINSTANCE hDialogResource = nullptr) noexcept;
    ~CAdUiBaseDialog() override;

    // FALSE when nothing of that type was stored under the name.
    BOOL GetDialogData(LPCTSTR valueName, CString& data);
    BOOL GetDialogData(LPCTSTR valueName, DWORD& data);
    // FALSE when the data could not be written.
    BOOL SetDialogData(LPCTSTR valueName, LPCTSTR data);
    BOOL SetDialogData(LPCTSTR valueName, DWORD data);

    void SetDialogName(LPCTSTR name);
    CString GetDialogName() const;

private:
    CString m_dialogName;
};

// Adds layouts: SetControlProperty records how each control moves and stretches when the dialog is
// resized (relative to the size at the time of the call). Entries of one call for the same control add
// up (ELASTICX and ELASTICY as two entries stretch both ways); a later call naming a control replaces
// what earlier calls said about it.
class CAdUiDialog : public CAdUiBaseDialog {
    DECLARE_DYNAMIC(CAdUiDialog)
public:
    explicit CAdUiDialog(UINT idd, CWnd* pParent = nullptr, HINSTANCE hDialogResource = nullptr) noexcept;
    ~CAdUiDialog() override;

    BOOL SetControlProperty(PDLGCTLINFO lp, DWORD numElements);

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    struct Layout {
        DLGCTLINFO info;
        RECT start; // the control's rectangle when the property was set
        SIZE client; // the dialog's client size then
    };
    std::vector<Layout> m_layout;
};
