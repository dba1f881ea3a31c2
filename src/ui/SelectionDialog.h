// The first dialog of the interactive run: the package's printers, then its drivers that no
// printer uses, each with a tick. Starting the removal asks for confirmation through the printer
// confirmation; once confirmed the dialog ends with the selection to remove.
#pragma once

#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "ui/RunView.h"

namespace norvane::ui {

// Controls of the selection template.
inline constexpr int kSelectionList = 1001;
inline constexpr int kSelectAllBox = 1002;
inline constexpr int kStartButton = 1004;
inline constexpr int kSelectionHelp = 1007;

// "Start the removal with this selection": every row as the user left it (a printer's name and
// its driver, or text 149 and a driver no printer uses), and whether the drivers stay.
struct Selection {
    std::vector<platform::ListRow> rows;
    int printersOnly = 0;
};

class SelectionDialog final : public platform::Dialog {
public:
    explicit SelectionDialog(const RunView& run);
    platform::DialogView View() const override;
    platform::ActionResult Act(const platform::DialogAction& action) override;

    // Ticked rows: all, some or none.
    platform::CheckState SelectAllState() const;
    bool StartEnabled() const;
    // What the dialog ended with when it ended with OK.
    Selection Chosen() const { return {m_rows, m_printersOnly}; }

private:
    void SelectAll();
    // Lists the ticked rows and asks for confirmation; true when confirmed.
    bool StartRemoval();

    RunView m_run;
    std::wstring m_noPrinter;  // text 149, the first column of a driver row
    std::vector<platform::ListRow> m_rows;
    // First- and second-column texts of the rows ticked at the last start, in row order.
    std::vector<std::wstring> m_arrCheckedName;
    std::vector<std::wstring> m_arrCheckedDriver;
    int m_printersOnly = 0;
};

}  // namespace norvane::ui
