// The host's "Excel.Application" through the dispatch driver: the application's settings, workbooks and
// sheets, cells, alignment and AutoFit, saving and opening, closing and quitting, the ids it does not
// know, whether it is installed and running, and what the command line shows of it.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <sstream>

#include "afxdisp.h"
#include "arxhost/Session.h"
#include "editor/Transcript.h"
#include "ole/ExcelServer.h"
#include "text/Utf8.h"

namespace {

using arxhost::ole::ExcelServer;
using arxhost::ole::ExcelWorkbook;

// The program's own error for a failed method or property.
std::filesystem::path fs(const std::wstring& name)
{
    return std::filesystem::path(arxhost::toUtf8(name));
}

HRESULT kExcelError()
{
    return static_cast<HRESULT>(0x800A03ECu);
}

const BYTE* none()
{
    return reinterpret_cast<const BYTE*>(VTS_NONE);
}

// A driver for the object a property gives.
COleDispatchDriver child(COleDispatchDriver& parent, DISPID id)
{
    LPDISPATCH object = nullptr;
    parent.GetProperty(id, VT_DISPATCH, &object);
    return COleDispatchDriver(object, TRUE);
}

COleDispatchDriver call(COleDispatchDriver& parent, DISPID id)
{
    LPDISPATCH object = nullptr;
    static BYTE parms[] = VTS_VARIANT;
    const COleVariant omitted(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR);
    parent.InvokeHelper(id, DISPATCH_METHOD, VT_DISPATCH, &object, parms, &omitted);
    return COleDispatchDriver(object, TRUE);
}

SCODE failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (COleDispatchException* e) {
        const SCODE sc = e->m_scError;
        e->Delete();
        return sc;
    } catch (COleException* e) {
        const SCODE sc = e->m_sc;
        e->Delete();
        return sc;
    }
    return S_OK;
}

class ExcelServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        ExcelServer::instance().reset();
        // Files live in this map; a save fails while failSaves is set.
        ExcelServer::instance().setStorage(arxhost::ole::ExcelStorage {
            [this](const ExcelWorkbook& saved, const std::filesystem::path& file, std::string& error) {
                if (failSaves) {
                    error = "disk full";
                    return false;
                }
                files[file] = saved;
                return true;
            },
            [this](const std::filesystem::path& file, ExcelWorkbook& read, std::string& error) {
                const auto found = files.find(file);
                if (found == files.end()) {
                    error = "no such file";
                    return false;
                }
                read = found->second;
                return true;
            }});
    }
    void TearDown() override
    {
        ExcelServer::instance().reset();
        CoUninitialize();
    }

    // A new instance with one new workbook; its first sheet's cells.
    void startWithBook()
    {
        ASSERT_TRUE(app.CreateDispatch(L"Excel.Application"));
        books = child(app, 0x23C);
        book = call(books, 0xB5);
        sheets = child(book, 0x1EE);
        static BYTE parms[] = VTS_VARIANT;
        const COleVariant first(1L);
        LPDISPATCH sheet = nullptr;
        sheets.InvokeHelper(0xAA, DISPATCH_PROPERTYGET, VT_DISPATCH, &sheet, parms, &first);
        cells = child(*std::make_unique<COleDispatchDriver>(sheet, TRUE), 0xEE);
    }
    void put(long row, long column, const wchar_t* text)
    {
        static BYTE parms[] = VTS_VARIANT VTS_VARIANT VTS_VARIANT;
        const COleVariant r(row), c(column), t(text);
        cells.InvokeHelper(0xAA, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, parms, &r, &c, &t);
    }
    void saveAs(const wchar_t* file)
    {
        static BYTE parms[] = VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_VARIANT VTS_I4;
        const COleVariant name(file), no(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR);
        book.InvokeHelper(
            0x785, DISPATCH_METHOD, VT_EMPTY, nullptr, parms, &name, &no, &no, &no, &no, &no, 0L);
    }
    arxhost::ole::ExcelInstance& instance() { return *ExcelServer::instance().instances().back(); }
    arxhost::ole::ExcelSheet& firstSheet() { return instance().workbooks.front()->sheets.front(); }

    std::map<std::filesystem::path, ExcelWorkbook> files;
    bool failSaves = false;
    COleDispatchDriver app, books, book, sheets, cells;
};

