// Times one silent removal of a whole large package on simulated machines of growing size, so that
// the cost's growth with the number of drivers can be read off. It prints numbers and never judges
// them.
//
// Each machine is a series machine (SeriesMachine.h) with five printers per driver. Only the
// program's run is timed; making the machine, loading it and saving it are timed apart. A second
// shape is a print server's: a few drivers, each with hundreds of printers.
//
// Each measurement runs in a child process of its own, so that its peak memory is its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "KeyByKeyLog.h"
#include "RunProgram.h"
#include "SeriesMachine.h"
#include "harness/TestMachine.h"

namespace {

using norvane::bench::Generate;
using norvane::bench::kMaxDrivers;
using norvane::bench::kSeriesSize;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultSizes[] = {100, 200, 400, 800, 1600};
constexpr int kRepeats = 7;
constexpr int kPrintersPerDriver = 5;
// The print server: 10 drivers with 250 and then 500 printers each.
constexpr int kServerDrivers = 10;
constexpr int kServerPrinters[] = {250, 500};

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time this process has used so far, user and system.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

struct Times {
    double generate, load, run, save;
    double runCpu;  // the run's processor time, user and system: what the stalls of a busy
                    // machine leave out
    long peakKb;    // the measuring process's peak resident memory
    norvane::bench::KeyByKeyCheck log;
};

// One machine made, loaded, removed from, saved and checked; a line for whatever stayed. With
// `checkLog`, the run's log is then written again key by key, untimed, and compared.
Times MeasureOnce(int drivers, int printersPerDriver, bool checkLog) {
    Times t{};
    norvane::testing::TestMachine m;
    Clock::time_point start = Clock::now();
    const norvane::bench::Generated machine = Generate(m, drivers, printersPerDriver);
    t.generate = Since(start);

    start = Clock::now();
    auto loaded = m.Load();
    t.load = Since(start);

    start = Clock::now();
    const double cpuBefore = CpuSeconds();
    const norvane::tools::ProgramRun run = norvane::tools::RunProgram(*loaded, machine.commandLine);
    t.run = Since(start);
    t.runCpu = CpuSeconds() - cpuBefore;

    start = Clock::now();
    if (const auto failed = loaded->Save())
        std::fprintf(stderr, "removal_bench: %s\n", failed->ToString().c_str());
    t.save = Since(start);

    const auto keysLeft =
        std::count_if(machine.keys.begin(), machine.keys.end(),
                      [&](const auto& key) { return loaded->Registry().Find(key) != nullptr; });
    const auto filesLeft = std::count_if(machine.files.begin(), machine.files.end(),
                                         [&](const auto& file) { return m.Exists(file); });
    if (keysLeft || filesLeft)
        std::printf("  N=%d: NOT REMOVED: %td of %zu keys, %td of %zu files and folders\n", drivers,
                    keysLeft, machine.keys.size(), filesLeft, machine.files.size());
    if (checkLog) {
        t.log = norvane::bench::WriteKeyByKey(
            m, *loaded, norvane::testing::kLogFile,
            std::wstring(norvane::testing::kProgramFolder) + L"KeyByKey.log");
    }
    std::fflush(stdout);
    return t;
}

// MeasureOnce in a child process, whose peak memory is then that of this measurement alone.
Times MeasureApart(int drivers, int printersPerDriver, bool checkLog) {
    int channel[2];
    if (pipe(channel) != 0)
        std::exit(1);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const Times t = MeasureOnce(drivers, printersPerDriver, checkLog);
        const bool written = write(channel[1], &t, sizeof t) == static_cast<ssize_t>(sizeof t);
        _exit(written ? 0 : 1);
    }
    close(channel[1]);
    Times t{};
    const bool read = ::read(channel[0], &t, sizeof t) == static_cast<ssize_t>(sizeof t);
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!read || status != 0) {
        std::fprintf(stderr, "removal_bench: the measurement of N=%d failed\n", drivers);
        std::exit(1);
    }
    t.peakKb = usage.ru_maxrss;
    return t;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One shape and size of machine, and its runs.
struct Measured {
    const char* label;
    int drivers, printersPerDriver;
    bool checkLog;  // the first run's log is also checked against one written key by key
    std::vector<Times> runs;

    int Printers() const { return drivers * printersPerDriver; }
    double MedianOf(double Times::*field) const {
        std::vector<double> values;
        for (const Times& t : runs)
            values.push_back(t.*field);
        return Median(values);
    }
    // The run least disturbed by the rest of the machine: what is slower was waiting on others.
    double FastestRun() const {
        double fastest = runs.front().run;
        for (const Times& t : runs)
            fastest = std::min(fastest, t.run);
        return fastest;
    }
    double MedianPeakMb() const {
        std::vector<double> values;
        for (const Times& t : runs)
            values.push_back(static_cast<double>(t.peakKb) / 1024);
        return Median(values);
    }
};

