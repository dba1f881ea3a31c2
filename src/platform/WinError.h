// Windows error codes as the platform seam reports them: 0 is success, anything else is the
// value GetLastError() or a Reg* function would give for the same failure.
#pragma once

#include <cstdint>

namespace norvane::platform {

using WinError = std::uint32_t;

namespace win {
inline constexpr WinError kSuccess = 0;
inline constexpr WinError kFileNotFound = 2;
inline constexpr WinError kPathNotFound = 3;
inline constexpr WinError kAccessDenied = 5;
inline constexpr WinError kInvalidHandle = 6;
inline constexpr WinError kNotEnoughMemory = 8;
inline constexpr WinError kInvalidData = 13;
inline constexpr WinError kNoMoreFiles = 18;
inline constexpr WinError kSharingViolation = 32;
inline constexpr WinError kFileExists = 80;
inline constexpr WinError kInvalidParameter = 87;
inline constexpr WinError kCallNotImplemented = 120;
inline constexpr WinError kInsufficientBuffer = 122;
inline constexpr WinError kInvalidName = 123;
inline constexpr WinError kModNotFound = 126;
inline constexpr WinError kDirNotEmpty = 145;
inline constexpr WinError kBadPathname = 161;
inline constexpr WinError kAlreadyExists = 183;
inline constexpr WinError kBadExeFormat = 193;
inline constexpr WinError kFilenameExcedRange = 206;
inline constexpr WinError kMoreData = 234;
inline constexpr WinError kWaitTimeout = 258;
inline constexpr WinError kNoMoreItems = 259;
inline constexpr WinError kDirectoryName = 267;
inline constexpr WinError kCanNotComplete = 1003;
inline constexpr WinError kKeyDeleted = 1018;
inline constexpr WinError kRpcServerUnavailable = 1722;
inline constexpr WinError kUnknownPort = 1796;
inline constexpr WinError kUnknownPrinterDriver = 1797;
inline constexpr WinError kUnknownPrintProcessor = 1798;
inline constexpr WinError kInvalidPrinterName = 1801;
inline constexpr WinError kPrinterAlreadyExists = 1802;
inline constexpr WinError kInvalidEnvironment = 1805;
inline constexpr WinError kPrinterDeleted = 1905;
inline constexpr WinError kUnknownPrintMonitor = 3000;
inline constexpr WinError kPrinterDriverInUse = 3001;
inline constexpr WinError kPrintMonitorInUse = 3008;
}  // namespace win

}  // namespace norvane::platform
