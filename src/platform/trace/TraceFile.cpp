#include "platform/trace/TraceFile.h"

#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane::trace {

std::wstring TraceFilePath(const std::wstring& given, const std::wstring& folder) {
    const bool full = (given.size() >= 2 && given[1] == L':') || given.starts_with(L"\\\\");
    return full ? given : path::Join(folder, given.empty() ? kTraceFileName : given);
}

TraceFile::TraceFile(platform::Platform& machine, std::wstring path, std::wstring logFile,
                     FailureReport failed)
    : m_machine(machine),
      m_path(std::move(path)),
      m_logFile(std::move(logFile)),
      m_failed(std::move(failed)) {}

void TraceFile::Write(const std::wstring& text, LineType type) {
    const std::lock_guard<std::mutex> hold(m_lock);
    if (m_failure)
        return;
    std::string line = TraceLine(text, type, m_machine.clock.Now(), m_machine.clock.TimeZoneBias(),
                                 m_machine.system.CurrentThreadId());
    if (!m_started) {
        // Appended to what earlier runs wrote; the mark only opens a new file.
        std::uint64_t size = 0;
        if (m_machine.files.GetFileSize(m_path, size) != platform::win::kSuccess || size == 0)
            line = "\xEF\xBB\xBF" + line;
        m_started = true;
    }
    m_failure = m_machine.files.WriteFile(m_path, {line.begin(), line.end()}, true);
    if (m_failure && m_failed)
        m_failed(m_path, m_failure);
}

void TraceFile::Change(const std::wstring& change, platform::WinError outcome) {
    if (outcome == platform::win::kSuccess) {
        Write(change + L" -> 0", LineType::Info);
        return;
    }
    Write(change + L" -> " + text::Decimal(outcome) + L":" + m_machine.system.ErrorMessage(outcome),
          LineType::Failure);
}

bool TraceFile::IsLog(const std::wstring& path) const {
    return !m_logFile.empty() && (text::EqualsNoCase(path, m_logFile) ||
                                  text::EqualsNoCase(path, platform::ReplacementName(m_logFile)));
}

}  // namespace norvane::trace
