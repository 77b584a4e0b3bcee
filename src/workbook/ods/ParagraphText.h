#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace workbook::ods {

// The text of a cell's paragraphs, joined by line breaks. White space in the XML collapses as
// OpenDocument defines it (like HTML): a run of blanks, tabs and line ends is one space, and none counts at
// the start or end of a paragraph. Spaces, tabs and line breaks that matter are elements of their own.
class ParagraphText
{
public:
    // Forgets the text, for the next cell.
    void clear();
    void beginParagraph();
    void characters(std::string_view xmlText);
    // text:s, text:tab, text:line-break.
    void hardCharacters(char character, std::size_t count);

    const std::string &text() const { return joined; }
    bool hasParagraph() const { return paragraphs != 0; }

private:
    void flushSpace();

    std::string joined;
    std::size_t paragraphs = 0;
    // The last character counts as white space, so white space in the XML that follows it is dropped.
    bool afterSpace = true;
    // A collapsed space, written only if something follows it in the paragraph.
    bool spacePending = false;
};

} // namespace workbook::ods
