// What a removal kept of the printers it deleted: the log's "PrinterInfo <name>" sections and the
// settings files beside it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "inventory/Records.h"
#include "platform/Platform.h"

namespace norvane::restore {

inline constexpr wchar_t kLogName[] = L"Norvane.log";
inline constexpr wchar_t kPrinterInfoPrefix[] = L"PrinterInfo ";

// The saved printers in the log's order. Section names the profile functions take for one (they
// differ only in the case of A to Z) give one printer, as they give one section.
std::vector<CSavedPrinterInfo> ReadSavedPrinters(platform::Platform& platform,
                                                 const std::wstring& logFile);

// The saved DEVMODE of a printer, read from the file its DEVMODE key names in the log folder.
// Empty with `problem` set when there is none to use: no file named, a name that is not a plain
// ".bin" file name of that folder (the log may be damaged or hostile), a file that cannot be
// read, or bytes that are no whole DEVMODE (their sizes disagree with the file's).
std::vector<std::uint8_t> ReadSavedDevMode(platform::Platform& platform,
                                           const std::wstring& logFolder,
                                           const CSavedPrinterInfo& saved, std::wstring& problem);

}  // namespace norvane::restore
