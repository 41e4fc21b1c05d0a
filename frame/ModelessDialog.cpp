// The keyboard focus of the modeless result dialogs: taken on a mouse move, kept while the mouse is over.
#include "StdAfx.h"

#include "ModelessDialog.h"

LRESULT AnswerKeepFocus(CDialog& dlg, int& bKeepFocus)
{
    const int bKeptBefore = bKeepFocus;
    CRect rcClient;
    dlg.GetClientRect(&rcClient);
    dlg.ClientToScreen(&rcClient);
    CPoint ptCursor;
    ::GetCursorPos(&ptCursor);
    if (!rcClient.PtInRect(ptCursor)) {
        bKeepFocus = 0;
        dlg.UpdateData(TRUE);
    } else {
        bKeepFocus = 1;
    }
    dlg.UpdateData(TRUE);
    return bKeptBefore;
}

void TakeFocusOnMouseMove(CDialog& dlg, const MSG* pMsg, int& bKeepFocus)
{
    if (pMsg->message == WM_MOUSEMOVE && bKeepFocus == 0) {
        dlg.SetActiveWindow();
        bKeepFocus = 1;
    }
}
