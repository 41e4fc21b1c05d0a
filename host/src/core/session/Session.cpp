// The session: owns the document, the command line, the loaded modules and the host's services.
#include "arxhost/Session.h"

#include <iostream>
#include <map>
#include <set>
#include <stdexcept>

#include "core/Diagnostics.h"
#include "db/DatabaseImpl.h"
#include "dbapserv.h"
#include "editor/CommandProcessor.h"
#include "editor/CommandStack.h"
#include "editor/Editor.h"
#include "editor/HostCommands.h"
#include "editor/InputQueue.h"
#include "editor/StatusBar.h"
#include "editor/Transcript.h"
#include "rx/ModuleLoader.h"
#include "rx/SysRegistry.h"
#include "rxregsvc.h"
#include "session/DocManager.h"
#include "session/DocumentState.h"
#include "text/Utf8.h"

namespace arxhost {

namespace {

Session* gCurrent = nullptr;

std::vector<std::pair<const void*, Session::ExtensionFactory>>& extensionFactories()
{
    static std::vector<std::pair<const void*, Session::ExtensionFactory>> factories;
    return factories;
}

class HostServices : public AcDbHostApplicationServices {
public:
    explicit HostServices(Session& session)
        : mSession(session)
    {
    }
    AcDbDatabase* workingDatabase() const override
    {
        return mWorking != nullptr ? mWorking : &mSession.document().database();
    }
    void setWorkingDatabase(AcDbDatabase* pDatabase) override { mWorking = pDatabase; }
    const ACHAR* program() override { return L"planroad"; }
    const ACHAR* product() override { return L"Headless host"; }
    const ACHAR* companyName() override { return L"PlanRoad"; }

private:
    Session& mSession;
    AcDbDatabase* mWorking = nullptr;
};

} // namespace

struct Session::Impl {
    explicit Impl(Session& session, const SessionOptions& options)
        : transcript(options.transcript != nullptr ? *options.transcript : std::cout, options.echoInput)
        , statusBar(
              options.statusBar != nullptr ? *options.statusBar : std::cerr, options.statusBarIsTerminal)
        , editor(session)
        , loader(session)
        , processor(session)
        , docManager(session)
        , services(session)
    {
    }

    Transcript transcript;
    StatusBar statusBar;
    InputQueue input;
    DocumentState document;
    Editor editor;
    CommandStack commands;
    ModuleLoader loader;
    CommandProcessor processor;
    DocManager docManager;
    HostServices services;
    SysRegistry registry;
    std::set<AcDbObjectId> highlighted;
    std::map<AcDbObjectId, std::uint64_t> highlightedAtToken;
    std::set<AcDbObjectId> flashed;
    std::uint64_t flashedAtToken = 0;
    std::vector<std::pair<const void*, std::unique_ptr<SessionExtension>>> extensions;
};

Session::Session(SessionOptions options)
    : mOptions(std::move(options))
    , mImpl(std::make_unique<Impl>(*this, mOptions))
{
    if (gCurrent != nullptr)
        throw std::logic_error("only one host session may exist at a time");
    gCurrent = this;
    setViolationPolicy(mOptions.strict ? ViolationPolicy::Throw : ViolationPolicy::Record);
    mImpl->registry.atPut(ACRX_DYNAMIC_LINKER, &mImpl->loader);
    mImpl->registry.atPut(ACRX_COMMAND_DOCK, &mImpl->commands);
    registerHostCommands(*this, mImpl->processor);
    for (const auto& [key, factory] : extensionFactories())
        mImpl->extensions.emplace_back(key, factory(*this));
}

Session::~Session()
{
    // Modules go before the services they use.
    try {
        mImpl->loader.unloadAll();
    } catch (const RuleViolation&) {
        // A module breaking the rules while unloading must not stop the session from ending.
    }
    // The extensions go after the modules that used them, the last created first.
    while (!mImpl->extensions.empty()) {
        std::unique_ptr<SessionExtension> last = std::move(mImpl->extensions.back().second);
        mImpl->extensions.pop_back();
        last.reset(); // no longer found by extension() while it goes
    }
    mImpl->transcript.finish();
    gCurrent = nullptr;
}

void Session::registerExtension(const void* key, ExtensionFactory factory)
{
    extensionFactories().emplace_back(key, factory);
}

SessionExtension* Session::extension(const void* key) const
{
    for (const auto& [extensionKey, extension] : mImpl->extensions)
        if (extensionKey == key)
            return extension.get();
    return nullptr;
}

void Session::idle()
{
    for (const auto& entry : mImpl->extensions)
        entry.second->idle();
}

Session* Session::currentOrNull()
{
    return gCurrent;
}

Session& Session::current()
{
    if (gCurrent == nullptr)
        throw std::logic_error("no host session");
    return *gCurrent;
}

AcDbDatabase& Session::database()
{
    return mImpl->document.database();
}

void Session::openDrawing(std::unique_ptr<AcDbDatabase> db, const std::wstring& fileName)
{
    mImpl->highlighted.clear();
    mImpl->highlightedAtToken.clear();
    mImpl->flashed.clear();
    mImpl->document.replace(std::move(db), fileName);
}

std::wstring Session::drawingFileName() const
{
    return mImpl->document.fileName();
}

void Session::addInputLine(const std::wstring& line)
{
    mImpl->input.addLine(line);
}

void Session::addInputText(const std::wstring& text)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) {
            if (start < text.size())
                addInputLine(text.substr(start));
            return;
        }
        addInputLine(text.substr(start, end - start));
        start = end + 1;
    }
}

