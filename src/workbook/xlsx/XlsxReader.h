#pragma once

#include "Sheet.h"
#include "ZipArchive.h"

#include <vector>

namespace workbook::xlsx {

// The worksheets of an Office Open XML workbook (.xlsx), in the workbook's order. Throws ReadFailure.
std::vector<Sheet> readWorkbook(const ZipArchive &archive);

} // namespace workbook::xlsx
