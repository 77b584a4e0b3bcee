// Times the workbook reader on a large question bank and compares vesk3-bank check with FreeXL.
//   vesk3-bench WORKBOOK VESK3_BANK FREEXL_COUNT
// prints a table and exits 1 when a goal is missed. The memory figure comes from a fresh process of this
// program (--peak-memory WORKBOOK), so that the timing runs leave no high-water mark in its baseline.
#include "QuestionBank.h"
#include "Workbook.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int InProcessRuns = 21;
constexpr int ProcessRuns = 11;
constexpr double MaxOpenToReadRatio = 10;
constexpr double MaxPeakToFileRatio = 3;
constexpr double MaxCheckToFreexlRatio = 0.5;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

// One untimed run first, so that every timed run finds the file in the page cache.
double medianSeconds(int runs, const std::function<void()> &work)
{
    work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        work();
        times.push_back(secondsSince(start));
    }
    return median(times);
}

std::string readBytes(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::int64_t countAllQuestions(const std::string &path)
{
    const bank::Workbook workbook = bank::Workbook::open(path);
    std::int64_t total = 0;
    for (const std::string_view name : bank::SubjectSheets) {
        const bank::Sheet *sheet = workbook.findSheet(name);
        if (sheet == nullptr)
            throw std::runtime_error("the workbook has no sheet " + std::string(name));
        total += bank::countQuestions(*sheet);
    }
    return total;
}

long peakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int printPeakMemory(const std::string &path)
{
    const long before = peakResidentKiB();
    countAllQuestions(path);
    std::printf("%ld\n", (peakResidentKiB() - before) * 1024);
    return 0;
}

struct ProcessRun
{
    int exitCode = -1;
    std::string out;
};

// Runs a program with its standard output caught; standard error stays the terminal's.
ProcessRun runProcess(const std::vector<std::string> &args)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<char *> argv;
    for (const std::string &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    ProcessRun run;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0)
            run.out.append(buffer, static_cast<std::size_t>(n));
        else if (errno != EINTR)
            break;
    }
    close(pipeEnds[0]);
    int status = 0;
    if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

double medianProcessSeconds(const std::vector<std::string> &args)
{
    return medianSeconds(ProcessRuns, [&] {
        if (const ProcessRun run = runProcess(args); run.exitCode != 0)
            throw std::runtime_error(args[0] + " failed with exit code " + std::to_string(run.exitCode));
    });
}

struct Verdict
{
    bool allMet = true;

    const char *judge(double value, double limit, bool strict)
    {
        const bool met = strict ? value < limit : value <= limit;
        allMet = allMet && met;
        return met ? "met" : "MISSED";
    }
};

int runBenchmark(const std::string &workbook, const std::string &tool, const std::string &freexlCount)
{
    const double fileMiB = static_cast<double>(std::filesystem::file_size(workbook)) / (1024 * 1024);
    const ProcessRun memory = runProcess({"/proc/self/exe", "--peak-memory", workbook});
    if (memory.exitCode != 0)
        throw std::runtime_error("the memory measurement failed");
    const double peakMiB = std::stod(memory.out) / (1024 * 1024);

    std::int64_t questions = 0;
    const double readSeconds = medianSeconds(InProcessRuns, [&] { readBytes(workbook); });
    const double openSeconds = medianSeconds(InProcessRuns, [&] { questions = countAllQuestions(workbook); });
    const double checkSeconds = medianProcessSeconds({tool, "check", workbook});
    const double freexlSeconds = medianProcessSeconds({freexlCount, workbook});

    Verdict verdict;
    std::printf("Workbook %s: %.1f MiB, %lld questions\n", workbook.c_str(), fileMiB,
                static_cast<long long>(questions));
    std::printf("Medians of %d runs in this process, %d runs of a process.\n\n", InProcessRuns, ProcessRuns);
    std::printf("%-48s %12s %10s %8s\n", "Measurement", "Result", "Goal", "");
    std::printf("%-48s %9.2f ms\n", "Read the file's bytes into memory", readSeconds * 1e3);
    std::printf("%-48s %9.2f ms\n", "Open the workbook, count all five subjects", openSeconds * 1e3);
    std::printf("%-48s %11.1fx %10s %8s\n", "  open and count / read bytes", openSeconds / readSeconds,
                "<= 10x", verdict.judge(openSeconds / readSeconds, MaxOpenToReadRatio, false));
    std::printf("%-48s %8.1f MiB\n", "Peak memory above baseline, open and count", peakMiB);
    std::printf("%-48s %11.1fx %10s %8s\n", "  peak memory / file size", peakMiB / fileMiB, "<= 3x",
                verdict.judge(peakMiB / fileMiB, MaxPeakToFileRatio, false));
    std::printf("%-48s %9.2f ms\n", "FreeXL: open, select each sheet, dimensions", freexlSeconds * 1e3);
    std::printf("%-48s %9.2f ms\n", "vesk3-bank check", checkSeconds * 1e3);
    std::printf("%-48s %11.2fx %10s %8s\n", "  vesk3-bank check / FreeXL", checkSeconds / freexlSeconds,
                "< 0.5x", verdict.judge(checkSeconds / freexlSeconds, MaxCheckToFreexlRatio, true));
    return verdict.allMet ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    try {
        if (argc == 3 && std::string_view(argv[1]) == "--peak-memory")
            return printPeakMemory(argv[2]);
        if (argc == 4)
            return runBenchmark(argv[1], argv[2], argv[3]);
        std::fprintf(stderr, "usage: vesk3-bench WORKBOOK VESK3_BANK FREEXL_COUNT\n");
        return 64;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vesk3-bench: %s\n", error.what());
        return 2;
    }
}
