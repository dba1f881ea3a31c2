#include "platform/trace/TraceSession.h"

#include "platform/ChangeText.h"
#include "support/Text.h"

namespace norvane::trace {

void TraceClock::Sleep(std::uint32_t milliseconds) {
    m_trace.Write(L"Wait " + text::Decimal(milliseconds) + L" ms", LineType::Info);
    m_below.Sleep(milliseconds);
}

platform::WinError TraceSecurity::Restart() {
    const platform::WinError error = m_below.Restart();
    m_trace.Change(platform::ChangeText(L"ExitWindowsEx", {L"reboot", L"force"}), error);
    return error;
}

int TraceUi::MessageBox(const std::wstring& text, const std::wstring& caption, std::uint32_t type) {
    const int answer = m_below.MessageBox(text, caption, type);
    m_trace.Write(
        L"Message box \"" + caption + L"\": " + text + L" -> " + platform::ButtonName(answer),
        LineType::Info);
    return answer;
}

}  // namespace norvane::trace
