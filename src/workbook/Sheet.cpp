#include "Sheet.h"

#include "BankError.h"
#include "SheetData.h"

namespace workbook {

Sheet::Sheet(std::shared_ptr<const SheetData> data) : d(std::move(data)) {}

const std::string &Sheet::name() const
{
    return d->name();
}

int Sheet::lastRow() const
{
    return d->lastRow();
}

int Sheet::lastColumn() const
{
    return d->lastColumn();
}

int Sheet::lastValueRow() const
{
    return d->lastValueRow();
}

int Sheet::lastValueColumn() const
{
    return d->lastValueColumn();
}

void Sheet::checkInGrid(int row, int column) const
{
    const Grid grid = d->grid();
    if (row < 1 || row > grid.rows || column < 1 || column > grid.columns)
        throw BankError("На аркуші «" + d->name() + "» немає клітинки в рядку " + std::to_string(row) +
                        ", стовпці " + std::to_string(column) + ": аркуш має рядки від 1 до " +
                        std::to_string(grid.rows) + " і стовпці від 1 до " + std::to_string(grid.columns) +
                        ".");
}

CellValue Sheet::cell(int row, int column) const
{
    checkInGrid(row, column);
    return d->cell(row, column);
}

bool Sheet::isBlank(int row, int column) const
{
    checkInGrid(row, column);
    return d->isBlank(row, column);
}

std::uint64_t Sheet::textHash(int row, int column, const TextFormat &format) const
{
    checkInGrid(row, column);
    return d->textHash(row, column, format);
}

} // namespace workbook
