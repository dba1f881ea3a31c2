// Builds the printing side of a test machine: drivers, printers, a monitor, print processors,
// their files and the package's config.ini, the way a driver package installs them.
#pragma once

#include <string>
#include <vector>

#include "harness/TestMachine.h"

namespace norvane::testing {

struct TestDriver {
    std::string name;
    std::string provider = "Corvida";
    std::string environment = "Windows x64";
    std::string configFile;                   // e.g. "CVMA_UI.DLL" (family code CVMA)
    std::vector<std::string> dependentFiles;  // names in the driver folder
    std::string monitor;
    std::string printProcessor;
    std::string hardwareId;
};

// The text with every backslash doubled, as a JSON string or a .reg value writes it.
inline std::string DoubledBackslashes(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

// A 64-bit driver of the Corvida package with its files and nothing else (no monitor, print
// processor or hardware ID).
inline TestDriver PlainDriver(const std::string& name, const std::string& configFile,
                              const std::vector<std::string>& files) {
    return {name, "Corvida", "Windows x64", configFile, files, "", "", ""};
}

// What an oem<N>.inf says beyond its models. Its provider is written as %CV% and [Strings] gives
// its name; each model installs through section [Install].
struct TestPackage {
    std::string provider = "Corvida";
    std::string driverVer{};           // e.g. "11/14/2025,2.4.1.0"; empty: no DriverVer line
    std::string languageMonitor{};     // "name,file.dll", as a LanguageMonitor= line writes it
    std::string printProcessor{};      // "name,file.dll"
    std::vector<std::string> files{};  // what [Install] copies
};

class PrintSetup {
public:
    explicit PrintSetup(TestMachine& machine) : m_machine(machine) {}

    // The driver's key and its files in the environment's driver folder.
    PrintSetup& Driver(const TestDriver& driver);
    // `devmode`: the "Default DevMode" bytes; empty: none.
    PrintSetup& Printer(const std::string& name, const std::string& driver,
                        const std::string& port = "USB001",
                        const std::string& printProcessor = "winprint",
                        const std::string& devmode = "");
    PrintSetup& DefaultPrinter(const std::string& name, const std::string& port = "USB001");
    // A monitor key and its DLL in C:\Windows\system32.
    PrintSetup& Monitor(const std::string& name, const std::string& dll);
    // A print processor key and its DLLs for both environments.
    PrintSetup& PrintProcessor(const std::string& name);
    // oem<N>.inf and .pnf declaring the drivers in section [Corvida.NTamd64].
    PrintSetup& Package(int number, const std::vector<std::string>& drivers,
                        const TestPackage& package = {});
    PrintSetup& Registry(const std::string& regText);
    // Writes registry.reg and, unless empty, config.ini into the program folder.
    void Install(const std::string& configIni);

private:
    TestMachine& m_machine;
    std::string m_registry;
};

// The [Common], [Driver] and [DevSeries] lines of a config.ini for the Corvida package.
std::string ConfigIni(const std::vector<std::string>& drivers,
                      const std::vector<std::string>& series = {}, const std::string& extra = "");

inline constexpr char kPrintKey[] = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print";

}  // namespace norvane::testing
