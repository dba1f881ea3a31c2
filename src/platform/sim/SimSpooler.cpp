#include "platform/sim/SimSpooler.h"

#include <optional>
#include <set>

#include "platform/sim/SimPrinter.h"
#include "support/Text.h"

namespace norvane::sim {

std::wstring StringValue(const RegKey& key, const wchar_t* name) {
    const platform::RegValue* value = key.FindValue(name);
    return value ? value->AsString() : std::wstring();
}

namespace {

namespace win = platform::win;

std::uint32_t DwordValue(const RegKey& key, const wchar_t* name) {
    const platform::RegValue* value = key.FindValue(name);
    if (!value || value->type != platform::RegType::Dword || value->data.size() < 4)
        return 0;
    return value->data[0] | (value->data[1] << 8) | (value->data[2] << 16) |
           (static_cast<std::uint32_t>(value->data[3]) << 24);
}

// The environment a call names: "" is the native one; nullopt for one the spooler does not know.
std::optional<std::wstring> Environment(const std::wstring& environment) {
    if (environment.empty() || text::EqualsNoCase(environment, platform::kEnvironmentX64))
        return platform::kEnvironmentX64;
    if (text::EqualsNoCase(environment, platform::kEnvironmentX86))
        return platform::kEnvironmentX86;
    return std::nullopt;
}

std::wstring EnvironmentKey(const std::wstring& environment) {
    return std::wstring(kPrintKey) + L"\\Environments\\" + environment;
}

// A file named in a driver key is relative to the environment's driver folder.
std::wstring InFolder(const std::wstring& folder, const std::wstring& file) {
    if (file.empty() || file.find(L'\\') != std::wstring::npos)
        return file;
    return folder + L"\\" + file;
}

platform::DriverInfo6 DriverFromKey(const RegKey& key, const std::wstring& environment,
                                    const std::wstring& folder) {
    platform::DriverInfo6 info;
    info.name = key.name;
    info.environment = environment;
    info.driverPath = InFolder(folder, StringValue(key, L"Driver"));
    info.dataFile = InFolder(folder, StringValue(key, L"Data File"));
    info.configFile = InFolder(folder, StringValue(key, L"Configuration File"));
    info.helpFile = InFolder(folder, StringValue(key, L"Help File"));
    if (const platform::RegValue* files = key.FindValue(L"Dependent Files")) {
        for (const auto& file : files->AsMultiString())
            info.dependentFiles.push_back(InFolder(folder, file));
    }
    info.monitorName = StringValue(key, L"Monitor");
    info.defaultDataType = StringValue(key, L"Datatype");
    info.hardwareId = StringValue(key, L"HardwareID");
    info.manufacturer = StringValue(key, L"Manufacturer");
    if (key.FindValue(L"Provider"))
        info.provider = StringValue(key, L"Provider");
    return info;
}

// Every file a driver names, by full path.
std::vector<std::wstring> DriverFiles(const platform::DriverInfo6& driver) {
    std::vector<std::wstring> files = {driver.driverPath, driver.dataFile, driver.configFile,
                                       driver.helpFile};
    files.insert(files.end(), driver.dependentFiles.begin(), driver.dependentFiles.end());
    std::erase(files, std::wstring());
    return files;
}

std::wstring Swapped(std::wstring name, wchar_t from, wchar_t to) {
    for (auto& c : name)
        c = c == from ? to : c;
    return name;
}

// ",,server,queue" is the key of the connection "\\server\queue".
std::wstring ConnectionKeyName(const std::wstring& printerName) {
    return Swapped(printerName, L'\\', L',');
}

std::wstring PrinterName(const RegKey& key, bool connection) {
    return connection ? Swapped(key.name, L',', L'\\') : key.name;
}

// A subkey by its name alone (a backslash is part of the name); null when either is missing.
RegKey* Subkey(RegKey* parent, const std::wstring& name) {
    if (!parent)
        return nullptr;
    const auto it = parent->subkeys.find(name);
    return it == parent->subkeys.end() ? nullptr : it->second.get();
}

bool IsConnectionName(const std::wstring& name) {
    return name.starts_with(L"\\\\");
}

platform::PrinterInfo2 PrinterFromKey(const std::wstring& name, const RegKey& key) {
    platform::PrinterInfo2 info;
    info.printerName = name;
    info.shareName = StringValue(key, L"Share Name");
    info.portName = StringValue(key, L"Port");
    info.driverName = StringValue(key, L"Printer Driver");
    info.printProcessor = StringValue(key, L"Print Processor");
    info.attributes = DwordValue(key, L"Attributes");
    return info;
}

}  // namespace

std::wstring SimSpooler::DriverDirectory(const std::wstring& environment) const {
    const bool x86 = text::EqualsNoCase(environment, platform::kEnvironmentX86);
    return m_config.windowsDir + L"\\system32\\spool\\DRIVERS\\" + (x86 ? L"W32X86" : L"x64") +
           L"\\3";
}

platform::WinError SimSpooler::Journaled(const std::wstring& call, platform::WinError result,
                                         const wchar_t* why) {
    std::wstring entry = call;
    if (result != win::kSuccess)
        entry += L" -> " + text::Decimal(result);
    if (why)
        entry += std::wstring(L" (") + why + L")";
    m_journal.Record(entry);
    return result;
}

platform::WinError SimSpooler::EnumDrivers(const std::wstring& environment,
                                           std::vector<platform::DriverInfo6>& drivers) {
    drivers.clear();
    const auto env = Environment(environment);
    if (!env)
        return platform::win::kInvalidEnvironment;
    const RegKey* root = m_registry.Find(EnvironmentKey(*env) + L"\\Drivers\\Version-3");
    if (!root)
        return win::kSuccess;
    for (const RegKey* key : root->SubkeysInEnumOrder())
        drivers.push_back(DriverFromKey(*key, *env, DriverDirectory(*env)));
    return win::kSuccess;
}

platform::WinError SimSpooler::FindDriver(const std::wstring& environment, const std::wstring& name,
                                          platform::DriverInfo6& info) {
    const auto env = Environment(environment);
    if (!env)
        return platform::win::kInvalidEnvironment;
    const RegKey* key =
        Subkey(m_registry.Find(EnvironmentKey(*env) + L"\\Drivers\\Version-3"), name);
    if (!key)
        return win::kUnknownPrinterDriver;
    info = DriverFromKey(*key, *env, DriverDirectory(*env));
    return win::kSuccess;
}

platform::WinError SimSpooler::EnumPrinters(std::uint32_t flags,
                                            std::vector<platform::PrinterInfo2>& printers) {
    printers.clear();
    if (flags & platform::kPrinterEnumLocal) {
        if (const RegKey* root = m_registry.Find(std::wstring(kPrintKey) + L"\\Printers")) {
            for (const RegKey* key : root->SubkeysInEnumOrder())
                printers.push_back(PrinterFromKey(key->name, *key));
        }
    }
    if (flags & platform::kPrinterEnumConnections) {
        if (const RegKey* root = m_registry.Find(kConnectionsKey)) {
            for (const RegKey* key : root->SubkeysInEnumOrder())
                printers.push_back(PrinterFromKey(PrinterName(*key, true), *key));
        }
    }
    for (auto& printer : printers) {
        const auto jobs = m_config.jobs.find(printer.printerName);
        printer.jobs = jobs == m_config.jobs.end() ? 0 : jobs->second;
    }
    return win::kSuccess;
}

SimSpooler::PrinterKey SimSpooler::FindPrinter(const std::wstring& name) {
    const bool connection = IsConnectionName(name);
    RegKey* parent = connection ? m_registry.Find(kConnectionsKey)
                                : m_registry.Find(std::wstring(kPrintKey) + L"\\Printers");
    RegKey* key = Subkey(parent, connection ? ConnectionKeyName(name) : name);
    if (!key)
        return {};
    return {parent, key, connection};
}

void SimSpooler::RemovePrinter(const PrinterKey& printer) {
    std::wstring defaultPrinter;
    if (GetDefaultPrinter(defaultPrinter) == win::kSuccess &&
        text::EqualsNoCase(defaultPrinter, PrinterName(*printer.key, printer.connection))) {
        m_registry.Find(kWindowsKey)->DeleteValue(L"Device");
    }
    printer.parent->subkeys.erase(printer.key->name);
}

platform::WinError SimSpooler::OpenPrinter(const std::wstring& name, std::uint32_t,
                                           std::unique_ptr<platform::Printer>& printer) {
    printer.reset();
    const PrinterKey found = FindPrinter(name);
    if (!found.key)
        return win::kInvalidPrinterName;
    printer = std::make_unique<SimPrinter>(*this, PrinterName(*found.key, found.connection));
    return win::kSuccess;
}

platform::WinError SimSpooler::DeletePrinterConnection(const std::wstring& name) {
    const std::wstring call = L"DeletePrinterConnection " + Quoted(name);
    const PrinterKey found = FindPrinter(name);
    if (!found.key || !found.connection)
        return Journaled(call, win::kInvalidPrinterName);
    if (const auto fault = m_config.faults.printers.find(name);
        fault != m_config.faults.printers.end()) {
        return Journaled(call, fault->second, L"fault");
    }
    RemovePrinter(found);
    return Journaled(call, win::kSuccess);
}

bool SimSpooler::PrinterUsesDriver(const std::wstring& driver) {
    std::vector<platform::PrinterInfo2> printers;
    EnumPrinters(platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers);
    for (const auto& printer : printers) {
        if (text::EqualsNoCase(printer.driverName, driver))
            return true;
    }
    return false;
}

platform::WinError SimSpooler::DeletePrinterDriver(const std::wstring& environment,
                                                   const std::wstring& name,
                                                   std::uint32_t deleteFlags) {
    const auto env = Environment(environment);
    const std::wstring call = L"DeletePrinterDriverEx " + Quoted(env.value_or(environment)) + L" " +
                              Quoted(name) + L" flags=" + text::Decimal(deleteFlags);
    if (!env)
        return Journaled(call, platform::win::kInvalidEnvironment);
    if (DriverFault* fault = m_config.faults.Driver(*env, name)) {
        if (fault->heldUntilReboot)
            return Journaled(call, win::kPrinterDriverInUse, L"held until reboot");
        if (!fault->deleteErrors.empty()) {
            const platform::WinError error = fault->deleteErrors.front();
            fault->deleteErrors.pop_front();
            return Journaled(call, error, L"fault");
        }
    }
    platform::DriverInfo6 driver;
    if (const auto error = FindDriver(*env, name, driver))
        return Journaled(call, error);
    if (PrinterUsesDriver(name))
        return Journaled(call, win::kPrinterDriverInUse);
    m_registry.Find(EnvironmentKey(*env) + L"\\Drivers\\Version-3")->subkeys.erase(name);
    Journaled(call, win::kSuccess);
    if (deleteFlags & platform::kDeleteUnusedFiles)
        DeleteUnusedFiles(driver);
    return win::kSuccess;
}

void SimSpooler::DeleteUnusedFiles(const platform::DriverInfo6& deleted) {
    std::vector<platform::DriverInfo6> remaining;
    EnumDrivers(deleted.environment, remaining);
    std::set<std::wstring, text::NoCaseLess> stillNamed;
    for (const auto& driver : remaining) {
        for (auto& file : DriverFiles(driver))
            stillNamed.insert(std::move(file));
    }
    for (const auto& file : DriverFiles(deleted)) {
        // A file in use stays, as the spooler leaves it; DeleteFile journals the refusal.
        if (stillNamed.insert(file).second && m_files.PathFileExists(file))
            m_files.DeleteFile(file);
    }
}

platform::WinError SimSpooler::DeleteMonitor(const std::wstring& name) {
    const std::wstring call = L"DeleteMonitor " + Quoted(name);
    if (const auto fault = m_config.faults.monitors.find(name);
        fault != m_config.faults.monitors.end()) {
        return Journaled(call, fault->second, L"fault");
    }
    RegKey* monitors = m_registry.Find(std::wstring(kPrintKey) + L"\\Monitors");
    RegKey* monitor = Subkey(monitors, name);
    if (!monitor)
        return Journaled(call, platform::win::kUnknownPrintMonitor);
    if (const RegKey* ports = Subkey(monitor, L"Ports"); ports && !ports->subkeys.empty())
        return Journaled(call, win::kPrintMonitorInUse);
    // The monitor's file stays: removing it is the caller's work.
    monitors->subkeys.erase(name);
    return Journaled(call, win::kSuccess);
}

platform::WinError SimSpooler::DeletePrintProcessor(const std::wstring& environment,
                                                    const std::wstring& name) {
    const auto env = Environment(environment);
    const std::wstring call =
        L"DeletePrintProcessor " + Quoted(env.value_or(environment)) + L" " + Quoted(name);
    if (!env)
        return Journaled(call, platform::win::kInvalidEnvironment);
    if (const auto fault = m_config.faults.printProcessors.find(name);
        fault != m_config.faults.printProcessors.end()) {
        return Journaled(call, fault->second, L"fault");
    }
    RegKey* processors = m_registry.Find(EnvironmentKey(*env) + L"\\Print Processors");
    if (!Subkey(processors, name))
        return Journaled(call, platform::win::kUnknownPrintProcessor);
    processors->subkeys.erase(name);
    return Journaled(call, win::kSuccess);
}

platform::WinError SimSpooler::GetDefaultPrinter(std::wstring& name) {
    name.clear();
    const RegKey* key = m_registry.Find(kWindowsKey);
    const std::wstring device = key ? StringValue(*key, L"Device") : std::wstring();
    if (device.empty())
        return win::kFileNotFound;
    name = device.substr(0, device.find(L','));
    return win::kSuccess;
}

platform::WinError SimSpooler::SetDefaultPrinter(const std::wstring& name) {
    const std::wstring call = L"SetDefaultPrinter " + Quoted(name);
    std::vector<platform::PrinterInfo2> printers;
    EnumPrinters(platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, printers);
    const auto named = [&printers](const std::wstring& wanted) {
        for (const auto& printer : printers) {
            if (text::EqualsNoCase(printer.printerName, wanted))
                return &printer;
        }
        return static_cast<const platform::PrinterInfo2*>(nullptr);
    };
    const platform::PrinterInfo2* chosen = nullptr;
    if (!name.empty()) {
        chosen = named(name);
        if (!chosen)
            return Journaled(call, win::kInvalidPrinterName);
    } else {
        // No name: a default that still exists stays; otherwise the spooler picks the first.
        std::wstring current;
        if (GetDefaultPrinter(current) == win::kSuccess && named(current)) {
            m_journal.Record(call + L" (keeps " + Quoted(current) + L")");
            return win::kSuccess;
        }
        if (printers.empty()) {
            if (RegKey* key = m_registry.Find(kWindowsKey))
                key->DeleteValue(L"Device");
            m_journal.Record(call + L" (no printer left)");
            return win::kSuccess;
        }
        chosen = &printers.front();
    }
    m_registry.Create(kWindowsKey)
        ->SetValue(L"Device", platform::RegValue::String(chosen->printerName + L",winspool," +
                                                         chosen->portName));
    m_journal.Record(
        call + (name.empty() ? L" (chose " + Quoted(chosen->printerName) + L")" : std::wstring()));
    return win::kSuccess;
}

}  // namespace norvane::sim
