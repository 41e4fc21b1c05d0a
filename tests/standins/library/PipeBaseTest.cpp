// The pipe base library's text access on TEXT and on MTEXT read from a drawing file.
#include "HostFixture.h"
#include "LibraryTestSupport.h"
#include "PipeBaseLibrary.h"
#include "dbobjptr.h"

namespace planroad::test {
namespace {

class PipeBase : public HostFixture {
protected:
    // Opens in the session a new drawing holding one MTEXT with the content given in its group 1
    // and returns the MTEXT's id.
    AcDbObjectId openDrawingWithMtext(const std::string& content)
    {
        const std::string records
            = "  0\nMTEXT\n  5\n3A0\n100\nAcDbEntity\n  8\n0\n100\nAcDbMText\n 10\n1.0\n 20\n5.0\n"
              " 30\n0.0\n 40\n2.5\n 41\n20.0\n 71\n1\n 72\n5\n  1\n"
            + content + "\n  7\nStandard\n";
        AcDbDatabase empty;
        session().openDrawing(
            dxf::readDrawing(withEntities(dxf::writeDrawing(empty), records)), L"mtext.dxf");
        return idOfHandle(0x3A0);
    }
    // The group codes of the content groups (1 and 3) of the first MTEXT in the DXF text.
    static std::vector<int> contentCodes(const std::string& dxfText)
    {
        std::vector<std::string> lines;
        std::istringstream in(dxfText);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line.substr(0, line.find('\r')));
        std::vector<int> codes;
        bool inMtext = false;
        for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
            const int code = std::stoi(lines[i]);
            if (code == 0) {
                if (inMtext)
                    break;
                inMtext = lines[i + 1] == "MTEXT";
            } else if (inMtext && (code == 1 || code == 3)) {
                codes.push_back(code);
            }
        }
        return codes;
    }
    AcDbObjectId idOfHandle(Adesk::UInt64 value)
    {
        AcDbObjectId id;
        EXPECT_EQ(Acad::eOk, db().getAcDbObjectId(id, false, AcDbHandle(value)));
        return id;
    }
    AcDbObjectId reopen(AcDbObjectId id)
    {
        AcDbHandle handle;
        {
            AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
            handle = entity->handle();
        }
        session().openDrawing(savedAndReadBack(db()), L"saved.dxf");
        AcDbObjectId again;
        EXPECT_EQ(Acad::eOk, db().getAcDbObjectId(again, false, handle));
        return again;
    }
};

TEST_F(PipeBase, ATextIsReadAndRewritten)
{
    const AcDbObjectId id = add(new AcDbText(AcGePoint3d(0, 0, 0), L"Q 5.00", AcDbObjectId::kNull, 2.5));
    EXPECT_EQ(CString(L"Q 5.00"), GetTextValue(id));
    ASSERT_EQ(1, ModiText(id, L"FQ5.0"));
    EXPECT_EQ(CString(L"FQ5.0"), GetTextValue(reopen(id)));
}

TEST_F(PipeBase, AnMtextReadsWithoutItsFormattingCodes)
{
    const std::pair<const char*, const wchar_t*> cases[] = {
        {"{\\fSimSun|b0;Q 5.00}", L"Q 5.00"},
        {"\\A1;R-12.00\\PK0+100", L"R-12.00\nK0+100"},
        {"1\\S1^2; \\{x\\}\\\\", L"11/2 {x}\\"},
        {"\\C1;\\L红线\\l\\~宽", L"红线 宽"},
        {"\\U+00B0", L"\u00B0"},
    };
    for (const auto& [content, expected] : cases) {
        SCOPED_TRACE(content);
        EXPECT_EQ(CString(expected), GetTextValue(openDrawingWithMtext(content)));
    }
}

TEST_F(PipeBase, AnMtextIsRewrittenAsPlainContentThatSurvivesASave)
{
    const AcDbObjectId id = openDrawingWithMtext("{\\fSimSun|b0;Q 5.00}");
    ASSERT_EQ(1, ModiText(id, L"FQ7.5 {推荐}\n第二行\\"));
    EXPECT_EQ(CString(L"FQ7.5 {推荐}\n第二行\\"), GetTextValue(id));

    // A text longer than one group goes into 250-character pieces.
    std::wstring longText;
    for (int i = 0; i < 80; ++i)
        longText += L"道路标注";
    ASSERT_EQ(1, ModiText(id, longText.c_str()));
    EXPECT_EQ((std::vector<int> {3, 1}), contentCodes(dxf::writeDrawing(db())));
    EXPECT_EQ(CString(longText.c_str()), GetTextValue(reopen(id)));
}

TEST_F(PipeBase, OtherObjectsHaveNoText)
{
    const AcDbObjectId line = addLine(0, 0, 1, 1);
    EXPECT_TRUE(GetTextValue(line).IsEmpty());
    EXPECT_EQ(0, ModiText(line, L"x"));
    EXPECT_TRUE(GetTextValue(AcDbObjectId::kNull).IsEmpty());
    EXPECT_EQ(0, ModiText(AcDbObjectId::kNull, L"x"));
}

} // namespace
} // namespace planroad::test
