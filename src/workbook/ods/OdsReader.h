#pragma once

#include "Sheet.h"
#include "ZipArchive.h"

#include <vector>

namespace workbook::ods {

// An OpenDocument spreadsheet (.ods): the tables of its content.xml, by their names, in document order.
// Throws ReadFailure.
std::vector<Sheet> readWorkbook(const ZipArchive &archive);

} // namespace workbook::ods
