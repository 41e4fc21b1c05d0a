// Database objects and entities, the database itself, and the functions that open objects by id.
#pragma once

#include <memory>

#include "AcString.h"
#include "acadstrc.h"
#include "acdb.h"
#include "adesk.h"
#include "adsdef.h"
#include "dbcolor.h"
#include "dbid.h"
#include "detail/DimVarList.h"
#include "detail/RawTags.h"
#include "detail/TypedValue.h"
#include "gemat3d.h"
#include "gepnt3d.h"
#include "gept3dar.h"
#include "gevec3d.h"
#include "rxobject.h"

class AcDbDatabase;
class AcDbDictionary;
class AcDbSymbolTable;
class AcDbBlockTable;
class AcDbLayerTable;
class AcDbTextStyleTable;
class AcDbLinetypeTable;
class AcDbDimStyleTable;
class AcDbRegAppTable;
class AcDbDimStyleTableRecord;

namespace arxhost {
class DatabaseImpl;
namespace geom {
class Path;
}
} // namespace arxhost

// An axis-aligned box in world coordinates.
class AcDbExtents {
public:
    AcDbExtents();
    AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max);
    AcGePoint3d minPoint() const { return mMin; }
    AcGePoint3d maxPoint() const { return mMax; }
    Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max);
    void addPoint(const AcGePoint3d& pt);
    void addExt(const AcDbExtents& src);
    void expandBy(const AcGeVector3d& vec);
    void transformBy(const AcGeMatrix3d& mat);
    // True until a point was added: an empty box holds nothing.
    bool isEmpty() const;

private:
    AcGePoint3d mMin;
    AcGePoint3d mMax;
};

class AcDbFullSubentPath {
public:
    AcDbFullSubentPath() = default;
    bool operator==(const AcDbFullSubentPath&) const { return true; }
};
extern const AcDbFullSubentPath kNullSubent;

class AcDbObject : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbObject);
    ~AcDbObject() override;

    AcDbObjectId objectId() const;
    AcDbObjectId ownerId() const;
    virtual Acad::ErrorStatus setOwnerId(AcDbObjectId objId);
    void getAcDbHandle(AcDbHandle& handle) const;
    AcDbHandle handle() const;
    AcDbDatabase* database() const;

    // Ends this open of the object; a write-open also updates the drawing's indexes.
    Acad::ErrorStatus close();
    Acad::ErrorStatus cancel();
    Acad::ErrorStatus erase(Adesk::Boolean erasing = true);
    Adesk::Boolean isErased() const { return mErased; }
    Acad::ErrorStatus upgradeOpen();
    Acad::ErrorStatus downgradeOpen();
    Adesk::Boolean isReadEnabled() const;
    Adesk::Boolean isWriteEnabled() const;
    Adesk::Boolean isNotifyEnabled() const { return false; }
    Adesk::Boolean isNewObject() const;
    Adesk::Boolean isDatabaseResident() const { return mpStub != nullptr; }
    void assertReadEnabled() const;
    // Reports a host rule violation when a database-resident object is changed without a write-open.
    void assertWriteEnabled(Adesk::Boolean autoUndo = true, Adesk::Boolean recordModified = true) const;

    // Extended data as a result-buffer chain (1001 application name, then its values); the caller
    // frees it with acutRelRb. With no name, every application's data; null when there is none.
    virtual resbuf* xData(const ACHAR* regappName = nullptr) const;
    // Replaces the data of each application named in the chain; an application followed by no
    // values loses its data. Every application must be registered in the drawing.
    virtual Acad::ErrorStatus setXData(const resbuf* xdata);

    // Objects notified of this one's changes, kept in the drawing (groups of an entity, the dictionary
    // of an entry, and whatever else the drawing file listed).
    Acad::ErrorStatus addPersistentReactor(AcDbObjectId objId);
    Acad::ErrorStatus removePersistentReactor(AcDbObjectId objId);
    bool hasPersistentReactor(AcDbObjectId objId) const;
    const std::vector<AcDbObjectId>& hostPersistentReactors() const { return mReactors; }

    AcDbObjectId extensionDictionary() const { return mExtensionDictionary; }
    Acad::ErrorStatus createExtensionDictionary();
    Acad::ErrorStatus releaseExtensionDictionary();

    AcRxObject* clone() const override;

    // Host side: the stored extended data, in order, for the drawing file writer and the filters.
    const arxhost::TypedValues& xdataValues() const { return mXData; }
    arxhost::TypedValues& xdataValuesForWrite() { return mXData; }
    bool hasXDataOf(const ACHAR* appName) const;
    // Host side: the group-coded values that selection filters test; false when the object has none.
    virtual bool filterGroup(short code, arxhost::TypedValue& out) const;
    // Host side: DXF name of the object ("LINE", "DICTIONARY").
    virtual const ACHAR* dxfTypeName() const;
    AcDbStub* hostStub() const { return mpStub; }
    // Host side: true while the object's drawing is being read from a file.
    bool hostLoading() const;
    void hostAttach(AcDbStub* stub) { mpStub = stub; }
    void hostSetErased(bool erased) { mErased = erased; }
    void hostSetExtensionDictionary(AcDbObjectId id) { mExtensionDictionary = id; }
    // Host side: what the drawing file held for this object beyond what the host models (groups in
    // the order read, each subclass's after its marker), written back when the drawing is saved.
    const arxhost::SharedRawTags& hostDxfExtras() const { return mDxfExtras; }
    void hostSetDxfExtras(arxhost::SharedRawTags extras) { mDxfExtras = std::move(extras); }
    void hostSetPersistentReactors(std::vector<AcDbObjectId> reactors) { mReactors = std::move(reactors); }
    // Host side: called when a write-open ends, before indexes are refreshed.
    virtual void hostOnWriteClose() { }

