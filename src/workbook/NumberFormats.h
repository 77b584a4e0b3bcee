#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace workbook {

// Which cells show their number as a date. A cell names a cell style (XF record), the style names a
// number format: one of Excel's built-in ones, or a format code that the workbook defines.
class NumberFormats
{
public:
    void addFormat(std::uint16_t formatId, std::string_view code);
    // Styles are numbered in the order of their records.
    void addCellStyle(std::uint16_t formatId) { styleFormats.push_back(formatId); }
    // A style the workbook lacks shows numbers plainly, as Excel's default style does.
    bool showsDate(std::uint16_t cellStyle) const;

private:
    std::unordered_map<std::uint16_t, bool> definedFormats;
    std::vector<std::uint16_t> styleFormats;
};

// True when a format code writes a day, month or year, outside quoted text, [...] and escaped characters.
bool formatCodeShowsDate(std::string_view code);

} // namespace workbook
