// Times one silent removal of a whole large package on simulated machines of growing size, so that
// the cost's growth with the number of drivers can be read off. It prints numbers and never judges
// them.
//
// Each machine has N package drivers in series of four, each with its 32-bit twin, its own files,
// hardware ID (hence spool subfolder) and data folder, a language monitor and a print processor
// shared within its series, one driver package per series, and five printers per driver. The run
// is `/s /x` with the first driver of every series, which designates everything. Only the
// program's run is timed; making the machine, loading it and saving it are timed apart. A second
// shape is a print server's: a few drivers, each with hundreds of printers.
//
// Each measurement runs in a child process of its own, so that its peak memory is its own.
//
// The package was installed long before it is removed: every file of the machine is given a time
// a day back, so that the profile functions meet settled files, as on a real PC, rather than files
// written a moment ago (which the simulated engine, like Windows, reads again on every call).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "RunProgram.h"
#include "harness/PrintSetup.h"
#include "harness/TestMachine.h"
#include "support/Text.h"

namespace {

namespace fs = std::filesystem;
using norvane::testing::kPrintKey;
using Clock = std::chrono::steady_clock;

constexpr int kDefaultSizes[] = {100, 200, 400, 800, 1600};
constexpr int kRepeats = 3;
constexpr int kSeriesSize = 4;
constexpr int kPrintersPerDriver = 5;
// The print server: 10 drivers with 250 and then 500 printers each.
constexpr int kServerDrivers = 10;
constexpr int kServerPrinters[] = {250, 500};
constexpr int kFirstPackage = 20;          // oem20.inf onwards
constexpr int kMaxDrivers = 36 * 36 * 36;  // as many as there are distinct family codes
constexpr const char* kKinds[kSeriesSize] = {" PCL6", " PS", " Fax", " XPS"};

// 7 and 3 give "007".
std::string Digits(int value, std::size_t width) {
    std::string out = std::to_string(value);
    if (out.size() < width)
        out.insert(0, width - out.size(), '0');
    return out;
}

// "CV" and three base-36 digits: a family code, which the "_UI" rule of the configuration file's
// name gives back.
std::string FamilyCode(int driver) {
    const char* const digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return std::string("CV") + digits[driver / 1296 % 36] + digits[driver / 36 % 36] +
           digits[driver % 36];
}

std::wstring Path(const std::string& utf8) {
    return norvane::text::FromUtf8(utf8);
}

// A generated machine: its command line and what the removal must leave behind it.
struct Generated {
    std::wstring commandLine;
    std::vector<std::wstring> keys;   // registry keys, full paths
    std::vector<std::wstring> files;  // Windows paths of files and folders
};

Generated Generate(norvane::testing::TestMachine& m, int drivers, int printersPerDriver) {
    using norvane::testing::TestDriver;
    const std::string print = std::string(kPrintKey) + "\\";
    norvane::testing::PrintSetup setup(m);
    Generated out;
    std::vector<std::string> names, series;
    std::string designated;
    for (int s = 0; s * kSeriesSize < drivers; ++s) {
        const std::string number = Digits(s + 1, 3);
        const std::string monitor = "Corvida Series " + number + " LangMon";
        const std::string processor = "CVPP" + number;
        setup.Monitor(monitor, "cvlm" + number + ".dll").PrintProcessor(processor);
        out.keys.push_back(Path(print + "Monitors\\" + monitor));
        out.keys.push_back(
            Path(print + "Environments\\Windows x64\\Print Processors\\" + processor));

        std::vector<std::string> members;
        std::string seriesKeys;
        for (int k = 0; k < kSeriesSize && s * kSeriesSize + k < drivers; ++k) {
            const int d = s * kSeriesSize + k;
            const std::string name = "Corvida Model " + number + kKinds[k];
            const std::string code = FamilyCode(d);
            for (const char* env : {"Windows x64", "Windows NT x86"}) {
                setup.Driver(TestDriver{name,
                                        "Corvida",
                                        env,
                                        code + "_UI.DLL",
                                        {code + ".DLL", code + ".GPD"},
                                        monitor,
                                        processor,
                                        "USBPRINT\\Corvida-" + code});
                out.keys.push_back(
                    Path(print + "Environments\\" + env + "\\Drivers\\Version-3\\" + name));
            }
            for (const std::string& folder :
                 {"C:\\ProgramData\\Corvida\\Drv\\" + code,
                  "C:\\Windows\\system32\\spool\\drivers\\x64\\Corvida_" + code}) {
                m.WriteFile(Path(folder + "\\settings.dat"), "data");
                out.files.push_back(Path(folder));
            }
            for (int p = 1; p <= printersPerDriver; ++p) {
                const std::string printer = name + " (" + std::to_string(p) + ")";
                setup.Printer(printer, name, "USB001", processor);
                out.keys.push_back(Path(print + "Printers\\" + printer));
            }
            members.push_back(name);
            names.push_back(name);
            seriesKeys += (k ? ",D" : "D") + std::to_string(d + 1);
        }
        setup.Package(kFirstPackage + s, members);
        out.files.push_back(L"C:\\Windows\\inf\\oem" + std::to_wstring(kFirstPackage + s) +
                            L".inf");
        series.push_back(seriesKeys);
        designated += (designated.empty() ? "" : ",") + members.front();
    }
    setup.DefaultPrinter(names.front() + " (1)");
    setup.Install(norvane::testing::ConfigIni(names, series));

    const auto installed = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const auto& entry : fs::recursive_directory_iterator(m.Folder() / "drive_c")) {
        if (entry.is_regular_file())
            fs::last_write_time(entry.path(), installed);
    }
    out.commandLine = L"/s /x " + Path(designated);
    return out;
}

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Times {
    double generate, load, run, save;
    long peakKb;  // the measuring process's peak resident memory
};

