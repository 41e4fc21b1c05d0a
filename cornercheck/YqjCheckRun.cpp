// The corner-cut check run: the area to check, the corner cuts, centrelines, annotation texts and red
// lines it gathers, and the list and error marks it leaves.
#include "StdAfx.h"

#include "YqjCheckBaseDlg.h"

#include "CustomParameterStore.h"
#include "DrawingToolkit.h"
#include "PromptLibrary.h"
#include "RoadBaseLibrary.h"

namespace {

const ACHAR* const kFutureRedLayer = _T("DL-远期道路红线");
const ACHAR* const kErrorLayer = _T("FL_ERROR_切角标注检测");

// A selection filter: entities on the layers, carrying data of one of the applications.
resbuf* CornerCutFilter(const CString& layers)
{
    return acutBuildList(8, layers.GetString(), -3, 1001, _T("FAPP_DLYQJ,DLYQJ_XDATA"), RTNONE);
}

// Every entity of the drawing that passes the filter (released here).
AcDbObjectIdArray SelectAll(resbuf* filter)
{
    AcDbObjectIdArray ids;
    tarn::CFArxSelSet selection;
    if (selection.allSelect(filter) == tarn::CFArxSelSet::kSelected)
        selection.asArray(ids);
    acutRelRb(filter);
    return ids;
}

// The vertices of a range line in the current UCS.
AcGePoint3dArray RangeInUcs(AcDbObjectId range)
{
    AcGePoint3dArray vertices;
    AcGeDoubleArray bulges;
    tarn::ent::GetCurveParam(range, &vertices, &bulges);
    for (int i = 0; i < vertices.length(); ++i)
        vertices[i] = tarn::geo::Wcs2ucs(vertices[i]);
    return vertices;
}

void AppendSelectedIn(const AcGePoint3dArray& polygon, const resbuf* filter, AcDbObjectIdArray& ids)
{
    tarn::CFArxSelSet selection;
    if (selection.crossingPolygonSelect(polygon, filter) != tarn::CFArxSelSet::kSelected)
        return;
    AcDbObjectIdArray found;
    selection.asArray(found);
    ids.append(found);
}

// The corner cuts inside (or crossing) a closed range, the view zoomed to it when it is not all in view.
void SelectInRange(AcDbObjectId range, const resbuf* filter, AcDbObjectIdArray& yqjIds)
{
    AcGePoint3d low;
    AcGePoint3d high;
    tarn::ent::GetEntRect(range, low, high);
    low = tarn::geo::Wcs2ucs(low);
    high = tarn::geo::Wcs2ucs(high);
    tarn::cad::ShieldCommandLine();
    const bool zoomed = !tarn::cad::IsPtInView(low) || !tarn::cad::IsPtInView(high);
    if (zoomed) {
        const ads_point a = {low.x, low.y, low.z};
        const ads_point b = {high.x, high.y, high.z};
        acedCommand(RTSTR, _T("ZOOM"), RTSTR, _T("W"), RT3DPOINT, a, RT3DPOINT, b, RTNONE);
    }
    tarn::CFArxSelSet selection;
    if (selection.crossingPolygonSelect(RangeInUcs(range), filter) == tarn::CFArxSelSet::kSelected)
        selection.asArray(yqjIds);
    if (zoomed)
        acedCommand(RTSTR, _T("Zoom"), RTSTR, _T("P"), RTNONE);
    tarn::cad::DisplayCommandLine();
}

} // namespace

