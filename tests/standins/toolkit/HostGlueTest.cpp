// The toolkit's host glue: system variables and their restore guard, UCS conversions, the view, the
// command echo and the document lock.
#include "ToolkitFixture.h"

namespace planroad::test {
namespace {

class HostGlue : public ToolkitFixture {
protected:
    double number(const wchar_t* name)
    {
        double value = -1.0;
        EXPECT_EQ(Acad::eOk, tarn::cad::GetSysVar(name, value)) << name;
        return value;
    }
    CString text(const wchar_t* name)
    {
        CString value;
        EXPECT_EQ(Acad::eOk, tarn::cad::GetSysVar(name, value)) << name;
        return value;
    }
};

TEST_F(HostGlue, SystemVariablesReadAndSetAsNumbersOrText)
{
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"OSMODE", 35.0));
    EXPECT_EQ(35.0, number(L"OSMODE"));
    // The number keeps the variable's own type.
    resbuf osmode {};
    ASSERT_EQ(RTNORM, acedGetVar(L"OSMODE", &osmode));
    EXPECT_EQ(RTSHORT, osmode.restype);
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"dimlfac", 1000.0));
    EXPECT_EQ(1000.0, number(L"DIMLFAC"));

    addLayer(L"DL-道路中线");
    ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"CLayer", CString(L"DL-道路中线")));
    EXPECT_EQ(CString(L"DL-道路中线"), text(L"CLAYER"));
    EXPECT_NE(Acad::eOk, tarn::cad::SetSysVar(L"CLAYER", CString(L"没有的图层")));
    EXPECT_EQ(CString(L"DL-道路中线"), text(L"CLAYER"));

    double value = 0.0;
    CString name;
    EXPECT_EQ(Acad::eInvalidInput, tarn::cad::GetSysVar(L"NOSUCHVARIABLE", value));
    EXPECT_EQ(Acad::eInvalidInput, tarn::cad::GetSysVar(L"CLAYER", value));
    EXPECT_EQ(Acad::eInvalidInput, tarn::cad::GetSysVar(L"OSMODE", name));
}

TEST_F(HostGlue, SysVarGuardSetsForItsScopeAndRestoresOnExit)
{
    addLayer(L"道路图例标注");
    const double osmode = number(L"OSMODE");
    {
        resbuf* layer = acutBuildList(RTSTR, L"CLayer", RTSTR, L"道路图例标注", RTNONE);
        resbuf* snaps = acutBuildList(RTSTR, L"OSMODE", RTSHORT, 35, RTSTR, L"PICKSTYLE", RTSHORT, 0, RTNONE);
        tarn::CSysVar layerGuard(layer);
        tarn::CSysVar snapGuard(snaps);
        acutRelRb(layer);
        acutRelRb(snaps);
        EXPECT_TRUE(layerGuard.IsSet());
        EXPECT_TRUE(snapGuard.IsSet());
        EXPECT_EQ(CString(L"道路图例标注"), text(L"CLAYER"));
        EXPECT_EQ(35.0, number(L"OSMODE"));
        EXPECT_EQ(0.0, number(L"PICKSTYLE"));
    }
    EXPECT_EQ(CString(L"0"), text(L"CLAYER"));
    EXPECT_EQ(osmode, number(L"OSMODE"));
    EXPECT_EQ(1.0, number(L"PICKSTYLE"));

    // A value the host refuses is not set, and nothing is restored over it later.
    {
        resbuf* missing = acutBuildList(RTSTR, L"CLayer", RTSTR, L"没有的图层", RTNONE);
        tarn::CSysVar guard(missing);
        acutRelRb(missing);
        EXPECT_FALSE(guard.IsSet());
        ASSERT_EQ(Acad::eOk, tarn::cad::SetSysVar(L"CLAYER", CString(L"道路图例标注")));
    }
    EXPECT_EQ(CString(L"道路图例标注"), text(L"CLAYER"));
}

TEST_F(HostGlue, UcsConversionsAndAngle)
{
    EXPECT_EQ(0.0, tarn::cad::GetUcsAngle());
    type(L"UCS\n100,50\n\nUCS\nZ\n30\n");
    EXPECT_NEAR(kPi / 6, tarn::cad::GetUcsAngle(), 1e-12);
    expectNear(AcGePoint3d(0, 0, 0), tarn::geo::Wcs2ucs(AcGePoint3d(100, 50, 0)));
    const AcGePoint3d world = tarn::geo::Ucs2wcs(AcGePoint3d(10, 0, 3));
    expectNear(AcGePoint3d(100 + 10 * std::cos(kPi / 6), 50 + 10 * std::sin(kPi / 6), 3), world);
    AcGePoint3d back;
    tarn::geo::Wcs2ucs(world, back);
    expectNear(AcGePoint3d(10, 0, 3), back);
    const AcGePoint3d somewhere(-12.5, 7.75, 0);
    expectNear(somewhere, tarn::geo::Wcs2ucs(tarn::geo::Ucs2wcs(somewhere)));

    type(L"UCS\nZ\n-60\n");
    EXPECT_NEAR(11 * kPi / 6, tarn::cad::GetUcsAngle(), 1e-12);
}

TEST_F(HostGlue, PointsInAndOutOfTheView)
{
    type(L"ZOOM\nW\n0,0\n100,100\n");
    EXPECT_TRUE(tarn::cad::IsPtInView(AcGePoint3d(50, 50, 0)));
    EXPECT_TRUE(tarn::cad::IsPtInView(AcGePoint3d(0, 0, 0)));
    EXPECT_FALSE(tarn::cad::IsPtInView(AcGePoint3d(50, 150, 0)));
    EXPECT_FALSE(tarn::cad::IsPtInView(AcGePoint3d(-200, 50, 0)));
    // The point is taken in the current UCS.
    type(L"UCS\n1000,0\n\n");
    EXPECT_TRUE(tarn::cad::IsPtInView(AcGePoint3d(-950, 50, 0)));
    EXPECT_FALSE(tarn::cad::IsPtInView(AcGePoint3d(50, 50, 0)));
}

TEST_F(HostGlue, ShieldedHostCommandsLeaveNoEchoAndTheEchoComesBack)
{
    double echoInside = -1.0;
    inCommand([&] {
        tarn::cad::ShieldCommandLine();
        tarn::cad::ShieldCommandLine(); // nested pairs keep the shield up
        acedCommand(RTSTR, L"ZOOM", RTSTR, L"E", RTNONE);
        tarn::cad::DisplayCommandLine();
        acedCommand(RTSTR, L"ZOOM", RTSTR, L"P", RTNONE);
        tarn::cad::GetSysVar(L"CMDECHO", echoInside);
        tarn::cad::DisplayCommandLine();
        acedCommand(RTSTR, L"REDRAW", RTNONE);
    });
    EXPECT_EQ(0.0, echoInside);
    EXPECT_EQ(1.0, number(L"CMDECHO"));
    const std::wstring shown = transcript();
    EXPECT_FALSE(contains(shown, L"\nZOOM"));
    EXPECT_TRUE(contains(shown, L"\nREDRAW"));
}

TEST_F(HostGlue, DocumentLockLastsForItsScope)
{
    ASSERT_NE(nullptr, curDoc());
    EXPECT_EQ(AcAp::kNotLocked, curDoc()->lockMode());
    {
        tarn::CFDocLock lock(nullptr);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_EQ(AcAp::kWrite, curDoc()->lockMode());
    }
    EXPECT_EQ(AcAp::kNotLocked, curDoc()->lockMode());
}

} // namespace
} // namespace planroad::test
