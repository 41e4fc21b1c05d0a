// The command line's prompts.
#include "editor/Editor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <limits>

#include "adscodes.h"
#include "arxhost/Session.h"
#include "db/DatabaseImpl.h"
#include "dbsymtb.h"
#include "editor/InputQueue.h"
#include "editor/SysVarAccess.h"
#include "editor/Transcript.h"
#include "geometry/CurveKernel.h"
#include "session/DocumentState.h"
#include "text/Utf8.h"

namespace arxhost {

namespace {

constexpr double kPi = 3.14159265358979323846;

void copyOut(const std::wstring& text, ACHAR* result, size_t bufLen)
{
    if (result == nullptr || bufLen == 0)
        return;
    std::size_t n = std::min(text.size(), bufLen - 1);
    text.copy(result, n);
    result[n] = 0;
}

void toAds(const AcGePoint3d& p, ads_point out)
{
    out[X] = p.x;
    out[Y] = p.y;
    out[Z] = p.z;
}

} // namespace

Editor::Editor(Session& session)
    : mSession(session)
{
}

void Editor::showCancel()
{
    mSession.transcript().write(L"*Cancel*");
}

void Editor::complain(const std::wstring& message)
{
    mSession.transcript().write(L"\n" + message);
}

bool Editor::echoOn() const
{
    HeaderValue value = readVariable(mSession, L"CMDECHO");
    const auto* on = std::get_if<std::int64_t>(&value);
    return on == nullptr || *on != 0;
}

void Editor::pushArguments(std::deque<std::wstring> args)
{
    mArgumentStack.push_back(std::move(args));
}

void Editor::popArguments()
{
    if (!mArgumentStack.empty())
        mArgumentStack.pop_back();
}

void Editor::registerDirective(const std::wstring& name, DirectiveHandler handler)
{
    mDirectives[name] = std::move(handler);
}

void Editor::unregisterDirective(const std::wstring& name)
{
    mDirectives.erase(name);
}

bool Editor::handleDirective(
    const std::wstring& name, const std::wstring& args, Answer& moveOut, bool acceptMoves)
{
    if (name == L"break") {
        requestUserBreak();
        return false;
    }
    if (name == L"move") {
        auto point = parsePoint(args, lastPoint());
        if (!point) {
            mSession.transcript().write(L"\n*Invalid cursor position \"" + args + L"\"*");
            return false;
        }
        AcGePoint3d p = point->world ? mSession.document().wcsToUcs(point->point) : point->point;
        mCursor = p;
        if (!acceptMoves)
            return false;
        moveOut.kind = Answer::Kind::Move;
        moveOut.cursor = p;
        moveOut.text = args;
        return true;
    }
    auto it = mDirectives.find(name);
    if (it == mDirectives.end()) {
        std::fprintf(stderr, "planroad: unknown script directive \"!%s\"\n", toUtf8(name).c_str());
        return false;
    }
    if (!it->second(args))
        std::fprintf(
            stderr, "planroad: cannot carry out \"!%s %s\"\n", toUtf8(name).c_str(), toUtf8(args).c_str());
    return false;
}

void Editor::handleDirectiveAtPrompt(const std::wstring& name, const std::wstring& args)
{
    Answer ignored;
    handleDirective(name, args, ignored, false);
}

Editor::Answer Editor::ask(const std::wstring& prompt, bool acceptMoves)
{
    Transcript& out = mSession.transcript();
    const bool fromArguments = !mArgumentStack.empty();
    if (!fromArguments)
        mSession.idle();
    if (!fromArguments || echoOn())
        out.write(prompt);
    Answer answer;
    if (fromArguments) {
        std::deque<std::wstring>& args = mArgumentStack.back();
        if (args.empty()) {
            // A host command asked for more than it was given: it is cancelled.
            answer.kind = Answer::Kind::Cancel;
            if (echoOn())
                showCancel();
            return answer;
        }
        answer.text = args.front();
        args.pop_front();
        answer.kind = answer.text.empty() ? Answer::Kind::Enter : Answer::Kind::Text;
        if (echoOn())
            out.echo(answer.text);
        return answer;
    }
    while (true) {
        std::optional<InputToken> token = mSession.input().next();
        if (!token) {
            answer.kind = Answer::Kind::Cancel;
            showCancel();
            return answer;
        }
        switch (token->kind) {
        case InputToken::Kind::Cancel:
            answer.kind = Answer::Kind::Cancel;
            showCancel();
            return answer;
        case InputToken::Kind::Directive:
            if (handleDirective(token->text, token->args, answer, acceptMoves))
                return answer;
            continue;
        case InputToken::Kind::Text:
            answer.text = token->text;
            answer.kind = trimmed(token->text).empty() ? Answer::Kind::Enter : Answer::Kind::Text;
            out.echo(token->text);
            // Esc typed ahead while the command works on this answer.
            while (const InputToken* ahead = mSession.input().peek()) {
                if (ahead->kind != InputToken::Kind::Directive || ahead->text != L"break")
                    break;
                mSession.input().next();
                requestUserBreak();
            }
            return answer;
        }
    }
}

void Editor::initGet(int flags, const ACHAR* keywords)
{
    mNext.flags = flags;
    mNext.keywords = KeywordList(keywords == nullptr ? L"" : keywords);
}

Editor::InputControl Editor::takeInputControl()
{
    InputControl control = std::move(mNext);
    mNext = InputControl();
    return control;
}

bool Editor::takeUserBreak()
{
    bool pending = mUserBreak;
    mUserBreak = false;
    return pending;
}

AcGePoint3d Editor::lastPoint() const
{
    HeaderValue value = readVariable(mSession, L"LASTPOINT");
    if (const auto* p = std::get_if<std::array<double, 3>>(&value))
        return AcGePoint3d((*p)[0], (*p)[1], (*p)[2]);
    return AcGePoint3d::kOrigin;
}

void Editor::setLastPoint(const AcGePoint3d& ucsPoint)
{
    mSession.document().variables()[L"LASTPOINT"]
        = std::array<double, 3> {ucsPoint.x, ucsPoint.y, ucsPoint.z};
    mCursor = ucsPoint;
}

void Editor::setErrno(int value)
{
    mSession.document().variables()[L"ERRNO"] = static_cast<std::int64_t>(value);
}

// ---- Points, angles, distances ----

int Editor::getPoint(const ads_point base, const ACHAR* prompt, ads_point result, bool corner)
{
    InputControl control = takeInputControl();
    const std::wstring text = prompt == nullptr ? L"" : prompt;
    // The base point and the corner form only shape the rubber band, which a headless screen lacks.
    (void)base;
    (void)corner;
    while (true) {
        Answer answer = ask(text);
        switch (answer.kind) {
        case Answer::Kind::Cancel:
            return RTCAN;
        case Answer::Kind::Move:
            continue;
        case Answer::Kind::Enter:
            if (control.flags & RSG_NONULL)
                continue;
            return RTNONE;
        case Answer::Kind::Text:
            break;
        }
        // "@" is relative to the last point given (LASTPOINT), whatever the base point.
        if (auto point = parsePoint(answer.text, lastPoint())) {
            AcGePoint3d p = point->world ? mSession.document().wcsToUcs(point->point) : point->point;
            setLastPoint(p);
            toAds(p, result);
            return RTNORM;
        }
        if (auto kw = control.keywords.match(answer.text)) {
            mLastKeyword = *kw;
            return RTKWORD;
        }
        if (control.flags & RSG_OTHER) {
            mLastKeyword = answer.text;
            return RTKWORD;
        }
        complain(control.keywords.empty() ? L"Invalid point." : L"Point or option keyword required.");
    }
}

int Editor::getAngle(const ads_point base, const ACHAR* prompt, ads_real* result, bool orient)
{
    InputControl control = takeInputControl();
    const std::wstring text = prompt == nullptr ? L"" : prompt;
    while (true) {
        Answer answer = ask(text);
        if (answer.kind == Answer::Kind::Cancel)
            return RTCAN;
        if (answer.kind == Answer::Kind::Move)
            continue;
        if (answer.kind == Answer::Kind::Enter) {
            if (control.flags & RSG_NONULL)
                continue;
            return RTNONE;
        }
        if (auto degrees = parseNumber(answer.text)) {
            double angle = *degrees * kPi / 180.0;
            if (!orient) {
                HeaderValue angbase = readVariable(mSession, L"ANGBASE");
                if (const auto* b = std::get_if<double>(&angbase))
                    angle -= *b;
            }
            if ((control.flags & RSG_NOZERO) && angle == 0.0) {
                complain(L"Value must be nonzero.");
                continue;
            }
            *result = angle;
            return RTNORM;
        }
        AcGePoint3d from;
        bool haveFrom = base != nullptr;
        if (haveFrom)
            from = AcGePoint3d(base[X], base[Y], base[Z]);
        if (auto point = parsePoint(answer.text, haveFrom ? from : lastPoint())) {
            AcGePoint3d p = point->world ? mSession.document().wcsToUcs(point->point) : point->point;
            if (!haveFrom) {
                // The first point of two: ask for the second.
                from = p;
                setLastPoint(p);
                Answer second = ask(L"\nSpecify second point: ");
                if (second.kind == Answer::Kind::Cancel)
                    return RTCAN;
                auto q = parsePoint(second.text, from);
                if (!q) {
                    complain(L"Requires valid numeric angle or second point.");
                    continue;
                }
                p = q->world ? mSession.document().wcsToUcs(q->point) : q->point;
            }
            setLastPoint(p);
            *result = std::atan2(p.y - from.y, p.x - from.x);
            if (*result < 0)
                *result += 2 * kPi;
            return RTNORM;
        }
        if (auto kw = control.keywords.match(answer.text)) {
            mLastKeyword = *kw;
            return RTKWORD;
        }
        complain(L"Requires valid numeric angle or second point.");
    }
}

int Editor::getDist(const ads_point base, const ACHAR* prompt, ads_real* result)
{
    InputControl control = takeInputControl();
    const std::wstring text = prompt == nullptr ? L"" : prompt;
    while (true) {
        Answer answer = ask(text);
        if (answer.kind == Answer::Kind::Cancel)
            return RTCAN;
        if (answer.kind == Answer::Kind::Move)
            continue;
        if (answer.kind == Answer::Kind::Enter) {
            if (control.flags & RSG_NONULL)
                continue;
            return RTNONE;
        }
        std::optional<double> value = parseNumber(answer.text);
        if (!value) {
            AcGePoint3d from = base != nullptr ? AcGePoint3d(base[X], base[Y], base[Z]) : lastPoint();
            if (auto p = parsePoint(answer.text, from); p && base != nullptr)
                value = from.distanceTo(p->point);
        }
        if (value) {
            if ((control.flags & RSG_NOZERO) && *value == 0.0) {
                complain(L"Value must be nonzero.");
                continue;
            }
            if ((control.flags & RSG_NONEG) && *value < 0.0) {
                complain(L"Value must be positive.");
                continue;
            }
            *result = *value;
            return RTNORM;
        }
        if (auto kw = control.keywords.match(answer.text)) {
            mLastKeyword = *kw;
            return RTKWORD;
        }
        complain(L"Requires numeric distance or second point.");
    }
}

// ---- Numbers, strings, keywords ----

int Editor::getReal(const ACHAR* prompt, ads_real* result)
{
    InputControl control = takeInputControl();
    const std::wstring text = prompt == nullptr ? L"" : prompt;
    while (true) {
        Answer answer = ask(text);
        if (answer.kind == Answer::Kind::Cancel)
            return RTCAN;
        if (answer.kind == Answer::Kind::Move)
            continue;
        if (answer.kind == Answer::Kind::Enter) {
            if (control.flags & RSG_NONULL)
                continue;
            return RTNONE;
        }
        if (auto value = parseNumber(answer.text)) {
            if ((control.flags & RSG_NOZERO) && *value == 0.0) {
                complain(L"Value must be nonzero.");
                continue;
            }
            if ((control.flags & RSG_NONEG) && *value < 0.0) {
                complain(L"Value must be positive.");
                continue;
            }
            *result = *value;
            return RTNORM;
        }
        if (auto kw = control.keywords.match(answer.text)) {
            mLastKeyword = *kw;
            return RTKWORD;
        }
        if (control.flags & RSG_OTHER) {
            mLastKeyword = answer.text;
            return RTKWORD;
        }
        complain(control.keywords.empty() ? L"Requires numeric value."
                                          : L"Requires numeric value or option keyword.");
    }
}

int Editor::getInt(const ACHAR* prompt, int* result)
{
    InputControl control = takeInputControl();
    const std::wstring text = prompt == nullptr ? L"" : prompt;
    while (true) {
        Answer answer = ask(text);
        if (answer.kind == Answer::Kind::Cancel)
            return RTCAN;
        if (answer.kind == Answer::Kind::Move)
            continue;
        if (answer.kind == Answer::Kind::Enter) {
            if (control.flags & RSG_NONULL)
                continue;
            return RTNONE;
        }
        if (auto value = parseInteger(answer.text)) {
            if (*value < -32768 || *value > 32767) {
                complain(L"Requires an integer between -32768 and 32767.");
                continue;
            }
            if ((control.flags & RSG_NOZERO) && *value == 0) {
                complain(L"Value must be nonzero.");
                continue;
            }
            if ((control.flags & RSG_NONEG) && *value < 0) {
                complain(L"Value must be positive.");
                continue;
            }
            *result = static_cast<int>(*value);
            return RTNORM;
        }
        if (auto kw = control.keywords.match(answer.text)) {
            mLastKeyword = *kw;
            return RTKWORD;
        }
        complain(L"Requires an integer value.");
    }
}

int Editor::getString(int cronly, const ACHAR* prompt, ACHAR* result, size_t bufLen)
{
    takeInputControl();
    Answer answer = ask(prompt == nullptr ? L"" : prompt);
    if (answer.kind == Answer::Kind::Cancel)
        return RTCAN;
    std::wstring text = answer.kind == Answer::Kind::Text ? answer.text : L"";
    if (!cronly) {
        // Without cronly a blank ends the answer, as Enter would; the rest is typed next.
        std::size_t blank = text.find(L' ');
        if (blank != std::wstring::npos) {
            std::wstring rest = text.substr(blank + 1);
            text.resize(blank);
            if (!rest.empty() && !readingArguments())
                mSession.input().pushFront(rest);
        }
    }
    if (text.size() + 1 > bufLen) {
        copyOut(text, result, bufLen);
        return RTINPUTTRUNCATED;
    }
    copyOut(text, result, bufLen);
    return RTNORM;
}

int Editor::getKword(const ACHAR* prompt, ACHAR* result, size_t bufLen)
{
    InputControl control = takeInputControl();
    const std::wstring text = prompt == nullptr ? L"" : prompt;
    while (true) {
        Answer answer = ask(text);
        if (answer.kind == Answer::Kind::Cancel)
            return RTCAN;
        if (answer.kind == Answer::Kind::Move)
            continue;
        if (answer.kind == Answer::Kind::Enter) {
            if (control.flags & RSG_NONULL)
                continue;
            copyOut(L"", result, bufLen);
            return RTNONE;
        }
        if (auto kw = control.keywords.match(answer.text)) {
            mLastKeyword = *kw;
            copyOut(*kw, result, bufLen);
            return RTNORM;
        }
        if (control.flags & RSG_OTHER) {
            mLastKeyword = answer.text;
            copyOut(answer.text, result, bufLen);
            return RTNORM;
        }
        complain(L"Invalid option keyword.");
    }
}

// ---- Picking ----

double Editor::pickAperture() const
{
    HeaderValue box = readVariable(mSession, L"PICKBOX");
    const auto* pixels = std::get_if<std::int64_t>(&box);
    double px = pixels == nullptr ? 3.0 : static_cast<double>(*pixels);
    return std::max(px, 1.0) * mSession.document().view().unitsPerPixel();
}

AcDbObjectId Editor::pickAt(const AcGePoint3d& wcsPoint) const
{
    AcDbDatabase& db = mSession.document().database();
    const double aperture = pickAperture();
    Box2d box {wcsPoint.x - aperture, wcsPoint.y - aperture, wcsPoint.x + aperture, wcsPoint.y + aperture};
    AcDbObjectId best;
    double bestDistance = std::numeric_limits<double>::max();
    for (AcDbStub* stub : db.impl().index().query(box)) {
        const auto* entity = AcDbEntity::cast(stub->object());
        if (entity == nullptr || entity->isErased() || entity->visibility() != AcDb::kVisible)
            continue;
        const auto* layer = AcDbLayerTableRecord::cast(DatabaseImpl::peek(entity->layerId()));
        if (layer != nullptr && layer->isHidden())
            continue;
        geom::Path path;
        if (!entity->hostPath(path))
            continue;
        double distance = geom::distanceTo(path, wcsPoint);
        // The nearest wins; among equals the one drawn last (the newest handle) is on top.
        if (distance <= aperture
            && (distance < bestDistance || (distance == bestDistance && best.handle() < stub->handle()))) {
            best = AcDbObjectId(stub);
            bestDistance = distance;
        }
    }
    return best;
}

int Editor::entSel(const ACHAR* prompt, ads_name entres, ads_point ptres)
{
    InputControl control = takeInputControl();
    const std::wstring text = prompt == nullptr ? L"\nSelect object: " : prompt;
    while (true) {
        Answer answer = ask(text);
        if (answer.kind == Answer::Kind::Cancel)
            return RTCAN;
        if (answer.kind == Answer::Kind::Move)
            continue;
        if (answer.kind == Answer::Kind::Enter) {
            setErrno(OL_ENTSELNULL);
            return RTERROR;
        }
        if (auto point = parsePoint(answer.text, lastPoint())) {
            AcGePoint3d ucs = point->world ? mSession.document().wcsToUcs(point->point) : point->point;
            setLastPoint(ucs);
            AcDbObjectId picked = pickAt(mSession.document().ucsToWcs(ucs));
            if (picked.isNull()) {
                setErrno(OL_ENTSELPICK);
                return RTERROR;
            }
            ads_name name;
            acdbGetAdsName(name, picked);
            entres[0] = name[0];
            entres[1] = name[1];
            toAds(ucs, ptres);
            return RTNORM;
        }
        if (auto kw = control.keywords.match(answer.text)) {
            mLastKeyword = *kw;
            return RTKWORD;
        }
        if (control.flags & RSG_OTHER) {
            mLastKeyword = answer.text;
            return RTKWORD;
        }
        complain(control.keywords.empty() ? L"Invalid point." : L"Point or option keyword required.");
    }
}

} // namespace arxhost
