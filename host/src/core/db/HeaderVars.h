// Header variables of a drawing: the system variables it saves, by upper-case name.
#pragma once

#include <array>
#include <map>
#include <string>
#include <variant>

#include "dbid.h"

namespace arxhost {

using HeaderValue
    = std::variant<std::monostate, std::int64_t, double, std::wstring, std::array<double, 3>, AcDbObjectId>;

class HeaderVars {
public:
    const HeaderValue* find(const std::wstring& upperName) const;
    void set(const std::wstring& upperName, HeaderValue value);
    void erase(const std::wstring& upperName);
    const std::map<std::wstring, HeaderValue>& all() const { return mValues; }

private:
    std::map<std::wstring, HeaderValue> mValues;
};

} // namespace arxhost
