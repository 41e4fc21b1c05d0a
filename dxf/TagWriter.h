// Writes ASCII DXF tags into a growing buffer, for a target version and code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "dxf/Tag.h"
#include "dxf/TextCodec.h"

namespace dxf {

// The versions the writer targets, by their $ACADVER values.
enum class Version { R2000, R2004, R2007, R2010, R2013, R2018 };

// "AC1015" ... "AC1032".
std::string_view acadVer(Version version) noexcept;

// Line ends of the file. The host writes CRLF, and so do we by default; LF is there for tools that
// compare text.
enum class LineEnd { CrLf, Lf };

// Formats tags as ASCII DXF: the group code right-aligned in three characters ("  0", " 10", "1001"),
// then the value, one per line. Doubles take the shortest text that reads back to the same bits, with
// at least one digit after the point ("1.0", "1.0e+20"); integers are decimal; handles upper-case hex;
// binary chunks upper-case hex (the caller splits them into lines of at most 127 bytes, as DXF wants).
// Text is UTF-8 from R2007 on and in the code page before, with \U+XXXX for what the code page cannot
// hold. A value cannot span lines, so line breaks in text are written as \U+000A and \U+000D, which
// every reader turns back into the characters (see TextCodec).
//
// Each write checks that the value fits the group code's type (a double for code 8, 70000 for an
// int16 code) and throws std::invalid_argument when it does not: that file would not read back. The
// writer never writes the header itself: $ACADVER and $DWGCODEPAGE are for the caller to write, with
// acadVer(version()) and codec().codePage().
//
// Output collects in memory; the caller flushes data() to the file and may clear() in between.
class TagWriter {
public:
    // Throws std::invalid_argument for a code page TextCodec does not know.
    explicit TagWriter(Version version = Version::R2010, std::string_view codePage = "ANSI_1252",
        LineEnd lineEnd = LineEnd::CrLf);
    TagWriter(TagWriter&&) noexcept;
    TagWriter& operator=(TagWriter&&) noexcept;
    ~TagWriter();

    Version version() const noexcept { return version_; }
    const TextCodec& codec() const noexcept { return *codec_; }

    void writeDouble(int code, double value);
    // A point's coordinates: `code` (10, 11, ...), code + 10 and, in 3D, code + 20.
    void writePoint(int code, double x, double y);
    void writePoint(int code, double x, double y, double z);
    void writeInt(int code, std::int64_t value);
    void writeBool(int code, bool value);
    // For Handle codes and the codes that hold handles as strings (5, 105, 1005).
    void writeHandle(int code, std::uint64_t handle);
    // Text, encoded for the target version and code page.
    void writeText(int code, std::wstring_view text);
    // Bytes written as they are, but for line breaks: names of sections, classes and entity types,
    // text already in the file's encoding.
    void writeString(int code, std::string_view bytes);
    void writeBinary(int code, std::span<const std::uint8_t> bytes);
    // A tag as a reader returned it, converted for this writer: text re-encoded, numbers formatted anew.
    // Handle codes holding something other than a handle ("Standard", as some writers put there) are
    // kept as the text they are.
    void write(const Tag& tag);

    std::string_view data() const noexcept { return {buffer_.get(), size_}; }
    std::size_t size() const noexcept { return size_; }
    void clear() noexcept { size_ = 0; }

private:
    // Room for `bytes` more at the end; returns where they go.
    char* reserve(std::size_t bytes)
    {
        return capacity_ - size_ >= bytes ? buffer_.get() + size_ : grow(bytes);
    }
    char* grow(std::size_t bytes);
    void writeCode(int code);
    void endLine();
    void writeLine(std::string_view bytes);
    void writeTextValue(std::wstring_view text);
    void writeRawValue(std::string_view bytes);

    Version version_;
    std::unique_ptr<TextCodec> codec_;
    bool crlf_;
    std::unique_ptr<char[]> buffer_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    std::string scratch_; // encoded text, kept to reuse its memory
};

} // namespace dxf
