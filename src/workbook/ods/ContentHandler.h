#pragma once

#include "CellValue.h"
#include "Sheet.h"
#include "SheetBuilder.h"
#include "XmlParser.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace workbook::ods {

// The grid of LibreOffice Calc.
inline constexpr int gridRows = 1'048'576;
inline constexpr int gridColumns = 16'384;

// Reads the tables of a spreadsheet's content.xml as it streams by. Repeated rows and cells are
// counted, not walked: an empty one costs nothing however often it repeats, and a repeated value is
// stored once for each place inside the grid.
class ContentHandler : public XmlHandler
{
public:
    // What the cells may cost in memory together, texts included. An archive that repeats a cell to
    // more than this is refused as too large.
    static constexpr std::uint64_t maxStoredBytes = std::uint64_t{256} << 20;

    void startElement(XmlName name, const XmlAttributes &attributes) override;
    void endElement(XmlName name) override;
    void characters(std::string_view text) override;

    // The tables in document order. ReadFailure(NotWorkbook) when the part holds no spreadsheet.
    std::vector<Sheet> takeSheets();

private:
    // Columns of one row that a cell fills.
    struct CellRun
    {
        int firstColumn;
        int lastColumn;
    };
    // Where the cell's value comes from.
    enum class Source
    {
        Value,             // its value attribute
        Paragraphs,        // a text cell without its value attribute, or a value that cannot be read
        UntypedParagraphs, // no value type: a text if it has any paragraph or a formula, else empty
        ErrorParagraphs,   // an error, known by the text it shows
        // A formula's float 0, which programs other than LibreOffice write for an error: when the paragraph
        // is an error's text, the cell is that error.
        ZeroOrErrorParagraphs,
    };

    void beginTable(const XmlAttributes &attributes);
    void beginRow(const XmlAttributes &attributes);
    void beginCell(const XmlAttributes &attributes);
    void cellContent(XmlName name, const XmlAttributes &attributes);
    void endCell();
    void endRow();
    void endTable();
    void skipElement() { skipDepth = depth; }
    void store(int atRow, CellRun run, const CellValue &value);

    int depth = 0;
    // Non-zero while inside an element whose content plays no part: the depth of that element.
    int skipDepth = 0;
    int spreadsheetDepth = 0;
    bool sawSpreadsheet = false;

    std::vector<Sheet> sheets;
    std::optional<SheetBuilder> sheet;
    std::string sheetName;
    int tableDepth = 0;
    std::uint64_t storedBytes = 0;

    int rowDepth = 0;
    std::int64_t row = 1;
    std::int64_t rowRepeat = 1;
    // The current row's cells, kept while the row repeats.
    std::vector<std::pair<CellRun, CellValue>> repeatedRowCells;

    int cellDepth = 0;
    std::int64_t column = 1;
    std::int64_t cellRepeat = 1;
    CellValue cell;
    Source source = Source::Value;
    bool hasFormula = false;
    int paragraphDepth = 0;
    // The cell's paragraphs joined by line breaks, their text as it stands, as LibreOffice Calc reads it:
    // blanks are not collapsed (it writes runs of them as text:s, and a single trailing one as it is).
    std::string paragraphText;
    int paragraphs = 0;
};

} // namespace workbook::ods
