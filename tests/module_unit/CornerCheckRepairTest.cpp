// What the corner-cut check dialog does with its rows: the list of all rows or errors only, the error
// marks, the repair of annotations by the two boxes, and the zoom to a double-clicked row.
#include <string>
#include <vector>

#include "CornerCheckFixture.h"
#include "text/Utf8.h"

namespace planroad::test {
namespace {

// One corner of the drawing every test here starts from, and what the check makes of it.
struct Sample {
    CornerShape shape;
    const wchar_t* text; // null: none
    const wchar_t* recorded; // FD_VIEW, null: none
    bool irregular; // its y red line is missing
    int type;
};

CornerShape at(double x, double widthY = 24.0)
{
    CornerShape shape;
    shape.cutX = x;
    shape.cutY = x;
    shape.widthY = widthY;
    return shape;
}

const Sample kSamples[] = {
    {at(15), L"Q15", nullptr, false, 0},
    {at(17.5), L"Q15", nullptr, false, 2},
    {at(15), L"FQ15", nullptr, false, 3},
    {at(15, 40), L"Q15", nullptr, false, 3},
    {at(17.5), L"Q15", L"15", false, 6},
    {at(16.3), L"Q16.3", nullptr, false, 1},
    {at(16.3), L"Q16.3", L"16.3", false, 7},
    {at(15), nullptr, nullptr, false, 4},
    {at(15), L"Q15", nullptr, true, 5},
    {at(17.5), L"FQ 15", nullptr, false, 2},
};

class CornerCheckDialog : public CornerCheckFixture {
protected:
    void SetUp() override
    {
        CornerCheckFixture::SetUp();
        for (std::size_t i = 0; i < std::size(kSamples); ++i) {
            const Sample& s = kSamples[i];
            mCorners.push_back(corner(AcGePoint2d(1000.0 * static_cast<double>(i), 0), s.shape));
            if (s.recorded != nullptr)
                recordValue(mCorners.back().cut, s.recorded);
            if (s.irregular)
                tarn::ent::Erase(mCorners.back().redY);
            // The text by the irregular cut lies off its area, where it widens the box of cut and text.
            const AcGePoint3d place = s.irregular ? mCorners.back().chordMiddle() + AcGeVector3d(14, 14, 0)
                                                  : mCorners.back().annotationPlace();
            mTexts.push_back(s.text != nullptr ? annotate(s.text, place) : AcDbObjectId::kNull);
        }
    }
    // Runs the check and makes sure it classified the samples as the table says, in drawing order.
    void checkSamples()
    {
        check();
        ASSERT_NE(nullptr, g_pYqjCheckDlg);
        ASSERT_EQ(static_cast<int>(std::size(kSamples)), g_pYqjCheckDlg->m_allRows.GetSize());
        for (std::size_t i = 0; i < std::size(kSamples); ++i) {
            const SYQJINFO& row = g_pYqjCheckDlg->m_allRows[static_cast<int>(i)];
            ASSERT_EQ(mCorners[i].cut, row.idYqj) << "sample " << i;
            ASSERT_EQ(kSamples[i].type, row.nErrType) << "sample " << i;
        }
    }
    std::vector<std::wstring> texts() const
    {
        std::vector<std::wstring> result;
        for (const AcDbObjectId id : mTexts)
            result.push_back(id.isNull() ? L"" : textOf(id));
        return result;
    }
    void restoreTexts()
    {
        for (std::size_t i = 0; i < mTexts.size(); ++i)
            if (!mTexts[i].isNull())
                ModiText(mTexts[i], kSamples[i].text);
    }
    static int errorSamples()
    {
        int count = 0;
        for (const Sample& s : kSamples)
            count += s.type != 0 ? 1 : 0;
        return count;
    }
    // A mark for the cut and one for the text of every error row.
    static std::size_t expectedMarks()
    {
        std::size_t count = 0;
        for (const Sample& s : kSamples)
            if (s.type != 0)
                count += s.type == 4 || s.type == 5 ? 1 : 2;
        return count;
    }
    CListCtrl& list() { return g_pYqjCheckDlg->m_list; }

