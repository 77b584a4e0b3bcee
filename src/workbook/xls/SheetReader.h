#pragma once

#include "Globals.h"
#include "RecordCursor.h"
#include "SheetBuilder.h"

#include <memory>
#include <optional>

namespace workbook::xls {

// Reads one worksheet's records into its cells and the extent of its used range.
class SheetReader
{
public:
    SheetReader(const Globals &globals, std::shared_ptr<const SharedStrings> sharedTexts,
                const SheetEntry &entry);

    // The sheet's records start at the reader's position; the reader is left after their end.
    Sheet read(RecordReader &records);

private:
    // 1-based, inside the grid.
    struct Address
    {
        int row;
        int column;
    };

    void readCellRecord(RecordReader &records, const Record &r);
    Address readAddress(RecordCursor &in);
    Address place(std::uint16_t row, std::size_t column);
    void readFormula(RecordCursor &in, Address at, std::uint16_t style);
    void readFormulaText(RecordReader &records, const Record &r);
    void readMultipleNumbers(RecordCursor &in);
    void readMultipleBlanks(RecordCursor &in);
    void addNumber(Address at, std::uint16_t style, double value);
    void addError(Address at, std::uint8_t code);
    void addOwnText(Address at) { cells.addPendingText(at.row, at.column); }

    const Globals &globals;
    DamageSite site;
    SheetBuilder cells;
    // A formula whose text result comes in the STRING record that follows it.
    std::optional<Address> awaitingText;
};

} // namespace workbook::xls
