// Measures the workbook reader on a large question bank and compares vesk3-bank check with FreeXL.
//   vesk3-bench WORKBOOK.xls VESK3_BANK FREEXL_COUNT LONG_TOKEN.xlsx [ZIPPED_WORKBOOK...]
// prints a table and exits 1 when a goal is missed. LONG_TOKEN.xlsx holds a 64 MiB attribute: vesk3-bank
// check must refuse it in at most twice the time of merely inflating it. A zipped workbook (.xlsx, .ods, the
// same questions) is measured against merely inflating its XML parts with libzip, the least any reader of it
// has to do. Every measurement runs in a fresh process, as the program and the tool open a workbook once per
// run: a warm heap in a long benchmark process would hide the cost of fresh memory, and an earlier run's
// high-water mark would spoil the memory baseline. Times are CPU time (user + system), which other work on a
// shared machine leaves alone.
//   vesk3-bench --measure read|inflate|parse|open WORKBOOK
// is one such process: it prints the CPU seconds, the growth of its peak resident memory in bytes and, for
// inflate and parse, the bytes inflated. parse shows what expat itself costs, which no reader built on it
// can undercut.
#include "QuestionBank.h"
#include "Workbook.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <expat.h>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <zip.h>

namespace {

constexpr int Runs = 11;
constexpr double MaxOpenToReadRatio = 10;
constexpr double MaxPeakToFileRatio = 3;
constexpr double MaxCheckToFreexlRatio = 0.5;
constexpr double MaxOpenToInflateRatio = 3;
constexpr double MaxPeakToInflatedRatio = 1;
constexpr double MaxRefusalToInflateRatio = 2;

double seconds(const timeval &time)
{
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

long peakResidentBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024;
}

double median(std::vector<double> values)
{
    std::ranges::sort(values);
    return values[values.size() / 2];
}

// The least that any reader has to do: fill one buffer of the file's size with read(2).
std::unique_ptr<char[]> readBytes(const std::string &path)
{
    const std::size_t size = std::filesystem::file_size(path);
    auto buffer = std::make_unique_for_overwrite<char[]>(size);
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error("cannot open " + path);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = read(fd, buffer.get() + done, size - done);
        if (n > 0)
            done += static_cast<std::size_t>(n);
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(fd);
    if (done != size)
        throw std::runtime_error("cannot read " + path);
    return buffer;
}

bool isXmlPart(std::string_view name)
{
    return name.ends_with(".xml") || name.ends_with(".rels");
}

// The least that a reader of a zipped workbook has to do: read the file and inflate its XML parts with
// libzip, each into the same buffer, handing each piece to consume. Returns the bytes inflated.
long inflateXmlParts(const std::string &path, const std::function<void(std::string_view, bool last)> &consume)
{
    const std::size_t size = std::filesystem::file_size(path);
    const std::unique_ptr<char[]> bytes = readBytes(path);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes.get(), size, 0, &error);
    zip_t *archive = source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr;
    zip_error_fini(&error);
    if (archive == nullptr)
        throw std::runtime_error("cannot open the archive " + path);
    std::vector<char> buffer(64 * 1024);
    long inflated = 0;
    for (zip_int64_t i = 0; i < zip_get_num_entries(archive, 0); ++i) {
        if (!isXmlPart(zip_get_name(archive, static_cast<zip_uint64_t>(i), 0)))
            continue;
        zip_file_t *part = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        for (zip_int64_t n; part != nullptr && (n = zip_fread(part, buffer.data(), buffer.size())) > 0;) {
            inflated += n;
            consume({buffer.data(), static_cast<std::size_t>(n)}, false);
        }
        consume({}, true);
        if (part != nullptr)
            zip_fclose(part);
    }
    zip_discard(archive);
    return inflated;
}

// What expat alone costs on top of the inflating: each part through a parser with namespaces, as the
// readers use it, and no handlers.
long parseXmlParts(const std::string &path)
{
    XML_Parser parser = XML_ParserCreateNS(nullptr, '\n');
    const long inflated = inflateXmlParts(path, [&](std::string_view piece, bool last) {
        XML_Parse(parser, piece.data(), static_cast<int>(piece.size()), last);
        if (last)
            XML_ParserReset(parser, nullptr);
    });
    XML_ParserFree(parser);
    return inflated;
}

