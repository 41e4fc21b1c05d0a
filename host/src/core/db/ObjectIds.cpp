// Object ids and handles, the open functions, and the conversion between ids and ADS names.
#include <cwchar>

#include "db/DatabaseImpl.h"
#include "dbents.h"

const AcDbObjectId AcDbObjectId::kNull;

bool AcDbObjectId::isValid() const
{
    return mId != nullptr && mId->database() != nullptr;
}

bool AcDbObjectId::isErased() const
{
    if (mId == nullptr)
        return false;
    const AcDbObject* object = mId->object();
    return object == nullptr || object->isErased();
}

AcDbDatabase* AcDbObjectId::database() const
{
    return mId == nullptr ? nullptr : mId->database();
}

AcDbHandle AcDbObjectId::handle() const
{
    return mId == nullptr ? AcDbHandle() : mId->handle();
}

const AcDbHandle& AcDbObjectId::nonForwardedHandle() const
{
    static thread_local AcDbHandle handle;
    handle = this->handle();
    return handle;
}

AcRxClass* AcDbObjectId::objectClass() const
{
    const AcDbObject* object = mId == nullptr ? nullptr : mId->object();
    return object == nullptr ? nullptr : object->isA();
}

bool AcDbObjectId::operator<(const AcDbObjectId& id) const
{
    // Ids of one drawing order by handle, so that sorted id lists come out the same in every run.
    if (mId == nullptr || id.mId == nullptr || mId->database() != id.mId->database())
        return std::less<const AcDbStub*>()(mId, id.mId);
    return mId->handle() < id.mId->handle();
}

AcDbHandle::AcDbHandle(const ACHAR* hexText)
{
    if (hexText == nullptr || *hexText == 0)
        return;
    Adesk::UInt64 value = 0;
    for (const ACHAR* p = hexText; *p != 0; ++p) {
        int digit = -1;
        if (*p >= L'0' && *p <= L'9')
            digit = *p - L'0';
        else if (*p >= L'a' && *p <= L'f')
            digit = *p - L'a' + 10;
        else if (*p >= L'A' && *p <= L'F')
            digit = *p - L'A' + 10;
        if (digit < 0 || (value >> 60) != 0) {
            mValue = 0;
            return;
        }
        value = (value << 4) | static_cast<Adesk::UInt64>(digit);
    }
    mValue = value;
}

bool AcDbHandle::getIntoAsciiBuffer(ACHAR* pBuf, size_t nBufLen) const
{
    if (pBuf == nullptr || nBufLen < 2)
        return false;
    ACHAR digits[17];
    int n = 0;
    Adesk::UInt64 v = mValue;
    do {
        int d = static_cast<int>(v & 0xF);
        digits[n++] = static_cast<ACHAR>(d < 10 ? L'0' + d : L'A' + d - 10);
        v >>= 4;
    } while (v != 0);
    if (static_cast<size_t>(n) + 1 > nBufLen)
        return false;
    for (int i = 0; i < n; ++i)
        pBuf[i] = digits[n - 1 - i];
    pBuf[n] = 0;
    return true;
}

Acad::ErrorStatus acdbOpenAcDbObject(
    AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode, bool openErasedObject)
{
    pObj = nullptr;
    if (id.isNull())
        return Acad::eNullObjectId;
    arxhost::DatabaseImpl* impl = arxhost::implOf(id);
    if (impl == nullptr)
        return Acad::eNoDatabase;
    return impl->open(id, mode, openErasedObject, pObj);
}

Acad::ErrorStatus acdbOpenAcDbEntity(
    AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode, bool openErasedEntity)
{
    pEnt = nullptr;
    AcDbObject* pObj = nullptr;
    Acad::ErrorStatus es = acdbOpenAcDbObject(pObj, id, mode, openErasedEntity);
    if (es != Acad::eOk)
        return es;
    pEnt = AcDbEntity::cast(pObj);
    if (pEnt == nullptr) {
        pObj->close();
        return Acad::eNotAnEntity;
    }
    return Acad::eOk;
}

Acad::ErrorStatus acdbOpenObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased)
{
    return acdbOpenAcDbObject(pObj, id, mode, openErased);
}

Acad::ErrorStatus acdbOpenObject(AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode, bool openErased)
{
    return acdbOpenAcDbEntity(pEnt, id, mode, openErased);
}

// An entity's ADS name carries its stub; the second word tells entity names from selection sets.
namespace {
constexpr __int64 kEntityNameTag = 0x454E54; // "ENT"
} // namespace

Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId)
{
    if (objId.isNull()) {
        objName[0] = objName[1] = 0;
        return Acad::eNullObjectId;
    }
    objName[0] = static_cast<__int64>(objId.asOldId());
    objName[1] = kEntityNameTag;
    return Acad::eOk;
}

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName)
{
    objId.setNull();
    if (objName == nullptr || objName[0] == 0 || objName[1] != kEntityNameTag)
        return Acad::eInvalidAdsName;
    objId.setFromOldId(static_cast<Adesk::IntPtr>(objName[0]));
    return Acad::eOk;
}

void acutDelString(ACHAR*& pString)
{
    delete[] pString;
    pString = nullptr;
}
