// The T-junction repair "TCrossDeal" run from the command line: the dead end and the through road after a
// repair from either end of either centreline, the tolerance and its question, undoing the last repair,
// wrong picks, and every way of giving up that must leave the drawing as it was.
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ModuleDrawingFixture.h"
#include "session/DocumentState.h"

#include "DrawingToolkit.h"
#include "ExtendedDataLibrary.h"
#include "RoadBaseLibrary.h"

namespace planroad::test {
namespace {

const std::wstring kDeadEndPrompt = L"选择T形路口的断头中线[容差设置(S)/回退(U)]:";
const std::wstring kThroughPrompt = L"选择T形路口的贯穿中线:";
const std::wstring kNotCentreline = L"该对象不是道路中线,请重新选择!";

std::wstring pointText(const AcGePoint3d& p)
{
    wchar_t buffer[64];
    std::swprintf(buffer, std::size(buffer), L"%.3f,%.3f", p.x, p.y);
    return buffer;
}

// A line as the drawing holds it: its layer and ends, in text so that sets compare and print.
std::wstring lineText(const std::wstring& layer, const AcGePoint3d& a, const AcGePoint3d& b)
{
    return layer + L" " + pointText(a) + L" " + pointText(b);
}

// A through road along y = 0 (width 30: side lines at y = +-10, red lines at y = +-15, from x = 0 to 200)
// and a dead-end road along x = 100 (width 24, its own side and red lines above y = 15).
class TCrossDeal : public ModuleDrawingFixture {
protected:
    void SetUp() override
    {
        ModuleDrawingFixture::SetUp();
        for (const wchar_t* layer : {L"CL", L"BX", L"RX", L"OTHER"})
            addLayer(layer);
        setRole(L"道路中线层", L"CL");
        setRole(L"道路边线层", L"BX");
        setRole(L"道路红线层", L"RX");
    }

    AcDbObjectId lineOn(const wchar_t* layer, const AcGePoint3d& a, const AcGePoint3d& b)
    {
        auto* line = new AcDbLine(a, b);
        line->setLayer(layer);
        return add(line);
    }
    AcDbObjectId centreline(const AcGePoint3d& a, const AcGePoint3d& b, const wchar_t* width)
    {
        const AcDbObjectId id = lineOn(L"CL", a, b);
        ARX_DATA::CFSimpleXData::SetTo(id, L"FAPP_DLZX", L"道路中线");
        ARX_DATA::CFGisXData::SetTo(id, L"FD_WIDTH", width, L"道路宽度");
        return id;
    }
    // The road lines of both roads; the centrelines are the test's to draw.
    void roadLines()
    {
        for (const double y : {10.0, -10.0})
            lineOn(L"BX", AcGePoint3d(0, y, 0), AcGePoint3d(200, y, 0));
        for (const double y : {15.0, -15.0})
            lineOn(L"RX", AcGePoint3d(0, y, 0), AcGePoint3d(200, y, 0));
        for (const double x : {94.0, 106.0})
            lineOn(L"BX", AcGePoint3d(x, 15, 0), AcGePoint3d(x, 100, 0));
        for (const double x : {88.0, 112.0})
            lineOn(L"RX", AcGePoint3d(x, 15, 0), AcGePoint3d(x, 100, 0));
    }
    // The road lines after a repair at x = 100: the through road's broken there, the dead end's as drawn.
    static std::set<std::wstring> brokenRoadLines()
    {
        std::set<std::wstring> lines;
        for (const double y : {10.0, -10.0, 15.0, -15.0}) {
            const wchar_t* layer = std::fabs(y) == 10.0 ? L"BX" : L"RX";
            lines.insert(lineText(layer, AcGePoint3d(0, y, 0), AcGePoint3d(100, y, 0)));
            lines.insert(lineText(layer, AcGePoint3d(100, y, 0), AcGePoint3d(200, y, 0)));
        }
        for (const double x : {94.0, 106.0})
            lines.insert(lineText(L"BX", AcGePoint3d(x, 15, 0), AcGePoint3d(x, 100, 0)));
        for (const double x : {88.0, 112.0})
            lines.insert(lineText(L"RX", AcGePoint3d(x, 15, 0), AcGePoint3d(x, 100, 0)));
        return lines;
    }

