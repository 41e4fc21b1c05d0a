// Extended data through the toolkit: values under an application, and soft links kept across a save.
#include "ToolkitFixture.h"

#include "dxf/drawing/DrawingReader.h"
#include "dxf/drawing/DrawingWriter.h"

namespace planroad::test {
namespace {

const wchar_t* const kLinkKey = L"道路圆角标注";

class ExtendedData : public ToolkitFixture {
protected:
    // The application's data as (code, text or number) pairs, without the 1001 head.
    std::vector<std::pair<short, std::wstring>> raw(AcDbObjectId id, const wchar_t* app)
    {
        std::vector<std::pair<short, std::wstring>> values;
        AcDbObjectPointer<AcDbObject> object(id, AcDb::kForRead);
        resbuf* data = object->xData(app);
        for (const resbuf* rb = data == nullptr ? nullptr : data->rbnext; rb != nullptr; rb = rb->rbnext)
            values.emplace_back(rb->restype,
                rb->restype == 1040 ? std::to_wstring(rb->resval.rreal) : std::wstring(rb->resval.rstring));
        acutRelRb(data);
        return values;
    }
    static std::wstring handleOf(AcDbObjectId id)
    {
        ACHAR text[17] = {};
        id.handle().getIntoAsciiBuffer(text, 17);
        return text;
    }
    static AcDbObjectIdArray idsOf(std::initializer_list<AcDbObjectId> list)
    {
        AcDbObjectIdArray ids;
        for (AcDbObjectId id : list)
            ids.append(id);
        return ids;
    }
};

TEST_F(ExtendedData, ValuesAreStoredUnderARegisteredApplicationAndReplaced)
{
    AcDbObjectId label = addLine(0, 0, 1, 0);
    resbuf* first = acutBuildList(1040, 12.5, RTNONE);
    ASSERT_EQ(1, tarn::dat::AddObjXdata(label, L"DL_ZD_DIM", first));
    acutRelRb(first);
    // A list that names its application is taken too.
    resbuf* second = acutBuildList(1001, L"DL_ZD_DIM", 1040, 7.25, 1000, L"设计", RTNONE);
    ASSERT_EQ(1, tarn::dat::AddObjXdata(label, L"DL_ZD_DIM", second));
    acutRelRb(second);
    const auto values = raw(label, L"DL_ZD_DIM");
    ASSERT_EQ(2u, values.size());
    EXPECT_EQ(1040, values[0].first);
    EXPECT_EQ(std::to_wstring(7.25), values[0].second);
    EXPECT_EQ(L"设计", values[1].second);
    EXPECT_EQ(0, tarn::dat::AddObjXdata(label, L"DL_ZD_DIM", nullptr));
    EXPECT_EQ(0, tarn::dat::AddObjXdata(AcDbObjectId::kNull, L"DL_ZD_DIM", nullptr));
}

TEST_F(ExtendedData, SoftLinksAreAppendedInOrderAndSkipErasedObjects)
{
    AcDbObjectId arc = addArc(0, 0, 12, 0, kPi / 2);
    AcDbObjectId l1 = addText(0, 0, L"R-12.00");
    AcDbObjectId l2 = addText(0, 5, L"R-12.00");
    AcDbObjectId l3 = addText(0, 10, L"R-12.00");
    AcDbObjectIdArray ids;
    EXPECT_EQ(0, tarn::dat::GetSoftIds(arc, kLinkKey, ids));
    for (AcDbObjectId label : {l1, l2, l3, l1})
        ASSERT_EQ(1, tarn::dat::PasteSoftId(arc, kLinkKey, label));
    ASSERT_EQ(1, tarn::dat::GetSoftIds(arc, kLinkKey, ids));
    EXPECT_EQ(idsOf({l1, l2, l3}), ids);
    // The layout: one 1005 handle per link.
    const auto values = raw(arc, kLinkKey);
    ASSERT_EQ(3u, values.size());
    EXPECT_EQ(1005, values[1].first);
    EXPECT_EQ(handleOf(l2), values[1].second);

    tarn::ent::Erase(l2);
    ASSERT_EQ(1, tarn::dat::GetSoftIds(arc, kLinkKey, ids));
    EXPECT_EQ(idsOf({l1, l3}), ids);
    // A new link drops the dead one from the data.
    AcDbObjectId l4 = addText(0, 15, L"R-12.00");
    ASSERT_EQ(1, tarn::dat::PasteSoftId(arc, kLinkKey, l4));
    EXPECT_EQ(3u, raw(arc, kLinkKey).size());
    tarn::ent::Erase(ids);
    ASSERT_EQ(1, tarn::dat::GetSoftIds(arc, kLinkKey, ids));
    EXPECT_EQ(idsOf({l4}), ids);
}

TEST_F(ExtendedData, SoftLinksSurviveADrawingSavedAndReadAgain)
{
    AcDbObjectId cut = addLine(0, 5, 5, 0);
    AcDbObjectId kept = addText(2, 2, L"Q 5.00");
    AcDbObjectId erased = addText(3, 3, L"FQ5.00");
    tarn::dat::PasteSoftId(cut, kLinkKey, kept);
    tarn::dat::PasteSoftId(cut, kLinkKey, erased);
    tarn::ent::Erase(erased);
    const AcDbHandle cutHandle = cut.handle();
    const AcDbHandle keptHandle = kept.handle();

    std::unique_ptr<AcDbDatabase> reread = dxf::readDrawing(dxf::writeDrawing(db()));
    AcDbObjectId cutAgain;
    ASSERT_EQ(Acad::eOk, reread->getAcDbObjectId(cutAgain, false, cutHandle));
    AcDbObjectIdArray ids;
    ASSERT_EQ(1, tarn::dat::GetSoftIds(cutAgain, kLinkKey, ids));
    ASSERT_EQ(1, ids.length());
    EXPECT_EQ(keptHandle, ids[0].handle());
    EXPECT_EQ(reread.get(), ids[0].database());
}

} // namespace
} // namespace planroad::test
