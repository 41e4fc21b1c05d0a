// "Excel.Application": the application, its workbooks, worksheets and ranges as automation objects over
// an in-memory model, registered with the host's COM.
#include "ole/ExcelServer.h"

#include <algorithm>

#include "arxhost/Session.h"
#include "editor/Transcript.h"
#include "ole/ComRegistry.h"
#include "ole/DispatchObject.h"
#include "text/Utf8.h"
#ifdef ARXHOST_WITH_XLS
#include "excel/XlsWorkbook.h"
#endif

namespace arxhost::ole {

namespace {

// The program's class id (the platform's registered value) and its members' dispatch ids.
constexpr CLSID kExcelClsid = {0x00024500, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
enum : DISPID {
    kValue = 0x06,
    kName = 0x6E,
    kCount = 0x76,
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
    kVisible = 0x22E,
    kWorkbooks = 0x23C,
    kWorksheets = 0x1EE,
    kSheetsInNewWorkbook = 0x3E1,
    kOpen = 0x783,
    kSaveAs = 0x785,
};
// The program's own error for a failed method or property ("Application-defined or object-defined").
constexpr HRESULT kExcelError = static_cast<HRESULT>(0x800A03ECu);
constexpr int kMaxRows = 65536; // what a BIFF8 sheet holds
constexpr int kMaxColumns = 256;

[[noreturn]] void notFound()
{
    throw DispatchError {DISP_E_MEMBERNOTFOUND, {}};
}
[[noreturn]] void fail(const std::wstring& description)
{
    throw DispatchError {kExcelError, description};
}

std::wstring widen(const std::string& text)
{
    return arxhost::fromUtf8(text);
}

// Paths are kept in UTF-8, as everywhere in the host.
std::filesystem::path pathOf(const std::wstring& fileName)
{
    return std::filesystem::path(arxhost::toUtf8(fileName));
}
std::wstring nameOf(const std::filesystem::path& file)
{
    return widen(file.filename().string());
}

template <class T, class... Args> IDispatch* make(Args&&... args)
{
    return new T(std::forward<Args>(args)...); // the variant's VT_DISPATCH owns the first reference
}

// What every object of one instance shares: the instance, which a Quit disconnects.
class ExcelObject : public DispatchObject {
public:
    explicit ExcelObject(std::shared_ptr<ExcelInstance> app)
        : mApp(std::move(app))
    {
    }

protected:
    ExcelInstance& app()
    {
        if (mApp->quit)
            throw DispatchError {RPC_E_DISCONNECTED, {}};
        return *mApp;
    }
    std::shared_ptr<ExcelInstance> appPtr() const { return mApp; }
    std::wstring source() const override { return L"Microsoft Excel"; }
    void shown() { ExcelServer::instance().show(*mApp); }

private:
    std::shared_ptr<ExcelInstance> mApp;
};

// An object of one workbook; calls fail once the workbook was closed.
class BookObject : public ExcelObject {
public:
    BookObject(std::shared_ptr<ExcelInstance> app, std::shared_ptr<ExcelWorkbook> book)
        : ExcelObject(std::move(app))
        , mBook(std::move(book))
    {
    }

protected:
    ExcelWorkbook& book()
    {
        const auto& books = app().workbooks;
        if (std::find(books.begin(), books.end(), mBook) == books.end())
            fail(L"Object has been deleted.");
        return *mBook;
    }
    std::shared_ptr<ExcelWorkbook> bookPtr() const { return mBook; }

private:
    std::shared_ptr<ExcelWorkbook> mBook;
};

class RangeObject : public BookObject {
public:
    enum class Kind { AllCells, EntireColumns, Cell };
    RangeObject(std::shared_ptr<ExcelInstance> app, std::shared_ptr<ExcelWorkbook> book, std::size_t sheet,
        Kind kind, std::pair<int, int> cell = {0, 0})
        : BookObject(std::move(app), std::move(book))
        , mSheet(sheet)
        , mKind(kind)
        , mCell(cell)
    {
    }

protected:
    void invoke(DISPID id, const DispatchCall& call, VARIANT& result) override
    {
        ExcelSheet& s = sheet();
        switch (id) {
        case kItem: {
            if (mKind != Kind::AllCells)
                notFound();
            const long row = call.longArg(0);
            const long column = call.longArg(1);
            if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
                fail(L"Application-defined or object-defined error");
            const std::pair<int, int> at {static_cast<int>(row), static_cast<int>(column)};
            if (call.isPut()) {
                if (call.putValue() == nullptr)
                    throw DispatchError {DISP_E_PARAMNOTOPTIONAL, {}};
                put(s, at, *call.putValue());
            } else if (call.isGet()) {
                setDispatch(result, make<RangeObject>(appPtr(), bookPtr(), mSheet, Kind::Cell, at));
            } else {
                notFound();
            }
            return;
        }
        case kValue: {
            if (mKind != Kind::Cell)
                notFound();
            if (call.isPut() && call.putValue() != nullptr) {
                put(s, mCell, *call.putValue());
            } else if (call.isGet()) {
                const auto found = s.cells.find(mCell);
                if (found != s.cells.end())
                    setText(result, found->second);
            } else {
                notFound();
            }
            return;
        }
        case kHorizontalAlignment:
            if (mKind == Kind::Cell)
                notFound(); // alignment is kept per sheet here
            if (call.isPut()) {
                const long align = call.putValue() != nullptr ? DispatchCall::toLong(*call.putValue()) : 0;
                if (align != kXlGeneral && align != kXlLeft && align != kXlCenter && align != kXlRight)
                    fail(L"Unable to set the HorizontalAlignment property of the Range class");
                s.align = align;
            } else if (call.isGet()) {
                setLong(result, s.align);
            } else {
                notFound();
            }
            return;
        case kEntireColumn:
            if (!call.isGet() || mKind == Kind::Cell)
                notFound();
            setDispatch(result, make<RangeObject>(appPtr(), bookPtr(), mSheet, Kind::EntireColumns));
            return;
        case kAutoFit:
            if (!call.isMethod())
                notFound();
            if (mKind != Kind::EntireColumns)
                fail(L"AutoFit method of Range class failed");
            autoFit(s);
            setBool(result, true);
            return;
        default:
            notFound();
        }
    }

private:
    ExcelSheet& sheet()
    {
        ExcelWorkbook& b = book();
        if (mSheet >= b.sheets.size())
            fail(L"Object has been deleted.");
        return b.sheets[mSheet];
    }

    static void put(ExcelSheet& s, std::pair<int, int> at, const VARIANT& value)
    {
        const std::wstring text = value.vt == VT_EMPTY ? std::wstring() : DispatchCall::toText(value);
        if (text.empty())
            s.cells.erase(at);
        else
            s.cells[at] = text;
    }

    // Every column with text gets the width of its longest text; empty columns keep theirs.
    static void autoFit(ExcelSheet& s)
    {
        std::map<int, double> widths;
        for (const auto& [at, text] : s.cells)
            widths[at.second] = std::max(widths[at.second], excelTextWidth(text));
        for (const auto& [column, width] : widths)
            s.columnWidths[column] = width;
    }

    std::size_t mSheet;
    Kind mKind;
    std::pair<int, int> mCell;
};

class WorksheetObject : public BookObject {
public:
    WorksheetObject(
        std::shared_ptr<ExcelInstance> app, std::shared_ptr<ExcelWorkbook> book, std::size_t sheet)
        : BookObject(std::move(app), std::move(book))
        , mSheet(sheet)
    {
    }

protected:
    void invoke(DISPID id, const DispatchCall& call, VARIANT& result) override
    {
        ExcelWorkbook& b = book();
        if (!call.isGet() || mSheet >= b.sheets.size())
            notFound();
        if (id == kCells)
            setDispatch(result, make<RangeObject>(appPtr(), bookPtr(), mSheet, RangeObject::Kind::AllCells));
        else if (id == kName)
            setText(result, b.sheets[mSheet].name);
        else
            notFound();
    }

private:
    std::size_t mSheet;
};

class WorksheetsObject : public BookObject {
public:
    using BookObject::BookObject;

protected:
    void invoke(DISPID id, const DispatchCall& call, VARIANT& result) override
    {
        ExcelWorkbook& b = book();
        if (id == kCount && call.isGet()) {
            setLong(result, static_cast<long>(b.sheets.size()));
            return;
        }
        if (id != kItem || !(call.isGet() || call.isMethod()))
            notFound();
        const VARIANT* index = call.arg(0);
        if (index == nullptr)
            throw DispatchError {DISP_E_PARAMNOTOPTIONAL, {}};
        std::size_t found = b.sheets.size();
        if (index->vt == VT_BSTR) {
            const std::wstring name = DispatchCall::toText(*index);
            for (std::size_t i = 0; i < b.sheets.size(); ++i)
                if (b.sheets[i].name == name)
                    found = i;
        } else {
            const long n = DispatchCall::toLong(*index);
            if (n >= 1 && static_cast<std::size_t>(n) <= b.sheets.size())
                found = static_cast<std::size_t>(n - 1);
        }
        if (found == b.sheets.size())
            throw DispatchError {DISP_E_BADINDEX, {}};
        setDispatch(result, make<WorksheetObject>(appPtr(), bookPtr(), found));
    }
};

class WorkbookObject : public BookObject {
public:
    using BookObject::BookObject;

protected:
    void invoke(DISPID id, const DispatchCall& call, VARIANT& result) override
    {
        ExcelWorkbook& b = book();
        switch (id) {
        case kWorksheets:
            if (!call.isGet())
                notFound();
            setDispatch(result, make<WorksheetsObject>(appPtr(), bookPtr()));
            return;
        case kName:
            if (!call.isGet())
                notFound();
            setText(result, b.name);
            return;
        case kSaveAs:
            if (!call.isMethod())
                notFound();
            saveAs(b, call.textArg(0));
            return;
        case kClose: {
            if (!call.isMethod())
                notFound();
            // SaveChanges true saves (to Filename when the workbook has no file yet); false discards.
            const std::optional<long> saveChanges = call.optionalLong(0);
            if (saveChanges && *saveChanges != 0) {
                const VARIANT* name = call.arg(1);
                if (name != nullptr)
                    saveAs(b, DispatchCall::toText(*name));
                else if (!b.path.empty())
                    saveAs(b, widen(b.path.string()));
                else
                    fail(L"Close method of Workbook class failed");
            }
            auto& books = app().workbooks;
            books.erase(std::find(books.begin(), books.end(), bookPtr()));
            shown();
            return;
        }
        default:
            notFound();
        }
    }

private:
    void saveAs(ExcelWorkbook& b, const std::wstring& fileName)
    {
        const std::filesystem::path file = pathOf(fileName);
        std::string error;
        const ExcelStorage& storage = ExcelServer::instance().storage();
        if (!storage.save || !storage.save(b, file, error))
            fail(L"Cannot save '" + fileName + L"': " + widen(error));
        b.path = file;
        b.name = nameOf(file);
        shown();
    }
};

class WorkbooksObject : public ExcelObject {
public:
    using ExcelObject::ExcelObject;

protected:
    void invoke(DISPID id, const DispatchCall& call, VARIANT& result) override
    {
        ExcelInstance& a = app();
        switch (id) {
        case kCount:
            if (!call.isGet())
                notFound();
            setLong(result, static_cast<long>(a.workbooks.size()));
            return;
        case kAdd: {
            if (!call.isMethod())
                notFound();
            auto book = std::make_shared<ExcelWorkbook>();
            book->name = L"Book" + std::to_wstring(++a.booksMade);
            for (long i = 1; i <= a.sheetsInNewWorkbook; ++i)
                book->sheets.push_back(ExcelSheet {L"Sheet" + std::to_wstring(i), {}, {}, kXlGeneral});
            a.workbooks.push_back(book);
            shown();
            setDispatch(result, make<WorkbookObject>(appPtr(), book));
            return;
        }
        case kOpen: {
            if (!call.isMethod())
                notFound();
            const std::wstring fileName = call.textArg(0);
            const std::filesystem::path file = pathOf(fileName);
            // A workbook already open from that file is only activated.
            for (const auto& open : a.workbooks)
                if (!open->path.empty() && open->path.lexically_normal() == file.lexically_normal()) {
                    setDispatch(result, make<WorkbookObject>(appPtr(), open));
                    return;
                }
            auto book = std::make_shared<ExcelWorkbook>();
            std::string error;
            const ExcelStorage& storage = ExcelServer::instance().storage();
            if (!storage.load || !storage.load(file, *book, error))
                fail(L"Cannot open '" + fileName + L"': " + widen(error));
            book->path = file;
            book->name = nameOf(file);
            a.workbooks.push_back(book);
            shown();
            setDispatch(result, make<WorkbookObject>(appPtr(), book));
            return;
        }
        case kClose:
            if (!call.isMethod())
                notFound();
            a.workbooks.clear(); // unsaved changes are discarded: nobody here answers the prompt
            shown();
            return;
        default:
            notFound();
        }
    }
};

class ApplicationObject : public ExcelObject {
public:
    using ExcelObject::ExcelObject;

protected:
    void invoke(DISPID id, const DispatchCall& call, VARIANT& result) override
    {
        ExcelInstance& a = app();
        switch (id) {
        case kWorkbooks:
            if (!call.isGet())
                notFound();
            setDispatch(result, make<WorkbooksObject>(appPtr()));
            return;
        case kVisible:
            flag(call, result, a.visible);
            if (call.isPut())
                shown();
            return;
        case kDisplayAlerts:
            flag(call, result, a.displayAlerts);
            return;
        case kSheetsInNewWorkbook:
            if (call.isPut()) {
                const long n = call.putValue() != nullptr ? DispatchCall::toLong(*call.putValue()) : 0;
                if (n < 1 || n > 255)
                    fail(L"Unable to set the SheetsInNewWorkbook property of the Application class");
                a.sheetsInNewWorkbook = n;
            } else if (call.isGet()) {
                setLong(result, a.sheetsInNewWorkbook);
            } else {
                notFound();
            }
            return;
        case kCutCopyMode:
            if (call.isPut())
                a.cutCopyMode = call.putValue() != nullptr ? DispatchCall::toLong(*call.putValue()) : 0;
            else if (call.isGet())
                setLong(result, a.cutCopyMode);
            else
                notFound();
            return;
        case kQuit:
            if (!call.isMethod())
                notFound();
            a.workbooks.clear();
            a.visible = false;
            shown();
            a.quit = true;
            return;
        default:
            notFound();
        }
    }

private:
    static void flag(const DispatchCall& call, VARIANT& result, bool& value)
    {
        if (call.isPut()) {
            if (call.putValue() == nullptr)
                throw DispatchError {DISP_E_PARAMNOTOPTIONAL, {}};
            value = DispatchCall::toLong(*call.putValue()) != 0;
        } else if (call.isGet()) {
            setBool(result, value);
        } else {
            notFound();
        }
    }
};

HRESULT handOut(IDispatch* object, REFIID riid, void** out)
{
    const HRESULT hr = object->QueryInterface(riid, out);
    object->Release();
    return hr;
}

struct Registration {
    Registration()
    {
        registerComClass(ComClass {L"Excel.Application", kExcelClsid,
            [](REFIID riid, void** out) -> HRESULT {
                ExcelServer& server = ExcelServer::instance();
                if (!server.installed())
                    return REGDB_E_CLASSNOTREG;
                return handOut(new ApplicationObject(server.start()), riid, out);
            },
            [](IUnknown** out) -> HRESULT {
                ExcelServer& server = ExcelServer::instance();
                std::shared_ptr<ExcelInstance> app = server.installed() ? server.running() : nullptr;
                if (!app)
                    return MK_E_UNAVAILABLE;
                return handOut(new ApplicationObject(app), IID_IUnknown, reinterpret_cast<void**>(out));
            }});
    }
};
const Registration kRegistration;

bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3)
        || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60)
        || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

} // namespace

