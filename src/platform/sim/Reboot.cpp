#include "platform/sim/Reboot.h"

#include <optional>

#include "platform/sim/PendingRenames.h"
#include "platform/sim/SimSpooler.h"
#include "support/Text.h"

namespace norvane::sim {
namespace {

namespace fs = std::filesystem;
namespace win = platform::win;
using platform::RootKey;

constexpr wchar_t kRunOnceKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

platform::WinError Remove(const PathMap& paths, const fs::path& host) {
    std::error_code ec;
    if (fs::is_directory(host, ec) && !fs::is_empty(host, ec))
        return win::kDirNotEmpty;
    return paths.Change(host, [&] { return fs::remove(host, ec); }) ? win::kSuccess
                                                                    : win::kAccessDenied;
}

platform::WinError Move(const PathMap& paths, const fs::path& from, const PendingRename& rename) {
    ResolvedPath to;
    if (const auto error = paths.Resolve(rename.target, L"C:\\", to))
        return error;
    std::error_code ec;
    if (to.exists && !rename.replace && !fs::equivalent(from, to.host, ec))
        return win::kAlreadyExists;
    // A name gone from one folder and made in another.
    const bool moved = paths.Change(from, [&] {
        return paths.Change(to.host, [&] {
            fs::rename(from, to.host, ec);
            return !ec;
        });
    });
    return moved ? win::kSuccess : win::kAccessDenied;
}

// One pending rename as the Session Manager carries it out; a failure is journaled and skipped.
void CarryOut(Machine& machine, const PendingRename& rename) {
    const std::wstring what = rename.target.empty()
                                  ? L"delete " + Quoted(rename.source)
                                  : Quoted(rename.source) + L" to " +
                                        (rename.replace ? L"!" : L"") + Quoted(rename.target);
    ResolvedPath from;
    platform::WinError error = machine.Paths().Resolve(rename.source, L"C:\\", from);
    if (error == win::kSuccess && !from.exists)
        error = win::kFileNotFound;
    if (error == win::kSuccess && rename.target.empty()) {
        error = Remove(machine.Paths(), from.host);
    } else if (error == win::kSuccess) {
        error = Move(machine.Paths(), from.host, rename);
    }
    machine.JournalLog().Record(L"PendingFileRenameOperations " + what +
                                (error ? L" -> " + text::Decimal(error) : std::wstring()));
}

// The arguments of a command line that starts `program` (its path quoted or not, letter case
// ignored); nullopt when the command starts another program.
std::optional<std::wstring> ProgramArguments(const std::wstring& command,
                                             const std::wstring& program) {
    const std::wstring quoted = L"\"" + program + L"\"";
    for (const auto& start : {quoted, program}) {
        if (command.size() < start.size() ||
            !text::EqualsNoCase(command.substr(0, start.size()), start)) {
            continue;
        }
        const std::wstring rest = command.substr(start.size());
        if (rest.empty() || text::IsSpace(rest.front()))
            return text::TrimLeft(rest);
    }
    return std::nullopt;
}

}  // namespace

std::optional<MachineError> Reboot(Machine& machine, const ProgramRunner& runProgram) {
    platform::Registry& registry = machine.Platform().registry;
    machine.JournalLog().Record(L"Reboot");

    platform::RegValue renames;
    if (registry.QueryValueOfAnySize(RootKey::LocalMachine, kSessionManagerKey,
                                     kPendingRenamesValue, renames) == win::kSuccess) {
        for (const auto& rename : ReadPendingRenames(renames))
            CarryOut(machine, rename);
        (void)registry.DeleteValue(RootKey::LocalMachine, kSessionManagerKey, kPendingRenamesValue);
    }

    for (const auto& driver : machine.Config().faults.EndHeldUntilReboot())
        machine.JournalLog().Record(L"Spooler started: driver " + Quoted(driver) + L" is free");
    // The Print Spooler service starts automatically, as Windows installs it.
    machine.Config().faults.spoolerStopped = false;
    // Every handle closes and every job in print ends: the deletions they held are done.
    machine.Config().faults.busyPrinters.clear();
    for (const auto& printer : SimSpooler::EndPendingDeletions(registry))
        machine.JournalLog().Record(L"Spooler started: printer " + Quoted(printer) +
                                    L" pending deletion is deleted");

    // The values are read first: a command may register new ones, which wait for the next start.
    std::vector<std::pair<std::wstring, std::wstring>> commands;
    std::wstring name;
    platform::RegValue command;
    for (std::uint32_t i = 0;
         registry.EnumValue(RootKey::LocalMachine, kRunOnceKey, i, name, command) == win::kSuccess;
         ++i) {
        commands.emplace_back(name, command.AsString());
    }
    for (const auto& [valueName, commandLine] : commands) {
        (void)registry.DeleteValue(RootKey::LocalMachine, kRunOnceKey, valueName);
        if (const auto arguments = ProgramArguments(commandLine, machine.Config().program)) {
            runProgram(machine, *arguments);
            continue;
        }
        // Any other program starts as Windows starts it, when the machine describes it; it ends
        // on the clock like every simulated program.
        machine.JournalLog().Record(L"RunOnce " + Quoted(valueName) + L" " + Quoted(commandLine));
        std::unique_ptr<platform::Process> process;
        (void)machine.Platform().processes.Start(commandLine, 0, process);
    }
    return machine.Save();
}

}  // namespace norvane::sim
