#include "hosts/DialogHost.h"

#include "hosts/ScriptActions.h"
#include "hosts/TuiScreen.h"
#include "platform/ChangeText.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimUi.h"
#include "support/Text.h"

namespace norvane::hosts {
namespace {

bool Allowed(std::uint32_t type, int id) {
    switch (type & 0xF) {
        case platform::kMbYesNo:
            return id == platform::kIdYes || id == platform::kIdNo;
        case platform::kMbOk:
            return id == platform::kIdOk;
        default:
            return id > 0;
    }
}

int DefaultButton(std::uint32_t type) {
    return (type & 0xF) == platform::kMbYesNo ? platform::kIdYes : platform::kIdOk;
}

// The answer that agrees to nothing, for a message box met after the script stopped: a question
// is answered No, so that a mistyped answer never restarts the machine.
int DeclineButton(std::uint32_t type) {
    return (type & 0xF) == platform::kMbYesNo ? platform::kIdNo : platform::kIdOk;
}

// The answers a message box offers, in the script's words.
std::wstring OfferedAnswers(std::uint32_t type) {
    return (type & 0xF) == platform::kMbYesNo ? L"yes, no" : L"ok";
}

}  // namespace

int ParseAnswer(const std::wstring& answer) {
    const std::wstring word = text::LowerAscii(text::Trim(answer));
    if (word == L"ok")
        return platform::kIdOk;
    if (word == L"cancel")
        return platform::kIdCancel;
    if (word == L"yes")
        return platform::kIdYes;
    if (word == L"no")
        return platform::kIdNo;
    if (!word.empty() && word.find_first_not_of(L"0123456789") == std::wstring::npos &&
        word.size() < 4) {
        return std::stoi(word);
    }
    return 0;
}

DialogHost::DialogHost(UiOptions options, sim::Journal& journal)
    : m_mode(options.mode),
      m_answers(std::move(options.answers)),
      m_answerLines(std::move(options.answerLines)),
      m_journal(journal),
      m_out(options.out),
      m_in(options.in) {
    m_thread.OnSent([this] {
        JournalChanges();
        if (m_screen && !m_shown.empty())
            m_screen->Draw(m_shown.back().last);
    });
}

DialogHost::~DialogHost() = default;

sim::UiHostFactory MakeHost(UiOptions options) {
    return [options = std::move(options)](sim::Journal& journal, sim::SimClock& clock) {
        clock.SetRealPacing(options.mode == UiMode::Tui);
        return std::make_unique<DialogHost>(options, journal);
    };
}

std::optional<std::wstring> DialogHost::TakeLine(std::size_t& number) {
    if (m_answers.empty())
        return std::nullopt;
    const std::wstring line = m_answers.front();
    m_answers.pop_front();
    if (!m_answerLines.empty()) {
        m_nextLine = m_answerLines.front();
        m_answerLines.pop_front();
    }
    number = m_nextLine++;
    return line;
}

int DialogHost::Answer(std::uint32_t type, std::wstring& how) {
    std::size_t number = 0;
    if (m_mode == UiMode::Script && !m_error) {
        if (const auto line = TakeLine(number)) {
            const int id = ParseAnswer(*line);
            if (Allowed(type, id)) {
                how = L"script";
                return id;
            }
            DoesNotFit(number, *line, L"the message box", OfferedAnswers(type));
        }
    }
    if (m_mode == UiMode::Script && m_error) {
        how = L"declined: the script stopped at line " + std::to_wstring(m_error->line);
        return DeclineButton(type);
    }
    if (m_mode == UiMode::Tui && (type & 0xF) != platform::kMbOk) {
        for (;;) {
            std::fputs("  answer [Yes/No]: ", m_out);
            std::fflush(m_out);
            char line[64];
            if (!std::fgets(line, sizeof line, m_in))
                break;
            const int id = ParseAnswer(text::FromUtf8(line));
            if (Allowed(type, id)) {
                how = L"user";
                return id;
            }
        }
    }
    how = L"default";
    return DefaultButton(type);
}

int DialogHost::AnswerMessageBox(const std::wstring& textValue, const std::wstring& caption,
                                 std::uint32_t type, std::wstring& how) {
    if (m_screen) {
        how = L"user";
        return m_screen->MessageBox(textValue, caption, type);
    }
    if (m_mode != UiMode::None) {
        std::fprintf(m_out, "+-- %s --\n", text::ToUtf8(caption).c_str());
        for (const auto& line : text::Split(textValue, L'\n')) {
            std::fprintf(m_out, "| %s\n", text::ToUtf8(text::TrimRight(line)).c_str());
        }
        std::fflush(m_out);
    }
    const int id = Answer(type, how);
    if (m_mode != UiMode::None) {
        std::fprintf(m_out, "+-> %s\n", text::ToUtf8(platform::ButtonName(id)).c_str());
    }
    return id;
}

namespace {

using Kind = platform::DialogAction::Kind;

std::wstring Cells(const platform::ListRow& row) {
    std::wstring cells;
    for (const auto& cell : row.cells)
        cells += (cells.empty() ? L"" : L" ") + sim::Quoted(cell);
    return cells;
}

std::wstring LastLine(const std::wstring& text) {
    const std::size_t at = text.rfind(L'\n');
    return at == std::wstring::npos ? text : text.substr(at + 1);
}

// The default ways to close a dialog when nobody answers: Escape, else the Close item.
constexpr Kind kFallbacks[] = {Kind::Escape, Kind::Close};

}  // namespace

void DialogHost::DoesNotFit(std::size_t number, const std::wstring& line, const std::wstring& shown,
                            const std::wstring& offered) {
    m_error = sim::AnswerError{
        number, L"\"" + line + L"\" does not fit " + shown + L", which offers: " + offered};
    m_journal.Record(L"Script line " + std::to_wstring(number) + L" " + sim::Quoted(line) +
                     L" does not fit " + shown);
}

void DialogHost::DoesNotFit(std::size_t number, const std::wstring& line,
                            const platform::DialogView& view) {
    DoesNotFit(number, line, L"dialog " + std::to_wstring(view.templateId), OfferedActions(view));
}

std::optional<DialogHost::Next> DialogHost::NextAction(platform::Dialog& dialog, int fallback) {
    if (m_screen)
        return Next{m_screen->Interact(m_shown.size(), dialog, m_thread), {}, {}};
    // Recorded input waits for the worker, so that a replay is the same each time.
    while (dialog.Busy())
        m_thread.Pump();
    std::size_t number = 0;
    if (m_mode == UiMode::Script && !m_error && fallback == 0) {
        if (const auto line = TakeLine(number)) {
            const platform::DialogView view = dialog.View();
            const auto action = ParseScriptAction(*line, view);
            if (action)
                return Next{*action, number, *line};
            DoesNotFit(number, *line, view);
        }
    }
    if (fallback >= static_cast<int>(std::size(kFallbacks)))
        return std::nullopt;
    return Next{{kFallbacks[fallback]}, {}, {}};
}

int DialogHost::ShowDialog(platform::Dialog& dialog) {
    const platform::DialogView view = dialog.View();
    const std::wstring name = L"Dialog " + std::to_wstring(view.templateId);
    std::wstring shown = name + L" " + sim::Quoted(view.caption) + L" shown";
    if (view.list) {
        for (const auto& row : view.list->rows)
            shown += L"; " + Cells(row);
    }
    m_journal.Record(shown);
    const bool outermost = m_shown.empty();
    if (outermost && m_mode == UiMode::Tui)
        m_screen = std::make_unique<TuiScreen>();
    m_shown.push_back({&dialog, view});
    int result = -1;
    if (dialog.Init()) {
        JournalChanges();
        int fallback = 0;
        for (;;) {
            const auto next = NextAction(dialog, fallback);
            if (!next) {
                m_journal.Record(name + L" left open: nothing closes it");
                break;
            }
            const platform::DialogView before = dialog.View();
            m_journal.Record(name + L" " + DescribeAction(next->action, before));
            const platform::ActionResult done = dialog.Act(next->action);
            if (!done.offered)
                m_journal.Record(name + L" did nothing: not offered");
            if (!done.offered && next->scriptLine)
                DoesNotFit(*next->scriptLine, next->scriptText, before);
            if (!done.offered && !next->scriptLine && !m_screen)
                ++fallback;
            JournalChanges();
            if (done.ended) {
                result = *done.ended;
                break;
            }
        }
    }
    m_journal.Record(name + L" ended -> " + std::to_wstring(result));
    m_shown.pop_back();
    if (outermost)
        m_screen.reset();
    return result;
}

// Journals what changed in the dialogs showing since they were last journaled: the bar, the
// texts (a growing text by its last line) and the buttons.
void DialogHost::JournalChanges() {
    for (auto& shown : m_shown) {
        const platform::DialogView now = shown.dialog->View();
        const std::wstring name = L"Dialog " + std::to_wstring(now.templateId);
        if (now.progress && now.progress != shown.last.progress)
            m_journal.Record(name + L" bar " + std::to_wstring(*now.progress));
        for (const auto& control : now.texts) {
            const platform::TextControl* before = shown.last.Text(control.id);
            if (control.text.empty() || (before && before->text == control.text))
                continue;
            m_journal.Record(
                name + L" text " + std::to_wstring(control.id) + L" " +
                sim::Quoted(control.id == 1003 ? LastLine(control.text) : control.text));
        }
        for (std::size_t i = 0; i < now.buttons.size() && i < shown.last.buttons.size(); ++i) {
            if (now.buttons[i].enabled != shown.last.buttons[i].enabled)
                m_journal.Record(name + L" button " + std::to_wstring(now.buttons[i].id) +
                                 (now.buttons[i].enabled ? L" enabled" : L" disabled"));
        }
        shown.last = now;
    }
}

void DialogHost::ShowHelp(const std::wstring& path, std::uint32_t context) {
    if (m_screen)
        m_screen->ShowHelp(path, context);
}

}  // namespace norvane::hosts
