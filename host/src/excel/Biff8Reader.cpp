// Reads a BIFF8 Workbook stream back into a Workbook: sheet names, text cells, column widths, alignment.
#include <algorithm>
#include <map>
#include <stdexcept>

#include "excel/Biff8.h"

namespace arxhost::excel::biff8 {

namespace {

// Any structural fault of the stream; caught once and turned into the error text.
struct Malformed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Record {
    std::uint16_t type = 0;
    std::size_t at = 0; // stream position of the header
    std::span<const std::uint8_t> body;
};

Record recordAt(std::span<const std::uint8_t> stream, std::size_t at)
{
    if (at + 4 > stream.size())
        throw Malformed("a record header runs past the end of the stream at " + std::to_string(at));
    const auto type = static_cast<std::uint16_t>(stream[at] | (stream[at + 1] << 8));
    const std::size_t size = static_cast<std::size_t>(stream[at + 2] | (stream[at + 3] << 8));
    if (at + 4 + size > stream.size())
        throw Malformed("a record runs past the end of the stream at " + std::to_string(at));
    return {type, at, stream.subspan(at + 4, size)};
}

// Reads little-endian values from a record body, or from a record with its Continue bodies joined;
// `boundaries` are the joined positions where a Continue body begins.
class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> data, std::vector<std::size_t> boundaries = {})
        : data_(data)
        , boundaries_(std::move(boundaries))
    {
    }
    std::uint8_t u8()
    {
        need(1);
        return data_[pos_++];
    }
    std::uint16_t u16()
    {
        const std::uint8_t lo = u8();
        return static_cast<std::uint16_t>(lo | (u8() << 8));
    }
    std::uint32_t u32()
    {
        const std::uint16_t lo = u16();
        return lo | (static_cast<std::uint32_t>(u16()) << 16);
    }
    void skip(std::size_t n)
    {
        need(n);
        pos_ += n;
    }
    bool atBoundary() const { return std::binary_search(boundaries_.begin(), boundaries_.end(), pos_); }

    // The characters of a string whose option byte said `wide`; a Continue inside them repeats the byte.
    std::u16string chars(std::size_t count, bool wide)
    {
        std::u16string text;
        text.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            if (atBoundary())
                wide = (u8() & 0x01) != 0;
            text += static_cast<char16_t>(wide ? u16() : u8());
        }
        return text;
    }

    // XLUnicodeRichExtendedString (shared strings), XLUnicodeString or ShortXLUnicodeString.
    std::u16string string(bool shortLength, bool extended)
    {
        const std::size_t count = shortLength ? u8() : u16();
        const std::uint8_t options = u8();
        std::size_t runs = 0;
        std::size_t phonetic = 0;
        if (extended && (options & 0x08) != 0)
            runs = u16();
        if (extended && (options & 0x04) != 0)
            phonetic = u32();
        std::u16string text = chars(count, (options & 0x01) != 0);
        skip(4 * runs + phonetic);
        return text;
    }

private:
    void need(std::size_t n) const
    {
        if (pos_ + n > data_.size())
            throw Malformed("a record is shorter than its contents");
    }

    std::span<const std::uint8_t> data_;
    std::vector<std::size_t> boundaries_;
    std::size_t pos_ = 0;
};

HAlign alignmentOf(std::uint8_t horizontal)
{
    switch (horizontal) {
    case 1:
        return HAlign::Left;
    case 2:
        return HAlign::Centre;
    case 3:
        return HAlign::Right;
    default:
        return HAlign::General;
    }
}

struct Globals {
    std::vector<std::uint8_t> horizontal; // per XF
    struct Bound {
        std::size_t position;
        std::wstring name;
    };
    std::vector<Bound> sheets;
    std::vector<std::wstring> strings;
};

void checkBof(const Record& record, std::uint16_t substream)
{
    if (record.type != rtBof || record.body.size() < 4)
        throw Malformed("a substream does not begin with a BOF record");
    Cursor c(record.body);
    const std::uint16_t version = c.u16();
    const std::uint16_t kind = c.u16();
    if (version != 0x0600)
        throw Malformed("not a BIFF8 (Excel 97-2003) workbook");
    if (kind != substream)
        throw Malformed("unexpected substream type " + std::to_string(kind));
}

