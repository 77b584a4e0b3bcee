// Any bytes must either open as a workbook whose cells all read, or give a BankError: never a crash,
// a hang or a memory blow-up.
#include "BankError.h"
#include "CellText.h"
#include "Workbook.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// A damaged file may claim a used range of 65536 x 256 cells on each of many sheets; reading them all
// would only make each run slow, not find more faults.
constexpr long cellsPerInput = 1L << 20;

void readAllCells(const workbook::Workbook &workbook)
{
    const workbook::TextFormat format{",", "d.M.yy"};
    long budget = cellsPerInput;
    for (const workbook::Sheet &sheet : workbook.sheets()) {
        for (int row = 1; row <= sheet.lastRow() && budget > 0; ++row) {
            for (int column = 1; column <= sheet.lastColumn() && budget > 0; ++column, --budget) {
                workbook::cellText(sheet.cell(row, column), format);
                sheet.isBlank(row, column);
                sheet.textHash(row, column, format);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    try {
        readAllCells(workbook::Workbook::fromBytes({reinterpret_cast<const char *>(data), size}, "fuzz.xls"));
    } catch (const workbook::BankError &) {
    }
    return 0;
}
