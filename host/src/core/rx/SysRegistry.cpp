// The system registry.
#include "rx/SysRegistry.h"

#include "acdocman.h"
#include "dbapserv.h"
#include "rxregsvc.h"

ACRX_DEFINE_MEMBERS(AcRxDictionary, AcRxObject)
ACRX_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject)
ACRX_DEFINE_MEMBERS(AcApDocument, AcRxObject)
ACRX_DEFINE_MEMBERS(AcApDocManager, AcRxObject)
ACRX_DEFINE_MEMBERS(AcDbHostApplicationServices, AcRxObject)

namespace arxhost {

AcRxObject* SysRegistry::at(const ACHAR* key) const
{
    if (key == nullptr)
        return nullptr;
    auto it = mEntries.find(key);
    return it == mEntries.end() ? nullptr : it->second;
}

AcRxObject* SysRegistry::atPut(const ACHAR* key, AcRxObject* pObject)
{
    AcRxObject* old = at(key);
    mEntries[key] = pObject;
    return old;
}

AcRxObject* SysRegistry::remove(const ACHAR* key)
{
    AcRxObject* old = at(key);
    if (key != nullptr)
        mEntries.erase(key);
    return old;
}

bool SysRegistry::has(const ACHAR* entryName) const
{
    return at(entryName) != nullptr;
}

} // namespace arxhost
