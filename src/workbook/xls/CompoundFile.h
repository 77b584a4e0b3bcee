#pragma once

#include "ReadFailure.h"
#include "StreamView.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace workbook::xls {

// The container of an .xls file (Compound File Binary): a small file system of sectors, a sector table
// (FAT), a directory of named streams, and a mini stream holding the streams shorter than 4096 bytes.
// Every number read from the file is checked against the bytes present before it is used.
class CompoundFile
{
public:
    static bool hasSignature(std::span<const std::uint8_t> bytes);

    // Reads the header, the sector table and the directory; throws ReadFailure when they are damaged.
    explicit CompoundFile(std::span<const std::uint8_t> bytes);

    // The stream of that name directly in the root storage, the name compared case-insensitively as the
    // format does; nullopt when there is none. A stream whose sectors are damaged fails as `site`.
    std::optional<StreamView> stream(std::string_view name, DamageSite site) const;

private:
    struct DirectoryEntry
    {
        std::array<std::uint16_t, 32> name{};
        std::size_t nameLength = 0;
        std::uint8_t type = 0;
        std::uint32_t left = 0;
        std::uint32_t right = 0;
        std::uint32_t child = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;

        bool hasName(std::string_view ascii) const;
    };

    void readSectorTable();
    std::vector<std::uint32_t> fatSectorNumbers() const;
    void readDirectory();
    DirectoryEntry entry(std::uint32_t id) const;
    std::optional<DirectoryEntry> findInRoot(std::string_view name) const;

    std::size_t sectorSize() const { return std::size_t{1} << sectorShift; }
    std::size_t sectorOffset(std::uint32_t sector) const { return (std::size_t{sector} + 1) << sectorShift; }
    std::uint32_t headerU32(std::size_t offset) const;
    StreamView sectorStream(std::uint32_t start, std::uint64_t size, DamageSite site) const;
    StreamView miniStream(std::uint32_t start, std::uint64_t size, DamageSite site) const;
    std::vector<std::uint32_t> miniSectorTable() const;

    std::span<const std::uint8_t> file;
    unsigned sectorShift = 9;
    bool wideSizes = false;
    std::size_t sectorCount = 0;
    std::vector<std::uint32_t> fat;
    StreamView directory;
    std::size_t entryCount = 0;
};

} // namespace workbook::xls
