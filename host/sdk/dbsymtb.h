// Symbol tables and their records: blocks, layers, text styles, linetypes, dimension styles, applications.
#pragma once

#include <string>
#include <vector>

#include "dbmain.h"

class AcDbSymbolTableRecord;
class AcDbSymbolTableIterator;
class AcDbBlockTableRecordIterator;

class AcDbSymbolTable : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbSymbolTable);
    ~AcDbSymbolTable() override;
    // Looks a record up by name, without regard to case.
    Acad::ErrorStatus getAt(
        const ACHAR* entryName, AcDbObjectId& recordId, bool getErasedRecord = false) const;
    Acad::ErrorStatus getAt(const ACHAR* entryName, AcDbSymbolTableRecord*& pRec, AcDb::OpenMode openMode,
        bool openErasedRec = false) const;
    bool has(const ACHAR* name) const;
    bool has(AcDbObjectId id) const;
    Acad::ErrorStatus newIterator(
        AcDbSymbolTableIterator*& pIterator, bool atBeginning = true, bool skipDeleted = true) const;
    // Adds a record; the table must be open for write and the name must be new and valid.
    Acad::ErrorStatus add(AcDbSymbolTableRecord* pRecord);
    Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord);

    // Host side: the record ids in the order they were added.
    const std::vector<AcDbObjectId>& hostRecordIds() const { return mRecords; }
    void hostAdoptRecord(AcDbObjectId id) { mRecords.push_back(id); }

protected:
    AcDbSymbolTable() = default;
    AcDbSymbolTable(const AcDbSymbolTable& other) = default;
    // Whether this table accepts records of that class.
    virtual bool acceptsRecord(const AcDbSymbolTableRecord* pRecord) const = 0;

private:
    std::vector<AcDbObjectId> mRecords;
};

class AcDbSymbolTableRecord : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbSymbolTableRecord);
    ~AcDbSymbolTableRecord() override;
    Acad::ErrorStatus getName(const ACHAR*& pName) const;
    // A copy the caller frees with acutDelString.
    Acad::ErrorStatus getName(ACHAR*& pName) const;
    Acad::ErrorStatus getName(AcString& sName) const;
    const ACHAR* hostName() const { return mName.c_str(); }
    // Host side: names the record without the checks (the file reader, anonymous block names).
    void hostSetName(const ACHAR* pName);
    // Renames the record; fails for an invalid name or one another record of the table has.
    Acad::ErrorStatus setName(const ACHAR* pName);
    bool isDependent() const { return false; }
    bool isResolved() const { return true; }

protected:
    AcDbSymbolTableRecord() = default;
    AcDbSymbolTableRecord(const AcDbSymbolTableRecord& other) = default;

private:
    std::wstring mName;
};

class AcDbSymbolTableIterator : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbSymbolTableIterator);
    AcDbSymbolTableIterator(std::vector<AcDbObjectId> records, bool atBeginning, bool skipDeleted);
    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const;
    void step(bool forward = true, bool skipDeleted = true);
    Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
    Acad::ErrorStatus getRecord(
        AcDbSymbolTableRecord*& pRecord, AcDb::OpenMode openMode, bool openErasedRec = false) const;
    Acad::ErrorStatus seek(AcDbObjectId id);

private:
    void skip(bool forward, bool skipDeleted);
    std::vector<AcDbObjectId> mRecords;
    int mIndex = 0;
};

// Declares a table, its record's iterator and the typed lookups of one kind of symbol table.
#define ARXHOST_DECLARE_SYMBOL_TABLE(TABLE, RECORD, ITERATOR)                                                \
    class RECORD;                                                                                            \
    class ITERATOR : public AcDbSymbolTableIterator {                                                        \
    public:                                                                                                  \
        using AcDbSymbolTableIterator::AcDbSymbolTableIterator;                                              \
        using AcDbSymbolTableIterator::getRecord;                                                            \
        Acad::ErrorStatus getRecord(                                                                         \
            RECORD*& pRecord, AcDb::OpenMode openMode, bool openErasedRec = false) const;                    \
    };                                                                                                       \
    class TABLE : public AcDbSymbolTable {                                                                   \
    public:                                                                                                  \
        ACRX_DECLARE_MEMBERS(TABLE);                                                                         \
        TABLE() = default;                                                                                   \
        using AcDbSymbolTable::getAt;                                                                        \
        using AcDbSymbolTable::newIterator;                                                                  \
        Acad::ErrorStatus getAt(const ACHAR* entryName, RECORD*& pRec, AcDb::OpenMode openMode,              \
            bool openErasedRec = false) const;                                                               \
        Acad::ErrorStatus newIterator(                                                                       \
            ITERATOR*& pIterator, bool atBeginning = true, bool skipDeleted = true) const;                   \
        AcRxObject* clone() const override { return new TABLE(*this); }                                      \
        const ACHAR* dxfTypeName() const override { return ACRX_T("TABLE"); }                                \
                                                                                                             \
    protected:                                                                                               \
        bool acceptsRecord(const AcDbSymbolTableRecord* pRecord) const override;                             \
    };

