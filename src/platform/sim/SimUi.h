// The Ui service of the simulated machine. A message box is printed for the person at the
// terminal, journaled with its caption and text, and answered by that person (tui), by the next
// line of a script, or by its default button (none, or a script that has run out).
#pragma once

#include <cstdio>
#include <deque>
#include <string>

#include "platform/Ui.h"
#include "platform/sim/Journal.h"
#include "platform/sim/MachineConfig.h"

namespace norvane::sim {

enum class UiMode { Tui, Script, None };

class SimUi final : public platform::Ui {
public:
    // `answers` are the script's lines (OK, Cancel, Yes, No or a number), used in order.
    SimUi(UiMode mode, std::deque<std::wstring> answers, const MachineConfig& config,
          Journal& journal, std::FILE* out = stdout, std::FILE* in = stdin);

    bool InitCommonControls() override { return true; }
    int MessageBox(const std::wstring& text, const std::wstring& caption,
                   std::uint32_t type) override;
    bool ActivateWindow(const std::wstring& className, const std::wstring& title) override;

private:
    int Answer(std::uint32_t type, std::wstring& how);

    UiMode m_mode;
    std::deque<std::wstring> m_answers;
    const MachineConfig& m_config;
    Journal& m_journal;
    std::FILE* m_out;
    std::FILE* m_in;
};

// Parses one answer of a script: OK, Cancel, Yes, No (any case) or a button number; 0 if none.
int ParseAnswer(const std::wstring& answer);

}  // namespace norvane::sim
