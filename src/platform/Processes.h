// Processes: starting and waiting for external programs, the elevated shell start, and the
// instance counter that keeps a second copy of the program from running.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/WinError.h"

namespace norvane::platform {

// A started process (the handle CreateProcessW returns); closing it is the destructor's job.
class Process {
public:
    virtual ~Process() = default;
    virtual std::uint32_t Id() const = 0;
    // Waits until the process has ended, keeping the caller's windows responsive
    // (MsgWaitForMultipleObjects with a message pump).
    [[nodiscard]] virtual WinError WaitPumpingMessages() = 0;
    // GetExitCodeProcess: STILL_ACTIVE (259) while the process runs.
    [[nodiscard]] virtual WinError ExitCode(std::uint32_t& code) = 0;
};

class Processes {
public:
    virtual ~Processes() = default;

    // The shared instance counter: true for the first instance of the program, false when one
    // is already running.
    virtual bool ClaimFirstInstance() = 0;
    // CreateProcessW with the command line as given (the first token names the program).
    [[nodiscard]] virtual WinError Start(const std::wstring& commandLine,
                                         std::uint32_t creationFlags,
                                         std::unique_ptr<Process>& process) = 0;
    // Every process still running that `parentId` started, opened for waiting; none is no error.
    // The caller holds `parentId`'s process open, so its ID cannot have passed to another. The
    // Toolhelp snapshot's parent ID is only a record: Windows reuses IDs and keeps an orphan's
    // record, so a process created before the parent is no child of it and is left out, as is one
    // this program cannot open for waiting (a protected process, another session's).
    [[nodiscard]] virtual WinError FindChildren(
        std::uint32_t parentId, std::vector<std::unique_ptr<Process>>& children) = 0;
    // ShellExecuteW with the verb "runas" and a hidden window: starts the program and returns
    // without waiting for it.
    [[nodiscard]] virtual WinError ShellExecuteElevated(const std::wstring& file,
                                                        const std::wstring& parameters) = 0;
};

}  // namespace norvane::platform