    // Every live entity of model space by handle: its layer and ends.
    std::map<std::wstring, std::wstring> snapshot()
    {
        std::map<std::wstring, std::wstring> entities;
        AcDbBlockTableRecord* space = nullptr;
        if (acdbOpenObject(space, db().modelSpaceId(), AcDb::kForRead) != Acad::eOk)
            return entities;
        AcDbBlockTableRecordIterator* it = nullptr;
        space->newIterator(it);
        for (; !it->done(); it->step()) {
            AcDbEntity* entity = nullptr;
            if (it->getEntity(entity, AcDb::kForRead) != Acad::eOk)
                continue;
            ACHAR handle[40];
            entity->objectId().handle().getIntoAsciiBuffer(handle);
            ACHAR* layer = entity->layer();
            std::wstring text = layer;
            acutDelString(layer);
            if (auto* curve = AcDbCurve::cast(entity)) {
                AcGePoint3d a;
                AcGePoint3d b;
                curve->getStartPoint(a);
                curve->getEndPoint(b);
                text = lineText(text, a, b);
            }
            entities[handle] = text;
            entity->close();
        }
        delete it;
        space->close();
        return entities;
    }
    // The lines on the road-line layers (the centrelines left out).
    std::set<std::wstring> roadLinesNow()
    {
        std::set<std::wstring> lines;
        for (const auto& [handle, text] : snapshot())
            if (text.rfind(L"CL ", 0) != 0)
                lines.insert(text);
        return lines;
    }
    // The centrelines: each with its road width, so that a new piece shows it kept the road's data.
    std::multiset<std::wstring> centrelinesNow()
    {
        std::multiset<std::wstring> lines;
        for (const auto& [handle, text] : snapshot()) {
            if (text.rfind(L"CL ", 0) != 0)
                continue;
            AcDbHandle h(handle.c_str());
            AcDbObjectId id;
            db().getAcDbObjectId(id, false, h);
            CString width;
            ARX_DATA::CFGisXData::GetFrom(id, L"FD_WIDTH", width);
            lines.insert(text + L" w" + width.GetString() + (CRoadXdata::IsRoadByXdata(id) ? L" road" : L""));
        }
        return lines;
    }
    static std::wstring centrelineText(const AcGePoint3d& a, const AcGePoint3d& b, const wchar_t* width)
    {
        return lineText(L"CL", a, b) + L" w" + width + L" road";
    }
    std::wstring lineNow(AcDbObjectId id)
    {
        AcGePoint3d a;
        AcGePoint3d b;
        tarn::ent::GetStartEndPt(id, a, b);
        return lineText(tarn::ent::GetEntLayerName(id).GetString(), a, b);
    }

