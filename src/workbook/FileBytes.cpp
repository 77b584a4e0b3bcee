#include "FileBytes.h"

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace workbook {

namespace {

// A huge page on x86-64, and on arm64 with 4 KiB pages.
constexpr std::size_t hugePageSize = std::size_t{2} << 20;

// Fresh memory comes in page by page as it is first written, each page a trip into the kernel, which
// costs more than copying the page's bytes. A large buffer is laid out for huge pages, 512 times fewer
// trips: aligned, whole pages, and the kernel asked to use them. The rounding adds less than one huge page,
// never more than the file itself.
std::size_t capacityFor(std::size_t size)
{
    return size < hugePageSize ? size : (size + hugePageSize - 1) / hugePageSize * hugePageSize;
}

std::align_val_t alignmentFor(std::size_t size)
{
    return std::align_val_t{size < hugePageSize ? alignof(std::max_align_t) : hugePageSize};
}

// Only a hint: where the system has no huge pages, or keeps them off, the buffer works as any other.
void adviseHugePages([[maybe_unused]] std::uint8_t *start, [[maybe_unused]] std::size_t size)
{
#ifdef MADV_HUGEPAGE
    if (size >= hugePageSize)
        madvise(start, size, MADV_HUGEPAGE);
#endif
}

} // namespace

FileBytes::FileBytes(std::size_t size)
    : buffer(static_cast<std::uint8_t *>(::operator new[](capacityFor(size), alignmentFor(size))),
             Release{alignmentFor(size)}),
      length(size)
{
    adviseHugePages(buffer.get(), capacityFor(size));
}

} // namespace workbook
