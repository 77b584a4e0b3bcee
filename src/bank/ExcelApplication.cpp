#include "ExcelApplication.h"

#include "BankError.h"

#include <utility>

namespace bank {

bool readerRegistry(std::string_view progId)
{
    return progId == ExcelProgId;
}

ExcelApplication::ExcelApplication(workbook::TextFormat format, ServerRegistry registry)
    : format(std::move(format)), registry(std::move(registry))
{}

ExcelApplication::~ExcelApplication()
{
    if (connected)
        quit();
}

bool ExcelApplication::IsServerInstalled(std::string_view progId) const
{
    return registry(progId);
}

void ExcelApplication::connect()
{
    connected = true;
}

void ExcelApplication::openWorkbook(const std::string &path)
{
    Worksheet.reset();
    activeSheet.clear();
    Workbook = workbook::Workbook::open(path);
}

void ExcelApplication::findWorksheet(std::string_view name)
{
    ++callCount.sheetLookups;
    if (!Workbook)
        throw workbook::BankError("Книгу питань не відкрито, тож аркуша «" + std::string(name) +
                                  "» в ній немає");
    const workbook::Sheet *found = Workbook->findSheet(name);
    if (!found)
        throw workbook::BankError("У книзі питань немає аркуша «" + std::string(name) + "»");
    Worksheet = *found;
}

void ExcelApplication::activateWorksheet()
{
    ++callCount.activations;
    activeSheet = worksheet().name();
}

std::string ExcelApplication::worksheetName() const
{
    return Worksheet ? Worksheet->name() : std::string();
}

std::string ExcelApplication::readCell(int row, int column) const
{
    return workbook::cellText(worksheet().cell(row, column), format);
}

const workbook::Sheet &ExcelApplication::worksheet() const
{
    if (!Worksheet)
        throw workbook::BankError("Аркуш книги питань не вибрано");
    return *Worksheet;
}

void ExcelApplication::quit()
{
    connected = false;
    Worksheet.reset();
    Workbook.reset();
    activeSheet.clear();
}

} // namespace bank
