// Selection: filters and wildcards through acedSSGet, window and crossing geometry, picks, the prompt.
#include "HostFixture.h"

namespace planroad::test {
namespace {

class Selection : public HostFixture {
protected:
    // Handles of what acedSSGet selects, in order; empty when it returns anything but RTNORM.
    std::vector<AcDbObjectId> select(
        const wchar_t* mode, const void* p1, const void* p2, resbuf* filter, int* status = nullptr)
    {
        ads_name ss;
        int rc = acedSSGet(mode, p1, p2, filter, ss);
        if (filter != nullptr)
            acutRelRb(filter);
        if (status != nullptr)
            *status = rc;
        std::vector<AcDbObjectId> ids;
        if (rc != RTNORM)
            return ids;
        Adesk::Int32 n = 0;
        acedSSLength(ss, &n);
        for (Adesk::Int32 i = 0; i < n; ++i) {
            ads_name ent;
            acedSSName(ss, i, ent);
            AcDbObjectId id;
            acdbGetObjectId(id, ent);
            ids.push_back(id);
        }
        acedSSFree(ss);
        return ids;
    }
    AcDbObjectId addOnLayer(AcDbEntity* entity, const wchar_t* layer)
    {
        entity->setLayer(layer);
        return add(entity);
    }
    AcDbObjectId addText(double x, double y, const wchar_t* text)
    {
        return add(new AcDbText(AcGePoint3d(x, y, 0), text, db().textstyle(), 2.5, 0));
    }
    AcDbObjectId addArc(double cx, double cy, double r, double a0, double a1)
    {
        return add(new AcDbArc(AcGePoint3d(cx, cy, 0), r, a0, a1));
    }
};

TEST_F(Selection, NestedTypeFilterKeepsOnlyTheListedCurves)
{
    AcDbObjectId arc = addArc(0, 0, 5, 0, 1);
    addLine(0, 0, 1, 1);
    auto* pline = new AcDbPolyline();
    pline->addVertexAt(0, AcGePoint2d(0, 0));
    pline->addVertexAt(1, AcGePoint2d(5, 5));
    AcDbObjectId lw = add(pline);
    AcDbObjectId old = add(new AcDb2dPolyline(AcDb::k2dSimplePoly, [] {
        AcGePoint3dArray pts;
        pts.append(AcGePoint3d(0, 0, 0));
        pts.append(AcGePoint3d(3, 0, 0));
        return pts;
    }()));
    addText(0, 0, L"Q 15");

    auto ids = select(L"X", nullptr, nullptr,
        acutBuildList(-4, L"<AND", -4, L"<OR", RTDXF0, L"ARC", RTDXF0, L"LWPOLYLINE", RTDXF0, L"POLYLINE", -4,
            L"OR>", -4, L"AND>", 0));
    EXPECT_EQ((std::vector<AcDbObjectId> {arc, lw, old}), ids);
}

TEST_F(Selection, LayerListsAndWildcardsIgnoreCase)
{
    addLayer(L"DL-道路边线");
    addLayer(L"DL-道路红线");
    addLayer(L"DL-道路中线");
    AcDbObjectId side = addOnLayer(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), L"DL-道路边线");
    AcDbObjectId red = addOnLayer(new AcDbLine(AcGePoint3d(0, 1, 0), AcGePoint3d(1, 1, 0)), L"DL-道路红线");
    addOnLayer(new AcDbLine(AcGePoint3d(0, 2, 0), AcGePoint3d(1, 2, 0)), L"DL-道路中线");
    EXPECT_EQ((std::vector<AcDbObjectId> {side, red}),
        select(L"X", nullptr, nullptr, acutBuildList(8, L"dl-道路边线,DL-道路红线", 0)));
    EXPECT_EQ(3u, select(L"X", nullptr, nullptr, acutBuildList(8, L"DL-*", 0)).size());
    EXPECT_EQ(1u, select(L"X", nullptr, nullptr, acutBuildList(8, L"~DL-道路[边红]线", 0)).size());
}

TEST_F(Selection, TextFilterFindsCornerCutLabels)
{
    AcDbObjectId q = addText(0, 0, L"Q 15");
    AcDbObjectId fq = addText(0, 10, L"FQ12.50");
    AcDbObjectId lower = addText(0, 20, L"q5");
    addText(0, 30, L"R-12.00");
    auto ids = select(L"X", nullptr, nullptr, acutBuildList(RTDXF0, L"TEXT", 1, L"*Q*,*FQ*", 0));
    EXPECT_EQ((std::vector<AcDbObjectId> {q, fq, lower}), ids);
}

TEST_F(Selection, ExtendedDataApplicationFilter)
{
    acdbRegApp(L"FAPP_DLZX");
    acdbRegApp(L"FAPP_DLBX");
    AcDbObjectId centre = addLine(0, 0, 10, 0);
    AcDbObjectId side = addLine(0, 5, 10, 5);
    addLine(0, 9, 10, 9);
    for (auto [id, app] : {std::pair {centre, L"FAPP_DLZX"}, std::pair {side, L"FAPP_DLBX"}}) {
        AcDbEntity* e = nullptr;
        acdbOpenAcDbEntity(e, id, AcDb::kForWrite);
        resbuf* rb = acutBuildList(1001, app, 1000, L"x", 0);
        e->setXData(rb);
        acutRelRb(rb);
        e->close();
    }
    EXPECT_EQ((std::vector<AcDbObjectId> {centre}),
        select(L"X", nullptr, nullptr, acutBuildList(-3, 1001, L"FAPP_DLZX", 0)));
    EXPECT_EQ(2u, select(L"X", nullptr, nullptr, acutBuildList(-3, 1001, L"FAPP_DL*", 0)).size());
}

TEST_F(Selection, BadFilterAndEmptyResultGiveRterror)
{
    addLine(0, 0, 1, 1);
    int status = 0;
    select(L"X", nullptr, nullptr, acutBuildList(-4, L"<OR", RTDXF0, L"ARC", 0), &status);
    EXPECT_EQ(RTERROR, status);
    select(L"X", nullptr, nullptr, acutBuildList(RTDXF0, L"CIRCLE", 0), &status);
    EXPECT_EQ(RTERROR, status);
}

TEST_F(Selection, CrossingSelectsWhatPassesThroughWindowOnlyWhatLiesInside)
{
    // A long line through the window with no end point inside it, an arc bulging into it, a line inside,
    // and a line whose box meets the window but which passes beside it.
    AcDbObjectId through = addLine(-100, 5, 100, 5);
    AcDbObjectId inside = addLine(2, 2, 8, 8);
    AcDbObjectId arc = addArc(5, -3, 4, 0.2, 2.9); // top of the arc reaches y = 1
    addLine(11, -5, 20, 3); // box overlaps x 11..20, but the window ends at 10
    addLine(-5, 30, 30, -5); // diagonal that misses the window's corner (x + y = 25)
    ads_point a = {0, 0, 0};
    ads_point b = {10, 10, 0};
    EXPECT_EQ((std::vector<AcDbObjectId> {through, inside, arc}), select(L"C", a, b, nullptr));
    EXPECT_EQ((std::vector<AcDbObjectId> {inside}), select(L"W", a, b, nullptr));
}

TEST_F(Selection, PolygonSelections)
{
    AcDbObjectId inTriangle = addLine(1, 1, 2, 1);
    AcDbObjectId crossing = addLine(1, 2, 9, 2);
    addLine(8, 8, 9, 9); // inside the triangle's box, outside the triangle
    resbuf* poly = acutBuildList(RTPOINT, std::array<double, 3> {0, 0, 0}.data(), RTPOINT,
        std::array<double, 3> {6, 0, 0}.data(), RTPOINT, std::array<double, 3> {0, 6, 0}.data(), 0);
    EXPECT_EQ((std::vector<AcDbObjectId> {inTriangle}), select(L"WP", poly, nullptr, nullptr));
    EXPECT_EQ((std::vector<AcDbObjectId> {inTriangle, crossing}), select(L"CP", poly, nullptr, nullptr));
    acutRelRb(poly);
}

TEST_F(Selection, FrozenLayersHideFromWindowsButNotFromX)
{
    AcDbObjectId frozenLayer = addLayer(L"冻结");
    AcDbObjectId hidden = addOnLayer(new AcDbLine(AcGePoint3d(1, 1, 0), AcGePoint3d(2, 2, 0)), L"冻结");
    AcDbLayerTableRecord* layer = nullptr;
    acdbOpenObject(layer, frozenLayer, AcDb::kForWrite);
    layer->setIsFrozen(true);
    layer->close();
    ads_point a = {0, 0, 0};
    ads_point b = {10, 10, 0};
    int status = 0;
    select(L"W", a, b, nullptr, &status);
    EXPECT_EQ(RTERROR, status);
    EXPECT_EQ((std::vector<AcDbObjectId> {hidden}), select(L"X", nullptr, nullptr, nullptr));
}

TEST_F(Selection, UserSelectionPromptWithWindowsRemovalAndFilter)
{
    AcDbObjectId a = addLine(0, 0, 1, 0);
    AcDbObjectId b = addLine(0, 2, 1, 2);
    AcDbObjectId arc = addArc(20, 20, 1, 0, 3);
    std::vector<AcDbObjectId> got;
    defineCommand(L"PICKSOME", [&] {
        ads_name ss;
        resbuf* filter = acutBuildList(RTDXF0, L"LINE", 0);
        int rc = acedSSGet(nullptr, nullptr, nullptr, filter, ss);
        acutRelRb(filter);
        ASSERT_EQ(RTNORM, rc);
        Adesk::Int32 n = 0;
        acedSSLength(ss, &n);
        for (Adesk::Int32 i = 0; i < n; ++i) {
            ads_name e;
            acedSSName(ss, i, e);
            AcDbObjectId id;
            acdbGetObjectId(id, e);
            got.push_back(id);
        }
        acedSSFree(ss);
    });
    type(L"PICKSOME\nALL\nR\n0.5,2\n\n");
    EXPECT_EQ((std::vector<AcDbObjectId> {a}), got);
    const std::wstring t = transcript();
    EXPECT_TRUE(contains(t, L"Select objects: ALL\n3 found\n1 was filtered out."));
    EXPECT_TRUE(contains(t, L"Remove objects: 0.5,2\n1 found, 1 removed, 1 total"));
    (void)b;
    (void)arc;
}

// ":$" hands two prompts in pt1: they replace "Select objects:" and "Remove objects:", and pt1 is no pick.
TEST_F(Selection, OwnPromptsReplaceTheHostsAndAreNoPoint)
{
    AcDbObjectId a = addLine(0, 0, 1, 0);
    AcDbObjectId b = addLine(0, 2, 1, 2);
    std::size_t count = 0;
    int rc = RTERROR;
    defineCommand(L"OWNPROMPTS", [&] {
        const ACHAR* prompts[2] = {L"\n选择要检查的切角:", L"\n移除切角:"};
        ads_name ss;
        rc = acedSSGet(L":$", prompts, nullptr, nullptr, ss);
        if (rc == RTNORM) {
            Adesk::Int32 n = 0;
            acedSSLength(ss, &n);
            count = static_cast<std::size_t>(n);
            acedSSFree(ss);
        }
    });
    type(L"OWNPROMPTS\nALL\nR\n0.5,2\n\n");
    EXPECT_EQ(RTNORM, rc);
    EXPECT_EQ(1u, count);
    const std::wstring t = transcript();
    EXPECT_TRUE(contains(t, L"选择要检查的切角:ALL\n2 found"));
    EXPECT_TRUE(contains(t, L"移除切角:0.5,2\n1 found, 1 removed, 1 total"));
    EXPECT_FALSE(contains(t, L"Select objects:"));
    (void)a;
    (void)b;
}

TEST_F(Selection, ImpliedWindowFromAnEmptyPickAndCancel)
{
    AcDbObjectId inside = addLine(1, 1, 2, 2);
    AcDbObjectId crossing = addLine(-5, 1.5, 5, 1.5);
    std::vector<int> results;
    std::vector<std::size_t> sizes;
    defineCommand(L"SEL", [&] {
        ads_name ss;
        int rc = acedSSGet(nullptr, nullptr, nullptr, nullptr, ss);
        results.push_back(rc);
        if (rc == RTNORM) {
            Adesk::Int32 n = 0;
            acedSSLength(ss, &n);
            sizes.push_back(static_cast<std::size_t>(n));
            acedSSFree(ss);
        }
    });
    // Left to right is a window; right to left a crossing.
    type(L"SEL\n0,0\n3,3\n\nSEL\n3,3\n0,0\n\nSEL\n^C\nSEL\n\n");
    ASSERT_EQ(4u, results.size());
    EXPECT_EQ(RTNORM, results[0]);
    EXPECT_EQ(RTNORM, results[1]);
    EXPECT_EQ(RTCAN, results[2]);
    EXPECT_EQ(RTERROR, results[3]);
    EXPECT_EQ((std::vector<std::size_t> {1, 2}), sizes);
    (void)inside;
    (void)crossing;
}

TEST_F(Selection, PickBoxGrowsWithTheView)
{
    AcDbObjectId line = addLine(0, 0, 100, 0);
    // The default view is 297 units high on a 1000 pixel screen: the 3 pixel pick box is about 0.9 units.
    ads_point near = {50, 0.5, 0};
    ads_point far = {50, 5, 0};
    EXPECT_EQ((std::vector<AcDbObjectId> {line}), select(nullptr, near, nullptr, nullptr));
    int status = 0;
    select(nullptr, far, nullptr, nullptr, &status);
    EXPECT_EQ(RTERROR, status);
    // Zoomed out ten times, the same offset is within reach.
    type(L"ZOOM\nC\n50,0\n2970\n");
    EXPECT_EQ((std::vector<AcDbObjectId> {line}), select(nullptr, far, nullptr, nullptr));
}

} // namespace
} // namespace planroad::test
