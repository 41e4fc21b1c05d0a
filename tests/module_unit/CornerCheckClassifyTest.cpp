// The corner-cut check's verdict on each corner: the annotation found for it, its number and prefix
// against the actual, standard and recorded values, the red lines it joins, and where the standard
// comes from.
#include <string>
#include <vector>

#include "CornerCheckFixture.h"
#include "text/Utf8.h"

namespace planroad::test {
namespace {

class CornerCheckClassify : public CornerCheckFixture {
protected:
    // Runs the full check over every cut of the drawing; the dialog that holds the rows (null when the
    // opener could not make it).
    const CYQJCheckDlg* checked()
    {
        check();
        return g_pYqjCheckDlg;
    }
};

struct VerdictCase {
    const wchar_t* text;
    CornerShape shape;
    const wchar_t* recorded; // FD_VIEW of the cut, null for none
    int type;
    double real;
    double standard;
    const wchar_t* rightPrefix;
};

CornerShape cut(double x, double y, double widthX = 40.0, double widthY = 24.0)
{
    CornerShape shape;
    shape.cutX = x;
    shape.cutY = y;
    shape.widthX = widthX;
    shape.widthY = widthY;
    return shape;
}
CornerShape arcOf(double radius, const wchar_t* app)
{
    CornerShape shape = cut(radius, radius);
    shape.arc = true;
    shape.app = app;
    return shape;
}
CornerShape olderData(double x)
{
    CornerShape shape = cut(x, x);
    shape.app = L"DLYQJ_XDATA";
    return shape;
}

TEST_F(CornerCheckClassify, EachCornerIsJudgedByNumberPrefixStandardAndRecordedValue)
{
    // Roads 40 and 24 wide meet at a standard of 15, two of 40 at 20, two of 24 at 12.5.
    const std::vector<VerdictCase> cases = {
        {L"Q15", cut(15, 15), nullptr, 0, 15.0, 15.0, L""},
        {L"Q15", cut(15, 15, 40, 40), nullptr, 3, 15.0, 20.0, L"FQ"},
        {L"FQ15", cut(15, 15), nullptr, 3, 15.0, 15.0, L"Q"},
        {L"FQ15", cut(15, 15, 40, 40), nullptr, 0, 15.0, 20.0, L""},
        {L"Q12.5", cut(12.5, 12.5, 24, 24), nullptr, 0, 12.5, 12.5, L""},
        {L"FQ17.5", cut(17.5, 17.5), nullptr, 0, 17.5, 15.0, L""},
        {L"Q15", cut(17.5, 17.5), nullptr, 2, 17.5, 15.0, L""},
        {L"Q15", cut(17.5, 17.5), L"15", 6, 17.5, 15.0, L""},
        {L"Q15", cut(17.5, 17.5), L"17.5", 2, 17.5, 15.0, L""},
        {L"Q16.3", cut(16.3, 16.3), nullptr, 1, 16.3, 15.0, L""},
        {L"Q16.3", cut(16.3, 16.3), L"16.3", 7, 16.3, 15.0, L""},
        {L"Q15", cut(16.3, 16.3), L"15", 7, 16.3, 15.0, L""},
        {L"Q15", cut(16.3, 16.3), L"16.3", 1, 16.3, 15.0, L""},
        {L"Q 15", cut(15, 15), nullptr, 0, 15.0, 15.0, L""},
        {L" Q15", cut(15, 15), nullptr, 0, 15.0, 15.0, L""},
        {L"AQ15", cut(15, 15), nullptr, 3, 15.0, 15.0, L"Q"},
        {L"fQ15", cut(15, 15, 40, 40), nullptr, 3, 15.0, 20.0, L"FQ"},
        // The smaller distance of the corner point to the cut's ends.
        {L"Q15", cut(15, 22), nullptr, 0, 15.0, 15.0, L""},
        {L"Q15", cut(22, 15), nullptr, 0, 15.0, 15.0, L""},
        // A rounded corner states its radius; both corner applications count.
        {L"Q15", arcOf(15, L"FAPP_DLYQJ"), nullptr, 0, 15.0, 15.0, L""},
        {L"Q15", arcOf(17.5, L"DLYQJ_XDATA"), nullptr, 2, 17.5, 15.0, L""},
        {L"Q15", olderData(15), nullptr, 0, 15.0, 15.0, L""},
    };
    std::vector<Corner> corners;
    std::vector<AcDbObjectId> texts;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        corners.push_back(corner(AcGePoint2d(1000.0 * static_cast<double>(i), 0), cases[i].shape));
        if (cases[i].recorded != nullptr)
            recordValue(corners.back().cut, cases[i].recorded);
        texts.push_back(annotate(cases[i].text, corners.back()));
    }
    const CYQJCheckDlg* checkedDlg = checked();
    ASSERT_NE(nullptr, checkedDlg);
    const CYQJCheckDlg& dlg = *checkedDlg;
    ASSERT_EQ(static_cast<int>(cases.size()), dlg.m_allRows.GetSize());
    int errors = 0;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const VerdictCase& c = cases[i];
        SCOPED_TRACE(arxhost::toUtf8(c.text) + " on " + std::to_string(c.shape.cutX) + "/"
            + std::to_string(c.shape.cutY) + (c.recorded != nullptr ? " recorded" : ""));
        const SYQJINFO* row = rowOf(dlg.m_allRows, corners[i].cut);
        ASSERT_NE(nullptr, row);
        EXPECT_EQ(c.type, row->nErrType);
        EXPECT_NEAR(c.real, row->dRealValue, 1e-9);
        EXPECT_NEAR(c.standard, row->dStdValue, 1e-9);
        EXPECT_EQ(texts[i], row->idText);
        EXPECT_EQ(std::wstring(c.text), row->strText.GetString());
        EXPECT_EQ(std::wstring(c.rightPrefix), row->strRightPrefix.GetString());
        EXPECT_EQ(c.type == 0 ? 0 : 1, rowsOf(dlg.m_errRows, corners[i].cut));
        errors += c.type == 0 ? 0 : 1;
    }
    EXPECT_EQ(errors, dlg.m_errRows.GetSize());
}

