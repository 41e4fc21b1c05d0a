// The curb-return radius annotation run end to end through the command line: what is selected, the
// label texts, their places and turns, the questions for a single entity, replacing earlier labels,
// the leader run's dimensions, and the drawing state restored afterwards.
#include <cmath>
#include <string>
#include <vector>

#include "CurbRadiusFixture.h"
#include "editor/StatusBar.h"
#include "text/Utf8.h"

namespace planroad::test {
namespace {

class CurbRadiusRun : public CurbRadiusFixture {
protected:
    void SetUp() override
    {
        CurbRadiusFixture::SetUp();
        // An arc nothing annotates: with it every selection holds more than one entity, so no question
        // about placing a text is asked unless a test erases it.
        mBystander = add(new AcDbArc(AcGePoint3d(-500, -500, 0), 3.0, 0.0, 1.0));
    }
    void dropBystander() { tarn::ent::Erase(mBystander); }
    AcDbObjectId mBystander;
};

// Points are compared to the millimetre.
void expectNear(const AcGePoint3d& expected, const AcGePoint3d& actual, const std::string& what)
{
    EXPECT_NEAR(expected.x, actual.x, 1e-3) << what;
    EXPECT_NEAR(expected.y, actual.y, 1e-3) << what;
}

TEST_F(CurbRadiusRun, RadiusTextFollowsPrecisionAndDimlfac)
{
    const AcDbObjectId arc = cornerArc(L"CURB", AcGePoint3d(0, 0, 0), 12.346, 0, 90);
    struct Case {
        const wchar_t* precisionItem;
        double dimlfac;
        const wchar_t* text;
    };
    const Case cases[] = {
        {L"0.00", 1.0, L"R-12.35"},
        {L"0.00", 1000.0, L"R-12346.00"},
        {L"0", 1.0, L"R-12"},
        {L"0", 1000.0, L"R-12346"},
        {L"0.000", 1.0, L"R-12.346"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"DIMLFAC", c.dimlfac));
        textRun(L"!dialog select 206 " + std::wstring(c.precisionItem) + L"\n");
        EXPECT_EQ(std::vector<std::wstring> {c.text}, textsOf(arc))
            << "precision " << arxhost::toUtf8(c.precisionItem) << ", DIMLFAC " << c.dimlfac;
    }
}

TEST_F(CurbRadiusRun, TextStandsOnTheBisectorOneHeightInsideAndReadsFromTheLeft)
{
    struct Case {
        double chordDirection; // degrees
        double rotation; // expected, degrees
    };
    const Case cases[] = {{120, 300}, {90, 90}, {0, 0}, {200, 20}, {270, 270}, {91, 271}};
    std::vector<AcDbObjectId> arcs;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        // The chord of an arc runs a right angle ahead of the direction of its middle.
        const double middle = cases[i].chordDirection - 90.0;
        arcs.push_back(cornerArc(L"CURB", AcGePoint3d(100.0 * i, 0, 0), 10.0, middle - 40.0, middle + 40.0));
    }
    textRun();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::vector<LabelSeen> labels = labelsOf(arcs[i]);
        ASSERT_EQ(1u, labels.size()) << "chord at " << cases[i].chordDirection;
        EXPECT_NEAR(cases[i].rotation, labels[0].rotation, 1e-6) << "chord at " << cases[i].chordDirection;
        const double middle = radians(cases[i].chordDirection - 90.0);
        // Radius 10 less the text height 2 from the centre.
        const AcGePoint3d expected(100.0 * i + 8.0 * std::cos(middle), 8.0 * std::sin(middle), 0);
        expectNear(expected, labels[0].at, "chord at " + std::to_string(cases[i].chordDirection));
        EXPECT_EQ(L"R-10.00", labels[0].text);
    }
}

TEST_F(CurbRadiusRun, LabelsAreTaggedAndLieOnTheEntitysAnnotationLayer)
{
    const AcDbObjectId arc = cornerArc(L"CURB", AcGePoint3d(0, 0, 0), 15.0, 180, 270);
    textRun();
    const std::vector<LabelSeen> labels = labelsOf(arc);
    ASSERT_EQ(1u, labels.size());
    EXPECT_TRUE(labels[0].tagged);
    EXPECT_EQ(L"CURB-BZ", labels[0].layer);
    // The run's layer is current only while it runs.
    CString current;
    tarn::cad::GetSysVar(L"CLAYER", current);
    EXPECT_EQ(CString(L"0"), current);
}

