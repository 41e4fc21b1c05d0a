// "QVZDBZ": picks stake points, shows each point's coordinates and elevations in the dialog, lets the
// user drag the label into place and keeps it as a group and an anonymous block carrying H.
#include "StdAfx.h"

#include <cmath>
#include <memory>

#include "CommandHandlers.h"
#include "DlzdbzDlg.h"
#include "PegDimBuilder.h"
#include "PegDimJig.h"
#include "PlanRoadModule.h"
#include "StakeSettings.h"
#include "rxmfcapi.h"

#include "CustomParameterStore.h"
#include "DrawingSettings.h"
#include "DrawingToolkit.h"
#include "TerrainLibrary.h"

// Right of the stake point the label's middle rule starts at the cursor; left of it the label lies one label
// width further left, so that the rule ends at the cursor.
void PegDimJigCallback(AcEdJig* pJig)
{
    auto* jig = dynamic_cast<tarn::CEntTransJig*>(pJig);
    if (jig == nullptr || jig->GetDragMode() != 1)
        return;
    tarn::CEntsGroup* group = jig->GetEnt();
    const auto* topRule = AcDbLine::cast(group != nullptr ? group->GetAt(0) : nullptr);
    if (topRule == nullptr)
        return;
    const double width = topRule->startPoint().distanceTo(topRule->endPoint());
    const AcGePoint3d cur = jig->QueryPos();
    const AcGePoint3d prev = jig->QueryPrePos();
    const AcGePoint3d base = jig->GetBasePoint();
    const double theta = tarn::cad::GetUcsAngle();
    const AcGeVector3d along(width * std::cos(theta), width * std::sin(theta), 0.0);
    const double baseX = tarn::geo::Wcs2ucs(base).x;

    // Back from where the previous position put the label, then on to where the cursor is now.
    AcGeVector3d undo = base - prev;
    if (baseX > tarn::geo::Wcs2ucs(prev).x)
        undo += along;
    AcGeVector3d move = (cur - base) + undo;
    if (baseX > tarn::geo::Wcs2ucs(cur).x)
        move -= along;
    const AcGeMatrix3d shift = AcGeMatrix3d::translation(move);
    for (int i = 0; i < group->GetSize(); ++i)
        if (AcDbEntity* entity = group->GetAt(i))
            entity->transformBy(shift);
}

namespace {

resbuf* SysVarPair(const ACHAR* name, const CString& value)
{
    return acutBuildList(RTSTR, name, RTSTR, value.GetString(), RTNONE);
}

// What one run holds: its settings (saved however the run ends), its system variables, the dialog and
// the two terrains, released in the order the run ends in.
struct StakeRun {
    SZDBZPARAM param;
    std::unique_ptr<tarn::CSysVar> layer;
    std::unique_ptr<tarn::CSysVar> osmode;
    std::unique_ptr<CPlanRoadResourceOverride> resources;
    std::unique_ptr<CDlzdbzDlg> dialog;
    std::unique_ptr<TARNQVTRI::CGetQvPtHeightClass> existing;
    std::unique_ptr<TARNQVTRI::CGetQvPtHeightClass> planned;

