// The run with dialogs: the user chooses and confirms, then the removal runs on a worker thread
// under the progress dialog, which leads on to the utilities and the end of the run.
#pragma once

namespace norvane {

class CUninstallerController;

void InteractiveRun(CUninstallerController& app);

}  // namespace norvane
