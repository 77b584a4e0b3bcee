#include "Utf8.h"

#include "LittleEndian.h"

namespace bank {

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

// The text grows once per piece by the most it can take and is then cut back. Characters below U+0800,
// all of Latin and Cyrillic, take the short way; `pending` is a local so that the compiler can keep it in
// a register while writing through a char pointer.
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
    const std::size_t units = utf16le.size() / 2;
    const std::size_t start = out.size();
    // Three bytes per unit at most, and a waiting high surrogate may turn into three more.
    out.resize(start + 3 * units + 3);
    char *p = out.data() + start;
    char32_t pending = pendingHigh;
    const std::uint8_t *in = utf16le.data();
    for (const std::uint8_t *end = in + 2 * units; in != end; in += 2) {
        const char32_t unit = readU16(in);
        if (pending == 0 && unit < 0x80) {
            *p++ = static_cast<char>(unit);
        } else if (pending == 0 && unit < 0x800) {
            *p++ = static_cast<char>(0xC0 | unit >> 6);
            *p++ = static_cast<char>(0x80 | (unit & 0x3F));
        } else if (pending != 0 && isLowSurrogate(unit)) {
            p = encode(0x10000 + ((pending - 0xD800) << 10) + (unit - 0xDC00), p);
            pending = 0;
        } else {
            if (pending != 0)
                p = encode(replacement, p);
            pending = isHighSurrogate(unit) ? unit : 0;
            if (pending == 0)
                p = encode(isLowSurrogate(unit) ? replacement : unit, p);
        }
    }
    pendingHigh = static_cast<std::uint16_t>(pending);
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

} // namespace bank
