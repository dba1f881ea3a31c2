// Where a trace goes: lines appended to one file, through the machine's own file service (never
// through the services the trace watches, so that writing it is no change of the run's), with a
// UTF-8 byte-order mark when the file is new. A file that cannot be written is told once, to
// whoever the run names, and written no more; the run goes on.
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "platform/Platform.h"
#include "platform/trace/TraceLine.h"

namespace norvane::trace {

inline constexpr wchar_t kTraceFileName[] = L"Norvane.trace.log";

// The trace's file: `given` as it is when it names a drive or a server, else `given` (or
// Norvane.trace.log) in `folder`, the log's.
std::wstring TraceFilePath(const std::wstring& given, const std::wstring& folder);

class TraceFile {
public:
    using FailureReport = std::function<void(const std::wstring& path, platform::WinError)>;

    // `logFile`: the run's log, whose writes the trace leaves out as the preview does (empty
    // when the run has none).
    TraceFile(platform::Platform& machine, std::wstring path, std::wstring logFile,
              FailureReport failed);

    // Called from the worker and the dialog thread alike.
    void Write(const std::wstring& text, LineType type);
    // A change (platform/ChangeText) and its outcome: "-> 0", or "-> <code>:<system message>".
    void Change(const std::wstring& change, platform::WinError outcome);
    // Whether a path is the log, or the file the log's new content goes to before it replaces it.
    bool IsLog(const std::wstring& path) const;

    const std::wstring& Path() const { return m_path; }
    // The error that stopped the trace; 0 while it is written.
    platform::WinError Failure() const { return m_failure; }

private:
    platform::Platform& m_machine;
    const std::wstring m_path;
    const std::wstring m_logFile;
    FailureReport m_failed;
    std::mutex m_lock;
    bool m_started = false;
    platform::WinError m_failure = platform::win::kSuccess;
};

}  // namespace norvane::trace
