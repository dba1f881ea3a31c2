// The first dialog of the interactive run: the package's printers, then its drivers that no
// printer uses, each with a tick; starting the removal turns the ticks into the records' selection
// and the controller's counts, through the printer confirmation.
#pragma once

#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace norvane {
class CUninstallerController;
}

namespace norvane::ui {

// Controls of the selection template.
inline constexpr int kSelectionList = 1001;
inline constexpr int kSelectAllBox = 1002;
inline constexpr int kStartButton = 1004;
inline constexpr int kSelectionHelp = 1007;

class SelectionDialog final : public platform::Dialog {
public:
    explicit SelectionDialog(CUninstallerController& app);
    platform::DialogView View() const override;
    platform::ActionResult Act(const platform::DialogAction& action) override;

    // Ticked rows: all, some or none.
    platform::CheckState SelectAllState() const;
    bool StartEnabled() const;
    // First- and second-column texts of the rows ticked at the last start, in row order.
    const std::vector<std::wstring>& CheckedNames() const { return m_arrCheckedName; }
    const std::vector<std::wstring>& CheckedDrivers() const { return m_arrCheckedDriver; }

private:
    void SelectAll();
    // Turns the ticks into selection flags and counts and asks for confirmation; true when
    // confirmed.
    bool StartRemoval();
    void SelectTickedRows();
    void ResetSelection();

    CUninstallerController& m_app;
    std::wstring m_noPrinter;  // text 149, the first column of a driver row
    std::vector<platform::ListRow> m_rows;
    std::vector<std::wstring> m_arrCheckedName;
    std::vector<std::wstring> m_arrCheckedDriver;
};

}  // namespace norvane::ui
