#include "Workbook.h"

#include "BankError.h"
#include "CompoundFile.h"
#include "FileBytes.h"
#include "Globals.h"
#include "LittleEndian.h"
#include "SheetReader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <numeric>

namespace bank {

namespace {

// No question bank comes near this; a larger file is surely the wrong one, and reading it could
// exhaust the memory.
constexpr std::uintmax_t maxWorkbookSize = std::uintmax_t{1} << 30;
constexpr int gridRows = 65536;
constexpr int gridColumns = 256;

// Names the format of a file that is not a compound file, for a helpful refusal.
Fault foreignFormat(std::span<const std::uint8_t> bytes)
{
    static constexpr std::uint8_t zip[] = {'P', 'K', 3, 4};
    if (bytes.size() >= 4 && std::equal(std::begin(zip), std::end(zip), bytes.begin()))
        return Fault::ZipWorkbook;
    // Excel 2.1 to 4.0 wrote the record stream as the whole file, starting with its BOF record.
    if (bytes.size() >= 4) {
        const std::uint16_t type = readU16(bytes.data());
        const std::uint16_t length = readU16(bytes.data() + 2);
        if ((type == 0x0009 || type == 0x0209 || type == 0x0409 || type == 0x0809) && length >= 4 &&
            length <= 20)
            return Fault::OlderFormat;
    }
    return Fault::NotWorkbook;
}

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
                              std::shared_ptr<const SharedStrings> sharedTexts)
{
    std::vector<std::size_t> byPlace(globals.worksheets.size());
    std::iota(byPlace.begin(), byPlace.end(), std::size_t{0});
    std::stable_sort(byPlace.begin(), byPlace.end(), [&](std::size_t a, std::size_t b) {
        return globals.worksheets[a].offset < globals.worksheets[b].offset;
    });
    std::vector<std::shared_ptr<const SheetData>> read(globals.worksheets.size());
    std::size_t firstFree = globals.end;
    for (const std::size_t index : byPlace) {
        const SheetEntry &entry = globals.worksheets[index];
        if (entry.offset < firstFree || !records.seek(entry.offset))
            DamageSite{Part::Sheet, entry.name}.fail();
        read[index] = SheetReader(globals, sharedTexts, entry).read(records);
        firstFree = records.position();
    }
    return {read.begin(), read.end()};
}

std::vector<Sheet> readWorkbook(const std::shared_ptr<const FileBytes> &file)
{
    const std::span bytes = file->bytes();
    if (bytes.empty())
        throw ReadFailure(Fault::Empty);
    if (!CompoundFile::hasSignature(bytes))
        throw ReadFailure(foreignFormat(bytes));
    const CompoundFile container(bytes);
    const StreamView stream = workbookStream(container);
    RecordReader records(stream);
    Globals globals = readGlobals(records);
    auto sharedTexts = std::make_shared<const SharedStrings>(file, stream, std::move(globals.sharedStrings));
    return readSheets(records, globals, std::move(sharedTexts));
}

std::shared_ptr<const FileBytes> readFile(const std::string &path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const auto status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found)
        throw ReadFailure(Fault::Missing);
    if (!fs::is_regular_file(status))
        throw ReadFailure(Fault::Unreadable);
    const std::uintmax_t size = fs::file_size(path, error);
    if (error)
        throw ReadFailure(Fault::Unreadable);
    if (size > maxWorkbookSize)
        throw ReadFailure(Fault::TooLarge);
    std::ifstream in(path, std::ios::binary);
    auto bytes = std::make_shared<FileBytes>(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char *>(bytes->data()), static_cast<std::streamsize>(bytes->size())))
        throw ReadFailure(Fault::Unreadable);
    return bytes;
}

} // namespace

Sheet::Sheet(std::shared_ptr<const SheetData> data) : d(std::move(data)) {}

const std::string &Sheet::name() const
{
    return d->name();
}

int Sheet::lastRow() const
{
    return d->lastRow();
}

int Sheet::lastColumn() const
{
    return d->lastColumn();
}

void Sheet::checkInGrid(int row, int column) const
{
    if (row < 1 || row > gridRows || column < 1 || column > gridColumns)
        throw BankError("На аркуші «" + d->name() + "» немає клітинки в рядку " + std::to_string(row) +
                        ", стовпці " + std::to_string(column) +
                        ": аркуш Excel 97–2003 має рядки від 1 до 65536 і стовпці від 1 до 256.");
}

CellValue Sheet::cell(int row, int column) const
{
    checkInGrid(row, column);
    return d->cell(row, column);
}

bool Sheet::isBlank(int row, int column) const
{
    checkInGrid(row, column);
    return d->isBlank(row, column);
}

std::uint64_t Sheet::textHash(int row, int column, const TextFormat &format) const
{
    checkInGrid(row, column);
    return d->textHash(row, column, format);
}

Workbook Workbook::open(const std::string &path)
{
    std::shared_ptr<const FileBytes> bytes;
    try {
        bytes = readFile(path);
    } catch (const ReadFailure &failure) {
        throw failure.toBankError(path);
    }
    return read(std::move(bytes), path);
}

Workbook Workbook::fromBytes(std::string_view bytes, const std::string &sourceName)
{
    if (bytes.size() > maxWorkbookSize)
        throw ReadFailure(Fault::TooLarge).toBankError(sourceName);
    auto copy = std::make_shared<FileBytes>(bytes.size());
    std::ranges::copy(bytes, copy->data());
    return read(std::move(copy), sourceName);
}

Workbook Workbook::read(std::shared_ptr<const FileBytes> bytes, const std::string &sourceName)
{
    Workbook workbook;
    try {
        workbook.sheetList = readWorkbook(bytes);
    } catch (const ReadFailure &failure) {
        throw failure.toBankError(sourceName);
    }
    return workbook;
}

const Sheet *Workbook::findSheet(std::string_view name) const
{
    const auto found = std::find_if(sheetList.begin(), sheetList.end(),
                                    [&](const Sheet &sheet) { return sheet.name() == name; });
    return found == sheetList.end() ? nullptr : &*found;
}

} // namespace bank
