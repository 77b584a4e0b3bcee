#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace workbook {

// Appends characters stored as the format stores them to UTF-8 text: one byte per character (the low
// half of UTF-16, i.e. Latin-1) or UTF-16LE. A string's characters may come in several pieces, so a
// surrogate pair split between two pieces is joined; a lone surrogate becomes U+FFFD.
class Utf8Appender
{
public:
    explicit Utf8Appender(std::string &out) : out(out) {}
    ~Utf8Appender() { finish(); }
    Utf8Appender(const Utf8Appender &) = delete;
    Utf8Appender &operator=(const Utf8Appender &) = delete;

    void appendBytes(std::span<const std::uint8_t> latin1);
    void appendUtf16(std::span<const std::uint8_t> utf16le);
    // Ends the string: a high surrogate still waiting for its partner is replaced.
    void finish();

private:
    std::string &out;
    std::uint16_t pendingHigh = 0;
};

} // namespace workbook
