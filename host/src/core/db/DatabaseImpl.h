// The inside of AcDbDatabase: objects by handle, the open protocol, header variables, undo and index.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/DrawingFileData.h"
#include "db/HeaderVars.h"
#include "db/ObjectStub.h"
#include "db/SpatialIndex.h"
#include "db/UndoLog.h"
#include "dbmain.h"

namespace arxhost {

class DatabaseImpl {
public:
    explicit DatabaseImpl(AcDbDatabase& owner);
    ~DatabaseImpl();
    DatabaseImpl(const DatabaseImpl&) = delete;
    DatabaseImpl& operator=(const DatabaseImpl&) = delete;

    AcDbDatabase& owner() const { return mOwner; }

    // Makes the object resident under a new handle (or the given one, which must be free) with the
    // given owner. Records the creation for undo.
    Acad::ErrorStatus add(
        AcDbObject* object, AcDbObjectId ownerId, AcDbObjectId& idOut, AcDbHandle handle = AcDbHandle());
    AcDbStub* stubOf(AcDbHandle handle) const;
    AcDbHandle handseed() const { return AcDbHandle(mNextHandle); }
    // A handle for something that is not an object of its own (the BLOCK record of a new block).
    AcDbHandle allocateHandle() { return AcDbHandle(mNextHandle++); }
    // Gives an object another handle (the reader's provisional handles); false when it is taken.
    bool rehandle(AcDbStub* stub, AcDbHandle handle);
    // Raises the seed so that new objects never reuse a handle below it.
    void reserveHandlesBelow(Adesk::UInt64 seed);
    // Sets the seed outright (the file reader, once every handle of the file is known).
    void resetHandseed(Adesk::UInt64 seed) { mNextHandle = seed; }
    std::size_t objectCount() const { return mStubs.size(); }
    // Every stub, in the order the objects were added (for a drawing read from a file, file order).
    std::deque<AcDbStub>& stubs() { return mStubs; }
    const std::deque<AcDbStub>& stubs() const { return mStubs; }

    Acad::ErrorStatus open(AcDbStub* stub, AcDb::OpenMode mode, bool openErased, AcDbObject*& out);
    Acad::ErrorStatus close(AcDbStub* stub);
    Acad::ErrorStatus upgrade(AcDbStub* stub);
    Acad::ErrorStatus downgrade(AcDbStub* stub);
    // Stubs that are open now (the host checks this when a command ends).
    std::vector<AcDbStub*> openStubs() const;
    // The host changing an object outside the open protocol (vertex moves, undo): records it.
    AcDbObject* modify(AcDbStub* stub);
    // Reading without opening, for the host's own queries.
    static const AcDbObject* peek(AcDbObjectId id);

    HeaderVars& header() { return mHeader; }
    const HeaderVars& header() const { return mHeader; }
    HeaderValue headerValue(const std::wstring& upperName) const;
    void setHeaderValue(const std::wstring& upperName, HeaderValue value);

    UndoLog& undo() { return mUndo; }
    // The index of model space, built first if a bulk load left it stale.
    SpatialIndex& index()
    {
        if (mIndexStale)
            rebuildIndex();
        return mIndex;
    }
    // Brings the index entry of a model-space entity up to date (after a change, erase or undo).
    void refreshIndex(AcDbStub* stub);
    // Rebuilds the whole index from model space.
    void rebuildIndex();
    // After a bulk load: the index is built in one pass when it is first asked for, so that opening a
    // drawing only to convert or save it does not pay for it.
    void invalidateIndex()
    {
        mIndexStale = true;
        mIndex.rebuild({});
    }
    bool indexSuspended() const { return mIndexSuspended; }
    // While a drawing file is read, objects take their values without the write-open protocol.
    bool loading() const { return mLoading; }
    void setLoading(bool loading) { mLoading = loading; }
    void suspendIndex(bool suspended) { mIndexSuspended = suspended; }

    // Well-known objects.
    AcDbObjectId blockTable, layerTable, textStyleTable, linetypeTable, dimStyleTable, regAppTable;
    AcDbObjectId namedObjects, groupDictionary;
    AcDbObjectId modelSpace, paperSpace, layerZero, linetypeByLayer, linetypeByBlock, linetypeContinuous;
    AcDbObjectId textStyleStandard, dimStyleStandard;

    std::wstring fileName;
    // What the drawing file held beyond the objects (empty for a new drawing).
    DrawingFileData file;
    int nextAnonymousBlock = 1;
    int nextAnonymousGroup = 1;

private:
    AcDbDatabase& mOwner;
    // Stubs never move (ids point at them): a deque keeps them in place and allocates them in blocks.
    std::deque<AcDbStub> mStubs;
    std::unordered_map<Adesk::UInt64, AcDbStub*> mByHandle;
    Adesk::UInt64 mNextHandle = 1;
    HeaderVars mHeader;
    UndoLog mUndo;
    SpatialIndex mIndex;
    bool mIndexSuspended = false;
    bool mIndexStale = false;
    bool mLoading = false;
};

// The database an object id belongs to, or null.
DatabaseImpl* implOf(AcDbObjectId id);
// Case-insensitive comparison of names (symbol tables, dictionaries, commands).
bool sameName(const wchar_t* a, const wchar_t* b);
std::wstring upperName(const wchar_t* name);

} // namespace arxhost
