#pragma once

#include "Sheet.h"

#include <cstdint>
#include <span>
#include <vector>

namespace workbook::xlsx {

// The worksheets of an Office Open XML workbook (.xlsx), in the workbook's order. Throws ReadFailure.
std::vector<Sheet> readWorkbook(std::span<const std::uint8_t> bytes);

} // namespace workbook::xlsx
