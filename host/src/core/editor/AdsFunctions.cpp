// The ADS editor functions, answered by the current session's editor.
#include <cstdarg>
#include <deque>

#include "aced.h"
#include "acedads.h"
#include "acutads.h"
#include "arxhost/Session.h"
#include "editor/CommandProcessor.h"
#include "editor/Editor.h"
#include "editor/StatusBar.h"
#include "editor/SysVarAccess.h"
#include "editor/Transcript.h"
#include "session/DocumentState.h"
#include "text/WideFormat.h"

using arxhost::Session;

namespace {

Session* session()
{
    return Session::currentOrNull();
}

std::wstring number(double value)
{
    return arxhost::formatWide(L"%.17g", value);
}

} // namespace

int acedInitGet(int val, const ACHAR* kwl)
{
    if (session() == nullptr)
        return RTERROR;
    session()->editor().initGet(val, kwl);
    return RTNORM;
}

int acedGetPoint(const ads_point pt, const ACHAR* prompt, ads_point result)
{
    return session() == nullptr ? RTERROR : session()->editor().getPoint(pt, prompt, result);
}

int acedGetCorner(const ads_point pt, const ACHAR* prompt, ads_point result)
{
    return session() == nullptr ? RTERROR : session()->editor().getPoint(pt, prompt, result, true);
}

int acedGetAngle(const ads_point pt, const ACHAR* prompt, ads_real* result)
{
    return session() == nullptr ? RTERROR : session()->editor().getAngle(pt, prompt, result, false);
}

int acedGetOrient(const ads_point pt, const ACHAR* prompt, ads_real* result)
{
    return session() == nullptr ? RTERROR : session()->editor().getAngle(pt, prompt, result, true);
}

int acedGetDist(const ads_point pt, const ACHAR* prompt, ads_real* result)
{
    return session() == nullptr ? RTERROR : session()->editor().getDist(pt, prompt, result);
}

int acedGetReal(const ACHAR* prompt, ads_real* result)
{
    return session() == nullptr ? RTERROR : session()->editor().getReal(prompt, result);
}

int acedGetInt(const ACHAR* prompt, int* result)
{
    return session() == nullptr ? RTERROR : session()->editor().getInt(prompt, result);
}

int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result, size_t bufLen)
{
    return session() == nullptr ? RTERROR : session()->editor().getString(cronly, prompt, result, bufLen);
}

int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t bufLen)
{
    return session() == nullptr ? RTERROR : session()->editor().getKword(prompt, result, bufLen);
}

int acedGetInput(ACHAR* str, size_t bufLen)
{
    if (session() == nullptr || str == nullptr || bufLen == 0)
        return RTERROR;
    const std::wstring& kw = session()->editor().lastKeyword();
    std::size_t n = std::min(kw.size(), bufLen - 1);
    kw.copy(str, n);
    str[n] = 0;
    return kw.size() >= bufLen ? RTINPUTTRUNCATED : RTNORM;
}

int acedEntSel(const ACHAR* str, ads_name entres, ads_point ptres)
{
    return session() == nullptr ? RTERROR : session()->editor().entSel(str, entres, ptres);
}

int acedGetVar(const ACHAR* sym, struct resbuf* result)
{
    if (session() == nullptr || sym == nullptr)
        return RTERROR;
    return arxhost::variableToResbuf(*session(), sym, result);
}

int acedSetVar(const ACHAR* sym, const struct resbuf* val)
{
    if (session() == nullptr || sym == nullptr)
        return RTERROR;
    return arxhost::variableFromResbuf(*session(), sym, val);
}

namespace {

// The arguments of acedCommand as the answers a user would type.
bool collectArguments(int rtype, va_list args, std::deque<std::wstring>& out)
{
    for (int type = rtype; type != RTNONE && type != 0; type = va_arg(args, int)) {
        switch (type) {
        case RTSTR: {
            const ACHAR* text = va_arg(args, const ACHAR*);
            out.emplace_back(text == nullptr ? L"" : text);
            break;
        }
        case RTREAL:
        case RTANG:
            out.push_back(number(va_arg(args, double)));
            break;
        case RTSHORT:
        case RTLONG:
            out.push_back(std::to_wstring(va_arg(args, int)));
            break;
        case RTPOINT: {
            const double* p = va_arg(args, const double*);
            out.push_back(number(p[X]) + L"," + number(p[Y]));
            break;
        }
        case RT3DPOINT: {
            const double* p = va_arg(args, const double*);
            out.push_back(number(p[X]) + L"," + number(p[Y]) + L"," + number(p[Z]));
            break;
        }
        default:
            return false;
        }
    }
    return true;
}

int runCommand(int rtype, va_list args)
{
    if (session() == nullptr)
        return RTERROR;
    std::deque<std::wstring> answers;
    if (!collectArguments(rtype, args, answers))
        return RTERROR;
    return session()->processor().runWithArguments(std::move(answers));
}

} // namespace

