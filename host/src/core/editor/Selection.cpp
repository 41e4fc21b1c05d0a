// Selection: area tests over the spatial index, filters, the "Select objects:" prompt and acedSSGet.
#include "editor/Selection.h"

#include <algorithm>
#include <cwchar>
#include <set>

#include "acedads.h"
#include "arxhost/Session.h"
#include "db/DatabaseImpl.h"
#include "dbsymtb.h"
#include "editor/Editor.h"
#include "editor/Transcript.h"
#include "geometry/CurveKernel.h"
#include "session/DocumentState.h"
#include "text/WideFormat.h"

namespace arxhost {

namespace {

// An entity as the filter sees it: its groups on demand and its extended-data applications.
class EntitySubject : public FilterSubjectSource {
public:
    explicit EntitySubject(const AcDbEntity& entity)
        : mEntity(entity)
    {
    }
    bool group(short code, FilterValue& out) const override
    {
        TypedValue value;
        if (!mEntity.filterGroup(code, value))
            return false;
        return std::visit(
            [&out](const auto& v) -> bool {
                using V = std::decay_t<decltype(v)>;
                if constexpr (
                    std::is_same_v<V,
                        std::wstring> || std::is_same_v<V, double> || std::is_same_v<V, std::int64_t>) {
                    out = v;
                    return true;
                } else if constexpr (std::is_same_v<V, TypedValue::Point>) {
                    out = std::array<double, 3> {v[0], v[1], v[2]};
                    return true;
                } else {
                    return false;
                }
            },
            value.value);
    }
    bool hasXdataApp(const WildcardPattern& app) const override
    {
        for (const TypedValue& v : mEntity.xdataValues())
            if (v.code == 1001)
                if (const auto* name = std::get_if<std::wstring>(&v.value);
                    name != nullptr && app.matches(*name))
                    return true;
        return false;
    }

private:
    const AcDbEntity& mEntity;
};

Box2d boxOf(const std::vector<AcGePoint3d>& points)
{
    Box2d box {points[0].x, points[0].y, points[0].x, points[0].y};
    for (const AcGePoint3d& p : points) {
        box.minX = std::min(box.minX, p.x);
        box.minY = std::min(box.minY, p.y);
        box.maxX = std::max(box.maxX, p.x);
        box.maxY = std::max(box.maxY, p.y);
    }
    return box;
}

bool areaSelects(
    AreaMode mode, const AcDbEntity& entity, const std::vector<AcGePoint3d>& points, const Box2d& area)
{
    AcDbExtents ext;
    if (entity.getGeomExtents(ext) != Acad::eOk)
        return false;
    const Box2d box {ext.minPoint().x, ext.minPoint().y, ext.maxPoint().x, ext.maxPoint().y};
    if (mode == AreaMode::Window || mode == AreaMode::Crossing) {
        // A rectangle: the box alone decides a window, and a crossing whose box lies inside.
        if (area.contains(box))
            return true;
        if (mode == AreaMode::Window || !area.intersects(box))
            return false;
    }
    geom::Path path;
    if (!entity.hostPath(path))
        return mode != AreaMode::Window && mode != AreaMode::WindowPolygon && area.intersects(box);
    const AcGePoint3d lo(area.minX, area.minY, 0);
    const AcGePoint3d hi(area.maxX, area.maxY, 0);
    switch (mode) {
    case AreaMode::Window:
        return geom::insideRect(path, lo, hi);
    case AreaMode::Crossing:
        return geom::intersectsRect(path, lo, hi);
    case AreaMode::WindowPolygon:
        return geom::insidePolygon(path, points);
    case AreaMode::CrossingPolygon:
        return geom::intersectsPolygon(path, points);
    case AreaMode::Fence: {
        std::vector<double> bulges(points.size(), 0.0);
        return !geom::intersect(
            geom::Path::polyline(points, bulges, false), path, geom::Mode::kOnBothOperands)
                    .empty();
    }
    }
    return false;
}

} // namespace

void sortByDrawingOrder(std::vector<AcDbObjectId>& ids)
{
    std::sort(ids.begin(), ids.end(),
        [](const AcDbObjectId& a, const AcDbObjectId& b) { return a.handle() < b.handle(); });
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
}

Selector::Selector(Session& session, const SelectionFilter* filter)
    : mSession(session)
    , mFilter(filter)
{
}

bool Selector::passes(const AcDbEntity& entity) const
{
    return mFilter == nullptr || mFilter->matches(EntitySubject(entity));
}

bool Selector::visible(const AcDbEntity& entity, bool includeOffLayers) const
{
    if (entity.isErased() || entity.visibility() != AcDb::kVisible)
        return false;
    const auto* layer = AcDbLayerTableRecord::cast(DatabaseImpl::peek(entity.layerId()));
    if (layer == nullptr)
        return true;
    return !layer->isFrozen() && (includeOffLayers || !layer->isOff());
}

std::vector<AcDbObjectId> Selector::byArea(AreaMode mode, const std::vector<AcGePoint3d>& points) const
{
    found = 0;
    filteredOut = 0;
    std::vector<AcDbObjectId> out;
    if (points.size() < 2)
        return out;
    DatabaseImpl& db = mSession.document().database().impl();
    const Box2d area = boxOf(points);
    for (AcDbStub* stub : db.index().query(area)) {
        const auto* entity = AcDbEntity::cast(stub->object());
        if (entity == nullptr || !visible(*entity, false) || !areaSelects(mode, *entity, points, area))
            continue;
        ++found;
        if (!passes(*entity)) {
            ++filteredOut;
            continue;
        }
        out.push_back(AcDbObjectId(stub));
    }
    sortByDrawingOrder(out);
    return out;
}

std::vector<AcDbObjectId> Selector::everything() const
{
    found = 0;
    filteredOut = 0;
    std::vector<AcDbObjectId> out;
    AcDbDatabase& db = mSession.document().database();
    for (AcDbObjectId spaceId : {db.modelSpaceId(), db.paperSpaceId()}) {
        const auto* space = AcDbBlockTableRecord::cast(DatabaseImpl::peek(spaceId));
        if (space == nullptr)
            continue;
        for (AcDbObjectId id : space->hostEntityIds()) {
            const auto* entity = AcDbEntity::cast(DatabaseImpl::peek(id));
            if (entity == nullptr || entity->isErased())
                continue;
            ++found;
            if (passes(*entity))
                out.push_back(id);
            else
                ++filteredOut;
        }
    }
    return out;
}

std::vector<AcDbObjectId> Selector::allVisible() const
{
    found = 0;
    filteredOut = 0;
    std::vector<AcDbObjectId> out;
    const auto* space
        = AcDbBlockTableRecord::cast(DatabaseImpl::peek(mSession.document().database().modelSpaceId()));
    if (space == nullptr)
        return out;
    for (AcDbObjectId id : space->hostEntityIds()) {
        const auto* entity = AcDbEntity::cast(DatabaseImpl::peek(id));
        if (entity == nullptr || !visible(*entity, true))
            continue;
        ++found;
        if (passes(*entity))
            out.push_back(id);
        else
            ++filteredOut;
    }
    return out;
}

std::vector<AcDbObjectId> Selector::last() const
{
    found = 0;
    filteredOut = 0;
    const auto* space
        = AcDbBlockTableRecord::cast(DatabaseImpl::peek(mSession.document().database().modelSpaceId()));
    if (space == nullptr)
        return {};
    const auto& ids = space->hostEntityIds();
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        const auto* entity = AcDbEntity::cast(DatabaseImpl::peek(*it));
        if (entity == nullptr || !visible(*entity, false))
            continue;
        found = 1;
        if (passes(*entity))
            return {*it};
        filteredOut = 1;
        return {};
    }
    return {};
}

