// Writing a drawing as ASCII DXF: header, classes, tables, blocks, entities, objects; and safe saving.
#include "dxf/drawing/DrawingWriter.h"

#include "dxf/drawing/DimensionShape.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <cwctype>
#include <initializer_list>
#include <map>
#include <set>
#include <unordered_map>

#include "core/Diagnostics.h"
#include "db/DatabaseImpl.h"
#include "db/DimVarAccessors.h"
#include "db/SystemVariables.h"
#include "db/UnmodelledObjects.h"
#include "dbdict.h"
#include "dbdim.h"
#include "dbents.h"
#include "dbgroup.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "dbxrecrd.h"
#include "dxf/drawing/RecordTags.h"
#include "text/Utf8.h"
#include "text/WideFormat.h"

namespace dxf {

namespace {

using arxhost::DatabaseImpl;
using arxhost::RawTag;
using arxhost::RawTags;

constexpr double kPi = 3.14159265358979323846;

// An angle in degrees, rounded to 12 significant digits: read back (degrees to radians) and written
// again, it comes out the same, so that saving a drawing that was read does not change its angles' text.
double degrees(double radians)
{
    const double value = radians * 180.0 / kPi;
    char text[32];
    const char* end = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 12).ptr;
    double rounded = value;
    std::from_chars(text, end, rounded);
    return rounded;
}

std::uint64_t handleOf(AcDbObjectId id)
{
    return id.isNull() ? 0 : id.handle().value();
}

const ACHAR* nameOf(AcDbObjectId id)
{
    const auto* record = AcDbSymbolTableRecord::cast(DatabaseImpl::peek(id));
    return record == nullptr ? L"" : record->hostName();
}

std::wstring upper(const wchar_t* text)
{
    std::wstring out = text;
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return out;
}

class DrawingWriter {
public:
    DrawingWriter(AcDbDatabase& db, const WriteOptions& options, const OutputSink& sink)
        : mDb(db)
        , mImpl(db.impl())
        , mOptions(options)
        , mWriter(options.version, codePageOf(db), options.lineEnd)
        , mSink(sink)
    {
    }

    void write();

private:
    static std::string codePageOf(const AcDbDatabase& db)
    {
        const std::string& page = db.impl().file.codePage;
        return page.empty() ? std::string("ANSI_936") : page;
    }

    // ---- Completing the drawing for the version ----
    void completeForVersion();
    AcDbObjectId addUnmodelled(const std::wstring& type, RawTags tags, AcDbObjectId owner);
    void prepareDimensionBlocks();
    // The leader, arrowhead and text of the dimension, added to its geometry block.
    void fillDimensionBlock(AcDbObjectId blockId, const AcDbRadialDimension& dim);
    void reserveWriterHandles();

    // ---- Low level ----
    void kept(const RawTag& tag);
    // The kept groups of one subclass section (the n-th with that name); "" for those before any marker.
    void extras(const AcDbObject& object, std::string_view section, int occurrence = 0,
        std::initializer_list<short> skip = {});
    // The name of a layer or linetype in the file's encoding: they recur on every entity, so each is
    // encoded once.
    const std::string& encodedName(AcDbObjectId record)
    {
        auto [entry, added] = mEncodedNames.try_emplace(static_cast<const AcDbStub*>(record));
        if (added)
            mWriter.codec().encode(nameOf(record), entry->second);
        return entry->second;
    }
    static const RawTag* keptTag(const AcDbObject& object, short code);
    void point(int code, const AcGePoint3d& p) { mWriter.writePoint(code, p.x, p.y, p.z); }
    void normal(const AcGeVector3d& n)
    {
        if (!(n.x == 0 && n.y == 0 && n.z == 1))
            mWriter.writePoint(210, n.x, n.y, n.z);
    }
    void text(int code, const std::wstring& value) { mWriter.writeText(code, value); }
    void text(int code, const wchar_t* value) { mWriter.writeText(code, value == nullptr ? L"" : value); }
    void objectStart(const wchar_t* type, const AcDbObject& object, AcDbObjectId owner,
        std::vector<AcDbObjectId> reactors = {});
    void xdata(const AcDbObject& object, const std::vector<arxhost::TypedValue>* extra = nullptr);

    // ---- Sections ----
    void header();
    void classes();
    void tables();
    void blocks();
    void entities();
    void objects();
    void otherSections();

    void table(const wchar_t* name, AcDbObjectId tableId);
    void unmodelledTable(const std::string& name);
    void tableRecord(AcDbObjectId recordId);
    void entity(AcDbObjectId id, bool paperSpace);
    void entityCommon(const AcDbEntity& entity, const wchar_t* type, bool paperSpace);
    void dimensionStyleOverrides(const AcDbDimension& dimension, std::vector<arxhost::TypedValue>& out);
    void object(AcDbObjectId id);
    // Hands the text so far to the sink once a chunk has collected, so that memory stays flat however
    // large the drawing is.
    void flushIfFull()
    {
        if (mWriter.size() >= kChunkBytes) {
            mSink(mWriter.data());
            mWriter.clear();
        }
    }
    static constexpr std::size_t kChunkBytes = std::size_t {1} << 20;

    AcDbDatabase& mDb;
    DatabaseImpl& mImpl;
    WriteOptions mOptions;
    TagWriter mWriter;
    const OutputSink& mSink;
    std::map<const AcDbStub*, std::vector<AcDbObjectId>> mGroupsOf; // entity → the groups holding it
    std::map<const AcDbStub*, AcDbObjectId> mLayoutOf; // block record → its layout
    std::unordered_map<const AcDbStub*, std::string> mEncodedNames;
};

// ---------------------------------------------------------------------------------------------
// Low level

void DrawingWriter::kept(const RawTag& tag)
{
    switch (valueTypeOf(tag.code)) {
    case ValueType::Double: {
        double value = 0;
        if (drawing::parseDouble(tag.value, value))
            mWriter.writeDouble(tag.code, value);
        else
            mWriter.writeDouble(tag.code, 0.0);
        return;
    }
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64: {
        std::int64_t value = 0;
        drawing::parseInteger(tag.value, value);
        mWriter.writeInt(tag.code, value);
        return;
    }
    case ValueType::Bool: {
        std::int64_t value = 0;
        drawing::parseInteger(tag.value, value);
        mWriter.writeBool(tag.code, value != 0);
        return;
    }
    case ValueType::Handle: {
        std::uint64_t handle = 0;
        if (drawing::parseHandle(tag.value, handle))
            mWriter.writeHandle(tag.code, handle);
        else if (tag.value.empty())
            mWriter.writeHandle(tag.code, 0);
        else
            mWriter.writeText(tag.code, arxhost::fromUtf8(tag.value));
        return;
    }
    case ValueType::Binary: {
        std::vector<std::uint8_t> bytes;
        for (std::size_t i = 0; i + 1 < tag.value.size(); i += 2)
            bytes.push_back(static_cast<std::uint8_t>(std::stoi(tag.value.substr(i, 2), nullptr, 16)));
        mWriter.writeBinary(tag.code, bytes);
        return;
    }
    case ValueType::String:
        mWriter.writeText(tag.code, arxhost::fromUtf8(tag.value));
        return;
    }
}

void DrawingWriter::extras(
    const AcDbObject& object, std::string_view section, int occurrence, std::initializer_list<short> skip)
{
    const arxhost::SharedRawTags& tags = object.hostDxfExtras();
    if (!tags)
        return;
    bool inSection = section.empty();
    int seen = 0;
    for (const RawTag& tag : *tags) {
        if (tag.code == 100) {
            if (inSection && !section.empty())
                return;
            if (section.empty())
                return;
            inSection = tag.value == section && seen++ == occurrence;
            continue;
        }
        if (inSection && std::find(skip.begin(), skip.end(), tag.code) == skip.end())
            kept(tag);
    }
}

const RawTag* DrawingWriter::keptTag(const AcDbObject& object, short code)
{
    const arxhost::SharedRawTags& tags = object.hostDxfExtras();
    if (!tags)
        return nullptr;
    for (const RawTag& tag : *tags)
        if (tag.code == code)
            return &tag;
    return nullptr;
}

void DrawingWriter::objectStart(
    const wchar_t* type, const AcDbObject& object, AcDbObjectId owner, std::vector<AcDbObjectId> reactors)
{
    // Type names are short ASCII words: converted on the stack.
    std::array<char, 64> ascii {};
    std::size_t length = 0;
    bool plain = true;
    for (const wchar_t* c = type; *c != 0 && plain; ++c) {
        plain = *c < 0x80 && length < ascii.size();
        if (plain)
            ascii[length++] = static_cast<char>(*c);
    }
    if (plain)
        mWriter.writeString(0, std::string_view(ascii.data(), length));
    else
        mWriter.writeString(0, arxhost::toUtf8(type));
    mWriter.writeHandle(
        std::wcscmp(object.dxfTypeName(), L"DIMSTYLE") == 0 ? 105 : 5, object.handle().value());
    for (AcDbObjectId reactor : object.hostPersistentReactors())
        if (std::find(reactors.begin(), reactors.end(), reactor) == reactors.end())
            reactors.push_back(reactor);
    std::erase_if(reactors, [](AcDbObjectId id) { return id.isNull() || id.isErased(); });
    if (!reactors.empty()) {
        mWriter.writeString(102, "{ACAD_REACTORS");
        for (AcDbObjectId reactor : reactors)
            mWriter.writeHandle(330, handleOf(reactor));
        mWriter.writeString(102, "}");
    }
    AcDbObjectId xdict = object.extensionDictionary();
    if (!xdict.isNull() && !xdict.isErased()) {
        mWriter.writeString(102, "{ACAD_XDICTIONARY");
        mWriter.writeHandle(360, handleOf(xdict));
        mWriter.writeString(102, "}");
    }
    extras(object, "");
    mWriter.writeHandle(330, handleOf(owner));
}

void DrawingWriter::xdata(const AcDbObject& object, const std::vector<arxhost::TypedValue>* extra)
{
    auto one = [this](const arxhost::TypedValue& value) {
        std::visit(
            [&](const auto& v) {
                using V = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<V, std::wstring>) {
                    if (value.code == 1005) {
                        std::uint64_t handle = 0;
                        if (drawing::parseHandle(arxhost::toUtf8(v), handle)) {
                            mWriter.writeHandle(1005, handle);
                            return;
                        }
                    }
                    mWriter.writeText(value.code, v);
                } else if constexpr (std::is_same_v<V, double>) {
                    mWriter.writeDouble(value.code, v);
                } else if constexpr (std::is_same_v<V, std::int64_t>) {
                    mWriter.writeInt(value.code, v);
                } else if constexpr (std::is_same_v<V, arxhost::TypedValue::Point>) {
                    mWriter.writePoint(value.code, v[0], v[1], v[2]);
                } else if constexpr (std::is_same_v<V, AcDbObjectId>) {
                    mWriter.writeHandle(1005, handleOf(v));
                } else if constexpr (std::is_same_v<V, arxhost::TypedValue::Binary>) {
                    mWriter.writeBinary(value.code, std::span<const std::uint8_t>(v.data(), v.size()));
                }
            },
            value.value);
    };
    for (const arxhost::TypedValue& value : object.xdataValues())
        one(value);
    if (extra != nullptr)
        for (const arxhost::TypedValue& value : *extra)
            one(value);
}

