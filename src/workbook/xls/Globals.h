#pragma once

#include "NumberFormats.h"
#include "ReadFailure.h"
#include "RecordReader.h"
#include "SharedStrings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace workbook::xls {

struct SheetEntry
{
    std::string name;
    // Stream position of the sheet's own records.
    std::uint32_t offset = 0;
};

// What the workbook-wide records at the start of the stream say.
struct Globals
{
    std::vector<SheetEntry> worksheets; // in the workbook's order; charts and macro sheets left out
    bool dates1904 = false;
    NumberFormats formats;
    std::vector<StringPlace> sharedStrings;
    std::size_t end = 0; // stream position after these records
};

namespace substream {
constexpr std::uint16_t globals = 0x0005;
constexpr std::uint16_t worksheet = 0x0010;
} // namespace substream

// Checks that a record opens a BIFF8 substream of the given type.
void checkBeginning(const Record &bof, std::uint16_t substreamType, DamageSite site);

// Reads the records from the start of the stream to the end of the workbook-wide part.
Globals readGlobals(RecordReader &records);

} // namespace workbook::xls
