// INI files under a trace: reads pass through untold, every write is told with its outcome but
// the log's own entries, which are the run's report and not a change it makes.
#pragma once

#include "platform/Profile.h"
#include "platform/trace/TraceFile.h"

namespace norvane::trace {

class TraceProfile : public platform::Profile {
public:
    TraceProfile(platform::Profile& below, TraceFile& trace) : m_below(below), m_trace(trace) {}

    std::uint32_t GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                            wchar_t* buffer, std::uint32_t size,
                            const std::wstring& file) override {
        return m_below.GetString(section, key, defaultValue, buffer, size, file);
    }
    std::uint32_t GetInt(const wchar_t* section, const wchar_t* key, std::int32_t defaultValue,
                         const std::wstring& file) override {
        return m_below.GetInt(section, key, defaultValue, file);
    }
    platform::WinError WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value,
                                   const std::wstring& file) override;
    platform::WinError WriteSection(const wchar_t* section, const wchar_t* keysAndValues,
                                    const std::wstring& file) override;
    // One line per section, each with the outcome of the whole write.
    platform::WinError WriteSections(const std::vector<platform::ProfileSection>& sections,
                                     const std::wstring& file) override;

private:
    platform::Profile& m_below;
    TraceFile& m_trace;
};

}  // namespace norvane::trace
