// The open protocol of database objects and the host's rules around commands.
#include "HostFixture.h"

#include "core/Diagnostics.h"

namespace planroad::test {
namespace {

class OpenProtocol : public HostFixture { };

TEST_F(OpenProtocol, WriteOpenIsExclusive)
{
    AcDbObjectId id = addLine(0, 0, 10, 0);
    AcDbLine* writer = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(writer, id, AcDb::kForWrite));

    AcDbLine* second = nullptr;
    EXPECT_EQ(Acad::eWasOpenForWrite, acdbOpenObject(second, id, AcDb::kForWrite));
    EXPECT_EQ(nullptr, second);
    EXPECT_EQ(Acad::eWasOpenForWrite, acdbOpenObject(second, id, AcDb::kForRead));
    writer->close();

    AcDbLine* reader1 = nullptr;
    AcDbLine* reader2 = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(reader1, id, AcDb::kForRead));
    ASSERT_EQ(Acad::eOk, acdbOpenObject(reader2, id, AcDb::kForRead));
    EXPECT_EQ(Acad::eWasOpenForRead, acdbOpenObject(second, id, AcDb::kForWrite));
    // Upgrading needs the only reader.
    EXPECT_EQ(Acad::eHadMultipleReaders, reader1->upgradeOpen());
    reader2->close();
    EXPECT_EQ(Acad::eOk, reader1->upgradeOpen());
    EXPECT_EQ(Acad::eOk, reader1->setEndPoint(AcGePoint3d(20, 0, 0)));
    reader1->close();

    AcDbLine* check = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(check, id, AcDb::kForRead));
    EXPECT_DOUBLE_EQ(20.0, check->endPoint().x);
    check->close();
}

TEST_F(OpenProtocol, WrongClassIsRefusedAndClosedAgain)
{
    AcDbObjectId id = addLine(0, 0, 1, 1);
    AcDbArc* arc = nullptr;
    EXPECT_EQ(Acad::eNotThatKindOfClass, acdbOpenObject(arc, id, AcDb::kForWrite));
    // The failed typed open must not leave the line open.
    AcDbLine* line = nullptr;
    EXPECT_EQ(Acad::eOk, acdbOpenObject(line, id, AcDb::kForWrite));
    line->close();
}

TEST_F(OpenProtocol, ChangingAnObjectOpenForReadIsAViolation)
{
    AcDbObjectId id = addLine(0, 0, 1, 1);
    AcDbLine* line = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(line, id, AcDb::kForRead));
    EXPECT_THROW(line->setStartPoint(AcGePoint3d(5, 5, 0)), arxhost::RuleViolation);
    line->close();
}

TEST_F(OpenProtocol, ErasedIdsAreValidButNotOpenable)
{
    AcDbObjectId id = addLine(0, 0, 1, 1);
    EXPECT_TRUE(id.isValid());
    EXPECT_FALSE(id.isErased());
    AcDbEntity* entity = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(entity, id, AcDb::kForWrite));
    EXPECT_EQ(Acad::eOk, entity->erase());
    EXPECT_EQ(Acad::eWasErased, entity->erase());
    entity->close();

    EXPECT_TRUE(id.isValid());
    EXPECT_TRUE(id.isErased());
    EXPECT_EQ(Acad::eWasErased, acdbOpenAcDbEntity(entity, id, AcDb::kForRead));
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbEntity(entity, id, AcDb::kForWrite, true));
    EXPECT_EQ(Acad::eOk, entity->erase(false));
    entity->close();
    EXPECT_FALSE(id.isErased());

    AcDbObjectId none;
    EXPECT_TRUE(none.isNull());
    EXPECT_FALSE(none.isValid());
    EXPECT_EQ(Acad::eNullObjectId, acdbOpenAcDbEntity(entity, none, AcDb::kForRead));
}

TEST_F(OpenProtocol, HandlesAreUniqueAndFindTheirObject)
{
    AcDbObjectId a = addLine(0, 0, 1, 0);
    AcDbObjectId b = addLine(0, 0, 2, 0);
    EXPECT_NE(a.handle(), b.handle());
    EXPECT_LT(a.handle(), db().handseed());
    AcDbObjectId found;
    ASSERT_EQ(Acad::eOk, db().getAcDbObjectId(found, false, b.handle()));
    EXPECT_EQ(b, found);
    ads_name name;
    ASSERT_EQ(Acad::eOk, acdbGetAdsName(name, a));
    AcDbObjectId back;
    ASSERT_EQ(Acad::eOk, acdbGetObjectId(back, name));
    EXPECT_EQ(a, back);
}

TEST_F(OpenProtocol, ObjectLeftOpenByACommandIsReported)
{
    AcDbObjectId id = addLine(0, 0, 1, 1);
    defineCommand(L"LEAVEOPEN", [id] {
        AcDbEntity* entity = nullptr;
        acdbOpenAcDbEntity(entity, id, AcDb::kForWrite);
    });
    EXPECT_THROW(type(L"LEAVEOPEN\n"), arxhost::RuleViolation);
    // The host closed it, so the drawing stays usable.
    AcDbEntity* entity = nullptr;
    EXPECT_EQ(Acad::eOk, acdbOpenAcDbEntity(entity, id, AcDb::kForWrite));
    entity->close();
}

TEST_F(OpenProtocol, SelectionSetNotFreedIsReported)
{
    addLine(0, 0, 1, 1);
    defineCommand(L"KEEPSET", [] {
        ads_name ss;
        acedSSGet(L"X", nullptr, nullptr, nullptr, ss);
    });
    EXPECT_THROW(type(L"KEEPSET\n"), arxhost::RuleViolation);
}

} // namespace
} // namespace planroad::test
