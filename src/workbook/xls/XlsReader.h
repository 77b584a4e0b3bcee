#pragma once

#include "FileBytes.h"
#include "Sheet.h"

#include <memory>
#include <vector>

namespace workbook::xls {

// The sheets of an Excel 97-2003 workbook (a Compound File holding a BIFF8 stream). The sheets keep the
// file's bytes: the shared strings are read from them when a cell asks. Throws ReadFailure.
std::vector<Sheet> readWorkbook(const std::shared_ptr<const FileBytes> &file);

} // namespace workbook::xls
