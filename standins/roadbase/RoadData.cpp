// Road base library: which entities are roads and corner curves, what their extended data says, and the
// road layers.
#include <cwctype>

#include "ExtendedDataLibrary.h"
#include "RoadBaseLibrary.h"
#include "acutads.h"
#include "adscodes.h"
#include "dbents.h"
#include "dbobjptr.h"
#include "dbpl.h"
#include "roadbase/DrawingQueries.h"

namespace {

constexpr const wchar_t* kCentrelineApp = L"FAPP_DLZX";
constexpr const wchar_t* kSideLineApp = L"FAPP_DLBX";
constexpr const wchar_t* kCornerApps[] = {L"FAPP_DLYQJ", L"DLYQJ_XDATA"};

bool isRoadCurve(const AcDbEntity& entity)
{
    return AcDbLine::cast(&entity) != nullptr || AcDbArc::cast(&entity) != nullptr
        || AcDbPolyline::cast(&entity) != nullptr || AcDb2dPolyline::cast(&entity) != nullptr;
}

// The sum of the numbers written in a cross-section. A plain section lists the widths joined by "+"
// ("5+14+5"); a coded one puts each width after its code ("rx5cx14rx5"); in both the numbers are the
// widths, so adding every run of digits (with its decimal part) gives the road width.
double sectionWidth(const CString& section)
{
    const std::wstring text = section.GetString();
    double total = 0.0;
    std::size_t i = 0;
    while (i < text.size()) {
        const bool startsNumber = std::iswdigit(text[i]) != 0
            || (text[i] == L'.' && i + 1 < text.size() && std::iswdigit(text[i + 1]) != 0);
        if (!startsNumber) {
            ++i;
            continue;
        }
        std::size_t end = i;
        bool point = false;
        while (end < text.size() && (std::iswdigit(text[end]) != 0 || (text[end] == L'.' && !point))) {
            point = point || text[end] == L'.';
            ++end;
        }
        total += _wtof(text.substr(i, end - i).c_str());
        i = end;
    }
    return total;
}

bool isLiveEntity(AcDbObjectId id)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    return entity.openStatus() == Acad::eOk;
}

} // namespace

int CRoadXdata::IsRoadByXdata(AcDbObjectId id)
{
    {
        AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
        if (entity.openStatus() != Acad::eOk || !isRoadCurve(*entity))
            return 0;
    }
    CString text;
    return ARX_DATA::CFSimpleXData::GetFrom(id, kCentrelineApp, text) != 0 ? 1 : 0;
}

double CRoadXdata::GetRoadWidth(AcDbObjectId id)
{
    CString value;
    if (ARX_DATA::CFGisXData::GetFrom(id, L"FD_WIDTH", value) != 0) {
        const double width = _wtof(value);
        if (width > 0)
            return width;
    }
    if (ARX_DATA::CFGisXData::GetFrom(id, L"FS_DLDM", value) != 0)
        return sectionWidth(value);
    return 0.0;
}

double GetRoadWidth(AcDbObjectId id)
{
    return CRoadXdata::GetRoadWidth(id);
}

CString GetRoadZxFilterAppName()
{
    return kCentrelineApp;
}

int tarn_dl_Get_Xdata(AcDbObjectId id, ROADPARAM& param)
{
    if (!isLiveEntity(id))
        return -1;
    CString role;
    CString app;
    if (ARX_DATA::CFSimpleXData::GetFrom(id, kCentrelineApp, role) != 0)
        app = kCentrelineApp;
    else if (ARX_DATA::CFSimpleXData::GetFrom(id, kSideLineApp, role) != 0)
        app = kSideLineApp;
    else
        return 0;
    param.strAppName = app;
    param.strRole = role;
    param.dWidth = CRoadXdata::GetRoadWidth(id);
    CString value;
    if (ARX_DATA::CFGisXData::GetFrom(id, L"FS_DLDM", value) != 0)
        param.strSection = value;
    if (ARX_DATA::CFGisXData::GetFrom(id, L"FS_DLBK", value) != 0)
        param.strPanels = value;
    if (ARX_DATA::CFGisXData::GetFrom(id, L"FS_DLMC", value) != 0)
        param.strName = value;
    return 1;
}

int qvIsYqjByXdata_PLAN_TEST(AcDbObjectId id, int& type)
{
    AcDbObjectPointer<AcDbEntity> entity(id, AcDb::kForRead);
    if (entity.openStatus() != Acad::eOk)
        return 0;
    for (const wchar_t* app : kCornerApps) {
        planroad::standins::roadbase::ResbufList data(entity->xData(app));
        if (data == nullptr)
            continue;
        // The chain starts with the application's 1001 group; the corner type is the value after it.
        const resbuf* first = data->rbnext;
        type = (first != nullptr && first->restype == 1070) ? first->resval.rint : 0;
        return 1;
    }
    return 0;
}

int GetRxdIdsFromSym_PLAN_TEST(AcDbObjectIdArray& ids)
{
    ids.removeAll();
    const CString layer = RoadGreenLineOpr::GetRXLayer();
    if (layer.IsEmpty())
        return 0;
    const CString pattern = planroad::standins::roadbase::wildcardLiteral(layer);
    planroad::standins::roadbase::ResbufList filter(
        acutBuildList(RTDXF0, L"LINE,ARC,LWPOLYLINE,POLYLINE", 8, pattern.GetString(), RTNONE));
    if (filter == nullptr)
        return 0;
    for (AcDbObjectId id : planroad::standins::roadbase::selectAll(filter.get()))
        ids.append(id);
    return ids.isEmpty() ? 0 : 1;
}

CString RoadGreenLineOpr::GetZXLayer()
{
    return planroad::standins::roadbase::layerOfParameter(L"道路中线层");
}

CString RoadGreenLineOpr::GetRXLayer()
{
    return planroad::standins::roadbase::layerOfParameter(L"道路红线层");
}

CString RoadGreenLineOpr::GetBXLayer()
{
    return planroad::standins::roadbase::layerOfParameter(L"道路边线层");
}
