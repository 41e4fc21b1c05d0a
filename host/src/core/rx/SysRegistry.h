// The system registry: the host's services by name ("DynamicLinker", "ACAD_REGISTERED_COMMANDS").
#pragma once

#include <map>
#include <string>

#include "rxdict.h"

namespace arxhost {

class SysRegistry : public AcRxDictionary {
public:
    AcRxObject* at(const ACHAR* key) const override;
    AcRxObject* atPut(const ACHAR* key, AcRxObject* pObject) override;
    AcRxObject* remove(const ACHAR* key) override;
    bool has(const ACHAR* entryName) const override;
    Adesk::UInt32 numEntries() const override { return static_cast<Adesk::UInt32>(mEntries.size()); }

private:
    // Entries are not owned: the session owns the services it registers.
    std::map<std::wstring, AcRxObject*> mEntries;
};

} // namespace arxhost
