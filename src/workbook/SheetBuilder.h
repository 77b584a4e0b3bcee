#pragma once

#include "Sheet.h"
#include "SheetData.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace workbook {

// Collects one sheet's cells in any order; build() puts them in order. Rows and columns are 1-based and
// inside the format's grid (the reader checks; a cell outside it is Damaged). An empty cell is never added;
// a later add at the same place replaces the earlier. Writers keep their cells in order as a rule, and such
// a sheet is built as it comes, at eight bytes a cell.
class SheetBuilder
{
public:
    SheetBuilder(std::string name, int gridRows, int gridColumns,
                 std::shared_ptr<const SharedTexts> sharedTexts = nullptr);

    void addText(int row, int column, std::string_view utf8);
    void addNumber(int row, int column, double value);
    // The serial day number in the 1900 date system; the reader converts a 1904 workbook's.
    void addDate(int row, int column, double serial1900);
    void addBoolean(int row, int column, bool value);
    // The BIFF code, see ErrorCodes.h.
    void addError(int row, int column, std::uint8_t code);
    // A text of the workbook's shared texts, by its index there.
    void addSharedText(int row, int column, std::uint32_t index);
    // A cell that holds nothing yet counts in the used range, as a formatted blank cell of Excel does.
    void addBlank(int row, int column);
    // For a reader that decodes a text straight into the sheet: append to pendingText(), then place it.
    std::string &pendingText() { return content.ownTexts.tail(); }
    void addPendingText(int row, int column);

    Sheet build() &&;

private:
    void add(int row, int column, StoredCell::Kind kind, std::uint32_t value);
    void place(int row, int column);
    void keepOutOfOrder(std::uint32_t row, StoredCell cell);
    void putInOrder();

    std::string name;
    Grid grid;
    std::shared_ptr<const SharedTexts> sharedTexts;
    SheetContent content;
    int usedRows = 0;
    int usedColumns = 0;
    // Set once a cell came before one already added: from then on every cell's row is kept beside it and
    // build() sorts.
    bool outOfOrder = false;
    std::vector<std::uint32_t> rowOfCell;
};

} // namespace workbook
