#pragma once

#include "CellValue.h"

#include <string>

namespace bank {

// How numbers and dates are written; the program takes these from QLocale, the tool from the C locale.
struct TextFormat
{
    std::string decimalSeparator = ".";
    // Qt-style date pattern: d, dd, M, MM, yy, yyyy; any other character is copied.
    std::string shortDatePattern = "dd.MM.yyyy";
};

// The text the program shows for a cell.
std::string cellText(const CellValue &value, const TextFormat &format);

} // namespace bank
