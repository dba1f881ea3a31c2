#include "harness/PrintSetup.h"

#include <cstdio>

#include "support/Text.h"

namespace norvane::testing {
namespace {

std::string Hex(const std::string& bytes) {
    std::string out;
    char byte[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(bytes[i]));
        out += (i ? "," : "") + std::string(byte);
    }
    return out;
}

std::string MultiString(const std::vector<std::string>& items) {
    std::string bytes;
    for (const auto& item : items) {
        for (char c : item)
            bytes += std::string{c, '\0'};
        bytes += std::string(2, '\0');
    }
    bytes += std::string(2, '\0');
    return "hex(7):" + Hex(bytes);
}

std::wstring W(const std::string& s) {
    return text::FromUtf8(s);
}

// A .reg string value: "name"="text" with \ and " escaped.
std::string Value(const std::string& name, const std::string& data) {
    std::string escaped;
    for (char c : data) {
        if (c == '\\' || c == '"')
            escaped += '\\';
        escaped += c;
    }
    return "\"" + name + "\"=\"" + escaped + "\"\r\n";
}

}  // namespace

PrintSetup& PrintSetup::Driver(const TestDriver& d) {
    m_registry += "[" + std::string(kPrintKey) + "\\Environments\\" + d.environment +
                  "\\Drivers\\Version-3\\" + d.name + "]\r\n";
    const std::string first = d.dependentFiles.empty() ? "" : d.dependentFiles.front();
    m_registry += Value("Configuration File", d.configFile);
    m_registry += "\"Dependent Files\"=" + MultiString(d.dependentFiles) + "\r\n";
    m_registry +=
        Value("Driver", first) + Value("HardwareID", d.hardwareId) + Value("Monitor", d.monitor);
    if (!d.printProcessor.empty())
        m_registry += Value("Print Processor", d.printProcessor);
    if (!d.provider.empty())
        m_registry += Value("Provider", d.provider);
    m_registry += "\r\n";
    const std::wstring folder = std::wstring(L"C:\\Windows\\system32\\spool\\DRIVERS\\") +
                                (d.environment == "Windows x64" ? L"x64" : L"W32X86") + L"\\3\\";
    for (const auto& file : d.dependentFiles)
        m_machine.WriteFile(folder + W(file), "driver file");
    if (!d.configFile.empty())
        m_machine.WriteFile(folder + W(d.configFile), "driver file");
    return *this;
}

PrintSetup& PrintSetup::Printer(const std::string& name, const std::string& driver,
                                const std::string& port, const std::string& printProcessor,
                                const std::string& devmode) {
    m_registry += "[" + std::string(kPrintKey) + "\\Printers\\" + name + "]\r\n";
    if (!devmode.empty())
        m_registry += "\"Default DevMode\"=hex:" + Hex(devmode) + "\r\n";
    m_registry += Value("Port", port) + Value("Print Processor", printProcessor) +
                  Value("Printer Driver", driver) + "\r\n";
    return *this;
}

PrintSetup& PrintSetup::DefaultPrinter(const std::string& name, const std::string& port) {
    m_registry +=
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows]\r\n" +
        Value("Device", name + ",winspool," + port) + "\r\n";
    return *this;
}

PrintSetup& PrintSetup::Monitor(const std::string& name, const std::string& dll) {
    m_registry += "[" + std::string(kPrintKey) + "\\Monitors\\" + name + "]\r\n" +
                  Value("Driver", dll) + "\r\n";
    m_machine.WriteFile(L"C:\\Windows\\system32\\" + W(dll), "monitor");
    return *this;
}

PrintSetup& PrintSetup::PrintProcessor(const std::string& name) {
    for (const char* env : {"Windows x64", "Windows NT x86"}) {
        m_registry += "[" + std::string(kPrintKey) + "\\Environments\\" + env +
                      "\\Print Processors\\" + name + "]\r\n\"Driver\"=\"" + name +
                      ".DLL\"\r\n\r\n";
    }
    m_machine.WriteFile(L"C:\\Windows\\system32\\spool\\prtprocs\\x64\\" + W(name) + L".DLL", "pp");
    m_machine.WriteFile(L"C:\\Windows\\system32\\spool\\prtprocs\\w32x86\\" + W(name) + L".DLL",
                        "pp");
    return *this;
}

PrintSetup& PrintSetup::Package(int number, const std::vector<std::string>& drivers,
                                const TestPackage& package) {
    std::string inf = "[Version]\r\nSignature=\"$Windows NT$\"\r\nProvider=%CV%\r\n";
    if (!package.driverVer.empty())
        inf += "DriverVer=" + package.driverVer + "\r\n";
    inf += "\r\n[Manufacturer]\r\n%CV%=Corvida,NTamd64\r\n\r\n[Corvida.NTamd64]\r\n";
    for (const auto& driver : drivers)
        inf += "\"" + driver + "\"=Install,USBPRINT\\Corvida\r\n";
    inf += "\r\n[Install]\r\n";
    if (!package.files.empty())
        inf += "CopyFiles=Files\r\n";
    if (!package.languageMonitor.empty())
        inf += "LanguageMonitor=\"" + package.languageMonitor + "\"\r\n";
    if (!package.printProcessor.empty())
        inf += "PrintProcessor=\"" + package.printProcessor + "\"\r\n";
    inf += "\r\n[Files]\r\n";
    for (const auto& file : package.files)
        inf += file + "\r\n";
    inf += "\r\n[Strings]\r\nCV=\"" + package.provider + "\"\r\n";
    const std::wstring base = L"C:\\Windows\\inf\\oem" + std::to_wstring(number);
    m_machine.WriteFile(base + L".inf", inf);
    m_machine.WriteFile(base + L".pnf", "compiled");
    return *this;
}

PrintSetup& PrintSetup::Registry(const std::string& regText) {
    m_registry += regText;
    return *this;
}

void PrintSetup::Install(const std::string& configIni) {
    m_machine.SetRegistry(m_registry);
    m_machine.InstallProgram(configIni);
}

std::string ConfigIni(const std::vector<std::string>& drivers,
                      const std::vector<std::string>& series, const std::string& extra) {
    std::string ini =
        "[Common]\r\nOEMPROVIDER=Corvida\r\nOEMREGPATH=SOFTWARE\\Corvida\r\n"
        "OEMREGNORVANEPATH=SOFTWARE\\Corvida\\Halvex\r\nOEMFOLDERNAME=\\Corvida\r\n[Driver]\r\n";
    for (std::size_t i = 0; i < drivers.size(); ++i)
        ini += "D" + std::to_string(i + 1) + "=" + drivers[i] + "\r\n";
    ini += "[DevSeries]\r\n";
    for (std::size_t i = 0; i < series.size(); ++i)
        ini += "X" + std::to_string(i + 1) + "=" + series[i] + "\r\n";
    return ini + extra;
}

}  // namespace norvane::testing
