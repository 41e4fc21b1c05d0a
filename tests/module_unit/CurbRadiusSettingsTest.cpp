// The curb-return radius dialog's settings: what it shows on first use, how stored values are read back,
// the text style it selects, what the annotate button stores and where, and a text height that fails.
#include <fstream>
#include <string>

#include "CurbRadiusFixture.h"
#include "curbradius/DlyjbjbzDlg.h"
#include "text/Utf8.h"

namespace planroad::test {
namespace {

class CurbRadiusSettings : public CurbRadiusFixture {
protected:
    // Opens the dialog and closes it unchanged; returns what it showed.
    std::wstring shownDialog()
    {
        type(L"QVDLYJBJBZ\n!dialog click Cancel\n");
        const std::wstring shown = transcriptFromLast(L"[Dialog 3100 \"");
        return shown.substr(0, shown.find(L"[Dialog 3100 closed"));
    }
    void writeDialogData(const std::string& lines)
    {
        std::filesystem::create_directories(mDataDir / "user");
        std::ofstream(mDataDir / "user" / "dialogs.ini", std::ios::binary) << "[CDlyjbjbzDlg]\n" << lines;
    }
    static void expectShows(const std::wstring& dialog, const std::wstring& line)
    {
        EXPECT_TRUE(contains(dialog, line)) << "wanted " << arxhost::toUtf8(line) << " in\n"
                                            << arxhost::toUtf8(dialog);
    }
};

TEST_F(CurbRadiusSettings, FirstUseShowsTheDefaults)
{
    const std::wstring dialog = shownDialog();
    expectShows(dialog, L"IDC_DLYJ_RADIUS_PREFIX \"R-\"");
    expectShows(dialog, L"IDC_DLYJ_STD_CUT_PREFIX \"Q \"");
    expectShows(dialog, L"IDC_DLYJ_NONSTD_CUT_PREFIX \"FQ\"");
    expectShows(dialog, L"IDC_DLYJ_PRECISION \"0.00\"");
    expectShows(dialog, L"IDC_DLYJ_TEXT_HEIGHT \"2\""); // the annotation layer's height
    expectShows(dialog, L"IDC_DLYJ_TEXT_STYLE \"Standard\"");
    expectShows(dialog, L"IDC_DLYJ_LEADER [x]");
    expectShows(dialog, L"IDC_DLYJ_CURB [x]");
    expectShows(dialog, L"IDC_DLYJ_RED_LINE [ ]");
    expectShows(dialog, L"IDC_DLYJ_CENTRELINE [ ]");
    // "退出" stores nothing.
    EXPECT_FALSE(std::filesystem::exists(mDataDir / "user" / "dialogs.ini"));
}

TEST_F(CurbRadiusSettings, StoredValuesOtherThanYesOrNoFallBackPerBox)
{
    struct Case {
        const char* stored;
        const wchar_t* leader;
        const wchar_t* redLine;
    };
    const Case cases[] = {
        {"\"\"", L"IDC_DLYJ_LEADER [x]", L"IDC_DLYJ_RED_LINE [ ]"},
        {"\"yes\"", L"IDC_DLYJ_LEADER [x]", L"IDC_DLYJ_RED_LINE [ ]"},
        {"\"是\"", L"IDC_DLYJ_LEADER [x]", L"IDC_DLYJ_RED_LINE [x]"},
        {"\"否\"", L"IDC_DLYJ_LEADER [ ]", L"IDC_DLYJ_RED_LINE [ ]"},
    };
    for (const Case& c : cases) {
        writeDialogData(std::string("\"绘制引线\" = ") + c.stored + "\n\"标注红线半径\" = " + c.stored
            + "\n\"标注精度\" = \"4\"\n");
        const std::wstring dialog = shownDialog();
        expectShows(dialog, c.leader);
        expectShows(dialog, c.redLine);
        expectShows(dialog, L"IDC_DLYJ_PRECISION \"0.0000\"");
    }
}

TEST_F(CurbRadiusSettings, AMissingTextStyleFallsBackToStandard)
{
    TarnDB::qvCreateTextStyle(L"HZ");
    struct Case {
        const wchar_t* wanted;
        const wchar_t* selected;
    };
    const Case cases[] = {{L"hz", L"\"HZ\""}, {L"Gone", L"\"Standard\""}, {L"STANDARD", L"\"Standard\""}};
    for (const Case& c : cases) {
        LAYERPARAM2013EX annotation;
        TarnDB::qvGetLayerParam(L"FL_BZ_DLQXYS", annotation, 0, 1, 1, nullptr);
        annotation.strTextStyle = c.wanted;
        TarnDB::qvSetLayerParam(L"FL_BZ_DLQXYS", annotation, 0, 1, 1, nullptr);
        expectShows(shownDialog(), std::wstring(L"IDC_DLYJ_TEXT_STYLE ") + c.selected);
    }
}

TEST_F(CurbRadiusSettings, AnnotateStoresPrefixesBoxesAndTheTextRecord)
{
    TarnDB::qvCreateTextStyle(L"HZ");
    type(L"QVDLYJBJBZ\n!dialog set 205 \" R \"\n!dialog set 223 \"QJ \"\n!dialog set 226 FQJ\n"
         L"!dialog select 206 0.0\n!dialog set 209 4.5\n!dialog select 208 HZ\n!dialog uncheck 222\n"
         L"!dialog check 224\n!dialog click 204\n^C\n");
    const std::wstring dialog = shownDialog();
    expectShows(dialog, L"IDC_DLYJ_RADIUS_PREFIX \" R \"");
    expectShows(dialog, L"IDC_DLYJ_STD_CUT_PREFIX \"QJ \"");
    expectShows(dialog, L"IDC_DLYJ_NONSTD_CUT_PREFIX \"FQJ\"");
    expectShows(dialog, L"IDC_DLYJ_PRECISION \"0.0\"");
    expectShows(dialog, L"IDC_DLYJ_TEXT_HEIGHT \"4.5\"");
    expectShows(dialog, L"IDC_DLYJ_TEXT_STYLE \"HZ\"");
    expectShows(dialog, L"IDC_DLYJ_LEADER [ ]");
    expectShows(dialog, L"IDC_DLYJ_CENTRELINE [x]");

    TEXTPARAM text;
    ASSERT_EQ(1, TarnDB::qvGetTextParam(L"道路圆角半径标注字符", text));
    EXPECT_DOUBLE_EQ(4.5, text.dHeight);
    EXPECT_EQ(CString(L"HZ"), text.strTextStyle);
    LAYERPARAM2013EX annotation;
    ASSERT_EQ(1, TarnDB::qvGetLayerParam(L"FL_BZ_DLQXYS", annotation, 0, 1, 1, nullptr));
    EXPECT_DOUBLE_EQ(4.5, annotation.dTextHeight);
    EXPECT_EQ(CString(L"HZ"), annotation.strTextStyle);
}

class CurbRadiusWithoutAnnotationLayer : public CurbRadiusSettings {
protected:
    CurbRadiusWithoutAnnotationLayer()
    {
        mConfigureAnnotationLayer = false;
        mTextParamHeight = 0.05;
    }
};

TEST_F(CurbRadiusWithoutAnnotationLayer, HeightComesFromTheTextRecordAndTheLayerParameterIsNotCreated)
{
    // A height below 0.1 in the text record shows as 3.
    expectShows(shownDialog(), L"IDC_DLYJ_TEXT_HEIGHT \"3\"");
    type(L"QVDLYJBJBZ\n!dialog set 209 2.5\n!dialog click 204\n^C\n");
    LAYERPARAM2013EX annotation;
    EXPECT_EQ(0, TarnDB::qvGetLayerParam(L"FL_BZ_DLQXYS", annotation, 0, 1, 1, nullptr));
    TEXTPARAM text;
    ASSERT_EQ(1, TarnDB::qvGetTextParam(L"道路圆角半径标注字符", text));
    EXPECT_DOUBLE_EQ(2.5, text.dHeight);
    expectShows(shownDialog(), L"IDC_DLYJ_TEXT_HEIGHT \"2.5\"");
}

TEST_F(CurbRadiusSettings, AHeightThatIsNoNumberIsReportedAtEachExchangeAndTheRunStillTakesPlace)
{
    const AcDbObjectId arc = cornerArc(L"CURB", AcGePoint3d(0, 0, 0), 10, 0, 90);
    add(new AcDbArc(AcGePoint3d(100, 0, 0), 5, 0, 1));
    type(L"QVDLYJBJBZ\n!dialog uncheck 222\n!dialog set 209 abc\n!dialog click 204\n!answer OK\n!answer OK\n"
         L"!answer OK\nALL\n\n!dialog click Cancel\n");
    EXPECT_EQ(3, timesIn(transcript(), L"Please enter a number."));
    EXPECT_TRUE(contains(transcript(), L"请选择要标注的圆弧实体:"));
    EXPECT_EQ(std::vector<std::wstring> {L"R-10.00"}, textsOf(arc));
}

TEST_F(CurbRadiusSettings, CutLengthModeIsCreatedAsComputedAndReadAsAnInteger)
{
    const wchar_t* const key = L"圆切角标注半径计算方式[计算值(0)/属性值(1)]";
    CDlyjbjbzDlg dialog;
    EXPECT_EQ(0, dialog.GetCutLengthMode());
    OTHERPARAM created;
    ASSERT_EQ(1, TarnDB::qvGetCustomDatabase()->GetOtherCustomParam(key, &created));
    EXPECT_EQ(CString(L"0"), created.strValue);
    EXPECT_EQ(5001, created.nCode1);
    struct Case {
        const wchar_t* value;
        int mode;
    };
    for (const Case& c : {Case {L"1", 1}, Case {L"1.0", 1}, Case {L"2", 0}, Case {L"属性值", 0}}) {
        OTHERPARAM param;
        param.strValue = c.value;
        TarnDB::qvGetCustomDatabase()->SetOtherCustomParam(key, &param);
        EXPECT_EQ(c.mode, dialog.GetCutLengthMode()) << arxhost::toUtf8(c.value);
    }
}

} // namespace
} // namespace planroad::test