bool CYqjCheckBaseDlg::AskForRange(const resbuf* cornerFilter, AcDbObjectIdArray& yqjIds)
{
    const CString prompt = _T("\n选择范围线[绘制范围线(D)/选择要检测的切角(S)]:");
    for (;;) {
        tarn::CFEntsel pick(prompt, _T("*"), _T("*"), _T(""), _T(""));
        pick.SetInitKword(_T("D S"));
        const int status = pick.FEntsel();
        if (status == 1) {
            if (tarn::ent::IsClosed(pick.GetSelEnt())) {
                SelectInRange(pick.GetSelEnt(), cornerFilter, yqjIds);
                return true;
            }
            acutPrintf(_T("\n该对象不闭合,请重新选择!"));
        } else if (status == 2 && pick.GetSelKword().CompareNoCase(_T("D")) == 0) {
            AcDbObjectId drawn;
            if (!tarn::ent::DrawPline(drawn) || !tarn::ent::FIsValidId(drawn))
                return false;
            if (tarn::ent::IsClosed(drawn)) {
                SelectInRange(drawn, cornerFilter, yqjIds);
                return true;
            }
            tarn::ent::Erase(drawn);
            acutPrintf(_T("\n绘制的范围线不闭合!"));
        } else if (status == 2) {
            const CString selectPrompt = _T("\n选择要检查的交叉口红线切角:");
            tarn::CFArxSelSet selection;
            if (selection.userSelect(selectPrompt, selectPrompt, cornerFilter)
                != tarn::CFArxSelSet::kSelected)
                return false;
            selection.asArray(yqjIds);
            return true;
        } else {
            return false;
        }
    }
}

bool CYqjCheckBaseDlg::GatherCornerCuts(const CString& cornerLayers, AcDbObjectIdArray& yqjIds)
{
    const AcDbObjectIdArray ranges
        = SelectAll(acutBuildList(RTDXF0, _T("LWPOLYLINE,POLYLINE"), -3, 1001, _T("FAPP_GHFWX"), RTNONE));
    bool useRanges = false;
    if (!ranges.isEmpty()) {
        // The range lines are shown in cyan while the user answers.
        AcDbObjectIdArray copies;
        tarn::ent::Copy(ranges, copies);
        for (const AcDbObjectId copy : copies) {
            tarn::ent::ChangeColor(copy, 4);
            tarn::ent::HighLight(copy);
        }
        ZOZedo::RDCad::CPrKeyWordDef question(_T("\n是否按指定范围线[(Y)/(N)]:"), _T("Y N"), _T("Y"));
        const int status = question.go();
        tarn::ent::Erase(copies);
        if (status != ZOZedo::RDCad::CPrKeyWordDef::kKeyWord)
            return false;
        useRanges = question.isKeyWordPicked(_T("Y"));
    }

    resbuf* cornerFilter = CornerCutFilter(cornerLayers);
    bool gathered = true;
    if (useRanges) {
        tarn::cad::ShieldCommandLine();
        acedCommand(RTSTR, _T("ZOOM"), RTSTR, _T("E"), RTNONE);
        for (const AcDbObjectId range : ranges)
            AppendSelectedIn(RangeInUcs(range), cornerFilter, yqjIds);
        acedCommand(RTSTR, _T("Zoom"), RTSTR, _T("P"), RTNONE);
        tarn::cad::DisplayCommandLine();
    } else {
        gathered = AskForRange(cornerFilter, yqjIds);
    }
    acutRelRb(cornerFilter);
    return gathered;
}

void CYqjCheckBaseDlg::GatherRedLines(const AcDbObjectIdArray& yqjIds)
{
    m_redLineIds.removeAll();
    GetRxdIdsFromSym_PLAN_TEST(m_redLineIds);
    tarn::ent::FRemoveRepeatId(m_redLineIds, yqjIds);
    if (tarn::ent::GetLayer(kFutureRedLayer).isNull())
        return;
    AcDbObjectIdArray future
        = SelectAll(acutBuildList(RTDXF0, _T("*POLYLINE,LINE,ARC"), 8, kFutureRedLayer, RTNONE));
    tarn::ent::FRemoveRepeatId(future, yqjIds);
    tarn::ent::FRemoveRepeatId(m_redLineIds, future);
    m_redLineIds.append(future);
}