struct PlacedText {
    const wchar_t* text;
    AcGePoint3d middle;
};

TEST_F(CornerCheckClassify, TheTextNearestToTheCutsMiddleInItsAreaIsTheAnnotation)
{
    // The cut from (15,0) to (0,15) has its middle at (7.5,7.5); its area reaches the red lines' middles
    // at 37.5. Equally near texts: the one drawn first.
    const PlacedText nearer {L"Q15", AcGePoint3d(11, 11, 0)};
    const PlacedText farther {L"FQ20", AcGePoint3d(16, 16, 0)};
    const PlacedText right {L"Q17.5", AcGePoint3d(13.5, 10.5, 0)};
    const PlacedText up {L"Q15", AcGePoint3d(10.5, 13.5, 0)};
    struct Case {
        const char* what;
        std::vector<PlacedText> drawn;
        std::size_t annotation; // index into drawn
        int type;
    };
    const Case cases[] = {
        {"nearer drawn last", {farther, nearer}, 1, 0},
        {"nearer drawn first", {nearer, farther}, 0, 0},
        {"equal, right first", {right, up}, 0, 2},
        {"equal, up first", {up, right}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Corner at = corner(AcGePoint2d(0, 0));
        std::vector<AcDbObjectId> texts;
        for (const PlacedText& t : c.drawn) {
            texts.push_back(annotate(t.text, t.middle));
            AcGePoint3d middle;
            ASSERT_TRUE(tarn::ent::GetMidPt(texts.back(), middle));
            ASSERT_EQ(t.middle, middle) << "the distances of the case depend on exact middles";
        }
        const CYQJCheckDlg* checkedDlg = checked();
        ASSERT_NE(nullptr, checkedDlg);
        const CYQJCheckDlg& dlg = *checkedDlg;
        ASSERT_EQ(1, dlg.m_allRows.GetSize());
        EXPECT_EQ(texts[c.annotation], dlg.m_allRows[0].idText);
        EXPECT_EQ(c.type, dlg.m_allRows[0].nErrType);
        // A fresh drawing for the next case.
        for (const AcDbObjectId id : {at.cut, at.redX, at.redY, at.roadX, at.roadY})
            tarn::ent::Erase(id);
        for (const AcDbObjectId id : texts)
            tarn::ent::Erase(id);
    }
}

TEST_F(CornerCheckClassify, WithoutAnyAnnotationTextEveryRegularCutIsUnannotated)
{
    const Corner plain = corner(AcGePoint2d(0, 0));
    const Corner rounded = corner(AcGePoint2d(1000, 0), arcOf(17.5, L"FAPP_DLYQJ"));
    const Corner lonely = corner(AcGePoint2d(2000, 0));
    tarn::ent::Erase(lonely.redY);
    // Texts of the kind off the annotation layer, and one on it that is no annotation, change nothing.
    annotate(L"Q15", plain.point + AcGeVector3d(4, 4, 0), L"OTHER");
    annotate(L"Q15", plain, L"OTHER");
    annotate(L"15", rounded);
    const CYQJCheckDlg* checkedDlg = checked();
    ASSERT_NE(nullptr, checkedDlg);
    const CYQJCheckDlg& dlg = *checkedDlg;
    ASSERT_EQ(3, dlg.m_allRows.GetSize());
    ASSERT_EQ(3, dlg.m_errRows.GetSize());
    struct Expected {
        AcDbObjectId cut;
        int type;
        double real;
        double standard;
    };
    const Expected expected[]
        = {{plain.cut, 4, 15.0, 15.0}, {rounded.cut, 4, 17.5, 15.0}, {lonely.cut, 5, 0, 0}};
    for (const Expected& e : expected) {
        const SYQJINFO* row = rowOf(dlg.m_allRows, e.cut);
        ASSERT_NE(nullptr, row);
        EXPECT_EQ(e.type, row->nErrType);
        EXPECT_NEAR(e.real, row->dRealValue, 1e-9);
        EXPECT_NEAR(e.standard, row->dStdValue, 1e-9);
        EXPECT_TRUE(row->idText.isNull());
        EXPECT_TRUE(row->strText.IsEmpty());
    }
}

TEST_F(CornerCheckClassify, OutsideItsAreaATextInTheCornerIsTakenFromAnyLayer)
{
    // One annotation far off: the drawing has annotation texts, none of them near these corners.
    annotate(L"Q15", AcGePoint3d(5000, 5000, 0));
    struct Case {
        const char* what;
        const wchar_t* text;
        AcGeVector3d offset; // of the text's middle from the corner point
        const wchar_t* layer;
        bool found;
        int type;
    };
    // The corner's triangle: the corner point and the red lines' middles at 37.5 on both.
    const Case cases[] = {
        {"between corner point and cut, other layer", L"Q15", {4, 4, 0}, L"OTHER", true, 0},
        {"between corner point and cut, annotation layer", L"FQ15", {4, 4, 0}, L"BZ", true, 3},
        {"in the area, other layer", L"Q17.5", {12, 12, 0}, L"OTHER", true, 2},
        {"beyond the red lines' middles", L"Q15", {30, 30, 0}, L"OTHER", false, 4},
        {"no annotation text", L"15", {4, 4, 0}, L"OTHER", false, 4},
    };
    std::vector<Corner> corners;
    std::vector<AcDbObjectId> texts;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        corners.push_back(corner(AcGePoint2d(1000.0 * static_cast<double>(i), 0)));
        texts.push_back(annotate(cases[i].text, corners.back().point + cases[i].offset, cases[i].layer));
    }
    const CYQJCheckDlg* checkedDlg = checked();
    ASSERT_NE(nullptr, checkedDlg);
    const CYQJCheckDlg& dlg = *checkedDlg;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].what);
        const SYQJINFO* row = rowOf(dlg.m_allRows, corners[i].cut);
        ASSERT_NE(nullptr, row);
        EXPECT_EQ(cases[i].found ? texts[i] : AcDbObjectId::kNull, row->idText);
        EXPECT_EQ(cases[i].type, row->nErrType);
    }
}

