// AcGeMatrix2d and AcGeMatrix3d: products, inversion and the standard transformations.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "GeLinearSolve.h"
#include "geline3d.h"
#include "gemat2d.h"
#include "gemat3d.h"
#include "geplane.h"

const AcGeMatrix2d AcGeMatrix2d::kIdentity;
const AcGeMatrix3d AcGeMatrix3d::kIdentity;

namespace {

template <std::size_t N> void multiply(const double (&a)[N][N], const double (&b)[N][N], double (&out)[N][N])
{
    double r[N][N] = {};
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = 0; j < N; ++j)
            for (std::size_t k = 0; k < N; ++k)
                r[i][j] += a[i][k] * b[k][j];
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = 0; j < N; ++j)
            out[i][j] = r[i][j];
}

template <std::size_t N> void transposeInPlace(double (&m)[N][N])
{
    for (std::size_t i = 0; i < N; ++i)
        for (std::size_t j = i + 1; j < N; ++j)
            std::swap(m[i][j], m[j][i]);
}

// Linear parts compare against equalVector, the translation column against equalPoint.
template <std::size_t N>
bool entriesEqual(const double (&a)[N][N], const double (&b)[N][N], const AcGeTol& tol)
{
    for (std::size_t i = 0; i < N; ++i) {
        for (std::size_t j = 0; j < N; ++j) {
            const double limit = (j == N - 1 && i < N - 1) ? tol.equalPoint() : tol.equalVector();
            if (std::fabs(a[i][j] - b[i][j]) > limit)
                return false;
        }
    }
    return true;
}

// Unit axes of the entity coordinate system of `normal` (the arbitrary axis rule).
void arbitraryAxes(const AcGeVector3d& normal, AcGeVector3d& xAxis, AcGeVector3d& yAxis, AcGeVector3d& zAxis)
{
    zAxis = normal.normal();
    xAxis = zAxis.perpVector();
    yAxis = zAxis.crossProduct(xAxis).normal();
}

// Orthonormal system of a plane: its first axis, the normal, and the axis completing a right-handed frame.
void planeFrame(const AcGePlane& plane, AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis,
    AcGeVector3d& zAxis)
{
    AcGeVector3d axis2;
    plane.getCoordSystem(origin, xAxis, axis2);
    zAxis = plane.normal();
    xAxis.normalize();
    yAxis = zAxis.crossProduct(xAxis).normal();
}

} // namespace

// ---- AcGeMatrix2d ----

AcGeMatrix2d& AcGeMatrix2d::setToIdentity()
{
    return *this = AcGeMatrix2d();
}

AcGeMatrix2d AcGeMatrix2d::operator*(const AcGeMatrix2d& mat) const
{
    AcGeMatrix2d r;
    multiply(entry, mat.entry, r.entry);
    return r;
}

AcGeMatrix2d& AcGeMatrix2d::operator*=(const AcGeMatrix2d& mat)
{
    return postMultBy(mat);
}

AcGeMatrix2d& AcGeMatrix2d::preMultBy(const AcGeMatrix2d& leftSide)
{
    return *this = leftSide * *this;
}

AcGeMatrix2d& AcGeMatrix2d::postMultBy(const AcGeMatrix2d& rightSide)
{
    return *this = *this * rightSide;
}

AcGeMatrix2d& AcGeMatrix2d::setToProduct(const AcGeMatrix2d& mat1, const AcGeMatrix2d& mat2)
{
    return *this = mat1 * mat2;
}

AcGeMatrix2d& AcGeMatrix2d::invert()
{
    arxhost::geom::detail::invertSquare(entry, entry, AcGeContext::gTol.equalVector());
    return *this;
}

AcGeMatrix2d AcGeMatrix2d::inverse() const
{
    AcGeMatrix2d r = *this;
    return r.invert();
}

Adesk::Boolean AcGeMatrix2d::isSingular(const AcGeTol& tol) const
{
    double scratch[3][3];
    return !arxhost::geom::detail::invertSquare(entry, scratch, tol.equalVector());
}

AcGeMatrix2d& AcGeMatrix2d::transposeIt()
{
    transposeInPlace(entry);
    return *this;
}

AcGeMatrix2d AcGeMatrix2d::transpose() const
{
    AcGeMatrix2d r = *this;
    return r.transposeIt();
}

