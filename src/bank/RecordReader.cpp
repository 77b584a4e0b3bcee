#include "RecordReader.h"

#include "LittleEndian.h"

#include <array>

namespace bank {

namespace {
constexpr std::size_t headerSize = 4;
}

bool RecordReader::seek(std::size_t streamPos)
{
    if (streamPos > stream.size())
        return false;
    pos = streamPos;
    return true;
}

std::optional<std::uint16_t> RecordReader::peekType() const
{
    if (stream.size() - pos < 2)
        return std::nullopt;
    std::array<std::uint8_t, 2> type;
    stream.copy(pos, type.size(), type.data());
    return readU16(type.data());
}

std::size_t RecordReader::continuationLength() const
{
    std::size_t total = 0;
    std::array<std::uint8_t, headerSize> header;
    std::size_t at = pos;
    while (stream.size() - at >= headerSize) {
        stream.copy(at, headerSize, header.data());
        const std::size_t length = readU16(header.data() + 2);
        if (readU16(header.data()) != record::continuation || stream.size() - at - headerSize < length)
            break;
        total += length;
        at += headerSize + length;
    }
    return total;
}

std::optional<Record> RecordReader::next()
{
    if (stream.size() - pos < headerSize)
        return std::nullopt;
    std::array<std::uint8_t, headerSize> header;
    stream.copy(pos, headerSize, header.data());
    const std::size_t length = readU16(header.data() + 2);
    const std::size_t dataPos = pos + headerSize;
    if (stream.size() - dataPos < length)
        return std::nullopt;
    Record result{readU16(header.data()), {}};
    if (length > 0)
        result.data = stream.piece(dataPos, length);
    if (result.data.size() < length) {
        buffer.resize(length);
        stream.copy(dataPos, length, buffer.data());
        result.data = buffer;
    }
    pos = dataPos + length;
    return result;
}

} // namespace bank
