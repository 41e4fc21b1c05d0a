// Drawing toolkit: system variables, the UCS angle, the view, the command echo, and the guards that set
// variables or lock the document for a scope.
#include "DrawingToolkit.h"

#include <cmath>
#include <numbers>

#include "acedads.h"
#include "toolkit/ToolkitSupport.h"

namespace {

using tarn::support::ResbufPtr;

// The variable's current value in a buffer of its own; null when there is no such variable.
ResbufPtr readVariable(const ACHAR* name)
{
    ResbufPtr value(acutNewRb(RTNONE));
    if (value == nullptr || acedGetVar(name, value.get()) != RTNORM)
        return nullptr;
    return value;
}

// Where ShieldCommandLine left the command echo; pairs nest.
struct EchoShield {
    int depth = 0;
    short savedEcho = 1;
};

EchoShield& echoShield()
{
    static EchoShield shield;
    return shield;
}

void setEcho(short value)
{
    resbuf rb {};
    rb.restype = RTSHORT;
    rb.resval.rint = value;
    acedSetVar(L"CMDECHO", &rb);
}

} // namespace

namespace tarn::cad {

Acad::ErrorStatus GetSysVar(const CString& name, double& value)
{
    ResbufPtr rb = readVariable(name);
    if (rb == nullptr)
        return Acad::eInvalidInput;
    switch (rb->restype) {
    case RTREAL:
    case RTANG:
        value = rb->resval.rreal;
        return Acad::eOk;
    case RTSHORT:
        value = rb->resval.rint;
        return Acad::eOk;
    case RTLONG:
        value = rb->resval.rlong;
        return Acad::eOk;
    default:
        return Acad::eInvalidInput;
    }
}

Acad::ErrorStatus GetSysVar(const CString& name, CString& value)
{
    ResbufPtr rb = readVariable(name);
    if (rb == nullptr || rb->restype != RTSTR)
        return Acad::eInvalidInput;
    value = rb->resval.rstring;
    return Acad::eOk;
}

Acad::ErrorStatus SetSysVar(const CString& name, double value)
{
    ResbufPtr rb = readVariable(name);
    if (rb == nullptr)
        return Acad::eInvalidInput;
    switch (rb->restype) {
    case RTREAL:
    case RTANG:
        rb->resval.rreal = value;
        break;
    case RTSHORT:
        rb->resval.rint = static_cast<short>(std::lround(value));
        break;
    case RTLONG:
        rb->resval.rlong = static_cast<Adesk::Int32>(std::lround(value));
        break;
    default:
        return Acad::eInvalidInput;
    }
    return acedSetVar(name, rb.get()) == RTNORM ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus SetSysVar(const CString& name, const CString& value)
{
    ResbufPtr rb(acutBuildList(RTSTR, value.GetString(), RTNONE));
    return rb != nullptr && acedSetVar(name, rb.get()) == RTNORM ? Acad::eOk : Acad::eInvalidInput;
}

double GetUcsAngle()
{
    ResbufPtr xdir = readVariable(L"UCSXDIR");
    if (xdir == nullptr || (xdir->restype != RT3DPOINT && xdir->restype != RTPOINT))
        return 0.0;
    const double angle = std::atan2(xdir->resval.rpoint[Y], xdir->resval.rpoint[X]);
    return angle < 0.0 ? angle + 2.0 * std::numbers::pi : angle;
}

bool IsPtInView(const AcGePoint3d& pt)
{
    ResbufPtr center = readVariable(L"VIEWCTR");
    ResbufPtr height = readVariable(L"VIEWSIZE");
    ResbufPtr screen = readVariable(L"SCREENSIZE");
    if (center == nullptr || height == nullptr || screen == nullptr || screen->resval.rpoint[Y] <= 0.0)
        return false;
    // The view looks straight down on the world plan; its centre is given in the UCS.
    const AcGePoint3d viewCenter = geo::Ucs2wcs(
        AcGePoint3d(center->resval.rpoint[X], center->resval.rpoint[Y], center->resval.rpoint[Z]));
    const AcGePoint3d world = geo::Ucs2wcs(pt);
    const double viewHeight = height->resval.rreal;
    const double viewWidth = viewHeight * screen->resval.rpoint[X] / screen->resval.rpoint[Y];
    return std::fabs(world.x - viewCenter.x) <= viewWidth / 2.0
        && std::fabs(world.y - viewCenter.y) <= viewHeight / 2.0;
}

void ShieldCommandLine()
{
    EchoShield& shield = echoShield();
    if (shield.depth++ == 0) {
        double echo = 1.0;
        shield.savedEcho = GetSysVar(L"CMDECHO", echo) == Acad::eOk ? static_cast<short>(echo) : 1;
        setEcho(0);
    }
}

void DisplayCommandLine()
{
    EchoShield& shield = echoShield();
    if (shield.depth == 0)
        return;
    if (--shield.depth == 0)
        setEcho(shield.savedEcho);
}

} // namespace tarn::cad

namespace tarn {

struct CSysVar::Saved {
    CString name;
    ResbufPtr value;
};

CSysVar::CSysVar(const resbuf* pairs)
{
    const resbuf* rb = pairs;
    while (rb != nullptr) {
        const resbuf* value = rb->rbnext;
        if (rb->restype != RTSTR || rb->resval.rstring == nullptr || value == nullptr) {
            m_bAllSet = false;
            break;
        }
        const CString name(rb->resval.rstring);
        ResbufPtr former = readVariable(name);
        if (former != nullptr && acedSetVar(name, value) == RTNORM)
            m_saved.push_back({name, std::move(former)});
        else
            m_bAllSet = false;
        rb = value->rbnext;
    }
    if (pairs == nullptr)
        m_bAllSet = false;
}

CSysVar::~CSysVar()
{
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        acedSetVar(it->name, it->value.get());
    }
}

CFDocLock::CFDocLock(AcApDocument* pDoc)
{
    AcApDocManager* manager = acDocManager;
    if (manager == nullptr)
        return;
    if (pDoc == nullptr)
        pDoc = manager->curDocument();
    if (pDoc != nullptr && manager->lockDocument(pDoc, AcAp::kWrite) == Acad::eOk)
        m_pDoc = pDoc;
}

CFDocLock::~CFDocLock()
{
    if (m_pDoc != nullptr)
        if (AcApDocManager* manager = acDocManager)
            manager->unlockDocument(m_pDoc);
}

} // namespace tarn
