// AcGePlanarEnt: the common part of planar entities, an origin and two axes spanning the plane.
#pragma once

#include "adesk.h"
#include "gegbl.h"
#include "gepnt3d.h"
#include "gevec3d.h"

class AcGePlanarEnt {
public:
    AcGePoint3d pointOnPlane() const { return mOrigin; }
    // Unit normal: axis1 x axis2, normalised.
    AcGeVector3d normal() const;
    void getCoordSystem(AcGePoint3d& origin, AcGeVector3d& axis1, AcGeVector3d& axis2) const;

    // Foot of the perpendicular from pnt.
    AcGePoint3d closestPointTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    double distanceTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    Adesk::Boolean isOn(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    Adesk::Boolean isParallelTo(const AcGePlanarEnt& otherPln, const AcGeTol& tol = AcGeContext::gTol) const;
    Adesk::Boolean isCoplanarTo(const AcGePlanarEnt& otherPln, const AcGeTol& tol = AcGeContext::gTol) const;

protected:
    constexpr AcGePlanarEnt(const AcGePoint3d& origin, const AcGeVector3d& axis1, const AcGeVector3d& axis2)
        : mOrigin(origin)
        , mAxis1(axis1)
        , mAxis2(axis2)
    {
    }

    AcGePoint3d mOrigin;
    AcGeVector3d mAxis1;
    AcGeVector3d mAxis2;
};
