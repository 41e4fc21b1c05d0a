// AcDbXrecord: group-coded data in a dictionary.
#include "db/DatabaseImpl.h"
#include "db/TypedValueChains.h"
#include "dbxrecrd.h"

ACRX_DEFINE_MEMBERS_DXF(AcDbXrecord, AcDbObject, ACRX_T("XRECORD"))

AcDbXrecord::~AcDbXrecord() = default;

Acad::ErrorStatus AcDbXrecord::rbChain(resbuf** ppRb, AcDbDatabase*) const
{
    if (ppRb == nullptr)
        return Acad::eNullObjectPointer;
    *ppRb = arxhost::toResbufChain(mValues);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbXrecord::setFromRbChain(const resbuf& pRb, AcDbDatabase*)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    arxhost::TypedValues values;
    short badCode = 0;
    if (!arxhost::fromResbufChain(&pRb, values, badCode))
        return Acad::eInvalidResBuf;
    mValues = std::move(values);
    return Acad::eOk;
}
