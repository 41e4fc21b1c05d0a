// UTF-8 encoding and decoding with replacement of ill-formed input.
#include "text/Utf8.h"

#include <cstdint>

namespace arxhost {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

void appendUtf8(std::string& out, char32_t c)
{
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The well-formed byte sequences (Unicode Table 3-7): how many continuation bytes follow a lead
// byte, and the range allowed for the first of them (the others are always 80..BF).
struct LeadInfo {
    int continuations; // -1: the byte cannot start a sequence
    unsigned char firstLow;
    unsigned char firstHigh;
};

LeadInfo leadInfo(unsigned char b)
{
    if (b < 0x80)
        return {0, 0, 0};
    if (b >= 0xC2 && b <= 0xDF)
        return {1, 0x80, 0xBF};
    if (b == 0xE0)
        return {2, 0xA0, 0xBF};
    if (b == 0xED)
        return {2, 0x80, 0x9F};
    if (b >= 0xE1 && b <= 0xEF)
        return {2, 0x80, 0xBF};
    if (b == 0xF0)
        return {3, 0x90, 0xBF};
    if (b == 0xF4)
        return {3, 0x80, 0x8F};
    if (b >= 0xF1 && b <= 0xF3)
        return {3, 0x80, 0xBF};
    return {-1, 0, 0};
}

// Decodes the character at `pos` and moves past it; an ill-formed subsequence is consumed up to
// (not including) the first byte that cannot continue it and yields U+FFFD.
char32_t decodeNext(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    const LeadInfo info = leadInfo(lead);
    if (info.continuations == 0)
        return lead;
    if (info.continuations < 0)
        return kReplacement;
    char32_t value = lead & (0x3F >> info.continuations);
    for (int i = 0; i < info.continuations; ++i) {
        if (pos >= text.size())
            return kReplacement;
        const auto b = static_cast<unsigned char>(text[pos]);
        const unsigned char low = i == 0 ? info.firstLow : 0x80;
        const unsigned char high = i == 0 ? info.firstHigh : 0xBF;
        if (b < low || b > high)
            return kReplacement;
        value = (value << 6) | (b & 0x3F);
        ++pos;
    }
    return value;
}

} // namespace

std::string toUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<char32_t>(static_cast<std::uint32_t>(text[i]));
        if (isHighSurrogate(c) && i + 1 < text.size()) {
            const auto next = static_cast<char32_t>(static_cast<std::uint32_t>(text[i + 1]));
            if (isLowSurrogate(next)) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                ++i;
            }
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string toUtf8(const wchar_t* text)
{
    return text == nullptr ? std::string() : toUtf8(std::wstring_view(text));
}

std::wstring fromUtf8(std::string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size())
        out += static_cast<wchar_t>(decodeNext(text, pos));
    return out;
}

std::wstring fromUtf8(const char* text)
{
    return text == nullptr ? std::wstring() : fromUtf8(std::string_view(text));
}

std::size_t utf8PrefixBytes(const char* text, std::size_t maxChars)
{
    std::size_t pos = 0;
    for (std::size_t n = 0; n < maxChars && text[pos] != 0; ++n) {
        const LeadInfo info = leadInfo(static_cast<unsigned char>(text[pos++]));
        for (int i = 0; i < info.continuations; ++i) {
            const auto b = static_cast<unsigned char>(text[pos]);
            if ((b & 0xC0) != 0x80)
                break;
            ++pos;
        }
    }
    return pos;
}

} // namespace arxhost
