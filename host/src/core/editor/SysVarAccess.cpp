// System variables: where each lives and how it is read and checked.
#include "editor/SysVarAccess.h"

#include "editor/Editor.h"

#include <cmath>

#include "adscodes.h"
#include "arxhost/Session.h"
#include "core/Diagnostics.h"
#include "core/StringCopy.h"
#include "db/DatabaseImpl.h"
#include "db/DimVarAccessors.h"
#include "db/SystemVariables.h"
#include "dbsymtb.h"
#include "session/DocumentState.h"
#include "text/WideFormat.h"

namespace arxhost {

namespace {

// The symbol table a table-name variable refers to.
AcDbObjectId tableFor(AcDbDatabase& db, const std::wstring& name)
{
    if (name == L"CLAYER")
        return db.layerTableId();
    if (name == L"CELTYPE")
        return db.linetypeTableId();
    if (name == L"TEXTSTYLE" || name == L"DIMTXSTY")
        return db.textStyleTableId();
    if (name == L"DIMSTYLE")
        return db.dimStyleTableId();
    return AcDbObjectId();
}

HeaderValue computed(Session& session, const std::wstring& name)
{
    DocumentState& doc = session.document();
    AcDbDatabase& db = doc.database();
    if (name == L"DWGNAME")
        return doc.drawingName();
    if (name == L"DWGPREFIX")
        return doc.drawingFolder();
    if (name == L"DWGTITLED")
        return static_cast<std::int64_t>(doc.fileName().empty() ? 0 : 1);
    if (name == L"CMDNAMES")
        return doc.activeCommand;
    if (name == L"CMDACTIVE")
        return static_cast<std::int64_t>(doc.activeCommand.empty() ? 0 : 1);
    if (name == L"HANDSEED") {
        return handleText(db.handseed());
    }
    if (name == L"EXTMIN" || name == L"EXTMAX") {
        db.updateExt();
        AcGePoint3d p = name == L"EXTMIN" ? db.extmin() : db.extmax();
        return std::array<double, 3> {p.x, p.y, p.z};
    }
    if (name == L"VIEWCTR") {
        AcGePoint3d c = doc.wcsToUcs(doc.view().center());
        return std::array<double, 3> {c.x, c.y, c.z};
    }
    if (name == L"VIEWSIZE")
        return doc.view().height();
    if (name == L"SCREENSIZE")
        return std::array<double, 3> {
            static_cast<double>(ViewState::kScreenWidth), static_cast<double>(ViewState::kScreenHeight), 0};
    return HeaderValue {};
}

} // namespace

HeaderValue readVariable(Session& session, const std::wstring& rawName)
{
    const std::wstring name = upperName(rawName.c_str());
    const SysVarInfo* info = findSysVar(name.c_str());
    if (info == nullptr)
        return HeaderValue {};
    HeaderValue value = computed(session, name);
    if (!std::holds_alternative<std::monostate>(value))
        return value;
    switch (info->storage) {
    case VarStorage::Drawing: {
        const HeaderValue* stored = session.document().database().impl().header().find(name);
        if (info->kind == VarKind::TableName) {
            AcDbDatabase& db = session.document().database();
            AcDbObjectId id;
            if (name == L"CLAYER")
                id = db.clayer();
            else if (name == L"CELTYPE")
                id = db.celtype();
            else if (name == L"TEXTSTYLE")
                id = db.textstyle();
            else if (name == L"DIMSTYLE")
                id = db.dimstyle();
            else if (stored != nullptr && std::holds_alternative<AcDbObjectId>(*stored))
                id = std::get<AcDbObjectId>(*stored);
            const auto* record = AcDbSymbolTableRecord::cast(DatabaseImpl::peek(id));
            return std::wstring(record == nullptr ? L"" : record->hostName());
        }
        // A one-character text variable (DIMDSEP) is kept as its character code.
        if (const auto* code = stored == nullptr ? nullptr : std::get_if<std::int64_t>(stored);
            code != nullptr && info->kind == VarKind::Text)
            return std::wstring(1, static_cast<wchar_t>(*code));
        return stored == nullptr ? info->defaultValue : *stored;
    }
    case VarStorage::Document: {
        auto& vars = session.document().variables();
        auto it = vars.find(name);
        return it == vars.end() ? info->defaultValue : it->second;
    }
    case VarStorage::Session: {
        auto it = session.editor().sessionVariables().find(name);
        return it == session.editor().sessionVariables().end() ? info->defaultValue : it->second;
    }
    }
    return HeaderValue {};
}

bool writeVariable(
    Session& session, const std::wstring& rawName, const HeaderValue& value, std::wstring* error)
{
    const std::wstring name = upperName(rawName.c_str());
    const SysVarInfo* info = findSysVar(name.c_str());
    auto fail = [&](const std::wstring& why) {
        if (error != nullptr)
            *error = why;
        return false;
    };
    if (info == nullptr)
        return fail(L"Unknown variable name.");
    if (info->readOnly)
        return fail(name + L" is read only.");
    HeaderValue stored = value;
    switch (info->kind) {
    case VarKind::Short:
    case VarKind::Long: {
        const auto* i = std::get_if<std::int64_t>(&value);
        if (i == nullptr)
            return fail(L"Requires an integer value.");
        if (info->kind == VarKind::Short && (*i < -32768 || *i > 32767))
            return fail(L"Requires an integer between -32768 and 32767.");
        if (info->min <= info->max && (*i < info->min || *i > info->max))
            return fail(formatWide(L"Value must be between %g and %g.", info->min, info->max));
        break;
    }
    case VarKind::Real: {
        double d = 0;
        if (const auto* r = std::get_if<double>(&value))
            d = *r;
        else if (const auto* i = std::get_if<std::int64_t>(&value))
            d = static_cast<double>(*i);
        else
            return fail(L"Requires numeric value.");
        if (!std::isfinite(d))
            return fail(L"Requires numeric value.");
        if (info->min <= info->max && (d < info->min || d > info->max))
            return fail(formatWide(L"Value must be between %g and %g.", info->min, info->max));
        stored = d;
        break;
    }
    case VarKind::Text:
        if (!std::holds_alternative<std::wstring>(value))
            return fail(L"Requires a text value.");
        break;
    case VarKind::Point2d:
    case VarKind::Point3d:
        if (!std::holds_alternative<std::array<double, 3>>(value))
            return fail(L"Requires a point.");
        break;
    case VarKind::TableName: {
        const auto* text = std::get_if<std::wstring>(&value);
        if (text == nullptr)
            return fail(L"Requires a name.");
        AcDbDatabase& db = session.document().database();
        const auto* table = AcDbSymbolTable::cast(DatabaseImpl::peek(tableFor(db, name)));
        AcDbObjectId id;
        if (table == nullptr || table->getAt(text->c_str(), id) != Acad::eOk)
            return fail(L"Cannot find \"" + *text + L"\".");
        if (name == L"CLAYER")
            return db.setClayer(id) == Acad::eOk ? true
                                                 : fail(L"Cannot set the current layer to a frozen layer.");
        if (name == L"CELTYPE")
            return db.setCeltype(id) == Acad::eOk;
        if (name == L"TEXTSTYLE")
            return db.setTextstyle(id) == Acad::eOk;
        stored = id;
        break;
    }
    }
    if (const DimVarInfo* dim = findDimVar(name.c_str())) {
        // Dimension variables go through the database, which checks their own ranges.
        DimVarValue dimValue = fromHeaderValue(dim->var, stored);
        if (session.document().database().hostDimVarSet(dim->var, dimValue) != Acad::eOk)
            return fail(L"Invalid value for " + name + L".");
        return true;
    }
    switch (info->storage) {
    case VarStorage::Drawing:
        session.document().database().impl().setHeaderValue(name, stored);
        break;
    case VarStorage::Document:
        session.document().variables()[name] = stored;
        break;
    case VarStorage::Session:
        session.editor().sessionVariables()[name] = stored;
        break;
    }
    return true;
}

int variableToResbuf(Session& session, const std::wstring& rawName, resbuf* out)
{
    if (out == nullptr)
        return RTERROR;
    const std::wstring name = upperName(rawName.c_str());
    const SysVarInfo* info = findSysVar(name.c_str());
    if (info == nullptr)
        return RTERROR;
    HeaderValue value = readVariable(session, name);
    out->rbnext = nullptr;
    switch (info->kind) {
    case VarKind::Short: {
        const auto* i = std::get_if<std::int64_t>(&value);
        out->restype = RTSHORT;
        out->resval.rint = static_cast<short>(i == nullptr ? 0 : *i);
        return RTNORM;
    }
    case VarKind::Long: {
        const auto* i = std::get_if<std::int64_t>(&value);
        out->restype = RTLONG;
        out->resval.rlong = static_cast<Adesk::Int32>(i == nullptr ? 0 : *i);
        return RTNORM;
    }
    case VarKind::Real: {
        const auto* d = std::get_if<double>(&value);
        out->restype = RTREAL;
        out->resval.rreal = d == nullptr ? 0.0 : *d;
        return RTNORM;
    }
    case VarKind::Text:
    case VarKind::TableName: {
        const auto* s = std::get_if<std::wstring>(&value);
        out->restype = RTSTR;
        out->resval.rstring = copyForCaller(s == nullptr ? L"" : *s);
        return RTNORM;
    }
    case VarKind::Point2d:
    case VarKind::Point3d: {
        const auto* p = std::get_if<std::array<double, 3>>(&value);
        out->restype = info->kind == VarKind::Point2d ? RTPOINT : RT3DPOINT;
        for (int k = 0; k < 3; ++k)
            out->resval.rpoint[k] = p == nullptr ? 0.0 : (*p)[static_cast<std::size_t>(k)];
        return RTNORM;
    }
    }
    return RTERROR;
}

int variableFromResbuf(Session& session, const std::wstring& name, const resbuf* rb, std::wstring* error)
{
    if (rb == nullptr)
        return RTERROR;
    HeaderValue value;
    switch (rb->restype) {
    case RTSHORT:
        value = static_cast<std::int64_t>(rb->resval.rint);
        break;
    case RTLONG:
        value = static_cast<std::int64_t>(rb->resval.rlong);
        break;
    case RTREAL:
    case RTANG:
        value = rb->resval.rreal;
        break;
    case RTSTR:
        value = std::wstring(rb->resval.rstring == nullptr ? L"" : rb->resval.rstring);
        break;
    case RTPOINT:
    case RT3DPOINT:
        value = std::array<double, 3> {
            rb->resval.rpoint[0], rb->resval.rpoint[1], rb->restype == RTPOINT ? 0.0 : rb->resval.rpoint[2]};
        break;
    default:
        return RTERROR;
    }
    // A real given for an integer variable is refused; an integer for a real one is taken.
    return writeVariable(session, name, value, error) ? RTNORM : RTERROR;
}

std::wstring describeVariable(Session& session, const std::wstring& rawName)
{
    const std::wstring name = upperName(rawName.c_str());
    const SysVarInfo* info = findSysVar(name.c_str());
    if (info == nullptr)
        return L"";
    HeaderValue value = readVariable(session, name);
    if (const auto* i = std::get_if<std::int64_t>(&value))
        return std::to_wstring(*i);
    if (const auto* d = std::get_if<double>(&value))
        return formatWide(L"%.4f", *d);
    if (const auto* s = std::get_if<std::wstring>(&value))
        return L"\"" + *s + L"\"";
    if (const auto* p = std::get_if<std::array<double, 3>>(&value)) {
        if (info->kind == VarKind::Point2d)
            return formatWide(L"%.4f,%.4f", (*p)[0], (*p)[1]);
        return formatWide(L"%.4f,%.4f,%.4f", (*p)[0], (*p)[1], (*p)[2]);
    }
    return L"";
}

} // namespace arxhost
