// The main window of the interactive run: it starts the worker, shows the progress lines and
// bar the worker sends it, and once the removal has ended lets the user go on to the utilities
// and the end of the run. The worker's calls run on the dialog's thread before the worker goes
// on, as window messages sent to the dialog would.
#pragma once

#include <string>
#include <vector>

#include "log/Progress.h"
#include "platform/Dialogs.h"

namespace norvane {
class CUninstallerController;
}

namespace norvane::ui {

// Controls of the progress template.
inline constexpr int kProgressText = 1003;
inline constexpr int kProgressBar = 1005;
inline constexpr int kEndMessage = -1;

// The bar's position for a step of a phase, by the controller's counts (integer divisions).
int ProgressPosition(const CUninstallerController& app, int step, int phase);

class ProgressDialog final : public platform::Dialog, public ProgressSink {
public:
    ProgressDialog(CUninstallerController& app, platform::WorkerThread& worker);

    platform::DialogView View() const override;
    // Resumes the worker; false when it cannot be resumed.
    bool Init() override;
    platform::ActionResult Act(const platform::DialogAction& action) override;
    bool Busy() const override;

    void Line(const std::wstring& line, const std::wstring& replace) override;
    void ClearLines() override;
    void Bar(int step, int phase) override;

    int m_bFinished = 0;       // the next OK goes to the end of the run
    int m_bUtilitiesDone = 0;  // the utility removal has been started here
    std::vector<std::wstring> m_arrOfferedUtility;

private:
    void SetBar(int step, int phase);
    platform::ActionResult Continue();
    // Offers the utilities no remaining printer needs and removes them when accepted.
    void OfferUtilities();

    CUninstallerController& m_app;
    platform::WorkerThread& m_worker;
    bool m_resumed = false;
    std::wstring m_text;
    int m_position = 0;
    std::uint32_t m_endText = 0;  // 0: the template's own text
    bool m_okEnabled = false;
    bool m_closeEnabled = false;
};

}  // namespace norvane::ui
