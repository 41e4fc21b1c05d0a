// Messages of ReadError: where, and a safely quoted piece of the file.
#include "dxf/ReadError.h"

namespace dxf {

std::string Position::describe() const
{
    return (binary ? "byte " : "line ") + std::to_string(value);
}

std::string quoteForMessage(std::string_view bytes)
{
    constexpr std::size_t kMaxShown = 40;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string quoted;
    for (std::size_t i = 0; i < bytes.size() && i < kMaxShown; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F) {
            quoted += static_cast<char>(c);
        } else {
            quoted += "\\x";
            quoted += kHex[c >> 4];
            quoted += kHex[c & 0xF];
        }
    }
    if (bytes.size() > kMaxShown)
        quoted += "...";
    return quoted;
}

void throwReadError(Position where, std::string_view what)
{
    throw ReadError(where.describe() + ": " + std::string(what));
}

} // namespace dxf
