#include "RichText.h"

#include "OoxmlNames.h"
#include "Utf8.h"

#include <array>
#include <charconv>
#include <cstdint>

namespace workbook::xlsx {

namespace {

// The code unit of an escape at the start of text, if one is there.
std::optional<std::uint16_t> escapeAt(std::string_view text)
{
    constexpr std::size_t length = 7; // _xHHHH_
    if (text.size() < length || !text.starts_with("_x") || text[6] != '_')
        return std::nullopt;
    std::uint16_t unit = 0;
    const auto [end, error] = std::from_chars(text.data() + 2, text.data() + 6, unit, 16);
    if (error != std::errc() || end != text.data() + 6)
        return std::nullopt;
    return unit;
}

} // namespace

void appendDecoded(std::string_view escaped, std::string &out)
{
    std::size_t escape = escaped.find("_x");
    if (escape == std::string_view::npos) {
        out.append(escaped);
        return;
    }
    Utf8Appender units(out);
    while (escape != std::string_view::npos) {
        const auto unit = escapeAt(escaped.substr(escape));
        if (!unit) {
            escape = escaped.find("_x", escape + 1);
            continue;
        }
        if (escape > 0) {
            units.finish();
            out.append(escaped.substr(0, escape));
        }
        const std::array<std::uint8_t, 2> utf16le{static_cast<std::uint8_t>(*unit & 0xFF),
                                                  static_cast<std::uint8_t>(*unit >> 8)};
        units.appendUtf16(utf16le);
        escaped.remove_prefix(escape + 7);
        escape = escaped.find("_x");
    }
    units.finish();
    out.append(escaped);
}

void RichText::startElement(XmlName name)
{
    if (isSpreadsheetElement(name, "rPh"))
        ++phoneticDepth;
    else if (isSpreadsheetElement(name, "t"))
        inText = phoneticDepth == 0;
}

void RichText::endElement(XmlName name)
{
    if (isSpreadsheetElement(name, "rPh"))
        --phoneticDepth;
    else if (isSpreadsheetElement(name, "t"))
        inText = false;
}

void RichText::characters(std::string_view text)
{
    if (inText)
        escaped.append(text);
}

void RichText::takeInto(std::string &out)
{
    appendDecoded(escaped, out);
    escaped.clear();
    inText = false;
    phoneticDepth = 0;
}

} // namespace workbook::xlsx