TEST_F(CurbRadiusRun, OnlyRoleLayersWhoseBoxIsCheckedAreAnnotated)
{
    const AcDbObjectId curb = cornerArc(L"CURB", AcGePoint3d(0, 0, 0), 10, 0, 90);
    const AcDbObjectId red = cornerArc(L"RED", AcGePoint3d(100, 0, 0), 10, 0, 90);
    const AcDbObjectId centre = cornerArc(L"CL", AcGePoint3d(200, 0, 0), 10, 0, 90);
    addLayer(L"OTHER");
    const AcDbObjectId other = cornerArc(L"OTHER", AcGePoint3d(300, 0, 0), 10, 0, 90);
    // A road line without corner data counts as well; an arc with no road data at all does not.
    const AcDbObjectId sideLine = polyline(L"CURB", {{400, 0}, {410, 0}, {420, 0}}, {0.0, 0.5, 0.0});
    markSideLine(sideLine);
    const AcDbObjectId plain = add(new AcDbArc(AcGePoint3d(500, 0, 0), 10, 0, 1));
    tarn::ent::ChangeLayer(plain, L"CURB");

    textRun(); // the first use: curb lines only
    EXPECT_EQ(1u, labelsOf(curb).size());
    EXPECT_EQ(0u, labelsOf(red).size());
    EXPECT_EQ(0u, labelsOf(centre).size());
    EXPECT_EQ(1u, labelsOf(sideLine).size());
    EXPECT_EQ(0u, labelsOf(plain).size());

    textRun(L"!dialog uncheck 220\n!dialog check 221\n!dialog check 224\n");
    EXPECT_EQ(1u, labelsOf(red).size());
    EXPECT_EQ(1u, labelsOf(centre).size());
    EXPECT_EQ(0u, labelsOf(other).size());
    // Unchecked now: its labels stay as the first run left them.
    EXPECT_EQ(1u, labelsOf(curb).size());
}

class CurbRadiusUnconfigured : public CurbRadiusRun {
protected:
    CurbRadiusUnconfigured() { mConfigureRoles = false; }
};

TEST_F(CurbRadiusUnconfigured, AllRolesOnLayerZeroNeedAllThreeBoxes)
{
    const AcDbObjectId arc = cornerArc(L"0", AcGePoint3d(0, 0, 0), 10, 0, 90);
    struct Case {
        const wchar_t* boxes;
        std::size_t labels;
    };
    const Case cases[] = {
        {L"", 0}, // curb lines only
        {L"!dialog check 221\n", 0},
        {L"!dialog check 221\n!dialog check 224\n", 1},
        {L"!dialog uncheck 220\n!dialog check 221\n!dialog check 224\n", 0},
    };
    for (const Case& c : cases) {
        // The boxes are remembered between runs: each case sets all three.
        textRun(L"!dialog check 220\n!dialog uncheck 221\n!dialog uncheck 224\n" + std::wstring(c.boxes));
        AcDbObjectIdArray earlier;
        EXPECT_EQ(c.labels, labelsOf(arc).size()) << arxhost::toUtf8(c.boxes);
        tarn::dat::GetSoftIds(arc, L"道路圆角标注", earlier);
        tarn::ent::Erase(earlier);
    }
}

TEST_F(CurbRadiusRun, ASecondRunReplacesTheLabelsOfTheFirst)
{
    const AcDbObjectId first = cornerArc(L"CURB", AcGePoint3d(0, 0, 0), 10, 0, 90);
    const AcDbObjectId road = polyline(L"CURB", {{100, 0}, {110, 0}, {120, 0}, {130, 0}}, {0.4, 0.0, -0.4});
    markSideLine(road);
    textRun();
    textRun(L"!dialog set 205 RR\n");
    EXPECT_EQ(std::vector<std::wstring> {L"RR10.00"}, textsOf(first));
    EXPECT_EQ(2u, labelsOf(road).size());
    EXPECT_EQ(3, taggedLabelsInDrawing());
    annotate(L"!dialog check 222\n"); // the leader run replaces texts by dimensions
    EXPECT_EQ(3, taggedLabelsInDrawing());
    ASSERT_EQ(1u, labelsOf(first).size());
    EXPECT_TRUE(labelsOf(first)[0].dimension);
}