// ---------------------------------------------------------------------------------------------
// Completing the drawing

AcDbObjectId DrawingWriter::addUnmodelled(const std::wstring& type, RawTags tags, AcDbObjectId owner)
{
    AcDbObjectId id;
    auto* object = new arxhost::UnmodelledObject(type, {});
    mImpl.add(object, owner, id);
    // The kept groups start with the object's own handle and owner, as a file has them.
    RawTags all;
    all.push_back({5, arxhost::toUtf8(arxhost::handleText(id.handle()))});
    all.push_back({330, arxhost::toUtf8(arxhost::handleText(owner.handle()))});
    all.insert(all.end(), tags.begin(), tags.end());
    object->hostSetTags(std::move(all));
    mImpl.close(id);
    return id;
}

void DrawingWriter::completeForVersion()
{
    const bool wasLoading = mImpl.loading();
    mImpl.setLoading(true);
    // Tables the host does not model but every drawing of these versions has.
    auto ensureTable
        = [&](const std::string& name, const std::vector<std::pair<std::wstring, RawTags>>& records) {
              if (mImpl.file.unmodelledTables.count(name) != 0)
                  return;
              AcDbObjectId table = addUnmodelled(L"TABLE", {}, AcDbObjectId());
              RawTags tableTags = {{2, name}, {5, arxhost::toUtf8(arxhost::handleText(table.handle()))},
                  {330, "0"}, {100, "AcDbSymbolTable"}, {70, std::to_string(records.size())}};
              static_cast<arxhost::UnmodelledObject*>(mImpl.modify(table))->hostSetTags(std::move(tableTags));
              for (const auto& [type, tags] : records)
                  addUnmodelled(type, tags, table);
              mImpl.file.unmodelledTables[name] = table;
          };
    const double height = 297;
    ensureTable("VPORT",
        {{L"VPORT",
            {{100, "AcDbSymbolTableRecord"}, {100, "AcDbViewportTableRecord"}, {2, "*Active"}, {70, "0"},
                {10, "0.0"}, {20, "0.0"}, {11, "1.0"}, {21, "1.0"}, {12, "210.0"}, {22, "148.5"}, {13, "0.0"},
                {23, "0.0"}, {14, "10.0"}, {24, "10.0"}, {15, "10.0"}, {25, "10.0"}, {16, "0.0"}, {26, "0.0"},
                {36, "1.0"}, {17, "0.0"}, {27, "0.0"}, {37, "0.0"}, {40, drawing::formatDouble(height)},
                {41, "1.6"}, {42, "50.0"}, {43, "0.0"}, {44, "0.0"}, {50, "0.0"}, {51, "0.0"}, {71, "0"},
                {72, "1000"}, {73, "1"}, {74, "3"}, {75, "0"}, {76, "0"}, {77, "0"}, {78, "0"}}}});
    ensureTable("VIEW", {});
    ensureTable("UCS", {});

    // Layouts: a dictionary ACAD_LAYOUT in the named object dictionary, and one layout per space.
    auto* root = AcDbDictionary::cast(DatabaseImpl::peek(mImpl.namedObjects));
    AcDbObjectId layouts;
    if (root != nullptr && root->getAt(L"ACAD_LAYOUT", layouts) != Acad::eOk) {
        auto* dictionary = new AcDbDictionary();
        mImpl.add(dictionary, mImpl.namedObjects, layouts);
        mImpl.close(layouts);
        static_cast<AcDbDictionary*>(mImpl.modify(mImpl.namedObjects))
            ->hostAdoptEntry(L"ACAD_LAYOUT", layouts);
        struct Space {
            const wchar_t* name;
            AcDbObjectId block;
            int flags;
            int tab;
        };
        for (const Space& space :
            {Space {L"Model", mImpl.modelSpace, 1, 0}, Space {L"Layout1", mImpl.paperSpace, 0, 1}}) {
            RawTags tags = {{100, "AcDbPlotSettings"}, {1, ""}, {2, "none_device"}, {4, ""}, {6, ""},
                {40, "0.0"}, {41, "0.0"}, {42, "0.0"}, {43, "0.0"}, {44, "420.0"}, {45, "297.0"}, {46, "0.0"},
                {47, "0.0"}, {48, "0.0"}, {49, "0.0"}, {140, "0.0"}, {141, "0.0"}, {142, "1.0"}, {143, "1.0"},
                {70, "1024"}, {72, "1"}, {73, "0"}, {74, "5"}, {7, ""}, {75, "16"}, {76, "0"}, {77, "2"},
                {78, "300"}, {147, "1.0"}, {148, "0.0"}, {149, "0.0"}, {100, "AcDbLayout"},
                {1, arxhost::toUtf8(space.name)}, {70, std::to_string(space.flags)},
                {71, std::to_string(space.tab)}, {10, "0.0"}, {20, "0.0"}, {11, "420.0"}, {21, "297.0"},
                {12, "0.0"}, {22, "0.0"}, {32, "0.0"}, {14, "0.0"}, {24, "0.0"}, {34, "0.0"}, {15, "0.0"},
                {25, "0.0"}, {35, "0.0"}, {146, "0.0"}, {13, "0.0"}, {23, "0.0"}, {33, "0.0"}, {16, "1.0"},
                {26, "0.0"}, {36, "0.0"}, {17, "0.0"}, {27, "1.0"}, {37, "0.0"}, {76, "0"},
                {330, arxhost::toUtf8(arxhost::handleText(space.block.handle()))}};
            AcDbObjectId layout = addUnmodelled(L"LAYOUT", std::move(tags), layouts);
            static_cast<AcDbDictionary*>(mImpl.modify(layouts))->hostAdoptEntry(space.name, layout);
            mLayoutOf[space.block] = layout;
        }
    }
    // Which layout each block record has: from the layouts' own groups (330 in AcDbLayout).
    for (AcDbStub& stubRef : mImpl.stubs()) {
        AcDbStub* stub = &stubRef;
        const auto* layout = arxhost::UnmodelledObject::cast(stub->object());
        if (layout == nullptr || layout->isErased() || layout->type() != L"LAYOUT")
            continue;
        bool inLayout = false;
        for (const RawTag& tag : layout->tags()) {
            if (tag.code == 100)
                inLayout = tag.value == "AcDbLayout";
            std::uint64_t handle = 0;
            if (inLayout && tag.code == 330 && drawing::parseHandle(tag.value, handle))
                if (AcDbStub* block = mImpl.stubOf(AcDbHandle(handle)))
                    mLayoutOf[block] = AcDbObjectId(stub);
        }
    }
    mImpl.setLoading(wasLoading);
}

