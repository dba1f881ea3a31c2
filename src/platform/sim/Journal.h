// journal.log of a simulated machine: one line for every state-changing call, process start,
// message box and sleep, stamped with the virtual clock, appended by every run.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/sim/ChangeCounter.h"

namespace norvane::sim {

class SimClock;

class Journal {
public:
    Journal(std::filesystem::path file, const SimClock& clock);

    // Records one entry such as L"RegSetValue HKEY_LOCAL_MACHINE\\SOFTWARE\\X \"Name\" REG_SZ".
    void Record(const std::wstring& entry);
    // Records the entry of a call that changed the machine, and counts the change (which may cut
    // the run off there, the entry recorded).
    void RecordChange(const std::wstring& entry);
    ChangeCounter& Changes() { return m_changes; }
    // The entries recorded by this run, oldest first (for tests and reports).
    const std::vector<std::wstring>& Entries() const { return m_entries; }
    // Appends the entries not yet in the file; false when the file cannot take them, which are
    // then offered again by the next flush.
    [[nodiscard]] bool Flush();

private:
    std::filesystem::path m_file;
    const SimClock& m_clock;
    std::vector<std::wstring> m_entries;
    std::size_t m_flushed = 0;
    ChangeCounter m_changes;
};

// Quotes a text for a journal line: "text", a quote inside doubled and line breaks as \r \n.
std::wstring Quoted(const std::wstring& text);

}  // namespace norvane::sim
