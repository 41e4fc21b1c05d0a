// Reading and setting system variables wherever they live: drawing header, document or session.
#pragma once

#include <string>

#include "adsdef.h"
#include "db/HeaderVars.h"

namespace arxhost {

class Session;

// The value of a variable (names without regard to case); empty for an unknown one.
HeaderValue readVariable(Session& session, const std::wstring& name);

// Sets a variable, checking type, range and that it is not read-only. On failure returns false
// and says why in `error` (the command line's wording).
bool writeVariable(
    Session& session, const std::wstring& name, const HeaderValue& value, std::wstring* error = nullptr);

// The value as acedGetVar returns it; RTNORM or RTERROR.
int variableToResbuf(Session& session, const std::wstring& name, resbuf* out);
// acedSetVar; RTNORM or RTERROR.
int variableFromResbuf(
    Session& session, const std::wstring& name, const resbuf* value, std::wstring* error = nullptr);

// The value as the command line shows it ("1", "2.5000", "\"DL-道路中线\"", "0.0000,0.0000,0.0000").
std::wstring describeVariable(Session& session, const std::wstring& name);

} // namespace arxhost
