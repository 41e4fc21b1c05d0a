// AcDbPolyline: the lightweight polyline, vertices with bulges and widths, open or closed.
#pragma once

#include <vector>

#include "dbcurve.h"
#include "gedblar.h"
#include "gepnt2d.h"

class AcDbPolyline : public AcDbCurve {
public:
    ACRX_DECLARE_MEMBERS(AcDbPolyline);
    enum SegType { kLine = 0, kArc = 1, kCoincident = 2, kPoint = 3, kEmpty = 4 };

    AcDbPolyline();
    explicit AcDbPolyline(unsigned int num_verts);

    unsigned int numVerts() const { return static_cast<unsigned int>(mVertices.size()); }
    Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0.,
        double startWidth = -1., double endWidth = -1., Adesk::Int32 vertexIdentifier = 0);
    Acad::ErrorStatus removeVertexAt(unsigned int index);
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;
    Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
    Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
    Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
    Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
    Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
    SegType segType(unsigned int index) const;
    Adesk::Boolean isClosed() const override { return mClosed; }
    void setClosed(Adesk::Boolean closed);
    double elevation() const { return mElevation; }
    void setElevation(double elev);
    AcGeVector3d normal() const { return mNormal; }
    void setNormal(const AcGeVector3d& normal);
    Acad::ErrorStatus getConstantWidth(double& width) const;
    Acad::ErrorStatus setConstantWidth(double width);
    double thickness() const { return mThickness; }
    Acad::ErrorStatus setThickness(double thickness);
    bool hasBulges() const;
    bool hasWidth() const;
    bool isOnlyLines() const { return !hasBulges(); }
    void reset(Adesk::Boolean reuse, unsigned int numVerts);
    Acad::ErrorStatus minimizeMemory() { return Acad::eOk; }
    Acad::ErrorStatus maximizeMemory() { return Acad::eOk; }

    Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
    using AcDbCurve::extend;
    Acad::ErrorStatus extend(Adesk::Boolean extendStart, const AcGePoint3d& toPoint) override;
    Acad::ErrorStatus reverseCurve() override;
    bool hostPath(arxhost::geom::Path& path) const override;
    bool filterGroup(short code, arxhost::TypedValue& out) const override;
    const ACHAR* dxfTypeName() const override { return ACRX_T("LWPOLYLINE"); }
    AcRxObject* clone() const override { return new AcDbPolyline(*this); }

private:
    struct Vertex {
        AcGePoint2d point;
        double bulge = 0.0;
        double startWidth = 0.0;
        double endWidth = 0.0;
    };
    bool validIndex(unsigned int index) const { return index < mVertices.size(); }
    std::vector<Vertex> mVertices;
    bool mClosed = false;
    double mElevation = 0.0;
    double mThickness = 0.0;
    double mConstantWidth = 0.0;
    AcGeVector3d mNormal = AcGeVector3d::kZAxis;
};
