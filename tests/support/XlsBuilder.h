#pragma once

// Builds .xls files in memory, record by record and sector by sector, for layouts that no spreadsheet program
// writes on request: a record split just so, a loop in a sector chain.

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
    Fields &utf16(std::u16string_view chars)
    {
        for (const char16_t c : chars)
            u16(c);
        return *this;
    }
    // An XLUnicodeString: 16-bit count, flags, UTF-16 characters.
    Fields &string(std::u16string_view chars)
    {
        return u16(static_cast<unsigned>(chars.size())).u8(1).utf16(chars);
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
                                  .raw(s.name));
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

// A compound file holding the given streams in its root storage, each a chain of consecutive sectors (or of
// mini sectors, under 4096 bytes), the streams first, then the mini stream, the mini sector table, the
// directory and at least fatCount sectors of sector table; more than 109 of these are listed in extra
// (DIFAT) sectors at the end.
inline Bytes compoundFile(const std::vector<std::pair<std::u16string, Bytes>> &streams,
                          unsigned sectorShift = 9, std::size_t fatCount = 1)
{
    constexpr std::uint32_t endOfChain = 0xFFFFFFFE, unused = 0xFFFFFFFF;
    const std::size_t ss = std::size_t{1} << sectorShift, perSector = ss / 4;
    Bytes body;
    std::vector<std::uint32_t> fat;
    const auto addChain = [&](const Bytes &data) {
        const auto start = static_cast<std::uint32_t>(fat.size());
        for (std::size_t at = 0; at < data.size(); at += ss)
            fat.push_back(at + ss < data.size() ? static_cast<std::uint32_t>(fat.size() + 1) : endOfChain);
        body += data;
        body.resize(fat.size() * ss, '\0');
        return data.empty() ? endOfChain : start;
    };

    Bytes miniStream;
    Fields miniFat;
    std::vector<std::uint32_t> starts;
    for (const auto &[name, data] : streams) {
        if (data.size() >= 4096) {
            starts.push_back(addChain(data));
            continue;
        }
        const auto start = static_cast<std::uint32_t>(miniStream.size() / 64);
        starts.push_back(data.empty() ? endOfChain : start);
        for (std::size_t at = 0; at < data.size(); at += 64)
            miniFat.u32(at + 64 < data.size() ? start + at / 64 + 1 : endOfChain);
        miniStream += data;
        miniStream.resize((miniStream.size() + 63) / 64 * 64, '\0');
    }
    const std::uint32_t miniStreamStart = addChain(miniStream);
    const Bytes miniFatBytes = miniFat;
    const std::uint32_t miniFatStart = addChain(miniFatBytes);

    Fields directory;
    const auto entry = [&](std::u16string_view name, unsigned type, std::uint32_t right, std::uint32_t child,
                           std::uint32_t start, std::size_t size) {
        Bytes nameField = Fields().utf16(name);
        nameField.resize(64, '\0');
        directory.raw(nameField).u16(static_cast<unsigned>(2 * name.size() + 2)).u8(type).u8(1).u32(unused);
        directory.u32(right)
            .u32(child)
            .raw(Bytes(36, '\0'))
            .u32(start)
            .u32(static_cast<std::uint32_t>(size))
            .u32(0);
    };
    entry(u"Root Entry", 5, unused, streams.empty() ? unused : 1, miniStreamStart, miniStream.size());
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const auto right = i + 1 < streams.size() ? static_cast<std::uint32_t>(i + 2) : unused;
        entry(streams[i].first, 2, right, unused, starts[i], streams[i].second.size());
    }
    const Bytes directoryBytes = directory;
    const std::uint32_t directoryStart = addChain(directoryBytes);

    // The sector table and its extra sectors describe themselves too.
    std::size_t difatCount = 0;
    for (;; ++fatCount) {
        difatCount = fatCount > 109 ? (fatCount - 109 + perSector - 2) / (perSector - 1) : 0;
        if (fatCount * perSector >= fat.size() + fatCount + difatCount)
            break;
    }
    const auto firstFat = static_cast<std::uint32_t>(fat.size());
    const auto fatSector = [&](std::size_t k) {
        return k < fatCount ? firstFat + std::uint32_t(k) : unused;
    };
    fat.resize(fat.size() + fatCount, 0xFFFFFFFD);
    fat.resize(fat.size() + difatCount, 0xFFFFFFFC);
    fat.resize(fatCount * perSector, unused);
    Fields tables;
    for (const auto next : fat)
        tables.u32(next);
    for (std::size_t d = 0; d < difatCount; ++d) {
        for (std::size_t j = 0; j < perSector - 1; ++j)
            tables.u32(fatSector(109 + d * (perSector - 1) + j));
        tables.u32(d + 1 < difatCount ? firstFat + std::uint32_t(fatCount + d + 1) : endOfChain);
    }

    const auto sectorsFor = [ss](std::size_t bytes) {
        return static_cast<std::uint32_t>((bytes + ss - 1) / ss);
    };
    Fields header;
    header.raw("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1").raw(Bytes(16, '\0'));
    header.u16(0x3E).u16(sectorShift == 12 ? 4 : 3).u16(0xFFFE).u16(sectorShift).u16(6).raw(Bytes(6, '\0'));
    header.u32(sectorShift == 12 ? sectorsFor(directoryBytes.size()) : 0).u32(std::uint32_t(fatCount));
    header.u32(directoryStart).u32(0).u32(4096).u32(miniFatStart).u32(sectorsFor(miniFatBytes.size()));
    header.u32(difatCount ? firstFat + std::uint32_t(fatCount) : endOfChain).u32(std::uint32_t(difatCount));
    for (std::size_t k = 0; k < 109; ++k)
        header.u32(fatSector(k));
    Bytes file = header;
    file.resize(ss, '\0');
    return file + body + Bytes(tables);
}

inline void patch32(Bytes &bytes, std::size_t offset, std::uint32_t value)
{
    bytes.replace(offset, 4, Fields().u32(value));
}

} // namespace xlstest
