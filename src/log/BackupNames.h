// The names a printer's backup goes under: its "PrinterInfo <name>" section of the log and its
// settings file beside the log. Each printer deleted in a run gets names no other printer of the
// run shares, and that the profile functions and the file system keep as they are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>

namespace norvane::backup {

struct Names {
    std::wstring section;       // after "PrinterInfo "
    std::wstring settingsFile;  // in the log folder; empty when no name fits a path there
};

// Hands out the names of one run's backups.
//
// A printer keeps its own name as the section name when the profile functions read it back as
// it is (see KeepsAsSectionName), and keeps the file name earlier versions gave it (the name with
// ".bin") when that name is the printer name unchanged, starts with no blank (the log's value
// would lose it) and fits the log folder within MAX_PATH, so stored files and the callers that
// look for "<printer>.bin" keep working. Any other name, and
// a name another printer of the run has taken already (file names and section names are
// compared without regard to case), is derived: the name made safe, "~" and a hash of the exact
// printer name in lower-case hex. The hash keeps apart the names that the safe form makes one
// ("Front:1" and "Front?1" both give "Front_1"), and lower-case hex cannot differ only in case.
class Namer {
public:
    Names Take(const std::wstring& printerName, const std::wstring& logFolder);

private:
    std::wstring Derived(const std::wstring& printerName, std::size_t room,
                         const std::unordered_set<std::wstring>& taken) const;

    std::unordered_set<std::wstring> m_sections;   // folded
    std::unordered_set<std::wstring> m_fileStems;  // folded, without ".bin"
};

// Whether "[PrinterInfo <name>]" reads back with this name: no blank at either end (the profile
// functions trim a section name), no "[" or "]" and no control character.
bool KeepsAsSectionName(std::wstring_view name);

// The settings file a removal named after the printer before each printer had its own: the name
// with every character refused in file names made "_", and ".bin". Logs without a SettingsFile key
// were written so.
std::wstring SettingsFileOfOldLogs(const std::wstring& printerName);

// FNV-1a over the UTF-16 code units of the text, as eight lower-case hex digits.
std::wstring HashHex(std::wstring_view text, std::uint32_t salt = 0);

}  // namespace norvane::backup
