// The command prompt: reads command names, runs registered and host commands, one undo step each.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>

namespace arxhost {

class Session;
class RegisteredCommand;

class CommandProcessor {
public:
    explicit CommandProcessor(Session& session);

    // Shows "Command: " and runs what is typed, until the input ends.
    void run();
    // Runs a command by name as if typed at the prompt; false for an unknown name (with the
    // host's message).
    bool execute(const std::wstring& name);
    // acedCommand: a host command and its answers; RTNORM, or RTCAN when it was cancelled.
    int runWithArguments(std::deque<std::wstring> args);

    // Commands of the host itself (ZOOM, UNDO, ...). Those marked not undoable (UNDO itself)
    // open no undo step; those that only look at the drawing (ZOOM, PNGOUT) leave what the last flash
    // showed on the screen, where any other command clears it.
    using HostCommand = std::function<void()>;
    void addHostCommand(
        const std::wstring& name, HostCommand command, bool undoable = true, bool viewOnly = false);
    bool isHostCommand(const std::wstring& name) const;

    bool inCommand() const { return mDepth > 0; }
    // Set by a host command run from acedCommand when it was cancelled.
    void markCancelled() { mCancelled = true; }

private:
    struct HostEntry {
        HostCommand command;
        bool undoable;
        bool viewOnly;
    };
    void runRegistered(const RegisteredCommand& command);
    void runHost(const std::wstring& name, const HostEntry& entry);
    // What every command does around its body: lock, undo step, checks of the host's rules.
    void around(const std::wstring& name, bool undoable, const std::function<void()>& body);
    bool runVariable(const std::wstring& name);

    Session& mSession;
    std::map<std::wstring, HostEntry> mHostCommands;
    std::wstring mLastCommand;
    int mDepth = 0;
    bool mCancelled = false;
};

} // namespace arxhost