TEST_F(CornerCheckClassify, EachEndTakesTheFirstRedLineThroughItThatDoesNotEndAtTheOtherEnd)
{
    struct Case {
        const char* what;
        bool lineAlongTheCut; // a red line from the cut's start to its end, drawn before the corner
        bool lineOffTheStart; // a red line from the start away from the block, drawn before the corner
        bool afterwards; // those lines drawn after the corner instead
        double real;
        int type;
    };
    const Case cases[] = {
        {"along the cut, first", true, false, false, 15.0, 0},
        {"along the cut, last", true, false, true, 15.0, 0},
        // From (15,0) towards (45,-30): it meets the y red line at the cut's end, which leaves no cut.
        {"off the start, first", false, true, false, 0.0, 2},
        {"off the start, last", false, true, true, 15.0, 0},
    };
    std::vector<AcDbObjectId> cuts;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        const AcGeVector3d at(3000.0 * static_cast<double>(i), 0, 0);
        const AcGePoint3d start = AcGePoint3d(15, 0, 0) + at;
        const AcGePoint3d end = AcGePoint3d(0, 15, 0) + at;
        auto extra = [&] {
            if (c.lineAlongTheCut)
                lineOn(L"RED", start, end);
            if (c.lineOffTheStart)
                lineOn(L"RED", start, start + AcGeVector3d(30, -30, 0));
        };
        if (!c.afterwards)
            extra();
        const Corner drawn = corner(AcGePoint2d(at.x, at.y));
        if (c.afterwards)
            extra();
        annotate(L"Q15", drawn);
        cuts.push_back(drawn.cut);
    }
    const CYQJCheckDlg* checkedDlg = checked();
    ASSERT_NE(nullptr, checkedDlg);
    const CYQJCheckDlg& dlg = *checkedDlg;
    ASSERT_EQ(static_cast<int>(std::size(cases)), dlg.m_allRows.GetSize());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].what);
        const SYQJINFO* row = rowOf(dlg.m_allRows, cuts[i]);
        ASSERT_NE(nullptr, row);
        EXPECT_NEAR(cases[i].real, row->dRealValue, 1e-9);
        EXPECT_EQ(cases[i].type, row->nErrType);
    }
}

