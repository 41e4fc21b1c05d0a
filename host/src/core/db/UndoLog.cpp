// Undo history: snapshots taken before the first change of each object in a group.
#include "db/UndoLog.h"

#include <algorithm>

#include "db/ObjectStub.h"

namespace arxhost {

UndoLog::UndoLog(RestoreHook onRestore)
    : mOnRestore(std::move(onRestore))
{
}

void UndoLog::begin(const std::wstring& name)
{
    if (mDepth++ == 0) {
        mOpen = Group {};
        mOpen->name = name;
    }
}

void UndoLog::end()
{
    if (mDepth == 0)
        return;
    if (--mDepth > 0)
        return;
    // Every command counts as a step, also one that changed nothing, as on the real host.
    if (mOpen && !(mOpen->continuation && mOpen->empty()))
        mDone.push_back(std::move(*mOpen));
    mOpen.reset();
}

void UndoLog::suspend(bool suspended)
{
    mSuspended = suspended;
    if (suspended)
        clear();
}

void UndoLog::recordBeforeChange(AcDbStub* stub)
{
    if (!isRecording() || stub->restoring || stub->object() == nullptr)
        return;
    if (!mOpen->recorded.insert(stub).second)
        return;
    auto* copy = static_cast<AcDbObject*>(stub->object()->clone());
    mOpen->objects.push_back({stub, std::unique_ptr<AcDbObject>(copy)});
}

void UndoLog::recordCreation(AcDbStub* stub)
{
    if (!isRecording())
        return;
    if (!mOpen->recorded.insert(stub).second)
        return;
    mOpen->objects.push_back({stub, nullptr});
}

void UndoLog::recordHeaderVar(const std::wstring& name, const HeaderValue& before)
{
    if (!isRecording())
        return;
    if (!mOpen->recordedVars.insert(name).second)
        return;
    mOpen->vars.push_back({name, before});
}

void UndoLog::restore(Group& group, HeaderVars& vars)
{
    for (auto it = group.objects.rbegin(); it != group.objects.rend(); ++it) {
        AcDbStub* stub = it->stub;
        stub->restoring = true;
        if (it->before) {
            stub->replaceObject(std::move(it->before));
        } else if (stub->object() != nullptr) {
            // Created in the group: it ceases to exist for the drawing (erased, never saved).
            stub->object()->hostSetErased(true);
        }
        stub->restoring = false;
        if (mOnRestore)
            mOnRestore(stub);
    }
    for (auto it = group.vars.rbegin(); it != group.vars.rend(); ++it) {
        if (std::holds_alternative<std::monostate>(it->before))
            vars.erase(it->name);
        else
            vars.set(it->name, it->before);
    }
}

std::vector<std::wstring> UndoLog::undo(int count, HeaderVars& vars)
{
    std::vector<std::wstring> names;
    // An undo from inside a command first closes the command's own group, which then counts as the
    // latest step; what the command changes afterwards goes into a continuation group.
    if (mOpen) {
        Group current = std::move(*mOpen);
        mOpen = Group {};
        mOpen->name = current.name;
        mOpen->continuation = true;
        if (!(current.continuation && current.empty()))
            mDone.push_back(std::move(current));
    }
    while (count-- > 0 && !mDone.empty()) {
        Group group = std::move(mDone.back());
        mDone.pop_back();
        restore(group, vars);
        names.push_back(group.name);
    }
    return names;
}

void UndoLog::clear()
{
    mDone.clear();
    if (mOpen) {
        std::wstring name = mOpen->name;
        mOpen = Group {};
        mOpen->name = name;
    }
}

} // namespace arxhost
