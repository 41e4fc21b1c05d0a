// Tests of result-buffer lists: value classification, acutBuildList, copies, release and dumps.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "acutads.h"
#include "selection/ResultBuffers.h"

using arxhost::ResbufChain;
using arxhost::ValueKind;

namespace {

struct KindCase {
    int code;
    ValueKind kind;
};

// Range boundaries on both sides, so that an off-by-one in the table shows.
const KindCase kindCases[] = {
    {RTSTR, ValueKind::String},
    {RTDXF0, ValueKind::String},
    {RTREAL, ValueKind::Real},
    {RTANG, ValueKind::Real},
    {RTORINT, ValueKind::Real},
    {RTSHORT, ValueKind::Short},
    {RTLONG, ValueKind::Long},
    {RTPOINT, ValueKind::Point},
    {RT3DPOINT, ValueKind::Point},
    {RTENAME, ValueKind::EntityName},
    {RTPICKS, ValueKind::EntityName},
    {RTINT64, ValueKind::Int64},
    {RTLONG_PTR, ValueKind::Int64},
    {RTLB, ValueKind::None},
    {RTNONE, ValueKind::None},
    {RTRESBUF, ValueKind::None},
    {-5, ValueKind::None},
    {-4, ValueKind::String},
    {-3, ValueKind::None},
    {-2, ValueKind::EntityName},
    {-1, ValueKind::EntityName},
    {0, ValueKind::String},
    {9, ValueKind::String},
    {10, ValueKind::Point},
    {17, ValueKind::Point},
    {18, ValueKind::None},
    {37, ValueKind::None},
    {38, ValueKind::Real},
    {59, ValueKind::Real},
    {60, ValueKind::Short},
    {62, ValueKind::Short},
    {79, ValueKind::Short},
    {80, ValueKind::None},
    {90, ValueKind::Long},
    {99, ValueKind::Long},
    {100, ValueKind::String},
    {109, ValueKind::String},
    {110, ValueKind::Point},
    {112, ValueKind::Point},
    {113, ValueKind::None},
    {140, ValueKind::Real},
    {149, ValueKind::Real},
    {160, ValueKind::Int64},
    {170, ValueKind::Short},
    {210, ValueKind::Point},
    {211, ValueKind::None},
    {270, ValueKind::Short},
    {290, ValueKind::Short},
    {299, ValueKind::Short},
    {300, ValueKind::String},
    {310, ValueKind::Binary},
    {320, ValueKind::String},
    {330, ValueKind::EntityName},
    {369, ValueKind::EntityName},
    {370, ValueKind::Short},
    {390, ValueKind::EntityName},
    {400, ValueKind::Short},
    {410, ValueKind::String},
    {420, ValueKind::Long},
    {430, ValueKind::String},
    {440, ValueKind::Long},
    {460, ValueKind::Real},
    {470, ValueKind::String},
    {481, ValueKind::EntityName},
    {482, ValueKind::None},
    {999, ValueKind::String},
    {1000, ValueKind::String},
    {1001, ValueKind::String},
    {1003, ValueKind::String},
    {1004, ValueKind::Binary},
    {1005, ValueKind::String},
    {1009, ValueKind::String},
    {1010, ValueKind::Point},
    {1013, ValueKind::Point},
    {1014, ValueKind::None},
    {1040, ValueKind::Real},
    {1042, ValueKind::Real},
    {1043, ValueKind::None},
    {1060, ValueKind::Short},
    {1070, ValueKind::Short},
    {1071, ValueKind::Long},
    {1072, ValueKind::None},
};

TEST(ResultBuffers, ValueKindOfFollowsDocumentedRanges)
{
    for (const KindCase& c : kindCases)
        EXPECT_EQ(arxhost::valueKindOf(c.code), c.kind) << "type code " << c.code;
}

TEST(ResultBuffers, ValuelessCodesAreNotUnknownCodes)
{
    for (int code : {RTLB, RTLE, RTDOTE, RTNIL, RTT, RTVOID, -3})
        EXPECT_TRUE(arxhost::isValuelessCode(code)) << code;
    for (int code : {RTNONE, RTRESBUF, 18, 9999, RTSTR})
        EXPECT_FALSE(arxhost::isValuelessCode(code)) << code;
}

TEST(ResultBuffers, BuildListStoresEveryValueKind)
{
    ads_point point = {1.5, -2.25, 3.0};
    ads_name name = {0x1234, 0x5678};
    char bytes[] = {1, 0, static_cast<char>(0xFF)};
    ads_binary chunk = {3, bytes};
    wchar_t text[] = L"道路";

    ResbufChain list(acutBuildList(RTSTR, text, RTREAL, 2.5, RTSHORT, -7, RTLONG, Adesk::Int32 {2147483647},
        RT3DPOINT, point, RTENAME, name, RTINT64, Adesk::Int64 {1LL << 40}, 310, &chunk, RTLB, RTDXF0,
        L"LINE", 62, 256, 1071, Adesk::Int32 {-5}, RTLE, RTNONE));
    ASSERT_NE(list, nullptr);
    text[0] = L'X'; // the list keeps its own copy
    ASSERT_EQ(arxhost::chainLength(list.get()), 13) << arxhost::describe(list.get());

    const resbuf* rb = list.get();
    EXPECT_EQ(rb->restype, RTSTR);
    EXPECT_STREQ(rb->resval.rstring, L"道路");
    rb = rb->rbnext;
    EXPECT_EQ(rb->restype, RTREAL);
    EXPECT_DOUBLE_EQ(rb->resval.rreal, 2.5);
    rb = rb->rbnext;
    EXPECT_EQ(rb->resval.rint, -7);
    rb = rb->rbnext;
    EXPECT_EQ(rb->resval.rlong, 2147483647);
    rb = rb->rbnext;
    EXPECT_EQ(rb->restype, RT3DPOINT);
    EXPECT_DOUBLE_EQ(rb->resval.rpoint[0], 1.5);
    EXPECT_DOUBLE_EQ(rb->resval.rpoint[1], -2.25);
    EXPECT_DOUBLE_EQ(rb->resval.rpoint[2], 3.0);
    rb = rb->rbnext;
    EXPECT_EQ(rb->resval.rlname[0], 0x1234);
    EXPECT_EQ(rb->resval.rlname[1], 0x5678);
    rb = rb->rbnext;
    EXPECT_EQ(rb->resval.mnInt64, 1LL << 40);
    rb = rb->rbnext;
    EXPECT_EQ(rb->restype, 310);
    ASSERT_EQ(rb->resval.rbinary.clen, 3);
    EXPECT_NE(rb->resval.rbinary.buf, bytes);
    EXPECT_EQ(std::memcmp(rb->resval.rbinary.buf, bytes, 3), 0);
    rb = rb->rbnext;
    EXPECT_EQ(rb->restype, RTLB);
    rb = rb->rbnext;
    EXPECT_EQ(rb->restype, RTDXF0); // group 0 keeps its ADS code
    EXPECT_STREQ(rb->resval.rstring, L"LINE");
    rb = rb->rbnext;
    EXPECT_EQ(rb->restype, 62);
    EXPECT_EQ(rb->resval.rint, 256);
    rb = rb->rbnext;
    EXPECT_EQ(rb->resval.rlong, -5);
    rb = rb->rbnext;
    EXPECT_EQ(rb->restype, RTLE);
    EXPECT_EQ(rb->rbnext, nullptr);
}

TEST(ResultBuffers, BuildListEndsAtZeroOrRtnone)
{
    ResbufChain endedByZero(acutBuildList(8, L"A", 0, 8, L"not read"));
    EXPECT_EQ(arxhost::chainLength(endedByZero.get()), 1);
    ResbufChain endedByNone(acutBuildList(8, L"A", 62, 1, RTNONE, 8, L"not read"));
    EXPECT_EQ(arxhost::chainLength(endedByNone.get()), 2);
    EXPECT_EQ(acutBuildList(RTNONE), nullptr);
}

TEST(ResultBuffers, BuildListRefusesUnknownCodesAndMissingPointers)
{
    EXPECT_EQ(acutBuildList(8, L"A", 9999, 1, 0), nullptr);
    EXPECT_EQ(acutBuildList(RTRESBUF, nullptr, 0), nullptr);
    EXPECT_EQ(acutBuildList(8, L"A", 18, nullptr, 0), nullptr);
    EXPECT_EQ(acutBuildList(RTPOINT, static_cast<const ads_real*>(nullptr), 0), nullptr);
    EXPECT_EQ(acutBuildList(RTENAME, static_cast<const __int64*>(nullptr), 0), nullptr);
    EXPECT_EQ(acutBuildList(1004, static_cast<const ads_binary*>(nullptr), 0), nullptr);

    ResbufChain nullText(acutBuildList(RTSTR, static_cast<const ACHAR*>(nullptr), 0));
    ASSERT_NE(nullText, nullptr);
    EXPECT_STREQ(nullText->resval.rstring, L"");
}

TEST(ResultBuffers, NewRbIsZeroedAndReleasable)
{
    resbuf* rb = acutNewRb(RTSTR);
    ASSERT_NE(rb, nullptr);
    EXPECT_EQ(rb->restype, RTSTR);
    EXPECT_EQ(rb->rbnext, nullptr);
    EXPECT_EQ(rb->resval.rstring, nullptr);
    arxhost::setString(rb, L"first");
    arxhost::setString(rb, L"second, replacing the first");
    EXPECT_STREQ(rb->resval.rstring, L"second, replacing the first");
    rb->rbnext = acutNewRb(1004); // a binary node without a buffer
    EXPECT_EQ(acutRelRb(rb), RTNORM);

    EXPECT_EQ(acutNewRb(70000), nullptr);
    EXPECT_EQ(acutRelRb(nullptr), RTNORM);
}

TEST(ResultBuffers, DuplicateChainIsDeep)
{
    ads_point point = {4, 5, 6};
    char bytes[] = {'a', 'b'};
    ads_binary chunk = {2, bytes};
    ResbufChain original(
        acutBuildList(RTDXF0, L"TEXT", 1, L"FQ12.50", 10, point, 1004, &chunk, -3, 1001, L"FAPP_ROAD", 0));
    ResbufChain copy(arxhost::duplicateChain(original.get()));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(arxhost::describe(copy.get()), arxhost::describe(original.get()));

    arxhost::setString(original->rbnext, L"changed");
    original->rbnext->rbnext->rbnext->resval.rbinary.buf[0] = 'z';
    EXPECT_STREQ(copy->rbnext->resval.rstring, L"FQ12.50");
    EXPECT_EQ(copy->rbnext->rbnext->rbnext->resval.rbinary.buf[0], 'a');
    EXPECT_EQ(arxhost::duplicateChain(nullptr), nullptr);
}

TEST(ResultBuffers, ChainOwnerReleasesOrHandsOver)
{
    resbuf* handedOver = nullptr;
    {
        ResbufChain owned(acutBuildList(8, L"kept", 0));
        ResbufChain dropped(acutBuildList(8, L"dropped", 1000, L"with xdata", 0));
        handedOver = owned.release();
    }
    ASSERT_NE(handedOver, nullptr);
    EXPECT_STREQ(handedOver->resval.rstring, L"kept");
    EXPECT_EQ(acutRelRb(handedOver), RTNORM);
}

TEST(ResultBuffers, DescribeReadsLikeAList)
{
    ads_point point = {1.5, 2, 0};
    ads_name name = {0x2a, 0};
    ResbufChain list(acutBuildList(
        RTDXF0, L"LINE", 8, L"say \"hi\"", 10, point, 62, 1, 40, 0.1, RTENAME, name, -3, 1001, L"APP", 0));
    EXPECT_EQ(arxhost::describe(list.get()),
        L"((5020 . \"LINE\") (8 . \"say \\\"hi\\\"\") (10 1.5 2 0) (62 . 1) (40 . 0.1) "
        L"(5006 . <Entity name: 2a>) (-3) (1001 . \"APP\"))");
    EXPECT_EQ(arxhost::describe(nullptr), L"nil");
}

} // namespace
