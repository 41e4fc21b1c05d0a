// The command prompt and the frame every command runs in.
#include "editor/CommandProcessor.h"

#include <cwctype>

#include "adscodes.h"

#include "arxhost/Session.h"
#include "core/Diagnostics.h"
#include "db/DatabaseImpl.h"
#include "db/SystemVariables.h"
#include "editor/CommandStack.h"
#include "editor/Editor.h"
#include "editor/HostCommands.h"
#include "editor/InputQueue.h"
#include "editor/StatusBar.h"
#include "editor/SysVarAccess.h"
#include "editor/Transcript.h"
#include "session/DocumentState.h"
#include "text/Utf8.h"

namespace arxhost {

namespace {

std::wstring upper(const std::wstring& text)
{
    return upperName(text.c_str());
}

} // namespace

CommandProcessor::CommandProcessor(Session& session)
    : mSession(session)
{
}

void CommandProcessor::addHostCommand(
    const std::wstring& name, HostCommand command, bool undoable, bool viewOnly)
{
    mHostCommands[upper(name)] = HostEntry {std::move(command), undoable, viewOnly};
}

bool CommandProcessor::isHostCommand(const std::wstring& name) const
{
    return mHostCommands.count(upper(name)) != 0;
}

void CommandProcessor::run()
{
    Transcript& out = mSession.transcript();
    InputQueue& input = mSession.input();
    while (true) {
        mSession.idle();
        out.write(L"\nCommand: ");
        std::optional<InputToken> token;
        while (true) {
            token = input.next();
            if (!token) {
                out.finish();
                return;
            }
            if (token->kind != InputToken::Kind::Directive)
                break;
            // A directive at the command prompt (a click in a modeless dialog, ...): what it sends
            // to the command line is typed at once, as no command is running.
            if (token->text == L"break")
                continue;
            const std::size_t shown = out.text().size();
            mSession.editor().handleDirectiveAtPrompt(token->text, token->args);
            input.releaseDeferred();
            // What the directive showed ends the prompt's line; the prompt is shown again.
            if (out.text().size() != shown) {
                mSession.idle();
                out.write(L"\nCommand: ");
            }
        }
        if (token->kind == InputToken::Kind::Cancel) {
            out.write(L"*Cancel*");
            continue;
        }
        out.echo(token->text);
        std::wstring line = trimmed(token->text);
        if (line.empty()) {
            // Enter at the command prompt repeats the last command.
            if (!mLastCommand.empty())
                execute(mLastCommand);
            continue;
        }
        std::size_t blank = line.find_first_of(L" \t");
        if (blank != std::wstring::npos) {
            std::wstring rest = trimmed(line.substr(blank + 1));
            line.resize(blank);
            if (!rest.empty())
                input.pushFront(rest);
        }
        execute(line);
    }
}

bool CommandProcessor::execute(const std::wstring& typed)
{
    std::wstring name = typed;
    bool hostOnly = false;
    // "'" runs transparently, "_" asks for the global name, "." for the host's own command.
    while (!name.empty() && (name[0] == L'\'' || name[0] == L'_' || name[0] == L'.')) {
        hostOnly = hostOnly || name[0] == L'.';
        name = name.substr(1);
    }
    auto host = mHostCommands.find(upper(name));
    if (host != mHostCommands.end()) {
        runHost(host->first, host->second);
        mLastCommand = host->first;
        return true;
    }
    if (!hostOnly) {
        AcEdCommand* command = mSession.commands().lookupGlobalCmd(name.c_str());
        if (command == nullptr)
            command = mSession.commands().lookupLocalCmd(name.c_str());
        if (command != nullptr) {
            std::wstring global = command->globalName();
            runRegistered(static_cast<const RegisteredCommand&>(*command));
            mLastCommand = global;
            return true;
        }
    }
    if (findSysVar(name.c_str()) != nullptr)
        return runVariable(upper(name));
    mSession.transcript().write(L"\nUnknown command \"" + upper(name) + L"\".  Press F1 for help.");
    return false;
}

void CommandProcessor::around(const std::wstring& name, bool undoable, const std::function<void()>& body)
{
    DocumentState& doc = mSession.document();
    DatabaseImpl& db = doc.database().impl();
    const std::wstring previousCommand = doc.activeCommand;
    const int previousLocks = doc.lockCount;
    doc.activeCommand = previousCommand.empty() ? upper(name) : previousCommand + L"'" + upper(name);
    ++doc.lockCount;
    ++mDepth;
    const std::size_t setsBefore = doc.selections().liveCount();
    if (undoable)
        db.undo().begin(upper(name));
    // Each command starts without a pending Esc.
    mSession.editor().clearUserBreak();

    std::wstring failure;
    try {
        body();
    } catch (const RuleViolation&) {
        if (undoable)
            db.undo().end();
        --mDepth;
        doc.lockCount = previousLocks;
        doc.activeCommand = previousCommand;
        throw;
    } catch (const std::exception& e) {
        failure = fromUtf8(e.what());
    }
    if (undoable)
        doc.database().impl().undo().end();
    --mDepth;
    mSession.statusBar().restore();

    // The host's rules for a command that has ended: nothing left open or locked.
    std::vector<std::wstring> breaches;
    for (AcDbStub* stub : doc.database().impl().openStubs()) {
        breaches.push_back(
            L"object left open after " + upper(name) + L" (handle " + handleText(stub->handle()) + L")");
        if (stub->writer)
            doc.database().impl().close(stub);
        stub->readers = 0;
    }
    if (doc.lockCount - 1 != previousLocks)
        breaches.push_back(L"document lock not released by " + upper(name));
    doc.lockCount = previousLocks;
    doc.activeCommand = previousCommand;
    if (mDepth == 0 && doc.selections().liveCount() > setsBefore)
        breaches.push_back(L"selection set not freed by " + upper(name));
    if (mDepth == 0)
        mSession.input().releaseDeferred();
    if (!failure.empty())
        mSession.transcript().write(L"\nError in command " + upper(name) + L": " + failure);
    for (const std::wstring& breach : breaches)
        reportViolation(breach);
}

void CommandProcessor::runRegistered(const RegisteredCommand& command)
{
    mSession.forgetFlashed();
    AcRxFunctionPtr function = command.functionAddr();
    around(command.globalName(), true, [function] { function(); });
}

void CommandProcessor::runHost(const std::wstring& name, const HostEntry& entry)
{
    if (!entry.viewOnly)
        mSession.forgetFlashed();
    around(name, entry.undoable, entry.command);
}

bool CommandProcessor::runVariable(const std::wstring& name)
{
    promptForVariable(mSession, name);
    return true;
}

int CommandProcessor::runWithArguments(std::deque<std::wstring> args)
{
    if (args.empty())
        return RTNORM;
    std::wstring name = args.front();
    args.pop_front();
    while (!name.empty() && (name[0] == L'_' || name[0] == L'.'))
        name = name.substr(1);
    auto host = mHostCommands.find(upper(name));
    Editor& editor = mSession.editor();
    if (editor.echoOn())
        mSession.transcript().write(L"\n" + name);
    if (host == mHostCommands.end()) {
        if (editor.echoOn())
            mSession.transcript().write(L"\nUnknown command \"" + upper(name) + L"\".  Press F1 for help.");
        return RTERROR;
    }
    editor.pushArguments(std::move(args));
    mCancelled = false;
    try {
        host->second.command();
    } catch (...) {
        editor.popArguments();
        throw;
    }
    editor.popArguments();
    return mCancelled ? RTCAN : RTNORM;
}

} // namespace arxhost
