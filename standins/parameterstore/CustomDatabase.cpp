// Custom parameter store: the records of one drawing and the store of the current drawing.
#include "CustomParameterStore.h"

#include <map>
#include <memory>
#include <optional>

#include "acutads.h"
#include "dbapserv.h"
#include "parameterstore/StoreEntries.h"

using planroad::standins::ParamKind;
using planroad::standins::readStoreEntry;
using planroad::standins::ResbufChain;
using planroad::standins::writeStoreEntry;

namespace {

CString textOf(const resbuf* rb)
{
    return rb->resval.rstring == nullptr ? CString() : CString(rb->resval.rstring);
}

// A "LAYER" entry as stored: the base record's groups, then the extension's groups when present.
struct LayerEntry {
    std::optional<CString> name;
    std::optional<int> color;
    std::optional<CString> lineType;
    std::optional<CString> textStyle;
    std::optional<double> textHeight;
};

LayerEntry decodeLayer(const resbuf* values)
{
    LayerEntry entry;
    for (const resbuf* rb = values; rb != nullptr; rb = rb->rbnext) {
        switch (rb->restype) {
        case 8:
            entry.name = textOf(rb);
            break;
        case 62:
            entry.color = rb->resval.rint;
            break;
        case 6:
            entry.lineType = textOf(rb);
            break;
        case 7:
            entry.textStyle = textOf(rb);
            break;
        case 40:
            entry.textHeight = rb->resval.rreal;
            break;
        default:
            break;
        }
    }
    return entry;
}

void applyBase(const LayerEntry& entry, LAYERPARAM& param)
{
    if (entry.name)
        param.strName = *entry.name;
    if (entry.color)
        param.nColor = *entry.color;
    if (entry.lineType)
        param.strLineType = *entry.lineType;
}

bool writeLayer(AcDbDatabase* db, const CString& key, const LayerEntry& entry)
{
    ResbufChain values(acutBuildList(8, entry.name.value_or(L"0").GetString(), 62, entry.color.value_or(7), 6,
        entry.lineType.value_or(L"CONTINUOUS").GetString(), 0));
    if (values == nullptr)
        return false;
    if (entry.textStyle || entry.textHeight) {
        values->rbnext->rbnext->rbnext = acutBuildList(
            7, entry.textStyle.value_or(L"Standard").GetString(), 40, entry.textHeight.value_or(0.0), 0);
    }
    return writeStoreEntry(db, ParamKind::Layer, key, *values);
}

LayerEntry storedLayer(AcDbDatabase* db, const CString& key)
{
    bool found = false;
    ResbufChain values = readStoreEntry(db, ParamKind::Layer, key, found);
    return found ? decodeLayer(values.get()) : LayerEntry {};
}

} // namespace

