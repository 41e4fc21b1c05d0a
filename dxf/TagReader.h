// A pull reader of the tags of an ASCII or binary DXF file held in memory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "dxf/ReadError.h"
#include "dxf/Tag.h"
#include "dxf/TextCodec.h"

namespace dxf {

// The 22 bytes that open every binary DXF file; any other file is read as ASCII DXF.
inline constexpr std::string_view kBinarySentinel {"\x41\x75\x74\x6F\x43\x41\x44\x20\x42\x69\x6E"
                                                   "\x61\x72\x79\x20\x44\x58\x46\r\n\x1A\0",
    22};

// Reads tags one by one, each checked as it comes: a group code that is not a number, a number that
// does not parse, a cut-off file or an unknown code page throws ReadError with the line (ASCII) or
// byte offset (binary) of the problem. next() returns false after the final 0/EOF record; whatever
// follows it is ignored, and a file that ends without one is an error. Nothing is read outside the
// buffer, and memory used does not depend on what the file claims (no counts are trusted).
//
// ASCII files: lines end with \n or \r\n; blanks around a group code are ignored; a value keeps its
// leading and trailing blanks (they matter in strings) but loses the \r of a CRLF line end, and blanks
// around numbers are ignored. A UTF-8 byte order mark at the start is skipped.
// Binary files: group codes of one byte (R12; 255 escapes a two-byte code) or two bytes (told by the
// first code), NUL-terminated strings, little-endian numbers, one-byte booleans, length-prefixed chunks.
//
// The reader watches the header as it passes: $ACADVER and $DWGCODEPAGE set its codec, so that
// Tag::asText() decodes by the drawing's own rules without the caller's help. A caller that knows better
// (a drawing with no header) may set them itself; the header, when it comes, still wins, unless
// followHeader(false) says otherwise.
class TagReader {
public:
    // Reads `data`, which must outlive the reader and the tags it hands out.
    explicit TagReader(std::string_view data);
    template <std::size_t N>
    explicit TagReader(const char (&literal)[N])
        : TagReader(std::string_view(literal, N - 1))
    {
    }
    // A temporary string would be gone before the first tag is read.
    explicit TagReader(std::string&&) = delete;
    // Reads the file at `path`, loaded into memory at once. Throws ReadError when it cannot be read.
    static TagReader open(const std::filesystem::path& path);

    TagReader(TagReader&&) noexcept;
    TagReader& operator=(TagReader&&) noexcept;
    ~TagReader();

    // The next tag into `tag`; false at the 0/EOF record (and on every call after it).
    bool next(Tag& tag);
    // Makes the tag that next() returned last come again from the next call. One tag only: a second
    // unget() before next() changes nothing.
    void unget() noexcept;
    // Reads on to the next tag with group code `code` (typically 0: the start of the next entity or
    // object), leaving it in `tag`; false when the file ends first.
    bool skipTo(int code, Tag& tag);

    bool binary() const noexcept { return binary_; }
    // Where the tag last returned by next() starts: the line of its group code (1-based) in an ASCII
    // file, 0 in a binary one; offset() is its byte offset in both.
    std::size_t line() const noexcept { return binary_ ? 0 : currentLine_; }
    std::size_t offset() const noexcept { return currentOffset_; }
    Position position() const noexcept
    {
        return binary_ ? Position {currentOffset_, true} : Position {currentLine_, false};
    }

    // Whether $ACADVER and $DWGCODEPAGE in the file set the codec (they do unless turned off): off for
    // a caller that has set the codec itself and knows better than the file.
    void followHeader(bool follow) noexcept { followHeader_ = follow; }

    // The drawing's encoding. The codec stays at the same address for the reader's life (also when
    // the reader is moved), so that tags can keep a pointer to it.
    TextCodec& codec() noexcept { return *codec_; }
    const TextCodec& codec() const noexcept { return *codec_; }

private:
    enum class Pending : unsigned char { None, Version, CodePage };

    bool readAscii(Tag& tag);
    bool readBinary(Tag& tag);
    void noteHeaderVariable(const Tag& tag);

    std::unique_ptr<char[]> storage_; // the file's bytes when the reader loaded them itself
    std::unique_ptr<TextCodec> codec_;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0; // where the next tag starts
    std::size_t line_ = 1; // its line
    std::size_t currentOffset_ = 0;
    std::size_t currentLine_ = 0;
    bool binary_ = false;
    bool oneByteCodes_ = false; // binary R12
    bool hasTag_ = false;
    bool done_ = false;
    bool followHeader_ = true;
    Pending pending_ = Pending::None;
};

} // namespace dxf
