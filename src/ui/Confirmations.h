// The two confirmations: the printers and drivers chosen in the selection dialog, with the
// choice to remove the printers only; and the utilities offered after the removal.
#pragma once

#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "ui/RunView.h"

namespace norvane::ui {

// Controls of the printer confirmation.
inline constexpr int kConfirmList = 1007;
inline constexpr int kPrintersOnlyBox = 1004;
inline constexpr int kConfirmOk = 1006;
inline constexpr int kConfirmCancel = 1005;
inline constexpr int kConfirmHelp = 1002;
// Controls of the utility confirmation.
inline constexpr int kUtilityList = 1013;
inline constexpr int kUtilityAccept = 1015;
inline constexpr int kUtilityDecline = 1016;

inline constexpr std::uint32_t kNoPrinterText = 149;

class PrinterConfirmation final : public platform::Dialog {
public:
    // `names` and `drivers` are parallel: a row's printer (or text 149) and its driver. OK leaves
    // the box's state in `printersOnly`.
    PrinterConfirmation(const RunView& run, const std::vector<std::wstring>& names,
                        const std::vector<std::wstring>& drivers, int& printersOnly);
    platform::DialogView View() const override;
    platform::ActionResult Act(const platform::DialogAction& action) override;

private:
    RunView m_run;
    int& m_bPrintersOnly;
    platform::DialogView m_view;
    bool m_printersOnly = false;
};

class UtilityConfirmation final : public platform::Dialog {
public:
    // The user's answer goes to `confirmed`: 1 accepted, 0 declined; closing the dialog leaves it.
    UtilityConfirmation(const RunView& run, const std::vector<std::wstring>& names, int& confirmed);
    platform::DialogView View() const override { return m_view; }
    platform::ActionResult Act(const platform::DialogAction& action) override;

private:
    RunView m_run;
    int& m_bUtilitiesConfirmed;
    platform::DialogView m_view;
};

}  // namespace norvane::ui