    ~StakeRun()
    {
        planned.reset();
        existing.reset();
        dialog.reset();
        resources.reset();
        osmode.reset();
        layer.reset();
        param.Save();
    }
};

// Drags the label into place and adds it, with its leader, to the drawing as a group; ids receives what
// was added. False when the user cancelled the drag.
bool PlaceLabel(tarn::CEntsGroup* group, const AcGePoint3d& point, int mode, AcDbObjectIdArray& ids)
{
    tarn::CEntTransJig jig(group, point, 1, 1, PegDimJigCallback, mode);
    AcEdJig::DragStatus status;
    do {
        jig.setDispPrompt(_T("\n输入标注位置:"));
        status = jig.drag();
    } while (status != AcEdJig::kNormal && status != AcEdJig::kCancel);
    if (status == AcEdJig::kCancel)
        return false;

    group->Add(new AcDbLine(jig.GetBasePoint(), jig.QueryPos()));
    group->EntsAddToDb();
    group->GetObjIds(ids);
    AcDbObjectId groupId;
    tarn::ent::CreateGrp(_T("*UPegDim"), groupId);
    for (int i = 0; i < ids.length();) {
        if (ids[i].isNull()) {
            ids.removeAt(i);
            continue;
        }
        tarn::ent::AddToGroup(groupId, ids[i]);
        ++i;
    }
    return true;
}

// Turns the label into an anonymous block at the stake point carrying the drawing scale and H.
void MakeBlock(const AcDbObjectIdArray& ids, const AcGePoint3d& point, double planned)
{
    AcDbObjectId blockId;
    AcDbObjectId refId;
    if (tarn::ent::CreateBlkAll(AcDbObjectIdArray(ids), _T("*U"), point, blockId, refId) != 0
        || refId.isNull())
        return;
    CScaleBlkData::SetTo(refId);
    resbuf* data = acutBuildList(1040, planned, RTNONE);
    tarn::dat::AddObjXdata(refId, _T("DL_ZD_DIM"), data);
    acutRelRb(data);
}

} // namespace

void QvZdbzCommand()
{
    double dimlfac = 0.0;
    tarn::cad::GetSysVar(_T("dimlfac"), dimlfac);
    StakeRun run;

    LAYERPARAM legend;
    legend.strName = _T("0");
    legend.nColor = 7;
    legend.strLineType = _T("CONTINUOUS");
    legend.nFlag = 1023;
    TarnDB::qvGetLayerParam(_T("道路图例标注层"), legend, TarnDB::qvGetQvCustomDatabase());
    resbuf* layerPair = SysVarPair(_T("CLayer"), legend.strName);
    run.layer = std::make_unique<tarn::CSysVar>(layerPair);
    acutRelRb(layerPair);
    resbuf* snapPair = acutBuildList(RTSTR, _T("OSMODE"), RTSHORT, 35, RTNONE);
    run.osmode = std::make_unique<tarn::CSysVar>(snapPair);
    acutRelRb(snapPair);

    run.resources = std::make_unique<CPlanRoadResourceOverride>();
    run.dialog = std::make_unique<CDlzdbzDlg>(acedGetAcadFrame());
    run.existing = std::make_unique<TARNQVTRI::CGetQvPtHeightClass>(false);
    run.planned = std::make_unique<TARNQVTRI::CGetQvPtHeightClass>(true);

    for (;;) {
        ads_point picked = {0.0, 0.0, 0.0};
        if (acedGetPoint(nullptr, _T("\n 拾取桩点位置:"), picked) != RTNORM)
            break;
        const AcGePoint3d inUcs(picked[0], picked[1], picked[2]);
        AcGePoint3d world = tarn::geo::Ucs2wcs(inUcs);
        AcGePoint3d converted;
        qvGetConvCoordinate(inUcs, converted);
        run.param.dX = tarn::geo::CutNum(converted.x * dimlfac);
        run.param.dY = tarn::geo::CutNum(converted.y * dimlfac);
        run.param.dH = run.planned->getQvPtHeight(world) ? world.z : 0.0;
        run.param.dh = run.existing->getQvPtHeight(world) ? world.z : 0.0;

        run.dialog->FromSettings(run.param);
        if (run.dialog->DoModal() != IDOK)
            continue;
        const AcGePoint3d point = tarn::geo::Ucs2wcs(inUcs);
        run.dialog->ToSettings(run.param);

        tarn::CEntsGroup* raw = nullptr;
        CreatePegDim(point, raw, run.param);
        std::unique_ptr<tarn::CEntsGroup> group(raw);
        if (!group)
            break;
        AcDbObjectIdArray ids;
        if (!PlaceLabel(group.get(), point, run.param.nMode, ids))
            continue;
        group.reset();
        if (!ids.isEmpty())
            MakeBlock(ids, point, run.param.dH);
    }
}
