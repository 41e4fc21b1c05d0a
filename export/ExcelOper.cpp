// The workbook export's driver of the spreadsheet program through OLE automation (late bound, by the
// program's dispatch ids).
#include "StdAfx.h"

#include "ExcelOper.h"

namespace {

// The program's dispatch ids.
enum : DISPID {
    kHorizontalAlignment = 0x88,
    kItem = 0xAA,
    kAdd = 0xB5,
    kAutoFit = 0xED,
    kCells = 0xEE,
    kEntireColumn = 0xF6,
    kClose = 0x115,
    kQuit = 0x12E,
    kCutCopyMode = 0x14A,
    kDisplayAlerts = 0x157,
    kWorksheets = 0x1EE,
    kVisible = 0x22E,
    kWorkbooks = 0x23C,
    kSheetsInNewWorkbook = 0x3E1,
    kOpen = 0x783,
    kSaveAs = 0x785,
};

constexpr UINT kMaxError = 255;

// An argument left to the program's default.
COleVariant Omitted()
{
    return COleVariant(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR);
}

} // namespace

CExcelOper::CExcelOper() = default;

CExcelOper::~CExcelOper()
{
    ReleaseAll();
}

template <class Calls> BOOL CExcelOper::Guarded(Calls&& calls)
{
    if (!m_bStarted)
        return 0;
    TCHAR message[kMaxError + 1] = {0};
    try {
        return calls() ? TRUE : FALSE;
    } catch (COleDispatchException* e) {
        e->GetErrorMessage(message, kMaxError);
        e->Delete();
    } catch (COleException* e) {
        e->GetErrorMessage(message, kMaxError);
        e->Delete();
    }
    m_strError = message;
    return 0;
}

void CExcelOper::ReleaseAll()
{
    m_sheet.ReleaseDispatch();
    m_sheets.ReleaseDispatch();
    m_book.ReleaseDispatch();
    m_books.ReleaseDispatch();
    m_app.ReleaseDispatch();
    m_pDisp = nullptr;
}

BOOL CExcelOper::StartExcel(BOOL bAttach)
{
    if (m_bStarted)
        return TRUE;
    CoInitialize(nullptr);
    m_strError.Empty();
    m_bAttached = FALSE;
    CLSID clsid {};
    BOOL created = SUCCEEDED(CLSIDFromProgID(_T("excel.application"), &clsid));
    if (created && bAttach) {
        IUnknown* pUnknown = nullptr;
        if (SUCCEEDED(GetActiveObject(clsid, nullptr, &pUnknown)) && pUnknown != nullptr) {
            if (SUCCEEDED(pUnknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&m_pDisp)))) {
                m_app.AttachDispatch(m_pDisp, TRUE);
                m_bAttached = TRUE;
            }
            pUnknown->Release();
        }
    }
    if (!m_bAttached)
        created = created && m_app.CreateDispatch(clsid);
    if (!created) {
        MessageBoxW(nullptr, L"没有安装Excel", L"提示", MB_OK);
        return 0;
    }
    m_bStarted = TRUE;
    const BOOL ready = Guarded([this] {
        if (m_bAttached) {
            // The user's instance keeps its window and its preference for new workbooks.
            m_app.GetProperty(kDisplayAlerts, VT_BOOL, &m_bUserAlerts);
        } else {
            m_app.SetProperty(kVisible, VT_BOOL, FALSE);
            m_app.SetProperty(kSheetsInNewWorkbook, VT_I4, m_nSheetsInNewBook);
        }
        m_app.SetProperty(kDisplayAlerts, VT_BOOL, FALSE);
        LPDISPATCH books = nullptr;
        m_app.GetProperty(kWorkbooks, VT_DISPATCH, &books);
        m_books.AttachDispatch(books, TRUE);
        return true;
    });
    if (!ready) {
        ReleaseAll();
        m_bStarted = FALSE;
    }
    return ready;
}

BOOL CExcelOper::NewWorkbook()
{
    if (!m_bStarted)
        return 0;
    const BOOL made = Guarded([this] {
        static BYTE parms[] = VTS_VARIANT;
        COleVariant noTemplate = Omitted();
        LPDISPATCH book = nullptr;
        m_books.InvokeHelper(kAdd, DISPATCH_METHOD, VT_DISPATCH, &book, parms, &noTemplate);
        m_book.AttachDispatch(book, TRUE);
        LPDISPATCH sheets = nullptr;
        m_book.GetProperty(kWorksheets, VT_DISPATCH, &sheets);
        m_sheets.AttachDispatch(sheets, TRUE);
        return true;
    });
    return made && SelectSheet(1);
}

