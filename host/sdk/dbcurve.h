// AcDbCurve: parameters, distances, points and closest points along a curve entity.
#pragma once

#include "dbmain.h"
#include "dbptrar.h"
#include "gedblar.h"
#include "gept3dar.h"

class AcDbCurve : public AcDbEntity {
public:
    ACRX_DECLARE_MEMBERS(AcDbCurve);
    ~AcDbCurve() override;

    virtual Adesk::Boolean isClosed() const;
    virtual Adesk::Boolean isPeriodic() const;
    virtual Acad::ErrorStatus getStartParam(double& param) const;
    virtual Acad::ErrorStatus getEndParam(double& param) const;
    virtual Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getParamAtPoint(const AcGePoint3d& point, double& param) const;
    virtual Acad::ErrorStatus getDistAtParam(double param, double& dist) const;
    virtual Acad::ErrorStatus getParamAtDist(double dist, double& param) const;
    virtual Acad::ErrorStatus getDistAtPoint(const AcGePoint3d& point, double& dist) const;
    virtual Acad::ErrorStatus getPointAtDist(double dist, AcGePoint3d& point) const;
    virtual Acad::ErrorStatus getFirstDeriv(double param, AcGeVector3d& firstDeriv) const;
    virtual Acad::ErrorStatus getFirstDeriv(const AcGePoint3d& point, AcGeVector3d& firstDeriv) const;
    virtual Acad::ErrorStatus getClosestPointTo(
        const AcGePoint3d& givenPnt, AcGePoint3d& pointOnCurve, Adesk::Boolean extend = Adesk::kFalse) const;
    virtual Acad::ErrorStatus getArea(double& area) const;
    // Moves the start (extendStart) or the end of the curve to a point on its own extension.
    virtual Acad::ErrorStatus extend(Adesk::Boolean extendStart, const AcGePoint3d& toPoint);
    virtual Acad::ErrorStatus extend(double newParam);
    virtual Acad::ErrorStatus reverseCurve();
    // The curve cut at the given parameters (or points on it, in order along it): new curves of the same
    // class with this curve's properties, not in any drawing and owned by the caller, appended in order;
    // the first runs from the start to the first cut, the last from the last cut to the end, and
    // coincident cuts give no piece. eInvalidInput for a parameter outside the curve or a point off it
    // (nothing is appended then); eNotApplicable for curves that cannot be cut (circles).
    virtual Acad::ErrorStatus getSplitCurves(
        const AcGeDoubleArray& params, AcDbVoidPtrArray& curveSegments) const;
    virtual Acad::ErrorStatus getSplitCurves(
        const AcGePoint3dArray& points, AcDbVoidPtrArray& curveSegments) const;

protected:
    AcDbCurve();
    AcDbCurve(const AcDbCurve& other);
};
