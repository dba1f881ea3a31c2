// Writing Norvane.log after its header: sections, keys and values through the private-profile
// writer.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace norvane {

// WritePrivateProfileStringW into the log. The profile functions keep a file without a
// byte-order mark in the ANSI code page, where a character the code page lacks becomes "?": the
// name could not be found again, and names that differ only there would share one section. So
// before such a text goes in, the log is turned into UTF-16LE with a byte-order mark (its content
// unchanged), which the profile functions keep as it is. A log whose texts all fit stays ANSI.
platform::WinError WriteLogString(platform::Platform& platform, const wchar_t* section,
                                  const wchar_t* key, const wchar_t* value,
                                  const std::wstring& logFile);

struct LogEntry {
    std::wstring name;
    std::wstring value;
};

struct LogSection {
    std::wstring name;
    std::vector<LogEntry> entries;
};

// The entries of each section, section after section, leaving the log byte for byte as writing
// them one by one with WriteLogString would. Each section is one WritePrivateProfileSectionW
// where that gives the same bytes: keys the section already holds keep their place and take the
// new value, new ones follow in the given order. Where it would not (a name the section write
// would read otherwise, names that are one key to the profile functions, a key of the section
// that is not among the entries), its entries are written one by one. Section writes that follow
// one another go to the profile functions together, so that the log is rewritten once for them
// rather than once for each: a print server's report holds thousands of sections.
platform::WinError WriteLogSections(platform::Platform& platform,
                                    const std::vector<LogSection>& sections,
                                    const std::wstring& logFile);

}  // namespace norvane
