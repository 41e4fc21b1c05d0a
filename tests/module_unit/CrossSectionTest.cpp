// The cross-section conversion: coded values turned into the plain form with width and panels, directly
// and through "FDLDMDataDeal" on the drawing's centrelines, and which values the command leaves alone.
#include <string>
#include <vector>

#include "CentrelineFixture.h"
#include "centreline/CrossSectionText.h"
#include "text/Utf8.h"

namespace planroad::test {
namespace {

struct ConversionCase {
    const wchar_t* coded;
    const wchar_t* plain;
    const wchar_t* width;
    const wchar_t* panels;
};

// Values the conversion takes, with what it makes of them.
const ConversionCase kConverted[] = {
    // One panel: the two carriageways become one.
    {L"rx5cx7cx7rx5", L"5+14+5", L"24", L"一板块"},
    // Only the first pair of neighbouring carriageways is merged.
    {L"rx5cx7cx7cx7rx5", L"5+14+7+5", L"31", L"一板块"},
    // Two panels: nothing merged, also not neighbouring carriageways.
    {L"rx4cx10fg2cx10rx4", L"4+10+2+10+4", L"30", L"二板块"},
    {L"rx4cx5cx5fg2cx10rx4", L"4+5+5+2+10+4", L"30", L"二板块"},
    // Three panels: the middle carriageways merged, the strips "fd" into the side lanes before or after
    // them.
    {L"rx3fjd3.5fd0.5fg2cx7cx7fg2fd0.5fjd3.5rx3", L"3+4+2+14+2+4+3", L"32", L"三板块"},
    // Three panels: outer carriageways go into the side lane before or after them.
    {L"rx3fjd2cx3.5fg1.5cx7cx7fg1.5cx3.5fjd2rx3", L"3+5.5+1.5+14+1.5+5.5+3", L"34", L"三板块"},
    // Four panels: "fd" after a red-line strip goes into the lane after it; carriageways beside side lanes
    // are merged into them, the middle ones are kept.
    {L"rx3fd0.5fjd3cx3.5fg2cx8fg2cx8fg2cx3.5fjd3.5rx3", L"3+7+2+8+2+8+2+7+3", L"42", L"四板块"},
    // Codes in any case.
    {L"RX5CX7Cx7rX5", L"5+14+5", L"24", L"一板块"},
    {L"rx4cx10FG2cx10rx4", L"4+10+2+10+4", L"30", L"二板块"},
    // Widths summed and printed as "%g".
    {L"rx2cx3.5cx3.5rx2", L"2+7+2", L"11", L"一板块"},
    {L"rx2cx0.25cx3rx2", L"2+3.25+2", L"7.25", L"一板块"},
    // A text run at the end is dropped.
    {L"rx5cx7cx7rx5m", L"5+14+5", L"24", L"一板块"},
};

// Values it does not take.
const wchar_t* const kRejected[] = {
    L"",
    L"rx5cx7rx5", // six runs
    L"rx5cx7rx5cx", // seven runs, but the last one is text and dropped
    L"5+14+5", // already plain
    L"ab5cd7ef7gh5", // no part code
    L"rx5ab7cd7ef5", // a part code only as the first run
};

TEST(CrossSectionText, TokensAlternateBetweenTextAndNumbersAndDropATrailingText)
{
    const struct {
        const wchar_t* coded;
        std::vector<std::wstring> tokens;
    } cases[] = {
        {L"rx5.5cx10", {L"rx", L"5.5", L"cx", L"10"}},
        {L"rx5cx", {L"rx", L"5"}},
        {L"12ab3", {L"12", L"ab", L"3"}},
        {L"", {}},
        {L"m", {}},
    };
    for (const auto& c : cases) {
        std::vector<std::wstring> tokens;
        for (const CString& token : TokenizeCrossSection(c.coded))
            tokens.emplace_back(token.GetString());
        EXPECT_EQ(c.tokens, tokens) << c.coded;
    }
    EXPECT_TRUE(IsNumericText(L"3.25"));
    EXPECT_TRUE(IsNumericText(L"14"));
    EXPECT_FALSE(IsNumericText(L""));
    EXPECT_FALSE(IsNumericText(L"3a"));
    EXPECT_FALSE(IsNumericText(L"+"));
}

TEST(CrossSectionText, ConvertsCodedValuesByTheirPanelCount)
{
    for (const ConversionCase& c : kConverted) {
        SPlainCrossSection result;
        ASSERT_TRUE(ConvertCrossSection(c.coded, result)) << c.coded;
        EXPECT_EQ(std::wstring(c.plain), result.plain.GetString()) << c.coded;
        EXPECT_EQ(std::wstring(c.width), result.width.GetString()) << c.coded;
        EXPECT_EQ(std::wstring(c.panels), PanelText(result.panels).GetString()) << c.coded;
    }
    for (const wchar_t* coded : kRejected) {
        SPlainCrossSection result;
        EXPECT_FALSE(ConvertCrossSection(coded, result)) << coded;
    }
}

TEST(CrossSectionText, PanelTextsFromOneToFourAndOneForAnythingElse)
{
    const std::wstring expected[] = {L"一板块", L"一板块", L"二板块", L"三板块", L"四板块", L"一板块"};
    for (int panels = 0; panels <= 5; ++panels)
        EXPECT_EQ(expected[panels], PanelText(panels).GetString()) << panels;
}

class CrossSectionCommand : public CentrelineFixture {
protected:
    void convert() { type(L"FDLDMDataDeal\n"); }
    // The message follows the command name on its line.
    std::wstring lastRun() const { return transcriptFromLast(L"Command: FDLDMDataDeal"); }
};

TEST_F(CrossSectionCommand, EveryCentrelineIsConvertedWithWidthPanelsAndItsOwnLabel)
{
    std::vector<AcDbObjectId> roads;
    double y = 0;
    for (const ConversionCase& c : kConverted)
        roads.push_back(centreline(y += 10, {nullptr, c.coded, L"断面"}));
    // The command takes centrelines on any layer.
    const AcDbObjectId elsewhere = centreline(y += 10, {nullptr, L"rx5cx7cx7rx5", L"断面"}, L"OTHER");
    // Lines that are no centrelines keep their data.
    auto* plainLine = new AcDbLine(AcGePoint3d(0, -10, 0), AcGePoint3d(100, -10, 0));
    const AcDbObjectId other = add(plainLine);
    ARX_DATA::CFGisXData::SetTo(other, L"FS_DLDM", L"rx5cx7cx7rx5", L"断面");

    convert();
    for (std::size_t i = 0; i < roads.size(); ++i) {
        const ConversionCase& c = kConverted[i];
        std::wstring sectionLabel;
        std::wstring widthLabel;
        std::wstring panelsLabel;
        EXPECT_EQ(c.plain, field(roads[i], L"FS_DLDM", &sectionLabel)) << c.coded;
        EXPECT_EQ(c.width, field(roads[i], L"FD_WIDTH", &widthLabel)) << c.coded;
        EXPECT_EQ(c.panels, field(roads[i], L"FS_DLBK", &panelsLabel)) << c.coded;
        EXPECT_EQ(L"断面", sectionLabel);
        EXPECT_EQ(L"道路宽度", widthLabel);
        EXPECT_EQ(L"道路板块", panelsLabel);
    }
    EXPECT_EQ(L"5+14+5", field(elsewhere, L"FS_DLDM"));
    EXPECT_EQ(L"rx5cx7cx7rx5", field(other, L"FS_DLDM"));
    EXPECT_EQ(L"", field(other, L"FD_WIDTH"));

    const std::wstring message = L"成功转化" + std::to_wstring(roads.size() + 1) + L"个道路中线.";
    EXPECT_TRUE(contains(lastRun(), message)) << arxhost::toUtf8(lastRun());
    EXPECT_NE(std::string::npos, status().find(arxhost::toUtf8(L"正在处理, 请稍候..."))) << status();

    // The conversion is one step to undo.
    type(L"U\n");
    EXPECT_EQ(kConverted[0].coded, field(roads[0], L"FS_DLDM"));
    EXPECT_EQ(L"", field(roads[0], L"FD_WIDTH"));
}

TEST_F(CrossSectionCommand, ValuesItDoesNotTakeKeepAllTheirFields)
{
    std::vector<AcDbObjectId> roads;
    double y = 0;
    for (const wchar_t* coded : kRejected)
        roads.push_back(centreline(y += 10, {L"18", coded}));
    // A plain value with a convertible coded part is taken as converted.
    roads.push_back(centreline(y += 10, {L"18", L"rx5cx7cx7rx5+"}));
    // Without the field there is nothing to convert.
    roads.push_back(centreline(y += 10, {L"18", nullptr}));

    convert();
    EXPECT_TRUE(contains(lastRun(), L"成功转化0个道路中线.")) << arxhost::toUtf8(lastRun());
    for (std::size_t i = 0; i < roads.size(); ++i) {
        EXPECT_EQ(L"18", field(roads[i], L"FD_WIDTH")) << i;
        EXPECT_EQ(L"", field(roads[i], L"FS_DLBK")) << i;
    }
    EXPECT_EQ(L"rx5cx7rx5", field(roads[1], L"FS_DLDM"));
    EXPECT_EQ(L"rx5cx7cx7rx5+", field(roads[std::size(kRejected)], L"FS_DLDM"));
}

TEST_F(CrossSectionCommand, ASecondRunConvertsNothingAndNoCentrelinePrintsNothing)
{
    convert();
    EXPECT_FALSE(contains(lastRun(), L"成功转化")) << arxhost::toUtf8(lastRun());

    const AcDbObjectId road = centreline(0, {nullptr, L"rx4cx10fg2cx10rx4"});
    convert();
    EXPECT_TRUE(contains(lastRun(), L"成功转化1个道路中线."));
    convert();
    EXPECT_TRUE(contains(lastRun(), L"成功转化0个道路中线."));
    EXPECT_EQ(L"4+10+2+10+4", field(road, L"FS_DLDM"));
    EXPECT_EQ(L"30", field(road, L"FD_WIDTH"));
}

} // namespace
} // namespace planroad::test
