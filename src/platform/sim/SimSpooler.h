// The Spooler service of the simulated machine. Its state is the registry, kept where Windows
// keeps it, so that enumeration and the program's own registry reads always agree:
//   drivers HKLM\SYSTEM\CurrentControlSet\Control\Print\Environments\<env>\Drivers\Version-3\<name>
//   printers    HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\<name>
//   connections HKCU\Printers\Connections\,,<server>,<queue> (with the same values as a printer)
//   monitors    HKLM\SYSTEM\CurrentControlSet\Control\Print\Monitors\<name> (ports in "Ports")
//   print processors HKLM\...\Control\Print\Environments\<env>\Print Processors\<name>
//   default     HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows "Device"
// Queued jobs and the faults that make deletions fail live in machine.json (MachineConfig); a
// purge or a used-up fault changes them there. Every change, and every refused one, is journaled.
#pragma once

#include "platform/Spooler.h"
#include "platform/sim/Journal.h"
#include "platform/sim/MachineConfig.h"
#include "platform/sim/RegistryStore.h"
#include "platform/sim/SimFileSystem.h"

namespace norvane::sim {

inline constexpr wchar_t kPrintKey[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print";
inline constexpr wchar_t kConnectionsKey[] = L"HKEY_CURRENT_USER\\Printers\\Connections";
inline constexpr wchar_t kWindowsKey[] =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

// Spooler errors beside those the seam names.

class SimSpooler final : public platform::Spooler {
public:
    SimSpooler(RegistryStore& registry, MachineConfig& config, SimFileSystem& files,
               Journal& journal)
        : m_registry(registry), m_config(config), m_files(files), m_journal(journal) {}

    platform::WinError EnumDrivers(const std::wstring& environment,
                                   std::vector<platform::DriverInfo6>& drivers) override;
    platform::WinError EnumPrinters(std::uint32_t flags,
                                    std::vector<platform::PrinterInfo2>& printers) override;
    platform::WinError OpenPrinter(const std::wstring& name, std::uint32_t access,
                                   std::unique_ptr<platform::Printer>& printer) override;
    platform::WinError DeletePrinterConnection(const std::wstring& name) override;
    platform::WinError DeletePrinterDriver(const std::wstring& environment,
                                           const std::wstring& name,
                                           std::uint32_t deleteFlags) override;
    platform::WinError DeleteMonitor(const std::wstring& name) override;
    platform::WinError DeletePrintProcessor(const std::wstring& environment,
                                            const std::wstring& name) override;
    platform::WinError GetDefaultPrinter(std::wstring& name) override;
    platform::WinError SetDefaultPrinter(const std::wstring& name) override;

private:
    friend class SimPrinter;

    // A printer's key and the key that holds it; both null when there is no such printer.
    struct PrinterKey {
        RegKey* parent = nullptr;
        RegKey* key = nullptr;
        bool connection = false;
    };
    // A local printer by its name, or a connection by "\\server\queue".
    PrinterKey FindPrinter(const std::wstring& name);
    // Removes a printer's key; the default printer setting goes with it.
    void RemovePrinter(const PrinterKey& printer);
    // The driver of an environment ("" is the native one) as EnumPrinterDriversW lists it.
    platform::WinError FindDriver(const std::wstring& environment, const std::wstring& name,
                                  platform::DriverInfo6& info);
    // Deletes the files of a deleted driver that no remaining driver of its environment names.
    void DeleteUnusedFiles(const platform::DriverInfo6& deleted);
    bool PrinterUsesDriver(const std::wstring& driver);
    // The driver folder of an environment: C:\Windows\system32\spool\DRIVERS\x64\3
    std::wstring DriverDirectory(const std::wstring& environment) const;
    // Records a call with its result, and returns the result.
    platform::WinError Journaled(const std::wstring& call, platform::WinError result,
                                 const wchar_t* why = nullptr);

    RegistryStore& m_registry;
    MachineConfig& m_config;
    SimFileSystem& m_files;
    Journal& m_journal;
};

// A REG_SZ value of a spooler key; empty when it is missing.
std::wstring StringValue(const RegKey& key, const wchar_t* name);

}  // namespace norvane::sim
