// Times one silent removal of a whole large package on simulated machines of growing size, so that
// the cost's growth with the number of drivers can be read off. It prints numbers and never judges
// them.
//
// Each machine has N package drivers in series of four, each with its 32-bit twin, its own files,
// hardware ID (hence spool subfolder) and data folder, a language monitor and a print processor
// shared within its series, one driver package per series, and five printers per driver. The run
// is `/s /x` with the first driver of every series, which designates everything. Only the
// program's run is timed; making the machine, loading it and saving it are timed apart.
//
// The package was installed long before it is removed: every file of the machine is given a time
// a day back, so that the profile functions meet settled files, as on a real PC, rather than files
// written a moment ago (which the simulated engine, like Windows, reads again on every call).
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

constexpr int kDefaultSizes[] = {100, 200, 400};
constexpr int kRepeats = 3;
constexpr int kSeriesSize = 4;
constexpr int kPrintersPerDriver = 5;
constexpr int kFirstPackage = 20;     // oem20.inf onwards
constexpr int kMaxDrivers = 36 * 36;  // as many as there are distinct family codes
constexpr const char* kKinds[kSeriesSize] = {" PCL6", " PS", " Fax", " XPS"};

// 7 and 3 give "007".
std::string Digits(int value, std::size_t width) {
    std::string out = std::to_string(value);
    if (out.size() < width)
        out.insert(0, width - out.size(), '0');
    return out;
}

// "CV" and two base-36 digits: a family code of four characters, which the "_UI" rule of the
// configuration file's name gives back.
std::string FamilyCode(int driver) {
    const char* const digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    return std::string("CV") + digits[driver / 36 % 36] + digits[driver % 36];
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

Generated Generate(norvane::testing::TestMachine& m, int drivers) {
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
        for (int k = 0; k < kSeriesSize; ++k) {
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
            for (int p = 1; p <= kPrintersPerDriver; ++p) {
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
};

// One machine made, loaded, removed from, saved and checked; a line for whatever stayed.
Times MeasureOnce(int drivers) {
    Times t{};
    norvane::testing::TestMachine m;
    Clock::time_point start = Clock::now();
    const Generated machine = Generate(m, drivers);
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
    return t;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

// Arguments, if any, are the sizes to measure instead of 100, 200 and 400 (a small one suits a
// profiler), each rounded up to whole series.
int main(int argc, char** argv) {
    std::vector<int> sizes(std::begin(kDefaultSizes), std::end(kDefaultSizes));
    if (argc > 1)
        sizes.clear();
    for (int i = 1; i < argc; ++i) {
        const int wanted = std::clamp(std::atoi(argv[i]), 1, kMaxDrivers);
        sizes.push_back((wanted + kSeriesSize - 1) / kSeriesSize * kSeriesSize);
    }
    std::printf("silent removal of a whole package, median of %d runs, seconds\n", kRepeats);
    std::printf("%5s %8s %9s %9s %8s %8s %8s %12s\n", "N", "drivers", "printers", "generate",
                "load", "run", "save", "t(2N)/t(N)");
    int previousSize = 0;
    double previous = 0;
    for (const int n : sizes) {
        std::vector<double> generate, load, run, save;
        for (int r = 0; r < kRepeats; ++r) {
            const Times t = MeasureOnce(n);
            generate.push_back(t.generate);
            load.push_back(t.load);
            run.push_back(t.run);
            save.push_back(t.save);
        }
        const double median = Median(run);
        // Drivers counts the package's 64-bit drivers; each has a 32-bit twin besides.
        std::printf("%5d %8d %9d %9.3f %8.3f %8.3f %8.3f", n, n, n * kPrintersPerDriver,
                    Median(generate), Median(load), median, Median(save));
        if (n == 2 * previousSize) {
            std::printf(" %12.2f\n", median / previous);
        } else {
            std::printf(" %12s\n", "-");
        }
        std::fflush(stdout);
        previousSize = n;
        previous = median;
    }
    return 0;
}
