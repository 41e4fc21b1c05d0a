// AcDbCurve: every curve question answered from the entity's path of line and arc segments.
#include "dbcurve.h"
#include "db/DatabaseImpl.h"
#include "geometry/CurveKernel.h"

ACRX_DEFINE_MEMBERS(AcDbCurve, AcDbEntity)

AcDbCurve::AcDbCurve() = default;
AcDbCurve::AcDbCurve(const AcDbCurve& other) = default;
AcDbCurve::~AcDbCurve() = default;

namespace {

bool pathOf(const AcDbCurve& curve, arxhost::geom::Path& path)
{
    return curve.hostPath(path) && !path.empty();
}

} // namespace

Adesk::Boolean AcDbCurve::isClosed() const
{
    arxhost::geom::Path path;
    return pathOf(*this, path) && path.isClosed();
}

Adesk::Boolean AcDbCurve::isPeriodic() const
{
    return false;
}

Acad::ErrorStatus AcDbCurve::getStartParam(double& param) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    param = path.startParam();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getEndParam(double& param) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    param = path.endParam();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getStartPoint(AcGePoint3d& point) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    point = path.startPoint();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getEndPoint(AcGePoint3d& point) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    point = path.endPoint();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getPointAtParam(double param, AcGePoint3d& point) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    return path.pointAtParam(param, point) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbCurve::getParamAtPoint(const AcGePoint3d& point, double& param) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    return path.paramAtPoint(point, param) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbCurve::getDistAtParam(double param, double& dist) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    return path.distAtParam(param, dist) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbCurve::getParamAtDist(double dist, double& param) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    return path.paramAtDist(dist, param) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbCurve::getDistAtPoint(const AcGePoint3d& point, double& dist) const
{
    double param = 0;
    Acad::ErrorStatus es = getParamAtPoint(point, param);
    return es == Acad::eOk ? getDistAtParam(param, dist) : es;
}

Acad::ErrorStatus AcDbCurve::getPointAtDist(double dist, AcGePoint3d& point) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    return path.pointAtDist(dist, point) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbCurve::getFirstDeriv(double param, AcGeVector3d& firstDeriv) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    return path.firstDeriv(param, firstDeriv) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus AcDbCurve::getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& firstDeriv) const
{
    double param = 0;
    Acad::ErrorStatus es = getParamAtPoint(point, param);
    return es == Acad::eOk ? getFirstDeriv(param, firstDeriv) : es;
}

Acad::ErrorStatus AcDbCurve::getClosestPointTo(
    const AcGePoint3d& givenPnt, AcGePoint3d& pointOnCurve, Adesk::Boolean extend) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    pointOnCurve = path.closestPoint(givenPnt, extend);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::getArea(double& area) const
{
    arxhost::geom::Path path;
    if (!pathOf(*this, path))
        return Acad::eNotApplicable;
    area = path.area();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCurve::extend(Adesk::Boolean, const AcGePoint3d&)
{
    return Acad::eNotApplicable;
}

Acad::ErrorStatus AcDbCurve::extend(double newParam)
{
    double start = 0;
    double end = 0;
    if (getStartParam(start) != Acad::eOk || getEndParam(end) != Acad::eOk)
        return Acad::eNotApplicable;
    if (newParam > start && newParam < end)
        return Acad::eInvalidInput;
    arxhost::geom::Path path;
    pathOf(*this, path);
    AcGePoint3d target;
    if (!path.pointAtParamExtended(newParam, target))
        return Acad::eInvalidInput;
    return extend(newParam <= start, target);
}

Acad::ErrorStatus AcDbCurve::reverseCurve()
{
    return Acad::eNotApplicable;
}
