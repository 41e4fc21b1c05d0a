// The corner-cut check runs through the command line: which cuts the area questions hand to the check,
// the messages that end a run early, and the dimension check that only shows a dialog with errors.
#include <functional>
#include <string>
#include <vector>

#include "CornerCheckFixture.h"
#include "text/Utf8.h"

namespace planroad::test {
namespace {

const std::wstring kRangeQuestion = L"是否按指定范围线[(Y)/(N)]<Y>:";
const std::wstring kAreaPrompt = L"选择范围线[绘制范围线(D)/选择要检测的切角(S)]:";
const std::wstring kCutPrompt = L"选择要检查的交叉口红线切角:";

class CornerCheckRun : public CornerCheckFixture {
protected:
    // Three annotated corners at x = 0, 1000 and 2000.
    void SetUp() override
    {
        CornerCheckFixture::SetUp();
        for (int i = 0; i < 3; ++i) {
            mCorners.push_back(corner(AcGePoint2d(1000.0 * i, 0)));
            annotate(L"Q15", mCorners.back());
        }
    }
    // The cuts of the rows of the last full check, in row order.
    static std::vector<AcDbObjectId> checkedCuts()
    {
        std::vector<AcDbObjectId> cuts;
        if (g_pYqjCheckDlg == nullptr)
            return cuts;
        for (int i = 0; i < g_pYqjCheckDlg->m_allRows.GetSize(); ++i)
            cuts.push_back(g_pYqjCheckDlg->m_allRows[i].idYqj);
        return cuts;
    }
    std::vector<AcDbObjectId> cuts(std::initializer_list<int> which) const
    {
        std::vector<AcDbObjectId> ids;
        for (const int i : which)
            ids.push_back(mCorners[static_cast<std::size_t>(i)].cut);
        return ids;
    }
    // The command line of the last full check.
    std::wstring lastRun() const { return transcriptFromLast(L"Command: FDeal_RoadYqjCheck\n"); }
    static bool shown() { return g_pYqjCheckDlg != nullptr && g_pYqjCheckDlg->IsWindowVisible(); }
    // Every planning range line of the drawing.
    int rangeLines()
    {
        int count = 0;
        for (const AcDbObjectId id : entitiesOn(L"0")) {
            CString role;
            if (ARX_DATA::CFSimpleXData::GetFrom(id, L"FAPP_GHFWX", role) == 1)
                ++count;
        }
        return count;
    }

