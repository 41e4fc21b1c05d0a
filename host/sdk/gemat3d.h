// AcGeMatrix3d: a 4x4 affine transformation of space acting on column vectors (translation in the last
// column).
#pragma once

#include "adesk.h"
#include "gegbl.h"
#include "gepnt3d.h"
#include "gevec3d.h"

class AcGeLine3d;
class AcGePlane;

class AcGeMatrix3d {
public:
    constexpr AcGeMatrix3d() // the identity
        : entry {{1.0, 0.0, 0.0, 0.0}, {0.0, 1.0, 0.0, 0.0}, {0.0, 0.0, 1.0, 0.0}, {0.0, 0.0, 0.0, 1.0}}
    {
    }

    static const AcGeMatrix3d kIdentity;

    AcGeMatrix3d& setToIdentity();

    // (A * B) applied to a point applies B first, then A.
    AcGeMatrix3d operator*(const AcGeMatrix3d& mat) const;
    AcGeMatrix3d& operator*=(const AcGeMatrix3d& mat);
    // this = leftSide * this
    AcGeMatrix3d& preMultBy(const AcGeMatrix3d& leftSide);
    // this = this * rightSide
    AcGeMatrix3d& postMultBy(const AcGeMatrix3d& rightSide);
    AcGeMatrix3d& setToProduct(const AcGeMatrix3d& mat1, const AcGeMatrix3d& mat2);

    // A singular matrix is left unchanged by invert() and comes back unchanged from inverse().
    AcGeMatrix3d& invert();
    AcGeMatrix3d inverse() const;
    AcGeMatrix3d inverse(const AcGeTol& tol) const;
    // False (and inv untouched) when the matrix is singular: a pivot below tol relative to the largest entry.
    bool inverse(AcGeMatrix3d& inv, double tol) const;
    Adesk::Boolean isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeMatrix3d& transposeIt();
    AcGeMatrix3d transpose() const;

    bool operator==(const AcGeMatrix3d& mat) const { return isEqualTo(mat); }
    bool operator!=(const AcGeMatrix3d& mat) const { return !isEqualTo(mat); }
    bool isEqualTo(const AcGeMatrix3d& mat, const AcGeTol& tol = AcGeContext::gTol) const;
    // Columns of the linear part mutually perpendicular (isScaledOrtho) and also of one length
    // (isUniScaledOrtho).
    Adesk::Boolean isUniScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;
    Adesk::Boolean isScaledOrtho(const AcGeTol& tol = AcGeContext::gTol) const;

    double det() const;
    // The largest length of the columns of the linear part: the uniform scale factor of a uniformly scaled
    // matrix.
    double scale() const;

    AcGeMatrix3d& setTranslation(const AcGeVector3d& vec);
    AcGeVector3d translation() const;

    // Columns: xAxis, yAxis, zAxis, origin. Maps coordinates in that system to world coordinates.
    AcGeMatrix3d& setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
        const AcGeVector3d& yAxis, const AcGeVector3d& zAxis);
    void getCoordSystem(
        AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis, AcGeVector3d& zAxis) const;

    AcGeMatrix3d& setToTranslation(const AcGeVector3d& vec);
    // Right-handed rotation about the axis through center.
    AcGeMatrix3d& setToRotation(
        double angle, const AcGeVector3d& axis, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    AcGeMatrix3d& setToScaling(double scaleAll, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    AcGeMatrix3d& setToMirroring(const AcGePlane& pln);
    // Point reflection through pnt.
    AcGeMatrix3d& setToMirroring(const AcGePoint3d& pnt);
    // Half-turn about the line.
    AcGeMatrix3d& setToMirroring(const AcGeLine3d& line);
    // Maps the "from" coordinate system onto the "to" one: a point with coordinates (a, b, c) in the first
    // lands on the point with the same coordinates in the second.
    AcGeMatrix3d& setToAlignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
        const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis, const AcGePoint3d& toOrigin,
        const AcGeVector3d& toXAxis, const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis);
    // The plane's system for a bare normal is the entity coordinate system of that normal (arbitrary axis
    // rule) with its origin at the world origin.
    AcGeMatrix3d& setToWorldToPlane(const AcGeVector3d& normal);
    AcGeMatrix3d& setToWorldToPlane(const AcGePlane& plane);
    AcGeMatrix3d& setToPlaneToWorld(const AcGeVector3d& normal);
    AcGeMatrix3d& setToPlaneToWorld(const AcGePlane& plane);

    static AcGeMatrix3d translation(const AcGeVector3d& vec);
    static AcGeMatrix3d rotation(
        double angle, const AcGeVector3d& axis, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    static AcGeMatrix3d scaling(double scaleAll, const AcGePoint3d& center = AcGePoint3d::kOrigin);
    static AcGeMatrix3d mirroring(const AcGePlane& pln);
    static AcGeMatrix3d mirroring(const AcGePoint3d& pnt);
    static AcGeMatrix3d mirroring(const AcGeLine3d& line);
    static AcGeMatrix3d alignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
        const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis, const AcGePoint3d& toOrigin,
        const AcGeVector3d& toXAxis, const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis);
    static AcGeMatrix3d worldToPlane(const AcGeVector3d& normal);
    static AcGeMatrix3d worldToPlane(const AcGePlane& plane);
    static AcGeMatrix3d planeToWorld(const AcGeVector3d& normal);
    static AcGeMatrix3d planeToWorld(const AcGePlane& plane);

    double operator()(unsigned int row, unsigned int column) const { return entry[row][column]; }
    double& operator()(unsigned int row, unsigned int column) { return entry[row][column]; }

    double entry[4][4];
};
