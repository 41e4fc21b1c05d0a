// Text of drawings in a code page (GBK, Windows-1252) and in UTF-8: read right, and saved in the bytes each
// version takes.
#include <iconv.h>

#include "DrawingTestSupport.h"

namespace planroad::test {
namespace {

// UTF-8 text in another character set, by glibc's iconv (independent of the reader's own tables).
std::string convert(std::string_view utf8, const char* charset)
{
    iconv_t cd = iconv_open(charset, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return "";
    std::string out(utf8.size() * 4, '\0');
    char* in = const_cast<char*>(utf8.data());
    std::size_t inLeft = utf8.size();
    char* to = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(cd, &in, &inLeft, &to, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1))
        return "";
    out.resize(out.size() - outLeft);
    return out;
}

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

// A small drawing of one version and code page: a layer, an application, a TEXT on the layer with extended
// data, in UTF-8: the caller converts the whole to the code page (the structure is ASCII).
std::string smallDrawing(std::string_view acadVer, std::string_view codePage, std::string_view layer,
    std::string_view app, std::string_view text, std::string_view data)
{
    std::string out;
    auto line = [&out](std::string_view code, std::string_view value) {
        out.append(code).append("\r\n").append(value).append("\r\n");
    };
    line("  0", "SECTION");
    line("  2", "HEADER");
    line("  9", "$ACADVER");
    line("  1", acadVer);
    line("  9", "$DWGCODEPAGE");
    line("  3", codePage);
    line("  9", "$HANDSEED");
    line("  5", "100");
    line("  0", "ENDSEC");
    line("  0", "SECTION");
    line("  2", "TABLES");
    for (auto [table, tableHandle, handle, name] :
        {std::array<std::string_view, 4> {"LAYER", "1", "10", layer},
            std::array<std::string_view, 4> {"APPID", "2", "11", app}}) {
        line("  0", "TABLE");
        line("  2", table);
        line("  5", tableHandle);
        line(" 70", "1");
        line("  0", table);
        line("  5", handle);
        line("  2", name);
        line(" 70", "0");
        line("  0", "ENDTAB");
    }
    line("  0", "ENDSEC");
    line("  0", "SECTION");
    line("  2", "ENTITIES");
    line("  0", "TEXT");
    line("  5", "20");
    line("  8", layer);
    line(" 10", "1.0");
    line(" 20", "2.0");
    line(" 30", "0.0");
    line(" 40", "3.5");
    line("  1", text);
    line("1001", app);
    line("1000", data);
    line("  0", "ENDSEC");
    line("  0", "EOF");
    return out;
}

struct Encoding {
    const char* name;
    const char* acadVer;
    const char* codePage;
    const char* charset; // iconv's name of the code page
    dxf::Version ownVersion;
    // The strings as UTF-8 and as the host sees them; the text ends in a character the code page lacks,
    // written as a \U+ escape.
    const char* layer;
    const wchar_t* layerText;
    const char* app;
    const wchar_t* appText;
    const char* text;
    const char* escape;
    const char* escaped; // the escaped character in UTF-8
    const wchar_t* textText;
    const char* data;
    const wchar_t* dataText;
};

const Encoding kEncodings[] = {
    {"Gbk", "AC1018", "ANSI_936", "GBK", dxf::Version::R2004, "道路中线", L"道路中线", "道路数据",
        L"道路数据", "人民路", "\\U+05D0", "\u05D0", L"人民路\u05D0", "城市主干道", L"城市主干道"},
    {"Windows1252", "AC1015", "ANSI_1252", "CP1252", dxf::Version::R2000, "Straße", L"Straße", "ÉTUDE",
        L"ÉTUDE", "café crème", "\\U+4E2D", "\u4E2D", L"café crème\u4E2D", "€ 12,50", L"€ 12,50"},
};

void PrintTo(const Encoding& encoding, std::ostream* out)
{
    *out << encoding.name;
}

class CodePage : public ::testing::TestWithParam<Encoding> {
protected:
    void SetUp() override
    {
        const Encoding& e = GetParam();
        const std::string utf8
            = smallDrawing(e.acadVer, e.codePage, e.layer, e.app, std::string(e.text) + e.escape, e.data);
        mFile = convert(utf8, e.charset);
        ASSERT_FALSE(mFile.empty()) << "iconv cannot make " << e.charset;
        ASSERT_NE(utf8, mFile) << "the fixture holds no byte of the code page";
    }
    std::string bytes(const char* utf8) const { return convert(utf8, GetParam().charset); }