bool AcGeMatrix2d::isEqualTo(const AcGeMatrix2d& mat, const AcGeTol& tol) const
{
    return entriesEqual(entry, mat.entry, tol);
}

double AcGeMatrix2d::det() const
{
    return arxhost::geom::detail::determinant(entry);
}

AcGeMatrix2d& AcGeMatrix2d::setTranslation(const AcGeVector2d& vec)
{
    entry[0][2] = vec.x;
    entry[1][2] = vec.y;
    return *this;
}

AcGeVector2d AcGeMatrix2d::translation() const
{
    return {entry[0][2], entry[1][2]};
}

AcGeMatrix2d& AcGeMatrix2d::setCoordSystem(
    const AcGePoint2d& origin, const AcGeVector2d& e0, const AcGeVector2d& e1)
{
    setToIdentity();
    entry[0][0] = e0.x;
    entry[1][0] = e0.y;
    entry[0][1] = e1.x;
    entry[1][1] = e1.y;
    entry[0][2] = origin.x;
    entry[1][2] = origin.y;
    return *this;
}

void AcGeMatrix2d::getCoordSystem(AcGePoint2d& origin, AcGeVector2d& e0, AcGeVector2d& e1) const
{
    e0.set(entry[0][0], entry[1][0]);
    e1.set(entry[0][1], entry[1][1]);
    origin.set(entry[0][2], entry[1][2]);
}

AcGeMatrix2d& AcGeMatrix2d::setToTranslation(const AcGeVector2d& vec)
{
    return setToIdentity().setTranslation(vec);
}

AcGeMatrix2d& AcGeMatrix2d::setToRotation(double angle, const AcGePoint2d& center)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    setToIdentity();
    entry[0][0] = c;
    entry[0][1] = -s;
    entry[1][0] = s;
    entry[1][1] = c;
    // Keep the centre fixed: t = center - R * center.
    return setTranslation(
        AcGeVector2d(center.x - (c * center.x - s * center.y), center.y - (s * center.x + c * center.y)));
}

AcGeMatrix2d& AcGeMatrix2d::setToScaling(double scaleAll, const AcGePoint2d& center)
{
    setToIdentity();
    entry[0][0] = scaleAll;
    entry[1][1] = scaleAll;
    return setTranslation(center.asVector() * (1.0 - scaleAll));
}

AcGeMatrix2d& AcGeMatrix2d::setToMirroring(const AcGePoint2d& pnt)
{
    return setToScaling(-1.0, pnt);
}

AcGeMatrix2d AcGeMatrix2d::translation(const AcGeVector2d& vec)
{
    return AcGeMatrix2d().setToTranslation(vec);
}

AcGeMatrix2d AcGeMatrix2d::rotation(double angle, const AcGePoint2d& center)
{
    return AcGeMatrix2d().setToRotation(angle, center);
}

AcGeMatrix2d AcGeMatrix2d::scaling(double scaleAll, const AcGePoint2d& center)
{
    return AcGeMatrix2d().setToScaling(scaleAll, center);
}

AcGeMatrix2d AcGeMatrix2d::mirroring(const AcGePoint2d& pnt)
{
    return AcGeMatrix2d().setToMirroring(pnt);
}

// ---- AcGeMatrix3d ----

AcGeMatrix3d& AcGeMatrix3d::setToIdentity()
{
    return *this = AcGeMatrix3d();
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& mat) const
{
    AcGeMatrix3d r;
    multiply(entry, mat.entry, r.entry);
    return r;
}

AcGeMatrix3d& AcGeMatrix3d::operator*=(const AcGeMatrix3d& mat)
{
    return postMultBy(mat);
}

AcGeMatrix3d& AcGeMatrix3d::preMultBy(const AcGeMatrix3d& leftSide)
{
    return *this = leftSide * *this;
}

AcGeMatrix3d& AcGeMatrix3d::postMultBy(const AcGeMatrix3d& rightSide)
{
    return *this = *this * rightSide;
}

AcGeMatrix3d& AcGeMatrix3d::setToProduct(const AcGeMatrix3d& mat1, const AcGeMatrix3d& mat2)
{
    return *this = mat1 * mat2;
}