namespace TarnDB {

CCustomDatabase::CCustomDatabase(AcDbDatabase* db)
    : mDb(db)
{
}

int CCustomDatabase::GetOtherCustomParam(const CString& key, OTHERPARAM* param)
{
    bool found = false;
    ResbufChain values = readStoreEntry(mDb, ParamKind::Other, key, found);
    if (!found)
        return 0;
    if (param == nullptr)
        return 1;
    int integers = 0;
    for (const resbuf* rb = values.get(); rb != nullptr; rb = rb->rbnext) {
        if (rb->restype == 1) {
            param->strValue = textOf(rb);
        } else if (rb->restype == 90) {
            if (integers == 0)
                param->nCode1 = rb->resval.rlong;
            else if (integers == 1)
                param->nCode2 = rb->resval.rlong;
            ++integers;
        }
    }
    return 1;
}

int CCustomDatabase::SetOtherCustomParam(const CString& key, OTHERPARAM* param)
{
    if (param == nullptr)
        return 0;
    ResbufChain values(
        acutBuildList(1, param->strValue.GetString(), 90, param->nCode1, 90, param->nCode2, 0));
    return values != nullptr && writeStoreEntry(mDb, ParamKind::Other, key, *values) ? 1 : 0;
}

int CCustomDatabase::GetTextCustomParam(const CString& key, TEXTPARAM* param)
{
    bool found = false;
    ResbufChain values = readStoreEntry(mDb, ParamKind::Text, key, found);
    if (!found)
        return 0;
    if (param == nullptr)
        return 1;
    for (const resbuf* rb = values.get(); rb != nullptr; rb = rb->rbnext) {
        switch (rb->restype) {
        case 40:
            param->dHeight = rb->resval.rreal;
            break;
        case 7:
            param->strTextStyle = textOf(rb);
            break;
        case 62:
            param->nColor = rb->resval.rint;
            break;
        case 8:
            param->strLayer = textOf(rb);
            break;
        case 6:
            param->strLineType = textOf(rb);
            break;
        default:
            break;
        }
    }
    return 1;
}

int CCustomDatabase::SetTextCustomParam(const CString& key, TEXTPARAM* param)
{
    if (param == nullptr)
        return 0;
    ResbufChain values(acutBuildList(40, param->dHeight, 7, param->strTextStyle.GetString(), 62,
        param->nColor, 8, param->strLayer.GetString(), 6, param->strLineType.GetString(), 0));
    return values != nullptr && writeStoreEntry(mDb, ParamKind::Text, key, *values) ? 1 : 0;
}

int CCustomDatabase::GetLayerCustomParam(const CString& key, LAYERPARAM* param)
{
    bool found = false;
    ResbufChain values = readStoreEntry(mDb, ParamKind::Layer, key, found);
    if (!found)
        return 0;
    if (param != nullptr)
        applyBase(decodeLayer(values.get()), *param);
    return 1;
}

int CCustomDatabase::SetLayerCustomParam(const CString& key, LAYERPARAM* param)
{
    if (param == nullptr)
        return 0;
    // The extension's fields of an extended entry stay as they were.
    LayerEntry entry = storedLayer(mDb, key);
    entry.name = param->strName;
    entry.color = param->nColor;
    entry.lineType = param->strLineType;
    return writeLayer(mDb, key, entry) ? 1 : 0;
}

int CCustomDatabase::GetLayerCustomParam(const CString& key, LAYERPARAM2013EX* param)
{
    if (param == nullptr)
        return GetLayerCustomParam(key, static_cast<LAYERPARAM*>(nullptr));
    return qvGetLayerParam(key, *param, 0, 1, 1, this);
}

int CCustomDatabase::SetLayerCustomParam(const CString& key, LAYERPARAM2013EX* param)
{
    return param == nullptr ? 0 : qvSetLayerParam(key, *param, 0, 1, 1, this);
}

CCustomDatabase* qvGetCustomDatabase(AcDbDatabase* db)
{
    if (db == nullptr)
        return nullptr;
    // A store holds nothing but its drawing, so an entry left behind by a closed drawing is harmless:
    // a drawing opened later at the same address gets a store that reads that drawing.
    static std::map<AcDbDatabase*, std::unique_ptr<CCustomDatabase>> stores;
    std::unique_ptr<CCustomDatabase>& store = stores[db];
    if (store == nullptr)
        store = std::make_unique<CCustomDatabase>(db);
    return store.get();
}

CCustomDatabase* qvGetCustomDatabase()
{
    AcDbHostApplicationServices* services = acdbHostApplicationServices();
    return qvGetCustomDatabase(services == nullptr ? nullptr : services->workingDatabase());
}

CCustomDatabase* qvGetQvCustomDatabase()
{
    return qvGetCustomDatabase();
}

namespace {

CCustomDatabase* storeOrCurrent(CCustomDatabase* db)
{
    return db != nullptr ? db : qvGetCustomDatabase();
}

// A missing key that the store has a default for is written with the default.
bool createFromDefault(CCustomDatabase& store, const CString& key)
{
    LAYERPARAM preset;
    return qvGetDefaultLayerParam(key, preset) && store.SetLayerCustomParam(key, &preset);
}

} // namespace

int qvGetLayerParam(const CString& key, LAYERPARAM& param, CCustomDatabase* db)
{
    return qvGetLayerParam(key, param, 0, db);
}

int qvGetLayerParam(const CString& key, LAYERPARAM& param, int bCreate, CCustomDatabase* db)
{
    CCustomDatabase* store = storeOrCurrent(db);
    if (store == nullptr)
        return 0;
    if (store->GetLayerCustomParam(key, &param))
        return 1;
    if (bCreate == 0 || !createFromDefault(*store, key))
        return 0;
    return store->GetLayerCustomParam(key, &param);
}

int qvGetLayerParam(const CString& key, LAYERPARAM2013EX& param, int bCreate, int bTextStyle, int bTextHeight,
    CCustomDatabase* db)
{
    CCustomDatabase* store = storeOrCurrent(db);
    if (store == nullptr)
        return 0;
    bool found = false;
    ResbufChain values = readStoreEntry(store->database(), ParamKind::Layer, key, found);
    if (!found && bCreate != 0 && createFromDefault(*store, key))
        values = readStoreEntry(store->database(), ParamKind::Layer, key, found);
    if (!found)
        return 0;
    const LayerEntry entry = decodeLayer(values.get());
    applyBase(entry, param);
    if (bTextStyle != 0 && entry.textStyle)
        param.strTextStyle = *entry.textStyle;
    if (bTextHeight != 0 && entry.textHeight)
        param.dTextHeight = *entry.textHeight;
    return 1;
}

int qvSetLayerParam(const CString& key, LAYERPARAM& param, CCustomDatabase* db)
{
    CCustomDatabase* store = storeOrCurrent(db);
    return store == nullptr ? 0 : store->SetLayerCustomParam(key, &param);
}

int qvSetLayerParam(const CString& key, LAYERPARAM& param, int, CCustomDatabase* db)
{
    return qvSetLayerParam(key, param, db);
}

int qvSetLayerParam(
    const CString& key, LAYERPARAM2013EX& param, int, int bTextStyle, int bTextHeight, CCustomDatabase* db)
{
    CCustomDatabase* store = storeOrCurrent(db);
    if (store == nullptr)
        return 0;
    LayerEntry entry = storedLayer(store->database(), key);
    entry.name = param.strName;
    entry.color = param.nColor;
    entry.lineType = param.strLineType;
    if (bTextStyle != 0)
        entry.textStyle = param.strTextStyle;
    if (bTextHeight != 0)
        entry.textHeight = param.dTextHeight;
    return writeLayer(store->database(), key, entry) ? 1 : 0;
}

int qvGetTextParam(const CString& key, TEXTPARAM& param, CCustomDatabase* db)
{
    CCustomDatabase* store = storeOrCurrent(db);
    return store == nullptr ? 0 : store->GetTextCustomParam(key, &param);
}

int qvSetTextParam(const CString& key, TEXTPARAM& param, CCustomDatabase* db)
{
    CCustomDatabase* store = storeOrCurrent(db);
    return store == nullptr ? 0 : store->SetTextCustomParam(key, &param);
}

int qvGetOtherParam(const CString& key, OTHERPARAM& param, CCustomDatabase* db)
{
    CCustomDatabase* store = storeOrCurrent(db);
    return store == nullptr ? 0 : store->GetOtherCustomParam(key, &param);
}

int qvSetOtherParam(const CString& key, OTHERPARAM& param, CCustomDatabase* db)
{
    CCustomDatabase* store = storeOrCurrent(db);
    return store == nullptr ? 0 : store->SetOtherCustomParam(key, &param);
}

} // namespace TarnDB
