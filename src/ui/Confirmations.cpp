#include "ui/Confirmations.h"

#include "ui/Modal.h"

namespace norvane::ui {

using Kind = platform::DialogAction::Kind;

PrinterConfirmation::PrinterConfirmation(const RunView& run, const std::vector<std::wstring>& names,
                                         const std::vector<std::wstring>& drivers,
                                         int& printersOnly)
    : m_run(run),
      m_bPrintersOnly(printersOnly),
      m_view(BaseView(run, platform::kPrinterConfirmDialog)) {
    m_view.helpCommand = true;
    platform::ListControl list{kConfirmList, {run.LoadText(138), run.LoadText(147)}, {}, false};
    const std::wstring noPrinter = run.LoadText(kNoPrinterText);
    bool realPrinter = false;
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::wstring driver = i < drivers.size() ? drivers[i] : L"";
        list.rows.push_back({{names[i], driver}, false, names[i]});
        realPrinter = realPrinter || names[i] != noPrinter;
    }
    m_view.list = std::move(list);
    // Removing "the printers only" means something only when a printer is listed.
    m_view.checks = {{kPrintersOnlyBox, platform::CheckState::Cleared, realPrinter}};
    m_view.buttons = {{kConfirmHelp, true}, {kConfirmOk, true}, {kConfirmCancel, true}};
}

platform::DialogView PrinterConfirmation::View() const {
    platform::DialogView view = m_view;
    view.checks[0].state =
        m_printersOnly ? platform::CheckState::Ticked : platform::CheckState::Cleared;
    return view;
}

platform::ActionResult PrinterConfirmation::Act(const platform::DialogAction& action) {
    if (auto common = AboutOrHelp(m_run, m_view, action))
        return *common;
    switch (action.kind) {
        case Kind::ClickCheck:
            if (action.control != kPrintersOnlyBox || !m_view.checks[0].enabled)
                break;
            m_printersOnly = !m_printersOnly;
            return {};
        case Kind::Press:
            if (action.control == kConfirmOk) {
                m_bPrintersOnly = m_printersOnly ? 1 : 0;
                return {true, platform::kIdOk};
            }
            if (action.control == kConfirmCancel)
                return {true, platform::kIdCancel};
            if (action.control == kConfirmHelp)
                return *AboutOrHelp(m_run, m_view, {Kind::Help});
            break;
        case Kind::Escape:
        case Kind::Close:
            return {true, platform::kIdCancel};
        default:
            break;
    }
    return {false, {}};
}

UtilityConfirmation::UtilityConfirmation(const RunView& run, const std::vector<std::wstring>& names,
                                         int& confirmed)
    : m_run(run),
      m_bUtilitiesConfirmed(confirmed),
      m_view(BaseView(run, platform::kUtilityConfirmDialog)) {
    platform::ListControl list{kUtilityList, {run.LoadText(158)}, {}, false};
    for (const auto& name : names)
        list.rows.push_back({{name}, false, name});
    m_view.list = std::move(list);
    m_view.buttons = {{kUtilityAccept, true}, {kUtilityDecline, true}};
}

platform::ActionResult UtilityConfirmation::Act(const platform::DialogAction& action) {
    if (auto common = AboutOrHelp(m_run, m_view, action))
        return *common;
    if (action.kind == Kind::Press && action.control == kUtilityAccept) {
        m_bUtilitiesConfirmed = 1;
        return {true, platform::kIdOk};
    }
    if (action.kind == Kind::Press && action.control == kUtilityDecline) {
        m_bUtilitiesConfirmed = 0;
        return {true, platform::kIdCancel};
    }
    // Escape and the close box leave the answer as it was.
    if (action.kind == Kind::Escape || action.kind == Kind::Close)
        return {true, platform::kIdCancel};
    return {false, {}};
}

}  // namespace norvane::ui
