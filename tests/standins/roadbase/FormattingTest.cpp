// Numbers as the road base library writes them, and the drawing's linear dimension factor.
#include "RoadFixture.h"

namespace planroad::test {
namespace {

TEST(Formatting, DecimalHalvesRoundAwayFromZero)
{
    struct Case {
        double value;
        int decimals;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {1234.5, 2, L"1234.50"},
        {2.675, 2, L"2.68"}, // the double lies just below 2.675; the written value is rounded
        {1.005, 2, L"1.01"},
        {-2.675, 2, L"-2.68"},
        {0.5, 0, L"1"},
        {-0.5, 0, L"-1"},
        {2.5, 0, L"3"},
        {9.995, 2, L"10.00"}, // carries into a new digit
        {-9.96, 1, L"-10.0"},
        {15.0, 1, L"15.0"},
        {17.499999999, 1, L"17.5"},
        {-0.004, 2, L"0.00"}, // no minus sign on a zero
        {-0.0, 1, L"0.0"},
        {0.0, 0, L"0"},
        {1e-7, 3, L"0.000"},
        {123456789012.345, 2, L"123456789012.35"},
        {3.14159, -2, L"3"}, // negative decimals count as none
        {0.1, 20, L"0.10000000000000000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.expected), DoubleToString(c.value, c.decimals))
            << c.value << " with " << c.decimals;
}

TEST(Formatting, IntegersAreWrittenInFull)
{
    EXPECT_EQ(CString(L"0"), IntToString(0));
    EXPECT_EQ(CString(L"12"), IntToString(12));
    EXPECT_EQ(CString(L"-2147483648"), IntToString(-2147483647 - 1));
}

class DimensionFactor : public RoadFixture { };

TEST_F(DimensionFactor, FollowsTheDrawing)
{
    EXPECT_DOUBLE_EQ(1.0, GetSysVarDimlfac());
    resbuf value {};
    value.restype = RTREAL;
    value.resval.rreal = 2.0;
    ASSERT_EQ(RTNORM, acedSetVar(L"DIMLFAC", &value));
    EXPECT_DOUBLE_EQ(2.0, GetSysVarDimlfac());
}

} // namespace
} // namespace planroad::test
