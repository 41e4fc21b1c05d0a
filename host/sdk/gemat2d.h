// AcGeMatrix2d: a 3x3 affine transformation of the plane acting on column vectors (translation in the last
// column).
#pragma once

#include "adesk.h"
#include "gegbl.h"
#include "gepnt2d.h"
#include "gevec2d.h"

class AcGeMatrix2d {
public:
    constexpr AcGeMatrix2d() // the identity
        : entry {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}
    {
    }

    static const AcGeMatrix2d kIdentity;

    AcGeMatrix2d& setToIdentity();

    // (A * B) applied to a point applies B first.
    AcGeMatrix2d operator*(const AcGeMatrix2d& mat) const;
    AcGeMatrix2d& operator*=(const AcGeMatrix2d& mat);
    AcGeMatrix2d& preMultBy(const AcGeMatrix2d& leftSide);
    AcGeMatrix2d& postMultBy(const AcGeMatrix2d& rightSide);
    AcGeMatrix2d& setToProduct(const AcGeMatrix2d& mat1, const AcGeMatrix2d& mat2);

    // A singular matrix is left unchanged by invert() and comes back unchanged from inverse().
    AcGeMatrix2d& invert();
    AcGeMatrix2d inverse() const;
    Adesk::Boolean isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
    AcGeMatrix2d& transposeIt();
    AcGeMatrix2d transpose() const;

    bool operator==(const AcGeMatrix2d& mat) const { return isEqualTo(mat); }
    bool operator!=(const AcGeMatrix2d& mat) const { return !isEqualTo(mat); }
    bool isEqualTo(const AcGeMatrix2d& mat, const AcGeTol& tol = AcGeContext::gTol) const;

    double det() const;
    AcGeMatrix2d& setTranslation(const AcGeVector2d& vec);
    AcGeVector2d translation() const;
    AcGeMatrix2d& setCoordSystem(const AcGePoint2d& origin, const AcGeVector2d& e0, const AcGeVector2d& e1);
    void getCoordSystem(AcGePoint2d& origin, AcGeVector2d& e0, AcGeVector2d& e1) const;

    AcGeMatrix2d& setToTranslation(const AcGeVector2d& vec);
    AcGeMatrix2d& setToRotation(double angle, const AcGePoint2d& center = AcGePoint2d::kOrigin);
    AcGeMatrix2d& setToScaling(double scaleAll, const AcGePoint2d& center = AcGePoint2d::kOrigin);
    // Point reflection through pnt.
    AcGeMatrix2d& setToMirroring(const AcGePoint2d& pnt);

    static AcGeMatrix2d translation(const AcGeVector2d& vec);
    static AcGeMatrix2d rotation(double angle, const AcGePoint2d& center = AcGePoint2d::kOrigin);
    static AcGeMatrix2d scaling(double scaleAll, const AcGePoint2d& center = AcGePoint2d::kOrigin);
    static AcGeMatrix2d mirroring(const AcGePoint2d& pnt);

    double operator()(unsigned int row, unsigned int column) const { return entry[row][column]; }
    double& operator()(unsigned int row, unsigned int column) { return entry[row][column]; }

    double entry[3][3];
};
