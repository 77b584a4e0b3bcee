#pragma once

#include "CellText.h"

#include <string>
#include <string_view>

namespace tools {

// The Qt-style date pattern of CellText for a strftime date format such as "%d.%m.%Y". That pattern knows
// only numbers, so month names become month numbers and other conversions (weekday names, ...) are left out.
std::string datePatternFromStrftime(std::string_view strftimeFormat);

// Decimal separator and short date format of the C library's current locale (set with setlocale).
workbook::TextFormat textFormatFromCLocale();

} // namespace tools
