// The dialog actions of an answer script, one a line: tick NAME, untick NAME, select-all, remove,
// printers-only, ok, cancel, yes, no, about, help, close (letter case of the words ignored).
#pragma once

#include <optional>
#include <string>

#include "platform/Dialogs.h"

namespace norvane::hosts {

// The action a script line asks of the dialog showing; nullopt when the line names none that
// this dialog has (an unknown word, or a row it does not list).
std::optional<platform::DialogAction> ParseScriptAction(const std::wstring& line,
                                                        const platform::DialogView& view);
// What the dialog offers now, in the script's words ("tick NAME", "remove", ...).
std::wstring OfferedActions(const platform::DialogView& view);
// The script's words for an action (for the journal).
std::wstring DescribeAction(const platform::DialogAction& action, const platform::DialogView& view);

}  // namespace norvane::hosts