void DrawingWriter::prepareDimensionBlocks()
{
    // Other programs draw a dimension from its geometry block. A radial dimension made in the host has no
    // block yet, and one changed since its block was read or made (a new text, a moved leader) would show
    // the old one: both get a block with the leader, the arrowhead and the text.
    std::vector<AcDbObjectId> made;
    std::vector<AcDbObjectId> changed;
    for (AcDbStub& stubRef : mImpl.stubs()) {
        AcDbStub* stub = &stubRef;
        const auto* dim = AcDbRadialDimension::cast(stub->object());
        if (dim == nullptr || dim->isErased())
            continue;
        if (mImpl.file.dimensionBlocks.count(stub) == 0) {
            made.push_back(AcDbObjectId(stub));
            continue;
        }
        const std::wstring shape = dimensionShape(*dim);
        auto recorded = mImpl.file.dimensionShapes.find(stub);
        if (recorded == mImpl.file.dimensionShapes.end())
            mImpl.file.dimensionShapes.emplace(stub, shape);
        else if (recorded->second != shape)
            changed.push_back(AcDbObjectId(stub));
    }
    if (made.empty() && changed.empty())
        return;
    const bool wasLoading = mImpl.loading();
    mImpl.setLoading(true);
    const auto* table = AcDbBlockTable::cast(DatabaseImpl::peek(mImpl.blockTable));
    for (AcDbObjectId id : made) {
        auto* block = new AcDbBlockTableRecord();
        std::wstring name;
        int n = 1;
        do {
            name = L"*D" + std::to_wstring(n++);
        } while (table->has(name.c_str()));
        block->hostSetName(name.c_str());
        AcDbObjectId blockId;
        mImpl.add(block, mImpl.blockTable, blockId);
        mImpl.close(blockId);
        static_cast<AcDbBlockTable*>(mImpl.modify(mImpl.blockTable))->hostAdoptRecord(blockId);
        fillDimensionBlock(blockId, *AcDbRadialDimension::cast(DatabaseImpl::peek(id)));
        mImpl.file.dimensionBlocks[id] = name;
    }
    for (AcDbObjectId id : changed) {
        AcDbObjectId blockId;
        if (table->getAt(mImpl.file.dimensionBlocks[id].c_str(), blockId) != Acad::eOk)
            continue; // the block the file named is not there: the dimension is written without one
        const auto* block = AcDbBlockTableRecord::cast(DatabaseImpl::peek(blockId));
        for (AcDbObjectId entityId : block->hostEntityIds())
            mImpl.modify(entityId)->hostSetErased(true);
        fillDimensionBlock(blockId, *AcDbRadialDimension::cast(DatabaseImpl::peek(id)));
    }
    mImpl.setLoading(wasLoading);
}

void DrawingWriter::fillDimensionBlock(AcDbObjectId blockId, const AcDbRadialDimension& dim)
{
    const AcGePoint3d chord = dim.chordPoint();
    const AcGePoint3d end = dim.hostLeaderEnd();
    AcGeVector3d out = chord - dim.center();
    out = out.isZeroLength() ? AcGeVector3d::kXAxis : out.normal();
    const double size = std::max(dim.dimasz() * std::max(dim.dimscale(), 1e-9), 1e-6);
    const double textHeight = std::max(dim.dimtxt() * std::max(dim.dimscale(), 1e-9), 1e-6);
    auto add = [&](AcDbEntity* entity) {
        entity->setLayer(mImpl.layerZero);
        entity->setColorIndex(0);
        AcDbObjectId entityId;
        mImpl.add(entity, blockId, entityId);
        mImpl.close(entityId);
        static_cast<AcDbBlockTableRecord*>(mImpl.modify(blockId))->hostAdoptEntity(entityId);
    };
    add(new AcDbLine(dim.center(), end));
    // The arrowhead at the chord point, pointing out of the arc when the leader goes inwards.
    const AcGeVector3d back = (dim.leaderLength() < 0 ? out : -out) * size;
    const AcGeVector3d side = AcGeVector3d(-out.y, out.x, 0) * (size / 6);
    auto* arrow = new AcDbPolyline();
    arrow->addVertexAt(0, AcGePoint2d(chord.x, chord.y));
    arrow->addVertexAt(1, AcGePoint2d(chord.x + back.x + side.x, chord.y + back.y + side.y));
    arrow->addVertexAt(2, AcGePoint2d(chord.x + back.x - side.x, chord.y + back.y - side.y));
    arrow->setClosed(true);
    arrow->setConstantWidth(size / 6);
    add(arrow);
    auto* label = new AcDbText(dim.isUsingDefaultTextPosition() ? end : dim.textPosition(),
        dim.hostFormattedText().kwszPtr(), dim.dimtxsty().isNull() ? mImpl.textStyleStandard : dim.dimtxsty(),
        textHeight, 0);
    add(label);
    mImpl.file.dimensionShapes[static_cast<const AcDbStub*>(dim.objectId())] = dimensionShape(dim);
}

// ---------------------------------------------------------------------------------------------
// Header

namespace {

struct HeaderCode {
    const wchar_t* name;
    int code;
};

// Variables whose group code does not follow from their kind.
constexpr HeaderCode kHeaderCodes[] = {
    {L"CLAYER", 8},
    {L"CELTYPE", 6},
    {L"TEXTSTYLE", 7},
    {L"DIMSTYLE", 2},
    {L"DIMTXSTY", 7},
    {L"UCSNAME", 2},
    {L"DIMBLK", 1},
    {L"DIMBLK1", 1},
    {L"DIMBLK2", 1},
    {L"DIMLDRBLK", 1},
    {L"DIMPOST", 1},
    {L"DIMDSEP", 70}, // one character, kept as its code
    {L"LWDISPLAY", 290},
    {L"LWDEFAULT", 370},
    {L"DIMAPOST", 1},
    {L"CECOLOR", 62},
};

int codeFor(const std::wstring& name, arxhost::VarKind kind)
{
    for (const HeaderCode& entry : kHeaderCodes)
        if (name == entry.name)
            return entry.code;
    switch (kind) {
    case arxhost::VarKind::Short:
        return 70;
    case arxhost::VarKind::Long:
        return 90;
    case arxhost::VarKind::Real:
        return 40;
    case arxhost::VarKind::Text:
    case arxhost::VarKind::TableName:
        return 1;
    case arxhost::VarKind::Point2d:
    case arxhost::VarKind::Point3d:
        return 10;
    }
    return 1;
}

// Whether the group code a file gave a variable can carry the variable's kind: a file may use any code
// there, and what is written back must read as the value it is.
bool codeFits(int code, arxhost::VarKind kind)
{
    const ValueType type = valueTypeOf(code);
    switch (kind) {
    case arxhost::VarKind::Short:
    case arxhost::VarKind::Long:
        return type == ValueType::Int16 || type == ValueType::Int32 || type == ValueType::Int64
            || type == ValueType::Double;
    case arxhost::VarKind::Real:
        return type == ValueType::Double;
    case arxhost::VarKind::Text:
    case arxhost::VarKind::TableName:
        return type == ValueType::String;
    case arxhost::VarKind::Point2d:
    case arxhost::VarKind::Point3d:
        return true;
    }
    return false;
}

} // namespace

