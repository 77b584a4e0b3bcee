#include "FixedClock.h"

#include <chrono>

namespace {

std::uint32_t nextSeed = 1;

} // namespace

void fixedclock::start(std::uint32_t seed)
{
    nextSeed = seed;
}

// Stands in for std::chrono::steady_clock::now() wherever this program's own code calls it; Qt's calls still
// reach the real clock. High bits are set so that a seed taken from anything but the low 32 bits shows.
std::chrono::steady_clock::time_point fixedNow() asm("__wrap__ZNSt6chrono3_V212steady_clock3nowEv");
std::chrono::steady_clock::time_point fixedNow()
{
    const std::int64_t reading = (std::int64_t{0x2A} << 32) | nextSeed;
    nextSeed = nextSeed * 69069u + 12345u;
    return std::chrono::steady_clock::time_point(std::chrono::nanoseconds(reading));
}
