#pragma once

#include "Sheet.h"

#include <cstdint>
#include <span>
#include <vector>

namespace workbook::ods {

// An OpenDocument spreadsheet (.ods): the tables of its content.xml, by their names, in document order.
// Throws ReadFailure.
std::vector<Sheet> readWorkbook(std::span<const std::uint8_t> bytes);

} // namespace workbook::ods