TEST_F(ExcelServerTest, NewInstanceIsHiddenAndTakesItsSettings)
{
    ASSERT_TRUE(app.CreateDispatch(L"excel.application"));
    BOOL visible = TRUE;
    app.GetProperty(0x22E, VT_BOOL, &visible);
    EXPECT_FALSE(visible);
    app.SetProperty(0x3E1, VT_I4, 2L);
    app.SetProperty(0x157, VT_BOOL, FALSE);
    app.SetProperty(0x14A, VT_I4, 0L);
    long sheetsInNew = 0;
    app.GetProperty(0x3E1, VT_I4, &sheetsInNew);
    EXPECT_EQ(2, sheetsInNew);
    BOOL alerts = TRUE;
    app.GetProperty(0x157, VT_BOOL, &alerts);
    EXPECT_FALSE(alerts);
    EXPECT_EQ(kExcelError(), failureOf([&] { app.SetProperty(0x3E1, VT_I4, 0L); }));

    books = child(app, 0x23C);
    book = call(books, 0xB5);
    sheets = child(book, 0x1EE);
    long count = 0;
    sheets.GetProperty(0x76, VT_I4, &count);
    EXPECT_EQ(2, count);
    CString name;
    book.GetProperty(0x6E, VT_BSTR, &name);
    EXPECT_EQ(CString(L"Book1"), name);
    static BYTE parms[] = VTS_VARIANT;
    const struct {
        COleVariant index;
        HRESULT expected;
    } items[] = {{COleVariant(2L), S_OK}, {COleVariant(3L), DISP_E_BADINDEX}, {COleVariant(L"Sheet2"), S_OK},
        {COleVariant(L"Sheet9"), DISP_E_BADINDEX}};
    for (const auto& item : items) {
        LPDISPATCH sheet = nullptr;
        EXPECT_EQ(item.expected, failureOf([&] {
            sheets.InvokeHelper(0xAA, DISPATCH_PROPERTYGET, VT_DISPATCH, &sheet, parms, &item.index);
        }));
        if (sheet != nullptr)
            sheet->Release();
    }
    EXPECT_FALSE(ExcelServer::instance().running()); // hidden and started by a client: not the user's
}

TEST_F(ExcelServerTest, CellsAlignmentAndAutoFit)
{
    startWithBook();
    put(1, 1, L"序号");
    put(1, 2, L"标注文字");
    put(2, 2, L"Q15.00 long text");
    put(3, 4, L"x");
    EXPECT_EQ(4u, firstSheet().cells.size());
    put(3, 4, L""); // an empty text clears the cell
    EXPECT_EQ(3u, firstSheet().cells.size());
    EXPECT_EQ(L"标注文字", firstSheet().cells.at({1, 2}));
    EXPECT_EQ(kExcelError(), failureOf([&] { put(0, 1, L"row 0"); }));

    for (long align : {-4131L, -4108L, -4152L, 1L}) {
        cells.SetProperty(0x88, VT_I4, align);
        EXPECT_EQ(align, firstSheet().align);
    }
    EXPECT_EQ(kExcelError(), failureOf([&] { cells.SetProperty(0x88, VT_I4, 0L); }));
    EXPECT_EQ(1, firstSheet().align);

    // AutoFit works on whole columns: the longest text, wide characters counting two.
    EXPECT_EQ(kExcelError(),
        failureOf([&] { cells.InvokeHelper(0xED, DISPATCH_METHOD, VT_EMPTY, nullptr, none()); }));
    COleDispatchDriver columns = child(cells, 0xF6);
    columns.InvokeHelper(0xED, DISPATCH_METHOD, VT_EMPTY, nullptr, none());
    EXPECT_EQ((std::map<int, double> {{1, 4.0}, {2, 16.0}}), firstSheet().columnWidths);
}

