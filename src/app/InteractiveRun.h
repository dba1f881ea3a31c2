// The run with dialogs: the user chooses and confirms, then the removal runs on a worker thread
// under the progress dialog, which leads on to the utilities and the end of the run. The dialogs
// decide; what they ask for is carried out here.
#pragma once

#include "ui/ProgressDialog.h"
#include "ui/RunView.h"
#include "ui/SelectionDialog.h"

namespace norvane {

class CUninstallerController;

// The run's side of the dialogs: the view they read, and their intents carried out on the run.
class InteractiveSteps final : public ui::ProgressIntents {
public:
    explicit InteractiveSteps(CUninstallerController& app);

    const ui::RunView& View() const { return m_view; }
    // "Start the removal with this selection": the ticks become the records' selection and the
    // counts the progress bar is scaled by.
    void Select(const ui::Selection& selection);

    bool OfferUtilities(ProgressSink& progress) override;
    void EndRun() override;
    void Quit() override;

private:
    CUninstallerController& m_app;
    ui::RunView m_view;
};

void InteractiveRun(CUninstallerController& app);

}  // namespace norvane