TEST_F(CurbRadiusRun, ACornerOfThreePointsLosesItsEarlierLabelsAndGetsNone)
{
    const AcDbObjectId corner = polyline(L"CURB", {{0, 0}, {10, 0}, {20, 5}}, {0.3, 0.3, 0.0});
    markCorner(corner, 1);
    AcDbObjectId earlier;
    TEXTPARAM text;
    ASSERT_EQ(1, TarnDB::qvCreateTextEx(AcGePoint3d(5, 5, 0), L"R-9.00", 0.0, 1, 1, text, earlier));
    tarn::dat::PasteSoftId(corner, L"道路圆角标注", earlier);
    textRun();
    EXPECT_FALSE(tarn::ent::FIsValidId(earlier));
    EXPECT_TRUE(labelsOf(corner).empty());
}

TEST_F(CurbRadiusRun, ASingleEntityAsksWhereAndHowToTurnEachLabel)
{
    dropBystander();
    const AcDbObjectId road = polyline(L"CURB", {{0, 0}, {10, 0}, {20, 0}, {30, 0}}, {0.4, 0.4, 0.4});
    markSideLine(road);
    // Enter keeps the computed place and turn of all three arcs.
    textRun(L"", L"ALL\n\n\n\n\n\n\n\n");
    EXPECT_EQ(3, timesIn(transcript(), L"输入标注文字的插入点:"));
    EXPECT_EQ(3, timesIn(transcript(), L"输入标注文字的旋转角度:<"));
    const std::vector<LabelSeen> computed = labelsOf(road);
    ASSERT_EQ(3u, computed.size());

    // A picked point and angle replace them.
    textRun(L"", L"ALL\n\n100,50\n45\n\n\n\n\n");
    std::vector<LabelSeen> answered = labelsOf(road);
    ASSERT_EQ(3u, answered.size());
    expectNear(AcGePoint3d(100, 50, 0), answered[0].at, "picked point");
    EXPECT_NEAR(45.0, answered[0].rotation, 1e-9);
    expectNear(computed[1].at, answered[1].at, "second arc");

    // With a second entity selected nothing is asked.
    const AcDbObjectId arc = cornerArc(L"CURB", AcGePoint3d(0, 100, 0), 10, 0, 90);
    textRun();
    EXPECT_EQ(6, timesIn(transcript(), L"输入标注文字的插入点:"));
    EXPECT_EQ(3u, labelsOf(road).size());
    EXPECT_EQ(1u, labelsOf(arc).size());
}

TEST_F(CurbRadiusRun, EscAtAQuestionLeavesTheEntitysRemainingArcsWithoutLabels)
{
    dropBystander();
    const AcDbObjectId road = polyline(L"CURB", {{0, 0}, {10, 0}, {20, 0}, {30, 0}}, {0.4, 0.4, 0.4});
    markSideLine(road);
    textRun(L"", L"ALL\n\n\n\n\n^C\n");
    EXPECT_EQ(1u, labelsOf(road).size());
    textRun(L"", L"ALL\n\n^C\n");
    EXPECT_EQ(0u, labelsOf(road).size());
    EXPECT_TRUE(contains(transcript(), L"Command: "));
}

TEST_F(CurbRadiusRun, StandardCutIsLabelledFromItsMiddleTowardsTheCorner)
{
    // Two red lines meeting at the origin, cut 5 from it on both.
    lineOn(L"RED", AcGePoint3d(50, 0, 0), AcGePoint3d(5, 0, 0));
    lineOn(L"RED", AcGePoint3d(0, 50, 0), AcGePoint3d(0, 5, 0));
    const AcDbObjectId cut = cornerCut(L"RED", AcGePoint2d(5, 0), AcGePoint2d(0, 5));
    textRun(L"!dialog check 221\n");
    const std::vector<LabelSeen> labels = labelsOf(cut);
    ASSERT_EQ(1u, labels.size());
    EXPECT_EQ(L"Q 5.00", labels[0].text);
    // From the cut's middle (2.5, 2.5) away from the corner by the length less a text height.
    const double away = 3.0 / std::sqrt(2.0);
    expectNear(AcGePoint3d(2.5 + away, 2.5 + away, 0), labels[0].at, "standard label");
    EXPECT_NEAR(0.0, labels[0].rotation, 1e-9);
    EXPECT_EQ(L"5.00", field(cut, L"FD_VIEW"));
}