namespace {

// Reads points until Enter: the corners of a polygon or the points of a fence.
bool askPolygon(
    Session& session, const std::wstring& firstPrompt, std::vector<AcGePoint3d>& points, bool& cancelled)
{
    Editor& editor = session.editor();
    DocumentState& doc = session.document();
    points.clear();
    std::wstring prompt = firstPrompt;
    while (true) {
        Editor::Answer answer = editor.ask(prompt);
        if (answer.kind == Editor::Answer::Kind::Cancel) {
            cancelled = true;
            return false;
        }
        if (answer.kind == Editor::Answer::Kind::Enter)
            return points.size() >= 2;
        if (answer.kind != Editor::Answer::Kind::Text)
            continue;
        if (trimmed(answer.text) == L"U" || trimmed(answer.text) == L"u") {
            if (!points.empty())
                points.pop_back();
        } else if (auto p = parsePoint(answer.text, editor.lastPoint())) {
            AcGePoint3d ucs = p->world ? doc.wcsToUcs(p->point) : p->point;
            editor.setLastPoint(ucs);
            points.push_back(doc.ucsToWcs(ucs));
        } else {
            session.transcript().write(L"\nInvalid point.");
        }
        prompt = L"\nSpecify endpoint of line or [Undo]: ";
    }
}

std::optional<AcGePoint3d> askCorner(Session& session, const std::wstring& prompt, bool& cancelled)
{
    Editor& editor = session.editor();
    while (true) {
        Editor::Answer answer = editor.ask(prompt);
        if (answer.kind == Editor::Answer::Kind::Cancel) {
            cancelled = true;
            return std::nullopt;
        }
        if (answer.kind == Editor::Answer::Kind::Enter)
            return std::nullopt;
        if (answer.kind != Editor::Answer::Kind::Text)
            continue;
        if (auto p = parsePoint(answer.text, editor.lastPoint())) {
            AcGePoint3d ucs = p->world ? session.document().wcsToUcs(p->point) : p->point;
            editor.setLastPoint(ucs);
            return session.document().ucsToWcs(ucs);
        }
        session.transcript().write(L"\nInvalid point.");
    }
}

std::vector<AcGePoint3d> rectangle(const AcGePoint3d& a, const AcGePoint3d& b)
{
    return {AcGePoint3d(std::min(a.x, b.x), std::min(a.y, b.y), 0),
        AcGePoint3d(std::max(a.x, b.x), std::max(a.y, b.y), 0)};
}

} // namespace

