// The run after a restart ("-Restarted"), which finishes the work the removal put off and cleans
// its records away; finishing a removal that was cut off; and the end of every run, which offers
// or performs the restart.
#pragma once

namespace norvane {

class CUninstallerController;

// The run with "-Restarted": finishes the put-off work and cleans the registry.
void ContinueAfterRestart(CUninstallerController& app);
// Finishes, once per process, the removal a run cut off before this one left unfinished: before
// the run's own work, and in the run after a restart (`restarted`) once the put-off work is done.
void FinishInterruptedRemoval(CUninstallerController& app, bool restarted = false);
// Ends the program's work: records "-1" for a pending restart and offers (or, quietly, skips)
// the restart.
void EndOfRun(CUninstallerController& app);

}  // namespace norvane