double excelTextWidth(const std::wstring& text)
{
    double width = 0;
    for (wchar_t c : text)
        width += isWide(static_cast<char32_t>(c)) ? 2 : 1;
    return width;
}

ExcelServer::ExcelServer()
    : mStorage(defaultStorage())
{
}

ExcelServer& ExcelServer::instance()
{
    static ExcelServer server;
    return server;
}

std::shared_ptr<ExcelInstance> ExcelServer::start()
{
    auto app = std::make_shared<ExcelInstance>();
    mInstances.push_back(app);
    return app;
}

std::shared_ptr<ExcelInstance> ExcelServer::startByUser(std::vector<ExcelWorkbook> workbooks)
{
    std::shared_ptr<ExcelInstance> app = start();
    app->userStarted = true;
    app->visible = true;
    for (ExcelWorkbook& book : workbooks)
        app->workbooks.push_back(std::make_shared<ExcelWorkbook>(std::move(book)));
    app->booksMade = static_cast<int>(app->workbooks.size());
    return app;
}

std::shared_ptr<ExcelInstance> ExcelServer::running() const
{
    for (const auto& app : mInstances)
        if (!app->quit && (app->userStarted || app->visible))
            return app;
    return nullptr;
}

void ExcelServer::reset()
{
    for (const auto& app : mInstances) {
        app->quit = true;
        app->workbooks.clear();
    }
    mInstances.clear();
    mInstalled = true;
    mStorage = defaultStorage();
}

