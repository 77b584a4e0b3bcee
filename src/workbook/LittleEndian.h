#pragma once

#include <bit>
#include <cstdint>

namespace workbook {

// The file formats store every integer little-endian, whatever the machine.
inline std::uint16_t readU16(const std::uint8_t *p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t readU32(const std::uint8_t *p)
{
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

inline std::uint64_t readU64(const std::uint8_t *p)
{
    return readU32(p) | std::uint64_t{readU32(p + 4)} << 32;
}

inline double readF64(const std::uint8_t *p)
{
    return std::bit_cast<double>(readU64(p));
}

} // namespace workbook
