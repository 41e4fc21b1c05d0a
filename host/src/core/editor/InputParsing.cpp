// Parsing of typed answers.
#include "editor/InputParsing.h"

#include <cmath>
#include <cwctype>
#include <sstream>

namespace arxhost {

namespace {
constexpr double kPi = 3.14159265358979323846;
} // namespace

std::wstring trimmed(const std::wstring& text)
{
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end && std::iswspace(static_cast<wint_t>(text[start])))
        ++start;
    while (end > start && std::iswspace(static_cast<wint_t>(text[end - 1])))
        --end;
    return text.substr(start, end - start);
}

std::optional<double> parseNumber(const std::wstring& raw)
{
    std::wstring text = trimmed(raw);
    if (text.empty())
        return std::nullopt;
    // Digits, one point, an exponent: nothing else (no hex, no "inf").
    std::size_t i = 0;
    if (text[i] == L'+' || text[i] == L'-')
        ++i;
    bool digits = false;
    while (i < text.size() && std::iswdigit(static_cast<wint_t>(text[i]))) {
        ++i;
        digits = true;
    }
    if (i < text.size() && text[i] == L'.') {
        ++i;
        while (i < text.size() && std::iswdigit(static_cast<wint_t>(text[i]))) {
            ++i;
            digits = true;
        }
    }
    if (!digits)
        return std::nullopt;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        std::size_t e = i + 1;
        if (e < text.size() && (text[e] == L'+' || text[e] == L'-'))
            ++e;
        if (e >= text.size() || !std::iswdigit(static_cast<wint_t>(text[e])))
            return std::nullopt;
        while (e < text.size() && std::iswdigit(static_cast<wint_t>(text[e])))
            ++e;
        i = e;
    }
    if (i != text.size())
        return std::nullopt;
    std::string narrow(text.begin(), text.end());
    std::istringstream in(narrow);
    in.imbue(std::locale::classic());
    double value = 0;
    in >> value;
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<long long> parseInteger(const std::wstring& raw)
{
    std::wstring text = trimmed(raw);
    std::size_t i = (!text.empty() && (text[0] == L'+' || text[0] == L'-')) ? 1 : 0;
    if (i >= text.size())
        return std::nullopt;
    for (std::size_t k = i; k < text.size(); ++k)
        if (!std::iswdigit(static_cast<wint_t>(text[k])))
            return std::nullopt;
    if (text.size() - i > 18)
        return std::nullopt;
    return std::stoll(std::string(text.begin(), text.end()));
}

std::optional<TypedPoint> parsePoint(const std::wstring& raw, const AcGePoint3d& lastPoint)
{
    std::wstring text = trimmed(raw);
    TypedPoint result;
    bool relative = false;
    if (!text.empty() && text[0] == L'*') {
        result.world = true;
        text = text.substr(1);
    }
    if (!text.empty() && text[0] == L'@') {
        relative = true;
        text = text.substr(1);
        if (text.empty()) {
            result.point = lastPoint;
            return result;
        }
    }
    const AcGePoint3d origin = relative ? lastPoint : AcGePoint3d::kOrigin;
    std::size_t lt = text.find(L'<');
    if (lt != std::wstring::npos) {
        auto dist = parseNumber(text.substr(0, lt));
        auto angle = parseNumber(text.substr(lt + 1));
        if (!dist || !angle)
            return std::nullopt;
        double a = *angle * kPi / 180.0;
        result.point = AcGePoint3d(origin.x + *dist * std::cos(a), origin.y + *dist * std::sin(a), origin.z);
        return result;
    }
    std::vector<double> coords;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = text.find(L',', start);
        auto value = parseNumber(
            text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
        if (!value)
            return std::nullopt;
        coords.push_back(*value);
        if (comma == std::wstring::npos)
            break;
        start = comma + 1;
    }
    if (coords.size() < 2 || coords.size() > 3)
        return std::nullopt;
    double z = coords.size() == 3 ? coords[2] : 0.0;
    result.point = AcGePoint3d(origin.x + coords[0], origin.y + coords[1], (relative ? origin.z : 0.0) + z);
    return result;
}

KeywordList::KeywordList(const std::wstring& keywords)
{
    std::wistringstream in(keywords);
    std::wstring word;
    bool global = false;
    while (in >> word) {
        if (word == L"_") {
            global = true;
            continue;
        }
        (global ? mGlobal : mLocal).push_back(word);
    }
    if (mGlobal.size() != mLocal.size())
        mGlobal = mLocal;
}

namespace {

std::wstring upper(const std::wstring& text)
{
    std::wstring out = text;
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return out;
}

// The abbreviation of a keyword: its capital letters (and digits between them), or the whole word.
std::wstring abbreviation(const std::wstring& keyword)
{
    std::wstring abbr;
    for (wchar_t c : keyword)
        if (std::iswupper(static_cast<wint_t>(c)) || (!abbr.empty() && std::iswdigit(static_cast<wint_t>(c))))
            abbr += c;
    return abbr.empty() ? keyword : abbr;
}

} // namespace

std::optional<std::wstring> KeywordList::match(const std::wstring& rawAnswer) const
{
    std::wstring answer = upper(trimmed(rawAnswer));
    if (answer.empty())
        return std::nullopt;
    // A leading underscore asks for the global keyword by its own name.
    if (answer[0] == L'_') {
        std::wstring name = answer.substr(1);
        for (const std::wstring& g : mGlobal)
            if (upper(g) == name || upper(abbreviation(g)) == name)
                return g;
        return std::nullopt;
    }
    for (std::size_t i = 0; i < mLocal.size(); ++i) {
        const std::wstring full = upper(mLocal[i]);
        const std::wstring abbr = upper(abbreviation(mLocal[i]));
        if (answer == full || answer == abbr)
            return mGlobal[i];
        // Anything between the abbreviation and the whole word, when the abbreviation leads the word.
        if (full.starts_with(abbr) && answer.size() > abbr.size() && full.starts_with(answer))
            return mGlobal[i];
    }
    return std::nullopt;
}

} // namespace arxhost
