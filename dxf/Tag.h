// One DXF group-code/value pair as the tag reader hands it out, and the value type of each group code.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/ReadError.h"

namespace dxf {

class TextCodec;

// How a group code's value is stored. A point is not a type of its own: its coordinates are separate
// Double tags (10/20/30, 11/21/31, ...), as in the file. Comments (999) are String.
enum class ValueType : std::uint8_t {
    String, // text in the drawing's encoding
    Double,
    Int16,
    Int32,
    Int64,
    Bool, // 290-299: one byte in binary files, 0/1 in ASCII ones
    Handle, // hexadecimal text: a reference to another object (330, 340, ...)
    Binary, // 310-319 and 1004: hexadecimal text in ASCII files, length-prefixed bytes in binary ones
};

namespace detail {

constexpr ValueType classify(int code) noexcept
{
    using enum ValueType;
    if (code < 10)
        return String; // 0-9, and the application-level negative codes
    if (code <= 59)
        return Double; // 10-39 coordinates, 40-59 reals
    if (code <= 79)
        return Int16;
    if (code >= 90 && code <= 99)
        return Int32;
    if (code >= 110 && code <= 149)
        return Double;
    if (code >= 160 && code <= 169)
        return Int64;
    if (code >= 170 && code <= 179)
        return Int16;
    if (code >= 210 && code <= 239)
        return Double;
    if (code >= 270 && code <= 289)
        return Int16;
    if (code >= 290 && code <= 299)
        return Bool;
    if (code >= 310 && code <= 319)
        return Binary;
    if ((code >= 320 && code <= 369) || (code >= 390 && code <= 399) || code == 480 || code == 481)
        return Handle;
    if ((code >= 370 && code <= 389) || (code >= 400 && code <= 409))
        return Int16;
    if ((code >= 420 && code <= 429) || (code >= 440 && code <= 459))
        return Int32;
    if (code >= 460 && code <= 469)
        return Double;
    if (code == 1004)
        return Binary;
    if (code >= 1010 && code <= 1059)
        return Double;
    if (code >= 1060 && code <= 1070)
        return Int16;
    if (code == 1071)
        return Int32;
    return String; // 100-109, 300-309, 410-419, 430-439, 470-479, 999, 1000-1009, unassigned codes
}

inline constexpr int kTypedCodes = 1072;
inline constexpr std::array<ValueType, kTypedCodes> kValueTypes = [] {
    std::array<ValueType, kTypedCodes> table {};
    for (int code = 0; code < kTypedCodes; ++code)
        table[static_cast<std::size_t>(code)] = classify(code);
    return table;
}();

} // namespace detail

// The value type of a group code, by the DXF reference. Codes with no assigned meaning are String, which
// is how a binary file must store them to be readable at all (NUL-terminated). Handles written as plain
// strings by the reference (5, 105, 1005) stay String: asHandle() reads them all the same.
constexpr ValueType valueTypeOf(int code) noexcept
{
    return code >= 0 && code < detail::kTypedCodes ? detail::kValueTypes[static_cast<std::size_t>(code)]
                                                   : detail::classify(code);
}

// Whether an integer fits the type of its group code. Int16 and Int32 also take the unsigned reading
// of the same bits, which some writers produce for flags; Bool takes what Int16 takes.
constexpr bool integerFits(ValueType type, std::int64_t value) noexcept
{
    switch (type) {
    case ValueType::Int16:
    case ValueType::Bool:
        return value >= -32768 && value <= 65535;
    case ValueType::Int32:
        return value >= -2147483648LL && value <= 4294967295LL;
    case ValueType::Int64:
        return true;
    default:
        return false;
    }
}

// The name of a value type for messages ("double", "int16", ...).
std::string_view valueTypeName(ValueType type) noexcept;

// One group code and its value. The value's text is a view into the reader's buffer, and text decoding
// uses the reader's current code page: a tag is valid as long as the reader and its buffer live.
//
// Accessors that do not fit the tag's type (asDouble() of a layer name) throw std::logic_error: the
// group code decides the type, so that is a fault of the calling code, never of the file.
struct Tag {
    int code = 0;

    ValueType type() const noexcept { return type_; }
    // Where the tag starts, for messages of the caller.
    Position position() const noexcept { return {position_, binaryFile_}; }

    // The value of a Double tag, or of an integer one converted.
    double asDouble() const;
    // The value of an Int16/Int32/Int64/Bool tag.
    std::int64_t asInt() const;
    bool asBool() const { return asInt() != 0; }
    // The text of a String or Handle tag, decoded to one wchar_t per character: the drawing's code page
    // or UTF-8 (by its version), then the \U+XXXX and \M+NXXXX escapes. In an ASCII file, the text of
    // any tag as written.
    std::wstring asText() const;
    // The value bytes as they stand in the file, without the line end; meant for ASCII values (names of
    // sections, classes and entity types, numbers as written). For numbers and binary chunks of a binary
    // file this is empty or raw bytes.
    std::string_view raw() const noexcept { return text_; }
    // The value read as a hexadecimal handle (1 to 16 digits, blanks around them ignored). Throws
    // ReadError naming the tag's line when it is not one: files in the wild put names and empty strings
    // into handle codes, so the caller decides whether that matters.
    std::uint64_t asHandle() const;
    // As above, but empty for a value that is not a handle.
    std::optional<std::uint64_t> tryHandle() const noexcept;
    // The bytes of a Binary tag. Throws ReadError when hexadecimal text is malformed.
    std::vector<std::uint8_t> asBinary() const;

    // Shorthand for the structure tags the mapper walks by: code and raw value both equal.
    bool is(int expectedCode, std::string_view value) const noexcept
    {
        return code == expectedCode && text_ == value;
    }

private:
    friend class TagReader;

    ValueType type_ = ValueType::String;
    bool binaryFile_ = false;
    std::size_t position_ = 0;
    std::string_view text_;
    double real_ = 0.0;
    std::int64_t integer_ = 0;
    const TextCodec* codec_ = nullptr;
};

} // namespace dxf