int CYqjCheckBaseDlg::DoYqjCheck()
{
    const CString redLayer = RoadGreenLineOpr::GetRXLayer();
    if (redLayer.IsEmpty())
        return 0;
    CString cornerLayers = redLayer;
    if (!tarn::ent::GetLayer(kFutureRedLayer).isNull())
        cornerLayers += CString(_T(",")) + kFutureRedLayer;

    AcDbObjectIdArray yqjIds;
    if (!GatherCornerCuts(cornerLayers, yqjIds))
        return 0;
    if (yqjIds.isEmpty()) {
        acutPrintf(_T("\n未找到交叉口红线切角!"));
        return 0;
    }

    m_roadIds = SelectAll(acutBuildList(8, RoadGreenLineOpr::GetZXLayer().GetString(), -3, 1001,
        GetRoadZxFilterAppName().GetString(), RTNONE));
    if (m_roadIds.length() < 2) {
        acutPrintf(_T("\n未找到道路中线!"));
        return 0;
    }

    LAYERPARAM annotation;
    annotation.strName = _T("0");
    annotation.nColor = 7;
    annotation.strLineType = _T("CONTINUOUS");
    TarnDB::qvGetLayerParam(_T("FL_BZ_DLQXYS"), annotation, TarnDB::qvGetQvCustomDatabase());
    m_textIds = SelectAll(
        acutBuildList(RTDXF0, _T("TEXT"), 8, annotation.strName.GetString(), 1, _T("*Q*,*FQ*"), RTNONE));

    GatherRedLines(yqjIds);
    if (m_redLineIds.isEmpty()) {
        acutPrintf(_T("\n未找到道路红线!"));
        return 0;
    }

    tarn::cad::ShieldCommandLine();
    if (!tarn::ent::GetLayer(kErrorLayer).isNull())
        tarn::ent::DelAllEntInLayer(kErrorLayer);
    StatYqjInfo(yqjIds);
    tarn::cad::DisplayCommandLine();

    if (IsDimensionCheck() && m_errRows.IsEmpty()) {
        acutPrintf(_T("没有发现错误。"));
        return 0;
    }
    ShowYqjResult();
    return 1;
}

void CYqjCheckBaseDlg::ShowYqjResult()
{
    m_list.SendMessage(LVM_DELETEALLITEMS, 0, 0);
    const CArray<SYQJINFO, SYQJINFO>& rows = m_bShowAll == 1 ? m_allRows : m_errRows;
    for (int i = 0; i < rows.GetSize(); ++i) {
        const SYQJINFO& row = rows[i];
        m_list.InsertItem(i, IntToString(i + 1));
        m_list.SetItemText(i, 1, row.strText);
        const bool irregular = row.nErrType == 5;
        m_list.SetItemText(i, 2, irregular ? CString() : DoubleToString(row.dRealValue, 1));
        m_list.SetItemText(i, 3, irregular ? CString() : DoubleToString(row.dStdValue, 1));
        m_list.SetItemText(i, 4, YqjErrorText(row.nErrType));
    }

    // Every wrong corner cut and its annotation, whatever the list shows, copied in blue onto the error
    // layer.
    AcDbObjectIdArray marked;
    for (int i = 0; i < m_errRows.GetSize(); ++i) {
        marked.append(m_errRows[i].idYqj);
        if (tarn::ent::FIsValidId(m_errRows[i].idText))
            marked.append(m_errRows[i].idText);
    }
    if (!tarn::ent::GetLayer(kErrorLayer).isNull())
        tarn::ent::DelAllEntInLayer(kErrorLayer);
    else
        tarn::ent::CreateLayer(kErrorLayer);
    for (const AcDbObjectId id : marked) {
        const AcDbObjectId copy = tarn::ent::Copy(id);
        tarn::ent::ChangeColor(copy, 5);
        tarn::ent::ChangeLayer(copy, kErrorLayer);
    }
}
