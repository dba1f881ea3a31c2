// The run's entries in Norvane.log after its header. Every one goes through here: a run that keeps
// no log (an interactive one, whose log name is empty) writes nothing, since the profile writer
// would take an empty name for a file of the Windows folder; and a write that failed marks the
// run's log as failed, since the calling installer reads the run's results there.
#pragma once

#include <vector>

#include "log/LogFile.h"

namespace norvane {

class CUninstallerController;

// WriteLogString into the run's log.
void WriteRunLog(CUninstallerController& app, const wchar_t* section, const wchar_t* key,
                 const wchar_t* value);
// WriteLogSections into the run's log.
void WriteRunLogSections(CUninstallerController& app, const std::vector<LogSection>& sections);

}  // namespace norvane
