// AcGe points and vectors in 2D and 3D: the global tolerance, the constants and the non-trivial members.
#include <cmath>
#include <numbers>

#include "gegbl.h"
#include "gemat2d.h"
#include "gemat3d.h"
#include "geplanar.h"
#include "geplane.h"
#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gevec2d.h"
#include "gevec3d.h"

AcGeTol AcGeContext::gTol;

const AcGeVector2d AcGeVector2d::kIdentity(0.0, 0.0);
const AcGeVector2d AcGeVector2d::kXAxis(1.0, 0.0);
const AcGeVector2d AcGeVector2d::kYAxis(0.0, 1.0);
const AcGePoint2d AcGePoint2d::kOrigin(0.0, 0.0);

const AcGeVector3d AcGeVector3d::kIdentity(0.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kXAxis(1.0, 0.0, 0.0);
const AcGeVector3d AcGeVector3d::kYAxis(0.0, 1.0, 0.0);
const AcGeVector3d AcGeVector3d::kZAxis(0.0, 0.0, 1.0);
const AcGePoint3d AcGePoint3d::kOrigin(0.0, 0.0, 0.0);

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Coordinates (a, b, c) of vec in the basis (u, v, w); false when the basis is degenerate.
bool decompose(const AcGeVector3d& u, const AcGeVector3d& v, const AcGeVector3d& w, const AcGeVector3d& vec,
    double& a, double& b, double& c)
{
    const double det = u.dotProduct(v.crossProduct(w));
    if (det == 0.0)
        return false;
    a = vec.dotProduct(v.crossProduct(w)) / det;
    b = u.dotProduct(vec.crossProduct(w)) / det;
    c = u.dotProduct(v.crossProduct(vec)) / det;
    return true;
}

// Plane coordinates of vec: its components along the plane's two axes, the normal part dropped.
AcGeVector2d planeComponents(const AcGePlanarEnt& pln, const AcGeVector3d& vec)
{
    AcGePoint3d origin;
    AcGeVector3d axis1;
    AcGeVector3d axis2;
    pln.getCoordSystem(origin, axis1, axis2);
    double a = 0.0;
    double b = 0.0;
    double c = 0.0;
    if (!decompose(axis1, axis2, pln.normal(), vec, a, b, c))
        return {};
    return {a, b};
}

} // namespace

// ---- AcGeVector2d ----

AcGeVector2d operator*(const AcGeMatrix2d& mat, const AcGeVector2d& vec)
{
    return {
        mat.entry[0][0] * vec.x + mat.entry[0][1] * vec.y, mat.entry[1][0] * vec.x + mat.entry[1][1] * vec.y};
}

AcGeVector2d& AcGeVector2d::setToProduct(const AcGeMatrix2d& mat, const AcGeVector2d& vec)
{
    return *this = mat * vec;
}

AcGeVector2d& AcGeVector2d::transformBy(const AcGeMatrix2d& leftSide)
{
    return *this = leftSide * *this;
}

AcGeVector2d& AcGeVector2d::rotateBy(double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return set(x * c - y * s, x * s + y * c);
}

double AcGeVector2d::angle() const
{
    double a = std::atan2(y, x);
    if (a < 0.0)
        a += kTwoPi;
    return a >= kTwoPi ? 0.0 : a;
}

double AcGeVector2d::angleTo(const AcGeVector2d& vec) const
{
    return std::atan2(std::fabs(x * vec.y - y * vec.x), dotProduct(vec));
}

AcGeVector2d AcGeVector2d::normal(const AcGeTol& tol) const
{
    AcGeVector2d v = *this;
    return v.normalize(tol);
}

AcGeVector2d& AcGeVector2d::normalize(const AcGeTol& tol)
{
    const double len = length();
    if (len <= tol.equalVector())
        return *this;
    return *this /= len;
}

double AcGeVector2d::length() const
{
    return std::hypot(x, y);
}