TEST_F(ExcelServerTest, UnknownIdsAndWrongKindsOfCallAreMembersNotFound)
{
    startWithBook();
    COleDispatchDriver* objects[] = {&app, &books, &book, &sheets, &cells};
    for (COleDispatchDriver* object : objects) {
        EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
            failureOf([&] { object->InvokeHelper(0x7777, DISPATCH_METHOD, VT_EMPTY, nullptr, none()); }));
        EXPECT_EQ(DISP_E_MEMBERNOTFOUND, failureOf([&] { object->SetProperty(0x12E, VT_I4, 1L); }));
    }
    // Quit is a method, Workbooks a property only.
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND,
        failureOf([&] { app.InvokeHelper(0x23C, DISPATCH_METHOD, VT_EMPTY, nullptr, none()); }));
}

TEST_F(ExcelServerTest, SaveAsOpenAndClose)
{
    startWithBook();
    put(1, 1, L"导出");
    saveAs(L"out/road_圆切角检测.xls");
    ASSERT_EQ(1u, files.count(fs(L"out/road_圆切角检测.xls")));
    EXPECT_EQ(L"导出", files.begin()->second.sheets.front().cells.at({1, 1}));
    CString name;
    book.GetProperty(0x6E, VT_BSTR, &name);
    EXPECT_EQ(CString(L"road_圆切角检测.xls"), name);

    failSaves = true;
    try {
        saveAs(L"out/second.xls");
        ADD_FAILURE() << "no exception";
    } catch (COleDispatchException* e) {
        EXPECT_NE(-1, e->m_strDescription.Find(L"disk full"));
        e->Delete();
    }

    // Opening the file that is open only activates it; another one is read.
    static BYTE open[] = VTS_BSTR VTS_VARIANT;
    const COleVariant no(static_cast<long>(DISP_E_PARAMNOTFOUND), VT_ERROR);
    LPDISPATCH again = nullptr;
    books.InvokeHelper(0x783, DISPATCH_METHOD, VT_DISPATCH, &again, open, L"out/road_圆切角检测.xls", &no);
    COleDispatchDriver againDriver(again, TRUE);
    EXPECT_EQ(1u, instance().workbooks.size());
    files[fs(L"other.xls")] = ExcelWorkbook {L"", {}, {{L"数据", {{{2, 3}, L"v"}}, {}, -4108}}};
    LPDISPATCH other = nullptr;
    books.InvokeHelper(0x783, DISPATCH_METHOD, VT_DISPATCH, &other, open, L"other.xls", &no);
    COleDispatchDriver otherDriver(other, TRUE);
    ASSERT_EQ(2u, instance().workbooks.size());
    EXPECT_EQ(L"other.xls", instance().workbooks.back()->name);
    EXPECT_EQ(L"v", instance().workbooks.back()->sheets.front().cells.at({2, 3}));
    EXPECT_NE(S_OK, failureOf([&] {
        LPDISPATCH missing = nullptr;
        books.InvokeHelper(0x783, DISPATCH_METHOD, VT_DISPATCH, &missing, open, L"missing.xls", &no);
    }));

    // Close(SaveChanges false) discards the workbook; its objects then fail.
    static BYTE closeParms[] = VTS_VARIANT;
    const COleVariant discard(static_cast<short>(0), VT_I2);
    otherDriver.InvokeHelper(0x115, DISPATCH_METHOD, VT_EMPTY, nullptr, closeParms, &discard);
    EXPECT_EQ(1u, instance().workbooks.size());
    EXPECT_NE(S_OK, failureOf([&] {
        CString n;
        otherDriver.GetProperty(0x6E, VT_BSTR, &n);
    }));
    books.InvokeHelper(0x115, DISPATCH_METHOD, VT_EMPTY, nullptr, none());
    EXPECT_TRUE(instance().workbooks.empty());

    app.InvokeHelper(0x12E, DISPATCH_METHOD, VT_EMPTY, nullptr, none());
    EXPECT_TRUE(instance().quit);
    EXPECT_EQ(RPC_E_DISCONNECTED, failureOf([&] {
        BOOL v;
        app.GetProperty(0x22E, VT_BOOL, &v);
    }));
}

