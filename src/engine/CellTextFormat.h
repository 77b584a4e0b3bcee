#pragma once

#include "CellText.h"

class QLocale;

namespace vesk3 {

// How the program writes numbers and dates read from the workbook: as the user's locale does.
workbook::TextFormat cellTextFormat(const QLocale &locale);

} // namespace vesk3