Adesk::Boolean AcGeVector2d::isUnitLength(const AcGeTol& tol) const
{
    return std::fabs(length() - 1.0) <= tol.equalVector();
}

Adesk::Boolean AcGeVector2d::isZeroLength(const AcGeTol& tol) const
{
    return length() <= tol.equalVector();
}

Adesk::Boolean AcGeVector2d::isParallelTo(const AcGeVector2d& vec, const AcGeTol& tol) const
{
    if (isZeroLength(tol) || vec.isZeroLength(tol))
        return false;
    const AcGeVector2d a = normal(tol);
    const AcGeVector2d b = vec.normal(tol);
    return std::fabs(a.x * b.y - a.y * b.x) <= tol.equalVector();
}

Adesk::Boolean AcGeVector2d::isCodirectionalTo(const AcGeVector2d& vec, const AcGeTol& tol) const
{
    if (isZeroLength(tol) || vec.isZeroLength(tol))
        return false;
    return (normal(tol) - vec.normal(tol)).length() <= tol.equalVector();
}

Adesk::Boolean AcGeVector2d::isPerpendicularTo(const AcGeVector2d& vec, const AcGeTol& tol) const
{
    if (isZeroLength(tol) || vec.isZeroLength(tol))
        return false;
    return std::fabs(normal(tol).dotProduct(vec.normal(tol))) <= tol.equalVector();
}

bool AcGeVector2d::isEqualTo(const AcGeVector2d& vec, const AcGeTol& tol) const
{
    return (*this - vec).length() <= tol.equalVector();
}

// ---- AcGePoint2d ----

AcGePoint2d operator*(const AcGeMatrix2d& mat, const AcGePoint2d& pnt)
{
    return {mat.entry[0][0] * pnt.x + mat.entry[0][1] * pnt.y + mat.entry[0][2],
        mat.entry[1][0] * pnt.x + mat.entry[1][1] * pnt.y + mat.entry[1][2]};
}

AcGePoint2d& AcGePoint2d::setToProduct(const AcGeMatrix2d& mat, const AcGePoint2d& pnt)
{
    return *this = mat * pnt;
}

AcGePoint2d& AcGePoint2d::transformBy(const AcGeMatrix2d& leftSide)
{
    return *this = leftSide * *this;
}

AcGePoint2d& AcGePoint2d::rotateBy(double angle, const AcGePoint2d& wrtPoint)
{
    AcGeVector2d v = *this - wrtPoint;
    return *this = wrtPoint + v.rotateBy(angle);
}

AcGePoint2d& AcGePoint2d::scaleBy(double scaleFactor, const AcGePoint2d& wrtPoint)
{
    return *this = wrtPoint + (*this - wrtPoint) * scaleFactor;
}

double AcGePoint2d::distanceTo(const AcGePoint2d& pnt) const
{
    return (*this - pnt).length();
}

bool AcGePoint2d::isEqualTo(const AcGePoint2d& pnt, const AcGeTol& tol) const
{
    return distanceTo(pnt) <= tol.equalPoint();
}

// ---- AcGeVector3d ----

AcGeVector3d::AcGeVector3d(const AcGePlanarEnt& pln, const AcGeVector2d& vec)
{
    set(pln, vec);
}

AcGeVector3d& AcGeVector3d::set(const AcGePlanarEnt& pln, const AcGeVector2d& vec)
{
    AcGePoint3d origin;
    AcGeVector3d axis1;
    AcGeVector3d axis2;
    pln.getCoordSystem(origin, axis1, axis2);
    return *this = axis1 * vec.x + axis2 * vec.y;
}

AcGeVector3d operator*(const AcGeMatrix3d& mat, const AcGeVector3d& vec)
{
    const auto& e = mat.entry;
    return {e[0][0] * vec.x + e[0][1] * vec.y + e[0][2] * vec.z,
        e[1][0] * vec.x + e[1][1] * vec.y + e[1][2] * vec.z,
        e[2][0] * vec.x + e[2][1] * vec.y + e[2][2] * vec.z};
}

