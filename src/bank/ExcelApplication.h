#pragma once

#include "CellText.h"
#include "Workbook.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace bank {

// The programmatic identifier under which the program asks for its spreadsheet server.
inline constexpr std::string_view ExcelProgId = "Excel.Application";

// Tells whether a server is registered under a programmatic identifier.
using ServerRegistry = std::function<bool(std::string_view progId)>;

// The registry of this program: our own reader serves "Excel.Application" and nothing else.
bool readerRegistry(std::string_view progId);

// The spreadsheet server's operations, served by our own workbook reader. The open workbook and the sheet
// most recently found live here as `Workbook` and `Worksheet`; every failure is a BankError.
class ExcelApplication
{
public:
    // How often sheets were looked up and activated; showing a question must not repeat either needlessly.
    struct Calls
    {
        int sheetLookups = 0;
        int activations = 0;
    };

    explicit ExcelApplication(workbook::TextFormat format, ServerRegistry registry = readerRegistry);
    ~ExcelApplication();
    ExcelApplication(const ExcelApplication &) = delete;
    ExcelApplication &operator=(const ExcelApplication &) = delete;

    bool IsServerInstalled(std::string_view progId) const;
    void connect();
    bool isConnected() const { return connected; }
    // The server's one application setting that the program switches off right after connecting.
    void setDisplayAlerts(bool on) { alerts = on; }
    bool displayAlerts() const { return alerts; }
    void openWorkbook(const std::string &path);
    void findWorksheet(std::string_view name);
    void activateWorksheet();
    // The name of `Worksheet`; empty while no sheet has been found.
    std::string worksheetName() const;
    // The cell of `Worksheet` at a 1-based row and column, as the program's text.
    std::string readCell(int row, int column) const;
    // The sheet that `Worksheet` holds, for the counting of its questions.
    const workbook::Sheet &worksheet() const;
    // The name of the workbook's active sheet; empty until a sheet has been activated.
    const std::string &activeSheetName() const { return activeSheet; }
    // Ends the session: the workbook is closed and the sheets forgotten. Also done on destruction.
    void quit();

    const Calls &calls() const { return callCount; }

private:
    workbook::TextFormat format;
    ServerRegistry registry;
    bool connected = false;
    bool alerts = true;
    std::optional<workbook::Workbook> Workbook;
    std::optional<workbook::Sheet> Worksheet;
    std::string activeSheet;
    Calls callCount;
};

} // namespace bank
