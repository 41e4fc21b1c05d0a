// The host's own commands: ZOOM, UNDO, U, UCS, SETVAR, ARXLOAD, ARXUNLOAD, REDRAW, REGEN.
#include "editor/HostCommands.h"

#include <cmath>

#include "adscodes.h"
#include "arxhost/Session.h"
#include "core/Diagnostics.h"
#include "db/DatabaseImpl.h"
#include "db/SystemVariables.h"
#include "detail/DimVarList.h"
#include "editor/CommandProcessor.h"
#include "editor/Editor.h"
#include "editor/SysVarAccess.h"
#include "editor/Transcript.h"
#include "session/DocumentState.h"
#include "text/WideFormat.h"

namespace arxhost {

namespace {

constexpr double kPi = 3.14159265358979323846;

void say(Session& session, const std::wstring& text)
{
    session.transcript().write(text);
}

// A cancelled prompt of a host command ends the command; acedCommand then reports RTCAN.
bool cancelled(Session& session, const Editor::Answer& answer)
{
    if (answer.kind != Editor::Answer::Kind::Cancel)
        return false;
    session.processor().markCancelled();
    return true;
}

std::optional<AcGePoint3d> askPoint(Session& session, const std::wstring& prompt, bool& wasCancelled)
{
    Editor& editor = session.editor();
    while (true) {
        Editor::Answer answer = editor.ask(prompt);
        if (cancelled(session, answer)) {
            wasCancelled = true;
            return std::nullopt;
        }
        if (answer.kind != Editor::Answer::Kind::Text)
            return std::nullopt;
        if (auto p = parsePoint(answer.text, editor.lastPoint())) {
            AcGePoint3d ucs = p->world ? session.document().wcsToUcs(p->point) : p->point;
            editor.setLastPoint(ucs);
            return session.document().ucsToWcs(ucs);
        }
        say(session, L"\nInvalid point.");
    }
}

void zoomExtents(Session& session)
{
    DocumentState& doc = session.document();
    AcDbDatabase& db = doc.database();
    db.updateExt();
    AcGePoint3d lo = db.extmin();
    AcGePoint3d hi = db.extmax();
    if (lo.x > hi.x || lo.y > hi.y) {
        // An empty drawing shows its limits.
        doc.view().zoomWindow(AcGePoint3d(0, 0, 0), AcGePoint3d(420, 297, 0));
        return;
    }
    if (hi.x - lo.x < 1e-9 && hi.y - lo.y < 1e-9) {
        doc.view().zoomCenter(lo, doc.view().height());
        return;
    }
    doc.view().zoomWindow(lo, hi);
}

void zoomCommand(Session& session)
{
    Editor& editor = session.editor();
    DocumentState& doc = session.document();
    const std::wstring prompt = L"\nSpecify corner of window, enter a scale factor (nX or nXP), or\n"
                                L"[All/Center/Dynamic/Extents/Previous/Scale/Window/Object] <real time>: ";
    const KeywordList keywords(L"All Center Dynamic Extents Previous Scale Window Object");
    while (true) {
        Editor::Answer answer = editor.ask(prompt);
        if (cancelled(session, answer))
            return;
        if (answer.kind == Editor::Answer::Kind::Enter) {
            say(session, L"\nPress ESC or ENTER to exit, or right-click to display shortcut menu.");
            return;
        }
        if (answer.kind != Editor::Answer::Kind::Text)
            continue;
        std::wstring text = trimmed(answer.text);
        if (auto kw = keywords.match(text)) {
            bool wasCancelled = false;
            if (*kw == L"All" || *kw == L"Extents") {
                zoomExtents(session);
            } else if (*kw == L"Previous") {
                if (!doc.view().previous())
                    say(session, L"\nNo previous view saved.");
            } else if (*kw == L"Window") {
                auto a = askPoint(session, L"\nSpecify first corner: ", wasCancelled);
                if (!a)
                    return;
                auto b = askPoint(session, L"\nSpecify opposite corner: ", wasCancelled);
                if (!b)
                    return;
                doc.view().zoomWindow(*a, *b);
            } else if (*kw == L"Center") {
                auto c = askPoint(session, L"\nSpecify center point: ", wasCancelled);
                if (!c)
                    return;
                Editor::Answer h = editor.ask(
                    formatWide(L"\nEnter magnification or height <%.4f>: ", doc.view().height()));
                if (cancelled(session, h))
                    return;
                auto height = h.kind == Editor::Answer::Kind::Text ? parseNumber(h.text) : std::nullopt;
                doc.view().zoomCenter(*c, height.value_or(doc.view().height()));
            } else if (*kw == L"Scale") {
                Editor::Answer s = editor.ask(L"\nEnter a scale factor (nX or nXP): ");
                if (cancelled(session, s))
                    return;
                std::wstring factor = trimmed(s.text);
                if (!factor.empty() && (factor.back() == L'x' || factor.back() == L'X'))
                    factor.pop_back();
                if (auto f = parseNumber(factor))
                    doc.view().zoomScale(*f);
            } else {
                say(session, L"\n" + *kw + L" is not available in this host.");
            }
            return;
        }
        // "2x": a scale factor relative to the current view.
        if (!text.empty() && (text.back() == L'x' || text.back() == L'X')) {
            if (auto f = parseNumber(text.substr(0, text.size() - 1))) {
                doc.view().zoomScale(*f);
                return;
            }
        }
        if (auto f = parseNumber(text)) {
            doc.view().zoomScale(*f);
            return;
        }
        if (auto p = parsePoint(text, editor.lastPoint())) {
            AcGePoint3d first = doc.ucsToWcs(p->world ? doc.wcsToUcs(p->point) : p->point);
            bool wasCancelled = false;
            auto second = askPoint(session, L"\nSpecify opposite corner: ", wasCancelled);
            if (!second)
                return;
            doc.view().zoomWindow(first, *second);
            return;
        }
        say(session, L"\nPoint or option keyword required.");
    }
}

void undoSteps(Session& session, int count)
{
    DatabaseImpl& db = session.document().database().impl();
    if (!db.openStubs().empty())
        reportViolation(L"UNDO while objects are open");
    std::vector<std::wstring> names = db.undo().undo(count, db.header());
    if (names.empty()) {
        say(session, L"\nEverything has been undone");
        return;
    }
    std::wstring line;
    for (const std::wstring& name : names)
        line += (line.empty() ? L"" : L" ") + name;
    say(session, L"\n" + line);
}

void undoCommand(Session& session)
{
    Editor& editor = session.editor();
    say(session, L"\nCurrent settings: Auto = On, Control = All, Combine = Yes, Layer = Yes");
    const KeywordList keywords(L"Auto Control BEgin End Mark Back");
    while (true) {
        Editor::Answer answer = editor.ask(
            L"\nEnter the number of operations to undo or [Auto/Control/BEgin/End/Mark/Back] <1>: ");
        if (cancelled(session, answer))
            return;
        if (answer.kind == Editor::Answer::Kind::Enter) {
            undoSteps(session, 1);
            return;
        }
        if (answer.kind != Editor::Answer::Kind::Text)
            continue;
        if (auto n = parseInteger(answer.text)) {
            if (*n <= 0) {
                say(session, L"\nRequires a positive integer.");
                continue;
            }
            undoSteps(session, static_cast<int>(std::min<long long>(*n, 1000000)));
            return;
        }
        if (auto kw = keywords.match(answer.text)) {
            if (*kw == L"Back") {
                undoSteps(session, 1000000);
            }
            // Auto, Control, BEgin, End and Mark change nothing here: every command is one step.
            return;
        }
        say(session, L"\nRequires an integer value or option keyword.");
    }
}

void ucsCommand(Session& session)
{
    Editor& editor = session.editor();
    DocumentState& doc = session.document();
    AcDbDatabase& db = doc.database();
    auto setUcs = [&](const AcGePoint3d& origin, double angle) {
        db.impl().setHeaderValue(L"UCSORG", std::array<double, 3> {origin.x, origin.y, origin.z});
        db.impl().setHeaderValue(L"UCSXDIR", std::array<double, 3> {std::cos(angle), std::sin(angle), 0});
        db.impl().setHeaderValue(L"UCSYDIR", std::array<double, 3> {-std::sin(angle), std::cos(angle), 0});
    };
    say(session,
        std::abs(doc.ucsAngle()) < 1e-12 && db.ucsorg().isEqualTo(AcGePoint3d::kOrigin)
            ? L"\nCurrent ucs name:  *WORLD*"
            : L"\nCurrent ucs name:  *NO NAME*");
    const KeywordList keywords(L"World Z");
    Editor::Answer answer = editor.ask(L"\nSpecify origin of UCS or [World/Z] <World>: ");
    if (cancelled(session, answer))
        return;
    if (answer.kind == Editor::Answer::Kind::Enter) {
        setUcs(AcGePoint3d::kOrigin, 0);
        return;
    }
    auto kw = keywords.match(answer.text);
    if (kw && *kw == L"World") {
        setUcs(AcGePoint3d::kOrigin, 0);
        return;
    }
    if (kw && *kw == L"Z") {
        Editor::Answer angle = editor.ask(L"\nSpecify rotation angle about Z axis <90>: ");
        if (cancelled(session, angle))
            return;
        double degrees = 90;
        if (angle.kind == Editor::Answer::Kind::Text) {
            auto value = parseNumber(angle.text);
            if (!value) {
                say(session, L"\nRequires valid numeric angle.");
                return;
            }
            degrees = *value;
        }
        setUcs(db.ucsorg(), doc.ucsAngle() + degrees * kPi / 180.0);
        return;
    }
    auto p = parsePoint(answer.text, editor.lastPoint());
    if (!p) {
        say(session, L"\nPoint or option keyword required.");
        return;
    }
    AcGePoint3d origin = p->world ? p->point : doc.ucsToWcs(p->point);
    double angle = doc.ucsAngle();
    Editor::Answer xAxis = editor.ask(L"\nSpecify point on X-axis or <Accept>: ");
    if (cancelled(session, xAxis))
        return;
    if (xAxis.kind == Editor::Answer::Kind::Text) {
        if (auto q = parsePoint(xAxis.text, p->point)) {
            AcGePoint3d onX = q->world ? q->point : doc.ucsToWcs(q->point);
            angle = std::atan2(onX.y - origin.y, onX.x - origin.x);
        }
    }
    setUcs(origin, angle);
}

void loadCommand(Session& session, bool load)
{
    Editor::Answer answer = session.editor().ask(
        load ? L"\nEnter module file name to load: " : L"\nEnter module name to unload: ");
    if (cancelled(session, answer) || answer.kind != Editor::Answer::Kind::Text)
        return;
    std::wstring name = trimmed(answer.text);
    if (load)
        session.loadModule(name, true);
    else
        session.unloadModule(name, true);
}

} // namespace

void promptForVariable(Session& session, const std::wstring& name)
{
    const SysVarInfo* info = findSysVar(name.c_str());
    if (info == nullptr) {
        say(session, L"\nUnknown variable name.  Type SETVAR ? for a list of variables.");
        return;
    }
    if (info->readOnly) {
        say(session, L"\n" + name + L" = " + describeVariable(session, name) + L" (read only)");
        return;
    }
    Editor::Answer answer = session.editor().ask(
        L"\nEnter new value for " + name + L" <" + describeVariable(session, name) + L">: ");
    if (cancelled(session, answer) || answer.kind != Editor::Answer::Kind::Text)
        return;
    std::wstring text = trimmed(answer.text);
    HeaderValue value;
    switch (info->kind) {
    case VarKind::Short:
    case VarKind::Long: {
        auto i = parseInteger(text);
        if (!i) {
            say(session, L"\nRequires an integer value.");
            return;
        }
        value = static_cast<std::int64_t>(*i);
        break;
    }
    case VarKind::Real: {
        auto d = parseNumber(text);
        if (!d) {
            say(session, L"\nRequires numeric value.");
            return;
        }
        value = *d;
        break;
    }
    case VarKind::Point2d:
    case VarKind::Point3d: {
        auto p = parsePoint(text, AcGePoint3d::kOrigin);
        if (!p) {
            say(session, L"\nInvalid point.");
            return;
        }
        value = std::array<double, 3> {p->point.x, p->point.y, p->point.z};
        break;
    }
    case VarKind::Text:
    case VarKind::TableName:
        // A single "." clears a text variable, as on the real command line; the decimal separator of
        // dimensions takes it as its value.
        value = text == L"." && findDimVar(name.c_str()) == nullptr ? std::wstring() : text;
        break;
    }
    std::wstring error;
    if (!writeVariable(session, name, value, &error))
        say(session, L"\n" + error);
}

void registerHostCommands(Session& session, CommandProcessor& processor)
{
    processor.addHostCommand(
        L"ZOOM", [&session] { zoomCommand(session); }, true, true);
    processor.addHostCommand(
        L"Z", [&session] { zoomCommand(session); }, true, true);
    processor.addHostCommand(
        L"UNDO", [&session] { undoCommand(session); }, false);
    processor.addHostCommand(
        L"U", [&session] { undoSteps(session, 1); }, false);
    processor.addHostCommand(L"UCS", [&session] { ucsCommand(session); });
    processor.addHostCommand(L"SETVAR", [&session] {
        Editor::Answer answer = session.editor().ask(L"\nEnter variable name or [?]: ");
        if (cancelled(session, answer) || answer.kind != Editor::Answer::Kind::Text)
            return;
        promptForVariable(session, upperName(trimmed(answer.text).c_str()));
    });
    processor.addHostCommand(
        L"ARXLOAD", [&session] { loadCommand(session, true); }, false);
    processor.addHostCommand(
        L"ARXUNLOAD", [&session] { loadCommand(session, false); }, false);
    processor.addHostCommand(
        L"REDRAW", [] {}, false);
    processor.addHostCommand(
        L"REGEN", [&session] { say(session, L"\nRegenerating model."); }, false);
}

} // namespace arxhost