TEST_F(ExcelServerTest, InstalledAndRunningDecideCreationAndAttachment)
{
    CLSID clsid {};
    ASSERT_EQ(S_OK, CLSIDFromProgID(L"Excel.Application", &clsid));
    IUnknown* unknown = nullptr;
    EXPECT_EQ(MK_E_UNAVAILABLE, GetActiveObject(clsid, nullptr, &unknown));

    ExcelServer::instance().setInstalled(false);
    COleException error;
    EXPECT_FALSE(app.CreateDispatch(L"Excel.Application", &error));
    EXPECT_EQ(REGDB_E_CLASSNOTREG, error.m_sc);
    ExcelServer::instance().setInstalled(true);

    auto users = ExcelServer::instance().startByUser({ExcelWorkbook {L"预算.xls", fs(L"预算.xls"), {}}});
    ASSERT_EQ(S_OK, GetActiveObject(clsid, nullptr, &unknown));
    LPDISPATCH dispatch = nullptr;
    ASSERT_EQ(S_OK, unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
    unknown->Release();
    COleDispatchDriver attached(dispatch, TRUE);
    COleDispatchDriver userBooks = child(attached, 0x23C);
    long count = 0;
    userBooks.GetProperty(0x76, VT_I4, &count);
    EXPECT_EQ(1, count);
    attached.InvokeHelper(0x12E, DISPATCH_METHOD, VT_EMPTY, nullptr, none());
    EXPECT_EQ(MK_E_UNAVAILABLE, GetActiveObject(clsid, nullptr, &unknown));

    // A client's instance made visible is the user's from then on.
    ASSERT_TRUE(app.CreateDispatch(L"Excel.Application"));
    app.SetProperty(0x22E, VT_BOOL, TRUE);
    EXPECT_EQ(ExcelServer::instance().instances().back(), ExcelServer::instance().running());
}

TEST_F(ExcelServerTest, TheCommandLineShowsAVisibleInstanceAndItsWorkbooks)
{
    std::ostringstream out;
    arxhost::SessionOptions options;
    options.transcript = &out;
    arxhost::Session session(options);
    startWithBook();
    saveAs(L"dir/road_圆切角检测.xls");
    EXPECT_EQ(std::wstring::npos, session.transcript().text().find(L"[Excel")); // hidden so far
    app.SetProperty(0x22E, VT_BOOL, TRUE);
    app.SetProperty(0x22E, VT_BOOL, TRUE); // no change, nothing new
    call(books, 0xB5);
    app.InvokeHelper(0x12E, DISPATCH_METHOD, VT_EMPTY, nullptr, none());
    EXPECT_EQ(
        L"[Excel: road_圆切角检测.xls shown]\n[Excel: road_圆切角检测.xls, Book2 shown]\n[Excel hidden]",
        session.transcript().text().substr(session.transcript().text().find(L"[Excel")));
}

#ifdef PLANROAD_WITH_XLS
TEST_F(ExcelServerTest, DefaultStorageWritesAndReadsRealWorkbooks)
{
    ExcelServer::instance().setStorage(ExcelServer::defaultStorage());
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "planroad-ole-xls";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::wstring file = arxhost::fromUtf8((dir / fs(L"检测.xls")).string());
    startWithBook();
    put(1, 1, L"序号");
    put(2, 1, L"1");
    cells.SetProperty(0x88, VT_I4, -4108L);
    child(cells, 0xF6).InvokeHelper(0xED, DISPATCH_METHOD, VT_EMPTY, nullptr, none());
    saveAs(file.c_str());
    ASSERT_TRUE(std::filesystem::exists(dir / fs(L"检测.xls")));

    static BYTE open[] = VTS_BSTR;
    books.InvokeHelper(0x115, DISPATCH_METHOD, VT_EMPTY, nullptr, none());
    LPDISPATCH opened = nullptr;
    books.InvokeHelper(0x783, DISPATCH_METHOD, VT_DISPATCH, &opened, open, file.c_str());
    COleDispatchDriver openedDriver(opened, TRUE);
    const arxhost::ole::ExcelSheet& sheet = firstSheet();
    EXPECT_EQ(L"序号", sheet.cells.at({1, 1}));
    EXPECT_EQ(L"1", sheet.cells.at({2, 1}));
    EXPECT_EQ(-4108, sheet.align);
    EXPECT_NEAR(4.0, sheet.columnWidths.at(1), 0.5);
    std::filesystem::remove_all(dir);
}
#endif

} // namespace
