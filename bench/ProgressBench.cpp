// Measures the history of finished tests with the demo workbook, offscreen:
//   vesk3-bench-progress DEMO_WORKBOOK [HISTORY_FILE]
// keeps 1,000 exams of 200 questions (200,000 answers) one by one, as finishing keeps them (the questions'
// keys read from the workbook, then one transaction), then opens "Мій прогрес" on that history several
// times from an unopened file to the window drawn. Prints medians and the file's bytes per answer, and exits
// 1 when a goal is missed. The history is written to HISTORY_FILE when one is given, else to a scratch
// folder.
#include "CellTextFormat.h"
#include "ProgressRecord.h"
#include "ProgressVeskForm.h"
#include "QuestionKey.h"
#include "Routines.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

constexpr int Tests = 1000;
constexpr int WindowRuns = 7;
constexpr double RecordGoalMs = 20;
constexpr double WindowGoalMs = 300;
constexpr double BytesGoal = 100;

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

// One exam as a student leaves it: most questions seen, about two thirds of the answers right, improving
// over the weeks.
vesk3::TestSummary examOf(vesk3::TestState &state, int index, std::mt19937 &random,
                          std::vector<vesk3::ReviewEntry> &entries)
{
    vesk3::ComposeExam(state);
    std::uniform_real_distribution<double> chance(0, 1);
    const double skill = 0.5 + 0.4 * index / Tests;
    entries.clear();
    for (int entry = 1; entry <= vesk3::ExamSize; ++entry) {
        const vesk3::TExamData &data = state.ExamData[entry];
        vesk3::ReviewEntry kept{data.Subject, data.Number};
        kept.Shown = chance(random) < 0.97;
        if (kept.Shown && chance(random) < 0.95) {
            kept.Right = chance(random) < skill;
            kept.ChosenColumn =
                kept.Right ? bank::RightAnswerColumn : bank::RightAnswerColumn + 1 + entry % 4;
            kept.ChosenOrder = {5, 3, 7, 4, 6};
        }
        kept.Bookmarked = chance(random) < 0.03;
        entries.push_back(kept);
    }
    const vesk3::TestReview review = vesk3::TestReview::ofHistory(true, entries);
    vesk3::TestSummary test;
    test.started = QDateTime(QDate(2026, 9, 1), QTime(9, 0)).addSecs(qint64(index) * 7200);
    test.finished = test.started.addSecs(5400);
    test.seconds = 5400;
    test.workbook = u"vesk3_2005.xls"_qs;
    test.asked = vesk3::ExamSize;
    test.answered = review.answeredCount();
    test.right = review.rightCount();
    test.score = double(vesk3::examScore(test.answered, test.right));
    return test;
}

// Keeps the exams; the median time of one, keys included.
double keepExams(bank::ExcelApplication &ExcelApp, const bank::BankSizes &bankSize, const QString &file)
{
    vesk3::TestState state;
    state.TestSettings.BankSize = bankSize;
    std::uint32_t seed = 20260901;
    state.Random.ticks = [&seed] {
        return std::int64_t(seed = seed * 69069u + 1u);
    };
    std::mt19937 random(17);
    vesk3::ProgressRecord record(file);
    std::vector<double> times;
    std::vector<vesk3::ReviewEntry> entries;
    for (int index = 0; index < Tests; ++index) {
        const vesk3::TestSummary test = examOf(state, index, random, entries);
        const Clock::time_point start = Clock::now();
        std::vector<vesk3::KeptEntry> kept;
        for (const vesk3::ReviewEntry &entry : entries)
            kept.push_back({entry, vesk3::questionKey(ExcelApp, entry.Subject, entry.Number)});
        if (!record.keep(test, kept))
            throw std::runtime_error(record.takeMessages().join(u' ').toStdString());
        times.push_back(millisecondsSince(start));
    }
    return median(times);
}

// From the menu item to the window drawn: the history opened and checked, today's keys read, the window
// filled and painted.
double openWindow(bank::ExcelApplication &ExcelApp, const bank::BankSizes &bankSize, const QString &file)
{
    const Clock::time_point start = Clock::now();
    vesk3::ProgressRecord record(file);
    const vesk3::WorkbookKeys keys(ExcelApp, bankSize);
    vesk3::TProgressVeskForm window(record, ExcelApp, keys, bankSize);
    window.show();
    QCoreApplication::processEvents();
    window.grab();
    const double elapsed = millisecondsSince(start);
    if (window.findChild<QWidget *>(u"ExamChart"_qs) == nullptr)
        throw std::runtime_error("the window shows no chart");
    return elapsed;
}

bool report(const char *what, double value, const char *unit, double goal)
{
    const bool met = value <= goal;
    std::printf("%-58s %8.1f %-5s (goal <= %g) %s\n", what, value, unit, goal, met ? "met" : "MISSED");
    return met;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: vesk3-bench-progress DEMO_WORKBOOK [HISTORY_FILE]\n");
        return 64;
    }
    try {
        bank::ExcelApplication ExcelApp(vesk3::cellTextFormat(QLocale()));
        bank::BankSizes bankSize{};
        bank::loadQuestionBank(ExcelApp, argv[1], bankSize, [](int) {});
        QTemporaryDir scratch;
        const QString file =
            argc == 3 ? QString::fromLocal8Bit(argv[2]) : scratch.path() + u"/progress.sqlite"_qs;
        QFile::remove(file);
        const double keepMs = keepExams(ExcelApp, bankSize, file);
        const double bytes = double(QFileInfo(file).size()) / (Tests * vesk3::ExamSize);
        std::vector<double> windowMs;
        for (int run = 0; run < WindowRuns; ++run)
            windowMs.push_back(openWindow(ExcelApp, bankSize, file));
        std::printf("History of %d exams, %d answers, demo workbook; medians on this machine:\n", Tests,
                    Tests * vesk3::ExamSize);
        bool met =
            report("keep one finished 200-question exam (keys + transaction)", keepMs, "ms", RecordGoalMs);
        met = report("open \"Мій прогрес\" to a drawn window (of 7 runs)", median(windowMs), "ms",
                     WindowGoalMs) &&
              met;
        met = report("file size per recorded answer", bytes, "bytes", BytesGoal) && met;
        return met ? 0 : 1;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vesk3-bench-progress: %s\n", error.what());
        return 2;
    }
}
