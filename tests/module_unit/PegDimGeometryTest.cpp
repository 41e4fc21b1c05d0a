// The stake label made in memory: its texts, the frame of both layouts, the text anchors of every
// alignment, all turned with a UCS at 30 degrees about the stake point and sized by the drawing scale, and
// the text style it takes.
#include <cmath>
#include <memory>
#include <string>

#include "StakeFixture.h"
#include "stakes/PegDimBuilder.h"

namespace planroad::test {
namespace {

constexpr double kPi = 3.14159265358979323846;
const AcGePoint3d kStake(100.0, 50.0, 2.0);

// An offset from the stake point in the label's own frame, as multiples of the label width W and the row
// step k.
struct Offset {
    double w;
    double k;
};

class PegDimGeometry : public StakeFixture {
protected:
    void SetUp() override
    {
        StakeFixture::SetUp();
        type(L"UCS\nZ\n30\n");
        OTHERPARAM scale;
        scale.strValue = L"1:500";
        TarnDB::qvSetOtherParam(L"绘图比例", scale);
    }

    static SZDBZPARAM param(int mode, int align)
    {
        SZDBZPARAM p;
        p.dX = 1234.5678;
        p.dY = -87.6;
        p.dH = 12.3456;
        p.dh = -1234.5; // "h=-1234.500" is the longest line
        p.nMode = mode;
        p.nCoordPrec = 2;
        p.nElevPrec = 3;
        p.dTextHeight = 4.5;
        p.nAlign = align;
        return p;
    }
    static std::unique_ptr<tarn::CEntsGroup> build(const SZDBZPARAM& p)
    {
        tarn::CEntsGroup* raw = nullptr;
        CreatePegDim(kStake, raw, p);
        return std::unique_ptr<tarn::CEntsGroup>(raw);
    }

    // t = scale 0.5 x height 4.5; the longest line has 11 characters.
    static constexpr double t = 2.25;
    static constexpr double k = t * 14.0 / 9.0;
    static constexpr double W = 11 * t * 136.0 / 78.0;

