// The toolkit's selection: selection sets by filter, area and the user; picks with keywords; drawn
// polylines. Prompts are answered by script as a user would type them.
#include "ToolkitFixture.h"

namespace planroad::test {
namespace {

class Selection : public ToolkitFixture {
protected:
    void SetUp() override
    {
        ToolkitFixture::SetUp();
        addLayer(L"DL-道路红线");
        mCut = addLine(0, 5, 5, 0);
        tarn::ent::ChangeLayer(mCut, L"DL-道路红线");
        mRed = addLine(0, 0, 0, 20);
        tarn::ent::ChangeLayer(mRed, L"DL-道路红线");
        mOther = addLine(50, 50, 60, 50);
    }
    static AcDbObjectIdArray idsOf(tarn::CFArxSelSet& set)
    {
        AcDbObjectIdArray ids;
        set.asArray(ids);
        return ids;
    }
    static AcGePoint3dArray square(double x0, double y0, double x1, double y1)
    {
        AcGePoint3dArray points;
        points.append(AcGePoint3d(x0, y0, 0));
        points.append(AcGePoint3d(x1, y0, 0));
        points.append(AcGePoint3d(x1, y1, 0));
        points.append(AcGePoint3d(x0, y1, 0));
        return points;
    }
    AcDbObjectId mCut;
    AcDbObjectId mRed;
    AcDbObjectId mOther;
};

TEST_F(Selection, WholeDrawingCornersAndPolygonsWithFilters)
{
    resbuf* redLayer = acutBuildList(8, L"DL-道路红线", RTNONE);
    tarn::CFArxSelSet set;
    ASSERT_EQ(tarn::CFArxSelSet::kSelected, set.allSelect(redLayer));
    EXPECT_EQ(2, set.length());
    AcDbObjectIdArray ids = idsOf(set);
    ASSERT_EQ(2, ids.length());
    EXPECT_EQ(mCut, ids[0]);
    EXPECT_EQ(mRed, ids[1]);

    // A small crossing box at the cut's start point touches the cut and the red line.
    EXPECT_EQ(tarn::CFArxSelSet::kSelected, set.crossingSelect(AcGePoint3d(-1, 4, 0), AcGePoint3d(1, 6, 0)));
    EXPECT_EQ(2, set.length());
    EXPECT_EQ(tarn::CFArxSelSet::kSelected, set.windowSelect(AcGePoint3d(-1, -1, 0), AcGePoint3d(6, 6, 0)));
    EXPECT_EQ(1, set.length());
    EXPECT_EQ(tarn::CFArxSelSet::kSelected, set.crossingPolygonSelect(square(45, 45, 55, 55)));
    EXPECT_EQ(mOther, idsOf(set)[0]);
    EXPECT_EQ(tarn::CFArxSelSet::kNone, set.crossingPolygonSelect(square(45, 45, 55, 55), redLayer));
    EXPECT_EQ(0, set.length());
    EXPECT_TRUE(idsOf(set).isEmpty());
    AcGePoint3dArray line;
    line.append(AcGePoint3d(0, 0, 0));
    line.append(AcGePoint3d(1, 1, 0));
    EXPECT_EQ(tarn::CFArxSelSet::kRejected, set.crossingPolygonSelect(line));
    acutRelRb(redLayer);
}

TEST_F(Selection, TheUserSelectsAtTheCallersPromptOrCancels)
{
    std::vector<tarn::CFArxSelSet::SelSetStatus> results;
    std::vector<int> counts;
    auto select = [&] {
        resbuf* lines = acutBuildList(RTDXF0, L"LINE", RTNONE);
        tarn::CFArxSelSet set;
        results.push_back(
            set.userSelect(L"\n选择要检查的交叉口红线切角:", L"\n选择要检查的交叉口红线切角:", lines));
        counts.push_back(static_cast<int>(set.length()));
        acutRelRb(lines);
    };
    inCommand(select, L"ALL\n\n");
    inCommand(select, L"^C\n");
    inCommand(select, L"\n");
    ASSERT_EQ(3u, results.size());
    EXPECT_EQ(tarn::CFArxSelSet::kSelected, results[0]);
    EXPECT_EQ(3, counts[0]);
    EXPECT_EQ(tarn::CFArxSelSet::kCanceled, results[1]);
    EXPECT_EQ(tarn::CFArxSelSet::kNone, results[2]);
    EXPECT_TRUE(contains(transcript(), L"选择要检查的交叉口红线切角:ALL\n3 found")) << transcript();
    EXPECT_FALSE(contains(transcript(), L"Select objects:"));
}

TEST_F(Selection, APickAKeywordEnterOrEscape)
{
    struct Outcome {
        int result;
        AcDbObjectId id;
        CString keyword;
    };
    std::vector<Outcome> outcomes;
    auto pick = [&] {
        tarn::CFEntsel entsel(L"\n选择范围线[绘制范围线(D)/选择要检测的切角(S)]:", L"*", L"*", L"", L"");
        entsel.SetInitKword(L"D S");
        const int result = entsel.FEntsel();
        outcomes.push_back({result, entsel.GetSelEnt(), entsel.GetSelKword()});
    };
    // A pick on the red line; a miss, then the other line; a keyword in lower case; Enter; Esc.
    inCommand(pick, L"0,12\n");
    inCommand(pick, L"200,200\n55,50\n");
    inCommand(pick, L"d\n");
    inCommand(pick, L"\n");
    inCommand(pick, L"^C\n");
    ASSERT_EQ(5u, outcomes.size());
    EXPECT_EQ(1, outcomes[0].result);
    EXPECT_EQ(mRed, outcomes[0].id);
    EXPECT_EQ(1, outcomes[1].result);
    EXPECT_EQ(mOther, outcomes[1].id);
    EXPECT_EQ(2, outcomes[2].result);
    EXPECT_EQ(CString(L"D"), outcomes[2].keyword);
    EXPECT_EQ(0, outcomes[3].result);
    EXPECT_EQ(-1, outcomes[4].result);
}

TEST_F(Selection, APickOutsideTheConditionsIsRefusedAndAskedAgain)
{
    AcDbObjectId range = addPolyline({{100, 100}, {120, 100}, {120, 120}}, true);
    int result = 0;
    AcDbObjectId picked;
    inCommand(
        [&] {
            tarn::CFEntsel entsel(
                L"\n选择范围线:", L"LWPOLYLINE,POLYLINE", L"*", L"", L"\n该对象不是多段线!");
            result = entsel.FEntsel();
            picked = entsel.GetSelEnt();
        },
        L"0,12\n110,100\n");
    EXPECT_EQ(1, result);
    EXPECT_EQ(range, picked);
    EXPECT_TRUE(contains(transcript(), L"该对象不是多段线!"));
}

TEST_F(Selection, SelectEntGivesThePickedEntity)
{
    AcDbObjectId picked;
    int first = -1;
    int second = -1;
    inCommand([&] { first = tarn::ent::SelectEnt(picked, L"\n选择T形路口的贯穿中线:"); }, L"2.5,2.5\n");
    EXPECT_EQ(1, first);
    EXPECT_EQ(mCut, picked);
    inCommand([&] { second = tarn::ent::SelectEnt(picked, L"\n选择T形路口的贯穿中线:"); }, L"^C\n");
    EXPECT_EQ(0, second);
    EXPECT_TRUE(contains(transcript(), L"选择T形路口的贯穿中线:"));
}

TEST_F(Selection, DrawnPolylinesClosedOpenTakenBackOrTooShort)
{
    struct Case {
        const wchar_t* script;
        int result;
        int vertices;
        bool closed;
    };
    const Case cases[] = {
        {L"0,0\n100,0\n100,100\nC\n", 1, 3, true},
        {L"0,0\n100,0\n5,5\nU\n100,100\n\n", 1, 3, false},
        {L"0,0\n\n", 0, 0, false},
        {L"0,0\n100,0\n^C\n", 0, 0, false},
    };
    for (const Case& c : cases) {
        AcDbObjectId id;
        int result = -1;
        inCommand([&] { result = tarn::ent::DrawPline(id); }, c.script);
        EXPECT_EQ(c.result, result) << c.script;
        if (c.result == 0) {
            EXPECT_TRUE(id.isNull()) << c.script;
            continue;
        }
        AcGePoint3dArray points;
        ASSERT_EQ(1, tarn::ent::GetCurveParam(id, &points, nullptr));
        EXPECT_EQ(c.vertices, points.length()) << c.script;
        EXPECT_EQ(c.closed, tarn::ent::IsClosed(id)) << c.script;
        expectNear(AcGePoint3d(100, 0, 0), points[1]);
    }
    EXPECT_TRUE(contains(transcript(), L"指定下一点或 [闭合(C)/放弃(U)]:"));
}

} // namespace
} // namespace planroad::test
