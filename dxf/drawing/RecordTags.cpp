// Tags kept as text, and numbers to and from text.
#include "dxf/drawing/RecordTags.h"

#include <cmath>

#include "text/Utf8.h"

namespace dxf::drawing {

namespace {

std::string_view trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::string hexBytes(const std::vector<std::uint8_t>& bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::uint8_t b : bytes) {
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 0xF]);
    }
    return out;
}

} // namespace

std::string formatDouble(double value)
{
    char buffer[40];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (std::isfinite(value) && text.find_first_of(".en") == std::string::npos)
        text += ".0";
    return text;
}

arxhost::RawTag keepTag(const Tag& tag)
{
    arxhost::RawTag kept;
    kept.code = static_cast<short>(tag.code);
    switch (tag.type()) {
    case ValueType::String:
        kept.value = arxhost::toUtf8(tag.asText());
        break;
    case ValueType::Handle:
        kept.value = std::string(trim(tag.raw()));
        if (kept.value.empty() && !tag.raw().empty())
            kept.value = arxhost::toUtf8(tag.asText());
        break;
    case ValueType::Double:
        kept.value = tag.raw().empty() ? formatDouble(tag.asDouble()) : std::string(trim(tag.raw()));
        break;
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64:
    case ValueType::Bool:
        kept.value = std::to_string(tag.asInt());
        break;
    case ValueType::Binary:
        kept.value = hexBytes(tag.asBinary());
        break;
    }
    return kept;
}

bool parseDouble(std::string_view text, double& out)
{
    text = trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    auto result = std::from_chars(text.data(), text.data() + text.size(), out);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool parseInteger(std::string_view text, std::int64_t& out)
{
    text = trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    auto result = std::from_chars(text.data(), text.data() + text.size(), out);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

bool parseHandle(std::string_view text, std::uint64_t& out)
{
    text = trim(text);
    if (text.empty() || text.size() > 16)
        return false;
    auto result = std::from_chars(text.data(), text.data() + text.size(), out, 16);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

} // namespace dxf::drawing
