#include "ods/OdsReader.h"

#include "XmlParser.h"
#include "ZipArchive.h"
#include "ods/ContentHandler.h"

namespace workbook::ods {

std::vector<Sheet> readWorkbook(const ZipArchive &archive)
{
    ContentHandler content;
    parseXmlPart(archive, "content.xml", content);
    return content.takeSheets();
}

} // namespace workbook::ods