BOOL CExcelOper::SelectSheet(long nIndex)
{
    return Guarded([this, nIndex] {
        if (m_sheets.m_lpDispatch == nullptr)
            return false;
        static BYTE parms[] = VTS_VARIANT;
        COleVariant index(nIndex);
        LPDISPATCH sheet = nullptr;
        m_sheets.InvokeHelper(kItem, DISPATCH_PROPERTYGET, VT_DISPATCH, &sheet, parms, &index);
        m_sheet.AttachDispatch(sheet, TRUE);
        return true;
    });
}

BOOL CExcelOper::SheetCells(COleDispatchDriver& range)
{
    if (m_sheet.m_lpDispatch == nullptr)
        return 0;
    LPDISPATCH cells = nullptr;
    m_sheet.GetProperty(kCells, VT_DISPATCH, &cells);
    range.AttachDispatch(cells, TRUE);
    return TRUE;
}

BOOL CExcelOper::SetHAlign(int nMode)
{
    long align = 0;
    switch (nMode) {
    case 0:
        align = 1; // general
        break;
    case 1:
        align = -4131; // left
        break;
    case 2:
        align = -4108; // centre
        break;
    case 3:
        align = -4152; // right
        break;
    default:
        return 0;
    }
    return Guarded([this, align] {
        COleDispatchDriver cells;
        if (!SheetCells(cells))
            return false;
        cells.SetProperty(kHorizontalAlignment, VT_I4, align);
        return true;
    });
}

BOOL CExcelOper::WriteRow(long nRow, const CStringArray& values)
{
    return Guarded([this, nRow, &values] {
        COleDispatchDriver cells;
        if (!SheetCells(cells))
            return false;
        static BYTE parms[] = VTS_VARIANT VTS_VARIANT VTS_VARIANT;
        const COleVariant row(nRow);
        for (INT_PTR i = 0; i < values.GetSize(); ++i) {
            const COleVariant column(static_cast<long>(i + 1));
            const COleVariant text(values.GetAt(i).GetString());
            cells.InvokeHelper(kItem, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, parms, &row, &column, &text);
        }
        return true;
    });
}

BOOL CExcelOper::AutoFitColumns()
{
    return Guarded([this] {
        COleDispatchDriver cells;
        if (!SheetCells(cells))
            return false;
        LPDISPATCH columns = nullptr;
        cells.GetProperty(kEntireColumn, VT_DISPATCH, &columns);
        COleDispatchDriver entire(columns, TRUE);
        entire.InvokeHelper(
            kAutoFit, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_NONE));
        return true;
    });
}

BOOL CExcelOper::SaveAs(LPCTSTR lpszPath)
{
    return Guarded([this, lpszPath] {
        if (m_book.m_lpDispatch == nullptr)
            return false;
        static BYTE parms[] = VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_I4
            VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT;
        const COleVariant file(lpszPath);
        const COleVariant no = Omitted();
        m_book.InvokeHelper(kSaveAs, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, &file, &no, &no, &no, &no,
            &no, 0L, &no, &no, &no, &no);
        return true;
    });
}

BOOL CExcelOper::OpenWorkbook(LPCTSTR lpszPath)
{
    return Guarded([this, lpszPath] {
        m_app.SetProperty(kVisible, VT_BOOL, TRUE);
        static BYTE parms[] = VTS_BSTR VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT
            VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT;
        const COleVariant no = Omitted();
        LPDISPATCH book = nullptr;
        m_books.InvokeHelper(kOpen, DISPATCH_METHOD, VT_DISPATCH, &book, parms, lpszPath, &no, &no, &no, &no,
            &no, &no, &no, &no, &no, &no, &no, &no);
        m_book.AttachDispatch(book, TRUE);
        return true;
    });
}

BOOL CExcelOper::Close()
{
    const BOOL closed = Guarded([this] {
        if (!m_bAttached)
            m_app.SetProperty(kCutCopyMode, VT_I4, 0L);
        if (m_book.m_lpDispatch != nullptr) {
            static BYTE parms[] = VTS_VARIANT VTS_VARIANT VTS_VARIANT;
            const COleVariant discard(static_cast<short>(0), VT_I2);
            const COleVariant no = Omitted();
            m_book.InvokeHelper(kClose, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, &discard, &no, &no);
        }
        if (m_bAttached) {
            m_app.SetProperty(kDisplayAlerts, VT_BOOL, m_bUserAlerts);
        } else {
            m_books.InvokeHelper(
                kClose, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_NONE));
            m_app.InvokeHelper(
                kQuit, DISPATCH_METHOD, VT_EMPTY, nullptr, reinterpret_cast<const BYTE*>(VTS_NONE));
        }
        return true;
    });
    if (m_bStarted) {
        ReleaseAll();
        m_bStarted = FALSE;
    }
    return closed;
}
