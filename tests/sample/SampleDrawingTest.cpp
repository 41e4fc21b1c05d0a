// Generated road drawings: the same seed gives the same file, every outcome of the corner-cut check is
// represented, and each corner is drawn so that the road libraries find what its expected row says.
#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "CustomParameterStore.h"
#include "DrawingToolkit.h"
#include "ExtendedDataLibrary.h"
#include "HostFixture.h"
#include "IntersectionStandards.h"
#include "PipeBaseLibrary.h"
#include "RoadBaseLibrary.h"
#include "SampleDrawing.h"
#include "dxf/drawing/DrawingReader.h"
#include "dxf/drawing/DrawingWriter.h"
#include "text/Utf8.h"

namespace planroad::test {
namespace {

using namespace planroad::sample;

// The standards of the default configuration, so that the test needs no files.
double standardOf(double w1, double w2)
{
    auto grade = [](double w) { return w >= 40 ? 0 : w >= 24 ? 1 : w >= 12 ? 2 : 3; };
    static const std::map<std::pair<int, int>, double> table {
        {{0, 0}, 20}, {{0, 1}, 15}, {{0, 2}, 10}, {{1, 1}, 15}, {{1, 2}, 10}, {{2, 2}, 5}, {{3, 3}, 5}};
    const auto key = std::minmax(grade(w1), grade(w2));
    const auto found = table.find({key.first, key.second});
    return found == table.end() ? 0.0 : found->second;
}

std::string dxfOf(const PlanOptions& options)
{
    SampleDrawing drawing = buildSampleDrawing(makePlan(options, standardOf));
    return dxf::writeDrawing(*drawing.database);
}

TEST(SamplePlan, SizeFollowsTheNumberOfIntersections)
{
    struct Case {
        int intersections;
        std::size_t roads;
        std::size_t corners;
    };
    for (const Case c : {Case {1, 2, 4}, Case {4, 4, 16}, Case {6, 5, 24}, Case {10000, 200, 40000}}) {
        PlanOptions options;
        options.intersections = c.intersections;
        const Plan plan = makePlan(options, standardOf);
        EXPECT_EQ(c.roads, plan.roads.size()) << c.intersections;
        EXPECT_EQ(c.corners, plan.corners.size()) << c.intersections;
        EXPECT_EQ(c.corners, plan.curbCorners.size()) << c.intersections;
        EXPECT_FALSE(plan.plannedPoints.empty());
        EXPECT_FALSE(plan.existingPoints.empty());
    }
}

TEST(SamplePlan, EveryOutcomeAppearsAndTheShareOfFaultsHolds)
{
    PlanOptions options;
    options.intersections = 400;
    const Plan plan = makePlan(options, standardOf);
    std::map<Outcome, int> count;
    for (const RedCorner& c : plan.corners)
        ++count[c.outcome];
    for (int outcome = 0; outcome < kOutcomeCount; ++outcome)
        EXPECT_GT(count[static_cast<Outcome>(outcome)], 0) << "outcome " << outcome;
    const double faults
        = 1.0 - static_cast<double>(count[Outcome::Correct]) / static_cast<double>(plan.corners.size());
    EXPECT_NEAR(options.faultShare, faults, 0.05);

    options.faultShare = 0;
    for (const RedCorner& c : makePlan(options, standardOf).corners)
        ASSERT_EQ(Outcome::Correct, c.outcome);
}

TEST(SamplePlan, AnnotationsFollowTheirOutcome)
{
    PlanOptions options;
    options.intersections = 100;
    options.faultShare = 0.8;
    for (const RedCorner& c : makePlan(options, standardOf).corners) {
        const bool multiple = std::fabs(std::fmod(c.value, 2.5)) < 1e-9;
        switch (c.outcome) {
        case Outcome::Correct:
            EXPECT_EQ(annotationText(c.value == c.standard ? L"Q" : L"FQ", c.value), c.annotation);
            break;
        case Outcome::WrongPrefix:
            EXPECT_EQ(annotationText(c.value == c.standard ? L"FQ" : L"Q", c.value), c.annotation);
            break;
        case Outcome::NoAnnotation:
            EXPECT_TRUE(c.annotation.empty());
            break;
        case Outcome::ValueNotMultiple:
        case Outcome::ValueNotMultipleAsRecorded:
            EXPECT_FALSE(multiple) << c.value;
            break;
        case Outcome::WrongNumber:
        case Outcome::WrongNumberAsRecorded:
            EXPECT_TRUE(multiple) << c.value;
            EXPECT_NE(annotationText(L"Q", c.value), c.annotation);
            EXPECT_NE(annotationText(L"FQ", c.value), c.annotation);
            break;
        case Outcome::Irregular:
            break;
        }
        const bool asRecorded
            = c.outcome == Outcome::WrongNumberAsRecorded || c.outcome == Outcome::ValueNotMultipleAsRecorded;
        if (asRecorded) {
            ASSERT_TRUE(c.recordedValue.has_value());
            // The recorded value is the annotated number, not the corner's.
            EXPECT_NE(std::wstring::npos,
                c.annotation.find(c.recordedValue->substr(0, c.recordedValue->size() - 1)));
        }
    }
}

TEST(SampleDrawingFile, TheSameSeedGivesTheSameFile)
{
    PlanOptions options;
    options.intersections = 9;
    options.seed = 7;
    const std::string first = dxfOf(options);
    EXPECT_EQ(first, dxfOf(options));
    options.seed = 8;
    EXPECT_NE(first, dxfOf(options));
}

TEST(SampleDrawingFile, ExpectedResultsListEveryCorner)
{
    PlanOptions options;
    options.intersections = 4;
    const SampleDrawing drawing = buildSampleDrawing(makePlan(options, standardOf));
    std::ostringstream csv;
    writeExpectedCorners(drawing.corners, csv);
    std::istringstream lines(csv.str());
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ("handle,outcome,kind,value,standard,annotation,recorded,inside_range", line);
    std::set<std::string> handles;
    int rows = 0;
    while (std::getline(lines, line)) {
        ++rows;
        handles.insert(line.substr(0, line.find(',')));
    }
    EXPECT_EQ(16, rows);
    EXPECT_EQ(16u, handles.size());
}

// The drawing as the check will meet it: saved, read back and opened in a session.
class SampleDrawingInSession : public HostFixture {
protected:
    void SetUp() override
    {
        HostFixture::SetUp();
        PlanOptions options;
        options.intersections = 9;
        options.seed = 3;
        options.faultShare = 0.6;
        mPlan = makePlan(options, standardOf);
        SampleDrawing drawing = buildSampleDrawing(mPlan);
        mExpected = drawing.corners;
        const std::string text = dxf::writeDrawing(*drawing.database);
        drawing.database.reset();
        session().openDrawing(dxf::readDrawing(text), L"sample.dxf");
    }
    AcDbObjectId idOf(const std::wstring& handle)
    {
        AcDbObjectId id;
        db().getAcDbObjectId(id, false, AcDbHandle(handle.c_str()));
        return id;
    }

