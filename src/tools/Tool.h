#pragma once

#include <ostream>
#include <span>
#include <string>

namespace tools {

namespace exitcode {
inline constexpr int Success = 0;
inline constexpr int BankProblem = 1;
inline constexpr int Unreadable = 2;
inline constexpr int NoSuchSheet = 3;
inline constexpr int Usage = 64;       // as sysexits' EX_USAGE
inline constexpr int WriteFailed = 74; // as sysexits' EX_IOERR
} // namespace exitcode

// vesk3-bank with its arguments (without the program name); returns the exit code. Numbers and dates in
// exported cells follow the C library's current locale.
int runTool(std::span<const std::string> args, std::ostream &out, std::ostream &err);

} // namespace tools
