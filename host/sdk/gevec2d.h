// AcGeVector2d: a direction and length in the plane, the 2D partner of AcGeVector3d.
#pragma once

#include "adesk.h"
#include "gegbl.h"

class AcGeMatrix2d;

class AcGeVector2d {
public:
    constexpr AcGeVector2d() = default;
    constexpr AcGeVector2d(double xx, double yy)
        : x(xx)
        , y(yy)
    {
    }

    static const AcGeVector2d kIdentity; // the additive identity, (0, 0)
    static const AcGeVector2d kXAxis;
    static const AcGeVector2d kYAxis;

    friend AcGeVector2d operator*(const AcGeMatrix2d& mat, const AcGeVector2d& vec);
    friend AcGeVector2d operator*(double scl, const AcGeVector2d& vec) { return vec * scl; }

    AcGeVector2d& setToProduct(const AcGeMatrix2d& mat, const AcGeVector2d& vec);
    AcGeVector2d& setToProduct(const AcGeVector2d& vec, double scl) { return set(vec.x * scl, vec.y * scl); }
    // Vectors ignore the translation part of the matrix.
    AcGeVector2d& transformBy(const AcGeMatrix2d& leftSide);
    // Counter-clockwise for a positive angle.
    AcGeVector2d& rotateBy(double angle);

    AcGeVector2d operator*(double scl) const { return {x * scl, y * scl}; }
    AcGeVector2d& operator*=(double scl) { return set(x * scl, y * scl); }
    AcGeVector2d operator/(double scl) const { return {x / scl, y / scl}; }
    AcGeVector2d& operator/=(double scl) { return set(x / scl, y / scl); }
    AcGeVector2d operator+(const AcGeVector2d& vec) const { return {x + vec.x, y + vec.y}; }
    AcGeVector2d& operator+=(const AcGeVector2d& vec) { return set(x + vec.x, y + vec.y); }
    AcGeVector2d operator-(const AcGeVector2d& vec) const { return {x - vec.x, y - vec.y}; }
    AcGeVector2d& operator-=(const AcGeVector2d& vec) { return set(x - vec.x, y - vec.y); }
    AcGeVector2d& setToSum(const AcGeVector2d& vec1, const AcGeVector2d& vec2)
    {
        return set(vec1.x + vec2.x, vec1.y + vec2.y);
    }
    AcGeVector2d operator-() const { return {-x, -y}; }
    AcGeVector2d& negate() { return set(-x, -y); }

    // This vector turned a quarter turn counter-clockwise.
    AcGeVector2d perpVector() const { return {-y, x}; }
    // Angle from the X axis, counter-clockwise, in [0, 2pi).
    double angle() const;
    // Unsigned angle between the two vectors, in [0, pi].
    double angleTo(const AcGeVector2d& vec) const;

    // A zero-length vector (within tol.equalVector()) is returned or left unchanged.
    AcGeVector2d normal(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeVector2d& normalize(const AcGeTol& tol = AcGeContext::gTol);

    double length() const;
    double lengthSqrd() const { return x * x + y * y; }
    Adesk::Boolean isUnitLength(const AcGeTol& tol = AcGeContext::gTol) const;
    Adesk::Boolean isZeroLength(const AcGeTol& tol = AcGeContext::gTol) const;
    // Direction tests compare unit vectors against tol.equalVector(); a zero-length vector passes none of
    // them.
    Adesk::Boolean isParallelTo(const AcGeVector2d& vec, const AcGeTol& tol = AcGeContext::gTol) const;
    Adesk::Boolean isCodirectionalTo(const AcGeVector2d& vec, const AcGeTol& tol = AcGeContext::gTol) const;
    Adesk::Boolean isPerpendicularTo(const AcGeVector2d& vec, const AcGeTol& tol = AcGeContext::gTol) const;

    double dotProduct(const AcGeVector2d& vec) const { return x * vec.x + y * vec.y; }

    // Equality is within tol.equalVector() of the difference; operator== uses the global tolerance.
    bool operator==(const AcGeVector2d& vec) const { return isEqualTo(vec); }
    bool operator!=(const AcGeVector2d& vec) const { return !isEqualTo(vec); }
    bool isEqualTo(const AcGeVector2d& vec, const AcGeTol& tol = AcGeContext::gTol) const;

    double operator[](unsigned int i) const { return i == 0 ? x : y; }
    double& operator[](unsigned int i) { return i == 0 ? x : y; }
    AcGeVector2d& set(double xx, double yy)
    {
        x = xx;
        y = yy;
        return *this;
    }

    double x = 0.0;
    double y = 0.0;
};
