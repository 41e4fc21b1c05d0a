// Code pages through glibc's iconv (tables for the single-byte ones), UTF-8 by hand, and the escapes.
#include "dxf/TextCodec.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <utility>
#include <vector>

namespace dxf {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

enum class PageKind : std::uint8_t { SingleByte, MultiByte, Utf8 };

struct CodePage {
    std::string_view name; // as $DWGCODEPAGE spells it
    const char* iconvName;
    PageKind kind;
};

constexpr PageKind kSingle = PageKind::SingleByte;
constexpr PageKind kMulti = PageKind::MultiByte;

// The first entry is the default of a drawing that names none.
constexpr std::array kPages = {
    CodePage {"ANSI_1252", "CP1252", kSingle},
    CodePage {"ANSI_874", "CP874", kSingle},
    CodePage {"ANSI_932", "CP932", kMulti},
    CodePage {"ANSI_936", "CP936", kMulti},
    CodePage {"ANSI_949", "CP949", kMulti},
    CodePage {"ANSI_950", "CP950", kMulti},
    CodePage {"ANSI_1250", "CP1250", kSingle},
    CodePage {"ANSI_1251", "CP1251", kSingle},
    CodePage {"ANSI_1253", "CP1253", kSingle},
    CodePage {"ANSI_1254", "CP1254", kSingle},
    CodePage {"ANSI_1255", "CP1255", kSingle},
    CodePage {"ANSI_1256", "CP1256", kSingle},
    CodePage {"ANSI_1257", "CP1257", kSingle},
    CodePage {"ANSI_1258", "CP1258", kSingle},
    CodePage {"ANSI_1361", "CP1361", kMulti},
    CodePage {"DOS437", "CP437", kSingle},
    CodePage {"DOS850", "CP850", kSingle},
    CodePage {"DOS852", "CP852", kSingle},
    CodePage {"DOS855", "CP855", kSingle},
    CodePage {"DOS857", "CP857", kSingle},
    CodePage {"DOS860", "CP860", kSingle},
    CodePage {"DOS861", "CP861", kSingle},
    CodePage {"DOS863", "CP863", kSingle},
    CodePage {"DOS864", "CP864", kSingle},
    CodePage {"DOS865", "CP865", kSingle},
    CodePage {"DOS866", "CP866", kSingle},
    CodePage {"DOS869", "CP869", kSingle},
    CodePage {"MACINTOSH", "MACINTOSH", kSingle},
    CodePage {"ISO8859-1", "ISO-8859-1", kSingle},
    CodePage {"ISO8859-2", "ISO-8859-2", kSingle},
    CodePage {"ISO8859-3", "ISO-8859-3", kSingle},
    CodePage {"ISO8859-4", "ISO-8859-4", kSingle},
    CodePage {"ISO8859-5", "ISO-8859-5", kSingle},
    CodePage {"ISO8859-6", "ISO-8859-6", kSingle},
    CodePage {"ISO8859-7", "ISO-8859-7", kSingle},
    CodePage {"ISO8859-8", "ISO-8859-8", kSingle},
    CodePage {"ISO8859-9", "ISO-8859-9", kSingle},
    CodePage {"UTF-8", nullptr, PageKind::Utf8},
};

constexpr std::size_t pageIndex(std::string_view name)
{
    for (std::size_t i = 0; i < kPages.size(); ++i)
        if (kPages[i].name == name)
            return i;
    throw "no such code page"; // compile-time only
}

// Other names of the same pages, as older files and other writers spell them.
constexpr std::array<std::pair<std::string_view, std::size_t>, 9> kAliases = {{
    {"BIG5", pageIndex("ANSI_950")},
    {"GB2312", pageIndex("ANSI_936")},
    {"GBK", pageIndex("ANSI_936")},
    {"KSC5601", pageIndex("ANSI_949")},
    {"JOHAB", pageIndex("ANSI_1361")},
    {"DOS932", pageIndex("ANSI_932")},
    {"UTF8", pageIndex("UTF-8")},
    {"ASCII", pageIndex("ANSI_1252")},
    {"ANSI_1252", 0},
}};

// The code pages of the \M+N escapes, by N.
constexpr std::array<std::size_t, 6> kEscapePages = {0, pageIndex("ANSI_932"), pageIndex("ANSI_950"),
    pageIndex("ANSI_949"), pageIndex("ANSI_1361"), pageIndex("ANSI_936")};

// An iconv descriptor that closes itself.
class Iconv {
public:
    Iconv() = default;
    Iconv(const char* to, const char* from)
        : cd_(iconv_open(to, from))
    {
    }
    ~Iconv()
    {
        if (valid())
            iconv_close(cd_);
    }
    Iconv(Iconv&& other) noexcept
        : cd_(std::exchange(other.cd_, invalid()))
    {
    }
    Iconv& operator=(Iconv&& other) noexcept
    {
        std::swap(cd_, other.cd_);
        return *this;
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const noexcept { return cd_ != invalid(); }
    iconv_t get() const noexcept { return cd_; }
    void reset() const noexcept { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    static iconv_t invalid() noexcept { return reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_ = invalid();
};

// A single-byte code page both ways. Bytes below 0x80 are ASCII in every page we know.
struct SingleByteTable {
    std::array<wchar_t, 128> upper {}; // bytes 0x80..0xFF; U+FFFD where the page has no character
    std::vector<std::pair<wchar_t, unsigned char>> reverse; // sorted by character
};

SingleByteTable buildTable(const CodePage& page)
{
    SingleByteTable table;
    table.upper.fill(kReplacement);
    const Iconv cd("WCHAR_T", page.iconvName);
    if (cd.valid()) {
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            char in = static_cast<char>(byte);
            char* inPtr = &in;
            std::size_t inLeft = 1;
            std::array<wchar_t, 4> out {};
            char* outPtr = reinterpret_cast<char*>(out.data());
            std::size_t outLeft = sizeof(out);
            cd.reset();
            if (iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
                continue;
            // Pages that combine diacritics (1255, 1258) hold a character back until flushed.
            iconv(cd.get(), nullptr, nullptr, &outPtr, &outLeft);
            if (sizeof(out) - outLeft == sizeof(wchar_t))
                table.upper[static_cast<std::size_t>(byte - 0x80)] = out[0];
        }
    }
    for (std::size_t i = 0; i < table.upper.size(); ++i)
        if (table.upper[i] != kReplacement)
            table.reverse.emplace_back(table.upper[i], static_cast<unsigned char>(0x80 + i));
    std::stable_sort(table.reverse.begin(), table.reverse.end(),
        [](const auto& a, const auto& b) { return a.first < b.first; });
    return table;
}

// Tables are built once per process, on first use, and never change after.
const SingleByteTable& singleByteTable(std::size_t page)
{
    static std::array<std::once_flag, kPages.size()> once;
    static std::array<SingleByteTable, kPages.size()> tables;
    std::call_once(once[page], [page] { tables[page] = buildTable(kPages[page]); });
    return tables[page];
}

std::string normalizedName(std::string_view name)
{
    while (!name.empty() && (name.front() == ' ' || name.front() == '\t'))
        name.remove_prefix(1);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t'))
        name.remove_suffix(1);
    std::string upper(name);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool isAscii(std::string_view bytes) noexcept
{
    unsigned char any = 0;
    for (const char c : bytes)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

void widenAscii(std::string_view bytes, std::wstring& out)
{
    const std::size_t start = out.size();
    out.resize(start + bytes.size());
    std::transform(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(start),
        [](char c) { return static_cast<wchar_t>(static_cast<unsigned char>(c)); });
}

// UTF-8 with each maximal ill-formed subsequence replaced by one U+FFFD, as Unicode recommends.
void decodeUtf8(std::string_view text, std::wstring& out)
{
    out.reserve(out.size() + text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        const unsigned char lead = *p++;
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            continue;
        }
        int more = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        char32_t c = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            more = 1;
            c = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            more = 2;
            c = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            more = 3;
            c = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            out += kReplacement;
            continue;
        }
        bool ok = true;
        for (int i = 0; i < more; ++i) {
            if (p == end || *p < low || *p > high) {
                ok = false;
                break;
            }
            c = (c << 6) | (*p++ & 0x3F);
            low = 0x80;
            high = 0xBF;
        }
        out += ok ? static_cast<wchar_t>(c) : kReplacement;
    }
}

void appendUtf8(char32_t c, std::string& out)
{
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        c = kReplacement;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        const char bytes[] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
        out.append(bytes, sizeof bytes);
    } else if (c < 0x10000) {
        const char bytes[] = {static_cast<char>(0xE0 | (c >> 12)),
            static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        out.append(bytes, sizeof bytes);
    } else {
        const char bytes[]
            = {static_cast<char>(0xF0 | (c >> 18)), static_cast<char>(0x80 | ((c >> 12) & 0x3F)),
                static_cast<char>(0x80 | ((c >> 6) & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
        out.append(bytes, sizeof bytes);
    }
}

void appendEscape(char32_t c, std::string& out)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char escape[]
        = {'\\', 'U', '+', kHex[(c >> 12) & 0xF], kHex[(c >> 8) & 0xF], kHex[(c >> 4) & 0xF], kHex[c & 0xF]};
    out.append(escape, sizeof escape);
}

// Characters beyond the Basic Multilingual Plane take two escapes, a UTF-16 surrogate pair.
void appendEscapes(char32_t c, std::string& out)
{
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
        appendEscape(kReplacement, out);
    } else if (c >= 0x10000) {
        appendEscape(0xD800 + ((c - 0x10000) >> 10), out);
        appendEscape(0xDC00 + ((c - 0x10000) & 0x3FF), out);
    } else {
        appendEscape(c, out);
    }
}

int hexDigit(wchar_t c) noexcept
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    return -1;
}

// The value of four hex digits at `pos`, or -1.
long hex4(std::wstring_view text, std::size_t pos) noexcept
{
    if (pos + 4 > text.size())
        return -1;
    long value = 0;
    for (std::size_t i = pos; i < pos + 4; ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

// "\U+XXXX" at `pos`: its value, or -1.
long unicodeEscapeAt(std::wstring_view text, std::size_t pos) noexcept
{
    if (pos + 7 > text.size() || text[pos] != L'\\' || text[pos + 1] != L'U' || text[pos + 2] != L'+')
        return -1;
    return hex4(text, pos + 3);
}

// "\M+NXXXX" at `pos` with N in 1..5: N, or 0.
int multiByteEscapeAt(std::wstring_view text, std::size_t pos) noexcept
{
    if (pos + 8 > text.size() || text[pos] != L'\\' || text[pos + 1] != L'M' || text[pos + 2] != L'+')
        return 0;
    const wchar_t n = text[pos + 3];
    if (n < L'1' || n > L'5' || hex4(text, pos + 4) < 0)
        return 0;
    return n - L'0';
}

bool startsEscape(std::wstring_view text, std::size_t pos) noexcept
{
    return pos + 2 < text.size() && (text[pos + 1] == L'U' || text[pos + 1] == L'M') && text[pos + 2] == L'+';
}

} // namespace

// The iconv descriptors of one codec, opened on first use: decoders for the multi-byte pages (the
// drawing's and those of \M+ escapes) and an encoder for the drawing's.
struct TextCodec::Converters {
    std::array<Iconv, kPages.size()> decoders;
    std::array<Iconv, kPages.size()> encoders;
    std::array<bool, kPages.size()> triedDecoder {};
    std::array<bool, kPages.size()> triedEncoder {};

    const Iconv& decoder(std::size_t page)
    {
        if (!triedDecoder[page]) {
            triedDecoder[page] = true;
            decoders[page] = Iconv("WCHAR_T", kPages[page].iconvName);
        }
        return decoders[page];
    }
    const Iconv& encoder(std::size_t page)
    {
        if (!triedEncoder[page]) {
            triedEncoder[page] = true;
            encoders[page] = Iconv(kPages[page].iconvName, "WCHAR_T");
        }
        return encoders[page];
    }
};

namespace {

// Multi-byte text through iconv; each byte that does not start a valid character becomes one U+FFFD
// and decoding goes on after it.
void decodeMultiByte(const Iconv& cd, std::string_view bytes, std::wstring& out)
{
    if (!cd.valid()) {
        for (const char c : bytes)
            out += static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : kReplacement;
        return;
    }
    const std::size_t start = out.size();
    out.resize(start + bytes.size() + 1);
    std::size_t used = start;
    char* in = const_cast<char*>(bytes.data()); // iconv's signature; it does not write
    std::size_t inLeft = bytes.size();
    cd.reset();
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(out.data() + used);
        std::size_t outLeft = (out.size() - used) * sizeof(wchar_t);
        const std::size_t result = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        used = out.size() - outLeft / sizeof(wchar_t);
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() + inLeft + 1);
            continue;
        }
        // EILSEQ: an invalid sequence; EINVAL: one cut off at the end.
        if (used == out.size())
            out.resize(out.size() + inLeft + 1);
        out[used++] = kReplacement;
        ++in;
        --inLeft;
        cd.reset();
    }
    out.resize(used);
}

} // namespace

TextCodec::TextCodec()
    : page_(0)
    , converters_(std::make_unique<Converters>())
{
}

TextCodec::TextCodec(TextCodec&&) noexcept = default;
TextCodec& TextCodec::operator=(TextCodec&&) noexcept = default;
TextCodec::~TextCodec() = default;

bool TextCodec::setCodePage(std::string_view name)
{
    const std::string key = normalizedName(name);
    for (std::size_t i = 0; i < kPages.size(); ++i) {
        if (kPages[i].name == key) {
            page_ = i;
            return true;
        }
    }
    for (const auto& [alias, index] : kAliases) {
        if (alias == key) {
            page_ = index;
            return true;
        }
    }
    return false;
}

std::string_view TextCodec::codePage() const noexcept
{
    return kPages[page_].name;
}

bool TextCodec::setVersion(std::string_view acadVer)
{
    const std::string key = normalizedName(acadVer);
    if (key.size() != 6 || key[0] != 'A' || key[1] != 'C')
        return false;
    int number = 0;
    for (std::size_t i = 2; i < 6; ++i) {
        if (key[i] < '0' || key[i] > '9')
            return false;
        number = number * 10 + (key[i] - '0');
    }
    version_ = number;
    return true;
}

bool TextCodec::utf8() const noexcept
{
    return version_ >= 1021 || kPages[page_].kind == PageKind::Utf8;
}

bool TextCodec::representable(wchar_t c) const
{
    if (c < 0x80 || utf8())
        return c >= 0 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    const CodePage& page = kPages[page_];
    if (page.kind == PageKind::SingleByte) {
        const auto& reverse = singleByteTable(page_).reverse;
        const auto it = std::lower_bound(reverse.begin(), reverse.end(), c,
            [](const auto& entry, wchar_t key) { return entry.first < key; });
        return it != reverse.end() && it->first == c;
    }
    std::string bytes;
    encode(std::wstring_view(&c, 1), bytes);
    return bytes.empty() || bytes[0] != '\\';
}

std::wstring TextCodec::decode(std::string_view bytes) const
{
    std::wstring text;
    if (isAscii(bytes)) {
        widenAscii(bytes, text);
    } else if (utf8()) {
        decodeUtf8(bytes, text);
    } else if (kPages[page_].kind == PageKind::SingleByte) {
        const SingleByteTable& table = singleByteTable(page_);
        text.resize(bytes.size());
        std::transform(bytes.begin(), bytes.end(), text.begin(), [&table](char c) {
            const auto b = static_cast<unsigned char>(c);
            return b < 0x80 ? static_cast<wchar_t>(b) : table.upper[b - 0x80];
        });
    } else {
        decodeMultiByte(converters_->decoder(page_), bytes, text);
    }

    // The host's strings end at a NUL, so a NUL inside a value (a byte, or \U+0000 below) cannot be kept:
    // it becomes the replacement character. Dropping it instead would make "L<NUL>TYPE" read as a name the
    // file's structure did not mean, and keeping it would cut the name short.
    if (std::memchr(bytes.data(), 0, bytes.size()) != nullptr)
        std::replace(text.begin(), text.end(), L'\0', kReplacement);

    // The escapes, expanded in place: each is longer than what it stands for.
    std::size_t pos = text.find(L'\\');
    if (pos == std::wstring::npos)
        return text;
    std::size_t out = pos;
    while (pos < text.size()) {
        if (const long unit = unicodeEscapeAt(text, pos); unit >= 0) {
            pos += 7;
            wchar_t c = unit == 0 ? kReplacement : static_cast<wchar_t>(unit);
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                const long next = unicodeEscapeAt(text, pos);
                if (next >= 0xDC00 && next <= 0xDFFF) {
                    c = static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
                    pos += 7;
                } else {
                    c = kReplacement;
                }
            } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                c = kReplacement;
            }
            text[out++] = c;
        } else if (const int n = multiByteEscapeAt(text, pos); n > 0) {
            const long code = hex4(text, pos + 4);
            const char pair[] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
            std::wstring decoded;
            decodeMultiByte(converters_->decoder(kEscapePages[static_cast<std::size_t>(n)]),
                std::string_view(pair, 2), decoded);
            text[out++] = decoded.size() == 1 ? decoded[0] : kReplacement;
            pos += 8;
        } else {
            text[out++] = text[pos++];
        }
    }
    text.resize(out);
    return text;
}

