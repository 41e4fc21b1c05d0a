// What the framework (MFC and the host's dialog library) records about module initialisation.
#pragma once

#include <vector>

#include "windows.h"

class CDynLinkLibrary;

namespace arxhost {

struct FrameworkState {
    int initExtensionModuleCalls = 0;
    int termExtensionModuleCalls = 0;
    int initAcUiCalls = 0;
    std::vector<CDynLinkLibrary*> libraries; // owned: deleted at AfxTermExtensionModule
};

FrameworkState& frameworkState();

} // namespace arxhost