// The medians of a size's runs, printed as a line with the ratios to the size before it when that
// was of the same shape and half as large, and a line on its log when that was checked.
void Print(const Measured& size, const Measured* previous) {
    const double run = size.MedianOf(&Times::run), cpu = size.MedianOf(&Times::runCpu);
    const double fastest = size.FastestRun(), peak = size.MedianPeakMb();
    std::printf("%-6s %5d %9d %9.3f %8.3f %8.3f %8.3f %8.3f %8.3f %9.1f", size.label, size.drivers,
                size.Printers(), size.MedianOf(&Times::generate), size.MedianOf(&Times::load), run,
                fastest, cpu, size.MedianOf(&Times::save), peak);
    if (previous && std::string_view(previous->label) == size.label &&
        size.Printers() == 2 * previous->Printers()) {
        std::printf(" %10.2f %10.2f %10.2f %10.2f\n", run / previous->MedianOf(&Times::run),
                    fastest / previous->FastestRun(), cpu / previous->MedianOf(&Times::runCpu),
                    peak / previous->MedianPeakMb());
    } else {
        std::printf(" %10s %10s %10s %10s\n", "-", "-", "-", "-");
    }
    if (!size.checkLog)
        return;
    const norvane::bench::KeyByKeyCheck& log = size.runs.front().log;
    if (!log.checked) {
        std::printf("  log of N=%d: not checked (not ASCII)\n", size.drivers);
    } else {
        std::printf(
            "  log of N=%d: %zu bytes, %zu sections, %zu keys; written again key by key "
            "(%.1f s): %s\n",
            size.drivers, log.bytes, log.sections, log.keys, log.seconds,
            log.same ? "the same bytes" : "DIFFERENT");
    }
}

// A size as the bench takes it: at least one driver, at most kMaxDrivers, in whole series.
int WholeSeries(int wanted) {
    wanted = std::clamp(wanted, 1, kMaxDrivers);
    return (wanted + kSeriesSize - 1) / kSeriesSize * kSeriesSize;
}

}  // namespace

// Arguments, if any, are the sizes to measure instead of 100 to 1600 (a small one suits a
// profiler), each rounded up to whole series; "--no-server" leaves out the print server.
int main(int argc, char** argv) {
    std::vector<int> sizes;
    bool server = true;
    // The series size whose log is checked, by default the smallest: written key by key the log
    // costs what section writes save, about half a minute at N = 200 and four times as much at
    // each doubling.
    int checkLogOf = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--no-server") {
            server = false;
            continue;
        }
        if (std::string(argv[i]) == "--check-log" && i + 1 < argc) {
            checkLogOf = WholeSeries(std::atoi(argv[++i]));
            continue;
        }
        sizes.push_back(WholeSeries(std::atoi(argv[i])));
    }
    if (sizes.empty())
        sizes.assign(std::begin(kDefaultSizes), std::end(kDefaultSizes));
    if (checkLogOf < 0)
        checkLogOf = *std::min_element(sizes.begin(), sizes.end());
    std::printf(
        "silent removal of a whole package, median of %d runs: seconds of wall time (and the\n"
        "fastest run's, f) and of processor time (run cpu, c); peak memory, MB\n",
        kRepeats);
    std::printf("%-6s %5s %9s %9s %8s %8s %8s %8s %8s %9s %10s %10s %10s %10s\n", "shape", "N",
                "printers", "generate", "load", "run", "fastest", "run cpu", "save", "peak",
                "t(2N)/t(N)", "f(2N)/f(N)", "c(2N)/c(N)", "m(2N)/m(N)");
    std::fflush(stdout);  // before any child process takes a copy of the buffer
    std::vector<Measured> measured;
    for (const int n : sizes)
        measured.push_back({"series", n, kPrintersPerDriver, n == checkLogOf, {}});
    if (server) {
        for (const int printers : kServerPrinters)
            measured.push_back({"server", kServerDrivers, printers, false, {}});
    }
    // Round after round of every size, so that a busy spell of the machine falls on runs of
    // several sizes rather than on every run of one, whose median it would then move.
    for (int round = 0; round < kRepeats; ++round) {
        std::fprintf(stderr, "removal_bench: round %d of %d\n", round + 1, kRepeats);
        for (Measured& size : measured) {
            size.runs.push_back(
                MeasureApart(size.drivers, size.printersPerDriver, size.checkLog && round == 0));
        }
    }
    for (std::size_t i = 0; i < measured.size(); ++i)
        Print(measured[i], i ? &measured[i - 1] : nullptr);
    return 0;
}
