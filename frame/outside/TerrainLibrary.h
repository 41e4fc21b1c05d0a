// The terrain library of the product family: elevations read from the drawing's surveyed height points.
#pragma once

#include <memory>

#include "gepnt3d.h"

namespace TARNQVTRI {

// A triangulated surface (Delaunay, in plan) through the POINT entities on the layer of the layer
// parameter "规划高程点层" (planned elevations) or "现状高程点层" (existing elevations) of the current
// drawing; each point's z is its elevation. The points are read once, when the object is made. Of points
// at the same plan position the first in drawing order counts.
class CGetQvPtHeightClass {
public:
    // `planned` true: the planned elevation points; false: the existing ones.
    explicit CGetQvPtHeightClass(bool planned);
    ~CGetQvPtHeightClass();
    CGetQvPtHeightClass(const CGetQvPtHeightClass&) = delete;
    CGetQvPtHeightClass& operator=(const CGetQvPtHeightClass&) = delete;

    // Sets point.z to the surface's elevation below the point (linear in the triangle that holds it in
    // plan, its edges and corners included) and returns true. Returns false, the point untouched, outside
    // the surface, when the layer is not configured, or with fewer than 3 points not all on one line.
    bool getQvPtHeight(AcGePoint3d& point) const;

private:
    class Surface;
    std::unique_ptr<Surface> m_surface;
};

} // namespace TARNQVTRI
