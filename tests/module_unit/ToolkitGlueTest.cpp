// The drawing toolkit's host glue that the modeless dialogs rely on.
#include "LinkedModule.h"

#include "DrawingToolkit.h"

namespace planroad::test {
namespace {

class ToolkitGlue : public LinkedModuleFixture { };

TEST_F(ToolkitGlue, SentCommandRunsAsTheNextCommandAfterTheCurrentOne)
{
    std::vector<std::wstring> order;
    defineCommand(L"CLICKER", [&order] {
        order.push_back(L"clicker");
        tarn::cad::SendCmdToAcad(_T("FROADWIDTHCHECKCommand\n"));
        tarn::cad::SendCmdToAcad(_T("AFTER\n"));
        order.push_back(L"clicker done");
    });
    defineCommand(L"AFTER", [&order] { order.push_back(L"after"); });
    defineCommand(L"SCRIPTED", [&order] { order.push_back(L"scripted"); });
    type(L"CLICKER\nSCRIPTED\n");
    EXPECT_EQ((std::vector<std::wstring> {L"clicker", L"clicker done", L"after", L"scripted"}), order);
    // The dispatcher ran in between, as a command typed on the command line.
    EXPECT_TRUE(
        contains(transcript(), L"Command: FROADWIDTHCHECKCommand\nCommand: AFTER\nCommand: SCRIPTED"));
}

TEST_F(ToolkitGlue, SentCommandAtTheCommandPromptRunsAtOnce)
{
    int runs = 0;
    defineCommand(L"PING", [&runs] { ++runs; });
    tarn::cad::SendCmdToAcad(_T("PING\n"));
    type(L"");
    EXPECT_EQ(1, runs);
}

} // namespace
} // namespace planroad::test
