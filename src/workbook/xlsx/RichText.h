#pragma once

#include "XmlParser.h"

#include <string>
#include <string_view>

namespace workbook::xlsx {

// Appends a SpreadsheetML string to UTF-8 text, decoding its _xHHHH_ escapes: UTF-16 code units that XML
// cannot carry (control characters, or "_x" itself as _x005F_x...). A pair of escaped surrogates is one
// character; a lone one becomes U+FFFD.
void appendDecoded(std::string_view escaped, std::string &out);

// Gathers the text of a shared or inline string: its <t> alone, or the <t> of each run joined; the
// phonetic runs (<rPh>, a reading guide for East Asian text) are not part of the text. Blanks are kept as
// they are, whatever xml:space says.
class RichText
{
public:
    void startElement(XmlName name);
    void endElement(XmlName name);
    void characters(std::string_view text);
    // Appends the text gathered since the last call, decoded, and starts a new one.
    void takeInto(std::string &out);

private:
    std::string escaped;
    bool inText = false;
    int phoneticDepth = 0;
};

} // namespace workbook::xlsx
