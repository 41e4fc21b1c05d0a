// A Delaunay triangulation of elevation points in plan, and the elevation it gives anywhere inside.
#pragma once

#include <cstdint>
#include <vector>

namespace planroad::standins::terrain {

struct ElevationPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Built once from the points, then read. Points at the same plan position as an earlier one (to a
// billionth of the extent) are left out: the first one counts. Collinear points have no triangles. The
// construction is a sweep of the points in order of distance from a seed triangle, with edge flips
// (expected O(n log n)); lookups go through a uniform grid of triangles (expected O(1)).
class Triangulation {
public:
    explicit Triangulation(const std::vector<ElevationPoint>& points);

    // The points that were triangulated (duplicates removed), in world coordinates.
    const std::vector<ElevationPoint>& points() const { return mPoints; }
    // Triangles as triples of indices into points(), all turning the same way.
    const std::vector<std::uint32_t>& triangles() const { return mTriangles; }
    std::size_t triangleCount() const { return mTriangles.size() / 3; }

    // The elevation at (x, y) by linear interpolation in the triangle that holds the point (its edges
    // included); false outside every triangle.
    bool elevationAt(double x, double y, double& z) const;

private:
    struct Local {
        double x;
        double y;
    };

    void triangulate();
    std::uint32_t addTriangle(
        std::uint32_t a, std::uint32_t b, std::uint32_t c, std::int32_t ab, std::int32_t bc, std::int32_t ca);
    void link(std::int32_t a, std::int32_t b);
    std::int32_t legalize(std::int32_t a);
    std::size_t hashKey(double x, double y) const;
    void buildLocator();

    std::vector<ElevationPoint> mPoints;
    std::vector<Local> mLocal; // relative to the middle of the points, for precise predicates
    double mOriginX = 0.0;
    double mOriginY = 0.0;
    std::vector<std::uint32_t> mTriangles;
    std::vector<std::int32_t> mHalfedges;

    // Sweep state.
    std::vector<std::uint32_t> mHullPrev;
    std::vector<std::uint32_t> mHullNext;
    std::vector<std::int32_t> mHullTri;
    std::vector<std::int32_t> mHullHash;
    std::uint32_t mHullStart = 0;
    double mCenterX = 0.0;
    double mCenterY = 0.0;
    std::vector<std::int32_t> mEdgeStack;

    // Lookup grid over the local coordinates: cell (i, j) lists its triangles in
    // mCellTriangles[mCellStart[k] .. mCellStart[k + 1]) with k = j * mColumns + i.
    double mGridMinX = 0.0;
    double mGridMinY = 0.0;
    double mCellWidth = 1.0;
    double mCellHeight = 1.0;
    std::size_t mColumns = 0;
    std::size_t mRows = 0;
    std::vector<std::uint32_t> mCellStart;
    std::vector<std::uint32_t> mCellTriangles;
};

} // namespace planroad::standins::terrain
