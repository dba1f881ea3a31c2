// The uninstall entries that installers register under
// HKLM\SOFTWARE\[Wow6432Node\]Microsoft\Windows\CurrentVersion\Uninstall. The package's
// utilities and scanners are 32-bit products: their entries are looked up in the 32-bit view
// whenever the machine has one.
#pragma once

#include <optional>
#include <string>

#include "platform/Registry.h"

namespace norvane {

// The uninstall entries of the 32-bit view and of the native one, below HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kUninstall32[] =
    L"SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr wchar_t kUninstall[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The prefix of a scanner's entry, "InstallShield_{GUID}".
inline constexpr wchar_t kScannerEntryPrefix[] = L"InstallShield_";

// The path of the entry "<prefix>{<guid>}" (for example "InstallShield_" for a scanner).
std::wstring UninstallEntryPath(platform::Registry& registry, const std::wstring& guid,
                                const std::wstring& prefix = L"");
// A text value of that entry, read into a 520-byte buffer; nullopt when the entry or the value is
// missing or too long.
std::optional<std::wstring> ReadUninstallValue(platform::Registry& registry,
                                               const std::wstring& guid, const std::wstring& name,
                                               const std::wstring& prefix = L"");

}  // namespace norvane
