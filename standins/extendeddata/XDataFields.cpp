// Extended data library: named fields, single texts and the rounding helper.
#include "ExtendedDataLibrary.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "acutads.h"
#include "extendeddata/XDataAccess.h"

namespace ARX_DATA {

namespace {

// The first and second 1000 strings of the application's values; false when it is absent.
bool readTexts(AcDbObjectId id, const CString& app, CString* first, CString* second)
{
    bool present = false;
    planroad::standins::ResbufChain values = planroad::standins::readApplicationData(id, app, present);
    if (!present)
        return false;
    CString texts[2];
    int found = 0;
    for (const resbuf* rb = values.get(); rb != nullptr && found < 2; rb = rb->rbnext)
        if (rb->restype == 1000)
            texts[found++] = rb->resval.rstring == nullptr ? L"" : rb->resval.rstring;
    if (first != nullptr)
        *first = texts[0];
    if (second != nullptr)
        *second = texts[1];
    return true;
}

int writeTexts(AcDbObjectId id, const CString& app, const CString* first, const CString* second)
{
    planroad::standins::ResbufChain values(second == nullptr
            ? acutBuildList(1000, first->GetString(), 0)
            : acutBuildList(1000, first->GetString(), 1000, second->GetString(), 0));
    if (values == nullptr)
        return 0;
    return planroad::standins::writeApplicationData(id, app, values.get()) ? 1 : 0;
}

} // namespace

int CFGisXData::GetFrom(AcDbObjectId id, const CString& app, CString& value)
{
    return readTexts(id, app, &value, nullptr) ? 1 : 0;
}

int CFGisXData::GetFrom(AcDbObjectId id, const CString& app, CString& value, CString& label)
{
    return readTexts(id, app, &value, &label) ? 1 : 0;
}

int CFGisXData::SetTo(AcDbObjectId id, const CString& app, const CString& value, const CString& label)
{
    return writeTexts(id, app, &value, &label);
}

int CFSimpleXData::GetFrom(AcDbObjectId id, const CString& app, CString& value)
{
    return readTexts(id, app, &value, nullptr) ? 1 : 0;
}

int CFSimpleXData::SetTo(AcDbObjectId id, const CString& app, const CString& value)
{
    return writeTexts(id, app, &value, nullptr);
}

double ArxDbgUtils_NewGe::getLimitedDouble(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    // Rounded in decimal, on the shortest text that reads back as `value`: 2.675 is stored as
    // 2.67499999..., but it is the 2.675 the user typed or saw that has to round to 2.68.
    decimals = std::clamp(decimals, 0, 15);
    char buffer[400];
    const auto written
        = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::fixed);
    if (written.ec != std::errc())
        return value;
    std::string digits(buffer, written.ptr);
    std::size_t point = digits.find('.');
    if (point == std::string::npos) {
        point = digits.size();
        digits += '.';
    }
    digits.append(static_cast<std::size_t>(decimals) + 1, '0');
    const bool roundUp = digits[point + 1 + static_cast<std::size_t>(decimals)] >= '5';
    digits.resize(point + 1 + static_cast<std::size_t>(decimals));
    if (roundUp) {
        // Carry from the last kept digit leftwards, over the decimal point.
        std::size_t i = digits.size();
        while (i > 0) {
            --i;
            if (digits[i] == '.')
                continue;
            if (digits[i] != '9') {
                ++digits[i];
                break;
            }
            digits[i] = '0';
            if (i == 0)
                digits.insert(digits.begin(), '1');
        }
    }
    double result = 0.0;
    if (std::from_chars(digits.data(), digits.data() + digits.size(), result).ec != std::errc())
        return value;
    return value < 0 && result != 0.0 ? -result : result;
}

} // namespace ARX_DATA
