#include "SheetData.h"

#include "TextHasher.h"

#include <algorithm>

namespace workbook {

SheetData::SheetData(std::string name, Grid grid, SheetContent content,
                     std::shared_ptr<const SharedTexts> sharedTexts, int lastColumn)
    : sheetName(std::move(name)), cellGrid(grid), content(std::move(content)),
      sharedTexts(std::move(sharedTexts)), usedColumns(lastColumn)
{}

const StoredCell *SheetData::find(int row, int column) const
{
    if (row > lastRow())
        return nullptr;
    const auto first = content.cells.begin() + content.rowStarts[row - 1];
    const auto last = content.cells.begin() + content.rowStarts[row];
    const auto found = std::lower_bound(first, last, column - 1,
                                        [](const StoredCell &c, int wanted) { return c.column < wanted; });
    return found == last || found->column != column - 1 ? nullptr : &*found;
}

int SheetData::lastValueRow() const
{
    int row = lastRow();
    while (row > 0 && content.rowStarts[row - 1] == content.rowStarts[row])
        --row;
    return row;
}

int SheetData::lastValueColumn() const
{
    const auto widest = std::ranges::max_element(content.cells, {}, &StoredCell::column);
    return widest == content.cells.end() ? 0 : widest->column + 1;
}

CellValue SheetData::cell(int row, int column) const
{
    const StoredCell *found = find(row, column);
    if (found == nullptr)
        return {};
    switch (found->kind) {
    case StoredCell::Kind::Number:
        return {CellValue::Kind::Number, content.numbers[found->value], {}};
    case StoredCell::Kind::Date:
        return {CellValue::Kind::Date, content.numbers[found->value], {}};
    case StoredCell::Kind::Boolean:
        return {CellValue::Kind::Boolean, static_cast<double>(found->value), {}};
    case StoredCell::Kind::Error:
        return {CellValue::Kind::Error, static_cast<double>(found->value), {}};
    case StoredCell::Kind::SharedText:
        return {CellValue::Kind::Text, 0, sharedTexts->text(found->value)};
    case StoredCell::Kind::OwnText:
        return {CellValue::Kind::Text, 0, std::string(content.ownTexts.text(found->value))};
    }
    return {};
}

bool SheetData::isBlank(int row, int column) const
{
    const StoredCell *found = find(row, column);
    if (found == nullptr)
        return true;
    switch (found->kind) {
    case StoredCell::Kind::SharedText:
        return sharedTexts->isBlank(found->value);
    case StoredCell::Kind::OwnText:
        return isBlankText(content.ownTexts.text(found->value));
    default:
        return false;
    }
}

std::uint64_t SheetData::textHash(int row, int column, const TextFormat &format) const
{
    const StoredCell *found = find(row, column);
    if (found != nullptr && found->kind == StoredCell::Kind::SharedText)
        return sharedTexts->textHash(found->value);
    TextHasher hasher;
    hasher.appendUtf8(cellText(cell(row, column), format));
    return hasher.value();
}

} // namespace workbook
