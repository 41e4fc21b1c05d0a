// The stake-point annotation's settings and dialog: what a first use shows, how the four stored settings
// are written and read back, what the dialog carries to the next point and the next run, the layout kept
// per user even on Cancel, and a text height the dialog refuses.
#include <string>

#include "StakeFixture.h"
#include "stakes/StakeSettings.h"

namespace planroad::test {
namespace {

const wchar_t* const kCoordPrecKey = L"道路桩点标注精度";
const wchar_t* const kElevPrecKey = L"!道路桩点标高标注精度";
const wchar_t* const kHeightKey = L"!道路桩点标注字高";
const wchar_t* const kAlignKey = L"道路桩点文字对齐方式";

class StakeSettings : public StakeFixture { };

TEST_F(StakeSettings, ADrawingWithoutTheKeysGivesTheDefaults)
{
    const SZDBZPARAM param;
    EXPECT_EQ(2, param.nCoordPrec);
    EXPECT_EQ(3, param.nElevPrec);
    EXPECT_DOUBLE_EQ(4.0, param.dTextHeight);
    EXPECT_EQ(0, param.nAlign);
    EXPECT_EQ(0, param.nMode);
    // Reading creates nothing.
    EXPECT_EQ(L"<none>", stored(kCoordPrecKey));
    EXPECT_EQ(L"<none>", stored(kHeightKey));
}

TEST_F(StakeSettings, SaveWritesTheFourFormatsAndTheNextLoadReadsThemBack)
{
    struct Case {
        int coordPrec;
        int elevPrec;
        double height;
        int align;
        const wchar_t* heightText;
        double heightRead;
    };
    const Case cases[] = {
        {0, 4, 2.26, 2, L"2.3", 2.3},
        {4, 0, 2.24, 1, L"2.2", 2.2},
        {1, 2, 12.0, 0, L"12.0", 12.0},
        {3, 1, 0.96, 2, L"1.0", 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.heightText));
        SZDBZPARAM param;
        param.nCoordPrec = c.coordPrec;
        param.nElevPrec = c.elevPrec;
        param.dTextHeight = c.height;
        param.nAlign = c.align;
        param.Save();
        EXPECT_EQ(std::to_wstring(c.coordPrec), stored(kCoordPrecKey));
        EXPECT_EQ(std::to_wstring(c.elevPrec), stored(kElevPrecKey));
        EXPECT_EQ(c.heightText, stored(kHeightKey));
        EXPECT_EQ(std::to_wstring(c.align), stored(kAlignKey));
        OTHERPARAM record;
        ASSERT_EQ(1, TarnDB::qvGetCustomDatabase()->GetOtherCustomParam(kHeightKey, &record));
        EXPECT_EQ(5001, record.nCode1);
        EXPECT_EQ(2, record.nCode2);

        const SZDBZPARAM next;
        EXPECT_EQ(c.coordPrec, next.nCoordPrec);
        EXPECT_EQ(c.elevPrec, next.nElevPrec);
        EXPECT_DOUBLE_EQ(c.heightRead, next.dTextHeight);
        EXPECT_EQ(c.align, next.nAlign);
    }
}

TEST_F(StakeSettings, EnterAtTheFirstPromptSavesTheSettingsUnchanged)
{
    stake(L"\n");
    EXPECT_TRUE(contains(transcript(), L"拾取桩点位置:"));
    EXPECT_EQ(L"2", stored(kCoordPrecKey));
    EXPECT_EQ(L"3", stored(kElevPrecKey));
    EXPECT_EQ(L"4.0", stored(kHeightKey));
    EXPECT_EQ(L"0", stored(kAlignKey));

    store(kCoordPrecKey, L"4");
    store(kHeightKey, L"7.5");
    stake(L"^C\n");
    EXPECT_EQ(L"4", stored(kCoordPrecKey));
    EXPECT_EQ(L"7.5", stored(kHeightKey));
    EXPECT_EQ(L"0", stored(kAlignKey));
}

TEST_F(StakeSettings, FirstUseShowsThePointAndTheDefaults)
{
    const std::wstring dialog = dialogFor(L"40.5,30.2");
    expectShows(dialog, L"IDC_ZD_MODE_TABLE (o)");
    expectShows(dialog, L"IDC_ZD_MODE_COLUMN ( )");
    expectShows(dialog, L"IDC_ZD_X \"40.5\"");
    expectShows(dialog, L"IDC_ZD_Y \"30.2\"");
    expectShows(dialog, L"IDC_ZD_TEXT_HEIGHT \"4\"");
    expectShows(dialog, L"IDC_ZD_COORD_PREC \"0.01\" {0 | 0.1 | 0.01 | 0.001 | 0.0001}");
    expectShows(dialog, L"IDC_ZD_ELEV_PREC \"0.001\" {0 | 0.1 | 0.01 | 0.001 | 0.0001}");
    expectShows(dialog, L"IDC_ZD_ALIGN \"左对齐\" {左对齐 | 居中对齐 | 右对齐}");
}

TEST_F(StakeSettings, StoredSettingsOutsideTheListsLeaveThemUnselected)
{
    struct Case {
        const wchar_t* stored;
        const wchar_t* coordShown;
        const wchar_t* alignShown;
    };
    const Case cases[] = {
        {L"0", L"IDC_ZD_COORD_PREC \"0\" {", L"IDC_ZD_ALIGN \"左对齐\" {"},
        {L"4", L"IDC_ZD_COORD_PREC \"0.0001\" {", L"IDC_ZD_ALIGN \"左对齐\" {"},
        {L"2", L"IDC_ZD_COORD_PREC \"0.01\" {", L"IDC_ZD_ALIGN \"右对齐\" {"},
        {L"5", L"IDC_ZD_COORD_PREC (none) {", L"IDC_ZD_ALIGN \"左对齐\" {"},
        {L"-1", L"IDC_ZD_COORD_PREC (none) {", L"IDC_ZD_ALIGN (none) {"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.stored));
        store(kCoordPrecKey, c.stored);
        store(kAlignKey, c.stored);
        const std::wstring dialog = dialogFor();
        expectShows(dialog, c.coordShown);
        expectShows(dialog, c.alignShown);
    }
}

