#include "Routines.h"

#include <chrono>
#include <stdexcept>
#include <string>
#include <utility>

namespace vesk3 {

TExamData &ExamList::operator[](int index)
{
    return const_cast<TExamData &>(std::as_const(*this)[index]);
}

const TExamData &ExamList::operator[](int index) const
{
    if (index < 1 || index > ExamSize)
        throw std::out_of_range("ExamData index " + std::to_string(index) + " is outside 1.." +
                                std::to_string(ExamSize));
    return entries[static_cast<std::size_t>(index - 1)];
}

void RandomGenerator::seedFromClock()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    seed = static_cast<std::uint32_t>(ticks);
}

std::int32_t RandomGenerator::below(std::int32_t n)
{
    if (n < 1)
        throw std::invalid_argument("a random number below " + std::to_string(n) + " was asked for");
    seed = seed * 134775813u + 1u;
    return static_cast<std::int32_t>((std::uint64_t(n) * seed) >> 32);
}

} // namespace vesk3
