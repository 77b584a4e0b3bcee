#pragma once

#include "ReadFailure.h"
#include "RecordReader.h"

#include <cstdint>
#include <span>
#include <string>

namespace bank {

// Reads the fields of one record's data in order; reading past its end is damage to `site`.
class RecordCursor
{
public:
    RecordCursor(std::span<const std::uint8_t> data, DamageSite site) : data(data), site(site) {}

    std::size_t remaining() const { return data.size() - pos; }
    std::uint8_t u8() { return take(1)[0]; }
    std::uint16_t u16();
    std::uint32_t u32();
    double f64();
    std::span<const std::uint8_t> take(std::size_t n);
    // A string of `count` characters after its flags byte (bit 0: two bytes per character), as UTF-8.
    void appendString(std::size_t count, std::string &out);

private:
    std::span<const std::uint8_t> data;
    std::size_t pos = 0;
    DamageSite site;
};

// The data of a record and of the CONTINUE records after it, read as one run of bytes. The characters of
// a string that go on into a CONTINUE record are preceded there by a fresh flags byte, which
// appendChars() takes care of; other fields simply carry on.
class ContinuedRecord
{
public:
    ContinuedRecord(RecordReader &records, std::span<const std::uint8_t> first, DamageSite site)
        : records(records), data(first), site(site)
    {}

    // True when this record and its continuations are used up.
    bool atEnd();
    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    void skip(std::size_t n);
    void appendChars(std::size_t count, bool twoBytes, std::string &out);

private:
    bool nextPart();
    void needPart();

    RecordReader &records;
    std::span<const std::uint8_t> data;
    std::size_t pos = 0;
    DamageSite site;
};

} // namespace bank
