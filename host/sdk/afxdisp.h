// MFC's OLE automation client: variants, the dispatch driver that calls IDispatch, and the exceptions
// its calls throw.
#pragma once

#include <cstdarg>

#include "afx.h"
#include "ole2.h"

// The base of MFC's exceptions, thrown by pointer: the catcher calls Delete() when done with one.
class CException : public CObject {
public:
    CException() = default;
    explicit CException(BOOL bAutoDelete)
        : m_bAutoDelete(bAutoDelete)
    {
    }
    // Copies the message, cut to nMaxError - 1 characters; FALSE (and an empty string) when there is none.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const;
    // Frees an exception that was thrown from the heap.
    void Delete();

protected:
    BOOL m_bAutoDelete = TRUE;
};

// A failed COM call: its result code.
class COleException : public CException {
public:
    SCODE m_sc = S_OK;
    static SCODE Process(const CException* pAnyException);
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

// A dispatch call the server answered with an exception (DISP_E_EXCEPTION): its source and description.
class COleDispatchException : public CException {
public:
    WORD m_wCode = 0;
    SCODE m_scError = S_OK;
    CString m_strSource;
    CString m_strDescription;
    CString m_strHelpFile;
    DWORD m_dwHelpContext = 0;
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, PUINT pnHelpContext = nullptr) const override;
};

[[noreturn]] void AFXAPI AfxThrowOleException(SCODE sc);
[[noreturn]] void AFXAPI AfxThrowOleDispatchException(WORD wCode, LPCTSTR lpszDescription, UINT nHelpID = 0);
// Starts COM for the program; TRUE on success.
BOOL AFXAPI AfxOleInit();

// The parameter lists of InvokeHelper and SetProperty: one VARTYPE byte per argument.
#define VTS_NONE ""
#define VTS_I2 "\x02"
#define VTS_I4 "\x03"
#define VTS_R8 "\x05"
#define VTS_BSTR "\x08"
#define VTS_DISPATCH "\x09"
#define VTS_SCODE "\x0A"
#define VTS_BOOL "\x0B"
#define VTS_VARIANT "\x0C"
#define VTS_UNKNOWN "\x0D"

// A VARIANT that frees what it holds.
class COleVariant : public tagVARIANT {
public:
    COleVariant();
    COleVariant(const VARIANT& varSrc);
    COleVariant(const COleVariant& varSrc);
    COleVariant(LPCTSTR lpszSrc);
    COleVariant(LPCTSTR lpszSrc, VARTYPE vtSrc);
    COleVariant(CString& strSrc);
    COleVariant(short nSrc, VARTYPE vtSrc = VT_I2);
    // vtSrc VT_I4, VT_ERROR (an omitted argument: DISP_E_PARAMNOTFOUND) or VT_BOOL.
    COleVariant(long lSrc, VARTYPE vtSrc = VT_I4);
    COleVariant(double dblSrc);
    ~COleVariant();

    const COleVariant& operator=(const VARIANT& varSrc);
    const COleVariant& operator=(const COleVariant& varSrc);
    const COleVariant& operator=(LPCTSTR lpszSrc);
    const COleVariant& operator=(long lSrc);

    void Clear();
    void Attach(VARIANT& varSrc);
    VARIANT Detach();
    operator LPVARIANT() { return this; }
    operator LPCVARIANT() const { return this; }
};

// Calls an IDispatch by dispatch id. Failed calls throw COleException* (a result code) or
// COleDispatchException* (the server's exception); the catcher deletes them with Delete().
class COleDispatchDriver {
public:
    COleDispatchDriver();
    COleDispatchDriver(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    COleDispatchDriver(const COleDispatchDriver& dispatchSrc);
    ~COleDispatchDriver();
    const COleDispatchDriver& operator=(const COleDispatchDriver& dispatchSrc);

    // A new object of the ProgID's class; FALSE (the result code in pError) when there is none.
    BOOL CreateDispatch(LPCTSTR lpszProgID, COleException* pError = nullptr);
    BOOL CreateDispatch(REFCLSID clsid, COleException* pError = nullptr);
    // Takes the interface (releasing the one held before); with bAutoRelease the driver releases it.
    void AttachDispatch(LPDISPATCH lpDispatch, BOOL bAutoRelease = TRUE);
    LPDISPATCH DetachDispatch();
    void ReleaseDispatch();

    // Calls the member: pbParamInfo has one VTS_ byte per argument that follows pvRet; the result goes
    // to pvRet as vtRet says (VT_BSTR: a CString*, VT_DISPATCH: an LPDISPATCH*, VT_BOOL: a BOOL*, ...).
    void AFX_CDECL InvokeHelper(
        DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, ...);
    void AFX_CDECL SetProperty(DISPID dwDispID, VARTYPE vtProp, ...);
    void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;
    void InvokeHelperV(
        DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const BYTE* pbParamInfo, va_list argList);

    operator LPDISPATCH() { return m_lpDispatch; }

    LPDISPATCH m_lpDispatch = nullptr;
    BOOL m_bAutoRelease = TRUE;
};
