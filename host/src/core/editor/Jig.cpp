// AcEdJig: the drag loop, fed by cursor moves ("!move x,y") and a final click (a typed point).
#include <cmath>
#include <cstdarg>

#include "arxhost/Session.h"
#include "dbjig.h"
#include "dbsymtb.h"
#include "editor/Editor.h"
#include "editor/Transcript.h"
#include "session/DocumentState.h"
#include "text/WideFormat.h"

namespace {

// What the current drag is doing: the pending cursor sample and how the drag ends.
struct DragState {
    AcGePoint3d cursor; // world coordinates
    AcGePoint3d lastSample; // the point handed out by the previous acquirePoint
    bool haveSample = false;
    AcEdJig::DragStatus pending = AcEdJig::kNormal;
};

thread_local DragState* gDrag = nullptr;

} // namespace

AcEdJig::AcEdJig() = default;
AcEdJig::~AcEdJig() = default;

const ACHAR* AcEdJig::dispPrompt() const
{
    return mPrompt.c_str();
}

void AcEdJig::setDispPrompt(const ACHAR* prompt, ...)
{
    if (prompt == nullptr) {
        mPrompt.clear();
        return;
    }
    va_list args;
    va_start(args, prompt);
    mPrompt = arxhost::formatWideV(prompt, args);
    va_end(args);
}

const ACHAR* AcEdJig::keywordList() const
{
    return mKeywords.c_str();
}

void AcEdJig::setKeywordList(const ACHAR* kwl)
{
    mKeywords = kwl == nullptr ? L"" : kwl;
}

AcEdJig::DragStatus AcEdJig::sampler()
{
    return kNoChange;
}

Adesk::Boolean AcEdJig::update()
{
    return Adesk::kTrue;
}

AcDbEntity* AcEdJig::entity() const
{
    return nullptr;
}

AcDbObjectId AcEdJig::append()
{
    AcDbEntity* pEntity = entity();
    arxhost::Session* session = arxhost::Session::currentOrNull();
    if (pEntity == nullptr || session == nullptr)
        return AcDbObjectId();
    AcDbBlockTableRecord* space = nullptr;
    if (acdbOpenObject(space, session->document().database().currentSpaceId(), AcDb::kForWrite) != Acad::eOk)
        return AcDbObjectId();
    AcDbObjectId id;
    if (space->appendAcDbEntity(id, pEntity) == Acad::eOk)
        pEntity->close();
    space->close();
    return id;
}

AcEdJig::DragStatus AcEdJig::drag()
{
    arxhost::Session* session = arxhost::Session::currentOrNull();
    if (session == nullptr)
        return kCancel;
    arxhost::Editor& editor = session->editor();
    arxhost::DocumentState& doc = session->document();
    const arxhost::KeywordList keywords(mKeywords);
    DragState state;
    state.cursor = doc.ucsToWcs(editor.cursor());
    DragState* outer = gDrag;
    gDrag = &state;
    DragStatus result = kCancel;
    std::wstring prompt = mPrompt;
    while (true) {
        arxhost::Editor::Answer answer = editor.ask(prompt, true);
        // Later answers continue on the same prompt line, as a drag shows no new prompt.
        prompt.clear();
        if (answer.kind == arxhost::Editor::Answer::Kind::Cancel) {
            result = kCancel;
            break;
        }
        if (answer.kind == arxhost::Editor::Answer::Kind::Move) {
            state.cursor = doc.ucsToWcs(answer.cursor);
            state.pending = kNormal;
            if (sampler() == kNormal)
                update();
            continue;
        }
        if (answer.kind == arxhost::Editor::Answer::Kind::Enter) {
            if (mControls & kNullResponseAccepted) {
                result = kNull;
                break;
            }
            prompt = mPrompt;
            continue;
        }
        if (auto point = arxhost::parsePoint(answer.text, editor.lastPoint())) {
            AcGePoint3d ucs = point->world ? doc.wcsToUcs(point->point) : point->point;
            editor.setLastPoint(ucs);
            state.cursor = doc.ucsToWcs(ucs);
            // The click is a last sample: the entities follow the cursor there before the drag ends.
            if (sampler() != kCancel)
                update();
            result = kNormal;
            break;
        }
        if (auto kw = keywords.match(answer.text)) {
            int index = 0;
            for (const std::wstring& local : keywords.local()) {
                ++index;
                if (keywords.match(local) == kw)
                    break;
            }
            editor.setLastKeyword(*kw);
            result = static_cast<DragStatus>(index);
            break;
        }
        if (mControls & kAcceptOtherInputString) {
            editor.setLastKeyword(answer.text);
            result = kOther;
            break;
        }
        session->transcript().write(L"\nInvalid point.");
        prompt = mPrompt;
    }
    gDrag = outer;
    return result;
}

AcEdJig::DragStatus AcEdJig::acquirePoint(AcGePoint3d& point)
{
    if (gDrag == nullptr)
        return kCancel;
    point = gDrag->cursor;
    if (gDrag->haveSample && gDrag->lastSample.isEqualTo(point))
        return kNoChange;
    gDrag->lastSample = point;
    gDrag->haveSample = true;
    return kNormal;
}

AcEdJig::DragStatus AcEdJig::acquirePoint(AcGePoint3d& point, const AcGePoint3d&)
{
    return acquirePoint(point);
}

AcEdJig::DragStatus AcEdJig::acquireDist(double& distance)
{
    AcGePoint3d p;
    DragStatus status = acquirePoint(p);
    distance = p.asVector().length();
    return status;
}

AcEdJig::DragStatus AcEdJig::acquireDist(double& distance, const AcGePoint3d& basePnt)
{
    AcGePoint3d p;
    DragStatus status = acquirePoint(p);
    distance = p.distanceTo(basePnt);
    return status;
}

AcEdJig::DragStatus AcEdJig::acquireAngle(double& angle)
{
    AcGePoint3d p;
    DragStatus status = acquirePoint(p);
    angle = std::atan2(p.y, p.x);
    return status;
}

AcEdJig::DragStatus AcEdJig::acquireAngle(double& angle, const AcGePoint3d& basePnt)
{
    AcGePoint3d p;
    DragStatus status = acquirePoint(p);
    angle = std::atan2(p.y - basePnt.y, p.x - basePnt.x);
    return status;
}
