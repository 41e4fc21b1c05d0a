// Undo: every command is one step, and undoing it restores the drawing exactly.
#include "HostFixture.h"

namespace planroad::test {
namespace {

class Undo : public HostFixture {
protected:
    AcGePoint3d endOf(AcDbObjectId id)
    {
        AcDbLine* line = nullptr;
        EXPECT_EQ(Acad::eOk, acdbOpenObject(line, id, AcDb::kForRead, true));
        AcGePoint3d p = line->endPoint();
        line->close();
        return p;
    }
    int count(const wchar_t* mode, const void* p1 = nullptr, const void* p2 = nullptr)
    {
        ads_name ss;
        if (acedSSGet(mode, p1, p2, nullptr, ss) != RTNORM)
            return 0;
        Adesk::Int32 n = 0;
        acedSSLength(ss, &n);
        acedSSFree(ss);
        return n;
    }
};

TEST_F(Undo, UndoRestoresEditedCreatedAndErasedObjectsAndVariables)
{
    AcDbObjectId kept = addLine(0, 0, 10, 0);
    AcDbObjectId doomed = addLine(0, 5, 10, 5);
    AcDbObjectId created;
    defineCommand(L"EDIT", [&] {
        AcDbLine* line = nullptr;
        acdbOpenObject(line, kept, AcDb::kForWrite);
        line->setEndPoint(AcGePoint3d(500, 500, 0));
        line->close();
        AcDbEntity* gone = nullptr;
        acdbOpenAcDbEntity(gone, doomed, AcDb::kForWrite);
        gone->erase();
        gone->close();
        created = add(new AcDbLine(AcGePoint3d(1000, 1000, 0), AcGePoint3d(1001, 1000, 0)));
        db().setDimlfac(1000.0);
        addLayer(L"DL-道路中线");
    });
    type(L"EDIT\n");
    ASSERT_TRUE(doomed.isErased());
    ASSERT_DOUBLE_EQ(1000.0, db().dimlfac());
    ads_point far1 = {400, 400, 0};
    ads_point far2 = {1100, 1100, 0};
    EXPECT_EQ(2, count(L"C", far1, far2));

    type(L"UNDO\n\n");
    EXPECT_TRUE(contains(transcript(), L"\nEDIT"));
    EXPECT_DOUBLE_EQ(10.0, endOf(kept).x);
    EXPECT_FALSE(doomed.isErased());
    EXPECT_TRUE(created.isErased());
    EXPECT_DOUBLE_EQ(1.0, db().dimlfac());
    AcDbLayerTable* layers = nullptr;
    db().getLayerTable(layers, AcDb::kForRead);
    EXPECT_FALSE(layers->has(L"DL-道路中线"));
    layers->close();
    // The spatial index follows: nothing is left where the edited and created lines were.
    EXPECT_EQ(0, count(L"C", far1, far2));
    ads_point near1 = {-1, -1, 0};
    ads_point near2 = {11, 6, 0};
    EXPECT_EQ(2, count(L"W", near1, near2));
}

TEST_F(Undo, EachCommandIsOneStepTakenBackLatestFirst)
{
    AcDbObjectId id = addLine(0, 0, 1, 0);
    defineCommand(L"STRETCH2", [id] {
        AcDbLine* line = nullptr;
        acdbOpenObject(line, id, AcDb::kForWrite);
        line->setEndPoint(AcGePoint3d(line->endPoint().x * 2, 0, 0));
        line->close();
    });
    type(L"STRETCH2\nSTRETCH2\nSTRETCH2\n");
    EXPECT_DOUBLE_EQ(8.0, endOf(id).x);
    type(L"UNDO\n2\n");
    EXPECT_DOUBLE_EQ(2.0, endOf(id).x);
    type(L"U\n");
    EXPECT_DOUBLE_EQ(1.0, endOf(id).x);
    type(L"U\n");
    EXPECT_TRUE(contains(transcript(), L"Everything has been undone"));
}

TEST_F(Undo, UndoFromInsideACommandFirstTakesTheCommandItselfThenThePreviousOne)
{
    AcDbObjectId id = addLine(0, 0, 1, 0);
    defineCommand(L"GROW", [id] {
        AcDbLine* line = nullptr;
        acdbOpenObject(line, id, AcDb::kForWrite);
        line->setEndPoint(AcGePoint3d(50, 0, 0));
        line->close();
    });
    // A command offering "U": the host's UNDO twice with the default answer.
    defineCommand(L"BACK", [] {
        acedCommand(RTSTR, L"UNDO", RTSTR, L"", RTNONE);
        acedCommand(RTSTR, L"UNDO", RTSTR, L"", RTNONE);
    });
    type(L"GROW\n");
    ASSERT_DOUBLE_EQ(50.0, endOf(id).x);
    type(L"BACK\n");
    EXPECT_DOUBLE_EQ(1.0, endOf(id).x);
}

TEST_F(Undo, AcedCommandArgumentsAreEchoedWhenCmdechoIsOn)
{
    defineCommand(L"ZOOMER", [] {
        ads_point a = {0, 0, 0};
        ads_point b = {50, 50, 0};
        EXPECT_EQ(RTNORM, acedCommand(RTSTR, L"ZOOM", RTSTR, L"W", RT3DPOINT, a, RT3DPOINT, b, RTNONE));
        EXPECT_EQ(RTNORM, acedCommand(RTSTR, L"Zoom", RTSTR, L"P", RTNONE));
        // Fewer answers than the command asks for: it is cancelled.
        EXPECT_EQ(RTCAN, acedCommand(RTSTR, L"ZOOM", RTSTR, L"W", RTNONE));
    });
    type(L"ZOOMER\n");
    EXPECT_TRUE(contains(transcript(), L"\nZOOM\nSpecify corner of window"));
    EXPECT_TRUE(contains(transcript(), L"Specify first corner: 0,0,0"));
}

} // namespace
} // namespace planroad::test
