// MFC's extension-module support, the host's dialog library start and string resources.
#include <algorithm>

#include "acui.h"
#include "afxdll_.h"
#include "arxhost/Session.h"
#include "rx/FrameworkState.h"
#include "rx/ModuleLoader.h"

namespace arxhost {

FrameworkState& frameworkState()
{
    static FrameworkState state;
    return state;
}

} // namespace arxhost

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule)
{
    ++arxhost::frameworkState().initExtensionModuleCalls;
    if (state.bInitialized)
        return TRUE;
    state.hModule = hModule;
    state.hResource = hModule;
    state.pFirstSharedClass = nullptr;
    state.pFirstSharedFactory = nullptr;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL)
{
    ++arxhost::frameworkState().termExtensionModuleCalls;
    // Each library leaves the list in its destructor.
    std::vector<CDynLinkLibrary*> owned;
    for (CDynLinkLibrary* library : arxhost::frameworkState().libraries)
        if (library->m_hModule == state.hModule)
            owned.push_back(library);
    for (CDynLinkLibrary* library : owned)
        delete library;
    state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule)
    , m_hResource(state.hResource)
    , m_bSystem(bSystem)
{
    arxhost::frameworkState().libraries.push_back(this);
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule)
    , m_hResource(hResource)
    , m_bSystem(FALSE)
{
    arxhost::frameworkState().libraries.push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    auto& libraries = arxhost::frameworkState().libraries;
    libraries.erase(std::remove(libraries.begin(), libraries.end(), this), libraries.end());
}

HINSTANCE AfxGetResourceHandle()
{
    arxhost::Session* session = arxhost::Session::currentOrNull();
    return session == nullptr ? nullptr : session->modules().currentResourceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    if (arxhost::Session* session = arxhost::Session::currentOrNull()) {
        session->modules().popResourceHandle();
        session->modules().pushResourceHandle(hInstResource);
    }
}

HINSTANCE AfxGetInstanceHandle()
{
    return nullptr;
}

void InitAcUiDLL()
{
    ++arxhost::frameworkState().initAcUiCalls;
}

int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax)
{
    arxhost::Session* session = arxhost::Session::currentOrNull();
    if (session == nullptr || lpBuffer == nullptr || cchBufferMax <= 0)
        return 0;
    arxhost::ModuleLoader& loader = session->modules();
    arxhost::LoadedModule* module
        = loader.byInstance(hInstance != nullptr ? hInstance : loader.currentResourceHandle());
    if (module == nullptr) {
        lpBuffer[0] = 0;
        return 0;
    }
    auto it = module->resources.strings.find(static_cast<int>(uID));
    if (it == module->resources.strings.end()) {
        lpBuffer[0] = 0;
        return 0;
    }
    // As on Windows: at most cchBufferMax - 1 characters, always terminated.
    const std::wstring& text = it->second;
    int n = std::min(static_cast<int>(text.size()), cchBufferMax - 1);
    text.copy(lpBuffer, static_cast<std::size_t>(n));
    lpBuffer[n] = 0;
    return n;
}
