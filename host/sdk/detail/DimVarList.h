// The dimension variables the host keeps, one line each: name, kind, DXF group code, ISO default.
#pragma once

#include <string>
#include <variant>

#include "../acadstrc.h"
#include "../dbid.h"

class AcDbDatabase;

// X(CapitalName, lowerName, Kind, dxfCode, isoDefault). Kinds: Real, Int, Bool, Char, String
// (texts such as DIMPOST), Id (style references such as DIMTXSTY) and Arrow (arrow block names).
#define ARXHOST_DIMVARS(X)                                                                                   \
    X(Dimpost, dimpost, String, 3, L"")                                                                      \
    X(Dimapost, dimapost, String, 4, L"")                                                                    \
    X(Dimscale, dimscale, Real, 40, 1.0)                                                                     \
    X(Dimasz, dimasz, Real, 41, 2.5)                                                                         \
    X(Dimexo, dimexo, Real, 42, 0.625)                                                                       \
    X(Dimdli, dimdli, Real, 43, 3.75)                                                                        \
    X(Dimexe, dimexe, Real, 44, 1.25)                                                                        \
    X(Dimrnd, dimrnd, Real, 45, 0.0)                                                                         \
    X(Dimdle, dimdle, Real, 46, 0.0)                                                                         \
    X(Dimtp, dimtp, Real, 47, 0.0)                                                                           \
    X(Dimtm, dimtm, Real, 48, 0.0)                                                                           \
    X(Dimtxt, dimtxt, Real, 140, 2.5)                                                                        \
    X(Dimcen, dimcen, Real, 141, 2.5)                                                                        \
    X(Dimtsz, dimtsz, Real, 142, 0.0)                                                                        \
    X(Dimaltf, dimaltf, Real, 143, 0.03937007874)                                                            \
    X(Dimlfac, dimlfac, Real, 144, 1.0)                                                                      \
    X(Dimtvp, dimtvp, Real, 145, 0.0)                                                                        \
    X(Dimtfac, dimtfac, Real, 146, 1.0)                                                                      \
    X(Dimgap, dimgap, Real, 147, 0.625)                                                                      \
    X(Dimaltrnd, dimaltrnd, Real, 148, 0.0)                                                                  \
    X(Dimtol, dimtol, Bool, 71, false)                                                                       \
    X(Dimlim, dimlim, Bool, 72, false)                                                                       \
    X(Dimtih, dimtih, Bool, 73, false)                                                                       \
    X(Dimtoh, dimtoh, Bool, 74, false)                                                                       \
    X(Dimse1, dimse1, Bool, 75, false)                                                                       \
    X(Dimse2, dimse2, Bool, 76, false)                                                                       \
    X(Dimtad, dimtad, Int, 77, 1)                                                                            \
    X(Dimzin, dimzin, Int, 78, 8)                                                                            \
    X(Dimazin, dimazin, Int, 79, 0)                                                                          \
    X(Dimalt, dimalt, Bool, 170, false)                                                                      \
    X(Dimaltd, dimaltd, Int, 171, 3)                                                                         \
    X(Dimtofl, dimtofl, Bool, 172, true)                                                                     \
    X(Dimsah, dimsah, Bool, 173, false)                                                                      \
    X(Dimtix, dimtix, Bool, 174, false)                                                                      \
    X(Dimsoxd, dimsoxd, Bool, 175, false)                                                                    \
    X(Dimclrd, dimclrd, Int, 176, 0)                                                                         \
    X(Dimclre, dimclre, Int, 177, 0)                                                                         \
    X(Dimclrt, dimclrt, Int, 178, 0)                                                                         \
    X(Dimadec, dimadec, Int, 179, 0)                                                                         \
    X(Dimdec, dimdec, Int, 271, 2)                                                                           \
    X(Dimtdec, dimtdec, Int, 272, 2)                                                                         \
    X(Dimaltu, dimaltu, Int, 273, 2)                                                                         \
    X(Dimalttd, dimalttd, Int, 274, 3)                                                                       \
    X(Dimaunit, dimaunit, Int, 275, 0)                                                                       \
    X(Dimfrac, dimfrac, Int, 276, 0)                                                                         \
    X(Dimlunit, dimlunit, Int, 277, 2)                                                                       \
    X(Dimdsep, dimdsep, Char, 278, L',')                                                                     \
    X(Dimtmove, dimtmove, Int, 279, 0)                                                                       \
    X(Dimjust, dimjust, Int, 280, 0)                                                                         \
    X(Dimsd1, dimsd1, Bool, 281, false)                                                                      \
    X(Dimsd2, dimsd2, Bool, 282, false)                                                                      \
    X(Dimtolj, dimtolj, Int, 283, 0)                                                                         \
    X(Dimtzin, dimtzin, Int, 284, 8)                                                                         \
    X(Dimaltz, dimaltz, Int, 285, 0)                                                                         \
    X(Dimalttz, dimalttz, Int, 286, 0)                                                                       \
    X(Dimupt, dimupt, Bool, 288, false)                                                                      \
    X(Dimatfit, dimatfit, Int, 289, 3)                                                                       \
    X(Dimtxsty, dimtxsty, Id, 340, 0)                                                                        \
    X(Dimldrblk, dimldrblk, Arrow, 341, L"")                                                                 \
    X(Dimblk, dimblk, Arrow, 342, L"")                                                                       \
    X(Dimblk1, dimblk1, Arrow, 343, L"")                                                                     \
    X(Dimblk2, dimblk2, Arrow, 344, L"")                                                                     \
    X(Dimlwd, dimlwd, Int, 371, -2)                                                                          \
    X(Dimlwe, dimlwe, Int, 372, -2)