    Plan mPlan;
    std::vector<ExpectedCorner> mExpected;
};

TEST_F(SampleDrawingInSession, RoadsCarryTheirWidthsAndLayersAreConfigured)
{
    EXPECT_EQ(CString(names::kCentreLayer), RoadGreenLineOpr::GetZXLayer());
    EXPECT_EQ(CString(names::kRedLayer), RoadGreenLineOpr::GetRXLayer());
    EXPECT_EQ(CString(names::kSideLayer), RoadGreenLineOpr::GetBXLayer());
    LAYERPARAM annotation;
    ASSERT_EQ(1, TarnDB::qvGetLayerParam(L"FL_BZ_DLQXYS", annotation));
    EXPECT_EQ(CString(names::kAnnotationLayer), annotation.strName);

    tarn::CFArxSelSet centrelines;
    resbuf* filter = acutBuildList(8, names::kCentreLayer, RTNONE);
    ASSERT_EQ(0, centrelines.allSelect(filter));
    acutRelRb(filter);
    AcDbObjectIdArray ids;
    centrelines.asArray(ids);
    ASSERT_FALSE(ids.isEmpty());
    std::multiset<double> widths;
    for (const AcDbObjectId id : ids) {
        ASSERT_TRUE(CRoadXdata::IsRoadByXdata(id));
        widths.insert(GetRoadWidth(id));
    }
    for (const Road& road : mPlan.roads)
        EXPECT_EQ(1u, widths.count(road.width) > 0 ? 1u : 0u) << "no centreline of width " << road.width;
}

TEST_F(SampleDrawingInSession, EachCornerMeetsItsRedLinesAndCarriesItsValue)
{
    AcDbObjectIdArray redLines;
    GetRxdIdsFromSym_PLAN_TEST(redLines);
    AcDbObjectIdArray cornerIds;
    for (const ExpectedCorner& expected : mExpected)
        cornerIds.append(idOf(expected.handle));
    tarn::ent::FRemoveRepeatId(redLines, cornerIds);
    ASSERT_FALSE(redLines.isEmpty());

    for (const ExpectedCorner& expected : mExpected) {
        SCOPED_TRACE(arxhost::toUtf8(expected.handle) + " outcome "
            + std::to_string(static_cast<int>(expected.outcome)) + " "
            + arxhost::toUtf8(expected.annotation));
        const AcDbObjectId corner = idOf(expected.handle);
        int type = 0;
        ASSERT_TRUE(qvIsYqjByXdata_PLAN_TEST(corner, type));
        EXPECT_EQ(expected.rounded ? 1 : 2, type);

        AcGePoint3d s, e;
        ASSERT_EQ(1, tarn::ent::GetStartEndPt(corner, s, e));
        AcDbObjectId redS, redE;
        for (const AcDbObjectId red : redLines) {
            if (redS.isNull() && tarn_isPtOnLine(red, s))
                redS = red;
            if (redE.isNull() && tarn_isPtOnLine(red, e))
                redE = red;
        }
        if (expected.outcome == Outcome::Irregular) {
            EXPECT_TRUE(redS.isNull() && redE.isNull());
            continue;
        }
        ASSERT_FALSE(redS.isNull());
        ASSERT_FALSE(redE.isNull());
        EXPECT_NE(redS, redE);
        double a = 0, b = 0;
        ASSERT_TRUE(GetYqjViewByGeo(corner, redS, redE, a, b));
        EXPECT_NEAR(expected.value, a, 1e-6);

        CString recorded;
        if (expected.recordedValue.empty()) {
            EXPECT_EQ(0, ARX_DATA::CFGisXData::GetFrom(corner, L"FD_VIEW", recorded));
        } else {
            ASSERT_EQ(1, ARX_DATA::CFGisXData::GetFrom(corner, L"FD_VIEW", recorded));
            EXPECT_EQ(CString(expected.recordedValue.c_str()), recorded);
        }

        // The annotation lies in the corner's search area: the cut and the middles of its red lines.
        if (expected.annotation.empty())
            continue;
        AcGePoint3d midS, midE;
        ASSERT_EQ(1, tarn::ent::GetMidPt(redS, midS));
        ASSERT_EQ(1, tarn::ent::GetMidPt(redE, midE));
        AcGePoint3dArray area;
        area.append(s);
        area.append(e);
        area.append(midE);
        area.append(midS);
        tarn::CFArxSelSet texts;
        resbuf* filter = acutBuildList(RTDXF0, L"TEXT", 8, names::kAnnotationLayer, RTNONE);
        ASSERT_EQ(0, texts.allSelect(filter));
        acutRelRb(filter);
        AcDbObjectIdArray textIds;
        texts.asArray(textIds);
        int inside = 0;
        for (const AcDbObjectId text : textIds) {
            AcGePoint3d mid;
            if (tarn::ent::GetMidPt(text, mid) && tarn::geo::IsPtInArea(mid, area)) {
                ++inside;
                EXPECT_EQ(CString(expected.annotation.c_str()), GetTextValue(text));
            }
        }
        EXPECT_EQ(1, inside);
    }
}

} // namespace
} // namespace planroad::test