TEST_F(CornerCheckClassify, ACutWhoseRedLinesAreNotEstablishedIsIrregular)
{
    const Corner regular = corner(AcGePoint2d(0, 0));
    annotate(L"Q15", regular);
    // Both ends on one red line.
    lineOn(L"RED", AcGePoint3d(1000, 0, 0), AcGePoint3d(1060, 0, 0));
    const AcDbObjectId onOneLine = polylineOn(L"RED", {{1010, 0}, {1020, 0}});
    markCorner(onOneLine, 2);
    // One end touching no red line: the cut meets only the red line of its start.
    const Corner lonely = corner(AcGePoint2d(2000, 0));
    tarn::ent::Erase(lonely.redY);
    // Parallel red lines: no corner point.
    lineOn(L"RED", AcGePoint3d(3015, 0, 0), AcGePoint3d(3060, 0, 0));
    lineOn(L"RED", AcGePoint3d(3000, 15, 0), AcGePoint3d(2955, 15, 0));
    const AcDbObjectId parallel = polylineOn(L"RED", {{3015, 0}, {3000, 15}});
    markCorner(parallel, 2);
    // Annotations beside them change nothing.
    for (const AcDbObjectId cutId : {onOneLine, lonely.cut, parallel}) {
        AcGePoint3d middle;
        ASSERT_TRUE(tarn::ent::GetMidPt(cutId, middle));
        annotate(L"Q15", middle + AcGeVector3d(4, 4, 0));
    }

    const CYQJCheckDlg* checkedDlg = checked();
    ASSERT_NE(nullptr, checkedDlg);
    const CYQJCheckDlg& dlg = *checkedDlg;
    ASSERT_EQ(4, dlg.m_allRows.GetSize());
    const SYQJINFO* regularRow = rowOf(dlg.m_allRows, regular.cut);
    ASSERT_NE(nullptr, regularRow);
    EXPECT_EQ(0, regularRow->nErrType);
    for (const AcDbObjectId cutId : {onOneLine, lonely.cut, parallel}) {
        const SYQJINFO* row = rowOf(dlg.m_allRows, cutId);
        ASSERT_NE(nullptr, row);
        EXPECT_EQ(5, row->nErrType);
        EXPECT_EQ(0.0, row->dRealValue);
        EXPECT_EQ(0.0, row->dStdValue);
        EXPECT_TRUE(row->idText.isNull());
        EXPECT_EQ(1, rowsOf(dlg.m_errRows, cutId));
    }
}

