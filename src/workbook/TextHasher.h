#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace workbook {

// A hash of a text by its characters, equal for equal texts however they are stored: one byte or two per
// character, in several pieces, or as UTF-8. A lone surrogate reads as U+FFFD (Utf8Appender), so every
// surrogate and U+FFFD itself count as one character here; a pair of them hashes as the character it
// stands for, whose UTF-8 form is four bytes.
class TextHasher
{
public:
    void appendBytes(std::span<const std::uint8_t> latin1);
    void appendUtf16(std::span<const std::uint8_t> utf16le);
    // Valid UTF-8, as the reader makes it.
    void appendUtf8(std::string_view text);

    std::uint64_t value() const { return hash; }

private:
    void add(char32_t unit);

    std::uint64_t hash = 14695981039346656037u; // FNV-1a, one UTF-16 code unit at a time
};

} // namespace workbook
