// The help file of the user-interface language, opened at the program's help topic.
#pragma once

#include <cstdint>
#include <string>

namespace norvane {
class CUninstallerController;
}

namespace norvane::ui {

inline constexpr std::uint32_t kHelpContext = 5401;

// The language's HELP.chm in the program folder, else ENU's, else the one in the program folder
// itself (also when none exists).
std::wstring HelpFilePath(CUninstallerController& app);
void OpenHelp(CUninstallerController& app);

}  // namespace norvane::ui