    std::vector<Corner> mCorners;
};

TEST_F(CornerCheckRun, WithoutRangeLinesTheAreaIsAskedAndSChecksTheSelectedCuts)
{
    // Picking the middle of the second cut, then Enter.
    check(L"S\n1007.5,7.5\n\n");
    EXPECT_EQ(cuts({1}), checkedCuts());
    const std::wstring run = lastRun();
    EXPECT_FALSE(contains(run, kRangeQuestion));
    EXPECT_EQ(1, timesIn(run, kAreaPrompt));
    EXPECT_TRUE(contains(run, kCutPrompt));
    EXPECT_TRUE(shown());

    check(L"s\nALL\n\n");
    EXPECT_EQ(cuts({0, 1, 2}), checkedCuts());
}

TEST_F(CornerCheckRun, RangeLinesChooseTheCutsInsideOrCrossingThemOnY)
{
    // The first corner lies inside, the second's cut crosses the border, the third is outside.
    rangeLine(-100, -100, 100, 100);
    rangeLine(1010, -50, 1100, 50);
    struct Case {
        const wchar_t* answers;
        std::vector<AcDbObjectId> checked;
        bool areaAsked;
    };
    const Case cases[] = {
        {L"Y\n", cuts({0, 1}), false},
        {L"\n", cuts({0, 1}), false},
        {L"N\nS\nALL\n\n", cuts({0, 1, 2}), true},
        {L"n\nS\nALL\n\n", cuts({0, 1, 2}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.answers));
        check(c.answers);
        EXPECT_EQ(c.checked, checkedCuts());
        const std::wstring run = lastRun();
        EXPECT_EQ(1, timesIn(run, kRangeQuestion));
        EXPECT_EQ(c.areaAsked ? 1 : 0, timesIn(run, kAreaPrompt));
        // The highlighted copies of the range lines are gone after the answer.
        EXPECT_EQ(2, rangeLines());
        EXPECT_TRUE(shown());
    }
}

TEST_F(CornerCheckRun, ACutInsideTwoRangeLinesIsCheckedForEach)
{
    // Each range line contributes the corners it takes in: a corner inside two of them has two rows, and
    // its cut is marked for each.
    rangeLine(-100, -100, 100, 100);
    rangeLine(-50, -50, 50, 50);
    ModiText(entitiesOn(L"BZ").front(), L"Q17.5");
    check(L"Y\n");
    EXPECT_EQ(cuts({0, 0}), checkedCuts());
    EXPECT_EQ(4u, entitiesOn(kErrorLayer).size());
}

TEST_F(CornerCheckRun, APickedClosedCurveIsTheAreaAndAnOpenOneIsRefused)
{
    polylineOn(L"0", {{900, -100}, {1100, -100}, {1100, 100}, {900, 100}}, true);
    polylineOn(L"0", {{-100, -100}, {100, -100}, {100, 100}});
    // Open first (its bottom edge), then the closed one (its left edge).
    check(L"0,-100\n900,0\n");
    EXPECT_EQ(cuts({1}), checkedCuts());
    const std::wstring run = lastRun();
    EXPECT_EQ(1, timesIn(run, L"\n该对象不闭合,请重新选择!"));
    EXPECT_EQ(2, timesIn(run, kAreaPrompt));
    EXPECT_TRUE(shown());
}

TEST_F(CornerCheckRun, ADrawnClosedRangeIsUsedAndKeptAnOpenOneIsErasedAndAskedAgain)
{
    struct Case {
        const char* what;
        const wchar_t* answers;
        std::vector<AcDbObjectId> checked;
        bool refused; // "not closed" was said and the area asked again
    };
    const Case cases[] = {
        {"closed with C", L"D\n-100,-100\n100,-100\n100,100\n-100,100\nC\n", cuts({0}), false},
        {"lower-case keyword", L"d\n900,-100\n1100,-100\n1100,100\nC\n", cuts({1}), false},
        {"back at its start", L"D\n1900,-100\n2100,-100\n2100,100\n1900,-100\n\n", cuts({2}), false},
        {"open, then the cuts", L"D\n-100,-100\n100,-100\n100,100\n\nS\nALL\n\n", cuts({0, 1, 2}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::size_t before = entitiesOn(L"0").size();
        check(c.answers);
        EXPECT_EQ(c.checked, checkedCuts());
        EXPECT_EQ(before + (c.refused ? 0 : 1), entitiesOn(L"0").size());
        const std::wstring run = lastRun();
        EXPECT_EQ(c.refused ? 1 : 0, timesIn(run, L"\n绘制的范围线不闭合!"));
        EXPECT_EQ(c.refused ? 2 : 1, timesIn(run, kAreaPrompt));
        EXPECT_TRUE(shown());
    }
}

TEST_F(CornerCheckRun, ARunThatFindsNothingToCheckSaysWhyAndShowsNoDialog)
{
    struct Case {
        const char* what;
        std::function<void()> prepare;
        const wchar_t* answers;
        const wchar_t* message; // null: the run ends silently
    };
    std::vector<AcDbObjectId> extra;
    const Case cases[] = {
        {"an empty picked range",
            [&] {
                extra.push_back(polylineOn(L"0", {{0, 500}, {50, 500}, {50, 550}}, true));
            },
            L"0,500\n", L"\n未找到交叉口红线切角!"},
        {"an empty planning range", [&] { extra.push_back(rangeLine(0, 500, 50, 550)); }, L"Y\n",
            L"\n未找到交叉口红线切角!"},
        {"Esc at the range question", [&] { extra.push_back(rangeLine(0, 500, 50, 550)); }, L"^C\n", nullptr},
        {"Esc at the area", [] {}, L"^C\n", nullptr},
        {"Esc at the selection", [] {}, L"S\n^C\n", nullptr},
        {"Enter at the area", [] {}, L"\n", nullptr},
        {"one centreline",
            [&] {
                tarn::ent::Erase(mCorners[0].roadY);
                tarn::ent::Erase(mCorners[1].roadX);
                tarn::ent::Erase(mCorners[1].roadY);
                tarn::ent::Erase(mCorners[2].roadX);
                tarn::ent::Erase(mCorners[2].roadY);
            },
            L"S\nALL\n\n", L"\n未找到道路中线!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (g_pYqjCheckDlg != nullptr)
            CYQJCheckDlg::ShowDlg(0);
        c.prepare();
        check(c.answers);
        ASSERT_NE(nullptr, g_pYqjCheckDlg);
        EXPECT_FALSE(shown());
        // Only the ranges of the case are on layer 0: the highlighted copies went with the answer.
        EXPECT_EQ(extra.size(), entitiesOn(L"0").size());
        const std::wstring run = lastRun();
        for (const wchar_t* message :
            {L"\n未找到交叉口红线切角!", L"\n未找到道路中线!", L"\n未找到道路红线!"})
            EXPECT_EQ(
                c.message != nullptr && std::wstring(message) == c.message ? 1 : 0, timesIn(run, message))
                << arxhost::toUtf8(message);
        for (const AcDbObjectId id : extra)
            tarn::ent::Erase(id);
        extra.clear();
    }
}

TEST_F(CornerCheckRun, CutsWithoutOtherRedLinesSayThereAreNoRedLines)
{
    for (const Corner& c : mCorners) {
        tarn::ent::Erase(c.redX);
        tarn::ent::Erase(c.redY);
    }
    // Red-line layer curves without corner data are red lines; with it they are cuts.
    check();
    EXPECT_EQ(1, timesIn(lastRun(), L"\n未找到道路红线!"));
    EXPECT_FALSE(shown());

    addLayer(L"DL-远期道路红线");
    lineOn(L"DL-远期道路红线", AcGePoint3d(15, 0, 0), AcGePoint3d(60, 0, 0));
    check();
    EXPECT_EQ(0, timesIn(lastRun(), L"\n未找到道路红线!"));
    EXPECT_EQ(cuts({0, 1, 2}), checkedCuts());
    EXPECT_TRUE(shown());
}

TEST_F(CornerCheckRun, CutsOnTheFutureRedLineLayerAreCheckedAgainstItsRedLines)
{
    addLayer(L"DL-远期道路红线");
    const AcGePoint3d at(5000, 0, 0);
    lineOn(L"DL-远期道路红线", at + AcGeVector3d(17.5, 0, 0), at + AcGeVector3d(60, 0, 0));
    lineOn(L"DL-远期道路红线", at + AcGeVector3d(0, 17.5, 0), at + AcGeVector3d(0, 60, 0));
    const AcDbObjectId cut = polylineOn(L"DL-远期道路红线", {{5017.5, 0}, {5000, 17.5}});
    markCorner(cut, 2, L"DLYQJ_XDATA");
    road(at + AcGeVector3d(-80, -10, 0), at + AcGeVector3d(80, -10, 0), 40);
    road(at + AcGeVector3d(-10, -80, 0), at + AcGeVector3d(-10, 80, 0), 40);
    const AcDbObjectId text = annotate(L"FQ17.5", at + AcGeVector3d(14, 14, 0));
    check();
    ASSERT_NE(nullptr, g_pYqjCheckDlg);
    const SYQJINFO* row = rowOf(g_pYqjCheckDlg->m_allRows, cut);
    ASSERT_NE(nullptr, row);
    EXPECT_EQ(text, row->idText);
    EXPECT_NEAR(17.5, row->dRealValue, 1e-9);
    EXPECT_NEAR(20.0, row->dStdValue, 1e-9);
    EXPECT_EQ(0, row->nErrType);
    EXPECT_EQ(4, g_pYqjCheckDlg->m_allRows.GetSize());
}

class CornerCheckDimension : public CornerCheckFixture { };

TEST_F(CornerCheckDimension, WithoutErrorsItSaysSoShowsNothingAndClearsEarlierMarks)
{
    const Corner good = corner(AcGePoint2d(0, 0));
    annotate(L"Q15", good);
    const Corner wrong = corner(AcGePoint2d(1000, 0), CornerShape {17.5, 17.5});
    const AcDbObjectId wrongText = annotate(L"Q15", wrong);
    // The full check marks the wrong one.
    check();
    ASSERT_EQ(2u, entitiesOn(kErrorLayer).size());

    ModiText(wrongText, L"FQ17.5");
    dimensionCheck();
    ASSERT_NE(nullptr, g_pYqjDimCheckDlg);
    EXPECT_FALSE(g_pYqjDimCheckDlg->IsWindowVisible());
    EXPECT_TRUE(contains(transcriptFromLast(L"Command: FDeal_RoadYqjDimCheck\n"), L"没有发现错误。"));
    EXPECT_TRUE(entitiesOn(kErrorLayer).empty());
    EXPECT_EQ(0, g_pYqjDimCheckDlg->m_errRows.GetSize());
    EXPECT_EQ(2, g_pYqjDimCheckDlg->m_allRows.GetSize());
}

TEST_F(CornerCheckDimension, WithErrorsItListsOnlyTheErrorsWithTheValuesOfTheFullCheck)
{
    struct Case {
        CornerShape shape;
        const wchar_t* text; // null: none
    };
    const Case cases[] = {
        {CornerShape {15, 15}, L"Q15"},
        {CornerShape {17.5, 17.5}, L"Q15"},
        {CornerShape {16.34, 16.34}, L"Q16.3"},
        {CornerShape {12.5, 12.5}, nullptr},
        {CornerShape {15, 15, 40, 40}, L"Q15"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Corner at = corner(AcGePoint2d(1000.0 * static_cast<double>(i), 0), cases[i].shape);
        if (cases[i].text != nullptr)
            annotate(cases[i].text, at);
    }
    check();
    dimensionCheck();
    ASSERT_NE(nullptr, g_pYqjCheckDlg);
    ASSERT_NE(nullptr, g_pYqjDimCheckDlg);
    const CYqjCheckBaseDlg& full = *g_pYqjCheckDlg;
    const CYqjCheckBaseDlg& dim = *g_pYqjDimCheckDlg;
    EXPECT_TRUE(g_pYqjDimCheckDlg->IsWindowVisible());
    EXPECT_FALSE(contains(transcriptFromLast(L"Command: FDeal_RoadYqjDimCheck\n"), L"没有发现错误。"));
    ASSERT_EQ(4, dim.m_errRows.GetSize());
    ASSERT_EQ(full.m_errRows.GetSize(), dim.m_errRows.GetSize());
    for (int i = 0; i < dim.m_errRows.GetSize(); ++i) {
        EXPECT_EQ(full.m_errRows[i].idYqj, dim.m_errRows[i].idYqj);
        EXPECT_EQ(full.m_errRows[i].nErrType, dim.m_errRows[i].nErrType);
        EXPECT_DOUBLE_EQ(full.m_errRows[i].dRealValue, dim.m_errRows[i].dRealValue);
        EXPECT_DOUBLE_EQ(full.m_errRows[i].dStdValue, dim.m_errRows[i].dStdValue);
    }
    EXPECT_DOUBLE_EQ(16.3, dim.m_errRows[1].dRealValue);
    // The list shows the errors only.
    EXPECT_EQ(4, g_pYqjDimCheckDlg->m_list.GetItemCount());
    // Cut and text of each error, the cut alone of the unannotated one.
    EXPECT_EQ(7u, entitiesOn(kErrorLayer).size());

    // A double-click zooms to the error row it lists.
    type(L"!dialog 31022 dblclick 213 0\n");
    AcDbObjectIdArray ids;
    ids.append(dim.m_errRows[0].idText);
    ids.append(dim.m_errRows[0].idYqj);
    AcGePoint3d low;
    AcGePoint3d high;
    ASSERT_TRUE(tarn::ent::GetSSRect(ids, low, high));
    EXPECT_NEAR((low.x + high.x) / 2.0, viewCentre().x, 1e-6);
    EXPECT_NEAR((low.y + high.y) / 2.0, viewCentre().y, 1e-6);
    EXPECT_NEAR(high.y - low.y + 40.0, viewSize(), 1e-6);
}

} // namespace
} // namespace planroad::test
