// The main window's clock: the time a test has taken, the time limit of an exam taken against the clock, and
// the finish when that time is up.

#include "ErrorGuard.h"
#include "MainVeskUnit.h"
#include "MessageBoxes.h"
#include "ui_MainVeskUnit.h"

#include <QApplication>
#include <QDialog>
#include <QSettings>
#include <QThread>
#include <QTimer>

namespace vesk3 {

namespace {

constexpr auto TimedExamKey = "TimedExam";

// What the program remembers between runs.
QSettings programSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, u"vesk3"_qs, u"vesk3"_qs);
}

// Closes the modal windows, the newest first, each as Cancel would; true when there was any. An open menu
// closes by itself when the next window shows.
bool closeModalWindows()
{
    bool closed = false;
    while (QWidget *modal = QApplication::activeModalWidget()) {
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
        else
            modal->hide();
        closed = true;
    }
    return closed;
}

} // namespace

void TMainVeskForm::connectClock()
{
    ClockTimer = new QTimer(this);
    ClockTimer->setObjectName(u"ClockTimer"_qs);
    // Ticks that keep their step after the clock's start show each second as it begins.
    ClockTimer->setTimerType(Qt::PreciseTimer);
    ClockTimer->setInterval(1000);
    connectGuarded(ClockTimer, &QTimer::timeout, this, &TMainVeskForm::ClockTimerTimer);
    ui->TimedExam1->setChecked(programSettings().value(TimedExamKey, false).toBool());
    connectGuarded(ui->TimedExam1, &QAction::triggered, this, &TMainVeskForm::TimedExam1Click);
}

void TMainVeskForm::TimedExam1Click()
{
    programSettings().setValue(TimedExamKey, ui->TimedExam1->isChecked());
}

// A new exam is timed as the menu says; a kept one keeps the limit it was started with.
std::optional<std::int64_t> TMainVeskForm::newTestTimeLimit() const
{
    return state.Mode == ModeExam && ui->TimedExam1->isChecked() ? std::optional(TimedExamMs) : std::nullopt;
}

void TMainVeskForm::startClock(std::optional<std::int64_t> limitMs, std::int64_t usedMs)
{
    state.TimeLimitMs = limitMs;
    StartLoopLevel = QThread::currentThread()->loopLevel();
    state.Clock.start(usedMs);
    ClockTimer->start();
    showClock();
}

void TMainVeskForm::stopClock()
{
    ClockTimer->stop();
    state.TimeLimitMs ? state.Clock.stop(*state.TimeLimitMs) : state.Clock.stop();
    showClock();
}

void TMainVeskForm::ClockTimerTimer()
{
    if (!timeIsUp(state)) {
        showClock();
        return;
    }
    stopClock();
    finishOnTime();
}

void TMainVeskForm::showClock()
{
    ui->ClockLabel->setText(clockCaption(state));
}

// The time is up: whatever window of the test is open is closed as Cancel would close it, and once their
// handlers have returned to the loop that the test was started from, the test finishes as after OK.
void TMainVeskForm::finishOnTime()
{
    if (!state.TestRunning)
        return;
    if (closeModalWindows() || QThread::currentThread()->loopLevel() > StartLoopLevel) {
        QTimer::singleShot(0, this, [this] { guarded(&TMainVeskForm::finishOnTime, this); });
        return;
    }
    showMessage(u"Час вичерпано!"_qs);
    finishTest();
}

} // namespace vesk3
