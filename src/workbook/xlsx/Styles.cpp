#include "Styles.h"

#include "OoxmlNames.h"
#include "ZipArchive.h"

#include <charconv>
#include <cstdint>
#include <optional>

namespace workbook::xlsx {

namespace {

// Nothing for an id that does not fit, which is no format Excel has.
std::optional<std::uint16_t> formatId(const XmlAttributes &attributes)
{
    const std::string_view text = attributes.value({{}, "numFmtId"}).value_or("0");
    std::uint16_t id = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return id;
}

class StylesHandler : public XmlHandler
{
public:
    void startElement(XmlName name, const XmlAttributes &attributes) override
    {
        if (isSpreadsheetElement(name, "cellXfs"))
            inList = List::CellStyles;
        else if (isSpreadsheetElement(name, "numFmts"))
            inList = List::NumberFormats;
        else if (inList == List::CellStyles && isSpreadsheetElement(name, "xf"))
            formats.addCellStyle(formatId(attributes).value_or(0)); // its cells show their numbers plainly
        else if (inList == List::NumberFormats && isSpreadsheetElement(name, "numFmt"))
            addFormat(attributes);
    }

    void endElement(XmlName name) override
    {
        if (isSpreadsheetElement(name, "cellXfs") || isSpreadsheetElement(name, "numFmts"))
            inList = List::None;
    }

    void characters(std::string_view) override {}

    NumberFormats formats;

private:
    // A format of an id that does not fit would take the place of another one.
    void addFormat(const XmlAttributes &attributes)
    {
        if (const auto id = formatId(attributes))
            formats.addFormat(*id, attributes.value({{}, "formatCode"}).value_or(""));
    }

    // Formats elsewhere, as in <dxfs>, are not cells'.
    enum class List
    {
        None,
        CellStyles,
        NumberFormats
    } inList = List::None;
};

} // namespace

NumberFormats readStyles(const ZipArchive &archive, const std::string &part)
{
    StylesHandler handler;
    parseXmlPart(archive, part, handler);
    return std::move(handler.formats);
}

} // namespace workbook::xlsx
