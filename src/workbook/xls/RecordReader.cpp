#include "RecordReader.h"

#include "LittleEndian.h"

#include <array>

namespace workbook::xls {

namespace {
constexpr std::size_t headerSize = 4;
}

bool RecordReader::seek(std::size_t streamPos)
{
    if (streamPos > source.size())
        return false;
    pos = streamPos;
    return true;
}

std::optional<Record> RecordReader::next()
{
    if (source.size() - pos < headerSize)
        return std::nullopt;
    std::array<std::uint8_t, headerSize> header;
    source.copy(pos, headerSize, header.data());
    const std::size_t length = readU16(header.data() + 2);
    const std::size_t dataPos = pos + headerSize;
    if (source.size() - dataPos < length)
        return std::nullopt;
    Record result{readU16(header.data()), {}};
    if (length > 0)
        result.data = source.piece(dataPos, length);
    if (result.data.size() < length) {
        buffer.resize(length);
        source.copy(dataPos, length, buffer.data());
        result.data = buffer;
    }
    pos = dataPos + length;
    return result;
}

} // namespace workbook::xls