void DrawingWriter::header()
{
    mWriter.writeString(0, "SECTION");
    mWriter.writeString(2, "HEADER");
    mWriter.writeString(9, "$ACADVER");
    mWriter.writeString(1, acadVer(mOptions.version));
    mWriter.writeString(9, "$ACADMAINTVER");
    mWriter.writeInt(70, 6);
    mWriter.writeString(9, "$DWGCODEPAGE");
    mWriter.writeString(3, mWriter.codec().codePage());

    mDb.updateExt();
    const arxhost::HeaderVars& vars = mImpl.header();
    std::set<std::wstring> written;
    auto modelledValue = [&](const std::wstring& name, const arxhost::SysVarInfo& info, RawTags& tags) {
        // The current value, written with the codes the file used when they fit its kind (or those of
        // the variable's kind).
        const int code = tags.empty() || !codeFits(tags.front().code, info.kind) ? codeFor(name, info.kind)
                                                                                 : tags.front().code;
        arxhost::HeaderValue value = vars.find(name) == nullptr ? info.defaultValue : *vars.find(name);
        if (info.kind == arxhost::VarKind::TableName) {
            AcDbObjectId id = name == L"CLAYER" ? mDb.clayer()
                : name == L"CELTYPE"            ? mDb.celtype()
                : name == L"TEXTSTYLE"          ? mDb.textstyle()
                : name == L"DIMSTYLE"
                ? mDb.dimstyle()
                : (std::holds_alternative<AcDbObjectId>(value) ? std::get<AcDbObjectId>(value)
                                                               : AcDbObjectId());
            mWriter.writeText(code, nameOf(id));
            return;
        }
        if (name == L"CECOLOR") {
            AcCmColor color = mDb.cecolor();
            mWriter.writeInt(62, color.colorIndex());
            return;
        }
        if (const auto* i = std::get_if<std::int64_t>(&value)) {
            // A number the file gave a text variable (under a number's code) is written as its digits.
            if (const ValueType type = valueTypeOf(code); type == ValueType::Double)
                mWriter.writeDouble(code, static_cast<double>(*i));
            else if (type == ValueType::String)
                mWriter.writeText(code, std::to_wstring(*i));
            else
                mWriter.writeInt(code, *i);
        } else if (const auto* d = std::get_if<double>(&value)) {
            mWriter.writeDouble(valueTypeOf(code) == ValueType::Double ? code : 40, *d);
        } else if (const auto* s = std::get_if<std::wstring>(&value)) {
            // A one-character variable set as text (DIMDSEP ".") is written as its character code.
            if (const ValueType type = valueTypeOf(code);
                type == ValueType::Int16 || type == ValueType::Int32 || type == ValueType::Int64)
                mWriter.writeInt(code, s->empty() ? 0 : static_cast<std::int64_t>((*s)[0]));
            else
                mWriter.writeText(valueTypeOf(code) == ValueType::String ? code : 1, *s);
        } else if (const auto* p = std::get_if<std::array<double, 3>>(&value)) {
            if (info.kind == arxhost::VarKind::Point2d)
                mWriter.writePoint(10, (*p)[0], (*p)[1]);
            else
                mWriter.writePoint(10, (*p)[0], (*p)[1], (*p)[2]);
        } else if (const auto* id = std::get_if<AcDbObjectId>(&value)) {
            mWriter.writeText(code, nameOf(*id));
        }
    };
    auto variable = [&](const std::wstring& name, RawTags tags) {
        if (name == L"ACADVER" || name == L"ACADMAINTVER" || name == L"DWGCODEPAGE" || name == L"HANDSEED")
            return;
        if (!written.insert(name).second)
            return;
        mWriter.writeText(9, L"$" + name);
        if (name == L"EXTMIN" || name == L"EXTMAX") {
            AcGePoint3d p = name == L"EXTMIN" ? mDb.extmin() : mDb.extmax();
            mWriter.writePoint(10, p.x, p.y, p.z);
            return;
        }
        const arxhost::SysVarInfo* info = arxhost::findSysVar(name.c_str());
        if (info != nullptr && info->storage == arxhost::VarStorage::Drawing) {
            modelledValue(name, *info, tags);
            return;
        }
        for (const RawTag& tag : tags)
            kept(tag);
    };
    for (const auto& [name, tags] : mImpl.file.header)
        variable(upper(arxhost::fromUtf8(name.substr(1)).c_str()), tags);
    for (const arxhost::SysVarInfo& info : arxhost::sysVarCatalogue())
        if (info.storage == arxhost::VarStorage::Drawing)
            variable(info.name, {});
    mWriter.writeString(9, "$HANDSEED");
    mWriter.writeHandle(5, mImpl.handseed().value());
    mWriter.writeString(0, "ENDSEC");
}

// ---------------------------------------------------------------------------------------------
// Classes and other sections

void DrawingWriter::classes()
{
    mWriter.writeString(0, "SECTION");
    mWriter.writeString(2, "CLASSES");
    bool layoutClass = false;
    for (const arxhost::RawRecord& record : mImpl.file.classes) {
        mWriter.writeText(0, record.type);
        for (const RawTag& tag : record.tags) {
            if (tag.code == 1 && tag.value == "LAYOUT")
                layoutClass = true;
            kept(tag);
        }
    }
    if (!layoutClass) {
        mWriter.writeString(0, "CLASS");
        mWriter.writeString(1, "LAYOUT");
        mWriter.writeString(2, "AcDbLayout");
        mWriter.writeString(3, "ObjectDBX Classes");
        mWriter.writeInt(90, 0);
        mWriter.writeInt(91, 0);
        mWriter.writeInt(280, 0);
        mWriter.writeInt(281, 0);
    }
    mWriter.writeString(0, "ENDSEC");
}

void DrawingWriter::otherSections()
{
    for (const auto& [name, records] : mImpl.file.otherSections) {
        mWriter.writeString(0, "SECTION");
        mWriter.writeString(2, name);
        for (const arxhost::RawRecord& record : records) {
            if (!record.type.empty())
                mWriter.writeText(0, record.type);
            for (const RawTag& tag : record.tags)
                kept(tag);
        }
        mWriter.writeString(0, "ENDSEC");
    }
}

// ---------------------------------------------------------------------------------------------
// Tables

void DrawingWriter::tables()
{
    mWriter.writeString(0, "SECTION");
    mWriter.writeString(2, "TABLES");
    unmodelledTable("VPORT");
    table(L"LTYPE", mImpl.linetypeTable);
    table(L"LAYER", mImpl.layerTable);
    table(L"STYLE", mImpl.textStyleTable);
    unmodelledTable("VIEW");
    unmodelledTable("UCS");
    table(L"APPID", mImpl.regAppTable);
    table(L"DIMSTYLE", mImpl.dimStyleTable);
    table(L"BLOCK_RECORD", mImpl.blockTable);
    for (const auto& [name, id] : mImpl.file.unmodelledTables)
        if (name != "VPORT" && name != "VIEW" && name != "UCS")
            unmodelledTable(name);
    mWriter.writeString(0, "ENDSEC");
}

void DrawingWriter::unmodelledTable(const std::string& name)
{
    auto found = mImpl.file.unmodelledTables.find(name);
    if (found == mImpl.file.unmodelledTables.end())
        return;
    const auto* tableObject = arxhost::UnmodelledObject::cast(DatabaseImpl::peek(found->second));
    if (tableObject == nullptr)
        return;
    mWriter.writeString(0, "TABLE");
    for (const RawTag& tag : tableObject->tags())
        kept(tag);
    for (AcDbStub& stubRef : mImpl.stubs()) {
        AcDbStub* stub = &stubRef;
        const auto* record = arxhost::UnmodelledObject::cast(stub->object());
        if (record == nullptr || record->isErased() || record->ownerId() != found->second)
            continue;
        mWriter.writeText(0, record->type());
        for (const RawTag& tag : record->tags())
            kept(tag);
    }
    mWriter.writeString(0, "ENDTAB");
}

void DrawingWriter::table(const wchar_t* name, AcDbObjectId tableId)
{
    const auto* symbolTable = AcDbSymbolTable::cast(DatabaseImpl::peek(tableId));
    if (symbolTable == nullptr)
        return;
    std::vector<AcDbObjectId> records;
    for (AcDbObjectId id : symbolTable->hostRecordIds())
        if (!id.isErased())
            records.push_back(id);
    mWriter.writeString(0, "TABLE");
    mWriter.writeText(2, name);
    mWriter.writeHandle(5, handleOf(tableId));
    mWriter.writeHandle(330, 0);
    mWriter.writeString(100, "AcDbSymbolTable");
    mWriter.writeInt(70, static_cast<std::int64_t>(records.size()));
    extras(*symbolTable, "AcDbSymbolTable", 0);
    if (std::wstring(name) == L"DIMSTYLE") {
        if (keptTag(*symbolTable, 71) != nullptr) {
            mWriter.writeString(100, "AcDbDimStyleTable");
            extras(*symbolTable, "AcDbDimStyleTable");
        } else {
            mWriter.writeString(100, "AcDbDimStyleTable");
            mWriter.writeInt(71, static_cast<std::int64_t>(records.size()));
            for (AcDbObjectId id : records)
                mWriter.writeHandle(340, handleOf(id));
        }
    }
    for (AcDbObjectId id : records)
        tableRecord(id);
    mWriter.writeString(0, "ENDTAB");
}

