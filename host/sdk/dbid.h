// AcDbObjectId: the in-memory identity of a database object, valid while its database lives.
#pragma once

#include "acarray.h"
#include "adesk.h"
#include "dbhandle.h"

class AcDbDatabase;
class AcDbStub;
class AcRxClass;

class AcDbObjectId {
public:
    AcDbObjectId() = default;
    AcDbObjectId(const AcDbStub* stub)
        : mId(const_cast<AcDbStub*>(stub))
    {
    }
    static const AcDbObjectId kNull;

    bool isNull() const { return mId == nullptr; }
    void setNull() { mId = nullptr; }
    // Non-null and belonging to a live database.
    bool isValid() const;
    bool isErased() const;
    bool isEffectivelyErased() const { return isErased(); }
    bool isResident() const { return isValid(); }
    bool objectLeftOnDisk() const { return false; }
    AcDbDatabase* database() const;
    AcDbDatabase* originalDatabase() const { return database(); }
    AcDbHandle handle() const;
    const AcDbHandle& nonForwardedHandle() const;
    AcRxClass* objectClass() const;
    Adesk::IntPtr asOldId() const { return reinterpret_cast<Adesk::IntPtr>(mId); }
    AcDbObjectId& setFromOldId(Adesk::IntPtr oldId)
    {
        mId = reinterpret_cast<AcDbStub*>(oldId);
        return *this;
    }

    AcDbObjectId& operator=(const AcDbStub* stub)
    {
        mId = const_cast<AcDbStub*>(stub);
        return *this;
    }
    operator AcDbStub*() const { return mId; }

    bool operator==(const AcDbObjectId& id) const { return mId == id.mId; }
    bool operator!=(const AcDbObjectId& id) const { return mId != id.mId; }
    bool operator<(const AcDbObjectId& id) const;
    bool operator>(const AcDbObjectId& id) const { return id < *this; }
    bool operator<=(const AcDbObjectId& id) const { return !(id < *this); }
    bool operator>=(const AcDbObjectId& id) const { return !(*this < id); }
    bool operator==(const AcDbStub* stub) const { return mId == stub; }
    bool operator!=(const AcDbStub* stub) const { return mId != stub; }

private:
    AcDbStub* mId = nullptr;
};

typedef AcDbObjectId AcDbHardOwnershipId;
typedef AcDbObjectId AcDbSoftOwnershipId;
typedef AcDbObjectId AcDbHardPointerId;
typedef AcDbObjectId AcDbSoftPointerId;
typedef AcArray<AcDbObjectId> AcDbObjectIdArray;
