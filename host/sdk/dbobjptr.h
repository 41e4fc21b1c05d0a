// AcDbObjectPointer and friends: open an object for the lifetime of a scope, close it at the end.
#pragma once

#include "dbmain.h"

template <class T> class AcDbObjectPointer {
public:
    AcDbObjectPointer() = default;
    AcDbObjectPointer(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false)
    {
        mStatus = acdbOpenObject(mObj, id, mode, openErased);
    }
    ~AcDbObjectPointer() { close(); }
    AcDbObjectPointer(const AcDbObjectPointer&) = delete;
    AcDbObjectPointer& operator=(const AcDbObjectPointer&) = delete;

    Acad::ErrorStatus open(AcDbObjectId id, AcDb::OpenMode mode, bool openErased = false)
    {
        close();
        mStatus = acdbOpenObject(mObj, id, mode, openErased);
        return mStatus;
    }
    Acad::ErrorStatus openStatus() const { return mStatus; }
    Acad::ErrorStatus close()
    {
        if (mObj == nullptr)
            return Acad::eOk;
        Acad::ErrorStatus es = mObj->isDatabaseResident() ? mObj->close() : Acad::eOk;
        if (!mObj->isDatabaseResident())
            delete mObj;
        mObj = nullptr;
        return es;
    }
    // Takes a new, non-resident object into the pointer.
    Acad::ErrorStatus create()
    {
        close();
        mObj = new T();
        mStatus = Acad::eOk;
        return mStatus;
    }
    Acad::ErrorStatus acquire(T*& pObjToAcquire)
    {
        close();
        mObj = pObjToAcquire;
        pObjToAcquire = nullptr;
        mStatus = Acad::eOk;
        return mStatus;
    }
    Acad::ErrorStatus release(T*& pReleased)
    {
        pReleased = mObj;
        mObj = nullptr;
        return Acad::eOk;
    }
    T* object() const { return mObj; }
    T* operator->() const { return mObj; }
    operator T*() const { return mObj; }

private:
    T* mObj = nullptr;
    Acad::ErrorStatus mStatus = Acad::eNullObjectPointer;
};

typedef AcDbObjectPointer<AcDbObject> AcDbObjectPointerBase;
template <class T> using AcDbSmartObjectPointer = AcDbObjectPointer<T>;
