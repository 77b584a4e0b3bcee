#include "TextHasher.h"

#include "LittleEndian.h"

namespace workbook {

namespace {

constexpr char32_t replacement = 0xFFFD;
constexpr std::uint64_t prime = 1099511628211u;

bool readsAsReplacement(char32_t unit)
{
    return (unit >= 0xD800 && unit <= 0xDFFF) || unit == replacement;
}

} // namespace

void TextHasher::add(char32_t unit)
{
    hash = (hash ^ (readsAsReplacement(unit) ? replacement : unit)) * prime;
}

void TextHasher::appendBytes(std::span<const std::uint8_t> latin1)
{
    for (const std::uint8_t c : latin1)
        add(c);
}

void TextHasher::appendUtf16(std::span<const std::uint8_t> utf16le)
{
    for (std::size_t i = 0; i + 1 < utf16le.size(); i += 2)
        add(readU16(utf16le.data() + i));
}

void TextHasher::appendUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (length == 4) {
            // A character beyond U+FFFF, which UTF-16 stores as a surrogate pair.
            add(replacement);
            add(replacement);
        } else {
            char32_t c = length == 1 ? lead : lead & (0x7F >> length);
            for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
                c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            add(c);
        }
        i += length;
    }
}

} // namespace workbook
