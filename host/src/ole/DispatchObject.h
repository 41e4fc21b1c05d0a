// The base of the host's automation objects: reference counting, IDispatch::Invoke unpacked into the
// arguments in their written order, and failures reported as result codes or server exceptions.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ole2.h"

namespace arxhost::ole {

// An owning reference to a COM object.
template <class T> class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    static ComPtr adopt(T* object)
    {
        ComPtr p;
        p.mObject = object;
        return p;
    }
    ComPtr(const ComPtr& other)
        : mObject(other.mObject)
    {
        if (mObject != nullptr)
            mObject->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept
        : mObject(std::exchange(other.mObject, nullptr))
    {
    }
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(mObject, other.mObject);
        return *this;
    }
    ~ComPtr()
    {
        if (mObject != nullptr)
            mObject->Release();
    }
    T* get() const { return mObject; }
    T* operator->() const { return mObject; }
    explicit operator bool() const { return mObject != nullptr; }
    // Gives the reference to the caller (an out parameter of a COM call).
    T* detach() { return std::exchange(mObject, nullptr); }

private:
    T* mObject = nullptr;
};

// A failure of a member: a result code, or (with a description) the server's exception.
struct DispatchError {
    HRESULT code = E_FAIL;
    std::wstring description; // non-empty: reported as DISP_E_EXCEPTION with this text
};

// One call's arguments in their written order; the value of a property put comes separately.
class DispatchCall {
public:
    DispatchCall(WORD flags, const DISPPARAMS* params);
    WORD flags() const { return mFlags; }
    bool isGet() const { return (mFlags & DISPATCH_PROPERTYGET) != 0; }
    bool isPut() const { return (mFlags & DISPATCH_PROPERTYPUT) != 0; }
    bool isMethod() const { return (mFlags & DISPATCH_METHOD) != 0; }
    std::size_t count() const { return mArgs.size(); }
    // The argument, or null when it was left out (absent or VT_ERROR DISP_E_PARAMNOTFOUND).
    const VARIANT* arg(std::size_t index) const;
    const VARIANT* putValue() const { return mPutValue; }
    // Required arguments, converted; they throw DispatchError (not optional, type mismatch).
    long longArg(std::size_t index) const;
    bool boolArg(std::size_t index) const;
    std::wstring textArg(std::size_t index) const;
    std::optional<long> optionalLong(std::size_t index) const;

    static long toLong(const VARIANT& value);
    static std::wstring toText(const VARIANT& value);

private:
    WORD mFlags;
    std::vector<const VARIANT*> mArgs;
    const VARIANT* mPutValue = nullptr;
};

class DispatchObject : public IDispatch {
public:
    DispatchObject() = default;
    virtual ~DispatchObject() = default;
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* pctinfo) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(
        REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags,
        DISPPARAMS* pDispParams, VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

protected:
    // The member's work: a result into result (VT_EMPTY for none); throws DispatchError on failure.
    // Unknown ids and flags the member does not take: DISP_E_MEMBERNOTFOUND.
    virtual void invoke(DISPID id, const DispatchCall& call, VARIANT& result) = 0;
    // The source named in the server's exceptions.
    virtual std::wstring source() const { return L""; }

private:
    std::atomic<ULONG> mReferences {1};
};

// Variant results.
void setLong(VARIANT& result, long value);
void setBool(VARIANT& result, bool value);
void setText(VARIANT& result, const std::wstring& value);
// Takes over the object's reference.
void setDispatch(VARIANT& result, IDispatch* value);

} // namespace arxhost::ole
