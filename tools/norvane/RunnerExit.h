// The runner's own exit statuses. With /e the runner exits with the program's code, which reaches
// a shell as a Linux status keeps it, its low 8 bits: 0, 1, 2, 3, 5, 82 (1618), 105 (1641) and
// 194 (3010). The runner's own failures take BSD sysexits codes (64-78), which hold none of
// those, so a calling script can tell "the runner could not do it" from "the program says so".
#pragma once

#include "app/ExitCode.h"
#include "platform/sim/Machine.h"

namespace norvane::runner::exitstatus {

inline constexpr int kUsage = 64;       // EX_USAGE: arguments not understood
inline constexpr int kScriptLine = 65;  // EX_DATAERR: an answer-script line did not fit
inline constexpr int kNoInput = 66;     // EX_NOINPUT: the machine folder or script unusable
inline constexpr int kNotSaved = sim::kNotSavedExitStatus;  // EX_IOERR: machine not saved
inline constexpr int kCutOff = sim::kCutOffExitStatus;      // EX_TEMPFAIL: run cut off

constexpr bool IsProgramStatus(int status) {
    for (int code :
         {exitcode::kRemoved, exitcode::kFailed, exitcode::kNothingInstalled,
          exitcode::kNotAdministrator, exitcode::kRejectedSwitch, exitcode::kAlreadyRunning,
          exitcode::kRestartStarted, exitcode::kRestartNeeded}) {
        if ((code & 0xFF) == status)
            return true;
    }
    return false;
}
static_assert(!IsProgramStatus(kUsage) && !IsProgramStatus(kScriptLine) &&
                  !IsProgramStatus(kNoInput) && !IsProgramStatus(kNotSaved) &&
                  !IsProgramStatus(kCutOff),
              "a runner failure would read as one of the program's exit codes");

}  // namespace norvane::runner::exitstatus