// One machine made, loaded, removed from, saved and checked; a line for whatever stayed.
Times MeasureOnce(int drivers, int printersPerDriver) {
    Times t{};
    norvane::testing::TestMachine m;
    Clock::time_point start = Clock::now();
    const Generated machine = Generate(m, drivers, printersPerDriver);
    t.generate = Since(start);

    start = Clock::now();
    auto loaded = m.Load();
    t.load = Since(start);

    start = Clock::now();
    const norvane::tools::ProgramRun run = norvane::tools::RunProgram(*loaded, machine.commandLine);
    t.run = Since(start);

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
    std::fflush(stdout);
    return t;
}

// MeasureOnce in a child process, whose peak memory is then that of this measurement alone.
Times MeasureApart(int drivers, int printersPerDriver) {
    int channel[2];
    if (pipe(channel) != 0)
        std::exit(1);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        const Times t = MeasureOnce(drivers, printersPerDriver);
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

struct Row {
    double run = 0;
    double peakMb = 0;
};

// The medians of a size's runs, printed as a line with the ratios to the size before it when that
// was half as large.
Row MeasureSize(const char* label, int drivers, int printersPerDriver, int previousPrinters,
                const Row& previous) {
    std::vector<double> generate, load, run, save, peak;
    for (int r = 0; r < kRepeats; ++r) {
        const Times t = MeasureApart(drivers, printersPerDriver);
        generate.push_back(t.generate);
        load.push_back(t.load);
        run.push_back(t.run);
        save.push_back(t.save);
        peak.push_back(static_cast<double>(t.peakKb) / 1024);
    }
    const Row row{Median(run), Median(peak)};
    const int printers = drivers * printersPerDriver;
    std::printf("%-6s %5d %9d %9.3f %8.3f %8.3f %8.3f %9.1f", label, drivers, printers,
                Median(generate), Median(load), row.run, Median(save), row.peakMb);
    if (printers == 2 * previousPrinters) {
        std::printf(" %10.2f %10.2f\n", row.run / previous.run, row.peakMb / previous.peakMb);
    } else {
        std::printf(" %10s %10s\n", "-", "-");
    }
    std::fflush(stdout);
    return row;
}

}  // namespace

// Arguments, if any, are the sizes to measure instead of 100 to 1600 (a small one suits a
// profiler), each rounded up to whole series; "--no-server" leaves out the print server.
int main(int argc, char** argv) {
    std::vector<int> sizes;
    bool server = true;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--no-server") {
            server = false;
            continue;
        }
        const int wanted = std::clamp(std::atoi(argv[i]), 1, kMaxDrivers);
        sizes.push_back((wanted + kSeriesSize - 1) / kSeriesSize * kSeriesSize);
    }
    if (sizes.empty())
        sizes.assign(std::begin(kDefaultSizes), std::end(kDefaultSizes));
    std::printf("silent removal of a whole package, median of %d runs, seconds; peak memory, MB\n",
                kRepeats);
    std::printf("%-6s %5s %9s %9s %8s %8s %8s %9s %10s %10s\n", "shape", "N", "printers",
                "generate", "load", "run", "save", "peak", "t(2N)/t(N)", "m(2N)/m(N)");
    std::fflush(stdout);  // before any child process takes a copy of the buffer
    int previousPrinters = 0;
    Row previous;
    for (const int n : sizes) {
        previous = MeasureSize("series", n, kPrintersPerDriver, previousPrinters, previous);
        previousPrinters = n * kPrintersPerDriver;
    }
    if (server) {
        previousPrinters = 0;
        for (const int printers : kServerPrinters) {
            previous = MeasureSize("server", kServerDrivers, printers, previousPrinters, previous);
            previousPrinters = kServerDrivers * printers;
        }
    }
    return 0;
}
