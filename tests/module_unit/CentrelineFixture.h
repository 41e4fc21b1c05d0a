// A drawing with road centrelines for the road width check and the cross-section conversion: the
// centreline layer "CL" in the parameter store, and centrelines drawn with their road data.
#pragma once

#include "DrawingToolkit.h"
#include "ExtendedDataLibrary.h"
#include "ModuleDrawingFixture.h"

namespace planroad::test {

// The road data a centreline is drawn with; a null field is left out.
struct RoadData {
    const wchar_t* width = nullptr; // FD_WIDTH
    const wchar_t* section = nullptr; // FS_DLDM
    const wchar_t* sectionLabel = L"道路断面";
};

class CentrelineFixture : public ModuleDrawingFixture {
protected:
    void SetUp() override
    {
        ModuleDrawingFixture::SetUp();
        addLayer(L"CL");
        addLayer(L"OTHER");
        setRole(L"道路中线层", L"CL");
    }

    // A line from a to b on the layer, marked as a road centreline with the data.
    AcDbObjectId centreline(
        const AcGePoint3d& a, const AcGePoint3d& b, const RoadData& data = {}, const wchar_t* layer = L"CL")
    {
        auto* line = new AcDbLine(a, b);
        line->setLayer(layer);
        const AcDbObjectId id = add(line);
        ARX_DATA::CFSimpleXData::SetTo(id, L"FAPP_DLZX", L"道路中线");
        if (data.width != nullptr)
            ARX_DATA::CFGisXData::SetTo(id, L"FD_WIDTH", data.width, L"道路宽度");
        if (data.section != nullptr)
            ARX_DATA::CFGisXData::SetTo(id, L"FS_DLDM", data.section, data.sectionLabel);
        return id;
    }
    // A horizontal centreline of length 100 at height y.
    AcDbObjectId centreline(double y, const RoadData& data = {}, const wchar_t* layer = L"CL")
    {
        return centreline(AcGePoint3d(0, y, 0), AcGePoint3d(100, y, 0), data, layer);
    }

    // A field of the entity's road data: its value, and its label when asked for; empty when missing.
    static std::wstring field(AcDbObjectId id, const wchar_t* name, std::wstring* label = nullptr)
    {
        CString value;
        CString text;
        if (ARX_DATA::CFGisXData::GetFrom(id, name, value, text) == 0)
            return {};
        if (label != nullptr)
            *label = text.GetString();
        return value.GetString();
    }
};

} // namespace planroad::test
