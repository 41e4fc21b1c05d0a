// Per-user dialog data (CAdUiBaseDialog::GetDialogData / SetDialogData) kept in a file between sessions.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace arxhost {

// The data of all dialogs in one UTF-8 file: a section "[dialog]" per dialog, then "\"name\" = value"
// lines; names and text values are quoted (with \\, \", \n, \r, \t escapes), numbers are plain. Every change
// rewrites the file through a temporary file and a rename, so that a reader in another process sees the old
// or the new file whole.
class DialogDataStore {
public:
    using Value = std::variant<std::wstring, std::uint32_t>;
    using Section = std::map<std::wstring, Value>;
    using Sections = std::map<std::wstring, Section>;

    explicit DialogDataStore(std::filesystem::path file);

    // The stored value, or nothing (no file, no such dialog or name, an unreadable line).
    std::optional<Value> get(const std::wstring& dialog, const std::wstring& name) const;
    // False when the file could not be written.
    bool set(const std::wstring& dialog, const std::wstring& name, const Value& value) const;

    const std::filesystem::path& file() const { return mFile; }

    // The file's text for the sections, and back; unreadable lines are skipped.
    static std::string format(const Sections& sections);
    static Sections parse(const std::string& text);

private:
    Sections read() const;

    std::filesystem::path mFile;
};

} // namespace arxhost
