// What the module's modeless result dialogs have in common: the one instance behind a module-wide pointer,
// its show and teardown routines, and the keyboard focus that follows the mouse.
#pragma once

#include <new>

#include "StdAfx.h"

#include "rxmfcapi.h"

#include "PlanRoadModule.h"

// Destroys the dialog's window and object and empties the slot; nothing when the slot is empty.
template <class TDialog> void DiscardModelessDlg(TDialog*& pDlg)
{
    TDialog* pOld = pDlg;
    pDlg = nullptr;
    if (pOld == nullptr)
        return;
    if (pOld->GetSafeHwnd() != nullptr)
        pOld->DestroyWindow();
    delete pOld;
}

// The show routine of a modeless result dialog: shows the one instance in pDlg (visible 1) or hides it
// (any other value), first creating it with the host's main frame as parent when the slot is empty.
// Returns 1, or 0 after printing why the dialog could not be made; the slot is then empty again, so
// that the next opener tries anew. The module's resource handle is current while the dialog is created
// and is popped on every way out, exceptions included.
template <class TDialog> int ShowModelessDlg(TDialog*& pDlg, UINT nIDTemplate, int visible)
{
    const int nCmdShow = visible == 1 ? SW_SHOW : SW_HIDE;
    if (pDlg != nullptr) {
        pDlg->ShowWindow(nCmdShow);
        return 1;
    }
    CPlanRoadResourceOverride resourceOverride;
    CWnd* pParent = acedGetAcadFrame();
    pDlg = new (std::nothrow) TDialog(pParent);
    if (pDlg == nullptr) {
        acutPrintf(_T("\n%s\n"), _T("Unable to allocate a CBuildingHatch."));
        return 0;
    }
    BOOL bCreated = FALSE;
    try {
        bCreated = pDlg->Create(nIDTemplate, pParent);
    } catch (...) {
        DiscardModelessDlg(pDlg);
        throw;
    }
    if (!bCreated) {
        acutPrintf(_T("\n%s\n"), _T("不能创建对话框."));
        DiscardModelessDlg(pDlg);
        return 0;
    }
    pDlg->ShowWindow(nCmdShow);
    return 1;
}

// The teardown routine at unload: destroys the one instance, if there is one. Returns 1.
template <class TDialog> int DestroyModelessDlg(TDialog*& pDlg)
{
    DiscardModelessDlg(pDlg);
    return 1;
}

// The answer to the host's keep-focus question (WM_ACAD_KEEPFOCUS): bKeepFocus as it stood before the
// question. bKeepFocus itself becomes 1 while the cursor is inside the dialog's client area and 0 when
// it is outside; either way the dialog's controls are stored into its members (UpdateData(TRUE)).
LRESULT AnswerKeepFocus(CDialog& dlg, int& bKeepFocus);

// A mouse move over a dialog that does not hold the focus activates it and marks it as holding it.
void TakeFocusOnMouseMove(CDialog& dlg, const MSG* pMsg, int& bKeepFocus);
