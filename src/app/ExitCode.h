// The process exit code: the quit code as it always was, or with "/e" the outcome of the run in
// the codes deployment systems act on.
#pragma once

namespace norvane {

class CUninstallerController;

namespace exitcode {
inline constexpr int kRemoved = 0;
inline constexpr int kFailed = 1;
inline constexpr int kNothingInstalled = 2;
inline constexpr int kNotAdministrator = 3;
inline constexpr int kRejectedSwitch = 5;
inline constexpr int kAlreadyRunning = 1618;  // ERROR_INSTALL_ALREADY_RUNNING: retry later
inline constexpr int kRestartStarted = 1641;
inline constexpr int kRestartNeeded = 3010;
}  // namespace exitcode

// Without "/e" the quit code (0 when none was posted). With it, the first that applies:
// 1618 another instance runs; 1 the common controls or the language library failed (these end
// start-up before the switches are judged); 5 a switch was rejected; 3 not an administrator; 1
// start-up failed otherwise, nothing was designated, the spooler could not be asked what is
// installed or an entry of the log could not be written; 2 the enumeration found nothing of the
// package to remove and no interrupted removal was finished; 1 an item failed or was not found (a
// result 1 or 4, the interrupted removal's items included); 1641 the program started the restart;
// 3010 a restart is needed (a result -1, or a driver or file held until then); 0 everything
// designated was removed.
int ProcessExitCode(const CUninstallerController& app);

}  // namespace norvane
