// Helpers shared by the drawing reader and writer: tags kept as text, numbers in both directions.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "detail/RawTags.h"
#include "dxf/Tag.h"

namespace dxf::drawing {

// A tag as the host keeps it when it does not model it: the code and the value as text (UTF-8 text,
// numbers as written in an ASCII file, formatted anew from a binary one).
arxhost::RawTag keepTag(const Tag& tag);

// Shortest text that reads back to the same double, with at least one digit after the point.
std::string formatDouble(double value);

// Numbers from kept text (blanks around them ignored); false when the text is not one.
bool parseDouble(std::string_view text, double& out);
bool parseInteger(std::string_view text, std::int64_t& out);
bool parseHandle(std::string_view text, std::uint64_t& out);

} // namespace dxf::drawing
