// Module loading: dlopen, the library entry, the version check, acrxEntryPoint and the string table.
#include "rx/ModuleLoader.h"

#include <dlfcn.h>

#include <algorithm>

#include "arxhost/Session.h"
#include "db/DatabaseImpl.h"
#include "editor/CommandStack.h"
#include "editor/Transcript.h"
#include "rxregsvc.h"
#include "text/Utf8.h"

namespace arxhost {

namespace {

// The interface version this host implements; a module built for another major version is refused.
constexpr int kHostApiVersion = 0x130000;

std::vector<std::pair<std::string, std::string>> embeddedResources(void* handle)
{
    std::vector<std::pair<std::string, std::string>> files;
    // The build embeds the module's resource files as a null-ended array of name/text pairs.
    auto* table = reinterpret_cast<const char* const*>(dlsym(handle, "arxhostResourceFiles"));
    if (table == nullptr)
        return files;
    for (int i = 0; table[i] != nullptr && table[i + 1] != nullptr; i += 2)
        files.emplace_back(table[i], table[i + 1]);
    return files;
}

} // namespace

ModuleLoader::ModuleLoader(Session& session)
    : mSession(session)
{
}

ModuleLoader::~ModuleLoader() = default;

bool ModuleLoader::load(const std::filesystem::path& file, std::wstring& error)
{
    const std::wstring name = file.filename().wstring();
    if (find(name) != nullptr) {
        error = name + L" is already loaded.";
        return false;
    }
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        error = L"Cannot find \"" + file.wstring() + L"\".";
        return false;
    }
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        error = L"Cannot load \"" + file.wstring() + L"\": " + fromUtf8(dlerror());
        return false;
    }
    auto module = std::make_unique<LoadedModule>();
    module->name = name;
    module->path = file;
    module->handle = handle;
    module->entryPoint = reinterpret_cast<LoadedModule::EntryPoint>(dlsym(handle, "acrxEntryPoint"));
    module->libraryEntry = reinterpret_cast<LoadedModule::LibraryEntry>(dlsym(handle, "DllMain"));
    auto version = reinterpret_cast<LoadedModule::VersionFunction>(dlsym(handle, "acrxGetApiVersion"));
    if (module->entryPoint == nullptr) {
        dlclose(handle);
        error = name + L" is not a module of this host (no acrxEntryPoint).";
        return false;
    }
    if (version == nullptr) {
        dlclose(handle);
        error = name + L" does not report the interface version it was built for (acrxGetApiVersion).";
        return false;
    }
    if ((version() >> 16) != (kHostApiVersion >> 16)) {
        dlclose(handle);
        error = name + L" was built for another version of the host's interfaces.";
        return false;
    }
    module->resources.files = embeddedResources(handle);
    return start(std::move(module), error);
}

bool ModuleLoader::loadLinked(const std::wstring& name, LoadedModule::EntryPoint entryPoint,
    LoadedModule::LibraryEntry libraryEntry, std::vector<std::pair<std::string, std::string>> resourceFiles,
    std::wstring& error)
{
    if (find(name) != nullptr) {
        error = name + L" is already loaded.";
        return false;
    }
    auto module = std::make_unique<LoadedModule>();
    module->name = name;
    module->entryPoint = entryPoint;
    module->libraryEntry = libraryEntry;
    module->resources.files = std::move(resourceFiles);
    return start(std::move(module), error);
}

bool ModuleLoader::start(std::unique_ptr<LoadedModule> module, std::wstring& error)
{
    try {
        readStringTable(module->resources);
    } catch (const std::exception& e) {
        if (module->handle != nullptr)
            dlclose(module->handle);
        error = module->name + L": " + fromUtf8(e.what());
        return false;
    }
    LoadedModule* raw = module.get();
    mModules.push_back(std::move(module));
    if (raw->libraryEntry != nullptr)
        raw->libraryEntry(raw->instance(), DLL_PROCESS_ATTACH, nullptr);
    mSession.commands().setRegisteringApp(raw);
    AcRx::AppRetCode result = raw->entryPoint(AcRx::kInitAppMsg, raw);
    mSession.commands().setRegisteringApp(nullptr);
    if (result != AcRx::kRetOK) {
        mSession.commands().removeApp(raw);
        if (raw->libraryEntry != nullptr)
            raw->libraryEntry(raw->instance(), DLL_PROCESS_DETACH, nullptr);
        if (raw->handle != nullptr)
            dlclose(raw->handle);
        error = raw->name + L" refused to load.";
        std::erase_if(mModules, [raw](const auto& m) { return m.get() == raw; });
        return false;
    }
    return true;
}