void ExcelServer::show(const ExcelInstance& app) const
{
    std::wstring text;
    if (app.visible) {
        std::wstring names;
        for (const auto& book : app.workbooks)
            names += (names.empty() ? L"" : L", ") + book->name;
        text = L"[Excel: " + (names.empty() ? std::wstring(L"no workbook") : names) + L" shown]";
    } else if (!app.shownText.empty() && app.shownText != L"[Excel hidden]") {
        text = L"[Excel hidden]";
    }
    if (text.empty() || text == app.shownText)
        return;
    app.shownText = text;
    if (Session* session = Session::currentOrNull())
        session->transcript().write(L"\n" + text);
}

ExcelStorage ExcelServer::defaultStorage()
{
#ifdef ARXHOST_WITH_XLS
    ExcelStorage storage;
    storage.save = [](const ExcelWorkbook& book, const std::filesystem::path& file, std::string& error) {
        excel::Workbook out;
        for (const ExcelSheet& sheet : book.sheets) {
            excel::Sheet s;
            s.name = sheet.name;
            s.cells = sheet.cells;
            s.columnWidths = sheet.columnWidths;
            s.align = sheet.align == kXlLeft ? excel::HAlign::Left
                : sheet.align == kXlCenter   ? excel::HAlign::Centre
                : sheet.align == kXlRight    ? excel::HAlign::Right
                                             : excel::HAlign::General;
            out.sheets.push_back(std::move(s));
        }
        return excel::writeXls(out, file, error);
    };
    storage.load = [](const std::filesystem::path& file, ExcelWorkbook& book, std::string& error) {
        std::optional<excel::Workbook> in = excel::readXls(file, error);
        if (!in)
            return false;
        for (const excel::Sheet& s : in->sheets) {
            const long align = s.align == excel::HAlign::Left ? kXlLeft
                : s.align == excel::HAlign::Centre            ? kXlCenter
                : s.align == excel::HAlign::Right             ? kXlRight
                                                              : kXlGeneral;
            book.sheets.push_back(ExcelSheet {s.name, s.cells, s.columnWidths, align});
        }
        return true;
    };
    return storage;
#else
    const auto missing = [](std::string& error) {
        error = "this build has no .xls writer";
        return false;
    };
    return ExcelStorage {[missing](const ExcelWorkbook&, const std::filesystem::path&, std::string& error) {
                             return missing(error);
                         },
        [missing](
            const std::filesystem::path&, ExcelWorkbook&, std::string& error) { return missing(error); }};
#endif
}

} // namespace arxhost::ole
