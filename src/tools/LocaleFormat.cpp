#include "LocaleFormat.h"

#include <clocale>
#include <langinfo.h>

namespace tools {

namespace {

// The pattern for one strftime conversion character; empty for those the pattern cannot express.
std::string_view patternFor(char conversion)
{
    switch (conversion) {
    case 'd':
        return "dd";
    case 'e':
        return "d";
    case 'm':
    case 'b':
    case 'B':
    case 'h':
        return "MM";
    case 'y':
        return "yy";
    case 'Y':
        return "yyyy";
    case 'D':
        return "MM/dd/yy";
    case 'F':
        return "yyyy-MM-dd";
    case '%':
        return "%";
    default:
        return {};
    }
}

// glibc's padding flags and the E/O alternative-form modifiers, which change nothing for a numeric pattern,
// except that '-' asks for no leading zero.
bool isModifier(char c)
{
    return c == '-' || c == '_' || c == '0' || c == '^' || c == '#' || c == 'E' || c == 'O';
}

std::string withoutLeadingZero(std::string_view pattern)
{
    if (pattern == "dd")
        return "d";
    if (pattern == "MM")
        return "M";
    return std::string(pattern);
}

} // namespace

std::string datePatternFromStrftime(std::string_view strftimeFormat)
{
    std::string pattern;
    std::size_t i = 0;
    while (i < strftimeFormat.size()) {
        if (strftimeFormat[i] != '%' || i + 1 == strftimeFormat.size()) {
            pattern += strftimeFormat[i++];
            continue;
        }
        ++i;
        bool noLeadingZero = false;
        while (i < strftimeFormat.size() && isModifier(strftimeFormat[i])) {
            noLeadingZero = noLeadingZero || strftimeFormat[i] == '-';
            ++i;
        }
        if (i == strftimeFormat.size())
            break;
        const std::string_view converted = patternFor(strftimeFormat[i++]);
        pattern += noLeadingZero ? withoutLeadingZero(converted) : std::string(converted);
    }
    return pattern;
}

workbook::TextFormat textFormatFromCLocale()
{
    workbook::TextFormat format;
    if (const char *point = std::localeconv()->decimal_point; point != nullptr && *point != '\0')
        format.decimalSeparator = point;
    if (const char *dateFormat = nl_langinfo(D_FMT); dateFormat != nullptr && *dateFormat != '\0')
        format.shortDatePattern = datePatternFromStrftime(dateFormat);
    return format;
}

} // namespace tools
