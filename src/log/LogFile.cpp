#include "log/LogFile.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "platform/ProfileRead.h"
#include "support/Text.h"

namespace norvane {
namespace {

bool StartsWithByteOrderMark(const std::vector<std::uint8_t>& bytes) {
    return bytes.size() >= 2 &&
           ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF));
}

// A missing log becomes an empty Unicode file, which the profile writer fills in UTF-16LE too.
// The new content is written beside the log and then takes its place in one step: a run killed
// in between leaves the old log whole, where writing the log over would leave it empty. A new
// file that could not take the log's place is deleted again.
platform::WinError MakeUnicode(platform::Platform& platform, const std::wstring& logFile) {
    std::vector<std::uint8_t> bytes;
    const platform::WinError read = platform.files.ReadFile(logFile, bytes);
    if (read != platform::win::kSuccess && read != platform::win::kFileNotFound)
        return read;
    if (StartsWithByteOrderMark(bytes))
        return platform::win::kSuccess;
    std::vector<std::uint8_t> unicode{0xFF, 0xFE};
    const auto units = text::ToUtf16Le(platform.system.FromAnsiCodePage(bytes));
    unicode.insert(unicode.end(), units.begin(), units.end());
    const std::wstring replacement = platform::ReplacementName(logFile);
    platform::WinError error = platform.files.WriteFile(replacement, unicode, false);
    if (!error)
        error = platform.files.MoveFileReplacing(replacement, logFile);
    if (error)
        (void)platform.files.DeleteFile(replacement);
    return error;
}

// A log that could not be turned Unicode is still written to (the texts then lose the characters
// the code page lacks), but the write counts as failed.
platform::WinError MakeUnicodeForTexts(platform::Platform& platform,
                                       const std::vector<std::wstring>& texts,
                                       const std::wstring& logFile) {
    for (const std::wstring& text : texts) {
        if (!platform.system.AnsiCodePageHolds(text))
            return MakeUnicode(platform, logFile);
    }
    return platform::win::kSuccess;
}

// A "name=value" line of the section write reads back as this name and value only when the name
// holds no "=", is not empty, and neither name nor value holds a control character (a line break
// would split the line). A name starting with ";" is a comment, which the key list below does not
// show, and one starting with "[" may read as a section header once the file is read again.
bool FitsSectionWrite(const LogEntry& entry) {
    const std::wstring name = text::Trim(entry.name);
    const auto control = [](const std::wstring& s) {
        return std::any_of(s.begin(), s.end(), [](wchar_t c) { return c < L' '; });
    };
    return !name.empty() && name.find(L'=') == std::wstring::npos && name.front() != L';' &&
           name.front() != L'[' && !control(entry.name) && !control(entry.value);
}

// A section's name as the profile functions may take it, loosely: A to Z folded, and any other
// letter standing for every letter, since Windows folds more than A to Z. Two names that differ
// here are surely two sections.
std::wstring LooseName(const std::wstring& section) {
    std::wstring name = text::LowerAscii(text::Trim(section));
    for (wchar_t& c : name) {
        if (c > 0x7F)
            c = 0xFFFF;
    }
    return name;
}

// The lines the section must end with, or nothing when one call cannot give them: the keys it
// has keep their place and spelling, each taking the value of the entry of that name. A section
// the log does not hold takes the entries as they are, without a read.
std::optional<std::vector<LogEntry>> SectionLines(platform::Platform& platform,
                                                  const LogSection& section, bool inLog,
                                                  const std::wstring& logFile) {
    const std::vector<LogEntry>& entries = section.entries;
    std::unordered_map<std::wstring, std::size_t> byName;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!FitsSectionWrite(entries[i]) ||
            !byName.emplace(text::LowerAscii(text::Trim(entries[i].name)), i).second) {
            return std::nullopt;
        }
    }
    if (!inLog)
        return entries;
    std::vector<LogEntry> lines;
    std::vector<bool> placed(entries.size());
    const std::wstring name = text::Trim(section.name);
    for (const std::wstring& key : platform::ReadNames(platform.profile, name.c_str(), logFile)) {
        const auto it = byName.find(text::LowerAscii(key));
        if (it == byName.end() || placed[it->second])
            return std::nullopt;
        placed[it->second] = true;
        lines.push_back({key, entries[it->second].value});
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!placed[i])
            lines.push_back(entries[i]);
    }
    return lines;
}

// Section writes gathered to go into the log in one call, with the texts they bring.
class PendingSections {
public:
    PendingSections(platform::Platform& platform, const std::wstring& logFile)
        : m_platform(platform), m_logFile(logFile) {}

    void Add(const std::wstring& section, const std::vector<LogEntry>& lines) {
        std::wstring list;
        for (const LogEntry& line : lines)
            list += line.name + L"=" + line.value + L'\0';
        m_texts.push_back(section);
        m_texts.push_back(list);
        m_sections.push_back({section, std::move(list)});
    }

    // The log turns Unicode before the first of them would need it, as one write at a time
    // would have turned it: what was written before fits the code page and reads the same.
    platform::WinError Flush() {
        if (m_sections.empty())
            return platform::win::kSuccess;
        const platform::WinError converted = MakeUnicodeForTexts(m_platform, m_texts, m_logFile);
        const platform::WinError error = m_platform.profile.WriteSections(m_sections, m_logFile);
        m_sections.clear();
        m_texts.clear();
        return error ? error : converted;
    }

private:
    platform::Platform& m_platform;
    const std::wstring& m_logFile;
    std::vector<platform::ProfileSection> m_sections;
    std::vector<std::wstring> m_texts;
};

}  // namespace

platform::WinError WriteLogSections(platform::Platform& platform,
                                    const std::vector<LogSection>& sections,
                                    const std::wstring& logFile) {
    platform::WinError result = platform::win::kSuccess;
    const auto note = [&](platform::WinError error) {
        if (error && !result)
            result = error;
    };
    std::unordered_set<std::wstring> inLog;
    for (const std::wstring& name : platform::ReadNames(platform.profile, nullptr, logFile))
        inLog.insert(LooseName(name));
    PendingSections pending(platform, logFile);
    for (const LogSection& section : sections) {
        if (section.entries.empty())
            continue;
        const bool known = !inLog.insert(LooseName(section.name)).second;
        // The keys a section holds are read from the log as the writes before left it.
        if (known)
            note(pending.Flush());
        if (const auto lines = SectionLines(platform, section, known, logFile)) {
            pending.Add(section.name, *lines);
            continue;
        }
        note(pending.Flush());
        for (const LogEntry& entry : section.entries) {
            note(WriteLogString(platform, section.name.c_str(), entry.name.c_str(),
                                entry.value.c_str(), logFile));
        }
    }
    note(pending.Flush());
    return result;
}

platform::WinError WriteLogString(platform::Platform& platform, const wchar_t* section,
                                  const wchar_t* key, const wchar_t* value,
                                  const std::wstring& logFile) {
    const platform::WinError converted = MakeUnicodeForTexts(
        platform, {section ? section : L"", key ? key : L"", value ? value : L""}, logFile);
    const platform::WinError error = platform.profile.WriteString(section, key, value, logFile);
    return error ? error : converted;
}

}  // namespace norvane
