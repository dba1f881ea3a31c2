// The run without dialogs: removes what the command line designates and reports the results
// into the log, for a calling installer.
#pragma once

namespace norvane {

class CUninstallerController;

void SilentRun(CUninstallerController& app);

}  // namespace norvane
