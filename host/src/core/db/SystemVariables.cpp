// The catalogue of system variables the host knows, with the values of a new metric drawing.
#include "db/SystemVariables.h"

#include <cwctype>

#include "db/DatabaseImpl.h"
#include "detail/DimVarList.h"

namespace arxhost {

namespace {

HeaderValue fromDimVar(const DimVarValue& value)
{
    return std::visit(
        [](const auto& v) -> HeaderValue {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, double>)
                return v;
            else if constexpr (std::is_same_v<V, std::wstring>)
                return v;
            else if constexpr (std::is_same_v<V, AcDbObjectId>)
                return v;
            else
                return static_cast<std::int64_t>(v);
        },
        value);
}

std::vector<SysVarInfo> buildCatalogue()
{
    using K = VarKind;
    using S = VarStorage;
    using P = std::array<double, 3>;
    std::vector<SysVarInfo> c = {
        {L"ACADVER", K::Text, S::Session, true, std::wstring(L"19.0")},
        {L"ANGBASE", K::Real, S::Drawing, false, 0.0},
        {L"ANGDIR", K::Short, S::Drawing, false, std::int64_t {0}, 0, 1},
        {L"AUNITS", K::Short, S::Drawing, false, std::int64_t {0}, 0, 4},
        {L"AUPREC", K::Short, S::Drawing, false, std::int64_t {0}, 0, 8},
        {L"CECOLOR", K::Text, S::Drawing, false, std::wstring(L"BYLAYER")},
        {L"CELTSCALE", K::Real, S::Drawing, false, 1.0, 1e-12, 1e100},
        {L"CELTYPE", K::TableName, S::Drawing, false, HeaderValue {}},
        {L"CLAYER", K::TableName, S::Drawing, false, HeaderValue {}},
        {L"CMDACTIVE", K::Short, S::Document, true, std::int64_t {0}},
        {L"CMDECHO", K::Short, S::Session, false, std::int64_t {1}, 0, 1},
        {L"CMDNAMES", K::Text, S::Document, true, std::wstring()},
        {L"DIMSTYLE", K::TableName, S::Drawing, true, HeaderValue {}},
        {L"DWGCODEPAGE", K::Text, S::Drawing, true, std::wstring(L"ANSI_936")},
        {L"DWGNAME", K::Text, S::Document, true, std::wstring(L"Drawing1.dwg")},
        {L"DWGPREFIX", K::Text, S::Document, true, std::wstring()},
        {L"DWGTITLED", K::Short, S::Document, true, std::int64_t {0}},
        {L"ERRNO", K::Short, S::Document, false, std::int64_t {0}},
        {L"EXPERT", K::Short, S::Session, false, std::int64_t {0}, 0, 5},
        {L"EXTMAX", K::Point3d, S::Drawing, true, P {-1e20, -1e20, -1e20}},
        {L"EXTMIN", K::Point3d, S::Drawing, true, P {1e20, 1e20, 1e20}},
        {L"FILEDIA", K::Short, S::Session, false, std::int64_t {1}, 0, 1},
        {L"HANDSEED", K::Text, S::Drawing, true, std::wstring()},
        {L"HIGHLIGHT", K::Short, S::Session, false, std::int64_t {1}, 0, 1},
        {L"INSBASE", K::Point3d, S::Drawing, false, P {0, 0, 0}},
        {L"INSUNITS", K::Short, S::Drawing, false, std::int64_t {4}, 0, 24},
        {L"LASTPOINT", K::Point3d, S::Document, false, P {0, 0, 0}},
        {L"LIMMAX", K::Point2d, S::Drawing, false, P {420, 297, 0}},
        {L"LIMMIN", K::Point2d, S::Drawing, false, P {0, 0, 0}},
        {L"LTSCALE", K::Real, S::Drawing, false, 1.0, 1e-12, 1e100},
        {L"LUNITS", K::Short, S::Drawing, false, std::int64_t {2}, 1, 5},
        {L"LUPREC", K::Short, S::Drawing, false, std::int64_t {4}, 0, 8},
        {L"LWDEFAULT", K::Short, S::Drawing, false, std::int64_t {25}, 0, 211},
        {L"LWDISPLAY", K::Short, S::Drawing, false, std::int64_t {0}, 0, 1},
        {L"MEASUREMENT", K::Short, S::Drawing, false, std::int64_t {1}, 0, 1},
        {L"ORTHOMODE", K::Short, S::Drawing, false, std::int64_t {0}, 0, 1},
        {L"OSMODE", K::Short, S::Session, false, std::int64_t {4133}, 0, 32767},
        {L"PDMODE", K::Short, S::Drawing, false, std::int64_t {0}},
        {L"PDSIZE", K::Real, S::Drawing, false, 0.0},
        {L"PICKADD", K::Short, S::Session, false, std::int64_t {2}, 0, 2},
        {L"PICKAUTO", K::Short, S::Session, false, std::int64_t {1}, 0, 3},
        {L"PICKBOX", K::Short, S::Session, false, std::int64_t {3}, 0, 50},
        {L"PICKFIRST", K::Short, S::Session, false, std::int64_t {1}, 0, 1},
        {L"PICKSTYLE", K::Short, S::Drawing, false, std::int64_t {1}, 0, 3},
        {L"PLINEWID", K::Real, S::Drawing, false, 0.0, 0, 1e100},
        {L"PRODUCT", K::Text, S::Session, true, std::wstring(L"Headless host")},
        {L"PROGRAM", K::Text, S::Session, true, std::wstring(L"planroad")},
        {L"SCREENSIZE", K::Point2d, S::Document, true, P {1600, 1000, 0}},
        {L"TEXTSIZE", K::Real, S::Drawing, false, 2.5, 1e-12, 1e100},
        {L"TEXTSTYLE", K::TableName, S::Drawing, false, HeaderValue {}},
        {L"TILEMODE", K::Short, S::Drawing, false, std::int64_t {1}, 0, 1},
        {L"UCSNAME", K::Text, S::Drawing, true, std::wstring()},
        {L"UCSORG", K::Point3d, S::Drawing, true, P {0, 0, 0}},
        {L"UCSXDIR", K::Point3d, S::Drawing, true, P {1, 0, 0}},
        {L"UCSYDIR", K::Point3d, S::Drawing, true, P {0, 1, 0}},
        {L"USERI1", K::Short, S::Drawing, false, std::int64_t {0}},
        {L"USERR1", K::Real, S::Drawing, false, 0.0},
        {L"USERS1", K::Text, S::Document, false, std::wstring()},
        {L"VIEWCTR", K::Point3d, S::Document, true, P {210, 148.5, 0}},
        {L"VIEWSIZE", K::Real, S::Document, true, 297.0},
    };
    for (int i = 0; i < static_cast<int>(DimVar::Count); ++i) {
        const DimVarInfo& info = dimVarInfo(static_cast<DimVar>(i));
        SysVarInfo var {info.name, K::Real, S::Drawing, false, fromDimVar(dimVarDefault(info.var))};
        switch (info.kind) {
        case DimVarKind::Real:
            var.kind = K::Real;
            break;
        case DimVarKind::Int:
        case DimVarKind::Bool:
            var.kind = K::Short;
            break;
        case DimVarKind::Char:
            // One character, read and set as text (DIMDSEP "."); the drawing keeps its code.
            var.kind = K::Text;
            var.defaultValue = std::wstring(1, static_cast<wchar_t>(std::get<std::int64_t>(var.defaultValue)));
            break;
        case DimVarKind::String:
        case DimVarKind::Arrow:
            var.kind = K::Text;
            break;
        case DimVarKind::Id:
            var.kind = K::TableName;
            break;
        }
        if (info.var == DimVar::Dimdec || info.var == DimVar::Dimtdec || info.var == DimVar::Dimadec) {
            var.min = 0;
            var.max = 8;
        }
        if (info.var == DimVar::Dimscale) {
            var.min = 0;
            var.max = 1e100;
        }
        if (info.kind == DimVarKind::Bool) {
            var.min = 0;
            var.max = 1;
        }
        c.push_back(var);
    }
    return c;
}

} // namespace

const std::vector<SysVarInfo>& sysVarCatalogue()
{
    static const std::vector<SysVarInfo> catalogue = buildCatalogue();
    return catalogue;
}

const SysVarInfo* findSysVar(const wchar_t* name)
{
    if (name == nullptr)
        return nullptr;
    for (const SysVarInfo& info : sysVarCatalogue())
        if (sameName(info.name, name))
            return &info;
    return nullptr;
}

void fillDrawingDefaults(HeaderVars& vars)
{
    for (const SysVarInfo& info : sysVarCatalogue()) {
        if (info.storage != VarStorage::Drawing || info.kind == VarKind::TableName)
            continue;
        if (std::wstring(info.name) == L"HANDSEED")
            continue;
        vars.set(info.name, info.defaultValue);
    }
}

} // namespace arxhost
