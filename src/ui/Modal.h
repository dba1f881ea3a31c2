// What the dialogs of the interactive run share: the modal show, which a quit message already
// posted ends at once, and the caption and window-menu items of every dialog.
#pragma once

#include <optional>

#include "platform/Dialogs.h"
#include "ui/RunView.h"

namespace norvane::ui {

inline constexpr std::uint32_t kCaptionText = 148;
inline constexpr std::uint32_t kAboutItemText = 101;

// DoModal: -1 at once when the quit message is already posted (the modal loop would meet it
// first), else the dialog's result.
int ShowModal(const RunView& run, platform::Dialog& dialog);

// A view with caption 148 and, when text 101 is not empty, the About item of the window menu.
platform::DialogView BaseView(const RunView& run, int templateId);

// The About item and the help command, which several dialogs handle alike; nullopt for any other
// action.
std::optional<platform::ActionResult> AboutOrHelp(const RunView& run,
                                                  const platform::DialogView& view,
                                                  const platform::DialogAction& action);

}  // namespace norvane::ui
