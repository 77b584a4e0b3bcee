#include "SheetReader.h"

#include "ErrorCodes.h"
#include "LittleEndian.h"

#include <algorithm>
#include <bit>

namespace workbook::xls {

namespace {

constexpr int rowCount = 65536;
constexpr int columnCount = 256;
// Days from 1 January 1900 to 1 January 1904, the start of the other date system.
constexpr double days1904 = 1462;

// A number packed in 30 bits: an integer or the high bits of a double, possibly scaled by 100.
double rkValue(std::uint32_t rk)
{
    const double value = (rk & 0x02) != 0 ? static_cast<double>(static_cast<std::int32_t>(rk) >> 2)
                                          : std::bit_cast<double>(std::uint64_t{rk & 0xFFFFFFFC} << 32);
    return (rk & 0x01) != 0 ? value / 100 : value;
}

bool isCellRecord(std::uint16_t type)
{
    switch (type) {
    case record::formula:
    case record::mulrk:
    case record::mulblank:
    case record::rstring:
    case record::labelsst:
    case record::blank:
    case record::number:
    case record::label:
    case record::boolerr:
    case record::rk:
        return true;
    default:
        return false;
    }
}

} // namespace

SheetReader::SheetReader(const Globals &globals, std::shared_ptr<const SharedStrings> sharedTexts,
                         const SheetEntry &entry)
    : globals(globals), site{Part::Sheet, entry.name},
      cells(entry.name, rowCount, columnCount, std::move(sharedTexts))
{}

Sheet SheetReader::read(RecordReader &records)
{
    const auto bof = records.next();
    if (!bof)
        site.fail();
    checkBeginning(*bof, substream::worksheet, site);
    // Embedded charts sit inside the sheet as substreams of their own.
    for (int depth = 1; depth > 0;) {
        const auto r = records.next();
        if (!r)
            site.fail();
        if (r->type == record::bof) {
            ++depth;
        } else if (r->type == record::endOfFile) {
            --depth;
        } else if (depth == 1) {
            readCellRecord(records, *r);
        }
    }
    if (awaitingText)
        site.fail();
    return std::move(cells).build();
}

void SheetReader::readCellRecord(RecordReader &records, const Record &r)
{
    if (r.type == record::string) {
        readFormulaText(records, r);
        return;
    }
    if (!isCellRecord(r.type))
        return;
    // A formula's text must come before the next cell.
    if (awaitingText)
        site.fail();
    RecordCursor in(r.data, site);
    switch (r.type) {
    case record::mulrk:
        readMultipleNumbers(in);
        return;
    case record::mulblank:
        readMultipleBlanks(in);
        return;
    default:
        break;
    }
    const Address at = readAddress(in);
    const std::uint16_t style = in.u16();
    switch (r.type) {
    case record::number:
        addNumber(at, style, in.f64());
        break;
    case record::rk:
        addNumber(at, style, rkValue(in.u32()));
        break;
    case record::labelsst:
        cells.addSharedText(at.row, at.column, in.u32());
        break;
    case record::label:
    case record::rstring:
        in.appendString(in.u16(), cells.pendingText());
        addOwnText(at);
        break;
    case record::boolerr: {
        const std::uint8_t value = in.u8();
        if (in.u8() != 0)
            addError(at, value);
        else
            cells.addBoolean(at.row, at.column, value != 0);
        break;
    }
    case record::formula:
        readFormula(in, at, style);
        break;
    default: // a blank cell only widens the used range
        cells.addBlank(at.row, at.column);
        break;
    }
}

SheetReader::Address SheetReader::readAddress(RecordCursor &in)
{
    const std::uint16_t row = in.u16();
    return place(row, in.u16());
}

SheetReader::Address SheetReader::place(std::uint16_t row, std::size_t column)
{
    if (column >= columnCount)
        site.fail();
    return {row + 1, static_cast<int>(column) + 1};
}

// The cached result is a number, or, marked by 0xFFFF in its top two bytes, a text, a boolean, an error
// or an empty text.
void SheetReader::readFormula(RecordCursor &in, Address at, std::uint16_t style)
{
    const auto result = in.take(8);
    if (readU16(result.data() + 6) != 0xFFFF) {
        addNumber(at, style, readF64(result.data()));
        return;
    }
    switch (result[0]) {
    case 0:
        awaitingText = at;
        break;
    case 1:
        cells.addBoolean(at.row, at.column, result[2] != 0);
        break;
    case 2:
        addError(at, result[2]);
        break;
    case 3:
        addOwnText(at);
        break;
    default:
        site.fail();
    }
}

// A STRING record that follows no text formula is left alone, as spreadsheet programs do.
void SheetReader::readFormulaText(RecordReader &records, const Record &r)
{
    if (!awaitingText)
        return;
    const std::size_t dataEnd = records.position();
    ContinuedRecord in(records.stream(), dataEnd - r.data.size(), dataEnd, site);
    const std::uint16_t length = in.u16();
    in.appendChars(length, (in.u8() & 0x01) != 0, cells.pendingText());
    records.seek(in.partEnd());
    addOwnText(*awaitingText);
    awaitingText.reset();
}

void SheetReader::readMultipleNumbers(RecordCursor &in)
{
    const std::uint16_t row = in.u16();
    const std::uint16_t first = in.u16();
    // Six bytes a cell, then the last column's number.
    if (in.remaining() < 2 || (in.remaining() - 2) % 6 != 0)
        site.fail();
    const std::size_t count = (in.remaining() - 2) / 6;
    for (std::size_t i = 0; i < count; ++i) {
        const Address at = place(row, first + i);
        const std::uint16_t style = in.u16();
        addNumber(at, style, rkValue(in.u32()));
    }
}

void SheetReader::readMultipleBlanks(RecordCursor &in)
{
    const std::uint16_t row = in.u16();
    const std::uint16_t first = in.u16();
    if (in.remaining() < 4 || in.remaining() % 2 != 0)
        site.fail();
    const Address last = place(row, first + (in.remaining() - 2) / 2 - 1);
    cells.addBlank(last.row, last.column);
}

void SheetReader::addNumber(Address at, std::uint16_t style, double value)
{
    if (globals.formats.showsDate(style))
        cells.addDate(at.row, at.column, globals.dates1904 ? value + days1904 : value);
    else
        cells.addNumber(at.row, at.column, value);
}

void SheetReader::addError(Address at, std::uint8_t code)
{
    if (errorCodeText(code).empty())
        site.fail();
    cells.addError(at.row, at.column, code);
}

} // namespace workbook::xls
