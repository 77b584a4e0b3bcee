#pragma once

#include <QStringView>
#include <cstdint>
#include <optional>

namespace vesk3 {

// The one conversion of typed numbers: optional leading blanks, an optional sign, then either decimal digits
// or a hexadecimal number after "$", "0x" or "0X", and nothing after them. The sign may precede the
// hexadecimal prefix ("-$1F" is -31). Only ASCII digits count; the value must fit a signed 32-bit integer.
// An empty text, a lone sign or a lone prefix is not a number.
std::optional<std::int32_t> strictToInt(QStringView text);

} // namespace vesk3
