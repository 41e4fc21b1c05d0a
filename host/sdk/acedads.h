// Editor functions of the ADS interface: prompts, picks, selection sets, system variables, commands.
#pragma once

#include "adscodes.h"
#include "adsdef.h"

// Prompts. Points are answered in the current UCS; a base point draws a rubber band from it.
int acedInitGet(int val, const ACHAR* kwl);
int acedGetPoint(const ads_point pt, const ACHAR* prompt, ads_point result);
int acedGetCorner(const ads_point pt, const ACHAR* prompt, ads_point result);
int acedGetAngle(const ads_point pt, const ACHAR* prompt, ads_real* result);
int acedGetOrient(const ads_point pt, const ACHAR* prompt, ads_real* result);
int acedGetDist(const ads_point pt, const ACHAR* prompt, ads_real* result);
int acedGetReal(const ACHAR* prompt, ads_real* result);
int acedGetInt(const ACHAR* prompt, int* result);
int acedGetString(int cronly, const ACHAR* prompt, ACHAR* result, size_t bufLen);
int acedGetKword(const ACHAR* prompt, ACHAR* result, size_t bufLen);
int acedGetInput(ACHAR* str, size_t bufLen);
int acedEntSel(const ACHAR* str, ads_name entres, ads_point ptres);

// Buffer-size-deduced forms of the SDK's templates.
template <size_t nBufLen> inline int acedGetString(int cronly, const ACHAR* prompt, ACHAR (&result)[nBufLen])
{
    return acedGetString(cronly, prompt, result, nBufLen);
}
template <size_t nBufLen> inline int acedGetKword(const ACHAR* prompt, ACHAR (&result)[nBufLen])
{
    return acedGetKword(prompt, result, nBufLen);
}
template <size_t nBufLen> inline int acedGetInput(ACHAR (&str)[nBufLen])
{
    return acedGetInput(str, nBufLen);
}

// Selection sets. Without a mode the user selects; "X" filters the whole drawing; "W", "C" take
// two corners, "WP", "CP" a resbuf list of points; "L" last, "P" previous, "I" the pick-first set,
// ":S" a single selection, ":$" the user's selection with pt1 pointing to two prompts (selecting,
// removing) in place of the host's own. Returns RTNORM with a set, RTERROR when nothing was selected,
// RTCAN when the user cancelled.
int acedSSGet(const ACHAR* str, const void* pt1, const void* pt2, const struct resbuf* filter, ads_name ss);
int acedSSFree(const ads_name sname);
int acedSSLength(const ads_name sname, Adesk::Int32* len);
int acedSSName(const ads_name ss, Adesk::Int32 i, ads_name entres);
int acedSSAdd(const ads_name ename, const ads_name sname, ads_name result);
int acedSSDel(const ads_name ename, const ads_name ss);
int acedSSMemb(const ads_name ename, const ads_name ss);
int acedSSSetFirst(const ads_name pset, const ads_name unused);
int acedSSGetFirst(struct resbuf** gset, struct resbuf** pset);

int acedGetVar(const ACHAR* sym, struct resbuf* result);
int acedSetVar(const ACHAR* sym, const struct resbuf* val);

// Runs host commands with type/value arguments ended by RTNONE or 0, e.g.
// acedCommand(RTSTR, L"ZOOM", RTSTR, L"P", RTNONE).
int acedCommand(int rtype, ...);
int acedCommandS(int rtype, ...);
int acedCmd(const struct resbuf* rbp);

int acedUsrBrk();
int acedRedraw(const ads_name ent, int mode);
int acedUpdate(int vport, ads_point p1, ads_point p2);
int acedPrompt(const ACHAR* str);
int acedAlert(const ACHAR* str);

// Coordinate conversion between WCS (RTSHORT 0), UCS (RTSHORT 1) and display (RTSHORT 2).
int acedTrans(
    const ads_point pt, const struct resbuf* from, const struct resbuf* to, int disp, ads_point result);
