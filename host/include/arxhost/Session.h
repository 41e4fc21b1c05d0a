// The headless host session: one open drawing, the command line, loaded modules and their services.
#pragma once

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dbid.h"

class AcDbDatabase;
class AcRxDictionary;
class AcApDocManager;
class AcDbHostApplicationServices;

namespace arxhost {

class Editor;
class CommandStack;
class ModuleLoader;
class Transcript;
class InputQueue;
class DocumentState;
class CommandProcessor;
class StatusBar;

struct SessionOptions {
    // Where the command line goes (UTF-8); null means standard output.
    std::ostream* transcript = nullptr;
    // Where the status bar's progress meter goes; null means standard error.
    std::ostream* statusBar = nullptr;
    // Draw the meter as a live bar (a terminal) rather than a closing summary line.
    bool statusBarIsTerminal = false;
    // Echo answers after their prompts; off when a terminal already shows what the user types.
    bool echoInput = true;
    // Breaches of the host's rules (objects left open, ...) throw instead of being printed.
    bool strict = true;
    // The product family's configuration root (folders "common", "config", "standards").
    std::filesystem::path configRoot;
    // Where per-user data (dialog settings) is kept.
    std::filesystem::path userDataDir;
};

// A service of another host area that lives as long as a session (the dialog model). Factories are
// registered once per process; every session creates its extensions at its start and destroys them
// after its modules were unloaded.
class SessionExtension {
public:
    virtual ~SessionExtension() = default;
    // The host waits for input (the command prompt, a prompt of a command): windows catch up.
    virtual void idle() { }
};

class Session {
public:
    explicit Session(SessionOptions options = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    static Session* currentOrNull();
    static Session& current();

    const SessionOptions& options() const { return mOptions; }

    // The open drawing. A new session starts with a new, empty drawing.
    AcDbDatabase& database();
    // Replaces the open drawing (after reading a file); the name is the drawing's file name.
    void openDrawing(std::unique_ptr<AcDbDatabase> db, const std::wstring& fileName);
    std::wstring drawingFileName() const;

    // Command-line input: lines as typed (an empty line is Enter).
    void addInputLine(const std::wstring& line);
    void addInputText(const std::wstring& text);
    // A source of further lines, asked when the queued ones run out (standard input).
    void setInputProvider(std::function<std::optional<std::wstring>()> provider);

    // Runs commands until the input ends. Returns normally also when a command failed.
    void run();
    // Runs one command line (for tests): the text, then whatever input the command asks for.
    void runCommand(const std::wstring& commandLine);

    // Modules. The load message goes to the command line; false (with a message) on failure.
    bool loadModule(const std::filesystem::path& file, bool printMessage = true);
    bool unloadModule(const std::wstring& name, bool printMessage = true);
    std::vector<std::wstring> loadedModules() const;

    Editor& editor();
    CommandStack& commands();
    ModuleLoader& modules();
    Transcript& transcript();
    InputQueue& input();
    DocumentState& document();
    CommandProcessor& processor();
    StatusBar& statusBar();
    AcRxDictionary& registry();
    AcApDocManager& docManager();
    AcDbHostApplicationServices& services();

    // Extensions: the factory runs for every session started after the registration.
    using ExtensionFactory = std::unique_ptr<SessionExtension> (*)(Session&);
    static void registerExtension(const void* key, ExtensionFactory factory);
    // This session's extension under the key, or null.
    SessionExtension* extension(const void* key) const;
    // Called where the host waits for input.
    void idle();

    // Entities shown highlighted (the host's selection feedback).
    void setHighlighted(AcDbObjectId id, bool on);
    bool isHighlighted(AcDbObjectId id) const;
    std::vector<AcDbObjectId> highlighted() const;
    // Entities the last flash showed: highlighted and unhighlighted again without input in between. A
    // picture shows them highlighted until a command other than ZOOM or PNGOUT runs.
    std::vector<AcDbObjectId> flashed() const;
    void forgetFlashed();

private:
    struct Impl;
    SessionOptions mOptions;
    std::unique_ptr<Impl> mImpl;
};

} // namespace arxhost
