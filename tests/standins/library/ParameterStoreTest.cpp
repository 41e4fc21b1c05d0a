// The custom parameter store: records kept in the drawing, saved and reopened, one store per drawing.
#include "CustomParameterStore.h"
#include "HostFixture.h"
#include "LibraryTestSupport.h"
#include "dbdict.h"
#include "dbobjptr.h"
#include "dbxrecrd.h"

namespace planroad::test {
namespace {

using namespace TarnDB;

class ParameterStore : public HostFixture {
protected:
    CCustomDatabase& store() { return *qvGetCustomDatabase(&db()); }

    // The XRECORD groups of the entry store/kind/key, as (code, text) pairs; empty when missing.
    static std::vector<std::pair<int, std::wstring>> groups(
        AcDbDatabase& drawing, const wchar_t* kind, const wchar_t* key)
    {
        std::vector<std::pair<int, std::wstring>> out;
        AcDbObjectId id = drawing.namedObjectsDictionaryId();
        for (const wchar_t* name : {L"QV_CUSTOM_PARAMS", kind, key}) {
            AcDbObjectPointer<AcDbDictionary> dictionary(id, AcDb::kForRead);
            if (dictionary.openStatus() != Acad::eOk || dictionary->getAt(name, id) != Acad::eOk)
                return out;
        }
        AcDbObjectPointer<AcDbXrecord> record(id, AcDb::kForRead);
        resbuf* chain = nullptr;
        if (record.openStatus() != Acad::eOk || record->rbChain(&chain) != Acad::eOk)
            return out;
        for (const resbuf* rb = chain; rb != nullptr; rb = rb->rbnext) {
            std::wstring value;
            switch (rb->restype) {
            case 40:
                value = std::to_wstring(rb->resval.rreal);
                break;
            case 62:
                value = std::to_wstring(rb->resval.rint);
                break;
            case 90:
                value = std::to_wstring(rb->resval.rlong);
                break;
            default:
                value = rb->resval.rstring;
            }
            out.emplace_back(rb->restype, value);
        }
        acutRelRb(chain);
        return out;
    }