AcGeVector3d& AcGeVector3d::setToProduct(const AcGeMatrix3d& mat, const AcGeVector3d& vec)
{
    return *this = mat * vec;
}

AcGeVector3d& AcGeVector3d::transformBy(const AcGeMatrix3d& leftSide)
{
    return *this = leftSide * *this;
}

AcGeVector3d& AcGeVector3d::rotateBy(double ang, const AcGeVector3d& axis)
{
    const AcGeVector3d k = axis.normal();
    if (k.isZeroLength())
        return *this;
    // Rodrigues: v cos + (k x v) sin + k (k . v)(1 - cos)
    const double c = std::cos(ang);
    const double s = std::sin(ang);
    const AcGeVector3d v = *this;
    return *this = v * c + k.crossProduct(v) * s + k * (k.dotProduct(v) * (1.0 - c));
}

AcGeVector3d& AcGeVector3d::mirror(const AcGeVector3d& normalToPlane)
{
    const AcGeVector3d n = normalToPlane.normal();
    return *this -= n * (2.0 * dotProduct(n));
}

AcGeVector2d AcGeVector3d::convert2d(const AcGePlanarEnt& pln) const
{
    return planeComponents(pln, *this);
}

AcGeVector3d AcGeVector3d::perpVector() const
{
    // The arbitrary axis rule: a normal close to the world Z axis takes its X axis from world Y, others from
    // Z.
    constexpr double kNearZ = 1.0 / 64.0;
    const AcGeVector3d n = normal();
    const AcGeVector3d helper = (std::fabs(n.x) < kNearZ && std::fabs(n.y) < kNearZ) ? kYAxis : kZAxis;
    return helper.crossProduct(n).normal();
}

double AcGeVector3d::angleTo(const AcGeVector3d& vec) const
{
    return std::atan2(crossProduct(vec).length(), dotProduct(vec));
}

double AcGeVector3d::angleTo(const AcGeVector3d& vec, const AcGeVector3d& refVec) const
{
    const double a = angleTo(vec);
    if (refVec.dotProduct(crossProduct(vec)) >= 0.0)
        return a;
    const double b = kTwoPi - a;
    return b >= kTwoPi ? 0.0 : b;
}

double AcGeVector3d::angleOnPlane(const AcGePlanarEnt& pln) const
{
    AcGePoint3d origin;
    AcGeVector3d axis1;
    AcGeVector3d axis2;
    pln.getCoordSystem(origin, axis1, axis2);
    const AcGeVector3d n = pln.normal();
    return axis1.angleTo(orthoProject(n), n);
}

AcGeVector3d AcGeVector3d::normal(const AcGeTol& tol) const
{
    AcGeVector3d v = *this;
    return v.normalize(tol);
}

AcGeVector3d& AcGeVector3d::normalize(const AcGeTol& tol)
{
    const double len = length();
    if (len <= tol.equalVector())
        return *this;
    return *this /= len;
}

double AcGeVector3d::length() const
{
    return std::sqrt(lengthSqrd());
}

Adesk::Boolean AcGeVector3d::isUnitLength(const AcGeTol& tol) const
{
    return std::fabs(length() - 1.0) <= tol.equalVector();
}

Adesk::Boolean AcGeVector3d::isZeroLength(const AcGeTol& tol) const
{
    return length() <= tol.equalVector();
}

Adesk::Boolean AcGeVector3d::isParallelTo(const AcGeVector3d& vec, const AcGeTol& tol) const
{
    if (isZeroLength(tol) || vec.isZeroLength(tol))
        return false;
    return normal(tol).crossProduct(vec.normal(tol)).length() <= tol.equalVector();
}

