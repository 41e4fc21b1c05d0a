// The road model: which entities are roads and corner curves, their widths and data, the road layers.
#include "RoadFixture.h"

namespace planroad::test {
namespace {

class RoadData : public RoadFixture { };

TEST_F(RoadData, WidthComesFromTheFirstSourceThatStatesOne)
{
    struct Case {
        const wchar_t* width; // FD_WIDTH, empty for none
        const wchar_t* section; // FS_DLDM, empty for none
        double expected;
    };
    const Case cases[] = {
        {L"32", L"5+14+5", 32.0}, // the width field wins
        {L"", L"5+14+5", 24.0}, // plain cross-section
        {L"", L"4.5 + 15 + 4.5", 24.0}, // plain, with blanks and decimals
        {L"", L"rx5cx7fg2cx7rx5", 26.0}, // coded cross-section
        {L"", L"rx3.5fjd2.5cx14fjd2.5rx3.5", 26.0},
        {L"0", L"rx5cx14rx5", 24.0}, // a zero width field is no width
        {L"-8", L"5+14+5", 24.0}, // nor a negative one
        {L"宽", L"5+14+5", 24.0}, // nor one that is not a number
        {L"40", L"", 40.0}, {L"", L"", 0.0}, // nothing stated
        {L"", L"rxcx", 0.0}, // codes without widths
    };
    for (const Case& c : cases) {
        AcDbObjectId road = addLine(0, 0, 100, 0);
        makeCentreline(road, c.width, c.section);
        EXPECT_DOUBLE_EQ(c.expected, CRoadXdata::GetRoadWidth(road)) << c.width << " / " << c.section;
        EXPECT_DOUBLE_EQ(c.expected, GetRoadWidth(road));
    }
    EXPECT_DOUBLE_EQ(0.0, GetRoadWidth(AcDbObjectId()));
}

TEST_F(RoadData, EveryCurveClassCanBeACentrelineButNothingElse)
{
    struct Case {
        const char* what;
        AcDbObjectId id;
        bool road;
    };
    const Case cases[] = {
        {"line", addLine(0, 0, 10, 0), true},
        {"arc", addArc(0, 0, 10, 0, 90), true},
        {"lightweight polyline", addPolyline({{0, 0}, {10, 0, 0.5}, {20, 10}}), true},
        {"old-style polyline", add2dPolyline({{0, 0}, {10, 0}, {10, 10}}), true},
        {"circle", add(new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 5)), false},
        {"text", add(new AcDbText(AcGePoint3d(0, 0, 0), L"道路中线")), false},
        {"point", add(new AcDbPoint(AcGePoint3d(0, 0, 0))), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(0, CRoadXdata::IsRoadByXdata(c.id)) << c.what << " without road data";
        makeCentreline(c.id);
        EXPECT_EQ(c.road, CRoadXdata::IsRoadByXdata(c.id) != 0) << c.what;
    }
    // Side-line data does not make a centreline.
    AcDbObjectId side = addLine(0, 5, 10, 5);
    ASSERT_EQ(1, ARX_DATA::CFSimpleXData::SetTo(side, L"FAPP_DLBX", L"车行道线"));
    EXPECT_EQ(0, CRoadXdata::IsRoadByXdata(side));
    EXPECT_EQ(0, CRoadXdata::IsRoadByXdata(AcDbObjectId()));
    EXPECT_EQ(CString(L"FAPP_DLZX"), GetRoadZxFilterAppName());
}

TEST_F(RoadData, RoadRecordsTellCentrelinesSideLinesOthersAndDeadIdsApart)
{
    AcDbObjectId centre = addLine(0, 0, 100, 0);
    makeCentreline(centre, L"", L"rx5cx14rx5");
    ASSERT_EQ(1, ARX_DATA::CFGisXData::SetTo(centre, L"FS_DLMC", L"建设路", L"道路名称"));
    ASSERT_EQ(1, ARX_DATA::CFGisXData::SetTo(centre, L"FS_DLBK", L"1", L"道路板块"));
    AcDbObjectId side = addLine(0, 12, 100, 12);
    ASSERT_EQ(1, ARX_DATA::CFSimpleXData::SetTo(side, L"FAPP_DLBX", L"道路红线"));
    AcDbObjectId plain = addLine(0, 50, 100, 50);
    AcDbObjectId gone = addLine(0, 60, 100, 60);
    {
        AcDbObjectPointer<AcDbEntity> entity(gone, AcDb::kForWrite);
        entity->erase();
    }

    ROADPARAM param;
    ASSERT_EQ(1, tarn_dl_Get_Xdata(centre, param));
    EXPECT_EQ(CString(L"FAPP_DLZX"), param.strAppName);
    EXPECT_EQ(CString(L"道路中线"), param.strRole);
    EXPECT_DOUBLE_EQ(24.0, param.dWidth);
    EXPECT_EQ(CString(L"rx5cx14rx5"), param.strSection);
    EXPECT_EQ(CString(L"建设路"), param.strName);
    EXPECT_EQ(CString(L"1"), param.strPanels);

    ROADPARAM sideParam;
    sideParam.strName = L"未改";
    ASSERT_EQ(1, tarn_dl_Get_Xdata(side, sideParam));
    EXPECT_EQ(CString(L"FAPP_DLBX"), sideParam.strAppName);
    EXPECT_EQ(CString(L"道路红线"), sideParam.strRole);
    EXPECT_EQ(CString(L"未改"), sideParam.strName);

    ROADPARAM untouched;
    EXPECT_EQ(0, tarn_dl_Get_Xdata(plain, untouched));
    EXPECT_TRUE(untouched.strAppName.IsEmpty());
    EXPECT_EQ(-1, tarn_dl_Get_Xdata(gone, untouched));
    EXPECT_EQ(-1, tarn_dl_Get_Xdata(AcDbObjectId(), untouched));
}

TEST_F(RoadData, CornerCurvesReportTheirTypeUnderEitherApplication)
{
    auto mark = [&](AcDbObjectId id, const wchar_t* app, bool withType, short type) {
        ASSERT_EQ(RTNORM, acdbRegApp(app));
        resbuf* data = withType ? acutBuildList(1001, app, 1070, type, RTNONE)
                                : acutBuildList(1001, app, 1000, L"切角", RTNONE);
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
        ASSERT_EQ(Acad::eOk, entity->setXData(data));
        acutRelRb(data);
    };
    struct Case {
        const wchar_t* app;
        bool withType;
        short type;
        int expectedType;
    };
    const Case cases[] = {
        {L"FAPP_DLYQJ", true, 2, 2}, {L"FAPP_DLYQJ", true, 1, 1}, {L"DLYQJ_XDATA", true, 2, 2},
        {L"DLYQJ_XDATA", false, 0, 0}, // no leading integer: a corner curve of unknown kind
    };
    for (const Case& c : cases) {
        AcDbObjectId id = addLine(0, 0, 3, 3);
        mark(id, c.app, c.withType, c.type);
        int type = -7;
        EXPECT_NE(0, qvIsYqjByXdata_PLAN_TEST(id, type)) << c.app;
        EXPECT_EQ(c.expectedType, type) << c.app;
    }
    AcDbObjectId road = addLine(0, 0, 10, 0);
    makeCentreline(road);
    int type = -7;
    EXPECT_EQ(0, qvIsYqjByXdata_PLAN_TEST(road, type));
    EXPECT_EQ(-7, type);
    EXPECT_EQ(0, qvIsYqjByXdata_PLAN_TEST(AcDbObjectId(), type));
}

TEST_F(RoadData, RoadLayersComeFromTheLayerParametersAndAreEmptyWhenMissing)
{
    EXPECT_TRUE(RoadGreenLineOpr::GetZXLayer().IsEmpty());
    EXPECT_TRUE(RoadGreenLineOpr::GetRXLayer().IsEmpty());
    EXPECT_TRUE(RoadGreenLineOpr::GetBXLayer().IsEmpty());
    setLayerParameter(L"道路中线层", L"DL-道路中线");
    setLayerParameter(L"道路红线层", L"DL-道路红线");
    setLayerParameter(L"道路边线层", L"DL-道路边线");
    EXPECT_EQ(CString(L"DL-道路中线"), RoadGreenLineOpr::GetZXLayer());
    EXPECT_EQ(CString(L"DL-道路红线"), RoadGreenLineOpr::GetRXLayer());
    EXPECT_EQ(CString(L"DL-道路边线"), RoadGreenLineOpr::GetBXLayer());
}

TEST_F(RoadData, RedLinesAreTheCurvesOnTheRedLineLayerInDrawingOrder)
{
    AcDbObjectIdArray ids;
    ids.append(addLine(0, 0, 1, 1));
    EXPECT_EQ(0, GetRxdIdsFromSym_PLAN_TEST(ids)); // layer not configured
    EXPECT_TRUE(ids.isEmpty());

    // A layer name with wildcard characters must still be matched literally.
    const wchar_t* red = L"DL-红线#1";
    addLayer(red);
    addLayer(L"DL-红线21");
    setLayerParameter(L"道路红线层", red);
    std::vector<AcDbObjectId> expected;
    AcDbObjectId curves[] = {addPolyline({{0, 0}, {50, 0}}), addLine(0, 10, 50, 10), addArc(0, 0, 20, 0, 45),
        add2dPolyline({{0, 30}, {50, 30}})};
    for (AcDbObjectId id : curves) {
        putOnLayer(id, red);
        expected.push_back(id);
    }
    AcDbObjectId text = add(new AcDbText(AcGePoint3d(0, 0, 0), L"红线"));
    putOnLayer(text, red);
    AcDbObjectId circle = add(new AcDbCircle(AcGePoint3d(0, 0, 0), AcGeVector3d::kZAxis, 5));
    putOnLayer(circle, red);
    AcDbObjectId elsewhere = addLine(0, 0, 5, 5);
    putOnLayer(elsewhere, L"DL-红线21");

    ASSERT_NE(0, GetRxdIdsFromSym_PLAN_TEST(ids));
    EXPECT_EQ(expected, std::vector<AcDbObjectId>(ids.begin(), ids.end()));
}

} // namespace
} // namespace planroad::test
