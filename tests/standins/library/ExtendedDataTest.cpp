// The extended data library: named fields and single texts beside other applications' data.
#include <cmath>

#include "CustomParameterStore.h"
#include "DrawingSettings.h"
#include "ExtendedDataLibrary.h"
#include "HostFixture.h"
#include "LibraryTestSupport.h"
#include "dbobjptr.h"

namespace planroad::test {
namespace {

using ARX_DATA::CFGisXData;
using ARX_DATA::CFSimpleXData;

class ExtendedData : public HostFixture {
protected:
    // A line that already carries data of another application: a real and a short.
    AcDbObjectId lineWithForeignData()
    {
        const AcDbObjectId id = addLine(0, 0, 10, 0);
        acdbRegApp(L"OTHER_APP");
        resbuf* data = acutBuildList(1001, L"OTHER_APP", 1040, 2.5, 1070, 7, 0);
        AcDbObjectPointer<AcDbEntity> line(id, AcDb::kForWrite);
        EXPECT_EQ(Acad::eOk, line->setXData(data));
        acutRelRb(data);
        return id;
    }

    static std::vector<short> codesOf(AcDbObjectId id, const wchar_t* app)
    {
        std::vector<short> codes;
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        resbuf* data = entity->xData(app);
        for (const resbuf* rb = data; rb != nullptr; rb = rb->rbnext)
            codes.push_back(rb->restype);
        acutRelRb(data);
        return codes;
    }
};

TEST_F(ExtendedData, AFieldIsAddedBesideOtherApplicationsAndReplacedByTheNextWrite)
{
    const AcDbObjectId id = lineWithForeignData();
    ASSERT_EQ(1, CFGisXData::SetTo(id, L"FD_VIEW", L"5.0", L"切距边长"));
    ASSERT_EQ(1, CFGisXData::SetTo(id, L"FD_VIEW", L"7.5", L"切距边长"));

    CString value;
    CString label;
    ASSERT_EQ(1, CFGisXData::GetFrom(id, L"FD_VIEW", value, label));
    EXPECT_EQ(CString(L"7.5"), value);
    EXPECT_EQ(CString(L"切距边长"), label);
    EXPECT_EQ((std::vector<short> {1001, 1000, 1000}), codesOf(id, L"FD_VIEW"));
    EXPECT_EQ((std::vector<short> {1001, 1040, 1070}), codesOf(id, L"OTHER_APP"));

    // A single text replaces the field's two texts.
    ASSERT_EQ(1, CFSimpleXData::SetTo(id, L"FD_VIEW", L"道路圆切角标注="));
    label = L"untouched";
    ASSERT_EQ(1, CFGisXData::GetFrom(id, L"FD_VIEW", value, label));
    EXPECT_EQ(CString(L"道路圆切角标注="), value);
    EXPECT_TRUE(label.IsEmpty());
    ASSERT_EQ(1, CFSimpleXData::GetFrom(id, L"FD_VIEW", value));
    EXPECT_EQ(CString(L"道路圆切角标注="), value);
}

TEST_F(ExtendedData, EveryApplicationWrittenIsRegisteredAndSurvivesASave)
{
    const AcDbObjectId id = addLine(0, 0, 5, 5);
    ASSERT_EQ(1, CFGisXData::SetTo(id, L"FS_DLMC", L"人民路", L"道路名称"));
    ASSERT_EQ(1, CFSimpleXData::SetTo(id, L"FAPP_DLZX", L"道路中线"));
    {
        AcDbObjectPointer<AcDbRegAppTable> apps(db().regAppTableId(), AcDb::kForRead);
        EXPECT_TRUE(apps->has(L"FS_DLMC"));
        EXPECT_TRUE(apps->has(L"FAPP_DLZX"));
    }
    AcDbHandle handle;
    {
        AcDbObjectPointer<AcDbEntity> line(id, AcDb::kForRead);
        handle = line->handle();
    }
    std::unique_ptr<AcDbDatabase> reopened = savedAndReadBack(db());
    AcDbObjectId again;
    ASSERT_EQ(Acad::eOk, reopened->getAcDbObjectId(again, false, handle));
    CString value;
    CString label;
    ASSERT_EQ(1, CFGisXData::GetFrom(again, L"FS_DLMC", value, label));
    EXPECT_EQ(CString(L"人民路"), value);
    EXPECT_EQ(CString(L"道路名称"), label);
    ASSERT_EQ(1, CFSimpleXData::GetFrom(again, L"FAPP_DLZX", value));
    EXPECT_EQ(CString(L"道路中线"), value);
}

TEST_F(ExtendedData, AbsentDataLeavesTheOutputsAlone)
{
    const AcDbObjectId id = lineWithForeignData();
    CString value = L"untouched";
    CString label = L"untouched";
    EXPECT_EQ(0, CFGisXData::GetFrom(id, L"FD_VIEW", value, label));
    EXPECT_EQ(0, CFSimpleXData::GetFrom(AcDbObjectId::kNull, L"FD_VIEW", value));
    EXPECT_EQ(0, CFGisXData::SetTo(AcDbObjectId::kNull, L"FD_VIEW", L"1", L"2"));
    EXPECT_EQ(CString(L"untouched"), value);
    EXPECT_EQ(CString(L"untouched"), label);
    // An application with values but no text is present with an empty value (a corner curve's type).
    EXPECT_EQ(1, CFGisXData::GetFrom(id, L"OTHER_APP", value));
    EXPECT_TRUE(value.IsEmpty());
}

TEST_F(ExtendedData, ScaleBlocksRecordTheDrawingScale)
{
    const AcDbObjectId id = addLine(0, 0, 1, 1);
    double scale = 0.0;
    EXPECT_EQ(0, CScaleBlkData::GetFrom(id, scale));
    OTHERPARAM param;
    param.strValue = L"500";
    TarnDB::qvSetOtherParam(L"绘图比例", param);
    ASSERT_EQ(1, CScaleBlkData::SetTo(id));
    ASSERT_EQ(1, CScaleBlkData::GetFrom(id, scale));
    EXPECT_DOUBLE_EQ(0.5, scale);
    EXPECT_EQ((std::vector<short> {1001, 1040}), codesOf(id, L"FAPP_SCALEBLK"));
}

TEST(LimitedDouble, RoundsHalfAwayFromZeroOnTheDecimalValue)
{
    struct Case {
        double value;
        int decimals;
        double expected;
    };
    const Case cases[] = {
        {2.675, 2, 2.68}, // stored as 2.67499999...
        {1.005, 2, 1.01},
        {2.5, 0, 3.0},
        {-2.5, 0, -3.0},
        {-0.04, 1, 0.0},
        {9.96, 1, 10.0},
        {17.499999999, 1, 17.5},
        {17.449999, 1, 17.4},
        {1234.5, -1, 1235.0},
        {0.30000000000000004, 1, 0.3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " to " << c.decimals);
        const double rounded = ARX_DATA::ArxDbgUtils_NewGe::getLimitedDouble(c.value, c.decimals);
        EXPECT_DOUBLE_EQ(c.expected, rounded);
        EXPECT_FALSE(std::signbit(rounded) && rounded == 0.0);
    }
}

} // namespace
} // namespace planroad::test
