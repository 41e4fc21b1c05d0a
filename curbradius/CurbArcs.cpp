// Which selected entities the curb-return annotation takes, and the arcs each of them consists of.
#include "StdAfx.h"

#include "DlyjbjbzDlg.h"

#include "CustomParameterStore.h"
#include "DrawingToolkit.h"
#include "RoadBaseLibrary.h"

namespace {

// The three points of the arc between parameters from and from + 1 of a curve; false when one is missing.
bool ArcOfSegment(const AcDbCurve& curve, double from, CDlyjbjbzDlg::FRoad_Arc& arc)
{
    return curve.getPointAtParam(from, arc.ptStart) == Acad::eOk
        && curve.getPointAtParam(from + 0.5, arc.ptMid) == Acad::eOk
        && curve.getPointAtParam(from + 1.0, arc.ptEnd) == Acad::eOk;
}

CString RoleLayer(const ACHAR* key, TarnDB::CCustomDatabase* store)
{
    LAYERPARAM param;
    param.strName = _T("0");
    param.nColor = 7;
    param.strLineType = _T("CONTINUOUS");
    TarnDB::qvGetLayerParam(key, param, store);
    return param.strName;
}

} // namespace

void CDlyjbjbzDlg::ReadRoleLayers()
{
    TarnDB::CCustomDatabase* store = TarnDB::qvGetQvCustomDatabase();
    m_run.centreLayer = RoleLayer(_T("道路中线层"), store);
    m_run.curbLayer = RoleLayer(_T("行车道线层"), store);
    m_run.redLayer = RoleLayer(_T("人行道线层"), store);
}

bool CDlyjbjbzDlg::IsEntityWanted(AcDbObjectId entity, int& cornerType) const
{
    cornerType = 0;
    if (!qvIsYqjByXdata_PLAN_TEST(entity, cornerType)) {
        ROADPARAM road;
        if (tarn_dl_Get_Xdata(entity, road) != 1)
            return false;
    }
    // An entity on none of the role layers is left alone; so is one whose role is switched off. The
    // roles may share a layer ("0" when the drawing configures none): then every one of them must be on.
    const CString layer = tarn::ent::GetEntLayerName(entity);
    bool onRoleLayer = false;
    const std::pair<const CString*, bool> roles[] = {{&m_run.curbLayer, m_run.annotateCurb},
        {&m_run.redLayer, m_run.annotateRedLine}, {&m_run.centreLayer, m_run.annotateCentreline}};
    for (const auto& [roleLayer, switchedOn] : roles) {
        if (layer.CompareNoCase(*roleLayer) != 0)
            continue;
        if (!switchedOn)
            return false;
        onRoleLayer = true;
    }
    return onRoleLayer;
}

int CDlyjbjbzDlg::CollectArcs(AcDbObjectId entity, FRoadArcArray& arcs) const
{
    arcs.RemoveAll();
    if (!tarn::ent::FIsValidId(entity))
        return 0;
    AcDbEntity* object = nullptr;
    if (acdbOpenObject(object, entity, AcDb::kForRead) != Acad::eOk)
        return 1;
    if (auto* arc = AcDbArc::cast(object)) {
        FRoad_Arc record;
        double startParam = 0.0;
        double endParam = 0.0;
        arc->getStartPoint(record.ptStart);
        arc->getEndPoint(record.ptEnd);
        arc->getStartParam(startParam);
        arc->getEndParam(endParam);
        if (arc->getPointAtParam((startParam + endParam) * 0.5, record.ptMid) == Acad::eOk)
            arcs.Add(record);
    } else if (auto* pline = AcDbPolyline::cast(object)) {
        // A closed polyline's last vertex carries the bulge of its closing segment.
        for (unsigned int i = 0; i < pline->numVerts(); ++i) {
            double bulge = 0.0;
            pline->getBulgeAt(i, bulge);
            FRoad_Arc record;
            if (bulge != 0.0 && ArcOfSegment(*pline, i, record))
                arcs.Add(record);
        }
    } else if (auto* pline2d = AcDb2dPolyline::cast(object)) {
        AcDbObjectIterator* vertices = pline2d->vertexIterator();
        int i = 0;
        for (vertices->start(); !vertices->done(); vertices->step(), ++i) {
            AcDb2dVertex* vertex = nullptr;
            if (acdbOpenObject(vertex, vertices->objectId(), AcDb::kForRead) != Acad::eOk)
                continue;
            const double bulge = vertex->bulge();
            vertex->close();
            FRoad_Arc record;
            if (bulge != 0.0 && ArcOfSegment(*pline2d, i, record))
                arcs.Add(record);
        }
        delete vertices;
    }
    object->close();
    return 1;
}
