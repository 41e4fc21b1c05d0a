// MFC's automation client over the host's COM: exceptions, COleVariant and COleDispatchDriver.
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <vector>

#include "afxdisp.h"

namespace {

// The system's text for the result codes automation calls give here.
std::wstring messageOf(SCODE sc)
{
    switch (sc) {
    case DISP_E_MEMBERNOTFOUND:
        return L"Member not found.";
    case DISP_E_PARAMNOTFOUND:
        return L"Parameter not found.";
    case DISP_E_TYPEMISMATCH:
        return L"Type mismatch.";
    case DISP_E_BADINDEX:
        return L"Invalid index.";
    case DISP_E_BADPARAMCOUNT:
        return L"Invalid number of parameters.";
    case DISP_E_PARAMNOTOPTIONAL:
        return L"Parameter not optional.";
    case DISP_E_EXCEPTION:
        return L"Exception occurred.";
    case CO_E_CLASSSTRING:
        return L"Invalid class string";
    case CO_E_NOTINITIALIZED:
        return L"CoInitialize has not been called.";
    case REGDB_E_CLASSNOTREG:
        return L"Class not registered";
    case MK_E_UNAVAILABLE:
        return L"Operation unavailable";
    case RPC_E_DISCONNECTED:
        return L"The object invoked has disconnected from its clients.";
    case E_NOINTERFACE:
        return L"No such interface supported";
    case E_POINTER:
        return L"Invalid pointer";
    case E_INVALIDARG:
        return L"The parameter is incorrect.";
    default:
        break;
    }
    wchar_t text[40];
    std::swprintf(text, 40, L"Unknown error 0x%08X", static_cast<unsigned>(sc));
    return text;
}

BOOL copyMessage(const std::wstring& message, LPTSTR lpszError, UINT nMaxError)
{
    if (lpszError == nullptr || nMaxError == 0)
        return FALSE;
    const std::size_t n = std::min<std::size_t>(message.size(), nMaxError - 1);
    message.copy(lpszError, n);
    lpszError[n] = 0;
    return message.empty() ? FALSE : TRUE;
}

std::wstring takeBstr(BSTR& text)
{
    std::wstring value = text != nullptr ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    text = nullptr;
    return value;
}

// Makes the result the type the caller asked for; false when it cannot be.
bool coerce(VARIANT& value, VARTYPE wanted)
{
    if (value.vt == wanted)
        return true;
    long number = 0;
    switch (value.vt) {
    case VT_I2:
        number = value.iVal;
        break;
    case VT_I4:
        number = value.lVal;
        break;
    case VT_BOOL:
        number = value.boolVal != VARIANT_FALSE ? -1 : 0;
        break;
    default:
        return false;
    }
    switch (wanted) {
    case VT_I2:
        value.vt = VT_I2;
        value.iVal = static_cast<SHORT>(number);
        return true;
    case VT_I4:
        value.vt = VT_I4;
        value.lVal = static_cast<LONG>(number);
        return true;
    case VT_BOOL:
        value.vt = VT_BOOL;
        value.boolVal = number != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        return true;
    default:
        return false;
    }
}

// The arguments of one call: those the driver made (strings) are freed after it, the caller's are not.
struct CallArguments {
    std::vector<VARIANT> values; // last argument first, as DISPPARAMS wants them
    std::vector<bool> owned;
    CallArguments() = default;
    CallArguments(const CallArguments&) = delete;
    CallArguments& operator=(const CallArguments&) = delete;
    ~CallArguments()
    {
        for (std::size_t i = 0; i < values.size(); ++i)
            if (owned[i])
                VariantClear(&values[i]);
    }
};

} // namespace

// ---- Exceptions ----

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    if (lpszError != nullptr && nMaxError > 0)
        *lpszError = 0;
    return FALSE;
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

