// AcGeVector3d: a direction and length in space, with the products, angles and direction tests of the host.
#pragma once

#include "adesk.h"
#include "gegbl.h"
#include "gevec2d.h"

class AcGeMatrix3d;
class AcGePlanarEnt;

class AcGeVector3d {
public:
    constexpr AcGeVector3d() = default;
    constexpr AcGeVector3d(double xx, double yy, double zz)
        : x(xx)
        , y(yy)
        , z(zz)
    {
    }
    // The 3D vector of the plane's axes combined with vec's components.
    AcGeVector3d(const AcGePlanarEnt& pln, const AcGeVector2d& vec);

    static const AcGeVector3d kIdentity; // the additive identity, (0, 0, 0)
    static const AcGeVector3d kXAxis;
    static const AcGeVector3d kYAxis;
    static const AcGeVector3d kZAxis;

    friend AcGeVector3d operator*(const AcGeMatrix3d& mat, const AcGeVector3d& vec);
    friend AcGeVector3d operator*(double scl, const AcGeVector3d& vec) { return vec * scl; }

    AcGeVector3d& setToProduct(const AcGeMatrix3d& mat, const AcGeVector3d& vec);
    AcGeVector3d& setToProduct(const AcGeVector3d& vec, double scl)
    {
        return set(vec.x * scl, vec.y * scl, vec.z * scl);
    }
    // Vectors ignore the translation part of the matrix.
    AcGeVector3d& transformBy(const AcGeMatrix3d& leftSide);
    // Right-handed rotation about axis (counter-clockwise looking down the axis).
    AcGeVector3d& rotateBy(double ang, const AcGeVector3d& axis);
    // Reflection in the plane through the origin with the given normal.
    AcGeVector3d& mirror(const AcGeVector3d& normalToPlane);
    // Components along the plane's two axes.
    AcGeVector2d convert2d(const AcGePlanarEnt& pln) const;

    AcGeVector3d operator*(double scl) const { return {x * scl, y * scl, z * scl}; }
    AcGeVector3d& operator*=(double scl) { return set(x * scl, y * scl, z * scl); }
    AcGeVector3d operator/(double scl) const { return {x / scl, y / scl, z / scl}; }
    AcGeVector3d& operator/=(double scl) { return set(x / scl, y / scl, z / scl); }
    AcGeVector3d operator+(const AcGeVector3d& vec) const { return {x + vec.x, y + vec.y, z + vec.z}; }
    AcGeVector3d& operator+=(const AcGeVector3d& vec) { return set(x + vec.x, y + vec.y, z + vec.z); }
    AcGeVector3d operator-(const AcGeVector3d& vec) const { return {x - vec.x, y - vec.y, z - vec.z}; }
    AcGeVector3d& operator-=(const AcGeVector3d& vec) { return set(x - vec.x, y - vec.y, z - vec.z); }
    AcGeVector3d& setToSum(const AcGeVector3d& vec1, const AcGeVector3d& vec2)
    {
        return set(vec1.x + vec2.x, vec1.y + vec2.y, vec1.z + vec2.z);
    }
    AcGeVector3d operator-() const { return {-x, -y, -z}; }
    AcGeVector3d& negate() { return set(-x, -y, -z); }

    // A vector perpendicular to this one, chosen by the arbitrary axis rule of entity coordinate systems.
    AcGeVector3d perpVector() const;
    // Unsigned angle between the two vectors, in [0, pi].
    double angleTo(const AcGeVector3d& vec) const;
    // Angle from this vector to vec turning about refVec, in [0, 2pi): angleTo(vec) when refVec points along
    // this x vec (or the cross product vanishes), else 2pi - angleTo(vec).
    double angleTo(const AcGeVector3d& vec, const AcGeVector3d& refVec) const;
    // Angle of this vector projected into the plane, measured from the plane's first axis about its normal.
    double angleOnPlane(const AcGePlanarEnt& pln) const;

    // A zero-length vector (within tol.equalVector()) is returned or left unchanged.
    AcGeVector3d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector3d& normalize(const AcGeTol& tol = AcGeContext::gTol);

    double length() const;
    double lengthSqrd() const { return x * x + y * y + z * z; }
    Adesk::Boolean isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const;
    Adesk::Boolean isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
    // Direction tests compare unit vectors against tol.equalVector(); a zero-length vector passes none of
    // them.
    Adesk::Boolean isParallelTo(const AcGeVector3d& vec, const AcGeTol& tol = AcGeContext::gTol) const;
    Adesk::Boolean isCodirectionalTo(const AcGeVector3d& vec, const AcGeTol& tol = AcGeContext::gTol) const;
    Adesk::Boolean isPerpendicularTo(const AcGeVector3d& vec, const AcGeTol& tol = AcGeContext::gTol) const;

    double dotProduct(const AcGeVector3d& vec) const { return x * vec.x + y * vec.y + z * vec.z; }
    AcGeVector3d crossProduct(const AcGeVector3d& vec) const
    {
        return {y * vec.z - z * vec.y, z * vec.x - x * vec.z, x * vec.y - y * vec.x};
    }
    // The part of this vector lying in the plane with the given normal.
    AcGeVector3d orthoProject(const AcGeVector3d& planeNormal) const;
    // Index (0, 1, 2) of the component with the largest magnitude.
    unsigned int largestElement() const;

    // Equality is within tol.equalVector() of the difference; operator== uses the global tolerance.
    bool operator==(const AcGeVector3d& vec) const { return isEqualTo(vec); }
    bool operator!=(const AcGeVector3d& vec) const { return !isEqualTo(vec); }
    bool isEqualTo(const AcGeVector3d& vec, const AcGeTol& tol = AcGeContext::gTol) const;

    double operator[](unsigned int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    double& operator[](unsigned int i) { return i == 0 ? x : (i == 1 ? y : z); }
    AcGeVector3d& set(double xx, double yy, double zz)
    {
        x = xx;
        y = yy;
        z = zz;
        return *this;
    }
    AcGeVector3d& set(const AcGePlanarEnt& pln, const AcGeVector2d& vec);

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};
