// Lines, circles, arcs and points.
#include <algorithm>
#include <cmath>

#include "db/DatabaseImpl.h"
#include "dbents.h"
#include "geometry/CurveKernel.h"

ACRX_DEFINE_MEMBERS_DXF(AcDbLine, AcDbCurve, ACRX_T("LINE"))
ACRX_DEFINE_MEMBERS_DXF(AcDbCircle, AcDbCurve, ACRX_T("CIRCLE"))
ACRX_DEFINE_MEMBERS_DXF(AcDbArc, AcDbCurve, ACRX_T("ARC"))
ACRX_DEFINE_MEMBERS_DXF(AcDbPoint, AcDbEntity, ACRX_T("POINT"))

namespace {

constexpr double kTwoPi = 6.28318530717958647692;

double normalizedAngle(double angle)
{
    double a = std::fmod(angle, kTwoPi);
    if (a < 0)
        a += kTwoPi;
    if (a >= kTwoPi)
        a = 0;
    return a;
}

arxhost::TypedValue point(short code, const AcGePoint3d& p)
{
    return {code, arxhost::TypedValue::Point {p.x, p.y, p.z}};
}

// The uniform scale of a matrix in the plan, or 0 when it distorts shapes (non-uniform scaling).
double uniformScale(const AcGeMatrix3d& m)
{
    AcGeVector3d x = AcGeVector3d::kXAxis;
    AcGeVector3d y = AcGeVector3d::kYAxis;
    x.transformBy(m);
    y.transformBy(m);
    double sx = x.length();
    double sy = y.length();
    if (std::fabs(sx - sy) > 1e-9 * std::max(sx, 1.0) || std::fabs(x.dotProduct(y)) > 1e-9 * sx * sy)
        return 0.0;
    return sx;
}

// Whether a matrix mirrors the plan (turns counter-clockwise into clockwise).
bool mirrors(const AcGeMatrix3d& m)
{
    AcGeVector3d x = AcGeVector3d::kXAxis;
    AcGeVector3d y = AcGeVector3d::kYAxis;
    x.transformBy(m);
    y.transformBy(m);
    return x.crossProduct(y).z < 0;
}

} // namespace

// ---- Line ----

AcDbLine::AcDbLine() = default;

AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end)
    : mStart(start)
    , mEnd(end)
{
}

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mStart = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mEnd = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setThickness(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mThickness = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mNormal = val.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mStart.transformBy(xform);
    mEnd.transformBy(xform);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::extend(Adesk::Boolean extendStart, const AcGePoint3d& toPoint)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    (extendStart ? mStart : mEnd) = toPoint;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::reverseCurve()
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    std::swap(mStart, mEnd);
    return Acad::eOk;
}

// The commonest entity of all gets its box without building a path (saving and indexing ask for every one).
Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& extents) const
{
    extents.set(
        AcGePoint3d(std::min(mStart.x, mEnd.x), std::min(mStart.y, mEnd.y), std::min(mStart.z, mEnd.z)),
        AcGePoint3d(std::max(mStart.x, mEnd.x), std::max(mStart.y, mEnd.y), std::max(mStart.z, mEnd.z)));
    return Acad::eOk;
}

bool AcDbLine::hostPath(arxhost::geom::Path& path) const
{
    path = arxhost::geom::Path::line(mStart, mEnd);
    return true;
}

bool AcDbLine::filterGroup(short code, arxhost::TypedValue& out) const
{
    switch (code) {
    case 10:
        out = point(10, mStart);
        return true;
    case 11:
        out = point(11, mEnd);
        return true;
    case 39:
        out = {39, mThickness};
        return true;
    default:
        return AcDbCurve::filterGroup(code, out);
    }
}

// ---- Circle ----

AcDbCircle::AcDbCircle() = default;

AcDbCircle::AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius)
    : mCenter(center)
    , mRadius(radius)
    , mNormal(normal.normal())
{
}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mCenter = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setRadius(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!(val > 0))
        return Acad::eInvalidInput;
    mRadius = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mNormal = val.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::setThickness(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mThickness = val;
    return Acad::eOk;
}

double AcDbCircle::circumference() const
{
    return kTwoPi * mRadius;
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& xform)
{
    double scale = uniformScale(xform);
    if (scale == 0.0)
        return Acad::eCannotScaleNonUniformly;
    if (!writable())
        return Acad::eNotOpenForWrite;
    mCenter.transformBy(xform);
    mRadius *= scale;
    return Acad::eOk;
}

bool AcDbCircle::hostPath(arxhost::geom::Path& path) const
{
    path = arxhost::geom::Path::circle(mCenter, mRadius);
    return true;
}

