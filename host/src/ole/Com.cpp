// COM as the host offers it: the thread's apartment, the class registry, BSTRs and variants.
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <vector>

#include "ole/ComRegistry.h"

extern "C" const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
extern "C" const IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace arxhost::ole {
namespace {

thread_local int tApartmentCount = 0;

std::vector<ComClass>& registry()
{
    static std::vector<ComClass> classes;
    return classes;
}

bool sameProgId(const std::wstring& a, const wchar_t* b)
{
    const std::size_t n = std::wcslen(b);
    if (a.size() != n)
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i])))
            return false;
    return true;
}

const ComClass* findClass(REFCLSID clsid)
{
    for (const ComClass& entry : registry())
        if (entry.clsid == clsid)
            return &entry;
    return nullptr;
}

} // namespace

void registerComClass(ComClass entry)
{
    for (ComClass& existing : registry())
        if (existing.clsid == entry.clsid) {
            existing = std::move(entry);
            return;
        }
    registry().push_back(std::move(entry));
}

bool comInitialized()
{
    return tApartmentCount > 0;
}

} // namespace arxhost::ole

using arxhost::ole::comInitialized;

HRESULT CoInitialize(LPVOID)
{
    return arxhost::ole::tApartmentCount++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize()
{
    if (arxhost::ole::tApartmentCount > 0)
        --arxhost::ole::tApartmentCount;
}

HRESULT CLSIDFromProgID(LPCOLESTR lpszProgID, LPCLSID lpclsid)
{
    if (lpszProgID == nullptr || lpclsid == nullptr)
        return E_INVALIDARG;
    for (const arxhost::ole::ComClass& entry : arxhost::ole::registry())
        if (arxhost::ole::sameProgId(entry.progId, lpszProgID)) {
            *lpclsid = entry.clsid;
            return S_OK;
        }
    *lpclsid = CLSID {};
    return CO_E_CLASSSTRING;
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD, REFIID riid, LPVOID* ppv)
{
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (!comInitialized())
        return CO_E_NOTINITIALIZED;
    if (pUnkOuter != nullptr)
        return E_NOTIMPL; // no aggregation
    const arxhost::ole::ComClass* entry = arxhost::ole::findClass(rclsid);
    if (entry == nullptr || !entry->create)
        return REGDB_E_CLASSNOTREG;
    return entry->create(riid, ppv);
}

HRESULT GetActiveObject(REFCLSID rclsid, void*, IUnknown** ppunk)
{
    if (ppunk == nullptr)
        return E_POINTER;
    *ppunk = nullptr;
    if (!comInitialized())
        return CO_E_NOTINITIALIZED;
    const arxhost::ole::ComClass* entry = arxhost::ole::findClass(rclsid);
    if (entry == nullptr || !entry->active)
        return MK_E_UNAVAILABLE;
    return entry->active(ppunk);
}

// ---- BSTR: the length in bytes stored before the characters, which end with a 0 ----

BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui)
{
    const std::size_t bytes = static_cast<std::size_t>(ui) * sizeof(OLECHAR);
    auto* block = static_cast<unsigned char*>(std::malloc(sizeof(UINT) + bytes + sizeof(OLECHAR)));
    if (block == nullptr)
        return nullptr;
    const auto length = static_cast<UINT>(bytes);
    std::memcpy(block, &length, sizeof length);
    auto* text = reinterpret_cast<OLECHAR*>(block + sizeof(UINT));
    if (strIn != nullptr)
        std::memcpy(text, strIn, bytes);
    else
        std::memset(text, 0, bytes);
    text[ui] = 0;
    return text;
}

BSTR SysAllocString(const OLECHAR* psz)
{
    if (psz == nullptr)
        return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(std::wcslen(psz)));
}

void SysFreeString(BSTR bstrString)
{
    if (bstrString != nullptr)
        std::free(reinterpret_cast<unsigned char*>(bstrString) - sizeof(UINT));
}

UINT SysStringLen(BSTR pbstr)
{
    if (pbstr == nullptr)
        return 0;
    UINT bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<unsigned char*>(pbstr) - sizeof(UINT), sizeof bytes);
    return bytes / sizeof(OLECHAR);
}

// ---- Variants ----

void VariantInit(VARIANTARG* pvarg)
{
    if (pvarg == nullptr)
        return;
    std::memset(static_cast<void*>(pvarg), 0, sizeof *pvarg);
    pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* pvarg)
{
    if (pvarg == nullptr)
        return E_INVALIDARG;
    switch (pvarg->vt) {
    case VT_BSTR:
        SysFreeString(pvarg->bstrVal);
        break;
    case VT_DISPATCH:
        if (pvarg->pdispVal != nullptr)
            pvarg->pdispVal->Release();
        break;
    case VT_UNKNOWN:
        if (pvarg->punkVal != nullptr)
            pvarg->punkVal->Release();
        break;
    default:
        break;
    }
    VariantInit(pvarg);
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc)
{
    if (pvargDest == nullptr || pvargSrc == nullptr)
        return E_INVALIDARG;
    if (pvargDest == pvargSrc)
        return S_OK;
    VariantClear(pvargDest);
    std::memcpy(static_cast<void*>(pvargDest), pvargSrc, sizeof *pvargDest);
    switch (pvargSrc->vt) {
    case VT_BSTR:
        pvargDest->bstrVal = pvargSrc->bstrVal == nullptr
            ? nullptr
            : SysAllocStringLen(pvargSrc->bstrVal, SysStringLen(pvargSrc->bstrVal));
        break;
    case VT_DISPATCH:
        if (pvargDest->pdispVal != nullptr)
            pvargDest->pdispVal->AddRef();
        break;
    case VT_UNKNOWN:
        if (pvargDest->punkVal != nullptr)
            pvargDest->punkVal->AddRef();
        break;
    default:
        break;
    }
    return S_OK;
}
