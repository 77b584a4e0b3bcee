#pragma once

#include "CellValue.h"
#include "SharedStrings.h"
#include "TextPool.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace bank {

// A cell as kept in memory: sixteen bytes, the text itself in a pool. Row and column are 0-based.
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
    std::uint32_t text = 0; // SharedText, OwnText: the index in the pool
    double number = 0;      // the other kinds, as CellValue keeps them

    std::uint32_t position() const { return std::uint32_t{row} << 8 | column; }
};

// The cells of one worksheet, ordered by row and column; texts of cells that the workbook shares
// live in the workbook's pool, the others in the sheet's own.
class SheetData
{
public:
    SheetData(std::string name, std::vector<StoredCell> cells,
              std::shared_ptr<const SharedStrings> sharedTexts, TextPool ownTexts, int lastRow,
              int lastColumn);

    const std::string &name() const { return sheetName; }
    int lastRow() const { return usedRows; }
    int lastColumn() const { return usedColumns; }
    // Row and column 1-based and inside the grid.
    CellValue cell(int row, int column) const;
    bool isBlank(int row, int column) const;

private:
    // nullptr where no cell was stored.
    const StoredCell *find(int row, int column) const;

    std::string sheetName;
    std::vector<StoredCell> cells;
    std::shared_ptr<const SharedStrings> sharedTexts;
    TextPool ownTexts;
    int usedRows;
    int usedColumns;
};

} // namespace bank
