// Dragging with AcEdJig: cursor moves from the script, the final click, Enter, keywords and Esc.
#include "HostFixture.h"

namespace planroad::test {
namespace {

// Drags a line's end point: the shape of the module's placement jigs.
class LineEndJig : public AcEdJig {
public:
    explicit LineEndJig(AcDbLine* line)
        : mLine(line)
    {
    }
    DragStatus sampler() override
    {
        AcGePoint3d p;
        DragStatus status = acquirePoint(p, mLine->startPoint());
        if (status == kNormal)
            mCurrent = p;
        return status;
    }
    Adesk::Boolean update() override
    {
        ++updates;
        mLine->setEndPoint(mCurrent);
        return Adesk::kTrue;
    }
    AcDbEntity* entity() const override { return mLine; }
    int updates = 0;

private:
    AcDbLine* mLine;
    AcGePoint3d mCurrent;
};

class Jig : public HostFixture {
protected:
    struct Outcome {
        AcEdJig::DragStatus status = AcEdJig::kCancel;
        AcGePoint3d end;
        int updates = 0;
        std::wstring keyword;
    };
    void SetUp() override
    {
        HostFixture::SetUp();
        defineCommand(L"DRAGIT", [this] {
            auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
            LineEndJig jig(line);
            jig.setDispPrompt(L"\nSpecify label position [Left/Right]: ");
            jig.setKeywordList(L"Left Right");
            jig.setUserInputControls(mControls);
            mOutcome = Outcome();
            mOutcome.status = jig.drag();
            mOutcome.end = line->endPoint();
            mOutcome.updates = jig.updates;
            if (mOutcome.status >= AcEdJig::kKW1) {
                ACHAR kw[32];
                acedGetInput(kw);
                mOutcome.keyword = kw;
            }
            delete line;
        });
    }
    Outcome drag(
        const std::wstring& script, AcEdJig::UserInputControls controls = AcEdJig::kGovernedByOrthoMode)
    {
        mControls = controls;
        type(L"DRAGIT\n" + script);
        return mOutcome;
    }

private:
    Outcome mOutcome;
    AcEdJig::UserInputControls mControls = AcEdJig::kGovernedByOrthoMode;
};

TEST_F(Jig, MovesUpdateTheEntityAndTheClickAcceptsTheLastPoint)
{
    Outcome o = drag(L"!move 10,0\n!move 10,0\n!move -5,3\n20,20\n");
    EXPECT_EQ(AcEdJig::kNormal, o.status);
    EXPECT_DOUBLE_EQ(20.0, o.end.x);
    EXPECT_DOUBLE_EQ(20.0, o.end.y);
    // The repeated position brought no update: three samples changed something.
    EXPECT_EQ(3, o.updates);
}

TEST_F(Jig, EnterEscapeAndKeywordsEndTheDrag)
{
    EXPECT_EQ(AcEdJig::kCancel, drag(L"!move 3,3\n^C\n").status);
    Outcome kw = drag(L"r\n");
    EXPECT_EQ(AcEdJig::kKW2, kw.status);
    EXPECT_EQ(L"Right", kw.keyword);
    EXPECT_EQ(AcEdJig::kNull, drag(L"\n", AcEdJig::kNullResponseAccepted).status);
    // Without kNullResponseAccepted an Enter is ignored and the drag goes on.
    EXPECT_EQ(AcEdJig::kNormal, drag(L"\n5,5\n").status);
}

TEST_F(Jig, DragPointsAreWorldCoordinatesWhateverTheUcs)
{
    type(L"UCS\n100,0\n\n");
    Outcome o = drag(L"10,0\n");
    EXPECT_DOUBLE_EQ(110.0, o.end.x);
}

} // namespace
} // namespace planroad::test
