#pragma once

#include <array>
#include <string_view>
#include <utility>

namespace workbook {

// The error values a cell can hold, by their code in the file, with the text Excel shows for them.
inline constexpr std::array<std::pair<int, std::string_view>, 7> errorCodes{{
    {0x00, "#NULL!"},
    {0x07, "#DIV/0!"},
    {0x0F, "#VALUE!"},
    {0x17, "#REF!"},
    {0x1D, "#NAME?"},
    {0x24, "#NUM!"},
    {0x2A, "#N/A"},
}};

// Empty for a code that is not an error value.
constexpr std::string_view errorCodeText(double code)
{
    for (const auto &[value, text] : errorCodes) {
        if (code == value)
            return text;
    }
    return {};
}

} // namespace workbook
