#include "removal/Progress.h"

#include "app/Controller.h"
#include "app/Report.h"
#include "log/LogBatch.h"
#include "support/Text.h"

namespace norvane {

void ProgressLine(CUninstallerController& app, const std::wstring& line,
                  const std::wstring& replace) {
    if (!app.m_bSilent) {
        if (app.m_pProgressView)
            app.m_pProgressView->Line(line, replace);
        return;
    }
    // Appended as far as the 4096-character buffer holds it.
    std::wstring added = app.m_szSilentText.empty() ? line : L"\r\n" + line;
    const std::size_t room = SilentSummary::kBuffer - 1 - app.m_szSilentText.size();
    app.m_szSilentText += added.substr(0, std::min(room, added.size()));
}

void Progress(CUninstallerController& app, int step, int phase) {
    if (!app.m_bSilent && app.m_pProgressView)
        app.m_pProgressView->Bar(step, phase);
}

std::wstring FailureLine(CUninstallerController& app, std::uint32_t opener,
                         const std::wstring& name, std::uint32_t code) {
    return text::Bounded(app.LoadText(opener) + name + app.LoadText(140) + app.LoadText(141) +
                             ErrorText(app.P(), code) + app.LoadText(142),
                         kLineBuffer);
}

}  // namespace norvane
