#include "RecordCursor.h"

#include "LittleEndian.h"
#include "Utf8.h"

#include <algorithm>

namespace bank {

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
    while (records.peekType() == record::continuation) {
        const auto part = records.next();
        if (!part)
            return false;
        data = part->data;
        pos = 0;
        if (!data.empty())
            return true;
    }
    return false;
}

void ContinuedRecord::needPart()
{
    if (!nextPart())
        site.fail();
}

bool ContinuedRecord::atEnd()
{
    return pos == data.size() && !nextPart();
}

std::uint8_t ContinuedRecord::u8()
{
    if (pos == data.size())
        needPart();
    return data[pos++];
}

std::uint16_t ContinuedRecord::u16()
{
    if (data.size() - pos >= 2) {
        pos += 2;
        return readU16(data.data() + pos - 2);
    }
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
        if (pos == data.size())
            needPart();
        const std::size_t step = std::min(n, data.size() - pos);
        pos += step;
        n -= step;
    }
}

void ContinuedRecord::appendChars(std::size_t count, bool twoBytes, std::string &out)
{
    Utf8Appender appender(out);
    while (count > 0) {
        if (pos == data.size()) {
            needPart();
            twoBytes = (data[pos++] & 1) != 0;
        }
        const std::size_t available = data.size() - pos;
        const std::size_t n = std::min(count, twoBytes ? available / 2 : available);
        // Half a character at the end of a part cannot be read on.
        if (n == 0)
            site.fail();
        const auto chars = data.subspan(pos, twoBytes ? 2 * n : n);
        if (twoBytes)
            appender.appendUtf16(chars);
        else
            appender.appendBytes(chars);
        pos += chars.size();
        count -= n;
    }
}

} // namespace bank
