// Groups, anonymous blocks made from entities, entity sets and the drag jig driven by scripted "!move".
#include "ToolkitFixture.h"

namespace planroad::test {
namespace {

class GroupsBlocksJig : public ToolkitFixture {
protected:
    // A label of two lines from the base point, as the stake command builds one in memory.
    static std::unique_ptr<tarn::CEntsGroup> label(const AcGePoint3d& base)
    {
        auto group = std::make_unique<tarn::CEntsGroup>();
        group->SetSize(3, -1);
        group->SetAt(0, new AcDbLine(base, base + AcGeVector3d(10, 0, 0)));
        group->SetAt(2, new AcDbLine(base, base + AcGeVector3d(0, 5, 0)));
        return group;
    }
};

TEST_F(GroupsBlocksJig, AnonymousAndNamedGroups)
{
    AcDbObjectId a = addLine(0, 0, 1, 0);
    AcDbObjectId first;
    AcDbObjectId second;
    ASSERT_EQ(1, tarn::ent::CreateGrp(L"*UPegDim", first));
    ASSERT_EQ(1, tarn::ent::CreateGrp(L"*UPegDim", second));
    EXPECT_NE(first, second);
    EXPECT_EQ(1, tarn::ent::AddToGroup(first, a));
    EXPECT_EQ(0, tarn::ent::AddToGroup(first, AcDbObjectId::kNull));
    {
        AcDbObjectPointer<AcDbGroup> group(first, AcDb::kForRead);
        EXPECT_TRUE(group->isAnonymous());
        EXPECT_EQ(std::wstring(L"*UPegDim"), group->description());
        EXPECT_TRUE(group->has(a));
    }
    AcDbObjectId named;
    ASSERT_EQ(1, tarn::ent::CreateGrp(L"红线组", named));
    EXPECT_EQ(0, tarn::ent::CreateGrp(L"红线组", second));
    AcDbDictionary* groups = nullptr;
    ASSERT_EQ(Acad::eOk, db().getGroupDictionary(groups, AcDb::kForRead));
    EXPECT_TRUE(groups->has(L"红线组"));
    EXPECT_EQ(3u, groups->numEntries());
    groups->close();
}

TEST_F(GroupsBlocksJig, EntitiesBecomeAnAnonymousBlockReferencedInPlace)
{
    AcDbObjectIdArray ids;
    ids.append(addLine(100, 100, 120, 100));
    ids.append(addText(102, 101, L"X=100.00"));
    AcDbObjectId group;
    tarn::ent::CreateGrp(L"*UPegDim", group);
    tarn::ent::AddToGroup(group, ids[0]);
    tarn::ent::AddToGroup(group, ids[1]);
    AcGePoint3d min;
    AcGePoint3d max;
    ASSERT_EQ(1, tarn::ent::GetSSRect(ids, min, max));

    AcDbObjectId block;
    AcDbObjectId reference;
    ASSERT_EQ(0, tarn::ent::CreateBlkAll(ids, L"*U", AcGePoint3d(100, 100, 0), block, reference));
    {
        AcDbObjectPointer<AcDbBlockTableRecord> definition(block, AcDb::kForRead);
        ASSERT_EQ(Acad::eOk, definition.openStatus());
        EXPECT_TRUE(definition->isAnonymous());
        EXPECT_EQ(2u, definition->hostEntityIds().size());
        AcDbObjectPointer<AcDbBlockReference> ref(reference, AcDb::kForRead);
        ASSERT_EQ(Acad::eOk, ref.openStatus());
        EXPECT_EQ(block, ref->blockTableRecord());
        expectNear(AcGePoint3d(100, 100, 0), ref->position());
    }
    // The reference shows the label where it was; the loose entities are gone and the group holds it.
    AcGePoint3d refMin;
    AcGePoint3d refMax;
    ASSERT_EQ(1, tarn::ent::GetEntRect(reference, refMin, refMax));
    expectNear(min, refMin, 1e-9);
    expectNear(max, refMax, 1e-9);
    EXPECT_FALSE(tarn::ent::FIsValidId(ids[0]));
    EXPECT_FALSE(tarn::ent::FIsValidId(ids[1]));
    AcDbObjectPointer<AcDbGroup> members(group, AcDb::kForRead);
    EXPECT_TRUE(members->has(reference));
    members.close();

    AcDbObjectIdArray gone;
    gone.append(ids[0]);
    EXPECT_EQ(1, tarn::ent::CreateBlkAll(gone, L"*U", AcGePoint3d(0, 0, 0), block, reference));
    EXPECT_TRUE(reference.isNull());
}

TEST_F(GroupsBlocksJig, AnEntitySetGoesIntoTheDrawingWithItsEmptySlots)
{
    addLayer(L"道路图例标注");
    tarn::cad::SetSysVar(L"CLAYER", CString(L"道路图例标注"));
    std::unique_ptr<tarn::CEntsGroup> group = label(AcGePoint3d(0, 0, 0));
    EXPECT_EQ(3, group->GetSize());
    EXPECT_EQ(nullptr, group->GetAt(1));
    ASSERT_EQ(1, group->EntsAddToDb());
    EXPECT_EQ(nullptr, group->GetAt(0));
    AcDbObjectIdArray ids;
    group->GetObjIds(ids);
    ASSERT_EQ(3, ids.length());
    EXPECT_TRUE(ids[1].isNull());
    EXPECT_EQ(CString(L"道路图例标注"), tarn::ent::GetEntLayerName(ids[2]));
    // The entities belong to the drawing now: deleting the set leaves them there.
    group.reset();
    EXPECT_DOUBLE_EQ(10.0, tarn::ent::GetCurLen(ids[0]));
}

// The jig's own dragging: the entities follow the cursor, the click places them.
TEST_F(GroupsBlocksJig, TheJigMovesTheSetWithScriptedCursorMoves)
{
    AcEdJig::DragStatus status = AcEdJig::kCancel;
    AcGePoint3d start;
    AcGePoint3d pre;
    AcGePoint3d pos;
    inCommand(
        [&] {
            std::unique_ptr<tarn::CEntsGroup> group = label(AcGePoint3d(10, 10, 0));
            tarn::CEntTransJig jig(group.get(), AcGePoint3d(10, 10, 0));
            jig.setDispPrompt(L"\n输入标注位置:");
            status = jig.drag();
            start = static_cast<AcDbLine*>(group->GetAt(0))->startPoint();
            pre = jig.QueryPrePos();
            pos = jig.QueryPos();
        },
        L"!move 15,15\n!move 40,10\n50,30\n");
    EXPECT_EQ(AcEdJig::kNormal, status);
    expectNear(AcGePoint3d(50, 30, 0), start);
    expectNear(AcGePoint3d(40, 10, 0), pre);
    expectNear(AcGePoint3d(50, 30, 0), pos);
    EXPECT_TRUE(contains(transcript(), L"输入标注位置:"));
}

// Drag mode 1: the callback places the entities; the jig reports each change once, with the user value.
TEST_F(GroupsBlocksJig, TheCallbackPlacesTheSetInDragModeOne)
{
    struct Call {
        AcGePoint3d pre;
        AcGePoint3d pos;
        Adesk::Int64 user;
    };
    static std::vector<Call> calls;
    calls.clear();
    tarn::JIGCALLBACK record = [](AcEdJig* pJig) {
        auto* jig = static_cast<tarn::CEntTransJig*>(pJig);
        if (jig->GetDragMode() != 1)
            return;
        calls.push_back({jig->QueryPrePos(), jig->QueryPos(), jig->GetUserData()});
        // Place the set at the cursor, as the stake command's callback does.
        jig->GetEnt()->TransformBy(AcGeMatrix3d::translation(jig->QueryPos() - jig->QueryPrePos()));
    };
    AcEdJig::DragStatus status = AcEdJig::kNormal;
    AcGePoint3d start;
    inCommand(
        [&] {
            std::unique_ptr<tarn::CEntsGroup> group = label(AcGePoint3d(0, 0, 0));
            tarn::CEntTransJig jig(group.get(), AcGePoint3d(0, 0, 0), 1, 1, record, 0x1234567890LL);
            status = jig.drag();
            start = static_cast<AcDbLine*>(group->GetAt(2))->startPoint();
        },
        // The repeated position and the click on the last one bring no further call.
        L"!move 5,5\n!move 5,5\n!move -20,0\n-20,0\n");
    EXPECT_EQ(AcEdJig::kNormal, status);
    ASSERT_EQ(2u, calls.size());
    expectNear(AcGePoint3d(0, 0, 0), calls[0].pre);
    expectNear(AcGePoint3d(5, 5, 0), calls[0].pos);
    expectNear(AcGePoint3d(5, 5, 0), calls[1].pre);
    expectNear(AcGePoint3d(-20, 0, 0), calls[1].pos);
    EXPECT_EQ(0x1234567890LL, calls[1].user);
    expectNear(AcGePoint3d(-20, 0, 0), start);
}

TEST_F(GroupsBlocksJig, ACancelledDragLeavesNothingInTheDrawing)
{
    AcEdJig::DragStatus status = AcEdJig::kNormal;
    inCommand(
        [&] {
            std::unique_ptr<tarn::CEntsGroup> group = label(AcGePoint3d(0, 0, 0));
            tarn::CEntTransJig jig(group.get(), AcGePoint3d(0, 0, 0));
            status = jig.drag();
        },
        L"!move 5,5\n^C\n");
    EXPECT_EQ(AcEdJig::kCancel, status);
    tarn::CFArxSelSet everything;
    EXPECT_EQ(tarn::CFArxSelSet::kNone, everything.allSelect());
}

} // namespace
} // namespace planroad::test
