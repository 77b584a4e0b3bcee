// Measures what the exam clock costs the event loop while a held Down or Up key auto-repeats:
//   vesk3-bench-clock WORKBOOK
// runs an exam in the real main window, offscreen, and presses Down and Up at an auto-repeat rate of 30 keys
// a second, each press choosing and recording an answer. For each press it takes the event loop's delay:
// from the moment the press was due to the moment its answer was recorded. It does so without the clock,
// with the clock refreshed every second as in the program, and with the refresh before every press, and
// prints the median and the worst delay of each. It also prints the cost of one refresh with the repaint
// that it causes. Exits 1 when the clock adds more than a millisecond to the median delay.
#include "AboutUnit.h"
#include "MainVeskUnit.h"
#include "ResultDlg_Train.h"
#include "Table.h"
#include "TestDialog0.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int KeysPerSecond = 30;
constexpr int Presses = 300;
constexpr int Refreshes = 1000;
constexpr double GoalMs = 1.0;

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
std::vector<double> heldKeyDelays(QWidget &window, QTimer &clockTimer, bool clockOn, bool refreshEveryPress)
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
        pressKey(int(delays.size()));
        delays.push_back(double(since.nsecsElapsed()) / 1e6 - due);
        if (delays.size() == Presses)
            loop.quit();
    });
    repeat.start();
    loop.exec();
    return delays;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vesk3-bench-clock WORKBOOK\n");
        return 64;
    }
    using namespace vesk3;
    TestState state;
    // The refresh cost is measured with a clock that moves a second per refresh, so each one repaints.
    std::int64_t nowMs = 0;
    state.Clock.now = [&nowMs] {
        return nowMs;
    };
    TTestDLGForm subjectDialog(state);
    TResultVeskForm resultDialog(state);
    TTableVeskForm table(state);
    TAboutVeskForm about;
    TMainVeskForm form(state, BankSetup{argv[1]});
    form.setSubjectDialog(subjectDialog);
    form.setResultDialog(resultDialog);
    form.setTableWindow(table);
    form.setAboutWindow(about);
    form.show();
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

    const std::vector<double> without = heldKeyDelays(form, clockTimer, false, false);
    const std::vector<double> withClock = heldKeyDelays(form, clockTimer, true, false);
    const std::vector<double> everyPress = heldKeyDelays(form, clockTimer, true, true);
    std::printf("one refresh of the clock with its repaint: %.3f ms (mean of %d)\n", refreshMs, Refreshes);
    std::printf("event loop delay of a held key (%d presses at %d a second), median / 99%% / worst:\n",
                Presses, KeysPerSecond);
    printDelays("without the clock:", without);
    printDelays("clock refreshed every second:", withClock);
    printDelays("clock refreshed every press:", everyPress);
    return percentile(withClock, 0.5) - percentile(without, 0.5) <= GoalMs ? 0 : 1;
}
