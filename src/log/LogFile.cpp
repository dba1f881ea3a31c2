#include "log/LogFile.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <unordered_map>

#include "extras/IniAcc.h"
#include "support/Text.h"

namespace norvane {
namespace {

bool StartsWithByteOrderMark(const std::vector<std::uint8_t>& bytes) {
    return bytes.size() >= 2 &&
           ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF));
}

// A missing log becomes an empty Unicode file, which the profile writer fills in UTF-16LE too.
void MakeUnicode(platform::Platform& platform, const std::wstring& logFile) {
    std::vector<std::uint8_t> bytes;
    const platform::WinError error = platform.files.ReadFile(logFile, bytes);
    if ((error != platform::win::kSuccess && error != platform::win::kFileNotFound) ||
        StartsWithByteOrderMark(bytes)) {
        return;
    }
    std::vector<std::uint8_t> unicode{0xFF, 0xFE};
    const auto units = text::ToUtf16Le(platform.system.FromAnsiCodePage(bytes));
    unicode.insert(unicode.end(), units.begin(), units.end());
    platform.files.WriteFile(logFile, unicode, false);
}

void MakeUnicodeForTexts(platform::Platform& platform, std::initializer_list<std::wstring> texts,
                         const std::wstring& logFile) {
    for (const std::wstring& text : texts) {
        if (!platform.system.AnsiCodePageHolds(text)) {
            MakeUnicode(platform, logFile);
            return;
        }
    }
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

// The lines the section must end with, or nothing when one call cannot give them: the keys it
// has keep their place and spelling, each taking the value of the entry of that name.
std::optional<std::vector<LogEntry>> SectionLines(platform::Platform& platform,
                                                  const std::wstring& section,
                                                  const std::vector<LogEntry>& entries,
                                                  const std::wstring& logFile) {
    std::unordered_map<std::wstring, std::size_t> byName;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!FitsSectionWrite(entries[i]) ||
            !byName.emplace(text::LowerAscii(text::Trim(entries[i].name)), i).second) {
            return std::nullopt;
        }
    }
    std::vector<LogEntry> lines;
    std::vector<bool> placed(entries.size());
    CIniAcc log(platform.profile);
    log.SetFile(logFile);
    CmyStringArray keys;
    for (const std::wstring& key : log.GetKeys(text::Trim(section), keys)) {
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

}  // namespace

platform::WinError WriteLogSection(platform::Platform& platform, const std::wstring& section,
                                   const std::vector<LogEntry>& entries,
                                   const std::wstring& logFile) {
    const std::optional<std::vector<LogEntry>> lines =
        entries.empty() ? std::nullopt : SectionLines(platform, section, entries, logFile);
    if (!lines) {
        platform::WinError error = platform::win::kSuccess;
        for (const LogEntry& entry : entries) {
            if (const auto failed = WriteLogString(platform, section.c_str(), entry.name.c_str(),
                                                   entry.value.c_str(), logFile)) {
                error = failed;
            }
        }
        return error;
    }
    std::wstring list;
    for (const LogEntry& line : *lines)
        list += line.name + L"=" + line.value + L'\0';
    MakeUnicodeForTexts(platform, {section, list}, logFile);
    list += L'\0';
    return platform.profile.WriteSection(section.c_str(), list.c_str(), logFile);
}

platform::WinError WriteLogString(platform::Platform& platform, const wchar_t* section,
                                  const wchar_t* key, const wchar_t* value,
                                  const std::wstring& logFile) {
    MakeUnicodeForTexts(platform, {section ? section : L"", key ? key : L"", value ? value : L""},
                        logFile);
    return platform.profile.WriteString(section, key, value, logFile);
}

}  // namespace norvane
