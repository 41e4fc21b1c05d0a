// AcGePlanarEnt, AcGePlane and AcGeLine3d: the flat and straight helpers the matrices and conversions take.
#include <cmath>

#include "geline3d.h"
#include "geplanar.h"
#include "geplane.h"

const AcGePlane AcGePlane::kXYPlane(
    AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(1.0, 0.0, 0.0), AcGeVector3d(0.0, 1.0, 0.0));
const AcGePlane AcGePlane::kYZPlane(
    AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(0.0, 1.0, 0.0), AcGeVector3d(0.0, 0.0, 1.0));
const AcGePlane AcGePlane::kZXPlane(
    AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(0.0, 0.0, 1.0), AcGeVector3d(1.0, 0.0, 0.0));

const AcGeLine3d AcGeLine3d::kXAxis(AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(1.0, 0.0, 0.0));
const AcGeLine3d AcGeLine3d::kYAxis(AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(0.0, 1.0, 0.0));
const AcGeLine3d AcGeLine3d::kZAxis(AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(0.0, 0.0, 1.0));

// ---- AcGePlanarEnt ----

AcGeVector3d AcGePlanarEnt::normal() const
{
    return mAxis1.crossProduct(mAxis2).normal();
}

void AcGePlanarEnt::getCoordSystem(AcGePoint3d& origin, AcGeVector3d& axis1, AcGeVector3d& axis2) const
{
    origin = mOrigin;
    axis1 = mAxis1;
    axis2 = mAxis2;
}

AcGePoint3d AcGePlanarEnt::closestPointTo(const AcGePoint3d& pnt, const AcGeTol&) const
{
    const AcGeVector3d n = normal();
    return pnt - n * n.dotProduct(pnt - mOrigin);
}

double AcGePlanarEnt::distanceTo(const AcGePoint3d& pnt, const AcGeTol&) const
{
    return std::fabs(normal().dotProduct(pnt - mOrigin));
}

Adesk::Boolean AcGePlanarEnt::isOn(const AcGePoint3d& pnt, const AcGeTol& tol) const
{
    return distanceTo(pnt, tol) <= tol.equalPoint();
}

Adesk::Boolean AcGePlanarEnt::isParallelTo(const AcGePlanarEnt& otherPln, const AcGeTol& tol) const
{
    return normal().isParallelTo(otherPln.normal(), tol);
}

Adesk::Boolean AcGePlanarEnt::isCoplanarTo(const AcGePlanarEnt& otherPln, const AcGeTol& tol) const
{
    return isParallelTo(otherPln, tol) && isOn(otherPln.pointOnPlane(), tol);
}

// ---- AcGePlane ----

AcGePlane::AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& normal)
    : AcGePlane()
{
    set(origin, normal);
}

AcGePlane::AcGePlane(const AcGePoint3d& pntU, const AcGePoint3d& org, const AcGePoint3d& pntV)
    : AcGePlane()
{
    set(pntU, org, pntV);
}

AcGePlane::AcGePlane(double a, double b, double c, double d)
    : AcGePlane()
{
    set(a, b, c, d);
}

double AcGePlane::signedDistanceTo(const AcGePoint3d& pnt) const
{
    return normal().dotProduct(pnt - mOrigin);
}

void AcGePlane::getCoefficients(double& a, double& b, double& c, double& d) const
{
    const AcGeVector3d n = normal();
    a = n.x;
    b = n.y;
    c = n.z;
    d = -n.dotProduct(mOrigin.asVector());
}

AcGePlane& AcGePlane::set(const AcGePoint3d& pnt, const AcGeVector3d& normal)
{
    const AcGeVector3d n = normal.normal();
    const AcGeVector3d u = n.perpVector();
    return set(pnt, u, n.crossProduct(u).normal());
}

AcGePlane& AcGePlane::set(const AcGePoint3d& pntU, const AcGePoint3d& org, const AcGePoint3d& pntV)
{
    return set(org, pntU - org, pntV - org);
}

AcGePlane& AcGePlane::set(double a, double b, double c, double d)
{
    const AcGeVector3d n(a, b, c);
    const double len2 = n.lengthSqrd();
    const AcGePoint3d origin = len2 > 0.0 ? AcGePoint3d::kOrigin - n * (d / len2) : AcGePoint3d::kOrigin;
    return set(origin, n);
}

AcGePlane& AcGePlane::set(const AcGePoint3d& org, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis)
{
    mOrigin = org;
    mAxis1 = uAxis;
    mAxis2 = vAxis;
    return *this;
}

// ---- AcGeLine3d ----

AcGeVector3d AcGeLine3d::direction() const
{
    return mDirection.normal();
}

AcGeLine3d& AcGeLine3d::set(const AcGePoint3d& pnt, const AcGeVector3d& vec)
{
    mPoint = pnt;
    mDirection = vec;
    return *this;
}

AcGeLine3d& AcGeLine3d::set(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2)
{
    return set(pnt1, pnt2 - pnt1);
}

AcGePoint3d AcGeLine3d::closestPointTo(const AcGePoint3d& pnt, const AcGeTol&) const
{
    const AcGeVector3d d = direction();
    return mPoint + d * d.dotProduct(pnt - mPoint);
}

double AcGeLine3d::distanceTo(const AcGePoint3d& pnt, const AcGeTol& tol) const
{
    return pnt.distanceTo(closestPointTo(pnt, tol));
}

Adesk::Boolean AcGeLine3d::isOn(const AcGePoint3d& pnt, const AcGeTol& tol) const
{
    return distanceTo(pnt, tol) <= tol.equalPoint();
}
