#pragma once

// Builds .xls files in memory, record by record and sector by sector, for tests that need a layout that
// no spreadsheet program writes on request: a record split just so, a loop in a sector chain.

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xlstest {

using Bytes = std::string;

// Little-endian fields, appended in order.
class Fields
{
public:
    Fields &u8(unsigned v)
    {
        data += static_cast<char>(v & 0xFF);
        return *this;
    }
    Fields &u16(unsigned v) { return u8(v).u8(v >> 8); }
    Fields &u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Fields &f64(double v)
    {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        return u32(static_cast<std::uint32_t>(bits)).u32(static_cast<std::uint32_t>(bits >> 32));
    }
    Fields &raw(std::string_view bytes)
    {
        data += bytes;
        return *this;
    }
    // Characters only, one byte each or UTF-16LE; the flags byte and the count are the caller's.
    Fields &latin1(std::string_view chars) { return raw(chars); }
    Fields &utf16(std::u16string_view chars)
    {
        for (const char16_t c : chars)
            u16(c);
        return *this;
    }
    // An XLUnicodeString: 16-bit count, flags, characters.
    Fields &string(std::u16string_view chars)
    {
        const bool wide = std::any_of(chars.begin(), chars.end(), [](char16_t c) { return c > 0xFF; });
        u16(static_cast<unsigned>(chars.size())).u8(wide ? 1 : 0);
        if (wide)
            return utf16(chars);
        for (const char16_t c : chars)
            u8(c);
        return *this;
    }
    operator Bytes() const { return data; }

private:
    Bytes data;
};

inline Bytes record(std::uint16_t type, const Bytes &data = {})
{
    return Fields().u16(type).u16(static_cast<unsigned>(data.size())).raw(data);
}

// Cell records; rows and columns 0-based as stored.
inline Fields cell(unsigned row, unsigned column, unsigned style = 15)
{
    return Fields().u16(row).u16(column).u16(style);
}
inline Bytes number(unsigned row, unsigned column, double value, unsigned style = 15)
{
    return record(0x0203, cell(row, column, style).f64(value));
}
inline Bytes label(unsigned row, unsigned column, std::u16string_view text)
{
    return record(0x0204, cell(row, column).string(text));
}

struct SheetSpec
{
    std::string name;
    Bytes records;     // between the sheet's BOF and EOF
    unsigned kind = 0; // BOUNDSHEET type: 0 worksheet, 2 chart
};

inline Bytes beginning(unsigned substream, unsigned version = 0x0600)
{
    return record(0x0809, Fields().u16(version).u16(substream).u16(0).u16(0).u32(0).u32(0));
}

// A BIFF8 Workbook stream: BOF, the given workbook-wide records, one BOUNDSHEET per sheet, EOF, then
// the sheets' substreams in the order given.
inline Bytes workbookStream(const Bytes &globalRecords, const std::vector<SheetSpec> &sheets)
{
    const auto sheetEntry = [](const SheetSpec &s, std::size_t offset) {
        return record(0x0085, Fields()
                                  .u32(static_cast<std::uint32_t>(offset))
                                  .u8(0)
                                  .u8(s.kind)
                                  .u8(static_cast<unsigned>(s.name.size()))
                                  .u8(0)
                                  .latin1(s.name));
    };
    Bytes head = beginning(0x0005) + globalRecords;
    std::size_t offset = head.size() + 4;
    for (const auto &s : sheets)
        offset += sheetEntry(s, 0).size();
    Bytes body;
    for (const auto &s : sheets) {
        head += sheetEntry(s, offset + body.size());
        body += beginning(0x0010) + s.records + record(0x000A);
    }
    return head + record(0x000A) + body;
}

// A compound file holding the given streams in its root storage, each stored as a plain chain of
// consecutive sectors (or mini sectors, under 4096 bytes). Offsets of its parts are kept so that tests
// can damage them.
struct CompoundFile
{
    Bytes bytes;
    std::size_t sectorSize = 512;
    std::vector<std::uint32_t> streamStarts;

    std::size_t sectorOffset(std::uint32_t sector) const { return (sector + 1) * sectorSize; }
    std::size_t fatEntryOffset(std::uint32_t sector) const
    {
        return sectorOffset(fatSectors[sector / (sectorSize / 4)]) + 4 * (sector % (sectorSize / 4));
    }
    std::size_t entryOffset(std::size_t entry) const { return sectorOffset(directoryStart) + 128 * entry; }

    std::vector<std::uint32_t> fatSectors;
    std::uint32_t directoryStart = 0;
    std::uint32_t miniFatStart = 0;
};

struct CompoundOptions
{
    unsigned sectorShift = 9;
    // More FAT sectors than 109 do not fit the header and are listed in extra (DIFAT) sectors.
    std::size_t minFatSectors = 1;
};

inline CompoundFile compoundFile(const std::vector<std::pair<std::u16string, Bytes>> &streams,
                                 CompoundOptions options = {})
{
    constexpr std::uint32_t endOfChain = 0xFFFFFFFE, unused = 0xFFFFFFFF;
    CompoundFile cf;
    cf.sectorSize = std::size_t{1} << options.sectorShift;
    const std::size_t ss = cf.sectorSize, perSector = ss / 4;
    const auto sectorsFor = [ss](std::size_t bytes) {
        return (bytes + ss - 1) / ss;
    };

    std::vector<Bytes> sectors; // contents in order, numbered from 0
    std::vector<std::uint32_t> fat;
    const auto addChain = [&](const Bytes &data) {
        const auto start = static_cast<std::uint32_t>(sectors.size());
        const std::size_t count = sectorsFor(data.size());
        for (std::size_t i = 0; i < count; ++i) {
            Bytes s = data.substr(i * ss, ss);
            s.resize(ss, '\0');
            sectors.push_back(s);
            fat.push_back(i + 1 < count ? start + static_cast<std::uint32_t>(i) + 1 : endOfChain);
        }
        return count == 0 ? endOfChain : start;
    };

    Bytes miniStream;
    std::vector<std::uint32_t> miniFat;
    for (const auto &[name, data] : streams) {
        if (data.size() >= 4096) {
            cf.streamStarts.push_back(addChain(data));
            continue;
        }
        const auto start = static_cast<std::uint32_t>(miniStream.size() / 64);
        const std::size_t count = (data.size() + 63) / 64;
        for (std::size_t i = 0; i < count; ++i)
            miniFat.push_back(i + 1 < count ? start + static_cast<std::uint32_t>(i) + 1 : endOfChain);
        miniStream += data;
        miniStream.resize(miniStream.size() + (64 - miniStream.size() % 64) % 64, '\0');
        cf.streamStarts.push_back(count == 0 ? endOfChain : start);
    }
    const std::uint32_t miniStreamStart = addChain(miniStream);
    Fields miniFatBytes;
    for (const auto next : miniFat)
        miniFatBytes.u32(next);
    cf.miniFatStart = addChain(miniFatBytes);

    Fields directory;
    const auto entry = [&](std::u16string_view name, unsigned type, std::uint32_t right, std::uint32_t child,
                           std::uint32_t start, std::uint64_t size) {
        Bytes nameField = Fields().utf16(name);
        nameField.resize(64, '\0');
        directory.raw(nameField).u16(static_cast<unsigned>(2 * name.size() + 2)).u8(type).u8(1);
        directory.u32(unused).u32(right).u32(child).raw(Bytes(16 + 4 + 16, '\0'));
        directory.u32(start).u32(static_cast<std::uint32_t>(size)).u32(0);
    };
    entry(u"Root Entry", 5, unused, streams.empty() ? unused : 1, miniStreamStart, miniStream.size());
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const auto right = i + 1 < streams.size() ? static_cast<std::uint32_t>(i + 2) : unused;
        entry(streams[i].first, 2, right, unused, cf.streamStarts[i], streams[i].second.size());
    }
    const Bytes directoryBytes = directory;
    cf.directoryStart = addChain(directoryBytes);

    // The FAT and DIFAT sectors come last and describe themselves too.
    std::size_t fatCount = options.minFatSectors, difatCount = 0;
    for (;;) {
        difatCount = fatCount > 109 ? (fatCount - 109 + perSector - 2) / (perSector - 1) : 0;
        if (fatCount * perSector >= sectors.size() + fatCount + difatCount)
            break;
        ++fatCount;
    }
    const auto firstFat = static_cast<std::uint32_t>(sectors.size());
    const auto firstDifat = static_cast<std::uint32_t>(firstFat + fatCount);
    for (std::size_t i = 0; i < fatCount; ++i) {
        cf.fatSectors.push_back(firstFat + static_cast<std::uint32_t>(i));
        fat.push_back(0xFFFFFFFD);
    }
    fat.resize(fat.size() + difatCount, 0xFFFFFFFC);
    fat.resize(fatCount * perSector, unused);
    for (std::size_t i = 0; i < fatCount; ++i) {
        Fields s;
        for (std::size_t j = 0; j < perSector; ++j)
            s.u32(fat[i * perSector + j]);
        sectors.push_back(s);
    }
    for (std::size_t d = 0; d < difatCount; ++d) {
        Fields s;
        for (std::size_t j = 0; j < perSector - 1; ++j) {
            const std::size_t k = 109 + d * (perSector - 1) + j;
            s.u32(k < fatCount ? cf.fatSectors[k] : unused);
        }
        s.u32(d + 1 < difatCount ? firstDifat + static_cast<std::uint32_t>(d) + 1 : endOfChain);
        sectors.push_back(s);
    }

    Fields header;
    header.raw("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1").raw(Bytes(16, '\0'));
    header.u16(0x3E).u16(options.sectorShift == 12 ? 4 : 3).u16(0xFFFE).u16(options.sectorShift).u16(6);
    const auto directorySectors = static_cast<std::uint32_t>(sectorsFor(directoryBytes.size()));
    header.raw(Bytes(6, '\0')).u32(options.sectorShift == 12 ? directorySectors : 0);
    header.u32(static_cast<std::uint32_t>(fatCount)).u32(cf.directoryStart).u32(0).u32(4096);
    header.u32(cf.miniFatStart).u32(static_cast<std::uint32_t>(sectorsFor(miniFat.size() * 4)));
    header.u32(difatCount ? firstDifat : endOfChain).u32(static_cast<std::uint32_t>(difatCount));
    for (std::size_t i = 0; i < 109; ++i)
        header.u32(i < fatCount ? cf.fatSectors[i] : unused);
    cf.bytes = header;
    cf.bytes.resize(ss, '\0');
    for (const auto &s : sectors)
        cf.bytes += s;
    return cf;
}

inline void patch32(Bytes &bytes, std::size_t offset, std::uint32_t value)
{
    const Bytes field = Fields().u32(value);
    bytes.replace(offset, 4, field);
}

} // namespace xlstest
