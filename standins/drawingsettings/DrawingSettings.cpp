// Drawing settings and scale blocks: the drawing scale, the planning coordinates, scale block data.
#include "DrawingSettings.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "CustomParameterStore.h"
#include "acutads.h"
#include "extendeddata/XDataAccess.h"

namespace {

constexpr const wchar_t* kScaleKey = L"绘图比例";
constexpr const wchar_t* kConversionKey = L"坐标转换参数";
constexpr const wchar_t* kScaleBlockApp = L"FAPP_SCALEBLK";

// The numbers of a comma-separated list; false when any item is not a number.
bool parseNumbers(CString text, std::vector<double>& numbers)
{
    numbers.clear();
    text.Trim();
    if (text.IsEmpty())
        return false;
    int start = 0;
    while (start <= text.GetLength()) {
        int comma = text.Find(L',', start);
        if (comma < 0)
            comma = text.GetLength();
        CString item = text.Mid(start, comma - start);
        item.Trim();
        wchar_t* end = nullptr;
        const double value = std::wcstod(item.GetString(), &end);
        if (item.IsEmpty() || end == nullptr || *end != 0 || !std::isfinite(value))
            return false;
        numbers.push_back(value);
        start = comma + 1;
    }
    return true;
}

} // namespace

double CDrawingSetting::GetSysScale()
{
    OTHERPARAM param;
    if (!TarnDB::qvGetOtherParam(kScaleKey, param))
        return 1.0;
    // Written either as the denominator ("500") or as the ratio ("1:500").
    CString text = param.strValue;
    const int colon = text.Find(L':');
    if (colon >= 0) {
        CString unit = text.Left(colon);
        if (unit.Trim() != L"1")
            return 1.0;
        text = text.Mid(colon + 1);
    }
    std::vector<double> numbers;
    if (!parseNumbers(text, numbers) || numbers.size() != 1 || numbers[0] <= 0.0)
        return 1.0;
    return numbers[0] / 1000.0;
}

void qvGetConvCoordinate(AcGePoint3d in, AcGePoint3d& out)
{
    out = in;
    OTHERPARAM param;
    std::vector<double> numbers;
    if (!TarnDB::qvGetOtherParam(kConversionKey, param) || !parseNumbers(param.strValue, numbers)
        || numbers.size() != 4 || numbers[3] <= 0.0)
        return;
    const double angle = numbers[2] * std::numbers::pi / 180.0;
    const double scale = numbers[3];
    const double c = std::cos(angle) * scale;
    const double s = std::sin(angle) * scale;
    out.x = numbers[0] + c * in.x - s * in.y;
    out.y = numbers[1] + s * in.x + c * in.y;
}

int CScaleBlkData::SetTo(AcDbObjectId id)
{
    planroad::standins::ResbufChain values(acutBuildList(1040, CDrawingSetting::GetSysScale(), 0));
    return values != nullptr && planroad::standins::writeApplicationData(id, kScaleBlockApp, values.get())
        ? 1
        : 0;
}

int CScaleBlkData::GetFrom(AcDbObjectId id, double& scale)
{
    bool present = false;
    planroad::standins::ResbufChain values
        = planroad::standins::readApplicationData(id, kScaleBlockApp, present);
    for (const resbuf* rb = values.get(); rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == 1040) {
            scale = rb->resval.rreal;
            return 1;
        }
    }
    return 0;
}
