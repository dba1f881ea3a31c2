// machine.json: what a simulated machine holds that Windows keeps outside the registry and the
// drive. Every name is optional; the defaults describe an elevated administrator on Windows 10.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/Clock.h"
#include "support/Text.h"

namespace norvane::sim {

enum class AdministratorToken {
    Member,    // "administrator": true — an elevated token
    None,      // false — a standard user
    Filtered,  // "filtered" — an administrator's unelevated token: the group is deny-only
};

struct MachineConfig {
    std::wstring program = L"C:\\Program Files\\Halvex\\Norvane\\Norvane.exe";
    std::optional<std::wstring> fileVersion = L"1.0.0.0";  // null: no version resource
    std::wstring windowsDir = L"C:\\Windows";
    std::wstring commonAppDataDir = L"C:\\ProgramData";
    std::optional<std::wstring> currentDir;  // null: the program folder
    std::uint32_t threadLocale = 1033;
    std::uint16_t systemDefaultLangId = 1033;
    std::uint32_t ansiCodePage = 1252;
    std::uint32_t osMajorVersion = 10;
    AdministratorToken administrator = AdministratorToken::Member;
    bool otherInstanceRunning = false;
    std::optional<platform::LocalTime> localTime;                  // null: the host's local time
    std::map<std::wstring, std::uint32_t, text::NoCaseLess> jobs;  // queued jobs per printer

    std::wstring ProgramFolder() const { return program.substr(0, program.rfind(L'\\')); }
};

struct MachineConfigError {
    std::size_t line = 0;
    std::string message;
};

// Parses machine.json text; on failure returns false with the line and a message.
bool ParseMachineConfig(const std::string& json, MachineConfig& config, MachineConfigError& error);

// Writes a machine.json holding every setting, for `norvane-machine new`.
std::string WriteMachineConfig(const MachineConfig& config);

}  // namespace norvane::sim
