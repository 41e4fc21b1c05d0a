// Helpers of the DXF tag tests: reading a whole text, building binary DXF, finding the sample files.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/TagReader.h"

namespace dxftest {

// Every tag of `data` up to EOF. The tags point into `data` and into `reader`'s codec.
inline std::vector<dxf::Tag> readAll(dxf::TagReader& reader)
{
    std::vector<dxf::Tag> tags;
    dxf::Tag tag;
    while (reader.next(tag))
        tags.push_back(tag);
    return tags;
}

// The message of the ReadError that reading all of `data` throws, or "" when it reads.
inline std::string readError(std::string_view data)
{
    try {
        dxf::TagReader reader(data);
        readAll(reader);
    } catch (const dxf::ReadError& error) {
        return error.what();
    }
    return "";
}

// Lines joined with "\n": a DXF text written as a list of its lines.
inline std::string lines(std::initializer_list<std::string_view> parts)
{
    std::string text;
    for (const std::string_view part : parts) {
        text += part;
        text += '\n';
    }
    return text;
}

// A binary DXF built tag by tag, with one-byte (R12) or two-byte group codes.
class BinaryDxf {
public:
    explicit BinaryDxf(bool oneByteCodes = false)
        : oneByte_(oneByteCodes)
    {
        bytes_ = dxf::kBinarySentinel;
    }

    BinaryDxf& code(int code)
    {
        if (oneByte_ && code >= 0 && code < 255) {
            bytes_ += static_cast<char>(code);
        } else {
            if (oneByte_)
                bytes_ += '\xFF';
            little(static_cast<std::uint16_t>(code), 2);
        }
        return *this;
    }
    BinaryDxf& string(int c, std::string_view value)
    {
        code(c);
        bytes_ += value;
        bytes_ += '\0';
        return *this;
    }
    BinaryDxf& real(int c, double value)
    {
        code(c);
        little(std::bit_cast<std::uint64_t>(value), 8);
        return *this;
    }
    BinaryDxf& integer(int c, std::int64_t value, int bytes)
    {
        code(c);
        little(static_cast<std::uint64_t>(value), bytes);
        return *this;
    }
    BinaryDxf& chunk(int c, std::string_view data)
    {
        code(c);
        bytes_ += static_cast<char>(data.size());
        bytes_ += data;
        return *this;
    }
    BinaryDxf& eof() { return string(0, "EOF"); }

    const std::string& bytes() const { return bytes_; }

private:
    void little(std::uint64_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
    }

    bool oneByte_;
    std::string bytes_;
};

// The folder of the sample drawings from other programs: $PLANROAD_DXF_SAMPLES, else shared/dxf-samples
// beside the repository. Empty when there is none.
inline std::filesystem::path samplesFolder()
{
    namespace fs = std::filesystem;
    if (const char* folder = std::getenv("PLANROAD_DXF_SAMPLES"))
        return fs::is_directory(folder) ? fs::path(folder) : fs::path();
    fs::path root;
    if (const char* source = std::getenv("PLANROAD_SOURCE_DIR"))
        root = source;
    else
        root = fs::path(__FILE__).parent_path().parent_path().parent_path(); // tests/dxf/ -> repository
    const fs::path folder = root / ".." / "shared" / "dxf-samples";
    return fs::is_directory(folder) ? folder.lexically_normal() : fs::path();
}

} // namespace dxftest