TEST_F(CornerCheckClassify, ASingleRedLineInTheDrawingLeavesEveryCutIrregular)
{
    const Corner first = corner(AcGePoint2d(0, 0));
    const Corner second = corner(AcGePoint2d(1000, 0));
    annotate(L"Q15", first);
    annotate(L"Q15", second);
    for (const AcDbObjectId id : {first.redY, second.redX, second.redY})
        tarn::ent::Erase(id);
    const CYQJCheckDlg* checkedDlg = checked();
    ASSERT_NE(nullptr, checkedDlg);
    const CYQJCheckDlg& dlg = *checkedDlg;
    ASSERT_EQ(2, dlg.m_allRows.GetSize());
    ASSERT_EQ(2, dlg.m_errRows.GetSize());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(5, dlg.m_allRows[i].nErrType);
        EXPECT_TRUE(dlg.m_allRows[i].idText.isNull());
    }
}

TEST_F(CornerCheckClassify, TheStandardComesFromTheDrawingsPlanningStandardElseTheCommonFile)
{
    const Corner at = corner(AcGePoint2d(0, 0));
    annotate(L"Q15", at);
    const std::string local = "[道路等级]\n主干路=40\n次干路=24\n[切角标准]\n主干路-次干路=25\n";
    const std::string common = "[道路等级]\n主干路=40\n次干路=24\n[切角标准]\n次干路-主干路=30\n";
    const std::filesystem::path ownDefault
        = std::filesystem::path("standards") / "国标" / "参数配置" / "道路交叉口参数.ini";
    struct Case {
        const char* what;
        const wchar_t* standard; // the drawing's planning standard, null for none
        bool defaultFile; // the file of the default standard "国标" is there
        double expected;
    };
    const Case cases[] = {
        {"default standard", nullptr, true, 15.0},
        {"the drawing's standard", L"地标", true, 25.0},
        {"default standard without its file", L"国标", false, 30.0},
        {"a standard without its file", L"省标", true, 30.0},
    };
    writeConfigFile(std::filesystem::path("standards") / "地标" / "参数配置" / "道路交叉口参数.ini", local);
    writeConfigFile(std::filesystem::path("config") / "jckdata.ss", common);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.standard != nullptr)
            setStandardName(c.standard);
        if (c.defaultFile)
            writeConfigFile(ownDefault, kCornerStandards);
        else
            std::filesystem::remove(mDataDir / "config" / ownDefault);
        const CYQJCheckDlg* checkedDlg = checked();
        ASSERT_NE(nullptr, checkedDlg);
        const CYQJCheckDlg& dlg = *checkedDlg;
        ASSERT_EQ(1, dlg.m_allRows.GetSize());
        EXPECT_NEAR(c.expected, dlg.m_allRows[0].dStdValue, 1e-9);
        EXPECT_EQ(c.expected == 15.0 ? 0 : 3, dlg.m_allRows[0].nErrType);
    }
    EXPECT_FALSE(contains(transcript(), L"配置文件读取失败!"));
}

class CornerCheckWithoutStandards : public CornerCheckClassify {
protected:
    CornerCheckWithoutStandards() { mWriteStandards = false; }
};

