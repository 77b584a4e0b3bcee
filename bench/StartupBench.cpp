// Measures the program's start-up with its real sequence (splash, windows, loading of the question bank),
// offscreen: from the launch of a fresh process to its main window on screen.
//   vesk3-bench-startup DEMO_WORKBOOK LARGE_WORKBOOK...
// prints medians of runs and exits 1 when the goal for a large workbook (the same questions in each of its
// formats) is missed. The goal is judged on
// CPU time (user + system), which other work on a shared machine leaves alone; wall-clock time is shown too.
//   vesk3-bench-startup --measure WORKBOOK
// is one run: once the main window is exposed it prints the steady clock in nanoseconds (the system's
// monotonic clock, so the launching process can compare) and its CPU time since the launch in seconds.
#include "QuestionBank.h"
#include "VeskProgram.h"
#include "Workbook.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Runs = 11;
constexpr double GoalMilliseconds = 300;
constexpr int ExposeTimeoutMs = 10000;

using Clock = std::chrono::steady_clock;

long long nowNanoseconds()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

QWidget *mainWindow()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == "MainVeskForm")
            return widget;
    throw std::runtime_error("no main window");
}

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

int measureOnce(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // A history of its own: a kept exam in the user's would stop the run at its question.
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    vesk3::VeskProgram program(argv[2]);
    if (!program.start())
        throw std::runtime_error("the program ended at start-up");
    QWindow *window = mainWindow()->windowHandle();
    const QDeadlineTimer deadline(ExposeTimeoutMs);
    while (!window->isExposed() && !deadline.hasExpired())
        QCoreApplication::processEvents();
    if (!window->isExposed())
        throw std::runtime_error("the main window never reached the screen");
    std::printf("%lld %.9f\n", nowNanoseconds(), cpuSeconds());
    return 0;
}

// A workbook the program cannot load would stop a run at its error box, so it is refused beforehand.
void requireLoadable(const std::string &workbook)
{
    const workbook::Workbook opened = workbook::Workbook::open(workbook);
    for (const std::string_view name : bank::SubjectSheets) {
        const workbook::Sheet *sheet = opened.findSheet(name);
        if (sheet == nullptr)
            throw std::runtime_error(workbook + " has no sheet " + std::string(name));
        bank::countQuestions(*sheet);
    }
}

// Milliseconds from the launch to the main window exposed.
struct Startup
{
    double cpu = 0;
    double wallClock = 0;
};

Startup runOnce(const QString &workbook)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(environment);
    const long long launched = nowNanoseconds();
    child.start(QCoreApplication::applicationFilePath(), {"--measure", workbook});
    // Qt's warnings in a run are noise here; they are shown only when the run fails.
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        throw std::runtime_error("a start-up run failed: " + child.readAllStandardError().toStdString());
    long long shown = 0;
    double cpu = 0;
    if (std::sscanf(child.readAllStandardOutput().constData(), "%lld %lf", &shown, &cpu) != 2)
        throw std::runtime_error("a start-up run printed no times");
    return {cpu * 1e3, double(shown - launched) / 1e6};
}

// Medians of runs in fresh processes; one run first, to bring the program and the file into the page cache.
Startup measure(const std::string &workbook)
{
    requireLoadable(workbook);
    const QString path = QString::fromStdString(workbook);
    runOnce(path);
    std::vector<double> cpu;
    std::vector<double> wallClock;
    for (int i = 0; i < Runs; ++i) {
        const Startup run = runOnce(path);
        cpu.push_back(run.cpu);
        wallClock.push_back(run.wallClock);
    }
    return {median(cpu), median(wallClock)};
}

void report(const std::string &what, const Startup &startup)
{
    std::printf("%-46s %10.2f ms   (wall clock %.2f ms)\n", what.c_str(), startup.cpu, startup.wallClock);
}

int runBenchmark(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("Start-up to the main window shown, offscreen: medians of %d runs, each in a fresh process;\n"
                "CPU time (user + system) from the launch.\n\n",
                Runs);
    report("Demo workbook", measure(argv[1]));
    bool met = true;
    for (int i = 2; i < argc; ++i) {
        const std::string name = QFileInfo(argv[i]).fileName().toStdString();
        const Startup large = measure(argv[i]);
        report("Large workbook " + name, large);
        const bool thisMet = large.cpu < GoalMilliseconds;
        std::printf("%-46s %10s  %s\n", "", "< 300 ms", thisMet ? "met" : "MISSED");
        met = met && thisMet;
    }
    return met ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    try {
        if (argc == 3 && std::string_view(argv[1]) == "--measure")
            return measureOnce(argc, argv);
        if (argc >= 3)
            return runBenchmark(argc, argv);
        std::fprintf(stderr, "usage: vesk3-bench-startup DEMO_WORKBOOK LARGE_WORKBOOK...\n");
        return 64;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vesk3-bench-startup: %s\n", error.what());
        return 2;
    }
}
