#pragma once

#include <cstdint>
#include <string>

namespace workbook {

// One cell as stored in the workbook, before it is turned into the program's text.
struct CellValue
{
    enum class Kind : std::uint8_t
    {
        Empty,
        Text,
        Number,
        Date,
        Boolean,
        Error
    };

    Kind kind = Kind::Empty;
    // Number: the value. Date: the serial day number in the 1900 date system (1904 workbooks are
    // converted on reading). Boolean: 0 or 1. Error: the BIFF error code (0x07 is #DIV/0!, ...).
    double number = 0;
    std::string text; // Text only: UTF-8, line breaks as stored

    friend bool operator==(const CellValue &, const CellValue &) = default;
};

} // namespace workbook
