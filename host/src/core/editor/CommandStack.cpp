// The command stack.
#include "editor/CommandStack.h"

#include <algorithm>
#include <cwctype>

#include "db/DatabaseImpl.h"

ACRX_DEFINE_MEMBERS(AcEdCommand, AcRxObject)
ACRX_DEFINE_MEMBERS(AcEdCommandIterator, AcRxObject)
ACRX_DEFINE_MEMBERS(AcEdCommandStack, AcRxObject)

namespace arxhost {

namespace {

// Command names: 1 to 64 characters, no blanks, no characters with a meaning on the command line.
bool validCommandName(const ACHAR* name)
{
    if (name == nullptr || *name == 0)
        return false;
    std::size_t length = 0;
    for (const ACHAR* p = name; *p != 0; ++p, ++length) {
        const bool leadingPrefix = p == name && (*p == L'_' || *p == L'.');
        if (std::iswspace(static_cast<wint_t>(*p)) || *p == L'\'' || leadingPrefix)
            return false;
    }
    return length <= ACRX_MAX_CMDNAME_LEN;
}

class CommandIterator : public AcEdCommandIterator {
public:
    explicit CommandIterator(std::vector<std::pair<const RegisteredCommand*, std::wstring>> items)
        : mItems(std::move(items))
    {
    }
    bool done() const override { return mIndex >= mItems.size(); }
    bool next() override
    {
        if (done())
            return false;
        ++mIndex;
        return !done();
    }
    const AcEdCommand* command() const override { return done() ? nullptr : mItems[mIndex].first; }
    const ACHAR* commandGroup() const override { return done() ? nullptr : mItems[mIndex].second.c_str(); }

private:
    std::vector<std::pair<const RegisteredCommand*, std::wstring>> mItems;
    std::size_t mIndex = 0;
};

} // namespace

RegisteredCommand::RegisteredCommand(std::wstring group, std::wstring globalName, std::wstring localName,
    Adesk::Int32 flags, AcRxFunctionPtr function, AcEdUIContext* context, int fcode, HINSTANCE resource,
    void* app)
    : mGroup(std::move(group))
    , mGlobal(std::move(globalName))
    , mLocal(std::move(localName))
    , mFlags(flags)
    , mFunction(function)
    , mContext(context)
    , mFcode(fcode)
    , mResource(resource)
    , mApp(app)
{
}

CommandStack::Group* CommandStack::findGroup(const std::wstring& name)
{
    for (Group& g : mGroups)
        if (sameName(g.name.c_str(), name.c_str()))
            return &g;
    return nullptr;
}

bool CommandStack::atPut(const ACHAR*, AcRxDictionary*& cmdsGlobal, AcRxDictionary*& cmdsLocal)
{
    cmdsGlobal = nullptr;
    cmdsLocal = nullptr;
    return false;
}

Acad::ErrorStatus CommandStack::addCommand(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName,
    const ACHAR* cmdLocalName, Adesk::Int32 commandFlags, AcRxFunctionPtr FunctionAddr,
    AcEdUIContext* UIContext, int fcode, HINSTANCE hResourceHandle, AcEdCommand** cmdPtrRet)
{
    if (cmdPtrRet != nullptr)
        *cmdPtrRet = nullptr;
    if (cmdGroupName == nullptr || *cmdGroupName == 0 || FunctionAddr == nullptr)
        return Acad::eInvalidInput;
    if (!validCommandName(cmdGlobalName))
        return Acad::eInvalidInput;
    const ACHAR* local = (cmdLocalName == nullptr || *cmdLocalName == 0) ? cmdGlobalName : cmdLocalName;
    if (!validCommandName(local))
        return Acad::eInvalidInput;
    Group* group = findGroup(cmdGroupName);
    if (group == nullptr) {
        mGroups.insert(mGroups.begin(), Group {cmdGroupName, {}});
        group = &mGroups.front();
    }
    for (const auto& cmd : group->commands)
        if (sameName(cmd->globalName(), cmdGlobalName) || sameName(cmd->localName(), local))
            return Acad::eDuplicateKey;
    group->commands.push_back(std::make_unique<RegisteredCommand>(group->name, cmdGlobalName, local,
        commandFlags, FunctionAddr, UIContext, fcode, hResourceHandle, mRegisteringApp));
    if (cmdPtrRet != nullptr)
        *cmdPtrRet = group->commands.back().get();
    return Acad::eOk;
}

AcEdCommandIterator* CommandStack::iterator()
{
    std::vector<std::pair<const RegisteredCommand*, std::wstring>> items;
    for (const Group& g : mGroups)
        for (const auto& cmd : g.commands)
            items.emplace_back(cmd.get(), g.name);
    return new CommandIterator(std::move(items));
}

AcEdCommand* CommandStack::lookupCmd(const ACHAR* cmdName, bool globalFlag, bool)
{
    if (cmdName == nullptr)
        return nullptr;
    for (Group& g : mGroups)
        for (auto& cmd : g.commands)
            if (!cmd->undefined() && sameName(globalFlag ? cmd->globalName() : cmd->localName(), cmdName))
                return cmd.get();
    return nullptr;
}

AcEdCommand* CommandStack::lookupCmd(const ACHAR* cmdName, bool globalFlag)
{
    return lookupCmd(cmdName, globalFlag, false);
}

AcEdCommand* CommandStack::lookupGlobalCmd(const ACHAR* cmdName)
{
    return lookupCmd(cmdName, true);
}

AcEdCommand* CommandStack::lookupLocalCmd(const ACHAR* cmdName)
{
    return lookupCmd(cmdName, false);
}

Acad::ErrorStatus CommandStack::popGroupToTop(const ACHAR* groupName)
{
    auto it = std::find_if(
        mGroups.begin(), mGroups.end(), [&](const Group& g) { return sameName(g.name.c_str(), groupName); });
    if (it == mGroups.end())
        return Acad::eKeyNotFound;
    std::rotate(mGroups.begin(), it, it + 1);
    return Acad::eOk;
}

Acad::ErrorStatus CommandStack::removeCmd(const ACHAR* cmdGroupName, const ACHAR* cmdGlobalName)
{
    Group* group = findGroup(cmdGroupName == nullptr ? L"" : cmdGroupName);
    if (group == nullptr)
        return Acad::eKeyNotFound;
    auto it = std::find_if(group->commands.begin(), group->commands.end(),
        [&](const auto& cmd) { return sameName(cmd->globalName(), cmdGlobalName); });
    if (it == group->commands.end())
        return Acad::eKeyNotFound;
    group->commands.erase(it);
    return Acad::eOk;
}

Acad::ErrorStatus CommandStack::removeGroup(const ACHAR* groupName)
{
    auto it = std::find_if(
        mGroups.begin(), mGroups.end(), [&](const Group& g) { return sameName(g.name.c_str(), groupName); });
    if (it == mGroups.end())
        return Acad::eKeyNotFound;
    mGroups.erase(it);
    return Acad::eOk;
}

std::vector<const RegisteredCommand*> CommandStack::groupCommands(const std::wstring& group) const
{
    std::vector<const RegisteredCommand*> out;
    for (const Group& g : mGroups)
        if (sameName(g.name.c_str(), group.c_str()))
            for (const auto& cmd : g.commands)
                out.push_back(cmd.get());
    return out;
}

std::vector<std::wstring> CommandStack::groupNames() const
{
    std::vector<std::wstring> names;
    for (const Group& g : mGroups)
        names.push_back(g.name);
    return names;
}

void CommandStack::removeApp(void* app)
{
    for (Group& g : mGroups)
        std::erase_if(g.commands, [app](const auto& cmd) { return cmd->commandApp() == app; });
    std::erase_if(mGroups, [](const Group& g) { return g.commands.empty(); });
}

} // namespace arxhost