AcGeMatrix3d& AcGeMatrix3d::invert()
{
    arxhost::geom::detail::invertSquare(entry, entry, AcGeContext::gTol.equalVector());
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::inverse() const
{
    AcGeMatrix3d r = *this;
    return r.invert();
}

AcGeMatrix3d AcGeMatrix3d::inverse(const AcGeTol& tol) const
{
    AcGeMatrix3d r = *this;
    inverse(r, tol.equalVector());
    return r;
}

bool AcGeMatrix3d::inverse(AcGeMatrix3d& inv, double tol) const
{
    return arxhost::geom::detail::invertSquare(entry, inv.entry, tol);
}

Adesk::Boolean AcGeMatrix3d::isSingular(const AcGeTol& tol) const
{
    double scratch[4][4];
    return !arxhost::geom::detail::invertSquare(entry, scratch, tol.equalVector());
}

AcGeMatrix3d& AcGeMatrix3d::transposeIt()
{
    transposeInPlace(entry);
    return *this;
}

AcGeMatrix3d AcGeMatrix3d::transpose() const
{
    AcGeMatrix3d r = *this;
    return r.transposeIt();
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& mat, const AcGeTol& tol) const
{
    return entriesEqual(entry, mat.entry, tol);
}

Adesk::Boolean AcGeMatrix3d::isScaledOrtho(const AcGeTol& tol) const
{
    AcGePoint3d origin;
    AcGeVector3d axes[3];
    getCoordSystem(origin, axes[0], axes[1], axes[2]);
    for (int i = 0; i < 3; ++i) {
        if (axes[i].isZeroLength(tol))
            return false;
    }
    return axes[0].isPerpendicularTo(axes[1], tol) && axes[1].isPerpendicularTo(axes[2], tol)
        && axes[0].isPerpendicularTo(axes[2], tol);
}

Adesk::Boolean AcGeMatrix3d::isUniScaledOrtho(const AcGeTol& tol) const
{
    if (!isScaledOrtho(tol))
        return false;
    AcGePoint3d origin;
    AcGeVector3d axes[3];
    getCoordSystem(origin, axes[0], axes[1], axes[2]);
    const double len = axes[0].length();
    return std::fabs(axes[1].length() - len) <= tol.equalVector() * std::max(1.0, len)
        && std::fabs(axes[2].length() - len) <= tol.equalVector() * std::max(1.0, len);
}

double AcGeMatrix3d::det() const
{
    return arxhost::geom::detail::determinant(entry);
}

double AcGeMatrix3d::scale() const
{
    double largest = 0.0;
    for (int c = 0; c < 3; ++c)
        largest = std::max(largest, AcGeVector3d(entry[0][c], entry[1][c], entry[2][c]).length());
    return largest;
}

AcGeMatrix3d& AcGeMatrix3d::setTranslation(const AcGeVector3d& vec)
{
    entry[0][3] = vec.x;
    entry[1][3] = vec.y;
    entry[2][3] = vec.z;
    return *this;
}

AcGeVector3d AcGeMatrix3d::translation() const
{
    return {entry[0][3], entry[1][3], entry[2][3]};
}

AcGeMatrix3d& AcGeMatrix3d::setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
    const AcGeVector3d& yAxis, const AcGeVector3d& zAxis)
{
    setToIdentity();
    const AcGeVector3d* axes[3] = {&xAxis, &yAxis, &zAxis};
    for (int c = 0; c < 3; ++c) {
        entry[0][c] = axes[c]->x;
        entry[1][c] = axes[c]->y;
        entry[2][c] = axes[c]->z;
    }
    return setTranslation(origin.asVector());
}

void AcGeMatrix3d::getCoordSystem(
    AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis, AcGeVector3d& zAxis) const
{
    xAxis.set(entry[0][0], entry[1][0], entry[2][0]);
    yAxis.set(entry[0][1], entry[1][1], entry[2][1]);
    zAxis.set(entry[0][2], entry[1][2], entry[2][2]);
    origin.set(entry[0][3], entry[1][3], entry[2][3]);
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& vec)
{
    return setToIdentity().setTranslation(vec);
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center)
{
    setToIdentity();
    const AcGeVector3d k = axis.normal();
    if (k.isZeroLength())
        return *this;
    // Columns are the rotated world axes; the centre stays where it is.
    const AcGeVector3d columns[3] = {AcGeVector3d::kXAxis, AcGeVector3d::kYAxis, AcGeVector3d::kZAxis};
    for (int c = 0; c < 3; ++c) {
        AcGeVector3d v = columns[c];
        v.rotateBy(angle, k);
        entry[0][c] = v.x;
        entry[1][c] = v.y;
        entry[2][c] = v.z;
    }
    const AcGeVector3d moved = *this * center.asVector();
    return setTranslation(center.asVector() - moved);
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double scaleAll, const AcGePoint3d& center)
{
    setToIdentity();
    for (int i = 0; i < 3; ++i)
        entry[i][i] = scaleAll;
    return setTranslation(center.asVector() * (1.0 - scaleAll));
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePlane& pln)
{
    // x' = x - 2 n (n . (x - o))
    const AcGeVector3d n = pln.normal();
    setToIdentity();
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            entry[i][j] -= 2.0 * n[static_cast<unsigned>(i)] * n[static_cast<unsigned>(j)];
    return setTranslation(n * (2.0 * n.dotProduct(pln.pointOnPlane().asVector())));
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGePoint3d& pnt)
{
    return setToScaling(-1.0, pnt);
}

