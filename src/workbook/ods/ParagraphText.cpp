#include "ods/ParagraphText.h"

#include <algorithm>

namespace workbook::ods {

namespace {

// A carriage return is not among them: the XML parser turns every literal line end into a line feed, so a
// carriage return that arrives was written as a character reference, as LibreOffice keeps one of CR LF.
constexpr bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

} // namespace

void ParagraphText::clear()
{
    joined.clear();
    paragraphs = 0;
}

void ParagraphText::beginParagraph()
{
    if (paragraphs++ != 0)
        joined += '\n';
    afterSpace = true;
    spacePending = false;
}

void ParagraphText::characters(std::string_view xmlText)
{
    while (!xmlText.empty()) {
        const auto spaceAt = std::ranges::find_if(xmlText, isXmlSpace);
        const auto words = static_cast<std::size_t>(spaceAt - xmlText.begin());
        if (words != 0) {
            flushSpace();
            joined.append(xmlText.substr(0, words));
            afterSpace = false;
        }
        const auto spaceEnd = std::find_if_not(spaceAt, xmlText.end(), isXmlSpace);
        if (spaceAt != spaceEnd && !afterSpace) {
            spacePending = true;
            afterSpace = true;
        }
        xmlText.remove_prefix(static_cast<std::size_t>(spaceEnd - xmlText.begin()));
    }
}

void ParagraphText::hardCharacters(char character, std::size_t count)
{
    flushSpace();
    joined.append(count, character);
    afterSpace = true;
}

void ParagraphText::flushSpace()
{
    if (spacePending)
        joined += ' ';
    spacePending = false;
}

} // namespace workbook::ods
