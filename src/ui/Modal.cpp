#include "ui/Modal.h"

#include "ui/AboutDialog.h"
#include "ui/Help.h"

namespace norvane::ui {

int ShowModal(const RunView& run, platform::Dialog& dialog) {
    if (run.quitPosted())
        return -1;
    return run.platform.ui.ShowDialog(dialog);
}

platform::DialogView BaseView(const RunView& run, int templateId) {
    platform::DialogView view;
    view.templateId = templateId;
    view.caption = run.LoadText(kCaptionText);
    view.aboutItem = !run.LoadText(kAboutItemText).empty();
    return view;
}

std::optional<platform::ActionResult> AboutOrHelp(const RunView& run,
                                                  const platform::DialogView& view,
                                                  const platform::DialogAction& action) {
    using Kind = platform::DialogAction::Kind;
    if (action.kind == Kind::About) {
        if (!view.aboutItem)
            return platform::ActionResult{false, {}};
        AboutDialog about(run);
        ShowModal(run, about);
        return platform::ActionResult{};
    }
    if (action.kind == Kind::Help) {
        if (!view.helpCommand)
            return platform::ActionResult{false, {}};
        OpenHelp(run);
        return platform::ActionResult{};
    }
    return std::nullopt;
}

}  // namespace norvane::ui