int userSelect(Session& session, const SelectionFilter* filter, bool single,
    std::vector<AcDbObjectId>& result, const std::wstring& prompt, const std::wstring& removePrompt)
{
    Editor& editor = session.editor();
    Transcript& out = session.transcript();
    DocumentState& doc = session.document();
    Selector selector(session, filter);
    std::vector<AcDbObjectId> chosen;
    std::vector<std::vector<AcDbObjectId>> history; // what each operation added, for Undo
    bool removing = false;
    const KeywordList keywords(L"Window Last Crossing ALL WPolygon CPolygon Fence Add Remove Previous Undo");

    auto apply = [&](const std::vector<AcDbObjectId>& hits) {
        std::vector<AcDbObjectId> added;
        int duplicates = 0;
        int removed = 0;
        for (AcDbObjectId id : hits) {
            auto at = std::find(chosen.begin(), chosen.end(), id);
            if (removing) {
                if (at != chosen.end()) {
                    chosen.erase(at);
                    ++removed;
                }
            } else if (at != chosen.end()) {
                ++duplicates;
            } else {
                chosen.push_back(id);
                added.push_back(id);
            }
        }
        history.push_back(added);
        const int foundCount = selector.found;
        std::wstring message;
        if (removing)
            message = formatWide(
                L"%d found, %d removed, %d total", foundCount, removed, static_cast<int>(chosen.size()));
        else if (duplicates > 0)
            message = formatWide(L"%d found (%d duplicate), %d total", foundCount, duplicates,
                static_cast<int>(chosen.size()));
        else if (static_cast<int>(chosen.size()) != foundCount - selector.filteredOut || history.size() > 1)
            message = formatWide(L"%d found, %d total", foundCount, static_cast<int>(chosen.size()));
        else
            message = formatWide(L"%d found", foundCount);
        out.write(L"\n" + message);
        if (selector.filteredOut > 0)
            out.write(
                formatWide(selector.filteredOut == 1 ? L"\n%d was filtered out." : L"\n%d were filtered out.",
                    selector.filteredOut));
    };

    while (true) {
        Editor::Answer answer = editor.ask(removing ? removePrompt : prompt);
        if (answer.kind == Editor::Answer::Kind::Cancel)
            return RTCAN;
        if (answer.kind == Editor::Answer::Kind::Move)
            continue;
        if (answer.kind == Editor::Answer::Kind::Enter)
            break;
        const std::wstring text = trimmed(answer.text);
        bool cancelled = false;
        if (auto p = parsePoint(text, editor.lastPoint())) {
            AcGePoint3d ucs = p->world ? doc.wcsToUcs(p->point) : p->point;
            editor.setLastPoint(ucs);
            AcGePoint3d wcs = doc.ucsToWcs(ucs);
            AcDbObjectId picked = editor.pickAt(wcs);
            if (!picked.isNull()) {
                const auto* entity = AcDbEntity::cast(DatabaseImpl::peek(picked));
                selector.found = 1;
                selector.filteredOut = selector.passes(*entity) ? 0 : 1;
                apply(selector.filteredOut == 0 ? std::vector<AcDbObjectId> {picked}
                                                : std::vector<AcDbObjectId> {});
            } else {
                // Nothing under the cursor: the pick starts a window (to the right) or a crossing.
                auto other = askCorner(session, L"\nSpecify opposite corner: ", cancelled);
                if (cancelled)
                    return RTCAN;
                if (!other)
                    continue;
                AreaMode mode = other->x >= wcs.x ? AreaMode::Window : AreaMode::Crossing;
                apply(selector.byArea(mode, rectangle(wcs, *other)));
            }
        } else if (auto kw = keywords.match(text)) {
            if (*kw == L"Window" || *kw == L"Crossing") {
                auto a = askCorner(session, L"\nSpecify first corner: ", cancelled);
                if (cancelled)
                    return RTCAN;
                if (!a)
                    continue;
                auto b = askCorner(session, L"\nSpecify opposite corner: ", cancelled);
                if (cancelled)
                    return RTCAN;
                if (!b)
                    continue;
                apply(selector.byArea(
                    *kw == L"Window" ? AreaMode::Window : AreaMode::Crossing, rectangle(*a, *b)));
            } else if (*kw == L"WPolygon" || *kw == L"CPolygon" || *kw == L"Fence") {
                std::vector<AcGePoint3d> points;
                bool ok = askPolygon(session,
                    *kw == L"Fence" ? L"\nSpecify first fence point: " : L"\nFirst polygon point: ", points,
                    cancelled);
                if (cancelled)
                    return RTCAN;
                if (!ok)
                    continue;
                AreaMode mode = *kw == L"WPolygon" ? AreaMode::WindowPolygon
                    : *kw == L"CPolygon"           ? AreaMode::CrossingPolygon
                                                   : AreaMode::Fence;
                apply(selector.byArea(mode, points));
            } else if (*kw == L"ALL") {
                apply(selector.allVisible());
            } else if (*kw == L"Last") {
                apply(selector.last());
            } else if (*kw == L"Previous") {
                std::vector<AcDbObjectId> previous;
                selector.found = 0;
                selector.filteredOut = 0;
                for (AcDbObjectId id : doc.selections().previous) {
                    const auto* entity = AcDbEntity::cast(DatabaseImpl::peek(id));
                    if (entity == nullptr || entity->isErased())
                        continue;
                    ++selector.found;
                    if (selector.passes(*entity))
                        previous.push_back(id);
                    else
                        ++selector.filteredOut;
                }
                apply(previous);
            } else if (*kw == L"Add") {
                removing = false;
                continue;
            } else if (*kw == L"Remove") {
                removing = true;
                continue;
            } else if (*kw == L"Undo") {
                if (!history.empty()) {
                    for (AcDbObjectId id : history.back())
                        std::erase(chosen, id);
                    history.pop_back();
                }
                continue;
            }
        } else {
            out.write(L"\n*Invalid selection*\nExpects a point "
                      L"or\nWindow/Last/Crossing/ALL/Fence/WPolygon/CPolygon/Add/Remove/Previous/Undo");
            continue;
        }
        if (single && !chosen.empty())
            break;
    }
    if (chosen.empty())
        return RTERROR;
    result = chosen;
    return RTNORM;
}

} // namespace arxhost