    void run(const std::wstring& answers) { type(L"TCrossDeal\n" + answers); }
    std::wstring lastRun() const { return transcriptFromLast(L"Command: TCrossDeal"); }
    std::size_t highlightedCount() { return session().highlighted().size(); }
};

// A pick point a share of the way along a line.
AcGePoint3d along(const AcGePoint3d& a, const AcGePoint3d& b, double share)
{
    return a + (b - a) * share;
}

struct RepairCase {
    const char* name;
    AcGePoint3d deadStart;
    AcGePoint3d deadEnd;
    AcGePoint3d throughStart;
    AcGePoint3d throughEnd;
    const wchar_t* before; // answers ahead of the dead-end pick
    AcGePoint3d deadStartAfter;
    AcGePoint3d deadEndAfter;
    std::vector<std::pair<AcGePoint3d, AcGePoint3d>> throughAfter; // the kept piece first
};

TEST_F(TCrossDeal, RepairsTheJunctionFromEitherEndOfEitherCentreline)
{
    const AcGePoint3d o(100, 0, 0);
    const std::vector<RepairCase> cases {
        {"dead end short of the through road", {100, 100, 0}, {100, 12, 0}, {0, 0, 0}, {200, 0, 0}, L"",
            {100, 100, 0}, o, {{{0, 0, 0}, o}, {o, {200, 0, 0}}}},
        {"dead end drawn from the junction", {100, 12, 0}, {100, 100, 0}, {0, 0, 0}, {200, 0, 0}, L"", o,
            {100, 100, 0}, {{{0, 0, 0}, o}, {o, {200, 0, 0}}}},
        {"dead end beyond the through road", {100, 100, 0}, {100, -4, 0}, {0, 0, 0}, {200, 0, 0}, L"",
            {100, 100, 0}, o, {{{0, 0, 0}, o}, {o, {200, 0, 0}}}},
        {"through road drawn right to left", {100, 100, 0}, {100, 12, 0}, {200, 0, 0}, {0, 0, 0}, L"",
            {100, 100, 0}, o, {{{200, 0, 0}, o}, {o, {0, 0, 0}}}},
        {"through road ends 3 past the junction", {100, 100, 0}, {100, 12, 0}, {0, 0, 0}, {103, 0, 0}, L"",
            {100, 100, 0}, o, {{{0, 0, 0}, o}}},
        {"through road starts 3 before the junction", {100, 100, 0}, {100, 12, 0}, {97, 0, 0}, {200, 0, 0},
            L"", {100, 100, 0}, o, {{o, {200, 0, 0}}}},
        {"both through ends within the tolerance", {100, 100, 0}, {100, 12, 0}, {97, 0, 0}, {104, 0, 0}, L"",
            {100, 100, 0}, o, {{{97, 0, 0}, {104, 0, 0}}}},
        {"tolerance 2: the 3 past the junction is broken off, not trimmed", {100, 100, 0}, {100, 12, 0},
            {0, 0, 0}, {103, 0, 0}, L"S\n2\n", {100, 100, 0}, o, {{{0, 0, 0}, o}, {o, {103, 0, 0}}}},
        {"tolerance 0: no end is within it", {100, 100, 0}, {100, 12, 0}, {0, 0, 0}, {103, 0, 0}, L"S\n0\n",
            {100, 100, 0}, o, {{{0, 0, 0}, o}, {o, {103, 0, 0}}}},
        {"dead end crossing with equal ends: its end is moved", {100, 20, 0}, {100, -20, 0}, {0, 0, 0},
            {200, 0, 0}, L"", {100, 20, 0}, o, {{{0, 0, 0}, o}, {o, {200, 0, 0}}}},
    };
    for (const RepairCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        roadLines();
        const AcDbObjectId dead = centreline(c.deadStart, c.deadEnd, L"24");
        const AcDbObjectId through = centreline(c.throughStart, c.throughEnd, L"30");
        const std::map<std::wstring, std::wstring> before = snapshot();

        run(std::wstring(c.before) + pointText(along(c.deadStart, c.deadEnd, 0.3)) + L"\n"
            + pointText(along(c.throughStart, c.throughEnd, 0.8)) + L"\n");

        EXPECT_EQ(lineText(L"CL", c.deadStartAfter, c.deadEndAfter), lineNow(dead));
        EXPECT_EQ(
            lineText(L"CL", c.throughAfter.front().first, c.throughAfter.front().second), lineNow(through));
        std::multiset<std::wstring> centrelines {centrelineText(c.deadStartAfter, c.deadEndAfter, L"24")};
        for (const auto& [a, b] : c.throughAfter)
            centrelines.insert(centrelineText(a, b, L"30"));
        EXPECT_EQ(centrelines, centrelinesNow());
        EXPECT_EQ(brokenRoadLines(), roadLinesNow());
        // New entities are the pieces broken off: four road lines and the through road's far piece.
        EXPECT_EQ(before.size() + 4 + c.throughAfter.size() - 1, snapshot().size());
        EXPECT_EQ(0u, highlightedCount());
        EXPECT_FALSE(contains(lastRun(), kNotCentreline));
    }
}

TEST_F(TCrossDeal, ADeadEndWhoseLengthenedCopyFallsShortChangesNothing)
{
    roadLines();
    // Lengthened by 30 the dead end reaches y = 20, short of the through centreline.
    centreline(AcGePoint3d(100, 100, 0), AcGePoint3d(100, 50, 0), L"24");
    centreline(AcGePoint3d(0, 0, 0), AcGePoint3d(200, 0, 0), L"30");
    const std::map<std::wstring, std::wstring> before = snapshot();
    run(L"100,80\n150,0\n");
    EXPECT_EQ(before, snapshot());
    EXPECT_EQ(0u, highlightedCount());
    const std::wstring out = lastRun();
    EXPECT_TRUE(contains(out, kThroughPrompt));
    EXPECT_EQ(1, timesIn(out, kDeadEndPrompt));
    EXPECT_FALSE(contains(out, kNotCentreline));
}

TEST_F(TCrossDeal, ToleranceIsAskedWithItsValueAndHoldsForOneRunOnly)
{
    roadLines();
    centreline(AcGePoint3d(100, 100, 0), AcGePoint3d(100, 12, 0), L"24");
    centreline(AcGePoint3d(0, 0, 0), AcGePoint3d(200, 0, 0), L"30");
    const std::map<std::wstring, std::wstring> before = snapshot();

    // Enter keeps 5.00; a value is shown the next time it is asked in the same run.
    run(L"S\n\nS\n2.5\nS\n\n^C\n");
    std::wstring out = lastRun();
    EXPECT_EQ(3, timesIn(out, L"输入容差<5.00>:") + timesIn(out, L"输入容差<2.50>:"));
    EXPECT_EQ(2, timesIn(out, L"输入容差<5.00>:"));
    EXPECT_EQ(1, timesIn(out, L"输入容差<2.50>:"));
    EXPECT_LT(out.rfind(L"<5.00>"), out.find(L"<2.50>"));
    EXPECT_EQ(4, timesIn(out, kDeadEndPrompt));

    // The next run starts from 5.00 again.
    run(L"S\n\n^C\n");
    out = lastRun();
    EXPECT_EQ(1, timesIn(out, L"输入容差<5.00>:"));
    EXPECT_FALSE(contains(out, L"<2.50>"));
    EXPECT_EQ(before, snapshot());
}

TEST_F(TCrossDeal, UndoTakesTheLastRepairBackExactly)
{
    roadLines();
    centreline(AcGePoint3d(100, 100, 0), AcGePoint3d(100, 12, 0), L"24");
    centreline(AcGePoint3d(0, 0, 0), AcGePoint3d(200, 0, 0), L"30");
    const std::map<std::wstring, std::wstring> before = snapshot();
    run(L"100,60\n150,0\n");
    const std::map<std::wstring, std::wstring> repaired = snapshot();
    ASSERT_NE(before, repaired);

    run(L"U\n");
    EXPECT_EQ(before, snapshot());
    EXPECT_EQ(2, timesIn(lastRun(), L"UNDO"));
    EXPECT_FALSE(contains(lastRun(), kThroughPrompt));

    // The drawing is the one drawn: the repair can be made again and gives the same result.
    run(L"100,60\n150,0\n");
    const std::map<std::wstring, std::wstring> again = snapshot();
    std::multiset<std::wstring> shapesRepaired;
    std::multiset<std::wstring> shapesAgain;
    for (const auto& [handle, text] : repaired)
        shapesRepaired.insert(text);
    for (const auto& [handle, text] : again)
        shapesAgain.insert(text);
    EXPECT_EQ(shapesRepaired, shapesAgain);
}

TEST_F(TCrossDeal, PickingSomethingElseThanACentrelineAsksAgain)
{
    roadLines();
    const AcDbObjectId dead = centreline(AcGePoint3d(100, 100, 0), AcGePoint3d(100, 12, 0), L"24");
    centreline(AcGePoint3d(0, 0, 0), AcGePoint3d(200, 0, 0), L"30");
    // A centreline look-alike without the road data.
    lineOn(L"CL", AcGePoint3d(300, 0, 0), AcGePoint3d(300, 100, 0));

    // A red line and the look-alike for the dead end, a side line for the through road.
    run(L"88,50\n300,50\n100,60\n150,10\n150,0\n");
    const std::wstring out = lastRun();
    EXPECT_EQ(3, timesIn(out, kNotCentreline));
    EXPECT_EQ(3, timesIn(out, kDeadEndPrompt));
    EXPECT_EQ(2, timesIn(out, kThroughPrompt));
    EXPECT_EQ(lineText(L"CL", AcGePoint3d(100, 100, 0), AcGePoint3d(100, 0, 0)), lineNow(dead));
    EXPECT_EQ(brokenRoadLines(), roadLinesNow());
}

TEST_F(TCrossDeal, GivingUpAtAnyQuestionLeavesTheDrawingAsItWas)
{
    roadLines();
    centreline(AcGePoint3d(100, 100, 0), AcGePoint3d(100, 12, 0), L"24");
    centreline(AcGePoint3d(0, 0, 0), AcGePoint3d(200, 0, 0), L"30");
    const std::map<std::wstring, std::wstring> before = snapshot();
    const struct {
        const char* name;
        const wchar_t* answers;
    } cases[] = {
        {"Esc at the dead end", L"^C\n"},
        {"Enter at the dead end", L"\n"},
        {"Esc at the tolerance", L"S\n^C\n"},
        {"Esc at the through road", L"100,60\n^C\n"},
        {"Enter at the through road", L"100,60\n\n"},
        {"Esc at the through road after a wrong pick", L"100,60\n150,10\n^C\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        run(c.answers);
        EXPECT_EQ(before, snapshot());
        EXPECT_EQ(0u, highlightedCount());
    }
}

TEST_F(TCrossDeal, AJunctionOutsideTheViewIsRepairedAndTheViewComesBack)
{
    roadLines();
    const AcDbObjectId dead = centreline(AcGePoint3d(100, 100, 0), AcGePoint3d(100, 12, 0), L"24");
    centreline(AcGePoint3d(0, 0, 0), AcGePoint3d(200, 0, 0), L"30");
    type(L"ZOOM\nW\n90,40\n110,60\n");
    const AcGePoint3d centre = session().document().view().center();
    const double height = session().document().view().height();

    run(L"100,50\n150,0\n");
    EXPECT_TRUE(contains(lastRun(), L"ZOOM"));
    EXPECT_EQ(lineText(L"CL", AcGePoint3d(100, 100, 0), AcGePoint3d(100, 0, 0)), lineNow(dead));
    EXPECT_EQ(brokenRoadLines(), roadLinesNow());
    EXPECT_TRUE(centre.isEqualTo(session().document().view().center()));
    EXPECT_DOUBLE_EQ(height, session().document().view().height());
}

} // namespace
} // namespace planroad::test
