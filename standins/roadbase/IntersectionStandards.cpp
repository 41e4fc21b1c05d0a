// Road base library: reading the intersection standards file and looking up the standard of two roads.
#include "IntersectionStandards.h"

#include <cwchar>
#include <cwctype>
#include <fstream>
#include <iterator>
#include <optional>

#include "fileutility/PathText.h"

namespace {

// A width sum such as 3.5 + 7 + 3.5 + ... may fall a hair short of the class bound it equals.
constexpr double kWidthSlack = 1e-6;

std::wstring trimmed(const std::wstring& text)
{
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && std::iswspace(text[first]) != 0)
        ++first;
    while (last > first && std::iswspace(text[last - 1]) != 0)
        --last;
    return text.substr(first, last - first);
}

// The whole text as a number ("40", " 12.5 "); nothing for anything else.
std::optional<double> numberOf(const std::wstring& text)
{
    const std::wstring t = trimmed(text);
    if (t.empty())
        return std::nullopt;
    wchar_t* end = nullptr;
    const double value = std::wcstod(t.c_str(), &end);
    if (end != t.c_str() + t.size())
        return std::nullopt;
    return value;
}

// "主干路 - 次干路" and "主干路-次干路" name the same pair.
std::wstring pairKey(const std::wstring& key)
{
    const std::size_t dash = key.find(L'-');
    if (dash == std::wstring::npos)
        return trimmed(key);
    return trimmed(key.substr(0, dash)) + L"-" + trimmed(key.substr(dash + 1));
}

} // namespace

int CQvRoadJckData::ReadFromFile(const CString& path)
{
    m_grades.clear();
    m_standards.clear();
    std::ifstream in(planroad::standins::toPath(path), std::ios::binary);
    if (!in)
        return 0;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    const std::wstring text = CString(bytes.c_str()).GetString();

    std::wstring section;
    std::size_t begin = 0;
    while (begin <= text.size()) {
        std::size_t end = text.find(L'\n', begin);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = trimmed(text.substr(begin, end - begin));
        begin = end + 1;
        if (line.empty() || line[0] == L';' || line[0] == L'#')
            continue;
        if (line.front() == L'[' && line.back() == L']') {
            section = trimmed(line.substr(1, line.size() - 2));
            continue;
        }
        const std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos)
            continue;
        const std::wstring key = trimmed(line.substr(0, equals));
        std::wstring valueText = line.substr(equals + 1);
        if (const std::size_t comment = valueText.find(L';'); comment != std::wstring::npos)
            valueText.erase(comment);
        const std::optional<double> value = numberOf(valueText);
        if (key.empty() || !value)
            continue;
        if (section == L"道路等级")
            m_grades.push_back({key, *value});
        else if (section == L"切角标准")
            m_standards[pairKey(key)] = *value;
    }
    return 1;
}

const CQvRoadJckData::Grade* CQvRoadJckData::gradeOf(double width) const
{
    const Grade* best = nullptr;
    for (const Grade& grade : m_grades)
        if (width + kWidthSlack >= grade.lowestWidth
            && (best == nullptr || grade.lowestWidth > best->lowestWidth))
            best = &grade;
    return best;
}

int CQvRoadJckData::GetRoadRadium(double w1, double w2, double& radius) const
{
    const Grade* first = gradeOf(w1);
    const Grade* second = gradeOf(w2);
    if (first == nullptr || second == nullptr)
        return 0;
    for (const std::wstring& key : {first->name + L"-" + second->name, second->name + L"-" + first->name}) {
        const auto it = m_standards.find(key);
        if (it != m_standards.end()) {
            radius = it->second;
            return 1;
        }
    }
    return 0;
}