    std::vector<Corner> mCorners;
    std::vector<AcDbObjectId> mTexts;
};

TEST_F(CornerCheckDialog, TheViewSwitchRefillsTheListAndRedrawsTheMarksOfEveryError)
{
    checkSamples();
    const int all = static_cast<int>(std::size(kSamples));
    EXPECT_EQ(all, list().GetItemCount());
    EXPECT_EQ(expectedMarks(), entitiesOn(kErrorLayer).size());

    type(L"!dialog 102 click 207\n");
    // The samples after the first, in order: number, text, actual and standard value, error.
    const std::vector<std::vector<std::wstring>> errors = {
        {L"1", L"Q15", L"17.5", L"15.0", L"标注错"},
        {L"2", L"FQ15", L"15.0", L"15.0", L"前缀错"},
        {L"3", L"Q15", L"15.0", L"20.0", L"前缀错"},
        {L"4", L"Q15", L"17.5", L"15.0", L"标注错,但标注值与属性值一致"},
        {L"5", L"Q16.3", L"16.3", L"15.0", L"数值错"},
        {L"6", L"Q16.3", L"16.3", L"15.0", L"数值错,但标注值与属性值一致"},
        {L"7", L"", L"15.0", L"15.0", L"无标注"},
        {L"8", L"", L"", L"", L"圆切角不规范"},
        {L"9", L"FQ 15", L"17.5", L"15.0", L"标注错"},
    };
    ASSERT_EQ(static_cast<int>(errors.size()), list().GetItemCount());
    for (int i = 0; i < list().GetItemCount(); ++i) {
        std::vector<std::wstring> shown;
        for (int column = 0; column < 5; ++column)
            shown.emplace_back(list().GetItemText(i, column).GetString());
        EXPECT_EQ(errors[static_cast<std::size_t>(i)], shown) << "row " << i;
    }
    EXPECT_EQ(expectedMarks(), entitiesOn(kErrorLayer).size());

    // A mark erased by hand comes back with the next refill, and none is doubled.
    tarn::ent::Erase(entitiesOn(kErrorLayer).front());
    type(L"!dialog 102 click 206\n");
    EXPECT_EQ(all, list().GetItemCount());
    const std::vector<AcDbObjectId> marks = entitiesOn(kErrorLayer);
    EXPECT_EQ(expectedMarks(), marks.size());
    for (const AcDbObjectId mark : marks)
        EXPECT_EQ(5, colourOf(mark));
    // The rows the list shows in its first columns.
    EXPECT_EQ(CString(L"Q15"), list().GetItemText(0, 1));
    EXPECT_EQ(CString(L"15.0"), list().GetItemText(0, 2));
    EXPECT_EQ(CString(L"15.0"), list().GetItemText(0, 3));
    EXPECT_EQ(CString(L"标注错"), list().GetItemText(1, 4));
    EXPECT_EQ(CString(L"17.5"), list().GetItemText(1, 2));
}

TEST_F(CornerCheckDialog, MarksAreCopiesOfTheErrorCutsAndTextsAndANewRunReplacesThem)
{
    checkSamples();
    std::vector<std::wstring> markedTexts;
    for (const AcDbObjectId mark : entitiesOn(kErrorLayer)) {
        AcDbEntity* entity = nullptr;
        ASSERT_EQ(Acad::eOk, acdbOpenObject(entity, mark, AcDb::kForRead));
        const bool isText = entity->isKindOf(AcDbText::desc());
        entity->close();
        if (isText)
            markedTexts.push_back(textOf(mark));
    }
    EXPECT_EQ((std::vector<std::wstring> {L"Q15", L"FQ15", L"Q15", L"Q15", L"Q16.3", L"Q16.3", L"FQ 15"}),
        markedTexts);
    // The originals stay where they were.
    EXPECT_EQ(std::wstring(L"RED"), tarn::ent::GetEntLayerName(mCorners[1].cut).GetString());
    EXPECT_EQ(std::wstring(L"BZ"), tarn::ent::GetEntLayerName(mTexts[1]).GetString());

    // Corrected annotations leave fewer marks after the next run.
    ModiText(mTexts[1], L"FQ17.5");
    ModiText(mTexts[2], L"Q15");
    check();
    EXPECT_EQ(expectedMarks() - 4, entitiesOn(kErrorLayer).size());
}

TEST_F(CornerCheckDialog, OkRepairsNumbersAndPrefixesAsTheBoxesSayAndNothingElse)
{
    struct Case {
        const char* what;
        bool prefix; // box 210
        bool number; // box 212
        std::vector<std::wstring> texts;
    };
    const Case cases[] = {
        {"both boxes", true, true,
            {L"Q15", L"Q17.5", L"Q15", L"FQ15", L"Q15", L"Q16.3", L"Q16.3", L"", L"Q15", L"FQ17.5"}},
        {"numbers only", false, true,
            {L"Q15", L"Q17.5", L"FQ15", L"Q15", L"Q15", L"Q16.3", L"Q16.3", L"", L"Q15", L"FQ17.5"}},
        {"prefixes only", true, false,
            {L"Q15", L"Q15", L"Q15", L"FQ15", L"Q15", L"Q16.3", L"Q16.3", L"", L"Q15", L"FQ 15"}},
        {"neither", false, false,
            {L"Q15", L"Q15", L"FQ15", L"Q15", L"Q15", L"Q16.3", L"Q16.3", L"", L"Q15", L"FQ 15"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        restoreTexts();
        checkSamples();
        const std::size_t marks = entitiesOn(kErrorLayer).size();
        // The boxes are stored when the host asks the dialog about the focus.
        type(std::wstring(L"!dialog 102 ") + (c.prefix ? L"check" : L"uncheck") + L" 210\n!dialog 102 "
            + (c.number ? L"check" : L"uncheck") + L" 212\n!dialog 102 hover\n!dialog 102 click OK\n");
        EXPECT_EQ(c.texts, texts());
        // The rows, the list and the marks stay until the next check.
        EXPECT_EQ(static_cast<int>(std::size(kSamples)), g_pYqjCheckDlg->m_allRows.GetSize());
        EXPECT_EQ(errorSamples(), g_pYqjCheckDlg->m_errRows.GetSize());
        EXPECT_EQ(marks, entitiesOn(kErrorLayer).size());
        EXPECT_TRUE(g_pYqjCheckDlg->IsWindowVisible());
    }
}

TEST_F(CornerCheckDialog, RepairWorksOnTheErrorsWhateverTheListShows)
{
    checkSamples();
    type(L"!dialog 102 click 206\n!dialog 102 click OK\n");
    EXPECT_EQ(L"Q17.5", textOf(mTexts[1]));
    EXPECT_EQ(L"Q15", textOf(mTexts[2]));
    // Checked again, the repaired corners are no errors any more, except that a corrected number may now
    // want the other prefix: 17.5 is not the standard 15.
    check();
    EXPECT_EQ(3, rowOf(g_pYqjCheckDlg->m_allRows, mCorners[1].cut)->nErrType);
    EXPECT_EQ(CString(L"FQ"), rowOf(g_pYqjCheckDlg->m_allRows, mCorners[1].cut)->strRightPrefix);
    EXPECT_EQ(0, rowOf(g_pYqjCheckDlg->m_allRows, mCorners[2].cut)->nErrType);
    EXPECT_EQ(0, rowOf(g_pYqjCheckDlg->m_allRows, mCorners[3].cut)->nErrType);
    EXPECT_EQ(0, rowOf(g_pYqjCheckDlg->m_allRows, mCorners[9].cut)->nErrType);
    EXPECT_EQ(6, rowOf(g_pYqjCheckDlg->m_allRows, mCorners[4].cut)->nErrType);
}

TEST_F(CornerCheckDialog, TheSelectButtonChecksAgainInPlace)
{
    checkSamples();
    ModiText(mTexts[1], L"FQ17.5");
    type(L"!dialog 102 click 4\nS\nALL\n\n");
    EXPECT_EQ(errorSamples() - 1, g_pYqjCheckDlg->m_errRows.GetSize());
    EXPECT_EQ(expectedMarks() - 2, entitiesOn(kErrorLayer).size());
    EXPECT_TRUE(g_pYqjCheckDlg->IsWindowVisible());
}

TEST_F(CornerCheckDialog, DoubleClickZoomsToTheRowsCutAndAnnotationWithMargins)
{
    checkSamples();
    struct Case {
        const char* what;
        const wchar_t* view; // the radio button clicked first
        int row;
        std::size_t sample;
        bool withText;
    };
    const Case cases[] = {
        {"all rows, first", L"206", 0, 0, true},
        {"all rows, unannotated", L"206", 7, 7, false},
        {"all rows, irregular with a text by it", L"206", 8, 8, false},
        {"errors only, first", L"207", 0, 1, true},
        {"errors only, last", L"207", 8, 9, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        type(L"ZOOM\nE\n");
        type(std::wstring(L"!dialog 102 click ") + c.view + L"\n!dialog 102 dblclick 213 "
            + std::to_wstring(c.row) + L"\n");
        AcDbObjectIdArray ids;
        ids.append(mCorners[c.sample].cut);
        if (c.withText)
            ids.append(mTexts[c.sample]);
        AcGePoint3d low;
        AcGePoint3d high;
        ASSERT_TRUE(tarn::ent::GetSSRect(ids, low, high));
        const AcGePoint3d centre = viewCentre();
        EXPECT_NEAR((low.x + high.x) / 2.0, centre.x, 1e-6);
        EXPECT_NEAR((low.y + high.y) / 2.0, centre.y, 1e-6);
        // 20 above and below the box; the 30 at the sides fit in a view of that height.
        EXPECT_NEAR(high.y - low.y + 40.0, viewSize(), 1e-6);
    }
}

} // namespace
} // namespace planroad::test
