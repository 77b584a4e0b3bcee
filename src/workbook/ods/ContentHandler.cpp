#include "ods/ContentHandler.h"

#include "ReadFailure.h"
#include "SchemaValues.h"

#include <algorithm>
#include <charconv>

namespace workbook::ods {

namespace {

constexpr std::string_view officeNs = "urn:oasis:names:tc:opendocument:xmlns:office:1.0";
constexpr std::string_view tableNs = "urn:oasis:names:tc:opendocument:xmlns:table:1.0";
constexpr std::string_view textNs = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";
constexpr std::string_view drawNs = "urn:oasis:names:tc:opendocument:xmlns:drawing:1.0";
constexpr std::string_view calcextNs = "urn:org:documentfoundation:names:experimental:calc:xmlns:calcext:1.0";

// What a stored cell costs besides its text, a little above what the sheet keeps for it.
constexpr std::uint64_t cellCost = 16;

constexpr std::string_view contentPart = "content.xml";

bool is(XmlName name, std::string_view uri, std::string_view local)
{
    return name.uri == uri && name.local == local;
}

// A repeat count, at most limit (anything more reaches past the grid). One when absent or unreadable.
std::int64_t repeatCount(const XmlAttributes &attributes, XmlName name, std::int64_t limit)
{
    const auto text = attributes.value(name);
    std::uint64_t count = 0;
    if (!text || std::from_chars(text->data(), text->data() + text->size(), count).ec != std::errc{} ||
        count == 0)
        return 1;
    return static_cast<std::int64_t>(std::min<std::uint64_t>(count, static_cast<std::uint64_t>(limit)));
}

// The value of a typed cell from its attributes; false when it has none that can be read, and the
// paragraphs then stand for it.
bool readTypedValue(std::string_view type, const XmlAttributes &attributes, CellValue &cell)
{
    const auto attribute = [&](std::string_view local) {
        return attributes.value({officeNs, local});
    };
    const auto set = [&](CellValue::Kind kind, auto value) {
        if (!value)
            return false;
        cell.kind = kind;
        cell.number = static_cast<double>(*value);
        return true;
    };
    if (type == "float" || type == "percentage" || type == "currency")
        return set(CellValue::Kind::Number, decimalValue(attribute("value").value_or("")));
    if (type == "date")
        return set(CellValue::Kind::Date, dateSerial(attribute("date-value").value_or("")));
    if (type == "time")
        return set(CellValue::Kind::Date, durationDays(attribute("time-value").value_or("")));
    if (type == "boolean")
        return set(CellValue::Kind::Boolean, booleanValue(attribute("boolean-value").value_or("")));
    if (type == "string") {
        const auto text = attribute("string-value");
        if (!text)
            return false;
        cell.kind = CellValue::Kind::Text;
        cell.text = *text;
        return true;
    }
    return false;
}

void addCell(SheetBuilder &sheet, int row, int column, const CellValue &cell)
{
    switch (cell.kind) {
    case CellValue::Kind::Text:
        sheet.addText(row, column, cell.text);
        break;
    case CellValue::Kind::Number:
        sheet.addNumber(row, column, cell.number);
        break;
    case CellValue::Kind::Date:
        sheet.addDate(row, column, cell.number);
        break;
    case CellValue::Kind::Boolean:
        sheet.addBoolean(row, column, cell.number != 0);
        break;
    case CellValue::Kind::Error:
        sheet.addError(row, column, static_cast<std::uint8_t>(cell.number));
        break;
    case CellValue::Kind::Empty:
        break;
    }
}

} // namespace

void ContentHandler::startElement(XmlName name, const XmlAttributes &attributes)
{
    ++depth;
    if (skipDepth != 0)
        return;
    if (cellDepth != 0) {
        cellContent(name, attributes);
    } else if (spreadsheetDepth == 0) {
        if (is(name, officeNs, "spreadsheet")) {
            spreadsheetDepth = depth;
            sawSpreadsheet = true;
        }
    } else if (!sheet) {
        if (is(name, tableNs, "table"))
            beginTable(attributes);
        else
            skipElement();
    } else if (is(name, tableNs, "table-row")) {
        if (rowDepth == 0)
            beginRow(attributes);
    } else if ((is(name, tableNs, "table-cell") || is(name, tableNs, "covered-table-cell")) &&
               rowDepth != 0) {
        beginCell(attributes);
    } else if (name.uri != tableNs || name.local == "table" || name.local == "shapes") {
        // Drawings, forms and tables inside a table are no cells of it.
        skipElement();
    }
}

void ContentHandler::endElement(XmlName)
{
    if (skipDepth != 0) {
        if (depth == skipDepth)
            skipDepth = 0;
    } else if (depth == paragraphDepth) {
        paragraphDepth = 0;
    } else if (depth == cellDepth) {
        endCell();
    } else if (depth == rowDepth) {
        endRow();
    } else if (depth == tableDepth) {
        endTable();
    } else if (depth == spreadsheetDepth) {
        spreadsheetDepth = 0;
    }
    --depth;
}

void ContentHandler::characters(std::string_view text)
{
    if (paragraphDepth != 0 && skipDepth == 0)
        paragraphText += text;
}

std::vector<Sheet> ContentHandler::takeSheets()
{
    if (!sawSpreadsheet)
        throw ReadFailure(Fault::NotWorkbook);
    return std::move(sheets);
}

void ContentHandler::beginTable(const XmlAttributes &attributes)
{
    tableDepth = depth;
    sheetName = attributes.value({tableNs, "name"}).value_or("");
    sheet.emplace(sheetName, gridRows, gridColumns);
    row = 1;
}

void ContentHandler::beginRow(const XmlAttributes &attributes)
{
    rowDepth = depth;
    rowRepeat = repeatCount(attributes, {tableNs, "number-rows-repeated"}, gridRows);
    column = 1;
}

void ContentHandler::beginCell(const XmlAttributes &attributes)
{
    cellDepth = depth;
    cellRepeat = repeatCount(attributes, {tableNs, "number-columns-repeated"}, gridColumns);
    cell.kind = CellValue::Kind::Empty;
    paragraphText.clear();
    paragraphs = 0;
    hasFormula = attributes.value({tableNs, "formula"}).has_value();
    if (attributes.value({calcextNs, "value-type"}) == "error") {
        source = Source::ErrorParagraphs;
        return;
    }
    const auto type = attributes.value({officeNs, "value-type"});
    if (!type)
        source = Source::UntypedParagraphs;
    else if (readTypedValue(*type, attributes, cell))
        source = hasFormula && *type == "float" && cell.number == 0 ? Source::ZeroOrErrorParagraphs
                                                                    : Source::Value;
    else
        source = Source::Paragraphs;
}

void ContentHandler::cellContent(XmlName name, const XmlAttributes &attributes)
{
    if (source == Source::Value) {
        skipElement();
    } else if (paragraphDepth == 0) {
        // Only the cell's own paragraphs; a comment or a drawing in it has its own.
        if (depth == cellDepth + 1 && (is(name, textNs, "p") || is(name, textNs, "h"))) {
            paragraphDepth = depth;
            if (paragraphs++ != 0)
                paragraphText += '\n';
        } else {
            skipElement();
        }
    } else if (is(name, textNs, "s")) {
        const auto count = static_cast<std::uint64_t>(repeatCount(attributes, {textNs, "c"}, INT64_MAX));
        if (count + paragraphText.size() > maxStoredBytes - storedBytes)
            throw ReadFailure::inPart(Fault::PartTooLarge, std::string(contentPart));
        paragraphText.append(count, ' ');
    } else if (is(name, textNs, "tab")) {
        paragraphText += '\t';
    } else if (is(name, textNs, "line-break")) {
        paragraphText += '\n';
    } else if (is(name, textNs, "note") || is(name, textNs, "ruby-text") ||
               is(name, officeNs, "annotation") || name.uri == drawNs) {
        skipElement();
    }
}

void ContentHandler::endCell()
{
    switch (source) {
    case Source::Value:
        break;
    case Source::UntypedParagraphs:
        if (paragraphs == 0 && !hasFormula)
            break;
        [[fallthrough]];
    case Source::Paragraphs:
        cell.kind = CellValue::Kind::Text;
        cell.text = paragraphText;
        break;
    case Source::ErrorParagraphs:
    case Source::ZeroOrErrorParagraphs:
        if (const auto code = errorCode(paragraphText)) {
            cell.kind = CellValue::Kind::Error;
            cell.number = *code;
        } else if (source == Source::ErrorParagraphs) {
            cell.kind = CellValue::Kind::Text;
            cell.text = paragraphText;
        }
        break;
    }
    if (cell.kind != CellValue::Kind::Empty) {
        if (row > gridRows || column > gridColumns)
            throw ReadFailure(Fault::Damaged, Part::Sheet, sheetName);
        const CellRun run{static_cast<int>(column),
                          static_cast<int>(std::min<std::int64_t>(column + cellRepeat - 1, gridColumns))};
        store(static_cast<int>(row), run, cell);
        if (rowRepeat > 1)
            repeatedRowCells.push_back({run, cell});
    }
    column = std::min<std::int64_t>(column + cellRepeat, gridColumns + 1);
    cellDepth = 0;
}

void ContentHandler::endRow()
{
    if (!repeatedRowCells.empty()) {
        const std::int64_t lastRow = std::min<std::int64_t>(row + rowRepeat - 1, gridRows);
        // The whole repetition is weighed before any of it is stored.
        std::uint64_t rowCost = 0;
        for (const auto &[run, value] : repeatedRowCells)
            rowCost += static_cast<std::uint64_t>(run.lastColumn - run.firstColumn + 1) *
                       (cellCost + value.text.size());
        if (rowCost * static_cast<std::uint64_t>(lastRow - row) > maxStoredBytes - storedBytes)
            throw ReadFailure::inPart(Fault::PartTooLarge, std::string(contentPart));
        for (std::int64_t next = row + 1; next <= lastRow; ++next) {
            for (const auto &[run, value] : repeatedRowCells)
                store(static_cast<int>(next), run, value);
        }
        repeatedRowCells.clear();
    }
    row = std::min<std::int64_t>(row + rowRepeat, gridRows + 1);
    rowDepth = 0;
}

void ContentHandler::endTable()
{
    sheets.push_back(std::move(*sheet).build());
    sheet.reset();
    tableDepth = 0;
}

void ContentHandler::store(int atRow, CellRun run, const CellValue &value)
{
    const auto cells = static_cast<std::uint64_t>(run.lastColumn - run.firstColumn + 1);
    const std::uint64_t cost = cells * (cellCost + value.text.size());
    if (cost > maxStoredBytes - storedBytes)
        throw ReadFailure::inPart(Fault::PartTooLarge, std::string(contentPart));
    storedBytes += cost;
    for (int at = run.firstColumn; at <= run.lastColumn; ++at)
        addCell(*sheet, atRow, at, value);
}

} // namespace workbook::ods
