#include "TestClock.h"

#include <algorithm>
#include <chrono>

namespace vesk3 {

std::int64_t steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TestClock::start(std::int64_t alreadyUsedMs)
{
    usedBefore = alreadyUsedMs;
    startedAt = now();
    isRunning = true;
}

void TestClock::stop(std::int64_t limitMs)
{
    usedBefore = std::min(elapsedMs(), limitMs);
    isRunning = false;
}

std::int64_t TestClock::elapsedMs() const
{
    return isRunning ? usedBefore + (now() - startedAt) : usedBefore;
}

} // namespace vesk3