namespace arxhost {

enum class DimVar {
#define ARXHOST_DIMVAR_ENUM(Cap, low, Kind, code, def) Cap,
    ARXHOST_DIMVARS(ARXHOST_DIMVAR_ENUM)
#undef ARXHOST_DIMVAR_ENUM
        Count
};

enum class DimVarKind { Real, Int, Bool, Char, String, Id, Arrow };

using DimVarValue = std::variant<double, int, bool, wchar_t, std::wstring, AcDbObjectId>;

struct DimVarInfo {
    DimVar var;
    const wchar_t* name; // upper case, as a system variable: "DIMLFAC"
    DimVarKind kind;
    short dxfCode;
};

// Catalogue lookups; `find` takes a name without regard to case.
const DimVarInfo& dimVarInfo(DimVar var);
const DimVarInfo* findDimVar(const wchar_t* name);
DimVarValue dimVarDefault(DimVar var);

} // namespace arxhost

// Member declarations of the dimension-variable accessors, shared by the database, the dimension
// style record and the dimension entity (whose values override its style's).
#define ARXHOST_DIMVAR_DECL_Real(Cap, low)                                                                   \
    double low() const;                                                                                      \
    Acad::ErrorStatus set##Cap(double val);
#define ARXHOST_DIMVAR_DECL_Int(Cap, low)                                                                    \
    int low() const;                                                                                         \
    Acad::ErrorStatus set##Cap(int val);
#define ARXHOST_DIMVAR_DECL_Bool(Cap, low)                                                                   \
    bool low() const;                                                                                        \
    Acad::ErrorStatus set##Cap(bool val);
#define ARXHOST_DIMVAR_DECL_Char(Cap, low)                                                                   \
    ACHAR low() const;                                                                                       \
    Acad::ErrorStatus set##Cap(ACHAR val);
#define ARXHOST_DIMVAR_DECL_String(Cap, low)                                                                 \
    ACHAR* low() const;                                                                                      \
    Acad::ErrorStatus set##Cap(const ACHAR* val);
#define ARXHOST_DIMVAR_DECL_Id(Cap, low)                                                                     \
    AcDbObjectId low() const;                                                                                \
    Acad::ErrorStatus set##Cap(AcDbObjectId val);
#define ARXHOST_DIMVAR_DECL_Arrow(Cap, low)                                                                  \
    AcDbObjectId low() const;                                                                                \
    Acad::ErrorStatus set##Cap(AcDbObjectId val);                                                            \
    Acad::ErrorStatus set##Cap(const ACHAR* val);
#define ARXHOST_DIMVAR_DECL(Cap, low, Kind, code, def) ARXHOST_DIMVAR_DECL_##Kind(Cap, low)
#define ARXHOST_DECLARE_DIMVAR_ACCESSORS                                                                     \
    ARXHOST_DIMVARS(ARXHOST_DIMVAR_DECL)                                                                     \
    /* Host side: the value in effect, a change (checked against the allowed range), and                     \
       the drawing arrow block names are looked up in. */                                                    \
    arxhost::DimVarValue hostDimVarGet(arxhost::DimVar var) const;                                           \
    Acad::ErrorStatus hostDimVarSet(arxhost::DimVar var, arxhost::DimVarValue value);                        \
    const AcDbDatabase* hostDimVarDatabase() const;
