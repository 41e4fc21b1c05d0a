// "FDLDMDataDeal": every road centreline's coded cross-section turned into the plain form, with the road
// width and the number of carriageway panels written beside it.
#include "StdAfx.h"

#include "CommandHandlers.h"
#include "CrossSectionText.h"

#include "DrawingToolkit.h"
#include "ExtendedDataLibrary.h"
#include "RoadBaseLibrary.h"

void DldmDataDealCommand()
{
    resbuf* filter = acutBuildList(-3, 1001, GetRoadZxFilterAppName().GetString(), RTNONE);
    if (filter == nullptr)
        return;
    AcDbObjectIdArray centrelines;
    tarn::CFArxSelSet selection;
    if (selection.allSelect(filter) == tarn::CFArxSelSet::kSelected)
        selection.asArray(centrelines);
    acutRelRb(filter);
    if (centrelines.isEmpty())
        return;

    const int count = centrelines.length();
    acedSetStatusBarProgressMeter(_T("正在处理, 请稍候..."), 0, count);
    int converted = 0;
    for (int i = 0; i < count; ++i) {
        acedSetStatusBarProgressMeterPos(i);
        const AcDbObjectId id = centrelines[i];
        CString coded;
        CString label;
        // A plain form (with "+") is already converted: running the command again changes nothing.
        if (!ARX_DATA::CFGisXData::GetFrom(id, _T("FS_DLDM"), coded, label) || coded.IsEmpty()
            || coded.Find(_T('+')) >= 0)
            continue;
        SPlainCrossSection plain;
        if (!ConvertCrossSection(coded, plain))
            continue;
        ARX_DATA::CFGisXData::SetTo(id, _T("FD_WIDTH"), plain.width, _T("道路宽度"));
        ARX_DATA::CFGisXData::SetTo(id, _T("FS_DLBK"), PanelText(plain.panels), _T("道路板块"));
        ARX_DATA::CFGisXData::SetTo(id, _T("FS_DLDM"), plain.plain, label);
        ++converted;
    }
    acedRestoreStatusBar();
    acutPrintf(_T("成功转化%d个道路中线."), converted);
}
