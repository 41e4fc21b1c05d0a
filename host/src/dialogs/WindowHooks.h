// The host's access to the protected parts of MFC's window classes (window procedures, dialog state).
#pragma once

#include "afxwin.h"

namespace arxhost {

// Thrown by CDataExchange::Fail, caught by UpdateData.
struct DataExchangeFailure { };

class WindowHooks {
public:
    static LRESULT windowProc(CWnd& window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        return window.WindowProc(message, wParam, lParam);
    }
    static void postNcDestroy(CWnd& window) { window.PostNcDestroy(); }
    static UINT templateId(const CDialog& dialog) { return dialog.m_nIDTemplate; }
    static HINSTANCE dialogResource(const CDialog& dialog) { return dialog.m_hDialogResource; }
};

} // namespace arxhost