int acedCommand(int rtype, ...)
{
    va_list args;
    va_start(args, rtype);
    int result = runCommand(rtype, args);
    va_end(args);
    return result;
}

int acedCommandS(int rtype, ...)
{
    va_list args;
    va_start(args, rtype);
    int result = runCommand(rtype, args);
    va_end(args);
    return result;
}

int acedCmd(const struct resbuf* rbp)
{
    if (session() == nullptr)
        return RTERROR;
    std::deque<std::wstring> answers;
    for (const resbuf* rb = rbp; rb != nullptr; rb = rb->rbnext) {
        switch (rb->restype) {
        case RTSTR:
            answers.emplace_back(rb->resval.rstring == nullptr ? L"" : rb->resval.rstring);
            break;
        case RTREAL:
        case RTANG:
            answers.push_back(number(rb->resval.rreal));
            break;
        case RTSHORT:
            answers.push_back(std::to_wstring(rb->resval.rint));
            break;
        case RTLONG:
            answers.push_back(std::to_wstring(rb->resval.rlong));
            break;
        case RTPOINT:
            answers.push_back(number(rb->resval.rpoint[X]) + L"," + number(rb->resval.rpoint[Y]));
            break;
        case RT3DPOINT:
            answers.push_back(number(rb->resval.rpoint[X]) + L"," + number(rb->resval.rpoint[Y]) + L","
                + number(rb->resval.rpoint[Z]));
            break;
        default:
            return RTERROR;
        }
    }
    return session()->processor().runWithArguments(std::move(answers));
}

int acedUsrBrk()
{
    Session* s = session();
    return s != nullptr && s->editor().takeUserBreak() ? 1 : 0;
}

int acedRedraw(const ads_name, int)
{
    return RTNORM;
}

int acedUpdate(int, ads_point, ads_point)
{
    return RTNORM;
}

int acedPrompt(const ACHAR* str)
{
    if (session() == nullptr || str == nullptr)
        return RTERROR;
    session()->transcript().write(str);
    return RTNORM;
}

int acedAlert(const ACHAR* str)
{
    if (session() == nullptr || str == nullptr)
        return RTERROR;
    session()->transcript().write(std::wstring(L"\n[Alert] ") + str);
    return RTNORM;
}

int acedTrans(
    const ads_point pt, const struct resbuf* from, const struct resbuf* to, int disp, ads_point result)
{
    Session* s = session();
    if (s == nullptr || pt == nullptr || from == nullptr || to == nullptr || result == nullptr)
        return RTERROR;
    auto system = [](const resbuf* rb) { return rb->restype == RTSHORT ? rb->resval.rint : -1; };
    const int a = system(from);
    const int b = system(to);
    if (a < 0 || a > 2 || b < 0 || b > 2)
        return RTERROR;
    arxhost::DocumentState& doc = s->document();
    AcGePoint3d p(pt[X], pt[Y], pt[Z]);
    // The display system is the UCS plan view here.
    if (disp != 0) {
        AcGeVector3d v(p.x, p.y, p.z);
        if (a != 0)
            v = doc.ucsToWcs(v);
        if (b != 0) {
            AcGePoint3d local = doc.wcsToUcs(AcGePoint3d::kOrigin + v);
            AcGePoint3d origin = doc.wcsToUcs(AcGePoint3d::kOrigin);
            v = local - origin;
        }
        result[X] = v.x;
        result[Y] = v.y;
        result[Z] = v.z;
        return RTNORM;
    }
    AcGePoint3d world = a == 0 ? p : doc.ucsToWcs(p);
    AcGePoint3d out = b == 0 ? world : doc.wcsToUcs(world);
    result[X] = out.x;
    result[Y] = out.y;
    result[Z] = out.z;
    return RTNORM;
}

int acedSetStatusBarProgressMeter(const ACHAR* pszLabel, int nMinPos, int nMaxPos)
{
    Session* s = session();
    return s == nullptr ? -1 : s->statusBar().start(pszLabel == nullptr ? L"" : pszLabel, nMinPos, nMaxPos);
}

int acedSetStatusBarProgressMeterPos(int nPos)
{
    Session* s = session();
    return s == nullptr ? -1 : s->statusBar().setPosition(nPos);
}

void acedRestoreStatusBar()
{
    if (Session* s = session())
        s->statusBar().restore();
}

int acutPrintf(const ACHAR* format, ...)
{
    if (format == nullptr)
        return 0;
    va_list args;
    va_start(args, format);
    std::wstring text = arxhost::formatWideV(format, args);
    va_end(args);
    if (Session* s = session())
        s->transcript().write(text);
    return static_cast<int>(text.size());
}
