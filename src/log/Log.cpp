#include "log/Log.h"

namespace norvane {

void Log::Write(platform::Platform& platform, const wchar_t* section, const wchar_t* key,
                const wchar_t* value) {
    if (!m_szLogFile.empty() &&
        WriteLogString(platform, section, key, value, m_szLogFile) != platform::win::kSuccess)
        m_bLogFailed = 1;
}

void Log::WriteSections(platform::Platform& platform, const std::vector<LogSection>& sections) {
    if (!m_szLogFile.empty() &&
        WriteLogSections(platform, sections, m_szLogFile) != platform::win::kSuccess)
        m_bLogFailed = 1;
}

}  // namespace norvane
