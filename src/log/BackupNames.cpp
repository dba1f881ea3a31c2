#include "log/BackupNames.h"

#include <algorithm>

#include "support/Text.h"
#include "support/WinPath.h"

namespace norvane::backup {
namespace {

constexpr std::wstring_view kSuffix = L".bin";
constexpr std::size_t kHashPart = 9;  // "~" and eight hex digits

// Windows compares file names by its upper-case table and section names with lstrcmpiW, both
// folding more than A to Z. Folding the Latin-1 letters too covers the names a spooler (which
// itself compares printer names without regard to case) can hold side by side and a file system
// still takes for one.
std::wstring Folded(std::wstring_view name) {
    std::wstring out(name);
    for (wchar_t& c : out) {
        if ((c >= L'A' && c <= L'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
            c = static_cast<wchar_t>(c + 32);
    }
    return out;
}

std::size_t Units(std::wstring_view text) {
    return text::Utf16Length(text);
}

}  // namespace

bool KeepsAsSectionName(std::wstring_view name) {
    if (name.empty() || text::IsSpace(name.front()) || text::IsSpace(name.back()))
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](wchar_t c) { return c < L' ' || c == L'[' || c == L']'; });
}

std::wstring SettingsFileOfOldLogs(const std::wstring& printerName) {
    return path::SafeFileName(printerName) + std::wstring(kSuffix);
}

std::wstring HashHex(std::wstring_view text, std::uint32_t salt) {
    std::uint32_t hash = 2166136261u;
    const auto add = [&hash](std::uint32_t unit) {
        hash ^= unit;
        hash *= 16777619u;
    };
    for (const std::uint8_t byte : text::ToUtf16Le(text))
        add(byte);
    for (; salt != 0; salt >>= 8)
        add(salt & 0xFF);
    constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring hex(8, L'0');
    for (int i = 7; i >= 0; --i, hash >>= 4)
        hex[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
    return hex;
}

std::wstring Namer::Derived(const std::wstring& printerName, std::size_t room,
                            const std::unordered_set<std::wstring>& taken) const {
    // The safe form holds no character a file name or a section name refuses, and no blank at
    // either end.
    std::wstring safe = path::SafeFileName(printerName);
    for (wchar_t& c : safe) {
        if (c == L'[' || c == L']')
            c = L'_';
    }
    for (auto it = safe.begin(); it != safe.end() && text::IsSpace(*it); ++it)
        *it = L'_';
    for (auto it = safe.rbegin(); it != safe.rend() && text::IsSpace(*it); ++it)
        *it = L'_';
    while (!safe.empty() && Units(safe) > room)
        safe.pop_back();
    // A second hash (salted) only where a name of the run has the first already.
    for (std::uint32_t salt = 0;; ++salt) {
        std::wstring name = safe + L"~" + HashHex(printerName, salt);
        if (!taken.contains(Folded(name)))
            return name;
    }
}

Names Namer::Take(const std::wstring& printerName, const std::wstring& logFolder) {
    Names names;
    const bool sectionKept =
        KeepsAsSectionName(printerName) && !m_sections.contains(Folded(printerName));
    names.section =
        sectionKept ? printerName : Derived(printerName, std::wstring::npos, m_sections);
    m_sections.insert(Folded(names.section));

    // The path's room for a name: MAX_PATH less the null, the folder and its separator. Every
    // file is a ".bin", so the names are told apart by what comes before it.
    const std::size_t folderUnits = Units(path::Join(logFolder, L""));
    const std::size_t limit = path::kMaxPath - 1;
    std::wstring stem;
    // A blank at the start would not survive the log either: the profile functions trim values.
    if (path::SafeFileName(printerName) == printerName && !text::IsSpace(printerName.front()) &&
        path::IsPlainName(printerName + std::wstring(kSuffix)) &&
        folderUnits + Units(printerName) + kSuffix.size() <= limit &&
        !m_fileStems.contains(Folded(printerName))) {
        stem = printerName;
    } else if (folderUnits + kHashPart + kSuffix.size() <= limit) {
        stem = Derived(printerName, limit - folderUnits - kHashPart - kSuffix.size(), m_fileStems);
    }
    if (!stem.empty()) {
        m_fileStems.insert(Folded(stem));
        names.settingsFile = stem + std::wstring(kSuffix);
    }
    return names;
}

}  // namespace norvane::backup
