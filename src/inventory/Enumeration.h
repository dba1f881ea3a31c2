// What is installed of the package: the provider's 64-bit drivers, the printers that use the
// package's drivers, and the names of the matching 32-bit drivers.
#pragma once

namespace norvane {

class CUninstallerController;

// 1 when the run may go on; 0 when nothing of the package is installed (text 154 reported).
int EnumerateInstalled(CUninstallerController& app, int interactive, int checkPackage);
// 1 when no driver of the provider is installed, else 0.
int EnumerateDrivers(CUninstallerController& app);
// 1 when no 32-bit driver name was collected, else 0.
int EnumerateX86Drivers(CUninstallerController& app);
// 1 when no printer was taken, else 0.
int EnumeratePrinters(CUninstallerController& app);

inline constexpr wchar_t kX64DriversKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\";

}  // namespace norvane