TEST_F(CurbRadiusRun, TangentLengthsWithinOneCentimetreMakeASymmetricCut)
{
    struct Case {
        double d1;
        double d2;
        std::vector<std::wstring> texts;
        const wchar_t* recorded;
        const wchar_t* recordedSecond;
    };
    const std::vector<Case> cases = {
        {5.004, 4.996, {L"Q 4.996"}, L"5.00", L"<none>"},
        {5.00, 4.99, {L"FQ5.000", L"FQ4.990"}, L"5.00", L"4.99"},
        {8.0, 5.0, {L"FQ8.000", L"FQ5.000"}, L"8.00", L"5.00"},
    };
    std::vector<AcDbObjectId> cuts;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const double x = 200.0 * i;
        lineOn(L"RED", AcGePoint3d(x + 60, 0, 0), AcGePoint3d(x + cases[i].d1, 0, 0));
        lineOn(L"RED", AcGePoint3d(x, 60, 0), AcGePoint3d(x, cases[i].d2, 0));
        cuts.push_back(cornerCut(L"RED", AcGePoint2d(x + cases[i].d1, 0), AcGePoint2d(x, cases[i].d2)));
    }
    textRun(L"!dialog check 221\n!dialog select 206 0.000\n");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(cases[i].texts, textsOf(cuts[i])) << cases[i].d1 << " / " << cases[i].d2;
        EXPECT_EQ(cases[i].recorded, field(cuts[i], L"FD_VIEW"));
        EXPECT_EQ(cases[i].recordedSecond, field(cuts[i], L"FD_VIEW1"));
    }
    // Both labels of an asymmetric cut stand d1 less a height off its ends, unturned.
    const std::vector<LabelSeen> labels = labelsOf(cuts[2]);
    ASSERT_EQ(2u, labels.size());
    const AcGeVector3d w = (AcGePoint3d(404, 2.5, 0) - AcGePoint3d(400, 0, 0)).normal();
    expectNear(AcGePoint3d(408, 0, 0) + w * 6.0, labels[0].at, "first label");
    expectNear(AcGePoint3d(400, 5, 0) + w * 6.0, labels[1].at, "second label");
    EXPECT_NEAR(0.0, labels[1].rotation, 1e-9);
}

TEST_F(CurbRadiusRun, ACutTouchingNothingOnItsLayerGetsNoLength)
{
    // The neighbours lie on another layer; a curve ending 0.02 away does not touch.
    lineOn(L"CURB", AcGePoint3d(50, 0, 0), AcGePoint3d(5, 0, 0));
    lineOn(L"RED", AcGePoint3d(0, 50, 0), AcGePoint3d(0, 5.02, 0));
    const AcDbObjectId cut = cornerCut(L"RED", AcGePoint2d(5, 0), AcGePoint2d(0, 5));
    textRun(L"!dialog check 221\n");
    EXPECT_TRUE(labelsOf(cut).empty());
    EXPECT_EQ(L"<none>", field(cut, L"FD_VIEW"));
}

TEST_F(CurbRadiusRun, NeighboursEndingWithinOneCentimetreInPlanAtAnotherHeightTouch)
{
    lineOn(L"RED", AcGePoint3d(50, 0, 3), AcGePoint3d(5.008, 0.005, 3));
    lineOn(L"RED", AcGePoint3d(0, 50, -2), AcGePoint3d(-0.009, 5.0, -2));
    const AcDbObjectId cut = cornerCut(L"RED", AcGePoint2d(5, 0), AcGePoint2d(0, 5));
    textRun(L"!dialog check 221\n");
    // Lengths are measured to the corner where the neighbours meet, at their own elevation.
    EXPECT_EQ(2u, textsOf(cut).size());
    EXPECT_NE(L"<none>", field(cut, L"FD_VIEW"));
}

TEST_F(CurbRadiusRun, AttributeModeLabelsTheRecordedLength)
{
    lineOn(L"RED", AcGePoint3d(50, 0, 0), AcGePoint3d(5, 0, 0));
    lineOn(L"RED", AcGePoint3d(0, 50, 0), AcGePoint3d(0, 5, 0));
    const AcDbObjectId cut = cornerCut(L"RED", AcGePoint2d(5, 0), AcGePoint2d(0, 5));
    ARX_DATA::CFGisXData::SetTo(cut, L"FD_VIEW", L"7.5", L"切距边长");
    OTHERPARAM mode;
    mode.strValue = L"1";
    mode.nCode1 = 5001;
    TarnDB::qvGetCustomDatabase()->SetOtherCustomParam(L"圆切角标注半径计算方式[计算值(0)/属性值(1)]", &mode);
    textRun(L"!dialog check 221\n");
    EXPECT_EQ(std::vector<std::wstring> {L"Q 7.50"}, textsOf(cut));
    EXPECT_EQ(L"7.5", field(cut, L"FD_VIEW")); // read, not rewritten
}

