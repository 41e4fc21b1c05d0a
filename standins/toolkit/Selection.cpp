// Drawing toolkit: selection sets, single picks with keywords, and drawing a polyline at the command line.
#include "DrawingToolkit.h"

#include <vector>

#include "acedads.h"
#include "dbobjptr.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "toolkit/ToolkitSupport.h"

namespace {

using tarn::support::ResbufPtr;

// The last entity-selection error (ERRNO), 0 when it cannot be read.
int lastErrno()
{
    double value = 0.0;
    return tarn::cad::GetSysVar(L"ERRNO", value) == Acad::eOk ? static_cast<int>(value) : 0;
}

// Whether the text matches a wildcard list; "*" and an empty list match everything.
bool matchesList(const CString& text, const CString& patterns)
{
    if (patterns.IsEmpty() || patterns == L"*")
        return true;
    return acutWcMatch(text, patterns) == RTNORM;
}

} // namespace

namespace tarn {

CFArxSelSet::~CFArxSelSet()
{
    clear();
}

void CFArxSelSet::clear()
{
    if (m_bHaveSet)
        acedSSFree(m_ss);
    m_bHaveSet = false;
    m_ss[0] = m_ss[1] = 0;
}

CFArxSelSet::SelSetStatus CFArxSelSet::take(int result)
{
    switch (result) {
    case RTNORM:
        m_bHaveSet = true;
        m_status = kSelected;
        break;
    case RTCAN:
        m_status = kCanceled;
        break;
    case RTERROR:
        m_status = kNone;
        break;
    default:
        m_status = kRejected;
        break;
    }
    return m_status;
}

CFArxSelSet::SelSetStatus CFArxSelSet::allSelect(const resbuf* filter)
{
    clear();
    return take(acedSSGet(L"X", nullptr, nullptr, filter, m_ss));
}

CFArxSelSet::SelSetStatus CFArxSelSet::userSelect(
    const CString& prompt, const CString& removePrompt, const resbuf* filter)
{
    clear();
    if (prompt.IsEmpty())
        return take(acedSSGet(nullptr, nullptr, nullptr, filter, m_ss));
    // ":$" takes the two prompts (selecting, removing) in place of the host's own.
    const ACHAR* prompts[2]
        = {prompt.GetString(), removePrompt.IsEmpty() ? prompt.GetString() : removePrompt.GetString()};
    return take(acedSSGet(L":$", prompts, nullptr, filter, m_ss));
}

CFArxSelSet::SelSetStatus CFArxSelSet::userSelect(const resbuf* filter)
{
    return userSelect(CString(), CString(), filter);
}

CFArxSelSet::SelSetStatus CFArxSelSet::cornerSelect(
    const ACHAR* mode, const AcGePoint3d& pt1, const AcGePoint3d& pt2, const resbuf* filter)
{
    clear();
    const ads_point p1 = {pt1.x, pt1.y, pt1.z};
    const ads_point p2 = {pt2.x, pt2.y, pt2.z};
    return take(acedSSGet(mode, p1, p2, filter, m_ss));
}

CFArxSelSet::SelSetStatus CFArxSelSet::crossingSelect(
    const AcGePoint3d& pt1, const AcGePoint3d& pt2, const resbuf* filter)
{
    return cornerSelect(L"C", pt1, pt2, filter);
}

CFArxSelSet::SelSetStatus CFArxSelSet::windowSelect(
    const AcGePoint3d& pt1, const AcGePoint3d& pt2, const resbuf* filter)
{
    return cornerSelect(L"W", pt1, pt2, filter);
}

CFArxSelSet::SelSetStatus CFArxSelSet::polygonSelect(
    const ACHAR* mode, const AcGePoint3dArray& points, const resbuf* filter)
{
    clear();
    if (points.length() < 3)
        return m_status = kRejected;
    ResbufPtr list;
    resbuf* tail = nullptr;
    for (const AcGePoint3d& point : points) {
        const ads_point p = {point.x, point.y, point.z};
        resbuf* item = acutBuildList(RT3DPOINT, p, RTNONE);
        if (item == nullptr)
            return m_status = kRejected;
        if (tail == nullptr)
            list.reset(item);
        else
            tail->rbnext = item;
        tail = item;
    }
    return take(acedSSGet(mode, list.get(), nullptr, filter, m_ss));
}

CFArxSelSet::SelSetStatus CFArxSelSet::crossingPolygonSelect(
    const AcGePoint3dArray& points, const resbuf* filter)
{
    return polygonSelect(L"CP", points, filter);
}

CFArxSelSet::SelSetStatus CFArxSelSet::windowPolygonSelect(
    const AcGePoint3dArray& points, const resbuf* filter)
{
    return polygonSelect(L"WP", points, filter);
}

long CFArxSelSet::length() const
{
    Adesk::Int32 n = 0;
    if (!m_bHaveSet || acedSSLength(m_ss, &n) != RTNORM)
        return 0;
    return n;
}

void CFArxSelSet::asArray(AcDbObjectIdArray& ids) const
{
    ids.removeAll();
    if (m_bHaveSet)
        ent::SSToIds(m_ss, ids);
}

CFEntsel::CFEntsel(const CString& prompt, const CString& entTypes, const CString& layers,
    const CString& appName, const CString& rejectMessage)
    : m_prompt(prompt)
    , m_entTypes(entTypes)
    , m_layers(layers)
    , m_appName(appName)
    , m_rejectMessage(rejectMessage)
{
}

void CFEntsel::SetInitKword(const CString& keywords)
{
    m_keywords = keywords;
}

bool CFEntsel::Admits(AcDbObjectId id) const
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    if (entity.openStatus() != Acad::eOk)
        return false;
    const ACHAR* dxfName = entity->isA()->dxfName();
    if (!matchesList(dxfName == nullptr ? L"" : dxfName, m_entTypes))
        return false;
    ACHAR* layer = entity->layer();
    const bool layerMatches = matchesList(layer, m_layers);
    acutDelString(layer);
    if (!layerMatches)
        return false;
    if (m_appName.IsEmpty() || m_appName == L"*")
        return true;
    // Any one application of the list will do.
    ResbufPtr data(entity->xData());
    for (const resbuf* rb = data.get(); rb != nullptr; rb = rb->rbnext)
        if (rb->restype == 1001 && acutWcMatch(rb->resval.rstring, m_appName) == RTNORM)
            return true;
    return false;
}