void DrawingWriter::tableRecord(AcDbObjectId id)
{
    const auto* record = AcDbSymbolTableRecord::cast(DatabaseImpl::peek(id));
    if (record == nullptr)
        return;
    const std::wstring type = record->dxfTypeName();
    objectStart(type.c_str(), *record, record->ownerId());
    mWriter.writeString(100, "AcDbSymbolTableRecord");
    extras(*record, "AcDbSymbolTableRecord");
    if (const auto* layer = AcDbLayerTableRecord::cast(record)) {
        mWriter.writeString(100, "AcDbLayerTableRecord");
        mWriter.writeText(2, layer->hostName());
        std::int64_t flags = (layer->isFrozen() ? 1 : 0) | (layer->isLocked() ? 4 : 0);
        if (const RawTag* kept70 = keptTag(*layer, 70)) {
            std::int64_t old = 0;
            drawing::parseInteger(kept70->value, old);
            flags |= old & ~5;
        }
        mWriter.writeInt(70, flags);
        const int color = std::max(1, static_cast<int>(layer->color().colorIndex() % 256));
        mWriter.writeInt(62, layer->isOff() ? -color : color);
        const ACHAR* linetype = nameOf(layer->linetypeObjectId());
        mWriter.writeText(6, *linetype == 0 ? L"Continuous" : linetype);
        if (!layer->isPlottable())
            mWriter.writeBool(290, false);
        mWriter.writeInt(370, layer->lineWeight());
        extras(*layer, "AcDbLayerTableRecord", 0, {70});
    } else if (const auto* linetype = AcDbLinetypeTableRecord::cast(record)) {
        mWriter.writeString(100, "AcDbLinetypeTableRecord");
        mWriter.writeText(2, linetype->hostName());
        if (keptTag(*linetype, 72) != nullptr) {
            // A linetype read from a file is written back group by group, complex dashes included.
            extras(*linetype, "AcDbLinetypeTableRecord");
        } else {
            mWriter.writeInt(70, 0);
            const ACHAR* comments = nullptr;
            linetype->comments(comments);
            mWriter.writeText(3, comments);
            mWriter.writeInt(72, 65);
            mWriter.writeInt(73, linetype->numDashes());
            mWriter.writeDouble(40, linetype->patternLength());
            for (int k = 0; k < linetype->numDashes(); ++k) {
                mWriter.writeDouble(49, linetype->dashLengthAt(k));
                mWriter.writeInt(74, 0);
            }
        }
    } else if (const auto* style = AcDbTextStyleTableRecord::cast(record)) {
        mWriter.writeString(100, "AcDbTextStyleTableRecord");
        mWriter.writeText(2, style->hostName());
        mWriter.writeInt(70, style->flagBits());
        mWriter.writeDouble(40, style->textSize());
        mWriter.writeDouble(41, style->xScale());
        mWriter.writeDouble(50, degrees(style->obliquingAngle()));
        const RawTag* generation = keptTag(*style, 71);
        mWriter.writeInt(71, 0);
        (void)generation;
        mWriter.writeDouble(42, style->priorSize());
        const ACHAR* font = nullptr;
        const ACHAR* bigFont = nullptr;
        style->fileName(font);
        style->bigFontFileName(bigFont);
        mWriter.writeText(3, font);
        mWriter.writeText(4, bigFont);
        extras(*style, "AcDbTextStyleTableRecord", 0, {71});
    } else if (const auto* app = AcDbRegAppTableRecord::cast(record)) {
        mWriter.writeString(100, "AcDbRegAppTableRecord");
        mWriter.writeText(2, app->hostName());
        if (keptTag(*app, 70) == nullptr)
            mWriter.writeInt(70, 0);
        extras(*app, "AcDbRegAppTableRecord");
    } else if (const auto* dimstyle = AcDbDimStyleTableRecord::cast(record)) {
        mWriter.writeString(100, "AcDbDimStyleTableRecord");
        mWriter.writeText(2, dimstyle->hostName());
        mWriter.writeInt(70, 0);
        std::vector<const arxhost::DimVarInfo*> infos;
        for (int v = 0; v < static_cast<int>(arxhost::DimVar::Count); ++v)
            infos.push_back(&arxhost::dimVarInfo(static_cast<arxhost::DimVar>(v)));
        std::sort(
            infos.begin(), infos.end(), [](const auto* a, const auto* b) { return a->dxfCode < b->dxfCode; });
        for (const arxhost::DimVarInfo* info : infos) {
            const arxhost::DimVarValue value = dimstyle->hostDimVarGet(info->var);
            switch (info->kind) {
            case arxhost::DimVarKind::Real:
                mWriter.writeDouble(info->dxfCode, std::get<double>(value));
                break;
            case arxhost::DimVarKind::Int:
                mWriter.writeInt(info->dxfCode, std::get<int>(value));
                break;
            case arxhost::DimVarKind::Bool:
                mWriter.writeInt(info->dxfCode, std::get<bool>(value) ? 1 : 0);
                break;
            case arxhost::DimVarKind::Char:
                mWriter.writeInt(info->dxfCode, static_cast<std::int64_t>(std::get<wchar_t>(value)));
                break;
            case arxhost::DimVarKind::String:
                mWriter.writeText(info->dxfCode, std::get<std::wstring>(value));
                break;
            case arxhost::DimVarKind::Id:
                if (!std::get<AcDbObjectId>(value).isNull())
                    mWriter.writeHandle(info->dxfCode, handleOf(std::get<AcDbObjectId>(value)));
                break;
            case arxhost::DimVarKind::Arrow: {
                AcDbObjectId block = arxhost::arrowBlockId(&mDb, std::get<std::wstring>(value));
                if (!block.isNull())
                    mWriter.writeHandle(info->dxfCode, handleOf(block));
                break;
            }
            }
        }
        extras(*dimstyle, "AcDbDimStyleTableRecord");
    } else if (const auto* block = AcDbBlockTableRecord::cast(record)) {
        mWriter.writeString(100, "AcDbBlockTableRecord");
        mWriter.writeText(2, block->hostName());
        if (keptTag(*block, 340) == nullptr) {
            auto layout = mLayoutOf.find(static_cast<const AcDbStub*>(id));
            if (layout != mLayoutOf.end())
                mWriter.writeHandle(340, handleOf(layout->second));
            else
                mWriter.writeHandle(340, 0);
        }
        extras(*block, "AcDbBlockTableRecord");
    }
    xdata(*record);
}

// ---------------------------------------------------------------------------------------------
// Blocks and entities

void DrawingWriter::blocks()
{
    mWriter.writeString(0, "SECTION");
    mWriter.writeString(2, "BLOCKS");
    const auto* table = AcDbBlockTable::cast(DatabaseImpl::peek(mImpl.blockTable));
    for (AcDbObjectId blockId : table->hostRecordIds()) {
        const auto* block = AcDbBlockTableRecord::cast(DatabaseImpl::peek(blockId));
        if (block == nullptr || block->isErased())
            continue;
        arxhost::DrawingFileData::BlockEnds& ends = mImpl.file.blocks[blockId];
        if (ends.begin.isNull())
            ends.begin = mImpl.allocateHandle();
        if (ends.end.isNull())
            ends.end = mImpl.allocateHandle();
        const bool modelSpace = blockId == mImpl.modelSpace;
        const bool paperSpace = blockId == mImpl.paperSpace;
        auto layerOf = [](const RawTags& tags) {
            for (const RawTag& tag : tags)
                if (tag.code == 8)
                    return arxhost::fromUtf8(tag.value);
            return std::wstring(L"0");
        };
        auto keptSection = [this](const RawTags& tags, std::string_view section, std::set<short> skip) {
            bool in = section.empty();
            for (const RawTag& tag : tags) {
                if (tag.code == 100) {
                    if (section.empty())
                        return;
                    in = tag.value == section;
                    continue;
                }
                if (in && skip.count(tag.code) == 0)
                    kept(tag);
            }
        };
        mWriter.writeString(0, "BLOCK");
        mWriter.writeHandle(5, ends.begin.value());
        keptSection(ends.beginExtras, "", {});
        mWriter.writeHandle(330, handleOf(blockId));
        mWriter.writeString(100, "AcDbEntity");
        if (paperSpace)
            mWriter.writeInt(67, 1);
        mWriter.writeText(8, layerOf(ends.beginExtras));
        keptSection(ends.beginExtras, "AcDbEntity", {8, 67});
        mWriter.writeString(100, "AcDbBlockBegin");
        mWriter.writeText(2, block->hostName());
        int flags = ends.flags;
        if (block->isAnonymous())
            flags |= 1;
        mWriter.writeInt(70, flags);
        point(10, block->origin());
        mWriter.writeText(3, block->hostName());
        mWriter.writeText(1, ends.xrefPath);
        if (!ends.description.empty())
            mWriter.writeText(4, ends.description);
        keptSection(ends.beginExtras, "AcDbBlockBegin", {});
        if (!modelSpace && !paperSpace)
            for (AcDbObjectId id : block->hostEntityIds())
                entity(id, false);
        mWriter.writeString(0, "ENDBLK");
        mWriter.writeHandle(5, ends.end.value());
        keptSection(ends.endExtras, "", {});
        mWriter.writeHandle(330, handleOf(blockId));
        mWriter.writeString(100, "AcDbEntity");
        if (paperSpace)
            mWriter.writeInt(67, 1);
        mWriter.writeText(8, layerOf(ends.endExtras));
        keptSection(ends.endExtras, "AcDbEntity", {8, 67});
        mWriter.writeString(100, "AcDbBlockEnd");
        keptSection(ends.endExtras, "AcDbBlockEnd", {});
    }
    mWriter.writeString(0, "ENDSEC");
}

