// AcGePoint3d: a position in space; differences of points are AcGeVector3d.
#pragma once

#include "adesk.h"
#include "gegbl.h"
#include "gepnt2d.h"
#include "gevec3d.h"

class AcGeMatrix3d;
class AcGePlanarEnt;
class AcGePlane;

class AcGePoint3d {
public:
    constexpr AcGePoint3d() = default;
    constexpr AcGePoint3d(double xx, double yy, double zz)
        : x(xx)
        , y(yy)
        , z(zz)
    {
    }
    // The point of the plane with the given 2D coordinates in the plane's own system.
    AcGePoint3d(const AcGePlanarEnt& pln, const AcGePoint2d& pnt2d);

    static const AcGePoint3d kOrigin;

    friend AcGePoint3d operator*(const AcGeMatrix3d& mat, const AcGePoint3d& pnt);
    friend AcGePoint3d operator*(double scl, const AcGePoint3d& pnt) { return pnt * scl; }

    AcGePoint3d& setToProduct(const AcGeMatrix3d& mat, const AcGePoint3d& pnt);
    AcGePoint3d& transformBy(const AcGeMatrix3d& leftSide);
    AcGePoint3d& rotateBy(
        double angle, const AcGeVector3d& vec, const AcGePoint3d& wrtPoint = AcGePoint3d::kOrigin);
    AcGePoint3d& mirror(const AcGePlane& pln);
    AcGePoint3d& scaleBy(double scaleFactor, const AcGePoint3d& wrtPoint = AcGePoint3d::kOrigin);
    // Coordinates in the plane's own system (the point is projected along the plane's normal).
    AcGePoint2d convert2d(const AcGePlanarEnt& pln) const;
    // Foot of the perpendicular from this point to the plane.
    AcGePoint3d orthoProject(const AcGePlane& pln) const;

    AcGePoint3d operator*(double scl) const { return {x * scl, y * scl, z * scl}; }
    AcGePoint3d& operator*=(double scl) { return set(x * scl, y * scl, z * scl); }
    AcGePoint3d operator/(double scl) const { return {x / scl, y / scl, z / scl}; }
    AcGePoint3d& operator/=(double scl) { return set(x / scl, y / scl, z / scl); }
    AcGePoint3d operator+(const AcGeVector3d& vec) const { return {x + vec.x, y + vec.y, z + vec.z}; }
    AcGePoint3d& operator+=(const AcGeVector3d& vec) { return set(x + vec.x, y + vec.y, z + vec.z); }
    AcGePoint3d operator-(const AcGeVector3d& vec) const { return {x - vec.x, y - vec.y, z - vec.z}; }
    AcGePoint3d& operator-=(const AcGeVector3d& vec) { return set(x - vec.x, y - vec.y, z - vec.z); }
    AcGeVector3d operator-(const AcGePoint3d& pnt) const { return {x - pnt.x, y - pnt.y, z - pnt.z}; }
    AcGePoint3d& setToSum(const AcGePoint3d& pnt, const AcGeVector3d& vec)
    {
        return set(pnt.x + vec.x, pnt.y + vec.y, pnt.z + vec.z);
    }
    AcGeVector3d asVector() const { return {x, y, z}; }

    double distanceTo(const AcGePoint3d& pnt) const;

    // Equality is within tol.equalPoint() of distance; operator== uses the global tolerance.
    bool operator==(const AcGePoint3d& pnt) const { return isEqualTo(pnt); }
    bool operator!=(const AcGePoint3d& pnt) const { return !isEqualTo(pnt); }
    bool isEqualTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;

    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }
    AcGePoint3d& set(double xx, double yy, double zz)
    {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }
    AcGePoint3d& set(const AcGePlanarEnt& pln, const AcGePoint2d& pnt);

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};
