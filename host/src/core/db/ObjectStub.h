// The record behind an AcDbObjectId: handle, owned object and its open state.
#pragma once

#include <memory>

#include "dbmain.h"

class AcDbStub {
public:
    AcDbStub(AcDbDatabase* database, AcDbHandle handle)
        : mDatabase(database)
        , mHandle(handle)
    {
    }
    AcDbStub(const AcDbStub&) = delete;
    AcDbStub& operator=(const AcDbStub&) = delete;

    AcDbDatabase* database() const { return mDatabase; }
    AcDbHandle handle() const { return mHandle; }
    void setHandle(AcDbHandle handle) { mHandle = handle; }
    AcDbObject* object() const { return mObject.get(); }
    // Installs a new object state (an append, or an undo restoring a snapshot); returns the old one.
    std::unique_ptr<AcDbObject> replaceObject(std::unique_ptr<AcDbObject> object)
    {
        std::unique_ptr<AcDbObject> old = std::move(mObject);
        mObject = std::move(object);
        if (mObject)
            mObject->hostAttach(this);
        if (old)
            old->hostAttach(nullptr);
        return old;
    }

    int readers = 0;
    bool writer = false;
    // Set while the object is being restored by undo, so that the restore itself is not recorded.
    bool restoring = false;

private:
    AcDbDatabase* mDatabase;
    AcDbHandle mHandle;
    std::unique_ptr<AcDbObject> mObject;
};
