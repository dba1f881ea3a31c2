// The two ways a removal reports progress: a line of text and the progress bar. In a silent run
// the lines gather in the controller's summary text; in the interactive run the progress dialog
// shows them.
#pragma once

#include <string>

#include "log/Progress.h"

namespace norvane {

class CUninstallerController;

void ProgressLine(CUninstallerController& app, const std::wstring& line,
                  const std::wstring& replace = L"");
void Progress(CUninstallerController& app, int step, int phase);

// The line that tells a removal failed: opener (text 138 for a printer, 147 for a driver), the
// name, texts 140 and 141, the code, ":", the system's message text without its line break,
// and text 142.
std::wstring FailureLine(CUninstallerController& app, std::uint32_t opener,
                         const std::wstring& name, std::uint32_t code);

}  // namespace norvane
