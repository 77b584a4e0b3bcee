#include "CompoundFile.h"

#include "LittleEndian.h"

#include <algorithm>

namespace workbook::xls {

namespace {

constexpr std::array<std::uint8_t, 8> signature = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::size_t headerSize = 512;
constexpr std::size_t headerFatEntries = 109;
constexpr std::uint32_t endOfChain = 0xFFFFFFFE;
constexpr std::uint32_t noEntry = 0xFFFFFFFF;
constexpr std::size_t entrySize = 128;
constexpr unsigned miniSectorShift = 6;
constexpr std::uint64_t miniStreamCutoff = 4096;
constexpr std::uint8_t streamType = 2;
constexpr std::uint8_t rootType = 5;

constexpr DamageSite sectorTable{Part::SectorTable};
constexpr DamageSite directorySite{Part::Directory};

// Follows a chain of blocks through its table and keeps the first `keep` of them. The whole chain is walked
// so that a loop anywhere in it is found: a chain that visits more blocks than exist must run in a circle.
std::vector<std::uint32_t> followChain(const std::vector<std::uint32_t> &table, std::uint32_t start,
                                       std::size_t blockCount, std::size_t keep)
{
    const std::size_t limit = std::min(table.size(), blockCount);
    std::vector<std::uint32_t> chain;
    chain.reserve(std::min(keep, limit));
    std::size_t length = 0;
    for (std::uint32_t block = start; block != endOfChain; block = table[block]) {
        if (block >= limit || ++length > limit)
            sectorTable.fail();
        if (chain.size() < keep)
            chain.push_back(block);
    }
    return chain;
}

std::size_t blocksFor(std::uint64_t size, unsigned shift)
{
    return static_cast<std::size_t>((size + (std::uint64_t{1} << shift) - 1) >> shift);
}

} // namespace

bool CompoundFile::hasSignature(std::span<const std::uint8_t> bytes)
{
    return bytes.size() >= signature.size() && std::equal(signature.begin(), signature.end(), bytes.begin());
}

CompoundFile::CompoundFile(std::span<const std::uint8_t> bytes) : file(bytes)
{
    constexpr DamageSite header{Part::Header};
    if (file.size() < headerSize)
        header.fail();
    const std::uint16_t shift = readU16(file.data() + 0x1E);
    if ((shift != 9 && shift != 12) || readU16(file.data() + 0x20) != miniSectorShift ||
        headerU32(0x38) != miniStreamCutoff)
        header.fail();
    sectorShift = shift;
    // Version 3 files may leave garbage in the high half of a stream size.
    wideSizes = readU16(file.data() + 0x1A) >= 4;
    if (file.size() < sectorSize())
        header.fail();
    // The last sector may be cut short; the bytes a stream needs are checked when it is read.
    sectorCount = blocksFor(file.size() - sectorSize(), sectorShift);
    readSectorTable();
    readDirectory();
}

std::uint32_t CompoundFile::headerU32(std::size_t offset) const
{
    return readU32(file.data() + offset);
}

std::vector<std::uint32_t> CompoundFile::fatSectorNumbers() const
{
    const std::uint32_t count = headerU32(0x2C);
    if (count == 0 || count > sectorCount)
        sectorTable.fail();
    std::vector<std::uint32_t> numbers;
    numbers.reserve(count);
    for (std::size_t i = 0; i < headerFatEntries && numbers.size() < count; ++i)
        numbers.push_back(headerU32(0x4C + 4 * i));
    // The rest are listed in a chain of extra sectors, each ending with the number of the next one.
    const std::size_t perSector = sectorSize() / 4 - 1;
    std::uint32_t next = headerU32(0x44);
    for (std::size_t visited = 0; numbers.size() < count; ++visited) {
        if (next >= sectorCount || visited >= sectorCount || sectorOffset(next) + sectorSize() > file.size())
            sectorTable.fail();
        const std::uint8_t *sector = file.data() + sectorOffset(next);
        for (std::size_t i = 0; i < perSector && numbers.size() < count; ++i)
            numbers.push_back(readU32(sector + 4 * i));
        next = readU32(sector + 4 * perSector);
    }
    return numbers;
}

void CompoundFile::readSectorTable()
{
    const auto numbers = fatSectorNumbers();
    fat.reserve(numbers.size() * (sectorSize() / 4));
    for (const std::uint32_t number : numbers) {
        if (number >= sectorCount || sectorOffset(number) + sectorSize() > file.size())
            sectorTable.fail();
        const std::uint8_t *sector = file.data() + sectorOffset(number);
        for (std::size_t i = 0; i < sectorSize() / 4; ++i)
            fat.push_back(readU32(sector + 4 * i));
    }
}

void CompoundFile::readDirectory()
{
    const auto chain = followChain(fat, headerU32(0x30), sectorCount, sectorCount);
    std::vector<std::size_t> offsets;
    offsets.reserve(chain.size());
    for (const std::uint32_t sector : chain) {
        if (sectorOffset(sector) + sectorSize() > file.size())
            directorySite.fail();
        offsets.push_back(sectorOffset(sector));
    }
    directory = StreamView(file, std::move(offsets), sectorShift, chain.size() << sectorShift);
    entryCount = directory.size() / entrySize;
    if (entryCount == 0 || entry(0).type != rootType)
        directorySite.fail();
}

CompoundFile::DirectoryEntry CompoundFile::entry(std::uint32_t id) const
{
    std::array<std::uint8_t, entrySize> raw;
    directory.copy(std::size_t{id} * entrySize, entrySize, raw.data());
    DirectoryEntry e;
    const std::uint16_t nameBytes = readU16(raw.data() + 0x40);
    if (nameBytes > 64 || nameBytes % 2 != 0)
        directorySite.fail();
    // The stored length counts the terminating zero.
    e.nameLength = nameBytes == 0 ? 0 : nameBytes / 2 - 1;
    for (std::size_t i = 0; i < e.nameLength; ++i)
        e.name[i] = readU16(raw.data() + 2 * i);
    e.type = raw[0x42];
    e.left = readU32(raw.data() + 0x44);
    e.right = readU32(raw.data() + 0x48);
    e.child = readU32(raw.data() + 0x4C);
    e.start = readU32(raw.data() + 0x74);
    e.size = wideSizes ? readU64(raw.data() + 0x78) : readU32(raw.data() + 0x78);
    return e;
}

bool CompoundFile::DirectoryEntry::hasName(std::string_view ascii) const
{
    const auto upper = [](std::uint16_t c) {
        return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
    };
    if (nameLength != ascii.size())
        return false;
    for (std::size_t i = 0; i < nameLength; ++i) {
        if (upper(name[i]) != upper(static_cast<unsigned char>(ascii[i])))
            return false;
    }
    return true;
}

// The root's children form a tree through their left and right links. Every child is visited, so a tree
// that is not kept in order by a careless writer still works; a link that points back is damage.
std::optional<CompoundFile::DirectoryEntry> CompoundFile::findInRoot(std::string_view name) const
{
    std::vector<bool> seen(entryCount);
    std::vector<std::uint32_t> pending{entry(0).child};
    while (!pending.empty()) {
        const std::uint32_t id = pending.back();
        pending.pop_back();
        if (id == noEntry)
            continue;
        if (id >= entryCount || seen[id])
            directorySite.fail();
        seen[id] = true;
        const DirectoryEntry e = entry(id);
        if (e.type == streamType && e.hasName(name))
            return e;
        pending.push_back(e.left);
        pending.push_back(e.right);
    }
    return std::nullopt;
}

std::optional<StreamView> CompoundFile::stream(std::string_view name, DamageSite site) const
{
    const auto found = findInRoot(name);
    if (!found)
        return std::nullopt;
    if (found->size < miniStreamCutoff)
        return miniStream(found->start, found->size, site);
    return sectorStream(found->start, found->size, site);
}

StreamView CompoundFile::sectorStream(std::uint32_t start, std::uint64_t size, DamageSite site) const
{
    if (size == 0)
        return {};
    if (size > file.size())
        site.fail();
    const std::size_t needed = blocksFor(size, sectorShift);
    const auto chain = followChain(fat, start, sectorCount, needed);
    if (chain.size() < needed)
        site.fail();
    std::vector<std::size_t> offsets;
    offsets.reserve(needed);
    for (std::size_t i = 0; i < needed; ++i) {
        const std::size_t used = std::min<std::size_t>(sectorSize(), size - (i << sectorShift));
        if (sectorOffset(chain[i]) + used > file.size())
            site.fail();
        offsets.push_back(sectorOffset(chain[i]));
    }
    return StreamView(file, std::move(offsets), sectorShift, static_cast<std::size_t>(size));
}

std::vector<std::uint32_t> CompoundFile::miniSectorTable() const
{
    const auto chain = followChain(fat, headerU32(0x3C), sectorCount, sectorCount);
    std::vector<std::uint32_t> table;
    table.reserve(chain.size() * (sectorSize() / 4));
    for (const std::uint32_t sector : chain) {
        if (sectorOffset(sector) + sectorSize() > file.size())
            sectorTable.fail();
        for (std::size_t i = 0; i < sectorSize() / 4; ++i)
            table.push_back(readU32(file.data() + sectorOffset(sector) + 4 * i));
    }
    return table;
}

// A short stream lives in 64-byte blocks of the mini stream, which is itself stored in sectors as the
// root entry's stream. A block never crosses a sector, since the sector size is a multiple of 64.
StreamView CompoundFile::miniStream(std::uint32_t start, std::uint64_t size, DamageSite site) const
{
    if (size == 0)
        return {};
    const DirectoryEntry root = entry(0);
    const StreamView container = sectorStream(root.start, root.size, sectorTable);
    const std::size_t needed = blocksFor(size, miniSectorShift);
    const auto chain =
        followChain(miniSectorTable(), start, blocksFor(container.size(), miniSectorShift), needed);
    if (chain.size() < needed)
        site.fail();
    std::vector<std::size_t> offsets;
    offsets.reserve(needed);
    for (std::size_t i = 0; i < needed; ++i) {
        const std::size_t pos = std::size_t{chain[i]} << miniSectorShift;
        const std::size_t used =
            std::min<std::size_t>(std::size_t{1} << miniSectorShift, size - (i << miniSectorShift));
        if (pos + used > container.size())
            site.fail();
        offsets.push_back(container.fileOffset(pos));
    }
    return StreamView(file, std::move(offsets), miniSectorShift, static_cast<std::size_t>(size));
}

} // namespace workbook::xls
