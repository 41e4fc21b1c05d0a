// Builds the BIFF8 Workbook stream: globals (fonts, XFs, styles, sheets, shared strings) and worksheets.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cwctype>
#include <map>
#include <set>

#include "excel/Biff8.h"
#include "text/Utf8.h"

namespace arxhost::excel::biff8 {

namespace {

constexpr int kMaxRows = 65536;
constexpr int kMaxColumns = 256;
constexpr std::size_t kMaxCellText = 32767;
constexpr std::size_t kMaxSheetName = 31;
constexpr int kRowsPerBlock = 32;
constexpr std::uint16_t kDefaultRowHeight = 255; // twips

// XF indexes: 0..14 are the style XFs Excel expects, 15 the default cell XF, then one cell XF per alignment.
constexpr int kStyleXfs = 15;
constexpr std::uint16_t kGeneralXf = 15;

std::uint16_t cellXf(HAlign align)
{
    switch (align) {
    case HAlign::Left:
        return 16;
    case HAlign::Centre:
        return 17;
    case HAlign::Right:
        return 18;
    case HAlign::General:
        break;
    }
    return kGeneralXf;
}

// Little-endian byte buffer for record bodies and the stream itself.
class Bytes {
public:
    void u8(std::uint8_t v) { data_.push_back(v); }
    void u16(std::uint16_t v)
    {
        u8(static_cast<std::uint8_t>(v & 0xFF));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(static_cast<std::uint16_t>(v & 0xFFFF));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void f64(double v)
    {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        u32(static_cast<std::uint32_t>(bits & 0xFFFFFFFFu));
        u32(static_cast<std::uint32_t>(bits >> 32));
    }
    void append(const Bytes& other) { data_.insert(data_.end(), other.data_.begin(), other.data_.end()); }
    void patch32(std::size_t at, std::uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            data_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    std::size_t size() const { return data_.size(); }
    std::vector<std::uint8_t>& data() { return data_; }

    // Appends a record; returns the stream position of its header.
    std::size_t record(std::uint16_t type, const Bytes& body = {})
    {
        const std::size_t at = size();
        u16(type);
        u16(static_cast<std::uint16_t>(body.size()));
        append(body);
        return at;
    }

private:
    std::vector<std::uint8_t> data_;
};

Bytes body16(std::uint16_t v)
{
    Bytes b;
    b.u16(v);
    return b;
}

// Text kept as one byte per character when every UTF-16 unit fits (the "compressed" form).
bool fitsCompressed(std::u16string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char16_t c) { return c <= 0xFF; });
}

void putChars(Bytes& out, std::u16string_view text, bool compressed)
{
    for (char16_t c : text) {
        if (compressed)
            out.u8(static_cast<std::uint8_t>(c));
        else
            out.u16(static_cast<std::uint16_t>(c));
    }
}

// ShortXLUnicodeString (one-byte length) or XLUnicodeString (two-byte length).
void putString(Bytes& out, std::u16string_view text, bool shortLength)
{
    const bool compressed = fitsCompressed(text);
    if (shortLength)
        out.u8(static_cast<std::uint8_t>(text.size()));
    else
        out.u16(static_cast<std::uint16_t>(text.size()));
    out.u8(compressed ? 0x00 : 0x01);
    putChars(out, text, compressed);
}

Bytes bof(std::uint16_t substream)
{
    Bytes b;
    b.u16(0x0600); // BIFF8
    b.u16(substream);
    b.u16(0x0DBB); // build and year of the writing application, as Excel 97 leaves them
    b.u16(0x07CC);
    b.u32(0x0009); // last edited on Windows, and edited on Windows at some time; Excel 97 the newest
    b.u32(0x0006); // lowest BIFF version that can read the file; last saved by Excel 97
    return b;
}

Bytes font(bool bold, bool italic)
{
    Bytes b;
    b.u16(200); // 10 points in twips
    b.u16(italic ? 0x0002 : 0x0000);
    b.u16(0x7FFF); // automatic colour
    b.u16(bold ? 700 : 400);
    b.u16(0); // no super/subscript
    b.u8(0); // no underline
    b.u8(0); // family
    b.u8(0); // character set
    b.u8(0);
    putString(b, u"Arial", true);
    return b;
}

// XF: font 0, number format General, bottom-aligned, no borders, no fill (pattern colours 64 and 65).
Bytes xf(bool style, std::uint8_t horizontal, std::uint8_t usedAttributes)
{
    Bytes b;
    b.u16(0);
    b.u16(0);
    const std::uint16_t parent = style ? 0xFFF : 0; // cell XFs inherit from the Normal style
    b.u16(static_cast<std::uint16_t>(0x0001 | (style ? 0x0004 : 0) | (parent << 4)));
    b.u8(static_cast<std::uint8_t>(horizontal | (2 << 4)));
    b.u8(0); // rotation
    b.u8(0); // indent, shrink, reading order
    b.u8(usedAttributes);
    b.u32(0);
    b.u32(0);
    b.u16(static_cast<std::uint16_t>(64 | (65 << 7)));
    return b;
}

// The shared string table with its Continue records, and where each string starts (for ExtSst).
struct SharedStrings {
    std::vector<Bytes> records; // the Sst body, then Continue bodies
    struct Start {
        std::size_t record;
        std::size_t offset; // in the record body
    };
    std::vector<Start> starts;
};

// A string's header never splits from its first character; a split inside the characters opens the
// Continue record with the option byte again, which may switch between compressed and wide.
SharedStrings buildSst(const std::vector<std::u16string>& strings, std::uint32_t references)
{
    SharedStrings sst;
    sst.records.emplace_back();
    sst.records.back().u32(references);
    sst.records.back().u32(static_cast<std::uint32_t>(strings.size()));
    for (const std::u16string& text : strings) {
        const bool compressed = fitsCompressed(text);
        const std::size_t charSize = compressed ? 1 : 2;
        if (sst.records.back().size() + 3 + charSize > kMaxRecordData)
            sst.records.emplace_back();
        sst.starts.push_back({sst.records.size() - 1, sst.records.back().size()});
        Bytes& head = sst.records.back();
        head.u16(static_cast<std::uint16_t>(text.size()));
        head.u8(compressed ? 0x00 : 0x01);
        std::size_t done = 0;
        while (done < text.size()) {
            const std::size_t room = (kMaxRecordData - sst.records.back().size()) / charSize;
            if (room == 0) {
                sst.records.emplace_back();
                sst.records.back().u8(compressed ? 0x00 : 0x01);
                continue;
            }
            const std::size_t take = std::min(room, text.size() - done);
            putChars(sst.records.back(), std::u16string_view(text).substr(done, take), compressed);
            done += take;
        }
    }
    return sst;
}

std::u16string sheetNameProblem(const std::u16string& name)
{
    if (name.empty())
        return u"is empty";
    if (name.size() > kMaxSheetName)
        return u"is longer than 31 characters";
    if (name.find_first_of(u"[]:*?/\\") != std::u16string::npos)
        return u"contains one of []:*?/\\";
    if (name.front() == u'\'' || name.back() == u'\'')
        return u"begins or ends with an apostrophe";
    return {};
}

std::string narrow(std::u16string_view text)
{
    // For messages: UTF-8 of the UTF-16 text.
    return arxhost::toUtf8(fromUtf16(text));
}

bool validate(const Workbook& book, std::string& error)
{
    if (book.sheets.empty()) {
        error = "a workbook needs at least one sheet";
        return false;
    }
    std::set<std::u16string> seen;
    for (const Sheet& sheet : book.sheets) {
        const std::u16string name = toUtf16(sheet.name);
        const std::string shown = "sheet \"" + narrow(name) + "\"";
        if (const std::u16string problem = sheetNameProblem(name); !problem.empty()) {
            error = "the name of " + shown + " " + narrow(problem);
            return false;
        }
        // Excel compares sheet names without regard to case.
        std::u16string folded;
        for (wchar_t c : fromUtf16(name))
            folded += toUtf16(std::wstring(1, static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)))));
        if (!seen.insert(folded).second) {
            error = "two sheets are named \"" + narrow(name) + "\"";
            return false;
        }
        for (const auto& [at, text] : sheet.cells) {
            const auto [row, column] = at;
            if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns) {
                error = shown + ": cell (" + std::to_string(row) + ", " + std::to_string(column)
                    + ") is outside rows 1..65536, columns 1..256";
                return false;
            }
            if (toUtf16(text).size() > kMaxCellText) {
                error = shown + ": the text of cell (" + std::to_string(row) + ", " + std::to_string(column)
                    + ") is longer than 32767 characters";
                return false;
            }
        }
        for (const auto& [column, width] : sheet.columnWidths) {
            if (column < 1 || column > kMaxColumns) {
                error = shown + ": column " + std::to_string(column) + " is outside 1..256";
                return false;
            }
            if (!(width >= 0.0 && width <= 255.0)) {
                error = shown + ": the width of column " + std::to_string(column) + " is outside 0..255";
                return false;
            }
        }
    }
    return true;
}

