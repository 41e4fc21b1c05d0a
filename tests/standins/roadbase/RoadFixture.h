// A host session with road drawings at hand: curves of every class, road data, layer parameters.
#pragma once

#include <initializer_list>
#include <utility>
#include <vector>

#include "CustomParameterStore.h"
#include "ExtendedDataLibrary.h"
#include "HostFixture.h"
#include "RoadBaseLibrary.h"

namespace planroad::test {

constexpr double kPi = 3.14159265358979323846;

class RoadFixture : public HostFixture {
protected:
    struct Vertex {
        double x;
        double y;
        double bulge = 0.0;
    };

    AcDbObjectId addArc(double cx, double cy, double radius, double startDegrees, double endDegrees)
    {
        return add(
            new AcDbArc(AcGePoint3d(cx, cy, 0), radius, startDegrees * kPi / 180, endDegrees * kPi / 180));
    }
    AcDbObjectId addPolyline(std::initializer_list<Vertex> vertices, bool closed = false)
    {
        auto* pline = new AcDbPolyline();
        unsigned int i = 0;
        for (const Vertex& v : vertices)
            pline->addVertexAt(i++, AcGePoint2d(v.x, v.y), v.bulge);
        pline->setClosed(closed);
        return add(pline);
    }
    AcDbObjectId add2dPolyline(std::initializer_list<Vertex> vertices)
    {
        AcGePoint3dArray points;
        AcGeDoubleArray bulges;
        for (const Vertex& v : vertices) {
            points.append(AcGePoint3d(v.x, v.y, 0));
            bulges.append(v.bulge);
        }
        return add(new AcDb2dPolyline(AcDb::k2dSimplePoly, points, 0, Adesk::kFalse, 0, 0, &bulges));
    }

    // Marks the curve as a road centreline of the given width fields.
    void makeCentreline(AcDbObjectId id, const CString& width = CString(), const CString& section = CString())
    {
        ASSERT_EQ(1, ARX_DATA::CFSimpleXData::SetTo(id, L"FAPP_DLZX", L"道路中线"));
        if (!width.IsEmpty()) {
            ASSERT_EQ(1, ARX_DATA::CFGisXData::SetTo(id, L"FD_WIDTH", width, L"道路宽度"));
        }
        if (!section.IsEmpty()) {
            ASSERT_EQ(1, ARX_DATA::CFGisXData::SetTo(id, L"FS_DLDM", section, L"道路断面"));
        }
    }
    void setLayerParameter(const CString& key, const CString& layer)
    {
        LAYERPARAM param;
        param.strName = layer;
        ASSERT_EQ(1, TarnDB::qvSetLayerParam(key, param, nullptr));
    }
    void putOnLayer(AcDbObjectId id, const wchar_t* layer)
    {
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForWrite);
        ASSERT_EQ(Acad::eOk, entity->setLayer(layer));
    }

    std::pair<AcGePoint3d, AcGePoint3d> endsOf(AcDbObjectId id)
    {
        AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForRead);
        std::pair<AcGePoint3d, AcGePoint3d> ends;
        EXPECT_EQ(Acad::eOk, curve.openStatus());
        if (curve.openStatus() == Acad::eOk) {
            curve->getStartPoint(ends.first);
            curve->getEndPoint(ends.second);
        }
        return ends;
    }
    double lengthOf(AcDbObjectId id)
    {
        AcDbObjectPointer<AcDbCurve> curve(id, AcDb::kForRead);
        double end = 0;
        double length = 0;
        curve->getEndParam(end);
        curve->getDistAtParam(end, length);
        return length;
    }
    AcDbHandle handleOf(AcDbObjectId id)
    {
        AcDbObjectPointer<AcDbObject> object(id, AcDb::kForRead);
        return object->handle();
    }
    static void expectAt(const AcGePoint3d& expected, const AcGePoint3d& actual, double tol = 1e-9)
    {
        EXPECT_NEAR(expected.x, actual.x, tol) << "y " << actual.y;
        EXPECT_NEAR(expected.y, actual.y, tol) << "x " << actual.x;
    }
};

} // namespace planroad::test