    static bool hasStore(AcDbDatabase& drawing)
    {
        AcDbObjectPointer<AcDbDictionary> named(drawing.namedObjectsDictionaryId(), AcDb::kForRead);
        return named->has(L"QV_CUSTOM_PARAMS");
    }
};

TEST_F(ParameterStore, EveryRecordTypeComesBackFromASavedDrawingUnderChineseKeys)
{
    OTHERPARAM other;
    other.strValue = L"3.5";
    other.nCode1 = 5001;
    other.nCode2 = 512;
    ASSERT_EQ(1, store().SetOtherCustomParam(L"面向实体标注图层选项", &other));
    TEXTPARAM text;
    text.dHeight = 2.5;
    text.strTextStyle = L"汉字标注";
    text.nColor = 3;
    text.strLayer = L"DL-道路圆角标注";
    text.strLineType = L"CONTINUOUS";
    ASSERT_EQ(1, store().SetTextCustomParam(L"道路圆角半径标注字符", &text));
    LAYERPARAM layer;
    layer.strName = L"DL-道路中线";
    layer.nColor = 1;
    layer.strLineType = L"CENTER";
    ASSERT_EQ(1, qvSetLayerParam(L"道路中线层", layer, &store()));
    LAYERPARAM2013EX annotation;
    annotation.strName = L"DL-道路曲线要素标注";
    annotation.nColor = 2;
    annotation.strTextStyle = L"坐标标注";
    annotation.dTextHeight = 4.0;
    ASSERT_EQ(1, qvSetLayerParam(L"FL_BZ_DLQXYS", annotation, 0, 1, 1, &store()));

    std::unique_ptr<AcDbDatabase> reopened = savedAndReadBack(db());
    CCustomDatabase* again = qvGetCustomDatabase(reopened.get());
    ASSERT_NE(nullptr, again);
    ASSERT_NE(&store(), again);

    OTHERPARAM otherBack;
    ASSERT_EQ(1, again->GetOtherCustomParam(L"面向实体标注图层选项", &otherBack));
    EXPECT_EQ(CString(L"3.5"), otherBack.strValue);
    EXPECT_EQ(5001, otherBack.nCode1);
    EXPECT_EQ(512, otherBack.nCode2);
    TEXTPARAM textBack;
    ASSERT_EQ(1, qvGetTextParam(L"道路圆角半径标注字符", textBack, again));
    EXPECT_DOUBLE_EQ(2.5, textBack.dHeight);
    EXPECT_EQ(CString(L"汉字标注"), textBack.strTextStyle);
    EXPECT_EQ(3, textBack.nColor);
    EXPECT_EQ(CString(L"DL-道路圆角标注"), textBack.strLayer);
    EXPECT_EQ(CString(L"CONTINUOUS"), textBack.strLineType);
    LAYERPARAM layerBack;
    ASSERT_EQ(1, qvGetLayerParam(L"道路中线层", layerBack, again));
    EXPECT_EQ(CString(L"DL-道路中线"), layerBack.strName);
    EXPECT_EQ(1, layerBack.nColor);
    EXPECT_EQ(CString(L"CENTER"), layerBack.strLineType);
    LAYERPARAM2013EX annotationBack;
    ASSERT_EQ(1, qvGetLayerParam(L"FL_BZ_DLQXYS", annotationBack, 0, 1, 1, again));
    EXPECT_EQ(CString(L"DL-道路曲线要素标注"), annotationBack.strName);
    EXPECT_EQ(2, annotationBack.nColor);
    EXPECT_EQ(CString(L"坐标标注"), annotationBack.strTextStyle);
    EXPECT_DOUBLE_EQ(4.0, annotationBack.dTextHeight);

    // The layout other programs read: one XRECORD per key in the kind's dictionary.
    using Groups = std::vector<std::pair<int, std::wstring>>;
    EXPECT_EQ((Groups {{1, L"3.5"}, {90, L"5001"}, {90, L"512"}}),
        groups(*reopened, L"OTHER", L"面向实体标注图层选项"));
    EXPECT_EQ((Groups {{40, L"2.500000"}, {7, L"汉字标注"}, {62, L"3"}, {8, L"DL-道路圆角标注"},
                  {6, L"CONTINUOUS"}}),
        groups(*reopened, L"TEXT", L"道路圆角半径标注字符"));
    EXPECT_EQ((Groups {{8, L"DL-道路中线"}, {62, L"1"}, {6, L"CENTER"}}),
        groups(*reopened, L"LAYER", L"道路中线层"));
    EXPECT_EQ((Groups {{8, L"DL-道路曲线要素标注"}, {62, L"2"}, {6, L"CONTINUOUS"}, {7, L"坐标标注"},
                  {40, L"4.000000"}}),
        groups(*reopened, L"LAYER", L"FL_BZ_DLQXYS"));
}

TEST_F(ParameterStore, AReadThatFindsNothingLeavesTheRecordAsPreparedAndCreatesNothing)
{
    // Once in a drawing without a store, once in one whose store holds other keys.
    for (bool storeExists : {false, true}) {
        SCOPED_TRACE(storeExists ? "store exists" : "no store yet");
        if (storeExists) {
            OTHERPARAM seed;
            store().SetOtherCustomParam(L"其他", &seed);
            TEXTPARAM seedText;
            store().SetTextCustomParam(L"其他", &seedText);
            LAYERPARAM seedLayer;
            qvSetLayerParam(L"其他", seedLayer, &store());
        }
        OTHERPARAM other;
        other.strValue = L"prepared";
        other.nCode1 = 5001;
        other.nCode2 = 2;
        EXPECT_EQ(0, store().GetOtherCustomParam(L"缺少的键", &other));
        EXPECT_EQ(CString(L"prepared"), other.strValue);
        EXPECT_EQ(5001, other.nCode1);
        EXPECT_EQ(2, other.nCode2);

        TEXTPARAM text;
        text.dHeight = 7.0;
        text.strTextStyle = L"$仿宋";
        EXPECT_EQ(0, qvGetTextParam(L"缺少的键", text, &store()));
        EXPECT_DOUBLE_EQ(7.0, text.dHeight);
        EXPECT_EQ(CString(L"$仿宋"), text.strTextStyle);

        LAYERPARAM layer;
        layer.strName = L"prepared";
        EXPECT_EQ(0, qvGetLayerParam(L"缺少的键", layer, &store()));
        EXPECT_EQ(CString(L"prepared"), layer.strName);

        LAYERPARAM2013EX annotation;
        annotation.strName = L"prepared";
        annotation.dTextHeight = 9.0;
        EXPECT_EQ(0, qvGetLayerParam(L"缺少的键", annotation, 0, 1, 1, &store()));
        EXPECT_EQ(CString(L"prepared"), annotation.strName);
        EXPECT_DOUBLE_EQ(9.0, annotation.dTextHeight);

        EXPECT_EQ(storeExists, hasStore(db()));
    }
}

TEST_F(ParameterStore, EachDrawingHasItsOwnStoreAndTheCurrentOneFollowsTheWorkingDrawing)
{
    AcDbDatabase other;
    CCustomDatabase* otherStore = qvGetCustomDatabase(&other);
    ASSERT_NE(otherStore, &store());
    EXPECT_EQ(&store(), qvGetCustomDatabase());
    EXPECT_EQ(&store(), qvGetQvCustomDatabase());

    OTHERPARAM here;
    here.strValue = L"1000";
    OTHERPARAM there;
    there.strValue = L"500";
    store().SetOtherCustomParam(L"绘图比例", &here);
    otherStore->SetOtherCustomParam(L"绘图比例", &there);

    OTHERPARAM read;
    ASSERT_EQ(1, store().GetOtherCustomParam(L"绘图比例", &read));
    EXPECT_EQ(CString(L"1000"), read.strValue);
    ASSERT_EQ(1, otherStore->GetOtherCustomParam(L"绘图比例", &read));
    EXPECT_EQ(CString(L"500"), read.strValue);

    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    services->setWorkingDatabase(&other);
    EXPECT_EQ(otherStore, qvGetCustomDatabase());
    ASSERT_EQ(1, qvGetOtherParam(L"绘图比例", read));
    EXPECT_EQ(CString(L"500"), read.strValue);
    services->setWorkingDatabase(&db());
}

TEST_F(ParameterStore, RewritingAKeyReplacesItsEntry)
{
    for (const wchar_t* value : {L"D:\\导出", L"E:\\成果"}) {
        OTHERPARAM param;
        param.strValue = value;
        ASSERT_EQ(1, store().SetOtherCustomParam(L"导出文件路径", &param));
    }
    OTHERPARAM read;
    ASSERT_EQ(1, store().GetOtherCustomParam(L"导出文件路径", &read));
    EXPECT_EQ(CString(L"E:\\成果"), read.strValue);
    AcDbObjectId id = db().namedObjectsDictionaryId();
    for (const wchar_t* name : {L"QV_CUSTOM_PARAMS", L"OTHER"}) {
        AcDbObjectPointer<AcDbDictionary> dictionary(id, AcDb::kForRead);
        ASSERT_EQ(Acad::eOk, dictionary->getAt(name, id));
    }
    AcDbObjectPointer<AcDbDictionary> others(id, AcDb::kForRead);
    EXPECT_EQ(1u, others->numEntries());
}

TEST_F(ParameterStore, TheLayerExtensionIsKeptWhereAWriteLeavesItOut)
{
    LAYERPARAM2013EX annotation;
    annotation.strName = L"BZ";
    annotation.strTextStyle = L"坐标标注";
    annotation.dTextHeight = 2.0;
    ASSERT_EQ(1, qvSetLayerParam(L"FL_BZ_DLQXYS", annotation, 0, 1, 1, nullptr));

    // The plain record rewrites name, colour and linetype only.
    LAYERPARAM plain;
    plain.strName = L"BZ2";
    ASSERT_EQ(1, qvSetLayerParam(L"FL_BZ_DLQXYS", plain));
    // A write without the style keeps the stored style and takes the new height.
    LAYERPARAM2013EX heightOnly;
    heightOnly.strName = L"BZ3";
    heightOnly.strTextStyle = L"不应写入";
    heightOnly.dTextHeight = 3.5;
    ASSERT_EQ(1, qvSetLayerParam(L"FL_BZ_DLQXYS", heightOnly, 0, 0, 1, nullptr));

    LAYERPARAM2013EX read;
    ASSERT_EQ(1, qvGetLayerParam(L"FL_BZ_DLQXYS", read, 0, 1, 1, nullptr));
    EXPECT_EQ(CString(L"BZ3"), read.strName);
    EXPECT_EQ(CString(L"坐标标注"), read.strTextStyle);
    EXPECT_DOUBLE_EQ(3.5, read.dTextHeight);

    // A read without the extension's flags leaves the caller's text fields alone.
    LAYERPARAM2013EX baseOnly;
    ASSERT_EQ(1, qvGetLayerParam(L"FL_BZ_DLQXYS", baseOnly, 0, 0, 0, nullptr));
    EXPECT_EQ(CString(L"BZ3"), baseOnly.strName);
    EXPECT_EQ(CString(L"Standard"), baseOnly.strTextStyle);
    EXPECT_DOUBLE_EQ(0.0, baseOnly.dTextHeight);

    // A plain layer entry read as extended keeps the caller's text fields.
    qvSetLayerParam(L"道路红线层", plain);
    LAYERPARAM2013EX fromPlain;
    fromPlain.dTextHeight = 6.0;
    ASSERT_EQ(1, qvGetLayerParam(L"道路红线层", fromPlain, 0, 1, 1, nullptr));
    EXPECT_EQ(CString(L"BZ2"), fromPlain.strName);
    EXPECT_EQ(CString(L"Standard"), fromPlain.strTextStyle);
    EXPECT_DOUBLE_EQ(6.0, fromPlain.dTextHeight);
}

TEST_F(ParameterStore, AskingToCreateWritesTheStoreDefaultButNeverTheLayer)
{
    LAYERPARAM preset;
    ASSERT_EQ(1, qvGetDefaultLayerParam(L"FL_BZ_DLYJ", preset));

    LAYERPARAM withoutCreate;
    EXPECT_EQ(0, qvGetLayerParam(L"FL_BZ_DLYJ", withoutCreate, 0, qvGetQvCustomDatabase()));
    EXPECT_EQ(CString(L"0"), withoutCreate.strName);

    LAYERPARAM created;
    ASSERT_EQ(1, qvGetLayerParam(L"FL_BZ_DLYJ", created, 1, qvGetQvCustomDatabase()));
    EXPECT_EQ(preset.strName, created.strName);
    EXPECT_EQ(preset.nColor, created.nColor);
    // Now the drawing has it: a plain read finds it too, and it is saved with the drawing.
    LAYERPARAM plainRead;
    EXPECT_EQ(1, qvGetLayerParam(L"FL_BZ_DLYJ", plainRead));
    EXPECT_EQ(preset.strName, plainRead.strName);
    AcDbObjectPointer<AcDbLayerTable> layers(db().layerTableId(), AcDb::kForRead);
    EXPECT_FALSE(layers->has(preset.strName.GetString()));
    layers.close();

    // A key the store has no default for stays missing.
    LAYERPARAM unknown;
    unknown.strName = L"prepared";
    EXPECT_EQ(0, qvGetLayerParam(L"没有默认值的键", unknown, 1, nullptr));
    EXPECT_EQ(CString(L"prepared"), unknown.strName);
    LAYERPARAM2013EX unknownEx;
    EXPECT_EQ(0, qvGetLayerParam(L"没有默认值的键", unknownEx, 1, 1, 1, nullptr));
}

TEST_F(ParameterStore, TheExportFolderIsRememberedInTheDrawing)
{
    CString folder = L"untouched";
    EXPECT_EQ(0, TarnCad::Fun::FGetVROutFilePath(folder));
    EXPECT_EQ(CString(L"untouched"), folder);
    ASSERT_EQ(1, TarnCad::Fun::FSetVROutFilePath(L"规划/项目/成果"));
    std::unique_ptr<AcDbDatabase> reopened = savedAndReadBack(db());
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    services->setWorkingDatabase(reopened.get());
    EXPECT_EQ(1, TarnCad::Fun::FGetVROutFilePath(folder));
    services->setWorkingDatabase(&db());
    EXPECT_EQ(CString(L"规划/项目/成果"), folder);
    // An empty folder is as good as none.
    TarnCad::Fun::FSetVROutFilePath(L"");
    folder = L"untouched";
    EXPECT_EQ(0, TarnCad::Fun::FGetVROutFilePath(folder));
    EXPECT_EQ(CString(L"untouched"), folder);
}

} // namespace
} // namespace planroad::test