// ---- acedSSGet and the selection-set functions ----

namespace {

using arxhost::Session;

std::vector<AcGePoint3d> pointList(Session& session, const void* pt1)
{
    std::vector<AcGePoint3d> points;
    for (const resbuf* rb = static_cast<const resbuf*>(pt1); rb != nullptr; rb = rb->rbnext) {
        if (rb->restype != RTPOINT && rb->restype != RT3DPOINT)
            continue;
        AcGePoint3d p(
            rb->resval.rpoint[X], rb->resval.rpoint[Y], rb->restype == RTPOINT ? 0.0 : rb->resval.rpoint[Z]);
        points.push_back(session.document().ucsToWcs(p));
    }
    return points;
}

AcGePoint3d ucsPoint(Session& session, const void* pt)
{
    const auto* p = static_cast<const double*>(pt);
    return session.document().ucsToWcs(AcGePoint3d(p[X], p[Y], p[Z]));
}

} // namespace

int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const struct resbuf* filter, ads_name ss)
{
    Session* session = Session::currentOrNull();
    if (session == nullptr || ss == nullptr)
        return RTERROR;
    ss[0] = ss[1] = 0;
    arxhost::FilterCompilation compiled = arxhost::SelectionFilter::compile(filter);
    if (!compiled) {
        session->transcript().write(L"\n*Invalid selection filter*: " + compiled.error);
        return RTERROR;
    }
    const arxhost::SelectionFilter* selectionFilter = &*compiled.filter;
    arxhost::Selector selector(*session, selectionFilter);
    std::wstring mode = str == nullptr ? L"" : str;
    // "_" asks for the global option name; ":K" and the others only change keywords and messages.
    while (!mode.empty() && mode[0] == L'_')
        mode = mode.substr(1);
    // ":$": pt1 is no point but two prompts, for selecting and for removing, in place of the host's own.
    std::wstring selectPrompt = L"\nSelect objects: ";
    std::wstring removePrompt = L"\nRemove objects: ";
    if (auto at = mode.find(L":$"); at != std::wstring::npos) {
        mode.erase(at, 2);
        if (const auto* prompts = static_cast<const ACHAR* const*>(pt1); prompts != nullptr) {
            if (prompts[0] != nullptr)
                selectPrompt = prompts[0];
            if (prompts[1] != nullptr)
                removePrompt = prompts[1];
        }
        pt1 = nullptr;
    }
    bool single = false;
    for (const wchar_t* flag : {L":S", L":s"}) {
        if (auto at = mode.find(flag); at != std::wstring::npos) {
            single = true;
            mode.erase(at, 2);
        }
    }
    for (const wchar_t* flag : {L":K", L":k", L":D", L":d", L":E", L":e", L":N", L":n"})
        if (auto at = mode.find(flag); at != std::wstring::npos)
            mode.erase(at, 2);
    mode = arxhost::upperName(mode.c_str());

    std::vector<AcDbObjectId> ids;
    int status = RTNORM;
    if (mode.empty() && pt1 != nullptr) {
        AcDbObjectId picked = session->editor().pickAt(ucsPoint(*session, pt1));
        const auto* entity = AcDbEntity::cast(arxhost::DatabaseImpl::peek(picked));
        if (entity != nullptr && selector.passes(*entity))
            ids.push_back(picked);
    } else if (mode.empty() || mode == L".") {
        status = arxhost::userSelect(*session, selectionFilter, single, ids, selectPrompt, removePrompt);
    } else if (mode == L"X") {
        ids = selector.everything();
    } else if (mode == L"A") {
        ids = selector.allVisible();
    } else if (mode == L"W" || mode == L"C") {
        if (pt1 == nullptr || pt2 == nullptr)
            return RTERROR;
        AcGePoint3d a = ucsPoint(*session, pt1);
        AcGePoint3d b = ucsPoint(*session, pt2);
        std::vector<AcGePoint3d> corners = {AcGePoint3d(std::min(a.x, b.x), std::min(a.y, b.y), 0),
            AcGePoint3d(std::max(a.x, b.x), std::max(a.y, b.y), 0)};
        ids = selector.byArea(
            mode == L"W" ? arxhost::AreaMode::Window : arxhost::AreaMode::Crossing, corners);
    } else if (mode == L"WP" || mode == L"CP" || mode == L"F") {
        std::vector<AcGePoint3d> points = pointList(*session, pt1);
        if (points.size() < 2)
            return RTERROR;
        ids = selector.byArea(mode == L"WP" ? arxhost::AreaMode::WindowPolygon
                : mode == L"CP"             ? arxhost::AreaMode::CrossingPolygon
                                            : arxhost::AreaMode::Fence,
            points);
    } else if (mode == L"L") {
        ids = selector.last();
    } else if (mode == L"P" || mode == L"I") {
        auto& source = mode == L"P" ? session->document().selections().previous
                                    : session->document().selections().pickFirst;
        for (AcDbObjectId id : source) {
            const auto* entity = AcDbEntity::cast(arxhost::DatabaseImpl::peek(id));
            if (entity != nullptr && !entity->isErased() && selector.passes(*entity))
                ids.push_back(id);
        }
    } else {
        return RTERROR;
    }
    if (status != RTNORM)
        return status;
    if (ids.empty())
        return RTERROR;
    session->document().selections().previous = ids;
    session->document().selections().create(std::move(ids), ss);
    return RTNORM;
}

