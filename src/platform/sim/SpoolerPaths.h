// Where the simulated spooler's keys lie below HKEY_LOCAL_MACHINE, and the environments it knows.
#pragma once

#include <optional>
#include <string>

#include "platform/Spooler.h"
#include "platform/SpoolerRefusals.h"
#include "platform/sim/SimSpooler.h"
#include "support/Text.h"

namespace norvane::sim {

// The environment a call names: "" is the native one; nullopt for one the spooler does not know.
inline std::optional<std::wstring> Environment(const std::wstring& environment) {
    return platform::SpoolerEnvironment(environment);
}

inline std::wstring EnvironmentPath(const std::wstring& environment) {
    return std::wstring(kPrintPath) + L"\\Environments\\" + environment;
}

inline std::wstring DriversPath(const std::wstring& environment) {
    return EnvironmentPath(environment) + L"\\Drivers\\Version-3";
}

inline std::wstring PrintersPath() {
    return std::wstring(kPrintPath) + L"\\Printers";
}

inline std::wstring MonitorsPath() {
    return platform::MonitorsKeyPath();
}

// The local ports, one value each (the Local Port monitor's).
inline constexpr wchar_t kLocalPortsPath[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
// The USB printers, one subkey per device, the port in "#\Device Parameters" "Port Name".
inline constexpr wchar_t kUsbPrintersPath[] =
    L"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

}  // namespace norvane::sim
