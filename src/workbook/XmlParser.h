#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace workbook {

class ZipArchive;

// An element's or attribute's name with its namespace resolved: the namespace URI (empty for none) and
// the local name.
struct XmlName
{
    std::string_view uri;
    std::string_view local;

    friend bool operator==(const XmlName &, const XmlName &) = default;
};

// The attributes of one start tag, valid while the handler runs.
class XmlAttributes
{
public:
    explicit XmlAttributes(const char **pairs) : pairs(pairs) {}

    std::optional<std::string_view> value(XmlName name) const;

private:
    const char **pairs;
};

// Receives a part's elements and text as they stream by. Text may come in several pieces.
class XmlHandler
{
public:
    virtual ~XmlHandler() = default;
    virtual void startElement(XmlName name, const XmlAttributes &attributes) = 0;
    virtual void endElement(XmlName name) = 0;
    virtual void characters(std::string_view text) = 0;
};

// No workbook has a tag, attribute or comment near this long (a cell's text is at most 32,767 characters,
// 256 KiB even with each one written as a character reference) nor elements nested near this deep.
constexpr std::size_t maxXmlTokenSize = std::size_t{4} << 20;
constexpr int maxXmlDepth = 256;

// Streams the part through expat as it inflates, in time linear in its size. A part that is no well-formed
// XML, or has a document type declaration (refused: no DTD, no entities of its own), gives
// ReadFailure(DamagedPart) naming the part, one with a longer token or deeper nesting than the limits above
// (OverlongToken, DeepNesting) as soon as it gets there; a failure the handler throws passes through
// unchanged.
void parseXmlPart(const ZipArchive &archive, const std::string &part, XmlHandler &handler);

} // namespace workbook