protected:
    AcDbObject();
    AcDbObject(const AcDbObject& other);
    AcDbObject& operator=(const AcDbObject&) = delete;
    // True when the object may change now; otherwise reports the violation.
    bool writable() const;
    Acad::ErrorStatus writeCheck() const { return writable() ? Acad::eOk : Acad::eNotOpenForWrite; }

private:
    AcDbStub* mpStub = nullptr;
    AcDbObjectId mOwnerId;
    bool mErased = false;
    AcDbObjectId mExtensionDictionary;
    arxhost::TypedValues mXData;
    std::vector<AcDbObjectId> mReactors;
    arxhost::SharedRawTags mDxfExtras;
};

class AcDbEntity : public AcDbObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbEntity);
    ~AcDbEntity() override;

    AcDbObjectId blockId() const { return ownerId(); }
    AcCmColor color() const { return mColor; }
    virtual Acad::ErrorStatus setColor(const AcCmColor& color, Adesk::Boolean doSubents = true);
    Adesk::UInt16 colorIndex() const { return mColor.colorIndex(); }
    virtual Acad::ErrorStatus setColorIndex(Adesk::UInt16 color, Adesk::Boolean doSubents = true);
    // The layer's name; the caller frees it with acutDelString.
    ACHAR* layer() const;
    AcDbObjectId layerId() const { return mLayerId; }
    virtual Acad::ErrorStatus setLayer(
        const ACHAR* newVal, Adesk::Boolean doSubents = true, bool allowHiddenLayer = false);
    virtual Acad::ErrorStatus setLayer(
        AcDbObjectId newVal, Adesk::Boolean doSubents = true, bool allowHiddenLayer = false);
    // The linetype's name; the caller frees it with acutDelString.
    ACHAR* linetype() const;
    AcDbObjectId linetypeId() const { return mLinetypeId; }
    virtual Acad::ErrorStatus setLinetype(const ACHAR* newVal, Adesk::Boolean doSubents = true);
    virtual Acad::ErrorStatus setLinetype(AcDbObjectId newVal, Adesk::Boolean doSubents = true);
    double linetypeScale() const { return mLinetypeScale; }
    virtual Acad::ErrorStatus setLinetypeScale(double newval, Adesk::Boolean doSubents = true);
    AcDb::Visibility visibility() const { return mVisibility; }
    virtual Acad::ErrorStatus setVisibility(AcDb::Visibility newVal, Adesk::Boolean doSubents = true);
    AcDb::LineWeight lineWeight() const { return mLineWeight; }
    virtual Acad::ErrorStatus setLineWeight(AcDb::LineWeight newVal, Adesk::Boolean doSubents = true);
    // Layer, colour, linetype and scale from the drawing's current settings.
    void setDatabaseDefaults();
    void setDatabaseDefaults(AcDbDatabase* pDb);
    bool hasDatabaseDefaults() const { return !mLayerId.isNull(); }
    // Copies layer, colour, linetype, linetype scale, visibility and lineweight from another entity.
    Acad::ErrorStatus setPropertiesFrom(const AcDbEntity& other, Adesk::Boolean doSubents = true);

    virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
    virtual Acad::ErrorStatus getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& ent) const;
    virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
    virtual Acad::ErrorStatus intersectWith(const AcDbEntity* pEnt, AcDb::Intersect intType,
        AcGePoint3dArray& points, Adesk::GsMarker thisGsMarker = 0, Adesk::GsMarker otherGsMarker = 0) const;
    Acad::ErrorStatus highlight(
        const AcDbFullSubentPath& subId = kNullSubent, const Adesk::Boolean highlightAll = false) const;
    Acad::ErrorStatus unhighlight(
        const AcDbFullSubentPath& subId = kNullSubent, const Adesk::Boolean highlightAll = false) const;
    void draw() { }
    void recordGraphicsModified(Adesk::Boolean = true) { }

    // Host side: the entity's outline as a path of line and arc segments, for intersections,
    // selection and picking; false for entities without one.
    virtual bool hostPath(arxhost::geom::Path& path) const;
    bool filterGroup(short code, arxhost::TypedValue& out) const override;