    // Where the offset (along, up) lies in the world: turned by 30 degrees about the stake point.
    static AcGePoint3d world(const Offset& along, const Offset& up)
    {
        const double a = along.w * W + along.k * k;
        const double b = up.w * W + up.k * k;
        const double angle = kPi / 6.0;
        return {kStake.x + a * std::cos(angle) - b * std::sin(angle),
            kStake.y + a * std::sin(angle) + b * std::cos(angle), kStake.z};
    }
    static void expectAt(const AcGePoint3d& expected, const AcGePoint3d& actual, const std::string& what)
    {
        EXPECT_NEAR(expected.x, actual.x, 1e-9) << what;
        EXPECT_NEAR(expected.y, actual.y, 1e-9) << what;
        EXPECT_NEAR(expected.z, actual.z, 1e-9) << what;
    }
};

// A frame rule from one corner to the other, each given as (along, up).
struct Rule {
    Offset fromAlong;
    Offset fromUp;
    Offset toAlong;
    Offset toUp;
};

TEST_F(PegDimGeometry, FramesOfBothLayoutsTurnWithTheUcsAboutTheStakePoint)
{
    const Rule table[6] = {
        {{0, 0}, {0, 1}, {1, 0}, {0, 1}},
        {{0, 0}, {0, 0}, {1, 0}, {0, 0}},
        {{0, 0}, {0, -1}, {1, 0}, {0, -1}},
        {{0, 0}, {0, 1}, {0, 0}, {0, -1}},
        {{0.5, 0}, {0, 1}, {0.5, 0}, {0, -1}},
        {{1, 0}, {0, 1}, {1, 0}, {0, -1}},
    };
    // The column is half as wide and twice as high; it has no sixth rule.
    const Rule column[5] = {
        {{0, 0}, {0, 2}, {0.5, 0}, {0, 2}},
        {{0, 0}, {0, 0}, {0.5, 0}, {0, 0}},
        {{0, 0}, {0, -2}, {0.5, 0}, {0, -2}},
        {{0, 0}, {0, 2}, {0, 0}, {0, -2}},
        {{0.5, 0}, {0, 2}, {0.5, 0}, {0, -2}},
    };
    for (int mode : {0, 1}) {
        const auto group = build(param(mode, 0));
        ASSERT_NE(nullptr, group);
        ASSERT_EQ(10, group->GetSize());
        const int rules = mode == 0 ? 6 : 5;
        for (int slot = 0; slot < rules; ++slot) {
            const std::string what = "layout " + std::to_string(mode) + " rule " + std::to_string(slot);
            const auto* line = AcDbLine::cast(group->GetAt(slot));
            ASSERT_NE(nullptr, line) << what;
            const Rule& r = mode == 0 ? table[slot] : column[slot];
            expectAt(world(r.fromAlong, r.fromUp), line->startPoint(), what + " start");
            expectAt(world(r.toAlong, r.toUp), line->endPoint(), what + " end");
        }
        if (mode == 1) {
            EXPECT_EQ(nullptr, group->GetAt(5));
        }
    }
}

TEST_F(PegDimGeometry, TextsShowTheValuesWithTheirPrecisionsAtTheScaledHeight)
{
    const auto group = build(param(0, 0));
    const wchar_t* const texts[] = {L"X=1234.57", L"Y=-87.60", L"H=12.346", L"h=-1234.500"};
    for (int i = 0; i < 4; ++i) {
        const auto* text = AcDbText::cast(group->GetAt(6 + i));
        ASSERT_NE(nullptr, text) << "slot " << 6 + i;
        EXPECT_EQ(std::wstring(texts[i]), text->textStringConst());
        EXPECT_DOUBLE_EQ(t, text->height());
        EXPECT_NEAR(kPi / 6.0, text->rotation(), 1e-12);
    }
}

TEST_F(PegDimGeometry, TextAnchorsAndModesOfEveryLayoutAndAlignment)
{
    struct Case {
        int mode;
        int align;
        AcDb::TextHorzMode horizontal;
        AcDb::TextVertMode vertical;
        Offset along[4]; // X, Y, H, h
        Offset up[4];
    };
    const Case cases[] = {
        {0, 0, AcDb::kTextLeft, AcDb::kTextBase, {{0.05, 0}, {0.05, 0}, {0.55, 0}, {0.55, 0}},
            {{0, 0.2}, {0, -0.8}, {0, 0.2}, {0, -0.8}}},
        {0, 1, AcDb::kTextCenter, AcDb::kTextVertMid, {{0.25, 0}, {0.25, 0}, {0.75, 0}, {0.75, 0}},
            {{0, 0.5}, {0, -0.5}, {0, 0.5}, {0, -0.5}}},
        {0, 2, AcDb::kTextRight, AcDb::kTextBase, {{0.5, -0.5}, {0.5, -0.5}, {1, -0.5}, {1, -0.5}},
            {{0, 0.2}, {0, -0.8}, {0, 0.2}, {0, -0.8}}},
        {0, 5, AcDb::kTextLeft, AcDb::kTextBase, {{0.05, 0}, {0.05, 0}, {0.55, 0}, {0.55, 0}},
            {{0, 0.2}, {0, -0.8}, {0, 0.2}, {0, -0.8}}},
        {1, 0, AcDb::kTextLeft, AcDb::kTextBase, {{0, 0.5}, {0, 0.5}, {0, 0.5}, {0, 0.5}},
            {{0, 1}, {0, 0.2}, {0, -0.9}, {0, -1.8}}},
        {1, 1, AcDb::kTextCenter, AcDb::kTextVertMid, {{0.5, -2.5}, {0.5, -2.5}, {0.5, -2.5}, {0.5, -2.5}},
            {{0, 1.5}, {0, 0.5}, {0, -0.5}, {0, -1.5}}},
        {1, 2, AcDb::kTextRight, AcDb::kTextBase, {{0.5, -0.5}, {0.5, -0.5}, {0.5, -0.5}, {0.5, -0.5}},
            {{0, 1.05}, {0, 0.25}, {0, -0.9}, {0, -1.75}}},
        {1, 5, AcDb::kTextLeft, AcDb::kTextBase, {{0, 0.5}, {0, 0.5}, {0, 0.5}, {0, 0.5}},
            {{0, 1}, {0, 0.2}, {0, -0.9}, {0, -1.8}}},
    };
    for (const Case& c : cases) {
        const auto group = build(param(c.mode, c.align));
        for (int i = 0; i < 4; ++i) {
            const std::string what = "layout " + std::to_string(c.mode) + " alignment "
                + std::to_string(c.align) + " text " + std::to_string(i);
            const auto* text = AcDbText::cast(group->GetAt(6 + i));
            ASSERT_NE(nullptr, text) << what;
            EXPECT_EQ(c.horizontal, text->horizontalMode()) << what;
            EXPECT_EQ(c.vertical, text->verticalMode()) << what;
            expectAt(world(c.along[i], c.up[i]), text->alignmentPoint(), what);
        }
    }
}

TEST_F(PegDimGeometry, ADollarStyleIsCreatedAPlainNameOnlyLookedUp)
{
    TarnDB::qvCreateTextStyle(L"HZ");
    struct Case {
        const wchar_t* wanted;
        const wchar_t* used; // null: no style
    };
    const Case cases[] = {{L"$ZDBZ", L"ZDBZ"}, {L"$ZDBZ", L"ZDBZ"}, {L"HZ", L"HZ"}, {L"Gone", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.wanted));
        TEXTPARAM text;
        text.strTextStyle = c.wanted;
        TarnDB::qvSetTextParam(L"道路曲线要素标注", text);
        const auto group = build(param(0, 0));
        const auto* label = AcDbText::cast(group->GetAt(6));
        ASSERT_NE(nullptr, label);
        const AcDbObjectId expected = c.used != nullptr ? TarnDB::qvGetTextStyle(c.used) : AcDbObjectId();
        if (c.used != nullptr) {
            EXPECT_FALSE(expected.isNull());
        }
        EXPECT_EQ(expected, label->textStyle());
    }
    EXPECT_TRUE(TarnDB::qvGetTextStyle(L"Gone").isNull());
    EXPECT_TRUE(TarnDB::qvGetTextStyle(L"$ZDBZ").isNull());
}

} // namespace
} // namespace planroad::test
