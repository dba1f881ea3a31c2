#include "ui/Modal.h"

#include "app/Controller.h"
#include "ui/AboutDialog.h"
#include "ui/Help.h"

namespace norvane::ui {

int ShowModal(CUninstallerController& app, platform::Dialog& dialog) {
    if (app.QuitCode())
        return -1;
    return app.P().ui.ShowDialog(dialog);
}

platform::DialogView BaseView(const CUninstallerController& app, int templateId) {
    platform::DialogView view;
    view.templateId = templateId;
    view.caption = app.LoadText(kCaptionText);
    view.aboutItem = !app.LoadText(kAboutItemText).empty();
    return view;
}

std::optional<platform::ActionResult> AboutOrHelp(CUninstallerController& app,
                                                  const platform::DialogView& view,
                                                  const platform::DialogAction& action) {
    using Kind = platform::DialogAction::Kind;
    if (action.kind == Kind::About) {
        if (!view.aboutItem)
            return platform::ActionResult{false, {}};
        AboutDialog about(app);
        ShowModal(app, about);
        return platform::ActionResult{};
    }
    if (action.kind == Kind::Help) {
        if (!view.helpCommand)
            return platform::ActionResult{false, {}};
        OpenHelp(app);
        return platform::ActionResult{};
    }
    return std::nullopt;
}

}  // namespace norvane::ui
