#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <span>

namespace workbook {

// The bytes of a workbook file, kept for as long as any sheet of it: its texts are read from them when a
// cell asks. The buffer starts uninitialised, since the file fills it whole.
class FileBytes
{
public:
    explicit FileBytes(std::size_t size);

    std::size_t size() const { return length; }
    std::uint8_t *data() { return buffer.get(); }
    std::span<const std::uint8_t> bytes() const { return {buffer.get(), length}; }

private:
    struct Release
    {
        std::align_val_t alignment;
        void operator()(std::uint8_t *bytes) const { ::operator delete[](bytes, alignment); }
    };

    std::unique_ptr<std::uint8_t[], Release> buffer;
    std::size_t length;
};

} // namespace workbook
