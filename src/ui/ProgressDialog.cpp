#include "ui/ProgressDialog.h"

#include <algorithm>

#include "app/Controller.h"
#include "app/Restart.h"
#include "extras/UtilityRemoval.h"
#include "extras/UtilityTable.h"
#include "ui/Confirmations.h"
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

int ProgressPosition(const CUninstallerController& app, int step, int phase) {
    if (app.m_bPrintersOnly)
        return Scaled(step, 100, app.m_nPrintersToDelete);
    switch (phase) {
        case 0:
            return Scaled(step, app.m_nDriversToDelete == 0 ? 100 : 50, app.m_nPrintersToDelete);
        case 1:
            return Scaled(step, 45, app.m_nDriversToDelete) + (app.m_nDriversToDelete ? 50 : 0);
        case 3:
            return Scaled(step, 100, app.m_nUtilitiesToDelete);
        case 4:
            return 0;
        default:
            return 100;
    }
}

ProgressDialog::ProgressDialog(CUninstallerController& app, platform::WorkerThread& worker)
    : m_app(app), m_worker(worker) {}

platform::DialogView ProgressDialog::View() const {
    platform::DialogView view = BaseView(m_app, platform::kProgressDialog);
    view.texts = {{kProgressText, m_text}};
    if (m_endText)
        view.texts.push_back({kEndMessage, m_app.LoadText(m_endText)});
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
    m_app.P().ui.Send([&] {
        if (!replace.empty()) {
            m_text = ReplaceAll(m_text, replace, line);
        } else {
            m_text += (m_text.empty() ? L"" : L"\r\n") + line;
        }
    });
    // Paces the removal, so that each line can be read.
    m_app.P().clock.Sleep(kLinePause);
}

void ProgressDialog::ClearLines() {
    m_app.P().ui.Send([&] { m_text.clear(); });
}

void ProgressDialog::Bar(int step, int phase) {
    m_app.P().ui.Send([&] { SetBar(step, phase); });
}

void ProgressDialog::SetBar(int step, int phase) {
    // The bar keeps to its range, and what it reads back decides.
    m_position = std::clamp(ProgressPosition(m_app, step, phase), 0, 100);
    if (m_position != 100)
        return;
    m_endText =
        m_app.m_nDriversToDelete != 0 && !m_app.m_bPrintersOnly ? kDriversDone : kPrintersDone;
    if (phase == 3)
        m_endText = kUtilitiesDone;
    m_okEnabled = true;
    m_closeEnabled = true;
}

platform::ActionResult ProgressDialog::Act(const platform::DialogAction& action) {
    if (auto common = AboutOrHelp(m_app, View(), action))
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
            m_app.PostQuit();
            return {true, platform::kIdCancel};
        case Kind::Close:
            if (!m_closeEnabled)
                break;
            EndOfRun(m_app);
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
    if (!m_bFinished)
        OfferUtilities();
    if (!m_bFinished)
        return {};
    EndOfRun(m_app);
    return {true, platform::kIdOk};
}

void ProgressDialog::OfferUtilities() {
    if (m_app.Config().IsUtilityRemovalEnabled()) {
        m_app.m_bUtilityOptionGiven = 1;
        if (ReadUtilityTable(m_app, m_app.Config(), m_app)) {
            UtilityTexts names;
            ReadUtilityDisplayNames(m_app.P().registry, m_app, names);
            for (std::size_t slot = 0; slot < names.size(); ++slot) {
                if (!names[slot].empty() && !m_app.m_utilityEntries[slot].nInUse)
                    m_arrOfferedUtility.push_back(names[slot]);
            }
        }
    }
    if (m_arrOfferedUtility.empty()) {
        m_bFinished = 1;
        return;
    }
    UtilityConfirmation confirmation(m_app, m_arrOfferedUtility);
    ShowModal(m_app, confirmation);
    if (!m_app.m_bUtilitiesConfirmed) {
        m_bFinished = 1;
        return;
    }
    UtilityRun run{m_app, m_app, m_app, m_app, *this};
    RemoveUtilities(run);
    m_bUtilitiesDone = 1;
    // An offered utility whose uninstaller could not be found moves no bar; the removal has
    // ended all the same, and OK must lead on.
    if (m_position != 100)
        SetBar(0, 3);
}

}  // namespace norvane::ui
