#include "WorksheetReader.h"

#include "ErrorCodes.h"
#include "OoxmlNames.h"
#include "ReadFailure.h"
#include "RichText.h"
#include "SchemaValues.h"
#include "SheetBuilder.h"
#include "ZipArchive.h"

#include <charconv>
#include <cmath>

namespace workbook::xlsx {

namespace {

// Days from 1900-01-00 to 1904-01-01 in Excel's count.
constexpr double days1900To1904 = 1462;

std::string_view trimmed(std::string_view text)
{
    const std::size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

// As XML Schema spells numbers: also with a plus sign.
template <typename Number> std::optional<Number> parsed(std::string_view text)
{
    text = trimmed(text);
    if (text.starts_with('+') && !text.substr(1).starts_with('-'))
        text.remove_prefix(1);
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

struct Place
{
    int row;
    int column;
};

int columnLetter(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 1;
    return c >= 'a' && c <= 'z' ? c - 'a' + 1 : 0;
}

// "B12" or "b12" -> row 12, column 2; nullopt when it is no reference or lies outside the grid.
std::optional<Place> parseReference(std::string_view reference)
{
    Place place{0, 0};
    std::size_t i = 0;
    for (; i < reference.size() && columnLetter(reference[i]) != 0; ++i) {
        place.column = place.column * 26 + columnLetter(reference[i]);
        if (place.column > gridColumns)
            return std::nullopt;
    }
    if (i == 0 || i == reference.size() || reference[i] == '0')
        return std::nullopt;
    for (; i < reference.size() && reference[i] >= '0' && reference[i] <= '9'; ++i) {
        place.row = place.row * 10 + (reference[i] - '0');
        if (place.row > gridRows)
            return std::nullopt;
    }
    if (i != reference.size())
        return std::nullopt;
    return place;
}

// Follows <sheetData>: rows, their cells, each cell's value and inline string, and places them in the sheet.
class WorksheetHandler : public XmlHandler
{
public:
    WorksheetHandler(std::string sheetName, const WorkbookContext &context)
        : site{Part::Sheet, {}}, builder(sheetName, gridRows, gridColumns, context.sharedStrings),
          name(std::move(sheetName)), context(context)
    {
        site.sheetName = name;
    }

    void startElement(XmlName element, const XmlAttributes &attributes) override
    {
        if (isSpreadsheetElement(element, "sheetData"))
            inSheetData = true;
        else if (!inSheetData)
            return;
        else if (isSpreadsheetElement(element, "row"))
            startRow(attributes);
        else if (isSpreadsheetElement(element, "c"))
            startCell(attributes);
        else if (isSpreadsheetElement(element, "v") && inCell)
            inValue = hasValue = true;
        else if (isSpreadsheetElement(element, "is") && inCell)
            inInlineString = hasValue = true;
        else if (inInlineString)
            inlineString.startElement(element);
    }

    void endElement(XmlName element) override
    {
        if (isSpreadsheetElement(element, "sheetData"))
            inSheetData = false;
        else if (isSpreadsheetElement(element, "c") && inCell)
            endCell();
        else if (isSpreadsheetElement(element, "v"))
            inValue = false;
        else if (isSpreadsheetElement(element, "is"))
            inInlineString = false;
        else if (inInlineString)
            inlineString.endElement(element);
    }

    void characters(std::string_view text) override
    {
        if (inValue)
            value.append(text);
        else if (inInlineString)
            inlineString.characters(text);
    }

    Sheet build() && { return std::move(builder).build(); }

private:
    void startRow(const XmlAttributes &attributes)
    {
        const auto number = attributes.value({{}, "r"});
        row = number ? parsed<int>(*number).value_or(0) : row + 1;
        if (row < 1 || row > gridRows)
            site.fail();
        nextColumn = 1;
    }

    // A cell without its reference follows the one before it.
    void startCell(const XmlAttributes &attributes)
    {
        Place place{row, nextColumn};
        if (const auto reference = attributes.value({{}, "r"})) {
            const auto found = parseReference(*reference);
            if (!found)
                site.fail();
            place = *found;
        }
        if (place.row < 1 || place.column > gridColumns)
            site.fail();
        cell = place;
        row = place.row;
        nextColumn = place.column + 1;
        type = attributes.value({{}, "t"}).value_or("n");
        const auto styleIndex = parsed<std::uint32_t>(attributes.value({{}, "s"}).value_or("0"));
        showsDate = styleIndex && *styleIndex <= 0xFFFF && context.numberFormats.showsDate(*styleIndex);
        inCell = true;
        hasValue = false;
        value.clear();
        inlineString = RichText();
    }

    void endCell()
    {
        inCell = false;
        if (!hasValue)
            builder.addBlank(cell.row, cell.column);
        else if (type == "inlineStr")
            addText([&](std::string &out) { inlineString.takeInto(out); });
        else if (type == "str")
            addText([&](std::string &out) { appendDecoded(value, out); });
        // An empty value of any other type, written for a formula without its result, is an empty cell.
        else if (value.empty())
            builder.addBlank(cell.row, cell.column);
        else if (type == "n")
            addNumber();
        else if (type == "s")
            builder.addSharedText(cell.row, cell.column, parsed<std::uint32_t>(value).value_or(UINT32_MAX));
        else if (type == "b")
            addBoolean();
        else if (type == "e")
            addError();
        else if (type == "d")
            addIsoDate();
        else
            site.fail();
    }

    void addNumber()
    {
        const auto number = parsed<double>(value);
        if (!number || !std::isfinite(*number))
            site.fail();
        if (showsDate)
            builder.addDate(cell.row, cell.column,
                            context.dateSystem1904 ? *number + days1900To1904 : *number);
        else
            builder.addNumber(cell.row, cell.column, *number);
    }

    template <typename Decode> void addText(Decode decode)
    {
        decode(builder.pendingText());
        builder.addPendingText(cell.row, cell.column);
    }

    void addBoolean()
    {
        const auto boolean = booleanValue(trimmed(value));
        if (!boolean)
            site.fail();
        builder.addBoolean(cell.row, cell.column, *boolean);
    }

    // A date as ISO 8601 writes it, as in Strict files: the same day in either date system.
    void addIsoDate()
    {
        const auto serial = dateSerial(trimmed(value));
        if (!serial)
            site.fail();
        builder.addDate(cell.row, cell.column, *serial);
    }

    // An error value of a newer Excel than the codes know (#SPILL!, ...) shows as its text.
    void addError()
    {
        const std::string_view text = trimmed(value);
        for (const auto &[code, name] : errorCodes) {
            if (name == text) {
                builder.addError(cell.row, cell.column, static_cast<std::uint8_t>(code));
                return;
            }
        }
        builder.addText(cell.row, cell.column, text);
    }

    DamageSite site;
    SheetBuilder builder;
    std::string name;
    const WorkbookContext &context;
    bool inSheetData = false;
    int row = 0;
    int nextColumn = 1;
    // The cell being read.
    bool inCell = false;
    Place cell{0, 0};
    std::string type;
    bool showsDate = false;
    bool hasValue = false;
    bool inValue = false;
    std::string value;
    bool inInlineString = false;
    RichText inlineString;
};

} // namespace

Sheet readWorksheet(const ZipArchive &archive, const std::string &part, std::string sheetName,
                    const WorkbookContext &context)
{
    WorksheetHandler handler(std::move(sheetName), context);
    parseXmlPart(archive, part, handler);
    return std::move(handler).build();
}

} // namespace workbook::xlsx