int acedSSFree(const ads_name sname)
{
    Session* session = Session::currentOrNull();
    return session != nullptr && session->document().selections().free(sname) ? RTNORM : RTERROR;
}

int acedSSLength(const ads_name sname, Adesk::Int32* len)
{
    Session* session = Session::currentOrNull();
    auto* set = session == nullptr ? nullptr : session->document().selections().find(sname);
    if (set == nullptr || len == nullptr)
        return RTERROR;
    *len = static_cast<Adesk::Int32>(set->size());
    return RTNORM;
}

int acedSSName(const ads_name ss, Adesk::Int32 i, ads_name entres)
{
    Session* session = Session::currentOrNull();
    auto* set = session == nullptr ? nullptr : session->document().selections().find(ss);
    if (set == nullptr || i < 0 || static_cast<std::size_t>(i) >= set->size())
        return RTERROR;
    ads_name name;
    acdbGetAdsName(name, (*set)[static_cast<std::size_t>(i)]);
    entres[0] = name[0];
    entres[1] = name[1];
    return RTNORM;
}

int acedSSAdd(const ads_name ename, const ads_name sname, ads_name result)
{
    Session* session = Session::currentOrNull();
    if (session == nullptr || result == nullptr)
        return RTERROR;
    AcDbObjectId id;
    const bool haveEntity = ename != nullptr && acdbGetObjectId(id, ename) == Acad::eOk;
    if (sname == nullptr || (sname[0] == 0 && sname[1] == 0)) {
        std::vector<AcDbObjectId> ids;
        if (haveEntity)
            ids.push_back(id);
        session->document().selections().create(std::move(ids), result);
        return RTNORM;
    }
    auto* set = session->document().selections().find(sname);
    if (set == nullptr)
        return RTERROR;
    if (haveEntity && std::find(set->begin(), set->end(), id) == set->end())
        set->push_back(id);
    result[0] = sname[0];
    result[1] = sname[1];
    return RTNORM;
}