struct StringTable {
    std::vector<std::u16string> unique;
    std::map<std::u16string, std::uint32_t> index;
    std::uint32_t references = 0;

    std::uint32_t add(std::u16string text)
    {
        ++references;
        const auto [it, added] = index.emplace(std::move(text), static_cast<std::uint32_t>(unique.size()));
        if (added)
            unique.push_back(it->first);
        return it->second;
    }
};

// The eight currency and accounting formats every workbook lists (their ids are fixed by the format).
struct BuiltInFormat {
    std::uint16_t id;
    std::u16string_view code;
};
constexpr BuiltInFormat kBuiltInFormats[] = {
    {5, u"\"$\"#,##0_);\\(\"$\"#,##0\\)"},
    {6, u"\"$\"#,##0_);[Red]\\(\"$\"#,##0\\)"},
    {7, u"\"$\"#,##0.00_);\\(\"$\"#,##0.00\\)"},
    {8, u"\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)"},
    {42, u"_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)"},
    {41, u"_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)"},
    {44, u"_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_)"},
    {43, u"_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"??_);_(@_)"},
};

void writeGlobalsHead(Bytes& out, std::size_t sheetCount)
{
    out.record(rtBof, bof(0x0005));
    out.record(rtInterfaceHdr, body16(1200));
    out.record(rtMms, body16(0));
    out.record(rtInterfaceEnd);
    Bytes access;
    putString(access, u"arxhost", false);
    while (access.size() < 112)
        access.u8(0x20);
    out.record(rtWriteAccess, access);
    out.record(rtCodePage, body16(1200)); // UTF-16
    out.record(rtDsf, body16(0));
    Bytes tabIds; // revision-tracking ids of the sheets, in sheet order
    for (std::size_t i = 1; i <= sheetCount; ++i)
        tabIds.u16(static_cast<std::uint16_t>(i));
    out.record(rtRrTabId, tabIds);
    out.record(rtWinProtect, body16(0));
    out.record(rtProtect, body16(0));
    out.record(rtPassword, body16(0));
    out.record(rtProt4Rev, body16(0));
    out.record(rtProt4RevPass, body16(0));
    Bytes window;
    for (std::uint16_t v : {0, 0, 0x4000, 0x2000, 0x0038, 0, 0, 1, 600})
        window.u16(v);
    out.record(rtWindow1, window);
    out.record(rtBackup, body16(0));
    out.record(rtHideObj, body16(0));
    out.record(rtDate1904, body16(0));
    out.record(rtCalcPrecision, body16(1));
    out.record(rtRefreshAll, body16(0));
    out.record(rtBookBool, body16(0));
    // Fonts 0..3 and 5: font index 4 does not exist in the format.
    out.record(rtFont, font(false, false));
    out.record(rtFont, font(true, false));
    out.record(rtFont, font(false, true));
    out.record(rtFont, font(true, true));
    out.record(rtFont, font(false, false));
    for (const BuiltInFormat& format : kBuiltInFormats) {
        Bytes b;
        b.u16(format.id);
        putString(b, format.code, false);
        out.record(rtFormat, b);
    }
    out.record(rtXf, xf(true, 0, 0x00)); // Normal
    for (int i = 1; i < kStyleXfs; ++i)
        out.record(rtXf, xf(true, 0, 0xF4));
    out.record(rtXf, xf(false, 0, 0x00)); // default cell XF
    for (std::uint8_t horizontal : {1, 2, 3})
        out.record(rtXf, xf(false, horizontal, 0x10)); // own alignment
    Bytes normal;
    normal.u16(0x8000); // built-in style on XF 0
    normal.u8(0); // Normal
    normal.u8(0xFF);
    out.record(rtStyle, normal);
    out.record(rtUsesElfs, body16(0));
}

