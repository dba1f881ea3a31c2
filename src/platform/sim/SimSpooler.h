// The Spooler service of the simulated machine. Its state is the registry, kept where Windows
// keeps it, so that enumeration and the program's own registry reads always agree:
//   drivers HKLM\SYSTEM\CurrentControlSet\Control\Print\Environments\<env>\Drivers\Version-3\<name>
//   printers    HKLM\SYSTEM\CurrentControlSet\Control\Print\Printers\<name>
//   connections HKCU\Printers\Connections\,,<server>,<queue> (with the same values as a printer)
//   default     HKCU\Software\Microsoft\Windows NT\CurrentVersion\Windows "Device"
#pragma once

#include "platform/Spooler.h"
#include "platform/sim/Journal.h"
#include "platform/sim/MachineConfig.h"
#include "platform/sim/RegistryStore.h"

namespace norvane::sim {

inline constexpr wchar_t kPrintKey[] =
    L"HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print";
inline constexpr wchar_t kConnectionsKey[] = L"HKEY_CURRENT_USER\\Printers\\Connections";
inline constexpr wchar_t kWindowsKey[] =
    L"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

class SimSpooler final : public platform::Spooler {
  public:
    SimSpooler(RegistryStore& registry, const MachineConfig& config, Journal& journal)
        : m_registry(registry), m_config(config), m_journal(journal) {}

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
    // The driver folder of an environment: C:\Windows\system32\spool\DRIVERS\x64\3
    std::wstring DriverDirectory(const std::wstring& environment) const;
    platform::WinError NotYetSimulated(const std::wstring& call);

    RegistryStore& m_registry;
    const MachineConfig& m_config;
    Journal& m_journal;
};

}  // namespace norvane::sim