ARXHOST_DECLARE_SYMBOL_TABLE(AcDbBlockTable, AcDbBlockTableRecord, AcDbBlockTableIterator)
ARXHOST_DECLARE_SYMBOL_TABLE(AcDbLayerTable, AcDbLayerTableRecord, AcDbLayerTableIterator)
ARXHOST_DECLARE_SYMBOL_TABLE(AcDbTextStyleTable, AcDbTextStyleTableRecord, AcDbTextStyleTableIterator)
ARXHOST_DECLARE_SYMBOL_TABLE(AcDbLinetypeTable, AcDbLinetypeTableRecord, AcDbLinetypeTableIterator)
ARXHOST_DECLARE_SYMBOL_TABLE(AcDbDimStyleTable, AcDbDimStyleTableRecord, AcDbDimStyleTableIterator)
ARXHOST_DECLARE_SYMBOL_TABLE(AcDbRegAppTable, AcDbRegAppTableRecord, AcDbRegAppTableIterator)

#define ACDB_MODEL_SPACE ACRX_T("*Model_Space")
#define ACDB_PAPER_SPACE ACRX_T("*Paper_Space")

// A block definition: an ordered list of entities and an origin. A name beginning with "*U" (or
// exactly "*U") makes the block anonymous; the database then gives it the next free "*Un" name.
class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockTableRecord);
    AcDbBlockTableRecord() = default;
    ~AcDbBlockTableRecord() override;
    // Takes ownership of the entity and gives it an id; the record must be open for write.
    Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& pOutputId, AcDbEntity* pEntity);
    Acad::ErrorStatus appendAcDbEntity(AcDbEntity* pEntity);
    Acad::ErrorStatus newIterator(
        AcDbBlockTableRecordIterator*& pIterator, bool atBeginning = true, bool skipDeleted = true) const;
    AcGePoint3d origin() const { return mOrigin; }
    Acad::ErrorStatus setOrigin(const AcGePoint3d& pt);
    bool isAnonymous() const;
    bool isLayout() const;
    bool hasAttributeDefinitions() const { return false; }
    Acad::ErrorStatus comments(ACHAR*& pString) const;
    Acad::ErrorStatus setComments(const ACHAR* pString);
    // Ids of the block references (in the block table's blocks) that show this block.
    Acad::ErrorStatus getBlockReferenceIds(
        AcDbObjectIdArray& ids, bool bDirectOnly = true, bool bForceValidity = false) const;

    // Host side: the entity ids in drawing order, erased ones included.
    const std::vector<AcDbObjectId>& hostEntityIds() const { return mEntities; }
    void hostAdoptEntity(AcDbObjectId id) { mEntities.push_back(id); }
    AcRxObject* clone() const override { return new AcDbBlockTableRecord(*this); }
    const ACHAR* dxfTypeName() const override { return ACRX_T("BLOCK_RECORD"); }

private:
    AcDbBlockTableRecord(const AcDbBlockTableRecord& other) = default;
    AcGePoint3d mOrigin;
    std::wstring mComments;
    std::vector<AcDbObjectId> mEntities;
};

class AcDbBlockTableRecordIterator : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbBlockTableRecordIterator);
    AcDbBlockTableRecordIterator(std::vector<AcDbObjectId> entities, bool atBeginning, bool skipDeleted);
    void start(bool atBeginning = true, bool skipDeleted = true);
    bool done() const;
    void step(bool forward = true, bool skipDeleted = true);
    Acad::ErrorStatus getEntityId(AcDbObjectId& entityId) const;
    Acad::ErrorStatus getEntity(
        AcDbEntity*& pEntity, AcDb::OpenMode openMode, bool openErasedEntity = false) const;
    Acad::ErrorStatus seek(AcDbObjectId id);

private:
    void skip(bool forward, bool skipDeleted);
    std::vector<AcDbObjectId> mEntities;
    int mIndex = 0;
};

class AcDbLayerTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbLayerTableRecord);
    AcDbLayerTableRecord() = default;
    AcCmColor color() const { return mColor; }
    void setColor(const AcCmColor& color);
    bool isFrozen() const { return mFrozen; }
    Acad::ErrorStatus setIsFrozen(bool frozen);
    bool isOff() const { return mOff; }
    void setIsOff(bool off);
    bool isLocked() const { return mLocked; }
    void setIsLocked(bool locked);
    bool isPlottable() const { return mPlottable; }
    Acad::ErrorStatus setIsPlottable(bool plot);
    AcDbObjectId linetypeObjectId() const { return mLinetypeId; }
    void setLinetypeObjectId(AcDbObjectId id);
    AcDb::LineWeight lineWeight() const { return mLineWeight; }
    Acad::ErrorStatus setLineWeight(AcDb::LineWeight weight);
    // Hidden from the user: frozen or off.
    bool isHidden() const { return mFrozen || mOff; }
    AcRxObject* clone() const override { return new AcDbLayerTableRecord(*this); }
    const ACHAR* dxfTypeName() const override { return ACRX_T("LAYER"); }