void writeSharedStrings(Bytes& out, const StringTable& strings)
{
    const SharedStrings sst = buildSst(strings.unique, strings.references);
    std::vector<std::size_t> recordStarts;
    for (std::size_t i = 0; i < sst.records.size(); ++i)
        recordStarts.push_back(out.record(i == 0 ? rtSst : rtContinue, sst.records[i]));

    // ExtSst: the position of every dsst-th string, at most 128 buckets.
    const std::size_t count = strings.unique.size();
    const std::size_t perBucket = std::max<std::size_t>(8, (count + 127) / 128);
    Bytes ext;
    ext.u16(static_cast<std::uint16_t>(perBucket));
    for (std::size_t i = 0; i < count; i += perBucket) {
        const SharedStrings::Start start = sst.starts[i];
        ext.u32(static_cast<std::uint32_t>(recordStarts[start.record] + 4 + start.offset));
        ext.u16(static_cast<std::uint16_t>(4 + start.offset));
        ext.u16(0);
    }
    out.record(rtExtSst, ext);
}

struct PlacedCell {
    int column; // from 0
    std::uint32_t string;
};

// Written straight into the stream: Index and DBCell hold absolute stream positions.
void writeSheet(Bytes& out, const Sheet& sheet, bool first, const StringTable& strings)
{
    const std::uint16_t xfIndex = cellXf(sheet.align);
    std::map<int, std::vector<PlacedCell>> rows; // row from 0 -> its cells in column order
    for (const auto& [at, text] : sheet.cells) {
        if (!text.empty())
            rows[at.first - 1].push_back({at.second - 1, strings.index.at(toUtf16(text))});
    }
    const int rowFirst = rows.empty() ? 0 : rows.begin()->first;
    const int rowPast = rows.empty() ? 0 : rows.rbegin()->first + 1;
    const int blockFirst = rowFirst / kRowsPerBlock;
    const int blockCount = rows.empty() ? 0 : (rowPast - 1) / kRowsPerBlock - blockFirst + 1;

    out.record(rtBof, bof(0x0010));
    Bytes index;
    for (int i = 0; i < 4 + blockCount; ++i)
        index.u32(0);
    const std::size_t indexAt = out.record(rtIndex, index) + 4;

    out.record(rtCalcMode, body16(1));
    out.record(rtCalcCount, body16(100));
    out.record(rtCalcRefMode, body16(1));
    out.record(rtCalcIter, body16(0));
    Bytes delta;
    delta.f64(0.001);
    out.record(rtCalcDelta, delta);
    out.record(rtCalcSaveRecalc, body16(1));
    out.record(rtPrintRowCol, body16(0));
    out.record(rtPrintGrid, body16(0));
    out.record(rtGridSet, body16(1));
    Bytes guts;
    for (int i = 0; i < 4; ++i)
        guts.u16(0);
    out.record(rtGuts, guts);
    Bytes rowHeight;
    rowHeight.u16(0);
    rowHeight.u16(kDefaultRowHeight);
    out.record(rtDefaultRowHeight, rowHeight);
    out.record(rtWsBool, body16(0x04C1));

    // Page setup: no header or footer, not centred, portrait A4 at 100 %, one copy.
    out.record(rtHeader);
    out.record(rtFooter);
    out.record(rtHCenter, body16(0));
    out.record(rtVCenter, body16(0));
    Bytes setup;
    for (std::uint16_t v : {9, 100, 1, 1, 1, 0x0002, 600, 600}) // paper, scale, first page, fit, flags, dpi
        setup.u16(v);
    setup.f64(0.5); // header and footer margins in inches
    setup.f64(0.5);
    setup.u16(1);
    out.record(rtSetup, setup);
    const std::size_t defColWidthAt = out.record(rtDefColWidth, body16(8));

    // Widths in 1/256 of a character; the column keeps the sheet's XF so that new entries align alike.
    for (const auto& [column, width] : sheet.columnWidths) {
        Bytes info;
        info.u16(static_cast<std::uint16_t>(column - 1));
        info.u16(static_cast<std::uint16_t>(column - 1));
        info.u16(static_cast<std::uint16_t>(std::lround(width * 256.0)));
        info.u16(xfIndex);
        info.u16(0x0002); // width set by the user
        info.u16(0);
        out.record(rtColInfo, info);
    }

    int columnFirst = kMaxColumns;
    int columnPast = 0;
    for (const auto& [row, cells] : rows) {
        columnFirst = std::min(columnFirst, cells.front().column);
        columnPast = std::max(columnPast, cells.back().column + 1);
    }
    if (rows.empty())
        columnFirst = 0;
    Bytes dimensions;
    dimensions.u32(static_cast<std::uint32_t>(rowFirst));
    dimensions.u32(static_cast<std::uint32_t>(rowPast));
    dimensions.u16(static_cast<std::uint16_t>(columnFirst));
    dimensions.u16(static_cast<std::uint16_t>(columnPast));
    dimensions.u16(0);
    out.record(rtDimensions, dimensions);

    // Row blocks of 32 rows: the Row records, the rows' cells, then a DBCell that finds them again.
    std::vector<std::uint32_t> dbCells;
    auto next = rows.begin();
    for (int block = blockFirst; block < blockFirst + blockCount; ++block) {
        auto end = next;
        while (end != rows.end() && end->first / kRowsPerBlock == block)
            ++end;
        std::size_t firstRowAt = 0;
        for (auto it = next; it != end; ++it) {
            Bytes row;
            row.u16(static_cast<std::uint16_t>(it->first));
            row.u16(static_cast<std::uint16_t>(it->second.front().column));
            row.u16(static_cast<std::uint16_t>(it->second.back().column + 1));
            row.u16(kDefaultRowHeight);
            row.u16(0);
            row.u16(0);
            row.u16(0x0100); // reserved bit that must be set
            row.u16(kGeneralXf);
            const std::size_t at = out.record(rtRow, row);
            if (it == next)
                firstRowAt = at;
        }
        std::vector<std::size_t> firstCellAt;
        for (auto it = next; it != end; ++it) {
            for (const PlacedCell& cell : it->second) {
                Bytes label;
                label.u16(static_cast<std::uint16_t>(it->first));
                label.u16(static_cast<std::uint16_t>(cell.column));
                label.u16(xfIndex);
                label.u32(cell.string);
                const std::size_t at = out.record(rtLabelSst, label);
                if (&cell == &it->second.front())
                    firstCellAt.push_back(at);
            }
        }
        const std::size_t dbCellAt = out.size();
        Bytes dbCell;
        dbCell.u32(next == end ? 0 : static_cast<std::uint32_t>(dbCellAt - firstRowAt));
        for (std::size_t i = 0; i < firstCellAt.size(); ++i) {
            const std::size_t from = i == 0 ? firstRowAt + 20 : firstCellAt[i - 1];
            dbCell.u16(static_cast<std::uint16_t>(firstCellAt[i] - from));
        }
        out.record(rtDbCell, dbCell);
        dbCells.push_back(static_cast<std::uint32_t>(dbCellAt));
        next = end;
    }

    Bytes window;
    window.u16(first ? 0x06B6 : 0x00B6); // grid, headers, zeros, outline; the first sheet selected
    window.u16(0);
    window.u16(0);
    window.u16(64);
    window.u16(0);
    window.u16(0);
    window.u16(0);
    window.u32(0);
    out.record(rtWindow2, window);
    Bytes selection; // A1 active and selected, in the only pane
    selection.u8(3);
    selection.u16(0);
    selection.u16(0);
    selection.u16(0);
    selection.u16(1);
    selection.u16(0);
    selection.u16(0);
    selection.u8(0);
    selection.u8(0);
    out.record(rtSelection, selection);
    out.record(rtEof);

    out.patch32(indexAt + 4, static_cast<std::uint32_t>(rowFirst));
    out.patch32(indexAt + 8, static_cast<std::uint32_t>(rowPast));
    out.patch32(indexAt + 12, static_cast<std::uint32_t>(defColWidthAt));
    for (std::size_t i = 0; i < dbCells.size(); ++i)
        out.patch32(indexAt + 16 + 4 * i, dbCells[i]);
}

} // namespace

