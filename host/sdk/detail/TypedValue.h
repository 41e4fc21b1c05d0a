// A group-coded value, the host's storage form of extended data and XRECORD contents.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "../dbid.h"

namespace arxhost {

// One value of extended data or of an XRECORD: its group code and a value of the kind the code
// implies (text, real, integer, 3D point, object id or binary chunk).
struct TypedValue {
    using Point = std::array<double, 3>;
    using Binary = std::vector<unsigned char>;
    using Value
        = std::variant<std::monostate, std::wstring, double, std::int64_t, Point, AcDbObjectId, Binary>;

    short code = 0;
    Value value;

    bool operator==(const TypedValue& other) const = default;
};

using TypedValues = std::vector<TypedValue>;

} // namespace arxhost
