#include "Relationships.h"

#include "XmlParser.h"
#include "ZipArchive.h"

namespace workbook::xlsx {

namespace {

constexpr std::string_view packageNamespace = "http://schemas.openxmlformats.org/package/2006/relationships";

std::string folderOf(const std::string &part)
{
    const std::size_t slash = part.rfind('/');
    return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string relationshipsPart(const std::string &sourcePart)
{
    const std::size_t slash = sourcePart.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return sourcePart.substr(0, nameStart) + "_rels/" + sourcePart.substr(nameStart) + ".rels";
}

class RelationshipsHandler : public XmlHandler
{
public:
    RelationshipsHandler(const std::string &sourcePart, std::vector<Relationship> &found)
        : sourcePart(sourcePart), found(found)
    {}

    void startElement(XmlName name, const XmlAttributes &attributes) override
    {
        if (name != XmlName{packageNamespace, "Relationship"} || attributes.value({{}, "TargetMode"}) == "External")
            return;
        const auto id = attributes.value({{}, "Id"});
        const auto type = attributes.value({{}, "Type"});
        const auto target = attributes.value({{}, "Target"});
        if (id && type && target)
            found.push_back({std::string(*id), std::string(*type), resolveTarget(sourcePart, *target)});
    }
    void endElement(XmlName) override {}
    void characters(std::string_view) override {}

private:
    const std::string &sourcePart;
    std::vector<Relationship> &found;
};

} // namespace

bool Relationship::isOfType(std::string_view kind) const
{
    return type.size() > kind.size() && type.ends_with(kind) && type[type.size() - kind.size() - 1] == '/';
}

std::vector<Relationship> readRelationships(const ZipArchive &archive, const std::string &sourcePart)
{
    std::vector<Relationship> found;
    const std::string part = relationshipsPart(sourcePart);
    if (archive.contains(part)) {
        RelationshipsHandler handler(sourcePart, found);
        parseXmlPart(archive, part, handler);
    }
    return found;
}

std::string resolveTarget(const std::string &sourcePart, std::string_view target)
{
    std::string path = target.starts_with('/') ? std::string(target.substr(1)) : folderOf(sourcePart) + std::string(target);
    std::vector<std::string_view> segments;
    for (std::size_t begin = 0; begin <= path.size();) {
        const std::size_t end = std::min(path.find('/', begin), path.size());
        const std::string_view segment = std::string_view(path).substr(begin, end - begin);
        if (segment == "..") {
            if (!segments.empty())
                segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        begin = end + 1;
    }
    std::string resolved;
    for (const std::string_view segment : segments)
        resolved.append(resolved.empty() ? "" : "/").append(segment);
    return resolved;
}

} // namespace workbook::xlsx
