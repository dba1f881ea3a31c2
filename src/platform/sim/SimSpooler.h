// The simulated spooler. Its state is the registry, kept where Windows keeps it, so that
// enumeration and the program's own registry reads always agree:
//   drivers HKLM\SYSTEM\CurrentControlSet\Control\Print\Environments\<env>\Drivers\Version-3\<name>
//   printers    HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\<name>
//   connections HKCU\Printers\Connections\,,<server>,<queue> (with the same values as a printer)
//   monitors    HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\<name> (ports in "Ports")
//   print processors HKLM\...\Control\Print\Environments\<env>\Print Processors\<name>
//   default     HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows "Device"
//   ports       the local ports' values under HKLM\SOFTWARE\Microsoft\Windows
//   NT\CurrentVersion\Ports,
//               a monitor's ports under HKLM\...\Control\Print\Monitors\<name>\Ports\<port>, and
//               the USB printers' under HKLM\SYSTEM\CurrentControlSet\Control\DeviceClasses
//               \{28d78fad-5a12-11d1-ae5b-0000f803a8c2}\<device>\#\Device Parameters "Port Name"
// It reaches the registry and the driver files through the Registry and FileSystem services only,
// so that it runs over a simulated machine and, as the test spooler Norvane.exe loads under Wine,
// over Windows' own. Queued jobs and the faults that make deletions fail are its SpoolerState; a
// purge or a used-up fault changes them there. Every change, and every refused one, is journaled.
// A printer deleted while a job prints or another handle is open stays pending deletion: its key
// stays, marked in "Status", out of the enumeration and of OpenPrinterW, but still using its
// driver, port and print processor until the spooler starts afresh (EndPendingDeletions); an
// AddPrinterW of its name revives it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/Spooler.h"
#include "platform/SpoolerRefusals.h"
#include "platform/WindowsKeys.h"
#include "platform/sim/RegistryKeys.h"
#include "platform/sim/SpoolerState.h"

namespace norvane::sim {

// Where the spooler keeps its state: below HKEY_LOCAL_MACHINE, and below HKEY_CURRENT_USER.
inline constexpr const auto& kPrintPath = platform::kPrintKeyPath;
using platform::kConnectionsPath;
inline constexpr const auto& kWindowsPath = platform::kUserWindowsPath;
// The same keys by their full names.
inline const std::wstring kPrintKey = std::wstring(L"HKEY_LOCAL_MACHINE\\") + kPrintPath;
inline const std::wstring kConnectionsKey = std::wstring(L"HKEY_CURRENT_USER\\") + kConnectionsPath;
inline const std::wstring kWindowsKey = std::wstring(L"HKEY_CURRENT_USER\\") + kWindowsPath;

class SimSpooler final : public platform::Spooler {
public:
    SimSpooler(platform::Registry& registry, platform::FileSystem& files, SpoolerState state)
        : m_registry(registry), m_files(files), m_state(std::move(state)) {}

    platform::WinError EnumDrivers(const std::wstring& environment,
                                   std::vector<platform::DriverInfo6>& drivers) override;
    platform::WinError EnumPrinters(std::uint32_t flags,
                                    std::vector<platform::PrinterInfo2>& printers) override;
    platform::WinError OpenPrinter(const std::wstring& name, std::uint32_t access,
                                   std::unique_ptr<platform::Printer>& printer) override;
    platform::WinError DeletePrinterConnection(const std::wstring& name) override;
    platform::WinError AddPrinter(const platform::PrinterInfo2& info,
                                  std::unique_ptr<platform::Printer>& printer) override;
    platform::WinError GetDriverPrintProcessor(const std::wstring& environment,
                                               const std::wstring& driver,
                                               std::wstring& printProcessor) override;
    platform::WinError DeletePrinterDriver(const std::wstring& environment,
                                           const std::wstring& name,
                                           std::uint32_t deleteFlags) override;
    platform::WinError DeleteMonitor(const std::wstring& name) override;
    platform::WinError DeletePrintProcessor(const std::wstring& environment,
                                            const std::wstring& name) override;
    platform::WinError GetDefaultPrinter(std::wstring& name) override;
    platform::WinError SetDefaultPrinter(const std::wstring& name) override;

