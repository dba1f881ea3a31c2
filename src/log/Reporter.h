// How a run ends, told to the user (a message box unless the run is silent) and to the calling
// installer (the result sections of Norvane.log).
#pragma once

#include <cstdint>
#include <string>

namespace norvane {

class CUninstallerController;
class RunContext;

// kind 0: the run stops with an error; kind 1: the work is done (the message is the summary);
// kind 2: an error without a message box. `code` is the result value the log records.
void ReportResult(CUninstallerController& app, const std::wstring& message, int kind,
                  std::uint32_t code);

// "<code>:<system message text>", as the log and the messages give a Windows error.
std::wstring ErrorText(RunContext& context, std::uint32_t code);

// The prefixes of the result maps' keys.
inline constexpr wchar_t kPrinterKey[] = L"PRINTER ";
inline constexpr wchar_t kDriverKey[] = L"DRIVER ";
inline constexpr wchar_t kScannerKey[] = L"SCANNER ";

inline constexpr wchar_t kNoDriverOrPrinter[] = L"There is no driver or printer designated";
inline constexpr wchar_t kNoUtility[] = L"There is no Utility designated";

}  // namespace norvane
