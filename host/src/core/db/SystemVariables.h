// The catalogue of system variables: type, where the value lives, default and allowed values.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "db/HeaderVars.h"

namespace arxhost {

enum class VarStorage {
    Drawing, // saved in the drawing's header (CLAYER, DIMLFAC, PICKSTYLE, ...)
    Document, // belongs to the open drawing but is not saved (DWGNAME, LASTPOINT, ERRNO)
    Session, // the user's settings (OSMODE, PICKBOX, CMDECHO)
};

enum class VarKind {
    Short, // RTSHORT
    Long, // RTLONG
    Real, // RTREAL
    Text, // RTSTR
    Point3d, // RT3DPOINT
    Point2d, // RTPOINT
    TableName, // RTSTR naming a symbol table record, stored as its id (CLAYER, TEXTSTYLE, ...)
};

struct SysVarInfo {
    const wchar_t* name;
    VarKind kind;
    VarStorage storage;
    bool readOnly;
    HeaderValue defaultValue;
    // Inclusive range for numeric variables; ignored when min > max.
    double min = 1.0;
    double max = 0.0;
};

const SysVarInfo* findSysVar(const wchar_t* name);
const std::vector<SysVarInfo>& sysVarCatalogue();
// The header values a new drawing starts with (table references excepted: the database sets those).
void fillDrawingDefaults(HeaderVars& vars);

} // namespace arxhost
