// The restore program's command line: [LOGFOLDER] [/m OLD=NEW ...] [/n] [/v [FILE]].
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace norvane::restore {

struct RestoreOptions {
    std::wstring logFolder;  // empty: the program's own folder, where a removal logs by default
    // Drivers the newer package renamed: the old name, the new one.
    std::vector<std::pair<std::wstring, std::wstring>> driverMap;
    bool dryRun = false;     // /n: tell what would be created, create and write nothing
    bool help = false;       // /?
    bool trace = false;      // /v [FILE]: a trace of the run
    std::wstring traceFile;  // empty: Norvane.trace.log beside the log
};

// False with `error` set when an argument is not understood: an unknown switch, /m without
// OLD=NEW, an old name mapped twice, a second folder.
bool ParseRestoreOptions(const std::vector<std::wstring>& args, RestoreOptions& options,
                         std::wstring& error);

// The driver a saved printer is re-created with: its /m mapping (old names compared without
// regard to case), else the saved name.
std::wstring MappedDriver(const RestoreOptions& options, const std::wstring& driver);

inline constexpr wchar_t kRestoreUsage[] =
    L"usage: norvane-restore [LOGFOLDER] [/m OLD=NEW ...] [/n] [/v [FILE]]\n"
    L"  Re-creates the printers a removal deleted, from LOGFOLDER's Norvane.log and the\n"
    L"  printers' .bin settings (default: the program's folder).\n"
    L"  /m OLD=NEW  re-create OLD's printers with the driver NEW (the newer package renamed it)\n"
    L"  /n          tell what would be created; create and write nothing\n"
    L"  /v [FILE]   trace every change, wait and program into FILE (default: Norvane.trace.log\n"
    L"              in LOGFOLDER); a FILE is the argument right after /v";

}  // namespace norvane::restore