SCODE COleException::Process(const CException* pAnyException)
{
    if (const auto* ole = dynamic_cast<const COleException*>(pAnyException))
        return ole->m_sc;
    if (const auto* dispatch = dynamic_cast<const COleDispatchException*>(pAnyException))
        return dispatch->m_scError != S_OK ? dispatch->m_scError : DISP_E_EXCEPTION;
    return E_FAIL;
}

BOOL COleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = 0;
    return copyMessage(messageOf(m_sc), lpszError, nMaxError);
}

BOOL COleDispatchException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext != nullptr)
        *pnHelpContext = m_dwHelpContext;
    return copyMessage(m_strDescription.GetString(), lpszError, nMaxError);
}

void AFXAPI AfxThrowOleException(SCODE sc)
{
    auto* e = new COleException;
    e->m_sc = sc;
    throw e;
}

void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID)
{
    auto* e = new COleDispatchException;
    e->m_wCode = wCode;
    e->m_strDescription = lpszDescription != nullptr ? lpszDescription : L"";
    e->m_dwHelpContext = nHelpID;
    throw e;
}

BOOL AFXAPI AfxOleInit()
{
    return SUCCEEDED(CoInitialize(nullptr)) ? TRUE : FALSE;
}

// ---- COleVariant ----

COleVariant::COleVariant()
{
    VariantInit(this);
}

COleVariant::COleVariant(const VARIANT& varSrc)
{
    VariantInit(this);
    VariantCopy(this, &varSrc);
}

COleVariant::COleVariant(const COleVariant& varSrc)
    : tagVARIANT()
{
    VariantInit(this);
    VariantCopy(this, &varSrc);
}

COleVariant::COleVariant(LPCTSTR lpszSrc)
{
    VariantInit(this);
    *this = lpszSrc;
}

COleVariant::COleVariant(LPCTSTR lpszSrc, VARTYPE)
    : COleVariant(lpszSrc)
{
}

COleVariant::COleVariant(CString& strSrc)
    : COleVariant(strSrc.GetString())
{
}

COleVariant::COleVariant(short nSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = nSrc != 0 ? VARIANT_TRUE : VARIANT_FALSE;
    } else {
        vt = VT_I2;
        iVal = nSrc;
    }
}

COleVariant::COleVariant(long lSrc, VARTYPE vtSrc)
{
    VariantInit(this);
    if (vtSrc == VT_BOOL) {
        vt = VT_BOOL;
        boolVal = lSrc != 0 ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (vtSrc == VT_ERROR) {
        vt = VT_ERROR;
        scode = static_cast<SCODE>(lSrc);
    } else {
        vt = VT_I4;
        lVal = static_cast<LONG>(lSrc);
    }
}

COleVariant::COleVariant(double dblSrc)
{
    VariantInit(this);
    vt = VT_R8;
    dblVal = dblSrc;
}

COleVariant::~COleVariant()
{
    VariantClear(this);
}

const COleVariant& COleVariant::operator=(const VARIANT& varSrc)
{
    VariantCopy(this, &varSrc);
    return *this;
}

const COleVariant& COleVariant::operator=(const COleVariant& varSrc)
{
    VariantCopy(this, &varSrc);
    return *this;
}

const COleVariant& COleVariant::operator=(LPCTSTR lpszSrc)
{
    VariantClear(this);
    vt = VT_BSTR;
    bstrVal = SysAllocString(lpszSrc != nullptr ? lpszSrc : L"");
    return *this;
}

const COleVariant& COleVariant::operator=(long lSrc)
{
    VariantClear(this);
    vt = VT_I4;
    lVal = static_cast<LONG>(lSrc);
    return *this;
}

void COleVariant::Clear()
{
    VariantClear(this);
}

void COleVariant::Attach(VARIANT& varSrc)
{
    VariantClear(this);
    std::memcpy(static_cast<void*>(static_cast<VARIANT*>(this)), &varSrc, sizeof varSrc);
    VariantInit(&varSrc);
}

VARIANT COleVariant::Detach()
{
    VARIANT result = *this;
    VariantInit(this);
    return result;
}

// ---- COleDispatchDriver ----

COleDispatchDriver::COleDispatchDriver() = default;

COleDispatchDriver::COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease)
    : m_lpDispatch(lpDispatch)
    , m_bAutoRelease(bAutoRelease)
{
}

