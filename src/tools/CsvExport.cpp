#include "CsvExport.h"

namespace tools {

std::string csvField(std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string field = "\"";
    for (const char c : text) {
        if (c == '"')
            field += '"';
        field += c;
    }
    field += '"';
    return field;
}

void writeCsv(std::ostream &out, const workbook::Sheet &sheet, const workbook::TextFormat &format)
{
    for (int row = 1; row <= sheet.lastValueRow(); ++row) {
        for (int column = 1; column <= sheet.lastValueColumn(); ++column) {
            if (column > 1)
                out << ',';
            out << csvField(workbook::cellText(sheet.cell(row, column), format));
        }
        out << "\r\n";
    }
}

} // namespace tools
