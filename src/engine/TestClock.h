#pragma once

#include <cstdint>
#include <functional>
#include <limits>

namespace vesk3 {

// Milliseconds from a steady source; only differences between two readings mean anything.
using MillisecondSource = std::function<std::int64_t()>;

// The steady clock in milliseconds.
std::int64_t steadyMilliseconds();

// The time a test has taken. It counts from a start, which may carry time already used (an exam taken up
// again), until it is stopped; stopped, it keeps the time it reached.
class TestClock
{
public:
    // Starts counting afresh from `alreadyUsedMs`.
    void start(std::int64_t alreadyUsedMs = 0);
    // Stops counting; the time kept is at most `limitMs`, so that a test that ran out of time took its
    // limit, however late that was noticed.
    void stop(std::int64_t limitMs = std::numeric_limits<std::int64_t>::max());
    bool running() const { return isRunning; }
    std::int64_t elapsedMs() const;
    std::int64_t elapsedSeconds() const { return elapsedMs() / 1000; }

    // The steady clock; a test sets its own so that time passes only when it says so.
    MillisecondSource now = steadyMilliseconds;

private:
    bool isRunning = false;
    std::int64_t startedAt = 0;
    std::int64_t usedBefore = 0;
};

} // namespace vesk3
