// Tests of the BIFF8 stream's cross references that Excel follows and xlrd ignores: sheet offsets,
// Index and DBCell positions, ExtSst buckets, record sizes.
#include <gtest/gtest.h>

#include <map>
#include <regex>
#include <set>

#include "excel/Biff8.h"

namespace {

using arxhost::excel::HAlign;
using arxhost::excel::Sheet;
using arxhost::excel::Workbook;
namespace biff8 = arxhost::excel::biff8;

struct Rec {
    std::uint16_t type;
    std::size_t at;
    std::size_t size;
};

class Stream {
public:
    explicit Stream(std::vector<std::uint8_t> bytes)
        : bytes_(std::move(bytes))
    {
        // Records up to the last EOF; zeros after it only pad the stream.
        std::size_t at = 0;
        while (at + 4 <= bytes_.size()) {
            const Rec rec {u16(at), at, u16(at + 2)};
            if (rec.type == 0 && rec.size == 0)
                break;
            records_.push_back(rec);
            byPosition_[at] = records_.size() - 1;
            at += 4 + rec.size;
        }
        EXPECT_LE(at, bytes_.size());
    }
    std::uint16_t u16(std::size_t at) const
    {
        return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    std::uint32_t u32(std::size_t at) const
    {
        return u16(at) | (static_cast<std::uint32_t>(u16(at + 2)) << 16);
    }
    const std::vector<Rec>& records() const { return records_; }
    // The record starting exactly at a stream position, if one does.
    const Rec* at(std::size_t position) const
    {
        const auto it = byPosition_.find(position);
        return it == byPosition_.end() ? nullptr : &records_[it->second];
    }
    std::size_t indexOf(const Rec* rec) const { return static_cast<std::size_t>(rec - records_.data()); }

private:
    std::vector<std::uint8_t> bytes_;
    std::vector<Rec> records_;
    std::map<std::size_t, std::size_t> byPosition_;
};

Workbook sparseBook()
{
    Workbook book;
    for (int s = 0; s < 2; ++s) {
        Sheet sheet;
        sheet.name = L"表" + std::to_wstring(s);
        sheet.align = HAlign::Centre;
        // Rows in some blocks of 32 and not in others, several cells in a row, rows starting mid-sheet.
        for (int row : {5, 6, 31, 32, 33, 100, 200, 201, 2000})
            for (int column : {2, 3, 9})
                sheet.cells[{row + s, column}] = L"r" + std::to_wstring(row) + L"c" + std::to_wstring(column);
        book.sheets.push_back(sheet);
    }
    for (int i = 0; i < 3000; ++i)
        book.sheets[0].cells[{3000 + i, 1}] = L"唯一" + std::to_wstring(i);
    return book;
}

TEST(Biff8Stream, RecordsStayWithinTheSizeLimit)
{
    std::string error;
    const auto bytes = biff8::buildStream(sparseBook(), error);
    ASSERT_TRUE(bytes) << error;
    const Stream stream(*bytes);
    for (const Rec& rec : stream.records())
        EXPECT_LE(rec.size, biff8::kMaxRecordData) << "record " << rec.type << " at " << rec.at;
}

TEST(Biff8Stream, SheetsIndexesAndDbCellsPointWhereTheySay)
{
    std::string error;
    const Workbook book = sparseBook();
    const auto bytes = biff8::buildStream(book, error);
    ASSERT_TRUE(bytes) << error;
    const Stream stream(*bytes);

    std::vector<std::size_t> sheetStarts;
    for (const Rec& rec : stream.records()) {
        if (rec.type == 0x0085)
            sheetStarts.push_back(stream.u32(rec.at + 4));
    }
    ASSERT_EQ(sheetStarts.size(), book.sheets.size());
    for (std::size_t s = 0; s < sheetStarts.size(); ++s) {
        SCOPED_TRACE("sheet " + std::to_string(s));
        const Rec* bof = stream.at(sheetStarts[s]);
        ASSERT_NE(bof, nullptr);
        EXPECT_EQ(bof->type, 0x0809);
        EXPECT_EQ(stream.u16(bof->at + 6), 0x0010); // worksheet
        const Rec& index = stream.records()[stream.indexOf(bof) + 1];
        ASSERT_EQ(index.type, 0x020B);
        const std::uint32_t rowFirst = stream.u32(index.at + 8);
        const std::uint32_t rowPast = stream.u32(index.at + 12);
        int lastRow = 0;
        for (const auto& [at, text] : book.sheets[s].cells)
            lastRow = std::max(lastRow, at.first);
        EXPECT_EQ(rowFirst, static_cast<std::uint32_t>(book.sheets[s].cells.begin()->first.first - 1));
        EXPECT_EQ(rowPast, static_cast<std::uint32_t>(lastRow));
        const Rec* defColWidth = stream.at(stream.u32(index.at + 16));
        ASSERT_NE(defColWidth, nullptr);
        EXPECT_EQ(defColWidth->type, 0x0055);

        // One DBCell per block of 32 rows from the first to the last; each finds its rows' first cells.
        const std::size_t blocks = (index.size - 16) / 4;
        EXPECT_EQ(blocks, (rowPast - 1) / 32 - rowFirst / 32 + 1);
        std::size_t cellsFound = 0;
        for (std::size_t b = 0; b < blocks; ++b) {
            const Rec* dbCell = stream.at(stream.u32(index.at + 20 + 4 * b));
            ASSERT_NE(dbCell, nullptr);
            ASSERT_EQ(dbCell->type, 0x00D7);
            const std::uint32_t back = stream.u32(dbCell->at + 4);
            if (back == 0) {
                EXPECT_EQ(dbCell->size, 4U);
                continue;
            }
            const Rec* firstRow = stream.at(dbCell->at - back);
            ASSERT_NE(firstRow, nullptr);
            std::size_t cellAt = firstRow->at + 20;
            for (std::size_t r = 0; r < (dbCell->size - 4) / 2; ++r) {
                const Rec& row = stream.records()[stream.indexOf(firstRow) + r];
                ASSERT_EQ(row.type, 0x0208);
                cellAt += stream.u16(dbCell->at + 8 + 2 * r);
                const Rec* cell = stream.at(cellAt);
                ASSERT_NE(cell, nullptr);
                EXPECT_EQ(cell->type, 0x00FD);
                EXPECT_EQ(stream.u16(cell->at + 4), stream.u16(row.at + 4)) << "cell of the wrong row";
                EXPECT_EQ(stream.u16(cell->at + 6), stream.u16(row.at + 6)) << "not the row's first cell";
                EXPECT_EQ(rowFirst / 32 + b, stream.u16(row.at + 4) / 32U);
                ++cellsFound;
            }
        }
        std::set<int> rows;
        for (const auto& [at, text] : book.sheets[s].cells)
            rows.insert(at.first);
        EXPECT_EQ(cellsFound, rows.size());
    }
}

TEST(Biff8Stream, ExtSstBucketsPointAtTheirStrings)
{
    std::string error;
    const auto bytes = biff8::buildStream(sparseBook(), error);
    ASSERT_TRUE(bytes) << error;
    const Stream stream(*bytes);
    const auto& records = stream.records();
    std::size_t sst = 0;
    while (sst < records.size() && records[sst].type != 0x00FC)
        ++sst;
    ASSERT_LT(sst, records.size());
    EXPECT_GT(records[sst + 1].type == 0x003C ? 1 : 0, 0) << "the table should need a Continue record";
    std::size_t ext = sst + 1;
    while (ext < records.size() && records[ext].type == 0x003C)
        ++ext;
    ASSERT_EQ(records[ext].type, 0x00FF);
    const std::uint32_t unique = stream.u32(records[sst].at + 8);
    const std::uint16_t perBucket = stream.u16(records[ext].at + 4);
    EXPECT_GE(perBucket, 8);
    const std::size_t buckets = (records[ext].size - 2) / 8;
    EXPECT_EQ(buckets, (unique + perBucket - 1) / perBucket);
    EXPECT_LE(buckets, 128U);
    for (std::size_t b = 0; b < buckets; ++b) {
        const std::uint32_t position = stream.u32(records[ext].at + 6 + 8 * b);
        const std::uint16_t inRecord = stream.u16(records[ext].at + 10 + 8 * b);
        const Rec* holder = stream.at(position - inRecord);
        ASSERT_NE(holder, nullptr) << "bucket " << b;
        EXPECT_TRUE(holder->type == 0x00FC || holder->type == 0x003C);
        EXPECT_LE(inRecord + 3U, holder->size + 4U); // the string's header lies in that record
    }
}

// The record names of each substream (BOF to EOF), separated by spaces; unknown types by number.
std::vector<std::string> substreamRecordNames(const Stream& stream)
{
    static const std::map<std::uint16_t, std::string> names {{0x0809, "BOF"}, {0x000A, "EOF"},
        {0x00E1, "InterfaceHdr"}, {0x00C1, "Mms"}, {0x00E2, "InterfaceEnd"}, {0x005C, "WriteAccess"},
        {0x0042, "CodePage"}, {0x0161, "DSF"}, {0x013D, "RRTabId"}, {0x0019, "WinProtect"},
        {0x0012, "Protect"}, {0x0013, "Password"}, {0x01AF, "Prot4Rev"}, {0x01BC, "Prot4RevPass"},
        {0x003D, "Window1"}, {0x0040, "Backup"}, {0x008D, "HideObj"}, {0x0022, "Date1904"},
        {0x000E, "CalcPrecision"}, {0x01B7, "RefreshAll"}, {0x00DA, "BookBool"}, {0x0031, "Font"},
        {0x041E, "Format"}, {0x00E0, "XF"}, {0x0293, "Style"}, {0x0160, "UsesELFs"}, {0x0085, "BoundSheet8"},
        {0x008C, "Country"}, {0x00FC, "SST"}, {0x003C, "Continue"}, {0x00FF, "ExtSST"}, {0x020B, "Index"},
        {0x000D, "CalcMode"}, {0x000C, "CalcCount"}, {0x000F, "CalcRefMode"}, {0x0011, "CalcIter"},
        {0x0010, "CalcDelta"}, {0x005F, "CalcSaveRecalc"}, {0x002A, "PrintRowCol"}, {0x002B, "PrintGrid"},
        {0x0082, "GridSet"}, {0x0080, "Guts"}, {0x0225, "DefaultRowHeight"}, {0x0081, "WsBool"},
        {0x0014, "Header"}, {0x0015, "Footer"}, {0x0083, "HCenter"}, {0x0084, "VCenter"}, {0x00A1, "Setup"},
        {0x0055, "DefColWidth"}, {0x007D, "ColInfo"}, {0x0200, "Dimensions"}, {0x0208, "Row"},
        {0x00FD, "LabelSst"}, {0x00D7, "DBCell"}, {0x023E, "Window2"}, {0x001D, "Selection"}};
    std::vector<std::string> substreams;
    for (const Rec& rec : stream.records()) {
        if (rec.type == 0x0809)
            substreams.emplace_back();
        if (substreams.empty())
            substreams.emplace_back();
        const auto name = names.find(rec.type);
        substreams.back() += (name == names.end() ? std::to_string(rec.type) : name->second) + " ";
    }
    return substreams;
}

// The record sequences a reader that follows the published grammar insists on: every record it
// requires, in its order, and only records it allows at each place.
TEST(Biff8Stream, SubstreamsFollowTheRecordGrammar)
{
    Workbook book;
    for (int s = 0; s < 3; ++s) {
        Sheet sheet;
        sheet.name = L"表" + std::to_wstring(s);
        if (s != 1) { // the middle sheet stays empty
            for (int row : {1, 2, 31, 32, 33, 100, 2000})
                for (int column : {1, 2, 9})
                    sheet.cells[{row, column}] = L"r" + std::to_wstring(row) + L"c" + std::to_wstring(column);
            sheet.columnWidths = {{1, 6.0}, {2, 40.5}};
        }
        book.sheets.push_back(sheet);
    }
    std::string error;
    const auto bytes = biff8::buildStream(book, error);
    ASSERT_TRUE(bytes) << error;
    const Stream stream(*bytes);
    const std::vector<std::string> substreams = substreamRecordNames(stream);
    ASSERT_EQ(substreams.size(), 1 + book.sheets.size());

    const std::regex globals(
        "BOF InterfaceHdr Mms InterfaceEnd WriteAccess CodePage DSF RRTabId "
        "WinProtect Protect Password Prot4Rev Prot4RevPass (Window1 )+Backup HideObj "
        "Date1904 CalcPrecision RefreshAll BookBool (Font ){1,510}(Format ){8,218}"
        "(XF ){16,4050}(Style )+UsesELFs (BoundSheet8 )+Country (SST (Continue )*)?ExtSST EOF ");
    EXPECT_TRUE(std::regex_match(substreams[0], globals)) << substreams[0];
    const std::regex worksheet("BOF Index CalcMode CalcCount CalcRefMode CalcIter CalcDelta CalcSaveRecalc "
                               "PrintRowCol PrintGrid GridSet Guts DefaultRowHeight WsBool "
                               "Header Footer HCenter VCenter Setup DefColWidth (ColInfo ){0,255}Dimensions "
                               "((Row )+(LabelSst )*(DBCell )+)*Window2 (Selection )*EOF ");
    for (std::size_t s = 1; s < substreams.size(); ++s)
        EXPECT_TRUE(std::regex_match(substreams[s], worksheet)) << "sheet " << s << ": " << substreams[s];

    // RRTabId lists one id per sheet; every BOF says Windows and BIFF8 readers.
    for (const Rec& rec : stream.records()) {
        if (rec.type == 0x013D) {
            EXPECT_EQ(rec.size, 2 * book.sheets.size());
        }
        if (rec.type == 0x0809) {
            EXPECT_EQ(stream.u32(rec.at + 12) & 0x9U, 0x9U) << "fWin and fWinAny";
            EXPECT_EQ(stream.u32(rec.at + 16) & 0xFFU, 6U) << "verLowestBiff";
        }
    }
}

TEST(Biff8Stream, Utf16CarriesCharactersBeyondTheBasicPlane)
{
    const std::wstring text = L"序号 \U0001F6A7 é";
    const std::u16string utf16 = biff8::toUtf16(text);
    EXPECT_EQ(utf16.size(), text.size() + 1); // the emoji takes a surrogate pair
    EXPECT_EQ(biff8::fromUtf16(utf16), text);
}

} // namespace

TEST(Biff8Stream, DamagedStreamsAreRefusedWithAReason)
{
    std::string error;
    const auto bytes = biff8::buildStream(sparseBook(), error);
    ASSERT_TRUE(bytes) << error;
    ASSERT_TRUE(biff8::parseStream(*bytes, error)) << error;

    struct Damage {
        const char* what;
        std::vector<std::uint8_t> stream;
        const char* reason;
    };
    auto cut
        = [&](std::size_t size) { return std::vector<std::uint8_t>(bytes->begin(), bytes->begin() + size); };
    std::vector<std::uint8_t> biff5 = *bytes;
    biff5[5] = 0x05; // BOF version 0x0500
    std::vector<std::uint8_t> badString = *bytes;
    const Stream stream(*bytes);
    for (const Rec& rec : stream.records()) {
        if (rec.type == 0x00FD) { // first LabelSst: refer past the shared strings
            badString[rec.at + 10] = 0xFF;
            badString[rec.at + 13] = 0x7F;
            break;
        }
    }
    const Damage cases[] = {
        {"empty", {}, "past the end"},
        {"inside the globals", cut(300), "past the end"},
        {"inside a sheet", cut(bytes->size() / 2), "past the end"},
        {"BIFF5", biff5, "not a BIFF8"},
        {"shared string out of range", badString, "shared string"},
    };
    for (const Damage& damage : cases) {
        SCOPED_TRACE(damage.what);
        error.clear();
        EXPECT_FALSE(biff8::parseStream(damage.stream, error));
        EXPECT_NE(error.find(damage.reason), std::string::npos) << error;
    }
}
