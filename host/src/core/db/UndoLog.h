// Undo history of a drawing: one group per command, holding the state of every object it changed.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "db/HeaderVars.h"

class AcDbObject;
class AcDbStub;

namespace arxhost {

// Records, per group, the state an object had before the group first changed it (a clone), or that
// the object did not exist yet; and the value a header variable had before it was first set. Undoing
// a group puts all of it back, in reverse order.
class UndoLog {
public:
    // Called for every object whose state undo restores (to refresh indexes).
    using RestoreHook = std::function<void(AcDbStub*)>;
    explicit UndoLog(RestoreHook onRestore);

    // Opens a group; nested begins are folded into the open group.
    void begin(const std::wstring& name);
    void end();
    bool isRecording() const { return mDepth > 0 && !mSuspended; }
    // Stops recording for the duration of a bulk load; the history is cleared.
    void suspend(bool suspended);

    // Before the object's first change in the open group.
    void recordBeforeChange(AcDbStub* stub);
    // The object was created in the open group.
    void recordCreation(AcDbStub* stub);
    void recordHeaderVar(const std::wstring& name, const HeaderValue& before);

    // Undoes up to `count` completed groups, the latest first; returns their names.
    std::vector<std::wstring> undo(int count, HeaderVars& vars);
    int completedGroups() const { return static_cast<int>(mDone.size()); }
    void clear();

private:
    struct ObjectState {
        AcDbStub* stub;
        std::unique_ptr<AcDbObject> before; // null: created in this group
    };
    struct VarState {
        std::wstring name;
        HeaderValue before;
    };
    struct Group {
        std::wstring name;
        std::vector<ObjectState> objects;
        std::vector<VarState> vars;
        std::unordered_set<AcDbStub*> recorded;
        std::unordered_set<std::wstring> recordedVars;
        bool continuation = false; // opened after an undo inside the same command
        bool empty() const { return objects.empty() && vars.empty(); }
    };
    void restore(Group& group, HeaderVars& vars);

    RestoreHook mOnRestore;
    std::vector<Group> mDone;
    std::optional<Group> mOpen;
    int mDepth = 0;
    bool mSuspended = false;
};

} // namespace arxhost
