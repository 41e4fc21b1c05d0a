// Breaches of the host's rules by module code, reported loudly: thrown in tests, printed otherwise.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "dbhandle.h"

namespace arxhost {

class RuleViolation : public std::runtime_error {
public:
    explicit RuleViolation(const std::wstring& what);
    const std::wstring& text() const { return mText; }

private:
    std::wstring mText;
};

enum class ViolationPolicy {
    Throw, // tests: the breach fails the test where it happens
    Record, // the runner: printed to standard error and kept for the summary
};

void setViolationPolicy(ViolationPolicy policy);
ViolationPolicy violationPolicy();
void reportViolation(const std::wstring& what);
// The violations recorded since the last call.
std::vector<std::wstring> takeViolations();

std::wstring handleText(AcDbHandle handle);

} // namespace arxhost
