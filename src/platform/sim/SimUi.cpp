#include "platform/sim/SimUi.h"

#include <cstdio>
#include <cstdlib>

#include "platform/ChangeText.h"

namespace norvane::sim {
namespace {

UiHost& Present(UiHost* host) {
    if (!host) {
        // Going on would answer for a person who is not there; no run can mean that.
        std::fputs(
            "norvane: the machine was loaded without a host, and a program showed it "
            "something\n",
            stderr);
        std::abort();
    }
    return *host;
}

}  // namespace

SimUi::SimUi(const MachineConfig& config, Journal& journal, std::unique_ptr<UiHost> host)
    : m_config(config), m_journal(journal), m_host(std::move(host)) {}

const UiHost& SimUi::Host() const {
    return Present(m_host.get());
}

UiHost& SimUi::Host() {
    return Present(m_host.get());
}

int SimUi::MessageBox(const std::wstring& text, const std::wstring& caption, std::uint32_t type) {
    std::wstring how;
    const int id = Host().AnswerMessageBox(text, caption, type, how);
    m_journal.Record(L"MessageBox caption=" + Quoted(caption) + L" text=" + Quoted(text) +
                     L" type=" + std::to_wstring(type) + L" -> " + platform::ButtonName(id) +
                     L" (" + how + L")");
    return id;
}

bool SimUi::ActivateWindow(const std::wstring& className, const std::wstring& title) {
    // The only window of another process on this machine is the first instance's dialog.
    const bool found = m_config.otherInstanceRunning && className == platform::kDialogClass;
    m_journal.Record(L"FindWindow class=" + Quoted(className) + L" title=" + Quoted(title) +
                     (found ? L" -> activated" : L" -> not found"));
    return found;
}

void SimUi::HtmlHelp(const std::wstring& path, std::uint32_t context) {
    m_journal.Record(L"HtmlHelp " + Quoted(path) + L" context " + std::to_wstring(context));
    Host().ShowHelp(path, context);
}

}  // namespace norvane::sim
