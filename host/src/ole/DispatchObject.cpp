// The base of the host's automation objects: IUnknown, IDispatch::Invoke and argument conversion.
#include "ole/DispatchObject.h"

#include <cmath>
#include <cwchar>

namespace arxhost::ole {

namespace {

const VARIANT* dereference(const VARIANT* value)
{
    while (value != nullptr && value->vt == (VT_VARIANT | VT_BYREF))
        value = value->pvarVal;
    return value;
}

} // namespace

DispatchCall::DispatchCall(WORD flags, const DISPPARAMS* params)
    : mFlags(flags)
{
    if (params == nullptr)
        return;
    std::size_t positional = params->cArgs;
    if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0 && params->cNamedArgs == 1
        && params->rgdispidNamedArgs != nullptr && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT
        && params->cArgs > 0) {
        // The value is the first of rgvarg (named arguments come first), the rest are positional.
        mPutValue = dereference(&params->rgvarg[0]);
        --positional;
    }
    for (std::size_t i = 0; i < positional; ++i)
        mArgs.push_back(dereference(&params->rgvarg[params->cArgs - 1 - i]));
}

const VARIANT* DispatchCall::arg(std::size_t index) const
{
    if (index >= mArgs.size())
        return nullptr;
    const VARIANT* value = mArgs[index];
    if (value == nullptr || (value->vt == VT_ERROR && value->scode == DISP_E_PARAMNOTFOUND)
        || value->vt == VT_EMPTY)
        return nullptr;
    return value;
}

long DispatchCall::toLong(const VARIANT& value)
{
    switch (value.vt) {
    case VT_I2:
        return value.iVal;
    case VT_I4:
        return value.lVal;
    case VT_BOOL:
        return value.boolVal != VARIANT_FALSE ? -1 : 0;
    case VT_R8:
        return std::lround(value.dblVal);
    case VT_BSTR: {
        const wchar_t* text = value.bstrVal != nullptr ? value.bstrVal : L"";
        wchar_t* end = nullptr;
        const long number = std::wcstol(text, &end, 10);
        if (end != text && *end == 0)
            return number;
        break;
    }
    default:
        break;
    }
    throw DispatchError {DISP_E_TYPEMISMATCH, {}};
}

std::wstring DispatchCall::toText(const VARIANT& value)
{
    switch (value.vt) {
    case VT_BSTR:
        return value.bstrVal != nullptr ? std::wstring(value.bstrVal, SysStringLen(value.bstrVal)) : L"";
    case VT_I2:
    case VT_I4:
        return std::to_wstring(toLong(value));
    case VT_BOOL:
        return value.boolVal != VARIANT_FALSE ? L"TRUE" : L"FALSE";
    case VT_R8: {
        wchar_t text[64];
        std::swprintf(text, 64, L"%.15g", value.dblVal);
        return text;
    }
    default:
        throw DispatchError {DISP_E_TYPEMISMATCH, {}};
    }
}

long DispatchCall::longArg(std::size_t index) const
{
    const VARIANT* value = arg(index);
    if (value == nullptr)
        throw DispatchError {DISP_E_PARAMNOTOPTIONAL, {}};
    return toLong(*value);
}

bool DispatchCall::boolArg(std::size_t index) const
{
    return longArg(index) != 0;
}

std::wstring DispatchCall::textArg(std::size_t index) const
{
    const VARIANT* value = arg(index);
    if (value == nullptr)
        throw DispatchError {DISP_E_PARAMNOTOPTIONAL, {}};
    return toText(*value);
}

std::optional<long> DispatchCall::optionalLong(std::size_t index) const
{
    const VARIANT* value = arg(index);
    if (value == nullptr)
        return std::nullopt;
    return toLong(*value);
}

HRESULT STDMETHODCALLTYPE DispatchObject::QueryInterface(REFIID riid, void** ppvObject)
{
    if (ppvObject == nullptr)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
        AddRef();
        *ppvObject = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DispatchObject::AddRef()
{
    return ++mReferences;
}

ULONG STDMETHODCALLTYPE DispatchObject::Release()
{
    const ULONG left = --mReferences;
    if (left == 0)
        delete this; // COM's contract: the last reference frees the object
    return left;
}

HRESULT STDMETHODCALLTYPE DispatchObject::GetTypeInfoCount(UINT* pctinfo)
{
    if (pctinfo == nullptr)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID* rgDispId)
{
    if (rgDispId != nullptr)
        *rgDispId = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
}

HRESULT STDMETHODCALLTYPE DispatchObject::Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags,
    DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr)
{
    if (puArgErr != nullptr)
        *puArgErr = 0;
    VARIANT result;
    VariantInit(&result);
    try {
        AddRef(); // a call may drop the caller's last other reference
        const ComPtr<DispatchObject> keep = ComPtr<DispatchObject>::adopt(this);
        invoke(dispIdMember, DispatchCall(wFlags, pDispParams), result);
    } catch (const DispatchError& error) {
        VariantClear(&result);
        if (error.description.empty())
            return error.code;
        if (pExcepInfo != nullptr) {
            *pExcepInfo = EXCEPINFO {};
            pExcepInfo->bstrSource = SysAllocString(source().c_str());
            pExcepInfo->bstrDescription = SysAllocString(error.description.c_str());
            pExcepInfo->scode = error.code;
        }
        return DISP_E_EXCEPTION;
    }
    if (pVarResult != nullptr) {
        VariantClear(pVarResult);
        *pVarResult = result;
    } else {
        VariantClear(&result);
    }
    return S_OK;
}

void setLong(VARIANT& result, long value)
{
    VariantClear(&result);
    result.vt = VT_I4;
    result.lVal = static_cast<LONG>(value);
}

void setBool(VARIANT& result, bool value)
{
    VariantClear(&result);
    result.vt = VT_BOOL;
    result.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void setText(VARIANT& result, const std::wstring& value)
{
    VariantClear(&result);
    result.vt = VT_BSTR;
    result.bstrVal = SysAllocStringLen(value.c_str(), static_cast<UINT>(value.size()));
}

void setDispatch(VARIANT& result, IDispatch* value)
{
    VariantClear(&result);
    result.vt = VT_DISPATCH;
    result.pdispVal = value;
}

} // namespace arxhost::ole
