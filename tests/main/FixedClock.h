#pragma once

#include <cstdint>

// The program seeds its generator from the steady clock. The test programs of src/main link that clock to
// this one (see tests/main/CMakeLists.txt), so that every draw follows from a seed the test chooses and a
// fault fails on every run, not on some.
namespace fixedclock {

// The next reading's low 32 bits are `seed`; each reading after it brings another seed, in a fixed sequence.
void start(std::uint32_t seed);

} // namespace fixedclock
