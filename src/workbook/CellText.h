#pragma once

#include "CellValue.h"

#include <string>
#include <string_view>

namespace workbook {

// How numbers and dates are written; the program takes these from QLocale, the tool from the C locale.
struct TextFormat
{
    std::string decimalSeparator = ".";
    // Qt-style date pattern: d, dd, M, MM, yy, yyyy; any other character is copied.
    std::string shortDatePattern = "dd.MM.yyyy";
};

// The text the program shows for a cell.
std::string cellText(const CellValue &value, const TextFormat &format);

// Spaces, tabs and line breaks: a text of these alone looks as empty on screen as no text at all.
constexpr bool isBlankCharacter(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n';
}

// Whether a UTF-8 text is empty or blank characters alone.
bool isBlankText(std::string_view text);

} // namespace workbook
