// The annotation layer rule: option values 0, 1, 2, 3, 3.5 and 4 of the drawing's layer option.
#include "StdAfx.h"

#include "AnnotationLayer.h"

#include <cmath>

#include "CustomParameterStore.h"
#include "DrawingToolkit.h"
#include "ExtendedDataLibrary.h"

namespace {

ANNOTLAYERSTATE* s_pAnnotLayerState = nullptr;

const ACHAR* const kOptionKey = _T("面向实体标注图层选项");

bool isOption(double option, double value)
{
    return std::fabs(option - value) < 0.1;
}

// The suffix that option 3.5 adds for a category ("RAD" -> "-QJ"), compared without regard to case.
CString categorySuffix(const CString& category)
{
    if (category.CompareNoCase(_T("DIM")) == 0)
        return _T("-KD");
    if (category.CompareNoCase(_T("COR")) == 0)
        return _T("-ZB");
    if (category.CompareNoCase(_T("RAD")) == 0)
        return _T("-QJ");
    if (category.CompareNoCase(_T("TXT")) == 0)
        return _T("-WZ");
    return CString();
}

// Option 0: the layer of the first listed entity type that the entity carries, else its own layer.
CString layerByEntityType(ANNOTLAYERSTATE& state, AcDbObjectId entity)
{
    LoadAnnotEntTypes();
    for (INT_PTR i = 0; i < state.annotEntTypes.GetSize(); ++i) {
        CString value;
        if (!ARX_DATA::CFGisXData::GetFrom(entity, state.annotEntTypes[i], value))
            continue;
        CString layer;
        if (GetLayerOfEntType(state.annotEntTypes[i], state.annotCategory, layer))
            return layer;
        return tarn::ent::GetEntLayerName(entity);
    }
    return tarn::ent::GetEntLayerName(entity);
}

} // namespace

void CreateAnnotLayerState()
{
    if (s_pAnnotLayerState == nullptr)
        s_pAnnotLayerState = new ANNOTLAYERSTATE;
}

void ReleaseAnnotLayerState()
{
    delete s_pAnnotLayerState;
    s_pAnnotLayerState = nullptr;
}

ANNOTLAYERSTATE* GetAnnotLayerState()
{
    return s_pAnnotLayerState;
}

void SetAnnotCategory(const CString& category)
{
    if (s_pAnnotLayerState != nullptr)
        s_pAnnotLayerState->annotCategory = category;
}

int LoadBzLayerIni()
{
    if (s_pAnnotLayerState == nullptr)
        return 0;
    const CString folder = daroviz::FGetCADCommonFilePath();
    if (folder.IsEmpty())
        return 0;
    // The common folder ends with a separator.
    s_pAnnotLayerState->bzLayerIni.SetPath(folder + _T("bzlayer.ini"));
    if (s_pAnnotLayerState->bzLayerIni.ReadFile()) {
        s_pAnnotLayerState->bzLayerIniLoaded = 1;
        return 1;
    }
    s_pAnnotLayerState->bzLayerIniLoaded = 0;
    return 0;
}

double GetAnnotLayerOption()
{
    TarnDB::CCustomDatabase* pStore = TarnDB::qvGetCustomDatabase();
    if (pStore == nullptr)
        return 0.0;
    OTHERPARAM param;
    param.strValue = _T("");
    param.nCode1 = 0;
    param.nCode2 = 1023;
    if (!pStore->GetOtherCustomParam(kOptionKey, &param)) {
        param.nCode1 = 5001; // a real
        param.nCode2 = 512;
        param.strValue.Format(_T("%.1f"), 0.0);
        pStore->SetOtherCustomParam(kOptionKey, &param);
    }
    return _wtof(param.strValue);
}

int LoadAnnotEntTypes()
{
    if (s_pAnnotLayerState == nullptr)
        return 0;
    ANNOTLAYERSTATE& state = *s_pAnnotLayerState;
    state.annotEntTypes.RemoveAll();
    if (!state.bzLayerIniLoaded)
        LoadBzLayerIni();
    CStringArray keys;
    CStringArray values;
    if (!state.bzLayerIni.GetValue(_T("ENT_TYPE"), keys, values))
        return 0;
    state.annotEntTypes.Append(keys);
    return state.annotEntTypes.GetSize() > 0 ? 1 : 0;
}

int GetLayerOfEntType(const CString& entType, const CString& category, CString& layer)
{
    if (s_pAnnotLayerState == nullptr || entType.IsEmpty() || category.IsEmpty())
        return 0;
    layer.Empty();
    if (!s_pAnnotLayerState->bzLayerIniLoaded && !LoadBzLayerIni())
        return 0;
    const CString paramName = s_pAnnotLayerState->bzLayerIni.GetValue(entType, category);
    if (paramName.IsEmpty())
        return 0;
    LAYERPARAM param;
    TarnDB::qvGetLayerParam(paramName, param, 1, TarnDB::qvGetQvCustomDatabase());
    layer.Format(_T("%s"), param.strName.GetString());
    return layer.IsEmpty() ? 0 : 1;
}

CString GetAnnotationLayer(AcDbObjectId entity)
{
    if (entity.isNull() || !entity.isValid() || entity.isErased() || s_pAnnotLayerState == nullptr)
        return CString();
    tarn::CFDocLock lock(nullptr);
    ANNOTLAYERSTATE& state = *s_pAnnotLayerState;
    const double option = GetAnnotLayerOption();

    if (isOption(option, 0))
        return layerByEntityType(state, entity);
    if (isOption(option, 1)) {
        CString current;
        tarn::cad::GetSysVar(_T("CLAYER"), current);
        return current;
    }
    if (isOption(option, 2))
        return tarn::ent::GetEntLayerName(entity);
    if (isOption(option, 3)) {
        const CString layer = tarn::ent::GetEntLayerName(entity) + _T("-BZ");
        tarn::ent::CreateLayer(layer);
        return layer;
    }
    if (isOption(option, 3.5)) {
        const CString layer
            = tarn::ent::GetEntLayerName(entity) + _T("-BZ") + categorySuffix(state.annotCategory);
        tarn::ent::CreateLayer(layer);
        return layer;
    }
    if (isOption(option, 4)) {
        tarn::ent::CreateLayer(state.annotFixedLayer);
        return state.annotFixedLayer;
    }
    return CString();
}
