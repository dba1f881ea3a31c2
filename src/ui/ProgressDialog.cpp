#include "ui/ProgressDialog.h"

#include <algorithm>

#include "ui/Modal.h"

namespace norvane::ui {
namespace {

using Kind = platform::DialogAction::Kind;

constexpr std::uint32_t kPrintersDone = 144;
constexpr std::uint32_t kDriversDone = 145;
constexpr std::uint32_t kUtilitiesDone = 157;
constexpr std::uint32_t kLinePause = 100;

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
    for (std::size_t at = text.find(from); at != std::wstring::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// A scale the selection left empty has no steps to count: its phase is complete at once.
int Scaled(int step, int span, int count) {
    return count == 0 ? 100 : step * span / count;
}

}  // namespace

int ProgressPosition(const ProgressScale& scale, int step, int phase) {
    if (scale.printersOnly)
        return Scaled(step, 100, scale.printers);
    switch (phase) {
        case 0:
            return Scaled(step, scale.drivers == 0 ? 100 : 50, scale.printers);
        case 1:
            return Scaled(step, 45, scale.drivers) + (scale.drivers ? 50 : 0);
        case 3:
            return Scaled(step, 100, scale.utilities);
        case 4:
            return 0;
        default:
            return 100;
    }
}

ProgressDialog::ProgressDialog(const RunView& run, platform::WorkerThread& worker,
                               ProgressIntents& intents)
    : m_run(run), m_worker(worker), m_intents(intents) {}

platform::DialogView ProgressDialog::View() const {
    platform::DialogView view = BaseView(m_run, platform::kProgressDialog);
    view.texts = {{kProgressText, m_text}};
    if (m_endText)
        view.texts.push_back({kEndMessage, m_run.LoadText(m_endText)});
    view.progress = m_position;
    view.buttons = {{platform::kIdOk, m_okEnabled}};
    view.closeEnabled = m_closeEnabled;
    return view;
}

bool ProgressDialog::Init() {
    m_closeEnabled = false;
    m_resumed = m_worker.Resume();
    return m_resumed;
}

bool ProgressDialog::Busy() const {
    return m_resumed && !m_worker.Finished();
}

void ProgressDialog::Line(const std::wstring& line, const std::wstring& replace) {
    m_run.platform.ui.Send([&] {
        if (!replace.empty()) {
            m_text = ReplaceAll(m_text, replace, line);
        } else {
            m_text += (m_text.empty() ? L"" : L"\r\n") + line;
        }
    });
    // Paces the removal, so that each line can be read.
    m_run.platform.clock.Sleep(kLinePause);
}

void ProgressDialog::ClearLines() {
    m_run.platform.ui.Send([&] { m_text.clear(); });
}

void ProgressDialog::Bar(int step, int phase) {
    m_run.platform.ui.Send([&] { SetBar(step, phase); });
}

void ProgressDialog::SetBar(int step, int phase) {
    // The bar keeps to its range, and what it reads back decides.
    m_position = std::clamp(ProgressPosition(m_run.scale, step, phase), 0, 100);
    if (m_position != 100)
        return;
    m_endText =
        m_run.scale.drivers != 0 && !m_run.scale.printersOnly ? kDriversDone : kPrintersDone;
    if (phase == 3)
        m_endText = kUtilitiesDone;
    m_okEnabled = true;
    m_closeEnabled = true;
}

platform::ActionResult ProgressDialog::Act(const platform::DialogAction& action) {
    if (auto common = AboutOrHelp(m_run, View(), action))
        return *common;
    switch (action.kind) {
        case Kind::Press:
            if (action.control == platform::kIdOk && m_okEnabled)
                return Continue();
            break;
        case Kind::Escape:
            // Before the end of the removal the worker is still deleting: ending now would
            // leave a driver half removed and the log half written.
            if (m_position != 100)
                break;
            m_intents.Quit();
            return {true, platform::kIdCancel};
        case Kind::Close:
            if (!m_closeEnabled)
                break;
            m_intents.EndRun();
            return {true, platform::kIdCancel};
        default:
            break;
    }
    return {false, {}};
}

platform::ActionResult ProgressDialog::Continue() {
    m_okEnabled = false;
    m_closeEnabled = false;
    if (m_bUtilitiesDone)
        m_bFinished = 1;
    if (!m_bFinished) {
        if (m_intents.OfferUtilities(*this)) {
            m_bUtilitiesDone = 1;
            // An offered utility whose uninstaller could not be found moves no bar; the removal
            // has ended all the same, and OK must lead on.
            if (m_position != 100)
                SetBar(0, 3);
            return {};
        }
        m_bFinished = 1;
    }
    m_intents.EndRun();
    return {true, platform::kIdOk};
}

}  // namespace norvane::ui
