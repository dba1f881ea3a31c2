// Where the simulated spooler's keys lie below HKEY_LOCAL_MACHINE, and the environments it knows.
#pragma once

#include <optional>
#include <string>

#include "platform/Spooler.h"
#include "platform/SpoolerRefusals.h"
#include "platform/WindowsKeys.h"
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

using platform::kLocalPortsPath;
using platform::kUsbPrintersPath;

}  // namespace norvane::sim
