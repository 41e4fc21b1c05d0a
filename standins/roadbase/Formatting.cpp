// Road base library: numbers as texts, and the drawing's linear dimension factor.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "RoadBaseLibrary.h"
#include "acedads.h"
#include "adscodes.h"

namespace {

// Adds one unit in the last place of a string of decimal digits; true when it carried out of the first.
bool incrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return false;
        }
        *it = '0';
    }
    return true;
}

} // namespace

CString DoubleToString(double value, int decimals)
{
    decimals = std::clamp(decimals, 0, 100);
    if (!std::isfinite(value)) {
        CString text;
        text.Format(L"%.*f", decimals, value);
        return text;
    }
    // Round the shortest decimal text that reads back as the value, not its binary expansion: 2.675 is
    // meant as 2.675, though the nearest double lies a little below it.
    char buffer[512];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
    const std::string shortest(buffer, result.ptr);
    const std::size_t point = shortest.find('.');
    const std::string whole = shortest.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : shortest.substr(point + 1);

    std::string digits
        = whole + fraction.substr(0, std::min(fraction.size(), static_cast<std::size_t>(decimals)));
    digits.append(static_cast<std::size_t>(decimals) - (digits.size() - whole.size()), '0');
    if (fraction.size() > static_cast<std::size_t>(decimals)
        && fraction[static_cast<std::size_t>(decimals)] >= '5') {
        if (incrementDigits(digits))
            digits.insert(digits.begin(), '1');
    }
    std::string text = digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0)
        text += "." + digits.substr(digits.size() - static_cast<std::size_t>(decimals));
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    if (value < 0 && !zero)
        text.insert(text.begin(), '-');
    return CString(text.c_str());
}

CString IntToString(int value)
{
    CString text;
    text.Format(L"%d", value);
    return text;
}

double GetSysVarDimlfac()
{
    resbuf value {};
    if (acedGetVar(L"DIMLFAC", &value) != RTNORM || value.restype != RTREAL || value.resval.rreal == 0.0)
        return 1.0;
    return value.resval.rreal;
}