TEST_F(CornerCheckWithoutStandards, EveryRegularCutSaysTheFileCannotBeReadAndHasNoStandard)
{
    const Corner annotated = corner(AcGePoint2d(0, 0));
    annotate(L"Q15", annotated);
    const Corner bare = corner(AcGePoint2d(1000, 0));
    const Corner irregular = corner(AcGePoint2d(2000, 0));
    tarn::ent::Erase(irregular.redY);
    check(L"S\nALL\n\n!answer OK\n!answer OK\n");
    ASSERT_NE(nullptr, g_pYqjCheckDlg);
    const CYQJCheckDlg& dlg = *g_pYqjCheckDlg;
    EXPECT_EQ(2, timesIn(transcript(), L"配置文件读取失败!"));
    EXPECT_EQ(2, timesIn(transcript(), L"Message box: !answer OK"));
    ASSERT_EQ(3, dlg.m_allRows.GetSize());
    struct Expected {
        AcDbObjectId cut;
        int type;
        const wchar_t* rightPrefix;
    };
    // Against no standard a matching number wants the other prefix.
    const Expected expected[] = {{annotated.cut, 3, L"FQ"}, {bare.cut, 4, L""}, {irregular.cut, 5, L""}};
    for (const Expected& e : expected) {
        const SYQJINFO* row = rowOf(dlg.m_allRows, e.cut);
        ASSERT_NE(nullptr, row);
        EXPECT_EQ(e.type, row->nErrType);
        EXPECT_EQ(CString(e.rightPrefix), row->strRightPrefix);
        EXPECT_EQ(0.0, row->dStdValue);
    }
    EXPECT_TRUE(g_pYqjCheckDlg->IsWindowVisible());
}

// Texts the run would not gather (no "Q" in them), classified by handing the lists to the dialog.
TEST_F(CornerCheckClassify, AnAnnotationWithoutQIsAllNumberWithAnEmptyPrefix)
{
    type(L"FDeal_RoadYqjCheck\n^C\n");
    ASSERT_NE(nullptr, g_pYqjCheckDlg);
    CYQJCheckDlg& dlg = *g_pYqjCheckDlg;
    struct Case {
        const wchar_t* text;
        double widthY;
        int type;
        const wchar_t* rightPrefix;
    };
    const Case cases[] = {{L"15", 24, 3, L"Q"}, {L"15", 40, 3, L"FQ"}, {L"17.5", 24, 2, L""}};
    AcDbObjectIdArray cuts;
    dlg.m_textIds.removeAll();
    dlg.m_redLineIds.removeAll();
    dlg.m_roadIds.removeAll();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        CornerShape shape;
        shape.widthY = cases[i].widthY;
        const Corner at = corner(AcGePoint2d(1000.0 * static_cast<double>(i), 0), shape);
        cuts.append(at.cut);
        dlg.m_textIds.append(annotate(cases[i].text, at));
        dlg.m_redLineIds.append(at.redX);
        dlg.m_redLineIds.append(at.redY);
        dlg.m_roadIds.append(at.roadX);
        dlg.m_roadIds.append(at.roadY);
    }
    defineCommand(L"CLASSIFYCUTS", [&] { dlg.StatYqjInfo(cuts); });
    type(L"CLASSIFYCUTS\n");
    ASSERT_EQ(3, dlg.m_allRows.GetSize());
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(arxhost::toUtf8(cases[i].text));
        EXPECT_EQ(cuts[i], dlg.m_allRows[i].idYqj);
        EXPECT_EQ(dlg.m_textIds[i], dlg.m_allRows[i].idText);
        EXPECT_EQ(cases[i].type, dlg.m_allRows[i].nErrType);
        EXPECT_EQ(CString(cases[i].rightPrefix), dlg.m_allRows[i].strRightPrefix);
        EXPECT_NEAR(15.0, dlg.m_allRows[i].dRealValue, 1e-9);
    }
    EXPECT_EQ(3, dlg.m_errRows.GetSize());
}

} // namespace
} // namespace planroad::test