void Session::setInputProvider(std::function<std::optional<std::wstring>()> provider)
{
    mImpl->input.setProvider(std::move(provider));
}

void Session::run()
{
    mImpl->processor.run();
}

void Session::runCommand(const std::wstring& commandLine)
{
    mImpl->transcript.write(L"\nCommand: ");
    mImpl->transcript.echo(commandLine);
    mImpl->processor.execute(commandLine);
}

bool Session::loadModule(const std::filesystem::path& file, bool printMessage)
{
    std::wstring error;
    bool ok = mImpl->loader.load(file, error);
    if (printMessage)
        mImpl->transcript.write(ok
                ? L"\n" + arxhost::fromUtf8(file.filename().string()) + L" successfully loaded."
                : L"\n" + error);
    return ok;
}

bool Session::unloadModule(const std::wstring& name, bool printMessage)
{
    std::wstring error;
    bool ok = mImpl->loader.unload(name, error);
    if (printMessage)
        mImpl->transcript.write(ok ? L"\n" + name + L" successfully unloaded." : L"\n" + error);
    return ok;
}

std::vector<std::wstring> Session::loadedModules() const
{
    return mImpl->loader.names();
}

Editor& Session::editor()
{
    return mImpl->editor;
}
CommandStack& Session::commands()
{
    return mImpl->commands;
}
ModuleLoader& Session::modules()
{
    return mImpl->loader;
}
Transcript& Session::transcript()
{
    return mImpl->transcript;
}
InputQueue& Session::input()
{
    return mImpl->input;
}
DocumentState& Session::document()
{
    return mImpl->document;
}
CommandProcessor& Session::processor()
{
    return mImpl->processor;
}
StatusBar& Session::statusBar()
{
    return mImpl->statusBar;
}

void Session::setHighlighted(AcDbObjectId id, bool on)
{
    const std::uint64_t token = mImpl->input.tokensTaken();
    if (on) {
        if (mImpl->highlighted.insert(id).second)
            mImpl->highlightedAtToken[id] = token;
        return;
    }
    if (mImpl->highlighted.erase(id) == 0)
        return;
    const auto since = mImpl->highlightedAtToken.find(id);
    if (since != mImpl->highlightedAtToken.end() && since->second == token) {
        // On and off within one step of the host: a flash. A flash of a later step replaces the last.
        if (mImpl->flashedAtToken != token)
            mImpl->flashed.clear();
        mImpl->flashedAtToken = token;
        mImpl->flashed.insert(id);
    }
    if (since != mImpl->highlightedAtToken.end())
        mImpl->highlightedAtToken.erase(since);
}

std::vector<AcDbObjectId> Session::flashed() const
{
    return std::vector<AcDbObjectId>(mImpl->flashed.begin(), mImpl->flashed.end());
}

void Session::forgetFlashed()
{
    mImpl->flashed.clear();
}

bool Session::isHighlighted(AcDbObjectId id) const
{
    return mImpl->highlighted.count(id) != 0;
}

std::vector<AcDbObjectId> Session::highlighted() const
{
    return std::vector<AcDbObjectId>(mImpl->highlighted.begin(), mImpl->highlighted.end());
}

AcRxDictionary& Session::registry()
{
    return mImpl->registry;
}
AcApDocManager& Session::docManager()
{
    return mImpl->docManager;
}
AcDbHostApplicationServices& Session::services()
{
    return mImpl->services;
}

} // namespace arxhost
