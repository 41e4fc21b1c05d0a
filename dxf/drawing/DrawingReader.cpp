// Reading a DXF drawing: sections, tables, blocks, entities and objects into the host's database.
#include "dxf/drawing/DrawingReader.h"

#include "dxf/drawing/DimensionShape.h"

#include <algorithm>
#include <array>
#include <cwctype>
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
#include "dxf/TagReader.h"
#include "dxf/drawing/LegacyRecords.h"
#include "dxf/drawing/RecordTags.h"
#include "text/Utf8.h"

namespace dxf {

namespace {

using arxhost::DatabaseImpl;
using arxhost::RawTag;
using arxhost::RawTags;
using drawing::keepTag;

constexpr double kPi = 3.14159265358979323846;
// Objects without a handle in the file get one from far above any real handle, renumbered at the end.
constexpr std::uint64_t kProvisionalHandles = std::uint64_t {1} << 48;

std::wstring upper(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
    return text;
}

// A lineweight (group 370): one of the widths DXF knows, in hundredths of a millimetre, or ByLayer
// (-1), ByBlock (-2), Default (-3). Anything else is not a value of AcDb::LineWeight.
AcDb::LineWeight lineWeightOf(const Tag& tag)
{
    static constexpr std::array<std::int64_t, 27> kWeights {-3, -2, -1, 0, 5, 9, 13, 15, 18, 20, 25, 30, 35,
        40, 50, 53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
    const std::int64_t value = tag.asInt();
    if (std::find(kWeights.begin(), kWeights.end(), value) == kWeights.end())
        throwReadError(tag.position(), std::to_string(value) + " is not a lineweight (group code 370)");
    return static_cast<AcDb::LineWeight>(value);
}

// Records that give the file its structure, never an entity: one of them where an entity belongs means
// the section or block around it is broken (an ENDSEC inside a block would end the ENTITIES section the
// entity is written to).
bool isStructure(std::string_view type)
{
    return type == "SECTION" || type == "ENDSEC" || type == "TABLE" || type == "ENDTAB" || type == "BLOCK"
        || type == "ENDBLK";
}

// The subclass a group belongs to while a record is read: its last 100 marker.
struct Extras {
    RawTags tags;
    std::string_view section;
    bool sectionWritten = true;

    void marker(std::string_view subclass)
    {
        section = subclass;
        sectionWritten = false;
    }
    void keep(const Tag& tag)
    {
        if (!sectionWritten) {
            tags.push_back({100, std::string(section)});
            sectionWritten = true;
        }
        tags.push_back(keepTag(tag));
    }
    arxhost::SharedRawTags share()
    {
        if (tags.empty())
            return nullptr;
        return std::make_shared<const RawTags>(std::move(tags));
    }
};

// The groups of each modelled entity type that the host turns into the entity's own values; the
// others are kept as they were.
const std::vector<int>& codesModelledFor(std::string_view type)
{
    static const std::vector<int> line = {10, 20, 30, 11, 21, 31, 39, 210, 220, 230};
    static const std::vector<int> arc = {10, 20, 30, 40, 50, 51, 39, 210, 220, 230};
    static const std::vector<int> circle = {10, 20, 30, 40, 39, 210, 220, 230};
    static const std::vector<int> point = {10, 20, 30, 39, 50, 210, 220, 230};
    static const std::vector<int> text
        = {10, 20, 30, 11, 21, 31, 40, 1, 50, 41, 51, 7, 71, 72, 73, 39, 210, 220, 230};
    static const std::vector<int> lwpolyline = {90, 70, 43, 38, 39, 10, 20, 40, 41, 42, 210, 220, 230};
    static const std::vector<int> insert = {2, 10, 20, 30, 41, 42, 43, 50, 210, 220, 230};
    static const std::vector<int> dimension
        = {2, 3, 10, 20, 30, 11, 21, 31, 15, 25, 35, 40, 1, 53, 210, 220, 230};
    if (type == "LINE")
        return line;
    if (type == "ARC")
        return arc;
    if (type == "CIRCLE")
        return circle;
    if (type == "POINT")
        return point;
    if (type == "TEXT")
        return text;
    if (type == "LWPOLYLINE")
        return lwpolyline;
    if (type == "INSERT")
        return insert;
    return dimension;
}

// What a record says about its place among the objects: handle, owner, reactors, extension dictionary.
struct Identity {
    std::optional<std::uint64_t> handle;
    std::optional<std::uint64_t> owner;
    std::vector<std::uint64_t> reactors;
    std::optional<std::uint64_t> extensionDictionary;
};

class DrawingReader {
public:
    DrawingReader(TagReader& reader, AcDbDatabase& db)
        : mReader(reader)
        , mImpl(db.impl())
    {
    }

    void read();

private:
    // ---- Records ----
    // The next tag, comments (999) left out.
    bool next(Tag& tag)
    {
        while (mReader.next(tag))
            if (tag.code != 999)
                return true;
        return false;
    }
    bool nextRecord();
    [[noreturn]] void fail(const std::string& what) const { throwReadError(mRecordPosition, what); }
    [[noreturn]] void failAt(const Tag& tag, const std::string& what) const
    {
        throwReadError(tag.position(), what);
    }
    std::string recordName() const { return std::string(mType); }

    // ---- Sections ----
    void readHeader();
    void readClasses();
    void readTables();
    void readBlocks();
    void readEntities();
    void readObjects();
    void readOtherSection(const std::string& name);

    // ---- Objects in general ----
    // Handles the groups every object has (5, 102 groups, 330); true when the tag was one of them.
    bool identityTag(std::size_t& i, Identity& id, Extras& extras);
    AcDbObjectId addObject(AcDbObject* object, AcDbObjectId owner, const Identity& id, const Tag& where);
    void keepIdentityLinks(AcDbObjectId id, const Identity& identity);
    // Extended data from the first 1001 group on; returns the index where it starts (or the size).
    std::size_t xdataStart() const;
    void readXData(std::size_t from, arxhost::TypedValues& out);

    // ---- Tables ----
    void readTable();
    AcDbObjectId tableIdFor(const std::string& name);

    // ---- Entities ----
    void readEntity(AcDbObjectId space, std::vector<AcDbObjectId>& entities);
    bool commonEntityTag(const Tag& tag, AcDbEntity& entity, bool& paperSpace);
    AcDbObjectId layerNamed(const std::wstring& name);
    AcDbObjectId linetypeNamed(const std::wstring& name);
    AcDbObjectId textStyleNamed(const std::wstring& name);
    void readUnmodelledEntity(AcDbObjectId space, std::vector<AcDbObjectId>& entities);
    void readPolyline(AcDbObjectId space, std::vector<AcDbObjectId>& entities);

    // ---- Objects section ----
    void readDictionary();
    void readXrecord();
    void readGroup();
    void readUnmodelledObject();

    // ---- Finishing ----
    void resolveLinks();
    void refuseCircularBlocks() const;
    void applyHeader();
    void completeDrawing();
    void renumberProvisionalHandles();

    TagReader& mReader;
    DatabaseImpl& mImpl;
    Tag mTag;
    std::string_view mType;
    std::vector<Tag> mTags;
    Position mRecordPosition;

    std::uint64_t mNextProvisional = kProvisionalHandles;
    std::uint64_t mMaxHandle = 0;
    std::uint64_t mHeaderSeed = 0;
    std::vector<AcDbStub*> mProvisional;

    std::unordered_map<std::wstring, AcDbObjectId> mLayers; // upper-case name → layer
    std::unordered_map<std::wstring, AcDbObjectId> mLinetypes;
    std::unordered_map<std::wstring, AcDbObjectId> mTextStyles;
    std::unordered_map<std::wstring, AcDbObjectId> mBlocks;

    // Links resolved once every object is known.
    struct OwnerLink {
        AcDbStub* stub;
        std::uint64_t owner;
    };
    struct DictionaryEntry {
        AcDbStub* dictionary;
        std::wstring key;
        std::uint64_t handle;
        Position where;
    };
    struct GroupMember {
        AcDbStub* group;
        std::uint64_t handle;
        Position where;
    };
    struct NameLink {
        AcDbStub* stub;
        std::wstring name;
        Position where;
    };
    struct HandleLinks {
        AcDbStub* stub;
        std::vector<std::uint64_t> reactors;
        std::optional<std::uint64_t> extensionDictionary;
    };
    struct XrecordHandles {
        AcDbStub* xrecord;
        std::vector<std::pair<std::size_t, std::uint64_t>> values; // index in the values → handle
    };
    std::vector<OwnerLink> mOwners;
    std::vector<DictionaryEntry> mEntries;
    std::vector<GroupMember> mMembers;
    std::vector<NameLink> mBlockReferences;
    std::vector<NameLink> mDimensionStyles;
    std::vector<HandleLinks> mLinks;
    std::vector<XrecordHandles> mXrecordHandles;
    struct DimensionOverride {
        AcDbStub* dimension;
        arxhost::DimVar var;
        std::string value;
        bool handle;
    };
    std::vector<DimensionOverride> mDimensionOverrides;
    AcDbObjectId mRootDictionary;
    std::string mLastLayerBytes;
    AcDbObjectId mLastLayer;
    std::wstring mPaperSpaceName;
};

// ---------------------------------------------------------------------------------------------
// Records

bool DrawingReader::nextRecord()
{
    mTags.clear();
    if (!next(mTag))
        return false;
    if (mTag.code != 0)
        failAt(mTag, "expected group code 0 (a new record), found group code " + std::to_string(mTag.code));
    mType = mTag.raw();
    mRecordPosition = mTag.position();
    Tag tag;
    while (next(tag)) {
        if (tag.code == 0) {
            mReader.unget();
            return true;
        }
        mTags.push_back(tag);
    }
    return true;
}

void DrawingReader::read()
{
    mImpl.undo().suspend(true);
    mImpl.suspendIndex(true);
    mImpl.setLoading(true);
    Tag tag;
    while (next(tag)) {
        if (!tag.is(0, "SECTION"))
            failAt(tag,
                "expected 0/SECTION, found " + std::to_string(tag.code) + "/" + quoteForMessage(tag.raw()));
        if (!next(tag) || tag.code != 2)
            failAt(tag, "a SECTION record must name its section with group code 2");
        const std::string name(tag.raw());
        // $ACADVER and $DWGCODEPAGE set the encoding in the HEADER section only: elsewhere a group 9 is
        // data of a record (kept as it is), which must not switch the encoding of the rest of the file.
        mReader.followHeader(name == "HEADER");
        if (name == "HEADER")
            readHeader();
        else if (name == "CLASSES")
            readClasses();
        else if (name == "TABLES")
            readTables();
        else if (name == "BLOCKS")
            readBlocks();
        else if (name == "ENTITIES")
            readEntities();
        else if (name == "OBJECTS")
            readObjects();
        else
            readOtherSection(name);
    }
    completeDrawing();
    resolveLinks();
    applyHeader();
    renumberProvisionalHandles();
    // How each dimension with a block looks as read: saving makes the block again only if that changes.
    for (const auto& [stub, block] : mImpl.file.dimensionBlocks) {
        if (const auto* dim = AcDbRadialDimension::cast(DatabaseImpl::peek(AcDbObjectId(stub))))
            mImpl.file.dimensionShapes[stub] = dimensionShape(*dim);
    }
    mImpl.file.version
        = std::string(mReader.codec().version() == 0 ? "" : "AC" + std::to_string(mReader.codec().version()));
    mImpl.file.codePage = std::string(mReader.codec().codePage());
    mImpl.setLoading(false);
    mImpl.suspendIndex(false);
    mImpl.invalidateIndex();
    mImpl.undo().suspend(false);
}

// ---------------------------------------------------------------------------------------------
// Sections

void DrawingReader::readHeader()
{
    Tag tag;
    std::string name;
    RawTags values;
    while (true) {
        if (!next(tag))
            fail("the HEADER section has no ENDSEC");
        if (tag.code == 0) {
            if (!tag.is(0, "ENDSEC"))
                failAt(tag, "expected 0/ENDSEC at the end of the HEADER section");
            break;
        }
        if (tag.code == 9) {
            if (!name.empty())
                mImpl.file.header.emplace_back(std::move(name), std::move(values));
            name = std::string(tag.raw());
            values.clear();
            continue;
        }
        if (name.empty())
            failAt(tag, "a header value comes before any $VARIABLE name");
        values.push_back(keepTag(tag));
    }
    if (!name.empty())
        mImpl.file.header.emplace_back(std::move(name), std::move(values));
    for (const auto& [variable, tags] : mImpl.file.header) {
        if (variable == "$HANDSEED" && !tags.empty())
            drawing::parseHandle(tags.front().value, mHeaderSeed);
    }
}

void DrawingReader::readClasses()
{
    while (nextRecord()) {
        if (mType == "ENDSEC")
            return;
        arxhost::RawRecord record;
        record.type = arxhost::fromUtf8(mType);
        for (const Tag& tag : mTags)
            record.tags.push_back(keepTag(tag));
        mImpl.file.classes.push_back(std::move(record));
    }
    fail("the CLASSES section has no ENDSEC");
}

void DrawingReader::readOtherSection(const std::string& name)
{
    std::vector<arxhost::RawRecord> records;
    Tag tag;
    // Sections such as THUMBNAILIMAGE hold groups before any record: they go into a record of no type.
    arxhost::RawRecord loose;
    while (true) {
        if (!next(tag))
            fail("the " + name + " section has no ENDSEC");
        if (tag.code == 0) {
            if (tag.is(0, "ENDSEC"))
                break;
            if (!loose.tags.empty() || !loose.type.empty())
                records.push_back(std::move(loose));
            loose = arxhost::RawRecord();
            loose.type = arxhost::fromUtf8(tag.raw());
            continue;
        }
        loose.tags.push_back(keepTag(tag));
    }
    if (!loose.tags.empty() || !loose.type.empty())
        records.push_back(std::move(loose));
    mImpl.file.otherSections.emplace_back(name, std::move(records));
}

// ---------------------------------------------------------------------------------------------
// Objects in general

bool DrawingReader::identityTag(std::size_t& i, Identity& id, Extras& extras)
{
    const Tag& tag = mTags[i];
    switch (tag.code) {
    case 5:
    case 105: {
        // Some writers of old files leave the handle empty: the object gets one of its own.
        if (tag.raw().find_first_not_of(' ') == std::string_view::npos)
            return true;
        auto handle = tag.tryHandle();
        if (!handle || *handle == 0)
            failAt(tag, "handle " + quoteForMessage(tag.raw()) + " is not a hexadecimal number");
        id.handle = handle;
        return true;
    }
    case 330:
        if (!id.owner) {
            auto owner = tag.tryHandle();
            id.owner = owner.value_or(0);
            return true;
        }
        extras.keep(tag);
        return true;
    case 102: {
        const std::string_view text = tag.raw();
        if (text == "{ACAD_REACTORS" || text == "{ACAD_XDICTIONARY") {
            const bool reactors = text == "{ACAD_REACTORS";
            for (++i; i < mTags.size() && !(mTags[i].code == 102 && mTags[i].raw() == "}"); ++i) {
                auto handle = mTags[i].tryHandle();
                if (!handle)
                    continue;
                if (reactors)
                    id.reactors.push_back(*handle);
                else
                    id.extensionDictionary = *handle;
            }
            if (i >= mTags.size())
                failAt(tag, "group " + std::string(text) + " is not closed by 102/}");
            return true;
        }
        // Other applications' 102 groups are kept as they are.
        extras.keep(tag);
        return true;
    }
    default:
        return false;
    }
}

AcDbObjectId DrawingReader::addObject(
    AcDbObject* object, AcDbObjectId owner, const Identity& id, const Tag& where)
{
    std::unique_ptr<AcDbObject> owned(object); // ours until the database takes it
    std::uint64_t handle = 0;
    if (id.handle) {
        handle = *id.handle;
        if (handle >= kProvisionalHandles)
            failAt(where, "handle " + std::to_string(handle) + " is out of range");
        if (mImpl.stubOf(AcDbHandle(handle)) != nullptr) {
            throwReadError(mRecordPosition,
                "handle " + arxhost::toUtf8(arxhost::handleText(AcDbHandle(handle))) + " is used twice");
        }
        mMaxHandle = std::max(mMaxHandle, handle);
    } else {
        handle = mNextProvisional++;
    }
    AcDbObjectId objectId;
    if (mImpl.add(object, owner, objectId, AcDbHandle(handle)) != Acad::eOk)
        throwReadError(mRecordPosition, "cannot add the " + recordName() + " record to the drawing");
    owned.release();
    mImpl.close(objectId);
    if (!id.handle)
        mProvisional.push_back(objectId);
    return objectId;
}

void DrawingReader::keepIdentityLinks(AcDbObjectId id, const Identity& identity)
{
    if (!identity.reactors.empty() || identity.extensionDictionary)
        mLinks.push_back({id, identity.reactors, identity.extensionDictionary});
}

std::size_t DrawingReader::xdataStart() const
{
    for (std::size_t i = 0; i < mTags.size(); ++i)
        if (mTags[i].code == 1001)
            return i;
    return mTags.size();
}

void DrawingReader::readXData(std::size_t from, arxhost::TypedValues& out)
{
    for (std::size_t i = from; i < mTags.size(); ++i) {
        const Tag& tag = mTags[i];
        const int code = tag.code;
        arxhost::TypedValue value;
        value.code = static_cast<short>(code);
        // Extended data has strings (1000-1009), points (1010-1013 and their Y and Z), reals (1040-1042)
        // and integers (1070, 1071); the codes between have no meaning there.
        if (code < 1000 || code > 1071 || (code >= 1014 && code <= 1019) || (code >= 1043 && code <= 1069))
            failAt(tag, "group code " + std::to_string(code) + " cannot be part of extended data");
        if (code >= 1010 && code <= 1013) {
            arxhost::TypedValue::Point p {tag.asDouble(), 0, 0};
            if (i + 1 < mTags.size() && mTags[i + 1].code == code + 10)
                p[1] = mTags[++i].asDouble();
            if (i + 1 < mTags.size() && mTags[i + 1].code == code + 20)
                p[2] = mTags[++i].asDouble();
            value.value = p;
        } else if (code >= 1020 && code <= 1039) {
            failAt(tag, "extended data coordinate " + std::to_string(code) + " without its X value");
        } else if (code >= 1040 && code <= 1042) {
            value.value = tag.asDouble();
        } else if (code == 1070 || code == 1071) {
            value.value = tag.asInt();
        } else if (code == 1004) {
            std::vector<std::uint8_t> bytes = tag.asBinary();
            value.value = arxhost::TypedValue::Binary(bytes.begin(), bytes.end());
        } else {
            value.value = tag.asText();
        }
        out.push_back(std::move(value));
    }
}

// ---------------------------------------------------------------------------------------------
// Tables

AcDbObjectId DrawingReader::tableIdFor(const std::string& name)
{
    if (name == "LAYER")
        return mImpl.layerTable;
    if (name == "LTYPE")
        return mImpl.linetypeTable;
    if (name == "STYLE")
        return mImpl.textStyleTable;
    if (name == "APPID")
        return mImpl.regAppTable;
    if (name == "DIMSTYLE")
        return mImpl.dimStyleTable;
    if (name == "BLOCK_RECORD")
        return mImpl.blockTable;
    return AcDbObjectId();
}

void DrawingReader::readTables()
{
    while (nextRecord()) {
        if (mType == "ENDSEC")
            return;
        if (mType != "TABLE")
            fail("expected 0/TABLE in the TABLES section, found " + quoteForMessage(mType));
        readTable();
    }
    fail("the TABLES section has no ENDSEC");
}

namespace {

AcDbSymbolTable* newTable(const std::string& name)
{
    if (name == "LAYER")
        return new AcDbLayerTable();
    if (name == "LTYPE")
        return new AcDbLinetypeTable();
    if (name == "STYLE")
        return new AcDbTextStyleTable();
    if (name == "APPID")
        return new AcDbRegAppTable();
    if (name == "DIMSTYLE")
        return new AcDbDimStyleTable();
    if (name == "BLOCK_RECORD")
        return new AcDbBlockTable();
    return nullptr;
}

} // namespace

void DrawingReader::readTable()
{
    // The TABLE record: its name, handle and the groups of the table object itself.
    if (mTags.empty() || mTags.front().code != 2)
        fail("a TABLE record must name its table with group code 2");
    const std::string name(mTags.front().raw());
    const Tag tableTag = mTags.front();
    Identity identity;
    Extras extras;
    RawTags rawTable;
    for (std::size_t i = 1; i < mTags.size(); ++i) {
        const Tag& tag = mTags[i];
        rawTable.push_back(keepTag(tag));
        if (identityTag(i, identity, extras))
            continue;
        if (tag.code == 100)
            extras.marker(tag.raw());
        else if (tag.code != 70)
            extras.keep(tag);
    }
    if (!tableIdFor(name).isNull())
        fail("the " + name + " table comes twice");
    AcDbSymbolTable* table = newTable(name);
    AcDbObjectId tableId;
    if (table != nullptr) {
        table->hostSetDxfExtras(extras.share());
        tableId = addObject(table, AcDbObjectId(), identity, tableTag);
        if (name == "LAYER")
            mImpl.layerTable = tableId;
        else if (name == "LTYPE")
            mImpl.linetypeTable = tableId;
        else if (name == "STYLE")
            mImpl.textStyleTable = tableId;
        else if (name == "APPID")
            mImpl.regAppTable = tableId;
        else if (name == "DIMSTYLE")
            mImpl.dimStyleTable = tableId;
        else if (name == "BLOCK_RECORD")
            mImpl.blockTable = tableId;
    } else {
        // A table the host does not model (VPORT, VIEW, UCS): kept with its records.
        RawTags tags;
        tags.push_back(keepTag(tableTag));
        RawTags rest = drawing::withSubclassMarkers(L"TABLE", rawTable);
        tags.insert(tags.end(), rest.begin(), rest.end());
        Identity rawIdentity;
        rawIdentity.handle = identity.handle;
        tableId = addObject(
            new arxhost::UnmodelledObject(L"TABLE", std::move(tags)), AcDbObjectId(), rawIdentity, tableTag);
        mImpl.file.unmodelledTables[name] = tableId;
    }

    while (nextRecord()) {
        if (mType == "ENDTAB")
            return;
        if (table == nullptr) {
            RawTags tags;
            Identity recordIdentity;
            for (const Tag& tag : mTags) {
                tags.push_back(keepTag(tag));
                if ((tag.code == 5 || tag.code == 105) && !recordIdentity.handle)
                    recordIdentity.handle = tag.tryHandle();
            }
            const std::wstring recordType = arxhost::fromUtf8(mType);
            tags = drawing::withSubclassMarkers(recordType, tags);
            addObject(
                new arxhost::UnmodelledObject(recordType, std::move(tags)), tableId, recordIdentity, mTag);
            continue;
        }
        Identity recordIdentity;
        Extras recordExtras;
        std::wstring entryName;
        std::unique_ptr<AcDbSymbolTableRecord> owned; // until the database takes it
        // A record of one table inside another would be written with neither (a block record among the
        // dimension styles, and the entities of that block lost with it).
        if (mType != name)
            fail("a " + recordName() + " record cannot be part of the " + name + " table");
        if (mType == "LAYER")
            owned = std::make_unique<AcDbLayerTableRecord>();
        else if (mType == "LTYPE")
            owned = std::make_unique<AcDbLinetypeTableRecord>();
        else if (mType == "STYLE")
            owned = std::make_unique<AcDbTextStyleTableRecord>();
        else if (mType == "APPID")
            owned = std::make_unique<AcDbRegAppTableRecord>();
        else if (mType == "DIMSTYLE")
            owned = std::make_unique<AcDbDimStyleTableRecord>();
        else if (mType == "BLOCK_RECORD")
            owned = std::make_unique<AcDbBlockTableRecord>();
        else
            fail("a " + recordName() + " record cannot be part of the " + name + " table");
        AcDbSymbolTableRecord* record = owned.get();

        auto* layer = AcDbLayerTableRecord::cast(record);
        auto* linetype = AcDbLinetypeTableRecord::cast(record);
        auto* style = AcDbTextStyleTableRecord::cast(record);
        auto* dimstyle = AcDbDimStyleTableRecord::cast(record);
        std::wstring layerLinetype;
        std::vector<double> dashes;
        std::vector<std::pair<arxhost::DimVar, std::string>> styleHandles;
        for (std::size_t i = 0; i < mTags.size(); ++i) {
            const Tag& tag = mTags[i];
            // In R12 dimension styles, 5, 6 and 7 name the arrow blocks (the handle is 105).
            if (dimstyle != nullptr && (tag.code == 5 || tag.code == 6 || tag.code == 7)) {
                const arxhost::DimVar arrow = tag.code == 5 ? arxhost::DimVar::Dimblk
                    : tag.code == 6                         ? arxhost::DimVar::Dimblk1
                                                            : arxhost::DimVar::Dimblk2;
                dimstyle->hostSetValue(arrow, tag.asText());
                continue;
            }
            if (identityTag(i, recordIdentity, recordExtras))
                continue;
            if (tag.code == 100) {
                recordExtras.marker(tag.raw());
                continue;
            }
            if (tag.code == 1001)
                break;
            if (tag.code == 2) {
                entryName = tag.asText();
                continue;
            }
            bool used = true;
            if (layer != nullptr) {
                switch (tag.code) {
                case 70: {
                    const std::int64_t flags = tag.asInt();
                    layer->setIsFrozen((flags & 1) != 0);
                    layer->setIsLocked((flags & 4) != 0);
                    if ((flags & ~5) != 0)
                        used = false; // xref bits and the like stay as they were
                    break;
                }
                case 62: {
                    std::int64_t color = tag.asInt();
                    layer->setIsOff(color < 0);
                    AcCmColor c;
                    c.setColorIndex(static_cast<Adesk::UInt16>(std::min<std::int64_t>(std::abs(color), 255)));
                    layer->setColor(c);
                    break;
                }
                case 6:
                    layerLinetype = tag.asText();
                    break;
                case 290:
                    layer->setIsPlottable(tag.asInt() != 0);
                    break;
                case 370:
                    layer->setLineWeight(lineWeightOf(tag));
                    break;
                default:
                    used = false;
                }
            } else if (linetype != nullptr) {
                switch (tag.code) {
                case 3:
                    linetype->setComments(tag.asText().c_str());
                    break;
                case 49:
                    dashes.push_back(tag.asDouble());
                    break;
                case 70:
                case 72:
                case 73:
                case 40:
                    break;
                default:
                    // Complex dash elements (shapes, texts) stay as they were, in order.
                    used = false;
                }
            } else if (style != nullptr) {
                switch (tag.code) {
                case 70:
                    style->setFlagBits(static_cast<Adesk::UInt8>(tag.asInt()));
                    break;
                case 40:
                    style->setTextSize(std::max(0.0, tag.asDouble()));
                    break;
                case 41:
                    if (tag.asDouble() > 0)
                        style->setXScale(tag.asDouble());
                    break;
                case 50:
                    style->setObliquingAngle(tag.asDouble() * kPi / 180.0);
                    break;
                case 42:
                    style->setPriorSize(tag.asDouble());
                    break;
                case 3:
                    style->setFileName(tag.asText().c_str());
                    break;
                case 4:
                    style->setBigFontFileName(tag.asText().c_str());
                    break;
                default:
                    used = false;
                }
            } else if (dimstyle != nullptr) {
                used = false;
                if (tag.code != 70) {
                    for (int v = 0; v < static_cast<int>(arxhost::DimVar::Count); ++v) {
                        const auto& info = arxhost::dimVarInfo(static_cast<arxhost::DimVar>(v));
                        if (info.dxfCode != tag.code)
                            continue;
                        used = true;
                        switch (info.kind) {
                        case arxhost::DimVarKind::Real:
                            dimstyle->hostSetValue(info.var, tag.asDouble());
                            break;
                        case arxhost::DimVarKind::Int:
                            dimstyle->hostSetValue(info.var, static_cast<int>(tag.asInt()));
                            break;
                        case arxhost::DimVarKind::Bool:
                            dimstyle->hostSetValue(info.var, tag.asInt() != 0);
                            break;
                        case arxhost::DimVarKind::Char:
                            dimstyle->hostSetValue(info.var, static_cast<wchar_t>(tag.asInt()));
                            break;
                        case arxhost::DimVarKind::String:
                            dimstyle->hostSetValue(info.var, tag.asText());
                            break;
                        case arxhost::DimVarKind::Id:
                        case arxhost::DimVarKind::Arrow:
                            // Handles of styles and arrow blocks: resolved once every object is known.
                            styleHandles.emplace_back(info.var, std::string(tag.raw()));
                            break;
                        }
                    }
                } else {
                    used = true;
                }
            } else {
                // APPID and BLOCK_RECORD: the flags and everything else stay as they were.
                used = false;
            }
            if (!used)
                recordExtras.keep(tag);
        }
        // Styles of shape files have no name; every other record needs one.
        if (entryName.empty() && style == nullptr)
            fail("a " + recordName() + " record has no name (group code 2)");
        record->hostSetName(entryName.c_str());
        if (linetype != nullptr) {
            linetype->setNumDashes(static_cast<int>(dashes.size()));
            for (std::size_t k = 0; k < dashes.size(); ++k)
                linetype->setDashLengthAt(static_cast<int>(k), dashes[k]);
        }
        arxhost::TypedValues xdata;
        readXData(xdataStart(), xdata);
        record->xdataValuesForWrite() = std::move(xdata);
        record->hostSetDxfExtras(recordExtras.share());
        AcDbObjectId recordId = addObject(owned.release(), tableId, recordIdentity, mTag);
        keepIdentityLinks(recordId, recordIdentity);
        static_cast<AcDbSymbolTable*>(mImpl.modify(tableId))->hostAdoptRecord(recordId);
        for (auto& [var, handle] : styleHandles)
            mDimensionOverrides.push_back({recordId, var, handle, true});
        const std::wstring key = upper(entryName);
        if (layer != nullptr) {
            mLayers[key] = recordId;
            AcDbObjectId linetypeId = layerLinetype.empty() ? AcDbObjectId() : linetypeNamed(layerLinetype);
            layer->setLinetypeObjectId(linetypeId.isNull() ? mImpl.linetypeContinuous : linetypeId);
        } else if (linetype != nullptr) {
            mLinetypes[key] = recordId;
        } else if (style != nullptr && !key.empty()) {
            mTextStyles[key] = recordId;
        } else if (AcDbBlockTableRecord::cast(record) != nullptr) {
            mBlocks[key] = recordId;
            if (key == L"*MODEL_SPACE")
                mImpl.modelSpace = recordId;
            else if (key == L"*PAPER_SPACE")
                mImpl.paperSpace = recordId;
        }
    }
    fail("the " + name + " table has no ENDTAB");
}

// ---------------------------------------------------------------------------------------------
// Blocks

void DrawingReader::readBlocks()
{
    while (nextRecord()) {
        if (mType == "ENDSEC")
            return;
        if (mType != "BLOCK")
            fail("expected 0/BLOCK in the BLOCKS section, found " + quoteForMessage(mType));
        Identity identity;
        Extras extras;
        std::wstring name;
        AcGePoint3d base;
        arxhost::DrawingFileData::BlockEnds ends;
        for (std::size_t i = 0; i < mTags.size(); ++i) {
            const Tag& tag = mTags[i];
            if (identityTag(i, identity, extras))
                continue;
            switch (tag.code) {
            case 100:
                extras.marker(tag.raw());
                break;
            case 2:
                name = tag.asText();
                break;
            case 3:
                break; // the name again
            case 70:
                ends.flags = static_cast<int>(tag.asInt());
                break;
            case 10:
                base.x = tag.asDouble();
                break;
            case 20:
                base.y = tag.asDouble();
                break;
            case 30:
                base.z = tag.asDouble();
                break;
            case 1:
                ends.xrefPath = tag.asText();
                break;
            case 4:
                ends.description = tag.asText();
                break;
            default:
                extras.keep(tag);
            }
        }
        if (name.empty())
            fail("a BLOCK record has no name (group code 2)");
        if (identity.handle) {
            if (mImpl.stubOf(AcDbHandle(*identity.handle)) != nullptr)
                fail("handle " + arxhost::toUtf8(arxhost::handleText(AcDbHandle(*identity.handle)))
                    + " is used twice");
            ends.begin = AcDbHandle(*identity.handle);
            mMaxHandle = std::max(mMaxHandle, *identity.handle);
        }
        ends.beginExtras = std::move(extras.tags);

        // The block's record: named in the BLOCK_RECORD table (R2000 on), or new (R12).
        if (mImpl.blockTable.isNull()) {
            Identity none;
            mImpl.blockTable = addObject(new AcDbBlockTable(), AcDbObjectId(), none, mTag);
        }
        std::wstring key = upper(name);
        // R12 writes the spaces in capitals ("$MODEL_SPACE" in some old files): one record each.
        if (key == L"$MODEL_SPACE")
            key = L"*MODEL_SPACE";
        if (key == L"$PAPER_SPACE")
            key = L"*PAPER_SPACE";
        AcDbObjectId blockId;
        auto found = mBlocks.find(key);
        if (found != mBlocks.end()) {
            blockId = found->second;
        } else {
            auto* record = new AcDbBlockTableRecord();
            record->hostSetName(key == L"*MODEL_SPACE" ? ACDB_MODEL_SPACE
                    : key == L"*PAPER_SPACE"           ? ACDB_PAPER_SPACE
                                                       : name.c_str());
            Identity none;
            blockId = addObject(record, mImpl.blockTable, none, mTag);
            static_cast<AcDbSymbolTable*>(mImpl.modify(mImpl.blockTable))->hostAdoptRecord(blockId);
            mBlocks[key] = blockId;
        }
        if (key == L"*MODEL_SPACE")
            mImpl.modelSpace = blockId;
        else if (key == L"*PAPER_SPACE")
            mImpl.paperSpace = blockId;
        auto* block = static_cast<AcDbBlockTableRecord*>(mImpl.modify(blockId));
        block->setOrigin(base);

        std::vector<AcDbObjectId> entities;
        bool ended = false;
        while (nextRecord()) {
            if (mType == "ENDBLK") {
                Identity endIdentity;
                Extras endExtras;
                for (std::size_t i = 0; i < mTags.size(); ++i) {
                    if (identityTag(i, endIdentity, endExtras))
                        continue;
                    if (mTags[i].code == 100)
                        endExtras.marker(mTags[i].raw());
                    else
                        endExtras.keep(mTags[i]);
                }
                if (endIdentity.handle) {
                    ends.end = AcDbHandle(*endIdentity.handle);
                    mMaxHandle = std::max(mMaxHandle, *endIdentity.handle);
                }
                ends.endExtras = std::move(endExtras.tags);
                ended = true;
                break;
            }
            readEntity(blockId, entities);
        }
        if (!ended)
            fail("block " + arxhost::toUtf8(name) + " has no ENDBLK");
        block = static_cast<AcDbBlockTableRecord*>(mImpl.modify(blockId));
        for (AcDbObjectId id : entities)
            block->hostAdoptEntity(id);
        mImpl.file.blocks[blockId] = std::move(ends);
    }
    fail("the BLOCKS section has no ENDSEC");
}

// ---------------------------------------------------------------------------------------------
// Entities

AcDbObjectId DrawingReader::layerNamed(const std::wstring& name)
{
    // An entity whose layer name is empty is on layer "0": a layer the file has no name for could not
    // be written back.
    if (name.empty())
        return layerNamed(L"0");
    const std::wstring key = upper(name);
    auto it = mLayers.find(key);
    if (it != mLayers.end())
        return it->second;
    // Entities on a layer the file does not define: the layer is made, as the host does.
    if (mImpl.layerTable.isNull()) {
        Identity none;
        Tag where = mTag;
        mImpl.layerTable = addObject(new AcDbLayerTable(), AcDbObjectId(), none, where);
    }
    auto* layer = new AcDbLayerTableRecord();
    layer->hostSetName(name.c_str());
    Identity none;
    AcDbObjectId id = addObject(layer, mImpl.layerTable, none, mTag);
    static_cast<AcDbSymbolTable*>(mImpl.modify(mImpl.layerTable))->hostAdoptRecord(id);
    mLayers[key] = id;
    return id;
}

AcDbObjectId DrawingReader::linetypeNamed(const std::wstring& name)
{
    const std::wstring key = upper(name);
    auto it = mLinetypes.find(key);
    if (it != mLinetypes.end())
        return it->second;
    // R12 files name BYBLOCK and BYLAYER without defining them. The drawing gets both anyway
    // (completeDrawing); made now, the entities that name them keep the linetype as theirs.
    if (key != L"BYBLOCK" && key != L"BYLAYER")
        return AcDbObjectId();
    Identity none;
    if (mImpl.linetypeTable.isNull())
        mImpl.linetypeTable = addObject(new AcDbLinetypeTable(), AcDbObjectId(), none, mTag);
    auto* linetype = new AcDbLinetypeTableRecord();
    linetype->hostSetName(key == L"BYBLOCK" ? L"ByBlock" : L"ByLayer");
    AcDbObjectId id = addObject(linetype, mImpl.linetypeTable, none, mTag);
    static_cast<AcDbSymbolTable*>(mImpl.modify(mImpl.linetypeTable))->hostAdoptRecord(id);
    mLinetypes[key] = id;
    return id;
}

AcDbObjectId DrawingReader::textStyleNamed(const std::wstring& name)
{
    const std::wstring key = upper(name);
    auto it = mTextStyles.find(key);
    if (it != mTextStyles.end())
        return it->second;
    // Text on a style the file does not define: the style is made, as the host does.
    if (mImpl.textStyleTable.isNull()) {
        Identity none;
        mImpl.textStyleTable = addObject(new AcDbTextStyleTable(), AcDbObjectId(), none, mTag);
    }
    auto* style = new AcDbTextStyleTableRecord();
    style->hostSetName(name.c_str());
    Identity none;
    AcDbObjectId id = addObject(style, mImpl.textStyleTable, none, mTag);
    static_cast<AcDbSymbolTable*>(mImpl.modify(mImpl.textStyleTable))->hostAdoptRecord(id);
    mTextStyles[key] = id;
    return id;
}

bool DrawingReader::commonEntityTag(const Tag& tag, AcDbEntity& entity, bool& paperSpace)
{
    switch (tag.code) {
    case 8:
        // Consecutive entities mostly share a layer: the last name's bytes spare decoding it again.
        if (tag.raw() != mLastLayerBytes || mLastLayer.isNull()) {
            mLastLayer = layerNamed(tag.asText());
            mLastLayerBytes.assign(tag.raw());
        }
        entity.setLayer(mLastLayer);
        return true;
    case 6: {
        AcDbObjectId linetype = linetypeNamed(tag.asText());
        if (linetype.isNull())
            return false;
        entity.setLinetype(linetype);
        return true;
    }
    case 62: {
        const std::int64_t color = tag.asInt();
        if (color < 0 || color > 257)
            return false;
        entity.setColorIndex(static_cast<Adesk::UInt16>(color));
        return true;
    }
    case 370:
        entity.setLineWeight(lineWeightOf(tag));
        return true;
    case 48:
        if (tag.asDouble() <= 0)
            return false;
        entity.setLinetypeScale(tag.asDouble());
        return true;
    case 60:
        entity.setVisibility(tag.asInt() != 0 ? AcDb::kInvisible : AcDb::kVisible);
        return true;
    case 67:
        paperSpace = tag.asInt() != 0;
        return true;
    case 410:
        return false;
    default:
        return false;
    }
}

void DrawingReader::readUnmodelledEntity(AcDbObjectId space, std::vector<AcDbObjectId>& entities)
{
    RawTags tags;
    tags.reserve(mTags.size());
    Identity identity;
    bool paperSpace = false;
    std::wstring layerName = L"0";
    std::int64_t color = 256;
    for (const Tag& tag : mTags) {
        tags.push_back(keepTag(tag));
        if ((tag.code == 5) && !identity.handle)
            identity.handle = tag.tryHandle();
        else if (tag.code == 8)
            layerName = tag.asText();
        else if (tag.code == 62)
            color = tag.asInt();
        else if (tag.code == 67)
            paperSpace = tag.asInt() != 0;
    }
    const std::wstring type = arxhost::fromUtf8(mType);
    std::vector<arxhost::RawRecord> followers;
    const Tag head = mTag;
    const Position where = mRecordPosition;
    // An INSERT with attributes and the old polylines bring their records up to SEQEND.
    bool hasFollowers = false;
    if (type == L"POLYLINE") {
        hasFollowers = true;
    } else if (type == L"INSERT") {
        for (const arxhost::RawTag& tag : tags)
            if (tag.code == 66 && tag.value != "0")
                hasFollowers = true;
    }
    if (hasFollowers) {
        while (nextRecord() && !isStructure(mType)) {
            arxhost::RawRecord follower;
            follower.type = arxhost::fromUtf8(mType);
            for (const Tag& tag : mTags) {
                follower.tags.push_back(keepTag(tag));
                if (tag.code == 5)
                    if (auto h = tag.tryHandle())
                        mMaxHandle = std::max(mMaxHandle, *h);
            }
            const bool end = mType == "SEQEND";
            followers.push_back(std::move(follower));
            if (end)
                break;
        }
        if (followers.empty() || followers.back().type != L"SEQEND")
            throwReadError(where, arxhost::toUtf8(type) + " has no SEQEND");
    }
    // Records of old files get the subclass structure of the versions the host writes.
    if (!drawing::hasSubclassMarkers(tags)) {
        long flags = 0;
        for (const arxhost::RawTag& tag : tags) {
            std::int64_t value = 0;
            if (tag.code == 70 && drawing::parseInteger(tag.value, value))
                flags = static_cast<long>(value);
        }
        tags = drawing::withSubclassMarkers(type, tags);
        for (arxhost::RawRecord& follower : followers)
            follower.tags
                = drawing::withSubclassMarkers(follower.type, follower.tags, type == L"POLYLINE" ? flags : 0);
    }
    // Owned here until the database takes it: the layer's name may still refuse the file.
    auto entity = std::make_unique<arxhost::UnmodelledEntity>(type, std::move(tags), std::move(followers));
    entity->setLayer(layerNamed(layerName));
    if (color >= 0 && color <= 256)
        entity->setColorIndex(static_cast<Adesk::UInt16>(color));
    AcDbObjectId owner
        = paperSpace && space == mImpl.modelSpace && !mImpl.paperSpace.isNull() ? mImpl.paperSpace : space;
    AcDbObjectId id = addObject(entity.release(), owner, identity, head);
    if (owner == space)
        entities.push_back(id);
    else
        static_cast<AcDbBlockTableRecord*>(mImpl.modify(owner))->hostAdoptEntity(id);
}

void DrawingReader::readEntity(AcDbObjectId space, std::vector<AcDbObjectId>& entities)
{
    if (isStructure(mType))
        fail("expected an entity, found " + recordName());
    const std::string_view type = mType;
    std::unique_ptr<AcDbEntity> entity;
    bool modelled = true;
    if (type == "LINE") {
        entity = std::make_unique<AcDbLine>();
    } else if (type == "ARC") {
        entity = std::make_unique<AcDbArc>();
    } else if (type == "CIRCLE") {
        entity = std::make_unique<AcDbCircle>();
    } else if (type == "POINT") {
        entity = std::make_unique<AcDbPoint>();
    } else if (type == "TEXT") {
        entity = std::make_unique<AcDbText>();
    } else if (type == "LWPOLYLINE") {
        entity = std::make_unique<AcDbPolyline>();
    } else if (type == "INSERT") {
        for (const Tag& tag : mTags)
            if ((tag.code == 66 && tag.asInt() != 0)
                || ((tag.code == 70 || tag.code == 71) && tag.asInt() > 1))
                modelled = false;
        if (modelled)
            entity = std::make_unique<AcDbBlockReference>();
    } else if (type == "DIMENSION") {
        modelled = false;
        for (const Tag& tag : mTags)
            if (tag.code == 100 && tag.raw() == "AcDbRadialDimension")
                modelled = true;
        if (modelled)
            entity = std::make_unique<AcDbRadialDimension>();
    } else if (type == "POLYLINE") {
        std::int64_t flags = 0;
        for (const Tag& tag : mTags)
            if (tag.code == 70)
                flags = tag.asInt();
        // Only plain 2D polylines are modelled; 3D ones, meshes and fitted curves are kept as read.
        if ((flags & (2 | 4 | 8 | 16 | 64)) == 0) {
            readPolyline(space, entities);
            return;
        }
        modelled = false;
    } else {
        modelled = false;
    }
    if (!modelled) {
        readUnmodelledEntity(space, entities);
        return;
    }

    Identity identity;
    Extras extras;
    bool paperSpace = false;
    const std::size_t xdata = xdataStart();
    AcGePoint3d p10, p11, p15;
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    double d39 = 0, d40 = 0, d41 = 1, d42 = 0, d43 = 0, d50 = 0, d51 = 0, d38 = 0;
    bool has11 = false;
    bool has42 = false;
    bool has43 = false;
    std::int64_t i70 = 0, i71 = 0, i72 = 0, i73 = 0;
    std::wstring text1, name2, name3, name7;
    struct Vertex {
        double x, y, bulge, startWidth, endWidth; // widths below zero: the polyline's constant width
    };
    std::vector<Vertex> vertices;
    bool inEntitySection = false;
    const std::vector<int>& modelledCodes = codesModelledFor(type);
    for (std::size_t i = 0; i < xdata; ++i) {
        const Tag& tag = mTags[i];
        if (identityTag(i, identity, extras))
            continue;
        if (tag.code == 100) {
            inEntitySection = tag.raw() == "AcDbEntity";
            extras.marker(tag.raw());
            continue;
        }
        if ((inEntitySection || tag.code == 8 || tag.code == 62 || tag.code == 6)
            && commonEntityTag(tag, *entity, paperSpace))
            continue;
        // What the host does not model for this type stays as it was (a dimension's 41, 42, 70-75, ...).
        if (std::find(modelledCodes.begin(), modelledCodes.end(), tag.code) == modelledCodes.end()) {
            if (type == "DIMENSION" && tag.code == 70)
                i70 = tag.asInt();
            extras.keep(tag);
            continue;
        }
        switch (tag.code) {
        case 10:
            if (type == "LWPOLYLINE") {
                vertices.push_back({tag.asDouble(), 0, 0, -1, -1});
            } else {
                p10.x = tag.asDouble();
            }
            break;
        case 20:
            if (type == "LWPOLYLINE") {
                if (vertices.empty())
                    failAt(tag, "a vertex's Y (group 20) comes before its X (group 10)");
                vertices.back().y = tag.asDouble();
            } else {
                p10.y = tag.asDouble();
            }
            break;
        case 30:
            p10.z = tag.asDouble();
            break;
        case 11:
            p11.x = tag.asDouble();
            has11 = true;
            break;
        case 21:
            p11.y = tag.asDouble();
            break;
        case 31:
            p11.z = tag.asDouble();
            break;
        case 15:
            p15.x = tag.asDouble();
            break;
        case 25:
            p15.y = tag.asDouble();
            break;
        case 35:
            p15.z = tag.asDouble();
            break;
        case 210:
            normal.x = tag.asDouble();
            break;
        case 220:
            normal.y = tag.asDouble();
            break;
        case 230:
            normal.z = tag.asDouble();
            break;
        case 38:
            d38 = tag.asDouble();
            break;
        case 39:
            d39 = tag.asDouble();
            break;
        case 40:
            if (type == "LWPOLYLINE" && !vertices.empty())
                vertices.back().startWidth = tag.asDouble();
            else
                d40 = tag.asDouble();
            break;
        case 41:
            if (type == "LWPOLYLINE" && !vertices.empty())
                vertices.back().endWidth = tag.asDouble();
            else
                d41 = tag.asDouble();
            break;
        case 42:
            if (type == "LWPOLYLINE") {
                if (vertices.empty())
                    failAt(tag, "a bulge (group 42) comes before any vertex");
                vertices.back().bulge = tag.asDouble();
            } else {
                d42 = tag.asDouble();
                has42 = true;
            }
            break;
        case 43:
            d43 = tag.asDouble();
            has43 = true;
            break;
        case 50:
            d50 = tag.asDouble();
            break;
        case 51:
            d51 = tag.asDouble();
            break;
        case 70:
            i70 = tag.asInt();
            break;
        case 71:
            i71 = tag.asInt();
            break;
        case 72:
            i72 = tag.asInt();
            break;
        case 73:
            i73 = tag.asInt();
            break;
        case 90:
            if (type != "LWPOLYLINE")
                extras.keep(tag);
            break;
        case 1:
            text1 = tag.asText();
            break;
        case 2:
            name2 = tag.asText();
            break;
        case 3:
            name3 = tag.asText();
            break;
        case 7:
            name7 = tag.asText();
            break;
        default:
            extras.keep(tag);
        }
    }

    if (auto* line = AcDbLine::cast(entity.get())) {
        line->setStartPoint(p10);
        line->setEndPoint(p11);
        line->setThickness(d39);
        line->setNormal(normal);
    } else if (auto* arc = AcDbArc::cast(entity.get())) {
        arc->setCenter(p10);
        arc->setRadius(d40 > 0 ? d40 : 1e-9);
        arc->setStartAngle(d50 * kPi / 180.0);
        arc->setEndAngle(d51 * kPi / 180.0);
        arc->setThickness(d39);
        arc->setNormal(normal);
    } else if (auto* circle = AcDbCircle::cast(entity.get())) {
        circle->setCenter(p10);
        circle->setRadius(d40 > 0 ? d40 : 1e-9);
        circle->setThickness(d39);
        circle->setNormal(normal);
    } else if (auto* point = AcDbPoint::cast(entity.get())) {
        point->setPosition(p10);
        point->setThickness(d39);
        point->setEcsRotation(d50 * kPi / 180.0);
    } else if (auto* text = AcDbText::cast(entity.get())) {
        text->setPosition(p10);
        text->setAlignmentPoint(has11 ? p11 : p10);
        text->setTextString(text1.c_str());
        if (d40 > 0)
            text->setHeight(d40);
        if (d41 > 0)
            text->setWidthFactor(d41);
        text->setRotation(d50 * kPi / 180.0);
        text->setOblique(d51 * kPi / 180.0);
        text->setThickness(d39);
        text->setNormal(normal);
        text->mirrorInX((i71 & 2) != 0);
        text->mirrorInY((i71 & 4) != 0);
        text->setHorizontalMode(static_cast<AcDb::TextHorzMode>(std::clamp<std::int64_t>(i72, 0, 5)));
        text->setVerticalMode(static_cast<AcDb::TextVertMode>(std::clamp<std::int64_t>(i73, 0, 3)));
        text->setTextStyle(textStyleNamed(name7.empty() ? std::wstring(L"Standard") : name7));
    } else if (auto* pline = AcDbPolyline::cast(entity.get())) {
        for (std::size_t k = 0; k < vertices.size(); ++k) {
            const Vertex& v = vertices[k];
            pline->addVertexAt(static_cast<unsigned int>(k), AcGePoint2d(v.x, v.y), v.bulge,
                v.startWidth < 0 ? d43 : v.startWidth, v.endWidth < 0 ? d43 : v.endWidth);
        }
        pline->setClosed((i70 & 1) != 0);
        if (d43 != 0) {
            // Vertices without widths of their own take the constant width.
            bool constant = true;
            for (const Vertex& v : vertices)
                constant = constant && v.startWidth < 0 && v.endWidth < 0;
            if (constant)
                pline->setConstantWidth(d43);
        }
        pline->setElevation(d38);
        pline->setThickness(d39);
        pline->setNormal(normal);
        if ((i70 & ~1) != 0)
            extras.tags.push_back({70, std::to_string(i70)}); // the linetype-generation bit and others
    } else if (auto* ref = AcDbBlockReference::cast(entity.get())) {
        ref->setPosition(p10);
        ref->setScaleFactors(
            AcGeScale3d(d41, has42 ? d42 : 1.0, has43 ? d43 : 1.0)); // again below for zero scales
        ref->setRotation(d50 * kPi / 180.0);
        ref->setNormal(normal);
    } else if (auto* dim = AcDbRadialDimension::cast(entity.get())) {
        // Radial: 10 is the centre, 15 the point on the arc, 11 the text's middle, 40 the leader length.
        dim->setCenter(p10);
        dim->setChordPoint(p15);
        dim->setLeaderLength(d40);
        dim->setDimensionText(text1.c_str());
        if (has11)
            dim->hostSetTextPosition(p11, (i70 & 128) != 0);
        dim->setTextRotation(d50 * kPi / 180.0);
        dim->setNormal(normal);
    }
    arxhost::TypedValues xd;
    readXData(xdata, xd);
    // A dimension's own variables travel in its ACAD extended data ("DSTYLE"): they become overrides.
    std::vector<std::pair<arxhost::DimVar, arxhost::TypedValue>> dstyle;
    if (AcDbDimension::cast(entity.get()) != nullptr) {
        for (std::size_t k = 0; k < xd.size(); ++k) {
            const auto* app = std::get_if<std::wstring>(&xd[k].value);
            if (xd[k].code != 1001 || app == nullptr || upper(*app) != L"ACAD")
                continue;
            std::size_t end = k + 1;
            while (end < xd.size() && xd[end].code != 1001)
                ++end;
            const auto* tagName = end > k + 1 ? std::get_if<std::wstring>(&xd[k + 1].value) : nullptr;
            if (tagName == nullptr || *tagName != L"DSTYLE" || end < k + 4)
                break;
            bool good = true;
            for (std::size_t m = k + 3; m + 1 < end - 1; m += 2) {
                const auto* code = std::get_if<std::int64_t>(&xd[m].value);
                if (xd[m].code != 1070 || code == nullptr) {
                    good = false;
                    break;
                }
                bool known = false;
                for (int v = 0; v < static_cast<int>(arxhost::DimVar::Count); ++v) {
                    const auto& info = arxhost::dimVarInfo(static_cast<arxhost::DimVar>(v));
                    if (info.dxfCode == *code) {
                        dstyle.emplace_back(info.var, xd[m + 1]);
                        known = true;
                    }
                }
                good = good && known;
            }
            if (good)
                xd.erase(xd.begin() + static_cast<std::ptrdiff_t>(k),
                    xd.begin() + static_cast<std::ptrdiff_t>(end));
            else
                dstyle.clear();
            break;
        }
    }
    entity->xdataValuesForWrite() = std::move(xd);
    entity->hostSetDxfExtras(extras.share());

    AcDbObjectId owner
        = paperSpace && space == mImpl.modelSpace && !mImpl.paperSpace.isNull() ? mImpl.paperSpace : space;
    AcDbEntity* raw = entity.release();
    AcDbObjectId id = addObject(raw, owner, identity, mTag);
    keepIdentityLinks(id, identity);
    if (owner == space)
        entities.push_back(id);
    else
        static_cast<AcDbBlockTableRecord*>(mImpl.modify(owner))->hostAdoptEntity(id);

    if (auto* ref = AcDbBlockReference::cast(raw)) {
        // Set again now that the drawing is loading: a degenerate (zero) scale is kept as the file has it.
        ref->setScaleFactors(AcGeScale3d(d41, has42 ? d42 : 1.0, has43 ? d43 : 1.0));
        if (name2.empty())
            fail("an INSERT names no block (group code 2)");
        mBlockReferences.push_back({id, name2, mRecordPosition});
    } else if (auto* dim = AcDbRadialDimension::cast(raw)) {
        if (!name2.empty())
            mImpl.file.dimensionBlocks[id] = name2;
        if (!name3.empty())
            mDimensionStyles.push_back({id, name3, mRecordPosition});
        for (auto& [var, value] : dstyle) {
            const auto& info = arxhost::dimVarInfo(var);
            if (info.kind == arxhost::DimVarKind::Id || info.kind == arxhost::DimVarKind::Arrow) {
                const auto* handle = std::get_if<std::wstring>(&value.value);
                if (handle != nullptr)
                    mDimensionOverrides.push_back({id, var, arxhost::toUtf8(*handle), true});
                continue;
            }
            arxhost::HeaderValue header;
            if (const auto* d = std::get_if<double>(&value.value))
                header = *d;
            else if (const auto* n = std::get_if<std::int64_t>(&value.value))
                header = *n;
            else if (const auto* s = std::get_if<std::wstring>(&value.value))
                header = *s;
            dim->hostSetOverride(var, arxhost::fromHeaderValue(var, header));
        }
    }
}

void DrawingReader::readPolyline(AcDbObjectId space, std::vector<AcDbObjectId>& entities)
{
    Identity identity;
    Extras extras;
    bool paperSpace = false;
    auto polyline = std::make_unique<AcDb2dPolyline>();
    const std::size_t xdata = xdataStart();
    double elevation = 0;
    AcGeVector3d normal = AcGeVector3d::kZAxis;
    bool inEntitySection = false;
    std::int64_t flags = 0;
    for (std::size_t i = 0; i < xdata; ++i) {
        const Tag& tag = mTags[i];
        if (identityTag(i, identity, extras))
            continue;
        if (tag.code == 100) {
            inEntitySection = tag.raw() == "AcDbEntity";
            extras.marker(tag.raw());
            continue;
        }
        if ((inEntitySection || tag.code == 8 || tag.code == 62 || tag.code == 6)
            && commonEntityTag(tag, *polyline, paperSpace))
            continue;
        switch (tag.code) {
        case 10:
        case 20:
        case 66:
            break;
        case 30:
            elevation = tag.asDouble();
            break;
        case 70:
            flags = tag.asInt();
            break;
        case 40:
            polyline->setDefaultStartWidth(tag.asDouble());
            break;
        case 41:
            polyline->setDefaultEndWidth(tag.asDouble());
            break;
        case 210:
            normal.x = tag.asDouble();
            break;
        case 220:
            normal.y = tag.asDouble();
            break;
        case 230:
            normal.z = tag.asDouble();
            break;
        default:
            extras.keep(tag);
        }
    }
    polyline->setElevation(elevation);
    polyline->setNormal(normal);
    polyline->setClosed((flags & 1) != 0);
    if ((flags & ~1) != 0)
        extras.tags.push_back({70, std::to_string(flags)});
    arxhost::TypedValues xd;
    readXData(xdata, xd);
    polyline->xdataValuesForWrite() = std::move(xd);
    polyline->hostSetDxfExtras(extras.share());
    const Tag head = mTag;
    AcDbObjectId owner
        = paperSpace && space == mImpl.modelSpace && !mImpl.paperSpace.isNull() ? mImpl.paperSpace : space;
    AcDb2dPolyline* raw = polyline.release();
    AcDbObjectId id = addObject(raw, owner, identity, head);
    keepIdentityLinks(id, identity);
    if (owner == space)
        entities.push_back(id);
    else
        static_cast<AcDbBlockTableRecord*>(mImpl.modify(owner))->hostAdoptEntity(id);

    const Position where = mRecordPosition;
    bool ended = false;
    while (nextRecord()) {
        if (mType == "SEQEND") {
            Identity endIdentity;
            Extras endExtras;
            for (std::size_t i = 0; i < mTags.size(); ++i) {
                if (identityTag(i, endIdentity, endExtras))
                    continue;
                if (mTags[i].code == 100)
                    endExtras.marker(mTags[i].raw());
                else if (mTags[i].code != 8)
                    endExtras.keep(mTags[i]);
            }
            AcDbHandle endHandle;
            if (endIdentity.handle) {
                endHandle = AcDbHandle(*endIdentity.handle);
                mMaxHandle = std::max(mMaxHandle, *endIdentity.handle);
            }
            mImpl.file.sequenceEnds[id] = {endHandle, std::move(endExtras.tags)};
            ended = true;
            break;
        }
        if (mType != "VERTEX")
            fail("a " + recordName() + " record inside a POLYLINE (expected VERTEX or SEQEND)");
        Identity vertexIdentity;
        Extras vertexExtras;
        AcGePoint3d position;
        double bulge = 0;
        double startWidth = raw->defaultStartWidth();
        double endWidth = raw->defaultEndWidth();
        for (std::size_t i = 0; i < mTags.size(); ++i) {
            const Tag& tag = mTags[i];
            if (identityTag(i, vertexIdentity, vertexExtras))
                continue;
            switch (tag.code) {
            case 100:
                vertexExtras.marker(tag.raw());
                break;
            case 8:
                break;
            case 10:
                position.x = tag.asDouble();
                break;
            case 20:
                position.y = tag.asDouble();
                break;
            case 30:
                position.z = tag.asDouble();
                break;
            case 40:
                startWidth = tag.asDouble();
                break;
            case 41:
                endWidth = tag.asDouble();
                break;
            case 42:
                bulge = tag.asDouble();
                break;
            default:
                vertexExtras.keep(tag);
            }
        }
        auto* vertex = new AcDb2dVertex(position, bulge, startWidth, endWidth);
        vertex->setPropertiesFrom(*raw);
        vertex->hostSetDxfExtras(vertexExtras.share());
        AcDbObjectId vertexId = addObject(vertex, id, vertexIdentity, mTag);
        static_cast<AcDb2dPolyline*>(mImpl.modify(id))->hostAdoptVertexId(vertexId);
    }
    if (!ended)
        throwReadError(where, "POLYLINE has no SEQEND");
}

void DrawingReader::readEntities()
{
    if (mImpl.modelSpace.isNull())
        completeDrawing();
    std::vector<AcDbObjectId> entities;
    entities.reserve(1024);
    while (nextRecord()) {
        if (mType == "ENDSEC") {
            auto* space = static_cast<AcDbBlockTableRecord*>(mImpl.modify(mImpl.modelSpace));
            for (AcDbObjectId id : entities)
                space->hostAdoptEntity(id);
            return;
        }
        readEntity(mImpl.modelSpace, entities);
    }
    fail("the ENTITIES section has no ENDSEC");
}

// ---------------------------------------------------------------------------------------------
// Objects

void DrawingReader::readObjects()
{
    while (nextRecord()) {
        if (mType == "ENDSEC")
            return;
        if (mType == "DICTIONARY")
            readDictionary();
        else if (mType == "XRECORD")
            readXrecord();
        else if (mType == "GROUP")
            readGroup();
        else
            readUnmodelledObject();
    }
    fail("the OBJECTS section has no ENDSEC");
}

void DrawingReader::readDictionary()
{
    Identity identity;
    Extras extras;
    auto dictionary = std::make_unique<AcDbDictionary>();
    std::vector<std::pair<std::wstring, std::pair<std::uint64_t, Position>>> entries;
    std::wstring key;
    bool haveKey = false;
    // Written without subclass markers, the groups are all the dictionary's own: kept as such, a 360
    // (hard ownership) is written among the entries, not before them.
    if (std::none_of(mTags.begin(), mTags.end(), [](const Tag& tag) { return tag.code == 100; }))
        extras.marker("AcDbDictionary");
    for (std::size_t i = 0; i < mTags.size(); ++i) {
        const Tag& tag = mTags[i];
        if (identityTag(i, identity, extras))
            continue;
        if (tag.code == 1001)
            break;
        switch (tag.code) {
        case 100:
            extras.marker(tag.raw());
            break;
        case 3:
            key = tag.asText();
            haveKey = true;
            break;
        case 350:
        case 360: {
            if (!haveKey)
                failAt(tag, "a dictionary entry's handle comes without its name (group code 3)");
            // A dictionary cannot hold an entry without a name: it could not be found or written back.
            if (key.empty())
                failAt(tag, "a dictionary entry has an empty name (group code 3)");
            auto handle = tag.tryHandle();
            if (!handle)
                failAt(tag, "dictionary entry " + arxhost::toUtf8(key) + " has no valid handle");
            entries.emplace_back(key, std::make_pair(*handle, tag.position()));
            if (tag.code == 360)
                extras.keep(tag); // noted so that the writer keeps hard ownership
            haveKey = false;
            break;
        }
        default:
            extras.keep(tag);
        }
    }
    arxhost::TypedValues xd;
    readXData(xdataStart(), xd);
    dictionary->xdataValuesForWrite() = std::move(xd);
    dictionary->hostSetDxfExtras(extras.share());
    AcDbObjectId id = addObject(dictionary.release(), AcDbObjectId(), identity, mTag);
    keepIdentityLinks(id, identity);
    if (identity.owner && *identity.owner != 0)
        mOwners.push_back({id, *identity.owner});
    if (mRootDictionary.isNull())
        mRootDictionary = id;
    for (auto& [name, entry] : entries)
        mEntries.push_back({id, name, entry.first, entry.second});
}

void DrawingReader::readXrecord()
{
    Identity identity;
    Extras extras;
    arxhost::TypedValues values;
    std::vector<std::pair<std::size_t, std::uint64_t>> handles;
    bool inData = false;
    const std::size_t xdata = xdataStart();
    for (std::size_t i = 0; i < xdata; ++i) {
        const Tag& tag = mTags[i];
        if (!inData) {
            if (identityTag(i, identity, extras))
                continue;
            if (tag.code == 100) {
                extras.marker(tag.raw());
                continue;
            }
            if (tag.code == 280) {
                extras.keep(tag); // the cloning flag comes first and is not data
                inData = true;
                continue;
            }
            inData = true;
        }
        arxhost::TypedValue value;
        value.code = static_cast<short>(tag.code);
        const int code = tag.code;
        if ((code >= 10 && code <= 18) || (code >= 110 && code <= 112) || code == 210) {
            arxhost::TypedValue::Point p {tag.asDouble(), 0, 0};
            if (i + 1 < xdata && mTags[i + 1].code == code + 10)
                p[1] = mTags[++i].asDouble();
            if (i + 1 < xdata && mTags[i + 1].code == code + 20)
                p[2] = mTags[++i].asDouble();
            value.value = p;
        } else {
            switch (tag.type()) {
            case ValueType::Double:
                value.value = tag.asDouble();
                break;
            case ValueType::Int16:
            case ValueType::Int32:
            case ValueType::Int64:
            case ValueType::Bool:
                value.value = tag.asInt();
                break;
            case ValueType::Handle:
                if (auto h = tag.tryHandle(); h && *h != 0) {
                    handles.emplace_back(values.size(), *h);
                    value.value = AcDbObjectId();
                } else {
                    value.value = AcDbObjectId();
                }
                break;
            case ValueType::Binary: {
                std::vector<std::uint8_t> bytes = tag.asBinary();
                value.value = arxhost::TypedValue::Binary(bytes.begin(), bytes.end());
                break;
            }
            case ValueType::String:
                value.value = tag.asText();
                break;
            }
        }
        values.push_back(std::move(value));
    }
    auto xrecord = std::make_unique<AcDbXrecord>();
    xrecord->hostSetValues(std::move(values));
    arxhost::TypedValues xd;
    readXData(xdata, xd);
    xrecord->xdataValuesForWrite() = std::move(xd);
    xrecord->hostSetDxfExtras(extras.share());
    AcDbObjectId id = addObject(xrecord.release(), AcDbObjectId(), identity, mTag);
    keepIdentityLinks(id, identity);
    if (identity.owner && *identity.owner != 0)
        mOwners.push_back({id, *identity.owner});
    if (!handles.empty())
        mXrecordHandles.push_back({id, std::move(handles)});
}

void DrawingReader::readGroup()
{
    Identity identity;
    Extras extras;
    auto group = std::make_unique<AcDbGroup>();
    std::vector<std::pair<std::uint64_t, Position>> members;
    for (std::size_t i = 0; i < mTags.size(); ++i) {
        const Tag& tag = mTags[i];
        if (identityTag(i, identity, extras))
            continue;
        if (tag.code == 1001)
            break;
        switch (tag.code) {
        case 100:
            extras.marker(tag.raw());
            break;
        case 300:
            group->setDescription(tag.asText().c_str());
            break;
        case 70:
            if (tag.asInt() != 0)
                group->setAnonymous();
            break;
        case 71:
            group->setSelectable(tag.asInt() != 0);
            break;
        case 340:
            if (auto handle = tag.tryHandle())
                members.emplace_back(*handle, tag.position());
            break;
        default:
            extras.keep(tag);
        }
    }
    arxhost::TypedValues xd;
    readXData(xdataStart(), xd);
    group->xdataValuesForWrite() = std::move(xd);
    group->hostSetDxfExtras(extras.share());
    AcDbObjectId id = addObject(group.release(), AcDbObjectId(), identity, mTag);
    keepIdentityLinks(id, identity);
    if (identity.owner && *identity.owner != 0)
        mOwners.push_back({id, *identity.owner});
    for (auto& [handle, where] : members)
        mMembers.push_back({id, handle, where});
}

void DrawingReader::readUnmodelledObject()
{
    RawTags tags;
    tags.reserve(mTags.size());
    Identity identity;
    Extras ignored;
    for (std::size_t i = 0; i < mTags.size(); ++i) {
        const Tag& tag = mTags[i];
        tags.push_back(keepTag(tag));
        if (tag.code == 5 && !identity.handle) {
            identity.handle = tag.tryHandle();
        } else if (tag.code == 330 && !identity.owner) {
            identity.owner = tag.tryHandle().value_or(0);
        } else if (tag.code == 102 && tag.raw() == "{ACAD_REACTORS") {
            // Reactors are read for the owner link only; the object keeps its groups as they are.
            for (++i; i < mTags.size() && mTags[i].code != 102; ++i)
                tags.push_back(keepTag(mTags[i]));
            if (i < mTags.size())
                tags.push_back(keepTag(mTags[i]));
        }
    }
    AcDbObjectId id = addObject(new arxhost::UnmodelledObject(arxhost::fromUtf8(mType), std::move(tags)),
        AcDbObjectId(), identity, mTag);
    if (identity.owner && *identity.owner != 0)
        mOwners.push_back({id, *identity.owner});
}

// ---------------------------------------------------------------------------------------------
// Finishing

void DrawingReader::completeDrawing()
{
    // What a drawing needs and an old or minimal file may lack: the tables, layer "0", the linetypes,
    // the "Standard" text style and dimension style, the two spaces and the named object dictionary.
    Identity none;
    auto ensureTable = [&](AcDbObjectId& id, AcDbSymbolTable* table) {
        if (id.isNull())
            id = addObject(table, AcDbObjectId(), none, mTag);
        else
            delete table;
    };
    ensureTable(mImpl.blockTable, new AcDbBlockTable());
    ensureTable(mImpl.layerTable, new AcDbLayerTable());
    ensureTable(mImpl.textStyleTable, new AcDbTextStyleTable());
    ensureTable(mImpl.linetypeTable, new AcDbLinetypeTable());
    ensureTable(mImpl.regAppTable, new AcDbRegAppTable());
    ensureTable(mImpl.dimStyleTable, new AcDbDimStyleTable());

    auto ensureRecord = [&](AcDbObjectId tableId, std::unordered_map<std::wstring, AcDbObjectId>* cache,
                            const wchar_t* name, AcDbSymbolTableRecord* record) -> AcDbObjectId {
        auto* table = AcDbSymbolTable::cast(DatabaseImpl::peek(tableId));
        AcDbObjectId existing;
        if (table->getAt(name, existing) == Acad::eOk) {
            delete record;
            return existing;
        }
        record->hostSetName(name);
        AcDbObjectId id = addObject(record, tableId, none, mTag);
        static_cast<AcDbSymbolTable*>(mImpl.modify(tableId))->hostAdoptRecord(id);
        if (cache != nullptr)
            (*cache)[upper(name)] = id;
        return id;
    };
    mImpl.modelSpace = ensureRecord(mImpl.blockTable, &mBlocks, ACDB_MODEL_SPACE, new AcDbBlockTableRecord());
    mImpl.paperSpace = ensureRecord(mImpl.blockTable, &mBlocks, ACDB_PAPER_SPACE, new AcDbBlockTableRecord());
    mImpl.linetypeByBlock
        = ensureRecord(mImpl.linetypeTable, &mLinetypes, L"ByBlock", new AcDbLinetypeTableRecord());
    mImpl.linetypeByLayer
        = ensureRecord(mImpl.linetypeTable, &mLinetypes, L"ByLayer", new AcDbLinetypeTableRecord());
    mImpl.linetypeContinuous
        = ensureRecord(mImpl.linetypeTable, &mLinetypes, L"Continuous", new AcDbLinetypeTableRecord());
    mImpl.layerZero = ensureRecord(mImpl.layerTable, &mLayers, L"0", new AcDbLayerTableRecord());
    mImpl.textStyleStandard
        = ensureRecord(mImpl.textStyleTable, &mTextStyles, L"Standard", new AcDbTextStyleTableRecord());
    mImpl.dimStyleStandard
        = ensureRecord(mImpl.dimStyleTable, nullptr, L"Standard", new AcDbDimStyleTableRecord());
    ensureRecord(mImpl.regAppTable, nullptr, L"ACAD", new AcDbRegAppTableRecord());
    // Layers made here or for entities, and those naming a linetype the file lacks, draw Continuous.
    for (const auto& [key, layerId] : mLayers) {
        auto* layer = AcDbLayerTableRecord::cast(DatabaseImpl::peek(layerId));
        if (layer != nullptr && layer->linetypeObjectId().isNull())
            static_cast<AcDbLayerTableRecord*>(mImpl.modify(layerId))
                ->setLinetypeObjectId(mImpl.linetypeContinuous);
    }
}

void DrawingReader::resolveLinks()
{
    auto stubOf = [this](std::uint64_t handle) { return mImpl.stubOf(AcDbHandle(handle)); };

    if (mRootDictionary.isNull()) {
        Identity none;
        mRootDictionary = addObject(new AcDbDictionary(), AcDbObjectId(), none, mTag);
    }
    mImpl.namedObjects = mRootDictionary;

    for (const OwnerLink& link : mOwners) {
        if (AcDbStub* owner = stubOf(link.owner))
            link.stub->object()->setOwnerId(AcDbObjectId(owner));
    }
    for (const DictionaryEntry& entry : mEntries) {
        AcDbStub* target = stubOf(entry.handle);
        if (target == nullptr)
            throwReadError(entry.where,
                "dictionary entry \"" + arxhost::toUtf8(entry.key) + "\" refers to handle "
                    + arxhost::toUtf8(arxhost::handleText(AcDbHandle(entry.handle)))
                    + ", which is not in the drawing");
        // Dictionaries hold objects; an entity there would be written where no reader looks for it.
        if (AcDbEntity::cast(target->object()) != nullptr)
            throwReadError(entry.where,
                "dictionary entry \"" + arxhost::toUtf8(entry.key) + "\" refers to handle "
                    + arxhost::toUtf8(arxhost::handleText(AcDbHandle(entry.handle)))
                    + ", which is an entity");
        static_cast<AcDbDictionary*>(entry.dictionary->object())
            ->hostAdoptEntry(entry.key, AcDbObjectId(target));
        if (target->object()->ownerId().isNull())
            target->object()->setOwnerId(AcDbObjectId(entry.dictionary));
    }
    for (const GroupMember& member : mMembers) {
        AcDbStub* target = stubOf(member.handle);
        if (target == nullptr)
            throwReadError(member.where,
                "group member " + arxhost::toUtf8(arxhost::handleText(AcDbHandle(member.handle)))
                    + " is not in the drawing");
        auto* group = static_cast<AcDbGroup*>(member.group->object());
        if (group->append(AcDbObjectId(target)) != Acad::eOk)
            throwReadError(member.where,
                "group member " + arxhost::toUtf8(arxhost::handleText(AcDbHandle(member.handle)))
                    + " is not an entity of the drawing");
    }
    for (const HandleLinks& links : mLinks) {
        std::vector<AcDbObjectId> reactors;
        for (std::uint64_t handle : links.reactors)
            if (AcDbStub* target = stubOf(handle))
                reactors.push_back(AcDbObjectId(target));
        links.stub->object()->hostSetPersistentReactors(std::move(reactors));
        if (links.extensionDictionary) {
            if (AcDbStub* dictionary = stubOf(*links.extensionDictionary))
                links.stub->object()->hostSetExtensionDictionary(AcDbObjectId(dictionary));
        }
    }
    for (const XrecordHandles& fix : mXrecordHandles) {
        auto* xrecord = static_cast<AcDbXrecord*>(fix.xrecord->object());
        arxhost::TypedValues values = xrecord->hostValues();
        for (auto [index, handle] : fix.values)
            if (AcDbStub* target = stubOf(handle))
                values[index].value = AcDbObjectId(target);
        xrecord->hostSetValues(std::move(values));
    }
    for (const NameLink& link : mBlockReferences) {
        auto block = mBlocks.find(upper(link.name));
        if (block == mBlocks.end())
            throwReadError(link.where,
                "INSERT refers to block \"" + arxhost::toUtf8(link.name)
                    + "\", which the drawing does not define");
        static_cast<AcDbBlockReference*>(link.stub->object())->setBlockTableRecord(block->second);
    }
    refuseCircularBlocks();
    auto* dimStyles = AcDbDimStyleTable::cast(DatabaseImpl::peek(mImpl.dimStyleTable));
    for (const NameLink& link : mDimensionStyles) {
        AcDbObjectId styleId;
        if (dimStyles != nullptr && dimStyles->getAt(link.name.c_str(), styleId) == Acad::eOk)
            static_cast<AcDbDimension*>(link.stub->object())->setDimensionStyle(styleId);
    }
    for (const DimensionOverride& pending : mDimensionOverrides) {
        std::uint64_t handle = 0;
        if (pending.dimension == nullptr || !drawing::parseHandle(pending.value, handle))
            continue;
        AcDbStub* target = stubOf(handle);
        if (target == nullptr)
            continue;
        const auto& info = arxhost::dimVarInfo(pending.var);
        arxhost::DimVarValue value = info.kind == arxhost::DimVarKind::Arrow
            ? arxhost::DimVarValue(arxhost::arrowBlockName(AcDbObjectId(target)))
            : arxhost::DimVarValue(AcDbObjectId(target));
        AcDbObject* object = pending.dimension->object();
        if (auto* dim = AcDbDimension::cast(object))
            dim->hostSetOverride(pending.var, value);
        else if (auto* style = AcDbDimStyleTableRecord::cast(object))
            style->hostSetValue(pending.var, value);
    }
    // The group dictionary is the root's ACAD_GROUP entry; a drawing without one gets one.
    auto* root = static_cast<AcDbDictionary*>(mImpl.modify(mRootDictionary));
    AcDbObjectId groups;
    if (root->getAt(L"ACAD_GROUP", groups) != Acad::eOk
        || AcDbDictionary::cast(DatabaseImpl::peek(groups)) == nullptr) {
        Identity none;
        groups = addObject(new AcDbDictionary(), mRootDictionary, none, mTag);
        root->hostAdoptEntry(L"ACAD_GROUP", groups);
    }
    mImpl.groupDictionary = groups;
}

void DrawingReader::refuseCircularBlocks() const
{
    // A block that contains itself, directly or through other blocks, has no end: whatever draws or
    // measures it would never return. Such a file is refused, naming the INSERT that closes the circle.
    std::unordered_map<const AcDbStub*, std::vector<std::pair<const AcDbStub*, Position>>> shows;
    for (const NameLink& link : mBlockReferences) {
        const auto* ref = static_cast<const AcDbBlockReference*>(link.stub->object());
        shows[ref->ownerId()].emplace_back(ref->blockTableRecord(), link.where);
    }
    auto nameOf = [](const AcDbStub* stub) {
        const auto* block = AcDbSymbolTableRecord::cast(DatabaseImpl::peek(AcDbObjectId(stub)));
        return block == nullptr ? std::string() : arxhost::toUtf8(block->hostName());
    };
    enum class Mark { Open, Done };
    std::unordered_map<const AcDbStub*, Mark> marks;
    for (const auto& [start, unused] : shows) {
        if (!marks.emplace(start, Mark::Open).second)
            continue;
        std::vector<std::pair<const AcDbStub*, std::size_t>> path = {{start, 0}};
        while (!path.empty()) {
            const AcDbStub* block = path.back().first;
            auto children = shows.find(block);
            if (children == shows.end() || path.back().second == children->second.size()) {
                marks[block] = Mark::Done;
                path.pop_back();
                continue;
            }
            const auto [target, where] = children->second[path.back().second++];
            auto [mark, added] = marks.emplace(target, Mark::Open);
            if (added)
                path.emplace_back(target, 0);
            else if (mark->second == Mark::Open)
                throwReadError(
                    where, "INSERT of block \"" + nameOf(target) + "\" makes the block contain itself");
        }
    }
}

void DrawingReader::applyHeader()
{
    arxhost::HeaderVars& vars = mImpl.header();
    for (const auto& [name, tags] : mImpl.file.header) {
        if (name.size() < 2 || tags.empty())
            continue;
        const std::wstring varName = arxhost::fromUtf8(std::string_view(name).substr(1));
        const arxhost::SysVarInfo* info = arxhost::findSysVar(varName.c_str());
        if (info == nullptr || info->storage != arxhost::VarStorage::Drawing)
            continue;
        const std::wstring key = upper(varName);
        const std::string& first = tags.front().value;
        switch (info->kind) {
        case arxhost::VarKind::Short:
        case arxhost::VarKind::Long: {
            std::int64_t value = 0;
            if (drawing::parseInteger(first, value))
                vars.set(key, value);
            break;
        }
        case arxhost::VarKind::Real: {
            double value = 0;
            if (drawing::parseDouble(first, value))
                vars.set(key, value);
            break;
        }
        case arxhost::VarKind::Text: {
            if (key == L"HANDSEED" || key == L"DWGCODEPAGE")
                break;
            // A one-character variable (DIMDSEP) comes as its character code.
            std::int64_t code = 0;
            const ValueType type = valueTypeOf(tags.front().code);
            if ((type == ValueType::Int16 || type == ValueType::Int32 || type == ValueType::Int64)
                && drawing::parseInteger(first, code))
                vars.set(key, code);
            else
                vars.set(key, arxhost::fromUtf8(first));
            break;
        }
        case arxhost::VarKind::Point2d:
        case arxhost::VarKind::Point3d: {
            std::array<double, 3> p {0, 0, 0};
            for (const RawTag& tag : tags) {
                const int axis = tag.code / 10 - 1;
                if (tag.code % 10 == 0 && axis >= 0 && axis < 3)
                    drawing::parseDouble(tag.value, p[static_cast<std::size_t>(axis)]);
            }
            vars.set(key, p);
            break;
        }
        case arxhost::VarKind::TableName: {
            const std::wstring recordName = arxhost::fromUtf8(first);
            AcDbObjectId tableId = key == L"CLAYER" ? mImpl.layerTable
                : key == L"CELTYPE"                 ? mImpl.linetypeTable
                : key == L"DIMSTYLE"                ? mImpl.dimStyleTable
                                                    : mImpl.textStyleTable;
            const auto* table = AcDbSymbolTable::cast(DatabaseImpl::peek(tableId));
            AcDbObjectId id;
            if (table != nullptr && table->getAt(recordName.c_str(), id) == Acad::eOk)
                vars.set(key, id);
            break;
        }
        }
    }
}

void DrawingReader::renumberProvisionalHandles()
{
    std::uint64_t seed = std::max(mMaxHandle + 1, mHeaderSeed);
    mImpl.resetHandseed(seed);
    for (AcDbStub* stub : mProvisional)
        mImpl.rehandle(stub, mImpl.allocateHandle());
    mImpl.reserveHandlesBelow(seed);

    // Kept records without a handle (old files) get theirs now, with their owner, where a file of the
    // versions the host writes has them: first, or after a table's name.
    auto handleTags = [](AcDbHandle handle, AcDbHandle owner) {
        return RawTags {{5, arxhost::toUtf8(arxhost::handleText(handle))},
            {330, arxhost::toUtf8(arxhost::handleText(owner))}};
    };
    for (AcDbStub* stub : mProvisional) {
        AcDbObject* object = stub->object();
        const AcDbHandle owner = object->ownerId().isNull() ? AcDbHandle() : object->ownerId().handle();
        if (auto* entity = arxhost::UnmodelledEntity::cast(object)) {
            RawTags tags = handleTags(stub->handle(), owner);
            tags.insert(tags.end(), entity->tags().begin(), entity->tags().end());
            entity->hostSetTags(std::move(tags));
        } else if (auto* kept = arxhost::UnmodelledObject::cast(object)) {
            RawTags tags = kept->tags();
            const std::size_t at
                = (kept->type() == L"TABLE" && !tags.empty() && tags.front().code == 2) ? 1 : 0;
            RawTags identity = handleTags(stub->handle(), owner);
            tags.insert(tags.begin() + static_cast<std::ptrdiff_t>(at), identity.begin(), identity.end());
            kept->hostSetTags(std::move(tags));
        }
    }
    for (AcDbStub& stubRef : mImpl.stubs()) {
        AcDbStub* stub = &stubRef;
        auto* entity = arxhost::UnmodelledEntity::cast(stub->object());
        if (entity == nullptr || entity->followers().empty())
            continue;
        std::vector<arxhost::RawRecord> followers = entity->followers();
        bool changed = false;
        for (arxhost::RawRecord& follower : followers) {
            if (arxhost::firstValue(follower.tags, 5) != nullptr)
                continue;
            RawTags tags = handleTags(mImpl.allocateHandle(), stub->handle());
            tags.insert(tags.end(), follower.tags.begin(), follower.tags.end());
            follower.tags = std::move(tags);
            changed = true;
        }
        if (changed)
            entity->hostSetFollowers(std::move(followers));
    }
}

} // namespace

std::unique_ptr<AcDbDatabase> readDrawing(std::string_view data)
{
    auto db = std::make_unique<AcDbDatabase>(false);
    TagReader reader(data);
    DrawingReader drawingReader(reader, *db);
    drawingReader.read();
    return db;
}

std::unique_ptr<AcDbDatabase> readDrawingFile(const std::filesystem::path& file)
{
    TagReader reader = TagReader::open(file);
    auto db = std::make_unique<AcDbDatabase>(false);
    DrawingReader drawingReader(reader, *db);
    drawingReader.read();
    // File names are UTF-8 bytes here; path::wstring() would throw for non-ASCII in the "C" locale.
    db->impl().fileName = arxhost::fromUtf8(file.string());
    return db;
}

} // namespace dxf
