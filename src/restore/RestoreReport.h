// What a restore tells: the result sections it writes into the removal's Norvane.log, and the
// lines the programs print.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "restore/PrinterRestore.h"

namespace norvane::restore {

// [RestoreResult]: each printer's code; [RestoreDetail]: what was done or why not, in words.
// Both replace what an earlier restore of the same printers wrote there.
void WriteRestoreResult(platform::Platform& platform, const RestoreOutcome& outcome);

// One line per printer ("<name>: <detail>"), the default printer's, or the reason for nothing.
std::vector<std::wstring> RestoreLines(const RestoreOutcome& outcome);

}  // namespace norvane::restore
