#include "SheetBuilder.h"

#include "ErrorCodes.h"
#include "ReadFailure.h"

#include <algorithm>
#include <numeric>

namespace workbook {

SheetBuilder::SheetBuilder(std::string name, int gridRows, int gridColumns,
                           std::shared_ptr<const SharedTexts> sharedTexts)
    : name(std::move(name)), grid{gridRows, gridColumns}, sharedTexts(std::move(sharedTexts))
{
    content.rowStarts.push_back(0);
}

void SheetBuilder::addText(int row, int column, std::string_view utf8)
{
    pendingText().append(utf8);
    addPendingText(row, column);
}

void SheetBuilder::addPendingText(int row, int column)
{
    add(row, column, StoredCell::Kind::OwnText, content.ownTexts.endText());
}

void SheetBuilder::addNumber(int row, int column, double value)
{
    content.numbers.push_back(value);
    add(row, column, StoredCell::Kind::Number, static_cast<std::uint32_t>(content.numbers.size() - 1));
}

void SheetBuilder::addDate(int row, int column, double serial1900)
{
    content.numbers.push_back(serial1900);
    add(row, column, StoredCell::Kind::Date, static_cast<std::uint32_t>(content.numbers.size() - 1));
}

void SheetBuilder::addBoolean(int row, int column, bool value)
{
    add(row, column, StoredCell::Kind::Boolean, value ? 1 : 0);
}

void SheetBuilder::addError(int row, int column, std::uint8_t code)
{
    if (errorCodeText(code).empty())
        DamageSite{Part::Sheet, name}.fail();
    add(row, column, StoredCell::Kind::Error, code);
}

void SheetBuilder::addSharedText(int row, int column, std::uint32_t index)
{
    if (sharedTexts == nullptr || index >= sharedTexts->size())
        DamageSite{Part::Sheet, name}.fail();
    add(row, column, StoredCell::Kind::SharedText, index);
}

void SheetBuilder::addBlank(int row, int column)
{
    place(row, column);
}

void SheetBuilder::place(int row, int column)
{
    if (row < 1 || row > grid.rows || column < 1 || column > grid.columns)
        DamageSite{Part::Sheet, name}.fail();
    usedRows = std::max(usedRows, row);
    usedColumns = std::max(usedColumns, column);
}

void SheetBuilder::add(int row, int column, StoredCell::Kind kind, std::uint32_t value)
{
    place(row, column);
    const auto at = static_cast<std::uint32_t>(row - 1);
    const StoredCell cell{static_cast<std::uint16_t>(column - 1), kind, value};
    if (outOfOrder) {
        keepOutOfOrder(at, cell);
        return;
    }
    std::vector<std::uint32_t> &starts = content.rowStarts;
    std::vector<StoredCell> &cells = content.cells;
    const std::uint32_t currentRow = static_cast<std::uint32_t>(starts.size()) - 1;
    if (at > currentRow ||
        (at == currentRow && (cells.size() == starts.back() || cells.back().column < cell.column))) {
        starts.resize(at + std::size_t{1}, static_cast<std::uint32_t>(cells.size()));
        cells.push_back(cell);
    } else if (at == currentRow && cells.back().column == cell.column) {
        cells.back() = cell;
    } else {
        outOfOrder = true;
        rowOfCell.reserve(cells.size() + 1);
        for (std::uint32_t r = 0; r < currentRow; ++r)
            rowOfCell.insert(rowOfCell.end(), starts[r + 1] - starts[r], r);
        rowOfCell.resize(cells.size(), currentRow);
        keepOutOfOrder(at, cell);
    }
}

void SheetBuilder::keepOutOfOrder(std::uint32_t row, StoredCell cell)
{
    content.cells.push_back(cell);
    rowOfCell.push_back(row);
}

// Sorts by row and column; of cells at one place the last added stays.
void SheetBuilder::putInOrder()
{
    std::vector<StoredCell> &cells = content.cells;
    std::vector<std::uint32_t> order(cells.size());
    std::iota(order.begin(), order.end(), std::uint32_t{0});
    const auto place = [&](std::uint32_t i) {
        return std::uint64_t{rowOfCell[i]} << 16 | cells[i].column;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return place(a) < place(b); });
    std::vector<StoredCell> sorted;
    std::vector<std::uint32_t> starts(static_cast<std::size_t>(usedRows) + 1, 0);
    sorted.reserve(cells.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k + 1 < order.size() && place(order[k]) == place(order[k + 1]))
            continue;
        sorted.push_back(cells[order[k]]);
        ++starts[rowOfCell[order[k]] + std::size_t{1}];
    }
    std::partial_sum(starts.begin(), starts.end(), starts.begin());
    cells = std::move(sorted);
    content.rowStarts = std::move(starts);
    rowOfCell = {};
}

Sheet SheetBuilder::build() &&
{
    if (outOfOrder)
        putInOrder();
    content.rowStarts.resize(static_cast<std::size_t>(usedRows) + 1,
                             static_cast<std::uint32_t>(content.cells.size()));
    return Sheet(std::make_shared<const SheetData>(std::move(name), grid, std::move(content),
                                                   std::move(sharedTexts), usedColumns));
}

} // namespace workbook
