// The workbook export's driver of the spreadsheet program: starts or attaches to "Excel.Application",
// fills one new workbook row by row, saves it, and shows or closes it.
#pragma once

#include "StdAfx.h"

#include <afxdisp.h>

class CExcelOper {
public:
    CExcelOper();
    // Releases the interfaces held; the program itself is left as the last call left it.
    ~CExcelOper();
    CExcelOper(const CExcelOper&) = delete;
    CExcelOper& operator=(const CExcelOper&) = delete;

    // With bAttach the running instance is used when there is one, else a new hidden one is started
    // ("没有安装Excel" when it cannot be). 1 when started.
    BOOL StartExcel(BOOL bAttach);
    // A new workbook with its first sheet selected.
    BOOL NewWorkbook();
    // Selects the sheet by its number (from 1).
    BOOL SelectSheet(long nIndex);
    // The alignment of every cell of the sheet: 0 general, 1 left, 2 centre, 3 right; other modes 0.
    BOOL SetHAlign(int nMode);
    // The texts into the row (from 1), from the first column on.
    BOOL WriteRow(long nRow, const CStringArray& values);
    // Every used column as wide as its longest text.
    BOOL AutoFitColumns();
    // Saves the workbook to the file (AccessMode 0, the rest left to the program).
    BOOL SaveAs(LPCTSTR lpszPath);
    // Shows the program with the file opened in it; the user takes it over from here.
    BOOL OpenWorkbook(LPCTSTR lpszPath);
    // Discards the export's workbook and, when the export started the program, quits it. An instance
    // the export attached to is the user's: its other workbooks stay open and it keeps running.
    BOOL Close();

    COleDispatchDriver m_app;
    COleDispatchDriver m_books;
    COleDispatchDriver m_book;
    COleDispatchDriver m_sheets;
    COleDispatchDriver m_sheet;
    long m_nSheetsInNewBook = 3;
    LPDISPATCH m_pDisp = nullptr; // the running instance's interface while attaching; m_app owns it
    BOOL m_bStarted = FALSE;
    BOOL m_bAttached = FALSE; // m_app is an instance the user was running already
    BOOL m_bUserAlerts = TRUE; // its DisplayAlerts, given back at Close
    CString m_strError; // the last failure's message, at most 255 characters

private:
    // Runs the calls; a failed one leaves its message in m_strError and gives 0.
    template <class Calls> BOOL Guarded(Calls&& calls);
    // The sheet's range of all cells into range; 0 without a sheet.
    BOOL SheetCells(COleDispatchDriver& range);
    void ReleaseAll();
};
