#include "platform/sim/SimUi.h"

#include "support/Text.h"

namespace norvane::sim {
namespace {

std::wstring ButtonName(int id) {
    switch (id) {
        case platform::kIdOk:
            return L"OK";
        case platform::kIdCancel:
            return L"Cancel";
        case platform::kIdYes:
            return L"Yes";
        case platform::kIdNo:
            return L"No";
        default:
            return std::to_wstring(id);
    }
}

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

SimUi::SimUi(UiMode mode, std::deque<std::wstring> answers, const MachineConfig& config,
             Journal& journal, std::FILE* out, std::FILE* in)
    : m_mode(mode),
      m_answers(std::move(answers)),
      m_config(config),
      m_journal(journal),
      m_out(out),
      m_in(in) {}

int SimUi::Answer(std::uint32_t type, std::wstring& how) {
    if (m_mode == UiMode::Script && !m_answers.empty()) {
        const std::wstring line = m_answers.front();
        m_answers.pop_front();
        const int id = ParseAnswer(line);
        if (Allowed(type, id)) {
            how = L"script";
            return id;
        }
        how = L"default: script answer " + Quoted(line) + L" does not fit";
        return DefaultButton(type);
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

int SimUi::MessageBox(const std::wstring& textValue, const std::wstring& caption,
                      std::uint32_t type) {
    if (m_mode != UiMode::None) {
        std::fprintf(m_out, "+-- %s --\n", text::ToUtf8(caption).c_str());
        for (const auto& line : text::Split(textValue, L'\n')) {
            std::fprintf(m_out, "| %s\n", text::ToUtf8(text::TrimRight(line)).c_str());
        }
        std::fflush(m_out);
    }
    std::wstring how;
    const int id = Answer(type, how);
    if (m_mode != UiMode::None) {
        std::fprintf(m_out, "+-> %s\n", text::ToUtf8(ButtonName(id)).c_str());
    }
    m_journal.Record(L"MessageBox caption=" + Quoted(caption) + L" text=" + Quoted(textValue) +
                     L" type=" + std::to_wstring(type) + L" -> " + ButtonName(id) + L" (" + how +
                     L")");
    return id;
}

bool SimUi::ActivateWindow(const std::wstring& className, const std::wstring& title) {
    // The only window of another process on this machine is the first instance's dialog.
    const bool found = m_config.otherInstanceRunning && className == platform::kDialogClass;
    m_journal.Record(L"FindWindow class=" + Quoted(className) + L" title=" + Quoted(title) +
                     (found ? L" -> activated" : L" -> not found"));
    return found;
}

}  // namespace norvane::sim
