// Reporting of host rule violations.
#include "core/Diagnostics.h"

#include <cstdio>

#include "text/Utf8.h"

namespace arxhost {

namespace {
ViolationPolicy gPolicy = ViolationPolicy::Throw;
std::vector<std::wstring> gRecorded;
} // namespace

RuleViolation::RuleViolation(const std::wstring& what)
    : std::runtime_error(toUtf8(what))
    , mText(what)
{
}

void setViolationPolicy(ViolationPolicy policy)
{
    gPolicy = policy;
}

ViolationPolicy violationPolicy()
{
    return gPolicy;
}

void reportViolation(const std::wstring& what)
{
    if (gPolicy == ViolationPolicy::Throw)
        throw RuleViolation(what);
    gRecorded.push_back(what);
    std::fprintf(stderr, "host: %s\n", toUtf8(what).c_str());
}

std::vector<std::wstring> takeViolations()
{
    std::vector<std::wstring> out;
    out.swap(gRecorded);
    return out;
}

std::wstring handleText(AcDbHandle handle)
{
    wchar_t buf[17] = {};
    handle.getIntoAsciiBuffer(buf, 17);
    return buf;
}

} // namespace arxhost