void DrawingWriter::entities()
{
    mWriter.writeString(0, "SECTION");
    mWriter.writeString(2, "ENTITIES");
    for (AcDbObjectId id : AcDbBlockTableRecord::cast(DatabaseImpl::peek(mImpl.modelSpace))->hostEntityIds())
        entity(id, false);
    if (const auto* paper = AcDbBlockTableRecord::cast(DatabaseImpl::peek(mImpl.paperSpace)))
        for (AcDbObjectId id : paper->hostEntityIds())
            entity(id, true);
    mWriter.writeString(0, "ENDSEC");
}

void DrawingWriter::entityCommon(const AcDbEntity& e, const wchar_t* type, bool paperSpace)
{
    std::vector<AcDbObjectId> reactors;
    auto groups = mGroupsOf.find(static_cast<const AcDbStub*>(e.objectId()));
    if (groups != mGroupsOf.end())
        reactors = groups->second;
    objectStart(type, e, e.ownerId(), reactors);
    mWriter.writeString(100, "AcDbEntity");
    if (paperSpace)
        mWriter.writeInt(67, 1);
    mWriter.writeString(8, encodedName(e.layerId()));
    if (!e.linetypeId().isNull() && e.linetypeId() != mImpl.linetypeByLayer)
        mWriter.writeString(6, encodedName(e.linetypeId()));
    if (e.colorIndex() != 256)
        mWriter.writeInt(62, e.colorIndex());
    if (e.lineWeight() != AcDb::kLnWtByLayer)
        mWriter.writeInt(370, e.lineWeight());
    if (e.linetypeScale() != 1.0)
        mWriter.writeDouble(48, e.linetypeScale());
    if (e.visibility() == AcDb::kInvisible)
        mWriter.writeInt(60, 1);
    extras(e, "AcDbEntity", 0, {67});
}

void DrawingWriter::entity(AcDbObjectId id, bool paperSpace)
{
    flushIfFull();
    const AcDbObject* object = DatabaseImpl::peek(id);
    if (object == nullptr || object->isErased())
        return;
    if (const auto* raw = arxhost::UnmodelledEntity::cast(object)) {
        mWriter.writeText(0, raw->type());
        const std::wstring layer = nameOf(raw->layerId());
        for (const RawTag& tag : raw->tags()) {
            if (tag.code == 8)
                mWriter.writeText(8, layer);
            else
                kept(tag);
        }
        for (const arxhost::RawRecord& follower : raw->followers()) {
            mWriter.writeText(0, follower.type);
            for (const RawTag& tag : follower.tags)
                kept(tag);
        }
        return;
    }
    if (const auto* line = AcDbLine::cast(object)) {
        entityCommon(*line, L"LINE", paperSpace);
        mWriter.writeString(100, "AcDbLine");
        if (line->thickness() != 0)
            mWriter.writeDouble(39, line->thickness());
        point(10, line->startPoint());
        point(11, line->endPoint());
        normal(line->normal());
        extras(*line, "AcDbLine");
    } else if (const auto* arc = AcDbArc::cast(object)) {
        entityCommon(*arc, L"ARC", paperSpace);
        mWriter.writeString(100, "AcDbCircle");
        if (arc->thickness() != 0)
            mWriter.writeDouble(39, arc->thickness());
        point(10, arc->center());
        mWriter.writeDouble(40, arc->radius());
        normal(arc->normal());
        extras(*arc, "AcDbCircle");
        mWriter.writeString(100, "AcDbArc");
        mWriter.writeDouble(50, degrees(arc->startAngle()));
        mWriter.writeDouble(51, degrees(arc->endAngle()));
        extras(*arc, "AcDbArc");
    } else if (const auto* circle = AcDbCircle::cast(object)) {
        entityCommon(*circle, L"CIRCLE", paperSpace);
        mWriter.writeString(100, "AcDbCircle");
        if (circle->thickness() != 0)
            mWriter.writeDouble(39, circle->thickness());
        point(10, circle->center());
        mWriter.writeDouble(40, circle->radius());
        normal(circle->normal());
        extras(*circle, "AcDbCircle");
    } else if (const auto* pt = AcDbPoint::cast(object)) {
        entityCommon(*pt, L"POINT", paperSpace);
        mWriter.writeString(100, "AcDbPoint");
        point(10, pt->position());
        if (pt->thickness() != 0)
            mWriter.writeDouble(39, pt->thickness());
        if (pt->ecsRotation() != 0)
            mWriter.writeDouble(50, degrees(pt->ecsRotation()));
        extras(*pt, "AcDbPoint");
    } else if (const auto* text = AcDbText::cast(object)) {
        entityCommon(*text, L"TEXT", paperSpace);
        mWriter.writeString(100, "AcDbText");
        if (text->thickness() != 0)
            mWriter.writeDouble(39, text->thickness());
        point(10, text->position());
        mWriter.writeDouble(40, text->height() > 0 ? text->height() : 2.5);
        mWriter.writeText(1, text->textStringConst());
        if (text->rotation() != 0)
            mWriter.writeDouble(50, degrees(text->rotation()));
        if (text->widthFactor() != 1)
            mWriter.writeDouble(41, text->widthFactor());
        if (text->oblique() != 0)
            mWriter.writeDouble(51, degrees(text->oblique()));
        mWriter.writeText(7, *nameOf(text->textStyle()) == 0 ? L"Standard" : nameOf(text->textStyle()));
        const int generation = (text->isMirroredInX() ? 2 : 0) | (text->isMirroredInY() ? 4 : 0);
        if (generation != 0)
            mWriter.writeInt(71, generation);
        if (text->horizontalMode() != AcDb::kTextLeft)
            mWriter.writeInt(72, text->horizontalMode());
        if (!text->isDefaultAlignment())
            point(11, text->alignmentPoint());
        normal(text->normal());
        extras(*text, "AcDbText", 0);
        mWriter.writeString(100, "AcDbText");
        if (text->verticalMode() != AcDb::kTextBase)
            mWriter.writeInt(73, text->verticalMode());
        extras(*text, "AcDbText", 1);
    } else if (const auto* pline = AcDbPolyline::cast(object)) {
        entityCommon(*pline, L"LWPOLYLINE", paperSpace);
        mWriter.writeString(100, "AcDbPolyline");
        mWriter.writeInt(90, pline->numVerts());
        std::int64_t flags = pline->isClosed() ? 1 : 0;
        if (const RawTag* kept70 = keptTag(*pline, 70)) {
            std::int64_t old = 0;
            drawing::parseInteger(kept70->value, old);
            flags |= old & ~1;
        }
        mWriter.writeInt(70, flags);
        double constant = 0;
        const bool isConstant = pline->getConstantWidth(constant) == Acad::eOk;
        if (isConstant && constant != 0)
            mWriter.writeDouble(43, constant);
        if (pline->elevation() != 0)
            mWriter.writeDouble(38, pline->elevation());
        if (pline->thickness() != 0)
            mWriter.writeDouble(39, pline->thickness());
        for (unsigned int k = 0; k < pline->numVerts(); ++k) {
            AcGePoint2d p;
            pline->getPointAt(k, p);
            mWriter.writePoint(10, p.x, p.y);
            double start = 0;
            double end = 0;
            pline->getWidthsAt(k, start, end);
            if (!isConstant && (start != 0 || end != 0)) {
                mWriter.writeDouble(40, start);
                mWriter.writeDouble(41, end);
            }
            double bulge = 0;
            pline->getBulgeAt(k, bulge);
            if (bulge != 0)
                mWriter.writeDouble(42, bulge);
        }
        normal(pline->normal());
        extras(*pline, "AcDbPolyline", 0, {70});
    } else if (const auto* polyline = AcDb2dPolyline::cast(object)) {
        entityCommon(*polyline, L"POLYLINE", paperSpace);
        mWriter.writeString(100, "AcDb2dPolyline");
        mWriter.writeInt(66, 1);
        mWriter.writePoint(10, 0.0, 0.0, polyline->elevation());
        std::int64_t flags = polyline->isClosed() ? 1 : 0;
        if (const RawTag* kept70 = keptTag(*polyline, 70)) {
            std::int64_t old = 0;
            drawing::parseInteger(kept70->value, old);
            flags |= old & ~1;
        }
        mWriter.writeInt(70, flags);
        if (polyline->defaultStartWidth() != 0)
            mWriter.writeDouble(40, polyline->defaultStartWidth());
        if (polyline->defaultEndWidth() != 0)
            mWriter.writeDouble(41, polyline->defaultEndWidth());
        normal(polyline->normal());
        extras(*polyline, "AcDb2dPolyline", 0, {70});
        xdata(*polyline);
        for (AcDbObjectId vertexId : polyline->hostVertexIds()) {
            const auto* vertex = AcDb2dVertex::cast(DatabaseImpl::peek(vertexId));
            if (vertex == nullptr || vertex->isErased())
                continue;
            objectStart(L"VERTEX", *vertex, polyline->objectId());
            mWriter.writeString(100, "AcDbEntity");
            if (paperSpace)
                mWriter.writeInt(67, 1);
            mWriter.writeText(8, nameOf(polyline->layerId()));
            mWriter.writeString(100, "AcDbVertex");
            mWriter.writeString(100, "AcDb2dVertex");
            AcGePoint3d p = vertex->position();
            mWriter.writePoint(10, p.x, p.y, p.z);
            // Widths equal to the polyline's defaults are the defaults.
            if (vertex->startWidth() != polyline->defaultStartWidth())
                mWriter.writeDouble(40, vertex->startWidth());
            if (vertex->endWidth() != polyline->defaultEndWidth())
                mWriter.writeDouble(41, vertex->endWidth());
            if (vertex->bulge() != 0)
                mWriter.writeDouble(42, vertex->bulge());
            if (keptTag(*vertex, 70) == nullptr)
                mWriter.writeInt(70, 0); // unless the file's own flags follow among the kept groups
            extras(*vertex, "AcDb2dVertex");
        }
        auto& end = mImpl.file.sequenceEnds[static_cast<const AcDbStub*>(polyline->objectId())];
        if (end.first.isNull())
            end.first = mImpl.allocateHandle();
        mWriter.writeString(0, "SEQEND");
        mWriter.writeHandle(5, end.first.value());
        mWriter.writeHandle(330, handleOf(polyline->objectId()));
        mWriter.writeString(100, "AcDbEntity");
        if (paperSpace)
            mWriter.writeInt(67, 1);
        mWriter.writeText(8, nameOf(polyline->layerId()));
        return;
    } else if (const auto* ref = AcDbBlockReference::cast(object)) {
        entityCommon(*ref, L"INSERT", paperSpace);
        mWriter.writeString(100, "AcDbBlockReference");
        mWriter.writeText(2, nameOf(ref->blockTableRecord()));
        point(10, ref->position());
        const AcGeScale3d scale = ref->scaleFactors();
        if (scale.sx != 1)
            mWriter.writeDouble(41, scale.sx);
        if (scale.sy != 1)
            mWriter.writeDouble(42, scale.sy);
        if (scale.sz != 1)
            mWriter.writeDouble(43, scale.sz);
        if (ref->rotation() != 0)
            mWriter.writeDouble(50, degrees(ref->rotation()));
        normal(ref->normal());
        extras(*ref, "AcDbBlockReference");
    } else if (const auto* dim = AcDbRadialDimension::cast(object)) {
        entityCommon(*dim, L"DIMENSION", paperSpace);
        mWriter.writeString(100, "AcDbDimension");
        if (mOptions.version >= Version::R2010)
            mWriter.writeInt(280, 0);
        auto block = mImpl.file.dimensionBlocks.find(static_cast<const AcDbStub*>(dim->objectId()));
        if (block != mImpl.file.dimensionBlocks.end())
            mWriter.writeText(2, block->second);
        point(10, dim->center());
        point(11,
            dim->textPosition().isEqualTo(AcGePoint3d::kOrigin) && dim->isUsingDefaultTextPosition()
                ? dim->hostLeaderEnd()
                : dim->textPosition());
        std::int64_t type = 4 | 32 | (dim->isUsingDefaultTextPosition() ? 0 : 128);
        if (const RawTag* kept70 = keptTag(*dim, 70)) {
            std::int64_t old = 0;
            drawing::parseInteger(kept70->value, old);
            type = (old & ~128) | (type & 128);
        }
        mWriter.writeInt(70, type);
        ACHAR* override = dim->dimensionText();
        if (*override != 0)
            mWriter.writeText(1, override);
        acutDelString(override);
        if (dim->textRotation() != 0)
            mWriter.writeDouble(53, degrees(dim->textRotation()));
        normal(dim->normal());
        mWriter.writeText(
            3, *nameOf(dim->dimensionStyle()) == 0 ? nameOf(mDb.dimstyle()) : nameOf(dim->dimensionStyle()));
        if (dim->hostDxfExtras() == nullptr) {
            // A dimension made here: the attachment and the measured value, as the host writes them. They
            // come where a file's kept groups come, so that the drawing read back is written the same.
            mWriter.writeInt(71, 5);
            double measured = 0;
            const_cast<AcDbRadialDimension*>(dim)->measurement(measured);
            mWriter.writeDouble(42, measured);
        }
        extras(*dim, "AcDbDimension", 0, {70, 280});
        mWriter.writeString(100, "AcDbRadialDimension");
        point(15, dim->chordPoint());
        mWriter.writeDouble(40, dim->leaderLength());
        extras(*dim, "AcDbRadialDimension");
        std::vector<arxhost::TypedValue> overrides;
        dimensionStyleOverrides(*dim, overrides);
        xdata(*dim, &overrides);
        return;
    } else {
        return;
    }
    xdata(*object);
}

