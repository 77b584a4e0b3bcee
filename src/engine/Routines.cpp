#include "Routines.h"

#include "QuestionBank.h"

#include <QLocale>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

std::int64_t steadyClockTicks()
{
    return std::chrono::steady_clock::now().time_since_epoch().count();
}

void RandomGenerator::seedFromClock()
{
    seed = static_cast<std::uint32_t>(ticks());
}

std::int32_t RandomGenerator::below(std::int32_t n)
{
    if (n < 1)
        throw std::invalid_argument("a random number below " + std::to_string(n) + " was asked for");
    seed = seed * 134775813u + 1u;
    return static_cast<std::int32_t>((std::uint64_t(n) * seed) >> 32);
}

QString subjectTitle(const QString &sheetName)
{
    const auto subject = std::ranges::find(bank::SubjectSheets, sheetName.toStdString());
    if (subject == bank::SubjectSheets.end())
        return sheetName;
    const std::string_view title = bank::SubjectTitles[std::size_t(subject - bank::SubjectSheets.begin())];
    return QString::fromUtf8(title.data(), qsizetype(title.size()));
}

static_assert(SubjectCount == bank::SubjectCount && ExamSize == bank::ExamQuestionCount);

std::optional<QString> examRefusal(const std::array<std::int32_t, SubjectCount> &bankSize)
{
    if (const auto obstacle = bank::examObstacle(bankSize))
        return QString::fromStdString(obstacle->text());
    return std::nullopt;
}

void ComposeExam(TestState &state)
{
    const auto &bankSize = state.TestSettings.BankSize;
    if (const auto refusal = examRefusal(bankSize))
        throw std::invalid_argument("no exam can be composed: " + refusal->toStdString());
    const bank::BankSizes shares = bank::examShares(bankSize);
    state.Random.seedFromClock();
    int entry = 1;
    for (int k = 0; k < SubjectCount; ++k) {
        const int blockStart = entry;
        const QString subject = QString::fromUtf8(bank::SubjectSheets[k]);
        for (int j = 0; j < shares[k]; ++j, ++entry) {
            std::int32_t n = 0;
            do
                n = 1 + state.Random.below(bankSize[k]);
            while (!IsNewNumber(state.ExamData, n, blockStart, entry));
            state.ExamData[entry].Number = n;
            state.ExamData[entry].Subject = subject;
        }
    }
}

bool IsNewNumber(const ExamList &examData, std::int32_t n, int first, int end)
{
    for (int entry = first; entry < end; ++entry) {
        if (examData[entry].Number == n)
            return false;
    }
    return true;
}

void clearExamAnswers(ExamList &examData)
{
    for (int entry = 1; entry <= ExamSize; ++entry) {
        examData[entry].Correct = 0;
        examData[entry].Answered = 0;
        examData[entry].ChosenColumn = 0;
        examData[entry].ChosenOrder = {};
        examData[entry].Shown = 0;
    }
}

std::optional<QString> trainingRefusal(const TestState &state)
{
    const auto &sheets = bank::SubjectSheets;
    const auto subject = std::ranges::find(sheets, state.SubjectName.toStdString());
    if (subject == sheets.end())
        return u"Спочатку виберіть предмет і питання для тренування!"_qs;
    // The mistakes were found in today's workbook.
    if (!state.MistakeQuestions.empty())
        return std::nullopt;
    const TTestSettings &settings = state.TestSettings;
    const std::int32_t bankSize = settings.BankSize[std::size_t(subject - sheets.begin())];
    if (settings.FromQuestion < 1 || settings.FromQuestion > settings.ToQuestion ||
        settings.ToQuestion > bankSize)
        return u"На аркуші «%1» %2: тренування з питання %3 по %4 неможливе. Виберіть інші питання!"_qs.arg(
            state.SubjectName, QString::fromStdString(bank::questionsText(bankSize)),
            QString::number(settings.FromQuestion), QString::number(settings.ToQuestion));
    return std::nullopt;
}

std::vector<std::int32_t> trainingQuestions(const TestState &state)
{
    if (!state.MistakeQuestions.empty())
        return state.MistakeQuestions;
    std::vector<std::int32_t> range;
    for (std::int32_t number = state.TestSettings.FromQuestion; number <= state.TestSettings.ToQuestion;
         ++number)
        range.push_back(number);
    return range;
}

long double trainingScore(const TTestSettings &settings)
{
    const std::int32_t scored = settings.RightCount + settings.WrongCount;
    if (scored == 0)
        return 0.0L;
    return static_cast<long double>(settings.RightCount * 100) / scored;
}

