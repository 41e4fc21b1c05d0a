// The host's class registry: automation servers register their ProgID, how to make an object and which
// instance, if any, runs (for GetActiveObject).
#pragma once

#include <functional>
#include <string>

#include "ole2.h"

namespace arxhost::ole {

struct ComClass {
    std::wstring progId; // "Excel.Application"; compared without case
    CLSID clsid {};
    // A new object asked for the interface; REGDB_E_CLASSNOTREG when the program is not installed.
    std::function<HRESULT(REFIID, void**)> create;
    // The running instance's IUnknown, AddRef'd; MK_E_UNAVAILABLE when none runs.
    std::function<HRESULT(IUnknown**)> active;
};

// Registers (or replaces, by class id) a class; servers do this at load time.
void registerComClass(ComClass entry);

// A thread's COM apartment was started (CoInitialize) and not ended since.
bool comInitialized();

} // namespace arxhost::ole
