// The system registry and the services found in it.
#pragma once

#include "rxdefs.h"
#include "rxdict.h"
#include "rxdlinkr.h"

#define ACRX_DYNAMIC_LINKER ACRX_T("DynamicLinker")
#define ACRX_COMMAND_DOCK ACRX_T("ACAD_REGISTERED_COMMANDS")

extern "C" AcRxDictionary* acrxSysRegistry();

#define acrxDynamicLinker AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))

// The interface version a module is built against; the host refuses other major versions.
extern "C" int acrxGetApiVersion();
#define ACRX_API_VERSION 0x130000