protected:
    AcDbEntity();
    AcDbEntity(const AcDbEntity& other);

private:
    AcCmColor mColor;
    AcDbObjectId mLayerId;
    AcDbObjectId mLinetypeId;
    double mLinetypeScale = 1.0;
    AcDb::Visibility mVisibility = AcDb::kVisible;
    AcDb::LineWeight mLineWeight = AcDb::kLnWtByLayer;
};

class AcDbHostApplicationServices;

// The drawing: its objects by handle, its tables and dictionaries, header variables and undo history.
class AcDbDatabase : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcDbDatabase);
    // A new drawing with the standard tables, layer "0", styles "Standard", model and paper space.
    explicit AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
    ~AcDbDatabase() override;
    AcDbDatabase(const AcDbDatabase&) = delete;
    AcDbDatabase& operator=(const AcDbDatabase&) = delete;

    Acad::ErrorStatus addAcDbObject(AcDbObjectId& objId, AcDbObject* pObj);
    Acad::ErrorStatus addAcDbObject(AcDbObject* pObj);
    Acad::ErrorStatus getAcDbObjectId(
        AcDbObjectId& retId, bool createIfNotFound, const AcDbHandle& objHandle, Adesk::UInt32 xRefId = 0);

    Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode);
    Acad::ErrorStatus getSymbolTable(AcDbLayerTable*& pTable, AcDb::OpenMode mode);
    Acad::ErrorStatus getSymbolTable(AcDbTextStyleTable*& pTable, AcDb::OpenMode mode);
    Acad::ErrorStatus getSymbolTable(AcDbLinetypeTable*& pTable, AcDb::OpenMode mode);
    Acad::ErrorStatus getSymbolTable(AcDbDimStyleTable*& pTable, AcDb::OpenMode mode);
    Acad::ErrorStatus getSymbolTable(AcDbRegAppTable*& pTable, AcDb::OpenMode mode);
    Acad::ErrorStatus getBlockTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode)
    {
        return getSymbolTable(pTable, mode);
    }
    Acad::ErrorStatus getLayerTable(AcDbLayerTable*& pTable, AcDb::OpenMode mode)
    {
        return getSymbolTable(pTable, mode);
    }
    Acad::ErrorStatus getTextStyleTable(AcDbTextStyleTable*& pTable, AcDb::OpenMode mode)
    {
        return getSymbolTable(pTable, mode);
    }
    Acad::ErrorStatus getLinetypeTable(AcDbLinetypeTable*& pTable, AcDb::OpenMode mode)
    {
        return getSymbolTable(pTable, mode);
    }
    Acad::ErrorStatus getDimStyleTable(AcDbDimStyleTable*& pTable, AcDb::OpenMode mode)
    {
        return getSymbolTable(pTable, mode);
    }
    Acad::ErrorStatus getRegAppTable(AcDbRegAppTable*& pTable, AcDb::OpenMode mode)
    {
        return getSymbolTable(pTable, mode);
    }
    Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& pDict, AcDb::OpenMode mode);
    Acad::ErrorStatus getGroupDictionary(AcDbDictionary*& pDict, AcDb::OpenMode mode);

    AcDbObjectId blockTableId() const;
    AcDbObjectId layerTableId() const;
    AcDbObjectId textStyleTableId() const;
    AcDbObjectId linetypeTableId() const;
    AcDbObjectId dimStyleTableId() const;
    AcDbObjectId regAppTableId() const;
    AcDbObjectId namedObjectsDictionaryId() const;
    AcDbObjectId groupDictionaryId() const;
    AcDbObjectId currentSpaceId() const;
    AcDbObjectId modelSpaceId() const;
    AcDbObjectId paperSpaceId() const;
    AcDbObjectId byLayerLinetype() const;
    AcDbObjectId byBlockLinetype() const;
    AcDbObjectId continuousLinetype() const;
    AcDbObjectId layerZero() const;

    AcDbObjectId clayer() const;
    Acad::ErrorStatus setClayer(AcDbObjectId objId);
    AcDbObjectId textstyle() const;
    Acad::ErrorStatus setTextstyle(AcDbObjectId objId);
    AcDbObjectId celtype() const;
    Acad::ErrorStatus setCeltype(AcDbObjectId objId);
    AcCmColor cecolor() const;
    Acad::ErrorStatus setCecolor(const AcCmColor& color);
    double celtscale() const;
    AcDbObjectId dimstyle() const;
    Acad::ErrorStatus setDimstyle(AcDbObjectId styleId);
    // Copies the dimension variables of a dimension style into the drawing's current ones.
    Acad::ErrorStatus setDimstyleData(AcDbObjectId id);
    Acad::ErrorStatus setDimstyleData(AcDbDimStyleTableRecord* pRec);
    AcDbHandle handseed() const;
    AcGePoint3d ucsorg() const;
    AcGeVector3d ucsxdir() const;
    AcGeVector3d ucsydir() const;
    AcGePoint3d extmin() const;
    AcGePoint3d extmax() const;
    Acad::ErrorStatus updateExt(bool doBestFit = false);
    Adesk::Int32 approxNumObjects() const;

    // Current dimension variables of the drawing (DIMLFAC, DIMSCALE, DIMDSEP, ...).
    ARXHOST_DECLARE_DIMVAR_ACCESSORS

    // The name the drawing was read from or last saved as; empty for a new drawing.
    Acad::ErrorStatus getFilename(const ACHAR*& pOutput) const;

    // Host side.
    arxhost::DatabaseImpl& impl() const { return *mImpl; }

