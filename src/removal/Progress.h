// The two ways a removal reports progress: a line of text and the progress bar. In a silent run
// the lines gather in the controller's summary text; in the interactive run the progress dialog
// shows them.
#pragma once

#include <string>

namespace norvane {

class CUninstallerController;

// The progress dialog of the interactive run, as the removal sees it.
class ProgressView {
public:
    virtual ~ProgressView() = default;
    // Replaces every occurrence of `replace` by the line, or adds the line when `replace` is empty.
    virtual void Line(const std::wstring& line, const std::wstring& replace) = 0;
    // Empties the text box: utility removal starts a list of its own.
    virtual void ClearLines() = 0;
    // Moves the bar: phase 0 printers, 1 drivers, 2 the end of the removal, 3 and 4 utilities.
    virtual void Bar(int step, int phase) = 0;
};

void ProgressLine(CUninstallerController& app, const std::wstring& line,
                  const std::wstring& replace = L"");
void Progress(CUninstallerController& app, int step, int phase);

// The line that tells a removal failed: opener (text 138 for a printer, 147 for a driver), the
// name, texts 140 and 141, the code, ":", the system's message text without its line break,
// and text 142.
std::wstring FailureLine(CUninstallerController& app, std::uint32_t opener,
                         const std::wstring& name, std::uint32_t code);

inline constexpr std::size_t kLineBuffer = 300;
inline constexpr std::size_t kSilentTextBuffer = 4096;

}  // namespace norvane
