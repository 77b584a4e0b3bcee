#include "Utf8.h"

#include "LittleEndian.h"

namespace workbook {

namespace {

constexpr char32_t replacement = 0xFFFD;

bool isHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

char *encode(char32_t c, char *p)
{
    if (c < 0x80) {
        *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *p++ = static_cast<char>(0xC0 | c >> 6);
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *p++ = static_cast<char>(0xE0 | c >> 12);
        *p++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *p++ = static_cast<char>(0xF0 | c >> 18);
        *p++ = static_cast<char>(0x80 | (c >> 12 & 0x3F));
        *p++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return p;
}

} // namespace

// The text grows once per piece by the most it can take and is then cut back, so that a character costs
// a few comparisons and stores.
void Utf8Appender::appendBytes(std::span<const std::uint8_t> latin1)
{
    finish();
    const std::size_t start = out.size();
    out.resize(start + 2 * latin1.size());
    char *p = out.data() + start;
    for (const std::uint8_t c : latin1) {
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
        } else {
            *p++ = static_cast<char>(0xC0 | c >> 6);
            *p++ = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

void Utf8Appender::appendUtf16(std::span<const std::uint8_t> utf16le)
{
    const std::uint8_t *in = utf16le.data();
    const std::uint8_t *const end = in + utf16le.size() / 2 * 2;
    const std::size_t start = out.size();
    // Three bytes per unit at most, and a waiting high surrogate may turn into three more.
    out.resize(start + utf16le.size() / 2 * 3 + 3);
    char *p = out.data() + start;
    if (pendingHigh != 0 && in != end) {
        const char32_t unit = readU16(in);
        if (isLowSurrogate(unit)) {
            p = encode(0x10000 + ((pendingHigh - 0xD800u) << 10) + (unit - 0xDC00), p);
            in += 2;
        } else {
            p = encode(replacement, p);
        }
        pendingHigh = 0;
    }
    while (in != end) {
        const char32_t unit = readU16(in);
        in += 2;
        if (unit < 0x800) {
            // One byte or two, chosen without a branch: words and the spaces between them alternate.
            const bool twoBytes = unit >= 0x80;
            p[0] = static_cast<char>(twoBytes ? 0xC0 | unit >> 6 : unit);
            p[1] = static_cast<char>(0x80 | (unit & 0x3F));
            p += 1 + twoBytes;
        } else if (!isHighSurrogate(unit)) {
            p = encode(isLowSurrogate(unit) ? replacement : unit, p);
        } else if (in == end) {
            // Its partner may come in the next piece.
            pendingHigh = static_cast<std::uint16_t>(unit);
        } else if (const char32_t low = readU16(in); isLowSurrogate(low)) {
            p = encode(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00), p);
            in += 2;
        } else {
            p = encode(replacement, p);
        }
    }
    out.resize(static_cast<std::size_t>(p - out.data()));
}

void Utf8Appender::finish()
{
    if (pendingHigh == 0)
        return;
    pendingHigh = 0;
    char buffer[3];
    out.append(buffer, encode(replacement, buffer));
}

} // namespace workbook
