// What the print spooler refuses when a port monitor or a print processor is to be deleted,
// decided from the registry keys where Windows keeps them. The simulated spooler deletes by this
// decision and the preview answers by it, so that a preview is refused exactly what the run that
// follows it will be refused.
#pragma once

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

// DeleteMonitorW: the monitor's key (below HKEY_LOCAL_MACHINE, its name as stored) when the
// spooler would delete it; else ERROR_UNKNOWN_PRINT_MONITOR for no monitor of that name, and
// ERROR_PRINT_MONITOR_IN_USE while a port of it remains.
WinError MonitorToDelete(Registry& registry, const std::wstring& name, std::wstring& key);
// DeletePrintProcessorW: the print processor's key when the spooler would delete it; else
// ERROR_INVALID_ENVIRONMENT or ERROR_UNKNOWN_PRINTPROCESSOR.
WinError PrintProcessorToDelete(Registry& registry, const std::wstring& environment,
                                const std::wstring& name, std::wstring& key);

}  // namespace norvane::platform
