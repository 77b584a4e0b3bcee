#include "SharedStrings.h"

#include "CellText.h"
#include "RecordCursor.h"
#include "TextHasher.h"

#include <algorithm>

namespace workbook::xls {

namespace {

constexpr DamageSite site{Part::SharedStrings};

struct StringHeader
{
    std::uint16_t length = 0;
    bool twoBytes = false;
    std::size_t trailingBytes = 0; // formatting runs and phonetic data after the characters
};

StringHeader readHeader(ContinuedRecord &in)
{
    StringHeader header;
    header.length = in.u16();
    const std::uint8_t flags = in.u8();
    header.twoBytes = (flags & 0x01) != 0;
    const std::size_t formatRuns = (flags & 0x08) != 0 ? in.u16() : 0;
    const std::size_t phoneticSize = (flags & 0x04) != 0 ? in.u32() : 0;
    header.trailingBytes = 4 * formatRuns + phoneticSize;
    return header;
}

} // namespace

std::vector<StringPlace> findSharedStrings(RecordReader &records, std::span<const std::uint8_t> sst)
{
    const std::size_t sstEnd = records.position();
    ContinuedRecord in(records.stream(), sstEnd - sst.size(), sstEnd, site);
    in.u32(); // how often the strings are used in all
    const std::uint32_t count = in.u32();
    std::vector<StringPlace> places;
    // Room for them all at once, which spares the copies of a growing list, but no more than the rest of
    // the stream can hold: a string takes three bytes at least.
    places.reserve(std::min<std::size_t>(count, (records.stream().size() - in.position()) / 3));
    // Fewer strings than announced is no harm: a cell that names a missing one is caught by itself.
    while (places.size() < count && !in.atEnd()) {
        places.push_back(
            {static_cast<std::uint32_t>(in.position()), static_cast<std::uint32_t>(in.partEnd())});
        const StringHeader header = readHeader(in);
        in.skipChars(header.length, header.twoBytes);
        in.skip(header.trailingBytes);
    }
    records.seek(in.partEnd());
    return places;
}

// The strings were walked when the workbook was opened, so reading them again cannot fail.
ContinuedRecord SharedStrings::reader(std::size_t index) const
{
    return ContinuedRecord(stream, places[index].position, places[index].partEnd, site);
}

std::string SharedStrings::text(std::size_t index) const
{
    ContinuedRecord in = reader(index);
    const StringHeader header = readHeader(in);
    std::string text;
    in.appendChars(header.length, header.twoBytes, text);
    return text;
}

bool SharedStrings::isBlank(std::size_t index) const
{
    ContinuedRecord in = reader(index);
    const StringHeader header = readHeader(in);
    return in.allChars(header.length, header.twoBytes, isBlankCharacter);
}

std::uint64_t SharedStrings::textHash(std::size_t index) const
{
    ContinuedRecord in = reader(index);
    const StringHeader header = readHeader(in);
    TextHasher hasher;
    in.hashChars(header.length, header.twoBytes, hasher);
    return hasher.value();
}

} // namespace workbook::xls
