// "QVZDBZ" end to end through the command line: the elevations it finds, cancelling the dialog or the
// drag, where the dragged label ends on either side of the stake point, the block and group it leaves with
// the accepted H, and the drawing state restored afterwards.
#include <cmath>
#include <string>
#include <vector>

#include "StakeFixture.h"

namespace planroad::test {
namespace {

class StakeRun : public StakeFixture { };

void expectSame(const AcGePoint3d& expected, const AcGePoint3d& actual, const std::string& what)
{
    EXPECT_NEAR(expected.x, actual.x, 1e-9) << what;
    EXPECT_NEAR(expected.y, actual.y, 1e-9) << what;
}

TEST_F(StakeRun, ElevationsComeFromBothTerrainsAndAreZeroOutside)
{
    struct Case {
        const wchar_t* point;
        const wchar_t* planned;
        const wchar_t* existing;
        const wchar_t* texts[4];
    };
    const Case cases[] = {
        {L"40.5,30.2", L"IDC_ZD_PLANNED_ELEV \"11.009", L"IDC_ZD_EXISTING_ELEV \"5.913",
            {L"X=40.50", L"Y=30.20", L"H=11.009", L"h=5.913"}},
        {L"300,20", L"IDC_ZD_PLANNED_ELEV \"0\"", L"IDC_ZD_EXISTING_ELEV \"0\"",
            {L"X=300.00", L"Y=20.00", L"H=0.000", L"h=0.000"}},
    };
    for (const Case& c : cases) {
        stake(std::wstring(c.point) + L"\n!dialog click OK\n" + c.point + L"\n\n");
        const std::wstring dialog = lastDialog();
        expectShows(dialog, c.planned);
        expectShows(dialog, c.existing);
        const std::vector<StakeLabel> drawn = labels();
        ASSERT_FALSE(drawn.empty());
        ASSERT_EQ(4u, drawn.back().texts.size());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(c.texts[i], drawn.back().texts[i].text);
    }
}

TEST_F(StakeRun, CoordinatesAreScaledByDimlfac)
{
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"DIMLFAC", 1000.0));
    stake(L"40.5,30.2\n!dialog click OK\n60,40\n\n");
    const std::wstring dialog = lastDialog();
    expectShows(dialog, L"IDC_ZD_X \"40500\"");
    expectShows(dialog, L"IDC_ZD_Y \"30200\"");
    const std::vector<StakeLabel> drawn = labels();
    ASSERT_EQ(1u, drawn.size());
    EXPECT_EQ(L"X=40500.00", drawn[0].texts.at(0).text);
    // Elevations are not scaled.
    EXPECT_EQ(L"H=11.009", drawn[0].texts.at(2).text);
}

TEST_F(StakeRun, CancelAtTheDialogLeavesNothingAndTheNextPointGetsFreshValues)
{
    const int before = entitiesInModelSpace();
    stake(L"40.5,30.2\n!dialog set 213 99.5\n!dialog set 211 7\n!dialog click Cancel\n"
          L"150,120\n!dialog click OK\n160,130\n\n");
    const std::wstring dialog = lastDialog();
    expectShows(dialog, L"IDC_ZD_X \"150\"");
    expectShows(dialog, L"IDC_ZD_PLANNED_ELEV \"13.9");
    expectShows(dialog, L"IDC_ZD_EXISTING_ELEV \"8.3");
    const std::vector<StakeLabel> drawn = labels();
    ASSERT_EQ(1u, drawn.size());
    EXPECT_EQ(L"H=13.900", drawn[0].texts.at(2).text);
    EXPECT_EQ(before + 1, entitiesInModelSpace());
    EXPECT_EQ(1, groupsInDrawing());
}

TEST_F(StakeRun, EscAtTheDragLeavesNothingAndTheCommandGoesOn)
{
    const int before = entitiesInModelSpace();
    stake(L"40.5,30.2\n!dialog click OK\n!move 70,50\n!move 20,50\n^C\n\n");
    EXPECT_TRUE(contains(transcriptFromLast(L"输入标注位置:"), L"拾取桩点位置:"));
    EXPECT_EQ(before, entitiesInModelSpace());
    EXPECT_EQ(0, groupsInDrawing());
    EXPECT_TRUE(labels().empty());

    // The next point of the same run is labelled as usual.
    stake(L"40.5,30.2\n!dialog click OK\n^C\n150,120\n!dialog click OK\n160,130\n\n");
    EXPECT_EQ(1u, labels().size());
    EXPECT_EQ(before + 1, entitiesInModelSpace());
}

