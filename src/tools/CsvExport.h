#pragma once

#include "CellText.h"
#include "Workbook.h"

#include <ostream>
#include <string>
#include <string_view>

namespace tools {

// One CSV field: quoted, with its quotes doubled, when it holds a comma, a quote, CR or LF.
std::string csvField(std::string_view text);

// Rows 1 to lastValueRow, columns 1 to lastValueColumn, every cell as the program reads it; comma-separated,
// each line ended by CRLF.
void writeCsv(std::ostream &out, const workbook::Sheet &sheet, const workbook::TextFormat &format);

} // namespace tools
