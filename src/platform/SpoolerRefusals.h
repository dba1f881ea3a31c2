// What the print spooler refuses when a port monitor or a print processor is to be deleted,
// decided from the registry keys where Windows keeps them: a monitor while a printer (and so any
// job of it) uses one of its ports, a print processor while a printer uses it. A printer pending
// deletion keeps its key, and so still uses both. The simulated spooler deletes by this
// decision and the preview answers by it, so that a preview is refused exactly what the run that
// follows it will be refused.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/Registry.h"

namespace norvane::platform {

// The spooler's key, below HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kPrintKeyPath[] = L"SYSTEM\\CurrentControlSet\\Control\\Print";

// The environment a call names, as the spooler spells it: "" is the native one (x64); nullopt
// for one the spooler does not know.
std::optional<std::wstring> SpoolerEnvironment(const std::wstring& environment);
// Below HKEY_LOCAL_MACHINE: the monitors, one subkey each (its ports in "Ports"), and an
// environment's print processors, one subkey each.
std::wstring MonitorsKeyPath();
std::wstring PrintProcessorsKeyPath(const std::wstring& environment);

// A printer (by its key's name) that the caller has deleted already although its key is still
// there: the preview's deletions, which leave the machine's keys alone. The spooler counts every
// key.
using PrinterDeleted = std::function<bool(const std::wstring& printer)>;

// DeleteMonitorW: the monitor's key (below HKEY_LOCAL_MACHINE, its name as stored) when the
// spooler would delete it; else ERROR_UNKNOWN_PRINT_MONITOR for no monitor of that name, and
// ERROR_PRINT_MONITOR_IN_USE while a printer uses one of its ports. A port no printer uses does
// not hold the monitor.
[[nodiscard]] WinError MonitorToDelete(Registry& registry, const std::wstring& name,
                                       std::wstring& key, const PrinterDeleted& deleted = {});
// DeletePrintProcessorW: the print processor's key when the spooler would delete it; else
// ERROR_INVALID_ENVIRONMENT, ERROR_UNKNOWN_PRINTPROCESSOR, or ERROR_CAN_NOT_COMPLETE while a
// printer uses it.
[[nodiscard]] WinError PrintProcessorToDelete(Registry& registry, const std::wstring& environment,
                                              const std::wstring& name, std::wstring& key,
                                              const PrinterDeleted& deleted = {});

}  // namespace norvane::platform
