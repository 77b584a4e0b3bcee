#include "SharedStrings.h"

#include "CellText.h"
#include "OoxmlNames.h"
#include "RichText.h"
#include "TextHasher.h"
#include "ZipArchive.h"

namespace workbook::xlsx {

namespace {

class SharedStringsHandler : public XmlHandler
{
public:
    void startElement(XmlName name, const XmlAttributes &) override
    {
        if (isSpreadsheetElement(name, "si"))
            inString = true;
        else if (inString)
            text.startElement(name);
    }

    void endElement(XmlName name) override
    {
        if (isSpreadsheetElement(name, "si")) {
            inString = false;
            text.takeInto(pool.tail());
            pool.endText();
            ++count;
        } else if (inString) {
            text.endElement(name);
        }
    }

    void characters(std::string_view characters) override { text.characters(characters); }

    TextPool pool;
    std::size_t count = 0;

private:
    RichText text;
    bool inString = false;
};

} // namespace

bool SharedStrings::isBlank(std::size_t index) const
{
    return isBlankText(texts.text(index));
}

std::uint64_t SharedStrings::textHash(std::size_t index) const
{
    TextHasher hasher;
    hasher.appendUtf8(texts.text(index));
    return hasher.value();
}

std::shared_ptr<const SharedStrings> readSharedStrings(const ZipArchive &archive, const std::string &part)
{
    SharedStringsHandler handler;
    parseXmlPart(archive, part, handler);
    return std::make_shared<const SharedStrings>(std::move(handler.pool), handler.count);
}

} // namespace workbook::xlsx
