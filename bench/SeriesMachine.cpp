#include "SeriesMachine.h"

#include <chrono>
#include <filesystem>

#include "harness/PrintSetup.h"
#include "support/Text.h"

namespace norvane::bench {

namespace {

namespace fs = std::filesystem;
using norvane::testing::kPrintKey;

constexpr int kFirstPackage = 20;  // oem20.inf onwards
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

}  // namespace

Generated Generate(testing::TestMachine& m, int drivers, int printersPerDriver) {
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
        setup.Package(kFirstPackage + s, members,
                      {.languageMonitor = monitor + ",cvlm" + number + ".dll",
                       .printProcessor = processor + "," + processor + ".DLL"});
        out.files.push_back(L"C:\\Windows\\inf\\oem" + std::to_wstring(kFirstPackage + s) +
                            L".inf");
        series.push_back(seriesKeys);
        designated += (designated.empty() ? "" : ",") + members.front();
    }
    setup.DefaultPrinter(names.front() + " (1)");
    // Every Windows has it, and a run writes into it.
    setup.Registry(
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce]\r\n");
    setup.Install(norvane::testing::ConfigIni(names, series));

    DateBack(m.Folder());
    out.commandLine = L"/s /x " + Path(designated);
    return out;
}

void DateBack(const std::filesystem::path& machine) {
    const auto installed = fs::file_time_type::clock::now() - std::chrono::hours(24);
    for (const auto& entry : fs::recursive_directory_iterator(machine / "drive_c")) {
        if (entry.is_regular_file())
            fs::last_write_time(entry.path(), installed);
    }
}

}  // namespace norvane::bench
