// The prompt library's keyword question, answered through the host's scripted command line.
#include "PromptLibrary.h"
#include "HostFixture.h"

namespace planroad::test {
namespace {

using ZOZedo::RDCad::CPrKeyWordDef;

class PromptLibrary : public HostFixture {
protected:
    struct Outcome {
        int status = -1;
        std::wstring picked;
        bool yes = false;
        bool no = false;
    };

    void SetUp() override
    {
        HostFixture::SetUp();
        defineCommand(L"ASK", [this] {
            CPrKeyWordDef question(L"\n是否按指定范围线[(Y)/(N)]:", L"Y N", mDefault);
            mOutcome.status = question.go();
            mOutcome.picked = question.pickedKeyWord().GetString();
            mOutcome.yes = question.isKeyWordPicked(L"Y");
            mOutcome.no = question.isKeyWordPicked(L"n");
        });
    }

    // Runs the range-line question in a command and answers it with the typed lines.
    Outcome ask(const std::wstring& answers, const CString& def = L"Y")
    {
        mDefault = def;
        mOutcome = Outcome();
        type(L"ASK\n" + answers);
        return mOutcome;
    }

private:
    CString mDefault;
    Outcome mOutcome;
};

TEST_F(PromptLibrary, AnswersAreKeywordsTheDefaultOrACancel)
{
    struct Case {
        const wchar_t* typed;
        int status;
        const wchar_t* picked;
    };
    const Case cases[] = {
        {L"N\n", CPrKeyWordDef::kKeyWord, L"N"},
        {L"y\n", CPrKeyWordDef::kKeyWord, L"Y"},
        {L"\n", CPrKeyWordDef::kKeyWord, L"Y"},
        {L"maybe\nN\n", CPrKeyWordDef::kKeyWord, L"N"},
        {L"^C\n", CPrKeyWordDef::kCancel, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        const Outcome outcome = ask(c.typed);
        EXPECT_EQ(c.status, outcome.status);
        EXPECT_EQ(std::wstring(c.picked), outcome.picked);
        EXPECT_EQ(outcome.picked == L"Y", outcome.yes);
        EXPECT_EQ(outcome.picked == L"N", outcome.no);
    }
}

TEST_F(PromptLibrary, TheDefaultIsShownBeforeTheColonAndEnterWithoutOneIsNoAnswer)
{
    ask(L"N\n");
    EXPECT_TRUE(contains(transcript(), L"是否按指定范围线[(Y)/(N)]<Y>:"));
    const Outcome outcome = ask(L"\n", L"");
    EXPECT_EQ(CPrKeyWordDef::kCancel, outcome.status);
    EXPECT_FALSE(outcome.yes);
    EXPECT_FALSE(outcome.no);
}

} // namespace
} // namespace planroad::test