COleDispatchDriver::COleDispatchDriver(const COleDispatchDriver& dispatchSrc)
    : m_lpDispatch(dispatchSrc.m_lpDispatch)
    , m_bAutoRelease(TRUE)
{
    if (m_lpDispatch != nullptr)
        m_lpDispatch->AddRef();
}

COleDispatchDriver::~COleDispatchDriver()
{
    ReleaseDispatch();
}

const COleDispatchDriver& COleDispatchDriver::operator=(const COleDispatchDriver& dispatchSrc)
{
    if (this != &dispatchSrc) {
        if (dispatchSrc.m_lpDispatch != nullptr)
            dispatchSrc.m_lpDispatch->AddRef();
        ReleaseDispatch();
        m_lpDispatch = dispatchSrc.m_lpDispatch;
        m_bAutoRelease = TRUE;
    }
    return *this;
}

BOOL COleDispatchDriver::CreateDispatch(LPCTSTR lpszProgID, COleException* pError)
{
    CLSID clsid {};
    const HRESULT hr = CLSIDFromProgID(lpszProgID, &clsid);
    if (FAILED(hr)) {
        if (pError != nullptr)
            pError->m_sc = hr;
        return FALSE;
    }
    return CreateDispatch(clsid, pError);
}

BOOL COleDispatchDriver::CreateDispatch(REFCLSID clsid, COleException* pError)
{
    LPUNKNOWN unknown = nullptr;
    HRESULT hr
        = CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<LPVOID*>(&unknown));
    LPDISPATCH dispatch = nullptr;
    if (SUCCEEDED(hr)) {
        hr = unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
        unknown->Release();
    }
    if (FAILED(hr)) {
        if (pError != nullptr)
            pError->m_sc = hr;
        return FALSE;
    }
    AttachDispatch(dispatch, TRUE);
    return TRUE;
}

void COleDispatchDriver::AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease)
{
    ReleaseDispatch();
    m_lpDispatch = lpDispatch;
    m_bAutoRelease = bAutoRelease;
}

LPDISPATCH COleDispatchDriver::DetachDispatch()
{
    LPDISPATCH dispatch = m_lpDispatch;
    m_lpDispatch = nullptr;
    return dispatch;
}

void COleDispatchDriver::ReleaseDispatch()
{
    if (m_lpDispatch != nullptr && m_bAutoRelease)
        m_lpDispatch->Release();
    m_lpDispatch = nullptr;
}

