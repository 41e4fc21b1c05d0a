// The module in a host session: its twelve commands, unloading, the library entry and the string table.
#include <dlfcn.h>

#include "HostFixture.h"

#include "editor/CommandStack.h"
#include "resource.h"
#include "rx/FrameworkState.h"
#include "rx/ModuleLoader.h"

namespace planroad::test {
namespace {

const std::vector<std::wstring> kCommandsInOrder = {L"QVZDBZ", L"QVDLYJBJBZ", L"DLDMTK", L"DLFXFTK",
    L"FDeal_RoadYqjCheck", L"YqjCheckOPR", L"TCrossDeal", L"FDeal_RoadYqjDimCheck",
    L"FDeal_RoadYqjDimCheckCommand", L"FROADWIDTHCHECK", L"FROADWIDTHCHECKCommand", L"FDLDMDataDeal"};

class ModuleCommands : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        ASSERT_TRUE(session().loadModule(PLANROAD_MODULE_FILE, false));
    }
    std::vector<std::wstring> registeredNames()
    {
        std::vector<std::wstring> names;
        for (const arxhost::RegisteredCommand* cmd : session().commands().groupCommands(L"QVPLANROAD03"))
            names.emplace_back(cmd->globalName());
        return names;
    }
};

TEST_F(ModuleCommands, LoadingRegistersTheTwelveCommandsInOrderWithFlagsThree)
{
    EXPECT_EQ(kCommandsInOrder, registeredNames());
    for (const arxhost::RegisteredCommand* cmd : session().commands().groupCommands(L"QVPLANROAD03")) {
        EXPECT_EQ(ACRX_CMD_TRANSPARENT | ACRX_CMD_USEPICKSET, cmd->commandFlags()) << cmd->globalName();
        EXPECT_STREQ(cmd->globalName(), cmd->localName());
        EXPECT_EQ(0, cmd->commandFlags() & ACRX_CMD_SESSION);
    }
    arxhost::LoadedModule* module = session().modules().find(L"planroad.arx");
    ASSERT_NE(nullptr, module);
    EXPECT_FALSE(module->locked);
    EXPECT_TRUE(module->mdiAware);
}

TEST_F(ModuleCommands, UnloadingRemovesEveryCommand)
{
    ASSERT_TRUE(session().unloadModule(L"planroad.arx", false));
    EXPECT_TRUE(registeredNames().empty());
    for (const std::wstring& name : kCommandsInOrder)
        EXPECT_EQ(nullptr, acedRegCmds->lookupGlobalCmd(name.c_str())) << name;
    type(L"QVZDBZ\n");
    EXPECT_TRUE(contains(transcript(), L"Unknown command \"QVZDBZ\"."));
    // And it loads again, with the same commands.
    ASSERT_TRUE(session().loadModule(PLANROAD_MODULE_FILE, false));
    EXPECT_EQ(kCommandsInOrder, registeredNames());
}

TEST_F(ModuleCommands, DispatchersTypedBeforeTheirDialogExistsDoNothing)
{
    const std::wstring before = transcript();
    type(L"FROADWIDTHCHECKCommand\nYqjCheckOPR\nFDeal_RoadYqjDimCheckCommand\n");
    const std::wstring after = transcript().substr(before.size());
    // Nothing was written before, so the first prompt starts the command line.
    EXPECT_EQ(L"Command: FROADWIDTHCHECKCommand\nCommand: YqjCheckOPR\nCommand: "
              L"FDeal_RoadYqjDimCheckCommand\nCommand: \n",
        after);
}

TEST_F(ModuleCommands, LibraryShortcutsHandTheirEntryToThePlanningSettingsLibrary)
{
    type(L"DLDMTK\nDLFXFTK\n");
    EXPECT_TRUE(contains(transcript(), L"单幅路道路断面"));
    EXPECT_TRUE(contains(transcript(), L"道路图库/道路方向符"));
}

TEST_F(ModuleCommands, LibraryEntryAttachesOnceAndAlwaysStartsTheDialogLibrary)
{
    arxhost::LoadedModule* module = session().modules().find(L"planroad");
    ASSERT_NE(nullptr, module);
    arxhost::FrameworkState& state = arxhost::frameworkState();
    const int attaches = state.initExtensionModuleCalls;
    const int uiStarts = state.initAcUiCalls;
    const std::size_t libraries = state.libraries.size();
    // A second attach of the same process.
    module->libraryEntry(module->instance(), DLL_PROCESS_ATTACH, nullptr);
    EXPECT_EQ(attaches, state.initExtensionModuleCalls);
    EXPECT_EQ(uiStarts + 1, state.initAcUiCalls);
    EXPECT_EQ(libraries, state.libraries.size());
}

TEST_F(ModuleCommands, ApiVersionIsRelease19)
{
    arxhost::LoadedModule* module = session().modules().find(L"planroad");
    ASSERT_NE(nullptr, module);
    auto version = reinterpret_cast<int (*)()>(dlsym(module->handle, "acrxGetApiVersion"));
    ASSERT_NE(nullptr, version);
    EXPECT_EQ(0x130000, version());
}

TEST_F(ModuleCommands, StringTableComesFromTheEmbeddedResourceScript)
{
    arxhost::LoadedModule* module = session().modules().find(L"planroad");
    ASSERT_NE(nullptr, module);
    ACHAR buffer[64];
    EXPECT_EQ(12, LoadStringW(module->instance(), IDS_COMMAND_GROUP, buffer, 64));
    EXPECT_STREQ(L"QVPLANROAD03", buffer);
    EXPECT_EQ(0, LoadStringW(module->instance(), 9999, buffer, 64));
    // A buffer too small keeps the start, always terminated.
    EXPECT_EQ(3, LoadStringW(module->instance(), IDS_COMMAND_GROUP, buffer, 4));
    EXPECT_STREQ(L"QVP", buffer);
}

} // namespace
} // namespace planroad::test