TEST_F(StakeSettings, AcceptedSettingsCarryToTheNextPointAndTheNextRun)
{
    stake(L"40.5,30.2\n!dialog set 215 2.5\n!dialog select 219 0.001\n!dialog select 220 0.1\n"
          L"!dialog select 221 右对齐\n!dialog click OK\n60,40\n"
          L"50,50\n!dialog click Cancel\n\n");
    for (const std::wstring& dialog : {lastDialog(), dialogFor(L"60,60")}) {
        expectShows(dialog, L"IDC_ZD_TEXT_HEIGHT \"2.5\"");
        expectShows(dialog, L"IDC_ZD_COORD_PREC \"0.001\" {");
        expectShows(dialog, L"IDC_ZD_ELEV_PREC \"0.1\" {");
        expectShows(dialog, L"IDC_ZD_ALIGN \"右对齐\" {");
    }
    EXPECT_EQ(L"3", stored(kCoordPrecKey));
    EXPECT_EQ(L"1", stored(kElevPrecKey));
    EXPECT_EQ(L"2.5", stored(kHeightKey));
    EXPECT_EQ(L"2", stored(kAlignKey));
    // The label drawn with them.
    const std::vector<StakeLabel> drawn = labels();
    ASSERT_EQ(1u, drawn.size());
    ASSERT_EQ(4u, drawn[0].texts.size());
    EXPECT_EQ(L"X=40.500", drawn[0].texts[0].text);
    EXPECT_EQ(L"H=11.0", drawn[0].texts[2].text);
    EXPECT_DOUBLE_EQ(2.5, drawn[0].texts[0].height);
    EXPECT_EQ(AcDb::kTextRight, drawn[0].texts[0].horizontal);
}

TEST_F(StakeSettings, TheLayoutIsRememberedPerUserAlsoOnCancel)
{
    stake(L"40.5,30.2\n!dialog check 210\n!dialog click Cancel\n50,50\n!dialog click Cancel\n\n");
    // The second dialog of the same run.
    expectShows(lastDialog(), L"IDC_ZD_MODE_COLUMN (o)");
    expectShows(lastDialog(), L"IDC_ZD_MODE_TABLE ( )");
    // The next run.
    expectShows(dialogFor(), L"IDC_ZD_MODE_COLUMN (o)");
    EXPECT_TRUE(std::filesystem::exists(mDataDir / "user" / "dialogs.ini"));

    // Back to the table, accepted this time, and drawn as a table.
    stake(L"40.5,30.2\n!dialog check 209\n!dialog click OK\n60,40\n\n");
    expectShows(dialogFor(), L"IDC_ZD_MODE_TABLE (o)");
    const std::vector<StakeLabel> drawn = labels();
    ASSERT_EQ(1u, drawn.size());
    EXPECT_EQ(6 + 1u, drawn[0].rules.size());
}

TEST_F(StakeSettings, ABadTextHeightIsRefusedAtBothExchangesAndTheDialogStaysOpen)
{
    struct Case {
        const wchar_t* height;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"0", L"Please enter a number between 1e-05 and 10000000000000."},
        {L"-3", L"Please enter a number between 1e-05 and 10000000000000."},
        {L"abc", L"Please enter a number."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(arxhost::toUtf8(c.height));
        const std::size_t before = transcript().size();
        // The OK handler exchanges the data, and the framework's OK exchanges it again: one click, the
        // framework's message twice; then a good height closes the dialog.
        stake(L"40.5,30.2\n!dialog set 215 " + std::wstring(c.height)
            + L"\n!dialog click OK\n!answer OK\n!answer OK\n!dialog set 215 3\n!dialog click OK\n60,40\n\n");
        const std::wstring run = transcript().substr(before);
        EXPECT_EQ(2, timesIn(run, c.message)) << arxhost::toUtf8(run);
        EXPECT_EQ(1, timesIn(run, L"[Dialog 3101 closed: OK]")) << arxhost::toUtf8(run);
        EXPECT_EQ(0, timesIn(run, L"the directive is ignored")) << arxhost::toUtf8(run);
    }
    // Each run drew its label at the corrected height.
    const std::vector<StakeLabel> drawn = labels();
    ASSERT_EQ(std::size(cases), drawn.size());
    for (const StakeLabel& label : drawn)
        EXPECT_DOUBLE_EQ(3.0, label.texts.at(0).height);
    EXPECT_EQ(L"3.0", stored(kHeightKey));
}

} // namespace
} // namespace planroad::test
