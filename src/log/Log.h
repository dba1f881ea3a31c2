// Norvane.log after its header, as one run writes it. Every entry goes through here: a run that
// keeps no log (an interactive one, whose log name is empty) writes nothing, since the profile
// writer would take an empty name for a file of the Windows folder; and a write that failed
// marks the log as failed, since the calling installer reads the run's results there.
#pragma once

#include <string>
#include <vector>

#include "log/LogFile.h"
#include "platform/Platform.h"

namespace norvane {

class Log {
public:
    // WriteLogString into the log.
    void Write(platform::Platform& platform, const wchar_t* section, const wchar_t* key,
               const wchar_t* value);
    // WriteLogSections into the log.
    void WriteSections(platform::Platform& platform, const std::vector<LogSection>& sections);

    const std::wstring& Path() const { return m_szLogFile; }
    void SetPath(std::wstring path) { m_szLogFile = std::move(path); }
    // An entry could not be written: the log's results are not whole.
    bool Failed() const { return m_bLogFailed != 0; }

private:
    std::wstring m_szLogFile;  // at most 259 characters; empty when the run keeps no log
    int m_bLogFailed = 0;
};

}  // namespace norvane
