// The annotation layer rule: every option value, the entity-type lookup through bzlayer.ini, and the
// option created on first read.
#include <filesystem>
#include <fstream>

#include "AnnotationLayer.h"
#include "CustomParameterStore.h"
#include "DrawingToolkit.h"
#include "ExtendedDataLibrary.h"
#include "LinkedModule.h"
#include "text/Utf8.h"

namespace planroad::test {
namespace {

namespace fs = std::filesystem;

class AnnotationLayerTest : public LinkedModuleFixture {
protected:
    void adjustOptions(arxhost::SessionOptions& options) override
    {
        mRoot = fs::temp_directory_path() / ("planroad-annotlayer-" + std::to_string(::getpid()));
        fs::remove_all(mRoot);
        fs::create_directories(mRoot / "common");
        if (mWriteIni) {
            std::ofstream ini(mRoot / "common" / "bzlayer.ini", std::ios::binary);
            ini << "; annotation layers by entity type\n"
                   "[ENT_TYPE]\n"
                   "FAPP_DLZX=道路中线\n"
                   "FAPP_DLYQJ=道路圆角\n"
                   "[FAPP_DLZX]\n"
                   "RAD=中线标注层\n"
                   "[FAPP_DLYQJ]\n"
                   "RAD=圆角标注层\n"
                   "DIM=未配置的参数\n";
        }
        options.configRoot = mRoot;
    }
    void SetUp() override
    {
        LinkedModuleFixture::SetUp();
        addLayer(L"A");
        LAYERPARAM centre;
        centre.strName = L"ZX-BZ";
        TarnDB::qvSetLayerParam(L"中线标注层", centre);
        LAYERPARAM corner;
        corner.strName = L"YQJ-BZ";
        TarnDB::qvSetLayerParam(L"圆角标注层", corner);
    }
    void TearDown() override
    {
        LinkedModuleFixture::TearDown();
        fs::remove_all(mRoot);
    }

    AcDbObjectId lineOnA(std::initializer_list<const wchar_t*> apps = {})
    {
        auto* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0));
        line->setLayer(L"A");
        const AcDbObjectId id = add(line);
        for (const wchar_t* app : apps)
            ARX_DATA::CFSimpleXData::SetTo(id, app, L"x");
        return id;
    }
    static void setOption(const wchar_t* value)
    {
        OTHERPARAM param;
        param.strValue = value;
        param.nCode1 = 5001;
        TarnDB::qvGetCustomDatabase()->SetOtherCustomParam(L"面向实体标注图层选项", &param);
    }
    static bool layerExists(const wchar_t* name) { return !tarn::ent::GetLayer(name).isNull(); }

    fs::path mRoot;
    bool mWriteIni = true;
};

TEST_F(AnnotationLayerTest, OptionsByValueAndCategory)
{
    addLayer(L"当前层");
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"CLAYER", CString(L"当前层")));
    struct Case {
        const wchar_t* option;
        const wchar_t* category;
        const wchar_t* layer;
    };
    const Case cases[] = {
        {L"1", L"RAD", L"当前层"},
        {L"0.95", L"RAD", L"当前层"}, // within 0.1 of 1
        {L"2", L"RAD", L"A"},
        {L"3", L"RAD", L"A-BZ"},
        {L"3.5", L"RAD", L"A-BZ-QJ"},
        {L"3.45", L"rad", L"A-BZ-QJ"}, // 3.5 by tolerance; category without regard to case
        {L"3.5", L"DIM", L"A-BZ-KD"},
        {L"3.5", L"COR", L"A-BZ-ZB"},
        {L"3.5", L"TXT", L"A-BZ-WZ"},
        {L"3.5", L"OTHER", L"A-BZ"},
        {L"0.5", L"RAD", L""}, // between options
        {L"4", L"RAD", L""}, // no fixed layer is ever assigned
        {L"7", L"RAD", L""},
    };
    const AcDbObjectId line = lineOnA();
    for (const Case& c : cases) {
        setOption(c.option);
        SetAnnotCategory(c.category);
        EXPECT_EQ(std::wstring(c.layer), std::wstring(GetAnnotationLayer(line).GetString()))
            << "option " << arxhost::toUtf8(c.option) << ", category " << arxhost::toUtf8(c.category);
    }
}

TEST_F(AnnotationLayerTest, SuffixLayersAreCreatedOthersAreNot)
{
    const AcDbObjectId line = lineOnA();
    SetAnnotCategory(L"RAD");
    setOption(L"2");
    GetAnnotationLayer(line);
    EXPECT_FALSE(layerExists(L"A-BZ"));
    setOption(L"3");
    EXPECT_EQ(CString(L"A-BZ"), GetAnnotationLayer(line));
    EXPECT_TRUE(layerExists(L"A-BZ"));
    setOption(L"3.5");
    EXPECT_EQ(CString(L"A-BZ-QJ"), GetAnnotationLayer(line));
    EXPECT_TRUE(layerExists(L"A-BZ-QJ"));
}

