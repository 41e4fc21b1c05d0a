// Definitions of the dimension-variable accessors for a class that provides dimVarGet/dimVarSet.
#pragma once

#include "core/StringCopy.h"
#include "db/HeaderVars.h"
#include "detail/DimVarList.h"

class AcDbDatabase;

namespace arxhost {

// Arrow blocks are kept by name; these turn a name into the block's id in a drawing and back.
AcDbObjectId arrowBlockId(const AcDbDatabase* db, const std::wstring& name);
std::wstring arrowBlockName(AcDbObjectId blockId);
// Checks a value against the variable's allowed range.
bool dimVarValueAllowed(DimVar var, const DimVarValue& value);
HeaderValue toHeaderValue(const DimVarValue& value);
DimVarValue fromHeaderValue(DimVar var, const HeaderValue& value);

} // namespace arxhost

#define ARXHOST_DIMVAR_DEF_Real(Cls, Cap, low)                                                               \
    double Cls::low() const                                                                                  \
    {                                                                                                        \
        return std::get<double>(hostDimVarGet(arxhost::DimVar::Cap));                                        \
    }                                                                                                        \
    Acad::ErrorStatus Cls::set##Cap(double val)                                                              \
    {                                                                                                        \
        return hostDimVarSet(arxhost::DimVar::Cap, val);                                                     \
    }
#define ARXHOST_DIMVAR_DEF_Int(Cls, Cap, low)                                                                \
    int Cls::low() const                                                                                     \
    {                                                                                                        \
        return std::get<int>(hostDimVarGet(arxhost::DimVar::Cap));                                           \
    }                                                                                                        \
    Acad::ErrorStatus Cls::set##Cap(int val)                                                                 \
    {                                                                                                        \
        return hostDimVarSet(arxhost::DimVar::Cap, val);                                                     \
    }
#define ARXHOST_DIMVAR_DEF_Bool(Cls, Cap, low)                                                               \
    bool Cls::low() const                                                                                    \
    {                                                                                                        \
        return std::get<bool>(hostDimVarGet(arxhost::DimVar::Cap));                                          \
    }                                                                                                        \
    Acad::ErrorStatus Cls::set##Cap(bool val)                                                                \
    {                                                                                                        \
        return hostDimVarSet(arxhost::DimVar::Cap, val);                                                     \
    }
#define ARXHOST_DIMVAR_DEF_Char(Cls, Cap, low)                                                               \
    ACHAR Cls::low() const                                                                                   \
    {                                                                                                        \
        return std::get<wchar_t>(hostDimVarGet(arxhost::DimVar::Cap));                                       \
    }                                                                                                        \
    Acad::ErrorStatus Cls::set##Cap(ACHAR val)                                                               \
    {                                                                                                        \
        return hostDimVarSet(arxhost::DimVar::Cap, val);                                                     \
    }
#define ARXHOST_DIMVAR_DEF_String(Cls, Cap, low)                                                             \
    ACHAR* Cls::low() const                                                                                  \
    {                                                                                                        \
        return arxhost::copyForCaller(std::get<std::wstring>(hostDimVarGet(arxhost::DimVar::Cap)));          \
    }                                                                                                        \
    Acad::ErrorStatus Cls::set##Cap(const ACHAR* val)                                                        \
    {                                                                                                        \
        return hostDimVarSet(arxhost::DimVar::Cap, std::wstring(val == nullptr ? L"" : val));                \
    }
#define ARXHOST_DIMVAR_DEF_Id(Cls, Cap, low)                                                                 \
    AcDbObjectId Cls::low() const                                                                            \
    {                                                                                                        \
        return std::get<AcDbObjectId>(hostDimVarGet(arxhost::DimVar::Cap));                                  \
    }                                                                                                        \
    Acad::ErrorStatus Cls::set##Cap(AcDbObjectId val)                                                        \
    {                                                                                                        \
        return hostDimVarSet(arxhost::DimVar::Cap, val);                                                     \
    }
#define ARXHOST_DIMVAR_DEF_Arrow(Cls, Cap, low)                                                              \
    AcDbObjectId Cls::low() const                                                                            \
    {                                                                                                        \
        return arxhost::arrowBlockId(                                                                        \
            hostDimVarDatabase(), std::get<std::wstring>(hostDimVarGet(arxhost::DimVar::Cap)));              \
    }                                                                                                        \
    Acad::ErrorStatus Cls::set##Cap(AcDbObjectId val)                                                        \
    {                                                                                                        \
        return hostDimVarSet(arxhost::DimVar::Cap, arxhost::arrowBlockName(val));                            \
    }                                                                                                        \
    Acad::ErrorStatus Cls::set##Cap(const ACHAR* val)                                                        \
    {                                                                                                        \
        return hostDimVarSet(arxhost::DimVar::Cap, std::wstring(val == nullptr ? L"" : val));                \
    }

// Usage in a .cpp: #define X(Cap, low, Kind, code, def) ARXHOST_DIMVAR_DEF_##Kind(Class, Cap, low)
// followed by ARXHOST_DIMVARS(X).
