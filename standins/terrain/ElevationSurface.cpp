// Terrain library: the surface through the drawing's elevation points.
#include <vector>

#include "TerrainLibrary.h"
#include "acutads.h"
#include "adscodes.h"
#include "dbents.h"
#include "dbobjptr.h"
#include "roadbase/DrawingQueries.h"
#include "terrain/Triangulation.h"

namespace TARNQVTRI {

class CGetQvPtHeightClass::Surface {
public:
    explicit Surface(const std::vector<planroad::standins::terrain::ElevationPoint>& points)
        : mTriangulation(points)
    {
    }
    const planroad::standins::terrain::Triangulation& triangulation() const { return mTriangulation; }

private:
    planroad::standins::terrain::Triangulation mTriangulation;
};

namespace {

std::vector<planroad::standins::terrain::ElevationPoint> elevationPoints(const CString& layer)
{
    namespace roadbase = planroad::standins::roadbase;
    std::vector<planroad::standins::terrain::ElevationPoint> points;
    const CString pattern = roadbase::wildcardLiteral(layer);
    roadbase::ResbufList filter(acutBuildList(RTDXF0, L"POINT", 8, pattern.GetString(), RTNONE));
    if (filter == nullptr)
        return points;
    const std::vector<AcDbObjectId> ids = roadbase::selectAll(filter.get());
    points.reserve(ids.size());
    for (AcDbObjectId id : ids) {
        AcDbObjectPointer<AcDbPoint> point(id, AcDb::kForRead);
        if (point.openStatus() != Acad::eOk)
            continue;
        const AcGePoint3d p = point->position();
        points.push_back({p.x, p.y, p.z});
    }
    return points;
}

} // namespace

CGetQvPtHeightClass::CGetQvPtHeightClass(bool planned)
{
    const CString layer
        = planroad::standins::roadbase::layerOfParameter(planned ? L"规划高程点层" : L"现状高程点层");
    if (layer.IsEmpty())
        return;
    const auto points = elevationPoints(layer);
    if (points.size() >= 3)
        m_surface = std::make_unique<Surface>(points);
}

CGetQvPtHeightClass::~CGetQvPtHeightClass() = default;

bool CGetQvPtHeightClass::getQvPtHeight(AcGePoint3d& point) const
{
    double z = 0.0;
    if (m_surface == nullptr || !m_surface->triangulation().elevationAt(point.x, point.y, z))
        return false;
    point.z = z;
    return true;
}

} // namespace TARNQVTRI
