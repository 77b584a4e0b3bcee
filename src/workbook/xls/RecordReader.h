#pragma once

#include "StreamView.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace workbook::xls {

namespace record {
constexpr std::uint16_t formula = 0x0006;
constexpr std::uint16_t endOfFile = 0x000A;
constexpr std::uint16_t datemode = 0x0022;
constexpr std::uint16_t filepass = 0x002F;
constexpr std::uint16_t continuation = 0x003C;
constexpr std::uint16_t boundsheet = 0x0085;
constexpr std::uint16_t mulrk = 0x00BD;
constexpr std::uint16_t mulblank = 0x00BE;
constexpr std::uint16_t rstring = 0x00D6;
constexpr std::uint16_t xf = 0x00E0;
constexpr std::uint16_t sst = 0x00FC;
constexpr std::uint16_t labelsst = 0x00FD;
constexpr std::uint16_t blank = 0x0201;
constexpr std::uint16_t number = 0x0203;
constexpr std::uint16_t label = 0x0204;
constexpr std::uint16_t boolerr = 0x0205;
constexpr std::uint16_t string = 0x0207;
constexpr std::uint16_t rk = 0x027E;
constexpr std::uint16_t format = 0x041E;
constexpr std::uint16_t bof = 0x0809;
} // namespace record

struct Record
{
    std::uint16_t type = 0;
    std::span<const std::uint8_t> data;
};

// The records of a BIFF stream, one after another. A record's data is handed out in place when it lies
// within one block of the stream, else gathered into a buffer; either way it stays valid until the next
// call of next().
class RecordReader
{
public:
    explicit RecordReader(const StreamView &stream) : source(stream) {}

    const StreamView &stream() const { return source; }
    // After next(), the position where the record's data ends.
    std::size_t position() const { return pos; }
    // False when pos lies beyond the stream.
    bool seek(std::size_t streamPos);
    // The next whole record; nullopt at the end of the stream or when the stream ends inside a record.
    std::optional<Record> next();

private:
    const StreamView &source;
    std::size_t pos = 0;
    std::vector<std::uint8_t> buffer;
};

} // namespace workbook::xls