AcGeMatrix3d& AcGeMatrix3d::setToMirroring(const AcGeLine3d& line)
{
    return setToRotation(std::numbers::pi, line.direction(), line.pointOnLine());
}

AcGeMatrix3d& AcGeMatrix3d::setToAlignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
    const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis, const AcGePoint3d& toOrigin,
    const AcGeVector3d& toXAxis, const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis)
{
    AcGeMatrix3d from;
    from.setCoordSystem(fromOrigin, fromXAxis, fromYAxis, fromZAxis);
    AcGeMatrix3d to;
    to.setCoordSystem(toOrigin, toXAxis, toYAxis, toZAxis);
    return *this = to * from.inverse();
}

AcGeMatrix3d& AcGeMatrix3d::setToWorldToPlane(const AcGeVector3d& normal)
{
    return setToPlaneToWorld(normal).invert();
}

AcGeMatrix3d& AcGeMatrix3d::setToWorldToPlane(const AcGePlane& plane)
{
    return setToPlaneToWorld(plane).invert();
}

AcGeMatrix3d& AcGeMatrix3d::setToPlaneToWorld(const AcGeVector3d& normal)
{
    AcGeVector3d xAxis;
    AcGeVector3d yAxis;
    AcGeVector3d zAxis;
    arbitraryAxes(normal, xAxis, yAxis, zAxis);
    return setCoordSystem(AcGePoint3d::kOrigin, xAxis, yAxis, zAxis);
}

AcGeMatrix3d& AcGeMatrix3d::setToPlaneToWorld(const AcGePlane& plane)
{
    AcGePoint3d origin;
    AcGeVector3d xAxis;
    AcGeVector3d yAxis;
    AcGeVector3d zAxis;
    planeFrame(plane, origin, xAxis, yAxis, zAxis);
    return setCoordSystem(origin, xAxis, yAxis, zAxis);
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& vec)
{
    return AcGeMatrix3d().setToTranslation(vec);
}

AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis, const AcGePoint3d& center)
{
    return AcGeMatrix3d().setToRotation(angle, axis, center);
}

AcGeMatrix3d AcGeMatrix3d::scaling(double scaleAll, const AcGePoint3d& center)
{
    return AcGeMatrix3d().setToScaling(scaleAll, center);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePlane& pln)
{
    return AcGeMatrix3d().setToMirroring(pln);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGePoint3d& pnt)
{
    return AcGeMatrix3d().setToMirroring(pnt);
}

AcGeMatrix3d AcGeMatrix3d::mirroring(const AcGeLine3d& line)
{
    return AcGeMatrix3d().setToMirroring(line);
}

AcGeMatrix3d AcGeMatrix3d::alignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
    const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis, const AcGePoint3d& toOrigin,
    const AcGeVector3d& toXAxis, const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis)
{
    return AcGeMatrix3d().setToAlignCoordSys(
        fromOrigin, fromXAxis, fromYAxis, fromZAxis, toOrigin, toXAxis, toYAxis, toZAxis);
}

AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGeVector3d& normal)
{
    return AcGeMatrix3d().setToWorldToPlane(normal);
}

AcGeMatrix3d AcGeMatrix3d::worldToPlane(const AcGePlane& plane)
{
    return AcGeMatrix3d().setToWorldToPlane(plane);
}

AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGeVector3d& normal)
{
    return AcGeMatrix3d().setToPlaneToWorld(normal);
}

AcGeMatrix3d AcGeMatrix3d::planeToWorld(const AcGePlane& plane)
{
    return AcGeMatrix3d().setToPlaneToWorld(plane);
}