TEST_F(StakeRun, DraggingBackAndForthEndsWhereADirectDragEnds)
{
    struct Case {
        const char* name;
        int mode;
        const wchar_t* end;
        bool left;
    };
    const Case cases[] = {
        {"table, right", 0, L"80,60", false},
        {"table, left", 0, L"10,45", true},
        {"column, right", 1, L"80,60", false},
        {"column, left", 1, L"10,45", true},
    };
    const std::wstring wander
        = L"!move 70,50\n!move 20,50\n!move 90,10\n!move 0,80\n!move 41,30\n!move 40,31\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring layout = c.mode == 0 ? L"!dialog check 209\n" : L"!dialog check 210\n";
        const std::wstring open = L"40.5,30.2\n" + layout + L"!dialog click OK\n";
        stake(open + c.end + L"\n\n");
        stake(open + wander + c.end + L"\n\n");
        const std::vector<StakeLabel> drawn = labels();
        ASSERT_GE(drawn.size(), 2u);
        const StakeLabel& direct = drawn[drawn.size() - 2];
        const StakeLabel& wandered = drawn.back();
        ASSERT_EQ(direct.rules.size(), wandered.rules.size());
        ASSERT_EQ(direct.texts.size(), wandered.texts.size());
        for (std::size_t i = 0; i < direct.rules.size(); ++i) {
            expectSame(direct.rules[i].from, wandered.rules[i].from, "rule " + std::to_string(i));
            expectSame(direct.rules[i].to, wandered.rules[i].to, "rule " + std::to_string(i));
        }
        for (std::size_t i = 0; i < direct.texts.size(); ++i)
            expectSame(direct.texts[i].at, wandered.texts[i].at, "text " + std::to_string(i));

        // The middle rule starts at the cursor on the right and ends there on the left; the leader, the
        // block's last entity, runs from the stake point to the cursor.
        const double x = c.left ? 10.0 : 80.0;
        const double y = c.left ? 45.0 : 60.0;
        const RuleSeen& middle = wandered.rules.at(1);
        expectSame(AcGePoint3d(x, y, 0), c.left ? middle.to : middle.from, "middle rule at the cursor");
        EXPECT_EQ(c.left, middle.from.x < x);
        const RuleSeen& leader = wandered.rules.back();
        expectSame(AcGePoint3d(40.5, 30.2, 0), leader.from, "leader start");
        expectSame(AcGePoint3d(x, y, 0), leader.to, "leader end");
    }
}

TEST_F(StakeRun, TheUcsTurnsTheLabelAndTheSideIsTakenAlongItsXAxis)
{
    type(L"UCS\nZ\n30\n");
    // In the UCS the stake point is (40,30); the cursor right of it in UCS x, then left of it.
    stake(L"40,30\n!dialog click OK\n!move 10,35\n!move 70,35\n!move 10,35\n70,35\n\n");
    stake(L"40,30\n!dialog click OK\n!move 70,35\n10,35\n\n");
    const std::vector<StakeLabel> drawn = labels();
    ASSERT_EQ(2u, drawn.size());
    const double c = std::cos(3.14159265358979323846 / 6.0);
    const double s = std::sin(3.14159265358979323846 / 6.0);
    auto world = [&](double x, double y) { return AcGePoint3d(x * c - y * s, x * s + y * c, 0); };
    expectSame(world(70, 35), drawn[0].rules.at(1).from, "right: rule starts at the cursor");
    expectSame(world(10, 35), drawn[1].rules.at(1).to, "left: rule ends at the cursor");
    // Both rules run along the UCS x axis.
    for (const StakeLabel& label : drawn) {
        const AcGeVector3d along = label.rules.at(1).to - label.rules.at(1).from;
        EXPECT_NEAR(0.0, along.x * s - along.y * c, 1e-9);
        EXPECT_GT(along.x * c + along.y * s, 0.0);
        EXPECT_NEAR(30.0, label.texts.at(0).rotation * 180.0 / 3.14159265358979323846, 1e-9);
    }
    expectSame(world(40, 30), drawn[0].insert, "block at the stake point");
}

TEST_F(StakeRun, TheBlockCarriesTheAcceptedHeightAndTheGroupHoldsIt)
{
    struct Case {
        const char* name;
        std::wstring dialog;
        double held;
        int blockEntities; // the frame, four texts and the leader
    };
    const Case cases[] = {
        {"table, as found", L"!dialog check 209\n", plannedAt(40.5, 30.2), 6 + 4 + 1},
        {"table, typed", L"!dialog check 209\n!dialog set 213 123.4567\n", 123.4567, 6 + 4 + 1},
        {"column, typed", L"!dialog check 210\n!dialog set 213 -2.5\n", -2.5, 5 + 4 + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        stake(L"40.5,30.2\n" + c.dialog + L"!dialog click OK\n60,40\n\n");
        const StakeLabel label = labels().back();
        ASSERT_EQ(1u, label.held.size());
        EXPECT_NEAR(c.held, label.held[0], 1e-9);
        EXPECT_TRUE(label.scaleData);
        expectSame(AcGePoint3d(40.5, 30.2, 0), label.insert, "reference at the stake point");
        EXPECT_EQ(c.blockEntities, label.blockEntities);
        EXPECT_EQ(c.blockEntities, static_cast<int>(label.rules.size() + label.texts.size()));
        EXPECT_EQ(1, label.groups);
        EXPECT_EQ(L"*UPegDim", label.groupDescription);
        EXPECT_EQ(1, label.groupMembers);
        EXPECT_FALSE(label.groupHasEmptyMember);
        EXPECT_EQ(L"LEGEND", label.layer);
    }
    EXPECT_EQ(static_cast<int>(std::size(cases)), groupsInDrawing());
}

TEST_F(StakeRun, CurrentLayerAndObjectSnapAreRestoredHoweverTheRunEnds)
{
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"CLAYER", CString(L"WORK")));
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"OSMODE", 7.0));
    const std::wstring endings[] = {
        L"\n",
        L"^C\n",
        L"40.5,30.2\n!dialog click OK\n60,40\n\n",
        L"40.5,30.2\n!dialog click Cancel\n^C\n",
        L"40.5,30.2\n!dialog click OK\n^C\n^C\n",
    };
    for (const std::wstring& ending : endings) {
        stake(ending);
        CString layer;
        tarn::cad::GetSysVar(L"CLAYER", layer);
        EXPECT_EQ(CString(L"WORK"), layer);
        double osmode = 0.0;
        tarn::cad::GetSysVar(L"OSMODE", osmode);
        EXPECT_EQ(7.0, osmode);
    }
    // The run's own layer held the label.
    ASSERT_EQ(1u, labels().size());
    EXPECT_EQ(L"LEGEND", labels()[0].layer);
}

} // namespace
} // namespace planroad::test
