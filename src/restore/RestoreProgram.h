// The restore program's run, shared by NorvaneRestore.exe and the simulated machine's runner:
// its command line, the restore, the log's result sections (not in a dry run) and what it prints.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace norvane::restore {

// The exit code for a command line it does not understand (as the removal's rejected switch).
inline constexpr int kBadCommandLine = 5;
// The exit code when the user is no administrator, or not elevated (as the removal's).
inline constexpr int kNotAdministrator = 3;

// `args`: the arguments after the program's name. `lines` receives what to print, `errors` what
// to print on standard error. Returns the exit code: ExitCode's, kBadCommandLine or
// kNotAdministrator.
int RunRestore(platform::Platform& platform, const std::vector<std::wstring>& args,
               std::vector<std::wstring>& lines, std::vector<std::wstring>& errors);

}  // namespace norvane::restore
