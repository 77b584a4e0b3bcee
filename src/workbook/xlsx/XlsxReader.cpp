#include "XlsxReader.h"

#include "OoxmlNames.h"
#include "ReadFailure.h"
#include "Relationships.h"
#include "SchemaValues.h"
#include "Styles.h"
#include "WorksheetReader.h"
#include "ZipArchive.h"

#include <algorithm>

namespace workbook::xlsx {

namespace {

struct SheetEntry
{
    std::string name;
    std::string relationshipId;
};

// The workbook part: its sheets in order and its date system.
class WorkbookHandler : public XmlHandler
{
public:
    void startElement(XmlName name, const XmlAttributes &attributes) override
    {
        if (!seenRoot && !isSpreadsheetElement(name, "workbook"))
            throw ReadFailure(Fault::NotWorkbook);
        seenRoot = true;
        if (isSpreadsheetElement(name, "workbookPr")) {
            dateSystem1904 = booleanValue(attributes.value({{}, "date1904"}).value_or("0")).value_or(false);
        } else if (isSpreadsheetElement(name, "sheet")) {
            const auto sheetName = attributes.value({{}, "name"});
            const auto id = relationshipId(attributes);
            // Excel gives old macro sheets no part: they hold no cells.
            if (sheetName && id && !id->empty())
                sheets.push_back({std::string(*sheetName), std::string(*id)});
        }
    }
    void endElement(XmlName) override {}
    void characters(std::string_view) override {}

    std::vector<SheetEntry> sheets;
    bool dateSystem1904 = false;

private:
    bool seenRoot = false;
};

// The package names its main part; files from writers that leave the package's relationships out keep it
// where Excel does.
std::string workbookPart(const ZipArchive &archive)
{
    for (const Relationship &relationship : readRelationships(archive, ""))
        if (relationship.isOfType("officeDocument"))
            return relationship.target;
    return "xl/workbook.xml";
}

const Relationship *findRelationship(const std::vector<Relationship> &relationships, std::string_view id)
{
    const auto found = std::ranges::find(relationships, id, &Relationship::id);
    return found == relationships.end() ? nullptr : &*found;
}

const Relationship *findOfType(const std::vector<Relationship> &relationships, std::string_view type)
{
    const auto found =
        std::ranges::find_if(relationships, [&](const Relationship &r) { return r.isOfType(type); });
    return found == relationships.end() ? nullptr : &*found;
}

WorkbookContext readContext(const ZipArchive &archive, const std::vector<Relationship> &relationships)
{
    WorkbookContext context;
    if (const Relationship *strings = findOfType(relationships, "sharedStrings"))
        context.sharedStrings = readSharedStrings(archive, strings->target);
    else
        context.sharedStrings = std::make_shared<const SharedStrings>(TextPool(), 0);
    if (const Relationship *styles = findOfType(relationships, "styles"))
        context.numberFormats = readStyles(archive, styles->target);
    return context;
}

} // namespace

std::vector<Sheet> readWorkbook(const ZipArchive &archive)
{
    const std::string mainPart = workbookPart(archive);
    WorkbookHandler workbook;
    parseXmlPart(archive, mainPart, workbook);
    const std::vector<Relationship> relationships = readRelationships(archive, mainPart);
    WorkbookContext context = readContext(archive, relationships);
    context.dateSystem1904 = workbook.dateSystem1904;
    std::vector<Sheet> sheets;
    for (SheetEntry &entry : workbook.sheets) {
        const Relationship *relationship = findRelationship(relationships, entry.relationshipId);
        if (!relationship)
            DamageSite{Part::Sheet, entry.name}.fail();
        // Chart sheets and the like hold no cells.
        if (relationship->isOfType("worksheet"))
            sheets.push_back(readWorksheet(archive, relationship->target, std::move(entry.name), context));
    }
    return sheets;
}

} // namespace workbook::xlsx