TEST_F(CurbRadiusRun, LeaderRunDrawsRadialDimensionsWithTheDialogsSettings)
{
    const AcDbObjectId arc = cornerArc(L"CURB", AcGePoint3d(0, 0, 0), 12.0, 0, 90);
    annotate(L"!dialog select 206 0.0\n!dialog set 205 R=\n");
    const std::vector<LabelSeen> labels = labelsOf(arc);
    ASSERT_EQ(1u, labels.size());
    ASSERT_TRUE(labels[0].dimension);
    EXPECT_EQ(L"R=<>", labels[0].text);
    EXPECT_EQ(1, labels[0].dimdec);
    EXPECT_DOUBLE_EQ(2.0, labels[0].dimtxt);
    EXPECT_DOUBLE_EQ(1.0, labels[0].dimscale);
    EXPECT_TRUE(labels[0].tagged);
    EXPECT_EQ(L"CURB-BZ", labels[0].layer);
    const double half = 12.0 / std::sqrt(2.0);
    expectNear(AcGePoint3d(half, half, 0), labels[0].at, "chord point");
    // DIMDSEP was "." only while the run drew.
    CString separator;
    tarn::cad::GetSysVar(L"DIMDSEP", separator);
    EXPECT_EQ(CString(L","), separator);
}

TEST_F(CurbRadiusRun, RedLineDimensionsMoveToTheThirdPointOnlyBesideCurbLines)
{
    const AcDbObjectId red = cornerArc(L"RED", AcGePoint3d(0, 0, 0), 10.0, 0, 90);
    const double half = 10.0 / std::sqrt(2.0);
    annotate(L"!dialog uncheck 220\n!dialog check 221\n");
    ASSERT_EQ(1u, labelsOf(red).size());
    expectNear(AcGePoint3d(half, half, 0), labelsOf(red)[0].at, "red lines alone");
    annotate(L"!dialog check 220\n!dialog check 221\n");
    ASSERT_EQ(1u, labelsOf(red).size());
    // A third of the way along the arc from its start: 30 degrees.
    expectNear(AcGePoint3d(10.0 * std::cos(kPi / 6), 10.0 * std::sin(kPi / 6), 0), labelsOf(red)[0].at,
        "beside curb lines");
}

TEST_F(CurbRadiusRun, AFirstSegmentShorterThanHalfAUnitGetsNoDimensions)
{
    const AcDbObjectId road = polyline(L"CURB", {{0, 0}, {0.4, 0}, {10, 0}}, {0.0, 0.5, 0.0});
    markSideLine(road);
    annotate(L"");
    EXPECT_TRUE(labelsOf(road).empty());
    textRun();
    EXPECT_EQ(1u, labelsOf(road).size());
}

// The dimension style table's record of that name.
AcDbObjectId dimStyleNamed(AcDbDatabase& db, const wchar_t* name)
{
    AcDbDimStyleTable* table = nullptr;
    AcDbObjectId id;
    if (db.getDimStyleTable(table, AcDb::kForRead) == Acad::eOk) {
        table->getAt(name, id);
        table->close();
    }
    return id;
}

TEST_F(CurbRadiusRun, TheIsoStyleIsCurrentOnlyWhileTheRunDraws)
{
    cornerArc(L"CURB", AcGePoint3d(0, 0, 0), 12.0, 0, 90);
    const AcDbObjectId standard = dimStyleNamed(db(), L"Standard");
    const AcDbObjectId iso = dimStyleNamed(db(), L"ISO-25");
    ASSERT_FALSE(standard.isNull());
    ASSERT_FALSE(iso.isNull());
    double styleHeight = 0.0;
    {
        AcDbDimStyleTableRecord* record = nullptr;
        ASSERT_EQ(Acad::eOk, acdbOpenObject(record, standard, AcDb::kForRead));
        styleHeight = record->dimtxt();
        record->close();
    }
    struct Case {
        AcDbObjectId current;
        double dimtxtAfter; // the header's DIMTXT after the run (7 before it)
    };
    // Another style current: it comes back with its own settings. "ISO-25" current: left as it is.
    const Case cases[] = {{standard, styleHeight}, {iso, 7.0}};
    for (const Case& c : cases) {
        ASSERT_EQ(Acad::eOk, db().setDimstyle(c.current));
        ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"DIMLFAC", 5.0));
        ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"DIMTXT", 7.0));
        annotate(L"");
        EXPECT_EQ(c.current, db().dimstyle());
        double value = 0.0;
        tarn::cad::GetSysVar(L"DIMLFAC", value);
        EXPECT_DOUBLE_EQ(5.0, value);
        tarn::cad::GetSysVar(L"DIMTXT", value);
        EXPECT_DOUBLE_EQ(c.dimtxtAfter, value);
    }
}

