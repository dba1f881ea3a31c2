// Running the installers of the package's utilities and scanners: started in a console of their
// own, waited for while the caller's windows stay responsive, and their result read from the
// setup.log they leave.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace norvane {

class RunContext;

// CREATE_NEW_CONSOLE | NORMAL_PRIORITY_CLASS | CREATE_NEW_PROCESS_GROUP | CREATE_DEFAULT_ERROR_MODE
inline constexpr std::uint32_t kInstallerCreationFlags = 0x04000230;

enum class Handover {
    Ignore,  // done when the started program ends
    Follow,  // when the program hands its work to a process of its own, wait for that one too
};

// Starts the command line and waits for it (and, with Follow, for every child it left running).
// False when the program could not be started.
bool RunAndWait(platform::Platform& platform, const std::wstring& commandLine, Handover handover);

// Deletes an installer's setup.log before the installer starts, so that a log read after it is the
// installer's own: one left by an earlier run would read as its result. False when a log is there
// and could not be deleted (a read-only share or medium): that installer's result could not be
// told from an old one, so it counts as failed and is not started.
bool ClearResultFile(platform::Platform& platform, const std::wstring& setupLog);

// [ResponseResult] ResultCode of the setup.log an installer wrote, the log having been cleared
// before it started; 99 when it wrote none or no code. A preview started no installer, so it has
// no result to read: it takes 0, as its log says.
std::int32_t ReadResultCode(RunContext& context, const std::wstring& setupLog);

}  // namespace norvane
