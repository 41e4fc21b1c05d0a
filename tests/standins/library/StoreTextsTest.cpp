// Texts and text styles made from the store's text parameters.
#include "CustomParameterStore.h"
#include "HostFixture.h"
#include "dbobjptr.h"

namespace planroad::test {
namespace {

using namespace TarnDB;

class StoreTexts : public HostFixture { };

TEST_F(StoreTexts, ATextStyleIsCreatedOnceAndFoundByName)
{
    EXPECT_TRUE(qvGetTextStyle(L"仿宋").isNull());
    const AcDbObjectId created = qvCreateTextStyle(L"仿宋");
    ASSERT_FALSE(created.isNull());
    EXPECT_EQ(created, qvCreateTextStyle(L"仿宋"));
    EXPECT_EQ(created, qvGetTextStyle(L"仿宋"));
    EXPECT_FALSE(qvGetTextStyle(L"Standard").isNull());
    EXPECT_TRUE(qvCreateTextStyle(L"").isNull());
}

TEST_F(StoreTexts, ATextTakesTheRecordsPropertiesAndStandsCentredOnThePoint)
{
    const AcDbObjectId style = qvCreateTextStyle(L"汉字标注");
    TEXTPARAM param;
    param.dHeight = 2.5;
    param.strTextStyle = L"汉字标注";
    param.nColor = 3;
    param.strLayer = L"DL-道路圆角标注";
    const AcGePoint3d at(100.0, 50.0, 0.0);
    AcDbObjectId id;
    ASSERT_EQ(1, qvCreateTextEx(at, L"R-12.00", 0.5, 1, 1, param, id));

    AcDbObjectPointer<AcDbText> text(id, AcDb::kForRead);
    ASSERT_EQ(Acad::eOk, text.openStatus());
    EXPECT_STREQ(L"R-12.00", text->textStringConst());
    EXPECT_DOUBLE_EQ(2.5, text->height());
    EXPECT_DOUBLE_EQ(0.5, text->rotation());
    EXPECT_EQ(style, text->textStyle());
    EXPECT_EQ(3, text->colorIndex());
    EXPECT_EQ(AcDb::kTextCenter, text->horizontalMode());
    EXPECT_EQ(AcDb::kTextBottom, text->verticalMode());
    EXPECT_TRUE(text->alignmentPoint().isEqualTo(at));
    EXPECT_EQ(db().currentSpaceId(), text->blockId());
    ACHAR* layer = text->layer();
    EXPECT_STREQ(L"DL-道路圆角标注", layer);
    acutDelString(layer);
}

TEST_F(StoreTexts, AMissingStyleFallsBackToTheCurrentOneAndAMissingHeightToThree)
{
    TEXTPARAM param;
    param.dHeight = 0.0;
    param.strTextStyle = L"没有这个样式";
    AcDbObjectId id;
    ASSERT_EQ(1, qvCreateTextEx(AcGePoint3d(1, 2, 0), L"Q 5.00", 0.0, 0, 0, param, id));
    AcDbObjectPointer<AcDbText> text(id, AcDb::kForRead);
    EXPECT_EQ(db().textstyle(), text->textStyle());
    EXPECT_DOUBLE_EQ(3.0, text->height());
    EXPECT_TRUE(text->position().isEqualTo(AcGePoint3d(1, 2, 0)));
    EXPECT_EQ(256, text->colorIndex());

    AcDbObjectId untouched;
    EXPECT_EQ(0, qvCreateTextEx(AcGePoint3d::kOrigin, L"x", 0.0, 9, 0, param, untouched));
    EXPECT_TRUE(untouched.isNull());
}

} // namespace
} // namespace planroad::test