AnswerOrder drawAnswerOrder(RandomGenerator &random)
{
    // No draw gives the answer count, so the places not yet filled never match a drawn number.
    std::array<std::int32_t, bank::AnswerCount> places;
    places.fill(bank::AnswerCount);
    for (std::int32_t &place : places) {
        std::int32_t drawn = 0;
        do
            drawn = random.below(bank::AnswerCount);
        while (std::ranges::find(places, drawn) != places.end());
        place = drawn;
    }
    AnswerOrder order;
    for (int position = 1; position <= bank::AnswerCount; ++position) {
        const std::int32_t drawn = places[std::size_t(position - 1)];
        if (drawn == 0)
            order.RightAnswer = position;
        order.AnswerColumns[std::size_t(position - 1)] = drawn + bank::RightAnswerColumn;
    }
    return order;
}

AnswerOrder ShuffleAnswers(RandomGenerator &random)
{
    random.seedFromClock();
    return drawAnswerOrder(random);
}

QString boxText(const std::string &cellText)
{
    QString text = QString::fromStdString(cellText);
    text.replace(u"\r\n"_qs, u"\n"_qs);
    text.replace(u'\r', u'\n');
    return text;
}

QString errorBoxText(const QString &text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

namespace {

// A non-negative value below 1e15 rounded to hundredths, half away from zero, as a count of hundredths. The
// value is first written with 18 significant digits, all that an 80-bit float holds, so that a result meant
// as an exact half (3 * 100 / 20000 = 0.015) rounds up even when its binary form lies just below the half.
std::uint64_t roundedHundredths(long double magnitude)
{
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "%.17Le", magnitude);
    // "d.ddddddddddddddddde+x": the 18 digits without the point, then the power of ten of the first one.
    std::string digits(1, text[0]);
    digits.append(text.data() + 2, 17);
    const int exponent = std::atoi(std::strchr(text.data(), 'e') + 1);
    // How many of the digits stand before the point of magnitude * 100; at most 17 below 1e15.
    const int wholeDigits = exponent + 3;
    if (wholeDigits < 0)
        return 0;
    std::uint64_t hundredths = 0;
    for (int i = 0; i < wholeDigits; ++i)
        hundredths = hundredths * 10 + std::uint64_t(digits[std::size_t(i)] - '0');
    if (digits[std::size_t(wholeDigits)] >= '5')
        ++hundredths;
    return hundredths;
}

} // namespace

bool timeIsUp(const TestState &state)
{
    return state.TimeLimitMs && state.Clock.elapsedMs() >= *state.TimeLimitMs;
}

QString clockText(std::int64_t seconds)
{
    return QString::number(seconds / 60) + u':' + QString::number(seconds % 60).rightJustified(2, u'0');
}

QString clockCaption(const TestState &state)
{
    const std::int64_t elapsedMs = state.Clock.elapsedMs();
    if (!state.TimeLimitMs)
        return u"Час: "_qs + clockText(elapsedMs / 1000);
    const std::int64_t leftMs = std::max<std::int64_t>(*state.TimeLimitMs - elapsedMs, 0);
    return u"Залишилось: "_qs + clockText((leftMs + 999) / 1000);
}

QString formatScore(long double score)
{
    const long double magnitude = std::fabs(score);
    if (!(magnitude < 1e15L))
        throw std::invalid_argument("the score " + std::to_string(score) + " is too large to write");
    const std::uint64_t hundredths = roundedHundredths(magnitude);
    QString text = score < 0 && hundredths > 0 ? QStringLiteral("-") : QString();
    text +=
        QString::number(hundredths / 100) + QLocale().decimalPoint() + QString::number(hundredths / 10 % 10);
    if (hundredths % 10 != 0)
        text += QString::number(hundredths % 10);
    return text;
}

QString scoreText(long double score)
{
    return formatScore(score) + QLatin1Char('%');
}

ResultTexts trainingResultTexts(const TTestSettings &settings, long double score)
{
    return {QString::number(settings.RightCount + settings.WrongCount), QString::number(settings.RightCount),
            QString::number(settings.WrongCount), scoreText(score)};
}

long double examScore(int answered, int right)
{
    return answered == 0 ? 0.0L : static_cast<long double>(right * 100) / answered;
}

ResultTexts examResultTexts(int answered, int right)
{
    return {QString::number(answered) + u" з 200"_qs, QString::number(right),
            QString::number(answered - right), scoreText(examScore(answered, right))};
}

ResultTexts reviewResultTexts(const TestReview &review)
{
    const int right = review.rightCount();
    if (review.isExam())
        return examResultTexts(review.answeredCount(), right);
    TTestSettings settings;
    settings.RightCount = right;
    settings.WrongCount = int(review.entries().size()) - right;
    return trainingResultTexts(settings, trainingScore(settings));
}

} // namespace vesk3
