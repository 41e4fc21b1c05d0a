// File utility library: the ini file reader.
#include "FileUtility.h"

#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "fileutility/PathText.h"
#include "text/Utf8.h"

namespace daroviz {

struct CIniFile::Data {
    struct Section {
        std::wstring name;
        std::vector<std::pair<std::wstring, std::wstring>> entries;
    };
    std::vector<Section> sections;

    // Repeated sections are one section: their entries follow each other in file order.
    const Section* find(const std::wstring& name) const;
    Section& sectionNamed(const std::wstring& name);
};

namespace {

bool sameName(const std::wstring& a, const std::wstring& b)
{
    return CString(a.c_str()).CompareNoCase(b.c_str()) == 0;
}

bool isBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == 0x3000 || c == 0xFEFF;
}

std::wstring trimmed(const std::wstring& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::wstring unquoted(const std::wstring& value)
{
    if (value.size() >= 2 && value.front() == L'"' && value.back() == L'"')
        return value.substr(1, value.size() - 2);
    return value;
}

std::wstring fromUtf16(const std::string& bytes, bool bigEndian)
{
    std::wstring out;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        const auto b1 = static_cast<unsigned char>(bytes[i + 1]);
        const char32_t unit = bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
        out.push_back(static_cast<wchar_t>(unit));
    }
    // Join surrogate pairs: a wchar_t holds a whole code point here.
    std::wstring joined;
    joined.reserve(out.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto hi = static_cast<char32_t>(out[i]);
        if (hi >= 0xD800 && hi < 0xDC00 && i + 1 < out.size()) {
            const auto lo = static_cast<char32_t>(out[i + 1]);
            if (lo >= 0xDC00 && lo < 0xE000) {
                joined.push_back(static_cast<wchar_t>(0x10000 + ((hi - 0xD800) << 10) + (lo - 0xDC00)));
                ++i;
                continue;
            }
        }
        joined.push_back(out[i]);
    }
    return joined;
}

std::wstring decode(const std::string& bytes)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF
        && static_cast<unsigned char>(bytes[1]) == 0xFE)
        return fromUtf16(bytes, false);
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFE
        && static_cast<unsigned char>(bytes[1]) == 0xFF)
        return fromUtf16(bytes, true);
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        return arxhost::fromUtf8(std::string_view(bytes).substr(3));
    return arxhost::fromUtf8(bytes);
}

} // namespace

const CIniFile::Data::Section* CIniFile::Data::find(const std::wstring& name) const
{
    for (const Section& section : sections)
        if (sameName(section.name, name))
            return &section;
    return nullptr;
}

CIniFile::Data::Section& CIniFile::Data::sectionNamed(const std::wstring& name)
{
    for (Section& section : sections)
        if (sameName(section.name, name))
            return section;
    sections.push_back(Section {name, {}});
    return sections.back();
}

CIniFile::CIniFile()
    : m_data(std::make_unique<Data>())
{
}

CIniFile::~CIniFile() = default;

CIniFile::CIniFile(const CIniFile& other)
    : m_strPath(other.m_strPath)
    , m_data(std::make_unique<Data>(*other.m_data))
{
}

CIniFile& CIniFile::operator=(const CIniFile& other)
{
    if (this != &other) {
        m_strPath = other.m_strPath;
        m_data = std::make_unique<Data>(*other.m_data);
    }
    return *this;
}

void CIniFile::SetPath(CString path)
{
    m_strPath = path;
}

CString CIniFile::GetPath() const
{
    return m_strPath;
}

int CIniFile::ReadFile()
{
    m_data->sections.clear();
    if (m_strPath.IsEmpty())
        return 0;
    std::error_code ec;
    const std::filesystem::path file = planroad::standins::toPath(m_strPath);
    if (!std::filesystem::is_regular_file(file, ec))
        return 0;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return 0;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return 0;

    const std::wstring text = decode(bytes);
    Data::Section* current = nullptr;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line.front() == L';' || line.front() == L'#')
            continue;
        if (line.front() == L'[') {
            const std::size_t close = line.rfind(L']');
            const std::wstring name
                = trimmed(line.substr(1, close == std::wstring::npos ? std::wstring::npos : close - 1));
            current = &m_data->sectionNamed(name);
            continue;
        }
        // Lines before the first section belong to none and are not reachable.
        if (current == nullptr)
            continue;
        const std::size_t eq = line.find(L'=');
        if (eq == std::wstring::npos)
            current->entries.emplace_back(line, std::wstring());
        else
            current->entries.emplace_back(
                trimmed(line.substr(0, eq)), unquoted(trimmed(line.substr(eq + 1))));
    }
    return 1;
}

CString CIniFile::GetValue(CString section, CString key) const
{
    const Data::Section* found = m_data->find(trimmed(section.GetString()));
    if (found == nullptr)
        return CString();
    const std::wstring name = trimmed(key.GetString());
    for (const auto& [entryKey, value] : found->entries)
        if (sameName(entryKey, name))
            return CString(value.c_str());
    return CString();
}

int CIniFile::GetValue(CString section, CStringArray& keys, CStringArray& values) const
{
    keys.RemoveAll();
    values.RemoveAll();
    const Data::Section* found = m_data->find(trimmed(section.GetString()));
    if (found == nullptr)
        return 0;
    for (const auto& [key, value] : found->entries) {
        keys.Add(key.c_str());
        values.Add(value.c_str());
    }
    return 1;
}

} // namespace daroviz
