#include "ods/OdsReader.h"

#include "ReadFailure.h"
#include "XmlParser.h"
#include "ZipArchive.h"
#include "ods/ContentHandler.h"

namespace workbook::ods {

namespace {

constexpr std::string_view manifestNs = "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0";
const std::string contentPart = "content.xml";
const std::string manifestPart = "META-INF/manifest.xml";

// Whether the manifest gives content.xml encryption data: a file saved with a password.
class ManifestHandler : public XmlHandler
{
public:
    void startElement(XmlName name, const XmlAttributes &attributes) override
    {
        if (name == XmlName{manifestNs, "file-entry"})
            inContentEntry = attributes.value({manifestNs, "full-path"}) == contentPart;
        else if (name == XmlName{manifestNs, "encryption-data"} && inContentEntry)
            encrypted = true;
    }
    void endElement(XmlName name) override
    {
        if (name == XmlName{manifestNs, "file-entry"})
            inContentEntry = false;
    }
    void characters(std::string_view) override {}

    bool encrypted = false;

private:
    bool inContentEntry = false;
};

// Asked only once content.xml cannot be read, so that a damaged manifest spoils no readable file.
bool contentIsEncrypted(const ZipArchive &archive)
{
    ManifestHandler manifest;
    try {
        parseXmlPart(archive, manifestPart, manifest);
    } catch (const ReadFailure &) {
        return false;
    }
    return manifest.encrypted;
}

} // namespace

std::vector<Sheet> readWorkbook(const ZipArchive &archive)
{
    ContentHandler content;
    try {
        parseXmlPart(archive, contentPart, content);
    } catch (const ReadFailure &) {
        if (contentIsEncrypted(archive))
            throw ReadFailure(Fault::Encrypted);
        throw;
    }
    return content.takeSheets();
}

} // namespace workbook::ods