bool AcDbCircle::filterGroup(short code, arxhost::TypedValue& out) const
{
    switch (code) {
    case 10:
        out = point(10, mCenter);
        return true;
    case 40:
        out = {40, mRadius};
        return true;
    case 39:
        out = {39, mThickness};
        return true;
    default:
        return AcDbCurve::filterGroup(code, out);
    }
}

// ---- Arc ----

AcDbArc::AcDbArc() = default;

AcDbArc::AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle)
    : mCenter(center)
    , mRadius(radius)
    , mStartAngle(normalizedAngle(startAngle))
    , mEndAngle(normalizedAngle(endAngle))
{
}

AcDbArc::AcDbArc(
    const AcGePoint3d& center, const AcGeVector3d& normal, double radius, double startAngle, double endAngle)
    : mCenter(center)
    , mRadius(radius)
    , mStartAngle(normalizedAngle(startAngle))
    , mEndAngle(normalizedAngle(endAngle))
    , mNormal(normal.normal())
{
}

Acad::ErrorStatus AcDbArc::setCenter(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mCenter = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setRadius(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    if (!(val > 0))
        return Acad::eInvalidInput;
    mRadius = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setStartAngle(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mStartAngle = normalizedAngle(val);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setEndAngle(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mEndAngle = normalizedAngle(val);
    return Acad::eOk;
}

double AcDbArc::totalAngle() const
{
    double sweep = mEndAngle - mStartAngle;
    return sweep <= 0 ? sweep + kTwoPi : sweep;
}

Acad::ErrorStatus AcDbArc::setNormal(const AcGeVector3d& val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mNormal = val.normal();
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::setThickness(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mThickness = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::transformBy(const AcGeMatrix3d& xform)
{
    double scale = uniformScale(xform);
    if (scale == 0.0)
        return Acad::eCannotScaleNonUniformly;
    if (!writable())
        return Acad::eNotOpenForWrite;
    AcGePoint3d start = mCenter + AcGeVector3d(std::cos(mStartAngle), std::sin(mStartAngle), 0) * mRadius;
    AcGePoint3d end = mCenter + AcGeVector3d(std::cos(mEndAngle), std::sin(mEndAngle), 0) * mRadius;
    mCenter.transformBy(xform);
    start.transformBy(xform);
    end.transformBy(xform);
    mRadius *= scale;
    double a0 = std::atan2(start.y - mCenter.y, start.x - mCenter.x);
    double a1 = std::atan2(end.y - mCenter.y, end.x - mCenter.x);
    // A mirror turns the arc's direction: the old end becomes the new start.
    if (mirrors(xform))
        std::swap(a0, a1);
    mStartAngle = normalizedAngle(a0);
    mEndAngle = normalizedAngle(a1);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbArc::extend(Adesk::Boolean extendStart, const AcGePoint3d& toPoint)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    double angle = normalizedAngle(std::atan2(toPoint.y - mCenter.y, toPoint.x - mCenter.x));
    (extendStart ? mStartAngle : mEndAngle) = angle;
    return Acad::eOk;
}

bool AcDbArc::hostPath(arxhost::geom::Path& path) const
{
    path = arxhost::geom::Path::arc(mCenter, mRadius, mStartAngle, mEndAngle);
    return true;
}

bool AcDbArc::filterGroup(short code, arxhost::TypedValue& out) const
{
    switch (code) {
    case 10:
        out = point(10, mCenter);
        return true;
    case 40:
        out = {40, mRadius};
        return true;
    case 50:
        out = {50, mStartAngle * 180.0 / (kTwoPi / 2)};
        return true;
    case 51:
        out = {51, mEndAngle * 180.0 / (kTwoPi / 2)};
        return true;
    default:
        return AcDbCurve::filterGroup(code, out);
    }
}

// ---- Point ----

AcDbPoint::AcDbPoint() = default;

AcDbPoint::AcDbPoint(const AcGePoint3d& position)
    : mPosition(position)
{
}

Acad::ErrorStatus AcDbPoint::setPosition(const AcGePoint3d& pt)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mPosition = pt;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::setThickness(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mThickness = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::setEcsRotation(double val)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mEcsRotation = val;
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::transformBy(const AcGeMatrix3d& xform)
{
    if (!writable())
        return Acad::eNotOpenForWrite;
    mPosition.transformBy(xform);
    return Acad::eOk;
}

Acad::ErrorStatus AcDbPoint::getGeomExtents(AcDbExtents& extents) const
{
    extents.set(mPosition, mPosition);
    return Acad::eOk;
}

bool AcDbPoint::hostPath(arxhost::geom::Path& path) const
{
    path = arxhost::geom::Path::line(mPosition, mPosition);
    return true;
}

bool AcDbPoint::filterGroup(short code, arxhost::TypedValue& out) const
{
    if (code == 10) {
        out = point(10, mPosition);
        return true;
    }
    return AcDbEntity::filterGroup(code, out);
}
