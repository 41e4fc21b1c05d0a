// AcRxDictionary: the system registry's string-keyed table of service objects.
#pragma once

#include "rxobject.h"

class AcRxDictionary : public AcRxObject {
public:
    ACRX_DECLARE_MEMBERS(AcRxDictionary);
    virtual AcRxObject* at(const ACHAR* key) const = 0;
    virtual AcRxObject* atPut(const ACHAR* key, AcRxObject* pObject) = 0;
    virtual AcRxObject* remove(const ACHAR* key) = 0;
    virtual bool has(const ACHAR* entryName) const = 0;
    virtual Adesk::UInt32 numEntries() const = 0;
};
