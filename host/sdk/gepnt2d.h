// AcGePoint2d: a position in the plane; differences of points are AcGeVector2d.
#pragma once

#include "adesk.h"
#include "gegbl.h"
#include "gevec2d.h"

class AcGeMatrix2d;

class AcGePoint2d {
public:
    constexpr AcGePoint2d() = default;
    constexpr AcGePoint2d(double xx, double yy)
        : x(xx)
        , y(yy)
    {
    }

    static const AcGePoint2d kOrigin;

    friend AcGePoint2d operator*(const AcGeMatrix2d& mat, const AcGePoint2d& pnt);
    friend AcGePoint2d operator*(double scl, const AcGePoint2d& pnt) { return pnt * scl; }

    AcGePoint2d& setToProduct(const AcGeMatrix2d& mat, const AcGePoint2d& pnt);
    AcGePoint2d& transformBy(const AcGeMatrix2d& leftSide);
    AcGePoint2d& rotateBy(double angle, const AcGePoint2d& wrtPoint = AcGePoint2d::kOrigin);
    AcGePoint2d& scaleBy(double scaleFactor, const AcGePoint2d& wrtPoint = AcGePoint2d::kOrigin);

    AcGePoint2d operator*(double scl) const { return {x * scl, y * scl}; }
    AcGePoint2d& operator*=(double scl) { return set(x * scl, y * scl); }
    AcGePoint2d operator/(double scl) const { return {x / scl, y / scl}; }
    AcGePoint2d& operator/=(double scl) { return set(x / scl, y / scl); }
    AcGePoint2d operator+(const AcGeVector2d& vec) const { return {x + vec.x, y + vec.y}; }
    AcGePoint2d& operator+=(const AcGeVector2d& vec) { return set(x + vec.x, y + vec.y); }
    AcGePoint2d operator-(const AcGeVector2d& vec) const { return {x - vec.x, y - vec.y}; }
    AcGePoint2d& operator-=(const AcGeVector2d& vec) { return set(x - vec.x, y - vec.y); }
    AcGeVector2d operator-(const AcGePoint2d& pnt) const { return {x - pnt.x, y - pnt.y}; }
    AcGePoint2d& setToSum(const AcGePoint2d& pnt, const AcGeVector2d& vec)
    {
        return set(pnt.x + vec.x, pnt.y + vec.y);
    }
    AcGeVector2d asVector() const { return {x, y}; }

    double distanceTo(const AcGePoint2d& pnt) const;

    // Equality is within tol.equalPoint() of distance; operator== uses the global tolerance.
    bool operator==(const AcGePoint2d& pnt) const { return isEqualTo(pnt); }
    bool operator!=(const AcGePoint2d& pnt) const { return !isEqualTo(pnt); }
    bool isEqualTo(const AcGePoint2d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;

    double operator[](unsigned int i) const { return i == 0 ? x : y; }
    double& operator[](unsigned int i) { return i == 0 ? x : y; }
    AcGePoint2d& set(double xx, double yy)
    {
        x = xx;
        y = yy;
        return *this;
    }

    double x = 0.0;
    double y = 0.0;
};
