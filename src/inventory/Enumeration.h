// What is installed of the package: the provider's 64-bit drivers, the printers that use the
// package's drivers, and the names of the matching 32-bit drivers.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "inventory/Inventory.h"
#include "inventory/Package.h"

namespace norvane {

class RunContext;

// What the run does when what is installed stops it: the message for the user and the result
// code the log records for every designated item.
using StopReport = std::function<void(const std::wstring& message, std::uint32_t code)>;

// 1 when the run may go on; 0 when what is installed is unknown (text 161 and the spooler's
// error) or nothing of the package is installed (text 154), each handed to `stop`.
int EnumerateInstalled(RunContext& context, const Package& package, Inventory& inventory,
                       int interactive, int checkPackage, const StopReport& stop);
// 1 when no driver of the provider is installed, else 0.
int EnumerateDrivers(RunContext& context, const Package& package, Inventory& inventory);
// 1 when no 32-bit driver name was collected, else 0.
int EnumerateX86Drivers(RunContext& context, const Package& package, Inventory& inventory);
// 1 when no printer was taken, else 0.
int EnumeratePrinters(RunContext& context, Inventory& inventory);

inline constexpr wchar_t kX64DriversKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\";

}  // namespace norvane