int acedSSDel(const ads_name ename, const ads_name ss)
{
    Session* session = Session::currentOrNull();
    auto* set = session == nullptr ? nullptr : session->document().selections().find(ss);
    AcDbObjectId id;
    if (set == nullptr || acdbGetObjectId(id, ename) != Acad::eOk)
        return RTERROR;
    auto it = std::find(set->begin(), set->end(), id);
    if (it == set->end())
        return RTERROR;
    set->erase(it);
    return RTNORM;
}

int acedSSMemb(const ads_name ename, const ads_name ss)
{
    Session* session = Session::currentOrNull();
    auto* set = session == nullptr ? nullptr : session->document().selections().find(ss);
    AcDbObjectId id;
    if (set == nullptr || acdbGetObjectId(id, ename) != Acad::eOk)
        return RTERROR;
    return std::find(set->begin(), set->end(), id) == set->end() ? RTERROR : RTNORM;
}

int acedSSSetFirst(const ads_name pset, const ads_name)
{
    Session* session = Session::currentOrNull();
    if (session == nullptr)
        return RTERROR;
    auto* set = session->document().selections().find(pset);
    session->document().selections().pickFirst = set == nullptr ? std::vector<AcDbObjectId> {} : *set;
    return RTNORM;
}

int acedSSGetFirst(struct resbuf** gset, struct resbuf** pset)
{
    if (gset != nullptr)
        *gset = nullptr;
    if (pset != nullptr)
        *pset = nullptr;
    return RTNORM;
}