    // What a fresh start of the spooler does: the printers pending deletion go. Their names.
    static std::vector<std::wstring> EndPendingDeletions(platform::Registry& registry);

private:
    friend class SimPrinter;

    // A printer's key: a local printer's under HKLM, or a connection's under HKCU.
    struct PrinterKey {
        platform::RootKey root = platform::RootKey::LocalMachine;
        std::wstring parent;   // the key that holds the printers of its kind
        std::wstring keyName;  // as stored
        bool connection = false;

        std::wstring Path() const { return parent + L"\\" + keyName; }
        // The name the spooler gives the printer: the key's, or "\\server\queue".
        std::wstring PrinterName() const;
    };
    // A local printer by its name, or a connection by "\\server\queue"; nullopt when missing
    // or, unless `withPending`, pending deletion.
    std::optional<PrinterKey> FindPrinter(const std::wstring& name, bool withPending = false);
    // Whether the printer's key is still there and not pending deletion.
    bool Exists(const PrinterKey& printer);
    // The printers of EnumPrintersW, and with `withPending` those pending deletion too.
    void ListPrinters(std::uint32_t flags, bool withPending,
                      std::vector<platform::PrinterInfo2>& printers);
    // Marks a deleted printer pending deletion: it leaves the enumeration and the default.
    void MarkPendingDeletion(const PrinterKey& printer);
    // Removes a printer's key; the default printer setting goes with it.
    void RemovePrinter(const PrinterKey& printer);
    // A driver's key: its environment and name as stored, and its values.
    struct DriverKey {
        std::wstring environment;
        std::wstring name;
        KeyValues values;
    };
    // The key of the driver of an environment ("" is the native one).
    platform::WinError ReadDriverKey(const std::wstring& environment, const std::wstring& name,
                                     DriverKey& driver);
    // The driver of an environment ("" is the native one) as EnumPrinterDriversW lists it.
    platform::WinError FindDriver(const std::wstring& environment, const std::wstring& name,
                                  platform::DriverInfo6& info);
    // Deletes the files of a deleted driver that no remaining driver of its environment names.
    // `filesCounted`: whether the driver file counts held before the deletion.
    void DeleteUnusedFiles(const platform::DriverInfo6& deleted, bool filesCounted);
    // How many drivers of an environment name each file, read from the registry.
    std::map<std::wstring, int, text::NoCaseLess> NamedFiles(const std::wstring& environment);
    bool PrinterUsesDriver(const std::wstring& driver);
    // Whether a port of that name exists, in any of the places ports are kept.
    bool PortExists(const std::wstring& port);
    // Why AddPrinter refuses `info`, or success.
    platform::WinError CheckNewPrinter(const platform::PrinterInfo2& info);
    // The driver folder of an environment: C:\Windows\system32\spool\DRIVERS\x64\3
    std::wstring DriverDirectory(const std::wstring& environment) const;
    void Record(const std::wstring& entry) { m_state.journal(entry); }
    // Brackets a call that may change the machine: whatever it changes is one change, counted
    // as it returns.
    ChangeCounter::Call Call() { return ChangeCounter::Call(m_state.changes); }
    // A change beside the registry and the files: jobs purged, a fault used up.
    void Changed() {
        if (m_state.changes)
            m_state.changes->Changed();
    }
    // Records a call with its result, and returns the result.
    platform::WinError Journaled(const std::wstring& call, platform::WinError result,
                                 const wchar_t* why = nullptr);

    platform::Registry& m_registry;
    platform::FileSystem& m_files;
    SpoolerState m_state;
    // The driver file counts of each environment, kept from one driver deletion to the next
    // while the drivers' generation stays, so that a deletion reads only the deleted driver
    // rather than every driver (a print server holds thousands). Only with a generation.
    struct DriverFileCounts {
        std::uint64_t generation = 0;
        std::map<std::wstring, std::map<std::wstring, int, text::NoCaseLess>> byEnvironment;
    };
    std::optional<DriverFileCounts> m_fileCounts;
};

}  // namespace norvane::sim
