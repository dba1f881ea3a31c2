// Rights in a preview: read from the machine; the restart is recorded, never performed.
#pragma once

#include "platform/Security.h"
#include "platform/preview/ChangeList.h"

namespace norvane::preview {

class PreviewSecurity : public platform::Security {
public:
    PreviewSecurity(platform::Security& machine, ChangeList& changes)
        : m_machine(machine), m_changes(changes) {}

    platform::WinError IsAdministrator(bool& member) override {
        return m_machine.IsAdministrator(member);
    }
    // The privilege is the process's own, and a restart that is not performed needs none.
    platform::WinError EnableShutdownPrivilege() override { return platform::win::kSuccess; }
    platform::WinError Restart() override {
        m_changes.Add(L"ExitWindowsEx", {L"reboot", L"force"});
        return platform::win::kSuccess;
    }

private:
    platform::Security& m_machine;
    ChangeList& m_changes;
};

}  // namespace norvane::preview
