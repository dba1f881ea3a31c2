#include "app/InteractiveRun.h"

#include "app/Controller.h"
#include "removal/Worker.h"
#include "ui/Modal.h"
#include "ui/ProgressDialog.h"
#include "ui/SelectionDialog.h"

namespace norvane {

void InteractiveRun(CUninstallerController& app) {
    ui::SelectionDialog selection(app);
    const int result = ui::ShowModal(app, selection);
    if (result == platform::kIdCancel) {
        app.PostQuit();
        return;
    }
    if (result != platform::kIdOk)
        return;
    // Created suspended: it starts only once the progress dialog exists to show its progress.
    app.m_pWorkerThread = app.P().ui.CreateSuspendedThread([&app] {
        WorkerBody({app, app, app, app, app.m_driverPackages, std::nullopt}, *app.m_pProgressView);
    });
    ui::ProgressDialog progress(app, *app.m_pWorkerThread);
    app.m_pProgressView = &progress;
    ui::ShowModal(app, progress);
    // The program never ends while the worker still removes.
    app.m_pWorkerThread->Wait();
    app.m_pProgressView = nullptr;
}

}  // namespace norvane
