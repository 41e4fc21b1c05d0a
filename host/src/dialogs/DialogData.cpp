// The per-user dialog data file: reading, formatting, and replacing it whole.
#include "dialogs/DialogData.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include <unistd.h>

#include "text/Escaped.h"
#include "text/Utf8.h"

namespace arxhost {

namespace {

// Reads escaped text up to an unescaped `end` (or the end of the line); `at` moves past it.
std::optional<std::wstring> unescape(const std::wstring& line, std::size_t& at, wchar_t end)
{
    std::wstring out;
    while (at < line.size()) {
        const wchar_t c = line[at++];
        if (c == end)
            return out;
        if (c != L'\\') {
            out += c;
            continue;
        }
        if (at == line.size())
            return std::nullopt;
        const wchar_t e = line[at++];
        out += e == L'n' ? L'\n' : e == L'r' ? L'\r' : e == L't' ? L'\t' : e;
    }
    if (end == 0)
        return out;
    return std::nullopt;
}

std::wstring trim(const std::wstring& text)
{
    const auto first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos)
        return L"";
    return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

} // namespace

DialogDataStore::DialogDataStore(std::filesystem::path file)
    : mFile(std::move(file))
{
}

std::string DialogDataStore::format(const Sections& sections)
{
    std::wstring text = L"# Dialog data of the headless host: one section per dialog.\n";
    for (const auto& [dialog, values] : sections) {
        text += L"\n[" + backslashEscaped(dialog, L"]") + L"]\n";
        for (const auto& [name, value] : values) {
            text += L"\"" + backslashEscaped(name, L"\"") + L"\" = ";
            if (const auto* textValue = std::get_if<std::wstring>(&value))
                text += L"\"" + backslashEscaped(*textValue, L"\"") + L"\"\n";
            else
                text += std::to_wstring(std::get<std::uint32_t>(value)) + L"\n";
        }
    }
    return toUtf8(text);
}

DialogDataStore::Sections DialogDataStore::parse(const std::string& utf8)
{
    Sections sections;
    Section* current = nullptr;
    std::istringstream lines(utf8);
    std::string raw;
    while (std::getline(lines, raw)) {
        std::wstring line = fromUtf8(raw);
        if (!line.empty() && line.back() == L'\r')
            line.pop_back();
        const std::size_t first = line.find_first_not_of(L" \t");
        if (first == std::wstring::npos || line[first] == L'#')
            continue;
        std::size_t at = first + 1;
        if (line[first] == L'[') {
            std::optional<std::wstring> name = unescape(line, at, L']');
            current = name ? &sections[*name] : nullptr;
            continue;
        }
        if (current == nullptr || line[first] != L'"')
            continue;
        std::optional<std::wstring> name = unescape(line, at, L'"');
        if (!name)
            continue;
        const std::wstring rest = trim(line.substr(at));
        if (rest.empty() || rest.front() != L'=')
            continue;
        const std::wstring value = trim(rest.substr(1));
        if (!value.empty() && value.front() == L'"') {
            std::size_t valueAt = 1;
            if (std::optional<std::wstring> text = unescape(value, valueAt, L'"'))
                (*current)[*name] = *text;
            continue;
        }
        if (value.empty() || value.size() > 10
            || value.find_first_not_of(L"0123456789") != std::wstring::npos)
            continue;
        const unsigned long long number = std::stoull(value);
        if (number <= 0xFFFFFFFFull)
            (*current)[*name] = static_cast<std::uint32_t>(number);
    }
    return sections;
}

DialogDataStore::Sections DialogDataStore::read() const
{
    std::ifstream in(mFile, std::ios::binary);
    if (!in)
        return {};
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str());
}

std::optional<DialogDataStore::Value> DialogDataStore::get(
    const std::wstring& dialog, const std::wstring& name) const
{
    const Sections sections = read();
    const auto section = sections.find(dialog);
    if (section == sections.end())
        return std::nullopt;
    const auto value = section->second.find(name);
    if (value == section->second.end())
        return std::nullopt;
    return value->second;
}

bool DialogDataStore::set(const std::wstring& dialog, const std::wstring& name, const Value& value) const
{
    Sections sections = read();
    sections[dialog][name] = value;
    std::error_code error;
    if (mFile.has_parent_path())
        std::filesystem::create_directories(mFile.parent_path(), error);
    std::filesystem::path temporary = mFile;
    temporary += ".tmp-" + std::to_string(static_cast<long>(getpid()));
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out << format(sections);
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, mFile, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace arxhost
