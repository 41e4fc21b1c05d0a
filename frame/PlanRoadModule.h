// The module's extension-module record and instance handle, set by the library entry.
#pragma once

#include "StdAfx.h"

// The MFC extension-module record with what the module adds to it: whether the attach succeeded,
// MFC's resource handle at attach time, and the module's own instance (pushed around dialogs).
struct PLANROADMODULE : public AFX_EXTENSION_MODULE {
    BOOL attached;
    HINSTANCE defaultResource;
    HINSTANCE moduleResource;
};

// The one record of the process.
PLANROADMODULE& GetPlanRoadModule();
// The instance handle the library entry was given; local command names load from its string table.
HINSTANCE GetPlanRoadInstance();

// Makes the module's own resources current while it lives: pushes `moduleResource` of the module record
// as the host's resource handle and pops it again on every way out of the scope, exceptions included.
class CPlanRoadResourceOverride {
public:
    CPlanRoadResourceOverride();
    ~CPlanRoadResourceOverride();
    CPlanRoadResourceOverride(const CPlanRoadResourceOverride&) = delete;
    CPlanRoadResourceOverride& operator=(const CPlanRoadResourceOverride&) = delete;
};

// Registers one command of the module's group with the host's command stack: the local name is
// cmdLoc when idLocal is -1, otherwise the string with that id in the module's string table.
void addCommand(const ACHAR* cmdGroup, const ACHAR* cmdInt, const ACHAR* cmdLoc, const int cmdFlags,
    const AcRxFunctionPtr cmdProc, const int idLocal = -1);
