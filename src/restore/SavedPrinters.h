// What a removal kept of the printers it deleted: the log's "PrinterInfo <name>" sections and the
// settings files beside it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "log/Results.h"
#include "platform/Platform.h"

namespace norvane::restore {

inline constexpr wchar_t kLogName[] = L"Norvane.log";
inline constexpr wchar_t kPrinterInfoPrefix[] = L"PrinterInfo ";

// A printer of the log, with the settings file that is its own: the one its section's
// SettingsFile key names, or in a log written before that key the printer name made a safe file
// name, as the removal then named the file.
struct SavedPrinter : CSavedPrinterInfo {
    std::wstring ownSettingsFile;
};

// The saved printers in the log's order. Section names the profile functions take for one (they
// differ only in the case of A to Z) give one printer, as they give one section. The printer's
// name is the section's Name value where it has one (a name that could not be the section's),
// else the section name after "PrinterInfo ".
std::vector<SavedPrinter> ReadSavedPrinters(platform::Platform& platform,
                                            const std::wstring& logFile);

// The saved DEVMODE of a printer, read from the file its DEVMODE key names in the log folder.
// Empty with `problem` set when there is none to use: no file named, a name that is not a plain
// ".bin" file name of that folder (the log may be damaged or hostile) or not the printer's own
// file, a file that cannot be read, bytes that are no whole DEVMODE (their sizes disagree with
// the file's), or a DEVMODE whose device name is another printer's: a driver that sets it puts
// the printer's name there (its first 31 characters), or its own name.
std::vector<std::uint8_t> ReadSavedDevMode(platform::Platform& platform,
                                           const std::wstring& logFolder, const SavedPrinter& saved,
                                           std::wstring& problem);

}  // namespace norvane::restore