bool ModuleLoader::unload(const std::wstring& name, std::wstring& error)
{
    LoadedModule* module = find(name);
    if (module == nullptr) {
        error = name + L" is not loaded.";
        return false;
    }
    if (module->locked) {
        error = L"Unable to unload " + module->name + L": it is locked.";
        return false;
    }
    module->entryPoint(AcRx::kUnloadAppMsg, module);
    // Commands the module left registered cannot outlive its code.
    mSession.commands().removeApp(module);
    if (module->libraryEntry != nullptr)
        module->libraryEntry(module->instance(), DLL_PROCESS_DETACH, nullptr);
    std::erase(mResourceStack, module->instance());
    void* handle = module->handle;
    std::erase_if(mModules, [module](const auto& m) { return m.get() == module; });
    if (handle != nullptr)
        dlclose(handle);
    return true;
}

void ModuleLoader::unloadAll()
{
    while (!mModules.empty()) {
        LoadedModule* module = mModules.back().get();
        module->locked = false;
        std::wstring error;
        unload(module->name, error);
    }
}

LoadedModule* ModuleLoader::find(const std::wstring& name) const
{
    for (const auto& m : mModules) {
        if (sameName(m->name.c_str(), name.c_str()))
            return m.get();
        // "planroad" finds "planroad.arx".
        std::wstring stem = std::filesystem::path(m->name).stem().wstring();
        if (sameName(stem.c_str(), name.c_str()))
            return m.get();
    }
    return nullptr;
}

LoadedModule* ModuleLoader::byInstance(HINSTANCE instance) const
{
    for (const auto& m : mModules)
        if (m->instance() == instance)
            return m.get();
    return nullptr;
}

LoadedModule* ModuleLoader::byAppId(void* appId) const
{
    for (const auto& m : mModules)
        if (m.get() == appId)
            return m.get();
    return nullptr;
}

std::vector<std::wstring> ModuleLoader::names() const
{
    std::vector<std::wstring> out;
    for (const auto& m : mModules)
        out.push_back(m->name);
    return out;
}

void ModuleLoader::popResourceHandle()
{
    if (!mResourceStack.empty())
        mResourceStack.pop_back();
}

HINSTANCE ModuleLoader::currentResourceHandle() const
{
    return mResourceStack.empty() ? nullptr : mResourceStack.back();
}

bool ModuleLoader::loadModule(const ACHAR* fileName, bool printit, bool)
{
    return fileName != nullptr && mSession.loadModule(fileName, printit);
}

bool ModuleLoader::unloadModule(const ACHAR* fileName, bool)
{
    return fileName != nullptr && mSession.unloadModule(fileName, false);
}

bool ModuleLoader::unlockApplication(void* appId) const
{
    LoadedModule* module = byAppId(appId);
    if (module == nullptr)
        return false;
    module->locked = false;
    return true;
}

bool ModuleLoader::lockApplication(void* appId) const
{
    LoadedModule* module = byAppId(appId);
    if (module == nullptr)
        return false;
    module->locked = true;
    return true;
}

bool ModuleLoader::isApplicationLocked(const ACHAR* name) const
{
    LoadedModule* module = name == nullptr ? nullptr : find(name);
    return module != nullptr && module->locked;
}

bool ModuleLoader::registerAppMDIAware(void* appId) const
{
    LoadedModule* module = byAppId(appId);
    if (module == nullptr)
        return false;
    module->mdiAware = true;
    return true;
}

bool ModuleLoader::registerAppNotMDIAware(void* appId) const
{
    LoadedModule* module = byAppId(appId);
    if (module == nullptr)
        return false;
    module->mdiAware = false;
    return true;
}

} // namespace arxhost
