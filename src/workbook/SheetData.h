#pragma once

#include "CellText.h"
#include "CellValue.h"
#include "TextPool.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace workbook {

// Texts that a workbook shares between its cells, kept where the format's reader found them (the .xls
// reader leaves them in the file and converts one only when a cell asks).
class SharedTexts
{
public:
    virtual ~SharedTexts() = default;
    virtual std::size_t size() const = 0;
    virtual std::string text(std::size_t index) const = 0;
    // Whether the text is empty or blank characters alone.
    virtual bool isBlank(std::size_t index) const = 0;
    // The TextHasher value of the text as cellText gives it.
    virtual std::uint64_t textHash(std::size_t index) const = 0;
};

// A cell as kept in memory: eight bytes, its row told by where it lies, its text in a pool and its number
// in a list beside, since a question bank holds mostly texts. The column is 0-based.
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

    std::uint16_t column = 0;
    Kind kind = Kind::Number;
    // SharedText, OwnText: the index in the pool. Number, Date: the index in the sheet's numbers. Boolean:
    // 0 or 1. Error: the code.
    std::uint32_t value = 0;
};

// What SheetBuilder gathers: the cells ordered by row and column, where each row's cells begin, numbers and
// dates as CellValue keeps them, and the texts of the cells that the workbook does not share.
struct SheetContent
{
    std::vector<StoredCell> cells;
    // Indexed by the 0-based row, one past the last used row: rowStarts[r] to rowStarts[r + 1] are row r's
    // cells, so that a lookup searches a row, not the sheet.
    std::vector<std::uint32_t> rowStarts;
    std::vector<double> numbers;
    TextPool ownTexts;
};

// The size of a format's grid of cells.
struct Grid
{
    int rows;
    int columns;
};

// The cells of one worksheet.
class SheetData
{
public:
    SheetData(std::string name, Grid grid, SheetContent content,
              std::shared_ptr<const SharedTexts> sharedTexts, int lastColumn);

    const std::string &name() const { return sheetName; }
    Grid grid() const { return cellGrid; }
    int lastRow() const { return static_cast<int>(content.rowStarts.size()) - 1; }
    int lastColumn() const { return usedColumns; }
    int lastValueRow() const;
    int lastValueColumn() const;
    // Row and column 1-based and inside the grid.
    CellValue cell(int row, int column) const;
    bool isBlank(int row, int column) const;
    std::uint64_t textHash(int row, int column, const TextFormat &format) const;

private:
    // nullptr where no cell was stored.
    const StoredCell *find(int row, int column) const;

    std::string sheetName;
    Grid cellGrid;
    SheetContent content;
    std::shared_ptr<const SharedTexts> sharedTexts;
    int usedColumns;
};

} // namespace workbook
