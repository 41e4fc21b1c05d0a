// The module's addCommand wrapper: local names given or loaded from the string table.
#include "LinkedModule.h"

#include "PlanRoadModule.h"
#include "editor/CommandStack.h"

namespace planroad::test {
namespace {

class AddCommand : public LinkedModuleFixture { };

void Nothing() { }

TEST_F(AddCommand, LocalNameComesFromTheStringTableWhenAnIdIsGiven)
{
    addCommand(L"PROBE", L"PROBEGLOBAL", L"unused", ACRX_CMD_MODAL, Nothing, IDS_COMMAND_GROUP);
    addCommand(L"PROBE", L"PROBEPLAIN", L"PROBELOCAL", ACRX_CMD_MODAL, Nothing, -1);
    auto commands = session().commands().groupCommands(L"PROBE");
    ASSERT_EQ(2u, commands.size());
    EXPECT_STREQ(L"QVPLANROAD03", commands[0]->localName());
    EXPECT_STREQ(L"PROBELOCAL", commands[1]->localName());
}

TEST_F(AddCommand, ARejectedRegistrationIsIgnored)
{
    addCommand(L"QVPLANROAD03", L"QVZDBZ", L"QVZDBZ", ACRX_CMD_MODAL, Nothing, -1);
    // Still the module's own handler, registered once.
    EXPECT_EQ(12u, session().commands().groupCommands(L"QVPLANROAD03").size());
}

TEST_F(AddCommand, TheModuleRecordKnowsItsOwnInstance)
{
    const PLANROADMODULE& module = GetPlanRoadModule();
    EXPECT_TRUE(module.attached);
    EXPECT_EQ(GetPlanRoadInstance(), module.moduleResource);
    EXPECT_NE(nullptr, module.moduleResource);
}

} // namespace
} // namespace planroad::test
