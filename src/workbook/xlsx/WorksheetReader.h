#pragma once

#include "NumberFormats.h"
#include "Sheet.h"
#include "SharedStrings.h"

#include <memory>
#include <string>

namespace workbook {
class ZipArchive;
}

namespace workbook::xlsx {

// What every sheet of a workbook reads its cells with.
struct WorkbookContext
{
    std::shared_ptr<const SharedStrings> sharedStrings;
    NumberFormats numberFormats;
    bool dateSystem1904 = false;
};

// The Office Open XML grid.
constexpr int gridRows = 1048576;
constexpr int gridColumns = 16384;

// Reads the cells of the worksheet part; a cell that cannot be read damages the sheet.
Sheet readWorksheet(const ZipArchive &archive, const std::string &part, std::string sheetName,
                    const WorkbookContext &context);

} // namespace workbook::xlsx
