// Helpers of the whole-drawing tests: scratch folders, the independent checker, drawings described as text.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "arxHeaders.h"
#include "dbobjptr.h"
#include "dxf/ReadError.h"
#include "dxf/TagReader.h"
#include "dxf/drawing/DrawingReader.h"
#include "dxf/drawing/DrawingWriter.h"

namespace planroad::test {

namespace fs = std::filesystem;

// The DXF files of other programs: $PLANROAD_DXF_SAMPLES, else shared/dxf-samples beside the repository.
// Empty when the folder is not there.
inline fs::path samplesFolder()
{
    const char* variable = std::getenv("PLANROAD_DXF_SAMPLES");
    const fs::path folder = variable != nullptr ? fs::path(variable) : fs::path(PLANROAD_DXF_SAMPLES_DIR);
    std::error_code ec;
    return fs::is_directory(folder, ec) ? folder.lexically_normal() : fs::path();
}

inline constexpr const char* kNoSamples
    = "no DXF samples: set PLANROAD_DXF_SAMPLES or put shared/dxf-samples beside the repository";

inline std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const fs::path& file, std::string_view bytes)
{
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A folder of its own for one test, removed with everything in it at the end.
class ScratchFolder {
public:
    ScratchFolder()
    {
        static int count = 0;
        mPath = fs::temp_directory_path()
            / ("planroad-dxfdrawing-" + std::to_string(getpid()) + "-" + std::to_string(++count));
        fs::create_directories(mPath);
    }
    ~ScratchFolder()
    {
        std::error_code ec;
        fs::permissions(mPath, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(mPath, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    fs::path operator/(const fs::path& name) const { return mPath / name; }
    const fs::path& path() const { return mPath; }
    // The names of the files in the folder, sorted.
    std::vector<std::string> names() const
    {
        std::vector<std::string> all;
        for (const auto& entry : fs::directory_iterator(mPath))
            all.push_back(entry.path().filename().string());
        std::sort(all.begin(), all.end());
        return all;
    }

private:
    fs::path mPath;
};

struct Outcome {
    int exitCode = -1;
    std::string output; // standard output and error together
};

// Runs a shell command line, its standard input empty.
inline Outcome runCommand(const std::string& command)
{
    Outcome outcome;
    FILE* pipe = popen((command + " 2>&1 </dev/null").c_str(), "r");
    if (pipe == nullptr)
        return outcome;
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        outcome.output.append(buffer, n);
    const int status = pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

inline std::string quoted(const fs::path& path)
{
    return "'" + path.string() + "'";
}

// The independent reader (ezdxf through tests/dxf/inventory.py): its audit of a file and its comparison
// of a drawing with the one saved from it.
class Checker {
public:
    // Whether the Python with ezdxf is there; tests that need it skip with the reason otherwise.
    static bool available()
    {
        static const bool there
            = runCommand(std::string("'") + PLANROAD_PYTHON + "' -c 'import ezdxf'").exitCode == 0;
        return there;
    }
    static constexpr const char* kMissing
        = "no Python 3 with ezdxf (" PLANROAD_PYTHON "): independent checks skipped";

    static Outcome audit(const fs::path& file) { return inventory("audit " + quoted(file)); }
    static Outcome compare(const fs::path& original, const fs::path& saved)
    {
        return inventory("compare " + quoted(original) + " " + quoted(saved));
    }

private:
    static Outcome inventory(const std::string& arguments)
    {
        return runCommand(std::string("'") + PLANROAD_PYTHON + "' '" + PLANROAD_INVENTORY + "' " + arguments);
    }
};

// The message of the ReadError that reading `data` as a drawing throws; "" when it reads.
inline std::string drawingReadError(std::string_view data)
{
    try {
        dxf::readDrawing(data);
    } catch (const dxf::ReadError& error) {
        return error.what();
    }
    return "";
}

inline std::string drawingText(AcDbDatabase& db, dxf::Version version = dxf::Version::R2010)
{
    dxf::WriteOptions options;
    options.version = version;
    return dxf::writeDrawing(db, options);
}

// The handles of a DXF file's records, as an independent scan of its tags sees them.
struct HandleScan {
    std::map<std::uint64_t, std::string> types; // handle → record type ("LINE")
    std::vector<std::uint64_t> duplicates;
    std::uint64_t seed = 0; // $HANDSEED
};

inline HandleScan scanHandles(std::string_view text)
{
    HandleScan scan;
    dxf::TagReader reader(text);
    dxf::Tag tag;
    std::string record;
    std::string variable;
    bool inHeader = false;
    bool handled = false;
    bool sectionName = false;
    while (reader.next(tag)) {
        if (tag.code == 0) {
            record = std::string(tag.raw());
            handled = false;
            inHeader = inHeader && record != "ENDSEC";
            sectionName = record == "SECTION";
            continue;
        }
        if (sectionName)
            inHeader = tag.raw() == "HEADER";
        sectionName = false;
        if (inHeader) {
            if (tag.code == 9)
                variable = std::string(tag.raw());
            else if (variable == "$HANDSEED")
                scan.seed = tag.tryHandle().value_or(0);
            continue;
        }
        // The record's own handle: group 5, or 105 in a dimension style (where 5 names an arrow in R12).
        if (handled || !(tag.code == (record == "DIMSTYLE" ? 105 : 5)))
            continue;
        handled = true;
        const std::uint64_t handle = tag.tryHandle().value_or(0);
        if (!scan.types.emplace(handle, record).second)
            scan.duplicates.push_back(handle);
    }
    return scan;
}

// No handle twice, and $HANDSEED above every handle.
inline void expectConsistent(const HandleScan& scan)
{
    EXPECT_TRUE(scan.duplicates.empty()) << "handle used twice: " << std::hex << scan.duplicates.front();
    ASSERT_FALSE(scan.types.empty());
    EXPECT_GT(scan.seed, scan.types.rbegin()->first) << "$HANDSEED is not above every handle";
}

// Every handle of `before` is in `after`, on a record of the same type.
inline void expectKept(const HandleScan& before, const HandleScan& after)
{
    int reported = 0;
    for (const auto& [handle, type] : before.types) {
        auto found = after.types.find(handle);
        const std::string now = found == after.types.end() ? "nothing" : found->second;
        if (now != type && reported++ < 5)
            ADD_FAILURE() << "handle " << std::hex << handle << " was a " << type << ", now " << now;
    }
}

// ASCII DXF lines joined, each ended by a line feed.
inline std::string dxfLines(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (std::string_view line : lines)
        text.append(line).append("\n");
    return text;
}

// The line of the first occurrence of `part` in an ASCII text, for the positions messages name.
inline std::size_t lineOf(std::string_view text, std::string_view part)
{
    const std::size_t at = text.find(part);
    return at == std::string_view::npos ? 0
                                        : static_cast<std::size_t>(std::count(text.begin(),
                                              text.begin() + static_cast<std::ptrdiff_t>(at), '\n'))
            + 1;
}

// ---- Drawings described through the host's interface, for comparisons ----

inline std::wstring handleOf(AcDbObjectId id)
{
    if (id.isNull())
        return L"-";
    ACHAR buffer[17];
    id.handle().getIntoAsciiBuffer(buffer);
    return buffer;
}

inline std::wstring number(double value)
{
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%.9g", value == 0 ? 0.0 : value);
    return buffer;
}

inline std::wstring point(const AcGePoint3d& p)
{
    return number(p.x) + L"," + number(p.y) + L"," + number(p.z);
}

inline std::wstring nameOf(AcDbObjectId recordId)
{
    AcDbObjectPointer<AcDbSymbolTableRecord> record(recordId, AcDb::kForRead);
    const ACHAR* name = L"?";
    if (record.openStatus() == Acad::eOk)
        record->getName(name);
    return name;
}

inline std::wstring describeValues(const arxhost::TypedValues& values)
{
    std::wstring out;
    for (const arxhost::TypedValue& value : values) {
        out += L" " + std::to_wstring(value.code) + L"=";
        std::visit(
            [&](const auto& v) {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, std::wstring>)
                    out += L"\"" + v + L"\"";
                else if constexpr (std::is_same_v<V, double>)
                    out += number(v);
                else if constexpr (std::is_same_v<V, std::int64_t>)
                    out += std::to_wstring(v);
                else if constexpr (std::is_same_v<V, arxhost::TypedValue::Point>)
                    out += point(AcGePoint3d(v[0], v[1], v[2]));
                else if constexpr (std::is_same_v<V, AcDbObjectId>)
                    out += L"#" + handleOf(v);
                else if constexpr (std::is_same_v<V, arxhost::TypedValue::Binary>)
                    out += L"<" + std::to_wstring(v.size()) + L" bytes>";
            },
            value.value);
    }
    return out;
}

inline std::wstring describeDictionary(AcDbObjectId id, const std::wstring& indent);

// An object's extended data and extension dictionary.
inline std::wstring describeAttached(const AcDbObject& object, const std::wstring& indent)
{
    std::wstring out;
    if (!object.xdataValues().empty())
        out += indent + L"xdata" + describeValues(object.xdataValues()) + L"\n";
    if (!object.extensionDictionary().isNull())
        out += indent + L"extension dictionary\n"
            + describeDictionary(object.extensionDictionary(), indent + L"  ");
    return out;
}

inline std::wstring describeEntity(AcDbObjectId id, const std::wstring& indent)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    if (entity.openStatus() != Acad::eOk)
        return indent + L"cannot open " + handleOf(id) + L"\n";
    std::wstring out = indent + handleOf(id) + L" " + entity->dxfTypeName() + L" layer="
        + nameOf(entity->layerId()) + L" color=" + std::to_wstring(entity->colorIndex());
    if (const auto* line = AcDbLine::cast(entity.object())) {
        out += L" " + point(line->startPoint()) + L" to " + point(line->endPoint());
    } else if (const auto* arc = AcDbArc::cast(entity.object())) {
        out += L" centre " + point(arc->center()) + L" r " + number(arc->radius()) + L" from "
            + number(arc->startAngle()) + L" to " + number(arc->endAngle());
    } else if (const auto* circle = AcDbCircle::cast(entity.object())) {
        out += L" centre " + point(circle->center()) + L" r " + number(circle->radius());
    } else if (const auto* text = AcDbText::cast(entity.object())) {
        out += L" \"" + std::wstring(text->textStringConst()) + L"\" at " + point(text->position()) + L" h "
            + number(text->height()) + L" rot " + number(text->rotation()) + L" style "
            + nameOf(text->textStyle());
    } else if (const auto* pline = AcDbPolyline::cast(entity.object())) {
        out += pline->isClosed() ? L" closed" : L" open";
        for (unsigned int i = 0; i < pline->numVerts(); ++i) {
            AcGePoint3d p;
            double bulge = 0;
            double start = 0;
            double end = 0;
            pline->getPointAt(i, p);
            pline->getBulgeAt(i, bulge);
            pline->getWidthsAt(i, start, end);
            out += L" [" + point(p) + L" b " + number(bulge) + L" w " + number(start) + L"/" + number(end)
                + L"]";
        }
    } else if (const auto* ref = AcDbBlockReference::cast(entity.object())) {
        const AcGeScale3d scale = ref->scaleFactors();
        out += L" block " + nameOf(ref->blockTableRecord()) + L" at " + point(ref->position()) + L" scale "
            + number(scale.sx) + L"," + number(scale.sy) + L"," + number(scale.sz) + L" rot "
            + number(ref->rotation());
    } else if (const auto* dim = AcDbRadialDimension::cast(entity.object())) {
        ACHAR* override = dim->dimensionText();
        out += L" centre " + point(dim->center()) + L" chord " + point(dim->chordPoint()) + L" leader "
            + number(dim->leaderLength()) + L" text \"" + override + L"\" shows \""
            + dim->hostFormattedText().kwszPtr() + L"\"";
        acutDelString(override);
    }
    return out + L"\n" + describeAttached(*entity.object(), indent + L"  ");
}

inline std::wstring describeDictionary(AcDbObjectId id, const std::wstring& indent)
{
    AcDbObjectPointer<AcDbDictionary> dictionary(id, AcDb::kForRead);
    if (dictionary.openStatus() != Acad::eOk)
        return indent + L"not a dictionary: " + handleOf(id) + L"\n";
    std::wstring out;
    std::unique_ptr<AcDbDictionaryIterator> it(dictionary->newIterator());
    for (; !it->done(); it->next()) {
        out += indent + it->name() + L" " + handleOf(it->objectId());
        AcDbObjectPointer<AcDbObject> entry(it->objectId(), AcDb::kForRead);
        if (entry.openStatus() != Acad::eOk) {
            out += L" cannot open\n";
            continue;
        }
        out += std::wstring(L" ") + entry->dxfTypeName();
        if (const auto* group = AcDbGroup::cast(entry.object())) {
            out += L" \"" + std::wstring(group->description()) + L"\""
                + (group->isSelectable() ? L"" : L" unselectable");
            for (AcDbObjectId member : group->hostMembers())
                out += L" #" + handleOf(member);
        } else if (const auto* xrecord = AcDbXrecord::cast(entry.object())) {
            out += describeValues(xrecord->hostValues());
        }
        out += L"\n" + describeAttached(*entry.object(), indent + L"  ");
        if (AcDbDictionary::cast(entry.object()) != nullptr) {
            const AcDbObjectId child = entry->objectId();
            entry.close();
            out += describeDictionary(child, indent + L"  ");
        }
    }
    return out;
}

// What a user of the drawing would notice, one line per table record, entity or dictionary entry:
// layers, applications, blocks with their entities, model space, the named object dictionary.
inline std::wstring describe(AcDbDatabase& db)
{
    std::wstring out;
    {
        AcDbLayerTable* layers = nullptr;
        db.getLayerTable(layers, AcDb::kForRead);
        AcDbLayerTableIterator* it = nullptr;
        layers->newIterator(it);
        for (std::unique_ptr<AcDbLayerTableIterator> owned(it); !it->done(); it->step()) {
            AcDbLayerTableRecord* layer = nullptr;
            it->getRecord(layer, AcDb::kForRead);
            out += L"layer " + std::wstring(layer->hostName()) + L" " + handleOf(layer->objectId())
                + L" color " + std::to_wstring(layer->color().colorIndex()) + (layer->isOff() ? L" off" : L"")
                + (layer->isFrozen() ? L" frozen" : L"") + (layer->isLocked() ? L" locked" : L"")
                + L" linetype " + nameOf(layer->linetypeObjectId()) + L"\n";
            layer->close();
        }
        layers->close();
    }
    {
        AcDbRegAppTable* apps = nullptr;
        db.getRegAppTable(apps, AcDb::kForRead);
        for (AcDbObjectId id : apps->hostRecordIds())
            out += L"application " + nameOf(id) + L" " + handleOf(id) + L"\n";
        apps->close();
    }
    {
        AcDbBlockTable* blocks = nullptr;
        db.getBlockTable(blocks, AcDb::kForRead);
        AcDbBlockTableIterator* it = nullptr;
        blocks->newIterator(it);
        for (std::unique_ptr<AcDbBlockTableIterator> owned(it); !it->done(); it->step()) {
            AcDbBlockTableRecord* block = nullptr;
            it->getRecord(block, AcDb::kForRead);
            out += L"block " + std::wstring(block->hostName()) + L" " + handleOf(block->objectId())
                + L" origin " + point(block->origin()) + L"\n";
            for (AcDbObjectId entity : block->hostEntityIds())
                if (!entity.isErased())
                    out += describeEntity(entity, L"  ");
            block->close();
        }
        blocks->close();
    }
    out += L"named objects\n" + describeDictionary(db.namedObjectsDictionaryId(), L"  ");
    return out;
}

// Where two files first differ, for messages: "line 12: 'a' then 'b'"; "" when they are the same.
inline std::string firstDifference(const std::string& a, const std::string& b)
{
    if (a == b)
        return "";
    const auto [left, right] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    const auto lineStart = [](const std::string& text, std::string::const_iterator at) {
        return text.begin()
            + static_cast<std::ptrdiff_t>(text.rfind('\n', static_cast<std::size_t>(at - text.begin())) + 1);
    };
    const auto lineOf = [&](const std::string& text, std::string::const_iterator at) {
        const auto start = lineStart(text, at);
        return std::string(start, std::find(start, text.end(), '\n'));
    };
    const auto line = std::count(a.begin(), left, '\n') + 1;
    return "line " + std::to_string(line) + ": '" + lineOf(a, left) + "' then '" + lineOf(b, right) + "'";
}

// Fails with the lines where two descriptions differ (a few of them), not the whole of both.
inline void expectSameDrawing(const std::wstring& expected, const std::wstring& actual)
{
    auto lines = [](const std::wstring& text) {
        std::vector<std::wstring> all;
        std::wistringstream in(text);
        for (std::wstring line; std::getline(in, line);)
            all.push_back(line);
        return all;
    };
    const std::vector<std::wstring> a = lines(expected);
    const std::vector<std::wstring> b = lines(actual);
    std::wstring report;
    int shown = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()) && shown < 6; ++i) {
        const std::wstring left = i < a.size() ? a[i] : L"(nothing)";
        const std::wstring right = i < b.size() ? b[i] : L"(nothing)";
        if (left != right) {
            report += L"\n  line " + std::to_wstring(i + 1) + L":\n    was " + left + L"\n    now " + right;
            ++shown;
        }
    }
    EXPECT_TRUE(report.empty()) << "the drawings differ:" << report;
}

} // namespace planroad::test
