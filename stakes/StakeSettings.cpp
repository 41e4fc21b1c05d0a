// The stake label settings kept in the drawing's parameter store.
#include "StdAfx.h"

#include "StakeSettings.h"

#include "CustomParameterStore.h"

namespace {

const ACHAR* const kCoordPrecKey = _T("道路桩点标注精度");
const ACHAR* const kElevPrecKey = _T("!道路桩点标高标注精度");
const ACHAR* const kTextHeightKey = _T("!道路桩点标注字高");
const ACHAR* const kAlignKey = _T("道路桩点文字对齐方式");

OTHERPARAM Record(const CString& value)
{
    OTHERPARAM record;
    record.strValue = value;
    record.nCode1 = 5001;
    record.nCode2 = 2;
    return record;
}

// The value text stored under the key, or the default text when there is none.
CString Stored(TarnDB::CCustomDatabase& store, const ACHAR* key, const ACHAR* defaultText)
{
    OTHERPARAM record = Record(defaultText);
    store.GetOtherCustomParam(key, &record);
    return record.strValue;
}

} // namespace

SZDBZPARAM::SZDBZPARAM()
    : dX(0.0)
    , dY(0.0)
    , dH(0.0)
    , dh(0.0)
    , nMode(0)
    , nCoordPrec(2)
    , nElevPrec(3)
    , dTextHeight(4.0)
    , nAlign(0)
{
    Load();
}

void SZDBZPARAM::Load()
{
    TarnDB::CCustomDatabase* store = TarnDB::qvGetCustomDatabase();
    if (store == nullptr)
        return;
    nCoordPrec = _wtoi(Stored(*store, kCoordPrecKey, _T("2")));
    nElevPrec = _wtoi(Stored(*store, kElevPrecKey, _T("3")));
    dTextHeight = _wtof(Stored(*store, kTextHeightKey, _T("4.0")));
    nAlign = _wtoi(Stored(*store, kAlignKey, _T("")));
}

void SZDBZPARAM::Save() const
{
    CString coordPrec;
    coordPrec.Format(_T("%d"), nCoordPrec);
    CString elevPrec;
    elevPrec.Format(_T("%d"), nElevPrec);
    CString textHeight;
    textHeight.Format(_T("%.1f"), dTextHeight);
    CString align;
    align.Format(_T("%d"), nAlign);
    OTHERPARAM records[] = {Record(coordPrec), Record(elevPrec), Record(textHeight), Record(align)};
    TarnDB::CCustomDatabase* store = TarnDB::qvGetCustomDatabase();
    if (store == nullptr)
        return;
    store->SetOtherCustomParam(kCoordPrecKey, &records[0]);
    store->SetOtherCustomParam(kElevPrecKey, &records[1]);
    store->SetOtherCustomParam(kTextHeightKey, &records[2]);
    store->SetOtherCustomParam(kAlignKey, &records[3]);
}
