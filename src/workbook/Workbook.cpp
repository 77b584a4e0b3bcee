#include "Workbook.h"

#include "FileBytes.h"
#include "LittleEndian.h"
#include "ReadFailure.h"
#include "ZipArchive.h"
#include "ods/OdsReader.h"
#include "xls/CompoundFile.h"
#include "xls/XlsReader.h"
#include "xlsx/XlsxReader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>

namespace workbook {

namespace {

// No question bank comes near this; a larger file is surely the wrong one, and reading it could
// exhaust the memory.
constexpr std::uintmax_t maxWorkbookSize = std::uintmax_t{1} << 30;

bool isZipArchive(std::span<const std::uint8_t> bytes)
{
    static constexpr std::uint8_t signature[] = {'P', 'K', 3, 4};
    return bytes.size() >= 4 && std::equal(std::begin(signature), std::end(signature), bytes.begin());
}

// .xlsx and .ods are both ZIP archives; the parts they hold tell them apart. An OpenDocument file names its
// type in the part mimetype and keeps its cells in content.xml; with either, the .ods reader says what is
// missing or wrong.
std::vector<Sheet> readZipWorkbook(std::span<const std::uint8_t> bytes)
{
    const ZipArchive archive(bytes);
    if (archive.contains("_rels/.rels") || archive.contains("xl/workbook.xml"))
        return xlsx::readWorkbook(archive);
    if (archive.contains("content.xml") || archive.contains("mimetype"))
        return ods::readWorkbook(archive);
    throw ReadFailure(Fault::NotWorkbook);
}

// Names the format of a file that no reader takes, for a helpful refusal.
Fault foreignFormat(std::span<const std::uint8_t> bytes)
{
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

char lowerLatin(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, {}, lowerLatin, lowerLatin);
}

std::vector<Sheet> readWorkbook(const std::shared_ptr<const FileBytes> &file)
{
    const std::span bytes = file->bytes();
    if (bytes.empty())
        throw ReadFailure(Fault::Empty);
    if (xls::CompoundFile::hasSignature(bytes))
        return xls::readWorkbook(file);
    if (isZipArchive(bytes))
        return readZipWorkbook(bytes);
    throw ReadFailure(foreignFormat(bytes));
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

Workbook Workbook::open(const std::string &path)
{
    return read([&] { return readFile(path); }, path);
}

Workbook Workbook::fromBytes(std::string_view bytes, const std::string &sourceName)
{
    return read(
        [&] {
            if (bytes.size() > maxWorkbookSize)
                throw ReadFailure(Fault::TooLarge);
            auto copy = std::make_shared<FileBytes>(bytes.size());
            std::ranges::copy(bytes, copy->data());
            return copy;
        },
        sourceName);
}

Workbook Workbook::read(const std::function<std::shared_ptr<const FileBytes>()> &loadBytes,
                        const std::string &sourceName)
{
    Workbook workbook;
    try {
        workbook.sheetList = readWorkbook(loadBytes());
    } catch (const ReadFailure &failure) {
        throw failure.toBankError(sourceName);
    } catch (const std::bad_alloc &) {
        // The limits keep what a file may cost within what a workbook needs, which a machine short of memory
        // may still lack.
        throw ReadFailure(Fault::OutOfMemory).toBankError(sourceName);
    }
    return workbook;
}

const Sheet *Workbook::findSheet(std::string_view name) const
{
    auto found = std::ranges::find(sheetList, name, &Sheet::name);
    if (found == sheetList.end())
        found = std::ranges::find_if(
            sheetList, [&](const Sheet &sheet) { return sameIgnoringCase(sheet.name(), name); });
    return found == sheetList.end() ? nullptr : &*found;
}

} // namespace workbook