void DrawingWriter::dimensionStyleOverrides(
    const AcDbDimension& dimension, std::vector<arxhost::TypedValue>& out)
{
    if (dimension.hostOverrides().empty())
        return;
    out.push_back({1001, std::wstring(L"ACAD")});
    out.push_back({1000, std::wstring(L"DSTYLE")});
    out.push_back({1002, std::wstring(L"{")});
    for (const auto& [var, value] : dimension.hostOverrides()) {
        const arxhost::DimVarInfo& info = arxhost::dimVarInfo(var);
        arxhost::TypedValue item;
        switch (info.kind) {
        case arxhost::DimVarKind::Real:
            item = {1040, std::get<double>(value)};
            break;
        case arxhost::DimVarKind::Int:
            item = {1070, static_cast<std::int64_t>(std::get<int>(value))};
            break;
        case arxhost::DimVarKind::Bool:
            item = {1070, static_cast<std::int64_t>(std::get<bool>(value) ? 1 : 0)};
            break;
        case arxhost::DimVarKind::Char:
            item = {1070, static_cast<std::int64_t>(std::get<wchar_t>(value))};
            break;
        case arxhost::DimVarKind::String:
            item = {1000, std::get<std::wstring>(value)};
            break;
        case arxhost::DimVarKind::Id: {
            AcDbObjectId id = std::get<AcDbObjectId>(value);
            if (id.isNull())
                continue;
            item = {1005, id};
            break;
        }
        case arxhost::DimVarKind::Arrow: {
            AcDbObjectId block = arxhost::arrowBlockId(&mDb, std::get<std::wstring>(value));
            if (block.isNull())
                continue; // an arrow named but not defined in the drawing: the default arrow
            item = {1005, block};
            break;
        }
        }
        out.push_back({1070, static_cast<std::int64_t>(info.dxfCode)});
        out.push_back(item);
    }
    out.push_back({1002, std::wstring(L"}")});
}

// ---------------------------------------------------------------------------------------------
// Objects