TEST_F(AnnotationLayerTest, FixedLayerOfOptionFourIsCreatedWhenSet)
{
    const AcDbObjectId line = lineOnA();
    setOption(L"4");
    GetAnnotLayerState()->annotFixedLayer = L"固定标注层";
    EXPECT_EQ(CString(L"固定标注层"), GetAnnotationLayer(line));
    EXPECT_TRUE(layerExists(L"固定标注层"));
}

TEST_F(AnnotationLayerTest, OptionZeroGoesByTheFirstListedEntityType)
{
    setOption(L"0");
    SetAnnotCategory(L"RAD");
    EXPECT_EQ(CString(L"YQJ-BZ"), GetAnnotationLayer(lineOnA({L"FAPP_DLYQJ"})));
    // Carrying both, the entity takes the type listed first in ENT_TYPE, whatever order it carries them in.
    EXPECT_EQ(CString(L"ZX-BZ"), GetAnnotationLayer(lineOnA({L"FAPP_DLYQJ", L"FAPP_DLZX"})));
    // No listed type: the entity's own layer.
    EXPECT_EQ(CString(L"A"), GetAnnotationLayer(lineOnA({L"FAPP_OTHER"})));
    // A listed type without an entry for the category: the entity's own layer.
    SetAnnotCategory(L"TXT");
    EXPECT_EQ(CString(L"A"), GetAnnotationLayer(lineOnA({L"FAPP_DLYQJ"})));
    EXPECT_FALSE(layerExists(L"YQJ-BZ-QJ"));
}

TEST_F(AnnotationLayerTest, EntryNamingAMissingParameterGivesTheRecordsPreparedName)
{
    setOption(L"0");
    SetAnnotCategory(L"DIM");
    // The store has no "未配置的参数": the record keeps the layer name it was prepared with.
    EXPECT_EQ(CString(L"0"), GetAnnotationLayer(lineOnA({L"FAPP_DLYQJ"})));
}

TEST_F(AnnotationLayerTest, MissingOptionIsCreatedAsZero)
{
    TarnDB::CCustomDatabase* store = TarnDB::qvGetCustomDatabase();
    OTHERPARAM before;
    ASSERT_EQ(0, store->GetOtherCustomParam(L"面向实体标注图层选项", &before));
    SetAnnotCategory(L"RAD");
    EXPECT_EQ(CString(L"YQJ-BZ"), GetAnnotationLayer(lineOnA({L"FAPP_DLYQJ"})));
    OTHERPARAM after;
    ASSERT_EQ(1, store->GetOtherCustomParam(L"面向实体标注图层选项", &after));
    EXPECT_EQ(CString(L"0.0"), after.strValue);
    EXPECT_EQ(5001, after.nCode1);
    EXPECT_EQ(512, after.nCode2);
}

TEST_F(AnnotationLayerTest, NoLayerForAMissingOrErasedEntity)
{
    setOption(L"2");
    EXPECT_TRUE(GetAnnotationLayer(AcDbObjectId::kNull).IsEmpty());
    const AcDbObjectId line = lineOnA();
    ASSERT_EQ(1, tarn::ent::Erase(line));
    EXPECT_TRUE(GetAnnotationLayer(line).IsEmpty());
}

class AnnotationLayerWithoutIniTest : public AnnotationLayerTest {
protected:
    AnnotationLayerWithoutIniTest() { mWriteIni = false; }
};

TEST_F(AnnotationLayerWithoutIniTest, OptionZeroFallsBackToTheEntitysLayer)
{
    setOption(L"0");
    SetAnnotCategory(L"RAD");
    EXPECT_EQ(CString(L"A"), GetAnnotationLayer(lineOnA({L"FAPP_DLYQJ"})));
    EXPECT_EQ(0, LoadBzLayerIni());
    EXPECT_EQ(0, LoadAnnotEntTypes());
    CString layer = L"unchanged";
    EXPECT_EQ(0, GetLayerOfEntType(L"FAPP_DLYQJ", L"RAD", layer));
}

TEST_F(AnnotationLayerTest, EntTypeLookupRejectsEmptyArguments)
{
    CString layer = L"unchanged";
    EXPECT_EQ(0, GetLayerOfEntType(L"", L"RAD", layer));
    EXPECT_EQ(0, GetLayerOfEntType(L"FAPP_DLYQJ", L"", layer));
    EXPECT_EQ(CString(L"unchanged"), layer);
    EXPECT_EQ(1, GetLayerOfEntType(L"FAPP_DLYQJ", L"RAD", layer));
    EXPECT_EQ(CString(L"YQJ-BZ"), layer);
    EXPECT_EQ(1, LoadAnnotEntTypes());
    ASSERT_EQ(2, GetAnnotLayerState()->annotEntTypes.GetSize());
    EXPECT_EQ(CString(L"FAPP_DLZX"), GetAnnotLayerState()->annotEntTypes[0]);
}

} // namespace
} // namespace planroad::test
