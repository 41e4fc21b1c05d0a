// The one exception the DXF tag layer throws for a file it cannot read.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dxf {

// A file that is not valid DXF: the message is one line, naming where ("line 12: ", "byte 5120: ") and
// what went wrong, ready to be shown to the user as it is.
class ReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where a tag sits in its file, for messages: the line of its group code in an ASCII file, the offset of
// its first byte in a binary one.
struct Position {
    std::size_t value = 0;
    bool binary = false;

    // "line 12" or "byte 5120".
    std::string describe() const;
};

// Quotes a piece of the file for a message: at most a few dozen characters, with bytes that are not
// printable ASCII shown as \xNN, so that garbage cannot break the message into lines.
std::string quoteForMessage(std::string_view bytes);

// Throws ReadError with "<where>: <what>".
[[noreturn]] void throwReadError(Position where, std::string_view what);

} // namespace dxf
