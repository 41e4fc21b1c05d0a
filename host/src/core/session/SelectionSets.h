// Selection sets handed to modules by name, and the "previous" set of the selection prompts.
#pragma once

#include <map>
#include <vector>

#include "adsdef.h"
#include "dbid.h"

namespace arxhost {

class SelectionSets {
public:
    // A new set; its name is written to `name`.
    void create(std::vector<AcDbObjectId> ids, ads_name name);
    std::vector<AcDbObjectId>* find(const ads_name name);
    bool free(const ads_name name);
    std::size_t liveCount() const { return mSets.size(); }
    void clear() { mSets.clear(); }

    std::vector<AcDbObjectId> previous;
    std::vector<AcDbObjectId> pickFirst;

private:
    std::map<__int64, std::vector<AcDbObjectId>> mSets;
    __int64 mNextId = 1;
};

} // namespace arxhost
