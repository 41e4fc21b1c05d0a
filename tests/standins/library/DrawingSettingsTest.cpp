// The drawing settings module: the drawing scale and the planning coordinates of a drawing.
#include "DrawingSettings.h"
#include "CustomParameterStore.h"
#include "HostFixture.h"

namespace planroad::test {
namespace {

class DrawingSettings : public HostFixture {
protected:
    void setParameter(const wchar_t* key, const wchar_t* value)
    {
        OTHERPARAM param;
        param.strValue = value;
        param.nCode1 = 5001;
        ASSERT_EQ(1, TarnDB::qvSetOtherParam(key, param));
    }
};

TEST_F(DrawingSettings, TheScaleIsTheDenominatorInThousandsAndOneWithoutAUsableParameter)
{
    EXPECT_DOUBLE_EQ(1.0, CDrawingSetting::GetSysScale());
    const std::pair<const wchar_t*, double> cases[] = {
        {L"500", 0.5},
        {L" 2000 ", 2.0},
        {L"1:1000", 1.0},
        {L"1 : 500", 0.5},
        {L"250.0", 0.25},
        {L"0", 1.0},
        {L"-500", 1.0},
        {L"abc", 1.0},
        {L"500m", 1.0},
        {L"2:500", 1.0},
        {L"", 1.0},
    };
    for (const auto& [value, expected] : cases) {
        setParameter(L"绘图比例", value);
        EXPECT_DOUBLE_EQ(expected, CDrawingSetting::GetSysScale())
            << "for value index " << (&value - &cases[0].first);
    }
}

TEST_F(DrawingSettings, PlanningCoordinatesFollowTheDrawingsConversion)
{
    AcGePoint3d out;
    qvGetConvCoordinate(AcGePoint3d(3.0, 4.0, 5.0), out);
    EXPECT_TRUE(out.isEqualTo(AcGePoint3d(3.0, 4.0, 5.0)));

    setParameter(L"坐标转换参数", L"1000, 2000, 90, 2");
    qvGetConvCoordinate(AcGePoint3d(3.0, 4.0, 5.0), out);
    EXPECT_TRUE(out.isEqualTo(AcGePoint3d(1000.0 - 8.0, 2000.0 + 6.0, 5.0)));

    // An unreadable conversion is no conversion.
    setParameter(L"坐标转换参数", L"1000,2000,90");
    qvGetConvCoordinate(AcGePoint3d(3.0, 4.0, 5.0), out);
    EXPECT_TRUE(out.isEqualTo(AcGePoint3d(3.0, 4.0, 5.0)));
}

} // namespace
} // namespace planroad::test
