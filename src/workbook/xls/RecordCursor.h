#pragma once

#include "ReadFailure.h"
#include "StreamView.h"

#include <cstdint>
#include <span>
#include <string>

namespace workbook {
class TextHasher;
}

namespace workbook::xls {

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

// The data of a record and of the CONTINUE records after it, read where it lies in the stream, as one run
// of bytes. The characters of a string that go on into a CONTINUE record are preceded there by a fresh
// flags byte, which the character functions take care of; other fields simply carry on.
class ContinuedRecord
{
public:
    // Starts at stream position pos, inside a record part whose data ends at partEnd.
    ContinuedRecord(const StreamView &stream, std::size_t pos, std::size_t partEnd, DamageSite site)
        : stream(stream), pos(pos), end(partEnd), site(site)
    {}

    std::size_t position() const { return pos; }
    std::size_t partEnd() const { return end; }
    // True when the record and its continuations are used up.
    bool atEnd() { return pos == end && !nextPart(); }
    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    void skip(std::size_t n);
    void skipChars(std::size_t count, bool twoBytes);
    void appendChars(std::size_t count, bool twoBytes, std::string &out);
    void hashChars(std::size_t count, bool twoBytes, TextHasher &hasher);
    // Whether `test` holds for each of `count` characters (UTF-16 code units); stops at the first that
    // fails it.
    bool allChars(std::size_t count, bool twoBytes, bool (*test)(char32_t));

private:
    bool nextPart();
    void needPart();
    // Moves through `count` characters part by part, handing each part's bytes to `use` while it returns
    // true; false when it stopped early.
    template <typename Use> bool walkChars(std::size_t count, bool twoBytes, Use use);
    // The same in pieces of whole characters, each within one block of the stream.
    template <typename Use> bool walkPieces(std::size_t count, bool twoBytes, Use use);
    // Hands the characters to a Utf8Appender or a TextHasher.
    template <typename Sink> void readChars(std::size_t count, bool twoBytes, Sink &sink);

    const StreamView &stream;
    std::size_t pos;
    std::size_t end;
    DamageSite site;
};

} // namespace workbook::xls
