// Drawing toolkit: extended data written from result-buffer lists, and soft links kept as 1005 handles.
#include "DrawingToolkit.h"

#include "dbobjptr.h"
#include "toolkit/ToolkitSupport.h"

namespace tarn::dat {

namespace {

// Replaces the application's data on the object with the values; the chain stays the caller's.
bool setAppData(AcDbObject& object, const CString& app, resbuf* values)
{
    support::ResbufPtr head(acutBuildList(1001, app.GetString(), RTNONE));
    if (head == nullptr)
        return false;
    head->rbnext = values;
    const bool done = object.setXData(head.get()) == Acad::eOk;
    head->rbnext = nullptr;
    return done;
}

CString handleText(AcDbObjectId id)
{
    ACHAR buffer[17] = {};
    id.handle().getIntoAsciiBuffer(buffer, 17);
    return CString(buffer);
}

// The objects the 1005 handles of the chain name in the drawing, live ones only, in order.
AcDbObjectIdArray liveLinks(AcDbDatabase* db, const resbuf* data)
{
    AcDbObjectIdArray ids;
    for (const resbuf* rb = data; rb != nullptr; rb = rb->rbnext) {
        if (rb->restype != 1005 || rb->resval.rstring == nullptr)
            continue;
        AcDbObjectId linked;
        if (db->getAcDbObjectId(linked, false, AcDbHandle(rb->resval.rstring)) == Acad::eOk
            && ent::FIsValidId(linked) && !ids.contains(linked))
            ids.append(linked);
    }
    return ids;
}

} // namespace

int AddObjXdata(AcDbObjectId id, const CString& app, const resbuf* values)
{
    if (values != nullptr && values->restype == 1001)
        values = values->rbnext;
    if (values == nullptr || app.IsEmpty() || !ent::FIsValidId(id)
        || !support::registerApp(id.database(), app))
        return 0;
    AcDbObjectPointer<AcDbObject> object(id, AcDb::kForWrite);
    if (object.openStatus() != Acad::eOk)
        return 0;
    // The host only reads the chain; the cast lends it to a function that takes a mutable list.
    return setAppData(*object, app, const_cast<resbuf*>(values)) ? 1 : 0;
}

int PasteSoftId(AcDbObjectId id, const CString& key, AcDbObjectId obj)
{
    if (key.IsEmpty() || !ent::FIsValidId(id) || !ent::FIsValidId(obj) || obj.database() != id.database())
        return 0;
    AcDbDatabase* db = id.database();
    if (!support::registerApp(db, key))
        return 0;
    AcDbObjectPointer<AcDbObject> object(id, AcDb::kForWrite);
    if (object.openStatus() != Acad::eOk)
        return 0;
    support::ResbufPtr current(object->xData(key));
    AcDbObjectIdArray links = liveLinks(db, current.get());
    if (!links.contains(obj))
        links.append(obj);
    support::ResbufPtr chain;
    resbuf* tail = nullptr;
    for (const AcDbObjectId& link : links) {
        resbuf* item = acutBuildList(1005, handleText(link).GetString(), RTNONE);
        if (item == nullptr)
            return 0;
        if (tail == nullptr)
            chain.reset(item);
        else
            tail->rbnext = item;
        tail = item;
    }
    return setAppData(*object, key, chain.get()) ? 1 : 0;
}

int GetSoftIds(AcDbObjectId id, const CString& key, AcDbObjectIdArray& ids)
{
    ids.removeAll();
    if (key.IsEmpty())
        return 0;
    AcDbObjectPointer<AcDbObject> object(id, AcDb::kForRead);
    if (object.openStatus() != Acad::eOk)
        return 0;
    support::ResbufPtr data(object->xData(key));
    if (data == nullptr)
        return 0;
    ids = liveLinks(id.database(), data.get());
    return 1;
}

} // namespace tarn::dat
