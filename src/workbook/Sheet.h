#pragma once

#include "CellValue.h"

#include <cstdint>
#include <memory>
#include <string>

namespace workbook {

class SheetData;
struct TextFormat;

// One worksheet of an open workbook. Rows and columns are 1-based.
class Sheet
{
public:
    explicit Sheet(std::shared_ptr<const SheetData> data);

    const std::string &name() const;
    // The last row and column that hold a cell (0 for an empty sheet), a formatted blank one included.
    int lastRow() const;
    int lastColumn() const;
    // The last row and column that hold a value: formatted blank cells may reach to the grid's end.
    int lastValueRow() const;
    int lastValueColumn() const;
    // Any cell of the format's grid (for .xls rows 1..65536, columns 1..256); outside the used range it is
    // empty. Outside the grid: BankError.
    CellValue cell(int row, int column) const;
    // Whether the cell shows nothing: it is empty, or a text of blank characters alone (isBlankText);
    // numbers, dates, booleans and errors always show something. Cheaper than cell(): the text is looked
    // at, not copied. Outside the grid: BankError.
    bool isBlank(int row, int column) const;
    // A hash of the cell's text as cellText gives it: equal texts hash equal. Cheaper than cell() for a text
    // that the workbook shares, which is hashed where it lies. Outside the grid: BankError.
    std::uint64_t textHash(int row, int column, const TextFormat &format) const;

private:
    void checkInGrid(int row, int column) const;

    std::shared_ptr<const SheetData> d;
};

} // namespace workbook
