// The host's "Excel.Application" automation server: an in-memory spreadsheet program that saves and
// opens .xls files, whose installation and running instance tests and the runner decide.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace arxhost::ole {

// Horizontal alignment as the program's constants give it.
inline constexpr long kXlGeneral = 1;
inline constexpr long kXlLeft = -4131;
inline constexpr long kXlCenter = -4108;
inline constexpr long kXlRight = -4152;

struct ExcelSheet {
    std::wstring name;
    std::map<std::pair<int, int>, std::wstring> cells; // (row, column) from 1 -> text
    std::map<int, double> columnWidths; // column from 1 -> width in characters
    long align = kXlGeneral; // of every cell of the sheet
};

struct ExcelWorkbook {
    std::wstring name; // "Book1", or the file's name once saved or opened
    std::filesystem::path path; // empty until saved
    std::vector<ExcelSheet> sheets;
};

// One running program.
struct ExcelInstance {
    bool visible = false;
    bool userStarted = false; // the user started it (not an automation client)
    bool quit = false;
    long sheetsInNewWorkbook = 3;
    bool displayAlerts = true;
    long cutCopyMode = 0;
    int booksMade = 0; // for the names of new workbooks
    std::vector<std::shared_ptr<ExcelWorkbook>> workbooks;
    mutable std::wstring shownText; // what the command line last said of it
};

// Reads and writes workbook files; the default uses the host's .xls writer when the build has one.
struct ExcelStorage {
    std::function<bool(const ExcelWorkbook&, const std::filesystem::path&, std::string&)> save;
    std::function<bool(const std::filesystem::path&, ExcelWorkbook&, std::string&)> load;
};

class ExcelServer {
public:
    static ExcelServer& instance();

    // Whether the program is installed; when not, creating it fails with REGDB_E_CLASSNOTREG.
    void setInstalled(bool installed) { mInstalled = installed; }
    bool installed() const { return mInstalled; }

    // Starts the program as the user would: visible, running, with these workbooks open.
    std::shared_ptr<ExcelInstance> startByUser(std::vector<ExcelWorkbook> workbooks);
    // The running instance GetActiveObject finds: one the user started or made visible, not quit.
    std::shared_ptr<ExcelInstance> running() const;
    // Every instance started since the last reset, in order.
    const std::vector<std::shared_ptr<ExcelInstance>>& instances() const { return mInstances; }
    // Quits every instance, installs the program again and restores the default storage.
    void reset();

    void setStorage(ExcelStorage storage) { mStorage = std::move(storage); }
    static ExcelStorage defaultStorage();
    const ExcelStorage& storage() const { return mStorage; }

    // A new instance for an automation client.
    std::shared_ptr<ExcelInstance> start();
    // Prints what the user sees of the instance on the command line ("[Excel: a.xls, b.xls shown]").
    void show(const ExcelInstance& app) const;

private:
    ExcelServer();
    bool mInstalled = true;
    std::vector<std::shared_ptr<ExcelInstance>> mInstances;
    ExcelStorage mStorage;
};

// Width in characters of a text as AutoFit measures it: East Asian wide characters count two.
double excelTextWidth(const std::wstring& text);

} // namespace arxhost::ole