Adesk::Boolean AcGeVector3d::isCodirectionalTo(const AcGeVector3d& vec, const AcGeTol& tol) const
{
    if (isZeroLength(tol) || vec.isZeroLength(tol))
        return false;
    return (normal(tol) - vec.normal(tol)).length() <= tol.equalVector();
}

Adesk::Boolean AcGeVector3d::isPerpendicularTo(const AcGeVector3d& vec, const AcGeTol& tol) const
{
    if (isZeroLength(tol) || vec.isZeroLength(tol))
        return false;
    return std::fabs(normal(tol).dotProduct(vec.normal(tol))) <= tol.equalVector();
}

AcGeVector3d AcGeVector3d::orthoProject(const AcGeVector3d& planeNormal) const
{
    const AcGeVector3d n = planeNormal.normal();
    return *this - n * dotProduct(n);
}

unsigned int AcGeVector3d::largestElement() const
{
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    const double az = std::fabs(z);
    if (ax >= ay && ax >= az)
        return 0;
    return ay >= az ? 1 : 2;
}

bool AcGeVector3d::isEqualTo(const AcGeVector3d& vec, const AcGeTol& tol) const
{
    return (*this - vec).length() <= tol.equalVector();
}

// ---- AcGePoint3d ----

AcGePoint3d::AcGePoint3d(const AcGePlanarEnt& pln, const AcGePoint2d& pnt2d)
{
    set(pln, pnt2d);
}

AcGePoint3d& AcGePoint3d::set(const AcGePlanarEnt& pln, const AcGePoint2d& pnt)
{
    AcGePoint3d origin;
    AcGeVector3d axis1;
    AcGeVector3d axis2;
    pln.getCoordSystem(origin, axis1, axis2);
    return *this = origin + axis1 * pnt.x + axis2 * pnt.y;
}

AcGePoint3d operator*(const AcGeMatrix3d& mat, const AcGePoint3d& pnt)
{
    const auto& e = mat.entry;
    return {e[0][0] * pnt.x + e[0][1] * pnt.y + e[0][2] * pnt.z + e[0][3],
        e[1][0] * pnt.x + e[1][1] * pnt.y + e[1][2] * pnt.z + e[1][3],
        e[2][0] * pnt.x + e[2][1] * pnt.y + e[2][2] * pnt.z + e[2][3]};
}

AcGePoint3d& AcGePoint3d::setToProduct(const AcGeMatrix3d& mat, const AcGePoint3d& pnt)
{
    return *this = mat * pnt;
}

AcGePoint3d& AcGePoint3d::transformBy(const AcGeMatrix3d& leftSide)
{
    return *this = leftSide * *this;
}

AcGePoint3d& AcGePoint3d::rotateBy(double angle, const AcGeVector3d& vec, const AcGePoint3d& wrtPoint)
{
    AcGeVector3d v = *this - wrtPoint;
    return *this = wrtPoint + v.rotateBy(angle, vec);
}

AcGePoint3d& AcGePoint3d::mirror(const AcGePlane& pln)
{
    return *this -= pln.normal() * (2.0 * pln.signedDistanceTo(*this));
}

AcGePoint3d& AcGePoint3d::scaleBy(double scaleFactor, const AcGePoint3d& wrtPoint)
{
    return *this = wrtPoint + (*this - wrtPoint) * scaleFactor;
}

AcGePoint2d AcGePoint3d::convert2d(const AcGePlanarEnt& pln) const
{
    const AcGeVector2d v = planeComponents(pln, *this - pln.pointOnPlane());
    return {v.x, v.y};
}

AcGePoint3d AcGePoint3d::orthoProject(const AcGePlane& pln) const
{
    return pln.closestPointTo(*this);
}

double AcGePoint3d::distanceTo(const AcGePoint3d& pnt) const
{
    return (*this - pnt).length();
}

bool AcGePoint3d::isEqualTo(const AcGePoint3d& pnt, const AcGeTol& tol) const
{
    return distanceTo(pnt) <= tol.equalPoint();
}