int CFEntsel::FEntsel()
{
    m_selEnt.setNull();
    m_selKword.Empty();
    while (true) {
        if (!m_keywords.IsEmpty())
            acedInitGet(0, m_keywords);
        ads_name name = {0, 0};
        ads_point picked = {0, 0, 0};
        const int result = acedEntSel(m_prompt.IsEmpty() ? nullptr : m_prompt.GetString(), name, picked);
        if (result == RTNORM) {
            AcDbObjectId id;
            if (acdbGetObjectId(id, name) == Acad::eOk && Admits(id)) {
                m_selEnt = id;
                m_selPt = AcGePoint3d(picked[X], picked[Y], picked[Z]);
                return 1;
            }
            acutPrintf(L"%s",
                m_rejectMessage.IsEmpty() ? L"\n所选对象不符合要求,请重新选择!"
                                          : m_rejectMessage.GetString());
            continue;
        }
        if (result == RTKWORD) {
            ACHAR keyword[133] = {};
            acedGetInput(keyword);
            m_selKword = keyword;
            return 2;
        }
        if (result == RTCAN)
            return -1;
        // A pick that hit nothing asks again; Enter ends.
        if (result == RTERROR && lastErrno() == OL_ENTSELPICK)
            continue;
        return 0;
    }
}

namespace ent {

int SelectEnt(AcDbObjectId& id, const CString& prompt)
{
    CFEntsel pick(prompt);
    if (pick.FEntsel() != 1)
        return 0;
    id = pick.GetSelEnt();
    return 1;
}

int DrawPline(AcDbObjectId& id)
{
    id.setNull();
    ads_point first;
    if (acedGetPoint(nullptr, L"\n指定起点:", first) != RTNORM)
        return 0;
    std::vector<AcGePoint3d> points {AcGePoint3d(first[X], first[Y], first[Z])};
    bool closed = false;
    while (!closed) {
        acedInitGet(0, L"C U");
        const AcGePoint3d& last = points.back();
        const ads_point base = {last.x, last.y, last.z};
        ads_point next;
        const int result = acedGetPoint(base,
            points.size() >= 3 ? L"\n指定下一点或 [闭合(C)/放弃(U)]:" : L"\n指定下一点或 [放弃(U)]:", next);
        if (result == RTNORM) {
            points.emplace_back(next[X], next[Y], next[Z]);
        } else if (result == RTKWORD) {
            ACHAR keyword[8] = {};
            acedGetInput(keyword);
            if (CString(keyword).CompareNoCase(L"C") == 0 && points.size() >= 3)
                closed = true;
            else if (CString(keyword).CompareNoCase(L"U") == 0 && points.size() > 1)
                points.pop_back();
        } else if (result == RTNONE) {
            break;
        } else {
            return 0;
        }
    }
    if (points.size() < 2)
        return 0;
    auto polyline = std::make_unique<AcDbPolyline>();
    const AcGePoint3d origin = geo::Ucs2wcs(points.front());
    for (unsigned int i = 0; i < points.size(); ++i) {
        const AcGePoint3d world = geo::Ucs2wcs(points[i]);
        polyline->addVertexAt(i, AcGePoint2d(world.x, world.y));
    }
    polyline->setElevation(origin.z);
    polyline->setClosed(closed);
    AcDbDatabase* db = support::workingDb();
    if (db == nullptr)
        return 0;
    polyline->setDatabaseDefaults(db);
    id = support::appendClosed(db->currentSpaceId(), std::move(polyline));
    return id.isNull() ? 0 : 1;
}

} // namespace ent

} // namespace tarn
