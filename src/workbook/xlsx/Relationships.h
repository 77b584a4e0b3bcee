#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace workbook {
class ZipArchive;
}

namespace workbook::xlsx {

// A package part's link to another part, by the target's full name in the archive.
struct Relationship
{
    std::string id;
    std::string type;
    std::string target;

    // The type's last word ("worksheet", "sharedStrings", ...), the same in transitional and strict files.
    bool isOfType(std::string_view kind) const;
};

// The relationships of a part ("" for the package's own), from its .rels part; none when it has none.
std::vector<Relationship> readRelationships(const ZipArchive &archive, const std::string &sourcePart);

// The part a relationship target names, relative to the source part's folder or, with a leading slash, to
// the package's root.
std::string resolveTarget(const std::string &sourcePart, std::string_view target);

} // namespace workbook::xlsx
