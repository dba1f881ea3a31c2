// Finishing a removal that was cut off: the work list it left is checked against the machine,
// item by item, and what still stands of it is removed by the same rules as in any removal.
#pragma once

#include <optional>
#include <string>

#include "inventory/Package.h"
#include "log/Results.h"
#include "log/RunContext.h"
#include "removal/DriverPackages.h"

namespace norvane {

// The log section that tells what a run finished of an interrupted removal.
inline constexpr wchar_t kResumedSection[] = L"ResumedResult";

// Finishes the stored work list, when there is one, and forgets it; false when there is none.
// Results go to `results.m_mapResumedResult` ("PRINTER <name>", "DRIVER <name>"; "-1" for a driver
// left for the restart) and to the log's own section, with each entry that was not believed.
// Printers' settings are saved in `settingsFolder` when the interrupted run saved them. With the
// spooler unreachable the list stays, for a run that can check it.
bool ResumeInterruptedRemoval(RunContext& context, Package& package, DriverPackages& packages,
                              RunResults& results, const std::wstring& settingsFolder);

}  // namespace norvane