void DrawingWriter::object(AcDbObjectId id)
{
    flushIfFull();
    const AcDbObject* object = DatabaseImpl::peek(id);
    if (object == nullptr || object->isErased())
        return;
    std::vector<AcDbObjectId> reactors;
    if (AcDbDictionary::cast(DatabaseImpl::peek(object->ownerId())) != nullptr)
        reactors.push_back(object->ownerId());
    if (const auto* raw = arxhost::UnmodelledObject::cast(object)) {
        mWriter.writeText(0, raw->type());
        for (const RawTag& tag : raw->tags())
            kept(tag);
        return;
    }
    if (const auto* dictionary = AcDbDictionary::cast(object)) {
        objectStart(L"DICTIONARY", *dictionary, dictionary->ownerId(), reactors);
        mWriter.writeString(100, "AcDbDictionary");
        const bool hardOwner = keptTag(*dictionary, 360) != nullptr;
        extras(*dictionary, "AcDbDictionary", 0, {360});
        for (const auto& [key, entry] : dictionary->hostEntries()) {
            if (entry.isErased())
                continue;
            mWriter.writeText(3, key);
            mWriter.writeHandle(hardOwner ? 360 : 350, handleOf(entry));
        }
    } else if (const auto* xrecord = AcDbXrecord::cast(object)) {
        objectStart(L"XRECORD", *xrecord, xrecord->ownerId(), reactors);
        mWriter.writeString(100, "AcDbXrecord");
        if (const RawTag* cloning = keptTag(*xrecord, 280))
            kept(*cloning);
        else
            mWriter.writeInt(280, 1);
        for (const arxhost::TypedValue& value : xrecord->hostValues()) {
            std::visit(
                [&](const auto& v) {
                    using V = std::decay_t<decltype(v)>;
                    if constexpr (std::is_same_v<V, std::wstring>)
                        mWriter.writeText(value.code, v);
                    else if constexpr (std::is_same_v<V, double>)
                        mWriter.writeDouble(value.code, v);
                    else if constexpr (std::is_same_v<V, std::int64_t>) {
                        if (valueTypeOf(value.code) == ValueType::Bool)
                            mWriter.writeBool(value.code, v != 0);
                        else
                            mWriter.writeInt(value.code, v);
                    } else if constexpr (std::is_same_v<V, arxhost::TypedValue::Point>)
                        mWriter.writePoint(value.code, v[0], v[1], v[2]);
                    else if constexpr (std::is_same_v<V, AcDbObjectId>)
                        mWriter.writeHandle(value.code, handleOf(v));
                    else if constexpr (std::is_same_v<V, arxhost::TypedValue::Binary>)
                        mWriter.writeBinary(value.code, std::span<const std::uint8_t>(v.data(), v.size()));
                },
                value.value);
        }
    } else if (const auto* group = AcDbGroup::cast(object)) {
        objectStart(L"GROUP", *group, group->ownerId(), reactors);
        mWriter.writeString(100, "AcDbGroup");
        mWriter.writeText(300, group->description());
        mWriter.writeInt(70, group->isAnonymous() ? 1 : 0);
        mWriter.writeInt(71, group->isSelectable() ? 1 : 0);
        for (AcDbObjectId member : group->hostMembers())
            if (!member.isErased())
                mWriter.writeHandle(340, handleOf(member));
        extras(*group, "AcDbGroup");
    } else {
        return;
    }
    xdata(*object);
}

void DrawingWriter::objects()
{
    mWriter.writeString(0, "SECTION");
    mWriter.writeString(2, "OBJECTS");
    object(mImpl.namedObjects);
    for (AcDbStub& stubRef : mImpl.stubs()) {
        AcDbStub* stub = &stubRef;
        const AcDbObject* o = stub->object();
        if (o == nullptr || o->isErased() || AcDbEntity::cast(o) != nullptr
            || AcDbSymbolTable::cast(o) != nullptr || AcDbSymbolTableRecord::cast(o) != nullptr
            || AcDbObjectId(stub) == mImpl.namedObjects)
            continue;
        if (const auto* raw = arxhost::UnmodelledObject::cast(o)) {
            // Unmodelled tables and their records were written in TABLES.
            if (raw->type() == L"TABLE")
                continue;
            if (const auto* owner = arxhost::UnmodelledObject::cast(DatabaseImpl::peek(raw->ownerId()));
                owner != nullptr && owner->type() == L"TABLE")
                continue;
        }
        object(AcDbObjectId(stub));
    }
    mWriter.writeString(0, "ENDSEC");
}

void DrawingWriter::reserveWriterHandles()
{
    // Records the file needs and the host does not keep as objects (BLOCK, ENDBLK, SEQEND) get their
    // handles before the header states $HANDSEED, so that the seed stays above every handle written.
    const auto* table = AcDbBlockTable::cast(DatabaseImpl::peek(mImpl.blockTable));
    for (AcDbObjectId blockId : table->hostRecordIds()) {
        if (blockId.isErased())
            continue;
        arxhost::DrawingFileData::BlockEnds& ends = mImpl.file.blocks[blockId];
        if (ends.begin.isNull())
            ends.begin = mImpl.allocateHandle();
        if (ends.end.isNull())
            ends.end = mImpl.allocateHandle();
    }
    for (AcDbStub& stub : mImpl.stubs()) {
        const auto* polyline = AcDb2dPolyline::cast(stub.object());
        if (polyline == nullptr || polyline->isErased())
            continue;
        AcDbHandle& end = mImpl.file.sequenceEnds[&stub].first;
        if (end.isNull())
            end = mImpl.allocateHandle();
    }
}

void DrawingWriter::write()
{
    completeForVersion();
    prepareDimensionBlocks();
    reserveWriterHandles();
    // Which groups hold each entity, for the entities' reactor lists.
    if (const auto* groups = AcDbDictionary::cast(DatabaseImpl::peek(mImpl.groupDictionary)))
        for (const auto& [key, groupId] : groups->hostEntries())
            if (const auto* group = AcDbGroup::cast(DatabaseImpl::peek(groupId));
                group != nullptr && !group->isErased())
                for (AcDbObjectId member : group->hostMembers())
                    mGroupsOf[member].push_back(groupId);

    header();
    classes();
    tables();
    blocks();
    entities();
    objects();
    otherSections();
    mWriter.writeString(0, "EOF");
    mSink(mWriter.data());
    mWriter.clear();
}

} // namespace

void writeDrawing(AcDbDatabase& db, const WriteOptions& options, const OutputSink& sink)
{
    DrawingWriter writer(db, options, sink);
    writer.write();
}

std::string writeDrawing(AcDbDatabase& db, const WriteOptions& options)
{
    std::string text;
    writeDrawing(db, options, [&text](std::string_view chunk) { text.append(chunk); });
    return text;
}

bool parseVersion(std::string_view text, Version& out)
{
    struct Name {
        std::string_view release;
        std::string_view acadver;
        std::string_view year;
        Version version;
    };
    static constexpr Name names[] = {
        {"R2000", "AC1015", "2000", Version::R2000},
        {"R2004", "AC1018", "2004", Version::R2004},
        {"R2007", "AC1021", "2007", Version::R2007},
        {"R2010", "AC1024", "2010", Version::R2010},
        {"R2013", "AC1027", "2013", Version::R2013},
        {"R2018", "AC1032", "2018", Version::R2018},
    };
    for (const Name& name : names) {
        if (text == name.release || text == name.acadver || text == name.year) {
            out = name.version;
            return true;
        }
    }
    return false;
}

bool saveDrawingFile(
    AcDbDatabase& db, const std::filesystem::path& file, const WriteOptions& options, std::string& error)
{
    const std::filesystem::path target = std::filesystem::absolute(file);
    const std::filesystem::path folder = target.parent_path();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        error = "cannot save " + file.string() + ": the folder " + folder.string() + " does not exist";
        return false;
    }
    // Written beside the target first, so that the rename replaces it in one step.
    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        error = "cannot save " + file.string() + ": " + std::strerror(errno);
        return false;
    }
    auto fail = [&](const std::string& why) {
        close(fd);
        unlink(temporary.c_str());
        error = "cannot save " + file.string() + ": " + why;
        return false;
    };
    struct WriteFailed {
        int error;
    };
    try {
        writeDrawing(db, options, [fd](std::string_view chunk) {
            std::size_t done = 0;
            while (done < chunk.size()) {
                const ssize_t n = ::write(fd, chunk.data() + done, chunk.size() - done);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n < 0)
                    throw WriteFailed {errno};
                done += static_cast<std::size_t>(n);
            }
        });
    } catch (const WriteFailed& failure) {
        return fail(std::strerror(failure.error));
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    if (fsync(fd) != 0)
        return fail(std::strerror(errno));
    // The new file gets the permissions the old one had (or the usual ones).
    struct stat old { };
    if (::stat(target.c_str(), &old) == 0)
        fchmod(fd, old.st_mode & 07777);
    else
        fchmod(fd, 0644);
    if (close(fd) != 0) {
        unlink(temporary.c_str());
        error = "cannot save " + file.string() + ": " + std::strerror(errno);
        return false;
    }
    if (std::rename(temporary.c_str(), target.c_str()) != 0) {
        const int why = errno;
        unlink(temporary.c_str());
        error = "cannot save " + file.string() + ": " + std::strerror(why);
        return false;
    }
    // File names are UTF-8 bytes here; path::wstring() would throw for non-ASCII in the "C" locale.
    db.impl().fileName = arxhost::fromUtf8(target.string());
    return true;
}

} // namespace dxf
