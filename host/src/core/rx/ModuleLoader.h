// Loading and unloading modules: the shared object, its library entry, acrxEntryPoint and resources.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "rxdefs.h"
#include "rxdlinkr.h"
#include "windows.h"

namespace arxhost {

class Session;

// A module's resources: the string table now, dialogs and bitmaps once the dialog model reads them.
struct ModuleResources {
    std::map<int, std::wstring> strings;
    // The resource files as embedded in the module: name and UTF-8 text, the script first.
    std::vector<std::pair<std::string, std::string>> files;
};

struct LoadedModule {
    using EntryPoint = AcRx::AppRetCode (*)(AcRx::AppMsgCode, void*);
    using LibraryEntry = BOOL (*)(HINSTANCE, DWORD, LPVOID);
    using VersionFunction = int (*)();

    std::wstring name; // the file name, e.g. "planroad.arx"
    std::filesystem::path path;
    void* handle = nullptr; // from dlopen; null for a module linked into the host's process
    EntryPoint entryPoint = nullptr;
    LibraryEntry libraryEntry = nullptr;
    bool locked = true;
    bool mdiAware = false;
    ModuleResources resources;

    // The module's instance handle, as its library entry and LoadStringW see it.
    HINSTANCE instance() const { return reinterpret_cast<HINSTANCE>(const_cast<LoadedModule*>(this)); }
};

class ModuleLoader : public AcRxDynamicLinker {
public:
    explicit ModuleLoader(Session& session);
    ~ModuleLoader() override;

    // AcRxDynamicLinker.
    bool loadModule(const ACHAR* fileName, bool printit, bool asCmd = false) override;
    bool unloadModule(const ACHAR* fileName, bool asCmd = false) override;
    bool unlockApplication(void* appId) const override;
    bool lockApplication(void* appId) const override;
    bool isApplicationLocked(const ACHAR* name) const override;
    bool registerAppMDIAware(void* appId) const override;
    bool registerAppNotMDIAware(void* appId) const override;

    // Loads a module file; on failure returns false with the reason in `error`.
    bool load(const std::filesystem::path& file, std::wstring& error);
    // Loads a module whose entry points are linked into the host's own process (tests).
    bool loadLinked(const std::wstring& name, LoadedModule::EntryPoint entryPoint,
        LoadedModule::LibraryEntry libraryEntry,
        std::vector<std::pair<std::string, std::string>> resourceFiles, std::wstring& error);
    // Unloads by file name (without regard to case); locked modules stay.
    bool unload(const std::wstring& name, std::wstring& error);
    // Unloads every module, the last loaded first, locked or not (the end of the session).
    void unloadAll();

    LoadedModule* find(const std::wstring& name) const;
    LoadedModule* byInstance(HINSTANCE instance) const;
    LoadedModule* byAppId(void* appId) const;
    std::vector<std::wstring> names() const;

    // The resource handle stack of AcApDocManager::pushResourceHandle.
    void pushResourceHandle(HINSTANCE instance) { mResourceStack.push_back(instance); }
    void popResourceHandle();
    HINSTANCE currentResourceHandle() const;
    std::size_t resourceDepth() const { return mResourceStack.size(); }

private:
    bool start(std::unique_ptr<LoadedModule> module, std::wstring& error);

    Session& mSession;
    std::vector<std::unique_ptr<LoadedModule>> mModules;
    std::vector<HINSTANCE> mResourceStack;
};

// Parses a module's string table out of its embedded resource files.
void readStringTable(ModuleResources& resources);

} // namespace arxhost
