#pragma once

#include "XmlParser.h"

#include <string_view>

namespace workbook::xlsx {

// Elements of SpreadsheetML, in the namespace of the usual (transitional) files or of strict ones.
inline bool isSpreadsheetElement(XmlName name, std::string_view local)
{
    return name.local == local && (name.uri == "http://schemas.openxmlformats.org/spreadsheetml/2006/main" ||
                                   name.uri == "http://purl.oclc.org/ooxml/spreadsheetml/main");
}

// The r:id attribute that names a relationship, in either kind of file.
inline std::optional<std::string_view> relationshipId(const XmlAttributes &attributes)
{
    if (auto id = attributes.value({"http://schemas.openxmlformats.org/officeDocument/2006/relationships", "id"}))
        return id;
    return attributes.value({"http://purl.oclc.org/ooxml/officeDocument/relationships", "id"});
}

} // namespace workbook::xlsx