// What the program does at start-up.
void openAndCount(const std::string &path)
{
    const workbook::Workbook workbook = workbook::Workbook::open(path);
    for (const std::string_view name : bank::SubjectSheets) {
        const workbook::Sheet *sheet = workbook.findSheet(name);
        if (sheet == nullptr)
            throw std::runtime_error("the workbook has no sheet " + std::string(name));
        bank::countQuestions(*sheet);
    }
}

int measureOnce(std::string_view what, const std::string &path)
{
    const long peakBefore = peakResidentBytes();
    const double start = cpuSeconds();
    long inflated = 0;
    if (what == "read")
        readBytes(path);
    else if (what == "inflate")
        inflated = inflateXmlParts(path, [](std::string_view, bool) {});
    else if (what == "parse")
        inflated = parseXmlParts(path);
    else
        openAndCount(path);
    std::printf("%.9f %ld %ld\n", cpuSeconds() - start, peakResidentBytes() - peakBefore, inflated);
    return 0;
}

struct ProcessRun
{
    int exitCode = -1;
    std::string out;
    double userSeconds = 0;
    double systemSeconds = 0;
};

// Runs a program with its standard output caught; standard error stays the terminal's.
ProcessRun runProcess(const std::vector<std::string> &args, int expectedExitCode = 0)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        throw std::runtime_error("cannot make a pipe");
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
    rusage usage{};
    if (spawned == 0 && wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    if (run.exitCode != expectedExitCode)
        throw std::runtime_error(args[0] + " failed");
    run.userSeconds = seconds(usage.ru_utime);
    run.systemSeconds = seconds(usage.ru_stime);
    return run;
}

struct Measurement
{
    double cpuSeconds = 0;
    double peakBytes = 0;
    double inflatedBytes = 0;
};

// Medians of runs in fresh processes of this program; one run first, to bring the file into the page cache.
Measurement measure(const char *what, const std::string &workbook)
{
    const std::vector<std::string> args{"/proc/self/exe", "--measure", what, workbook};
    runProcess(args);
    std::vector<double> times;
    std::vector<double> peaks;
    double inflated = 0;
    for (int i = 0; i < Runs; ++i) {
        std::istringstream out(runProcess(args).out);
        double time = 0;
        double peak = 0;
        out >> time >> peak >> inflated;
        times.push_back(time);
        peaks.push_back(peak);
    }
    return {median(times), median(peaks), inflated};
}

struct ProcessTimes
{
    double user = 0;
    double system = 0;
    double total() const { return user + system; }
};

ProcessTimes medianProcessTimes(const std::vector<std::string> &args, int expectedExitCode = 0)
{
    runProcess(args, expectedExitCode);
    std::vector<double> users;
    std::vector<double> systems;
    std::vector<double> totals;
    for (int i = 0; i < Runs; ++i) {
        const ProcessRun run = runProcess(args, expectedExitCode);
        users.push_back(run.userSeconds);
        systems.push_back(run.systemSeconds);
        totals.push_back(run.userSeconds + run.systemSeconds);
    }
    // The parts of the run whose total is the median, so that they add up.
    const auto middle = std::ranges::find(totals, median(totals)) - totals.begin();
    return {users[middle], systems[middle]};
}

class Table
{
public:
    void row(const char *what, double value, const char *unit = "ms")
    {
        std::printf("%-46s %10.2f %s\n", what, value, unit);
    }
    void split(double userMilliseconds, double systemMilliseconds)
    {
        std::printf("%-46s user %.2f ms, system %.2f ms\n", "", userMilliseconds, systemMilliseconds);
    }
    void ratio(const char *what, double value, const char *goal, bool met)
    {
        allMet = allMet && met;
        std::printf("%-46s %11.2fx %9s  %s\n", what, value, goal, met ? "met" : "MISSED");
    }
    bool allGoalsMet() const { return allMet; }

private:
    bool allMet = true;
};

constexpr double MiB = 1024 * 1024;

