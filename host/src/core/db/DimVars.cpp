// The dimension variable catalogue: names, kinds, group codes and ISO defaults.
#include <array>

#include "db/DatabaseImpl.h"
#include "detail/DimVarList.h"

namespace arxhost {

namespace {

const std::array<DimVarInfo, static_cast<std::size_t>(DimVar::Count)>& table()
{
    static const std::array<DimVarInfo, static_cast<std::size_t>(DimVar::Count)> infos = {
#define ARXHOST_DIMVAR_INFO(Cap, low, Kind, code, def)                                                       \
    DimVarInfo {DimVar::Cap, nullptr, DimVarKind::Kind, code},
        ARXHOST_DIMVARS(ARXHOST_DIMVAR_INFO)
#undef ARXHOST_DIMVAR_INFO
    };
    return infos;
}

const std::array<std::wstring, static_cast<std::size_t>(DimVar::Count)>& names()
{
    static const std::array<std::wstring, static_cast<std::size_t>(DimVar::Count)> all = {
#define ARXHOST_DIMVAR_NAME(Cap, low, Kind, code, def) upperName(L## #low),
        ARXHOST_DIMVARS(ARXHOST_DIMVAR_NAME)
#undef ARXHOST_DIMVAR_NAME
    };
    return all;
}

template <class T> DimVarValue makeDefault(DimVarKind kind, T value)
{
    switch (kind) {
    case DimVarKind::Real:
        if constexpr (std::is_arithmetic_v<T>)
            return static_cast<double>(value);
        break;
    case DimVarKind::Int:
        if constexpr (std::is_arithmetic_v<T>)
            return static_cast<int>(value);
        break;
    case DimVarKind::Bool:
        if constexpr (std::is_arithmetic_v<T>)
            return static_cast<bool>(value);
        break;
    case DimVarKind::Char:
        if constexpr (std::is_arithmetic_v<T>)
            return static_cast<wchar_t>(value);
        break;
    case DimVarKind::String:
    case DimVarKind::Arrow:
        if constexpr (std::is_same_v<T, const wchar_t*>)
            return std::wstring(value);
        break;
    case DimVarKind::Id:
        return AcDbObjectId();
    }
    return AcDbObjectId();
}

} // namespace

const DimVarInfo& dimVarInfo(DimVar var)
{
    static std::array<DimVarInfo, static_cast<std::size_t>(DimVar::Count)> named = [] {
        auto infos = table();
        for (std::size_t i = 0; i < infos.size(); ++i)
            infos[i].name = names()[i].c_str();
        return infos;
    }();
    return named[static_cast<std::size_t>(var)];
}

const DimVarInfo* findDimVar(const wchar_t* name)
{
    for (int i = 0; i < static_cast<int>(DimVar::Count); ++i) {
        const DimVarInfo& info = dimVarInfo(static_cast<DimVar>(i));
        if (sameName(info.name, name))
            return &info;
    }
    return nullptr;
}

DimVarValue dimVarDefault(DimVar var)
{
    switch (var) {
#define ARXHOST_DIMVAR_DEFAULT(Cap, low, Kind, code, def)                                                    \
    case DimVar::Cap:                                                                                        \
        return makeDefault(DimVarKind::Kind, def);
        ARXHOST_DIMVARS(ARXHOST_DIMVAR_DEFAULT)
#undef ARXHOST_DIMVAR_DEFAULT
    case DimVar::Count:
        break;
    }
    return 0.0;
}

} // namespace arxhost

#include "db/DimVarAccessors.h"
#include "dbsymtb.h"

namespace arxhost {

AcDbObjectId arrowBlockId(const AcDbDatabase* db, const std::wstring& name)
{
    if (db == nullptr || name.empty())
        return AcDbObjectId();
    const auto* table = AcDbBlockTable::cast(DatabaseImpl::peek(db->blockTableId()));
    if (table == nullptr)
        return AcDbObjectId();
    AcDbObjectId id;
    table->getAt(name.c_str(), id);
    return id;
}

std::wstring arrowBlockName(AcDbObjectId blockId)
{
    const auto* block = AcDbSymbolTableRecord::cast(DatabaseImpl::peek(blockId));
    return block == nullptr ? std::wstring() : std::wstring(block->hostName());
}

bool dimVarValueAllowed(DimVar var, const DimVarValue& value)
{
    switch (var) {
    case DimVar::Dimdec:
    case DimVar::Dimtdec:
    case DimVar::Dimadec:
    case DimVar::Dimaltd:
    case DimVar::Dimalttd: {
        int v = std::get<int>(value);
        return v >= 0 && v <= 8;
    }
    case DimVar::Dimscale:
        return std::get<double>(value) >= 0;
    case DimVar::Dimtxt:
    case DimVar::Dimasz:
    case DimVar::Dimgap:
        return std::get<double>(value) >= 0 || var == DimVar::Dimgap;
    case DimVar::Dimlfac:
        return std::get<double>(value) != 0;
    case DimVar::Dimdsep: {
        wchar_t c = std::get<wchar_t>(value);
        return c != 0 && c != L' ';
    }
    default:
        return true;
    }
}

HeaderValue toHeaderValue(const DimVarValue& value)
{
    return std::visit(
        [](const auto& v) -> HeaderValue {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V,
                              double> || std::is_same_v<V, std::wstring> || std::is_same_v<V, AcDbObjectId>)
                return v;
            else
                return static_cast<std::int64_t>(v);
        },
        value);
}

DimVarValue fromHeaderValue(DimVar var, const HeaderValue& value)
{
    const DimVarKind kind = dimVarInfo(var).kind;
    if (std::holds_alternative<std::monostate>(value))
        return dimVarDefault(var);
    switch (kind) {
    case DimVarKind::Real:
        if (const auto* d = std::get_if<double>(&value))
            return *d;
        if (const auto* i = std::get_if<std::int64_t>(&value))
            return static_cast<double>(*i);
        break;
    case DimVarKind::Int:
        if (const auto* i = std::get_if<std::int64_t>(&value))
            return static_cast<int>(*i);
        break;
    case DimVarKind::Bool:
        if (const auto* i = std::get_if<std::int64_t>(&value))
            return *i != 0;
        break;
    case DimVarKind::Char:
        if (const auto* i = std::get_if<std::int64_t>(&value))
            return static_cast<wchar_t>(*i);
        if (const auto* s = std::get_if<std::wstring>(&value); s != nullptr && !s->empty())
            return (*s)[0];
        break;
    case DimVarKind::String:
    case DimVarKind::Arrow:
        if (const auto* s = std::get_if<std::wstring>(&value))
            return *s;
        break;
    case DimVarKind::Id:
        if (const auto* id = std::get_if<AcDbObjectId>(&value))
            return *id;
        break;
    }
    return dimVarDefault(var);
}

} // namespace arxhost
