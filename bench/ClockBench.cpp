// Measures what the exam clock and the keeping of the exam cost the event loop while a held Down or Up key
// auto-repeats, and how long an exam takes to be taken up again:
//   vesk3-bench-clock WORKBOOK [HISTORY_FILE]
// runs an exam in the real main window, offscreen, and presses Down and Up at an auto-repeat rate of 30 keys
// a second, each press choosing and recording an answer. For each press it takes the event loop's delay:
// from the moment the press was due to the moment its answer was recorded. It does so without the clock,
// with the clock refreshed every second as in the program, and with the refresh before every press, and
// prints the median and the worst delay of each. It also prints the cost of one refresh with the repaint
// that it causes, and the median time of one press, its answer written to the record. Then it closes the
// window during the exam and takes the exam up again in a new one several times: from the offer at the start
// to the exam on screen, the time that the question waited for Yes left out. The record starts as a copy of
// HISTORY_FILE when one is given (a long history), else empty, in a scratch folder. Exits 1 when the clock
// adds more than a millisecond to the median delay or a goal of the kept exam is missed.
#include "AboutUnit.h"
#include "MainVeskUnit.h"
#include "ResultDlg_Train.h"
#include "Table.h"
#include "TestDialog0.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int KeysPerSecond = 30;
constexpr int Presses = 300;
constexpr int Refreshes = 1000;
constexpr double GoalMs = 1.0;
constexpr double AnswerGoalMs = 2.0;
constexpr int Restores = 7;
constexpr double RestoreGoalMs = 100.0;

// The program's windows on the workbook, the main window shown.
struct Windows
{
    Windows(vesk3::TestState &state, const char *workbook)
        : subjectDialog(state), resultDialog(state), table(state), form(state, vesk3::BankSetup{workbook})
    {
        form.setSubjectDialog(subjectDialog);
        form.setResultDialog(resultDialog);
        form.setTableWindow(table);
        form.setAboutWindow(about);
        form.show();
    }
    vesk3::TTestDLGForm subjectDialog;
    vesk3::TResultVeskForm resultDialog;
    vesk3::TTableVeskForm table;
    vesk3::TAboutVeskForm about;
    vesk3::TMainVeskForm form;
};

// The value below which the given share of the values lies.
double percentile(std::vector<double> values, double share)
{
    std::ranges::sort(values);
    return values[std::size_t(share * double(values.size() - 1))];
}

void printDelays(const char *what, const std::vector<double> &delays)
{
    std::printf("  %-30s %.3f / %.3f / %.3f ms\n", what, percentile(delays, 0.5), percentile(delays, 0.99),
                percentile(delays, 1.0));
}