void measureZipped(Table &table, const std::string &workbook)
{
    const Measurement inflate = measure("inflate", workbook);
    const Measurement parse = measure("parse", workbook);
    const Measurement open = measure("open", workbook);
    const std::string name = std::filesystem::path(workbook).filename().string();
    std::printf("\n%s: %.1f MiB, XML parts %.1f MiB inflated\n", name.c_str(),
                static_cast<double>(std::filesystem::file_size(workbook)) / MiB, inflate.inflatedBytes / MiB);
    table.row("Read the file, inflate its XML parts (libzip)", inflate.cpuSeconds * 1e3);
    table.row("  and parse them with expat, no handlers", parse.cpuSeconds * 1e3);
    table.row("Open the workbook, count all five subjects", open.cpuSeconds * 1e3);
    table.ratio("  open and count / inflate", open.cpuSeconds / inflate.cpuSeconds, "<= 3x",
                open.cpuSeconds <= MaxOpenToInflateRatio * inflate.cpuSeconds);
    table.row("Peak memory growth, open and count", open.peakBytes / MiB, "MiB");
    table.ratio("  peak memory growth / inflated parts", open.peakBytes / inflate.inflatedBytes, "<= 1x",
                open.peakBytes <= MaxPeakToInflatedRatio * inflate.inflatedBytes);
}

// A hostile file must cost no more than its bytes do: refused (exit code 2) before expat rescans the token.
void measureLongToken(Table &table, const std::string &tool, const std::string &workbook)
{
    const Measurement inflate = measure("inflate", workbook);
    const ProcessTimes check = medianProcessTimes({tool, "check", workbook}, 2);
    const std::string name = std::filesystem::path(workbook).filename().string();
    std::printf("\n%s: %.1f KiB, XML parts %.1f MiB inflated\n", name.c_str(),
                static_cast<double>(std::filesystem::file_size(workbook)) / 1024,
                inflate.inflatedBytes / MiB);
    table.row("Read the file, inflate its XML parts (libzip)", inflate.cpuSeconds * 1e3);
    table.row("vesk3-bank check, which refuses it", check.total() * 1e3);
    table.ratio("  check / inflate", check.total() / inflate.cpuSeconds, "<= 2x",
                check.total() <= MaxRefusalToInflateRatio * inflate.cpuSeconds);
}

int runBenchmark(const std::string &workbook, const std::string &tool, const std::string &freexlCount,
                 const std::string &longToken, const std::vector<std::string> &zippedWorkbooks)
{
    const double fileBytes = static_cast<double>(std::filesystem::file_size(workbook));
    const Measurement read = measure("read", workbook);
    const Measurement open = measure("open", workbook);
    const ProcessTimes check = medianProcessTimes({tool, "check", workbook});
    const ProcessTimes freexl = medianProcessTimes({freexlCount, workbook});

    std::printf("Workbook %s: %.1f MiB\n", workbook.c_str(), fileBytes / MiB);
    std::printf("Medians of %d runs, each in a fresh process; CPU time (user + system).\n\n", Runs);
    Table table;
    table.row("Read the file's bytes into memory", read.cpuSeconds * 1e3);
    table.row("Open the workbook, count all five subjects", open.cpuSeconds * 1e3);
    table.ratio("  open and count / read bytes", open.cpuSeconds / read.cpuSeconds, "<= 10x",
                open.cpuSeconds <= MaxOpenToReadRatio * read.cpuSeconds);
    table.row("Peak memory growth, open and count", open.peakBytes / MiB, "MiB");
    table.ratio("  peak memory growth / file size", open.peakBytes / fileBytes, "<= 3x",
                open.peakBytes <= MaxPeakToFileRatio * fileBytes);
    table.row("FreeXL: open, select each sheet, dimensions", freexl.total() * 1e3);
    table.split(freexl.user * 1e3, freexl.system * 1e3);
    table.row("vesk3-bank check", check.total() * 1e3);
    table.split(check.user * 1e3, check.system * 1e3);
    table.ratio("  vesk3-bank check / FreeXL", check.total() / freexl.total(), "< 0.5x",
                check.total() < MaxCheckToFreexlRatio * freexl.total());
    for (const std::string &zipped : zippedWorkbooks)
        measureZipped(table, zipped);
    measureLongToken(table, tool, longToken);
    return table.allGoalsMet() ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    try {
        const std::string_view what = argc == 4 && std::string_view(argv[1]) == "--measure" ? argv[2] : "";
        if (what == "read" || what == "inflate" || what == "parse" || what == "open")
            return measureOnce(what, argv[3]);
        if (argc >= 5)
            return runBenchmark(argv[1], argv[2], argv[3], argv[4], {argv + 5, argv + argc});
        std::fprintf(stderr, "usage: vesk3-bench WORKBOOK.xls VESK3_BANK FREEXL_COUNT LONG_TOKEN.xlsx "
                             "[ZIPPED_WORKBOOK...]\n");
        return 64;
    } catch (const std::exception &error) {
        std::fprintf(stderr, "vesk3-bench: %s\n", error.what());
        return 2;
    }
}
