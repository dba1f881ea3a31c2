// How a run ends, told to the user (a message box unless the run is quiet) and to the calling
// installer (the result sections of Norvane.log): which results go where is decided here.
#pragma once

#include <cstdint>
#include <string>

#include "inventory/Enumeration.h"

namespace norvane {

class CUninstallerController;

enum class ReportKind {
    Stop,         // the run stops with an error: the message, and the code for every item
    Done,         // the work is done: the message is the summary, the log gets the results
    SilentError,  // an error without a message box: the code for every item
};

// `code` is the result value the log records for every designated item (not for Done).
void ReportResult(CUninstallerController& app, const std::wstring& message, ReportKind kind,
                  std::uint32_t code);

// ReportResult with ReportKind::Stop, for a step below that only says why the run stops.
StopReport Stopper(CUninstallerController& app);

inline constexpr wchar_t kNoDriverOrPrinter[] = L"There is no driver or printer designated";
inline constexpr wchar_t kNoUtility[] = L"There is no Utility designated";

}  // namespace norvane