void TextCodec::encode(std::wstring_view text, std::string& out) const
{
    const bool toUtf8 = utf8();
    const CodePage& page = kPages[page_];
    const SingleByteTable* table = nullptr;
    out.reserve(out.size() + text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c >= 0x20 && c < 0x7F && c != L'\\') {
            out += static_cast<char>(c);
        } else if (c == L'\n' || c == L'\r' || (c == L'\\' && startsEscape(text, i))) {
            appendEscape(static_cast<char32_t>(c), out);
        } else if (c < 0x80 && c >= 0) {
            out += static_cast<char>(c);
        } else if (toUtf8) {
            appendUtf8(static_cast<char32_t>(c), out);
        } else if (page.kind == PageKind::SingleByte) {
            if (table == nullptr)
                table = &singleByteTable(page_);
            const auto it = std::lower_bound(table->reverse.begin(), table->reverse.end(), c,
                [](const auto& entry, wchar_t key) { return entry.first < key; });
            if (it != table->reverse.end() && it->first == c)
                out += static_cast<char>(it->second);
            else
                appendEscapes(static_cast<char32_t>(c), out);
        } else {
            const Iconv& cd = converters_->encoder(page_);
            std::array<char, 16> bytes {};
            wchar_t one = c;
            char* in = reinterpret_cast<char*>(&one);
            std::size_t inLeft = sizeof one;
            char* outPtr = bytes.data();
            std::size_t outLeft = bytes.size();
            const bool ok = cd.valid() && c >= 0 && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF)
                && iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
            const auto length = static_cast<std::size_t>(outPtr - bytes.data());
            // A character that would come out as ASCII (a best-fit mapping) would not read back as itself.
            if (ok && length > 0 && static_cast<unsigned char>(bytes[0]) >= 0x80) {
                out.append(bytes.data(), length);
            } else {
                if (cd.valid())
                    cd.reset();
                appendEscapes(static_cast<char32_t>(c), out);
            }
        }
    }
}

std::string TextCodec::encode(std::wstring_view text) const
{
    std::string out;
    encode(text, out);
    return out;
}

} // namespace dxf