private:
    std::unique_ptr<arxhost::DatabaseImpl> mImpl;
};

// Opening by id. A second write-open, or a write-open while readers hold the object, fails.
Acad::ErrorStatus acdbOpenAcDbObject(
    AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode, bool openErasedObject = false);
Acad::ErrorStatus acdbOpenAcDbEntity(
    AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode, bool openErasedEntity = false);
Acad::ErrorStatus acdbOpenObject(
    AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false);
Acad::ErrorStatus acdbOpenObject(
    AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false);

template <class T>
Acad::ErrorStatus acdbOpenObject(T*& pObj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false)
{
    pObj = nullptr;
    AcDbObject* pBase = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbObject(pBase, id, mode, openErased);
    if (es != Acad::eOk)
        return es;
    pObj = T::cast(pBase);
    if (pObj == nullptr) {
        pBase->close();
        return Acad::eNotThatKindOfClass;
    }
    return Acad::eOk;
}

Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId);
Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName);
int acdbRegApp(const ACHAR* appname);
int acdbEntLast(ads_name result);
int acdbEntNext(const ads_name ent, ads_name result);
int acdbEntDel(const ads_name ent);
void acutDelString(ACHAR*& pString);

// Rx class initialisation hooks of the SDK; nothing to do in the host.
inline void acrxBuildClassHierarchy() { }
