// The automation client over the host's COM: BSTRs and variants, the dispatch driver's marshalling of
// arguments and results, reference counting, and the exceptions of failed calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxdisp.h"
#include "ole/ComRegistry.h"
#include "ole/DispatchObject.h"

namespace {

using arxhost::ole::DispatchCall;
using arxhost::ole::DispatchError;

int gAlive = 0;

// A server object that records the calls it gets and answers a few ids.
class Probe : public arxhost::ole::DispatchObject {
public:
    Probe() { ++gAlive; }
    ~Probe() override { --gAlive; }

    DISPID lastId = 0;
    WORD lastFlags = 0;
    std::vector<VARTYPE> lastTypes; // of the arguments in written order; VT_ERROR for an omitted one
    std::vector<std::wstring> lastTexts;
    std::wstring putText;

protected:
    void invoke(DISPID id, const DispatchCall& call, VARIANT& result) override
    {
        lastId = id;
        lastFlags = call.flags();
        lastTypes.clear();
        lastTexts.clear();
        for (std::size_t i = 0; i < call.count(); ++i) {
            const VARIANT* arg = call.arg(i);
            lastTypes.push_back(arg != nullptr ? arg->vt : static_cast<VARTYPE>(VT_ERROR));
            lastTexts.push_back(arg != nullptr ? DispatchCall::toText(*arg) : L"");
        }
        switch (id) {
        case 1:
            arxhost::ole::setLong(result, 42);
            return;
        case 2:
            arxhost::ole::setText(result, L"道路 road");
            return;
        case 3:
            if (call.isPut())
                putText = call.putValue() != nullptr ? DispatchCall::toText(*call.putValue()) : L"(none)";
            return;
        case 4:
            throw DispatchError {E_FAIL, L"保存失败: disk full"};
        case 5:
            arxhost::ole::setDispatch(result, new Probe);
            return;
        default:
            throw DispatchError {DISP_E_MEMBERNOTFOUND, {}};
        }
    }
};

// A probe held by a driver that releases it; the test keeps a view of it.
struct Driven {
    Probe* probe = new Probe;
    COleDispatchDriver driver {probe, TRUE};
};

TEST(OleVariant, KeepsEachKindAndFreesItsString)
{
    const COleVariant text(L"标注文字");
    EXPECT_EQ(VT_BSTR, text.vt);
    EXPECT_EQ(4u, SysStringLen(text.bstrVal));
    EXPECT_EQ(std::wstring(L"标注文字"), text.bstrVal);
    const COleVariant copy(text);
    EXPECT_NE(text.bstrVal, copy.bstrVal); // a copy of its own
    EXPECT_EQ(std::wstring(text.bstrVal), copy.bstrVal);

    struct Case {
        COleVariant value;
        VARTYPE vt;
        long number;
    };
    const Case cases[] = {
        {COleVariant(static_cast<short>(7)), VT_I2, 7},
        {COleVariant(-4108L), VT_I4, -4108},
        {COleVariant(1L, VT_BOOL), VT_BOOL, -1},
        {COleVariant(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR), VT_ERROR, DISP_E_PARAMNOTFOUND},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.vt, c.value.vt);
        if (c.vt == VT_ERROR)
            EXPECT_EQ(c.number, c.value.scode);
        else
            EXPECT_EQ(c.number, DispatchCall::toLong(c.value));
    }
    COleVariant cleared(L"x");
    cleared.Clear();
    EXPECT_EQ(VT_EMPTY, cleared.vt);
}

TEST(DispatchDriver, PassesArgumentsInWrittenOrderWithOmittedOnesMarked)
{
    Driven d;
    static BYTE parms[] = VTS_I2 VTS_I4 VTS_BSTR VTS_BOOL VTS_VARIANT VTS_VARIANT;
    const COleVariant omitted(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR);
    const COleVariant number(12L);
    d.driver.InvokeHelper(
        3, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, 5, 70000L, L"文字", TRUE, &omitted, &number);
    EXPECT_EQ(3, d.probe->lastId);
    EXPECT_EQ(DISPATCH_METHOD, d.probe->lastFlags);
    EXPECT_EQ((std::vector<VARTYPE> {VT_I2, VT_I4, VT_BSTR, VT_BOOL, VT_ERROR, VT_I4}), d.probe->lastTypes);
    EXPECT_EQ((std::vector<std::wstring> {L"5", L"70000", L"文字", L"TRUE", L"", L"12"}), d.probe->lastTexts);
}

