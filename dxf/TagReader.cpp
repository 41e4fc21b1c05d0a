// Tag reading from ASCII and binary DXF: one pass over the buffer, every number checked.
#include "dxf/TagReader.h"

#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <limits>
#include <string>
#include <system_error>

namespace dxf {

namespace {

inline bool isBlank(char c) noexcept
{
    return c == ' ' || c == '\t';
}

inline std::string_view trimBlanks(std::string_view text) noexcept
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

enum class Parse { Ok, NotANumber, OutOfRange };

// A decimal integer with an optional sign, blanks around it allowed.
Parse parseInteger(std::string_view text, std::int64_t& value) noexcept
{
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return Parse::NotANumber;
    std::uint64_t magnitude = 0;
    bool overflow = false;
    for (const char c : text) {
        const auto digit = static_cast<unsigned>(c - '0');
        if (digit > 9)
            return Parse::NotANumber;
        if (magnitude > (std::numeric_limits<std::uint64_t>::max() - digit) / 10)
            overflow = true;
        else
            magnitude = magnitude * 10 + digit;
    }
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (overflow || magnitude > kMax + (negative ? 1 : 0))
        return Parse::OutOfRange;
    value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return Parse::Ok;
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12,
    1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The common case of a coordinate: an optional minus, digits and at most one point, no exponent, a
// mantissa below 2^53 and at most 22 decimals. Mantissa and power of ten are then both exact, and one
// correctly rounded division gives the nearest double, as a full parse would. False for anything else.
bool parsePlainDecimal(std::string_view text, double& value) noexcept
{
    const char* p = text.data();
    const char* const end = p + text.size();
    const bool negative = p != end && *p == '-';
    if (negative)
        ++p;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    for (; p != end; ++p) {
        const auto digit = static_cast<unsigned>(*p - '0');
        if (digit <= 9) {
            if (++digits > 18)
                return false;
            mantissa = mantissa * 10 + digit;
            decimals += point ? 1 : 0;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (digits == 0 || mantissa >= (std::uint64_t {1} << 53) || decimals > 22)
        return false;
    value = static_cast<double>(mantissa) / kExactPowersOfTen[decimals];
    if (negative)
        value = -value;
    return true;
}

// A finite double as C's strtod reads it, without locale, blanks around it allowed.
Parse parseDouble(std::string_view text, double& value) noexcept
{
    if (parsePlainDecimal(text, value))
        return Parse::Ok;
    text = trimBlanks(text);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    if (text.empty())
        return Parse::NotANumber;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size())
        return Parse::NotANumber;
    if (error == std::errc::result_out_of_range)
        return Parse::OutOfRange;
    if (error != std::errc() || !std::isfinite(value))
        return Parse::NotANumber; // "inf" and "nan" parse, but are no coordinates
    return Parse::Ok;
}

std::string valueMessage(std::string_view value, int code, std::string_view problem)
{
    return "value '" + quoteForMessage(value) + "' of group code " + std::to_string(code) + " "
        + std::string(problem);
}

template <typename T> T littleEndian(const char* bytes) noexcept
{
    std::make_unsigned_t<T> value = 0;
    for (std::size_t i = sizeof(T); i-- > 0;)
        value = static_cast<std::make_unsigned_t<T>>((value << 8) | static_cast<unsigned char>(bytes[i]));
    return static_cast<T>(value);
}

bool isEof(std::string_view value) noexcept
{
    return trimBlanks(value) == "EOF";
}

} // namespace

TagReader::TagReader(std::string_view data)
    : codec_(std::make_unique<TextCodec>())
    , data_(data.data())
    , size_(data.size())
{
    if (data.starts_with(kBinarySentinel)) {
        binary_ = true;
        pos_ = kBinarySentinel.size();
        // R12 writes the first group code (0, or 255 and a two-byte 999) in one byte: "\0SECTION".
        oneByteCodes_ = size_ > pos_ + 1
            && ((data_[pos_] == '\0' && data_[pos_ + 1] != '\0')
                || static_cast<unsigned char>(data_[pos_]) == 0xFF);
    } else if (data.starts_with("\xEF\xBB\xBF")) {
        pos_ = 3;
    }
}

TagReader TagReader::open(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file)
        throw ReadError("cannot open '" + path.string() + "': " + std::generic_category().message(errno));
    const auto end = file.tellg();
    if (end < 0)
        throw ReadError("cannot read '" + path.string() + "'");
    const auto size = static_cast<std::size_t>(end);
    auto storage = std::make_unique_for_overwrite<char[]>(size == 0 ? 1 : size);
    file.seekg(0);
    if (!file.read(storage.get(), static_cast<std::streamsize>(size)))
        throw ReadError("cannot read '" + path.string() + "'");
    TagReader reader(std::string_view(storage.get(), size));
    reader.storage_ = std::move(storage);
    return reader;
}

TagReader::TagReader(TagReader&&) noexcept = default;
TagReader& TagReader::operator=(TagReader&&) noexcept = default;
TagReader::~TagReader() = default;

bool TagReader::next(Tag& tag)
{
    if (done_)
        return false;
    const bool more = binary_ ? readBinary(tag) : readAscii(tag);
    if (!more) {
        done_ = true;
        return false;
    }
    if ((tag.code == 9 || pending_ != Pending::None) && followHeader_)
        noteHeaderVariable(tag);
    return true;
}

void TagReader::unget() noexcept
{
    if (done_ || !hasTag_)
        return;
    pos_ = currentOffset_;
    line_ = currentLine_;
}

bool TagReader::skipTo(int code, Tag& tag)
{
    while (next(tag))
        if (tag.code == code)
            return true;
    return false;
}

void TagReader::noteHeaderVariable(const Tag& tag)
{
    const Pending pending = pending_;
    pending_ = Pending::None;
    if (tag.code == 9) {
        const std::string_view name = trimBlanks(tag.raw());
        if (name == "$ACADVER")
            pending_ = Pending::Version;
        else if (name == "$DWGCODEPAGE")
            pending_ = Pending::CodePage;
    } else if (pending == Pending::Version && tag.code == 1) {
        codec_->setVersion(tag.raw()); // a version we cannot read leaves the code page in charge
    } else if (pending == Pending::CodePage && tag.code == 3) {
        // From R2007 on the code page does not decide anything, so a name we do not know is no reason
        // to refuse the file.
        if (!codec_->setCodePage(tag.raw()) && !codec_->utf8())
            throwReadError(tag.position(), "unknown code page '" + quoteForMessage(tag.raw()) + "'");
    }
}

bool TagReader::readAscii(Tag& tag)
{
    const char* const end = data_ + size_;
    const char* const start = data_ + pos_;
    const std::size_t line = line_;
    if (start >= end)
        throwReadError({line, false}, "truncated: no EOF record");

    // The group code line: almost always blanks, up to five digits and the line end, read here in one
    // go; anything else (a sign, blanks after, an error) takes the careful path.
    const char* newline = nullptr;
    std::string_view codeText;
    std::int64_t number = 0;
    Parse codeParsed = Parse::Ok;
    {
        const char* p = start;
        while (p != end && *p == ' ')
            ++p;
        const char* const digits = p;
        while (p != end && p - digits < 5 && static_cast<unsigned>(*p - '0') <= 9)
            number = number * 10 + (*p++ - '0');
        if (p != digits && p != end && *p == '\r' && p + 1 != end)
            ++p;
        if (p != digits && p != end && *p == '\n' && p + 1 != end) {
            newline = p;
            codeText = std::string_view(start, static_cast<std::size_t>(p - start));
        }
    }
    if (newline == nullptr) {
        newline = static_cast<const char*>(std::memchr(start, '\n', static_cast<std::size_t>(end - start)));
        codeText = std::string_view(start, static_cast<std::size_t>((newline ? newline : end) - start));
        codeParsed = parseInteger(codeText, number);
    }
    if (newline == nullptr || newline + 1 == end) {
        // The last line of the file, and a group code can never be: whatever it holds, the file is cut.
        if (codeParsed != Parse::Ok || number < -32768 || number > 65535)
            throwReadError({line, false}, "truncated: no EOF record");
        throwReadError(
            {line + 1, false}, "truncated: group code " + std::to_string(number) + " has no value");
    }
    if (codeParsed == Parse::NotANumber)
        throwReadError({line, false}, "group code '" + quoteForMessage(codeText) + "' is not a number");
    if (codeParsed == Parse::OutOfRange || number < -32768 || number > 65535)
        throwReadError({line, false}, "group code '" + quoteForMessage(codeText) + "' is out of range");
    const int code = static_cast<int>(number);

    // The value line.
    const char* const valueStart = newline + 1;
    const auto* valueNewline
        = static_cast<const char*>(std::memchr(valueStart, '\n', static_cast<std::size_t>(end - valueStart)));
    const char* valueEnd = valueNewline ? valueNewline : end;
    if (valueEnd > valueStart && valueEnd[-1] == '\r')
        --valueEnd;
    const std::string_view value(valueStart, static_cast<std::size_t>(valueEnd - valueStart));

    currentOffset_ = pos_;
    currentLine_ = line;
    hasTag_ = true;
    pos_ = valueNewline ? static_cast<std::size_t>(valueNewline + 1 - data_) : size_;
    line_ = line + 2;

    if (code == 0 && isEof(value))
        return false;

    const ValueType type = valueTypeOf(code);
    tag.code = code;
    tag.type_ = type;
    tag.binaryFile_ = false;
    tag.position_ = line;
    tag.text_ = value;
    tag.codec_ = codec_.get();
    switch (type) {
    case ValueType::Double: {
        const Parse parsed = parseDouble(value, tag.real_);
        if (parsed != Parse::Ok)
            throwReadError({line + 1, false},
                valueMessage(
                    value, code, parsed == Parse::OutOfRange ? "is out of range" : "is not a number"));
        break;
    }
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64:
    case ValueType::Bool: {
        const Parse parsed = parseInteger(value, tag.integer_);
        if (parsed == Parse::NotANumber)
            throwReadError({line + 1, false}, valueMessage(value, code, "is not an integer"));
        if (parsed == Parse::OutOfRange || !integerFits(type, tag.integer_))
            throwReadError({line + 1, false}, valueMessage(value, code, "is out of range"));
        break;
    }
    default:
        break;
    }
    return true;
}

bool TagReader::readBinary(Tag& tag)
{
    const std::size_t start = pos_;
    std::size_t p = pos_;
    const auto need = [&](std::size_t bytes) {
        if (size_ - p < bytes)
            throwReadError({start, true}, "truncated binary DXF");
    };
    if (p >= size_)
        throwReadError({start, true}, "truncated: no EOF record");

    int code = 0;
    if (oneByteCodes_) {
        code = static_cast<unsigned char>(data_[p++]);
        if (code == 255) {
            need(2);
            code = littleEndian<std::int16_t>(data_ + p);
            p += 2;
        }
    } else {
        need(2);
        code = littleEndian<std::int16_t>(data_ + p);
        p += 2;
    }

    const ValueType type = valueTypeOf(code);
    tag.code = code;
    tag.type_ = type;
    tag.binaryFile_ = true;
    tag.position_ = start;
    tag.text_ = {};
    tag.codec_ = codec_.get();
    switch (type) {
    case ValueType::Double: {
        need(8);
        tag.real_ = std::bit_cast<double>(littleEndian<std::uint64_t>(data_ + p));
        if (!std::isfinite(tag.real_))
            throwReadError(
                {start, true}, "value of group code " + std::to_string(code) + " is not a finite number");
        p += 8;
        break;
    }
    case ValueType::Int16:
        need(2);
        tag.integer_ = littleEndian<std::int16_t>(data_ + p);
        p += 2;
        break;
    case ValueType::Int32:
        need(4);
        tag.integer_ = littleEndian<std::int32_t>(data_ + p);
        p += 4;
        break;
    case ValueType::Int64:
        need(8);
        tag.integer_ = littleEndian<std::int64_t>(data_ + p);
        p += 8;
        break;
    case ValueType::Bool:
        need(1);
        tag.integer_ = static_cast<unsigned char>(data_[p]);
        p += 1;
        break;
    case ValueType::Binary: {
        need(1);
        const std::size_t length = static_cast<unsigned char>(data_[p++]);
        need(length);
        tag.text_ = std::string_view(data_ + p, length);
        p += length;
        break;
    }
    case ValueType::String:
    case ValueType::Handle: {
        const auto* nul = static_cast<const char*>(std::memchr(data_ + p, '\0', size_ - p));
        if (nul == nullptr)
            throwReadError({start, true}, "truncated binary DXF");
        tag.text_ = std::string_view(data_ + p, static_cast<std::size_t>(nul - (data_ + p)));
        p = static_cast<std::size_t>(nul - data_) + 1;
        break;
    }
    }

    currentOffset_ = start;
    hasTag_ = true;
    pos_ = p;
    return !(code == 0 && isEof(tag.text_));
}

} // namespace dxf
