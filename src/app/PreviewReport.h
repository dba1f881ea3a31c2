// The log's [Preview] section: every change a preview run would have made, in order.
#pragma once

namespace norvane {

class CUninstallerController;

// The text under "Assumed": what a preview takes as done because it cannot know beforehand.
inline constexpr wchar_t kPreviewAssumption[] =
    L"every change succeeds: a locked file, a driver the spooler holds until a restart and the "
    L"result of a program the run starts are known only by making the change";

// "1=<change>", "2=<change>", ... and "Assumed", written into the log at the end of the run.
void WritePreviewSection(CUninstallerController& app);

}  // namespace norvane
