#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace vesk3 {

// The subjects, in the order used everywhere: BankSize, the subject dialog's items, the blocks of an exam.
inline constexpr int SubjectCount = 5;
inline constexpr int ExamSize = 200;

// Mode values.
inline constexpr std::uint8_t ModeExam = 0;
inline constexpr std::uint8_t ModeTraining = 1;
inline constexpr std::uint8_t ModeNone = 2;

struct TTestSettings
{
    std::array<std::int32_t, SubjectCount> BankSize{};
    std::int32_t FromQuestion = 0;
    std::int32_t ToQuestion = 0;
    std::int32_t ChosenAnswer = 0;
    std::int32_t RightAnswer = 0;
    std::int32_t RightCount = 0;
    std::int32_t WrongCount = 0;
};

struct TExamData
{
    QString Subject;
    std::int32_t Number = 0;
    std::uint8_t Correct = 0;
    std::uint8_t Answered = 0;
};

// The exam's questions, indexed 1 to ExamSize; any other index is a programming error and throws
// std::out_of_range.
class ExamList
{
public:
    TExamData &operator[](int index);
    const TExamData &operator[](int index) const;

private:
    std::array<TExamData, ExamSize> entries;
};

// The program's random generator: a 32-bit linear congruential step, the draw scaled by multiplication so
// that it spreads evenly below N.
class RandomGenerator
{
public:
    explicit RandomGenerator(std::uint32_t state = 0) : seed(state) {}

    // Seeds from the low 32 bits of the steady clock's tick count.
    void seedFromClock();
    // A number from 0 to n - 1; n below 1 is a programming error and throws std::invalid_argument.
    std::int32_t below(std::int32_t n);
    std::uint32_t state() const { return seed; }

private:
    std::uint32_t seed;
};

// The one test state of the program, owned by the application and handed by reference to every window.
struct TestState
{
    TTestSettings TestSettings;
    ExamList ExamData;
    std::uint8_t Mode = 0;
    std::int32_t CurrentQuestion = 0;
    std::int32_t GotoNumber = 0;
    QString SubjectName;
    bool TestRunning = false;
    RandomGenerator Random;
};

} // namespace vesk3
