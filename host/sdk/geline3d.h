// AcGeLine3d: an unbounded straight line in space, a point on it and its direction.
#pragma once

#include "adesk.h"
#include "gegbl.h"
#include "gepnt3d.h"
#include "gevec3d.h"

class AcGeLine3d {
public:
    // The world X axis.
    constexpr AcGeLine3d() = default;
    constexpr AcGeLine3d(const AcGePoint3d& pnt, const AcGeVector3d& vec)
        : mPoint(pnt)
        , mDirection(vec)
    {
    }
    AcGeLine3d(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2)
        : mPoint(pnt1)
        , mDirection(pnt2 - pnt1)
    {
    }

    static const AcGeLine3d kXAxis;
    static const AcGeLine3d kYAxis;
    static const AcGeLine3d kZAxis;

    AcGePoint3d pointOnLine() const { return mPoint; }
    // Unit direction.
    AcGeVector3d direction() const;

    AcGeLine3d& set(const AcGePoint3d& pnt, const AcGeVector3d& vec);
    AcGeLine3d& set(const AcGePoint3d& pnt1, const AcGePoint3d& pnt2);

    AcGePoint3d closestPointTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    double distanceTo(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;
    Adesk::Boolean isOn(const AcGePoint3d& pnt, const AcGeTol& tol = AcGeContext::gTol) const;

private:
    AcGePoint3d mPoint;
    AcGeVector3d mDirection {1.0, 0.0, 0.0};
};
