#include "RecordCursor.h"

#include "LittleEndian.h"
#include "RecordReader.h"
#include "TextHasher.h"
#include "Utf8.h"

#include <algorithm>
#include <array>

namespace workbook::xls {

std::span<const std::uint8_t> RecordCursor::take(std::size_t n)
{
    if (remaining() < n)
        site.fail();
    const auto part = data.subspan(pos, n);
    pos += n;
    return part;
}

std::uint16_t RecordCursor::u16()
{
    return readU16(take(2).data());
}

std::uint32_t RecordCursor::u32()
{
    return readU32(take(4).data());
}

double RecordCursor::f64()
{
    return readF64(take(8).data());
}

void RecordCursor::appendString(std::size_t count, std::string &out)
{
    const bool twoBytes = (u8() & 1) != 0;
    const auto chars = take(twoBytes ? 2 * count : count);
    Utf8Appender appender(out);
    if (twoBytes)
        appender.appendUtf16(chars);
    else
        appender.appendBytes(chars);
}

bool ContinuedRecord::nextPart()
{
    std::array<std::uint8_t, 4> header;
    for (std::size_t at = end; stream.size() - at >= header.size();) {
        stream.copy(at, header.size(), header.data());
        const std::size_t length = readU16(header.data() + 2);
        if (readU16(header.data()) != record::continuation || stream.size() - at - header.size() < length)
            return false;
        at += header.size() + length;
        if (length > 0) {
            pos = at - length;
            end = at;
            return true;
        }
    }
    return false;
}

void ContinuedRecord::needPart()
{
    if (!nextPart())
        site.fail();
}

std::uint8_t ContinuedRecord::u8()
{
    if (pos == end)
        needPart();
    return stream.piece(pos++, 1)[0];
}

std::uint16_t ContinuedRecord::u16()
{
    const std::uint8_t low = u8();
    return static_cast<std::uint16_t>(low | u8() << 8);
}

std::uint32_t ContinuedRecord::u32()
{
    const std::uint16_t low = u16();
    return low | std::uint32_t{u16()} << 16;
}

void ContinuedRecord::skip(std::size_t n)
{
    while (n > 0) {
        if (pos == end)
            needPart();
        const std::size_t step = std::min(n, end - pos);
        pos += step;
        n -= step;
    }
}

template <typename Use> bool ContinuedRecord::walkChars(std::size_t count, bool twoBytes, Use use)
{
    while (count > 0) {
        if (pos == end) {
            needPart();
            twoBytes = (stream.piece(pos++, 1)[0] & 1) != 0;
        }
        const std::size_t available = end - pos;
        const std::size_t n = std::min(count, twoBytes ? available / 2 : available);
        // Half a character at the end of a part cannot be read on.
        if (n == 0)
            site.fail();
        const std::size_t size = twoBytes ? 2 * n : n;
        if (!use(pos, size, twoBytes))
            return false;
        pos += size;
        count -= n;
    }
    return true;
}

void ContinuedRecord::skipChars(std::size_t count, bool twoBytes)
{
    walkChars(count, twoBytes, [](std::size_t, std::size_t, bool) { return true; });
}

// The stream's blocks need not begin at a character, so a two-byte character may lie across two of them:
// it comes as a piece of its own.
template <typename Use> bool ContinuedRecord::walkPieces(std::size_t count, bool twoBytes, Use use)
{
    return walkChars(count, twoBytes, [&](std::size_t at, std::size_t size, bool wide) {
        while (size > 0) {
            auto chars = stream.piece(at, size);
            std::array<std::uint8_t, 2> across;
            if (wide && chars.size() == 1) {
                stream.copy(at, across.size(), across.data());
                chars = across;
            } else if (wide) {
                chars = chars.first(chars.size() & ~std::size_t{1});
            }
            if (!use(chars, wide))
                return false;
            at += chars.size();
            size -= chars.size();
        }
        return true;
    });
}

template <typename Sink> void ContinuedRecord::readChars(std::size_t count, bool twoBytes, Sink &sink)
{
    walkPieces(count, twoBytes, [&](std::span<const std::uint8_t> chars, bool wide) {
        if (wide)
            sink.appendUtf16(chars);
        else
            sink.appendBytes(chars);
        return true;
    });
}

void ContinuedRecord::appendChars(std::size_t count, bool twoBytes, std::string &out)
{
    Utf8Appender appender(out);
    readChars(count, twoBytes, appender);
}

void ContinuedRecord::hashChars(std::size_t count, bool twoBytes, TextHasher &hasher)
{
    readChars(count, twoBytes, hasher);
}

// A text that is not blank is mostly told by its first character.
bool ContinuedRecord::allChars(std::size_t count, bool twoBytes, bool (*test)(char32_t))
{
    return walkPieces(count, twoBytes, [&](std::span<const std::uint8_t> chars, bool wide) {
        const std::size_t unitSize = wide ? 2 : 1;
        for (std::size_t i = 0; i < chars.size(); i += unitSize) {
            if (!test(wide ? readU16(chars.data() + i) : chars[i]))
                return false;
        }
        return true;
    });
}

} // namespace workbook::xls
