#include "NumberFormats.h"

namespace workbook {

namespace {

bool builtInFormatShowsDate(std::uint16_t formatId)
{
    return (formatId >= 14 && formatId <= 22) || (formatId >= 45 && formatId <= 47);
}

} // namespace

bool formatCodeShowsDate(std::string_view code)
{
    for (std::size_t i = 0; i < code.size(); ++i) {
        switch (code[i]) {
        case '"':
            i = code.find('"', i + 1);
            break;
        case '[':
            i = code.find(']', i + 1);
            break;
        // The next character is shown as it is, or only sets a width or a fill.
        case '\\':
        case '_':
        case '*':
            ++i;
            break;
        case 'd':
        case 'D':
        case 'm':
        case 'M':
        case 'y':
        case 'Y':
            return true;
        default:
            break;
        }
        if (i == std::string_view::npos)
            return false;
    }
    return false;
}

void NumberFormats::addFormat(std::uint16_t formatId, std::string_view code)
{
    definedFormats[formatId] = formatCodeShowsDate(code);
}

bool NumberFormats::showsDate(std::uint16_t cellStyle) const
{
    if (cellStyle >= styleFormats.size())
        return false;
    const std::uint16_t formatId = styleFormats[cellStyle];
    const auto defined = definedFormats.find(formatId);
    return defined != definedFormats.end() ? defined->second : builtInFormatShowsDate(formatId);
}

} // namespace workbook
