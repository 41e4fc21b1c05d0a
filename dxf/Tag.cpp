// The accessors of a tag: numbers as read, text decoded on demand, handles and chunks parsed on demand.
#include "dxf/Tag.h"

#include <stdexcept>

#include "dxf/TextCodec.h"

namespace dxf {

namespace {

int hexValue(char c) noexcept
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

std::string_view trimBlanks(std::string_view text) noexcept
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

[[noreturn]] void wrongType(const Tag& tag, std::string_view wanted)
{
    throw std::logic_error("group code " + std::to_string(tag.code) + " holds a "
        + std::string(valueTypeName(tag.type())) + ", not " + std::string(wanted));
}

} // namespace

std::string_view valueTypeName(ValueType type) noexcept
{
    switch (type) {
    case ValueType::String:
        return "string";
    case ValueType::Double:
        return "double";
    case ValueType::Int16:
        return "int16";
    case ValueType::Int32:
        return "int32";
    case ValueType::Int64:
        return "int64";
    case ValueType::Bool:
        return "bool";
    case ValueType::Handle:
        return "handle";
    case ValueType::Binary:
        return "binary chunk";
    }
    return "value";
}

double Tag::asDouble() const
{
    switch (type_) {
    case ValueType::Double:
        return real_;
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64:
    case ValueType::Bool:
        return static_cast<double>(integer_);
    default:
        wrongType(*this, "a number");
    }
}

std::int64_t Tag::asInt() const
{
    switch (type_) {
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64:
    case ValueType::Bool:
        return integer_;
    default:
        wrongType(*this, "an integer");
    }
}

std::wstring Tag::asText() const
{
    if (binaryFile_ && type_ != ValueType::String && type_ != ValueType::Handle)
        wrongType(*this, "text");
    if (codec_ == nullptr) {
        thread_local const TextCodec fallback;
        return fallback.decode(text_);
    }
    return codec_->decode(text_);
}

std::optional<std::uint64_t> Tag::tryHandle() const noexcept
{
    if (binaryFile_ && type_ != ValueType::String && type_ != ValueType::Handle)
        return std::nullopt;
    const std::string_view digits = trimBlanks(text_);
    if (digits.empty() || digits.size() > 16)
        return std::nullopt;
    std::uint64_t handle = 0;
    for (const char c : digits) {
        const int digit = hexValue(c);
        if (digit < 0)
            return std::nullopt;
        handle = handle << 4 | static_cast<std::uint64_t>(digit);
    }
    return handle;
}

std::uint64_t Tag::asHandle() const
{
    if (binaryFile_ && type_ != ValueType::String && type_ != ValueType::Handle)
        wrongType(*this, "a handle");
    if (const auto handle = tryHandle())
        return *handle;
    throwReadError({binaryFile_ ? position_ : position_ + 1, binaryFile_},
        "value '" + quoteForMessage(text_) + "' of group code " + std::to_string(code) + " is not a handle");
}

std::vector<std::uint8_t> Tag::asBinary() const
{
    if (type_ != ValueType::Binary)
        wrongType(*this, "a binary chunk");
    if (binaryFile_)
        return {text_.begin(), text_.end()};
    const std::string_view digits = trimBlanks(text_);
    std::vector<std::uint8_t> bytes;
    bool ok = digits.size() % 2 == 0;
    if (ok) {
        bytes.reserve(digits.size() / 2);
        for (std::size_t i = 0; i < digits.size(); i += 2) {
            const int high = hexValue(digits[i]);
            const int low = hexValue(digits[i + 1]);
            if (high < 0 || low < 0) {
                ok = false;
                break;
            }
            bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
        }
    }
    if (!ok)
        throwReadError({position_ + 1, false},
            "value '" + quoteForMessage(text_) + "' of group code " + std::to_string(code)
                + " is not hexadecimal data");
    return bytes;
}

} // namespace dxf
