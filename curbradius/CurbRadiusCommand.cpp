// "QVDLYJBJBZ": the curb-return radius annotation dialog, shown with the module's resources current.
#include "StdAfx.h"

#include "CommandHandlers.h"
#include "DlyjbjbzDlg.h"
#include "PlanRoadModule.h"
#include "rxmfcapi.h"

void QvDlyjbjbzCommand()
{
    CPlanRoadResourceOverride resources;
    // Everything happens inside the dialog: its button stores the settings and runs the annotation.
    CDlyjbjbzDlg dialog(acedGetAcadFrame());
    dialog.DoModal();
}
