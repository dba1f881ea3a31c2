// The About box: the product title, the package's version and copyright from Version.txt, and
// the package's printer drivers.
#pragma once

#include <string>

#include "platform/Dialogs.h"
#include "ui/RunView.h"

namespace norvane::ui {

// Controls of the About template.
inline constexpr int kAboutTitle = 1012;
inline constexpr int kAboutVersion = 1009;
inline constexpr int kAboutCopyright = 1010;
inline constexpr int kAboutDrivers = 1011;

// [Version] `key` of Version.txt in the program's folder, else in its parent folder; empty when
// neither has it.
std::wstring ReadVersionValue(const RunView& run, const wchar_t* key);

class AboutDialog final : public platform::Dialog {
public:
    explicit AboutDialog(const RunView& run);
    platform::DialogView View() const override { return m_view; }
    platform::ActionResult Act(const platform::DialogAction& action) override;

private:
    platform::DialogView m_view;
};

}  // namespace norvane::ui
