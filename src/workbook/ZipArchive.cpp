#include "ZipArchive.h"

#include "ReadFailure.h"

#include <array>
#include <zip.h>

namespace workbook {

namespace {

constexpr std::size_t chunkSize = 64 * 1024;

std::string comparedName(std::string_view name)
{
    std::string compared(name);
    for (char &c : compared) {
        if (c == '\\')
            c = '/';
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return compared;
}

struct FileCloser
{
    void operator()(zip_file_t *file) const { zip_fclose(file); }
};

} // namespace

void ZipArchive::Closer::operator()(zip *archive) const
{
    zip_discard(archive);
}

ZipArchive::ZipArchive(std::span<const std::uint8_t> bytes)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source) {
        archive.reset(zip_open_from_source(source, ZIP_RDONLY, &error));
        if (!archive)
            zip_source_free(source);
    }
    zip_error_fini(&error);
    if (!archive)
        throw ReadFailure::inPart(Fault::DamagedArchive, {});
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t index = 0; index < count; ++index) {
        const char *name = zip_get_name(archive.get(), static_cast<zip_uint64_t>(index), 0);
        if (name == nullptr)
            throw ReadFailure::inPart(Fault::DamagedArchive, {});
        if (!entries.emplace(comparedName(name), static_cast<std::uint64_t>(index)).second)
            throw ReadFailure::inPart(Fault::DuplicatePart, name);
    }
}

ZipArchive::~ZipArchive() = default;

bool ZipArchive::contains(const std::string &name) const
{
    return entries.contains(comparedName(name));
}

void ZipArchive::read(const std::string &name, const std::function<void(std::string_view)> &sink) const
{
    const auto entry = entries.find(comparedName(name));
    if (entry == entries.end())
        throw ReadFailure::inPart(Fault::MissingPart, name);
    const std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index(archive.get(), entry->second, 0));
    if (!file)
        throw ReadFailure::inPart(Fault::DamagedArchive, name);
    std::array<char, chunkSize> buffer;
    std::uint64_t inflated = 0;
    for (;;) {
        const zip_int64_t count = zip_fread(file.get(), buffer.data(), buffer.size());
        if (count < 0)
            throw ReadFailure::inPart(Fault::DamagedArchive, name);
        if (count == 0)
            return;
        inflated += static_cast<std::uint64_t>(count);
        totalInflated += static_cast<std::uint64_t>(count);
        if (inflated > maxPartSize)
            throw ReadFailure::inPart(Fault::PartTooLarge, name);
        if (totalInflated > maxTotalSize)
            throw ReadFailure::inPart(Fault::ArchiveTooLarge, name);
        sink({buffer.data(), static_cast<std::size_t>(count)});
    }
}

} // namespace workbook
