// AcGePlane: an unbounded plane with its own 2D coordinate system.
#pragma once

#include "geplanar.h"

class AcGePlane : public AcGePlanarEnt {
public:
    static const AcGePlane kXYPlane;
    static const AcGePlane kYZPlane;
    static const AcGePlane kZXPlane;

    // The world XY plane.
    constexpr AcGePlane()
        : AcGePlanarEnt(AcGePoint3d(0.0, 0.0, 0.0), AcGeVector3d(1.0, 0.0, 0.0), AcGeVector3d(0.0, 1.0, 0.0))
    {
    }
    // Axes from the normal by the arbitrary axis rule, so the plane of normal Z has the world X and Y axes.
    AcGePlane(const AcGePoint3d& origin, const AcGeVector3d& normal);
    // Origin org, axes towards pntU and pntV.
    AcGePlane(const AcGePoint3d& pntU, const AcGePoint3d& org, const AcGePoint3d& pntV);
    constexpr AcGePlane(const AcGePoint3d& org, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis)
        : AcGePlanarEnt(org, uAxis, vAxis)
    {
    }
    // The plane a*x + b*y + c*z + d = 0.
    AcGePlane(double a, double b, double c, double d);

    // Positive on the side the normal points to.
    double signedDistanceTo(const AcGePoint3d& pnt) const;
    void getCoefficients(double& a, double& b, double& c, double& d) const;

    AcGePlane& set(const AcGePoint3d& pnt, const AcGeVector3d& normal);
    AcGePlane& set(const AcGePoint3d& pntU, const AcGePoint3d& org, const AcGePoint3d& pntV);
    AcGePlane& set(double a, double b, double c, double d);
    AcGePlane& set(const AcGePoint3d& org, const AcGeVector3d& uAxis, const AcGeVector3d& vAxis);
};
