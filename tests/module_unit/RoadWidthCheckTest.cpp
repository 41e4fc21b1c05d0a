// The road width check: the centrelines of the centreline layer listed in drawing order with their widths,
// the message and the rows kept when there are none, checking again, and the zoom to a row's road.
#include <string>
#include <vector>

#include "CentrelineFixture.h"
#include "centreline/RoadWidthCheckDlg.h"
#include "text/Utf8.h"

namespace planroad::test {
namespace {

const std::wstring kNoRoads = L"\n未找到道路中线!";

class RoadWidthCheck : public CentrelineFixture {
protected:
    // The list as rows of "number|width".
    static std::vector<std::wstring> rows()
    {
        std::vector<std::wstring> all;
        if (g_pRoadWidthCheckDlg == nullptr)
            return all;
        CListCtrl& list = g_pRoadWidthCheckDlg->m_list;
        for (int i = 0; i < list.GetItemCount(); ++i)
            all.push_back(
                std::wstring(list.GetItemText(i, 0).GetString()) + L"|" + list.GetItemText(i, 1).GetString());
        return all;
    }
    static bool shown() { return g_pRoadWidthCheckDlg != nullptr && g_pRoadWidthCheckDlg->IsWindowVisible(); }
    void erase(AcDbObjectId id)
    {
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(Acad::eOk, acdbOpenObject(entity, id, AcDb::kForWrite));
        entity->erase();
        entity->close();
    }
};

TEST_F(RoadWidthCheck, ListsTheCentrelinesOfTheLayerInDrawingOrderWithTwoDecimals)
{
    centreline(0, {L"30"});
    centreline(10, {nullptr, L"4+16+4"}); // no width field: the sum of the cross-section
    centreline(20, {L"16.666"});
    centreline(30, {L"0", L"rx3cx10rx3"}); // a zero width field gives way to the cross-section
    centreline(40, {L"12"}, L"OTHER"); // another layer
    auto* unmarked = new AcDbLine(AcGePoint3d(0, 50, 0), AcGePoint3d(100, 50, 0));
    unmarked->setLayer(L"CL");
    add(unmarked); // on the layer, but no centreline
    centreline(60, {L"3.333"});

    type(L"FROADWIDTHCHECK\n");
    ASSERT_TRUE(shown());
    EXPECT_EQ(
        (std::vector<std::wstring> {L"1|30.00", L"2|24.00", L"3|16.67", L"4|16.00", L"5|3.33"}), rows());
    EXPECT_FALSE(contains(transcript(), kNoRoads));
    EXPECT_EQ(5, g_pRoadWidthCheckDlg->roadIds.length());
}

TEST_F(RoadWidthCheck, WithoutCentrelinesItSaysSoAndShowsNoDialog)
{
    centreline(0, {L"30"}, L"OTHER");
    type(L"FROADWIDTHCHECK\n");
    EXPECT_TRUE(contains(transcript(), L"Command: FROADWIDTHCHECK" + kNoRoads));
    EXPECT_FALSE(shown());
    EXPECT_TRUE(rows().empty());
}

TEST_F(RoadWidthCheck, CheckingAgainRefillsTheListOrKeepsItWhenNoRoadIsLeft)
{
    const AcDbObjectId first = centreline(0, {L"30"});
    const AcDbObjectId second = centreline(10, {L"20"});
    type(L"FROADWIDTHCHECK\n");
    ASSERT_TRUE(shown());

    const AcDbObjectId third = centreline(20, {L"12.5"});
    erase(first);
    type(L"!dialog 205 click IDC_ROADWIDTH_RECHECK\n");
    EXPECT_EQ((std::vector<std::wstring> {L"1|20.00", L"2|12.50"}), rows());

    const std::vector<std::wstring> before = rows();
    erase(second);
    erase(third);
    type(L"!dialog 205 click 3\n");
    EXPECT_TRUE(contains(transcriptFromLast(L"Command: FROADWIDTHCHECKCommand"), kNoRoads));
    EXPECT_EQ(before, rows());
    EXPECT_EQ(2, g_pRoadWidthCheckDlg->roadIds.length());
    EXPECT_TRUE(shown());

    // The opener finds none either: the old rows stay, the dialog as it was.
    type(L"FROADWIDTHCHECK\n");
    EXPECT_EQ(before, rows());
}

TEST_F(RoadWidthCheck, DoubleClickZoomsToTheRoadWithMarginsAndTheViewsAspect)
{
    centreline(AcGePoint3d(200, 0, 0), AcGePoint3d(200, 300, 0), {L"24"}); // tall: height decides
    centreline(AcGePoint3d(0, 500, 0), AcGePoint3d(1000, 500, 0), {L"40"}); // wide: width decides
    type(L"FROADWIDTHCHECK\n");
    ASSERT_TRUE(shown());

    type(L"!dialog 205 dblclick 228 0\n");
    EXPECT_TRUE(contains(transcriptFromLast(L"Command: FROADWIDTHCHECKCommand"), L"ZOOM"));
    EXPECT_NEAR(200.0, viewCentre().x, 1e-6);
    EXPECT_NEAR(150.0, viewCentre().y, 1e-6);
    EXPECT_NEAR(300.0 + 40.0, viewSize(), 1e-6);

    // 1060 across fit into the view: its height is that width over the view's aspect.
    type(L"!dialog 205 dblclick 228 1\n");
    EXPECT_NEAR(500.0, viewCentre().x, 1e-6);
    EXPECT_NEAR(500.0, viewCentre().y, 1e-6);
    resbuf screen = {};
    acedGetVar(L"SCREENSIZE", &screen);
    EXPECT_NEAR(1060.0 * screen.resval.rpoint[1] / screen.resval.rpoint[0], viewSize(), 1e-6);
    EXPECT_EQ(1, g_pRoadWidthCheckDlg->selectedRow);
}

} // namespace
} // namespace planroad::test
