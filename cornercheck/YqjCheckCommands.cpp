// The corner-cut check's command pairs: the openers that show the result dialogs and the dispatchers
// that run, in command context, the operation a click in a dialog asked for.
#include "StdAfx.h"

#include "CommandHandlers.h"
#include "YQJCheckDlg.h"
#include "YQJDimCheckDlg.h"

void RoadYqjCheckCommand()
{
    if (CYQJCheckDlg::ShowDlg(0) == 0)
        return;
    if (g_pYqjCheckDlg->DoYqjCheck() == 1)
        CYQJCheckDlg::ShowDlg(1);
}

void YqjCheckOprCommand()
{
    CYQJCheckDlg* pDlg = g_pYqjCheckDlg;
    if (pDlg == nullptr)
        return;
    switch (pDlg->m_nOprMode) {
    case 1:
        pDlg->ZoomToYqjRow();
        break;
    case 2:
        pDlg->ShowYqjResult();
        break;
    case 3:
        pDlg->RepairYqjText();
        break;
    case 4:
        // Checked again in place: the dialog stays as it is, whatever the run found.
        pDlg->DoYqjCheck();
        break;
    default:
        break;
    }
}

void RoadYqjDimCheckCommand()
{
    if (CYQJDimCheckDlg::ShowDlg(0) == 0)
        return;
    if (g_pYqjDimCheckDlg->DoYqjCheck() == 1)
        CYQJDimCheckDlg::ShowDlg(1);
}

void RoadYqjDimCheckOprCommand()
{
    CYQJDimCheckDlg* pDlg = g_pYqjDimCheckDlg;
    if (pDlg == nullptr)
        return;
    switch (pDlg->m_nOprMode) {
    case 1:
        pDlg->ZoomToYqjRow();
        break;
    case 2:
        pDlg->ShowYqjResult();
        break;
    case 4:
        pDlg->DoYqjCheck();
        break;
    default:
        break;
    }
}

void DestroyYqjCheckDlg()
{
    CYQJCheckDlg::DestroyDlg();
}

void DestroyYqjDimCheckDlg()
{
    CYQJDimCheckDlg::DestroyDlg();
}
