// The registered commands: groups in registration order, each an ordered list of commands.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "accmd.h"

namespace arxhost {

class RegisteredCommand : public AcEdCommand {
public:
    RegisteredCommand(std::wstring group, std::wstring globalName, std::wstring localName, Adesk::Int32 flags,
        AcRxFunctionPtr function, AcEdUIContext* context, int fcode, HINSTANCE resource, void* app);
    void commandUndef(bool undefIt) override { mUndefined = undefIt; }
    Adesk::Int32 commandFlags() const override { return mFlags; }
    AcRxFunctionPtr functionAddr() const override { return mFunction; }
    void functionAddr(AcRxFunctionPtr fhdl) override { mFunction = fhdl; }
    void* commandApp() const override { return mApp; }
    AcEdUIContext* UIContext() const override { return mContext; }
    int functionCode() const override { return mFcode; }
    void functionCode(int fcode) override { mFcode = fcode; }
    const ACHAR* globalName() const override { return mGlobal.c_str(); }
    const ACHAR* localName() const override { return mLocal.c_str(); }
    HINSTANCE resourceHandle() const override { return mResource; }
    const std::wstring& group() const { return mGroup; }
    bool undefined() const { return mUndefined; }

private:
    std::wstring mGroup;
    std::wstring mGlobal;
    std::wstring mLocal;
    Adesk::Int32 mFlags;
    AcRxFunctionPtr mFunction;
    AcEdUIContext* mContext;
    int mFcode;
    HINSTANCE mResource;
    void* mApp;
    bool mUndefined = false;
};

class CommandStack : public AcEdCommandStack {
public:
    CommandStack() = default;
    bool atPut(const ACHAR* cmdGroupName, AcRxDictionary*& cmdsGlobal, AcRxDictionary*& cmdsLocal) override;
    Acad::ErrorStatus addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
        const ACHAR* cmdLocalName, Adesk::Int32 commandFlags, AcRxFunctionPtr FunctionAddr,
        AcEdUIContext* UIContext = nullptr, int fcode = -1, HINSTANCE hResourceHandle = nullptr,
        AcEdCommand** cmdPtrRet = nullptr) override;
    AcEdCommandIterator* iterator() override;
    AcEdCommand* lookupGlobalCmd(const ACHAR* cmdName) override;
    AcEdCommand* lookupLocalCmd(const ACHAR* cmdName) override;
    AcEdCommand* lookupCmd(const ACHAR* cmdName, bool globalFlag) override;
    AcEdCommand* lookupCmd(const ACHAR* cmdName, bool globalFlag, bool allGroupsFlag) override;
    Acad::ErrorStatus popGroupToTop(const ACHAR* groupName) override;
    Acad::ErrorStatus removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName) override;
    Acad::ErrorStatus removeGroup(const ACHAR* groupName) override;

    // The module whose commands are being registered (set by the loader around its entry point).
    void setRegisteringApp(void* app) { mRegisteringApp = app; }
    // Every command of a group, in the order added; empty when the group does not exist.
    std::vector<const RegisteredCommand*> groupCommands(const std::wstring& group) const;
    std::vector<std::wstring> groupNames() const;
    // Drops every command a module registered (when it is unloaded without removing them).
    void removeApp(void* app);

    struct Group {
        std::wstring name;
        std::vector<std::unique_ptr<RegisteredCommand>> commands;
    };

private:
    Group* findGroup(const std::wstring& name);
    // Groups, the most recently added (or popped) first: its commands win a name lookup.
    std::vector<Group> mGroups;
    void* mRegisteringApp = nullptr;
};

} // namespace arxhost