    std::string mFile;
};

TEST_P(CodePage, ReadsTheCharactersTheBytesStandFor)
{
    const Encoding& e = GetParam();
    std::unique_ptr<AcDbDatabase> db;
    ASSERT_NO_THROW(db = dxf::readDrawing(mFile));
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(model, db->modelSpaceId(), AcDb::kForRead));
    ASSERT_EQ(1u, model->hostEntityIds().size());
    const AcDbObjectId textId = model->hostEntityIds().front();
    model->close();

    AcDbObjectPointer<AcDbText> text(textId, AcDb::kForRead);
    ASSERT_EQ(Acad::eOk, text.openStatus());
    EXPECT_EQ(std::wstring(e.textText), text->textStringConst());
    EXPECT_EQ(std::wstring(e.layerText), nameOf(text->layerId()));
    resbuf* data = text->xData(e.appText);
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(std::wstring(e.appText), data->resval.rstring);
    ASSERT_NE(nullptr, data->rbnext);
    EXPECT_EQ(std::wstring(e.dataText), data->rbnext->resval.rstring);
    acutRelRb(data);
}

TEST_P(CodePage, SavedInItsOwnVersionTheBytesAreThoseOfTheCodePage)
{
    const Encoding& e = GetParam();
    std::unique_ptr<AcDbDatabase> db = dxf::readDrawing(mFile);
    const std::string saved = drawingText(*db, e.ownVersion);
    EXPECT_TRUE(contains(saved, std::string("$DWGCODEPAGE\r\n  3\r\n") + e.codePage + "\r\n"));
    // Each string exactly as the input had it, the escape included.
    for (const std::string& value : {bytes(e.layer), bytes(e.app), bytes(e.text) + e.escape, bytes(e.data)})
        EXPECT_TRUE(contains(saved, "\r\n" + value + "\r\n")) << value;
    for (const char* utf8 : {e.layer, e.data})
        EXPECT_FALSE(contains(saved, utf8)) << "UTF-8 in a " << e.codePage << " file";
}

TEST_P(CodePage, SavedAsR2010TheTextIsUtf8)
{
    const Encoding& e = GetParam();
    std::unique_ptr<AcDbDatabase> db = dxf::readDrawing(mFile);
    const std::string saved = drawingText(*db, dxf::Version::R2010);
    for (const std::string& value :
        {std::string(e.layer), std::string(e.app), std::string(e.text) + e.escaped, std::string(e.data)})
        EXPECT_TRUE(contains(saved, "\r\n" + value + "\r\n")) << value;
    EXPECT_FALSE(contains(saved, e.escape)) << "the character has no escape in UTF-8";
    EXPECT_FALSE(contains(saved, bytes(e.layer)));

    // And it reads back the same.
    std::unique_ptr<AcDbDatabase> back = dxf::readDrawing(saved);
    AcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(model, back->modelSpaceId(), AcDb::kForRead));
    AcDbObjectPointer<AcDbText> text(model->hostEntityIds().front(), AcDb::kForRead);
    model->close();
    ASSERT_EQ(Acad::eOk, text.openStatus());
    EXPECT_EQ(std::wstring(e.textText), text->textStringConst());
}

INSTANTIATE_TEST_SUITE_P(Drawings, CodePage, ::testing::ValuesIn(kEncodings),
    [](const ::testing::TestParamInfo<Encoding>& encoding) { return std::string(encoding.param.name); });

TEST(CodePageName, UnknownBeforeR2007IsAnErrorNamingItsLine)
{
    const std::string file = smallDrawing("AC1018", "ANSI_9999", "0", "APP", "text", "data");
    const std::string message = drawingReadError(file);
    EXPECT_EQ(0u, message.rfind("line 11: ", 0)) << message;
    EXPECT_TRUE(contains(message, "unknown code page 'ANSI_9999'")) << message;
}

TEST(CodePageName, UnknownFromR2007OnDoesNotMatterForUtf8Text)
{
    const std::string file = smallDrawing("AC1021", "ANSI_9999", "道路", "APP", "人民路", "data");
    std::unique_ptr<AcDbDatabase> db;
    ASSERT_NO_THROW(db = dxf::readDrawing(file));
    AcDbLayerTable* layers = nullptr;
    ASSERT_EQ(Acad::eOk, db->getLayerTable(layers, AcDb::kForRead));
    EXPECT_TRUE(layers->has(L"道路"));
    layers->close();
}

} // namespace
} // namespace planroad::test
