// The command line: the input queue and text sent by modules, prompts, keywords, picks, variables.
#include "HostFixture.h"

#include "acdocman.h"
#include "core/Diagnostics.h"
#include "editor/CommandStack.h"

namespace planroad::test {
namespace {

class CommandLine : public HostFixture {
protected:
    std::vector<std::wstring> log;
};

TEST_F(CommandLine, SentTextRunsAfterTheCurrentCommandAndBeforeFurtherScriptLines)
{
    defineCommand(L"FIRST", [this] {
        log.push_back(L"first");
        acDocManager->sendStringToExecute(acDocManager->curDocument(), L"SECOND\n");
        acDocManager->sendStringToExecute(acDocManager->curDocument(), L"THIRD\n");
        // The command's own prompt still reads the script, not the sent text.
        ACHAR answer[64];
        acedGetString(0, L"\nName: ", answer);
        log.push_back(std::wstring(L"answer ") + answer);
    });
    defineCommand(L"SECOND", [this] { log.push_back(L"second"); });
    defineCommand(L"THIRD", [this] { log.push_back(L"third"); });
    defineCommand(L"LAST", [this] { log.push_back(L"last"); });
    type(L"FIRST\nscripted\nLAST\n");
    EXPECT_EQ((std::vector<std::wstring> {L"first", L"answer scripted", L"second", L"third", L"last"}), log);
}

TEST_F(CommandLine, UnknownCommandsAndEnterRepeatingTheLastCommand)
{
    int runs = 0;
    defineCommand(L"COUNT", [&runs] { ++runs; });
    type(L"NOSUCH\nCOUNT\n\n_count\n");
    EXPECT_EQ(3, runs);
    EXPECT_TRUE(contains(transcript(), L"Unknown command \"NOSUCH\".  Press F1 for help."));
}

TEST_F(CommandLine, PointPromptAnswersDefaultsCancelAndKeywords)
{
    std::vector<int> codes;
    std::vector<std::wstring> values;
    defineCommand(L"POINTS", [&] {
        for (int i = 0; i < 4; ++i) {
            ads_point base = {10, 10, 0};
            ads_point p;
            acedInitGet(0, L"Undo Close");
            int rc = acedGetPoint(base, L"\nNext point [Undo/Close]: ", p);
            codes.push_back(rc);
            if (rc == RTNORM)
                values.push_back(
                    std::to_wstring(static_cast<int>(p[X])) + L"," + std::to_wstring(static_cast<int>(p[Y])));
            if (rc == RTKWORD) {
                ACHAR kw[32];
                acedGetInput(kw);
                values.push_back(kw);
            }
            if (rc == RTCAN)
                return;
        }
    });
    type(L"POINTS\nnonsense\n3,4\n@2,0\nc\n\n^C\n");
    EXPECT_EQ((std::vector<int> {RTNORM, RTNORM, RTKWORD, RTNONE}), codes);
    // "@2,0" is relative to the last point given (3,4), not to the base point.
    EXPECT_EQ((std::vector<std::wstring> {L"3,4", L"5,4", L"Close"}), values);
    EXPECT_TRUE(
        contains(transcript(), L"Next point [Undo/Close]: nonsense\nPoint or option keyword required."));
}

TEST_F(CommandLine, AnglesRealsAndStringsKeepTheHostsRules)
{
    double angle = 0;
    double real = 0;
    int noneCode = 0;
    std::wstring word;
    std::wstring line;
    defineCommand(L"ASK", [&] {
        ads_point base = {0, 0, 0};
        acedGetAngle(base, L"\nAngle: ", &angle);
        acedInitGet(RSG_NONULL | RSG_NONEG, nullptr);
        acedGetReal(L"\nTolerance: ", &real);
        double unused = 0;
        noneCode = acedGetReal(L"\nAgain <5.00>: ", &unused);
        ACHAR buf[64];
        acedGetString(0, L"\nWord: ", buf);
        word = buf;
        acedGetString(1, L"\nLine: ", buf);
        line = buf;
    });
    type(L"ASK\n120\n\n-1\n2.5\n\ntwo words\n");
    EXPECT_NEAR(120 * 3.14159265358979323846 / 180, angle, 1e-12);
    EXPECT_DOUBLE_EQ(2.5, real);
    EXPECT_EQ(RTNONE, noneCode);
    EXPECT_EQ(L"two", word);
    // The rest of a blank-ended answer is typed next: here it answers the line prompt.
    EXPECT_EQ(L"words", line);
    EXPECT_TRUE(contains(transcript(), L"Tolerance: -1\nValue must be positive."));
}

TEST_F(CommandLine, EntitySelectionSaysWhyNothingWasPicked)
{
    AcDbObjectId line = addLine(0, 0, 10, 0);
    std::vector<int> codes;
    std::vector<int> errnos;
    AcDbObjectId picked;
    defineCommand(L"PICK", [&] {
        for (int i = 0; i < 3; ++i) {
            ads_name ent;
            ads_point pt;
            int rc = acedEntSel(L"\nSelect a road: ", ent, pt);
            codes.push_back(rc);
            resbuf value;
            acedGetVar(L"ERRNO", &value);
            errnos.push_back(value.resval.rint);
            if (rc == RTNORM)
                acdbGetObjectId(picked, ent);
        }
    });
    type(L"PICK\n5,0.2\n50,50\n\n");
    EXPECT_EQ((std::vector<int> {RTNORM, RTERROR, RTERROR}), codes);
    EXPECT_EQ(OL_ENTSELPICK, errnos[1]);
    EXPECT_EQ(OL_ENTSELNULL, errnos[2]);
    EXPECT_EQ(line, picked);
}

TEST_F(CommandLine, SystemVariablesCheckTypeRangeAndReadOnly)
{
    resbuf value;
    value.restype = RTSHORT;
    value.resval.rint = 0;
    EXPECT_EQ(RTNORM, acedSetVar(L"pickstyle", &value));
    value.resval.rint = 7;
    EXPECT_EQ(RTERROR, acedSetVar(L"PICKSTYLE", &value));
    value.restype = RTSTR;
    value.resval.rstring = const_cast<ACHAR*>(L"x.dwg");
    EXPECT_EQ(RTERROR, acedSetVar(L"DWGNAME", &value));
    value.resval.rstring = const_cast<ACHAR*>(L"no such layer");
    EXPECT_EQ(RTERROR, acedSetVar(L"CLAYER", &value));

    resbuf out;
    ASSERT_EQ(RTNORM, acedGetVar(L"DWGNAME", &out));
    EXPECT_STREQ(L"Drawing1.dwg", out.resval.rstring);
    delete[] out.resval.rstring;
    ASSERT_EQ(RTNORM, acedGetVar(L"PICKSTYLE", &out));
    EXPECT_EQ(0, out.resval.rint);
    ASSERT_EQ(RTNORM, acedGetVar(L"OSMODE", &out));
    EXPECT_EQ(4133, out.resval.rint);

    type(L"DIMLFAC\n1000\nDWGNAME\n");
    EXPECT_DOUBLE_EQ(1000.0, db().dimlfac());
    EXPECT_TRUE(contains(transcript(), L"DWGNAME = \"Drawing1.dwg\" (read only)"));
}

TEST_F(CommandLine, TheDimensionDecimalSeparatorIsOneCharacterOfText)
{
    resbuf out;
    ASSERT_EQ(RTNORM, acedGetVar(L"DIMDSEP", &out));
    ASSERT_EQ(RTSTR, out.restype);
    EXPECT_STREQ(L",", out.resval.rstring);
    delete[] out.resval.rstring;

    resbuf value;
    value.restype = RTSTR;
    value.resval.rstring = const_cast<ACHAR*>(L".");
    ASSERT_EQ(RTNORM, acedSetVar(L"DIMDSEP", &value));
    EXPECT_EQ(L'.', db().dimdsep());
    ASSERT_EQ(RTNORM, acedGetVar(L"DIMDSEP", &out));
    EXPECT_STREQ(L".", out.resval.rstring);
    delete[] out.resval.rstring;

    // At the SETVAR prompt a single "." is the separator itself, not an empty text.
    type(L"DIMDSEP\n,\nDIMDSEP\n.\n");
    EXPECT_EQ(L'.', db().dimdsep());
}

TEST_F(CommandLine, EndOfInputCancelsAWaitingPrompt)
{
    int code = 0;
    defineCommand(L"WAIT", [&code] {
        ads_point p;
        code = acedGetPoint(nullptr, L"\nWhere: ", p);
    });
    type(L"WAIT\n");
    EXPECT_EQ(RTCAN, code);
    EXPECT_TRUE(contains(transcript(), L"Where: *Cancel*"));
}

TEST_F(CommandLine, UserBreakTypedAheadReachesTheWorkingCommand)
{
    int breaksSeen = 0;
    defineCommand(L"LONGWORK", [&breaksSeen] {
        ACHAR answer[8];
        acedGetString(0, L"\nGo: ", answer);
        for (int i = 0; i < 3; ++i)
            breaksSeen += acedUsrBrk();
    });
    type(L"LONGWORK\nyes\n!break\n");
    EXPECT_EQ(1, breaksSeen);
}

TEST_F(CommandLine, CommandStackKeepsGroupsAndRemovesThemWhole)
{
    auto noop = [] {};
    defineCommand(L"ONE", noop);
    AcEdCommandStack* stack = acedRegCmds;
    ASSERT_NE(nullptr, stack);
    EXPECT_NE(nullptr, stack->lookupGlobalCmd(L"one"));
    EXPECT_EQ(Acad::eDuplicateKey, stack->addCommand(L"TEST", L"ONE", L"ONE", 0, [] {}));
    EXPECT_EQ(Acad::eInvalidInput, stack->addCommand(L"TEST", L"TWO WORDS", L"TWO WORDS", 0, [] {}));
    EXPECT_EQ(Acad::eOk, stack->removeGroup(L"test"));
    EXPECT_EQ(nullptr, stack->lookupGlobalCmd(L"ONE"));
    EXPECT_EQ(Acad::eKeyNotFound, stack->removeGroup(L"TEST"));
}

TEST_F(CommandLine, ProgressMeterReportsAndIsRestoredWhenTheCommandEnds)
{
    defineCommand(L"METER", [] {
        acedSetStatusBarProgressMeter(L"正在标注....", 0, 9);
        for (int i = 0; i < 10; ++i)
            acedSetStatusBarProgressMeterPos(i);
        // The command forgets acedRestoreStatusBar: the host restores it when the command ends.
    });
    type(L"METER\n");
    EXPECT_NE(std::string::npos, status().find("正在标注.... 10/10"));
}

} // namespace
} // namespace planroad::test
