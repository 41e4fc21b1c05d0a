// Commands whose features are not part of this build yet: each says so and changes nothing.
#include "StdAfx.h"

#include "CommandHandlers.h"

namespace {

void NotAvailable(const ACHAR* name)
{
    acutPrintf(_T("\n%s: 该功能尚未提供。"), name);
}

} // namespace

void QvZdbzCommand()
{
    NotAvailable(_T("QVZDBZ"));
}

void QvDlyjbjbzCommand()
{
    NotAvailable(_T("QVDLYJBJBZ"));
}

void RoadYqjCheckCommand()
{
    NotAvailable(_T("FDeal_RoadYqjCheck"));
}

void TCrossDealCommand()
{
    NotAvailable(_T("TCrossDeal"));
}

void RoadYqjDimCheckCommand()
{
    NotAvailable(_T("FDeal_RoadYqjDimCheck"));
}

void RoadWidthCheckCommand()
{
    NotAvailable(_T("FROADWIDTHCHECK"));
}

void DldmDataDealCommand()
{
    NotAvailable(_T("FDLDMDataDeal"));
}

// The dispatchers act only on their dialog, and no dialog exists before its opener has run.
void YqjCheckOprCommand() { }

void RoadYqjDimCheckOprCommand() { }

void RoadWidthCheckOprCommand() { }

void DestroyYqjCheckDlg() { }

void DestroyYqjDimCheckDlg() { }

void DestroyRoadWidthCheckDlg() { }
