#pragma once

#include "CellText.h"
#include "CellValue.h"
#include "SharedStrings.h"
#include "TextPool.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace bank {

// A cell as kept in memory: eight bytes, its text in a pool and its number in a list beside, since a
// question bank holds mostly texts. Row and column are 0-based.
struct StoredCell
{
    enum class Kind : std::uint8_t
    {
        Number,
        Date,
        Boolean,
        Error,
        SharedText,
        OwnText
    };

    std::uint16_t row = 0;
    std::uint8_t column = 0;
    Kind kind = Kind::Number;
    // SharedText, OwnText: the index in the pool. Number, Date: the index in the sheet's numbers. Boolean:
    // 0 or 1. Error: the code.
    std::uint32_t value = 0;

    std::uint32_t position() const { return std::uint32_t{row} << 8 | column; }
};

// What SheetReader gathers: the cells ordered by row and column, numbers and dates as CellValue keeps
// them, and the texts of the cells that the workbook does not share.
struct SheetContent
{
    std::vector<StoredCell> cells;
    std::vector<double> numbers;
    TextPool ownTexts;
};

// The cells of one worksheet; texts of cells that the workbook shares live in the workbook's pool, the
// others in the sheet's own.
class SheetData
{
public:
    SheetData(std::string name, SheetContent content, std::shared_ptr<const SharedStrings> sharedTexts,
              int lastRow, int lastColumn);

    const std::string &name() const { return sheetName; }
    int lastRow() const { return usedRows; }
    int lastColumn() const { return usedColumns; }
    // Row and column 1-based and inside the grid.
    CellValue cell(int row, int column) const;
    bool isBlank(int row, int column) const;
    std::uint64_t textHash(int row, int column, const TextFormat &format) const;

private:
    // nullptr where no cell was stored.
    const StoredCell *find(int row, int column) const;

    std::string sheetName;
    SheetContent content;
    std::shared_ptr<const SharedStrings> sharedTexts;
    int usedRows;
    int usedColumns;
    // Where each row's cells begin, and one past the last row's end: a lookup searches a row, not the sheet.
    std::vector<std::uint32_t> rowStarts;
};

} // namespace bank