std::vector<std::wstring> readSst(std::span<const std::uint8_t> stream, Record sst, std::size_t& at)
{
    std::vector<std::uint8_t> joined(sst.body.begin(), sst.body.end());
    std::vector<std::size_t> boundaries;
    at = sst.at + 4 + sst.body.size();
    while (at < stream.size()) {
        const Record next = recordAt(stream, at);
        if (next.type != rtContinue)
            break;
        boundaries.push_back(joined.size());
        joined.insert(joined.end(), next.body.begin(), next.body.end());
        at += 4 + next.body.size();
    }
    Cursor c(joined, std::move(boundaries));
    c.u32(); // references
    const std::uint32_t unique = c.u32();
    std::vector<std::wstring> strings;
    strings.reserve(std::min<std::uint32_t>(unique, 1u << 20));
    for (std::uint32_t i = 0; i < unique; ++i)
        strings.push_back(fromUtf16(c.string(false, true)));
    return strings;
}

Globals readGlobals(std::span<const std::uint8_t> stream)
{
    Globals globals;
    Record record = recordAt(stream, 0);
    checkBof(record, 0x0005);
    std::size_t at = 4 + record.body.size();
    for (;;) {
        record = recordAt(stream, at);
        at += 4 + record.body.size();
        if (record.type == rtEof)
            return globals;
        Cursor c(record.body);
        if (record.type == rtXf) {
            c.skip(6);
            globals.horizontal.push_back(static_cast<std::uint8_t>(c.u8() & 0x07));
        } else if (record.type == rtBoundSheet8) {
            const std::uint32_t position = c.u32();
            c.u8();
            const std::uint8_t kind = c.u8();
            std::wstring name = fromUtf16(c.string(true, false));
            if (kind == 0) // worksheets only: charts and macro sheets hold no cells
                globals.sheets.push_back({position, std::move(name)});
        } else if (record.type == rtSst) {
            globals.strings = readSst(stream, record, at);
        }
    }
}

Sheet readSheet(std::span<const std::uint8_t> stream, const Globals& globals, const Globals::Bound& bound)
{
    Sheet sheet;
    sheet.name = bound.name;
    std::optional<std::uint16_t> cellXf;
    std::optional<std::uint16_t> columnXf;
    Record record = recordAt(stream, bound.position);
    checkBof(record, 0x0010);
    std::size_t at = bound.position + 4 + record.body.size();
    int depth = 1; // embedded substreams (charts) have BOF/EOF pairs of their own
    while (depth > 0) {
        record = recordAt(stream, at);
        at += 4 + record.body.size();
        if (record.type == rtBof) {
            ++depth;
            continue;
        }
        if (record.type == rtEof) {
            --depth;
            continue;
        }
        if (depth > 1)
            continue;
        Cursor c(record.body);
        if (record.type == rtLabelSst || record.type == rtLabel) {
            const int row = c.u16() + 1;
            const int column = c.u16() + 1;
            const std::uint16_t xf = c.u16();
            std::wstring text;
            if (record.type == rtLabelSst) {
                const std::uint32_t index = c.u32();
                if (index >= globals.strings.size())
                    throw Malformed("a cell refers to shared string " + std::to_string(index) + " of "
                        + std::to_string(globals.strings.size()));
                text = globals.strings[index];
            } else {
                text = fromUtf16(c.string(false, false));
            }
            if (!cellXf)
                cellXf = xf;
            sheet.cells[{row, column}] = std::move(text);
        } else if (record.type == rtColInfo) {
            const int first = c.u16();
            const int last = std::min<int>(c.u16(), 255);
            const double width = c.u16() / 256.0;
            const std::uint16_t xf = c.u16();
            if (!columnXf)
                columnXf = xf;
            for (int column = first; column <= last; ++column)
                sheet.columnWidths[column + 1] = width;
        }
    }
    const std::optional<std::uint16_t> xf = cellXf ? cellXf : columnXf;
    if (xf && *xf < globals.horizontal.size())
        sheet.align = alignmentOf(globals.horizontal[*xf]);
    return sheet;
}

} // namespace

std::optional<Workbook> parseStream(std::span<const std::uint8_t> stream, std::string& error)
{
    try {
        const Globals globals = readGlobals(stream);
        Workbook book;
        for (const Globals::Bound& bound : globals.sheets)
            book.sheets.push_back(readSheet(stream, globals, bound));
        return book;
    } catch (const Malformed& fault) {
        error = fault.what();
        return std::nullopt;
    }
}

std::u16string toUtf16(std::wstring_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        const auto c = static_cast<std::uint32_t>(wc);
        if (c < 0x10000) {
            out += static_cast<char16_t>(c);
        } else if (c <= 0x10FFFF) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += u'\uFFFD';
        }
    }
    return out;
}

std::wstring fromUtf16(std::u16string_view text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00
            && text[i + 1] < 0xE000) {
            out += static_cast<wchar_t>(0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else {
            out += static_cast<wchar_t>(c);
        }
    }
    return out;
}

} // namespace arxhost::excel::biff8
