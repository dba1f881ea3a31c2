// The Security service of the simulated machine: the token described by machine.json, and a
// restart that is journaled rather than performed (`norvane-machine reboot` does that).
#pragma once

#include "platform/Security.h"
#include "platform/sim/Journal.h"
#include "platform/sim/MachineConfig.h"

namespace norvane::sim {

class SimSecurity final : public platform::Security {
public:
    SimSecurity(const MachineConfig& config, Journal& journal)
        : m_config(config), m_journal(journal) {}

    platform::WinError IsAdministrator(bool& member) override;
    platform::WinError EnableShutdownPrivilege() override;
    platform::WinError Restart() override;

private:
    const MachineConfig& m_config;
    Journal& m_journal;
    bool m_shutdownEnabled = false;
};

}  // namespace norvane::sim
