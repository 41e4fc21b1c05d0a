// ASCII DXF formatting straight into one growing buffer.
#include "dxf/TagWriter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace dxf {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

[[noreturn]] void refuse(int code, std::string_view what)
{
    throw std::invalid_argument("group code " + std::to_string(code) + " ("
        + std::string(valueTypeName(valueTypeOf(code))) + ") cannot take " + std::string(what));
}

void requireType(int code, ValueType wanted, std::string_view what)
{
    if (valueTypeOf(code) != wanted)
        refuse(code, what);
}

// Writes `value` when a decimal of at most six places reads back to it, as survey coordinates to the
// millimetre do, and returns the end; else nullptr. Below 1e9 the spacing of doubles is under 1e-6, so
// at most one such decimal reads back to `value`, and the product below is within 0.13 of it: the
// digits are those of the shortest form, found without std::to_chars' search.
char* writeMicroDecimal(double value, char* out) noexcept
{
    const double scaled = std::nearbyint(std::fabs(value) * 1e6);
    if (scaled / 1e6 != std::fabs(value))
        return nullptr;
    auto micro = static_cast<std::int64_t>(scaled);
    if (std::signbit(value))
        *out++ = '-';
    out = std::to_chars(out, out + 24, micro / 1000000).ptr;
    micro %= 1000000;
    *out++ = '.';
    int divisor = 100000;
    do {
        *out++ = static_cast<char>('0' + micro / divisor);
        micro %= divisor;
        divisor /= 10;
    } while (micro != 0);
    return out;
}

bool plainAscii(std::string_view bytes) noexcept
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c >= 0x20 && c < 0x7F && c != '\\'; });
}

} // namespace

std::string_view acadVer(Version version) noexcept
{
    switch (version) {
    case Version::R2000:
        return "AC1015";
    case Version::R2004:
        return "AC1018";
    case Version::R2007:
        return "AC1021";
    case Version::R2010:
        return "AC1024";
    case Version::R2013:
        return "AC1027";
    case Version::R2018:
        return "AC1032";
    }
    return "AC1024";
}

TagWriter::TagWriter(Version version, std::string_view codePage, LineEnd lineEnd)
    : version_(version)
    , codec_(std::make_unique<TextCodec>())
    , crlf_(lineEnd == LineEnd::CrLf)
{
    if (!codec_->setCodePage(codePage))
        throw std::invalid_argument("unknown code page '" + std::string(codePage) + "'");
    codec_->setVersion(acadVer(version));
}

TagWriter::TagWriter(TagWriter&&) noexcept = default;
TagWriter& TagWriter::operator=(TagWriter&&) noexcept = default;
TagWriter::~TagWriter() = default;

char* TagWriter::grow(std::size_t bytes)
{
    const std::size_t capacity = std::max({capacity_ * 2, size_ + bytes, std::size_t {1} << 16});
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0)
        std::memcpy(grown.get(), buffer_.get(), size_);
    buffer_ = std::move(grown);
    capacity_ = capacity;
    return buffer_.get() + size_;
}

void TagWriter::endLine()
{
    char* out = reserve(2);
    if (crlf_)
        *out++ = '\r';
    *out++ = '\n';
    size_ = static_cast<std::size_t>(out - buffer_.get());
}

void TagWriter::writeCode(int code)
{
    char* out = reserve(16);
    if (code >= 0 && code < 1000) {
        out[0] = code >= 100 ? static_cast<char>('0' + code / 100) : ' ';
        out[1] = code >= 10 ? static_cast<char>('0' + code / 10 % 10) : ' ';
        out[2] = static_cast<char>('0' + code % 10);
        out += 3;
    } else {
        char digits[12];
        const auto length
            = static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, code).ptr - digits);
        for (std::size_t pad = length; pad < 3; ++pad)
            *out++ = ' ';
        std::memcpy(out, digits, length);
        out += length;
    }
    if (crlf_)
        *out++ = '\r';
    *out++ = '\n';
    size_ = static_cast<std::size_t>(out - buffer_.get());
}

void TagWriter::writeLine(std::string_view bytes)
{
    char* out = reserve(bytes.size() + 2);
    std::memcpy(out, bytes.data(), bytes.size());
    out += bytes.size();
    if (crlf_)
        *out++ = '\r';
    *out++ = '\n';
    size_ = static_cast<std::size_t>(out - buffer_.get());
}

void TagWriter::writeRawValue(std::string_view bytes)
{
    if (bytes.find('\n') == std::string_view::npos && bytes.find('\r') == std::string_view::npos) {
        writeLine(bytes);
        return;
    }
    for (const char c : bytes) {
        if (c == '\n' || c == '\r') {
            const char escape[] = {'\\', 'U', '+', '0', '0', '0', c == '\n' ? 'A' : 'D'};
            std::memcpy(reserve(sizeof escape), escape, sizeof escape);
            size_ += sizeof escape;
        } else {
            *reserve(1) = c;
            ++size_;
        }
    }
    endLine();
}

