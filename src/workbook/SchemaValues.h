#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace workbook {

// Values spelt as XML Schema spells them, as OpenDocument writes its cells' value attributes and Office Open
// XML its dates and booleans. Each gives nothing for a text it cannot read.

// office:value: a decimal number, finite.
std::optional<double> decimalValue(std::string_view text);
// office:date-value, and an Office Open XML date cell's value: YYYY-MM-DD, optionally THH:MM:SS with a
// fraction of a second (a time zone is ignored), as the serial day number of the 1900 date system.
std::optional<double> dateSerial(std::string_view text);
// office:time-value: an ISO 8601 duration such as PT13H45M30S, optionally signed and with days, in days.
std::optional<double> durationDays(std::string_view text);
// office:boolean-value, and Office Open XML's booleans: true or false, 1 or 0.
std::optional<bool> booleanValue(std::string_view text);
// The BIFF code of an error's shown text (#DIV/0!, #N/A, ...).
std::optional<std::uint8_t> errorCode(std::string_view text);

} // namespace workbook
