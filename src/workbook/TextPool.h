#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace workbook {

// Texts kept back to back in one buffer, so that a sheet of thousands of texts costs a handful of
// allocations instead of one per text. Offsets are 32-bit: a workbook is at most 1 GB and its text at
// most twice that.
class TextPool
{
public:
    std::string_view text(std::size_t index) const
    {
        const std::uint32_t begin = index == 0 ? 0 : ends[index - 1];
        return std::string_view(bytes).substr(begin, ends[index] - begin);
    }

    // The next text is appended here, then ended with endText().
    std::string &tail() { return bytes; }
    // Ends the text appended since the last call; returns its index.
    std::uint32_t endText()
    {
        ends.push_back(static_cast<std::uint32_t>(bytes.size()));
        return static_cast<std::uint32_t>(ends.size() - 1);
    }

private:
    std::string bytes;
    std::vector<std::uint32_t> ends;
};

} // namespace workbook
