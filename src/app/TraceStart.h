// The trace of a run ("/v [FILE]"): where it goes, and what the run says when it cannot be
// written.
#pragma once

#include <string>

namespace norvane {

class CUninstallerController;

// Start-up step, once the log's place is known: the trace starts with the run's line, in FILE
// or beside the log (without one, in the program folder). A trace
// that cannot be written is told once on standard error and in the log's [Application] section
// ("Trace"), and the run goes on without it.
void StartTrace(CUninstallerController& app, const std::wstring& commandLine);
// The run's last line, with the exit code the process ends with; nothing without a trace.
void EndTrace(CUninstallerController& app);

}  // namespace norvane
