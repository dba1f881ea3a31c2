#include "MachineReport.h"

#include <sstream>

#include "platform/sim/Machine.h"
#include "platform/sim/PendingRenames.h"
#include "support/Text.h"

namespace norvane::tools {
namespace {

using text::ToUtf8;

constexpr const wchar_t* kUninstallKeys[] = {
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall"};

std::wstring Value(const sim::RegKey& key, const wchar_t* name) {
    const platform::RegValue* value = key.FindValue(name);
    return value ? value->AsString() : std::wstring();
}

void Drivers(sim::Machine& machine, const wchar_t* environment, std::ostringstream& out) {
    std::vector<platform::DriverInfo6> drivers;
    (void)machine.Platform().spooler.EnumDrivers(environment, drivers);
    out << "Drivers (" << ToUtf8(environment) << "): " << drivers.size() << "\n";
    for (const auto& d : drivers) {
        out << "  " << ToUtf8(d.name) << "  [provider " << ToUtf8(d.provider.value_or(L"-"));
        if (!d.monitorName.empty())
            out << ", monitor " << ToUtf8(d.monitorName);
        if (!d.hardwareId.empty())
            out << ", hardware ID " << ToUtf8(d.hardwareId);
        out << "]\n";
    }
}

void Printers(sim::Machine& machine, std::ostringstream& out) {
    std::vector<platform::PrinterInfo2> printers;
    (void)machine.Platform().spooler.EnumPrinters(
        platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers);
    std::wstring defaultPrinter;
    (void)machine.Platform().spooler.GetDefaultPrinter(defaultPrinter);
    out << "Printers: " << printers.size() << "\n";
    for (const auto& p : printers) {
        out << "  " << ToUtf8(p.printerName) << "  [driver " << ToUtf8(p.driverName) << ", port "
            << ToUtf8(p.portName);
        if (!p.printProcessor.empty())
            out << ", print processor " << ToUtf8(p.printProcessor);
        if (p.jobs)
            out << ", " << p.jobs << " job(s) queued";
        out << "]" << (text::EqualsNoCase(p.printerName, defaultPrinter) ? "  (default)" : "")
            << "\n";
    }
}

void Subkeys(sim::Machine& machine, const char* title, const std::wstring& path,
             std::ostringstream& out) {
    const sim::RegKey* key = machine.Registry().Find(path);
    out << title << ": " << (key ? key->subkeys.size() : 0) << "\n";
    if (!key)
        return;
    for (const sim::RegKey* sub : key->SubkeysInEnumOrder()) {
        out << "  " << ToUtf8(sub->name);
        const std::wstring driver = Value(*sub, L"Driver");
        if (!driver.empty())
            out << "  [" << ToUtf8(driver) << "]";
        out << "\n";
    }
}

void Packages(sim::Machine& machine, std::ostringstream& out) {
    std::vector<platform::FindEntry> infs;
    (void)machine.Platform().files.Find(machine.Config().windowsDir + L"\\inf\\oem*.inf", infs);
    out << "Driver packages: " << infs.size() << "\n";
    for (const auto& inf : infs)
        out << "  " << ToUtf8(inf.name) << "\n";
}

void Programs(sim::Machine& machine, std::ostringstream& out) {
    std::ostringstream list;
    int count = 0;
    for (const wchar_t* path : kUninstallKeys) {
        const sim::RegKey* key = machine.Registry().Find(path);
        if (!key)
            continue;
        for (const sim::RegKey* sub : key->SubkeysInEnumOrder()) {
            const std::wstring display = Value(*sub, L"DisplayName");
            if (display.empty())
                continue;
            ++count;
            list << "  " << ToUtf8(display) << "  " << ToUtf8(sub->name) << "\n";
        }
    }
    out << "Installed programs: " << count << "\n" << list.str();
}

// The programs the machine can run (machine.json "programs"), with what ending does.
void SimulatedPrograms(sim::Machine& machine, std::ostringstream& out) {
    const sim::SimPrograms& programs = machine.Config().programs;
    out << "Simulated programs: " << programs.size() << "\n";
    for (const auto& [path, program] : programs) {
        out << "  " << ToUtf8(path) << "  [" << program.runMs << " ms";
        if (program.failToStart)
            out << ", fails to start";
        if (program.child)
            out << ", hands over to " << ToUtf8(*program.child);
        if (!program.writeIni.empty())
            out << ", writes " << ToUtf8(program.writeIni.front().file);
        out << "]\n";
    }
}

void PendingWork(sim::Machine& machine, std::ostringstream& out) {
    std::ostringstream list;
    if (const sim::RegKey* runOnce = machine.Registry().Find(
            L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce")) {
        for (const auto& [name, value] : runOnce->values) {
            list << "  RunOnce " << ToUtf8(name) << " = " << ToUtf8(value.AsString()) << "\n";
        }
    }
    if (const sim::RegKey* session = machine.Registry().Find(std::wstring(L"HKEY_LOCAL_MACHINE\\") +
                                                             sim::kSessionManagerKey)) {
        if (const auto* renames = session->FindValue(sim::kPendingRenamesValue)) {
            for (const auto& rename : sim::ReadPendingRenames(*renames)) {
                list << "  pending " << (rename.target.empty() ? "delete " : "rename ")
                     << ToUtf8(rename.source)
                     << (rename.target.empty() ? "" : " -> " + ToUtf8(rename.target)) << "\n";
            }
        }
    }
    const std::string text = list.str();
    out << "Pending restart work: " << (text.empty() ? "none\n" : "\n" + text);
}

}  // namespace

std::string DescribeMachine(sim::Machine& machine) {
    std::ostringstream out;
    const sim::MachineConfig& config = machine.Config();
    out << "Machine " << machine.Folder().string() << "\n"
        << "  program " << ToUtf8(config.program) << " (version "
        << ToUtf8(config.fileVersion.value_or(L"none")) << "), locale " << config.threadLocale
        << (config.administrator == sim::AdministratorToken::Member ? ", administrator"
                                                                    : ", not elevated")
        << "\n\n";
    Drivers(machine, platform::kEnvironmentX64, out);
    Drivers(machine, platform::kEnvironmentX86, out);
    Printers(machine, out);
    Subkeys(machine, "Port monitors", std::wstring(sim::kPrintKey) + L"\\Monitors", out);
    Subkeys(machine, "Print processors (x64)",
            std::wstring(sim::kPrintKey) + L"\\Environments\\Windows x64\\Print Processors", out);
    Packages(machine, out);
    Programs(machine, out);
    SimulatedPrograms(machine, out);
    PendingWork(machine, out);
    return out.str();
}

}  // namespace norvane::tools