void AFX_CDECL COleDispatchDriver::InvokeHelper(
    DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...)
{
    va_list args;
    va_start(args, pbParamInfo);
    try {
        InvokeHelperV(dwDispID, wFlags, vtRet, pvRet, pbParamInfo, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void AFX_CDECL COleDispatchDriver::SetProperty(DISPID dwDispID, VARTYPE vtProp, ...)
{
    const BYTE info[2] = {static_cast<BYTE>(vtProp), 0};
    va_list args;
    va_start(args, vtProp);
    try {
        InvokeHelperV(dwDispID, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, info, args);
    } catch (...) {
        va_end(args);
        throw;
    }
    va_end(args);
}

void COleDispatchDriver::GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const
{
    const_cast<COleDispatchDriver*>(this)->InvokeHelper(
        dwDispID, DISPATCH_PROPERTYGET, vtProp, pvProp, reinterpret_cast<const BYTE*>(VTS_NONE));
}

void COleDispatchDriver::InvokeHelperV(
    DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, va_list argList)
{
    if (m_lpDispatch == nullptr)
        AfxThrowOleException(E_POINTER);

    const std::size_t count
        = pbParamInfo != nullptr ? std::strlen(reinterpret_cast<const char*>(pbParamInfo)) : 0;
    CallArguments call;
    call.values.resize(count);
    call.owned.assign(count, false);
    for (std::size_t i = 0; i < count; ++i) {
        VARIANT& arg = call.values[count - 1 - i];
        VariantInit(&arg);
        switch (pbParamInfo[i]) {
        case VT_I2:
            arg.vt = VT_I2;
            arg.iVal = static_cast<SHORT>(va_arg(argList, int));
            break;
        case VT_I4:
            arg.vt = VT_I4;
            arg.lVal = static_cast<LONG>(va_arg(argList, long));
            break;
        case VT_R8:
            arg.vt = VT_R8;
            arg.dblVal = va_arg(argList, double);
            break;
        case VT_BSTR: {
            const auto* text = va_arg(argList, const OLECHAR*);
            arg.vt = VT_BSTR;
            arg.bstrVal = SysAllocString(text != nullptr ? text : L"");
            call.owned[count - 1 - i] = true;
            break;
        }
        case VT_DISPATCH:
            arg.vt = VT_DISPATCH;
            arg.pdispVal = va_arg(argList, LPDISPATCH);
            break;
        case VT_ERROR:
            arg.vt = VT_ERROR;
            arg.scode = static_cast<SCODE>(va_arg(argList, int));
            break;
        case VT_BOOL:
            arg.vt = VT_BOOL;
            arg.boolVal = va_arg(argList, BOOL) != FALSE ? VARIANT_TRUE : VARIANT_FALSE;
            break;
        case VT_VARIANT: {
            const auto* value = va_arg(argList, const VARIANT*);
            if (value != nullptr)
                arg = *value; // the caller's, not copied: it outlives the call
            break;
        }
        default:
            AfxThrowOleException(E_INVALIDARG);
        }
    }

    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params {call.values.data(), nullptr, static_cast<UINT>(count), 0};
    if ((wFlags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    COleVariant result;
    EXCEPINFO info {};
    UINT argError = 0;
    const HRESULT hr = m_lpDispatch->Invoke(dwDispID, IID_IUnknown, LOCALE_USER_DEFAULT, wFlags, &params,
        vtRet == VT_EMPTY ? nullptr : static_cast<VARIANT*>(&result), &info, &argError);
    if (hr == DISP_E_EXCEPTION) {
        auto* e = new COleDispatchException;
        e->m_wCode = info.wCode;
        e->m_scError = info.scode;
        e->m_strSource = takeBstr(info.bstrSource).c_str();
        e->m_strDescription = takeBstr(info.bstrDescription).c_str();
        e->m_strHelpFile = takeBstr(info.bstrHelpFile).c_str();
        e->m_dwHelpContext = info.dwHelpContext;
        throw e;
    }
    if (FAILED(hr))
        AfxThrowOleException(hr);
    if (vtRet == VT_EMPTY || pvRet == nullptr)
        return;
    if (vtRet == VT_VARIANT) {
        VariantCopy(static_cast<VARIANT*>(pvRet), &result);
        return;
    }
    if (!coerce(result, vtRet))
        AfxThrowOleException(DISP_E_TYPEMISMATCH);
    switch (vtRet) {
    case VT_I2:
        *static_cast<short*>(pvRet) = result.iVal;
        break;
    case VT_I4:
        *static_cast<long*>(pvRet) = result.lVal;
        break;
    case VT_R8:
        *static_cast<double*>(pvRet) = result.dblVal;
        break;
    case VT_BOOL:
        *static_cast<BOOL*>(pvRet) = result.boolVal != VARIANT_FALSE ? TRUE : FALSE;
        break;
    case VT_BSTR:
        *static_cast<CString*>(pvRet) = CString(
            result.bstrVal != nullptr ? result.bstrVal : L"", static_cast<int>(SysStringLen(result.bstrVal)));
        break;
    case VT_DISPATCH:
        // The caller owns the reference the result held.
        *static_cast<LPDISPATCH*>(pvRet) = result.pdispVal;
        result.vt = VT_EMPTY;
        break;
    default:
        AfxThrowOleException(DISP_E_TYPEMISMATCH);
    }
}
