#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

struct zip;

namespace workbook {

// A ZIP archive in memory (libzip over the bytes, never written), as .xlsx and .ods files are. The archive
// does not copy the bytes: they must outlive it.
class ZipArchive
{
public:
    // Far above any question bank's part, far below what would exhaust the memory.
    static constexpr std::uint64_t maxPartSize = std::uint64_t{256} << 20;
    // The same for all parts read together: a workbook whose many sheets name one part inflates it each time.
    static constexpr std::uint64_t maxTotalSize = std::uint64_t{1} << 30;

    // ReadFailure(DamagedArchive) when the bytes are no ZIP archive or a damaged one, (DuplicatePart) when
    // two entries name one part.
    explicit ZipArchive(std::span<const std::uint8_t> bytes);
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    // Part names compare without regard to case, as the package formats define them, and a backslash, which
    // some Windows ZIP code writes, stands for a slash.
    bool contains(const std::string &name) const;
    // Inflates the part in chunks into sink. ReadFailure(MissingPart) when the archive lacks it,
    // (DamagedArchive) when its data is damaged, (PartTooLarge) when it inflates past maxPartSize,
    // (ArchiveTooLarge) when all parts read so far do past maxTotalSize: counted as really inflated,
    // whatever the archive claims.
    void read(const std::string &name, const std::function<void(std::string_view)> &sink) const;

private:
    struct Closer
    {
        void operator()(zip *archive) const;
    };

    std::unique_ptr<zip, Closer> archive;
    // The entries' indexes by their names as compared.
    std::unordered_map<std::string, std::uint64_t> entries;
    mutable std::uint64_t totalInflated = 0;
};

} // namespace workbook
