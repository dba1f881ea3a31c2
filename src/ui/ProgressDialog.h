// The main window of the interactive run: it starts the worker, shows the progress lines and
// bar the worker sends it, and once the removal has ended asks the run to offer the utilities and
// to end. The worker's calls run on the dialog's thread before the worker goes on, as window
// messages sent to the dialog would.
#pragma once

#include <string>
#include <vector>

#include "log/Progress.h"
#include "platform/Dialogs.h"
#include "ui/RunView.h"

namespace norvane::ui {

// Controls of the progress template.
inline constexpr int kProgressText = 1003;
inline constexpr int kProgressBar = 1005;
inline constexpr int kEndMessage = -1;

// The bar's position for a step of a phase, by the run's counts (integer divisions).
int ProgressPosition(const ProgressScale& scale, int step, int phase);

// What the progress dialog asks of the run once the removal has ended; the run carries it out
// while the dialog stays up.
class ProgressIntents {
public:
    virtual ~ProgressIntents() = default;
    // Offers the utilities no remaining printer needs; true when the user accepted and their
    // removal has run, its lines and bar shown on `progress`.
    virtual bool OfferUtilities(ProgressSink& progress) = 0;
    // The end of the run, with its restart question.
    virtual void EndRun() = 0;
    // Ends the program.
    virtual void Quit() = 0;
};

class ProgressDialog final : public platform::Dialog, public ProgressSink {
public:
    ProgressDialog(const RunView& run, platform::WorkerThread& worker, ProgressIntents& intents);

    platform::DialogView View() const override;
    // Resumes the worker; false when it cannot be resumed.
    bool Init() override;
    platform::ActionResult Act(const platform::DialogAction& action) override;
    bool Busy() const override;

    void Line(const std::wstring& line, const std::wstring& replace) override;
    void ClearLines() override;
    void Bar(int step, int phase) override;

private:
    void SetBar(int step, int phase);
    platform::ActionResult Continue();

    RunView m_run;
    platform::WorkerThread& m_worker;
    ProgressIntents& m_intents;
    int m_bFinished = 0;       // the next OK goes to the end of the run
    int m_bUtilitiesDone = 0;  // the utility removal has been started here
    bool m_resumed = false;
    std::wstring m_text;
    int m_position = 0;
    std::uint32_t m_endText = 0;  // 0: the template's own text
    bool m_okEnabled = false;
    bool m_closeEnabled = false;
};

}  // namespace norvane::ui