TEST_F(CurbRadiusRun, WithoutAnIsoStyleTheCurrentStyleIsAppliedAgain)
{
    const AcDbObjectId arc = cornerArc(L"CURB", AcGePoint3d(0, 0, 0), 12.0, 0, 90);
    const AcDbObjectId iso = dimStyleNamed(db(), L"ISO-25");
    {
        AcDbDimStyleTableRecord* record = nullptr;
        ASSERT_EQ(Acad::eOk, acdbOpenObject(record, iso, AcDb::kForWrite));
        ASSERT_EQ(Acad::eOk, record->setName(L"公司标准"));
        record->close();
    }
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"DIMTXT", 7.0));
    annotate(L"");
    EXPECT_EQ(1u, labelsOf(arc).size());
    EXPECT_EQ(iso, db().dimstyle());
    double value = 0.0;
    tarn::cad::GetSysVar(L"DIMTXT", value);
    EXPECT_DOUBLE_EQ(2.5, value); // the style's, not the 7 set on the drawing
}

TEST_F(CurbRadiusRun, ACancelledSelectionDrawsNothingAndRestoresTheVariables)
{
    const AcDbObjectId arc = cornerArc(L"CURB", AcGePoint3d(0, 0, 0), 12.0, 0, 90);
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"PICKSTYLE", 1.0));
    annotate(L"!dialog set 205 RX\n", L"^C\n");
    EXPECT_TRUE(labelsOf(arc).empty());
    double pickStyle = 0.0;
    tarn::cad::GetSysVar(L"PICKSTYLE", pickStyle);
    EXPECT_EQ(1.0, pickStyle);
    CString layer;
    tarn::cad::GetSysVar(L"CLAYER", layer);
    EXPECT_EQ(CString(L"0"), layer);
    // The settings were stored before the selection.
    type(L"QVDLYJBJBZ\n");
    EXPECT_TRUE(contains(transcriptFromLast(L"[Dialog 3100 \""), L"IDC_DLYJ_RADIUS_PREFIX \"RX\""))
        << arxhost::toUtf8(transcriptFromLast(L"[Dialog 3100 \""));
}

TEST_F(CurbRadiusRun, ManyEntitiesShowTheProgressMeter)
{
    for (int i = 0; i < 12; ++i)
        cornerArc(L"CURB", AcGePoint3d(50.0 * i, 0, 0), 10.0, 0, 90);
    textRun();
    EXPECT_TRUE(status().find("正在标注....") != std::string::npos) << status();
    EXPECT_EQ(13, taggedLabelsInDrawing() + 1); // twelve labels; the bystander has none
}

TEST_F(CurbRadiusRun, EscWhileTheRunDrawsStopsItAndRestoresTheStatusBarAndVariables)
{
    for (int i = 0; i < 12; ++i)
        cornerArc(L"CURB", AcGePoint3d(50.0 * i, 0, 0), 10.0, 0, 90);
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"PICKSTYLE", 1.0));
    // Esc pressed while the command works on the selection: the loop stops before the first entity.
    textRun(L"", L"ALL\n\n!break\n");
    EXPECT_EQ(0, taggedLabelsInDrawing());
    EXPECT_TRUE(status().find("正在标注....") != std::string::npos) << status();
    EXPECT_FALSE(session().statusBar().active()) << "the meter is still shown";
    double pickStyle = 0.0;
    tarn::cad::GetSysVar(L"PICKSTYLE", pickStyle);
    EXPECT_EQ(1.0, pickStyle);
    CString layer;
    tarn::cad::GetSysVar(L"CLAYER", layer);
    EXPECT_EQ(CString(L"0"), layer);
}

} // namespace
} // namespace planroad::test
