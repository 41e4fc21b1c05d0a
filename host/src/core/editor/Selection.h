// Selecting entities: by window, crossing, polygon, fence, pick, whole drawing; with filters.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "dbid.h"
#include "gepnt3d.h"
#include "selection/SelectionFilter.h"

class AcDbDatabase;
class AcDbEntity;

namespace arxhost {

class Session;

// What a selection operation looks at (all in world coordinates).
enum class AreaMode { Window, Crossing, WindowPolygon, CrossingPolygon, Fence };

class Selector {
public:
    Selector(Session& session, const SelectionFilter* filter);

    // Entities of model space the area selects, in drawing order; only visible ones.
    std::vector<AcDbObjectId> byArea(AreaMode mode, const std::vector<AcGePoint3d>& points) const;
    // Every entity of the drawing that passes the filter, hidden layers included ("X").
    std::vector<AcDbObjectId> everything() const;
    // All visible entities of model space ("ALL").
    std::vector<AcDbObjectId> allVisible() const;
    // The last visible entity of model space.
    std::vector<AcDbObjectId> last() const;

    bool passes(const AcDbEntity& entity) const;
    // The selection counts of the last operation (for the prompt's messages).
    mutable int found = 0;
    mutable int filteredOut = 0;

private:
    bool visible(const AcDbEntity& entity, bool includeOffLayers) const;
    Session& mSession;
    const SelectionFilter* mFilter;
};

// The user's selection at "Select objects:"; RTNORM with ids, RTERROR when nothing was
// selected, RTCAN on Esc.
int userSelect(Session& session, const SelectionFilter* filter, bool single,
    std::vector<AcDbObjectId>& result, const std::wstring& prompt = L"\nSelect objects: ",
    const std::wstring& removePrompt = L"\nRemove objects: ");

// Orders ids as the drawing shows them (creation order) and drops duplicates.
void sortByDrawingOrder(std::vector<AcDbObjectId>& ids);

} // namespace arxhost
