// The host of the simulated machine's dialogs and message boxes: each is answered by the person
// at the terminal (tui: a full-screen terminal UI), by the lines of a script, or by its default
// (none, or a script that has run out: a dialog is closed as Escape would close it). Dialogs are
// journaled with what they show, each action taken and each change the worker makes. A script
// line that does not fit stops the script, and every message box after it is declined.
#pragma once

#include <cstdio>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hosts/UiThread.h"
#include "platform/sim/Journal.h"
#include "platform/sim/UiHost.h"

namespace norvane::hosts {

enum class UiMode { Tui, Script, None };

struct UiOptions {
    UiMode mode = UiMode::None;
    std::deque<std::wstring> answers;
    std::deque<std::size_t> answerLines;  // the answers' line numbers in the script file
    std::FILE* out = stdout;
    std::FILE* in = stdin;
};

class TuiScreen;

class DialogHost final : public sim::UiHost {
public:
    // `answers` are the script's lines (message-box answers and dialog actions), used in order;
    // `answerLines` their line numbers in the script file (by default 1, 2, ...).
    DialogHost(UiOptions options, sim::Journal& journal);
    ~DialogHost() override;

    int AnswerMessageBox(const std::wstring& text, const std::wstring& caption, std::uint32_t type,
                         std::wstring& how) override;
    int ShowDialog(platform::Dialog& dialog) override;
    void Send(const std::function<void()>& call) override { m_thread.Send(call); }
    std::unique_ptr<platform::WorkerThread> CreateSuspendedThread(
        std::function<void()> body) override {
        return m_thread.CreateSuspended(std::move(body));
    }
    void ShowHelp(const std::wstring& path, std::uint32_t context) override;
    const std::optional<sim::AnswerError>& Error() const override { return m_error; }

private:
    struct Shown {
        platform::Dialog* dialog;
        platform::DialogView last;  // as last journaled
    };
    struct Next {
        platform::DialogAction action;
        std::optional<std::size_t> scriptLine;  // the action came from this line
        std::wstring scriptText;
    };

    int Answer(std::uint32_t type, std::wstring& how);
    // The script's next line and its number in the file.
    std::optional<std::wstring> TakeLine(std::size_t& number);
    std::optional<Next> NextAction(platform::Dialog& dialog, int fallback);
    void JournalChanges();
    // Records the first script line that does not fit the dialog or message box showing: the
    // script stops there. The run goes on as if it had ended, but that every message box from
    // then on is declined (No, else OK) rather than given its default.
    void DoesNotFit(std::size_t number, const std::wstring& line, const std::wstring& shown,
                    const std::wstring& offered);
    void DoesNotFit(std::size_t number, const std::wstring& line, const platform::DialogView& view);

    UiMode m_mode;
    std::deque<std::wstring> m_answers;
    std::deque<std::size_t> m_answerLines;
    std::size_t m_nextLine = 1;
    sim::Journal& m_journal;
    std::FILE* m_out;
    std::FILE* m_in;
    UiThread m_thread;
    std::vector<Shown> m_shown;
    std::unique_ptr<TuiScreen> m_screen;  // while a dialog shows in tui mode
    std::optional<sim::AnswerError> m_error;
};

// The host a machine loads with: a person at the terminal also has its clock paced in real time.
sim::UiHostFactory MakeHost(UiOptions options);

// Parses one answer of a script: OK, Cancel, Yes, No (any case) or a button number; 0 if none.
int ParseAnswer(const std::wstring& answer);

}  // namespace norvane::hosts
