// A dialog of the language library on the screen: the window is built from the template of the
// dialog's number, its controls are filled from the dialog's view, and what the user does to it
// goes back to the dialog as actions. The window decides nothing itself.
#pragma once

#include "platform/Dialogs.h"
#include "platform/win32/WinApi.h"

namespace norvane::win32 {

class DialogThread;

// DialogBoxParamW over `module`'s template, owned by the dialog showing already (if any); the
// dialog's result, or -1 when the window could not be made or the dialog not initialised.
int ShowDialogWindow(HMODULE module, platform::Dialog& dialog, DialogThread& thread);

}  // namespace norvane::win32
