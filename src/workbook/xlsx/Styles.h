#pragma once

#include "NumberFormats.h"

#include <string>

namespace workbook {
class ZipArchive;
}

namespace workbook::xlsx {

// The number formats of the cell styles (<cellXfs>), numbered in their order, as a cell's s names them.
NumberFormats readStyles(const ZipArchive &archive, const std::string &part);

} // namespace workbook::xlsx
