// Commands whose features are not part of this build yet: each says so and changes nothing.
#include "StdAfx.h"

#include "CommandHandlers.h"

namespace {

void NotAvailable(const ACHAR* name)
{
    acutPrintf(_T("\n%s: 该功能尚未提供。"), name);
}

} // namespace

void TCrossDealCommand()
{
    NotAvailable(_T("TCrossDeal"));
}