void TagWriter::writeTextValue(std::wstring_view text)
{
    scratch_.clear();
    codec_->encode(text, scratch_);
    writeLine(scratch_);
}

void TagWriter::writeDouble(int code, double value)
{
    requireType(code, ValueType::Double, "a double");
    if (!std::isfinite(value))
        refuse(code, "a value that is not finite");
    writeCode(code);
    char* const out = reserve(48);
    char* end = nullptr;
    const double magnitude = std::fabs(value);
    if (magnitude < 1e15 && value == std::trunc(value)) {
        // Whole numbers, common in drawings (0.0, 1.0, 256.0), need no search for the shortest digits.
        char* digits = out;
        if (std::signbit(value))
            *digits++ = '-';
        end = std::to_chars(digits, out + 40, static_cast<std::int64_t>(magnitude)).ptr;
    } else if (char* decimal = magnitude < 1e9 ? writeMicroDecimal(value, out) : nullptr) {
        end = decimal;
    } else if (magnitude >= 1e-5 && magnitude < 1e16) {
        // Fixed notation where it is not much longer, as other writers do: "500000.0", not "5e+05".
        end = std::to_chars(out, out + 40, value, std::chars_format::fixed).ptr;
    } else {
        end = std::to_chars(out, out + 40, value, std::chars_format::scientific).ptr;
    }
    // Always a digit after the point: "1" -> "1.0", "1e+20" -> "1.0e+20".
    char* const exponent = std::find(out, end, 'e');
    if (std::find(out, exponent, '.') == exponent) {
        std::memmove(exponent + 2, exponent, static_cast<std::size_t>(end - exponent));
        exponent[0] = '.';
        exponent[1] = '0';
        end += 2;
    }
    size_ += static_cast<std::size_t>(end - out);
    endLine();
}

void TagWriter::writePoint(int code, double x, double y)
{
    writeDouble(code, x);
    writeDouble(code + 10, y);
}

void TagWriter::writePoint(int code, double x, double y, double z)
{
    writeDouble(code, x);
    writeDouble(code + 10, y);
    writeDouble(code + 20, z);
}

void TagWriter::writeInt(int code, std::int64_t value)
{
    const ValueType type = valueTypeOf(code);
    if (!integerFits(type, value))
        refuse(code, "the integer " + std::to_string(value));
    writeCode(code);
    char* out = reserve(24);
    size_ += static_cast<std::size_t>(std::to_chars(out, out + 24, value).ptr - out);
    endLine();
}

void TagWriter::writeBool(int code, bool value)
{
    requireType(code, ValueType::Bool, "a bool");
    writeCode(code);
    *reserve(1) = value ? '1' : '0';
    ++size_;
    endLine();
}

void TagWriter::writeHandle(int code, std::uint64_t handle)
{
    const ValueType type = valueTypeOf(code);
    if (type != ValueType::Handle && type != ValueType::String)
        refuse(code, "a handle");
    writeCode(code);
    char digits[16];
    std::size_t count = 0;
    do {
        digits[count++] = kHexDigits[handle & 0xF];
        handle >>= 4;
    } while (handle != 0);
    char* out = reserve(count);
    std::reverse_copy(digits, digits + count, out);
    size_ += count;
    endLine();
}

void TagWriter::writeText(int code, std::wstring_view text)
{
    // Handle codes take text too: some writers put names there ("Standard"), kept as write(Tag) keeps them.
    if (valueTypeOf(code) != ValueType::Handle)
        requireType(code, ValueType::String, "text");
    writeCode(code);
    writeTextValue(text);
}

void TagWriter::writeString(int code, std::string_view bytes)
{
    requireType(code, ValueType::String, "a string");
    writeCode(code);
    writeRawValue(bytes);
}

void TagWriter::writeBinary(int code, std::span<const std::uint8_t> bytes)
{
    requireType(code, ValueType::Binary, "a binary chunk");
    writeCode(code);
    char* out = reserve(bytes.size() * 2);
    for (const std::uint8_t byte : bytes) {
        *out++ = kHexDigits[byte >> 4];
        *out++ = kHexDigits[byte & 0xF];
    }
    size_ += bytes.size() * 2;
    endLine();
}

void TagWriter::write(const Tag& tag)
{
    switch (tag.type()) {
    case ValueType::Double:
        writeDouble(tag.code, tag.asDouble());
        return;
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64:
    case ValueType::Bool:
        writeInt(tag.code, tag.asInt());
        return;
    case ValueType::Binary:
        writeBinary(tag.code, tag.asBinary());
        return;
    case ValueType::Handle:
        if (const auto handle = tag.tryHandle()) {
            writeHandle(tag.code, *handle);
            return;
        }
        break;
    case ValueType::String:
        break;
    }
    writeCode(tag.code);
    // Plain ASCII reads and writes the same in every encoding: no need to decode it.
    if (plainAscii(tag.raw()))
        writeLine(tag.raw());
    else
        writeTextValue(tag.asText());
}

} // namespace dxf
