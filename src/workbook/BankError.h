#pragma once

#include <stdexcept>
#include <string>

namespace workbook {

// Every failure to read the question bank. The text is Ukrainian, UTF-8, and is shown to the user as it is.
class BankError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace workbook
