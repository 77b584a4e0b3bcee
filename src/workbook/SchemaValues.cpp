#include "SchemaValues.h"

#include "ErrorCodes.h"

#include <charconv>
#include <chrono>
#include <cmath>

namespace workbook {

namespace {

constexpr double secondsPerDay = 86400;

// Reads a number at the front of text and drops it from there.
template <typename Number> std::optional<Number> takeNumber(std::string_view &text)
{
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end == text.data())
        return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

bool take(std::string_view &text, char expected)
{
    if (text.empty() || text.front() != expected)
        return false;
    text.remove_prefix(1);
    return true;
}

// Excel counts 1900 as a leap year, so its serials before 1 March 1900 are one less than the days since
// 30 December 1899.
double serialOfDay(const std::chrono::year_month_day &date)
{
    using namespace std::chrono;
    const double days = (sys_days{date} - sys_days{year{1899} / December / 30}).count();
    return days < 61 ? days - 1 : days;
}

// HH:MM:SS[.fff] in seconds.
std::optional<double> timeOfDay(std::string_view text)
{
    const auto hours = takeNumber<int>(text);
    if (!hours || !take(text, ':'))
        return std::nullopt;
    const auto minutes = takeNumber<int>(text);
    if (!minutes || !take(text, ':'))
        return std::nullopt;
    const auto seconds = takeNumber<double>(text);
    if (!seconds || *hours < 0 || *hours > 24 || *minutes < 0 || *minutes > 59 ||
        !(*seconds >= 0 && *seconds < 61))
        return std::nullopt;
    if (!text.empty() && text.front() != 'Z' && text.front() != '+' && text.front() != '-')
        return std::nullopt;
    return *hours * 3600.0 + *minutes * 60.0 + *seconds;
}

} // namespace

std::optional<double> decimalValue(std::string_view text)
{
    const auto value = takeNumber<double>(text);
    if (!value || !text.empty() || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

std::optional<double> dateSerial(std::string_view text)
{
    const auto year = takeNumber<int>(text);
    if (!year || !take(text, '-'))
        return std::nullopt;
    const auto month = takeNumber<unsigned>(text);
    if (!month || !take(text, '-'))
        return std::nullopt;
    const auto day = takeNumber<unsigned>(text);
    if (!day || *year < 1 || *year > 9999)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{*year}, std::chrono::month{*month},
                                           std::chrono::day{*day}};
    if (!date.ok())
        return std::nullopt;
    double seconds = 0;
    if (take(text, 'T')) {
        const auto time = timeOfDay(text);
        if (!time)
            return std::nullopt;
        seconds = *time;
    } else if (!text.empty()) {
        return std::nullopt;
    }
    return serialOfDay(date) + seconds / secondsPerDay;
}

std::optional<double> durationDays(std::string_view text)
{
    const bool negative = take(text, '-');
    if (!take(text, 'P'))
        return std::nullopt;
    double seconds = 0;
    bool inTime = false;
    bool any = false;
    while (!text.empty()) {
        if (!inTime && take(text, 'T')) {
            inTime = true;
            continue;
        }
        const auto amount = takeNumber<double>(text);
        if (!amount || text.empty() || !(*amount >= 0))
            return std::nullopt;
        const char unit = text.front();
        text.remove_prefix(1);
        if (!inTime && unit == 'D')
            seconds += *amount * secondsPerDay;
        else if (inTime && unit == 'H')
            seconds += *amount * 3600;
        else if (inTime && unit == 'M')
            seconds += *amount * 60;
        else if (inTime && unit == 'S')
            seconds += *amount;
        else
            return std::nullopt;
        any = true;
    }
    if (!any || !std::isfinite(seconds))
        return std::nullopt;
    return (negative ? -seconds : seconds) / secondsPerDay;
}

std::optional<bool> booleanValue(std::string_view text)
{
    if (text == "true" || text == "1")
        return true;
    if (text == "false" || text == "0")
        return false;
    return std::nullopt;
}

std::optional<std::uint8_t> errorCode(std::string_view text)
{
    for (const auto &[code, shown] : errorCodes) {
        if (text == shown)
            return static_cast<std::uint8_t>(code);
    }
    return std::nullopt;
}

} // namespace workbook
