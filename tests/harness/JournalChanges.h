// The changes a run made, read from its journal in the form a preview lists them
// ("DeletePrinterDriverEx Windows x64|Corvida Model A"), so that the two can be compared.
#pragma once

#include <string>
#include <vector>

namespace norvane::testing {

// The program's changes among a run's journal entries (without time stamps), in order: refused
// calls, reads, sleeps, message boxes and the started programs' own work are left out, and so
// are the writes of the log itself. The files the spooler deletes inside DeletePrinterDriverEx
// (the driver's unused files) are part of that call, and those pnputil deletes (the package's
// .inf and .pnf) part of its start, as a preview names them.
std::vector<std::wstring> JournalChanges(const std::vector<std::wstring>& journal,
                                         const std::wstring& logFile);

}  // namespace norvane::testing
