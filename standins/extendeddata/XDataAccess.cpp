// Extended data of one application on one object, read and replaced through the host's SDK.
#include "extendeddata/XDataAccess.h"

#include "acutads.h"
#include "dbobjptr.h"
#include "dbsymtb.h"

namespace planroad::standins {

void ResbufDeleter::operator()(resbuf* chain) const
{
    if (chain != nullptr)
        acutRelRb(chain);
}

bool registerApplication(AcDbDatabase* db, const CString& app)
{
    if (db == nullptr || app.IsEmpty())
        return false;
    AcDbObjectPointer<AcDbRegAppTable> table(db->regAppTableId(), AcDb::kForRead);
    if (table.openStatus() != Acad::eOk)
        return false;
    if (table->has(app.GetString()))
        return true;
    if (table->upgradeOpen() != Acad::eOk)
        return false;
    AcDbObjectPointer<AcDbRegAppTableRecord> record;
    record.create();
    if (record->setName(app.GetString()) != Acad::eOk)
        return false;
    AcDbObjectId recordId;
    if (table->add(recordId, record.object()) != Acad::eOk)
        return false;
    // Now database-resident: the pointer closes it instead of deleting it.
    return true;
}

ResbufChain readApplicationData(AcDbObjectId id, const CString& app, bool& present)
{
    present = false;
    if (id.isNull() || app.IsEmpty())
        return nullptr;
    AcDbObjectPointer<AcDbObject> object(id, AcDb::kForRead);
    if (object.openStatus() != Acad::eOk)
        return nullptr;
    ResbufChain chain(object->xData(app.GetString()));
    if (chain == nullptr)
        return nullptr;
    present = true;
    // The chain begins with the 1001 group naming the application; hand out what follows it.
    resbuf* values = chain->rbnext;
    chain->rbnext = nullptr;
    return ResbufChain(values);
}

bool writeApplicationData(AcDbObjectId id, const CString& app, const resbuf* values)
{
    if (id.isNull() || app.IsEmpty())
        return false;
    AcDbObjectPointer<AcDbObject> object(id, AcDb::kForWrite);
    if (object.openStatus() != Acad::eOk)
        return false;
    if (!registerApplication(object->database(), app))
        return false;
    ResbufChain head(acutBuildList(1001, app.GetString(), 0));
    if (head == nullptr)
        return false;
    // Borrow the caller's values for the call, then detach them again so that only the head is
    // released here.
    head->rbnext = const_cast<resbuf*>(values);
    const Acad::ErrorStatus es = object->setXData(head.get());
    head->rbnext = nullptr;
    return es == Acad::eOk;
}

} // namespace planroad::standins
