// The help file of the user-interface language, opened at the program's help topic.
#pragma once

#include <cstdint>
#include <string>

#include "ui/RunView.h"

namespace norvane::ui {

inline constexpr std::uint32_t kHelpContext = 5401;

// The language's HELP.chm in the program folder, else ENU's, else the one in the program folder
// itself (also when none exists).
std::wstring HelpFilePath(const RunView& run);
void OpenHelp(const RunView& run);

}  // namespace norvane::ui
