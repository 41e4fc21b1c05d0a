// Selection sets by name.
#include "session/SelectionSets.h"

namespace arxhost {

namespace {
// The second word of a selection set's name; entity names carry a different one.
constexpr __int64 kSelectionSetTag = 0x5353; // "SS"
} // namespace

void SelectionSets::create(std::vector<AcDbObjectId> ids, ads_name name)
{
    __int64 id = mNextId++;
    mSets.emplace(id, std::move(ids));
    name[0] = id;
    name[1] = kSelectionSetTag;
}

std::vector<AcDbObjectId>* SelectionSets::find(const ads_name name)
{
    if (name == nullptr || name[1] != kSelectionSetTag)
        return nullptr;
    auto it = mSets.find(name[0]);
    return it == mSets.end() ? nullptr : &it->second;
}

bool SelectionSets::free(const ads_name name)
{
    if (name == nullptr || name[1] != kSelectionSetTag)
        return false;
    return mSets.erase(name[0]) != 0;
}

} // namespace arxhost
