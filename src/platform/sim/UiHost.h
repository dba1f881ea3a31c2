// Who sits at the simulated machine: a person at a terminal, an answer script, or nobody. The
// machine's Ui service (SimUi) keeps what is the machine's own and leaves to its host what a person
// does: the answer to a message box, the dialogs' modal loops, help drawn on a screen, and the
// dialog thread with the workers under it. The hosts themselves live outside the machine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Dialogs.h"

namespace norvane::sim {

class Journal;
class SimClock;

// An answer (a line of a script) that did not fit what was showing: the host read no further.
struct AnswerError {
    std::size_t line = 0;  // the script file's line number
    std::wstring message;
};

class UiHost {
public:
    virtual ~UiHost() = default;
    // The button a message box is answered with, and in `how` the way it was chosen, in the
    // journal's words ("user", "script", "default", ...).
    virtual int AnswerMessageBox(const std::wstring& text, const std::wstring& caption,
                                 std::uint32_t type, std::wstring& how) = 0;
    // platform::Ui::ShowDialog, Send and CreateSuspendedThread.
    virtual int ShowDialog(platform::Dialog& dialog) = 0;
    virtual void Send(const std::function<void()>& call) = 0;
    virtual std::unique_ptr<platform::WorkerThread> CreateSuspendedThread(
        std::function<void()> body) = 0;
    // Shows an opened help page to the person, where there is one to see it.
    virtual void ShowHelp(const std::wstring& path, std::uint32_t context) = 0;
    // The first answer that did not fit, when one did not.
    virtual const std::optional<AnswerError>& Error() const = 0;
};

// Makes the host of a machine as it loads; the host journals what it is shown and may pace the
// machine's clock for a person watching.
using UiHostFactory = std::function<std::unique_ptr<UiHost>(Journal& journal, SimClock& clock)>;

}  // namespace norvane::sim
