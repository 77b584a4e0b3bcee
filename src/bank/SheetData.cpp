#include "SheetData.h"

#include "CellText.h"

#include <algorithm>

namespace bank {

SheetData::SheetData(std::string name, std::vector<StoredCell> cells,
                     std::shared_ptr<const SharedStrings> sharedTexts, TextPool ownTexts, int lastRow,
                     int lastColumn)
    : sheetName(std::move(name)), cells(std::move(cells)), sharedTexts(std::move(sharedTexts)),
      ownTexts(std::move(ownTexts)), usedRows(lastRow), usedColumns(lastColumn)
{}

const StoredCell *SheetData::find(int row, int column) const
{
    const std::uint32_t position =
        static_cast<std::uint32_t>(row - 1) << 8 | static_cast<std::uint32_t>(column - 1);
    const auto found =
        std::lower_bound(cells.begin(), cells.end(), position,
                         [](const StoredCell &c, std::uint32_t p) { return c.position() < p; });
    return found == cells.end() || found->position() != position ? nullptr : &*found;
}

CellValue SheetData::cell(int row, int column) const
{
    const StoredCell *found = find(row, column);
    if (found == nullptr)
        return {};
    switch (found->kind) {
    case StoredCell::Kind::Number:
        return {CellValue::Kind::Number, found->number, {}};
    case StoredCell::Kind::Date:
        return {CellValue::Kind::Date, found->number, {}};
    case StoredCell::Kind::Boolean:
        return {CellValue::Kind::Boolean, found->number, {}};
    case StoredCell::Kind::Error:
        return {CellValue::Kind::Error, found->number, {}};
    case StoredCell::Kind::SharedText:
        return {CellValue::Kind::Text, 0, sharedTexts->text(found->text)};
    case StoredCell::Kind::OwnText:
        return {CellValue::Kind::Text, 0, std::string(ownTexts.text(found->text))};
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
        return sharedTexts->isBlank(found->text);
    case StoredCell::Kind::OwnText:
        return isBlankText(ownTexts.text(found->text));
    default:
        return false;
    }
}

} // namespace bank