std::optional<std::vector<std::uint8_t>> buildStream(const Workbook& book, std::string& error)
{
    if (!validate(book, error))
        return std::nullopt;

    // Strings are numbered in the order the sheets use them; the globals end with the table.
    StringTable strings;
    for (const Sheet& sheet : book.sheets) {
        for (const auto& [at, text] : sheet.cells) {
            if (!text.empty())
                strings.add(toUtf16(text));
        }
    }

    Bytes out;
    writeGlobalsHead(out, book.sheets.size());
    std::vector<std::size_t> positionAt;
    for (const Sheet& sheet : book.sheets) {
        Bytes bound;
        bound.u32(0);
        bound.u8(0); // visible
        bound.u8(0); // worksheet
        putString(bound, toUtf16(sheet.name), true);
        positionAt.push_back(out.record(rtBoundSheet8, bound) + 4);
    }
    Bytes country;
    country.u16(1);
    country.u16(1);
    out.record(rtCountry, country);
    writeSharedStrings(out, strings);
    out.record(rtEof);

    for (std::size_t i = 0; i < book.sheets.size(); ++i) {
        out.patch32(positionAt[i], static_cast<std::uint32_t>(out.size()));
        writeSheet(out, book.sheets[i], i == 0, strings);
    }
    return std::move(out.data());
}

} // namespace arxhost::excel::biff8
