#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace workbook::xls {

// A stream of a compound file, read in place: equal-sized blocks scattered over the file. Reading through
// the blocks instead of copying the stream keeps the memory a workbook needs close to its file size.
class StreamView
{
public:
    StreamView() = default;
    // The bytes of the stream that fall into each block must lie within file; CompoundFile checks this.
    StreamView(std::span<const std::uint8_t> file, std::vector<std::size_t> blockOffsets, unsigned blockShift,
               std::size_t size)
        : file(file), blocks(std::move(blockOffsets)), shift(blockShift), streamSize(size)
    {}

    std::size_t size() const { return streamSize; }

    std::size_t fileOffset(std::size_t pos) const { return blocks[pos >> shift] + (pos & blockMask()); }

    // The bytes from pos up to pos + n or to the end of pos's block, whichever comes first.
    std::span<const std::uint8_t> piece(std::size_t pos, std::size_t n) const
    {
        const std::size_t inBlock = (std::size_t{1} << shift) - (pos & blockMask());
        return file.subspan(fileOffset(pos), std::min(n, inBlock));
    }

    // Copies n bytes at pos; pos + n must not exceed size().
    void copy(std::size_t pos, std::size_t n, std::uint8_t *out) const
    {
        while (n > 0) {
            const auto part = piece(pos, n);
            out = std::copy(part.begin(), part.end(), out);
            pos += part.size();
            n -= part.size();
        }
    }

private:
    std::size_t blockMask() const { return (std::size_t{1} << shift) - 1; }

    std::span<const std::uint8_t> file;
    std::vector<std::size_t> blocks;
    unsigned shift = 9;
    std::size_t streamSize = 0;
};

} // namespace workbook::xls
