#include "ui/SelectionDialog.h"

#include "app/Controller.h"
#include "support/Text.h"
#include "ui/Confirmations.h"
#include "ui/Modal.h"

namespace norvane::ui {

using Kind = platform::DialogAction::Kind;

SelectionDialog::SelectionDialog(CUninstallerController& app)
    : m_app(app), m_noPrinter(app.LoadText(kNoPrinterText)) {
    for (const auto& printer : app.m_arrPrinter) {
        const std::wstring& name = printer->PrinterName();
        m_rows.push_back({{name, printer->Driver()->DriverName()}, false, name});
    }
    for (const auto& driver : app.m_arrDriver) {
        if (driver->PrinterCount() == 0 && driver->InPackage())
            m_rows.push_back({{m_noPrinter, driver->DriverName()}, false, driver->DriverName()});
    }
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
    platform::DialogView view = BaseView(m_app, platform::kSelectionDialog);
    view.helpCommand = true;
    view.list = platform::ListControl{
        kSelectionList, {m_app.LoadText(138), m_app.LoadText(147)}, m_rows, true};
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
    if (auto common = AboutOrHelp(m_app, View(), action))
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
                return *AboutOrHelp(m_app, View(), {Kind::Help});
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

void SelectionDialog::SelectTickedRows() {
    m_arrCheckedName.clear();
    m_arrCheckedDriver.clear();
    for (const auto& row : m_rows) {
        const std::wstring& name = row.cells[0];
        if (row.ticked) {
            if (name != m_noPrinter)
                ++m_app.m_nPrintersToDelete;
            m_arrCheckedName.push_back(name);
            m_arrCheckedDriver.push_back(row.cells[1]);
        }
        for (const auto& printer : m_app.m_arrPrinter) {
            if (text::EqualsNoCase(printer->PrinterName(), name))
                printer->SetSelected(row.ticked ? 1 : 0);
        }
    }
    for (const auto& row : m_rows) {
        if (!row.ticked || row.cells[0] != m_noPrinter)
            continue;
        for (const auto& driver : m_app.m_arrDriver) {
            if (text::EqualsNoCase(driver->DriverName(), row.cells[1])) {
                driver->SetSelected(1);
                ++m_app.m_nDriversToDelete;
            }
        }
    }
    // A driver goes with its printers when every printer that uses it goes.
    for (const auto& driver : m_app.m_arrDriver) {
        if (driver->PrinterCount() == 0 || !driver->InPackage())
            continue;
        bool all = true;
        for (const auto& printer : m_app.m_arrPrinter) {
            if (printer->Driver() == driver.get())
                all = all && printer->Selected();
        }
        if (all) {
            driver->SetSelected(1);
            ++m_app.m_nDriversToDelete;
        }
    }
}

void SelectionDialog::ResetSelection() {
    m_app.m_nPrintersToDelete = 0;
    m_app.m_nDriversToDelete = 0;
    m_app.m_bPrintersOnly = 1;
    for (const auto& driver : m_app.m_arrDriver)
        driver->SetSelected(0);
}

bool SelectionDialog::StartRemoval() {
    SelectTickedRows();
    PrinterConfirmation confirmation(m_app, m_arrCheckedName, m_arrCheckedDriver);
    if (ShowModal(m_app, confirmation) == platform::kIdOk)
        return true;
    ResetSelection();
    return false;
}

}  // namespace norvane::ui
