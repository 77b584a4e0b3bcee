#include "XlsReader.h"

#include "CompoundFile.h"
#include "Globals.h"
#include "SheetReader.h"

#include <algorithm>
#include <numeric>

namespace workbook::xls {

namespace {

StreamView workbookStream(const CompoundFile &file)
{
    if (auto stream = file.stream("Workbook", {Part::WorkbookStream}))
        return *std::move(stream);
    constexpr DamageSite directory{Part::Directory};
    if (file.stream("Book", directory))
        throw ReadFailure(Fault::OlderFormat);
    // Excel 2007 and later keep a password-protected workbook in a compound file.
    if (file.stream("EncryptedPackage", directory))
        throw ReadFailure(Fault::Encrypted);
    throw ReadFailure(Fault::NotWorkbook);
}

// Sheets are read in the order of their place in the stream, and none may begin inside another: each
// stream byte is then read once, however many sheets a damaged file claims.
std::vector<Sheet> readSheets(RecordReader &records, const Globals &globals,
                              const std::shared_ptr<const SharedStrings> &sharedTexts)
{
    std::vector<std::size_t> byPlace(globals.worksheets.size());
    std::iota(byPlace.begin(), byPlace.end(), std::size_t{0});
    std::stable_sort(byPlace.begin(), byPlace.end(), [&](std::size_t a, std::size_t b) {
        return globals.worksheets[a].offset < globals.worksheets[b].offset;
    });
    std::vector<std::optional<Sheet>> read(globals.worksheets.size());
    std::size_t firstFree = globals.end;
    for (const std::size_t index : byPlace) {
        const SheetEntry &entry = globals.worksheets[index];
        if (entry.offset < firstFree || !records.seek(entry.offset))
            DamageSite{Part::Sheet, entry.name}.fail();
        read[index] = SheetReader(globals, sharedTexts, entry).read(records);
        firstFree = records.position();
    }
    std::vector<Sheet> sheets;
    sheets.reserve(read.size());
    for (std::optional<Sheet> &sheet : read)
        sheets.push_back(*std::move(sheet));
    return sheets;
}

} // namespace

std::vector<Sheet> readWorkbook(const std::shared_ptr<const FileBytes> &file)
{
    const CompoundFile container(file->bytes());
    const StreamView stream = workbookStream(container);
    RecordReader records(stream);
    Globals globals = readGlobals(records);
    const auto sharedTexts =
        std::make_shared<const SharedStrings>(file, stream, std::move(globals.sharedStrings));
    return readSheets(records, globals, sharedTexts);
}

} // namespace workbook::xls