TEST(DispatchDriver, PutsAndGetsProperties)
{
    Driven d;
    d.driver.SetProperty(3, VT_BSTR, L"新值");
    EXPECT_EQ(DISPATCH_PROPERTYPUT, d.probe->lastFlags);
    EXPECT_TRUE(d.probe->lastTypes.empty()); // the value is the named put argument, not a positional one
    EXPECT_EQ(L"新值", d.probe->putText);
    d.driver.SetProperty(3, VT_I4, -4131L);
    EXPECT_EQ(L"-4131", d.probe->putText);

    long number = 0;
    d.driver.GetProperty(1, VT_I4, &number);
    EXPECT_EQ(42, number);
    EXPECT_EQ(DISPATCH_PROPERTYGET, d.probe->lastFlags);
    BOOL flag = FALSE;
    d.driver.GetProperty(1, VT_BOOL, &flag); // coerced from the long
    EXPECT_EQ(TRUE, flag);
    CString text;
    d.driver.GetProperty(2, VT_BSTR, &text);
    EXPECT_EQ(CString(L"道路 road"), text);
    COleVariant any;
    d.driver.GetProperty(2, VT_VARIANT, static_cast<VARIANT*>(&any));
    EXPECT_EQ(VT_BSTR, any.vt);
    // A text does not become a dispatch interface.
    LPDISPATCH dispatch = nullptr;
    try {
        d.driver.GetProperty(2, VT_DISPATCH, &dispatch);
        ADD_FAILURE() << "no exception";
    } catch (COleException* e) {
        EXPECT_EQ(DISP_E_TYPEMISMATCH, e->m_sc);
        e->Delete();
    }
}

TEST(DispatchDriver, FailedCallsThrowTheFrameworksExceptions)
{
    Driven d;
    try {
        d.driver.InvokeHelper(
            0x999, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_NONE));
        ADD_FAILURE() << "no exception";
    } catch (COleException* e) {
        EXPECT_EQ(DISP_E_MEMBERNOTFOUND, e->m_sc);
        TCHAR message[64];
        EXPECT_TRUE(e->GetErrorMessage(message, 64));
        EXPECT_EQ(std::wstring(L"Member not found."), message);
        EXPECT_TRUE(e->GetErrorMessage(message, 7)); // cut to the buffer
        EXPECT_EQ(std::wstring(L"Member"), message);
        e->Delete();
    }
    try {
        d.driver.InvokeHelper(4, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_NONE));
        ADD_FAILURE() << "no exception";
    } catch (COleDispatchException* e) {
        EXPECT_EQ(CString(L"保存失败: disk full"), e->m_strDescription);
        EXPECT_EQ(E_FAIL, e->m_scError);
        TCHAR message[256];
        EXPECT_TRUE(e->GetErrorMessage(message, 256));
        EXPECT_EQ(std::wstring(L"保存失败: disk full"), message);
        EXPECT_EQ(E_FAIL, COleException::Process(e));
        e->Delete();
    }
    // A driver without an interface cannot call.
    COleDispatchDriver empty;
    try {
        empty.InvokeHelper(1, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_NONE));
        ADD_FAILURE() << "no exception";
    } catch (COleException* e) {
        EXPECT_EQ(E_POINTER, e->m_sc);
        e->Delete();
    }
}

TEST(DispatchDriver, ReleasesWhatItOwnsOnly)
{
    ASSERT_EQ(0, gAlive);
    {
        Driven d;
        LPDISPATCH child = nullptr;
        d.driver.GetProperty(5, VT_DISPATCH, &child);
        EXPECT_EQ(2, gAlive);
        COleDispatchDriver owner;
        owner.AttachDispatch(child, TRUE);
        COleDispatchDriver copy(owner); // a reference of its own
        owner.ReleaseDispatch();
        EXPECT_EQ(2, gAlive);
        EXPECT_EQ(nullptr, owner.m_lpDispatch);
    }
    EXPECT_EQ(0, gAlive);

    auto* kept = new Probe;
    {
        COleDispatchDriver borrower;
        borrower.AttachDispatch(kept, FALSE);
    }
    EXPECT_EQ(1, gAlive);
    COleDispatchDriver last(kept, TRUE);
    EXPECT_EQ(kept, last.DetachDispatch());
    EXPECT_EQ(1, gAlive);
    kept->Release();
    EXPECT_EQ(0, gAlive);
}

TEST(Com, ApartmentAndClassLookup)
{
    const HRESULT first = CoInitialize(nullptr);
    EXPECT_TRUE(first == S_OK || first == S_FALSE);
    EXPECT_EQ(S_FALSE, CoInitialize(nullptr));
    CoUninitialize();

    CLSID upper {};
    CLSID lower {};
    ASSERT_EQ(S_OK, CLSIDFromProgID(L"Excel.Application", &upper));
    ASSERT_EQ(S_OK, CLSIDFromProgID(L"excel.application", &lower));
    EXPECT_TRUE(upper == lower);
    CLSID none {};
    EXPECT_EQ(CO_E_CLASSSTRING, CLSIDFromProgID(L"Word.Application", &none));

    COleDispatchDriver driver;
    COleException error;
    EXPECT_FALSE(driver.CreateDispatch(L"No.Such.Program", &error));
    EXPECT_EQ(CO_E_CLASSSTRING, error.m_sc);
    EXPECT_EQ(nullptr, driver.m_lpDispatch);
}

} // namespace
