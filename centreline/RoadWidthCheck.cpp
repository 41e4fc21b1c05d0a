// The road width check: the drawing's road centrelines listed with their widths, and the zoom to one.
#include "StdAfx.h"

#include "RoadWidthCheckDlg.h"

#include "DrawingToolkit.h"
#include "RoadBaseLibrary.h"

int CRoadWidthCheckDlg::CollectRoads()
{
    const CString layer = RoadGreenLineOpr::GetZXLayer();
    if (layer.IsEmpty())
        return 0;
    resbuf* filter
        = acutBuildList(8, layer.GetString(), -3, 1001, GetRoadZxFilterAppName().GetString(), RTNONE);
    if (filter == nullptr)
        return 0;
    AcDbObjectIdArray found;
    tarn::CFArxSelSet selection;
    if (selection.allSelect(filter) == tarn::CFArxSelSet::kSelected)
        selection.asArray(found);
    acutRelRb(filter);
    if (found.isEmpty()) {
        acutPrintf(_T("\n未找到道路中线!"));
        return 0;
    }

    roadIds = found;
    m_list.DeleteAllItems();
    for (int i = 0; i < roadIds.length(); ++i) {
        CString width;
        width.Format(_T("%.2f"), GetRoadWidth(roadIds[i]));
        m_list.InsertItem(i, IntToString(i + 1));
        m_list.SetItemText(i, 1, width);
    }
    return 1;
}

void CRoadWidthCheckDlg::ZoomToSelectedRoad()
{
    if (selectedRow < 0 || selectedRow >= roadIds.length())
        return;
    AcDbObjectIdArray ids;
    ids.append(roadIds[selectedRow]);
    AcGePoint3d low;
    AcGePoint3d high;
    if (!tarn::ent::GetSSRect(ids, low, high))
        return;
    low = tarn::geo::Wcs2ucs(low);
    high = tarn::geo::Wcs2ucs(high);
    const ads_point a = {low.x - 30.0, low.y - 20.0, 0.0};
    const ads_point b = {high.x + 30.0, high.y + 20.0, 0.0};
    acedCommand(RTSTR, _T("ZOOM"), RTSTR, _T("W"), RTPOINT, a, RTPOINT, b, RTNONE);
    tarn::ent::Flash(ids);
}
