// An R-tree over the plan extents of the entities of model space, for selections and picks.
#pragma once

#include <memory>
#include <vector>

class AcDbStub;

namespace arxhost {

struct Box2d {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool intersects(const Box2d& o) const
    {
        return minX <= o.maxX && o.minX <= maxX && minY <= o.maxY && o.minY <= maxY;
    }
    bool contains(const Box2d& o) const
    {
        return minX <= o.minX && o.maxX <= maxX && minY <= o.minY && o.maxY <= maxY;
    }
};

class SpatialIndex {
public:
    SpatialIndex();
    ~SpatialIndex();
    SpatialIndex(const SpatialIndex&) = delete;
    SpatialIndex& operator=(const SpatialIndex&) = delete;

    // Puts the entity at its box, replacing where it was.
    void put(AcDbStub* stub, const Box2d& box);
    void remove(AcDbStub* stub);
    bool contains(AcDbStub* stub) const;
    // Replaces the whole index in one packed build (fast for a drawing just read).
    void rebuild(const std::vector<std::pair<AcDbStub*, Box2d>>& entries);
    // Entities whose box meets the query box (candidates only: the caller tests the geometry).
    std::vector<AcDbStub*> query(const Box2d& box) const;
    std::size_t size() const;

private:
    struct Impl;
    std::unique_ptr<Impl> mImpl;
};

} // namespace arxhost
