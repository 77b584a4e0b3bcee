#include "CellText.h"

#include "ErrorCodes.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdlib>

namespace workbook {

namespace {

constexpr int significantDigits = 15;
// Numbers from 1E-4 up are written in fixed notation. Delphi's documentation says 1E-5, but its
// FloatToStr has always switched to the scientific form below 1E-4, and that is what users saw.
constexpr int smallestFixedExponent = -4;
// Excel's dates run from serial 0 to 31 December 9999; a larger or negative number shows as a number.
constexpr double firstSerialAfterDates = 2958466;
constexpr long long secondsPerDay = 86400;

// A number rounded to 15 significant digits: digits[0].digits[1..] x 10^exponent, no trailing zeros.
struct Decimal
{
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Decimal toDecimal(double value)
{
    // std::to_chars rounds the exact binary value, as the original's conversion did: "-d.ddde+XX".
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                       significantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
    Decimal d;
    d.negative = text.front() == '-';
    const std::size_t e = text.find('e');
    for (const char c : text.substr(0, e)) {
        if (c >= '0' && c <= '9')
            d.digits += c;
    }
    d.digits.erase(d.digits.find_last_not_of('0') + 1);
    const std::string_view exponent = text.substr(e + 1);
    std::from_chars(exponent.data() + (exponent.front() == '+' ? 1 : 0), exponent.data() + exponent.size(),
                    d.exponent);
    return d;
}

std::string numberText(double value, std::string_view separator)
{
    if (!std::isfinite(value))
        return "#NUM!";
    // Negative zero too.
    if (value == 0)
        return "0";
    const Decimal d = toDecimal(value);
    std::string out = d.negative ? "-" : "";
    if (d.exponent >= significantDigits || d.exponent < smallestFixedExponent) {
        out += d.digits.front();
        if (d.digits.size() > 1) {
            out += separator;
            out.append(d.digits, 1);
        }
        out += 'E';
        out += std::to_string(d.exponent);
    } else if (d.exponent >= 0) {
        const std::size_t whole = static_cast<std::size_t>(d.exponent) + 1;
        out.append(d.digits, 0, whole);
        if (d.digits.size() < whole) {
            out.append(whole - d.digits.size(), '0');
        } else if (d.digits.size() > whole) {
            out += separator;
            out.append(d.digits, whole);
        }
    } else {
        out += '0';
        out += separator;
        out.append(static_cast<std::size_t>(-d.exponent - 1), '0');
        out += d.digits;
    }
    return out;
}

// Excel counts 1900 as a leap year, so serial 60 is 29 February 1900, a day that never was, and the
// serials before it are one day later than a plain count of days from 30 December 1899 would give.
std::chrono::year_month_day civilDate(long long serial)
{
    using namespace std::chrono;
    if (serial == 60)
        return year{1900} / February / 29;
    const sys_days start =
        serial < 60 ? sys_days{year{1899} / December / 31} : sys_days{year{1899} / December / 30};
    return year_month_day{start + days{serial}};
}

void appendNumber(std::string &out, int value, std::size_t width)
{
    const std::string digits = std::to_string(value);
    if (digits.size() < width)
        out.append(width - digits.size(), '0');
    out += digits;
}

std::size_t runLength(std::string_view pattern, std::size_t at)
{
    std::size_t end = at;
    while (end < pattern.size() && pattern[end] == pattern[at])
        ++end;
    return end - at;
}

// Text between single quotes is copied; two quotes stand for one, inside quotes or out.
std::size_t appendQuoted(std::string &out, std::string_view pattern, std::size_t at)
{
    std::size_t i = at + 1;
    if (i < pattern.size() && pattern[i] == '\'') {
        out += '\'';
        return i + 1;
    }
    while (i < pattern.size()) {
        if (pattern[i] != '\'') {
            out += pattern[i++];
        } else if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
            out += '\'';
            i += 2;
        } else {
            return i + 1;
        }
    }
    return i;
}

std::string formatDate(const std::chrono::year_month_day &date, std::string_view pattern)
{
    const int year = static_cast<int>(date.year());
    const int month = static_cast<int>(static_cast<unsigned>(date.month()));
    const int day = static_cast<int>(static_cast<unsigned>(date.day()));
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        if (pattern[i] == '\'') {
            i = appendQuoted(out, pattern, i);
            continue;
        }
        const std::size_t run = runLength(pattern, i);
        switch (pattern[i]) {
        case 'd':
            appendNumber(out, day, run >= 2 ? 2 : 1);
            break;
        case 'M':
            appendNumber(out, month, run >= 2 ? 2 : 1);
            break;
        case 'y':
            if (run >= 4)
                appendNumber(out, year, 4);
            else if (run >= 2)
                appendNumber(out, year % 100, 2);
            else
                out += 'y';
            break;
        default:
            out.append(run, pattern[i]);
            break;
        }
        i += run;
    }
    return out;
}

std::string dateText(double serial, const TextFormat &format)
{
    if (!(serial >= 0 && serial < firstSerialAfterDates))
        return numberText(serial, format.decimalSeparator);
    long long day = static_cast<long long>(serial);
    long long seconds = std::llround((serial - static_cast<double>(day)) * secondsPerDay);
    if (seconds == secondsPerDay) {
        ++day;
        seconds = 0;
    }
    if (day >= firstSerialAfterDates)
        return numberText(serial, format.decimalSeparator);
    std::string out = formatDate(civilDate(day), format.shortDatePattern);
    if (seconds != 0) {
        out += ' ';
        appendNumber(out, static_cast<int>(seconds / 3600), 2);
        out += ':';
        appendNumber(out, static_cast<int>(seconds / 60 % 60), 2);
        out += ':';
        appendNumber(out, static_cast<int>(seconds % 60), 2);
    }
    return out;
}

std::string errorText(double code)
{
    const std::string_view text = errorCodeText(code);
    // Reading a workbook never gives another code; a made-up one reads as "not available".
    return std::string(text.empty() ? errorCodeText(0x2A) : text);
}

} // namespace

bool isBlankText(std::string_view text)
{
    return std::ranges::all_of(text, [](char c) { return isBlankCharacter(static_cast<unsigned char>(c)); });
}

std::string cellText(const CellValue &value, const TextFormat &format)
{
    switch (value.kind) {
    case CellValue::Kind::Empty:
        return {};
    case CellValue::Kind::Text:
        return value.text;
    case CellValue::Kind::Number:
        return numberText(value.number, format.decimalSeparator);
    case CellValue::Kind::Date:
        return dateText(value.number, format);
    case CellValue::Kind::Boolean:
        return value.number != 0 ? "True" : "False";
    case CellValue::Kind::Error:
        return errorText(value.number);
    }
    return {};
}

} // namespace workbook
