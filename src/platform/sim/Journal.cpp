#include "platform/sim/Journal.h"

#include <cstdio>
#include <fstream>

#include "platform/sim/SimClock.h"
#include "support/Text.h"

namespace norvane::sim {

Journal::Journal(std::filesystem::path file, const SimClock& clock)
    : m_file(std::move(file)), m_clock(clock) {}

void Journal::Record(const std::wstring& entry) {
    const platform::LocalTime t = m_clock.Now();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d ", t.year, t.month,
                  t.day, t.hour, t.minute, t.second, t.millisecond);
    m_entries.push_back(text::FromUtf8(stamp) + entry);
}

void Journal::RecordChange(const std::wstring& entry) {
    Record(entry);
    m_changes.Changed();
}

bool Journal::Flush() {
    if (m_flushed == m_entries.size())
        return true;
    std::ofstream out(m_file, std::ios::binary | std::ios::app);
    for (std::size_t i = m_flushed; i < m_entries.size(); ++i)
        out << text::ToUtf8(m_entries[i]) << '\n';
    out.close();
    if (!out)
        return false;
    m_flushed = m_entries.size();
    return true;
}

std::wstring Quoted(const std::wstring& value) {
    std::wstring out = L"\"";
    for (wchar_t c : value) {
        if (c == L'"') {
            out += L"\"\"";
        } else if (c == L'\r') {
            out += L"\\r";
        } else if (c == L'\n') {
            out += L"\\n";
        } else {
            out.push_back(c);
        }
    }
    return out + L"\"";
}

}  // namespace norvane::sim
