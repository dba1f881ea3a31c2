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
// The same with the calls Windows refused, each change ending in its outcome (" -> 0", or
// " -> <error>"), as a trace tells them, from the trace's first line on (all of them for a run
// without one); the trace's own lines are no change.
std::vector<std::wstring> JournalOutcomes(const std::vector<std::wstring>& journal,
                                          const std::wstring& logFile,
                                          const std::wstring& traceFile);

// Where two change lists part, with the entries around it; empty when they are equal. The first
// is the one the program told (a preview's list, a trace), the second the journal's.
std::string Difference(const std::vector<std::wstring>& told,
                       const std::vector<std::wstring>& real);

}  // namespace norvane::testing
