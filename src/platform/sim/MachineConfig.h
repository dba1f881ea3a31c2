// machine.json: what a simulated machine holds that Windows keeps outside the registry and the
// drive. Every name is optional; the defaults describe an elevated administrator on Windows 10.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/WinError.h"
#include "platform/sim/SimProgram.h"
#include "support/Text.h"

namespace norvane::sim {

enum class AdministratorToken {
    Member,    // "administrator": true — an elevated token
    None,      // false — a standard user
    Filtered,  // "filtered" — an administrator's unelevated token: the group is deny-only
};

// A driver that the spooler refuses to delete for a while.
struct DriverFault {
    std::deque<platform::WinError> deleteErrors;  // one for each delete call, oldest first
    bool heldUntilReboot = false;                 // every delete fails with 3001 until reboot
};

// Why a printer's deletion waits: DeletePrinter then only marks it pending deletion.
enum class PrinterBusy {
    Printing,         // "printing": a job is printing, which a purge does not discard
    OtherHandleOpen,  // "otherHandleOpen": another program has the printer open
};

// machine.json "faults": what makes this machine stubborn. Names compare without regard to case.
struct MachineFaults {
    // Keyed "<environment>|<driver name>", e.g. "Windows x64|Model A".
    std::map<std::wstring, DriverFault, text::NoCaseLess> drivers;
    // The error every delete call of that printer, monitor or print processor returns.
    std::map<std::wstring, platform::WinError, text::NoCaseLess> printers;
    std::map<std::wstring, platform::WinError, text::NoCaseLess> monitors;
    std::map<std::wstring, platform::WinError, text::NoCaseLess> printProcessors;
    // Printers whose deletion waits until a restart, by printer name.
    std::map<std::wstring, PrinterBusy, text::NoCaseLess> busyPrinters;
    // Files held open by another program: they cannot be deleted.
    std::vector<std::wstring> lockedFiles;
    // Files on a read-only share or medium: they read, but cannot be written, deleted or replaced.
    std::vector<std::wstring> readOnlyFiles;
    // Registry keys whose security lets the program read them but not change them, by full path
    // ("HKEY_LOCAL_MACHINE\SOFTWARE\Corvida").
    std::vector<std::wstring> readOnlyKeys;
    // The Print Spooler service is stopped: every call into it fails with 1722
    // (RPC_S_SERVER_UNAVAILABLE) until a restart starts it again.
    bool spoolerStopped = false;

    // The fault of a driver in an environment ("Windows x64", "Windows NT x86"), or null.
    DriverFault* Driver(const std::wstring& environment, const std::wstring& name);
    // What a restart of Windows ends: every heldUntilReboot. The drivers it freed, by key.
    std::vector<std::wstring> EndHeldUntilReboot();
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
    std::wstring computerName = L"SIMULATED-PC";  // GetComputerNameW
    AdministratorToken administrator = AdministratorToken::Member;
    bool otherInstanceRunning = false;
    bool commonControlsFail = false;                               // InitCommonControlsEx fails
    std::optional<platform::LocalTime> localTime;                  // null: the host's local time
    std::map<std::wstring, std::uint32_t, text::NoCaseLess> jobs;  // queued jobs per printer
    MachineFaults faults;
    SimPrograms programs;  // the programs CreateProcessW can start, by executable path
    std::vector<OlderProcess> processes;  // running before the program, in the snapshot's order

    std::wstring ProgramFolder() const { return program.substr(0, program.rfind(L'\\')); }
    std::wstring SystemFolder() const { return windowsDir + L"\\System32"; }
};

struct MachineConfigError {
    std::size_t line = 0;
    std::string message;
};

// Parses machine.json text; on failure returns false with the line and a message.
bool ParseMachineConfig(const std::string& json, MachineConfig& config, MachineConfigError& error);

// Writes a machine.json holding every setting, for `norvane-machine new`; a new machine runs no
// programs, so "programs" is not written.
std::string WriteMachineConfig(const MachineConfig& config);

// machine.json as a run leaves it: the text it was read from, with "jobs" and "faults" (what a
// run may change) replaced by the config's, names sorted. Empty ones are left out. The rest, such
// as "programs", stays as it was read.
std::string UpdateMachineConfig(const std::string& json, const MachineConfig& config);

}  // namespace norvane::sim
