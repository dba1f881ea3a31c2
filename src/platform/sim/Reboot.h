// What Windows does when it starts again, done to a simulated machine (`norvane-machine reboot`).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/sim/Machine.h"

namespace norvane::sim {

// Runs the machine's own program on the machine with `arguments`, the text after its name.
using ProgramRunner = std::function<void(Machine& machine, const std::wstring& arguments)>;

// The start of Windows, in its order: the Session Manager carries out the pending file renames
// (before any program runs, so a locked file gives way); the spooler starts afresh, which ends
// the driver faults held until a restart; at logon every RunOnce value is removed and its command
// run: the machine's own program through `runProgram`, any other program as the machine's
// "programs" describe it (a program it does not describe fails to start, journaled). A "Reboot"
// journal entry marks the start; the machine is saved at the end, after the programs ended, and
// the save's failure returned.
[[nodiscard]] std::optional<MachineError> Reboot(Machine& machine, const ProgramRunner& runProgram);

}  // namespace norvane::sim
