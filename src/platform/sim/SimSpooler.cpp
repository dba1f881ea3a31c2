#include "platform/sim/SimSpooler.h"

#include <set>

#include "platform/sim/Journal.h"
#include "platform/sim/RegistryKeys.h"
#include "platform/sim/SimPrinter.h"
#include "platform/sim/SpoolerPaths.h"
#include "support/Text.h"

namespace norvane::sim {
namespace {

namespace win = platform::win;
using platform::RootKey;

// PRINTER_STATUS_PENDING_DELETION, kept in the printer key's "Status".
constexpr std::uint32_t kStatusPendingDeletion = 0x4;

bool IsPendingDeletion(const KeyValues& key) {
    return (key.Dword(L"Status") & kStatusPendingDeletion) != 0;
}

// A file named in a driver key is relative to the environment's driver folder.
std::wstring InFolder(const std::wstring& folder, const std::wstring& file) {
    if (file.empty() || file.find(L'\\') != std::wstring::npos)
        return file;
    return folder + L"\\" + file;
}

platform::DriverInfo6 DriverFromKey(const std::wstring& name, const KeyValues& key,
                                    const std::wstring& environment, const std::wstring& folder) {
    platform::DriverInfo6 info;
    info.name = name;
    info.environment = environment;
    info.driverPath = InFolder(folder, key.String(L"Driver"));
    info.dataFile = InFolder(folder, key.String(L"Data File"));
    info.configFile = InFolder(folder, key.String(L"Configuration File"));
    info.helpFile = InFolder(folder, key.String(L"Help File"));
    if (const platform::RegValue* files = key.Find(L"Dependent Files")) {
        for (const auto& file : files->AsMultiString())
            info.dependentFiles.push_back(InFolder(folder, file));
    }
    info.monitorName = key.String(L"Monitor");
    info.defaultDataType = key.String(L"Datatype");
    info.hardwareId = key.String(L"HardwareID");
    info.manufacturer = key.String(L"Manufacturer");
    if (key.Find(L"Provider"))
        info.provider = key.String(L"Provider");
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

bool IsConnectionName(const std::wstring& name) {
    return name.starts_with(L"\\\\");
}

platform::PrinterInfo2 PrinterFromKey(const std::wstring& name, bool connection,
                                      const KeyValues& key) {
    platform::PrinterInfo2 info;
    info.printerName = name;
    // The connection "\\server\queue" is served by "\\server".
    if (connection)
        info.serverName = name.substr(0, name.find(L'\\', 2));
    info.shareName = key.String(L"Share Name");
    info.portName = key.String(L"Port");
    info.driverName = key.String(L"Printer Driver");
    info.printProcessor = key.String(L"Print Processor");
    info.attributes = key.Dword(L"Attributes");
    return info;
}

}  // namespace

std::wstring SimSpooler::PrinterKey::PrinterName() const {
    // ",,server,queue" is the key of the connection "\\server\queue".
    return connection ? Swapped(keyName, L',', L'\\') : keyName;
}

std::wstring SimSpooler::DriverDirectory(const std::wstring& environment) const {
    const bool x86 = text::EqualsNoCase(environment, platform::kEnvironmentX86);
    return m_state.windowsDir + L"\\system32\\spool\\DRIVERS\\" + (x86 ? L"W32X86" : L"x64") +
           L"\\3";
}

platform::WinError SimSpooler::Journaled(const std::wstring& call, platform::WinError result,
                                         const wchar_t* why) {
    std::wstring entry = call;
    // The spooler's own registry writes are not the program's: a call that succeeded changed
    // the machine.
    if (result == win::kSuccess)
        Changed();
    else
        entry += L" -> " + text::Decimal(result);
    if (why)
        entry += std::wstring(L" (") + why + L")";
    Record(entry);
    return result;
}

platform::WinError SimSpooler::EnumDrivers(const std::wstring& environment,
                                           std::vector<platform::DriverInfo6>& drivers) {
    drivers.clear();
    if (m_state.faults.spoolerStopped)
        return win::kRpcServerUnavailable;
    const auto env = Environment(environment);
    if (!env)
        return win::kInvalidEnvironment;
    const std::wstring parent = DriversPath(*env), folder = DriverDirectory(*env);
    for (const auto& name : SubkeyNames(m_registry, RootKey::LocalMachine, parent)) {
        KeyValues key;
        if (ReadValues(m_registry, RootKey::LocalMachine, parent + L"\\" + name, key) ==
            win::kSuccess) {
            drivers.push_back(DriverFromKey(name, key, *env, folder));
        }
    }
    return win::kSuccess;
}

platform::WinError SimSpooler::ReadDriverKey(const std::wstring& environment,
                                             const std::wstring& name, DriverKey& driver) {
    const auto env = Environment(environment);
    if (!env)
        return win::kInvalidEnvironment;
    const auto stored = FindSubkey(m_registry, RootKey::LocalMachine, DriversPath(*env), name);
    if (!stored ||
        ReadValues(m_registry, RootKey::LocalMachine, DriversPath(*env) + L"\\" + *stored,
                   driver.values) != win::kSuccess) {
        return win::kUnknownPrinterDriver;
    }
    driver.environment = *env;
    driver.name = *stored;
    return win::kSuccess;
}

platform::WinError SimSpooler::FindDriver(const std::wstring& environment, const std::wstring& name,
                                          platform::DriverInfo6& info) {
    DriverKey driver;
    if (const auto error = ReadDriverKey(environment, name, driver))
        return error;
    info = DriverFromKey(driver.name, driver.values, driver.environment,
                         DriverDirectory(driver.environment));
    return win::kSuccess;
}

platform::WinError SimSpooler::EnumPrinters(std::uint32_t flags,
                                            std::vector<platform::PrinterInfo2>& printers) {
    if (m_state.faults.spoolerStopped)
        return win::kRpcServerUnavailable;
    ListPrinters(flags, false, printers);
    return win::kSuccess;
}

void SimSpooler::ListPrinters(std::uint32_t flags, bool withPending,
                              std::vector<platform::PrinterInfo2>& printers) {
    printers.clear();
    const auto list = [&](RootKey root, const std::wstring& parent, bool connection) {
        for (auto& keyName : SubkeyNames(m_registry, root, parent)) {
            const PrinterKey printer{root, parent, std::move(keyName), connection};
            KeyValues key;
            if (ReadValues(m_registry, root, printer.Path(), key) == win::kSuccess &&
                (withPending || !IsPendingDeletion(key))) {
                printers.push_back(PrinterFromKey(printer.PrinterName(), connection, key));
            }
        }
    };
    if (flags & platform::kPrinterEnumLocal)
        list(RootKey::LocalMachine, PrintersPath(), false);
    if (flags & platform::kPrinterEnumConnections)
        list(RootKey::CurrentUser, kConnectionsPath, true);
    for (auto& printer : printers) {
        const auto jobs = m_state.jobs.find(printer.printerName);
        printer.jobs = jobs == m_state.jobs.end() ? 0 : jobs->second;
    }
}

std::optional<SimSpooler::PrinterKey> SimSpooler::FindPrinter(const std::wstring& name,
                                                              bool withPending) {
    const bool connection = IsConnectionName(name);
    PrinterKey printer{connection ? RootKey::CurrentUser : RootKey::LocalMachine,
                       connection ? kConnectionsPath : PrintersPath(),
                       {},
                       connection};
    auto stored = FindSubkey(m_registry, printer.root, printer.parent,
                             connection ? Swapped(name, L'\\', L',') : name);
    if (!stored)
        return std::nullopt;
    printer.keyName = std::move(*stored);
    if (!withPending && !Exists(printer))
        return std::nullopt;
    return printer;
}

bool SimSpooler::Exists(const PrinterKey& printer) {
    KeyValues key;
    return ReadValues(m_registry, printer.root, printer.Path(), key) == win::kSuccess &&
           !IsPendingDeletion(key);
}

void SimSpooler::MarkPendingDeletion(const PrinterKey& printer) {
    std::wstring defaultPrinter;
    if (GetDefaultPrinter(defaultPrinter) == win::kSuccess &&
        text::EqualsNoCase(defaultPrinter, printer.PrinterName())) {
        (void)m_registry.DeleteValue(RootKey::CurrentUser, kWindowsPath, L"Device");
    }
    KeyValues key;
    ReadValues(m_registry, printer.root, printer.Path(), key);
    (void)m_registry.SetValue(
        printer.root, printer.Path(), L"Status",
        platform::RegValue::Dword(key.Dword(L"Status") | kStatusPendingDeletion));
}

std::vector<std::wstring> SimSpooler::EndPendingDeletions(platform::Registry& registry) {
    std::vector<std::wstring> ended;
    for (const auto& name : SubkeyNames(registry, RootKey::LocalMachine, PrintersPath())) {
        const std::wstring path = PrintersPath() + L"\\" + name;
        KeyValues key;
        if (ReadValues(registry, RootKey::LocalMachine, path, key) == win::kSuccess &&
            IsPendingDeletion(key)) {
            DeleteTree(registry, RootKey::LocalMachine, path);
            ended.push_back(name);
        }
    }
    return ended;
}

void SimSpooler::RemovePrinter(const PrinterKey& printer) {
    std::wstring defaultPrinter;
    if (GetDefaultPrinter(defaultPrinter) == win::kSuccess &&
        text::EqualsNoCase(defaultPrinter, printer.PrinterName())) {
        (void)m_registry.DeleteValue(RootKey::CurrentUser, kWindowsPath, L"Device");
    }
    DeleteTree(m_registry, printer.root, printer.Path());
}

platform::WinError SimSpooler::OpenPrinter(const std::wstring& name, std::uint32_t,
                                           std::unique_ptr<platform::Printer>& printer) {
    printer.reset();
    if (m_state.faults.spoolerStopped)
        return win::kRpcServerUnavailable;
    auto found = FindPrinter(name);
    if (!found)
        return win::kInvalidPrinterName;
    printer = std::make_unique<SimPrinter>(*this, std::move(*found));
    return win::kSuccess;
}

platform::WinError SimSpooler::DeletePrinterConnection(const std::wstring& name) {
    const auto counted = Call();
    const std::wstring call = L"DeletePrinterConnection " + Quoted(name);
    if (m_state.faults.spoolerStopped)
        return Journaled(call, win::kRpcServerUnavailable, L"spooler stopped");
    const auto found = IsConnectionName(name) ? FindPrinter(name) : std::nullopt;
    if (!found)
        return Journaled(call, win::kInvalidPrinterName);
    if (const auto fault = m_state.faults.printers.find(name);
        fault != m_state.faults.printers.end()) {
        return Journaled(call, fault->second, L"fault");
    }
    RemovePrinter(*found);
    return Journaled(call, win::kSuccess);
}

bool SimSpooler::PrinterUsesDriver(const std::wstring& driver) {
    // A printer pending deletion still holds its driver.
    std::vector<platform::PrinterInfo2> printers;
    ListPrinters(platform::kPrinterEnumLocal | platform::kPrinterEnumConnections, true, printers);
    for (const auto& printer : printers) {
        if (text::EqualsNoCase(printer.driverName, driver))
            return true;
    }
    return false;
}

platform::WinError SimSpooler::DeletePrinterDriver(const std::wstring& environment,
                                                   const std::wstring& name,
                                                   std::uint32_t deleteFlags) {
    const auto counted = Call();
    const auto env = Environment(environment);
    const std::wstring call = L"DeletePrinterDriverEx " + Quoted(env.value_or(environment)) + L" " +
                              Quoted(name) + L" flags=" + text::Decimal(deleteFlags);
    if (m_state.faults.spoolerStopped)
        return Journaled(call, win::kRpcServerUnavailable, L"spooler stopped");
    if (!env)
        return Journaled(call, win::kInvalidEnvironment);
    // Driver faults are keyed "<environment>|<driver name>", as machine.json names them.
    if (const auto it = m_state.faults.drivers.find(*env + L"|" + name);
        it != m_state.faults.drivers.end()) {
        DriverFault& fault = it->second;
        if (fault.heldUntilReboot)
            return Journaled(call, win::kPrinterDriverInUse, L"held until reboot");
        if (!fault.deleteErrors.empty()) {
            const platform::WinError error = fault.deleteErrors.front();
            fault.deleteErrors.pop_front();
            Changed();
            return Journaled(call, error, L"fault");
        }
    }
    platform::DriverInfo6 driver;
    if (const auto error = FindDriver(*env, name, driver))
        return Journaled(call, error);
    if (PrinterUsesDriver(name))
        return Journaled(call, win::kPrinterDriverInUse);
    const bool filesCounted = m_state.driversGeneration && m_fileCounts &&
                              m_fileCounts->generation == m_state.driversGeneration();
    DeleteTree(m_registry, RootKey::LocalMachine, DriversPath(*env) + L"\\" + driver.name);
    Journaled(call, win::kSuccess);
    if (deleteFlags & platform::kDeleteUnusedFiles)
        DeleteUnusedFiles(driver, filesCounted);
    return win::kSuccess;
}

std::map<std::wstring, int, text::NoCaseLess> SimSpooler::NamedFiles(
    const std::wstring& environment) {
    std::vector<platform::DriverInfo6> drivers;
    EnumDrivers(environment, drivers);
    std::map<std::wstring, int, text::NoCaseLess> named;
    for (const auto& driver : drivers) {
        for (auto& file : DriverFiles(driver))
            ++named[std::move(file)];
    }
    return named;
}

void SimSpooler::DeleteUnusedFiles(const platform::DriverInfo6& deleted, bool filesCounted) {
    std::map<std::wstring, int, text::NoCaseLess> readNow;
    std::map<std::wstring, int, text::NoCaseLess>* named = &readNow;
    if (filesCounted) {
        // The counts held before the deletion, which took only this driver away.
        named = &m_fileCounts->byEnvironment[deleted.environment];
        for (const auto& file : DriverFiles(deleted)) {
            if (const auto it = named->find(file); it != named->end() && --it->second == 0)
                named->erase(it);
        }
    } else if (m_state.driversGeneration) {
        m_fileCounts = DriverFileCounts{};
        for (const wchar_t* environment : {platform::kEnvironmentX64, platform::kEnvironmentX86})
            m_fileCounts->byEnvironment[environment] = NamedFiles(environment);
        named = &m_fileCounts->byEnvironment[deleted.environment];
    } else {
        readNow = NamedFiles(deleted.environment);
    }
    if (m_state.driversGeneration)
        m_fileCounts->generation = m_state.driversGeneration();
    std::set<std::wstring, text::NoCaseLess> looked;
    for (const auto& file : DriverFiles(deleted)) {
        // A file in use stays, as the spooler leaves it.
        if (!named->contains(file) && looked.insert(file).second && m_files.PathFileExists(file))
            (void)m_files.DeleteFile(file);
    }
}

platform::WinError SimSpooler::DeleteMonitor(const std::wstring& name) {
    const auto counted = Call();
    const std::wstring call = L"DeleteMonitor " + Quoted(name);
    if (m_state.faults.spoolerStopped)
        return Journaled(call, win::kRpcServerUnavailable, L"spooler stopped");
    if (const auto fault = m_state.faults.monitors.find(name);
        fault != m_state.faults.monitors.end()) {
        return Journaled(call, fault->second, L"fault");
    }
    std::wstring key;
    if (const auto refused = platform::MonitorToDelete(m_registry, name, key))
        return Journaled(call, refused);
    // The monitor's file stays: removing it is the caller's work.
    DeleteTree(m_registry, RootKey::LocalMachine, key);
    return Journaled(call, win::kSuccess);
}

platform::WinError SimSpooler::DeletePrintProcessor(const std::wstring& environment,
                                                    const std::wstring& name) {
    const auto counted = Call();
    const auto env = Environment(environment);
    const std::wstring call =
        L"DeletePrintProcessor " + Quoted(env.value_or(environment)) + L" " + Quoted(name);
    if (m_state.faults.spoolerStopped)
        return Journaled(call, win::kRpcServerUnavailable, L"spooler stopped");
    if (!env)
        return Journaled(call, win::kInvalidEnvironment);
    if (const auto fault = m_state.faults.printProcessors.find(name);
        fault != m_state.faults.printProcessors.end()) {
        return Journaled(call, fault->second, L"fault");
    }
    std::wstring key;
    if (const auto refused = platform::PrintProcessorToDelete(m_registry, *env, name, key))
        return Journaled(call, refused);
    DeleteTree(m_registry, RootKey::LocalMachine, key);
    return Journaled(call, win::kSuccess);
}

platform::WinError SimSpooler::GetDefaultPrinter(std::wstring& name) {
    name.clear();
    KeyValues key;
    ReadValues(m_registry, RootKey::CurrentUser, kWindowsPath, key);
    const std::wstring device = key.String(L"Device");
    if (device.empty())
        return win::kFileNotFound;
    name = device.substr(0, device.find(L','));
    return win::kSuccess;
}

platform::WinError SimSpooler::SetDefaultPrinter(const std::wstring& name) {
    const auto counted = Call();
    const std::wstring call = L"SetDefaultPrinter " + Quoted(name);
    if (m_state.faults.spoolerStopped)
        return Journaled(call, win::kRpcServerUnavailable, L"spooler stopped");
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
            Record(call + L" (keeps " + Quoted(current) + L")");
            return win::kSuccess;
        }
        // With no printer to choose from the spooler refuses the empty name.
        if (printers.empty()) {
            if (m_registry.DeleteValue(RootKey::CurrentUser, kWindowsPath, L"Device") ==
                win::kSuccess) {
                Changed();
            }
            return Journaled(call, win::kInvalidPrinterName, L"no printer left");
        }
        chosen = &printers.front();
    }
    (void)m_registry.CreateKey(RootKey::CurrentUser, kWindowsPath, nullptr);
    (void)m_registry.SetValue(
        RootKey::CurrentUser, kWindowsPath, L"Device",
        platform::RegValue::String(chosen->printerName + L",winspool," + chosen->portName));
    Changed();
    Record(call +
           (name.empty() ? L" (chose " + Quoted(chosen->printerName) + L")" : std::wstring()));
    return win::kSuccess;
}

}  // namespace norvane::sim
