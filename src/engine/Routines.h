#pragma once

#include "BankLoading.h"
#include "TestClock.h"
#include "TestReview.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vesk3 {

// The subjects, in the order used everywhere: BankSize, the subject dialog's items, the blocks of an exam.
inline constexpr int SubjectCount = 5;
inline constexpr int ExamSize = 200;
// A timed exam gets a minute a question, as the real one.
inline constexpr std::int64_t TimedExamMs = std::int64_t{ExamSize} * 60'000;

// The Ukrainian name of a subject's worksheet; the worksheet name itself for any other.
QString subjectTitle(const QString &sheetName);

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
    // The answer last chosen: its worksheet column (0 while none is), and the columns at positions A to E
    // as they stood at that moment, since every showing orders them afresh.
    std::int32_t ChosenColumn = 0;
    std::array<std::int32_t, bank::AnswerCount> ChosenOrder{};
    // 1 once the question has been on screen: questions never reached count neither as seen nor as mistakes.
    std::uint8_t Shown = 0;
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

// A tick count that the generator seeds from.
using TickSource = std::function<std::int64_t()>;

// The steady clock's tick count.
std::int64_t steadyClockTicks();

// The program's random generator: a 32-bit linear congruential step, the draw scaled by multiplication so
// that it spreads evenly below N.
class RandomGenerator
{
public:
    explicit RandomGenerator(std::uint32_t state = 0) : seed(state) {}

    // Seeds from the low 32 bits of the tick source's count.
    void seedFromClock();
    // A number from 0 to n - 1; n below 1 is a programming error and throws std::invalid_argument.
    std::int32_t below(std::int32_t n);
    std::uint32_t state() const { return seed; }

    // The steady clock; a test sets its own ticks so that every draw follows from seeds it chooses.
    TickSource ticks = steadyClockTicks;

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
    // The time the running test has taken; stopped, the time the last test took.
    TestClock Clock;
    // The time the test may take, when it is a timed exam.
    std::optional<std::int64_t> TimeLimitMs;
    // The last finished test, for going through its mistakes; none from a Start until that test finishes.
    std::optional<TestReview> Review;
    // When the running test, or the last one, started.
    QDateTime Started;
    // Training over the mistakes that the history keeps: their question numbers in worksheet order, taken
    // instead of the range; empty for a training run over a range.
    std::vector<std::int32_t> MistakeQuestions;
};

// Composing an exam.

// Why the banks cannot serve an exam, in words for the user; nothing when they can. Composing is endless
// when a bank is smaller than its share, so a start must ask first.
std::optional<QString> examRefusal(const std::array<std::int32_t, SubjectCount> &bankSize);

// Fills ExamData 1 to ExamSize in subject blocks sized in proportion to BankSize, with numbers drawn at
// random and distinct within a block. Banks that examRefusal refuses throw std::invalid_argument.
void ComposeExam(TestState &state);

// True when none of the entries first to end - 1 of the exam has the number n; an empty stretch gives true.
bool IsNewNumber(const ExamList &examData, std::int32_t n, int first, int end);

// The answers of a finished exam, with the columns chosen, are forgotten; its subjects and numbers stay.
void clearExamAnswers(ExamList &examData);

// Training.

// Why a training run cannot start from the subject and range last confirmed in the subject dialog, in words
// for the user; nothing when it can.
std::optional<QString> trainingRefusal(const TestState &state);

// The question numbers of a training run, in their order: the mistakes when there are any, else the range.
std::vector<std::int32_t> trainingQuestions(const TestState &state);

// The share of right answers among the questions scored so far, in per cent; 0 before the first.
long double trainingScore(const TTestSettings &settings);

// The answer order of a question.

struct AnswerOrder
{
    // The worksheet column shown at each answer position 1 to 5 (index 0 to 4).
    std::array<std::int32_t, bank::AnswerCount> AnswerColumns{};
    // The position, 1 to 5, that shows the right answer's column.
    std::int32_t RightAnswer = 0;
};

// An order drawn from the generator as it stands.
AnswerOrder drawAnswerOrder(RandomGenerator &random);

// Seeds the generator afresh and draws, so that every showing of a question gets its own order.
AnswerOrder ShuffleAnswers(RandomGenerator &random);

// A cell's text as a text box shows it: each line break, whether CR, LF or CR LF, starts a new line.
QString boxText(const std::string &cellText);

// An error text as the error box shows it: a full stop appended when its last character's code is above that
// of the full stop, so "!" and "." end a text as they are.
QString errorBoxText(const QString &text);

// The clock of a test.

// True once a test with a time limit has used all of it.
bool timeIsUp(const TestState &state);

// A time as minutes and seconds, hours counted as minutes: "104:05".
QString clockText(std::int64_t seconds);

// What the main window shows of the clock: the time left of a test with a limit, counted in whole seconds
// up so that it reads 0:00 only once the time is up; else the time taken.
QString clockCaption(const TestState &state);

// How scores and results are written.

// The score with the pattern "##0.0#" and the locale's decimal separator: one or two decimals, rounded to
// two, a value exactly halfway rounding away from zero. Magnitudes of 1e15 and above, infinities and NaN
// throw std::invalid_argument.
QString formatScore(long double score);

// The score as the windows show it: formatScore followed directly by "%".
QString scoreText(long double score);

// The four texts of a finished training run: questions passed, right, wrong, and the score with its "%".
using ResultTexts = std::array<QString, 4>;
ResultTexts trainingResultTexts(const TTestSettings &settings, long double score);

// The share of right answers among an exam's answered questions, in per cent; 0 when none is answered.
long double examScore(int answered, int right);

// The four texts of a finished exam: the questions answered "з 200", right, wrong, and the share of right
// answers among the answered ones with its "%". Unanswered questions count neither way.
ResultTexts examResultTexts(int answered, int right);

// The texts that the results dialog showed for a reviewed test.
ResultTexts reviewResultTexts(const TestReview &review);

} // namespace vesk3
