#include "ui/SelectionDialog.h"

#include "ui/Confirmations.h"
#include "ui/Modal.h"

namespace norvane::ui {

using Kind = platform::DialogAction::Kind;

SelectionDialog::SelectionDialog(const RunView& run)
    : m_run(run), m_noPrinter(run.LoadText(kNoPrinterText)) {
    for (const auto& printer : run.printers)
        m_rows.push_back({{printer.name, printer.driver}, false, printer.name});
    for (const auto& driver : run.loneDrivers)
        m_rows.push_back({{m_noPrinter, driver}, false, driver});
}

platform::CheckState SelectionDialog::SelectAllState() const {
    std::size_t ticked = 0;
    for (const auto& row : m_rows)
        ticked += row.ticked ? 1 : 0;
    if (ticked == 0)
        return platform::CheckState::Cleared;
    return ticked == m_rows.size() ? platform::CheckState::Ticked
                                   : platform::CheckState::Indeterminate;
}

bool SelectionDialog::StartEnabled() const {
    return SelectAllState() != platform::CheckState::Cleared;
}

platform::DialogView SelectionDialog::View() const {
    platform::DialogView view = BaseView(m_run, platform::kSelectionDialog);
    view.helpCommand = true;
    view.list = platform::ListControl{
        kSelectionList, {m_run.LoadText(138), m_run.LoadText(147)}, m_rows, true};
    view.checks = {{kSelectAllBox, SelectAllState(), true}};
    view.buttons = {
        {kSelectionHelp, true}, {kStartButton, StartEnabled()}, {platform::kIdCancel, true}};
    return view;
}

// The box's own click has moved it on (cleared, ticked, indeterminate, cleared): from ticked it
// went to indeterminate, which clears every row; from any other state it ticks every row.
void SelectionDialog::SelectAll() {
    const bool tick = SelectAllState() != platform::CheckState::Ticked;
    for (auto& row : m_rows)
        row.ticked = tick;
}

platform::ActionResult SelectionDialog::Act(const platform::DialogAction& action) {
    if (auto common = AboutOrHelp(m_run, View(), action))
        return *common;
    switch (action.kind) {
        case Kind::SetTick:
            if (action.index >= m_rows.size())
                break;
            m_rows[action.index].ticked = action.on;
            return {};
        case Kind::ClickCheck:
            if (action.control != kSelectAllBox)
                break;
            SelectAll();
            return {};
        case Kind::Press:
            if (action.control == kStartButton && StartEnabled()) {
                if (StartRemoval())
                    return {true, platform::kIdOk};
                return {};
            }
            if (action.control == kSelectionHelp)
                return *AboutOrHelp(m_run, View(), {Kind::Help});
            if (action.control == platform::kIdCancel)
                return {true, platform::kIdCancel};
            break;
        case Kind::Escape:
        case Kind::Close:
            return {true, platform::kIdCancel};
        default:
            break;
    }
    return {false, {}};
}

bool SelectionDialog::StartRemoval() {
    m_arrCheckedName.clear();
    m_arrCheckedDriver.clear();
    for (const auto& row : m_rows) {
        if (row.ticked) {
            m_arrCheckedName.push_back(row.cells[0]);
            m_arrCheckedDriver.push_back(row.cells[1]);
        }
    }
    PrinterConfirmation confirmation(m_run, m_arrCheckedName, m_arrCheckedDriver, m_printersOnly);
    return ShowModal(m_run, confirmation) == platform::kIdOk;
}

}  // namespace norvane::ui