// A held key: four presses of Down, then four of Up, so that nearly every press changes the answer.
void pressKey(int press)
{
    QWidget *target =
        QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    if (!target)
        qFatal("the main window is not active");
    QKeyEvent key(QEvent::KeyPress, press % 8 < 4 ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(target, &key);
}

// Offscreen, activation comes as events, late: the window is held active for a second, as a user's would be.
void settleActive(QWidget &window)
{
    QElapsedTimer settling;
    settling.start();
    while (settling.elapsed() < 1000) {
        if (QApplication::activeWindow() != &window)
            window.activateWindow();
        QCoreApplication::processEvents();
    }
}

// Each press's delay in milliseconds; refreshEveryPress runs the clock's refresh before each press as well.
// Each press's own time goes to `pressMs`.
std::vector<double> heldKeyDelays(QWidget &window, QTimer &clockTimer, bool clockOn, bool refreshEveryPress,
                                  std::vector<double> &pressMs)
{
    settleActive(window);
    clockOn ? clockTimer.start() : clockTimer.stop();
    std::vector<double> delays;
    QEventLoop loop;
    QElapsedTimer since;
    since.start();
    QTimer repeat;
    repeat.setTimerType(Qt::PreciseTimer);
    repeat.setInterval(1000 / KeysPerSecond);
    QObject::connect(&repeat, &QTimer::timeout, [&] {
        const double due = double(delays.size() + 1) * repeat.interval();
        if (refreshEveryPress)
            QMetaObject::invokeMethod(&clockTimer, "timeout");
        QElapsedTimer press;
        press.start();
        pressKey(int(delays.size()));
        pressMs.push_back(double(press.nsecsElapsed()) / 1e6);
        delays.push_back(double(since.nsecsElapsed()) / 1e6 - due);
        if (delays.size() == Presses)
            loop.quit();
    });
    repeat.start();
    loop.exec();
    return delays;
}

// A new start takes the kept exam up again: from the offer to the exam on screen, without the question's
// wait.
double restoreMs(const char *workbook)
{
    vesk3::TestState state;
    QElapsedTimer since;
    double asked = 0;
    double answered = 0;
    QTimer yes;
    yes.setInterval(0);
    QObject::connect(&yes, &QTimer::timeout, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            yes.stop();
            asked = double(since.nsecsElapsed()) / 1e6;
            box->button(QMessageBox::Yes)->click();
            answered = double(since.nsecsElapsed()) / 1e6;
        }
    });
    Windows windows(state, workbook);
    yes.start();
    since.start();
    QCoreApplication::processEvents();
    const double elapsed = double(since.nsecsElapsed()) / 1e6 - (answered - asked);
    if (!state.TestRunning)
        qFatal("the kept exam was not taken up again");
    windows.form.close();
    return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: vesk3-bench-clock WORKBOOK [HISTORY_FILE]\n");
        return 64;
    }
    using namespace vesk3;
    // The record goes to a scratch folder, never to the user's history.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    if (argc == 3 &&
        !(QDir().mkpath(dataHome.filePath(u"vesk3"_qs)) &&
          QFile::copy(QString::fromLocal8Bit(argv[2]), dataHome.filePath(u"vesk3/progress.sqlite"_qs))))
        qFatal("cannot copy the history %s", argv[2]);
    TestState state;
    // The refresh cost is measured with a clock that moves a second per refresh, so each one repaints.
    std::int64_t nowMs = 0;
    state.Clock.now = [&nowMs] {
        return nowMs;
    };
    Windows windows(state, argv[1]);
    TMainVeskForm &form = windows.form;
    form.findChild<QAction *>("Test1")->trigger();
    form.findChild<QPushButton *>("StartBtn")->click();
    auto &clockTimer = *form.findChild<QTimer *>("ClockTimer");

    QElapsedTimer refreshTime;
    refreshTime.start();
    for (int refresh = 0; refresh < Refreshes; ++refresh) {
        nowMs += 1000;
        QMetaObject::invokeMethod(&clockTimer, "timeout");
        QCoreApplication::processEvents();
    }
    const double refreshMs = double(refreshTime.nsecsElapsed()) / 1e6 / Refreshes;
    state.Clock.now = steadyMilliseconds;

    std::vector<double> pressMs;
    const std::vector<double> without = heldKeyDelays(form, clockTimer, false, false, pressMs);
    const std::vector<double> withClock = heldKeyDelays(form, clockTimer, true, false, pressMs);
    const std::vector<double> everyPress = heldKeyDelays(form, clockTimer, true, true, pressMs);
    form.close();
    std::vector<double> restores;
    for (int run = 0; run < Restores; ++run)
        restores.push_back(restoreMs(argv[1]));
    std::printf("one refresh of the clock with its repaint: %.3f ms (mean of %d)\n", refreshMs, Refreshes);
    std::printf("event loop delay of a held key (%d presses at %d a second), median / 99%% / worst:\n",
                Presses, KeysPerSecond);
    printDelays("without the clock:", without);
    printDelays("clock refreshed every second:", withClock);
    printDelays("clock refreshed every press:", everyPress);
    const double answerMs = percentile(pressMs, 0.5);
    const double restoreMedianMs = percentile(restores, 0.5);
    std::printf("one press, its answer recorded and kept: median %.3f ms (goal <= %g), worst %.3f ms\n",
                answerMs, AnswerGoalMs, percentile(pressMs, 1.0));
    std::printf("exam taken up again at a start: median %.1f ms of %d (goal <= %g)\n", restoreMedianMs,
                Restores, RestoreGoalMs);
    const bool met = percentile(withClock, 0.5) - percentile(without, 0.5) <= GoalMs &&
                     answerMs <= AnswerGoalMs && restoreMedianMs <= RestoreGoalMs;
    return met ? 0 : 1;
}
