#include "app/InteractiveRun.h"

#include "app/Controller.h"
#include "app/Restart.h"
#include "app/Startup.h"
#include "extras/UtilityRemoval.h"
#include "extras/UtilityTable.h"
#include "removal/Worker.h"
#include "support/Text.h"
#include "ui/Confirmations.h"
#include "ui/Modal.h"

namespace norvane {
namespace {

ui::RunView BuildView(CUninstallerController& app) {
    ui::RunView view{app.P(),
                     app.texts,
                     [&app] { return app.QuitCode().has_value(); },
                     app.g_szModuleDir,
                     LanguageFolder(app.texts.m_nLangId),
                     app.Config().NumberedList(L"Driver", L"D"),
                     {},
                     {},
                     {app.m_bPrintersOnly, app.m_nPrintersToDelete, app.m_nDriversToDelete,
                      app.m_nUtilitiesToDelete}};
    for (const auto& printer : app.m_arrPrinter)
        view.printers.push_back({printer->PrinterName(), printer->Driver()->DriverName()});
    for (const auto& driver : app.m_arrDriver) {
        if (driver->PrinterCount() == 0 && driver->InPackage())
            view.loneDrivers.push_back(driver->DriverName());
    }
    return view;
}

}  // namespace

InteractiveSteps::InteractiveSteps(CUninstallerController& app)
    : m_app(app), m_view(BuildView(app)) {}

void InteractiveSteps::Select(const ui::Selection& selection) {
    const std::wstring noPrinter = m_app.LoadText(ui::kNoPrinterText);
    for (const auto& row : selection.rows) {
        const std::wstring& name = row.cells[0];
        if (row.ticked && name != noPrinter)
            ++m_app.m_nPrintersToDelete;
        for (const auto& printer : m_app.m_arrPrinter) {
            if (text::EqualsNoCase(printer->PrinterName(), name))
                printer->SetSelected(row.ticked ? 1 : 0);
        }
    }
    for (const auto& row : selection.rows) {
        if (!row.ticked || row.cells[0] != noPrinter)
            continue;
        for (const auto& driver : m_app.m_arrDriver) {
            if (text::EqualsNoCase(driver->DriverName(), row.cells[1])) {
                driver->SetSelected(1);
                ++m_app.m_nDriversToDelete;
            }
        }
    }
    m_app.m_nDriversToDelete += m_app.SelectDriversOfSelectedPrinters();
    m_app.m_bPrintersOnly = selection.printersOnly;
}

bool InteractiveSteps::OfferUtilities(ProgressSink& progress) {
    std::vector<std::wstring> offered;
    if (m_app.Config().IsUtilityRemovalEnabled()) {
        m_app.m_bUtilityOptionGiven = 1;
        if (ReadUtilityTable(m_app, m_app.Config(), m_app)) {
            UtilityTexts names;
            ReadUtilityDisplayNames(m_app.P().registry, m_app, names);
            for (std::size_t slot = 0; slot < names.size(); ++slot) {
                if (!names[slot].empty() && !m_app.m_utilityEntries[slot].nInUse)
                    offered.push_back(names[slot]);
            }
        }
    }
    if (offered.empty())
        return false;
    ui::UtilityConfirmation confirmation(m_view, offered, m_app.m_bUtilitiesConfirmed);
    ui::ShowModal(m_view, confirmation);
    if (!m_app.m_bUtilitiesConfirmed)
        return false;
    UtilityRun run{m_app, m_app, m_app, m_app, progress};
    RemoveUtilities(run);
    return true;
}

void InteractiveSteps::EndRun() {
    EndOfRun(m_app);
}

void InteractiveSteps::Quit() {
    m_app.PostQuit();
}

void InteractiveRun(CUninstallerController& app) {
    InteractiveSteps steps(app);
    ui::SelectionDialog selection(steps.View());
    const int result = ui::ShowModal(steps.View(), selection);
    if (result == platform::kIdCancel) {
        app.PostQuit();
        return;
    }
    if (result != platform::kIdOk)
        return;
    steps.Select(selection.Chosen());
    // Created suspended: it starts only once the progress dialog exists to show its progress.
    // The worker shows its progress on the dialog, which exists before the worker starts.
    ui::ProgressDialog* shown = nullptr;
    const auto worker = app.P().ui.CreateSuspendedThread([&app, &shown] {
        WorkerBody({app, app, app, app, app.m_driverPackages, std::nullopt}, *shown);
    });
    ui::ProgressDialog progress(steps.View(), *worker, steps);
    shown = &progress;
    ui::ShowModal(steps.View(), progress);
    // The program never ends while the worker still removes.
    worker->Wait();
}

}  // namespace norvane