private:
    AcDbLayerTableRecord(const AcDbLayerTableRecord& other) = default;
    AcCmColor mColor = [] {
        AcCmColor c;
        c.setColorIndex(7);
        return c;
    }();
    bool mFrozen = false;
    bool mOff = false;
    bool mLocked = false;
    bool mPlottable = true;
    AcDbObjectId mLinetypeId;
    AcDb::LineWeight mLineWeight = AcDb::kLnWtByLwDefault;
};

class AcDbTextStyleTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbTextStyleTableRecord);
    AcDbTextStyleTableRecord() = default;
    Acad::ErrorStatus fileName(const ACHAR*& fileName) const;
    Acad::ErrorStatus setFileName(const ACHAR* fileName);
    Acad::ErrorStatus bigFontFileName(const ACHAR*& fileName) const;
    Acad::ErrorStatus setBigFontFileName(const ACHAR* fileName);
    double textSize() const { return mTextSize; }
    Acad::ErrorStatus setTextSize(double size);
    double xScale() const { return mXScale; }
    Acad::ErrorStatus setXScale(double xScale);
    double obliquingAngle() const { return mObliquingAngle; }
    Acad::ErrorStatus setObliquingAngle(double obliquingAngle);
    double priorSize() const { return mPriorSize; }
    Acad::ErrorStatus setPriorSize(double priorSize);
    Adesk::UInt8 flagBits() const { return mFlagBits; }
    void setFlagBits(Adesk::UInt8 flagBits);
    Adesk::Boolean isShapeFile() const { return (mFlagBits & 1) != 0; }
    Adesk::Boolean isVertical() const { return (mFlagBits & 4) != 0; }
    AcRxObject* clone() const override { return new AcDbTextStyleTableRecord(*this); }
    const ACHAR* dxfTypeName() const override { return ACRX_T("STYLE"); }

private:
    AcDbTextStyleTableRecord(const AcDbTextStyleTableRecord& other) = default;
    std::wstring mFileName = L"txt";
    std::wstring mBigFontFileName;
    double mTextSize = 0.0;
    double mXScale = 1.0;
    double mObliquingAngle = 0.0;
    double mPriorSize = 2.5;
    Adesk::UInt8 mFlagBits = 0;
};

class AcDbLinetypeTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbLinetypeTableRecord);
    AcDbLinetypeTableRecord() = default;
    Acad::ErrorStatus comments(const ACHAR*& pString) const;
    Acad::ErrorStatus setComments(const ACHAR* pString);
    double patternLength() const;
    int numDashes() const { return static_cast<int>(mDashes.size()); }
    void setNumDashes(int count);
    double dashLengthAt(int index) const;
    void setDashLengthAt(int index, double value);
    AcRxObject* clone() const override { return new AcDbLinetypeTableRecord(*this); }
    const ACHAR* dxfTypeName() const override { return ACRX_T("LTYPE"); }

private:
    AcDbLinetypeTableRecord(const AcDbLinetypeTableRecord& other) = default;
    std::wstring mComments;
    std::vector<double> mDashes;
};

class AcDbDimStyleTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbDimStyleTableRecord);
    AcDbDimStyleTableRecord();
    ARXHOST_DECLARE_DIMVAR_ACCESSORS

    // Host side: every dimension variable of the style, by catalogue order.
    const std::vector<arxhost::DimVarValue>& hostValues() const { return mValues; }
    void hostSetValue(arxhost::DimVar var, arxhost::DimVarValue value);
    AcRxObject* clone() const override { return new AcDbDimStyleTableRecord(*this); }
    const ACHAR* dxfTypeName() const override { return ACRX_T("DIMSTYLE"); }

private:
    AcDbDimStyleTableRecord(const AcDbDimStyleTableRecord& other) = default;
    std::vector<arxhost::DimVarValue> mValues;
};

class AcDbRegAppTableRecord : public AcDbSymbolTableRecord {
public:
    ACRX_DECLARE_MEMBERS(AcDbRegAppTableRecord);
    AcDbRegAppTableRecord() = default;
    AcRxObject* clone() const override { return new AcDbRegAppTableRecord(*this); }
    const ACHAR* dxfTypeName() const override { return ACRX_T("APPID"); }

private:
    AcDbRegAppTableRecord(const AcDbRegAppTableRecord& other) = default;
};
